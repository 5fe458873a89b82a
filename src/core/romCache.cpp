// The host writes one ROM per line: "path;inner name;...;...;key;clean;...". Only lines that
// contain "clean;" describe a ROM. Lines are taken whole: a long line cut into pieces would
// give a ROM a fragment of its line as its path. The file is read again whenever it is needed,
// so the index always reflects what the host last wrote.
#include "core/romCache.h"

#include <cstring>

#include "core/keyIndex.h"
#include "core/pluginContext.h"
#include "core/records.h"
#include "platform/platform.h"

namespace lb {

namespace {

KeyIndex cacheIndex;

constexpr int kCutCharacters = 20;
constexpr size_t kLineSize = 2048;  // a longer line cannot describe a ROM whose fields fit

// Reads the file as text, one whole line at a time; a CR before an LF is dropped, as a
// text-mode reader does. A line that does not fit `kLineSize` is skipped to its end. Lines are
// found with memchr and copied in runs, as fgets does, not byte by byte.
class LineReader {
public:
    explicit LineReader(platform::File* file) : file_(file) {}

    bool next(char (&line)[kLineSize]) {
        for (;;) {
            size_t length = 0;
            bool overflow = false, any = false, ended = false;
            while (!ended) {
                if (position_ == size_ && !refill()) break;
                any = true;
                const char* start = buffer_ + position_;
                const void* newline = std::memchr(start, '\n', size_ - position_);
                size_t run =
                    newline ? size_t(static_cast<const char*>(newline) - start) : size_ - position_;
                if (!overflow && length + run <= kLineSize) {
                    std::memcpy(line + length, start, run);
                    length += run;
                } else {
                    overflow = true;
                }
                position_ += run + (newline ? 1 : 0);
                ended = newline != nullptr;
            }
            if (!any) return false;
            if (!overflow && ended && length > 0 && line[length - 1] == '\r') --length;
            if (!overflow && length < kLineSize) {
                line[length] = '\0';
                if (ended || length > 0) return true;
                return false;
            }
            if (!ended) return false;  // a line too long for the buffer, up to the end of file
        }
    }

private:
    bool refill() {
        size_ = platform::readFromFile(file_, buffer_, sizeof buffer_);
        position_ = 0;
        return size_ > 0;
    }

    platform::File* file_;
    char buffer_[8192];
    size_t position_ = 0;
    size_t size_ = 0;
};

// Copies the text between `from` and `to` into a field; false when it does not fit.
bool takeField(char (&field)[kTextSize], const char* from, const char* to) {
    size_t length = size_t(to - from);
    if (length >= kTextSize) return false;
    std::memcpy(field, from, length);
    field[length] = '\0';
    return true;
}

int32_t findEntry(const char* key) {
    if (context->cacheCount <= 0) return -1;
    return findFirst(cacheIndex, key);
}

}  // namespace

bool cacheFilePath(char (&path)[kTextSize]) {
    path[0] = '\0';
    char kept[kTextSize];
    if (!dropLastCharacters(kept, context->dataDir, kCutCharacters)) return false;
    return joinPath(path, kept, "caches\\", context->systemName, ".cache");
}

namespace {

// Splits a line into the entry and gives its key's hash for the index.
bool parseLine(const char* line, RomCacheEntry& entry, uint32_t& hash) {
    const char* separators[5];
    int found = 0;
    const char* p = line;
    for (; *p != '\0' && found < 5; ++p) {  // fields are short: a plain walk beats five strchr
        if (*p == ';') separators[found++] = p;
    }
    if (found < 5) return false;
    // "clean;" usually is the field after the key; only a line without it there is searched.
    if (std::strncmp(p, "clean;", 6) != 0 && std::strstr(line, "clean;") == nullptr) return false;
    // The hash is taken from the line, and its slot asked for, before the entry is written:
    // reading the key back from a table that was just written waits for memory.
    hash = hashKey(separators[3] + 1, size_t(separators[4] - separators[3] - 1));
    prefetchSlot(cacheIndex, hash);
    return takeField(entry.romPath, line, separators[0]) &&
           takeField(entry.innerName, separators[0] + 1, separators[1]) &&
           takeField(entry.crc32, separators[3] + 1, separators[4]);
}

}  // namespace

bool parseCacheLine(const char* line, RomCacheEntry& entry) {
    uint32_t hash = 0;
    return parseLine(line, entry, hash);
}

void loadRomCache() {
    PluginContext& c = *context;
    c.cacheCount = 0;
    resetIndex(cacheIndex, c.cacheEntries, sizeof(RomCacheEntry), offsetof(RomCacheEntry, crc32));
    char path[kTextSize];
    if (!cacheFilePath(path) || !platform::fileExists(path)) return;
    platform::File* file = platform::openForRead(path);
    if (file == nullptr) return;
    static char line[kLineSize];
    LineReader reader(file);
    while (c.cacheCount < kMaxCacheEntries && reader.next(line)) {
        uint32_t hash = 0;
        if (parseLine(line, c.cacheEntries[c.cacheCount], hash))
            addToIndex(cacheIndex, c.cacheCount++, hash);
    }
    platform::closeFile(file);
}

void lookupRomPath(char (&target)[kTextSize], const char* key) {
    int32_t entry = findEntry(key);
    copyText(target, entry < 0 ? "" : context->cacheEntries[entry].romPath);
}

const char* lookupRomInnerName(const char* key) {
    int32_t entry = findEntry(key);
    return entry < 0 ? nullptr : context->cacheEntries[entry].innerName;
}

int32_t isRomInCache(const char* key) { return findEntry(key) < 0 ? 0 : 1; }

}  // namespace lb
