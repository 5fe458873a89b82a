// The current system's favourites: the ".fvr" file (the system's name in a 260-byte header, a
// count, then the entries) and adding and removing ROMs selected in the host.
#pragma once

#include <cstdint>

#include "core/fileIo.h"
#include "core/hostInterface.h"
#include "core/records.h"

namespace lb {

// Reads the current system's favourites; on a list that is not an arcade list, drops those the
// host cache no longer knows and writes the file back when that dropped one or the file was
// damaged; a file that already holds what a save would write is left alone. A cache without
// entries (missing, or unreadable) prunes nothing. False, with an empty list and nothing
// written, when the file exists but cannot be read: the user has been told.
bool loadFavorites();

// Keys that a read looks for as it reads each favourite: it notes which of them the list holds
// and, with `drop`, leaves those favourites out of the list.
constexpr int32_t kSearchKeys = 8;
struct KeySearch {
    const char* keys[kSearchKeys];
    int32_t count;
    bool drop;
    bool found[kSearchKeys];
};

// Whether `key` is one of the search's keys; marks each one it equals as found.
bool markSought(KeySearch& search, const char* key);

// Reads and prunes as loadFavorites does, looking for `search`'s keys when one is given, but
// writes nothing: for callers that save the list right after. `rewrite` tells whether
// loadFavorites would have written the file back. A file that cannot be read is told to the
// user and leaves an empty list, which must not be saved.
FileRead readFavorites(KeySearch* search, bool& rewrite);

// Writes `favoriteCount` and `favorites`, or another list, as the current system's file; false
// when the old file had to be kept.
bool saveFavorites();
bool saveFavoriteList(const FavoriteEntry* list, int32_t count);
// The same, telling the user when the save fails; and that message alone, for the save that
// just failed.
bool saveFavoritesAndTell();
void tellFavoritesSaveFailure();

// Appends the chain's ROMs that are not favourites yet, while the list has room, and saves,
// telling the user when that fails.
void addFavorites(const HostRomRecord* chain);

// Removes from `list` every entry whose key a chain record carries, keeping the order of the
// rest; saves nothing, so the favourites dialog's deletions stay in its working copy.
void removeFavorites(FavoriteEntry* list, int32_t& count, const HostRomRecord* chain);

// Removes the entries at `rows` (indexes into `list`), keeping the order of the rest; saves
// nothing.
void removeFavoriteRows(FavoriteEntry* list, int32_t& count, const int32_t* rows, int32_t rowCount);

// The popup's two favourites items: the current system's list is read and pruned, the chain's
// ROMs are added or removed, and the list is saved, once. A few selected ROMs are looked for
// while the list is read. A list that cannot be read is told and nothing is saved; a save that
// fails is told.
void addFavoritesFromPopup(const HostRomRecord* chain);
void removeFavoritesFromPopup(const HostRomRecord* chain);

// Whether the host's current list is an arcade list.
bool isArcadeList();

}  // namespace lb
