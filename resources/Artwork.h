#pragma once
// The settings dialog's artwork, drawn by code when the dialog opens: the two page
// backgrounds, the band with the logo lettering, the knob, the switches and the framed
// buttons' glyph strips. Glyph pixels of tk::SpeedButton::kTransparentKey are see-through.
#include <windows.h>

#include <span>

#include "resources/SettingsDialogLayout.h"
#include "toolkit/Dib.h"

namespace art {

// The images page: slate grey, with the lighter tab behind the other page's link at the
// top right.
tk::Dib ImagesPage();
// The settings page: the tab at the top left, a wedge under each knob that widens to the
// right and ends at the knob's rightmost place plus its width, and a thin frame around the
// video options, broken where its header stands.
tk::Dib SettingsPage(std::span<const layout::KnobTrack> tracks, const RECT& videoFrame,
                     const RECT& frameGap);
// The bottom band with the large "Vistamur" lettering at its upper left.
tk::Dib Band();

tk::Dib KnobGlyph(int width, int height); // one glyph: dark thumb, red centre line
// Four glyphs (up, disabled, pressed, exclusive) of a framed button carrying its label.
tk::Dib ButtonGlyphs(const wchar_t* label, int width, int height);
// The on/off switch face, drawn over what the area already shows.
void DrawSwitch(HDC dc, const RECT& area, bool on);

} // namespace art
