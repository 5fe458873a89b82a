// The records that the state record gathers, with their limits: a registered emulator, a
// favourite, a ROM of the host's cache, a favourites column and a window rectangle. The first
// two are stored in files byte for byte, so their layouts are checked here.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/text.h"

namespace lb {

constexpr int kMaxEmulators = 20;  // per system
constexpr int kMaxFavorites = 10000;
constexpr int kMaxCacheEntries = 10000;
constexpr int kColumnCount = 10;  // of the favourites list

// A count read from a file or kept in a table, limited to what the table holds.
inline int32_t boundedEmulatorCount(int32_t count) {
    return count < 0 ? 0 : (count > kMaxEmulators ? kMaxEmulators : count);
}
inline int32_t boundedFavoriteCount(int32_t count) {
    return count < 0 ? 0 : (count > kMaxFavorites ? kMaxFavorites : count);
}

// One registered emulator, as the list files store it.
struct EmulatorEntry {
    char name[kTextSize];
    char exePath[kTextSize];
    char extractDir[kTextSize];
    int32_t kind;  // an EmulatorKind
    int32_t keyWaitIndex;
    int32_t browseWaitIndex;
    int32_t extractArchive;
    int32_t quotePath;
    int32_t shortPath;
};
static_assert(sizeof(EmulatorEntry) == 804);
static_assert(offsetof(EmulatorEntry, name) == 0);
static_assert(offsetof(EmulatorEntry, exePath) == 260);
static_assert(offsetof(EmulatorEntry, extractDir) == 520);
static_assert(offsetof(EmulatorEntry, kind) == 780);
static_assert(offsetof(EmulatorEntry, keyWaitIndex) == 784);
static_assert(offsetof(EmulatorEntry, browseWaitIndex) == 788);
static_assert(offsetof(EmulatorEntry, extractArchive) == 792);
static_assert(offsetof(EmulatorEntry, quotePath) == 796);
static_assert(offsetof(EmulatorEntry, shortPath) == 800);

// One favourite ROM: the host's texts and numbers copied when it was added. The record is the
// same in memory and in the favourites file.
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

// One ROM of the host's cache file: where its file is, its name inside the archive, its key.
struct RomCacheEntry {
    char romPath[kTextSize];
    char innerName[kTextSize];
    char crc32[kTextSize];
};
static_assert(sizeof(RomCacheEntry) == 780);

// One favourites column as "Setting.dat" keeps it.
struct ColumnState {
    int32_t width;
    int32_t descending;
};
static_assert(sizeof(ColumnState) == 8);

// A window rectangle in screen pixels.
struct ScreenRect {
    int32_t left, top, right, bottom;
};
static_assert(sizeof(ScreenRect) == 16);

}  // namespace lb
