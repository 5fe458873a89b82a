// The favourites list's ten columns: header texts, cell texts, the comparators of each column
// with their tie-break keys, the sort of the working copy and the state a header click changes.
#pragma once

#include <cstdint>

#include "core/pluginContext.h"
#include "core/records.h"

namespace lb {

enum FavoriteColumn : int32_t {
    NameColumn,
    PublisherColumn,
    SourceRomColumn,
    SaveTypeColumn,
    Crc32Column,
    CommentColumn,
    NumberColumn,
    SizeColumn,
    LocationColumn,
    LanguageColumn,
};

extern const char favoriteColumnNames[kColumnCount][kTextSize];

// The text of an entry in a column. Numbers are written into one shared buffer, valid until the
// next call; a column outside 0..9 returns that buffer unchanged.
const char* favoriteColumnText(const FavoriteEntry& entry, int32_t column);

using FavoriteComparator = int (*)(const FavoriteEntry& a, const FavoriteEntry& b);
// Ascending order of each column: negative when a goes first. Texts compare as unsigned bytes.
extern const FavoriteComparator favoriteComparators[kColumnCount];

// Whether `column` names one of the ten columns.
inline bool isFavoriteColumn(int32_t column) { return column >= 0 && column < kColumnCount; }

// Sorts `count` entries by `sortColumn` in the direction stored for it: an index is sorted and
// the records are then moved once, so entry i ends where row i shows it. A sort column outside
// the table sorts nothing. `order`, when given, receives for each row the row its entry had.
void sortFavorites(FavoriteEntry* entries, int32_t count, int32_t sortColumn,
                   const ColumnState (&columns)[kColumnCount], int32_t* order = nullptr);

// A click on the header of `column`: the sort column again flips its direction; another
// column becomes the sort column with the direction it kept. Changes the state record.
void clickFavoriteColumn(int32_t column);

}  // namespace lb
