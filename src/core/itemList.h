// Item lists handed to the host for its menus: texts one after another, each ending in a NUL,
// the list closed by a second NUL.
#pragma once

#include <cstddef>

namespace lb {

struct ItemList {
    char* buffer;  // zero-filled when the list is begun
    size_t capacity;
    size_t used;  // bytes taken by the items and their NULs
    bool cut;     // an item did not fit: every later item is left out as well
};

// Begins an empty list in `buffer`.
ItemList beginItemList(char* buffer, size_t capacity);

// Adds `text` with its NUL if it and the closing NUL fit, so the list returned is always a
// closed leading part of the full list. An empty text becomes one blank: it would otherwise
// close the list early and shift the indices of the items after it.
void appendMenuItem(ItemList& list, const char* text);

// A name as a menu shows it: every "&" doubled, so none underlines the next character. A text
// that does not fit `capacity` is cut at a whole character.
void menuItemText(char* target, size_t capacity, const char* name);

}  // namespace lb
