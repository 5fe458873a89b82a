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

void indexPatterns(Walk& w) {
    w.patternCount = 0;
    for (int32_t i = 0; i < w.known.count && i < kMaxPresets; ++i)
        for (const char* at = w.known.rows[i].patterns; *at != '\0';) {
            size_t length = std::strcspn(at, ";");
            // retroarch.exe, which a row of each known core names, gives its installed cores.
            bool retroArch = length == 13 && patternMatches(at, length, "retroarch.exe");
            if (length > 0 && !retroArch && w.patternCount < kMaxPatterns)
                w.patterns[w.patternCount++] = {at, length, asciiLower(at[0]), i};
            at += length + (at[length] != '\0' ? 1 : 0);
        }
}

void found(Walk& w, const EmulatorPreset& preset, const char* exePath, int32_t place) {
    if (w.result.count >= kMaxFound) return;
    FoundEmulator& row = w.result.rows[w.result.count];
    row.preset = preset;
    row.fits = presetFits(preset, w.list);
    row.place = place;
    if (copyText(row.exePath, exePath)) ++w.result.count;
}

// A RetroArch gives a row for each installed core.
void foundRetroArch(Walk& w, const char* exePath) {
    static InstalledCore cores[kMaxFound];
    RetroArchFolders folders;
    bool unreadable = retroArchFolders(exePath, folders) == FileRead::Unreadable;
    bool infoUnreadable = false;
    int32_t count = installedCores(folders, cores, kMaxFound, infoUnreadable);
    w.result.unreadable = w.result.unreadable || unreadable || infoUnreadable;
    for (int32_t i = 0; i < count; ++i) {
        EmulatorPreset preset;
        corePreset(cores[i], folders, w.known, preset);
        int32_t row = presetNamed(w.known, w.known.count, preset.name);
        found(w, preset, exePath, row >= 0 ? row : kMaxPresets + i);
    }
}

void walk(Walk& w, const char* folder, int depth);

struct Visit {
    Walk& w;
    const char* folder;
    int depth;
};

void visitEntry(const platform::FolderEntry& entry, void* user) {
    auto& v = *static_cast<Visit*>(user);
    char path[kTextSize];
    if (v.w.stop() || entry.reparsePoint) return;
    if (entry.folder) {
        if (v.depth < 5 && joinPath(path, v.folder, entry.name, "\\")) walk(v.w, path, v.depth + 1);
        return;
    }
    bool isRetroArch = patternMatches("retroarch.exe", 13, entry.name);
    if (isRetroArch && joinPath(path, v.folder, entry.name)) return foundRetroArch(v.w, path);
    int32_t last = -1;  // a row is found once, whichever of its patterns matched
    char first = asciiLower(entry.name[0]);
    for (int32_t i = 0; i < v.w.patternCount && !isRetroArch; ++i) {
        const Pattern& p = v.w.patterns[i];
        if ((p.first != first && p.first != '*') || p.row == last ||
            !patternMatches(p.text, p.length, entry.name) || !joinPath(path, v.folder, entry.name))
            continue;
        found(v.w, v.w.known.rows[p.row], path, p.row);
        last = p.row;
    }
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

bool addFoundEmulators(const ScanResult& result, const bool* checked) {
    bool full = false;
    for (int32_t i = 0; i < result.count && i < kMaxFound; ++i) {
        if (!checked[i]) continue;
        const FoundEmulator& row = result.rows[i];
        EmulatorEntry entry{};
        copyText(entry.exePath, row.exePath);
        applyPreset(row.preset, entry);
        bool listed = false;
        for (int32_t k = 0; k < workingCount && !listed; ++k)
            listed =
                std::strcmp(workingList[k].exePath, entry.exePath) == 0 &&
                std::strcmp(findTemplate(workingTemplates, workingList[k]), row.preset.args) == 0;
        if (listed) continue;
        if (workingCount >= kMaxEmulators) {
            full = true;
            continue;
        }
        storeEditedEmulator(true, -1, entry, row.preset.args);
    }
    return !full;
}

}  // namespace lb
