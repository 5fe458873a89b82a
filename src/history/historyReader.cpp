// The history read back: its lines summed up into one record per game, ends paired with their
// starts by id, games found through the key index, texts kept once in blocks beside the games.
#include "history/playHistory.h"

#include <cstring>
#include <initializer_list>

#include "platform/platform.h"

namespace lb {

struct HistoryTexts {
    HistoryTexts* next;
    size_t used;
    char bytes[1 << 16];
};

namespace {

// A count or a number of seconds in the file: at most 15 digits.
bool takeNumber(uint64_t& value, const char* text, size_t length) {
    return takeDecimal(value, text, length, 15);
}

// Counts saturate: a hostile file cannot wrap them round.
void addCapped(int32_t& count, uint64_t more) {
    count = more >= uint64_t(INT32_MAX - count) ? INT32_MAX : count + int32_t(more);
}

void addSeconds(uint64_t& seconds, uint64_t more) {
    seconds = seconds + more < seconds ? UINT64_MAX : seconds + more;
}

// A copy of `length` bytes and a NUL held by the table; nullptr when no room can be had. A
// block is taken when the last one is full: texts are never moved.
char* keepText(HistoryTable& table, const char* text, size_t length) {
    HistoryTexts* block = table.texts;
    if (block == nullptr || sizeof block->bytes - block->used < length + 1) {
        block = static_cast<HistoryTexts*>(platform::allocate(sizeof(HistoryTexts)));
        if (block == nullptr) return nullptr;
        block->next = table.texts;
        block->used = 0;
        table.texts = block;
    }
    char* kept = block->bytes + block->used;
    std::memcpy(kept, text, length);
    kept[length] = '\0';
    block->used += length + 1;
    return kept;
}

// Room for one more game. The whole table is taken at once and never moved.
bool roomForGame(HistoryTable& table) {
    if (table.count < table.capacity) return true;
    if (table.games != nullptr) return false;
    table.games =
        static_cast<GameHistory*>(platform::allocate(sizeof(GameHistory) * size_t(kMaxGames)));
    table.open = static_cast<OpenStart*>(platform::allocate(sizeof(OpenStart) * kOpenStarts));
    if (table.games == nullptr || table.open == nullptr) {
        releaseHistory(table);
        return false;
    }
    table.capacity = kMaxGames;
    return true;
}

// A new game of the key field; -1 when the table is full.
int32_t addGame(HistoryTable& table, const char* key, size_t length, uint32_t hash) {
    const char* kept = roomForGame(table) ? keepText(table, key, length) : nullptr;
    if (kept == nullptr) {
        ++table.unread;
        return -1;
    }
    int32_t game = table.count++;
    static const char kNoTexts[4] = {};  // four empty texts in a row, as notePlay splits them
    table.games[game] = GameHistory{
        kept, kNoTexts, kNoTexts + 1, kNoTexts + 2, kNoTexts + 3, "\t\t\t", 3, "", 0, 0, 0, 0};
    addToIndex(table.index, game, hash);
    return game;
}

// Whether `texts`, the name, set, emulator and exe fields between tabs, are those of the game's
// last play.
bool sameTexts(const GameHistory* game, const char* texts, size_t length) {
    return game != nullptr && length == game->lastTextsLength &&
           std::memcmp(texts, game->lastTexts, length) == 0;
}

// Splits [line, end) at its tabs into exactly `count` fields; false for another number or a NUL.
bool splitFields(const char* line, const char* end, const char** f, size_t* n, int count) {
    if (std::memchr(line, '\0', size_t(end - line)) != nullptr) return false;
    for (int i = 0; i < count; ++i) {
        const void* tab = std::memchr(line, '\t', size_t(end - line));
        const char* stop = tab != nullptr ? static_cast<const char*>(tab) : end;
        f[i] = line;
        n[i] = size_t(stop - line);
        if (tab == nullptr) return i == count - 1;
        line = stop + 1;
    }
    return false;  // a tab after the last field
}

// Whether `texts` are four fields of whole texts.
bool fourTexts(const char* texts, size_t length) {
    const char* f[4];
    size_t n[4];
    return splitFields(texts, texts + length, f, n, 4) && n[0] < kTextSize && n[1] < kTextSize &&
           n[2] < kTextSize && n[3] < kTextSize;
}

// The game of the key field, added when new: -1 when the table is full or when `texts` are not
// four whole texts, as in a damaged line. `known` tells whether they are the last play's: then
// they were checked when they were kept.
int32_t gameOf(HistoryTable& table, const char* key, size_t length, uint32_t hash,
               const char* texts, size_t textsLength, bool& known) {
    int32_t game = findFirst(table.index, key, length, hash);
    known = sameTexts(game >= 0 ? &table.games[game] : nullptr, texts, textsLength);
    if (!known && !fourTexts(texts, textsLength)) return -1;
    return game >= 0 ? game : addGame(table, key, length, hash);
}

// A stamp field as a game keeps it: its bytes, then zeros. A stamp of the usual 19 characters
// is read as three words, the 20th byte read (the tab after it) made a zero.
void takeStamp(char (&kept)[kStampSize], const char* stamp, size_t length) {
    if (length != kStampSize - 1) {
        std::memset(kept, 0, sizeof kept);
        std::memcpy(kept, stamp, length);
        return;
    }
    uint64_t first, second;
    uint32_t last;
    std::memcpy(&first, stamp, 8);
    std::memcpy(&second, stamp + 8, 8);
    std::memcpy(&last, stamp + 16, 4);
    last &= 0x00FFFFFFu;
    std::memcpy(kept, &first, 8);
    std::memcpy(kept + 8, &second, 8);
    std::memcpy(kept + 16, &last, 4);
}

// A play of the stamp field and of `texts`: a later stamp than the game's replaces its texts of
// the last play. The stamps sort as texts. Texts are kept again only when they changed.
void notePlay(HistoryTable& table, GameHistory& g, const char (&stamp)[kStampSize],
              const char* texts, size_t length, bool known) {
    if (compareStamps(g.lastPlayed, stamp) > 0) return;
    std::memcpy(g.lastPlayed, stamp, kStampSize);
    if (known) return;
    const char* line = keepText(table, texts, length);
    char* split = line != nullptr ? keepText(table, texts, length) : nullptr;
    if (split == nullptr) return;
    g.lastTexts = line;
    g.lastTextsLength = length;
    const char** held[] = {&g.name, &g.set, &g.emulator, &g.exe};
    int field = 0;
    *held[0] = split;
    for (char* at = split; *at != '\0'; ++at) {
        if (*at != '\t') continue;
        *at = '\0';
        if (++field < 4) *held[field] = at + 1;
    }
}

// A start line's fields: id, started and key, then its four texts as the line has them, with
// the key's hash.
struct StartFields {
    const char* f[4];
    size_t n[4];
    const char* texts;
    size_t length;
    uint32_t hash;
};

// "S id started key name set emulator exe .", up to its end before "\t.": false for a damaged
// one.
bool splitStart(const char* line, const char* end, StartFields& s) {
    const char* at = line + 2;
    const char* tabs[3];
    if (findBytes('\t', at, end, tabs, 3) < 3) return false;  // a NUL before the key's end too
    for (int i = 1; i < 4; ++i) {
        s.f[i] = at;
        s.n[i] = size_t(tabs[i - 1] - at);
        at = tabs[i - 1] + 1;
    }
    if (s.n[1] >= sizeof(OpenStart::id) || s.n[2] >= kStampSize || s.n[3] == 0 ||
        s.n[3] >= kTextSize)
        return false;
    s.texts = at;
    s.length = size_t(end - at);
    s.hash = hashKey(s.f[3], s.n[3]);
    return true;
}

// A start: one more play, of unknown time until its end. The four texts are split only when
// they are not the last play's.
void readStart(HistoryTable& table, const StartFields& s) {
    const char* const* f = s.f;
    const size_t* n = s.n;
    bool known = false;
    int32_t game = gameOf(table, f[3], n[3], s.hash, s.texts, s.length, known);
    if (game < 0) return;
    GameHistory& g = table.games[game];
    addCapped(g.plays, 1);
    addCapped(g.unknownPlays, 1);  // until its end is read
    char started[kStampSize];
    takeStamp(started, f[2], n[2]);
    notePlay(table, g, started, s.texts, s.length, known);
    OpenStart& start = table.open[table.openNext];
    if (start.game >= 0 && table.openCount == kOpenStarts) --table.games[start.game].openStarts;
    std::memcpy(start.started, started, sizeof started);
    if (n[2] == kStampSize - 1)
        std::memcpy(start.id, f[1], sizeof start.id);  // one move: the stamp follows the id
    else
        std::memcpy(start.id, f[1], n[1]);
    start.length = n[1];
    start.game = game;
    ++g.openStarts;
    table.openNext = (table.openNext + 1) % kOpenStarts;
    if (table.openCount < kOpenStarts) ++table.openCount;
}

// "E id seconds cut .", up to its end before "\t.": the time of the newest start of that id,
// which ends once. Read without splitting: the id up to its tab, the digits up to theirs.
void readEnd(HistoryTable& table, const char* line, const char* end) {
    const char* id = line + 2;
    const char* tabs[3];
    // The id, one to 15 digits, then the cut field, the last one; a NUL ends the line there.
    if (findBytes('\t', id, end, tabs, 3) != 2) return;
    size_t idLength = size_t(tabs[0] - id);
    uint64_t seconds = 0;
    if (tabs[1] == tabs[0] + 1 || readDigits(seconds, tabs[0] + 1, end, 15) != tabs[1]) return;
    for (int i = 1; i <= table.openCount; ++i) {
        OpenStart& start = table.open[(table.openNext - i + kOpenStarts) % kOpenStarts];
        if (start.game < 0 || start.length != idLength || std::memcmp(start.id, id, idLength) != 0)
            continue;
        GameHistory& g = table.games[start.game];
        --g.unknownPlays;
        --g.openStarts;
        addSeconds(g.seconds, seconds);
        start.game = -1;
        return;
    }
}

// "T key name set plays seconds unknown lastPlayed emulator exe .": a compacted game's totals.
void readTotals(HistoryTable& table, const char* const* f, const size_t* n) {
    uint64_t plays = 0, seconds = 0, unknown = 0;
    if (n[1] == 0 || n[1] >= kTextSize || n[7] >= kStampSize || !takeNumber(plays, f[4], n[4]) ||
        !takeNumber(seconds, f[5], n[5]) || !takeNumber(unknown, f[6], n[6]) || plays > 1000000 ||
        unknown > plays)
        return;
    char texts[4 * kTextSize];
    size_t length = 0;
    for (int i : {2, 3, 8, 9}) {
        if (n[i] >= kTextSize) return;
        std::memcpy(texts + length, f[i], n[i]);
        length += n[i];
        texts[length++] = '\t';
    }
    bool known = false;
    --length;
    int32_t game = gameOf(table, f[1], n[1], hashKey(f[1], n[1]), texts, length, known);
    if (game < 0) return;
    GameHistory& g = table.games[game];
    addCapped(g.plays, plays);
    addCapped(g.unknownPlays, unknown);
    addSeconds(g.seconds, seconds);
    char stamp[kStampSize];
    takeStamp(stamp, f[7], n[7]);
    notePlay(table, g, stamp, texts, length, known);
}

// Whether a line without its line end is whole: it ends in a "." field; a torn one is passed
// over.
bool wholeLine(const char* line, size_t length) {
    return length >= 4 && line[1] == '\t' && line[length - 1] == '.' && line[length - 2] == '\t';
}

// A whole line but a start, which the caller split ahead.
void readLine(HistoryTable& table, const char* line, size_t length) {
    const char* end = line + length - 2;
    const char* f[10];
    size_t n[10];
    if (line[0] == 'E') {
        readEnd(table, line, end);
    } else if (line[0] == 'T' && splitFields(line, end, f, n, 10)) {
        readTotals(table, f, n);
    }
}

}  // namespace

bool beginHistory(HistoryTable& table) {
    releaseHistory(table);
    if (!roomForGame(table)) return false;
    resetIndex(table.index, table.games, sizeof(GameHistory), offsetof(GameHistory, key), true);
    table.openCount = table.openNext = 0;
    table.unread = 0;
    return true;
}

bool readHistoryText(const char* text, size_t length, HistoryTable& table) {
    if (!beginHistory(table)) return false;
    readHistoryLines(text, length, table);
    return true;
}

void readHistoryLines(const char* text, size_t length, HistoryTable& table) {
    // Lines are taken a batch at a time: the slots of the batch's keys, asked for as its starts
    // are split, arrive while the lines before them are read.
    constexpr int kBatch = 16;
    struct Pending {
        const char* line;
        size_t length;
        bool start;
        StartFields fields;
    } batch[kBatch];
    const char* end = text + length;
    for (const char* line = text; line < end;) {
        int count = 0;
        for (; count < kBatch && line < end; ++count) {
            const void* feed = std::memchr(line, '\n', size_t(end - line));
            const char* stop = feed != nullptr ? static_cast<const char*>(feed) : end;
            Pending& p = batch[count];
            p.line = line;
            p.length = size_t(stop - line) - (stop > line && stop[-1] == '\r' ? 1 : 0);
            p.start = p.length > 0 && line[0] == 'S' && wholeLine(line, p.length) &&
                      splitStart(line, line + p.length - 2, p.fields);
            if (p.start) prefetchSlot(table.index, p.fields.hash);
            line = stop + 1;
        }
        for (int i = 0; i < count; ++i) {
            if (batch[i].start)
                readStart(table, batch[i].fields);
            else if (wholeLine(batch[i].line, batch[i].length))
                readLine(table, batch[i].line, batch[i].length);
        }
    }
}

void releaseHistory(HistoryTable& table) {
    platform::release(table.games);
    platform::release(table.open);
    table.games = nullptr;
    table.open = nullptr;
    table.openCount = 0;
    while (table.texts != nullptr) {
        HistoryTexts* next = table.texts->next;
        platform::release(table.texts);
        table.texts = next;
    }
    table.count = 0;
    table.capacity = 0;
}

}  // namespace lb
