// Whole-file reads and the replace-on-success save used by every data file of the plug-in.
#include "core/fileIo.h"

#include "core/text.h"
#include "platform/platform.h"

namespace lb {

size_t readAll(platform::File* file, void* buffer, size_t size) {
    size_t total = 0;
    while (total < size) {
        size_t n = platform::readFromFile(file, static_cast<char*>(buffer) + total, size - total);
        if (n == 0) break;
        total += n;
    }
    return total;
}

long readFilePrefix(const char* path, void* buffer, size_t size) {
    platform::File* file = platform::openForRead(path);
    if (file == nullptr) return -1;
    size_t total = readAll(file, buffer, size);
    platform::closeFile(file);
    return static_cast<long>(total);
}

bool saveFileSafely(const char* path, const Chunk* chunks, size_t chunkCount) {
    char temporary[kTextSize + 8];
    if (!joinPath(temporary, path, ".tmp")) return false;
    platform::File* file = platform::createForWrite(temporary);
    if (file == nullptr) return false;
    bool written = true;
    for (size_t i = 0; i < chunkCount && written; ++i) {
        written = platform::writeToFile(file, chunks[i].data, chunks[i].size);
    }
    written = platform::closeFile(file) && written;
    if (written && platform::replaceFile(temporary, path)) return true;
    platform::deleteFile(temporary);
    return false;
}

}  // namespace lb
