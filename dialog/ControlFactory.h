#pragma once
// Makes the control a layout row describes, with the dialog's look: its colours, glyphs
// and fonts.
#include <memory>

#include "resources/ControlRows.h"
#include "toolkit/Control.h"

namespace dlg {

// The dialog's colours.
constexpr COLORREF kGreyGreen = RGB(166, 192, 165); // labels, and the inside of lists
constexpr COLORREF kBrightGreen = RGB(0, 255, 128); // page titles and hovered links
constexpr COLORREF kListText = RGB(68, 68, 68);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kFormGrey = RGB(128, 128, 128);

// Null when the system refused to make the window. Every control takes the form's font.
std::unique_ptr<tk::Control> MakeControl(const layout::ControlRow& row, HWND parent, int id,
                                         HFONT font);

} // namespace dlg
