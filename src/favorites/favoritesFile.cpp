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

void terminateTexts(FavoriteEntry& entry) {
    terminateText(entry.name);
    terminateText(entry.publisher);
    terminateText(entry.sourceRom);
    terminateText(entry.saveType);
    terminateText(entry.crc32);
    terminateText(entry.comment);
}

// Reads the file into the state's list; false when it is missing or names another system.
// A count outside 0..10000 is cut to that range, and a file shorter than its count holds
// only the entries it has in full.
bool readFavoritesFile(const char* path) {
    PluginContext& c = *context;
    if (!platform::fileExists(path)) return false;
    platform::File* file = platform::openForRead(path);
    if (file == nullptr) return false;
    char header[kHeaderSize];
    bool ours = readAll(file, header, sizeof header) == sizeof header &&
                std::strncmp(header, c.systemName, kTextSize) == 0;
    int32_t count = 0;
    if (ours) std::memcpy(&count, header + kTextSize, sizeof count);
    count = boundedFavoriteCount(count);
    size_t bytes = readAll(file, c.favorites, size_t(count) * sizeof(FavoriteEntry));
    platform::closeFile(file);
    if (!ours) return false;
    c.favoriteCount = int32_t(bytes / sizeof(FavoriteEntry));
    for (int32_t i = 0; i < c.favoriteCount; ++i) terminateTexts(c.favorites[i]);
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
    if (!dataFilePath(path, c.systemName, ".fvr") || !readFavoritesFile(path)) {
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
    c.favoriteCount = kept;
    saveFavorites();
}

}  // namespace lb
