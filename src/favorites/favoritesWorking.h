// The favourites dialog's working copy and what the dialog decides without windows: the chain
// of selected favourites handed to a launch, the controls' places when the dialog is resized,
// and where the dialog opens.
#pragma once

#include <cstdint>

#include "core/hostInterface.h"
#include "core/pluginContext.h"
#include "core/records.h"

namespace lb {

// One copy of the stored favourites while the dialog is open; row i shows entry i. Allocated
// with exactly `favoriteCount` entries, none when the list is empty; its count only shrinks.
// Set by openWorkingFavorites and the favourites dialog's deletions; read by the dialog.
extern FavoriteEntry* workingFavorites;
// Set with workingFavorites; read by the favourites dialog and commitWorkingFavorites.
extern int32_t workingFavoriteCount;

// Copies the stored list into a new working copy; false when it cannot be allocated (the
// dialog then shows an empty list and commits nothing).
bool openWorkingFavorites();
// Adds a favourite at the end of the working copy (the history view's "お気に入りに追加");
// false when the list is full or the memory cannot be had.
bool appendWorkingFavorite(const FavoriteEntry& entry);
// The working copy, in its shown order, becomes the stored list.
void commitWorkingFavorites();
// The dialog's OK: saves the working copy and then commits it. A save that fails is told and
// commits nothing; false, and the dialog stays open.
bool saveWorkingFavorites();
void freeWorkingFavorites();

// The working copy sorted by the state's sort column and direction; `order` as sortFavorites
// gives it.
void sortWorkingFavorites(int32_t* order = nullptr);

// The lowest row whose key is `crc32`; 0 when there is none.
int32_t rowOfKey(const char* crc32);

// A chain of zero-filled host records for the given rows, each with fresh copies of the row's
// key, set name and Name, made in one allocation; null for no rows or when it cannot be
// allocated.
HostRomRecord* buildSelectionChain(const int32_t* rows, int32_t rowCount);
void releaseSelectionChain(HostRomRecord* chain);
int32_t chainLength(const HostRomRecord* chain);

// Places of the dialog's controls in client pixels. W and H are the client size, bw and bh the
// delete button's size, ch the check box's height, fh and lw the filter field's height and its
// label's width (0: no filter row), th the tabs' height; the margins are scaled to `dpi`. False
// when the dialog is minimised.
struct ControlRect {
    int32_t x, y, width, height;
};
struct FavoritesLayout {
    ControlRect deleteButton, deleteAllButton, closeOnLaunchBox, okButton, cancelButton, list;
    ControlRect filterLabel, filterField, tabs;
};
bool layoutFavorites(int32_t W, int32_t H, int32_t bw, int32_t bh, int32_t ch,
                     FavoritesLayout& layout, int32_t fh = 0, int32_t lw = 0, int32_t th = 0,
                     int32_t dpi = 96);

// Where the dialog opens: the stored rectangle when it touches some monitor's work area. A
// rectangle never stored, or one that nobody could see, is centred on `work`, keeping its
// stored size when that fits and the dialog's own size `current` otherwise.
ScreenRect favoritesPlacement(const ScreenRect& stored, bool storedIsVisible,
                              const ScreenRect& work, const ScreenRect& current);
bool rectanglesMeet(const ScreenRect& a, const ScreenRect& b);

}  // namespace lb
