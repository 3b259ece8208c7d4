#pragma once
// The saver window's own messages, each number once: the shows and the workers post some of
// them, and two posted under one number would be taken for each other.
#include <windows.h>

constexpr UINT WM_STEP = WM_USER + 1;        // 1025: one movement step
constexpr UINT WM_EXITREQUEST = WM_USER + 2; // 1026: another program asks the saver to end
constexpr UINT WM_SCANFOUND =
    WM_USER + 3; // 1027: the scan found more (a wake-up; the batches wait in its worker)
constexpr UINT WM_PICTUREREADY = WM_USER + 4; // 1028: a show's worker prepared its next picture
