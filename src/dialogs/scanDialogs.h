// The settings dialog's フォルダから探す…: the folder walk with its progress window, and the
// window of the emulators found.
#pragma once

#include <windows.h>

namespace lb {

// Asks for a folder, walks it on the worker while "探しています…" counts the folders seen, then
// shows what it found; 追加 appends the checked rows to the working list. True when rows were
// appended: the settings list is refreshed then.
bool findEmulatorsInFolder(HWND settings);

}  // namespace lb
