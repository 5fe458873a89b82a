// The current system's favourites: the ".fvr" file (the system's name in a 260-byte header, a
// count, then the entries) and adding and removing ROMs selected in the host.
#pragma once

#include <cstdint>

#include "core/hostInterface.h"
#include "core/records.h"

namespace lb {

// Reads the current system's favourites; on a list that is not an arcade list, drops those the
// host cache no longer knows and writes the file back when that dropped one or the file was
// damaged; a file that already holds what a save would write is left alone. A cache without
// entries prunes nothing.
void loadFavorites();

// Writes `favoriteCount` and `favorites`; false when the old file had to be kept.
bool saveFavorites();

// Appends the chain's ROMs that are not favourites yet, while the list has room, and saves.
void addFavorites(const HostRomRecord* chain);

// Removes from `list` every entry whose key a chain record carries, keeping the order of the
// rest, and saves the state's list.
void removeFavorites(FavoriteEntry* list, int32_t& count, const HostRomRecord* chain);

// Whether the host's current list is an arcade list.
bool isArcadeList();

}  // namespace lb
