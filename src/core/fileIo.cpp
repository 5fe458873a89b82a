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

namespace {

using SidePath = char[kTextSize + 8];

// Writes the file; `created` tells whether it exists now, so that a failure can remove it.
bool writeWhole(const char* path, const Chunk* chunks, size_t chunkCount, bool& created) {
    platform::File* file = platform::createForWrite(path);
    created = file != nullptr;
    if (file == nullptr) return false;
    bool written = true;
    for (size_t i = 0; i < chunkCount && written; ++i) {
        written = platform::writeToFile(file, chunks[i].data, chunks[i].size);
    }
    return platform::closeFile(file) && written;
}

}  // namespace

bool saveFileSafely(const char* path, const Chunk* chunks, size_t chunkCount) {
    FileToSave file{path, chunks, chunkCount};
    return saveFilesTogether(&file, 1).file < 0;
}

SaveFailure saveFilesTogether(const FileToSave* files, int count) {
    constexpr int kMaxFiles = 4;
    static SidePath temporary[kMaxFiles], backup[kMaxFiles];
    bool existed[kMaxFiles] = {}, backedUp[kMaxFiles] = {};
    if (count > kMaxFiles) count = kMaxFiles;
    int written = 0, replaced = 0;
    auto failAt = [&](int failed) {
        SaveFailure failure{failed, platform::lastError()};
        // The targets already replaced take their old bytes back, newest first.
        for (int i = replaced - 1; i >= 0; --i) {
            if (backedUp[i]) {
                platform::replaceFile(backup[i], files[i].path);
            } else if (!existed[i]) {
                platform::deleteFile(files[i].path);
            }
        }
        for (int i = replaced; i < written; ++i) platform::deleteFile(temporary[i]);
        for (int i = 0; i < count; ++i)
            if (backedUp[i] && i >= replaced) platform::deleteFile(backup[i]);
        return failure;
    };
    for (; written < count; ++written) {
        const FileToSave& file = files[written];
        if (!joinPath(temporary[written], file.path, ".tmp") ||
            !joinPath(backup[written], file.path, ".bak"))
            return failAt(written);
        bool created = false;
        if (!writeWhole(temporary[written], file.chunks, file.chunkCount, created)) {
            int failed = written;
            written += created ? 1 : 0;
            return failAt(failed);
        }
    }
    for (; replaced < count; ++replaced) {
        const char* path = files[replaced].path;
        // The last file needs no copy: nothing after it can fail.
        existed[replaced] = platform::fileExists(path);
        if (existed[replaced] && replaced + 1 < count) {
            if (!platform::copyFile(path, backup[replaced])) return failAt(replaced);
            backedUp[replaced] = true;
        }
        if (!platform::replaceFile(temporary[replaced], path)) return failAt(replaced);
    }
    for (int i = 0; i < count; ++i)
        if (backedUp[i]) platform::deleteFile(backup[i]);
    return {-1, 0};
}

namespace {

void tellFileFailure(const char* headline, const char* path, uint32_t error) {
    static char text[kMessageSize];
    failureText(text, headline, path, error);
    platform::showExclamation(text);
}

const char kUnsaved[] = "保存できませんでした";

}  // namespace

void tellReadFailure(const char* path) { tellReadFailure(path, platform::lastError()); }
void tellReadFailure(const char* path, uint32_t error) {
    tellFileFailure("ファイルを読み込めませんでした", path, error);
}
void tellSaveFailure(const char* path) { tellFileFailure(kUnsaved, path, platform::lastError()); }
void tellSaveFailure(const SaveFailure& failure, const FileToSave* files) {
    if (failure.file >= 0) tellFileFailure(kUnsaved, files[failure.file].path, failure.error);
}

}  // namespace lb
