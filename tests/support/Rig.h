#pragma once
// What every windowed test does: turn the message loop, wait for something to happen, read
// the screen. Every wait polls against a generous deadline that only keeps a broken run from
// hanging; it says nothing about speed.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

// Handles this thread's pending messages, as the message loop would, the keyboard through
// IsDialogMessage when a dialog is named. A WM_QUIT (from a closing dialog, say) ends
// nothing here; the answer tells whether one came.
bool PumpMessages(HWND dialog = nullptr);
// Pumps for about ms milliseconds.
void PumpFor(DWORD ms);
// Polls the condition (pumping messages) until it holds or the deadline passes; its last
// answer.
bool WaitUntil(const std::function<bool()>& condition, DWORD deadlineMs);

// The screen's pixels in a rectangle, 0xRRGGBB, row after row (the fourth byte, which marks
// video pixels, is dropped); empty for an empty rectangle.
std::vector<uint32_t> ReadScreen(const RECT& area);
