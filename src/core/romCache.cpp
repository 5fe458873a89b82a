// The host writes one ROM per line: "path;inner name;...;...;key;clean;...". Only lines that
// contain "clean;" describe a ROM. Lines are taken whole: a long line cut into pieces would
// give a ROM a fragment of its line as its path. The file is read again whenever it is needed,
// so the index always reflects what the host last wrote.
#include "core/romCache.h"

#include <cstddef>
#include <cstdint>
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
constexpr int32_t kWriteAhead = 8;  // entries whose table lines are asked for ahead
// Bytes that may be read past the end of any line the reader hands out: a short field is then
// copied as one fixed move, which the compiler inlines, instead of a call.
constexpr size_t kSlack = 32;

// Reads the file as text, one whole line at a time; a CR before an LF is dropped, as a
// text-mode reader does. A line that does not fit `kLineSize` is skipped to its end. A line
// that lies whole in the block read from the file is handed out where it lies; only a line
// that runs past the block is gathered in a buffer of its own. Line ends are found with memchr.
class LineReader {
public:
    explicit LineReader(platform::File* file) : file_(file) {}

    // Whether a read failed: the lines handed out so far are then only part of the file.
    bool failed() const { return failed_; }

    // The next line, not NUL-terminated: `length` bytes at `text`.
    bool next(const char*& text, size_t& length) {
        for (;;) {
            if (position_ == size_ && !refill()) return false;
            const char* start = buffer_ + position_;
            const void* newline = std::memchr(start, '\n', size_ - position_);
            if (newline == nullptr) return gather(text, length);
            size_t run = size_t(static_cast<const char*>(newline) - start);
            position_ += run + 1;
            if (run > kLineSize) continue;
            length = run > 0 && start[run - 1] == '\r' ? run - 1 : run;
            if (length >= kLineSize) continue;
            text = start;
            return true;
        }
    }

private:
    // A line that runs past the block, copied piece by piece into `line_`.
    bool gather(const char*& text, size_t& length) {
        for (;;) {
            length = 0;
            bool overflow = false, any = false, ended = false;
            while (!ended) {
                if (position_ == size_ && !refill()) break;
                any = true;
                const char* start = buffer_ + position_;
                const void* newline = std::memchr(start, '\n', size_ - position_);
                size_t run =
                    newline ? size_t(static_cast<const char*>(newline) - start) : size_ - position_;
                if (!overflow && length + run <= kLineSize) {
                    std::memcpy(line_ + length, start, run);
                    length += run;
                } else {
                    overflow = true;
                }
                position_ += run + (newline ? 1 : 0);
                ended = newline != nullptr;
            }
            if (!any) return false;
            if (!overflow && ended && length > 0 && line_[length - 1] == '\r') --length;
            if (!overflow && length < kLineSize) {
                text = line_;
                return ended || length > 0;
            }
            if (!ended) return false;  // a line too long for the buffer, up to the end of file
        }
    }

    // After a read error nothing more is read: the file ends there.
    bool refill() {
        if (failed_) return false;
        long n = platform::readFromFile(file_, buffer_, sizeof buffer_ - kSlack);
        failed_ = n < 0;
        size_ = n > 0 ? size_t(n) : 0;
        position_ = 0;
        return size_ > 0;
    }

    platform::File* file_;
    bool failed_ = false;
    char buffer_[8192 + kSlack];
    char line_[kLineSize + kSlack];
    size_t position_ = 0;
    size_t size_ = 0;
};

// Copies the text between `from` and `to` into a field; false when it does not fit. With
// `slack`, kSlack bytes past `to` can be read.
bool takeField(char (&field)[kTextSize], const char* from, const char* to, bool slack) {
    size_t length = size_t(to - from);
    if (length >= kTextSize) return false;
    if (slack && length < kSlack)
        std::memcpy(field, from, kSlack);
    else
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

// Whether "clean;" occurs in [from, end).
bool containsCleanMark(const char* from, const char* end) {
    for (const char* p = from; end - p >= 6; ++p) {
        p = static_cast<const char*>(std::memchr(p, 'c', size_t(end - p) - 5));
        if (p == nullptr) return false;
        if (std::memcmp(p, "clean;", 6) == 0) return true;
    }
    return false;
}

// Splits a line of `length` bytes (up to a NUL, if it holds one) into the entry and gives its
// key's hash for the index; with `slack`, kSlack bytes past the line can be read.
bool parseLine(const char* line, size_t length, RomCacheEntry& entry, uint32_t& hash, bool slack) {
    const char* end = line + length;
    const char* separators[5];
    if (findBytes(';', line, end, separators, 5) < 5) return false;
    // "clean;" usually is the field after the key; only a line without it there is searched,
    // up to a NUL, as far as a text reaches.
    const char* after = separators[4] + 1;
    if (end - after < 6 || std::memcmp(after, "clean;", 6) != 0) {
        if (const void* nul = std::memchr(line, '\0', length)) end = static_cast<const char*>(nul);
        if (!containsCleanMark(line, end)) return false;
    }
    // The hash is taken from the line, and its slot asked for, before the entry is written:
    // reading the key back from a table that was just written waits for memory.
    hash = hashKey(separators[3] + 1, size_t(separators[4] - separators[3] - 1));
    prefetchSlot(cacheIndex, hash);
    return takeField(entry.romPath, line, separators[0], slack) &&
           takeField(entry.innerName, separators[0] + 1, separators[1], slack) &&
           takeField(entry.crc32, separators[3] + 1, separators[4], slack);
}

}  // namespace

bool parseCacheLine(const char* line, RomCacheEntry& entry) {
    uint32_t hash = 0;
    return parseLine(line, std::strlen(line), entry, hash, false);
}

void loadRomCache() {
    PluginContext& c = *context;
    c.cacheCount = 0;
    resetIndex(cacheIndex, c.cacheEntries, sizeof(RomCacheEntry), offsetof(RomCacheEntry, crc32));
    char path[kTextSize];
    platform::File* file = nullptr;
    if (!cacheFilePath(path) || platform::openForRead(path, file) != platform::OpenResult::Opened)
        return;
    LineReader reader(file);
    const char* line = nullptr;
    size_t length = 0;
    int32_t pending = -1;
    uint32_t pendingHash = 0;
    while (c.cacheCount < kMaxCacheEntries && reader.next(line, length)) {
        // The lines of an entry a few ahead are asked for, to be written: each entry takes
        // three lines of the table, 260 bytes apart, which are otherwise waited for.
        if (c.cacheCount + kWriteAhead < kMaxCacheEntries) {
            const RomCacheEntry& ahead = c.cacheEntries[c.cacheCount + kWriteAhead];
            __builtin_prefetch(ahead.romPath, 1);
            __builtin_prefetch(ahead.innerName, 1);
            __builtin_prefetch(ahead.crc32, 1);
        }
        // Each entry joins the index one line later, when its slot, asked for by parseLine,
        // has had the time of a line to arrive.
        uint32_t hash = 0;
        if (!parseLine(line, length, c.cacheEntries[c.cacheCount], hash, true)) continue;
        if (pending >= 0) addToIndex(cacheIndex, pending, pendingHash);
        pending = c.cacheCount++;
        pendingHash = hash;
    }
    if (pending >= 0) addToIndex(cacheIndex, pending, pendingHash);
    platform::closeFile(file);
    // A cache read in part would make every ROM in its unread rest look unknown: it counts as
    // no cache at all.
    if (reader.failed()) c.cacheCount = 0;
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

void areRomsInCache(const char* const* keys, int32_t count, bool* known) {
    uint32_t hashes[64];
    count = count < 0 ? 0 : (count > 64 ? 64 : count);
    for (int32_t i = 0; i < count; ++i) {
        hashes[i] = hashKey(keys[i], std::strlen(keys[i]));
        prefetchSlot(cacheIndex, hashes[i]);
    }
    for (int32_t i = 0; i < count; ++i)
        known[i] = context->cacheCount > 0 && findFirst(cacheIndex, keys[i], hashes[i]) >= 0;
}

}  // namespace lb
