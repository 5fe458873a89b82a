// The walk for emulators, the fit of a row to the list's ROMs, and the rows kept added to the
// working list.
#include "registry/emulatorScan.h"

#include <algorithm>
#include <cstring>

#include "core/pluginContext.h"
#include "core/romCache.h"
#include "core/text.h"
#include "platform/platform.h"
#include "registry/argumentTemplates.h"
#include "registry/emulatorEdit.h"
#include "registry/retroArchCores.h"
#include "registry/workingList.h"

namespace lb {

namespace {

// The extension of a file name, lowered, into `ext`; false for a name without one or with one
// too long to be an extension.
bool extensionOf(const char* name, char (&ext)[16]) {
    char folder[kTextSize];
    driveAndFolder(folder, name);
    const char* dot = std::strrchr(name + std::strlen(folder), '.');
    if (dot == nullptr || dot[1] == '\0' || std::strlen(dot + 1) >= sizeof ext) return false;
    size_t i = 0;
    for (const char* p = dot + 1; *p != '\0'; ++p) ext[i++] = asciiLower(*p);
    ext[i] = '\0';
    return true;
}

void addExtension(ListExtensions& list, const char (&ext)[16]) {
    for (int32_t i = 0; i < list.count; ++i)
        if (std::strcmp(list.names[i], ext) == 0) return;
    if (list.count < 64) std::memcpy(list.names[list.count++], ext, sizeof ext);
}

}  // namespace

bool readListExtensions(ListExtensions& list) {
    list.count = 0;
    list.arcade = std::strstr(context->listName, "(MAME)") != nullptr;
    loadRomCache();
    for (int32_t i = 0; i < context->cacheCount && i < kMaxCacheEntries; ++i) {
        const RomCacheEntry& rom = context->cacheEntries[i];
        char ext[16];
        if (extensionOf(rom.innerName[0] != '\0' ? rom.innerName : rom.romPath, ext))
            addExtension(list, ext);
    }
    return context->cacheCount > 0;
}

bool presetFits(const EmulatorPreset& preset, const ListExtensions& list) {
    if (list.arcade && preset.kind == MameModel2) return true;
    for (const char* at = preset.extensions; *at != '\0';) {
        size_t length = std::strcspn(at, "| ;");
        for (int32_t i = 0; i < list.count && length > 0; ++i) {
            size_t k = 0;
            while (k < length && asciiLower(at[k]) == list.names[i][k]) ++k;
            if (k == length && list.names[i][k] == '\0') return true;
        }
        at += length + (at[length] != '\0' ? 1 : 0);
    }
    return false;
}

namespace {

// Every pattern of the table's rows, with its first character folded: a file is tried only
// against the patterns that can start its name, since the walk asks this of every file.
struct Pattern {
    const char* text;
    size_t length;
    char first;  // '*' for a pattern that starts with any text
    int32_t row;
};
constexpr int32_t kMaxPatterns = 4 * kMaxPresets;

struct Walk {
    const PresetTable& known;
    const ListExtensions& list;
    ScanResult& result;
    bool (*stop)();
    Pattern patterns[kMaxPatterns];
    int32_t patternCount;
};

// Whether a pattern names enough of a file name to tell its program: three characters besides
// "*" and a final ".exe".
bool tellsAProgram(const char* pattern, size_t length) {
    char name[kTextSize];
    if (takeBytes(name, pattern, length) && patternMatches("*.exe", 5, name)) length -= 4;
    size_t named = 0;
    for (size_t i = 0; i < length; i += characterLength(pattern + i)) named += pattern[i] != '*';
    return named >= 3;
}

void indexPatterns(Walk& w) {
    w.patternCount = 0;
    for (int32_t i = 0; i < w.known.count && i < kMaxPresets; ++i)
        for (const char* at = w.known.rows[i].patterns; *at != '\0';) {
            size_t length = std::strcspn(at, ";");
            // retroarch.exe, which a row of each known core names, gives its installed cores.
            bool retroArch = length == 13 && patternMatches(at, length, "retroarch.exe");
            if (length > 0 && !retroArch && tellsAProgram(at, length) &&
                w.patternCount < kMaxPatterns)
                w.patterns[w.patternCount++] = {at, length, asciiLower(at[0]), i};
            at += length + (at[length] != '\0' ? 1 : 0);
        }
}

void found(Walk& w, const EmulatorPreset& preset, const char* exePath, const char* core,
           int32_t place) {
    FoundEmulator& row = w.result.rows[w.result.count < kMaxFound ? w.result.count : 0];
    if (w.result.count >= kMaxFound || !copyText(row.exePath, exePath)) {
        ++w.result.leftOut;
        return;
    }
    row.preset = preset;
    copyText(row.core, core);
    row.fits = presetFits(preset, w.list);
    row.listed = false;
    row.place = place;
    ++w.result.count;
}

// A RetroArch gives a row for each installed core.
void foundRetroArch(Walk& w, const char* exePath) {
    static InstalledCore cores[kMaxCores];
    static EmulatorPreset preset;
    RetroArchFolders folders;
    bool unreadable = retroArchFolders(exePath, folders) == FileRead::Unreadable;
    bool infoUnreadable = false;
    int32_t count = installedCores(folders, cores, kMaxCores, infoUnreadable, &w.result.leftOut);
    w.result.unreadable = w.result.unreadable || unreadable || infoUnreadable;
    for (int32_t i = 0; i < count; ++i) {
        if (!corePreset(cores[i], folders, w.known, preset)) {
            ++w.result.leftOut;
            continue;
        }
        int32_t row = presetNamed(w.known, w.known.count, preset.name);
        found(w, preset, exePath, cores[i].file, row >= 0 ? row : kMaxPresets + i);
    }
}

void walk(Walk& w, const char* folder, int depth);

struct Visit {
    Walk& w;
    const char* folder;
    int depth;
};

// Stops the folder's listing, between two entries, once the walk is asked to stop.
bool visitEntry(const platform::FolderEntry& entry, void* user) {
    auto& v = *static_cast<Visit*>(user);
    char path[kTextSize];
    if (v.w.stop()) return false;
    if (entry.reparsePoint) return true;
    if (entry.folder) {
        if (v.depth < 5 && joinPath(path, v.folder, entry.name, "\\")) walk(v.w, path, v.depth + 1);
        return true;
    }
    bool isRetroArch = patternMatches("retroarch.exe", 13, entry.name);
    if (isRetroArch && joinPath(path, v.folder, entry.name)) {
        foundRetroArch(v.w, path);
        return true;
    }
    int32_t last = -1;  // a row is found once, whichever of its patterns matched
    char first = asciiLower(entry.name[0]);
    for (int32_t i = 0; i < v.w.patternCount && !isRetroArch; ++i) {
        const Pattern& p = v.w.patterns[i];
        if ((p.first != first && p.first != '*') || p.row == last ||
            !patternMatches(p.text, p.length, entry.name) || !joinPath(path, v.folder, entry.name))
            continue;
        found(v.w, v.w.known.rows[p.row], path, "", p.row);
        last = p.row;
    }
    return true;
}

void walk(Walk& w, const char* folder, int depth) {
    w.result.folders.fetch_add(1, std::memory_order_relaxed);
    Visit v{w, folder, depth};
    platform::listFolder(folder, visitEntry, &v);
}

}  // namespace

void scanForEmulators(const char* root, const PresetTable& known, const ListExtensions& list,
                      ScanResult& result, bool (*stop)()) {
    result.count = 0;
    result.unreadable = false;
    result.leftOut = 0;
    result.folders.store(0);
    Walk w{known, list, result, stop, {}, 0};  // 12 KB on the worker's stack
    indexPatterns(w);
    char folder[kTextSize];
    if (!copyText(folder, root) || !ensureBackslash(folder, sizeof folder)) return;
    walk(w, folder, 0);
    std::stable_sort(result.rows, result.rows + result.count,
                     [](const FoundEmulator& a, const FoundEmulator& b) {
                         return a.fits != b.fits ? a.fits : a.place < b.place;
                     });
}

void dropRefusedRows(ScanResult& result, bool (*refused)(const char* text)) {
    int32_t kept = 0;
    for (int32_t i = 0; i < result.count && i < kMaxFound; ++i) {
        if (refused(result.rows[i].preset.args)) {
            ++result.leftOut;
            continue;
        }
        if (kept != i) result.rows[kept] = result.rows[i];
        ++kept;
    }
    result.count = kept;
}

namespace {

// Whether `text` names the file `file` at a boundary: its start, or after a backslash, a slash,
// a blank or a double quote; without regard to ASCII case, walking whole characters.
bool namesFile(const char* text, const char* file) {
    size_t length = std::strlen(file);
    char candidate[kTextSize];
    bool boundary = true;
    for (const char* p = text; *p != '\0'; p += characterLength(p)) {
        if (boundary && takeBytes(candidate, p, std::min(length, std::strlen(p))) &&
            patternMatches(file, length, candidate))
            return true;
        boundary = characterLength(p) == 1 && std::strchr("\\/ \"", *p) != nullptr;
    }
    return false;
}

bool listedAlready(const FoundEmulator& row) {
    for (int32_t k = 0; k < workingCount && k < kMaxEmulators; ++k) {
        const EmulatorEntry& entry = workingList[k];
        if (samePathWithoutCase(entry.exePath, row.exePath) &&
            (row.core[0] == '\0' || namesFile(findTemplate(workingTemplates, entry), row.core)))
            return true;
    }
    return false;
}

// Gives the entry a name that no listed entry has: its own, or with " (2)", " (3)"... after
// it. False when none fits the field.
bool takeFreeName(EmulatorEntry& entry) {
    auto taken = [](const char* name) {
        for (int32_t k = 0; k < workingCount && k < kMaxEmulators; ++k)
            if (std::strcmp(workingList[k].name, name) == 0) return true;
        return false;
    };
    char name[kTextSize], number[24];
    copyText(name, entry.name);
    for (uint64_t n = 2; taken(name) && n < 100; ++n) {
        decimalText(number, n);
        if (!joinPath(name, entry.name, " (", number, ")")) return false;
    }
    return !taken(name) && copyText(entry.name, name);
}

}  // namespace

void markListedRows(ScanResult& result) {
    for (int32_t i = 0; i < result.count && i < kMaxFound; ++i)
        result.rows[i].listed = listedAlready(result.rows[i]);
}

bool addFoundEmulators(const ScanResult& result, const bool* checked) {
    bool full = false;
    for (int32_t i = 0; i < result.count && i < kMaxFound; ++i) {
        const FoundEmulator& row = result.rows[i];
        if (!checked[i] || listedAlready(row)) continue;
        EmulatorEntry entry = newEmulatorEntry(context->tempDir, context->listName);
        copyText(entry.exePath, row.exePath);
        applyPreset(row.preset, entry);
        // No same-launch check is needed: such a row has a listed entry's program, so it is
        // listed already.
        if (!takeFreeName(entry)) continue;
        if (workingCount >= kMaxEmulators) {
            full = true;
            continue;
        }
        storeEditedEmulator(true, -1, entry, row.preset.args);
    }
    return !full;
}

}  // namespace lb
