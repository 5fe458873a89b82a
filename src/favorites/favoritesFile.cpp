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

// Ends the texts of the `whole` entries of a run read behind the `kept` ones, and moves those
// that stay up to them; the number kept after the run.
int32_t keepRun(FavoriteEntry* run, int32_t whole, bool prune, KeySearch* search, int32_t kept,
                bool& asSaved) {
    FavoriteEntry* favorites = context->favorites;
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
        if (&favorites[kept] != &run[i]) favorites[kept] = run[i];
        ++kept;
    }
    return kept;
}

// Opens the file and reads its header: Read, the file open and its count bounded in `count`,
// when it is this system's list.
FileRead openFavoritesFile(const char* path, platform::File*& file, int32_t& count, bool& asSaved) {
    const char* system = context->systemName;
    platform::OpenResult opened = platform::openForRead(path, file);
    if (opened == platform::OpenResult::Missing) return FileRead::Missing;
    if (opened != platform::OpenResult::Opened) return FileRead::Unreadable;
    char header[kHeaderSize];
    long headerBytes = readAll(file, header, sizeof header);
    if (headerBytes != long(sizeof header) || std::strncmp(header, system, kTextSize) != 0) {
        platform::closeFile(file);
        return headerBytes < 0 ? FileRead::Unreadable : FileRead::Missing;
    }
    int32_t storedCount = 0;
    std::memcpy(&storedCount, header + kTextSize, sizeof storedCount);
    count = boundedFavoriteCount(storedCount);
    asSaved = count == storedCount && std::memcmp(header, system, kTextSize) == 0;
    return FileRead::Read;
}

// Reads the file into the state's list; Missing, with an empty list, when there is none or it
// names another system, and Unreadable, with an empty list, when it cannot be opened or a read
// fails anywhere in it. A count outside 0..10000 is cut to that range, and a file shorter than
// its count holds only the entries it has in full. With `prune`, entries whose key the cache
// does not know are dropped as they are read; with `search`, its keys are looked for in the
// entries kept. `asSaved` tells whether saving the list would write the very bytes that were
// read: nothing dropped, no count cut, no missing or extra bytes, no text whose last byte had
// to be cleared.
FileRead readFavoritesFile(const char* path, bool prune, KeySearch* search, bool& asSaved) {
    PluginContext& c = *context;
    asSaved = false;
    c.favoriteCount = 0;
    platform::File* file = nullptr;
    int32_t count = 0;
    FileRead opened = openFavoritesFile(path, file, count, asSaved);
    if (opened != FileRead::Read) return opened;
    int32_t kept = 0;
    bool failed = false;
    for (int32_t at = 0; at < count;) {
        // Each run is read right behind the entries kept so far, and compacted where it lies.
        FavoriteEntry* run = c.favorites + kept;
        size_t wanted = size_t(std::min(kRun, count - at)) * sizeof(FavoriteEntry);
        long got = readAll(file, run, wanted);
        if (got < 0) {
            failed = true;
            break;
        }
        int32_t whole = int32_t(size_t(got) / sizeof(FavoriteEntry));
        kept = keepRun(run, whole, prune, search, kept, asSaved);
        at += whole;
        if (size_t(got) != wanted) {
            asSaved = false;  // a file shorter than its count
            break;
        }
    }
    char extra = 0;
    long after = failed ? -1 : platform::readFromFile(file, &extra, 1);
    platform::closeFile(file);
    if (after < 0) {
        asSaved = false;
        return FileRead::Unreadable;
    }
    asSaved &= after == 0;
    c.favoriteCount = kept;
    return FileRead::Read;
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

bool saveFavoriteList(const FavoriteEntry* list, int32_t count) {
    PluginContext& c = *context;
    char path[kTextSize];
    if (!dataFilePath(path, c.systemName, ".fvr")) return false;
    count = boundedFavoriteCount(count);
    Chunk chunks[] = {{c.systemName, kTextSize},
                      {&count, sizeof count},
                      {list, size_t(count) * sizeof(FavoriteEntry)}};
    return saveFileSafely(path, chunks, count > 0 ? 3 : 2);
}

bool saveFavorites() { return saveFavoriteList(context->favorites, context->favoriteCount); }

void tellFavoritesSaveFailure() {
    char path[kTextSize];
    if (dataFilePath(path, context->systemName, ".fvr")) tellSaveFailure(path);
}

bool saveFavoritesAndTell() {
    if (saveFavorites()) return true;
    tellFavoritesSaveFailure();
    return false;
}

FileRead readFavorites(KeySearch* search, bool& rewrite) {
    PluginContext& c = *context;
    rewrite = false;
    // The cache is read first, so that each favourite is checked while it is being read.
    // An empty cache (a missing or unreadable cache file) says nothing about the favourites:
    // pruning against it would wipe the whole list.
    bool prune = !isArcadeList();
    if (prune) loadRomCache();
    prune = prune && c.cacheCount > 0;
    char path[kTextSize];
    if (!dataFilePath(path, c.systemName, ".fvr")) {
        c.favoriteCount = 0;
        return FileRead::Missing;
    }
    bool asSaved = false;
    FileRead read = readFavoritesFile(path, prune, search, asSaved);
    if (read == FileRead::Unreadable) tellReadFailure(path);
    rewrite = read == FileRead::Read && prune && !asSaved;
    return read;
}

bool loadFavorites() {
    // A rewrite of the bytes just read would change nothing but the file's time: 15 MB for a
    // full list. Only a list that pruning shortened, or a damaged file, is written back; when
    // that fails, nothing is lost and the next load tries again.
    bool rewrite = false;
    if (readFavorites(nullptr, rewrite) == FileRead::Unreadable) return false;
    if (rewrite) saveFavorites();
    return true;
}

}  // namespace lb
