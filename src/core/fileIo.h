// Whole-file reading and writing for the fixed binary layouts. Saving never destroys the old
// file: the bytes go to a temporary file beside the target, which then replaces the target.
// A file that exists but cannot be read is never taken for a missing or a shorter one.
#pragma once

#include <cstddef>

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

struct Chunk {
    const void* data;
    size_t size;
};

// Writes the chunks in order as the file's whole content. On any failure the target keeps its
// previous content, the temporary file is removed, and false is returned; platform::lastError
// then tells why.
bool saveFileSafely(const char* path, const Chunk* chunks, size_t chunkCount);

// The messages of a file that could not be read or saved: the headline, the path and the
// system's words for platform::lastError, owned by the active window.
void tellReadFailure(const char* path);
void tellSaveFailure(const char* path);

}  // namespace lb
