#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Every extension the saver shows, upper-case with its dot: JPEG's, the clips', then those of
// the later photo formats (".PNG" to ".AVIF"). The order is the catalogue's listing and the
// dialog's file mask. Every extension has its bit in a 32-bit mask: this is as many as fit.
constexpr size_t kMediaExtensionCount = 32;
extern const std::array<const wchar_t*, kMediaExtensionCount> MediaExtensions;

// Kinds of media, combined as a bit set: video clips and photos.
enum MediaKind : int { mkClip = 1, mkPhoto = 2 };

// The file's extension (from its last dot, when no "\" or ":" follows it) is one of the
// extensions of the asked kinds that this PC can show (UsableMediaMask).
bool IsMediaFile(const std::wstring& fileName, int kinds);
// That extension, upper-case with its dot; empty when the name has none.
std::wstring MediaExtensionOf(const std::wstring& fileName);

// Which MediaExtensions the saver and the dialog take on this PC: bit i for
// MediaExtensions[i]. Every clip extension and those of the photos the program decodes
// itself (JPEG, HEIC, WebP); each other photo extension only where an installed decoder of
// the Windows Imaging Component names it, so that a format without its decoder (AVIF before
// its extension is installed, say) is never catalogued, tried and failed at every pass.
// Asked of WIC once, the formats left out named once in the log.
uint32_t UsableMediaMask();

// The rule behind it, for the decoders' extension lists as WIC gives them (".png",
// ".tif;.tiff", ".heic,.heif": separated by commas or semicolons, in any case).
uint32_t MediaMaskForDecoders(const std::vector<std::wstring>& decoderExtensions);

// The photo extensions after the clips, as bits of MediaExtensions (".PNG" to ".AVIF").
uint32_t LaterPhotoMask();

// The photo formats of which some extension is usable ("JPEG", "PNG", ... "AVIF", in that
// order), by the names a user knows them by.
std::vector<std::wstring> PhotoFormatNames(uint32_t usableMask);

// For tests: puts another mask in force (a table of decoders made into one), and gives back
// the one that was.
uint32_t SetUsableMediaMask(uint32_t mask);
