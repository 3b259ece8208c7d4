#include "toolkit/Log.h"

#include <windows.h>

#include <mutex>

namespace tk {
namespace {
LogCapture* capture = nullptr;
std::mutex captureLines; // the workers that load photos ahead log their failures too
} // namespace

void Log(const std::wstring& line) {
    const std::wstring text = L"Vistamur: " + line;
    OutputDebugStringW(text.c_str());
    const std::lock_guard<std::mutex> lock(captureLines);
    if (capture) capture->lines_.push_back(text);
}

LogCapture::LogCapture() : outer_(capture) {
    capture = this;
}
LogCapture::~LogCapture() {
    capture = outer_;
}

bool LogCapture::Holds(const std::wstring& part) const {
    for (const std::wstring& line : lines_)
        if (line.find(part) != std::wstring::npos) return true;
    return false;
}

} // namespace tk
