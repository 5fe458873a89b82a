// Columns and sorting of the favourites list. Sorting 10,000 records of 1,576 bytes with a
// plain quicksort would move hundreds of megabytes, so only an index of them is sorted.
#include "favorites/favoriteColumns.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace lb {

const char favoriteColumnNames[kColumnCount][kTextSize] = {
    "Name",    "Publisher", "SourceRom", "SaveType", "CRC32",
    "Comment", "Number",    "Size",      "Location", "Language",
};

namespace {

char numberText[16];
int32_t sortIndex[kMaxFavorites];

int order(int difference) { return difference < 0 ? -1 : (difference > 0 ? 1 : 0); }

int byText(const char* a, const char* b) { return order(std::strncmp(a, b, kTextSize)); }

int byNumber(int32_t a, int32_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

using TextField = char (FavoriteEntry::*)[kTextSize];

template <TextField Field, TextField TieBreak>
int textThen(const FavoriteEntry& a, const FavoriteEntry& b) {
    int result = byText(a.*Field, b.*Field);
    return result != 0 ? result : byText(a.*TieBreak, b.*TieBreak);
}

template <int32_t FavoriteEntry::*Field>
int numberThenName(const FavoriteEntry& a, const FavoriteEntry& b) {
    int result = byNumber(a.*Field, b.*Field);
    return result != 0 ? result : byText(a.name, b.name);
}

}  // namespace

const FavoriteComparator favoriteComparators[kColumnCount] = {
    textThen<&FavoriteEntry::name, &FavoriteEntry::publisher>,
    textThen<&FavoriteEntry::publisher, &FavoriteEntry::name>,
    textThen<&FavoriteEntry::sourceRom, &FavoriteEntry::name>,
    textThen<&FavoriteEntry::saveType, &FavoriteEntry::name>,
    textThen<&FavoriteEntry::crc32, &FavoriteEntry::name>,
    textThen<&FavoriteEntry::comment, &FavoriteEntry::name>,
    numberThenName<&FavoriteEntry::number>,
    numberThenName<&FavoriteEntry::size>,
    numberThenName<&FavoriteEntry::location>,
    numberThenName<&FavoriteEntry::language>,
};

const char* favoriteColumnText(const FavoriteEntry& entry, int32_t column) {
    static constexpr TextField texts[] = {&FavoriteEntry::name,      &FavoriteEntry::publisher,
                                          &FavoriteEntry::sourceRom, &FavoriteEntry::saveType,
                                          &FavoriteEntry::crc32,     &FavoriteEntry::comment};
    static constexpr int32_t FavoriteEntry::*numbers[] = {
        &FavoriteEntry::number, &FavoriteEntry::size, &FavoriteEntry::location,
        &FavoriteEntry::language};
    if (column >= NameColumn && column <= CommentColumn) return entry.*texts[column];
    if (column >= NumberColumn && column <= LanguageColumn)
        std::snprintf(numberText, sizeof numberText, "%d",
                      int(entry.*numbers[column - NumberColumn]));
    return numberText;
}

void sortFavorites(FavoriteEntry* entries, int32_t count, int32_t sortColumn,
                   const ColumnState (&columns)[kColumnCount], int32_t* order) {
    count = boundedFavoriteCount(count);
    for (int32_t i = 0; order != nullptr && i < count; ++i) order[i] = i;
    if (count == 0 || !isFavoriteColumn(sortColumn)) return;
    FavoriteComparator compare = favoriteComparators[sortColumn];
    bool descending = columns[sortColumn].descending != 0;
    for (int32_t i = 0; i < count; ++i) sortIndex[i] = i;
    std::sort(sortIndex, sortIndex + count, [&](int32_t a, int32_t b) {
        int result = compare(entries[a], entries[b]);
        return descending ? result > 0 : result < 0;
    });
    if (order != nullptr) std::memcpy(order, sortIndex, sizeof(int32_t) * size_t(count));
    // Row i takes entry sortIndex[i]: follow each cycle of the permutation with one spare record.
    static FavoriteEntry spare;
    for (int32_t start = 0; start < count; ++start) {
        if (sortIndex[start] == start) continue;
        spare = entries[start];
        int32_t row = start;
        while (sortIndex[row] != start) {
            int32_t from = sortIndex[row];
            entries[row] = entries[from];
            sortIndex[row] = row;
            row = from;
        }
        entries[row] = spare;
        sortIndex[row] = row;
    }
}

void clickFavoriteColumn(int32_t column) {
    if (!isFavoriteColumn(column)) return;
    PluginContext& c = *context;
    if (column == c.sortColumn)
        c.columnState[column].descending = c.columnState[column].descending ? 0 : 1;
    c.sortColumn = column;
}

}  // namespace lb
