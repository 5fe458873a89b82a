// Adding the ROMs selected in the host to the favourites and removing them again. Up to
// kSearchKeys selected keys are looked for in one pass over the list, which reads each key
// once; more are found through an index of the list, so a selection of thousands against a
// full list stays quick.
#include <cstring>

#include "core/keyIndex.h"
#include "core/pluginContext.h"
#include "favorites/favorites.h"

namespace lb {

namespace {

KeyIndex listIndex;
bool removed[kMaxFavorites];

// The chain's keys in order, when it has at most kSearchKeys records; false when it has more.
bool collectKeys(const HostRomRecord* chain, KeySearch& search) {
    search = KeySearch{};
    for (const HostRomRecord* r = chain; r != nullptr; r = r->next) {
        if (search.count == kSearchKeys) return false;
        search.keys[search.count++] = hostText(r->crc32);
    }
    return true;
}

void indexList(const FavoriteEntry* list, int32_t count) {
    indexTable(listIndex, list, count, sizeof(FavoriteEntry), offsetof(FavoriteEntry, crc32));
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

// Appends the chain's ROMs whose keys `isListed` does not know, in chain order, while there is
// room; `isListed` sees the entries appended so far too.
template <typename IsListed, typename Appended>
void appendNew(const HostRomRecord* chain, IsListed isListed, Appended appended) {
    PluginContext& c = *context;
    for (const HostRomRecord* r = chain; r != nullptr && c.favoriteCount < kMaxFavorites;
         r = r->next) {
        if (isListed(hostText(r->crc32))) continue;
        if (!fillEntry(c.favorites[c.favoriteCount], *r)) continue;
        appended(c.favoriteCount++);
    }
}

// Appends the chain's ROMs that are neither listed (found[j] for keys[j]) nor appended
// already by this call, in chain order, and saves.
void addSearched(const HostRomRecord* chain, const KeySearch& search) {
    PluginContext& c = *context;
    int32_t before = c.favoriteCount;
    appendNew(
        chain,
        [&](const char* key) {
            for (int32_t j = 0; j < search.count; ++j)
                if (search.found[j] && std::strcmp(search.keys[j], key) == 0) return true;
            for (int32_t i = before; i < c.favoriteCount; ++i)
                if (std::strcmp(c.favorites[i].crc32, key) == 0) return true;
            return false;
        },
        [](int32_t) {});
    saveFavoritesAndTell();
}

void closeUp(FavoriteEntry* list, int32_t& count) {
    // The kept entries close up a run at a time: one move for all that follow a removal.
    int32_t kept = 0;
    for (int32_t i = 0; i < count;) {
        if (removed[i]) {
            ++i;
            continue;
        }
        int32_t end = i;
        while (end < count && !removed[end]) ++end;
        if (kept != i) std::memmove(&list[kept], &list[i], size_t(end - i) * sizeof(FavoriteEntry));
        kept += end - i;
        i = end;
    }
    count = kept;
}

}  // namespace

void addFavorites(const HostRomRecord* chain) {
    PluginContext& c = *context;
    c.favoriteCount = boundedFavoriteCount(c.favoriteCount);
    KeySearch search;
    if (collectKeys(chain, search)) {
        for (int32_t i = 0; i < c.favoriteCount; ++i) markSought(search, c.favorites[i].crc32);
        addSearched(chain, search);
        return;
    }
    indexList(c.favorites, c.favoriteCount);
    appendNew(
        chain, [](const char* key) { return findFirst(listIndex, key) >= 0; },
        [](int32_t entry) { addToIndex(listIndex, entry); });
    saveFavoritesAndTell();
}

void removeFavoriteRows(FavoriteEntry* list, int32_t& count, const int32_t* rows,
                        int32_t rowCount) {
    count = boundedFavoriteCount(count);
    std::memset(removed, 0, sizeof removed);
    for (int32_t i = 0; i < rowCount; ++i)
        if (rows[i] >= 0 && rows[i] < count) removed[rows[i]] = true;
    closeUp(list, count);
}

void removeFavorites(FavoriteEntry* list, int32_t& count, const HostRomRecord* chain) {
    count = boundedFavoriteCount(count);
    std::memset(removed, 0, sizeof removed);
    KeySearch search;
    if (collectKeys(chain, search)) {
        for (int32_t i = 0; i < count; ++i) removed[i] = markSought(search, list[i].crc32);
    } else {
        indexList(list, count);
        for (const HostRomRecord* r = chain; r != nullptr; r = r->next) {
            for (int32_t i = findFirst(listIndex, hostText(r->crc32)); i >= 0;
                 i = findNext(listIndex, i))
                removed[i] = true;
        }
    }
    closeUp(list, count);
}

// The list is saved once, by the change: the read's own rewrite would be overwritten at once.
// A list that cannot be read has been told by the read, and is not saved: it would replace
// the user's favourites by the selection.
void addFavoritesFromPopup(const HostRomRecord* chain) {
    KeySearch search;
    bool rewrite = false;
    bool few = collectKeys(chain, search);
    if (readFavorites(few ? &search : nullptr, rewrite) == FileRead::Unreadable) return;
    if (few)
        addSearched(chain, search);
    else
        addFavorites(chain);
}

void removeFavoritesFromPopup(const HostRomRecord* chain) {
    KeySearch search;
    bool rewrite = false;
    bool few = collectKeys(chain, search);
    search.drop = true;  // the favourites with these keys are left out as they are read
    if (readFavorites(few ? &search : nullptr, rewrite) == FileRead::Unreadable) return;
    if (!few) removeFavorites(context->favorites, context->favoriteCount, chain);
    saveFavoritesAndTell();
}

}  // namespace lb
