// Reader and writer of the emulator list layout, for the per-system ".emu" files and "Copy.dat".
#include "registry/emulatorListFile.h"

#include <algorithm>
#include <cstring>

#include "core/fileIo.h"
#include "platform/platform.h"
#include "registry/argumentTemplates.h"

namespace lb {

bool writeEmulatorListFile(const char* path, int32_t count,
                           const EmulatorEntry (&entries)[kMaxEmulators]) {
    Chunk chunks[] = {{&count, sizeof count}, {entries, sizeof entries}};
    return saveFileSafely(path, chunks, 2);
}

FileRead readEmulatorListFile(const char* path, int32_t& count,
                              EmulatorEntry (&entries)[kMaxEmulators]) {
    static EmulatorListFile image;  // 16 KB: kept off the host's stack
    size_t got = 0;
    FileRead read = readFilePrefix(path, &image, sizeof image, got);
    long size = long(got);
    if (read != FileRead::Read) return read;
    if (size < long(sizeof image.count)) {
        count = 0;  // too short to hold even its count: an empty list
        return read;
    }
    long whole = (size - long(offsetof(EmulatorListFile, entries))) / long(sizeof(EmulatorEntry));
    std::memcpy(entries, image.entries, size_t(whole) * sizeof(EmulatorEntry));
    for (long i = 0; i < whole; ++i) terminateTexts(entries[i]);
    count = (image.count < 0 || image.count > kMaxEmulators)
                ? 0
                : std::min<int32_t>(image.count, whole);
    return read;
}

bool saveEmulatorList() {
    char path[kTextSize];
    if (!dataFilePath(path, context->systemName, ".emu")) return false;
    return writeEmulatorListFile(path, context->emulatorCount, context->emulators);
}

namespace {

// Set by loadEmulatorList: the system error that kept the current system's templates' file from
// being read, 0 when it was read or is missing. Read by the launches, which a popup click makes
// on what the build of its menu loaded.
uint32_t templatesUnread = 0;

// Reads the templates beside the list file `path` into `table`; the error of a templates' file
// that exists but cannot be read (told when `tell` says so), else 0.
uint32_t readTemplatesBeside(const char* path, TemplateTable& table, bool tell) {
    if (loadTemplates(path, table) != FileRead::Unreadable) return 0;
    uint32_t error = platform::lastError();
    char companion[kTextSize + 8];
    if (tell && templateFilePath(companion, path)) tellReadFailure(companion, error);
    return error == 0 ? ~0u : error;
}

// A save of the list file `path` and its templates that stopped between its replaces is made
// whole before either is read. One that cannot be is told, naming the file, and both are then
// read as they are. A save that another host has under way holds the list: it is waited for (at
// most about 1 s), never finished in its place.
void finishListSave(const char* path, bool tell) {
    char companion[kTextSize + 8];
    const char* paths[] = {path, companion};
    if (!templateFilePath(companion, path)) return;
    platform::Hold hold = platform::holdFile(path, 1000);
    int failed = hold != 0 ? finishSavedTogether(paths, 2) : -1;
    platform::releaseFile(hold);
    if (failed >= 0 && tell) tellSaveFailure(paths[failed]);
}

}  // namespace

bool loadEmulatorList(bool tell) {
    char path[kTextSize];
    FileRead read = FileRead::Missing;
    if (dataFilePath(path, context->systemName, ".emu")) {
        finishListSave(path, tell);
        read = readEmulatorListFile(path, context->emulatorCount, context->emulators);
    }
    if (read != FileRead::Read) context->emulatorCount = 0;
    emulatorTemplates.count = 0;
    templatesUnread = 0;
    if (read == FileRead::Unreadable) {
        if (tell) tellReadFailure(path);
        return false;
    }
    if (read == FileRead::Read)
        templatesUnread = readTemplatesBeside(path, emulatorTemplates, tell);
    return templatesUnread == 0;
}

bool templatesReadyForLaunch() {
    char path[kTextSize], companion[kTextSize + 8];
    if (templatesUnread == 0) return true;
    if (dataFilePath(path, context->systemName, ".emu") && templateFilePath(companion, path))
        tellReadFailure(companion, templatesUnread);
    return false;
}

bool saveListAndTemplates(const char* path, int32_t count,
                          const EmulatorEntry (&entries)[kMaxEmulators],
                          const TemplateTable& templates) {
    Chunk list[] = {{&count, sizeof count}, {entries, sizeof entries}};
    char companion[kTextSize + 8] = "";
    Chunk text{};
    FileToSave files[] = {{path, list, 2}, {companion, &text, 1}};
    bool withTemplates =
        templateFilePath(companion, path) &&
        templateFileText(path, templates, entries, boundedEmulatorCount(count), text);
    // Held while it is saved, so that another host's load never finishes it halfway. A hold
    // that cannot be had (a lock that cannot be made) does not stop the save.
    platform::Hold hold = platform::holdFile(path, 1000);
    SaveFailure failure = saveFilesTogether(files, withTemplates ? 2 : 1);
    platform::releaseFile(hold);
    tellSaveFailure(failure, files);
    return failure.file < 0;
}

bool writeCopyFile(int32_t count, const EmulatorEntry (&entries)[kMaxEmulators],
                   const TemplateTable* templates) {
    char path[kTextSize];
    static const TemplateTable none{};
    return dataFilePath(path, "Copy.dat") &&
           saveListAndTemplates(path, count, entries, templates != nullptr ? *templates : none);
}

FileRead readCopyFile(int32_t& count, EmulatorEntry (&entries)[kMaxEmulators],
                      TemplateTable* templates) {
    char path[kTextSize];
    if (templates != nullptr) templates->count = 0;
    if (!dataFilePath(path, "Copy.dat")) return FileRead::Missing;
    finishListSave(path, true);
    FileRead read = readEmulatorListFile(path, count, entries);
    if (read == FileRead::Unreadable) tellReadFailure(path);
    if (read == FileRead::Read && templates != nullptr &&
        readTemplatesBeside(path, *templates, true) != 0)
        return FileRead::Unreadable;
    return read;
}

}  // namespace lb
