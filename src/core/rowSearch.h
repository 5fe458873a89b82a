// Type-to-find in the owner-data lists: which row a typed text lands on. The lists keep their
// texts themselves, so the list view asks the dialog, and the dialog asks this.
#pragma once

#include <cstdint>

namespace lb {

// Whether `text` begins with `typed`: ASCII letters compare without case, every other byte
// exactly, and a double-byte character matches only a whole double-byte character.
bool beginsWithTyped(const char* text, const char* typed);

// The first row from `start` to the last, then, with `wrap`, from row 0, whose text begins
// with `typed`; -1 when no row does. `textOf(row, user)` gives a row's text. With `folded`, the
// texts compare as the favourites filter folds them (core/textFold.h).
using RowText = const char* (*)(int32_t row, const void* user);
int32_t findTypedRow(int32_t rowCount, int32_t start, bool wrap, const char* typed, RowText textOf,
                     const void* user, bool folded = false);

}  // namespace lb
