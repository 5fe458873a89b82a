// The games' launch settings file: a game's line found by its key in the file as last read,
// which is read again only when it changed, and the whole file rewritten with the lines of some
// games given, taken or changed.
#include "games/gameSettings.h"

#include <algorithm>
#include <cstring>

#include "core/pluginContext.h"
#include "platform/platform.h"
#include "registry/emulatorPresets.h"

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

// The line at `line`, which ends at an LF or at `end`: its length without its CR LF in `length`;
// where the next line begins.
const char* nextLine(const char* line, const char* end, size_t& length) {
    auto* stop = static_cast<const char*>(std::memchr(line, '\n', size_t(end - line)));
    length = size_t((stop != nullptr ? stop : end) - line);
    if (length > 0 && line[length - 1] == '\r') --length;
    return stop != nullptr ? stop + 1 : end;
}

}  // namespace

bool gameSettingsPath(char (&path)[kTextSize]) {
    return dataFilePath(path, context->systemName, ".games.txt");
}

int32_t settingEmulatorIndex(const GameSetting& setting) {
    if (setting.emulator[0] == '\0') return -1;
    int32_t count = boundedEmulatorCount(context->emulatorCount);
    for (int32_t i = 0; i < count; ++i) {
        const EmulatorEntry& entry = context->emulators[i];
        if (std::strcmp(entry.name, setting.emulator) == 0 &&
            samePathWithoutCase(entry.exePath, setting.program))
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

// The file as last read, its lines in the order of their keys: a game is found by a binary
// search while the file's stamp is unchanged, and the file is read again once it changed. A
// line's length leaves out its CR LF.
struct KeyedLine {
    uint32_t at, keyLength, length;
};
struct GamesIndex {
    char path[kTextSize];
    uint64_t size, written;
    WholeFile file;
    KeyedLine* lines;
    int32_t count;
} cached;

void dropIndex() {
    platform::release(cached.file.data);
    platform::release(cached.lines);
    cached.file = WholeFile{};
    cached.lines = nullptr;
    cached.count = 0;
    cached.path[0] = '\0';
}

// The lines of the cached file that have a key, sorted by it; false when there is no memory.
bool indexLines() {
    const char* data = cached.file.data;
    const char* end = data + cached.file.size;
    size_t lines = 1;
    for (const char* p = data;
         (p = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)))); ++p)
        ++lines;
    cached.lines = static_cast<KeyedLine*>(platform::allocate(lines * sizeof(KeyedLine)));
    if (cached.lines == nullptr) return false;
    for (const char* line = data; line < end;) {
        size_t length = 0;
        const char* next = nextLine(line, end, length);
        auto* tab = static_cast<const char*>(std::memchr(line, '\t', length));
        if (tab != nullptr && tab > line)
            cached.lines[cached.count++] = {uint32_t(line - data), uint32_t(tab - line),
                                            uint32_t(length)};
        line = next;
    }
    std::sort(cached.lines, cached.lines + cached.count, [data](KeyedLine a, KeyedLine b) {
        int order = std::memcmp(data + a.at, data + b.at, std::min(a.keyLength, b.keyLength));
        if (order != 0) return order < 0;
        return a.keyLength != b.keyLength ? a.keyLength < b.keyLength : a.at < b.at;
    });
    return true;
}

// The cached file made the one at `path` as it is now.
FileRead refreshIndex(const char* path) {
    uint64_t size = 0, written = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!platform::fileStamp(path, size, written)) {
            dropIndex();
            return platform::fileExists(path) ? FileRead::Unreadable : FileRead::Missing;
        }
        if (std::strcmp(cached.path, path) == 0 && cached.size == size && cached.written == written)
            return FileRead::Read;
        dropIndex();
        FileRead read = readWhole(path, cached.file);
        if (read == FileRead::Missing) return read;
        if (read == FileRead::Read) {  // a file that changed size meanwhile is read again
            if (!indexLines()) break;
            copyText(cached.path, path);
            cached.size = size;
            cached.written = written;
            return FileRead::Read;
        }
    }
    dropIndex();
    return FileRead::Unreadable;
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
        size_t length = 0;
        const char* next = nextLine(line, end, length);
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

// The lines of the games `sorted` given `setting`, each game once.
void putGivenLines(Rewrite& rewrite, const char* const* sorted, int32_t count,
                   const GameSetting& setting) {
    static char line[kLongestLine];
    for (int32_t i = 0; i < count; ++i) {
        if (i > 0 && std::strcmp(sorted[i], sorted[i - 1]) == 0) continue;
        size_t length = settingLine(line, sorted[i], setting);
        if (length == 0 || sorted[i][0] == '\0') continue;
        rewrite.put(line, length);
        ++rewrite.records;
    }
}

}  // namespace

FileRead findGameSetting(const char* path, const char* key, GameSetting& setting, bool& found) {
    setting = GameSetting{};
    found = false;
    FileRead read = refreshIndex(path);
    if (read != FileRead::Read) return read;
    const char* data = cached.file.data;
    size_t keyLength = std::strlen(key);
    auto* line = std::lower_bound(
        cached.lines, cached.lines + cached.count, key, [&](KeyedLine a, const char* wanted) {
            int order = std::memcmp(data + a.at, wanted, std::min<size_t>(a.keyLength, keyLength));
            return order != 0 ? order < 0 : a.keyLength < keyLength;
        });
    for (; !found && line < cached.lines + cached.count && line->keyLength == keyLength &&
           std::memcmp(data + line->at, key, keyLength) == 0;
         ++line)
        found = parseLine(data + line->at, line->length, setting);
    if (!found) setting = GameSetting{};
    return read;
}

void releaseGameSettings() { dropIndex(); }

GamesSave saveGameSettings(const char* path, const char* const* keys, int32_t count,
                           const GameSetting& setting) {
    WholeFile old;
    FileRead read = readWhole(path, old);
    struct Release {
        WholeFile& file;
        ~Release() { platform::release(file.data); }
    } release{old};
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
    if (!none) putGivenLines(rewrite, sorted, count, setting);
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
