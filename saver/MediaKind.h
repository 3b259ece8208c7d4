#pragma once
#include <string>

// Kinds of media, combined as a bit set.
enum TMediaKind : int { mkVideo = 1, mkImage = 2 };

// The file's extension (from its last dot, when no "\" or ":" follows it) is one of the
// extensions of the asked kinds.
bool IsMediaFile(const std::wstring& fileName, int kinds);
