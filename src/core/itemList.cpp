// Building the host's item lists within a fixed buffer.
#include "core/itemList.h"

#include <cstring>

#include "core/text.h"

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

void menuItemText(char* target, size_t capacity, const char* name) {
    if (capacity == 0) return;
    size_t used = 0;
    for (const char* p = name; *p != '\0';) {
        size_t length = characterLength(p);
        size_t needed = *p == '&' ? 2 : length;
        if (used + needed > capacity - 1) break;
        if (*p == '&') target[used++] = '&';
        for (size_t i = 0; i < length; ++i) target[used++] = p[i];
        p += length;
    }
    target[used] = '\0';
}

}  // namespace lb
