#pragma once
// A warning that the saver writes on the screen instead of showing a box: a saver runs while
// nobody is there, and a box would hold the show on a black screen until somebody answered
// it, then take the returning user's first key. The lines stand in the bottom left corner, in
// the running count's font, and go a few seconds after the last of them came.
#include <windows.h>

#include <string>
#include <vector>

constexpr unsigned kNoticeShownMs = 8000;

class ScreenNotice {
  public:
    void Add(const std::wstring& line) { lines_.push_back(line); }
    void Clear() { lines_.clear(); }
    bool Empty() const { return lines_.empty(); }
    const std::vector<std::wstring>& Lines() const { return lines_; }
    int lineHeight = 0; // of the font it is written in, in pixels

  private:
    std::vector<std::wstring> lines_;
};

// Where line i of a notice of n lines starts on a window H pixels high, for lines h pixels
// high: in the bottom left corner, one line's height from both edges, the last line lowest.
// The tiles of every transition pass through the middle of the screen, where the running
// count stands: there the show would hide the notice as soon as it began.
inline POINT NoticeLinePos(int windowH, int lineH, size_t i, size_t n) {
    return POINT{lineH, windowH - int(n - i + 1) * lineH};
}
