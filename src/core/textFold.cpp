// Character folding by table: Shift-JIS places the full-width forms, the hiragana and the
// katakana in runs, so most folds are an offset; the signs and the half-width katakana are
// looked up.
#include "core/textFold.h"

#include <cstring>

#include "core/text.h"

namespace lb {

namespace {

// Half-width 0xA1..0xDF as their full-width characters.
constexpr uint16_t kHalfKana[63] = {
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340, 0x8342, 0x8344, 0x8346, 0x8348,
    0x8383, 0x8385, 0x8387, 0x8362, 0x815B, 0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x834A,
    0x834C, 0x834E, 0x8350, 0x8352, 0x8354, 0x8356, 0x8358, 0x835A, 0x835C, 0x835E, 0x8360,
    0x8363, 0x8365, 0x8367, 0x8369, 0x836A, 0x836B, 0x836C, 0x836D, 0x836E, 0x8371, 0x8374,
    0x8377, 0x837A, 0x837D, 0x837E, 0x8380, 0x8381, 0x8382, 0x8384, 0x8386, 0x8388, 0x8389,
    0x838A, 0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B};

constexpr unsigned char kVoicedMark = 0xDE, kSemiVoicedMark = 0xDF;

// Full-width signs and their half-width forms.
struct Sign {
    uint16_t wide;
    char narrow;
};
constexpr Sign kSigns[] = {
    {0x8140, ' '}, {0x8143, ','},  {0x8144, '.'},  {0x8146, ':'}, {0x8147, ';'},  {0x8148, '?'},
    {0x8149, '!'}, {0x814D, '`'},  {0x814F, '^'},  {0x8151, '_'}, {0x815E, '/'},  {0x815F, '\\'},
    {0x8160, '~'}, {0x8162, '|'},  {0x8169, '('},  {0x816A, ')'}, {0x816D, '['},  {0x816E, ']'},
    {0x816F, '{'}, {0x8170, '}'},  {0x817B, '+'},  {0x817C, '-'}, {0x8181, '='},  {0x8183, '<'},
    {0x8184, '>'}, {0x818F, '\\'}, {0x8190, '$'},  {0x8193, '%'}, {0x8194, '#'},  {0x8195, '&'},
    {0x8196, '*'}, {0x8197, '@'},  {0xFA56, '\''}, {0xFA57, '"'}, {0xEEFB, '\''}, {0xEEFC, '"'}};

// Whether katakana `k` takes a semi-voiced mark as k + 2 (the ハ row), or a voiced one as
// k + 1 (the カ, サ, タ and ハ rows).
bool takesSemiVoicedMark(uint16_t k) { return k >= 0x836E && k <= 0x837A && (k - 0x836E) % 3 == 0; }
bool takesVoicedMark(uint16_t k) {
    return (k >= 0x834A && k <= 0x8367 && k != 0x8362 && (k <= 0x8360 ? k % 2 == 0 : k % 2 == 1)) ||
           takesSemiVoicedMark(k);
}

uint16_t foldWide(uint16_t code) {
    if (code >= 0x829F && code <= 0x82F1) {  // hiragana: the katakana run skips 0x837F
        uint16_t k = uint16_t(0x8340 + (code - 0x829F));
        return k >= 0x837F ? uint16_t(k + 1) : k;
    }
    if (code >= 0x824F && code <= 0x8258) return uint16_t('0' + (code - 0x824F));
    if (code >= 0x8260 && code <= 0x8279) return uint16_t('A' + (code - 0x8260));
    if (code >= 0x8281 && code <= 0x829A) return uint16_t('A' + (code - 0x8281));
    if (code == 0x8154 || code == 0x8155) return uint16_t(code - 2);  // ゝゞ as ヽヾ
    for (const Sign& sign : kSigns)
        if (sign.wide == code) return uint16_t(static_cast<unsigned char>(sign.narrow));
    return code;
}

}  // namespace

size_t foldText(const char* text, size_t size, uint16_t* out) {
    size_t units = 0;
    for (size_t at = 0; at < size && text[at] != '\0';) {
        auto c = static_cast<unsigned char>(text[at]);
        if (c < 0x80) {  // the common case, without a branch for the case
            out[units++] = uint16_t(c - (unsigned(c - 'a') < 26u ? 'a' - 'A' : 0));
            ++at;
        } else if (c >= 0xA1 && c <= 0xDF) {
            uint16_t k = kHalfKana[c - 0xA1];
            auto next = at + 1 < size ? static_cast<unsigned char>(text[at + 1]) : 0;
            at += 1;
            if (next == kVoicedMark && k == 0x8345) {
                k = 0x8394, ++at;  // ｳﾞ = ヴ
            } else if (next == kVoicedMark && takesVoicedMark(k)) {
                k = uint16_t(k + 1), ++at;
            } else if (next == kSemiVoicedMark && takesSemiVoicedMark(k)) {
                k = uint16_t(k + 2), ++at;
            }
            out[units++] = k;
        } else if (at + 1 < size && characterLength(text + at) == 2) {
            out[units++] = foldWide(uint16_t(c << 8 | static_cast<unsigned char>(text[at + 1])));
            at += 2;
        } else {
            out[units++] = c;  // a single byte of its own, or a lead byte without its trail
            ++at;
        }
    }
    return units;
}

bool holdsFolded(const uint16_t* folded, size_t length, const uint16_t* word, size_t wordLength) {
    if (wordLength == 0) return true;
    if (wordLength > length) return false;
    const uint16_t first = word[0];
    for (size_t at = 0, last = length - wordLength; at <= last; ++at) {
        if (folded[at] != first) continue;
        if (std::memcmp(folded + at + 1, word + 1, (wordLength - 1) * sizeof(uint16_t)) == 0)
            return true;
    }
    return false;
}

bool beginsWithFolded(const char* text, const char* typed) {
    uint16_t foldedText[kTextSize], foldedTyped[4 * kTextSize];
    size_t typedLength = foldText(typed, sizeof foldedTyped / sizeof foldedTyped[0], foldedTyped);
    size_t textLength = foldText(text, kTextSize, foldedText);
    return typedLength <= textLength &&
           std::memcmp(foldedText, foldedTyped, typedLength * sizeof(uint16_t)) == 0;
}

}  // namespace lb
