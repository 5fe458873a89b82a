// One ROM of the host's cache file: where its file is, its name inside the archive, its key.
#pragma once

#include "core/text.h"

namespace lb {

constexpr int kMaxCacheEntries = 10000;

struct RomCacheEntry {
    char romPath[kTextSize];
    char innerName[kTextSize];
    char crc32[kTextSize];
};
static_assert(sizeof(RomCacheEntry) == 780);

}  // namespace lb
