// The settings page's three knobs: a drag with the mouse or a step with the keyboard moves a
// knob and rewrites the hints it changes. The settings themselves are read from the knobs'
// places only when they are saved.
#include "dialog/SettingsDialog.h"

Knob SettingsDialog::KnobOf(const tk::SpeedButton& knob) const {
    if (&knob == stepKnob) return Knob::Step;
    if (&knob == speedKnob) return Knob::Speed;
    return Knob::DisplayTime;
}

tk::SpeedButton& SettingsDialog::KnobButton(Knob knob) const {
    switch (knob) {
    case Knob::Step:
        return *stepKnob;
    case Knob::Speed:
        return *speedKnob;
    default:
        return *displayTimeKnob;
    }
}

void SettingsDialog::WireKnobs() {
    for (tk::SpeedButton* knob : {stepKnob, speedKnob, displayTimeKnob}) {
        knob->SetFocusable(true);
        knob->onMouseDown = [this, knob](int x, int y) { OnKnobMouseDown(*knob, x, y); };
        knob->onMouseMove = [this, knob](int x, int y) { OnKnobMouseMove(*knob, x, y); };
        knob->onMouseUp = [this, knob](int x, int y) { OnKnobMouseUp(*knob, x, y); };
        knob->onKeyDown = [this, knob](UINT key) { OnKnobKeyDown(*knob, key); };
    }
}

void SettingsDialog::OnKnobMouseDown(tk::SpeedButton& knob, int x, int) {
    knob.dragGrabX = x;
}

void SettingsDialog::OnKnobMouseUp(tk::SpeedButton& knob, int, int) {
    knob.dragGrabX = 0;
}

void SettingsDialog::OnKnobMouseMove(tk::SpeedButton& knob, int x, int y) {
    if (knob.dragGrabX <= 0) return;
    // The drag lasts while the knob holds the mouse: if another window took it (a box
    // popping up, another program) the release never comes, and the knob would follow a
    // pointer whose buttons are up.
    if (GetCapture() != knob.Handle()) {
        knob.dragGrabX = 0;
        return;
    }
    POINT at = {x, y};
    ClientToScreen(knob.Handle(), &at);
    ScreenToClient(settingsPage->Handle(), &at);
    if (auto left = DraggedKnobLeft(KnobOf(knob), at.x, knob.dragGrabX)) PlaceKnob(knob, *left);
}

void SettingsDialog::OnKnobKeyDown(tk::SpeedButton& knob, UINT key) {
    // As on a track bar: left and up lower the value, right and down raise it, Home and End
    // go to the ends of the range.
    const layout::KnobTrack& track = TrackOf(KnobOf(knob));
    const int wholeRange = track.highest - track.lowest + 1;
    int delta = 0;
    switch (key) {
    case VK_LEFT:
    case VK_UP:
        delta = -1;
        break;
    case VK_RIGHT:
    case VK_DOWN:
        delta = 1;
        break;
    case VK_HOME:
        delta = -wholeRange;
        break;
    case VK_END:
        delta = wholeRange;
        break;
    default:
        return;
    }
    PlaceKnob(knob, NudgedKnobLeft(KnobOf(knob), knob.Left(), delta));
}

void SettingsDialog::PlaceKnob(tk::SpeedButton& knob, int left) {
    // The hints first: a tooltip that shows follows the knob with its new text.
    for (const auto& [which, hint] :
         HintsForKnobAt(KnobOf(knob), left, stepKnob->Left(), speedKnob->Left()))
        KnobButton(which).SetHint(hint);
    knob.SetLeft(left);
}
