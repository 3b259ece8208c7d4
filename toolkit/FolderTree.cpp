#include "toolkit/FolderTree.h"

#include <algorithm>

#include "toolkit/Handles.h"
#include "toolkit/System.h"
#include "toolkit/Text.h"

namespace tk {

namespace {

std::wstring WithBackslash(const std::wstring& folder) {
    return !folder.empty() && folder.back() == L'\\' ? folder : folder + L'\\';
}

bool IsShownFolder(const WIN32_FIND_DATAW& entry) {
    const std::wstring_view name = entry.cFileName;
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(entry.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) && name != L"." && name != L"..";
}

// Calls `each` for the folders the tree shows, until it returns false.
template <class F> void ForEachShownFolder(const std::wstring& folder, F each) {
    WIN32_FIND_DATAW entry;
    FindHandle find(FindFirstFileW((WithBackslash(folder) + L"*").c_str(), &entry));
    if (!find) return;
    do {
        if (IsShownFolder(entry) && !each(entry.cFileName)) return;
    } while (FindNextFileW(find.Get(), &entry));
}

bool HasShownFolder(const std::wstring& folder) {
    bool found = false;
    ForEachShownFolder(folder, [&](const wchar_t*) { return !(found = true); });
    return found;
}

} // namespace

std::vector<std::wstring> VisibleSubfolders(const std::wstring& folder) {
    std::vector<std::wstring> names;
    ForEachShownFolder(folder, [&](const wchar_t* name) {
        names.emplace_back(name);
        return true;
    });
    std::sort(names.begin(), names.end(), LessIgnoringCase);
    return names;
}

FolderSteps SplitFolderPath(const std::wstring& path) {
    FolderSteps steps;
    size_t rest = 0;
    if (path.size() >= 2 && path[1] == L':') {
        steps.root = path.substr(0, 2) + L'\\';
        rest = 2;
    } else if (path.rfind(L"\\\\", 0) == 0) {
        // \\server\share: both names belong to the root.
        size_t server = path.find(L'\\', 2);
        size_t share = server == std::wstring::npos ? server : path.find(L'\\', server + 1);
        rest = share == std::wstring::npos ? path.size() : share;
        steps.root = WithBackslash(path.substr(0, rest));
    } else {
        return steps;
    }
    while (rest < path.size()) {
        const size_t start = path.find_first_not_of(L'\\', rest);
        if (start == std::wstring::npos) break;
        size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos) end = path.size();
        steps.names.push_back(path.substr(start, end - start));
        rest = end;
    }
    return steps;
}

FolderTree::~FolderTree() {
    // The items point at the nodes: the window goes before them.
    Destroy();
}

bool FolderTree::CreateTree(const ControlArgs& args) {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    ControlArgs a = args;
    a.style |= WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
    a.exStyle |= WS_EX_CLIENTEDGE;
    return CreateStandard(WC_TREEVIEWW, a);
}

void FolderTree::SetColours(const ListColours& colours) {
    ColouredControl::SetColours(colours);
    SendMessageW(Handle(), TVM_SETBKCOLOR, 0, LPARAM(colours.background));
    SendMessageW(Handle(), TVM_SETTEXTCOLOR, 0, LPARAM(colours.text));
}

FolderTree::Node* FolderTree::NodeOf(HTREEITEM item) const {
    TVITEMW tv = {};
    tv.mask = TVIF_PARAM | TVIF_HANDLE;
    tv.hItem = item;
    if (!item || !SendMessageW(Handle(), TVM_GETITEMW, 0, LPARAM(&tv))) return nullptr;
    return reinterpret_cast<Node*>(tv.lParam);
}

HTREEITEM FolderTree::AddItem(HTREEITEM parent, const std::wstring& text,
                              const std::wstring& path) {
    nodes_.push_back(std::make_unique<Node>(Node{path}));
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
    insert.item.pszText = const_cast<wchar_t*>(text.c_str());
    // Whether a "+" shows is asked only of the items the tree draws: a folder of thousands
    // of folders is not listed thousands of times when it opens.
    insert.item.cChildren = I_CHILDRENCALLBACK;
    insert.item.lParam = reinterpret_cast<LPARAM>(nodes_.back().get());
    return reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_INSERTITEMW, 0, LPARAM(&insert)));
}

void FolderTree::ListBranch(HTREEITEM item) {
    Node* node = NodeOf(item);
    if (!node || node->listed) return;
    node->listed = true;
    const std::vector<std::wstring> names = VisibleSubfolders(node->path);
    const std::wstring parent = WithBackslash(node->path);
    for (const std::wstring& name : names)
        AddItem(item, name, parent + name);
    node->hasChildren = names.empty() ? 0 : 1;
    // A folder that has gone or holds nothing any more loses its "+".
    TVITEMW tv = {};
    tv.mask = TVIF_CHILDREN | TVIF_HANDLE;
    tv.hItem = item;
    tv.cChildren = node->hasChildren;
    SendMessageW(Handle(), TVM_SETITEMW, 0, LPARAM(&tv));
}

std::vector<HTREEITEM> FolderTree::Children(HTREEITEM parent) const {
    std::vector<HTREEITEM> children;
    for (auto child = reinterpret_cast<HTREEITEM>(
             SendMessageW(Handle(), TVM_GETNEXTITEM, TVGN_CHILD, LPARAM(parent)));
         child; child = reinterpret_cast<HTREEITEM>(
                    SendMessageW(Handle(), TVM_GETNEXTITEM, TVGN_NEXT, LPARAM(child))))
        children.push_back(child);
    return children;
}

std::wstring FolderTree::Text(HTREEITEM item) const {
    wchar_t text[MAX_PATH] = {}; // a folder's own name is shorter
    TVITEMW tv = {};
    tv.mask = TVIF_TEXT | TVIF_HANDLE;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = MAX_PATH;
    return SendMessageW(Handle(), TVM_GETITEMW, 0, LPARAM(&tv)) ? text : L"";
}

HTREEITEM FolderTree::ChildNamed(HTREEITEM parent, const std::wstring& name) const {
    for (HTREEITEM child : Children(parent))
        if (SameIgnoringCase(Text(child), name)) return child;
    return nullptr;
}

std::vector<std::wstring> FolderTree::OpenPicked() {
    std::vector<std::wstring> names;
    auto picked =
        reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!picked) return names;
    SendMessageW(Handle(), TVM_EXPAND, TVE_EXPAND, LPARAM(picked));
    for (HTREEITEM child : Children(picked))
        names.push_back(Text(child));
    return names;
}

void FolderTree::Reset() {
    SendMessageW(Handle(), TVM_DELETEITEM, 0, LPARAM(TVI_ROOT));
    nodes_.clear();
    root_.clear();
    directory_.clear();
}

void FolderTree::SetDrive(wchar_t letter) {
    SetDirectory(std::wstring{letter, L':', L'\\'});
}

void FolderTree::SetDirectory(const std::wstring& path) {
    // A relative path, "..", or "/" as separator: the full path the system makes of it.
    const FolderSteps steps = SplitFolderPath(FullPathName(path));
    if (steps.root.empty()) return;
    SendMessageW(Handle(), WM_SETREDRAW, FALSE, 0);
    if (!SameIgnoringCase(steps.root, root_)) {
        Reset();
        root_ = steps.root;
        AddItem(TVI_ROOT, root_, root_);
    }
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_GETNEXTITEM, TVGN_ROOT, 0));
    std::wstring folder = root_;
    for (const std::wstring& name : steps.names) {
        ListBranch(item);
        folder = WithBackslash(folder) + name;
        HTREEITEM child = ChildNamed(item, name);
        if (!child) child = AddItem(item, name, folder); // hidden, or made since the listing
        SendMessageW(Handle(), TVM_EXPAND, TVE_EXPAND, LPARAM(item));
        item = child;
    }
    SendMessageW(Handle(), WM_SETREDRAW, TRUE, 0);
    // Picked even when it is picked already: the owner lists the folder again.
    if (reinterpret_cast<HTREEITEM>(SendMessageW(Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0)) == item)
        Picked(item);
    else
        SendMessageW(Handle(), TVM_SELECTITEM, TVGN_CARET, LPARAM(item));
    SendMessageW(Handle(), TVM_ENSUREVISIBLE, 0, LPARAM(item));
    InvalidateRect(Handle(), nullptr, TRUE);
}

void FolderTree::Picked(HTREEITEM item) {
    const Node* node = NodeOf(item);
    directory_ = node ? node->path : std::wstring();
    Fire(onChange);
}

bool FolderTree::HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg != WM_NOTIFY) return ColouredControl::HandleReflected(msg, wp, lp, result);
    const auto* header = reinterpret_cast<const NMHDR*>(lp);
    switch (header->code) {
    case TVN_ITEMEXPANDINGW: {
        const auto* change = reinterpret_cast<const NMTREEVIEWW*>(lp);
        if (change->action & TVE_EXPAND) ListBranch(change->itemNew.hItem);
        result = FALSE; // let it open
        return true;
    }
    case TVN_GETDISPINFOW: {
        auto* info = reinterpret_cast<NMTVDISPINFOW*>(lp);
        if (info->item.mask & TVIF_CHILDREN) {
            Node* node = reinterpret_cast<Node*>(info->item.lParam);
            if (node && node->hasChildren < 0) node->hasChildren = HasShownFolder(node->path);
            info->item.cChildren = node ? node->hasChildren : 0;
        }
        return true;
    }
    case TVN_SELCHANGEDW:
        Picked(reinterpret_cast<const NMTREEVIEWW*>(lp)->itemNew.hItem);
        return true;
    }
    return false;
}

} // namespace tk
