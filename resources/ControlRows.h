#pragma once
#include <string>
#include <vector>

// A dialog's layout as data: one row per control, in its panel's client coordinates.
namespace layout {

enum class Kind {
    Title,      // the current page's title: larger, bright green
    Link,       // the other page's link: larger, grey-green, hand cursor
    Label,      // an ordinary grey-green label
    RightLabel, // the same, right-aligned
    Header,     // a section header: white, bold, underlined
    BandLabel,  // white and bold
    BandLink,   // white and bold, hand cursor
    CheckList,  // check-list box
    Switch,     // on/off switch
    Knob,       // slider knob
    FramedButton,
    MultiList, // list box, several lines selectable
    DropDown,  // drop-down list of fixed items
    EditCombo, // editable sorted combo box
    CheckBox,
    PushButton,
    BlackPanel, // black panel with a single border
    DriveCombo,
    DirectoryList,
    FileList,
};

struct ControlRow {
    const wchar_t* name;
    Kind kind;
    int left, top, width, height;
    const wchar_t* text; // caption, glyph label or the items separated by "|"
    const wchar_t* hint;
};

// The items of a list row: its text cut at each "|" (none for a row without text).
std::vector<std::wstring> RowItems(const ControlRow& row);

} // namespace layout
