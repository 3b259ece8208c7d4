#pragma once
// Choosing a drive and listing a folder's files by a pattern list (the folder tree between
// them is FolderTree.h).
#include <functional>
#include <string>
#include <vector>

#include "toolkit/ListControls.h"

namespace tk {

// Whether a file name matches a pattern with "*" and "?", letter case ignored.
bool WildcardMatch(const wchar_t* pattern, const wchar_t* name);

// A drive as the drive list shows it: "Photos (D:)", or its kind when it has no label
// ("Disque local (C:)"), as Explorer names drives.
struct DriveName {
    wchar_t letter;
    UINT type;          // DRIVE_FIXED, DRIVE_CDROM ...
    std::wstring label; // asked of fixed drives only
};
std::wstring DriveText(const DriveName& drive);

// Whether the drive has a readable volume now (an empty card reader or disc drive has
// not), asked without the system's "insert a disk" box.
bool DriveReady(wchar_t letter);

// A drop-down list of the drives, their labels asked only of fixed drives: a disc or card
// reader, or a network drive, can keep the asker waiting for seconds. Even a fixed drive's
// label takes a while to read (under Wine some 15 ms a drive): the labels are read once the
// messages waiting when the list was made (the showing of its form) have been handled.
class DriveComboBox : public ComboBox {
  public:
    bool CreateDrives(const ControlArgs& args);
    wchar_t Drive() const; // the chosen drive's letter, lower case; 0 when none
    void SetDrive(wchar_t letter);
    void ReadLabels(); // now, if they have not been read

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    std::vector<wchar_t> letters_; // item by item
    std::vector<UINT> types_;
    bool labelsRead_ = false;
};

// The files of a folder whose names match a ";"-separated list of patterns, sorted by name
// ignoring case. An owner may list the folder its own way instead (the settings dialog
// shows the files the saver's catalogue takes).
class FileListBox : public ListBox {
  public:
    using Lister = std::function<std::vector<std::wstring>(const std::wstring& folder)>;

    bool CreateFiles(const ControlArgs& args);
    void SetMask(const std::wstring& mask);
    const std::wstring& Mask() const { return mask_; }
    void SetLister(Lister lister); // names in the order they show
    void SetDirectory(const std::wstring& directory);
    const std::wstring& Directory() const { return directory_; }
    std::wstring FileName() const; // the full path of the selected file; empty when none

  private:
    void Refill();
    std::vector<std::wstring> MaskMatches() const;
    std::wstring mask_ = L"*";
    std::wstring directory_;
    Lister lister_;
};

} // namespace tk
