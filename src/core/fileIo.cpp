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

namespace {

constexpr int kMaxFiles = 4;

// How far a save of several files went: the temporary files written, the targets replaced,
// and for each target whether it existed and whether a copy of it was kept.
struct SaveSteps {
    const FileToSave* files;
    int count;
    int written, replaced;
    bool existed[kMaxFiles], backedUp[kMaxFiles];
};
SidePath temporary[kMaxFiles], backup[kMaxFiles];

// Puts every target back as it was, newest first, and removes what the save made.
SaveFailure undoSave(const SaveSteps& s, int failed) {
    SaveFailure failure{failed, platform::lastError()};
    for (int i = s.replaced; i-- > 0;) {
        if (s.backedUp[i]) {
            platform::replaceFile(backup[i], s.files[i].path);
        } else if (!s.existed[i]) {
            platform::deleteFile(s.files[i].path);
        }
    }
    for (int i = s.replaced; i < s.written; ++i) platform::deleteFile(temporary[i]);
    for (int i = 0; i < s.count; ++i)
        if (s.backedUp[i] && i >= s.replaced) platform::deleteFile(backup[i]);
    return failure;
}

}  // namespace

SaveFailure saveFilesTogether(const FileToSave* files, int count) {
    SaveSteps s{files, count > kMaxFiles ? kMaxFiles : count, 0, 0, {}, {}};
    for (; s.written < s.count; ++s.written) {
        const FileToSave& file = files[s.written];
        if (!joinPath(temporary[s.written], file.path, ".tmp") ||
            !joinPath(backup[s.written], file.path, ".bak"))
            return undoSave(s, s.written);
        bool created = false;
        if (!writeWhole(temporary[s.written], file.chunks, file.chunkCount, created)) {
            int failed = s.written;
            s.written += created ? 1 : 0;
            return undoSave(s, failed);
        }
    }
    for (int i = 0; i < s.count; s.replaced = ++i) {
        const char* path = files[i].path;
        // The last file needs no copy: nothing after it can fail.
        s.existed[i] = platform::fileExists(path);
        if (s.existed[i] && i + 1 < s.count) {
            if (!platform::copyFile(path, backup[i])) return undoSave(s, i);
            s.backedUp[i] = true;
        }
        if (!platform::replaceFile(temporary[i], path)) return undoSave(s, i);
    }
    for (int i = 0; i < s.count; ++i)
        if (s.backedUp[i]) platform::deleteFile(backup[i]);
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
