// The working copy of the emulator list and its edits. Counts are clamped on every entry, so a
// damaged count can never index outside the 20 slots.
#include "registry/workingList.h"

#include <cstring>
#include <utility>

#include "platform/platform.h"
#include "registry/argumentTemplates.h"
#include "registry/emulatorEdit.h"
#include "registry/emulatorListFile.h"

namespace lb {

EmulatorEntry workingList[kMaxEmulators];
int32_t workingCount = 0;
int32_t addMode = 0;
int32_t editIndex = -1;

void loadWorkingList() {
    workingCount = boundedEmulatorCount(context->emulatorCount);
    std::memcpy(workingList, context->emulators, sizeof(EmulatorEntry) * size_t(workingCount));
    workingTemplates = emulatorTemplates;
}

void storeWorkingList() {
    context->emulatorCount = boundedEmulatorCount(workingCount);
    std::memcpy(context->emulators, workingList,
                sizeof(EmulatorEntry) * size_t(context->emulatorCount));
    emulatorTemplates = workingTemplates;
}

bool saveWorkingList() {
    char path[kTextSize];
    if (!dataFilePath(path, context->systemName, ".emu")) {
        storeWorkingList();
        return true;
    }
    // The file holds all 20 slots: those past the count keep the state's bytes, as they would
    // after storeWorkingList.
    static EmulatorEntry staged[kMaxEmulators];  // 16 KB, kept off the host's stack
    std::memcpy(staged, context->emulators, sizeof staged);
    int32_t count = boundedEmulatorCount(workingCount);
    std::memcpy(staged, workingList, sizeof(EmulatorEntry) * size_t(count));
    if (!saveListAndTemplates(path, count, staged, workingTemplates)) return false;  // told
    storeWorkingList();
    return true;
}

int32_t storeEditedEmulator(bool adding, int32_t index, const EmulatorEntry& entry,
                            const char* argumentTemplate) {
    EmulatorEntry before{};
    bool editing = !adding && index >= 0 && index < boundedEmulatorCount(workingCount);
    if (editing) before = workingList[index];
    int32_t row = storeEditedEntry(workingList, workingCount, adding, index, entry);
    if (row < 0) return row;
    // A renamed entry, or one given another executable, takes its template along.
    if (editing) setTemplate(workingTemplates, before, "", workingList, workingCount);
    setTemplate(workingTemplates, entry, argumentTemplate, workingList, workingCount);
    return row;
}

FileRead pasteFromCopyFile() {
    static EmulatorEntry copies[kMaxEmulators];  // 16 KB, kept off the host's stack
    static TemplateTable copiedTemplates;
    int32_t copyCount = 0;
    FileRead read = readCopyFile(copyCount, copies, &copiedTemplates);
    if (read != FileRead::Read) return read;
    int32_t before = boundedEmulatorCount(workingCount);
    workingCount = pasteEntries(workingList, workingCount, copies, copyCount, &workingTemplates,
                                &copiedTemplates);
    for (int32_t i = before; i < workingCount; ++i)
        setTemplate(workingTemplates, workingList[i], findTemplate(copiedTemplates, workingList[i]),
                    workingList, workingCount);
    return read;
}

bool copyToCopyFile(const int32_t* selected, int32_t selectedCount) {
    static EmulatorEntry copies[kMaxEmulators];
    int32_t count = collectEntries(copies, workingList, workingCount, selected, selectedCount);
    if (count == 0) return true;
    return writeCopyFile(count, copies, &workingTemplates);
}

int32_t moveEntry(EmulatorEntry (&list)[kMaxEmulators], int32_t count, int32_t current,
                  int32_t step) {
    count = boundedEmulatorCount(count);
    int32_t target = current + step;
    if (count < 2 || current < 0 || current >= count || target < 0 || target >= count) return -1;
    std::swap(list[current], list[target]);
    return target;
}

int32_t removeEntries(EmulatorEntry (&list)[kMaxEmulators], int32_t count, const int32_t* selected,
                      int32_t selectedCount) {
    count = boundedEmulatorCount(count);
    bool removed[kMaxEmulators] = {};
    for (int32_t i = 0; i < selectedCount; ++i) {
        if (selected[i] >= 0 && selected[i] < count) removed[selected[i]] = true;
    }
    int32_t kept = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (removed[i]) continue;
        if (kept != i) list[kept] = list[i];
        ++kept;
    }
    return kept;
}

int32_t collectEntries(EmulatorEntry (&copies)[kMaxEmulators],
                       const EmulatorEntry (&list)[kMaxEmulators], int32_t count,
                       const int32_t* selected, int32_t selectedCount) {
    count = boundedEmulatorCount(count);
    int32_t taken = 0;
    for (int32_t i = 0; i < selectedCount && taken < kMaxEmulators; ++i) {
        if (selected[i] >= 0 && selected[i] < count) copies[taken++] = list[selected[i]];
    }
    return taken;
}

int32_t pasteEntries(EmulatorEntry (&list)[kMaxEmulators], int32_t count,
                     const EmulatorEntry (&copies)[kMaxEmulators], int32_t copyCount,
                     const TemplateTable* listTemplates, const TemplateTable* copiedTemplates) {
    static const TemplateTable none{};
    const TemplateTable& listed = listTemplates != nullptr ? *listTemplates : none;
    const TemplateTable& copied = copiedTemplates != nullptr ? *copiedTemplates : none;
    count = boundedEmulatorCount(count);
    copyCount = boundedEmulatorCount(copyCount);
    int32_t before = count;
    for (int32_t c = 0; c < copyCount && count < kMaxEmulators; ++c) {
        const char* text = findTemplate(copied, copies[c]);
        bool duplicate = false;
        for (int32_t i = 0; i < count && !duplicate; ++i)
            duplicate = std::strcmp(list[i].name, copies[c].name) == 0 ||
                        sameLaunch(list[i], findTemplate(i < before ? listed : copied, list[i]),
                                   copies[c], text);
        if (!duplicate) list[count++] = copies[c];
    }
    return count;
}

bool isExecutableMissing(const EmulatorEntry& entry) {
    const char* path = entry.exePath;
    if ((path[0] == '\\' && path[1] == '\\') || platform::isOnNetworkDrive(path)) return false;
    return !platform::fileExists(path) || platform::isDirectory(path);
}

void emulatorRowText(char (&text)[kRowTextSize], const char* name, bool missing) {
    copyText(text, name);
    const char* mark[] = {" (見つかりません)"};
    if (missing) appendTexts(text, sizeof text, mark, 1);
}

}  // namespace lb
