#pragma once
// The settings dialog's two pages and its band, control by control.
#include <span>

#include "resources/FormLayout.h"

namespace layout {

extern const std::span<const ControlRow> kImagesPage;
extern const std::span<const ControlRow> kSettingsPage;
extern const std::span<const ControlRow> kBand;

// Where the pages and the band stand in the form's client area at start.
struct PanelRow {
    const wchar_t* name;
    int left, top, width, height;
};
constexpr PanelRow kImagesPageBounds{L"imagesPage", 0, 0, 473, 337};
constexpr PanelRow kSettingsPageBounds{L"settingsPage", 473, 0, 473, 337};
constexpr PanelRow kBandBounds{L"band", 0, 336, 473, 93};

// The thin frame around the video options on the settings page.
constexpr int kVideoFrame[4] = {8, 195, 206, 331}; // left, top, right, bottom

constexpr int kOuterWidth = 480, kClientHeight = 430;

// The items of the drop-down list of that name on the settings page: what the list shows and
// what its choices mean are read from the one row.
std::vector<std::wstring> SettingsListItems(const wchar_t* name);

} // namespace layout
