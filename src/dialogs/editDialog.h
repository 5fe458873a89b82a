// EMULATORSETTINGCHILDDLG, one emulator added to or edited in the settings dialog's working list.
#pragma once

#include <windows.h>

#include <cstdint>

namespace lb {

// Runs the edit dialog, owned by the settings dialog, over `addMode`, `editIndex` and the
// working list, which the settings dialog set. OK stores the entry in the working list.
void openEmulatorEdit(HWND settings);

}  // namespace lb
