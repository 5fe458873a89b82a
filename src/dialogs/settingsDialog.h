// EMULATORSETTINGDLG, the emulator list of the current system. Opened from the main menu.
#pragma once

#include <cstdint>

namespace lb {

// Runs the emulator settings dialog over the current system's list; the result it ended with
// (1 OK, 2 Cancel), -1 when it cannot be created.
int32_t openEmulatorSettings();

// Shows the working list in the open settings dialog with `row` selected (-1 for none). The edit
// dialog calls it when OK stores its entry, so the list shows it before the edit dialog closes.
void refreshEmulatorListView(int32_t row);

}  // namespace lb
