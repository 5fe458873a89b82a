// The history file's lines: written whole or not at all, read back line by line, ends paired
// with their starts by id, games found through the key index.
#include "launcher/playHistory.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "core/pluginContext.h"
#include "platform/platform.h"

namespace lb {

namespace {

// Appends `text` to `line` with tabs and line ends as blanks.
void putField(char (&line)[kHistoryLineSize], size_t& used, const char* text) {
    for (const char* p = text; *p != '\0' && used + 2 < sizeof line; ++p)
        line[used++] = (*p == '\t' || *p == '\r' || *p == '\n') ? ' ' : *p;
    line[used++] = '\t';
    line[used] = '\0';
}

void closeLine(char (&line)[kHistoryLineSize], size_t used) {
    if (used + 2 > sizeof line) used = sizeof line - 2;
    line[used++] = '.';
    line[used] = '\0';
}

// The tab-separated fields of a line, at most `capacity`; their number.
int splitFields(const char* line, size_t length, const char** fields, size_t* lengths,
                int capacity) {
    int n = 0;
    const char* end = line + length;
    for (const char* at = line; n < capacity;) {
        const void* tab = std::memchr(at, '\t', size_t(end - at));
        const char* stop = tab != nullptr ? static_cast<const char*>(tab) : end;
        fields[n] = at;
        lengths[n++] = size_t(stop - at);
        if (tab == nullptr) break;
        at = stop + 1;
    }
    return n;
}

// A count or a number of seconds in the file: at most 15 digits.
bool takeNumber(uint64_t& value, const char* text, size_t length) {
    return takeDecimal(value, text, length, 15);
}

// A start still waiting for its end: the newest few, searched from the newest.
constexpr int kPending = 256;
struct Pending {
    char id[24];
    int32_t game;
};

// Room for one more game. The whole table is taken at once and never moved: the system backs
// its pages with memory only as they are first written, so a short history costs little.
bool roomForGame(HistoryTable& table) {
    if (table.count < table.capacity) return true;
    if (table.games != nullptr) return false;
    table.games = static_cast<GameHistory*>(
        platform::allocate(sizeof(GameHistory) * size_t(kMaxGames)));
    if (table.games == nullptr) return false;
    table.capacity = kMaxGames;
    return true;
}

// The game of `key`, added with `name` when new; -1 when the table is full.
int32_t gameOf(HistoryTable& table, const char* key, const char* name) {
    int32_t game = findFirst(table.index, key);
    if (game >= 0) return game;
    if (!roomForGame(table)) return -1;
    game = table.count++;
    GameHistory& g = table.games[game];
    g.set[0] = g.emulator[0] = g.exe[0] = g.lastPlayed[0] = '\0';
    g.plays = g.unknownPlays = 0;
    g.seconds = 0;
    copyText(g.key, key);
    copyText(g.name, name);
    addToIndex(table.index, game);
    return game;
}

// A later stamp replaces the game's name and last emulator; the stamps sort as texts.
void notePlay(GameHistory& g, const char* stamp, const char* name, const char* set,
              const char* emulator, const char* exe) {
    if (std::strcmp(stamp, g.lastPlayed) < 0) return;
    copyText(g.lastPlayed, stamp);
    copyText(g.name, name);
    copyText(g.set, set);
    copyText(g.emulator, emulator);
    copyText(g.exe, exe);
}

}  // namespace

void startLine(char (&line)[kHistoryLineSize], const PlayStart& start) {
    size_t used = 0;
    line[0] = '\0';
    for (const char* field : {"S", start.id, start.started, start.key, start.name, start.set,
                              start.emulator, start.exe})
        putField(line, used, field);
    closeLine(line, used);
}

void endLine(char (&line)[kHistoryLineSize], const char* id, uint64_t seconds, bool cutShort) {
    char number[24];
    decimalText(number, seconds);
    size_t used = 0;
    line[0] = '\0';
    for (const char* field : {"E", id, static_cast<const char*>(number), cutShort ? "1" : "0"})
        putField(line, used, field);
    closeLine(line, used);
}

bool historyFilePath(char (&path)[kTextSize]) {
    return dataFilePath(path, context->systemName, ".history.txt");
}

bool appendHistoryLine(const char* path, const char* line) {
    char bytes[kHistoryLineSize + 2] = "\r\n";
    size_t length = std::strlen(line);
    if (length + 2 >= sizeof bytes) return false;
    std::memcpy(bytes + 2, line, length);
    return platform::appendToFile(path, bytes, length + 2);
}

// The starts waiting for their end while a history is read; reset by beginHistory.
Pending pending[kPending];
int pendingCount = 0, pendingNext = 0;

bool beginHistory(HistoryTable& table) {
    releaseHistory(table);
    if (!roomForGame(table)) return false;
    resetIndex(table.index, table.games, sizeof(GameHistory), offsetof(GameHistory, key));
    pendingCount = pendingNext = 0;
    return true;
}

bool readHistoryText(const char* text, size_t length, HistoryTable& table) {
    if (!beginHistory(table)) return false;
    readHistoryLines(text, length, table);
    return true;
}

void readHistoryLines(const char* text, size_t length, HistoryTable& table) {
    const char* line = nullptr;
    size_t lineLength = 0;
    for (size_t at = 0; nextLine(text, length, at, line, lineLength);) {
        const char* f[12];
        size_t n[12];
        int count = splitFields(line, lineLength, f, n, 12);
        if (count < 2 || n[count - 1] != 1 || f[count - 1][0] != '.' || n[0] != 1) continue;
        char type = f[0][0];
        if (type == 'S' && count == 9) {
            // Each text is checked to fit before anything is kept; a newer play's texts are
            // taken straight into the game.
            char key[kTextSize], stamp[kStampSize], id[24];
            bool fits = n[3] > 0 && takeBytes(key, sizeof key, f[3], n[3]) &&
                        takeBytes(stamp, sizeof stamp, f[2], n[2]) &&
                        takeBytes(id, sizeof id, f[1], n[1]);
            for (int i = 4; i <= 7 && fits; ++i) fits = n[i] < kTextSize;
            if (!fits) continue;
            int32_t game = gameOf(table, key, "");
            if (game < 0) continue;
            GameHistory& g = table.games[game];
            ++g.plays;
            ++g.unknownPlays;  // until its end is read
            if (std::strcmp(stamp, g.lastPlayed) >= 0) {
                std::memcpy(g.lastPlayed, stamp, sizeof stamp);
                takeBytes(g.name, sizeof g.name, f[4], n[4]);
                takeBytes(g.set, sizeof g.set, f[5], n[5]);
                takeBytes(g.emulator, sizeof g.emulator, f[6], n[6]);
                takeBytes(g.exe, sizeof g.exe, f[7], n[7]);
            }
            Pending& p = pending[pendingNext];
            std::memcpy(p.id, id, sizeof id);
            p.game = game;
            pendingNext = (pendingNext + 1) % kPending;
            if (pendingCount < kPending) ++pendingCount;
        } else if (type == 'E' && count == 5) {
            char id[24];
            uint64_t seconds = 0;
            if (!takeBytes(id, sizeof id, f[1], n[1]) || !takeNumber(seconds, f[2], n[2])) continue;
            for (int i = 1; i <= pendingCount; ++i) {
                Pending& p = pending[(pendingNext - i + kPending) % kPending];
                if (p.game < 0 || std::strcmp(p.id, id) != 0) continue;
                GameHistory& g = table.games[p.game];
                --g.unknownPlays;
                g.seconds += seconds;
                p.game = -1;  // an id ends once
                break;
            }
        } else if (type == 'T' && count == 11) {
            char key[kTextSize], name[kTextSize], set[kTextSize], stamp[kStampSize],
                emulator[kTextSize], exe[kTextSize];
            uint64_t plays = 0, seconds = 0, unknown = 0;
            if (!takeBytes(key, sizeof key, f[1], n[1]) ||
                !takeBytes(name, sizeof name, f[2], n[2]) ||
                !takeBytes(set, sizeof set, f[3], n[3]) || !takeNumber(plays, f[4], n[4]) ||
                !takeNumber(seconds, f[5], n[5]) || !takeNumber(unknown, f[6], n[6]) ||
                !takeBytes(stamp, sizeof stamp, f[7], n[7]) ||
                !takeBytes(emulator, sizeof emulator, f[8], n[8]) ||
                !takeBytes(exe, sizeof exe, f[9], n[9]) || key[0] == '\0' || plays > 1000000 ||
                unknown > plays)
                continue;
            int32_t game = gameOf(table, key, name);
            if (game < 0) continue;
            GameHistory& g = table.games[game];
            g.plays += int32_t(plays);
            g.unknownPlays += int32_t(unknown);
            g.seconds += seconds;
            notePlay(g, stamp, name, set, emulator, exe);
        }
    }
}

void releaseHistory(HistoryTable& table) {
    platform::release(table.games);
    table.games = nullptr;
    table.count = 0;
    table.capacity = 0;
}

size_t compactHistoryText(char* out, size_t size, const HistoryTable& table, const bool* dropped) {
    size_t used = 0;
    for (int32_t i = 0; i < table.count; ++i) {
        if (dropped != nullptr && dropped[i]) continue;
        const GameHistory& g = table.games[i];
        char plays[24], seconds[24], unknown[24];
        decimalText(plays, uint64_t(g.plays < 0 ? 0 : g.plays));
        decimalText(seconds, g.seconds);
        decimalText(unknown, uint64_t(g.unknownPlays < 0 ? 0 : g.unknownPlays));
        char line[kHistoryLineSize];
        size_t n = 0;
        line[0] = '\0';
        for (const char* field :
             {"T", g.key, g.name, g.set, static_cast<const char*>(plays),
              static_cast<const char*>(seconds), static_cast<const char*>(unknown), g.lastPlayed,
              g.emulator, g.exe})
            putField(line, n, field);
        closeLine(line, n);
        n = std::strlen(line);
        if (used + n + 2 > size) return 0;
        std::memcpy(out + used, line, n);
        used += n;
        out[used++] = '\r';
        out[used++] = '\n';
    }
    return used;
}

void playTimeText(char (&text)[24], uint64_t seconds) {
    std::snprintf(text, sizeof text, "%llu:%02u:%02u",
                  static_cast<unsigned long long>(seconds / 3600), unsigned(seconds / 60 % 60),
                  unsigned(seconds % 60));
}

void lastPlayedText(char (&text)[kStampSize], const char* stamp) {
    copyText(text, stamp);
    if (std::strlen(text) == 19) text[16] = '\0';  // the seconds are not shown
}

}  // namespace lb
