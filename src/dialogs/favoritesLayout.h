// The favourites dialog's frame: where it opens (where it was closed, when that place is still
// on a screen), how its controls follow its size, and the favourites list's columns, their
// order and widths kept in the state and their sort arrows.
#pragma once

#include <windows.h>

namespace lb {

void placeFavoritesDialog(HWND dialog);
void layoutFavoritesDialog(HWND dialog);

// The favourites list's columns as stored; their order and widths stored back; the arrow on
// the sorted column.
void setupFavoriteColumns(HWND dialog);
void storeFavoriteColumns(HWND dialog);
void updateSortMarks(HWND dialog);

}  // namespace lb
