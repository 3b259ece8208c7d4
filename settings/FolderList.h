#pragma once
// The folder list of a stored "defdir", read one way by the saver's scan and the dialog's list.
#include <string>
#include <vector>

// Each piece between ";" in order, an empty piece included (two in a row), so that the dialog
// shows what the file holds; a trailing ";" gives no extra entry, and a last piece written by
// hand without its ";" is kept rather than dropped.
std::vector<std::wstring> FolderEntries(const std::wstring& folders);
