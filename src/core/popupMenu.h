// Item lists handed to the host (texts one after another, each ending in a NUL, the list closed
// by a second NUL), and the items the plug-in adds to the popup menu of the host's ROM list.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lb {

constexpr size_t kPopupTextSize = 2000;

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

// What a click on popup item `index` does, for a list of `emulatorCount` emulators.
enum class PopupAction { Launch, AddFavorites, RemoveFavorites, Nothing };
PopupAction popupAction(int32_t index, int32_t emulatorCount);

}  // namespace lb
