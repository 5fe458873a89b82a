// The history compacted: one total line per game, then the starts of games still running, so
// that a long file shrinks without losing a play; and games taken out of a table read.
#include "history/playHistory.h"

#include <cstring>
#include <initializer_list>

namespace lb {

namespace {

// The compacted text as it is written into a block of known room.
struct Output {
    char* out;
    size_t size;
    size_t used;
};

void put(Output& o, const char* text, size_t length) {
    std::memcpy(o.out + o.used, text, length);
    o.used += length;
}

// `length` bytes of a game's texts from `from`, the ends of its name, set and emulator
// written as the tabs they were.
void putTexts(Output& o, const GameHistory& g, const char* from, size_t length) {
    char* at = o.out + o.used;
    put(o, from, length);
    for (const char* next : {g.set, g.emulator, g.exe})
        if (next > from && next <= from + length) at[next - 1 - from] = '\t';
}

void putNumber(Output& o, int64_t value) {
    o.used += writeDecimal(o.out + o.used, uint64_t(value < 0 ? 0 : value));
    o.out[o.used++] = '\t';
}

void putStamp(Output& o, const char (&stamp)[kStampSize]) {
    size_t length = stamp[kStampSize - 2] != '\0' ? kStampSize - 1 : std::strlen(stamp);
    if (length == kStampSize - 1)
        std::memcpy(o.out + o.used, stamp, kStampSize - 1);  // the usual length: one move
    else
        std::memcpy(o.out + o.used, stamp, length);
    o.used += length;
    o.out[o.used++] = '\t';
}

// The room a game's total line takes at most, and a start line of its.
size_t totalsRoom(const GameHistory& g) {
    return g.keyLength + kStampSize + g.lastTextsLength + 3 * 21 + 8;
}

size_t startRoom(const OpenStart& start, const GameHistory& g) {
    return start.length + kStampSize + g.keyLength + g.lastTextsLength + 12;
}

// "T key name set plays seconds unknown lastPlayed emulator exe .", its open starts left out
// of its counts; false when it does not fit.
bool putTotals(Output& o, const GameHistory& g) {
    if (o.size - o.used < totalsRoom(g)) return false;
    // The texts were fields of lines: no tab, no line feed. Name and set, then emulator and
    // exe, are copied from the last play's texts as they stand there.
    size_t emulator = size_t(g.emulator - g.name);  // where the emulator starts in them
    put(o, "T\t", 2);
    put(o, g.key, g.keyLength);
    o.out[o.used++] = '\t';
    putTexts(o, g, g.name, emulator);
    putNumber(o, int64_t(g.plays) - g.openStarts);
    putNumber(o, int64_t(g.seconds));
    putNumber(o, int64_t(g.unknownPlays) - g.openStarts);
    putStamp(o, g.lastPlayed);
    putTexts(o, g, g.emulator, g.lastTextsLength - emulator);
    put(o, "\t.\r\n", 4);
    return true;
}

// "S id started key texts ." of the game's last texts; false when it does not fit.
bool putOpenStart(Output& o, const OpenStart& start, const GameHistory& g) {
    if (o.size - o.used < startRoom(start, g)) return false;
    put(o, "S\t", 2);
    put(o, start.id, start.length);
    o.out[o.used++] = '\t';
    putStamp(o, start.started);
    put(o, g.key, g.keyLength);
    o.out[o.used++] = '\t';
    putTexts(o, g, g.name, g.lastTextsLength);
    put(o, "\t.\r\n", 4);
    return true;
}

}  // namespace

size_t compactedRoom(const HistoryTable& table) {
    size_t room = 1;
    for (int32_t i = 0; i < table.count; ++i) room += totalsRoom(table.games[i]);
    for (int32_t i = 1; i <= table.openCount; ++i) {
        const OpenStart& start = table.open[(table.openNext - i + kOpenStarts) % kOpenStarts];
        if (start.game >= 0) room += startRoom(start, table.games[start.game]);
    }
    return room;
}

size_t compactHistoryText(char* out, size_t size, const HistoryTable& table, const bool* dropped) {
    Output o{out, size, 0};
    for (int32_t i = 0; i < table.count; ++i)
        if ((dropped == nullptr || !dropped[i]) && !putTotals(o, table.games[i])) return 0;
    // The open starts, oldest first.
    for (int32_t i = table.openCount; i >= 1; --i) {
        const OpenStart& start = table.open[(table.openNext - i + kOpenStarts) % kOpenStarts];
        if (start.game < 0 || (dropped != nullptr && dropped[start.game])) continue;
        if (!putOpenStart(o, start, table.games[start.game])) return 0;
    }
    return o.used;
}

void dropGames(HistoryTable& table, const bool* dropped) {
    static int32_t now[kMaxGames];  // each game's place after the drop, -1 when dropped
    int32_t kept = 0;
    for (int32_t i = 0; i < table.count; ++i) {
        now[i] = dropped[i] ? -1 : kept;
        if (!dropped[i]) table.games[kept++] = table.games[i];
    }
    table.count = kept;
    indexTable(table.index, table.games, kept, sizeof(GameHistory), offsetof(GameHistory, key),
               true);
    for (int32_t i = 1; i <= table.openCount; ++i) {
        OpenStart& start = table.open[(table.openNext - i + kOpenStarts) % kOpenStarts];
        if (start.game >= 0) start.game = now[start.game];
    }
}

}  // namespace lb
