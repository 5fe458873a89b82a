// Building the host's item lists within a fixed buffer.
#include "core/itemList.h"

#include <cstring>

namespace lb {

ItemList beginItemList(char* buffer, size_t capacity) {
    std::memset(buffer, 0, capacity);
    return ItemList{buffer, capacity, 0, false};
}

void appendMenuItem(ItemList& list, const char* text) {
    if (text[0] == '\0') text = " ";
    size_t length = std::strlen(text);
    if (list.cut || list.used + length + 2 > list.capacity) {  // text, its NUL, the closing NUL
        list.cut = true;
        return;
    }
    std::memcpy(list.buffer + list.used, text, length + 1);
    list.used += length + 1;
    list.buffer[list.used] = '\0';
}

}  // namespace lb
