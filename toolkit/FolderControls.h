#pragma once
// Choosing a drive, walking its folders and listing a folder's files by a pattern list.
#include <string>

#include "toolkit/ListControls.h"

namespace tk {

// Whether a file name matches a pattern with "*" and "?", letter case ignored.
bool WildcardMatch(const wchar_t* pattern, const wchar_t* name);

// A drop-down list of the drives, as "c:".
class DriveComboBox : public ComboBox {
  public:
    bool CreateDrives(const ControlArgs& args);
    wchar_t Drive() const; // the chosen drive's letter, lower case; 0 when none
    void SetDrive(wchar_t letter);
};

// The folders on the way to the current one, each indented under its parent, then the
// current folder's own subfolders.
class DirectoryListBox : public ListBox {
  public:
    bool CreateDirectories(const ControlArgs& args);
    const std::wstring& Directory() const { return directory_; } // without a final "\"
    void SetDirectory(const std::wstring& directory);
    void SetDrive(wchar_t letter);

  private:
    std::wstring directory_;
};

// The files of a folder whose names match a ";"-separated list of patterns, sorted by name
// as the list keeps them.
class FileListBox : public ListBox {
  public:
    bool CreateFiles(const ControlArgs& args);
    void SetMask(const std::wstring& mask);
    const std::wstring& Mask() const { return mask_; }
    void SetDirectory(const std::wstring& directory);
    std::wstring FileName() const; // the full path of the selected file; empty when none

  private:
    void Refill();
    std::wstring mask_ = L"*";
    std::wstring directory_;
};

} // namespace tk
