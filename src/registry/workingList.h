// The settings dialog's working copy of the current system's emulators and the edits its buttons
// make: moves, deletion of a selection, and paste from the copy file. OK stores the copy back.
#pragma once

#include <cstdint>

#include "core/fileIo.h"
#include "core/pluginContext.h"
#include "registry/argumentTemplates.h"
#include "registry/emulatorEntry.h"

namespace lb {

// The state the two modal emulator dialogs share, one instance each.
// Set by loadWorkingList and the settings dialog's buttons; read by both dialogs.
extern EmulatorEntry workingList[kMaxEmulators];
// Set with workingList; read by both dialogs and storeWorkingList.
extern int32_t workingCount;
// Set by the settings dialog before it opens the edit dialog: 1 to add, 0 to edit.
extern int32_t addMode;
// Set by the settings dialog with addMode: the edited row, -1 while adding. Read by the edit
// dialog.
extern int32_t editIndex;

// Between the state record's list and the working copy. Slots of the target past the new
// count keep their bytes.
void loadWorkingList();
void storeWorkingList();

// The settings dialog's OK: saves the working copy as the current system's list file, and only
// once it is saved makes it the state's list. A save that fails is told to the user and changes
// nothing, so the dialog can stay open for another try; false. Without a data folder the list
// is stored and nothing is written.
bool saveWorkingList();

// The edit dialog's OK: stores the entry as storeEditedEntry does, with its command-line
// template (an empty text: none). An edited entry takes its template along when its name or
// executable changes. The row it landed at, or -1.
int32_t storeEditedEmulator(bool adding, int32_t index, const EmulatorEntry& entry,
                            const char* argumentTemplate);

// Copy and Paste of the settings dialog, templates included: the selected rows into the copy
// file (told when the save fails; false), and the copy file's entries appended to the working
// list as pasteEntries appends them. A copy file that cannot be read is told.
bool copyToCopyFile(const int32_t* selected, int32_t selectedCount);
FileRead pasteFromCopyFile();

// Swaps entry `current` with its neighbour `step` (-1 up, +1 down) places away; the entry's
// new index, or -1 when nothing moved (no such entry, or it is already at that end).
int32_t moveEntry(EmulatorEntry (&list)[kMaxEmulators], int32_t count, int32_t current,
                  int32_t step);

// Removes the entries whose indexes are listed, keeping the order of the rest; the new count.
// Indexes outside the list are ignored.
int32_t removeEntries(EmulatorEntry (&list)[kMaxEmulators], int32_t count, const int32_t* selected,
                      int32_t selectedCount);

// Copies the listed entries, in the order given, to the front of `copies`; their number.
int32_t collectEntries(EmulatorEntry (&copies)[kMaxEmulators],
                       const EmulatorEntry (&list)[kMaxEmulators], int32_t count,
                       const int32_t* selected, int32_t selectedCount);

// Appends the copied entries that are no duplicates of the list's, entries appended by this
// paste included, until the list holds 20; the new count. A duplicate has the same name, or
// starts alike (sameLaunch) with the templates of `listTemplates` and `copiedTemplates`; without
// them, the same executable.
int32_t pasteEntries(EmulatorEntry (&list)[kMaxEmulators], int32_t count,
                     const EmulatorEntry (&copies)[kMaxEmulators], int32_t copyCount,
                     const TemplateTable* listTemplates = nullptr,
                     const TemplateTable* copiedTemplates = nullptr);

// Whether an entry's executable is missing: its path names no existing file. A path that
// starts with "\\" or lies on a network drive is not checked, since the check can hang there
// for seconds; it counts as present.
bool isExecutableMissing(const EmulatorEntry& entry);

// A row of the settings list as shown: the name, followed by " (見つかりません)" for a missing
// executable. Only the list shows it; the stored name never changes.
constexpr size_t kRowTextSize = kTextSize + 32;
void emulatorRowText(char (&text)[kRowTextSize], const char* name, bool missing);

}  // namespace lb
