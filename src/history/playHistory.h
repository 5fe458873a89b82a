// The play history of each system: a text file beside the favourites ("<system>.history.txt",
// Shift-JIS, lines between CR LF) to which a launch appends a start line and the end of its
// session an end line, each with one write, so a line is never rewritten in place. A line ends
// in a "." field, so a line torn by a crash is known and ignored; each append begins a new line.
// Past 1 MB the file is compacted to one line per game, through a temporary file and a replace.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/fileIo.h"
#include "core/keyIndex.h"
#include "core/text.h"

namespace lb {

constexpr size_t kStampSize = 20;                   // "YYYY/MM/DD HH:MM:SS" and the NUL
constexpr size_t kHistoryLineSize = 8 * kTextSize;  // seven texts and the rest

// What a start line records; `id` pairs it with its end line.
struct PlayStart {
    char id[24];
    char started[kStampSize];  // local time
    char key[kTextSize];       // the ROM's key, never a path: moving the ROMs keeps the history
    char name[kTextSize];
    char set[kTextSize];  // the host's Comment: an arcade list's set name
    char emulator[kTextSize];
    char exe[kTextSize];
};

// "S<TAB>id<TAB>started<TAB>key<TAB>name<TAB>set<TAB>emulator<TAB>exe<TAB>." and
// "E<TAB>id<TAB>seconds<TAB>cut<TAB>."; a tab or line end inside a text is written as a blank.
void startLine(char (&line)[kHistoryLineSize], const PlayStart& start);
void endLine(char (&line)[kHistoryLineSize], const char* id, uint64_t seconds, bool cutShort);

// The history file of the current system.
bool historyFilePath(char (&path)[kTextSize]);
// Appends CR LF and the line to the file with one write; false, the error in `*error` when
// given, when that failed.
bool appendHistoryLine(const char* path, const char* line, uint32_t* error = nullptr);

// One game of the history, its plays summed up. The fields that a play reads come first. Its
// texts are held by the table: `lastTexts`, the four texts of its last play between tabs, and
// once every line is read (finishHistory), the same copy split where it stands, its tabs made
// NULs, into name, set, emulator and exe.
struct GameHistory {
    const char* key;
    const char* lastTexts;
    uint32_t lastTextsLength;
    uint32_t keyLength;  // so that a compaction need not measure the key again
    char lastPlayed[kStampSize];  // zero-filled after its NUL, for compareStamps
    int32_t plays;
    int32_t unknownPlays;  // starts without an end: the host ended before the game did
    int32_t openStarts;    // of those, the ones among the table's open starts
    uint64_t seconds;
    const char* name;
    const char* set;
    const char* emulator;  // of the last play
    const char* exe;
};

// How two stamps order, as strcmp orders them: they are zero-filled after their NUL, so they
// compare as words, most significant byte first.
inline int compareStamps(const char (&a)[kStampSize], const char (&b)[kStampSize]) {
    static_assert(kStampSize == 20);
    for (size_t at = 0; at < 16; at += 8) {
        uint64_t x, y;
        std::memcpy(&x, a + at, 8);
        std::memcpy(&y, b + at, 8);
        if (x != y) return __builtin_bswap64(x) < __builtin_bswap64(y) ? -1 : 1;
    }
    uint32_t x, y;
    std::memcpy(&x, a + 16, 4);
    std::memcpy(&y, b + 16, 4);
    if (x == y) return 0;
    return __builtin_bswap32(x) < __builtin_bswap32(y) ? -1 : 1;
}

struct HistoryTexts;  // blocks of the games' texts, each kept once and never moved

// A start read without its end, among the newest kOpenStarts such starts: a start leaves them
// when its end is read, so a session finds its start however many plays were recorded while it
// ran. A compaction writes these again as starts, so that the end of a game still running then
// still finds its start.
constexpr int kOpenStarts = 4096;
struct OpenStart {
    char id[24];
    size_t length;
    char started[kStampSize];
    int32_t game;  // -1 once its end was read
};

constexpr int32_t kMaxGames = KeyIndex::kMaxEntries;
// The games of a history file, in the order first seen, with an index by key. Room for
// kMaxGames is taken from platform::allocate with the first game, and released with the texts
// by releaseHistory. A game is a few dozen bytes: a play of a known game touches one record.
struct HistoryTable {
    int32_t count;
    int32_t capacity;
    int32_t unread;  // plays of games past kMaxGames, which a compaction would lose
    GameHistory* games;
    HistoryTexts* texts;
    // kOpenStarts of them, taken with the games: a ring of the openCount slots before openNext,
    // oldest first.
    OpenStart* open;
    int32_t openCount;
    int32_t openNext;
    KeyIndex index;
};

// Reads a history file's text into `table`, replacing what it held: start, end and total
// lines. A line that is torn (no final "." field) or damaged is ignored; an end whose start is
// unknown too. False when the games cannot be allocated.
bool readHistoryText(const char* text, size_t length, HistoryTable& table);
void releaseHistory(HistoryTable& table);
// Takes the games marked in `dropped` out of the table and its open starts.
void dropGames(HistoryTable& table, const bool* dropped);
// The same in pieces: an empty table, then whole lines, a piece at a time.
bool beginHistory(HistoryTable& table);
void readHistoryLines(const char* text, size_t length, HistoryTable& table);
// Splits each game's last texts into its name, set, emulator and exe, once every line is read:
// no line can be read into the table after it.
void finishHistory(HistoryTable& table);

// The compacted text of a table: one total line per game,
// "T<TAB>key<TAB>name<TAB>set<TAB>plays<TAB>seconds<TAB>unknown<TAB>last played<TAB>emulator<TAB>
// exe<TAB>.", its open starts left out of its counts and written after the totals as start
// lines of its last play's texts. The games marked in `dropped` (when given) are left out. The
// length written, or 0 when it does not fit `size`.
size_t compactHistoryText(char* out, size_t size, const HistoryTable& table,
                          const bool* dropped = nullptr);
// The room that compactHistoryText needs for the table at most.
size_t compactedRoom(const HistoryTable& table);

// Reads the history file at `path` a piece at a time, whole lines each, into `table`: Read,
// Missing (also when the games cannot be allocated) or Unreadable, which leaves it empty. The
// file's length in `size`.
FileRead readHistoryFile(const char* path, HistoryTable& table, size_t& size);
// Saves the table's games but the `dropped` ones (when given) as the compacted file, through a
// temporary file and a replace. False when it cannot be made or saved; never an empty file for
// a table that keeps a game, and never a table that could not read every game (`unread`). The
// caller holds the file (platform::holdFile); an append that could not wait for the hold may
// still land, so the file is replaced only while it has the `readSize` bytes that were read
// (false otherwise, the file as it is). A compacted text longer than `within` is not saved
// (true).
bool saveCompactedHistory(const char* path, const HistoryTable& table, const bool* dropped,
                          size_t within, int64_t readSize);

// Removes the games of `keys` from the history file as it is now: held, read again, saved
// compacted without them, read and saved again when a play was appended meanwhile. False when
// it cannot be held, read or saved; the file is as it was, and lastError tells why.
bool deleteHistoryGames(const char* path, const char* const* keys, int32_t count);

// The history's texts as the list shows them: "H:MM:SS" and "YYYY/MM/DD HH:MM".
void playTimeText(char (&text)[24], uint64_t seconds);
void lastPlayedText(char (&text)[kStampSize], const char* stamp);

}  // namespace lb
