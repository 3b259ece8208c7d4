#include "dialog/ControlFactory.h"

#include <string>

#include "controls/FramedSpeedButton.h"
#include "dialog/DialogValues.h"
#include "resources/Artwork.h"
#include "toolkit/FolderControls.h"
#include "toolkit/FolderTree.h"
#include "toolkit/PicturePanel.h"
#include "toolkit/ShadowLabel.h"
#include "toolkit/Switch.h"

namespace dlg {

namespace {
using layout::Kind;

std::unique_ptr<tk::Control> MakeLabel(const layout::ControlRow& row, const tk::ControlArgs& args) {
    tk::LabelStyle style;
    switch (row.kind) {
    case Kind::Title:
        style.color = kBrightGreen;
        style.height = -13;
        break;
    case Kind::Link:
        style.height = -13;
        break;
    case Kind::RightLabel:
        style.rightAligned = true;
        break;
    case Kind::Header:
        style.color = kWhite;
        style.bold = style.underline = true;
        break;
    case Kind::BandLabel:
    case Kind::BandLink:
        style.color = kWhite;
        style.bold = true;
        break;
    default:
        break;
    }
    auto label = std::make_unique<tk::ShadowLabel>();
    if (!label->CreateLabel(args, style)) return nullptr;
    label->SetHandCursor(row.kind == Kind::Link || row.kind == Kind::BandLink);
    return label;
}

// The "|"-separated items of a row.
template <class List> void AddItems(List& list, const layout::ControlRow& row) {
    for (const std::wstring& item : layout::RowItems(row))
        list.Add(item);
}

template <class T> std::unique_ptr<tk::Control> Coloured(std::unique_ptr<T> control, bool made) {
    if (!made) return nullptr;
    control->SetColours({kListText, kGreyGreen});
    return control;
}
} // namespace

std::unique_ptr<tk::Control> MakeControl(const layout::ControlRow& row, HWND parent, int id,
                                         HFONT font) {
    tk::ControlArgs args;
    args.font = font;
    args.parent = parent;
    args.id = id;
    args.x = row.left;
    args.y = row.top;
    args.width = row.width;
    args.height = row.height;
    if (row.text && row.kind != Kind::DropDown && row.kind != Kind::CheckList) args.text = row.text;

    switch (row.kind) {
    case Kind::Title:
    case Kind::Link:
    case Kind::Label:
    case Kind::RightLabel:
    case Kind::Header:
    case Kind::BandLabel:
    case Kind::BandLink:
        return MakeLabel(row, args);
    case Kind::CheckList: {
        auto list = std::make_unique<tk::CheckListBox>();
        bool made = list->CreateCheckList(args);
        if (made) AddItems(*list, row);
        return Coloured(std::move(list), made);
    }
    case Kind::Switch: {
        auto control = std::make_unique<tk::Switch>();
        if (!control->CreateSwitch(args, &art::DrawSwitch)) return nullptr;
        return control;
    }
    case Kind::Knob: {
        auto knob = std::make_unique<tk::SpeedButton>();
        if (!knob->CreateButton(args)) return nullptr;
        knob->SetGlyphs(art::KnobGlyph(row.width, row.height), 1);
        knob->SetHandCursor(true);
        return knob;
    }
    case Kind::FramedButton: {
        auto button = std::make_unique<FramedSpeedButton>();
        if (!button->CreateButton(args)) return nullptr;
        button->SetGlyphs(art::ButtonGlyphs(row.text, row.width, row.height), 4);
        button->SetRectColor(RGB(0, 0, 0));
        return button;
    }
    case Kind::MultiList: {
        auto list = std::make_unique<tk::ListBox>();
        // The chosen folders: a long path can be scrolled to its end.
        bool made = list->CreateList(args, true, true);
        return Coloured(std::move(list), made);
    }
    case Kind::DropDown:
    case Kind::EditCombo: {
        auto combo = std::make_unique<tk::ComboBox>();
        const auto kind = row.kind == Kind::DropDown ? tk::ComboKind::DropDownList
                                                     : tk::ComboKind::EditableSorted;
        bool made = combo->CreateCombo(args, kind, 10);
        if (made) AddItems(*combo, row);
        return Coloured(std::move(combo), made);
    }
    case Kind::CheckBox: {
        auto box = std::make_unique<tk::Button>();
        bool made = box->CreateCheckBox(args);
        if (made) box->SetColours({RGB(0, 0, 0), kGreyGreen});
        return made ? std::move(box) : nullptr;
    }
    case Kind::PushButton: {
        auto button = std::make_unique<tk::Button>();
        return button->CreatePushButton(args) ? std::move(button) : nullptr;
    }
    case Kind::BlackPanel: {
        auto panel = std::make_unique<tk::PicturePanel>();
        return panel->CreatePanel(args, RGB(0, 0, 0), true) ? std::move(panel) : nullptr;
    }
    case Kind::DriveCombo: {
        auto drives = std::make_unique<tk::DriveComboBox>();
        bool made = drives->CreateDrives(args);
        return Coloured(std::move(drives), made);
    }
    case Kind::DirectoryList: {
        auto folders = std::make_unique<tk::FolderTree>();
        bool made = folders->CreateTree(args);
        return Coloured(std::move(folders), made);
    }
    case Kind::FileList: {
        auto files = std::make_unique<tk::FileListBox>();
        bool made = files->CreateFiles(args);
        return Coloured(std::move(files), made);
    }
    }
    return nullptr;
}

} // namespace dlg
