#pragma once
// A folder seen through slowfs.py (a FUSE pass-through that answers each listing and open
// after a delay and reads at a set rate, as a home server over Wi-Fi), for as long as it lives.
// It needs Wine, /dev/fuse, python3-fusepy, libfuse2 and fuse3 (scripts/setup installs them).
#include <windows.h>

#include <string>

#include "tests/support/TempDir.h"
#include "tests/support/Tree.h"

#ifndef VISTAMUR_SOURCE_DIR // slowfs.py lies beside this header; the build names the sources
#define VISTAMUR_SOURCE_DIR ""
#endif

class SlowShare : private tk::NonCopyable {
  public:
    // probe: a file below source that shows the mount is up; options: slowfs.py's.
    SlowShare(const std::wstring& source, const std::wstring& probe, const std::string& options)
        : probe_(mount_ / probe) {
        if (!WineUnixName()) return;
        const std::string tool = VISTAMUR_SOURCE_DIR "/tests/support/slowfs.py";
        mounted_ = RunUnix("/usr/bin/python3 \"" + tool + "\" \"" + UnixPath(source) + "\" \"" +
                               UnixPath(mount_.Path()) + "\" " + options,
                           [&] { return Visible(); });
    }
    ~SlowShare() {
        // slowfs.py ends with its mount.
        if (mounted_)
            RunUnix("/bin/umount -l \"" + UnixPath(mount_.Path()) + "\"",
                    [&] { return !Visible(); });
    }
    bool Mounted() const { return mounted_; }
    std::wstring Folder() const { return mount_.Path(); } // with its trailing backslash

  private:
    bool Visible() const { return GetFileAttributesW(probe_.c_str()) != INVALID_FILE_ATTRIBUTES; }

    TempDir mount_;
    std::wstring probe_;
    bool mounted_ = false;
};

// What a test or a benchmark says when the share cannot come up here.
constexpr const char* kNoSlowShare =
    "no slow share: FUSE cannot mount here (it needs /dev/fuse, and python3-fusepy, libfuse2 "
    "and fuse3, which scripts/setup installs)";
