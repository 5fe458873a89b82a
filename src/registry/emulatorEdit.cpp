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

const char* emulatorInputError(const EmulatorEntry (&list)[kMaxEmulators], int32_t count,
                               int32_t editIndex, const char* name, const char* exePath,
                               const char* folder) {
    count = boundedEmulatorCount(count);
    auto duplicate = [&](const char* text, bool byName) {
        for (int32_t i = 0; i < count; ++i) {
            if (i != editIndex && std::strcmp(byName ? list[i].name : list[i].exePath, text) == 0)
                return true;
        }
        return false;
    };
    if (name[0] == '\0') return "エミュレータ名が未入力です";
    if (duplicate(name, true)) return "エミュレータ名が重複します";
    if (exePath[0] == '\0' || !platform::fileExists(exePath))
        return "エミュレータのファイルパスが存在しません";
    if (duplicate(exePath, false)) return "エミュレータのファイルパスが重複します";
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
