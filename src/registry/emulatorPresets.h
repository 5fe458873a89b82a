// Known emulators, for registering one in one step: each preset gives the kind, the command-line
// template, the three path boxes and the waits of an emulator whose executable's file name
// matches its patterns. The built-in rows are the project's data file, built into the DLL; a
// "Presets.txt" in the data folder, in the same format, adds rows and replaces those of the
// same name, so a user corrects a row without a new release.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/fileIo.h"
#include "core/records.h"
#include "registry/argumentTemplates.h"

namespace lb {

struct EmulatorPreset {
    char name[kTextSize];
    char patterns[kTextSize];  // file-name patterns, ';' between, '*' for any text
    int32_t kind;
    char args[kTemplateSize];
    int32_t extractArchive, quotePath, shortPath;
    int32_t keyWaitIndex, browseWaitIndex;
    char extensions[kTextSize];  // ext=: the file extensions it opens, '|' between, no dots
};

constexpr int32_t kMaxPresets = 128;  // the rows read from the built-in text and Presets.txt
// The most cores read from one RetroArch: its builds ship about 300.
constexpr int32_t kMaxCores = 400;
// A table holds the rows read and, after them, the installed cores that the rows lack.
constexpr int32_t kPresetRows = kMaxPresets + kMaxCores;
struct PresetTable {
    int32_t count;
    EmulatorPreset rows[kPresetRows];
};

// The first line of a text that was skipped, and why; line 0 when none was.
struct PresetSkip {
    int32_t line;
    const char* reason;
};

// The built-in rows' text, made from the data file by the build.
extern const char kBuiltInPresets[];

// Reads preset text into `table`, after the rows it holds: a row of a name already there
// replaces that row. Blocks of "key=value" lines, a blank line between; ';' starts a comment.
// A row that cannot be read is skipped, the first one noted in `skip`.
void readPresetText(const char* text, size_t length, PresetTable& table, PresetSkip& skip);

// The built-in rows, then those of "Presets.txt" in the data folder. A file that cannot be read
// adds nothing and is Unreadable; `skip` notes its first unreadable row.
FileRead loadPresets(PresetTable& table, PresetSkip& skip);

// The message for a skipped row: "Presets.txt の12行目を読み飛ばしました（理由）".
void presetSkipText(char (&text)[kTextSize * 2], const PresetSkip& skip);

// Whether the file name of `exePath` matches one of the patterns, without regard to ASCII case.
bool presetMatches(const EmulatorPreset& preset, const char* exePath);
// The same for a file name alone, and for one pattern of `length` bytes.
bool presetMatchesName(const EmulatorPreset& preset, const char* name);
bool patternMatches(const char* pattern, size_t length, const char* name);
// Whether two paths are the same, ASCII letters without case, walking whole characters: the
// trail byte of a double-byte character is never folded.
bool samePathWithoutCase(const char* a, const char* b);

// The row among the table's first `count` named `name`; -1 when there is none.
int32_t presetNamed(const PresetTable& table, int32_t count, const char* name);

// The rows that match `exePath`, in table order, into `rows`; their number.
int32_t matchingPresets(const PresetTable& table, const char* exePath, int32_t* rows,
                        int32_t capacity);

// What choosing a preset fills in an entry: the kind, the three boxes and the waits, and the
// name only when it is empty. The executable is never changed.
void applyPreset(const EmulatorPreset& preset, EmulatorEntry& entry);

}  // namespace lb
