// The emulators already on the user's disk: a folder walked five levels deep for programs that a
// known emulator's pattern matches (a RetroArch giving one row per installed core), each row
// marked when it fits the current list's ROMs, and the rows the user keeps appended to the
// settings dialog's working list.
#pragma once

#include <atomic>
#include <cstdint>

#include "registry/emulatorPresets.h"

namespace lb {

// The extensions of the current list's ROMs, lowered and without their dots: of the file inside
// the archive where the cache names one, else of the ROM's own file. `arcade` for a list whose
// name holds "(MAME)", where the set-name rows fit.
struct ListExtensions {
    int32_t count;
    char names[64][16];
    bool arcade;
};
// Reads the current system's cache as a launch does; false, with no extension, when it is
// missing or lists no ROM: then whether a row fits is unknown.
bool readListExtensions(ListExtensions& list);
// Whether a row fits the list: one of its extensions, without case, is one of the list's; on an
// arcade list, a set-name row.
bool presetFits(const EmulatorPreset& preset, const ListExtensions& list);

constexpr int32_t kMaxFound = 200;
struct FoundEmulator {
    EmulatorPreset preset;
    char exePath[kTextSize];
    bool fits;
    int32_t place;  // its row of the table, or after them all for a core the table lacks
};
// What a walk found, the rows that fit first, each part in the table's order. `folders` counts
// the folders seen, for the walk's progress; `unreadable` tells that a RetroArch's cfg or .info
// file could not be read.
struct ScanResult {
    int32_t count;
    FoundEmulator rows[kMaxFound];
    std::atomic<int32_t> folders;
    bool unreadable;
};

// Walks `root` and its folders five levels deep, never through a reparse point, passing over
// folders that cannot be read; each file that a row of `known` matches is found with that row,
// a retroarch.exe with a row per installed core. Stops early, with what it found so far, once
// `stop` answers true. Runs on a worker: it reads only its arguments and the file system.
void scanForEmulators(const char* root, const PresetTable& known, const ListExtensions& list,
                      ScanResult& result, bool (*stop)());

// Appends the checked rows, in their order, to the settings dialog's working list as Add does,
// each with its template; a row whose program and template equal an entry's is passed over.
// False when rows were left out because the list holds 20.
bool addFoundEmulators(const ScanResult& result, const bool* checked);

}  // namespace lb
