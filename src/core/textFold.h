// Folding of Shift-JIS texts for finding them however they were typed: one 16-bit unit for each
// character, so a match can only begin at a whole character. Folded alike are
//   - ASCII letters and full-width letters, without case (to A..Z);
//   - full-width ASCII letters, digits and signs and the ideographic space, to their half-width
//     forms (￥ and ＼ to the backslash code, which a Japanese system shows as ¥);
//   - half-width katakana, to full-width katakana, a half-width voiced or semi-voiced mark
//     joining the character before it (ｶﾞ = ガ, ﾊﾟ = パ);
//   - hiragana, to katakana.
// Every other character keeps its bytes: a single byte as its unit, a double-byte character as
// lead byte * 256 + trail byte.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lb {

// Folds at most `size` bytes of `text` (up to its NUL) into `out`, which has room for `size`
// units; the number of units written.
size_t foldText(const char* text, size_t size, uint16_t* out);

// Whether `folded` (of `length` units) holds `word` (of `wordLength` units) anywhere.
bool holdsFolded(const uint16_t* folded, size_t length, const uint16_t* word, size_t wordLength);

// Whether `text` begins with `typed`, both folded: the type-to-find of the favourites.
bool beginsWithFolded(const char* text, const char* typed);

}  // namespace lb
