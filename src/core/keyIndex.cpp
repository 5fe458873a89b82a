// Open addressing with linear probing; a slot holds one distinct key and the chain of entries
// that carry it.
#include "core/keyIndex.h"

#include <cstring>

namespace lb {

namespace {

uint32_t hashKey(const char* key) { return lb::hashKey(key, std::strlen(key)); }

int32_t slotOf(const KeyIndex& index, const char* key, uint32_t hash) {
    return slotWhere(index, hash, [key](const char* held) { return std::strcmp(held, key) == 0; });
}

}  // namespace

void resetIndex(KeyIndex& index, const void* table, size_t stride, size_t keyOffset,
                bool keyByPointer) {
    index.base = static_cast<const char*>(table);
    index.stride = stride;
    index.keyOffset = keyOffset;
    index.keyByPointer = keyByPointer;
    std::memset(index.slots, 0, sizeof index.slots);
}

void indexTable(KeyIndex& index, const void* table, int32_t count, size_t stride, size_t keyOffset,
                bool keyByPointer) {
    resetIndex(index, table, stride, keyOffset, keyByPointer);
    for (int32_t i = 0; i < count && i < KeyIndex::kMaxEntries; ++i) addToIndex(index, i);
}

void addToIndex(KeyIndex& index, int32_t entry) {
    if (entry < 0 || entry >= KeyIndex::kMaxEntries) return;
    addToIndex(index, entry, hashKey(heldKey(index, entry)));
}

void addToIndex(KeyIndex& index, int32_t entry, uint32_t hash) {
    if (entry < 0 || entry >= KeyIndex::kMaxEntries) return;
    const char* key = heldKey(index, entry);
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
    return findFirst(index, key, hashKey(key));
}

int32_t findFirst(const KeyIndex& index, const char* key, uint32_t hash) {
    if (index.base == nullptr) return -1;
    return index.slots[slotOf(index, key, hash)].first - 1;
}

int32_t findNext(const KeyIndex& index, int32_t entry) {
    if (entry < 0 || entry >= KeyIndex::kMaxEntries) return -1;
    return index.next[entry] - 1;
}

}  // namespace lb
