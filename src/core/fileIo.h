// Whole-file reading and writing for the fixed binary layouts. Saving never destroys the old
// file: the bytes go to a temporary file beside the target, which then replaces the target.
#pragma once

#include <cstddef>

namespace platform {
struct File;
}

namespace lb {

// Reads until `size` bytes are in or the file ends; the number of bytes read.
size_t readAll(platform::File* file, void* buffer, size_t size);

struct Chunk {
    const void* data;
    size_t size;
};

// Reads at most `size` bytes from the start of the file; -1 when it cannot be opened.
long readFilePrefix(const char* path, void* buffer, size_t size);

// Writes the chunks in order as the file's whole content. On any failure the target keeps its
// previous content, the temporary file is removed, and false is returned.
bool saveFileSafely(const char* path, const Chunk* chunks, size_t chunkCount);

}  // namespace lb
