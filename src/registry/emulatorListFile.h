// The 16,084-byte list layout shared by a system's ".emu" file and the copy file "Copy.dat":
// a count, then all 20 entry slots whatever the count.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/fileIo.h"
#include "core/pluginContext.h"
#include "registry/emulatorEntry.h"

namespace lb {

struct EmulatorListFile {
    int32_t count;
    EmulatorEntry entries[kMaxEmulators];
};
static_assert(sizeof(EmulatorListFile) == 16084);
static_assert(offsetof(EmulatorListFile, entries) == 4);

// Writes `count` and all 20 slots of `entries`; false when the old file had to be kept.
bool writeEmulatorListFile(const char* path, int32_t count,
                           const EmulatorEntry (&entries)[kMaxEmulators]);

// Reads a list file into `count` and `entries`; both stay unchanged when the file is missing or
// cannot be read, a read error anywhere included. A count outside 0..20 is a damaged file and
// reads as an empty list; a short file counts only the entries it holds in full, and slots it
// does not cover keep their previous bytes.
FileRead readEmulatorListFile(const char* path, int32_t& count,
                              EmulatorEntry (&entries)[kMaxEmulators]);

// The current system's list file: `emulatorCount` and `emulators` of the state record.
bool saveEmulatorList();
// The state's list of the current system read again from its file, with its templates
// (emulatorTemplates): an empty list for a missing file; false, with an empty list, for a file that
// exists but cannot be read, which `tell` tells the user.
bool loadEmulatorList(bool tell);

// Saves a list file and, beside it, the templates of its entries; a save that fails is told to
// the user.
struct TemplateTable;
bool saveListAndTemplates(const char* path, int32_t count,
                          const EmulatorEntry (&entries)[kMaxEmulators],
                          const TemplateTable& templates);

// The copy file carries 1..20 copied entries from one system's list into any other, and their
// command-line templates beside it. A copy file that cannot be saved or read is told to the
// user.
bool writeCopyFile(int32_t count, const EmulatorEntry (&entries)[kMaxEmulators],
                   const TemplateTable* templates = nullptr);
FileRead readCopyFile(int32_t& count, EmulatorEntry (&entries)[kMaxEmulators],
                      TemplateTable* templates = nullptr);

}  // namespace lb
