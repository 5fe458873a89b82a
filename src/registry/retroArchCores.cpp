// RetroArch's configuration and core descriptions are lines of "key = value", the value in
// double quotes; only the keys below are read, and a line too long for a text is passed over.
#include "registry/retroArchCores.h"

#include <cstring>

#include "core/fileIo.h"
#include "core/text.h"
#include "platform/platform.h"

namespace lb {

namespace {

constexpr size_t kLineLimit = 2 * kTextSize;

// The value of `key` on the line "key = value", blanks around "=", the value in double quotes
// or not; false when the line sets another key or its value does not fit.
bool lineValue(const char* line, size_t length, const char* key, char (&value)[kTextSize]) {
    size_t n = std::strlen(key), at = n;
    if (length <= n || std::memcmp(line, key, n) != 0) return false;
    while (at < length && (line[at] == ' ' || line[at] == '\t')) ++at;
    if (at == length || line[at++] != '=') return false;
    while (at < length && (line[at] == ' ' || line[at] == '\t')) ++at;
    size_t end = length;
    while (end > at && (line[end - 1] == ' ' || line[end - 1] == '\t')) --end;
    if (end - at >= 2 && line[at] == '"' && line[end - 1] == '"') ++at, --end;
    if (end - at >= sizeof value || std::memchr(line + at, '\0', end - at) != nullptr) return false;
    std::memcpy(value, line + at, end - at);
    value[end - at] = '\0';
    return true;
}

struct Wanted {
    const char* const* keys;
    char (*values)[kTextSize];
    int count;
};

void takeValues(const char* line, size_t length, void* user) {
    auto& wanted = *static_cast<Wanted*>(user);
    for (int k = 0; k < wanted.count; ++k)
        lineValue(line, length, wanted.keys[k], wanted.values[k]);
}

// Reads the values of `keys` from the whole file at `path` into `values`; a key not found
// leaves its value as it was. False when the file exists but cannot be read.
bool readValues(const char* path, const char* const* keys, char (*values)[kTextSize], int count) {
    Wanted wanted{keys, values, count};
    return readLines(path, kLineLimit, takeValues, &wanted) != FileRead::Unreadable;
}

// A folder named in the cfg: ":" at its start stands for the program's folder.
void takeFolder(char (&folder)[kTextSize], const char* value, const char* program) {
    if (value[0] == ':') {
        const char* rest = value[1] == '\\' || value[1] == '/' ? value + 2 : value + 1;
        if (!joinPath(folder, program, rest)) return;
    } else if (!copyText(folder, value)) {
        return;
    }
    ensureBackslash(folder, sizeof folder);
}

}  // namespace

FileRead retroArchFolders(const char* exePath, RetroArchFolders& folders) {
    folders = RetroArchFolders{};
    driveAndFolder(folders.program, exePath);
    joinPath(folders.cores, folders.program, "cores\\");
    joinPath(folders.info, folders.program, "info\\");
    char path[kTextSize], values[2][kTextSize] = {};
    const char* keys[] = {"libretro_directory", "libretro_info_path"};
    bool read =
        !joinPath(path, folders.program, "retroarch.cfg") || readValues(path, keys, values, 2);
    if (values[0][0] != '\0') takeFolder(folders.cores, values[0], folders.program);
    if (values[1][0] != '\0') takeFolder(folders.info, values[1], folders.program);
    char beside[kTextSize];
    // The same folder written with other ASCII case, compared character by character.
    folders.coresBeside = joinPath(beside, folders.program, "cores\\") &&
                          patternMatches(beside, std::strlen(beside), folders.cores);
    return read ? FileRead::Read : FileRead::Unreadable;
}

namespace {

struct CoreList {
    InstalledCore* cores;
    int32_t capacity, count, over;
};

bool noteCore(const platform::FolderEntry& entry, void* user) {
    auto& list = *static_cast<CoreList*>(user);
    if (entry.folder || !patternMatches("*_libretro.dll", 14, entry.name)) return true;
    InstalledCore& core = list.cores[list.count < list.capacity ? list.count : 0];
    if (list.count >= list.capacity || !copyText(core.file, entry.name)) {
        ++list.over;
        return true;
    }
    ++list.count;
    return true;
}

}  // namespace

int32_t installedCores(const RetroArchFolders& folders, InstalledCore* cores, int32_t capacity,
                       bool& unreadable, int32_t* leftOut) {
    unreadable = false;
    CoreList list{cores, capacity, 0, 0};
    platform::listFolder(folders.cores, noteCore, &list);
    if (leftOut != nullptr) *leftOut += list.over;
    for (int32_t i = 0; i < list.count; ++i) {
        InstalledCore& core = cores[i];
        char base[kTextSize], info[kTextSize], values[2][kTextSize] = {};
        copyText(base, core.file);
        base[std::strlen(base) - 4] = '\0';  // without ".dll"
        const char* keys[] = {"display_name", "supported_extensions"};
        if (joinPath(info, folders.info, base, ".info") && !readValues(info, keys, values, 2))
            unreadable = true;
        // The .info files are UTF-8: a name the ANSI code page cannot show is the file's name.
        if (values[0][0] == '\0' ||
            !platform::utf8ToAnsi(values[0], core.displayName, sizeof core.displayName))
            copyText(core.displayName, core.file);
        copyText(core.extensions, values[1]);
    }
    return list.count;
}

namespace {

// `text` with each % doubled, so that a template passes it as itself; false when it does not
// fit.
bool escapePercents(char (&out)[kTemplateSize], const char* text) {
    size_t at = 0;
    for (const char* p = text; *p != '\0'; p += characterLength(p)) {
        size_t n = characterLength(p), extra = *p == '%' ? 1 : 0;
        if (at + n + extra >= sizeof out) return false;
        if (extra != 0) out[at++] = '%';
        std::memcpy(out + at, p, n);
        at += n;
    }
    out[at] = '\0';
    return true;
}

}  // namespace

bool corePreset(const InstalledCore& core, const RetroArchFolders& folders,
                const PresetTable& known, EmulatorPreset& preset) {
    preset = EmulatorPreset{};
    copyText(preset.name, core.displayName);
    copyText(preset.patterns, "retroarch.exe");
    copyText(preset.extensions, core.extensions);
    preset.quotePath = 1;
    char named[kTextSize];
    for (int32_t i = 0; i < known.count && i < kPresetRows; ++i) {
        const EmulatorPreset& row = known.rows[i];
        if (!joinPath(named, "cores\\", core.file, " ") || std::strstr(row.args, named) == nullptr)
            continue;
        preset = row;
        // The core's own description says what it reads today; the table's row only without one.
        if (core.extensions[0] != '\0') copyText(preset.extensions, core.extensions);
        break;
    }
    char path[kTextSize], loaded[kTemplateSize];  // the core as -L names it
    bool fits = folders.coresBeside ? joinPath(path, "cores\\", core.file)
                                    : joinPath(path, folders.cores, core.file);
    if (!fits || !escapePercents(loaded, path)) return false;
    const char* quote = !folders.coresBeside || std::strchr(path, ' ') != nullptr ? "\"" : "";
    return joinPath(preset.args, "-L ", quote, loaded, quote, " %ROM%");
}

}  // namespace lb
