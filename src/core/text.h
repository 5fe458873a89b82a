// Fixed 260-byte texts and ANSI paths: bounded copies that say whether the text fitted, and path
// helpers that walk double-byte characters, so a trail byte 0x5C is never taken for a backslash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lb {

constexpr size_t kTextSize = 260;  // every text field: at most 259 bytes and the NUL

// Length in bytes of the character at `text`: 2 for a lead byte of the ANSI code page followed
// by its trail byte, else 1. Every walk over a path steps by it.
size_t characterLength(const char* text);

// An ASCII capital as its small letter; every other byte as it is. File names are compared so.
inline char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// Length of a text of at most `capacity` bytes that may lack its NUL.
size_t boundedLength(const char* text, size_t capacity);

// Copies `source` into `target` (capacity bytes, NUL included). A text that does not fit is cut
// at the last whole character that fits and false is returned; `target` always ends in a NUL.
bool copyText(char* target, size_t capacity, const char* source);

// Appends the texts in order; when the whole result does not fit, `target` is left unchanged
// and false is returned. `target` must already hold a NUL-terminated text.
bool appendTexts(char* target, size_t capacity, const char* const* parts, size_t partCount);

// Joins the texts into `target`; on false `target` holds the empty text, never a cut-off path.
bool joinTexts(char* target, size_t capacity, const char* const* parts, size_t partCount);

template <size_t N>
bool copyText(char (&target)[N], const char* source) {
    return copyText(target, N, source);
}
template <size_t N, typename... Parts>
bool joinPath(char (&target)[N], const Parts*... parts) {
    const char* list[] = {parts...};
    return joinTexts(target, N, list, sizeof...(parts));
}

// Makes the last byte of a fixed field a NUL, for texts read from files.
template <size_t N>
void terminateText(char (&text)[N]) {
    text[N - 1] = '\0';
}

// Copies `length` bytes of a line into a field with its NUL; false, changing nothing, when
// they do not fit or hold a NUL.
bool takeBytes(char* field, size_t size, const char* text, size_t length);
template <size_t N>
bool takeBytes(char (&field)[N], const char* text, size_t length) {
    return takeBytes(field, N, text, length);
}

// `value` in decimal digits; the number of `length` bytes that are digits only, at most
// `maxDigits` of them (false, `value` unspecified, for any other text). writeDecimal writes the
// digits at `out`, at most 20 and no NUL, and returns how many.
void decimalText(char (&text)[24], uint64_t value);
size_t writeDecimal(char* out, uint64_t value);
bool takeDecimal(uint64_t& value, const char* text, size_t length, size_t maxDigits);
// The digits from `text` on, before `end` and at most `maxDigits` of them, as `value`; where
// they stop (`text` when there is none).
const char* readDigits(uint64_t& value, const char* text, const char* end, size_t maxDigits);

// The word loop of findBytes, from `p` on with `count` found so far: the whole search in the
// DLL, which is built for any x86, and the rest after the blocks elsewhere. A word holds the
// byte where its bytes XOR it have a zero byte, found exactly, without a carry from one byte
// into the next.
inline int findBytesByWords(char byte, const char* p, const char* end, const char** found,
                            int wanted, int count = 0) {
    using Word = uintptr_t;
    constexpr Word kOnes = ~Word(0) / 255, kLow7 = kOnes * 0x7F;
    const Word kBytes = kOnes * static_cast<unsigned char>(byte);
    auto zeroBytes = [](Word w) { return ~(((w & kLow7) + kLow7) | w | kLow7); };
    for (; count < wanted && end - p >= ptrdiff_t(sizeof(Word)); p += sizeof(Word)) {
        Word word;
        std::memcpy(&word, p, sizeof word);
        Word hits = zeroBytes(word ^ kBytes), nuls = zeroBytes(word);
        if (nuls != 0) hits &= (nuls & (~nuls + 1)) - 1;  // only those before the NUL
        for (; hits != 0 && count < wanted; hits &= hits - 1)
            found[count++] = p + __builtin_ctzll(hits) / 8;  // little-endian
        if (nuls != 0) return count;
    }
    for (; count < wanted && p < end && *p != '\0'; ++p)
        if (*p == byte) found[count++] = p;
    return count;
}

// The positions of the first `wanted` bytes `byte` of [from, end) that come before any NUL. With
// SSE2 (the 64-bit builds; the DLL is built for any x86) sixteen bytes are compared at a time,
// each compare's marks one bit a byte; the rest goes a machine word at a time. The number found.
inline int findBytes(char byte, const char* from, const char* end, const char** found, int wanted) {
    int count = 0;
    const char* p = from;
#if defined(__SSE2__)
    const __m128i bytes = _mm_set1_epi8(byte), nul = _mm_setzero_si128();
    for (; count < wanted && end - p >= 16; p += 16) {
        __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        unsigned hits = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(block, bytes)));
        unsigned nuls = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(block, nul)));
        if (nuls != 0) hits &= (nuls & (~nuls + 1)) - 1;
        for (; hits != 0 && count < wanted; hits &= hits - 1)
            found[count++] = p + __builtin_ctz(hits);
        if (nuls != 0) return count;
    }
#endif
    return findBytesByWords(byte, p, end, found, wanted, count);
}

// The word loop of findByteOrNul, from `p` on: (w - 1s) & ~w & 80s marks the first zero byte of
// w exactly (a borrow marks only bytes above it), so the lowest mark of either test is the first
// byte wanted. The whole search in the DLL, the rest after the blocks elsewhere.
inline const char* findByteOrNulByWords(char byte, const char* p, const char* end) {
    using Word = uintptr_t;
    constexpr Word kOnes = ~Word(0) / 255, kHigh = kOnes * 0x80;
    const Word kBytes = kOnes * static_cast<unsigned char>(byte);
    for (; end - p >= ptrdiff_t(sizeof(Word)); p += sizeof(Word)) {
        Word word;
        std::memcpy(&word, p, sizeof word);
        Word other = word ^ kBytes;
        Word marks = ((other - kOnes) & ~other & kHigh) | ((word - kOnes) & ~word & kHigh);
        if (marks != 0) return p + __builtin_ctzll(marks) / 8;  // little-endian
    }
    for (; p < end; ++p)
        if (*p == byte || *p == '\0') return p;
    return end;
}

// The first byte `byte` or NUL of [from, end), or `end` when there is neither: sixteen bytes at
// a time with SSE2, then a machine word at a time.
inline const char* findByteOrNul(char byte, const char* from, const char* end) {
    const char* p = from;
#if defined(__SSE2__)
    const __m128i bytes = _mm_set1_epi8(byte), nul = _mm_setzero_si128();
    for (; end - p >= 16; p += 16) {
        __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i either = _mm_or_si128(_mm_cmpeq_epi8(block, bytes), _mm_cmpeq_epi8(block, nul));
        if (unsigned marks = unsigned(_mm_movemask_epi8(either))) return p + __builtin_ctz(marks);
    }
#endif
    return findByteOrNulByWords(byte, p, end);
}

// The next line of a text of `length` bytes from `at`, without its LF or CR LF: `line` and
// `lineLength`, `at` moved past it; false at the end. The text files' readers walk so.
bool nextLine(const char* text, size_t length, size_t& at, const char*& line, size_t& lineLength);

// Whether the last character of `text` is a backslash, walking by characters.
bool endsWithBackslash(const char* text);

// Appends a backslash unless the text already ends in one; false when it does not fit.
bool ensureBackslash(char* text, size_t capacity);

// All but the last `count` characters of `text`, counted by characters so a double-byte one
// is never split; false, with `target` empty, when the text has no more than `count`.
bool dropLastCharacters(char (&target)[kTextSize], const char* text, size_t count);

// The drive and folder of a path with the folder's final backslash: D:\Emu\ for D:\Emu\run.exe.
// A path without a drive gives its folder alone; the result is never longer than the path.
void driveAndFolder(char (&target)[kTextSize], const char* path);

}  // namespace lb
