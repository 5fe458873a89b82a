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
// cannot be read, a read error anywhere included. A count outside 0..20, or a file too short to
// hold its count, is a damaged file and reads as an empty list; a short file counts only the
// entries it holds in full, and slots it does not cover keep their previous bytes.
FileRead readEmulatorListFile(const char* path, int32_t& count,
                              EmulatorEntry (&entries)[kMaxEmulators]);

// The current system's list file: `emulatorCount` and `emulators` of the state record.
bool saveEmulatorList();
// The state's list of the current system read again from its file, with its templates
// (emulatorTemplates): an empty list for a missing file; false, with an empty list, for a list
// file that exists but cannot be read, which `tell` tells the user. False too, the list kept and
// no template, when only the templates' file cannot be read: told the same way.
bool loadEmulatorList(bool tell);

// Whether a launch may use the state's templates: false, told with the reason found then, when
// their file could not be read at the list's load.
bool templatesReadyForLaunch();

// Saves a list file and, beside it, the templates of its entries, as one: when either save
// fails, both files keep their bytes and the user is told which file failed.
struct TemplateTable;
bool saveListAndTemplates(const char* path, int32_t count,
                          const EmulatorEntry (&entries)[kMaxEmulators],
                          const TemplateTable& templates);

// The copy file carries 1..20 copied entries from one system's list into any other, and their
// command-line templates beside it. A copy file or its templates' file that cannot be saved or
// read is told to the user; either unreadable reads as Unreadable.
bool writeCopyFile(int32_t count, const EmulatorEntry (&entries)[kMaxEmulators],
                   const TemplateTable* templates = nullptr);
FileRead readCopyFile(int32_t& count, EmulatorEntry (&entries)[kMaxEmulators],
                      TemplateTable* templates = nullptr);

}  // namespace lb
