// What the edit dialog decides: the entry it starts a new emulator with, which controls each kind
// uses, what a combo box without a selection stores, the checks on OK in their order, and the
// texts it takes from a picked executable or folder.
#pragma once

#include <cstdint>

#include "core/pluginContext.h"
#include "registry/argumentTemplates.h"
#include "registry/emulatorEntry.h"

namespace lb {

// The kind a new entry starts with, from the host's list name.
int32_t kindForListName(const char* listName);

// A new entry: `tempDir` as extraction folder, the kind of the list, the middle waits, quoted.
EmulatorEntry newEmulatorEntry(const char* tempDir, const char* listName);

// The kind-dependent controls that are enabled. A kind outside the table (a damaged list file)
// enables none of them until the user picks a kind.
struct EditControlStates {
    bool extract;     // the extract check box
    bool folder;      // the folder label, box and browse button
    bool keyWait;     // the key wait label and combo
    bool browseWait;  // the browse wait label and combo
    bool quote;
    bool shortPath;
    bool arguments;  // the command-line template's label and field
};
EditControlStates editControlStates(int32_t kind, bool extractChecked);

// A combo box's row as stored: its selection among `rows`, or `fallback` when none is selected.
// OK on an entry with a damaged kind or wait stores what a new entry starts with.
int32_t storedSelection(int32_t selection, int32_t rows, int32_t fallback);

// The extraction folder that OK checks: the entry's, when it extracts and its kind can; or none.
const char* folderToCheck(const EmulatorEntry& entry);

// Whether two entries start alike: the same executable with the same template. An empty
// template is the same as one that passes the ROM or the set name alone ("%ROM%", "%SET%"), and
// a kind that takes no template counts as having none: entries without templates are alike
// whenever their executables are.
bool sameLaunch(const EmulatorEntry& a, const char* templateA, const EmulatorEntry& b,
                const char* templateB);

// The first of the five input checks that fails, as its message; null when all pass. A
// duplicate has the entry's name, or starts alike (sameLaunch, each listed entry with its
// template in `templates`). Entry `editIndex` of the list (the one being edited, -1 while
// adding) does not count as a duplicate.
const char* emulatorInputError(const EmulatorEntry (&list)[kMaxEmulators], int32_t count,
                               int32_t editIndex, const TemplateTable& templates,
                               const EmulatorEntry& entry, const char* argumentTemplate,
                               const char* folder);

// Stores an accepted entry at the end of the list (adding) or at `editIndex`; the index it
// landed at, or -1 when there is no such place.
int32_t storeEditedEntry(EmulatorEntry (&list)[kMaxEmulators], int32_t& count, bool adding,
                         int32_t editIndex, const EmulatorEntry& entry);

// The file name of a picked executable without its folder and extension: fast.emu for
// D:\Emu\fast.emu.exe.
void nameFromExePath(char (&name)[kTextSize], const char* path);

// Takes a folder picked in the folder browser, with one final backslash, into `target`. False,
// with `target` unchanged, when the shell gave no path or it would not fit with its backslash.
bool takePickedFolder(char (&target)[kTextSize], const char* picked);

}  // namespace lb
