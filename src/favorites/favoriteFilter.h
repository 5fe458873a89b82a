// The favourites dialog's filter: which rows of the working copy are shown for a typed text.
// Each favourite's Name, Publisher, SourceRom, SaveType, CRC32 and Comment are folded once
// (core/textFold.h); a text's words, split at blanks, must each occur in one of them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/records.h"

namespace lb {

struct FoldedSpan {
    int32_t start;   // the row's first unit
    int32_t length;  // its six fields' units, each field followed by a 0 unit
};

struct FavoriteFilter {
    uint16_t* units;     // every row's folded fields, in one block
    FoldedSpan* spans;   // by working-copy row
    int32_t* shown;      // the rows shown, in working-copy order
    int32_t rowCount;    // rows folded
    int32_t shownCount;  // rows shown
    bool narrowed;       // a text with a word is applied: not every row need be shown
};

// Folds `count` entries, showing all of them; false, with every row shown and no filtering
// possible, when the memory cannot be had.
bool prepareFilter(FavoriteFilter& filter, const FavoriteEntry* entries, int32_t count);
void releaseFilter(FavoriteFilter& filter);

// Shows the rows whose fields hold every word of `text`; an empty text, or one of blanks,
// shows every row.
void applyFilter(FavoriteFilter& filter, const char* text);

// Shows every one of `count` rows, folding nothing: the dialog opens so, and returns to it
// after a delete, as fast as it did before it had a filter.
void showAllRows(FavoriteFilter& filter, int32_t count);
// applyFilter for the dialog: a text with a word folds `entries` first, once, when they are
// not folded yet.
void filterEntries(FavoriteFilter& filter, const FavoriteEntry* entries, int32_t count,
                   const char* text);

// After the working copy was sorted: row i now holds the entry that was row `order[i]`.
void reorderFilter(FavoriteFilter& filter, const int32_t* order);

// The working-copy row that shown row `row` is; -1 outside the shown rows.
int32_t shownEntry(const FavoriteFilter& filter, int32_t row);

}  // namespace lb
