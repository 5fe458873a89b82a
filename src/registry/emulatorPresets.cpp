// Preset rows read from text, the user's file merged over the built-in rows, and the matching of
// an executable's file name against a row's patterns.
#include "registry/emulatorPresets.h"

#include <cstring>

#include "core/pluginContext.h"
#include "core/text.h"
#include "registry/emulatorEntry.h"

namespace lb {

namespace {

constexpr size_t kUserFileLimit = 256 * 1024;

// One row as it is read: its fields, and which of the required ones were seen.
struct RowReader {
    EmulatorPreset preset;
    bool open = false, hasExe = false, hasKind = false;
    int32_t line = 0;  // the line of its name=
};

bool sameText(const char* line, size_t length, const char* label) {
    size_t n = std::strlen(label);
    return length >= n && std::memcmp(line, label, n) == 0;
}

// A small number of `length` bytes; -1 when it is none.
int32_t smallNumber(const char* text, size_t length) {
    uint64_t value = 0;
    return takeDecimal(value, text, length, 3) ? int32_t(value) : -1;
}

// The words of options=; false for a word that is none of extract, quote and short.
bool takeOptions(EmulatorPreset& preset, const char* text, size_t length) {
    preset.extractArchive = preset.quotePath = preset.shortPath = 0;
    for (size_t at = 0; at < length;) {
        while (at < length && text[at] == ' ') ++at;
        size_t end = at;
        while (end < length && text[end] != ' ') ++end;
        size_t n = end - at;
        if (n == 7 && std::memcmp(text + at, "extract", 7) == 0) {
            preset.extractArchive = 1;
        } else if (n == 5 && std::memcmp(text + at, "quote", 5) == 0) {
            preset.quotePath = 1;
        } else if (n == 5 && std::memcmp(text + at, "short", 5) == 0) {
            preset.shortPath = 1;
        } else if (n > 0) {
            return false;
        }
        at = end;
    }
    return true;
}

// "key browse": two wait indexes.
bool takeWaits(EmulatorPreset& preset, const char* text, size_t length) {
    const void* blank = std::memchr(text, ' ', length);
    if (blank == nullptr) return false;
    size_t first = size_t(static_cast<const char*>(blank) - text);
    int32_t key = smallNumber(text, first);
    int32_t browse = smallNumber(text + first + 1, length - first - 1);
    if (key < 0 || key >= kWaitChoiceCount || browse < 0 || browse >= kWaitChoiceCount)
        return false;
    preset.keyWaitIndex = key;
    preset.browseWaitIndex = browse;
    return true;
}

void noteSkip(PresetSkip& skip, int32_t line, const char* reason) {
    if (skip.line == 0) skip = {line, reason};
}

void addRow(PresetTable& table, const EmulatorPreset& preset, int32_t line, PresetSkip& skip) {
    if (table.count < 0 || table.count > kMaxPresets) table.count = 0;
    int32_t named = presetNamed(table, table.count, preset.name);
    if (named >= 0) {
        table.rows[named] = preset;
        return;
    }
    if (table.count == kMaxPresets) {
        noteSkip(skip, line, "候補が多すぎます");
        return;
    }
    table.rows[table.count++] = preset;
}

// Ends the open row: added when whole, else skipped.
void closeRow(RowReader& row, PresetTable& table, PresetSkip& skip) {
    if (!row.open) return;
    row.open = false;
    if (!row.hasExe || !row.hasKind) {
        noteSkip(skip, row.line, "exe= か kind= がありません");
        return;
    }
    addRow(table, row.preset, row.line, skip);
}

// One "key=value" line of the open row; the reason it cannot be read, or nullptr.
const char* readField(RowReader& row, const char* line, size_t length) {
    auto value = [&](const char* label, const char*& text, size_t& n) {
        if (!sameText(line, length, label)) return false;
        text = line + std::strlen(label);
        n = length - std::strlen(label);
        return true;
    };
    const char* text = nullptr;
    size_t n = 0;
    EmulatorPreset& p = row.preset;
    if (value("exe=", text, n)) {
        row.hasExe = takeBytes(p.patterns, text, n) && n > 0;
        return row.hasExe ? nullptr : "exe= が空か長すぎます";
    }
    if (value("kind=", text, n)) {
        p.kind = smallNumber(text, n);
        row.hasKind = p.kind >= 0 && p.kind < kEmulatorKindCount;
        return row.hasKind ? nullptr : "kind= は 0 から 4 の数です";
    }
    if (value("args=", text, n)) return takeBytes(p.args, text, n) ? nullptr : "args= が長すぎます";
    if (value("ext=", text, n))
        return takeBytes(p.extensions, text, n) ? nullptr : "ext= が長すぎます";
    if (value("options=", text, n))
        return takeOptions(p, text, n) ? nullptr : "options= は extract、quote、short です";
    if (value("waits=", text, n))
        return takeWaits(p, text, n) ? nullptr : "waits= は 0 から 4 の数二つです";
    if (value("source=", text, n)) return nullptr;
    return "知らない項目です";
}

}  // namespace

void readPresetText(const char* text, size_t length, PresetTable& table, PresetSkip& skip) {
    RowReader row;
    int32_t lineNumber = 0;
    const char* line = nullptr;
    size_t lineLength = 0;
    for (size_t at = 0; nextLine(text, length, at, line, lineLength);) {
        ++lineNumber;
        if (lineLength > 0 && line[0] == ';') continue;
        if (lineLength == 0) {
            closeRow(row, table, skip);
            continue;
        }
        if (sameText(line, lineLength, "name=")) {
            closeRow(row, table, skip);
            row = RowReader{};
            row.line = lineNumber;
            row.preset.keyWaitIndex = row.preset.browseWaitIndex = 2;
            if (!takeBytes(row.preset.name, line + 5, lineLength - 5) || lineLength == 5) {
                noteSkip(skip, lineNumber, "name= が空か長すぎます");
                continue;
            }
            row.open = true;
            continue;
        }
        if (!row.open) {
            noteSkip(skip, lineNumber, "name= のない行です");
            continue;
        }
        if (const char* reason = readField(row, line, lineLength)) {
            noteSkip(skip, lineNumber, reason);
            row.open = false;  // the rest of the row is skipped with it
        }
    }
    closeRow(row, table, skip);
}

FileRead loadPresets(PresetTable& table, PresetSkip& skip) {
    table.count = 0;
    skip = PresetSkip{0, nullptr};
    PresetSkip builtIn{0, nullptr};
    readPresetText(kBuiltInPresets, std::strlen(kBuiltInPresets), table, builtIn);
    char path[kTextSize];
    static char text[kUserFileLimit];
    size_t got = 0;
    if (!dataFilePath(path, "Presets.txt")) return FileRead::Missing;
    FileRead read = readFilePrefix(path, text, sizeof text, got);
    if (read == FileRead::Read) readPresetText(text, got, table, skip);
    return read;
}

void presetSkipText(char (&text)[kTextSize * 2], const PresetSkip& skip) {
    char line[24];
    decimalText(line, uint64_t(skip.line < 0 ? 0 : skip.line));
    const char* parts[] = {"Presets.txt の", line, "行目を読み飛ばしました（",
                           skip.reason != nullptr ? skip.reason : "", "）"};
    joinTexts(text, sizeof text, parts, 5);
}

namespace {

// Whether the characters at `a` and `b` are the same, ASCII letters without case; `length` is the
// byte length of the one at `b`.
bool sameCharacter(const char* a, const char* b, size_t& length) {
    size_t la = characterLength(a);
    length = characterLength(b);
    if (la != length) return false;
    return la == 2 ? a[0] == b[0] && a[1] == b[1] : asciiLower(*a) == asciiLower(*b);
}

// Whether `name` (of `n` bytes) matches `pattern` (of `m` bytes), '*' standing for any text,
// walking whole characters of both.
bool wildcardMatch(const char* pattern, size_t m, const char* name, size_t n) {
    constexpr size_t kNone = size_t(-1);
    size_t p = 0, s = 0, afterStar = kNone, starName = 0;
    while (s < n) {
        size_t step = 0;
        if (p < m && pattern[p] == '*') {
            afterStar = ++p;
            starName = s;
        } else if (p < m && p + characterLength(pattern + p) <= m &&
                   sameCharacter(pattern + p, name + s, step)) {
            p += characterLength(pattern + p);
            s += step;
        } else if (afterStar != kNone) {
            p = afterStar;
            starName += characterLength(name + starName);
            s = starName;
        } else {
            return false;
        }
    }
    while (p < m && pattern[p] == '*') ++p;
    return p == m;
}

}  // namespace

bool presetMatches(const EmulatorPreset& preset, const char* exePath) {
    char folder[kTextSize];
    driveAndFolder(folder, exePath);
    return presetMatchesName(preset, exePath + std::strlen(folder));
}

bool presetMatchesName(const EmulatorPreset& preset, const char* name) {
    size_t nameLength = std::strlen(name);
    const char* patterns = preset.patterns;
    for (const char* at = patterns; *at != '\0';) {
        const char* end = std::strchr(at, ';');
        size_t length = end != nullptr ? size_t(end - at) : std::strlen(at);
        if (length > 0 && wildcardMatch(at, length, name, nameLength)) return true;
        at += length + (end != nullptr ? 1 : 0);
    }
    return false;
}

bool patternMatches(const char* pattern, size_t length, const char* name) {
    return wildcardMatch(pattern, length, name, std::strlen(name));
}

bool samePathWithoutCase(const char* a, const char* b) {
    return patternMatches(a, std::strlen(a), b);  // a path holds no "*"
}

int32_t presetNamed(const PresetTable& table, int32_t count, const char* name) {
    for (int32_t i = 0; i < count && i < kPresetRows; ++i)
        if (std::strcmp(table.rows[i].name, name) == 0) return i;
    return -1;
}

int32_t matchingPresets(const PresetTable& table, const char* exePath, int32_t* rows,
                        int32_t capacity) {
    int32_t found = 0;
    int32_t count = table.count < 0 ? 0 : (table.count > kPresetRows ? kPresetRows : table.count);
    for (int32_t i = 0; i < count && found < capacity; ++i)
        if (presetMatches(table.rows[i], exePath)) rows[found++] = i;
    return found;
}

void applyPreset(const EmulatorPreset& preset, EmulatorEntry& entry) {
    if (entry.name[0] == '\0') copyText(entry.name, preset.name);
    entry.kind = preset.kind;
    entry.extractArchive = preset.extractArchive;
    entry.quotePath = preset.quotePath;
    entry.shortPath = preset.shortPath;
    entry.keyWaitIndex = preset.keyWaitIndex;
    entry.browseWaitIndex = preset.browseWaitIndex;
}

}  // namespace lb
