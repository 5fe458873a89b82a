// The play history of each system: a text file beside the favourites ("<system>.history.txt",
// Shift-JIS, lines between CR LF) to which a launch appends a start line and the end of its
// session an end line, each with one write, so a line is never rewritten in place. A line ends
// in a "." field, so a line torn by a crash is known and ignored; each append begins a new line.
// Past 1 MB the file is compacted to one line per game, through a temporary file and a replace.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/keyIndex.h"
#include "core/text.h"

namespace lb {

constexpr size_t kStampSize = 20;  // "YYYY/MM/DD HH:MM:SS" and the NUL
constexpr size_t kHistoryLineSize = 4 * kTextSize + 128;

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
// Appends CR LF and the line to the file with one write; false when that failed.
bool appendHistoryLine(const char* path, const char* line);

// One game of the history, its plays summed up.
struct GameHistory {
    char key[kTextSize];
    char name[kTextSize];
    char set[kTextSize];
    char emulator[kTextSize];  // of the last play
    char exe[kTextSize];
    char lastPlayed[kStampSize];
    int32_t plays;
    int32_t unknownPlays;  // starts without an end: the host ended before the game did
    uint64_t seconds;
};

constexpr int32_t kMaxGames = KeyIndex::kMaxEntries;
// The games of a history file, in the order first seen, with an index by key. Room for
// kMaxGames is taken from platform::allocate with the first game, and released by releaseHistory.
struct HistoryTable {
    int32_t count;
    int32_t capacity;
    GameHistory* games;
    KeyIndex index;
};

// Reads a history file's text into `table`, replacing what it held: start, end and total
// lines. A line that is torn (no final "." field) or damaged is ignored; an end whose start is
// unknown too. False when the games cannot be allocated.
bool readHistoryText(const char* text, size_t length, HistoryTable& table);
void releaseHistory(HistoryTable& table);
// The same in pieces: an empty table, then whole lines, a piece at a time.
bool beginHistory(HistoryTable& table);
void readHistoryLines(const char* text, size_t length, HistoryTable& table);

// The compacted text of a table: one total line per game,
// "T<TAB>key<TAB>name<TAB>set<TAB>plays<TAB>seconds<TAB>unknown<TAB>last played<TAB>emulator<TAB>
// exe<TAB>."
// The games marked in `dropped` (when given) are left out. The length written, or 0 when it
// does not fit `size`.
size_t compactHistoryText(char* out, size_t size, const HistoryTable& table,
                          const bool* dropped = nullptr);

// The history's texts as the list shows them: "H:MM:SS" and "YYYY/MM/DD HH:MM".
void playTimeText(char (&text)[24], uint64_t seconds);
void lastPlayedText(char (&text)[kStampSize], const char* stamp);

}  // namespace lb
