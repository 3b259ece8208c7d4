#pragma once
// One tooltip window for a form: every control with a hint is a tool of it. Hints of
// several lines keep their line breaks.
#include <windows.h>

#include <string>

#include "toolkit/NonCopyable.h"

namespace tk {

class ToolTips : private NonCopyable {
  public:
    ToolTips() = default;
    ~ToolTips();

    bool Create(HWND owner);
    HWND Handle() const { return hwnd_; }
    void Add(HWND tool, const std::wstring& text);
    void SetText(HWND tool, const std::wstring& text);
    std::wstring Text(HWND tool) const;
    // A mouse message of a tool, which the tooltip needs to know when to show.
    void Relay(HWND tool, UINT msg, WPARAM wp, LPARAM lp);
    // While held, no tip shows (one on show goes): a combo box's open list, say, which the
    // tip below the pointer would cover.
    void Hold(bool held);

  private:
    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr; // the form, which is no tool
};

} // namespace tk
