// A fixed-size hash index from key texts to entry numbers of a table of records (the cache, a
// favourites list), so a key is found without scanning 10,000 entries. It allocates nothing.
// Entries with the same key are kept in the order they were added: the first one added is
// the first one found.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace lb {

struct KeyIndex {
    static constexpr int32_t kMaxEntries = 10000;
    static constexpr int32_t kSlots = 32768;  // a power of two, over three times kMaxEntries

    const char* base = nullptr;  // the first record of the table
    size_t stride = 0;           // bytes from one record to the next
    size_t keyOffset = 0;        // offset of the key text inside a record
    bool keyByPointer = false;   // the record holds a pointer to its key text, not the text
    struct Slot {
        int32_t first;  // 1 + first entry of the slot's key; 0 for a free slot
        int32_t last;   // 1 + last entry of the slot's key
        uint32_t hash;  // the key's hash: most probes end without reading a key
    };
    Slot slots[kSlots];         // one cache line read per probe
    int32_t next[kMaxEntries];  // 1 + next entry with the same key; 0 at the end
};

// Starts an empty index over a table whose records are `stride` bytes apart. With
// `keyByPointer`, the record holds at `keyOffset` a pointer to its key text.
void resetIndex(KeyIndex& index, const void* table, size_t stride, size_t keyOffset,
                bool keyByPointer = false);

// Starts the index over the first `count` records of a table (at most kMaxEntries), each under
// its own key.
void indexTable(KeyIndex& index, const void* table, int32_t count, size_t stride, size_t keyOffset,
                bool keyByPointer = false);

// Adds entry `entry` (below kMaxEntries) under its own key, after earlier entries of that key.
void addToIndex(KeyIndex& index, int32_t entry);

// The same, with the key's hash already known (`hashKey` of the key's bytes), so a table that
// was just written need not be read back. `prefetchSlot` asks for the slot early.
void addToIndex(KeyIndex& index, int32_t entry, uint32_t hash);

// Eight bytes at a time, each word mixed in with one multiplication: keys are CRC texts of
// eight characters, so a key costs one step instead of eight dependent byte steps.
inline uint32_t hashKey(const char* key, size_t length) {
    constexpr uint64_t kMultiplier = 0xFF51AFD7ED558CCDull;
    uint64_t hash = 0x9E3779B97F4A7C15ull ^ length;
    for (; length >= 8; key += 8, length -= 8) {
        uint64_t word;
        std::memcpy(&word, key, 8);
        hash = (hash ^ word) * kMultiplier;
        hash ^= hash >> 32;
    }
    uint64_t tail = 0;  // the last bytes as a little-endian word, without a call to memcpy
    for (size_t i = 0; i < length; ++i)
        tail |= uint64_t(static_cast<unsigned char>(key[i])) << (8 * i);
    hash = (hash ^ tail) * kMultiplier;
    return uint32_t(hash ^ (hash >> 29));
}

inline void prefetchSlot(const KeyIndex& index, uint32_t hash) {
    __builtin_prefetch(&index.slots[hash & (KeyIndex::kSlots - 1)], 1);
}

// The first entry whose key equals `key` byte for byte; -1 when there is none. The second form
// takes the key's hash (hashKey of its bytes), for a caller that asked for the slot early.
int32_t findFirst(const KeyIndex& index, const char* key);
int32_t findFirst(const KeyIndex& index, const char* key, uint32_t hash);

// The key text of entry `entry`.
inline const char* heldKey(const KeyIndex& index, int32_t entry) {
    const char* at = index.base + size_t(entry) * index.stride + index.keyOffset;
    if (!index.keyByPointer) return at;
    const char* key;
    std::memcpy(&key, at, sizeof key);
    return key;
}

// The slot that holds the key that `same` finds equal, or the free slot where it would go.
template <typename Same>
int32_t slotWhere(const KeyIndex& index, uint32_t hash, Same same) {
    uint32_t slot = hash & (KeyIndex::kSlots - 1);
    while (index.slots[slot].first != 0 &&
           (index.slots[slot].hash != hash || !same(heldKey(index, index.slots[slot].first - 1))))
        slot = (slot + 1) & (KeyIndex::kSlots - 1);
    return int32_t(slot);
}

// The same as findFirst for a key of `length` bytes, none of them NUL, not ended by a NUL: a
// field of a line. The table's keys are compared a word at a time: each must lie in at least
// `length` + 1 readable bytes, as a key in a text array of its record or followed by slack
// does. Inline: the history's reader asks once for every start line.
inline int32_t findFirst(const KeyIndex& index, const char* key, size_t length, uint32_t hash) {
    if (index.base == nullptr) return -1;
    // A shorter held key differs from the key at its NUL, which the key does not hold.
    auto same = [key, length](const char* held) {
        size_t i = 0;
        for (; i + 8 <= length; i += 8) {
            uint64_t a, b;
            std::memcpy(&a, held + i, 8);
            std::memcpy(&b, key + i, 8);
            if (a != b) return false;
        }
        for (; i < length; ++i)
            if (held[i] != key[i]) return false;
        return held[length] == '\0';
    };
    return index.slots[slotWhere(index, hash, same)].first - 1;
}

// The entry after `entry` with the same key; -1 when there is none.
int32_t findNext(const KeyIndex& index, int32_t entry);

}  // namespace lb
