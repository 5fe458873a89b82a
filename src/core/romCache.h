// The host's ROM cache of the current system: which file holds a ROM, what the ROM's file is
// called inside its archive, and whether the host knows the ROM at all, by the ROM's key.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/text.h"

namespace lb {

// Reads the cache file again into `cacheEntries`. The cache file lives in the host's "caches\"
// folder, found by cutting 20 characters (the plug-in's own folder) off the data folder.
void loadRomCache();

// Builds the cache file's path; false when the data folder is too short to hold the cut.
bool cacheFilePath(char (&path)[kTextSize]);

// Fills one cache entry from a line of the file; false when the line does not describe a ROM
// (no "clean;", fewer than five ';', or a field too long for its 260 bytes).
struct RomCacheEntry;
bool parseCacheLine(const char* line, RomCacheEntry& entry);

// The cache path of the first ROM with this key, or the empty text.
void lookupRomPath(char (&target)[kTextSize], const char* key);
// The name inside the archive of the first ROM with this key, or null.
const char* lookupRomInnerName(const char* key);
int32_t isRomInCache(const char* key);
// isRomInCache of `count` keys (at most 64) into `known`. The index's memory for all of them
// is asked for before the first lookup, so the lookups do not wait for it one by one.
void areRomsInCache(const char* const* keys, int32_t count, bool* known);

}  // namespace lb
