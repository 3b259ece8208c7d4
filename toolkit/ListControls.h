#pragma once
// The system's list, combo and button controls, adopted into objects that colour
// themselves and turn their notifications into events.
#include <string>
#include <vector>

#include "toolkit/Control.h"
#include "toolkit/Handles.h"

namespace tk {

// The colours of a list or combo box's inside (its text and background).
struct ListColours {
    COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    COLORREF background = GetSysColor(COLOR_WINDOW);
};

// A control of a system class that paints its inside in its own colours.
class ColouredControl : public Control {
  public:
    virtual void SetColours(const ListColours& colours);
    const ListColours& Colours() const { return colours_; }

  protected:
    bool HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    HBRUSH BackgroundBrush() const { return brush_.Get(); }

  private:
    ListColours colours_;
    Brush brush_;
};

// The messages by which a list box or a combo box keeps its lines.
struct ItemMessages {
    UINT count, reset, add, remove, textLength, text, findExact;
};

// A control that keeps lines of text (a list box, a combo box's list).
class ItemsControl : public ColouredControl {
  public:
    int Count() const;
    void Clear();
    int Add(const std::wstring& text);
    void Delete(int index);
    std::wstring Item(int index) const;
    std::vector<std::wstring> Items() const;
    // The line whose whole text is `text`, letter case ignored; -1 when none.
    int FindExact(const std::wstring& text) const;

  protected:
    explicit ItemsControl(const ItemMessages& messages) : messages_(messages) {}

  private:
    const ItemMessages& messages_;
};

// A list box; with `multiSelect`, several lines can be selected (shift and control clicks).
// With `sideways`, a line wider than the box can be scrolled to: a horizontal scroll bar
// comes when one is.
class ListBox : public ItemsControl {
  public:
    ListBox();
    bool CreateList(const ControlArgs& args, bool multiSelect, bool sideways = false);

    bool Selected(int index) const;
    void SetSelected(int index, bool selected);
    int ItemIndex() const; // the caret line, -1 when none

  protected:
    bool HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool multiSelect_ = false;

  private:
    void FitSideways(); // the scrolled width follows the widest line
    bool sideways_ = false;
};

// A list box whose lines carry check boxes (a click on the box or the space bar toggles).
class CheckListBox : public ListBox {
  public:
    bool CreateCheckList(const ControlArgs& args);
    bool Checked(int index) const;
    void SetChecked(int index, bool checked);
    // The system's list prints only part of an owner-drawn list: the lines are drawn here.
    void Print(HDC dc) override;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  private:
    void Toggle(int index);
    void DrawItem(const DRAWITEMSTRUCT& item);
    int BoxSize() const;
};

enum class ComboKind { DropDownList, EditableSorted };

// A combo box: a drop-down list of fixed items, or an edit with a sorted list that drops
// down as the user types (without completing the text). `lines` is the dropped list's
// height in lines.
class ComboBox : public ItemsControl {
  public:
    ComboBox();
    bool CreateCombo(const ControlArgs& args, ComboKind kind, int lines);

    // An item picked from the list; Text() is already that item. A pick is a click on an
    // item, an arrow key in the closed box, or the arrow keys in the open list followed by
    // Enter; moving through the open list only shows the names, and Escape gives the text
    // back as it was before the list opened.
    Event onSelect;

    int ItemIndex() const;
    void SetItemIndex(int index); // -1 for none
    std::wstring Text() const;
    void SetText(const std::wstring& text);

  protected:
    bool HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    void KeepHeights();
    void Pick();
    ComboKind kind_ = ComboKind::DropDownList;
    int closedHeight_ = 0;
    bool pickPending_ = false;    // moved through the open list, not picked yet
    std::wstring textBeforeDrop_; // given back when the open list is left without a pick
};

// A check box (on a background colour of its own) or a push button; onClick on a click.
class Button : public ColouredControl {
  public:
    bool CreateCheckBox(const ControlArgs& args);
    bool CreatePushButton(const ControlArgs& args);
    bool Checked() const;
    void SetChecked(bool checked);

  protected:
    bool HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
};

} // namespace tk
