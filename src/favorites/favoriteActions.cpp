// Adding the ROMs selected in the host to the favourites and removing them again. Keys are
// found through an index of the list, so a selection of thousands against a full list stays
// quick.
#include <cstring>

#include "core/keyIndex.h"
#include "core/pluginContext.h"
#include "favorites/favorites.h"

namespace lb {

namespace {

KeyIndex listIndex;
bool removed[kMaxFavorites];

void indexList(const FavoriteEntry* list, int32_t count) {
    resetIndex(listIndex, list, sizeof(FavoriteEntry), offsetof(FavoriteEntry, crc32));
    for (int32_t i = 0; i < count; ++i) addToIndex(listIndex, i);
}

// Fills `entry` from the host's record. A key too long for its field is passed over, since a
// cut key would name another ROM; the other texts are cut to fit.
bool fillEntry(FavoriteEntry& entry, const HostRomRecord& record) {
    if (!copyText(entry.crc32, hostText(record.crc32))) return false;
    copyText(entry.name, hostText(record.name));
    copyText(entry.publisher, hostText(record.publisher));
    copyText(entry.sourceRom, hostText(record.sourceRom));
    copyText(entry.saveType, hostText(record.saveType));
    copyText(entry.comment, hostText(record.comment));
    entry.number = record.number;
    entry.size = record.size;
    entry.location = record.location;
    entry.language = record.language;
    return true;
}

}  // namespace

void addFavorites(const HostRomRecord* chain) {
    PluginContext& c = *context;
    c.favoriteCount = boundedFavoriteCount(c.favoriteCount);
    indexList(c.favorites, c.favoriteCount);
    for (const HostRomRecord* r = chain; r != nullptr && c.favoriteCount < kMaxFavorites;
         r = r->next) {
        if (findFirst(listIndex, hostText(r->crc32)) >= 0) continue;
        if (!fillEntry(c.favorites[c.favoriteCount], *r)) continue;
        addToIndex(listIndex, c.favoriteCount++);
    }
    saveFavorites();
}

void removeFavorites(FavoriteEntry* list, int32_t& count, const HostRomRecord* chain) {
    count = boundedFavoriteCount(count);
    indexList(list, count);
    std::memset(removed, 0, sizeof removed);
    for (const HostRomRecord* r = chain; r != nullptr; r = r->next) {
        for (int32_t i = findFirst(listIndex, hostText(r->crc32)); i >= 0;
             i = findNext(listIndex, i))
            removed[i] = true;
    }
    int32_t kept = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (removed[i]) continue;
        if (kept != i) list[kept] = list[i];
        ++kept;
    }
    count = kept;
    saveFavorites();
}

}  // namespace lb
