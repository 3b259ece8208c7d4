#pragma once
// A warning that the saver writes on the screen instead of showing a box: a saver runs while
// nobody is there, and a box would hold the show on a black screen until somebody answered
// it, then take the returning user's first key. The lines stand in the bottom left corner, in
// the running count's font. A passing line (a folder away) goes a few seconds after the last
// passing line came; a lasting one (a configuration that could not be loaded, nothing to show)
// stays until the saver ends, for the user who comes back to read.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

constexpr unsigned kNoticeShownMs = 8000;

class ScreenNotice {
  public:
    enum class Kind { Passing, Lasting, Counting };
    // False when a lasting line says it already: the same trouble met again says nothing new.
    bool Add(const std::wstring& line, Kind kind) {
        for (size_t i = 0; i < lines_.size(); ++i) {
            if (kind == Kind::Lasting && kinds_[i] == kind && lines_[i] == line) return false;
            if (kind == Kind::Counting && kinds_[i] == kind) {
                lines_[i] = line;
                return true;
            }
        }
        lines_.push_back(line);
        kinds_.push_back(kind);
        return true;
    }
    void Clear(Kind kind) {
        size_t kept = 0;
        for (size_t i = 0; i < lines_.size(); ++i)
            if (kinds_[i] != kind) {
                lines_[kept] = lines_[i];
                kinds_[kept++] = kinds_[i];
            }
        lines_.resize(kept);
        kinds_.resize(kept);
    }
    bool Empty() const { return lines_.empty(); }
    bool Has(Kind kind) const {
        return std::find(kinds_.begin(), kinds_.end(), kind) != kinds_.end();
    }
    const std::vector<std::wstring>& Lines() const { return lines_; }
    int lineHeight = 0; // of the font it is written in, in pixels

  private:
    std::vector<std::wstring> lines_;
    std::vector<Kind> kinds_; // one for each line
};

// Where line i of a notice of n lines starts on a window H pixels high, for lines h pixels
// high: in the bottom left corner, one line's height from both edges, the last line lowest.
// The tiles of every transition pass through the middle of the screen, where the running
// count stands: there the show would hide the notice as soon as it began.
inline POINT NoticeLinePos(int windowH, int lineH, size_t i, size_t n) {
    return POINT{lineH, windowH - int(n - i + 1) * lineH};
}
