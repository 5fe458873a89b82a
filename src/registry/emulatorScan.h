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

// Every core of a RetroArch (kMaxCores) with room to spare for a second one and the standalone
// emulators beside them.
constexpr int32_t kMaxFound = 640;
struct FoundEmulator {
    EmulatorPreset preset;
    char exePath[kTextSize];
    char core[kTextSize];  // the core's file for a row of a RetroArch; empty for any other
    bool fits;
    bool listed;    // the working list has it already: markListedRows sets it
    int32_t place;  // its row of the table, or after them all for a core the table lacks
};
// What a walk found, the rows that fit first, each part in the table's order. `folders` counts
// the folders seen, for the walk's progress; `unreadable` tells that a RetroArch's cfg or .info
// file could not be read; `leftOut` counts the rows found and not listed: past kMaxFound, a
// core past kMaxCores, a core whose template could not be made or is refused.
struct ScanResult {
    int32_t count;
    FoundEmulator rows[kMaxFound];
    std::atomic<int32_t> folders;
    bool unreadable;
    int32_t leftOut;
};

// Walks `root` and its folders five levels deep, never through a reparse point, passing over
// folders that cannot be read; each file that a row of `known` matches is found with that row,
// a retroarch.exe with a row per installed core. A pattern of fewer than three characters
// besides "*" and ".exe" (pt.exe) could name any program: the walk leaves it out, and only
// Browse matches it. Stops early, with what it found so far, once `stop` answers true. Runs on
// a worker: it reads only its arguments and the file system.
void scanForEmulators(const char* root, const PresetTable& known, const ListExtensions& list,
                      ScanResult& result, bool (*stop)());

// Drops the rows whose template `refused` refuses, as it would refuse a typed one; they count
// as left out. On the host's thread, once the walk has ended.
void dropRefusedRows(ScanResult& result, bool (*refused)(const char* text));

// Marks the rows that the settings dialog's working list holds already: an entry with the same
// program, without regard to ASCII case, and for a RetroArch's core one whose template names
// that core's file.
void markListedRows(ScanResult& result);

// Appends the checked rows, in their order, to the settings dialog's working list, each made as
// Add makes a new entry and then given its known emulator's kind, boxes, waits and template. A
// row the list holds already (markListedRows: what would start as a listed entry does) is
// passed over; a name the list holds gets " (2)", " (3)"..., and a row for which none fits is
// passed over too. False when rows were left out because the list holds 20.
bool addFoundEmulators(const ScanResult& result, const bool* checked);

}  // namespace lb
