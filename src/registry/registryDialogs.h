// The two dialog procedures of the emulator list on Windows and what the edit dialog needs of
// the settings dialog that opened it.
#pragma once

#include <windows.h>

#include <cstdint>

namespace lb {

extern HWND settingsDialog;  // the settings dialog while it is open

INT_PTR CALLBACK emulatorSettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK emulatorEditProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the working list in the settings dialog with `index` selected (-1 for none).
void refreshEmulatorListView(int32_t index);

}  // namespace lb
