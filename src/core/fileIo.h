// Whole-file reading and writing for the fixed binary layouts. Saving never destroys the old
// file: the bytes go to a temporary file beside the target, which then replaces the target.
// A file that exists but cannot be read is never taken for a missing or a shorter one.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {
struct File;
}

namespace lb {

// What a read found. Unreadable is a file that exists but could not be opened, or a read error
// anywhere in it: its bytes say nothing, and the caller must change nothing for it.
enum class FileRead { Read, Missing, Unreadable };

// Reads until `size` bytes are in or the file ends; the number of bytes read, or -1 for a read
// error.
long readAll(platform::File* file, void* buffer, size_t size);

// Reads at most `size` bytes from the start of the file into `buffer`, their number into `got`.
FileRead readFilePrefix(const char* path, void* buffer, size_t size, size_t& got);

// Reads the whole file a block at a time and hands each line to `visit`, without its LF or
// CR LF; a line longer than `lineLimit` bytes (at most 4 KB) is passed over. A file of any size
// is read to its end.
FileRead readLines(const char* path, size_t lineLimit,
                   void (*visit)(const char* line, size_t length, void* user), void* user);

struct Chunk {
    const void* data;
    size_t size;
};

// Writes the chunks in order as the file's whole content. On any failure the target keeps its
// previous content, the temporary file is removed, and false is returned; platform::lastError
// then tells why.
bool saveFileSafely(const char* path, const Chunk* chunks, size_t chunkCount,
                    int64_t unchangedSize = -1);

// Several files saved as one: every temporary file is written and flushed first, then each
// replaces its target, a copy of the old target (".saving" beside it, a name only the plug-in
// makes, never a user's ".bak") kept until the last replace is done; the first file's ".saving"
// is made even for a file that did not exist, as the mark of a save under way. When any step
// fails, every target is left with exactly its previous bytes (a target that did not exist is
// removed again) and every file the save made is removed.
struct FileToSave {
    const char* path;
    const Chunk* chunks;
    size_t chunkCount;
    // Replaced only while the target still has this many bytes: a writer that could not hold
    // it may have appended meanwhile, and the save then fails, leaving it as it is. -1: any.
    int64_t unchangedSize = -1;
};
struct SaveFailure {
    int file;        // the index of the file whose step failed; -1 when every file was saved
    uint32_t error;  // the system's error code of that step
};
SaveFailure saveFilesTogether(const FileToSave* files, int count);
// Makes whole the files of a save of several files that stopped between its replaces, a crash
// or a power cut: its mark, the first file's ".saving", is there. Stopped before the first
// replace, the old files stand and the save's files are removed; after it, the save is finished
// with its remaining temporary files. A save that was told as failed (its second mark, ".undo",
// is there) is undone instead: the old files are put back from their copies. Without a mark nothing is touched: a ".tmp" may be another
// program's, and one left by a save stopped before its mark is written over by the next save.
// Every load of such files calls it first. The index of the file whose replace failed (the mark
// stays for the next load, platform::lastError tells why), or -1.
int finishSavedTogether(const char* const* paths, int count);

// The messages of a file that could not be read or saved: the headline, the path and the
// system's words for platform::lastError, owned by the active window.
void tellReadFailure(const char* path);
void tellReadFailure(const char* path, uint32_t error);
void tellSaveFailure(const char* path);
void tellSaveFailure(const SaveFailure& failure, const FileToSave* files);

}  // namespace lb
