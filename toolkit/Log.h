#pragma once
// The small log of failures a user could meet but is not told about (a clip dropped, a memory
// file left as it was): one line each through OutputDebugStringW, which a debugger or
// DebugView shows, and which tests read through a LogCapture.
#include <string>
#include <vector>

#include "toolkit/NonCopyable.h"

namespace tk {

void Log(const std::wstring& line); // sent as "Vistamur: " + line

// While it lives, the lines logged are also kept here (captures nest: the latest keeps them).
class LogCapture : private NonCopyable {
  public:
    LogCapture();
    ~LogCapture();

    const std::vector<std::wstring>& Lines() const { return lines_; }
    bool Holds(const std::wstring& part) const; // some line holds this text

  private:
    friend void Log(const std::wstring& line);
    std::vector<std::wstring> lines_;
    LogCapture* outer_;
};

} // namespace tk
