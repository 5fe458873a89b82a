// Type-to-find over row texts, walking double-byte characters.
#include "core/rowSearch.h"

#include "core/text.h"
#include "core/textFold.h"

namespace lb {

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

}  // namespace

bool beginsWithTyped(const char* text, const char* typed) {
    while (*typed != '\0') {
        size_t length = characterLength(typed);
        if (characterLength(text) != length) return false;
        if (length == 2 ? text[0] != typed[0] || text[1] != typed[1]
                        : lowerAscii(text[0]) != lowerAscii(typed[0]))
            return false;
        text += length;
        typed += length;
    }
    return true;
}

int32_t findTypedRow(int32_t rowCount, int32_t start, bool wrap, const char* typed, RowText textOf,
                     const void* user, bool folded) {
    if (typed == nullptr || rowCount <= 0) return -1;
    if (start < 0 || start >= rowCount) start = 0;
    auto begins = folded ? beginsWithFolded : beginsWithTyped;
    for (int32_t row = start; row < rowCount; ++row)
        if (begins(textOf(row, user), typed)) return row;
    for (int32_t row = 0; wrap && row < start; ++row)
        if (begins(textOf(row, user), typed)) return row;
    return -1;
}

}  // namespace lb
