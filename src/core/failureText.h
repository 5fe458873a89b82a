// The texts of a failure shown to the user: a headline, the file or program it concerns, and
// the system's words for the error, lines joined by CR LF.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lb {

constexpr size_t kMessageSize = 4096;

// Appends the parts to `text`; a part that does not fit is cut at a whole character, and so is
// every part after it.
void appendParts(char (&text)[kMessageSize], const char* const* parts, size_t partCount);

// `reason` with `argument` in place of each "%1", as the system's own messages mean it: "%1 は
// 有効な Win32 アプリケーションではありません。" names the program. Cut at a whole character.
void insertArgument(char (&target)[kMessageSize], const char* reason, const char* argument);

// "headline CR LF subject CR LF reason", the reason the system's words for `error` with
// `subject` as their argument; the reason's line is left out when the system has no words.
void failureText(char (&text)[kMessageSize], const char* headline, const char* subject,
                 uint32_t error);

}  // namespace lb
