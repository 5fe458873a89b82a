// The favourites dialog's second view, 最近遊んだゲーム: the current system's played games read
// from its history file, one row per game, most recent first and sorted by any column both
// ways. Each row is also a favourite-shaped record (the Name, the last emulator as Publisher,
// the key as CRC32), so the favourites' filter and type-to-find serve the view unchanged.
#pragma once

#include <cstdint>

#include "core/fileIo.h"
#include "core/hostInterface.h"
#include "core/records.h"
#include "history/playHistory.h"

namespace lb {

constexpr int32_t kHistoryColumnCount = 5;
extern const char* const historyColumnNames[kHistoryColumnCount];

struct HistoryView {
    HistoryTable table;
    FavoriteEntry* rows;  // by shown order: the game's texts for the filter, made by historyRows
    int32_t* games;       // by shown order: the game of the table
    bool* favorite;       // by game of the table: also one of the favourites
    int32_t count;
    int32_t sortColumn;  // 1, the last play, when the view opens
    bool descending;
};
// Set by openHistoryView, sortHistoryView and deleteHistoryRows; read by the favourites dialog.
extern HistoryView historyView;

// Reads the current system's history, compacting a file past 1 MB first, and marks the games
// that are among `favorites`. A file that cannot be read shows nothing and is Unreadable.
FileRead openHistoryView(const FavoriteEntry* favorites, int32_t favoriteCount);
void closeHistoryView();

// Sorts the rows by `column`; `order[i]` is the row that row i was, as reorderFilter takes it.
void sortHistoryView(int32_t column, bool descending, int32_t* order);
// The rows as favourite-shaped records in the shown order, made at the first call after an
// opening or a sort: the filter folds them once, at its first key.
const FavoriteEntry* historyRows();

// A row's text in a column: "★" before the name of a favourite, the last play's date, the
// number of plays, the time played, the last emulator.
const char* historyColumnText(int32_t row, int32_t column);
const GameHistory* historyGame(int32_t row);

// The last emulator of a game, or of the game of a favourite's key, as an index of the state's
// list; -1 when it is not registered any more (or the key was never played).
int32_t lastEmulatorIndex(const GameHistory& game);
int32_t lastEmulatorOfKey(const char* key);

// A one-record chain of the row's game (its key, name and set name), valid until the next call.
HostRomRecord* historyChain(int32_t row);

// Removes the rows' games from the history: the file is saved without them, compacted, through
// a temporary file and a replace. False, told, when it cannot be saved; nothing changes then.
bool deleteHistoryRows(const int32_t* rows, int32_t count);

// Which view the dialog opens on: the one it was closed on, kept in "FavoritesTab.txt" beside
// "Setting.dat".
bool historyTabStored();
void storeHistoryTab(bool history);

}  // namespace lb
