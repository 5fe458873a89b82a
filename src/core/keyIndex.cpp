// Open addressing with linear probing; a slot holds one distinct key and the chain of entries
// that carry it.
#include "core/keyIndex.h"

#include <cstring>

namespace lb {

uint32_t hashKey(const char* key, size_t length) {
    uint32_t hash = 2166136261u;  // FNV-1a
    const unsigned char* p = reinterpret_cast<const unsigned char*>(key);
    for (size_t i = 0; i < length; ++i) hash = (hash ^ p[i]) * 16777619u;
    return hash;
}

namespace {

uint32_t hashKey(const char* key) { return lb::hashKey(key, std::strlen(key)); }

const char* keyOf(const KeyIndex& index, int32_t entry) {
    return index.base + size_t(entry) * index.stride + index.keyOffset;
}

// The slot that holds `key`, or the free slot where it would go.
int32_t slotOf(const KeyIndex& index, const char* key, uint32_t hash) {
    uint32_t slot = hash & (KeyIndex::kSlots - 1);
    while (index.slots[slot].first != 0 &&
           (index.slots[slot].hash != hash ||
            std::strcmp(keyOf(index, index.slots[slot].first - 1), key) != 0)) {
        slot = (slot + 1) & (KeyIndex::kSlots - 1);
    }
    return int32_t(slot);
}

}  // namespace

void resetIndex(KeyIndex& index, const void* table, size_t stride, size_t keyOffset) {
    index.base = static_cast<const char*>(table);
    index.stride = stride;
    index.keyOffset = keyOffset;
    std::memset(index.slots, 0, sizeof index.slots);
}

void addToIndex(KeyIndex& index, int32_t entry) {
    if (entry < 0 || entry >= KeyIndex::kMaxEntries) return;
    addToIndex(index, entry, hashKey(keyOf(index, entry)));
}

void prefetchSlot(const KeyIndex& index, uint32_t hash) {
    __builtin_prefetch(&index.slots[hash & (KeyIndex::kSlots - 1)], 1);
}

void addToIndex(KeyIndex& index, int32_t entry, uint32_t hash) {
    if (entry < 0 || entry >= KeyIndex::kMaxEntries) return;
    const char* key = keyOf(index, entry);
    int32_t slot = slotOf(index, key, hash);
    index.next[entry] = 0;
    KeyIndex::Slot& s = index.slots[slot];
    if (s.first == 0) {
        s.first = entry + 1;
        s.hash = hash;
    } else {
        index.next[s.last - 1] = entry + 1;
    }
    s.last = entry + 1;
}

int32_t findFirst(const KeyIndex& index, const char* key) {
    if (index.base == nullptr) return -1;
    return index.slots[slotOf(index, key, hashKey(key))].first - 1;
}

int32_t findNext(const KeyIndex& index, int32_t entry) {
    if (entry < 0 || entry >= KeyIndex::kMaxEntries) return -1;
    return index.next[entry] - 1;
}

}  // namespace lb
