#pragma once
// The files that failed to load in the current pass. A file that two patterns find is listed
// twice (clip.mpeg under ".MPEG" and ".MPE"): once it has failed, its other entry is dropped
// without a second try, which would only fail again, and slowly for a clip. A new pass
// forgets them: the next scan may find them mended.
#include <windows.h>

#include <string>
#include <unordered_set>

class PassFailures {
  public:
    bool Failed(const std::wstring& path) const {
        return !paths_.empty() && paths_.count(Key(path)) > 0;
    }
    void Add(const std::wstring& path) { paths_.insert(Key(path)); }
    void NewPass() { paths_.clear(); }

  private:
    // Paths are compared as the file system compares names, without regard to case.
    static std::wstring Key(std::wstring path) {
        if (!path.empty()) CharUpperBuffW(path.data(), DWORD(path.size()));
        return path;
    }
    std::unordered_set<std::wstring> paths_;
};
