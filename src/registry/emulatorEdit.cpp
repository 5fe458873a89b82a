// The edit dialog's decisions, free of windows so they can be tested as tables.
#include "registry/emulatorEdit.h"

#include <cstring>

#include "core/text.h"
#include "platform/platform.h"

namespace lb {

namespace {

bool validKind(int32_t kind) { return kind >= 0 && kind < kEmulatorKindCount; }

}  // namespace

int32_t kindForListName(const char* listName) {
    if (std::strstr(listName, "(MAME)") != nullptr) return MameModel2;
    if (std::strcmp(listName, "j64") == 0 || std::strstr(listName, "Jaguar") != nullptr)
        return KeyboardDriven;
    if (std::strcmp(listName, "x68k") == 0 || std::strstr(listName, "X68000") != nullptr ||
        std::strstr(listName, "x68000") != nullptr)
        return WinX68Fast;
    return Standard;
}

EmulatorEntry newEmulatorEntry(const char* tempDir, const char* listName) {
    EmulatorEntry entry{};
    copyText(entry.extractDir, tempDir);
    entry.kind = kindForListName(listName);
    entry.keyWaitIndex = 2;
    entry.browseWaitIndex = 2;
    entry.quotePath = 1;
    return entry;
}

EditControlStates editControlStates(int32_t kind, bool extractChecked) {
    if (!validKind(kind)) return {};
    const EmulatorKindInfo& info = emulatorKindTable[kind];
    return {info.allowsExtract != 0,
            extractChecked && kind != MameModel2,
            info.allowsKeyWait != 0,
            info.allowsBrowseWait != 0,
            info.allowsQuote != 0,
            info.allowsShortPath != 0,
            kind == Standard || kind == MameModel2};
}

int32_t storedSelection(int32_t selection, int32_t rows, int32_t fallback) {
    return selection >= 0 && selection < rows ? selection : fallback;
}

const char* folderToCheck(const EmulatorEntry& entry) {
    return entry.kind != MameModel2 && entry.extractArchive == 1 ? entry.extractDir : nullptr;
}

namespace {

// The template as it starts the program: none for a kind that takes none, and none for one that
// passes the ROM or the set name alone.
const char* launchTemplate(int32_t kind, const char* text) {
    if (kind != Standard && kind != MameModel2) return "";
    const char* start = text;
    while (*start == ' ') ++start;
    size_t length = std::strlen(start);
    while (length > 0 && start[length - 1] == ' ') --length;
    const char* alone = kind == MameModel2 ? "%SET%" : "%ROM%";
    bool passesAlone = length == 5;
    for (size_t i = 0; i < length && passesAlone; ++i)
        passesAlone = asciiLower(start[i]) == asciiLower(alone[i]);
    return passesAlone ? "" : text;
}

}  // namespace

bool sameLaunch(const EmulatorEntry& a, const char* templateA, const EmulatorEntry& b,
                const char* templateB) {
    return std::strcmp(a.exePath, b.exePath) == 0 &&
           std::strcmp(launchTemplate(a.kind, templateA), launchTemplate(b.kind, templateB)) == 0;
}

const char* emulatorInputError(const EmulatorEntry (&list)[kMaxEmulators], int32_t count,
                               int32_t editIndex, const TemplateTable& templates,
                               const EmulatorEntry& entry, const char* argumentTemplate,
                               const char* folder) {
    count = boundedEmulatorCount(count);
    auto duplicate = [&](bool byName) {
        for (int32_t i = 0; i < count; ++i) {
            if (i == editIndex) continue;
            if (byName ? std::strcmp(list[i].name, entry.name) == 0
                       : sameLaunch(list[i], findTemplate(templates, list[i]), entry,
                                    argumentTemplate))
                return true;
        }
        return false;
    };
    if (entry.name[0] == '\0') return "エミュレータ名が未入力です";
    if (duplicate(true)) return "エミュレータ名が重複します";
    if (entry.exePath[0] == '\0' || !platform::fileExists(entry.exePath))
        return "エミュレータのファイルパスが存在しません";
    if (duplicate(false)) return "エミュレータのファイルパスが重複します";
    if (folder != nullptr && (folder[0] == '\0' || !platform::isDirectory(folder)))
        return "解凍先のフォルダパスが存在しません";
    return nullptr;
}

int32_t storeEditedEntry(EmulatorEntry (&list)[kMaxEmulators], int32_t& count, bool adding,
                         int32_t editIndex, const EmulatorEntry& entry) {
    count = boundedEmulatorCount(count);
    int32_t target = adding ? count : editIndex;
    if (target < 0 || target >= kMaxEmulators || (!adding && target >= count)) return -1;
    list[target] = entry;
    if (adding) ++count;
    return target;
}

void nameFromExePath(char (&name)[kTextSize], const char* path) {
    const char* file = path;  // just past the drive or the last separator
    if (path[0] != '\0' && path[1] == ':') file = path + 2;
    const char* dot = nullptr;
    for (const char* p = file; *p != '\0'; p += characterLength(p)) {
        if (characterLength(p) == 2) continue;
        if (*p == '\\' || *p == '/') {
            file = p + 1;
            dot = nullptr;
        } else if (*p == '.') {
            dot = p;
        }
    }
    // Whole characters up to the extension, within the field. `dot` starts a character, so
    // no character runs past it.
    const char* end = dot != nullptr ? dot : file + std::strlen(file);
    size_t length = 0;
    while (file + length < end && length + characterLength(file + length) <= kTextSize - 1)
        length += characterLength(file + length);
    std::memcpy(name, file, length);
    name[length] = '\0';
}

bool takePickedFolder(char (&target)[kTextSize], const char* picked) {
    char folder[kTextSize];
    if (picked == nullptr || picked[0] == '\0' || !copyText(folder, picked) ||
        !ensureBackslash(folder, kTextSize))
        return false;
    copyText(target, folder);
    return true;
}

}  // namespace lb
