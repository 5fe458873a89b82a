// The games' launch settings file: a game's line found while the file is read a block at a
// time, and the whole file rewritten with the lines of some games given, taken or changed.
#include "games/gameSettings.h"

#include <algorithm>
#include <cstring>

#include "core/pluginContext.h"
#include "platform/platform.h"

namespace lb {

namespace {

const char kVersionLine[] = "#games 1";
constexpr size_t kLongestLine = 4096;                 // longer than any line a save writes
constexpr uint64_t kLargestFile = 64u * 1024 * 1024;  // what a rewrite reads whole

// The line's four fields into `setting`; false when it has not exactly four, its key is empty,
// or a field does not fit.
bool parseLine(const char* line, size_t length, GameSetting& setting) {
    char* fields[] = {setting.key, setting.emulator, setting.program, setting.arguments};
    const size_t sizes[] = {sizeof setting.key, sizeof setting.emulator, sizeof setting.program,
                            sizeof setting.arguments};
    const char* end = line + length;
    for (int i = 0; i < 4; ++i) {
        auto* tab = static_cast<const char*>(std::memchr(line, '\t', size_t(end - line)));
        const char* stop = tab != nullptr && i < 3 ? tab : end;
        if ((i < 3) != (tab != nullptr) ||
            !takeBytes(fields[i], sizes[i], line, size_t(stop - line)))
            return false;
        line = stop + 1;
    }
    return setting.key[0] != '\0';
}

// The line of `key` among the whole lines of [from, end), which ends in an LF, into `setting`;
// the line ends are found many at a time. Where the next search begins: `end` when none is.
bool findInLines(const char* from, const char* end, const char* key, size_t keyLength,
                 GameSetting& setting) {
    const char* ends[64];
    for (const char* line = from; line < end;) {
        int count = findBytes('\n', line, end, ends, 64);
        if (count == 0) {  // a NUL before the next line end: the line goes on after it
            ends[0] = static_cast<const char*>(std::memchr(line, '\n', size_t(end - line)));
            count = 1;
        }
        for (int i = 0; i < count; line = ends[i++] + 1) {
            size_t length = size_t(ends[i] - line);
            if (length <= keyLength || line[keyLength] != '\t' || line[0] != key[0] ||
                std::memcmp(line, key, keyLength) != 0)
                continue;
            if (parseLine(line, length > 0 && line[length - 1] == '\r' ? length - 1 : length,
                          setting))
                return true;
        }
    }
    return false;
}

bool sameProgram(const char* a, const char* b) {
    for (; *a != '\0' && asciiLower(*a) == asciiLower(*b); ++a, ++b) {
    }
    return *a == *b;
}

}  // namespace

bool gameSettingsPath(char (&path)[kTextSize]) {
    return dataFilePath(path, context->systemName, ".games.txt");
}

FileRead findGameSetting(const char* path, const char* key, GameSetting& setting, bool& found) {
    setting = GameSetting{};
    found = false;
    platform::File* file = nullptr;
    platform::OpenResult opened = platform::openForRead(path, file);
    if (opened != platform::OpenResult::Opened)
        return opened == platform::OpenResult::Missing ? FileRead::Missing : FileRead::Unreadable;
    // Whole lines a block at a time; a line cut by the block's end moves to the front. A line
    // longer than any a save writes is passed over.
    constexpr size_t kBlock = 64 * 1024;
    static char text[kBlock + kLongestLine + 1];
    size_t keyLength = std::strlen(key), held = 0;
    bool skipping = false;  // the rest of a line too long to hold
    long n = 0;
    while (!found && keyLength > 0 && (n = readAll(file, text + held, kBlock)) > 0) {
        const char* from = text;
        const char* end = text + held + size_t(n);
        if (skipping) {
            const void* lineEnd = std::memchr(text, '\n', size_t(n));
            from = lineEnd != nullptr ? static_cast<const char*>(lineEnd) + 1 : end;
            skipping = lineEnd == nullptr;
        }
        const char* whole = end;
        while (whole > from && whole[-1] != '\n') --whole;
        found = findInLines(from, whole, key, keyLength, setting);
        held = size_t(end - whole);
        skipping = skipping || held > kLongestLine;
        held = skipping ? 0 : held;
        std::memmove(text, whole, held);
    }
    if (!found && n == 0 && held > 0) {  // the last line, without its line end
        text[held] = '\n';
        found = findInLines(text, text + held + 1, key, keyLength, setting);
    }
    platform::closeFile(file);
    if (!found) setting = GameSetting{};
    return n < 0 ? FileRead::Unreadable : FileRead::Read;
}

int32_t settingEmulatorIndex(const GameSetting& setting) {
    if (setting.emulator[0] == '\0') return -1;
    int32_t count = boundedEmulatorCount(context->emulatorCount);
    for (int32_t i = 0; i < count; ++i) {
        const EmulatorEntry& entry = context->emulators[i];
        if (std::strcmp(entry.name, setting.emulator) == 0 &&
            sameProgram(entry.exePath, setting.program))
            return i;
    }
    return -1;
}

bool argumentsApply(const GameSetting& setting, int32_t index) {
    return setting.emulator[0] == '\0' || settingEmulatorIndex(setting) == index;
}

bool storableArguments(const char* arguments) {
    return std::strlen(arguments) < kGameArgumentsSize &&
           std::strpbrk(arguments, "\t\r\n") == nullptr;
}

namespace {

// The file's bytes, whole, in a block of the process heap.
struct WholeFile {
    char* data = nullptr;
    size_t size = 0;
    ~WholeFile() { platform::release(data); }
};

FileRead readWhole(const char* path, WholeFile& file) {
    uint64_t size = 0;
    if (!platform::fileSize(path, size))
        return platform::fileExists(path) ? FileRead::Unreadable : FileRead::Missing;
    if (size > kLargestFile) return FileRead::Unreadable;
    file.data = static_cast<char*>(platform::allocate(size_t(size) + 1));
    if (file.data == nullptr) return FileRead::Unreadable;
    FileRead read = readFilePrefix(path, file.data, size_t(size) + 1, file.size);
    // A file that changed size meanwhile is read again at the next try.
    return read == FileRead::Read && file.size != size ? FileRead::Unreadable : read;
}

// The rewritten file, built in one block.
struct Rewrite {
    char* out;
    size_t used;
    int32_t records;
    void put(const char* bytes, size_t length) {
        std::memcpy(out + used, bytes, length);
        used += length;
        out[used++] = '\r';
        out[used++] = '\n';
    }
};

// The line of a game given `setting`, without its line end; its length.
size_t settingLine(char (&line)[kLongestLine], const char* key, const GameSetting& setting) {
    const char* parts[] = {
        key, "\t", setting.emulator, "\t", setting.program, "\t", setting.arguments};
    return joinTexts(line, sizeof line, parts, 7) ? std::strlen(line) : 0;
}

bool lessText(const char* a, const char* b) { return std::strcmp(a, b) < 0; }

// Every line of the old file but its version line, its empty lines and the lines of the games
// `sorted`, which the save gives anew.
void keepOtherLines(Rewrite& rewrite, const WholeFile& old, const char* const* sorted,
                    int32_t count) {
    static GameSetting parsed;
    const char* end = old.data + old.size;
    for (const char* line = old.data; line < end;) {
        auto* stop = static_cast<const char*>(std::memchr(line, '\n', size_t(end - line)));
        const char* next = stop != nullptr ? stop + 1 : end;
        size_t length = size_t((stop != nullptr ? stop : end) - line);
        if (length > 0 && line[length - 1] == '\r') --length;
        bool version = line == old.data && length > 0 && line[0] == '#';
        bool readable = parseLine(line, length, parsed);
        if (!(readable && std::binary_search(sorted, sorted + count, parsed.key, lessText)) &&
            !version && length > 0) {
            rewrite.put(line, length);
            rewrite.records += readable ? 1 : 0;
        }
        line = next;
    }
}

}  // namespace

GamesSave saveGameSettings(const char* path, const char* const* keys, int32_t count,
                           const GameSetting& setting) {
    WholeFile old;
    FileRead read = readWhole(path, old);
    if (read == FileRead::Unreadable) return GamesSave::Unreadable;
    bool none = setting.emulator[0] == '\0' && setting.arguments[0] == '\0';
    if (read == FileRead::Missing && none) return GamesSave::Saved;
    static char line[kLongestLine];
    size_t longest = 0;
    for (int32_t i = 0; i < count; ++i)
        longest = std::max(longest, settingLine(line, keys[i], setting));
    auto sorted = static_cast<const char**>(platform::allocate(sizeof(char*) * size_t(count) + 1));
    size_t capacity = 2 * old.size + 4 + sizeof kVersionLine + 2 + size_t(count) * (longest + 2);
    Rewrite rewrite{static_cast<char*>(platform::allocate(capacity)), 0, 0};
    if (sorted == nullptr || rewrite.out == nullptr) {
        platform::release(sorted);
        platform::release(rewrite.out);
        return GamesSave::Failed;
    }
    std::copy(keys, keys + count, sorted);
    std::sort(sorted, sorted + count, lessText);
    rewrite.put(kVersionLine, sizeof kVersionLine - 1);
    keepOtherLines(rewrite, old, sorted, count);
    for (int32_t i = 0; i < count && !none; ++i) {
        if (i > 0 && std::strcmp(sorted[i], sorted[i - 1]) == 0) continue;  // given once
        size_t length = settingLine(line, sorted[i], setting);
        if (length == 0 || sorted[i][0] == '\0') continue;
        rewrite.put(line, length);
        ++rewrite.records;
    }
    GamesSave result = GamesSave::TooMany;
    if (rewrite.records <= kMaxGameSettings) {
        Chunk chunk{rewrite.out, rewrite.used};
        bool saved =
            saveFileSafely(path, &chunk, 1, read == FileRead::Read ? int64_t(old.size) : -1);
        result = saved ? GamesSave::Saved : GamesSave::Failed;
    }
    platform::release(sorted);
    platform::release(rewrite.out);
    return result;
}

}  // namespace lb
