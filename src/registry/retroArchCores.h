// RetroArch's installed cores, read from its own files: "retroarch.cfg" beside retroarch.exe says
// where the cores (libretro_directory) and their descriptions (libretro_info_path) lie; each
// "*_libretro.dll" there is a core, and its ".info" file gives its name and what it reads.
#pragma once

#include <cstdint>

#include "core/records.h"
#include "registry/emulatorPresets.h"

namespace lb {

struct RetroArchFolders {
    char program[kTextSize];  // retroarch.exe's folder, with its final backslash
    char cores[kTextSize];    // with a final backslash
    char info[kTextSize];
    bool coresBeside;  // the cores are "cores" beside retroarch.exe: a template names them so
};

// The folders of the RetroArch at `exePath`, from "retroarch.cfg" beside it: a value is quoted,
// and ":" at its start stands for retroarch.exe's folder. Without the file or a key, "cores"
// and "info" beside the program. Unreadable when the file exists but cannot be read; the
// folders are the defaults then.
FileRead retroArchFolders(const char* exePath, RetroArchFolders& folders);

struct InstalledCore {
    char file[kTextSize];         // "snes9x_libretro.dll"
    char displayName[kTextSize];  // display_name of its .info in the ANSI code page; else its file
    char extensions[kTextSize];   // supported_extensions of its .info: "smc|sfc"; or none
};

// The cores installed in `folders` (retroArchFolders read them), in the folder's order, at
// most `capacity`; `*leftOut`, when given, grows by the number of cores past it. `unreadable`
// tells whether an .info file could not be read: the cores are listed all the same. A line
// longer than a text is skipped.
int32_t installedCores(const RetroArchFolders& folders, InstalledCore* cores, int32_t capacity,
                       bool& unreadable, int32_t* leftOut = nullptr);

// The known emulator made for a core of the RetroArch at `exePath`: the standard kind, the
// quote box, "-L cores\<file> %ROM%" when the cores lie beside retroarch.exe, otherwise
// -L "<the core's full path>" %ROM%; a core path with a blank is quoted, and a % in it doubled
// so that it passes as itself. A row of `known` that starts the same core gives its name and
// boxes; the core's own name is used otherwise, and its own extensions whenever its .info has
// them. False when the template does not fit.
bool corePreset(const InstalledCore& core, const RetroArchFolders& folders,
                const PresetTable& known, EmulatorPreset& preset);

}  // namespace lb
