// The favourites file of a system and its loading, pruned against the host cache so favourites
// of ROMs the host no longer has disappear.
#include <algorithm>
#include <cstring>

#include "core/fileIo.h"
#include "core/pluginContext.h"
#include "core/romCache.h"
#include "favorites/favorites.h"
#include "platform/platform.h"

namespace lb {

namespace {

constexpr size_t kHeaderSize = kTextSize + sizeof(int32_t);

// Ends every text of an entry read from a file inside its field; true when that changed a byte.
bool terminateTexts(FavoriteEntry& entry) {
    char* texts[] = {entry.name,     entry.publisher, entry.sourceRom,
                     entry.saveType, entry.crc32,     entry.comment};
    bool changed = false;
    for (char* text : texts) {
        changed |= text[kTextSize - 1] != '\0';
        text[kTextSize - 1] = '\0';
    }
    return changed;
}

// Entries read and handled at a time: 100 KB stay in the processor's cache while their texts
// are ended and their keys looked up, so the 15 MB of a full list pass through memory once.
constexpr int32_t kRun = 64;

// Reads the file into the state's list; false when it is missing or names another system.
// A count outside 0..10000 is cut to that range, and a file shorter than its count holds
// only the entries it has in full. With `prune`, entries whose key the cache does not know are
// dropped as they are read; with `search`, its keys are looked for in the entries kept. `asSaved`
// tells whether saving the list would write the very bytes that were read: nothing dropped, no
// count cut, no missing or extra bytes, no text whose last byte had to be cleared.
bool readFavoritesFile(const char* path, bool prune, KeySearch* search, bool& asSaved) {
    PluginContext& c = *context;
    asSaved = false;
    if (!platform::fileExists(path)) return false;
    platform::File* file = platform::openForRead(path);
    if (file == nullptr) return false;
    char header[kHeaderSize];
    bool ours = readAll(file, header, sizeof header) == sizeof header &&
                std::strncmp(header, c.systemName, kTextSize) == 0;
    if (!ours) {
        platform::closeFile(file);
        return false;
    }
    int32_t storedCount = 0;
    std::memcpy(&storedCount, header + kTextSize, sizeof storedCount);
    int32_t count = boundedFavoriteCount(storedCount);
    asSaved = count == storedCount && std::memcmp(header, c.systemName, kTextSize) == 0;
    int32_t kept = 0;
    for (int32_t at = 0; at < count;) {
        // Each run is read right behind the entries kept so far, and compacted where it lies.
        FavoriteEntry* run = c.favorites + kept;
        size_t wanted = size_t(std::min(kRun, count - at)) * sizeof(FavoriteEntry);
        size_t got = readAll(file, run, wanted);
        int32_t whole = int32_t(got / sizeof(FavoriteEntry));
        const char* keys[kRun];
        bool known[kRun];
        for (int32_t i = 0; i < whole; ++i) {
            asSaved &= !terminateTexts(run[i]);
            keys[i] = run[i].crc32;
        }
        if (prune) areRomsInCache(keys, whole, known);
        for (int32_t i = 0; i < whole; ++i) {
            if (prune && !known[i]) {
                asSaved = false;
                continue;
            }
            if (search != nullptr && markSought(*search, run[i].crc32) && search->drop) continue;
            if (&c.favorites[kept] != &run[i]) c.favorites[kept] = run[i];
            ++kept;
        }
        at += whole;
        if (got != wanted) {
            asSaved = false;  // a file shorter than its count
            break;
        }
    }
    char extra = 0;
    asSaved &= platform::readFromFile(file, &extra, 1) == 0;
    platform::closeFile(file);
    c.favoriteCount = kept;
    return true;
}

}  // namespace

bool markSought(KeySearch& search, const char* key) {
    bool sought = false;
    for (int32_t j = 0; j < search.count; ++j) {
        if (key[0] != search.keys[j][0] || std::strcmp(key, search.keys[j]) != 0) continue;
        search.found[j] = true;
        sought = true;
    }
    return sought;
}

bool isArcadeList() { return std::strstr(context->listName, "(MAME)") != nullptr; }

bool saveFavorites() {
    PluginContext& c = *context;
    char path[kTextSize];
    if (!dataFilePath(path, c.systemName, ".fvr")) return false;
    int32_t count = boundedFavoriteCount(c.favoriteCount);
    Chunk chunks[] = {{c.systemName, kTextSize},
                      {&count, sizeof count},
                      {c.favorites, size_t(count) * sizeof(FavoriteEntry)}};
    return saveFileSafely(path, chunks, 3);
}

bool readFavorites(KeySearch* search) {
    PluginContext& c = *context;
    // The cache is read first, so that each favourite is checked while it is being read.
    // An empty cache (a missing or unreadable cache file) says nothing about the favourites:
    // pruning against it would wipe the whole list.
    bool prune = !isArcadeList();
    if (prune) loadRomCache();
    prune = prune && c.cacheCount > 0;
    char path[kTextSize];
    bool asSaved = false;
    if (!dataFilePath(path, c.systemName, ".fvr") ||
        !readFavoritesFile(path, prune, search, asSaved)) {
        c.favoriteCount = 0;
        return false;
    }
    return prune && !asSaved;
}

void loadFavorites() {
    // A rewrite of the bytes just read would change nothing but the file's time: 15 MB for a
    // full list. Only a list that pruning shortened, or a damaged file, is written back.
    if (readFavorites(nullptr)) saveFavorites();
}

}  // namespace lb
