#pragma once
// A tree of the folders of one drive (or network share), as Explorer's folder pane shows it:
// a branch is listed only when it is opened, hidden folders are left out, and a folder
// shows its "+" only when it holds a folder to show.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "toolkit/ListControls.h"

namespace tk {

// The folders of a folder that the tree shows: not hidden (Explorer leaves hidden folders,
// and the protected system ones that are hidden too, out of its tree), sorted by name
// ignoring case. Empty when the folder cannot be listed.
std::vector<std::wstring> VisibleSubfolders(const std::wstring& folder);

// The root of a full path ("c:\" or "\\server\share\") and the names below it.
struct FolderSteps {
    std::wstring root;
    std::vector<std::wstring> names;
};
FolderSteps SplitFolderPath(const std::wstring& path);

class FolderTree : public ColouredControl {
  public:
    ~FolderTree() override;
    bool CreateTree(const ControlArgs& args);
    void SetColours(const ListColours& colours) override;

    // The picked folder: the root with its "\", any other without; empty when none is.
    const std::wstring& Directory() const { return directory_; }
    // Opens the branches down to the folder and picks it; a folder the tree would leave out
    // (a hidden one) is shown on that way all the same. onChange follows the pick.
    void SetDirectory(const std::wstring& path);
    // Shows the drive's root alone, picked.
    void SetDrive(wchar_t letter);
    // Opens the picked folder's branch and gives the names it shows, in their order.
    std::vector<std::wstring> OpenPicked();

  protected:
    bool HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  private:
    struct Node {
        std::wstring path;
        int hasChildren = -1; // unknown until the tree asks, -1
        bool listed = false;
    };
    HTREEITEM AddItem(HTREEITEM parent, const std::wstring& text, const std::wstring& path);
    void ListBranch(HTREEITEM item);
    HTREEITEM ChildNamed(HTREEITEM parent, const std::wstring& name) const;
    std::vector<HTREEITEM> Children(HTREEITEM parent) const;
    std::wstring Text(HTREEITEM item) const;
    Node* NodeOf(HTREEITEM item) const;
    void Reset();
    void Picked(HTREEITEM item);

    std::vector<std::unique_ptr<Node>> nodes_;
    std::wstring root_;
    std::wstring directory_;
};

} // namespace tk
