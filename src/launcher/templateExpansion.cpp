// Expansion of command-line templates, walking whole characters: '%' is never the second byte
// of a double-byte character, but a name is cut only between characters.
#include "launcher/templateExpansion.h"

#include <cstring>
#include <initializer_list>

#include "core/pluginContext.h"
#include "core/romCache.h"
#include "launcher/launch.h"
#include "platform/platform.h"
#include "registry/emulatorEntry.h"

namespace lb {

const char kTooLongText[] = "コマンドラインが長すぎます";

namespace {

constexpr size_t kEnvironmentSize = 32768;
constexpr size_t kExpandedSize = kCommandLineSize;

bool sameName(const char* name, size_t length, const char* placeholder) {
    if (std::strlen(placeholder) != length) return false;
    for (size_t i = 0; i < length; ++i) {
        char c = name[i];
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        if (c != placeholder[i]) return false;
    }
    return true;
}

// The file name of a path: what follows its drive and folder.
const char* fileNameOf(const char* path) {
    char folder[kTextSize];
    driveAndFolder(folder, path);
    return path + std::strlen(folder);
}

// One piece of a template at `p`: plain text up to the next '%', "%%", a "%NAME%" (`name` and
// `length` give NAME), or a lone '%' that runs to the end. `end` is just past the piece.
enum class Piece { Text, Percent, Name, Lone };
Piece nextPiece(const char* p, const char*& end, const char*& name, size_t& length) {
    if (*p != '%') {
        end = p;
        while (*end != '\0' && *end != '%') end += characterLength(end);
        return Piece::Text;
    }
    if (p[1] == '%') {
        end = p + 2;
        return Piece::Percent;
    }
    name = p + 1;
    const char* close = name;
    while (*close != '\0' && *close != '%') close += characterLength(close);
    length = size_t(close - name);
    end = *close == '\0' ? close : close + 1;
    return *close == '\0' ? Piece::Lone : Piece::Name;
}

// The text a placeholder stands for, at `text` for `length` bytes; false when `name` is none.
// Folders and the base name are made in `scratch`.
bool placeholder(const char* name, size_t length, const TemplateValues& values, const char*& text,
                 char (&scratch)[kTextSize]) {
    text = scratch;
    if (sameName(name, length, "ROM")) {
        text = values.rom;
    } else if (sameName(name, length, "ROMRAW")) {
        text = values.romRaw;
    } else if (sameName(name, length, "FILENAME")) {
        text = fileNameOf(values.romRaw);
    } else if (sameName(name, length, "BASENAME")) {
        baseNameOf(scratch, values.romRaw);
    } else if (sameName(name, length, "GAMEDIR")) {
        folderOf(scratch, values.romRaw);
    } else if (sameName(name, length, "EMUDIR")) {
        folderOf(scratch, values.exePath);
    } else if (sameName(name, length, "SET")) {
        text = values.set;
    } else if (sameName(name, length, "CRC")) {
        text = values.key;
    } else if (sameName(name, length, "M3U") && values.playlist != nullptr) {
        text = values.playlist;
    } else if (sameName(name, length, "GAMEARGS")) {
        text = values.gameArgs;
    } else {
        return false;
    }
    return true;
}

class Output {
public:
    Output(char* out, size_t size) : out_(out), size_(size) {
        if (size_ > 0) out_[0] = '\0';
    }
    // Once a piece does not fit, nothing more is put: the text is never a line with a hole.
    void put(const char* text, size_t length) {
        if (full_ || length >= size_ - used_) {
            full_ = true;
            return;
        }
        std::memcpy(out_ + used_, text, length);
        used_ += length;
        out_[used_] = '\0';
    }
    bool full() const { return full_ || size_ == 0; }

private:
    char* out_;
    size_t size_;
    size_t used_ = 0;
    bool full_ = false;
};

void offendingText(char (&offending)[kOffendingSize], const char* from, size_t length) {
    size_t n = 0;
    while (n < length && n + characterLength(from + n) < kOffendingSize)
        n += characterLength(from + n);
    std::memcpy(offending, from, n);
    offending[n] = '\0';
}

}  // namespace

void baseNameOf(char (&name)[kTextSize], const char* path) {
    const char* file = fileNameOf(path);
    const char* dot = nullptr;
    for (const char* p = file; *p != '\0'; p += characterLength(p))
        if (*p == '.') dot = p;
    size_t keep = dot != nullptr ? size_t(dot - file) : std::strlen(file);
    if (keep >= kTextSize) keep = 0;  // only a path longer than a field
    std::memcpy(name, file, keep);
    name[keep] = '\0';
}

void folderOf(char (&folder)[kTextSize], const char* path) {
    driveAndFolder(folder, path);  // with its final separators
    size_t whole = std::strlen(folder);
    size_t drive = path[0] != '\0' && path[1] == ':' ? 2 : 0;
    // Just past the folder's last character that is no separator, walking whole characters:
    // the trail byte of 表 is the backslash code.
    size_t named = drive;
    for (size_t at = drive; at < whole; at += characterLength(folder + at))
        if (characterLength(folder + at) == 2 || (folder[at] != '\\' && folder[at] != '/'))
            named = at + characterLength(folder + at);
    if (whole + 2 > kTextSize) {
        folder[0] = '\0';  // only a path longer than a field
    } else if (named == drive && (whole > drive || drive > 0)) {
        // A root, "C:\." or "\.", however many separators it has; the drive's folder, "C:."
        size_t keep = whole > drive ? drive + 1 : drive;
        folder[keep] = '.';
        folder[keep + 1] = '\0';
    } else {
        folder[named] = '\0';  // every separator before the name
    }
}

Expansion expandTemplate(const char* text, const TemplateValues& values, char* out, size_t size,
                         char (&offending)[kOffendingSize]) {
    offending[0] = '\0';
    Output output(out, size);
    static char environment[kEnvironmentSize];
    const char *end = nullptr, *name = nullptr;
    size_t length = 0;
    for (const char* p = text; *p != '\0'; p = end) {
        Piece piece = nextPiece(p, end, name, length);
        if (piece == Piece::Text) {
            output.put(p, size_t(end - p));
            continue;
        }
        if (piece == Piece::Percent) {
            output.put("%", 1);
            continue;
        }
        char scratch[kTextSize], variable[kTextSize];
        const char* value = nullptr;
        platform::Variable found = platform::Variable::Missing;
        if (piece == Piece::Name && placeholder(name, length, values, value, scratch)) {
            output.put(value, std::strlen(value));
            continue;
        }
        if (piece == Piece::Name && length > 0 && length < sizeof variable) {
            std::memcpy(variable, name, length);
            variable[length] = '\0';
            found = platform::environmentVariable(variable, environment, sizeof environment);
        }
        if (found == platform::Variable::TooLong) return Expansion::TooLong;
        if (found == platform::Variable::Missing) {
            offendingText(offending, p, size_t(end - p));
            return Expansion::Refused;
        }
        output.put(environment, std::strlen(environment));
    }
    return output.full() ? Expansion::TooLong : Expansion::Done;
}

namespace {

// Whether the template names any of the placeholders `names`.
bool namesAny(const char* text, std::initializer_list<const char*> names) {
    const char *end = nullptr, *name = nullptr;
    size_t length = 0;
    for (const char* p = text; *p != '\0'; p = end) {
        if (nextPiece(p, end, name, length) != Piece::Name) continue;
        for (const char* wanted : names)
            if (sameName(name, length, wanted)) return true;
    }
    return false;
}

}  // namespace

bool usesRomPath(const char* text) {
    return namesAny(text, {"ROM", "ROMRAW", "FILENAME", "BASENAME", "GAMEDIR", "M3U"});
}

bool usesPlaylist(const char* text) { return namesAny(text, {"M3U"}); }

bool usesGameArguments(const char* text) { return namesAny(text, {"GAMEARGS"}); }

void refusalText(char (&message)[kTemplateErrorSize], const char* offending) {
    const char* parts[] = {"コマンドライン引数に使えない文字列があります: ", offending};
    joinTexts(message, sizeof message, parts, 2);
}

void templateError(char (&message)[kTemplateErrorSize], const char* text) {
    message[0] = '\0';
    static char expanded[kExpandedSize];
    char offending[kOffendingSize];
    TemplateValues values{"", "", "", "", ""};
    if (expandTemplate(text, values, expanded, sizeof expanded, offending) == Expansion::Refused)
        refusalText(message, offending);
}

bool templateRefused(const char* text) {
    static char message[kTemplateErrorSize];
    templateError(message, text);
    return message[0] != '\0';
}

namespace {

// The arguments `text` expands to with `values`, as a launch expands them and with its limits,
// the game's arguments at its end when it does not name %GAMEARGS%; or the message of the
// launch's refusal. `line` gets the whole command line; false when there is none.
bool sampleOf(char (&out)[kSampleSize], char (&line)[kCommandLineSize], const char* text,
              const TemplateValues& values, const char* fixed) {
    static char expanded[kExpandedSize];
    char offending[kOffendingSize];
    Expansion expansion = Expansion::Done;
    if (text[0] != '\0') {
        expansion = expandTemplate(text, values, expanded, sizeof expanded, offending);
    } else {
        copyText(expanded, fixed);
    }
    const char* parts[] = {" ", values.gameArgs};
    if (expansion == Expansion::Refused) {
        char message[kTemplateErrorSize];
        refusalText(message, offending);
        copyText(out, message);
        return false;
    }
    if (expansion == Expansion::TooLong ||
        (values.gameArgs[0] != '\0' && !usesGameArguments(text) &&
         !appendTexts(expanded, sizeof expanded, parts, 2)) ||
        !buildCommandLine(line, values.exePath, expanded)) {
        copyText(out, kTooLongText);
        return false;
    }
    copyText(out, expanded);
    return true;
}

}  // namespace

void gameSample(char (&out)[kSampleSize], const EmulatorEntry& entry, const char* text,
                const HostRomRecord& game, const char* gameArgs) {
    const char* key = hostText(game.crc32);
    const char* inner = entry.extractArchive != 0 ? lookupRomInnerName(key) : nullptr;
    char raw[kTextSize] = "", rom[kTextSize] = "", playlist[kTextSize] = "", base[kTextSize];
    if (inner != nullptr) {
        joinPath(raw, entry.extractDir, inner);
    } else if (entry.extractArchive == 0) {
        lookupRomPath(raw, key);
    }
    copyText(rom, raw);
    bool arcade = hasKindLabel(entry, MameModel2);
    if (entry.shortPath != 0 && !arcade) shortenPath(rom);
    if (entry.quotePath != 0 && !arcade && rom[0] != '\0') quotePath(rom);
    baseNameOf(base, raw);
    const char* folder = entry.extractDir[0] != '\0' ? entry.extractDir : context->tempDir;
    if (raw[0] == '\0' || !joinPath(playlist, folder, base, ".m3u")) playlist[0] = '\0';
    if (entry.quotePath != 0 && playlist[0] != '\0') quotePath(playlist);
    TemplateValues values{
        rom,     raw, entry.exePath, hostText(game.comment), key, arcade ? nullptr : playlist,
        gameArgs};
    char drives[1024] = "";
    const char* fixed = arcade ? values.set : rom;
    if (hasKindLabel(entry, KeyboardDriven)) fixed = "";
    if (entry.kind >= 0 && entry.kind < kEmulatorKindCount &&
        twoDriveArguments(drives, emulatorKindTable[entry.kind].label, rom, ""))
        fixed = drives;
    static char line[kCommandLineSize];
    if (sampleOf(out, line, text, values, fixed)) copyText(out, line);
}

void sampleArguments(char (&out)[kSampleSize], const char* text, int kind, bool quote,
                     const char* exePath, const char* playlistFolder) {
    const char kSample[] = "C:\\ROMs\\Sample Game.zip";
    const char* rom = kind == MameModel2 || !quote ? kSample : "\"C:\\ROMs\\Sample Game.zip\"";
    if (text[0] == '\0') {
        copyText(out, kind == MameModel2 ? "sample" : rom);
        return;
    }
    // Expanded as a launch expands it: the line shows what the emulator would get, cut only
    // for the screen, or why the launch would start nothing.
    char playlist[kTextSize];
    const char* quoteMark = kind == MameModel2 || !quote ? "" : "\"";
    if (!joinPath(playlist, quoteMark, playlistFolder, "Sample Game.m3u", quoteMark))
        playlist[0] = '\0';
    TemplateValues values{rom,      kSample,    exePath,
                          "sample", "1A2B3C4D", kind == MameModel2 ? nullptr : playlist};
    static char line[kCommandLineSize];
    sampleOf(out, line, text, values, "");
}

}  // namespace lb
