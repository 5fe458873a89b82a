// One favourite ROM: the host's texts and numbers copied when it was added. The record is the
// same in memory and in the favourites file.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/text.h"

namespace lb {

constexpr int kMaxFavorites = 10000;

// A count read from a file or kept in a table, limited to what the table holds.
inline int32_t boundedFavoriteCount(int32_t count) {
    return count < 0 ? 0 : (count > kMaxFavorites ? kMaxFavorites : count);
}

struct FavoriteEntry {
    char name[kTextSize];
    char publisher[kTextSize];
    char sourceRom[kTextSize];
    char saveType[kTextSize];
    char crc32[kTextSize];  // the key: unique within a list
    char comment[kTextSize];
    int32_t number;
    int32_t size;
    int32_t location;
    int32_t language;
};
static_assert(sizeof(FavoriteEntry) == 1576);
static_assert(offsetof(FavoriteEntry, name) == 0);
static_assert(offsetof(FavoriteEntry, publisher) == 260);
static_assert(offsetof(FavoriteEntry, sourceRom) == 520);
static_assert(offsetof(FavoriteEntry, saveType) == 780);
static_assert(offsetof(FavoriteEntry, crc32) == 1040);
static_assert(offsetof(FavoriteEntry, comment) == 1300);
static_assert(offsetof(FavoriteEntry, number) == 1560);
static_assert(offsetof(FavoriteEntry, size) == 1564);
static_assert(offsetof(FavoriteEntry, location) == 1568);
static_assert(offsetof(FavoriteEntry, language) == 1572);

}  // namespace lb
