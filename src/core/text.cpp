// Bounded text copies and double-byte-aware path helpers.
#include "core/text.h"

#include <cstring>

#include "platform/platform.h"

namespace lb {

size_t characterLength(const char* text) {
    if (platform::isLeadByte(static_cast<unsigned char>(text[0])) && text[1] != '\0') return 2;
    return 1;
}

size_t boundedLength(const char* text, size_t capacity) {
    const void* end = std::memchr(text, '\0', capacity);
    return end ? static_cast<const char*>(end) - text : capacity;
}

bool copyText(char* target, size_t capacity, const char* source) {
    if (capacity == 0) return false;
    size_t length = std::strlen(source);
    bool fits = length < capacity;
    if (!fits) {
        length = 0;
        while (source[length] != '\0') {
            size_t next = length + characterLength(source + length);
            if (next > capacity - 1) break;
            length = next;
        }
    }
    std::memmove(target, source, length);
    target[length] = '\0';
    return fits;
}

bool appendTexts(char* target, size_t capacity, const char* const* parts, size_t partCount) {
    size_t length = boundedLength(target, capacity);
    if (length == capacity) return false;
    size_t total = length;
    for (size_t i = 0; i < partCount; ++i) total += std::strlen(parts[i]);
    if (total >= capacity) return false;
    for (size_t i = 0; i < partCount; ++i) {
        size_t n = std::strlen(parts[i]);
        std::memmove(target + length, parts[i], n);
        length += n;
    }
    target[length] = '\0';
    return true;
}

bool joinTexts(char* target, size_t capacity, const char* const* parts, size_t partCount) {
    if (capacity == 0) return false;
    target[0] = '\0';
    return appendTexts(target, capacity, parts, partCount);
}

bool endsWithBackslash(const char* text) {
    const char* last = nullptr;
    for (const char* p = text; *p != '\0'; p += characterLength(p)) last = p;
    return last != nullptr && last[0] == '\\' && characterLength(last) == 1;
}

bool ensureBackslash(char* text, size_t capacity) {
    if (endsWithBackslash(text)) return true;
    const char* backslash[] = {"\\"};
    return appendTexts(text, capacity, backslash, 1);
}

bool dropLastCharacters(char (&target)[kTextSize], const char* text, size_t count) {
    size_t boundaries[kTextSize];  // where each character starts
    size_t characters = 0;
    for (size_t i = 0; text[i] != '\0' && i < kTextSize - 1; i += characterLength(text + i)) {
        boundaries[characters++] = i;
    }
    target[0] = '\0';
    if (characters <= count) return false;
    size_t keep = boundaries[characters - count];
    std::memmove(target, text, keep);
    target[keep] = '\0';
    return true;
}

bool takeBytes(char* field, size_t size, const char* text, size_t length) {
    if (length >= size || std::memchr(text, '\0', length) != nullptr) return false;
    std::memcpy(field, text, length);
    field[length] = '\0';
    return true;
}

size_t writeDecimal(char* out, uint64_t value) {
    size_t digits = 1;  // a uint64_t has at most 20
    for (uint64_t rest = value / 10; rest > 0; rest /= 10) ++digits;
    for (size_t i = digits; i > 0; value /= 10) out[--i] = char('0' + value % 10);
    return digits;
}

void decimalText(char (&text)[24], uint64_t value) { text[writeDecimal(text, value)] = '\0'; }

const char* readDigits(uint64_t& value, const char* text, const char* end, size_t maxDigits) {
    value = 0;
    const char* at = text;
    for (; at < end && size_t(at - text) < maxDigits && *at >= '0' && *at <= '9'; ++at)
        value = value * 10 + uint64_t(*at - '0');
    return at;
}

bool takeDecimal(uint64_t& value, const char* text, size_t length, size_t maxDigits) {
    if (length == 0 || length > maxDigits) return false;
    return readDigits(value, text, text + length, maxDigits) == text + length;
}

bool nextLine(const char* text, size_t length, size_t& at, const char*& line, size_t& lineLength) {
    if (at >= length) return false;
    const void* newline = std::memchr(text + at, '\n', length - at);
    size_t end = newline ? size_t(static_cast<const char*>(newline) - text) : length;
    line = text + at;
    lineLength = end - at;
    if (lineLength > 0 && line[lineLength - 1] == '\r') --lineLength;
    at = end + 1;
    return true;
}

void driveAndFolder(char (&target)[kTextSize], const char* path) {
    size_t end = 0;  // just past the last separator, or past the drive
    if (path[0] != '\0' && path[1] == ':') end = 2;
    for (size_t i = end; path[i] != '\0' && i < kTextSize - 1; i += characterLength(path + i)) {
        if ((path[i] == '\\' || path[i] == '/') && characterLength(path + i) == 1) end = i + 1;
    }
    if (end > kTextSize - 1) end = kTextSize - 1;
    std::memmove(target, path, end);
    target[end] = '\0';
}

}  // namespace lb
