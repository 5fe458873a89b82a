// The favourites dialog's frame: where it opens (where it was closed, when that place is still
// on a screen), how its controls follow its size, and the favourites list's columns, their
// order and widths kept in the state and their sort arrows.
#pragma once

#include <windows.h>

#include <cstdint>

namespace lb {

void placeFavoritesDialog(HWND dialog);
void layoutFavoritesDialog(HWND dialog);

// The favourites list's columns as stored; their order and widths stored back; the arrow on
// the sorted column.
void setupFavoriteColumns(HWND dialog);
void storeFavoriteColumns(HWND dialog);
void updateSortMarks(HWND dialog);

// Keeps the dialog's rectangle in "Setting.dat"'s units: a minimised or maximised dialog's
// restored one.
void storeFavoritesPlace(HWND dialog);

// The dialog moved to a monitor of another scale (WM_DPICHANGED): it takes the rectangle
// Windows suggests, its columns scale with it, and it is laid out again.
void rescaleFavoritesDialog(HWND dialog, int32_t dpi, const RECT& suggested);

}  // namespace lb
