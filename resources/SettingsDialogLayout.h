#pragma once
// The settings dialog's two pages and its band, control by control.
#include <span>

#include "resources/ControlRows.h"

namespace layout {

extern const std::span<const ControlRow> kImagesPage;
extern const std::span<const ControlRow> kSettingsPage;
extern const std::span<const ControlRow> kBand;

// Where the pages and the band stand in the form's client area at start.
struct PanelRow {
    const wchar_t* name;
    int left, top, width, height;
};
constexpr int kPageWidth = 473, kPageHeight = 337, kBandHeight = 93;
constexpr PanelRow kImagesPageBounds{L"imagesPage", 0, 0, kPageWidth, kPageHeight};
constexpr PanelRow kSettingsPageBounds{L"settingsPage", kPageWidth, 0, kPageWidth, kPageHeight};
constexpr PanelRow kBandBounds{L"band", 0, 336, kPageWidth, kBandHeight};

// The three knobs of the settings page are of one size.
constexpr int kKnobWidth = 16, kKnobHeight = 11;

// A knob's track on the settings page: the knob's left edge is its value. A value v of 1..max
// stands at origin + round(v * span / max), computed in extended precision and rounded halves
// to even, as the pixel grid was laid out.
struct KnobTrack {
    int top; // the knob's top
    int origin, span, max;
    int lowest;                  // leftmost place a drag can bring the knob to
    int highest;                 // rightmost place a drag can bring the knob to
    int LeftOf(int value) const; // a value beyond 1..max at the track's end
    int ValueAt(int left) const; // 1..max
};
constexpr KnobTrack kStepTrack{76, 279, 112, 100, 280, 392};         // the step in pixels
constexpr KnobTrack kSpeedTrack{101, 279, 159, 1000, 280, 439};      // steps per ten seconds
constexpr KnobTrack kDisplayTimeTrack{168, 334, 104, 300, 335, 439}; // display time, seconds

// The thin frame around the video options on the settings page.
constexpr int kVideoFrame[4] = {8, 195, 206, 331}; // left, top, right, bottom

constexpr int kOuterWidth = 480, kClientHeight = 430;

} // namespace layout
