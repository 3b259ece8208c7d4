#pragma once
// The rules of the images page, apart from its controls: which folder the tree opens at,
// which folders may join the list, which lines a removal leaves, which files the file list
// shows, and where the preview box goes for a clip.
#include <windows.h>

#include <string>
#include <vector>

// The folder the tree opens at: the last folder of the list when it still exists; otherwise
// the user's Pictures folder; otherwise the current folder.
std::wstring TreeStartFolder(const std::vector<std::wstring>& chosen);

// Whether the add button adds the folder: it can be made the current directory (so it exists and
// can be entered), and no line of the list names the same folder (SameFolder.h).
bool MayAddFolder(const std::vector<std::wstring>& chosen, const std::wstring& folder);

// The lines the remove button leaves: from line 0, a selected line is deleted and the walk starts
// again at 0, an unselected one is passed; every selected line goes, the others keep their order.
std::vector<std::wstring> WithoutSelected(std::vector<std::wstring> lines,
                                          std::vector<bool> selected);

// The names of the folder's media files as the file list shows them: the files the saver's
// catalogue takes from that folder, each once, sorted by name ignoring case.
std::vector<std::wstring> MediaFilesOf(const std::wstring& folder);

// The preview box's bounds on its page for a clip of the given size: its inside takes the
// clip's size fitted to the standard inside, and the whole box, border included, is centred
// in its standard bounds.
RECT PreviewBoxForClip(int clipWidth, int clipHeight);

// The preview box's standard bounds on the images page, and the width of its sunken border:
// its inside is 189 x 141.
constexpr RECT kPreviewBox = {264, 184, 264 + 193, 184 + 145};
constexpr int kPreviewBorder = 2;

// The texts of the page's warning boxes.
extern const wchar_t* const kPhotoFailureMessage; // a photo the preview cannot show
extern const wchar_t* const kClipFailureMessage;  // a clip the preview cannot open or play
// A drive chosen with no volume in it ("Le lecteur E: n'est pas prêt").
std::wstring DriveNotReadyMessage(wchar_t letter);
