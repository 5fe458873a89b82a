// Whole-file reads and the replace-on-success save used by every data file of the plug-in.
#include "core/fileIo.h"

#include "core/failureText.h"
#include "core/text.h"
#include "platform/platform.h"

namespace lb {

long readAll(platform::File* file, void* buffer, size_t size) {
    size_t total = 0;
    while (total < size) {
        long n = platform::readFromFile(file, static_cast<char*>(buffer) + total, size - total);
        if (n < 0) return -1;
        if (n == 0) break;
        total += size_t(n);
    }
    return long(total);
}

FileRead readFilePrefix(const char* path, void* buffer, size_t size, size_t& got) {
    got = 0;
    platform::File* file = nullptr;
    platform::OpenResult opened = platform::openForRead(path, file);
    if (opened == platform::OpenResult::Missing) return FileRead::Missing;
    if (opened != platform::OpenResult::Opened) return FileRead::Unreadable;
    long total = readAll(file, buffer, size);
    platform::closeFile(file);
    if (total < 0) return FileRead::Unreadable;
    got = size_t(total);
    return FileRead::Read;
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

namespace {

void tellFileFailure(const char* headline, const char* path) {
    static char text[kMessageSize];
    failureText(text, headline, path, platform::lastError());
    platform::showExclamation(text);
}

}  // namespace

void tellReadFailure(const char* path) { tellFileFailure("ファイルを読み込めませんでした", path); }
void tellSaveFailure(const char* path) { tellFileFailure("保存できませんでした", path); }

}  // namespace lb
