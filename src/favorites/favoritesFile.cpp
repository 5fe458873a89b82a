// The favourites file of a system and its loading, pruned against the host cache so favourites
// of ROMs the host no longer has disappear.
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
    char* texts[] = {entry.name,  entry.publisher, entry.sourceRom,
                     entry.saveType, entry.crc32,  entry.comment};
    bool changed = false;
    for (char* text : texts) {
        changed |= text[kTextSize - 1] != '\0';
        text[kTextSize - 1] = '\0';
    }
    return changed;
}

// Reads the file into the state's list; false when it is missing or names another system.
// A count outside 0..10000 is cut to that range, and a file shorter than its count holds
// only the entries it has in full. `asSaved` tells whether saving the list would write the very
// bytes that were read: no count cut, no missing or extra bytes, no text whose last byte had to be cleared.
bool readFavoritesFile(const char* path, bool& asSaved) {
    PluginContext& c = *context;
    asSaved = false;
    if (!platform::fileExists(path)) return false;
    platform::File* file = platform::openForRead(path);
    if (file == nullptr) return false;
    char header[kHeaderSize];
    bool ours = readAll(file, header, sizeof header) == sizeof header &&
                std::strncmp(header, c.systemName, kTextSize) == 0;
    int32_t storedCount = 0;
    if (ours) std::memcpy(&storedCount, header + kTextSize, sizeof storedCount);
    int32_t count = boundedFavoriteCount(storedCount);
    size_t bytes = readAll(file, c.favorites, size_t(count) * sizeof(FavoriteEntry));
    char extra = 0;
    bool atEnd = ours && platform::readFromFile(file, &extra, 1) == 0;
    platform::closeFile(file);
    if (!ours) return false;
    c.favoriteCount = int32_t(bytes / sizeof(FavoriteEntry));
    asSaved = atEnd && count == storedCount && c.favoriteCount == count &&
              bytes == size_t(count) * sizeof(FavoriteEntry) &&
              std::memcmp(header, c.systemName, kTextSize) == 0;
    for (int32_t i = 0; i < c.favoriteCount; ++i) asSaved &= !terminateTexts(c.favorites[i]);
    return true;
}

}  // namespace

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

void loadFavorites() {
    PluginContext& c = *context;
    char path[kTextSize];
    bool asSaved = false;
    if (!dataFilePath(path, c.systemName, ".fvr") || !readFavoritesFile(path, asSaved)) {
        c.favoriteCount = 0;
        return;
    }
    if (isArcadeList()) return;
    loadRomCache();
    // An empty cache (a missing or unreadable cache file) says nothing about the favourites:
    // pruning against it would wipe the whole list.
    if (c.cacheCount == 0) return;
    int32_t kept = 0;
    for (int32_t i = 0; i < c.favoriteCount; ++i) {
        if (!isRomInCache(c.favorites[i].crc32)) continue;
        if (kept != i) c.favorites[kept] = c.favorites[i];
        ++kept;
    }
    // A rewrite of the bytes just read would change nothing but the file's time: 15 MB for a
    // full list. Only a list that pruning shortened, or a damaged file, is written back.
    if (kept == c.favoriteCount && asSaved) return;
    c.favoriteCount = kept;
    saveFavorites();
}

}  // namespace lb
