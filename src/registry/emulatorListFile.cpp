// Reader and writer of the emulator list layout, for the per-system ".emu" files and "Copy.dat".
#include "registry/emulatorListFile.h"

#include <algorithm>
#include <cstring>

#include "core/fileIo.h"
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
    if (read != FileRead::Read || size < long(sizeof image.count)) return read;
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

bool loadEmulatorList(bool tell) {
    char path[kTextSize];
    FileRead read = FileRead::Missing;
    if (dataFilePath(path, context->systemName, ".emu"))
        read = readEmulatorListFile(path, context->emulatorCount, context->emulators);
    if (read != FileRead::Read) context->emulatorCount = 0;
    emulatorTemplates.count = 0;
    if (read == FileRead::Read) loadTemplates(path, emulatorTemplates);
    if (read == FileRead::Unreadable && tell) tellReadFailure(path);
    return read != FileRead::Unreadable;
}

bool saveListAndTemplates(const char* path, int32_t count,
                          const EmulatorEntry (&entries)[kMaxEmulators],
                          const TemplateTable& templates) {
    if (!writeEmulatorListFile(path, count, entries)) {
        tellSaveFailure(path);
        return false;
    }
    return saveTemplates(path, templates, entries, boundedEmulatorCount(count));  // told
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
    FileRead read = readEmulatorListFile(path, count, entries);
    if (read == FileRead::Unreadable) tellReadFailure(path);
    if (read == FileRead::Read && templates != nullptr) loadTemplates(path, *templates);
    return read;
}

}  // namespace lb
