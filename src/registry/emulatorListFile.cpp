// Reader and writer of the emulator list layout, for the per-system ".emu" files and "Copy.dat".
#include "registry/emulatorListFile.h"

#include <algorithm>
#include <cstring>

#include "core/fileIo.h"
#include "platform/platform.h"

namespace lb {

bool writeEmulatorListFile(const char* path, int32_t count,
                           const EmulatorEntry (&entries)[kMaxEmulators]) {
    Chunk chunks[] = {{&count, sizeof count}, {entries, sizeof entries}};
    return saveFileSafely(path, chunks, 2);
}

bool readEmulatorListFile(const char* path, int32_t& count,
                          EmulatorEntry (&entries)[kMaxEmulators]) {
    if (!platform::fileExists(path)) return false;
    static EmulatorListFile image;  // 16 KB: kept off the host's stack
    long size = readFilePrefix(path, &image, sizeof image);
    if (size < 0) return false;
    if (size < long(sizeof image.count)) return true;  // nothing covered: all stays as it was
    long whole = (size - long(offsetof(EmulatorListFile, entries))) / long(sizeof(EmulatorEntry));
    std::memcpy(entries, image.entries, size_t(whole) * sizeof(EmulatorEntry));
    for (long i = 0; i < whole; ++i) terminateTexts(entries[i]);
    count = (image.count < 0 || image.count > kMaxEmulators)
                ? 0
                : std::min<int32_t>(image.count, whole);
    return true;
}

bool saveEmulatorList() {
    char path[kTextSize];
    if (!dataFilePath(path, context->systemName, ".emu")) return false;
    return writeEmulatorListFile(path, context->emulatorCount, context->emulators);
}

bool writeCopyFile(int32_t count, const EmulatorEntry (&entries)[kMaxEmulators]) {
    char path[kTextSize];
    return dataFilePath(path, "Copy.dat") && writeEmulatorListFile(path, count, entries);
}

bool readCopyFile(int32_t& count, EmulatorEntry (&entries)[kMaxEmulators]) {
    char path[kTextSize];
    return dataFilePath(path, "Copy.dat") && readEmulatorListFile(path, count, entries);
}

}  // namespace lb
