#include "toolkit/ListControls.h"

#include <windowsx.h>

#include <algorithm>

namespace tk {

namespace {
const ItemMessages kListBoxMessages = {LB_GETCOUNT,       LB_RESETCONTENT, LB_ADDSTRING,
                                       LB_DELETESTRING,   LB_GETTEXTLEN,   LB_GETTEXT,
                                       LB_FINDSTRINGEXACT};
const ItemMessages kComboBoxMessages = {CB_GETCOUNT,       CB_RESETCONTENT, CB_ADDSTRING,
                                        CB_DELETESTRING,   CB_GETLBTEXTLEN, CB_GETLBTEXT,
                                        CB_FINDSTRINGEXACT};
} // namespace

// ---- ColouredControl ---------------------------------------------------------------------

void ColouredControl::SetColours(const ListColours& colours) {
    colours_ = colours;
    brush_.Reset(CreateSolidBrush(colours.background));
    if (Handle()) InvalidateRect(Handle(), nullptr, TRUE);
}

bool ColouredControl::HandleReflected(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    switch (msg) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (!brush_) return false;
        SetTextColor(reinterpret_cast<HDC>(wp), colours_.text);
        SetBkColor(reinterpret_cast<HDC>(wp), colours_.background);
        result = reinterpret_cast<LRESULT>(brush_.Get());
        return true;
    }
    return false;
}

// ---- ItemsControl ------------------------------------------------------------------------

int ItemsControl::Count() const {
    return int(SendMessageW(Handle(), messages_.count, 0, 0));
}

void ItemsControl::Clear() {
    SendMessageW(Handle(), messages_.reset, 0, 0);
}

int ItemsControl::Add(const std::wstring& text) {
    return int(SendMessageW(Handle(), messages_.add, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

void ItemsControl::Delete(int index) {
    SendMessageW(Handle(), messages_.remove, index, 0);
}

std::wstring ItemsControl::Item(int index) const {
    const LRESULT length = SendMessageW(Handle(), messages_.textLength, index, 0);
    if (length < 0) return {};
    std::wstring text(size_t(length) + 1, L'\0');
    SendMessageW(Handle(), messages_.text, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(size_t(length));
    return text;
}

std::vector<std::wstring> ItemsControl::Items() const {
    std::vector<std::wstring> items;
    for (int i = 0, n = Count(); i < n; ++i)
        items.push_back(Item(i));
    return items;
}

int ItemsControl::FindExact(const std::wstring& text) const {
    // LB_ERR and CB_ERR are both -1.
    const LRESULT found = SendMessageW(Handle(), messages_.findExact, WPARAM(-1),
                                       reinterpret_cast<LPARAM>(text.c_str()));
    return found < 0 ? -1 : int(found);
}

// ---- ListBox -----------------------------------------------------------------------------

ListBox::ListBox() : ItemsControl(kListBoxMessages) {}

bool ListBox::CreateList(const ControlArgs& args, bool multiSelect, bool sideways) {
    multiSelect_ = multiSelect;
    sideways_ = sideways;
    ControlArgs a = args;
    a.style |= WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
               (multiSelect ? LBS_EXTENDEDSEL : 0) | (sideways ? WS_HSCROLL : 0);
    a.exStyle |= WS_EX_CLIENTEDGE;
    return CreateStandard(L"LISTBOX", a);
}

LRESULT ListBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    const LRESULT result = ColouredControl::HandleMessage(msg, wp, lp);
    if (sideways_ && (msg == LB_ADDSTRING || msg == LB_INSERTSTRING || msg == LB_DELETESTRING ||
                      msg == LB_RESETCONTENT || msg == WM_SETFONT))
        FitSideways();
    return result;
}

void ListBox::FitSideways() {
    WindowDc dc(Handle());
    Selection font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageW(Handle(), WM_GETFONT, 0, 0)));
    int widest = 0;
    for (const std::wstring& line : Items()) {
        SIZE size = {};
        GetTextExtentPoint32W(dc.Get(), line.c_str(), int(line.size()), &size);
        widest = std::max(widest, int(size.cx));
    }
    // The system draws a line a few pixels in from the left edge.
    SendMessageW(Handle(), LB_SETHORIZONTALEXTENT, widest ? widest + 6 : 0, 0);
}

bool ListBox::Selected(int index) const {
    return SendMessageW(Handle(), LB_GETSEL, index, 0) > 0;
}

void ListBox::SetSelected(int index, bool selected) {
    if (multiSelect_)
        SendMessageW(Handle(), LB_SETSEL, selected, index);
    else
        SendMessageW(Handle(), LB_SETCURSEL, selected ? index : -1, 0);
}

int ListBox::ItemIndex() const {
    return int(SendMessageW(Handle(), LB_GETCARETINDEX, 0, 0));
}

bool ListBox::HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_COMMAND) {
        if (HIWORD(wp) == LBN_SELCHANGE) {
            Fire(onClick);
            Fire(onChange);
        }
        return false;
    }
    return ColouredControl::HandleReflected(msg, wp, lp, result);
}

// ---- CheckListBox ------------------------------------------------------------------------

bool CheckListBox::CreateCheckList(const ControlArgs& args) {
    ControlArgs a = args;
    a.style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
    if (!CreateList(a, false)) return false;
    // The list asks its item height while it is being made, before it has an object to
    // answer; the height is set here instead.
    SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, 14);
    return true;
}

bool CheckListBox::Checked(int index) const {
    LRESULT data = SendMessageW(Handle(), LB_GETITEMDATA, index, 0);
    return data != LB_ERR && data != 0;
}

void CheckListBox::SetChecked(int index, bool checked) {
    SendMessageW(Handle(), LB_SETITEMDATA, index, checked ? 1 : 0);
    RECT item;
    if (SendMessageW(Handle(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)) != LB_ERR)
        InvalidateRect(Handle(), &item, FALSE);
}

int CheckListBox::BoxSize() const {
    return int(SendMessageW(Handle(), LB_GETITEMHEIGHT, 0, 0)) - 2;
}

void CheckListBox::Toggle(int index) {
    if (index < 0 || index >= Count()) return;
    SetChecked(index, !Checked(index));
    Fire(onChange);
}

LRESULT CheckListBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_LBUTTONDOWN: {
        LRESULT hit = SendMessageW(Handle(), LB_ITEMFROMPOINT, 0, lp);
        if (!HIWORD(hit) && GET_X_LPARAM(lp) < BoxSize() + 4) Toggle(LOWORD(hit));
        break;
    }
    case WM_CHAR:
        if (wp == L' ') {
            Toggle(ItemIndex());
            return 0;
        }
        break;
    }
    return ListBox::HandleMessage(msg, wp, lp);
}

void CheckListBox::DrawItem(const DRAWITEMSTRUCT& item) {
    if (int(item.itemID) < 0) return;
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool selected = item.itemState & ODS_SELECTED;
    Brush back(CreateSolidBrush(selected ? GetSysColor(COLOR_HIGHLIGHT) : Colours().background));
    FillRect(dc, &r, back.Get());
    const int box = BoxSize();
    RECT boxRect = {r.left + 2, r.top + (r.bottom - r.top - box) / 2, 0, 0};
    boxRect.right = boxRect.left + box;
    boxRect.bottom = boxRect.top + box;
    DrawFrameControl(dc, &boxRect, DFC_BUTTON,
                     DFCS_BUTTONCHECK | DFCS_FLAT | (Checked(int(item.itemID)) ? DFCS_CHECKED : 0));
    RECT textRect = r;
    textRect.left = boxRect.right + 4;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : Colours().text);
    const std::wstring text = Item(int(item.itemID));
    DrawTextW(dc, text.c_str(), -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

void CheckListBox::Print(HDC dc) {
    SendMessageW(Handle(), WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT);
    RECT client = ClientRect();
    POINT origin = {0, 0};
    ClientToScreen(Handle(), &origin);
    RECT window;
    GetWindowRect(Handle(), &window);
    const int dx = origin.x - window.left, dy = origin.y - window.top;
    const int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, dx, dy, nullptr);
    IntersectClipRect(dc, 0, 0, client.right, client.bottom);
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0)));
    FillRect(dc, &client, BackgroundBrush());
    const int top = int(SendMessageW(Handle(), LB_GETTOPINDEX, 0, 0));
    for (int i = std::max(top, 0), n = Count(); i < n; ++i) {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_LISTBOX;
        item.itemID = UINT(i);
        item.hwndItem = Handle();
        item.hDC = dc;
        SendMessageW(Handle(), LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item.rcItem));
        if (item.rcItem.top >= client.bottom) break;
        if (Selected(i)) item.itemState |= ODS_SELECTED;
        DrawItem(item);
    }
    RestoreDC(dc, saved);
}

bool CheckListBox::HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_DRAWITEM) {
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        result = TRUE;
        return true;
    }
    if (msg == WM_COMMAND) return false; // onChange is the check, not the caret line
    return ListBox::HandleReflected(msg, wp, lp, result);
}

// ---- ComboBox ----------------------------------------------------------------------------

ComboBox::ComboBox() : ItemsControl(kComboBoxMessages) {}

bool ComboBox::CreateCombo(const ControlArgs& args, ComboKind kind, int lines) {
    kind_ = kind;
    ControlArgs a = args;
    a.style |= WS_VSCROLL | WS_TABSTOP |
               (kind == ComboKind::DropDownList ? CBS_DROPDOWNLIST
                                                : CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL);
    // The system sizes a combo box to its closed height and keeps the rest for the list.
    a.height = args.height + lines * 14 + 2;
    if (!CreateStandard(L"COMBOBOX", a)) return false;
    closedHeight_ = args.height;
    KeepHeights();
    return true;
}

void ComboBox::KeepHeights() {
    // The closed height is the selection field's plus its frame of 3 pixels on each side.
    SendMessageW(Handle(), CB_SETITEMHEIGHT, WPARAM(-1), closedHeight_ - 6);
    SendMessageW(Handle(), CB_SETITEMHEIGHT, 0, 14);
}

namespace {
// Posted to the box itself: a pick made in the open list takes effect once the list has
// closed and the notices of the closing are over.
constexpr UINT kPickFromClosedList = WM_APP + 0x50;
} // namespace

LRESULT ComboBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kPickFromClosedList) {
        if (pickPending_) Pick();
        return 0;
    }
    LRESULT result = ColouredControl::HandleMessage(msg, wp, lp);
    // A new font makes the system measure the heights again from the font.
    if (msg == WM_SETFONT) KeepHeights();
    return result;
}

int ComboBox::ItemIndex() const {
    return int(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
}

void ComboBox::SetItemIndex(int index) {
    SendMessageW(Handle(), CB_SETCURSEL, index, 0);
}

std::wstring ComboBox::Text() const {
    std::wstring text(size_t(GetWindowTextLengthW(Handle())) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(Handle(), text.data(), int(text.size()))));
    return text;
}

void ComboBox::SetText(const std::wstring& text) {
    SetWindowTextW(Handle(), text.c_str());
}

void ComboBox::Pick() {
    pickPending_ = false;
    Fire(onSelect);
    Fire(onChange);
}

bool ComboBox::HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg != WM_COMMAND) return ColouredControl::HandleReflected(msg, wp, lp, result);
    switch (HIWORD(wp)) {
    case CBN_DROPDOWN:
        textBeforeDrop_ = Text();
        pickPending_ = false;
        // The box's tip would come over the top of its own open list.
        HoldTips(true);
        break;
    case CBN_CLOSEUP:
        HoldTips(false);
        break;
    case CBN_SELCHANGE: {
        const int index = ItemIndex();
        // The edit takes the picked text only after this notice; the handlers see it now.
        if (kind_ == ComboKind::EditableSorted && index >= 0) SetText(Item(index));
        // The arrow keys in the open list only move through it: each would otherwise be a
        // pick of its own. A click closes the list first, and is a pick.
        if (SendMessageW(Handle(), CB_GETDROPPEDSTATE, 0, 0))
            pickPending_ = true;
        else
            Pick();
        break;
    }
    case CBN_SELENDOK:
        // Enter in the open list. After a click the closed box's own change follows, and
        // makes the pick itself before this message arrives.
        if (pickPending_) PostMessageW(Handle(), kPickFromClosedList, 0, 0);
        break;
    case CBN_SELENDCANCEL:
        // Escape, or the focus gone: the box shows again what it showed before.
        if (pickPending_) {
            pickPending_ = false;
            if (kind_ == ComboKind::EditableSorted) SetText(textBeforeDrop_);
        }
        break;
    case CBN_EDITCHANGE:
        if (!SendMessageW(Handle(), CB_GETDROPPEDSTATE, 0, 0) && Count() > 0) {
            // Dropping the list would select the matching item's text: keep the typing.
            const std::wstring typed = Text();
            DWORD start = 0, end = 0;
            SendMessageW(Handle(), CB_GETEDITSEL, WPARAM(&start), LPARAM(&end));
            SendMessageW(Handle(), CB_SHOWDROPDOWN, TRUE, 0);
            SetText(typed);
            SendMessageW(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(start, end));
            SetCursor(LoadCursorW(nullptr, IDC_ARROW)); // the list hides the pointer
        }
        Fire(onChange);
        break;
    }
    return false;
}

// ---- Button ------------------------------------------------------------------------------

bool Button::CreateCheckBox(const ControlArgs& args) {
    ControlArgs a = args;
    a.style |= BS_AUTOCHECKBOX | WS_TABSTOP;
    return CreateStandard(L"BUTTON", a);
}

bool Button::CreatePushButton(const ControlArgs& args) {
    ControlArgs a = args;
    a.style |= BS_PUSHBUTTON | WS_TABSTOP;
    return CreateStandard(L"BUTTON", a);
}

bool Button::Checked() const {
    return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Button::SetChecked(bool checked) {
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Button::HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_COMMAND) {
        if (HIWORD(wp) == BN_CLICKED) Fire(onClick);
        return false;
    }
    return ColouredControl::HandleReflected(msg, wp, lp, result);
}

} // namespace tk
