// Whole-file reads and the replace-on-success save used by every data file of the plug-in.
#include "core/fileIo.h"

#include <cstring>

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

FileRead readLines(const char* path, size_t lineLimit,
                   void (*visit)(const char* line, size_t length, void* user), void* user) {
    platform::File* file = nullptr;
    platform::OpenResult opened = platform::openForRead(path, file);
    if (opened == platform::OpenResult::Missing) return FileRead::Missing;
    if (opened != platform::OpenResult::Opened) return FileRead::Unreadable;
    constexpr size_t kBlock = 64 * 1024, kLongest = 4096;
    static char text[kBlock + kLongest];
    if (lineLimit > kLongest) lineLimit = kLongest;
    size_t held = 0;       // the start of a line the last block cut, moved to the front
    bool tooLong = false;  // passing over the rest of a line longer than the limit
    for (;;) {
        long n = readAll(file, text + held, kBlock);
        if (n < 0) {
            platform::closeFile(file);
            return FileRead::Unreadable;
        }
        size_t length = held + size_t(n), at = 0;
        bool last = n == 0;
        while (at < length) {
            auto* end = static_cast<const char*>(std::memchr(text + at, '\n', length - at));
            if (end == nullptr && !last) break;
            size_t lineLength = end != nullptr ? size_t(end - (text + at)) : length - at;
            size_t shown =
                lineLength > 0 && text[at + lineLength - 1] == '\r' ? lineLength - 1 : lineLength;
            if (!tooLong && shown <= lineLimit) visit(text + at, shown, user);
            tooLong = false;
            at += lineLength + (end != nullptr ? 1 : 0);
        }
        if (last) break;
        held = length - at;
        if (held > lineLimit + 1) {  // its CR may still come
            tooLong = true;
            held = 0;
        }
        std::memmove(text, text + at, held);
    }
    platform::closeFile(file);
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
    // Flushed before the replace that publishes it: the rename may reach the disk first.
    written = written && platform::flushFile(file);
    return platform::closeFile(file) && written;
}

}  // namespace

bool saveFileSafely(const char* path, const Chunk* chunks, size_t chunkCount,
                    int64_t unchangedSize) {
    FileToSave file{path, chunks, chunkCount, unchangedSize};
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
SidePath temporary[kMaxFiles], backup[kMaxFiles], undoMark;

bool sidePaths(const char* path, int i) {
    return joinPath(temporary[i], path, ".tmp") && joinPath(backup[i], path, ".saving") &&
           (i > 0 || joinPath(undoMark, path, ".undo"));
}

// The mark of a save of several files under way: the first file's ".saving", a copy of it or, for
// a file that did not exist, an empty file. Made before the first replace, removed after the
// last, so that a load finds a save stopped between them (finishSavedTogether).
bool markSave(SaveSteps& s) {
    const char* path = s.files[0].path;
    s.existed[0] = platform::fileExists(path);
    if (s.existed[0]) return s.backedUp[0] = platform::copyFile(path, backup[0]);
    bool created = false;
    return writeWhole(backup[0], nullptr, 0, created);
}

// Puts every target back as it was, newest first, and removes what the save made. When the
// first file cannot be put back, the save is finished instead where it can be; failing that, the
// save is told as failed and must be found undone: its copies stay, its temporary files go, and
// a second mark, the first file's ".undo", tells the next load to put the old files back.
SaveFailure undoSave(const SaveSteps& s, int failed) {
    SaveFailure failure{failed, platform::lastError()};
    bool undone = true;
    for (int i = s.replaced; i-- > 0;) {
        if (s.backedUp[i]) {
            undone = platform::replaceFile(backup[i], s.files[i].path) || i > 0;
        } else if (!s.existed[i]) {
            platform::deleteFile(s.files[i].path);
        }
    }
    if (!undone) {
        bool finished = true;
        for (int i = s.replaced; i < s.count; ++i)
            finished = finished && platform::replaceFile(temporary[i], s.files[i].path);
        if (!finished) {
            bool created = false;
            writeWhole(undoMark, nullptr, 0, created);
            for (int i = s.replaced; i < s.written; ++i) platform::deleteFile(temporary[i]);
            return failure;
        }
        for (int i = s.count; i-- > 0;) platform::deleteFile(backup[i]);
        return {-1, 0};
    }
    for (int i = s.replaced; i < s.written; ++i) platform::deleteFile(temporary[i]);
    for (int i = s.count; i-- > 0;)
        if ((s.backedUp[i] && i >= s.replaced) || (i == 0 && s.count > 1 && !s.existed[0]))
            platform::deleteFile(backup[i]);
    return failure;
}

}  // namespace

SaveFailure saveFilesTogether(const FileToSave* files, int count) {
    SaveSteps s{files, count > kMaxFiles ? kMaxFiles : count, 0, 0, {}, {}};
    for (; s.written < s.count; ++s.written) {
        const FileToSave& file = files[s.written];
        if (!sidePaths(file.path, s.written)) return undoSave(s, s.written);
        bool created = false;
        if (!writeWhole(temporary[s.written], file.chunks, file.chunkCount, created)) {
            int failed = s.written;
            s.written += created ? 1 : 0;
            return undoSave(s, failed);
        }
    }
    if (s.count > 1) platform::deleteFile(undoMark);  // one an undo of long ago left
    if (s.count > 1 && !markSave(s)) return undoSave(s, 0);
    for (int i = 0; i < s.count; s.replaced = ++i) {
        const char* path = files[i].path;
        // The last file needs no copy: nothing after it can fail.
        if (i > 0) s.existed[i] = platform::fileExists(path);
        if (i > 0 && s.existed[i] && i + 1 < s.count) {
            if (!platform::copyFile(path, backup[i])) return undoSave(s, i);
            s.backedUp[i] = true;
        }
        uint64_t size = 0;
        bool changed = files[i].unchangedSize >= 0 && (!platform::fileSize(path, size) ||
                                                       size != uint64_t(files[i].unchangedSize));
        if (changed || !platform::replaceFile(temporary[i], path)) return undoSave(s, i);
    }
    for (int i = s.count; i-- > 0;)  // the mark last
        if (s.backedUp[i] || (i == 0 && s.count > 1)) platform::deleteFile(backup[i]);
    return {-1, 0};
}

namespace {

// Puts back the old files of a save told as failed, from its copies: the first file's copy last,
// as it is the mark. An empty copy of the first file is the mark of a file that did not exist
// (the first file of such a save is never empty).
int undoSavedTogether(const char* const* paths, int count) {
    for (int i = count; i-- > 1;) {
        platform::deleteFile(temporary[i]);
        if (platform::fileExists(backup[i]) && !platform::replaceFile(backup[i], paths[i]))
            return i;
    }
    platform::deleteFile(temporary[0]);
    uint64_t size = 0;
    bool existed = platform::fileSize(backup[0], size) && size > 0;
    if (existed ? !platform::replaceFile(backup[0], paths[0])
                : platform::fileExists(paths[0]) && !platform::deleteFile(paths[0]))
        return 0;
    platform::deleteFile(backup[0]);
    platform::deleteFile(undoMark);
    return -1;
}

}  // namespace

int finishSavedTogether(const char* const* paths, int count) {
    if (count < 2 || count > kMaxFiles) return -1;
    for (int i = 0; i < count; ++i)
        if (!sidePaths(paths[i], i)) return -1;
    if (!platform::fileExists(backup[0])) return -1;  // no save of ours stopped after its mark
    if (platform::fileExists(undoMark)) return undoSavedTogether(paths, count);
    // Before the first replace the old files stand; after it, every temporary file was whole
    // and flushed, and the save is finished.
    bool replacing = !platform::fileExists(temporary[0]);
    for (int i = 1; i < count; ++i) {
        if (!platform::fileExists(temporary[i])) continue;
        if (!replacing) {
            platform::deleteFile(temporary[i]);
        } else if (!platform::replaceFile(temporary[i], paths[i])) {
            return i;  // the mark stays: the next load tries again
        }
    }
    platform::deleteFile(temporary[0]);
    for (int i = count; i-- > 0;) platform::deleteFile(backup[i]);
    return -1;
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
