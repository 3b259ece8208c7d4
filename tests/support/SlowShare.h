#pragma once
// A slow share for the scan's test and benchmark: a folder seen through slowfs.py, a FUSE
// pass-through that answers each folder listing and each open after a delay and reads at a
// set rate, as a photo folder on a home server over Wi-Fi does. It needs Wine (slowfs.py is a
// Unix program), /dev/fuse and Debian's python3-fusepy, libfuse2 and fuse3 (scripts/setup
// installs them); Mounted() tells whether the share came up.
#include <windows.h>

#include <string>

#include "tests/support/TempDir.h"
#include "tests/support/Tree.h"

// slowfs.py beside this header; the build names the source folder.
#ifndef VISTAMUR_SOURCE_DIR
#define VISTAMUR_SOURCE_DIR ""
#endif

class SlowShare : private tk::NonCopyable {
  public:
    // source: the folder it shows; probe: a file in it (a path below it) by which the mount is
    // known to be up; options: slowfs.py's, e.g. "--list-ms 1000".
    SlowShare(const std::wstring& source, const std::wstring& probe, const std::string& options)
        : probe_(mount_ / probe) {
        if (!WineUnixName()) return;
        const std::string tool = VISTAMUR_SOURCE_DIR "/tests/support/slowfs.py";
        mounted_ = RunUnix("/usr/bin/python3 \"" + tool + "\" \"" + UnixPath(source) + "\" \"" +
                               UnixPath(mount_.Path()) + "\" " + options,
                           [&] { return Visible(); });
    }
    ~SlowShare() {
        // The file system's process ends with its mount; the folder then empties as before.
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
