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

// The last texts of a game whose play has not kept its own: four empty texts.
const char kNoLastTexts[] = "\t\t\t";

// A copy of `length` bytes and a NUL held by the table; nullptr when no room can be had. A
// block is taken when the last one is full: texts are never moved.
char* keepText(HistoryTable& table, const char* text, size_t length) {
    HistoryTexts* block = table.texts;
    // kTextSize bytes stay free behind each text, so a key can be compared a word at a time.
    if (block == nullptr || sizeof block->bytes - block->used < length + 1 + kTextSize) {
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
    static const char kNo[4] = {};  // four empty texts in a row, as finishHistory splits them
    uint32_t n = uint32_t(length);
    table.games[game] =
        GameHistory{kept, kNoLastTexts, 3, n, "", 0, 0, 0, 0, kNo, kNo + 1, kNo + 2, kNo + 3};
    addToIndex(table.index, game, hash);
    return game;
}

// A play's four texts, the name, set, emulator and exe fields between tabs, and once they are
// known to be whole texts, each one's length.
struct PlayTexts {
    const char* texts;
    size_t length;
    size_t n[4];
};

// Whether the texts are those of the game's last play.
bool sameTexts(const GameHistory* game, const PlayTexts& play) {
    return game != nullptr && play.length == game->lastTextsLength &&
           std::memcmp(play.texts, game->lastTexts, play.length) == 0;
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

// Whether the texts are four fields of whole texts, their lengths noted.
bool fourTexts(PlayTexts& play) {
    const char* f[4];
    size_t* n = play.n;
    return splitFields(play.texts, play.texts + play.length, f, n, 4) && n[0] < kTextSize &&
           n[1] < kTextSize && n[2] < kTextSize && n[3] < kTextSize;
}

// The game of the key field, added when new: -1 when the table is full or when the texts are
// not four whole texts, as in a damaged line. `known` tells whether they are the last play's:
// then they were checked when they were kept, and are not split again.
int32_t gameOf(HistoryTable& table, const char* key, size_t length, uint32_t hash, PlayTexts& play,
               bool& known) {
    int32_t game = findFirst(table.index, key, length, hash);
    known = sameTexts(game >= 0 ? &table.games[game] : nullptr, play);
    if (!known && !fourTexts(play)) return -1;
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

// A play of the stamp field and of its texts: a later stamp than the game's replaces its texts
// of the last play. The stamps sort as texts. Texts are kept again only when they changed; the
// four fields point into the kept copy, and end there once every line is read (finishHistory).
void notePlay(HistoryTable& table, GameHistory& g, const char (&stamp)[kStampSize],
              const PlayTexts& play, bool known) {
    if (compareStamps(g.lastPlayed, stamp) > 0) return;
    std::memcpy(g.lastPlayed, stamp, kStampSize);
    if (known) return;
    const char* kept = keepText(table, play.texts, play.length);
    if (kept == nullptr) return;
    g.lastTexts = kept;
    g.lastTextsLength = uint32_t(play.length);
    g.name = kept;
    g.set = g.name + play.n[0] + 1;
    g.emulator = g.set + play.n[1] + 1;
    g.exe = g.emulator + play.n[2] + 1;
}

// A start line's fields: the id, the stamp and the key, each ended by its tab, then the four
// texts as the line has them, with the key's hash. The tabs are kept as found: the fields are
// measured from them where they are read.
struct StartFields {
    const char* id;
    const char* tabs[3];  // after the id, the stamp and the key
    const char* texts;
    size_t length;
    uint32_t hash;
    const char* stamp() const { return tabs[0] + 1; }
    const char* key() const { return tabs[1] + 1; }
    size_t idLength() const { return size_t(tabs[0] - id); }
    size_t stampLength() const { return size_t(tabs[1] - tabs[0]) - 1; }
    size_t keyLength() const { return size_t(tabs[2] - tabs[1]) - 1; }
};

// "S id started key name set emulator exe .", up to its end before "\t.": false for a damaged
// one.
bool splitStart(const char* line, const char* end, StartFields& s) {
    s.id = line + 2;
    if (findBytes('\t', s.id, end, s.tabs, 3) < 3) return false;  // a NUL before them is damage
    if (s.idLength() >= sizeof(OpenStart::id) || s.stampLength() >= kStampSize ||
        s.keyLength() == 0 || s.keyLength() >= kTextSize)
        return false;
    s.texts = s.tabs[2] + 1;
    s.length = size_t(end - s.texts);
    s.hash = hashKey(s.key(), s.keyLength());
    return true;
}

// A start: one more play, of unknown time until its end. The four texts are split only when
// they are not the last play's.
void readStart(HistoryTable& table, const StartFields& s) {
    bool known = false;
    PlayTexts play{s.texts, s.length, {}};
    int32_t game = gameOf(table, s.key(), s.keyLength(), s.hash, play, known);
    if (game < 0) return;
    GameHistory& g = table.games[game];
    addCapped(g.plays, 1);
    addCapped(g.unknownPlays, 1);  // until its end is read
    char started[kStampSize];
    takeStamp(started, s.stamp(), s.stampLength());
    notePlay(table, g, started, play, known);
    OpenStart& start = table.open[table.openNext];
    if (start.game >= 0 && table.openCount == kOpenStarts) --table.games[start.game].openStarts;
    std::memcpy(start.started, started, sizeof started);
    if (s.stampLength() == kStampSize - 1)
        std::memcpy(start.id, s.id, sizeof start.id);  // one move: the stamp follows the id
    else
        std::memcpy(start.id, s.id, s.idLength());
    start.length = s.idLength();
    start.game = game;
    ++g.openStarts;
    table.openNext = (table.openNext + 1) % kOpenStarts;
    if (table.openCount < kOpenStarts) ++table.openCount;
}

// Whether `id`, `length` bytes of a line that lasts to `lineEnd`, is the start's id. An id of
// one to eight bytes, which has eight bytes of its line to read, is compared as one word.
bool sameId(const OpenStart& start, const char* id, size_t length, const char* lineEnd) {
    if (start.length != length) return false;
    if (length == 0 || length > 8 || lineEnd - id < 8)
        return std::memcmp(start.id, id, length) == 0;
    uint64_t held, read;
    std::memcpy(&held, start.id, 8);
    std::memcpy(&read, id, 8);
    return ((held ^ read) & (~uint64_t(0) >> (64 - 8 * length))) == 0;  // little-endian
}

// "E id seconds cut .", up to its end before "\t.": the time of the newest start of that id,
// which ends once. Read without splitting: the id up to its tab, the digits up to theirs.
void readEnd(HistoryTable& table, const char* line, const char* end) {
    // The id, one to 15 digits, then the cut field, the last one; a NUL ends the line there.
    const char* id = line + 2;
    const char* idEnd = findByteOrNul('\t', id, end);
    if (idEnd == end || *idEnd != '\t') return;
    uint64_t seconds = 0;
    const char* digitsEnd = readDigits(seconds, idEnd + 1, end, 15);
    if (digitsEnd == idEnd + 1 || digitsEnd == end || *digitsEnd != '\t') return;
    const char* cutEnd = findByteOrNul('\t', digitsEnd + 1, end);
    if (cutEnd != end && *cutEnd == '\t') return;  // a tab after the last field
    size_t idLength = size_t(idEnd - id);
    for (int i = 1; i <= table.openCount; ++i) {
        OpenStart& start = table.open[(table.openNext - i + kOpenStarts) % kOpenStarts];
        if (start.game < 0 || !sameId(start, id, idLength, end + 2)) continue;
        GameHistory& g = table.games[start.game];
        --g.unknownPlays;
        --g.openStarts;
        addSeconds(g.seconds, seconds);
        // It leaves the ring: the newer starts move back by one, in their order.
        for (int newer = i; newer > 1; --newer)
            table.open[(table.openNext - newer + kOpenStarts) % kOpenStarts] =
                table.open[(table.openNext - newer + 1 + kOpenStarts) % kOpenStarts];
        table.openNext = (table.openNext - 1 + kOpenStarts) % kOpenStarts;
        --table.openCount;
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
    PlayTexts play{texts, length, {}};
    int32_t game = gameOf(table, f[1], n[1], hashKey(f[1], n[1]), play, known);
    if (game < 0) return;
    GameHistory& g = table.games[game];
    addCapped(g.plays, plays);
    addCapped(g.unknownPlays, unknown);
    addSeconds(g.seconds, seconds);
    char stamp[kStampSize];
    takeStamp(stamp, f[7], n[7]);
    notePlay(table, g, stamp, play, known);
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
    finishHistory(table);
    return true;
}

void finishHistory(HistoryTable& table) {
    for (int32_t i = 0; i < table.count; ++i) {
        GameHistory& g = table.games[i];
        if (g.lastTexts == kNoLastTexts) continue;  // its texts stay empty
        // The game's own copy in the table's blocks: the tabs before set, emulator and exe
        // become the ends of the texts before them.
        for (const char* text : {g.set, g.emulator, g.exe}) const_cast<char*>(text)[-1] = '\0';
    }
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
