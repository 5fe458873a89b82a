// A fixed-size hash index from key texts to entry numbers of a table of records (the cache, a
// favourites list), so a key is found without scanning 10,000 entries. It allocates nothing.
// Entries with the same key are kept in the order they were added: the first one added is
// the first one found.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lb {

struct KeyIndex {
    static constexpr int32_t kMaxEntries = 10000;
    static constexpr int32_t kSlots = 32768;  // a power of two, over three times kMaxEntries

    const char* base = nullptr;  // the first record of the table
    size_t stride = 0;           // bytes from one record to the next
    size_t keyOffset = 0;        // offset of the key text inside a record
    struct Slot {
        int32_t first;  // 1 + first entry of the slot's key; 0 for a free slot
        int32_t last;   // 1 + last entry of the slot's key
        uint32_t hash;  // the key's hash: most probes end without reading a key
    };
    Slot slots[kSlots];         // one cache line read per probe
    int32_t next[kMaxEntries];  // 1 + next entry with the same key; 0 at the end
};

// Starts an empty index over a table whose records are `stride` bytes apart.
void resetIndex(KeyIndex& index, const void* table, size_t stride, size_t keyOffset);

// Adds entry `entry` (below kMaxEntries) under its own key, after earlier entries of that key.
void addToIndex(KeyIndex& index, int32_t entry);

// The same, with the key's hash already known (`hashKey` of the key's bytes), so a table that
// was just written need not be read back. `prefetchSlot` asks for the slot early.
void addToIndex(KeyIndex& index, int32_t entry, uint32_t hash);
uint32_t hashKey(const char* key, size_t length);
void prefetchSlot(const KeyIndex& index, uint32_t hash);

// The first entry whose key equals `key` byte for byte; -1 when there is none.
int32_t findFirst(const KeyIndex& index, const char* key);

// The entry after `entry` with the same key; -1 when there is none.
int32_t findNext(const KeyIndex& index, int32_t entry);

}  // namespace lb
