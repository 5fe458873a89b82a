// The favourites dialog's 最近遊んだゲーム tab: its own owner-data list of the played games over
// the history view, with the dialog's filter, type-to-find, Delete, the context menu and a
// launch with each game's last emulator.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>

namespace lb {

// Reads the history when the dialog opens (a file that cannot be read is told and shows
// nothing) and sets up the tabs and the list; which tab shows is the one the dialog was closed
// on.
void openHistoryTab(HWND dialog);
void closeHistoryTab(HWND dialog);

bool historyTabShown(HWND dialog);
// Shows the favourites (false) or the history (true); the tab stored when the dialog closed
// last, its rows filtered. closeHistoryTab stores the tab shown then, when it is another.
void showHistoryTab(HWND dialog, bool history);
void showStoredTab(HWND dialog);

// The filter field's text applied to the history's rows, with the title.
void filterHistory(HWND dialog);

// The history list's notifications; the context menu's items and the Delete button.
BOOL onHistoryNotify(HWND dialog, NMHDR& header);
void showHistoryMenu(HWND dialog, POINT where);
bool onHistoryCommand(HWND dialog, int id);
void deleteSelectedHistory(HWND dialog);

// A context menu that starts with the registered emulators, by name as stored, emulator
// `checked` checked, and a separator after them.
HMENU emulatorMenu(int32_t checked);

}  // namespace lb
