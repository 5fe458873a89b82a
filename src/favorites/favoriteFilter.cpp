// The favourites filter: folded once per working copy, matched per typed text by whole
// characters, so 10,000 rows answer a key in a few milliseconds.
#include "favorites/favoriteFilter.h"

#include <cstring>

#include "core/textFold.h"
#include "platform/platform.h"

namespace lb {

namespace {

constexpr size_t kFieldCount = 6;

void fieldsOf(const FavoriteEntry& entry, const char* (&fields)[kFieldCount]) {
    fields[0] = entry.name;
    fields[1] = entry.publisher;
    fields[2] = entry.sourceRom;
    fields[3] = entry.saveType;
    fields[4] = entry.crc32;
    fields[5] = entry.comment;
}

bool isBlank(uint16_t unit) { return unit == ' ' || unit == '\t'; }

// The filter's text folded, and whether it holds a word, not only blanks.
size_t foldQuery(const char* text, uint16_t (&folded)[kTextSize], bool& anyWord) {
    size_t length = foldText(text, kTextSize - 1, folded);
    size_t blanks = 0;
    while (blanks < length && isBlank(folded[blanks])) ++blanks;
    anyWord = blanks < length;
    return length;
}

bool holdsEveryWord(const FavoriteFilter& filter, int32_t row, const uint16_t* text,
                    size_t length) {
    const FoldedSpan& span = filter.spans[row];
    const uint16_t* folded = filter.units + span.start;
    for (size_t at = 0; at < length;) {
        while (at < length && isBlank(text[at])) ++at;
        size_t end = at;
        while (end < length && !isBlank(text[end])) ++end;
        if (end > at && !holdsFolded(folded, size_t(span.length), text + at, end - at))
            return false;
        at = end;
    }
    return true;
}

// Shows the rows that hold every word of the folded text; every row for a text without one.
void applyFolded(FavoriteFilter& filter, const uint16_t* folded, size_t length, bool anyWord) {
    filter.narrowed = anyWord;
    if (filter.shown == nullptr) {
        filter.shownCount = filter.rowCount;  // nothing folded: every row stays
        filter.narrowed = false;
        return;
    }
    int32_t shown = 0;
    for (int32_t row = 0; row < filter.rowCount; ++row)
        if (!anyWord || holdsEveryWord(filter, row, folded, length)) filter.shown[shown++] = row;
    filter.shownCount = shown;
}

}  // namespace

bool prepareFilter(FavoriteFilter& filter, const FavoriteEntry* entries, int32_t count) {
    count = boundedFavoriteCount(count);
    showAllRows(filter, count);
    if (count == 0 || entries == nullptr) return true;
    size_t total = 0;
    const char* fields[kFieldCount];
    for (int32_t i = 0; i < count; ++i) {
        fieldsOf(entries[i], fields);
        for (const char* field : fields) total += boundedLength(field, kTextSize) + 1;
    }
    filter.units = static_cast<uint16_t*>(platform::allocateZeroed(total * sizeof(uint16_t)));
    filter.spans =
        static_cast<FoldedSpan*>(platform::allocateZeroed(size_t(count) * sizeof(FoldedSpan)));
    filter.shown = static_cast<int32_t*>(platform::allocateZeroed(size_t(count) * sizeof(int32_t)));
    if (filter.units == nullptr || filter.spans == nullptr || filter.shown == nullptr) {
        showAllRows(filter, count);
        return false;
    }
    size_t used = 0;
    for (int32_t i = 0; i < count; ++i) {
        // The six fields lie 260 bytes apart, each on a line of its own: those of an entry a
        // few ahead are asked for while this one is folded.
        if (i + 4 < count) {
            fieldsOf(entries[i + 4], fields);
            for (const char* field : fields) __builtin_prefetch(field);
        }
        filter.spans[i].start = int32_t(used);
        fieldsOf(entries[i], fields);
        for (const char* field : fields) {
            used += foldText(field, kTextSize, filter.units + used);
            filter.units[used++] = 0;  // no match runs from one field into the next
        }
        filter.spans[i].length = int32_t(used) - filter.spans[i].start;
        filter.shown[i] = i;
    }
    return true;
}

void releaseFilter(FavoriteFilter& filter) {
    platform::release(filter.units);
    platform::release(filter.spans);
    platform::release(filter.shown);
    filter = FavoriteFilter{};
}

void applyFilter(FavoriteFilter& filter, const char* text) {
    uint16_t folded[kTextSize];
    bool anyWord = false;
    size_t length = foldQuery(text, folded, anyWord);
    applyFolded(filter, folded, length, anyWord);
}

void showAllRows(FavoriteFilter& filter, int32_t count) {
    releaseFilter(filter);
    filter.rowCount = filter.shownCount = boundedFavoriteCount(count);
}

void filterEntries(FavoriteFilter& filter, const FavoriteEntry* entries, int32_t count,
                   const char* text) {
    uint16_t folded[kTextSize];
    bool anyWord = false;
    size_t length = foldQuery(text, folded, anyWord);
    if (anyWord && filter.spans == nullptr) prepareFilter(filter, entries, count);
    applyFolded(filter, folded, length, anyWord);
}

void reorderFilter(FavoriteFilter& filter, const int32_t* order) {
    if (filter.spans == nullptr) return;
    static FoldedSpan before[kMaxFavorites];
    std::memcpy(before, filter.spans, size_t(filter.rowCount) * sizeof(FoldedSpan));
    for (int32_t i = 0; i < filter.rowCount; ++i) {
        int32_t from = order[i];
        if (from >= 0 && from < filter.rowCount) filter.spans[i] = before[from];
    }
}

int32_t shownEntry(const FavoriteFilter& filter, int32_t row) {
    if (row < 0 || row >= filter.shownCount) return -1;
    return filter.shown != nullptr ? filter.shown[row] : row;
}

}  // namespace lb
