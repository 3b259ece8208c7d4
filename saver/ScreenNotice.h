#pragma once
// A warning that the saver writes on the screen instead of showing a box: a saver runs while
// nobody is there, and a box would hold the show on a black screen until somebody answered
// it, then take the returning user's first key. The lines stand under the running count, in
// the same font, and go a few seconds after the last of them came.
#include <windows.h>

#include <string>
#include <vector>

constexpr unsigned kNoticeShownMs = 8000;

class TScreenNotice {
  public:
    void Add(const std::wstring& line) { lines_.push_back(line); }
    void Clear() { lines_.clear(); }
    bool Empty() const { return lines_.empty(); }
    const std::vector<std::wstring>& Lines() const { return lines_; }

  private:
    std::vector<std::wstring> lines_;
};

// Where line i of the notice starts on a W x H window for lines h pixels high: the running
// count starts at the centre, and the notice leaves one free line below it.
inline POINT NoticeLinePos(int windowW, int windowH, int lineH, size_t i) {
    return POINT{windowW / 2, windowH / 2 + int(i + 2) * lineH};
}
