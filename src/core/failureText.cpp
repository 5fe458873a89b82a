// Failure texts: the system's words with their argument put in, after a headline and a subject.
#include "core/failureText.h"

#include <cstring>

#include "core/text.h"
#include "platform/platform.h"

namespace lb {

void appendParts(char (&text)[kMessageSize], const char* const* parts, size_t partCount) {
    size_t used = std::strlen(text);
    for (size_t i = 0; i < partCount; ++i) {
        copyText(text + used, sizeof text - used, parts[i]);
        used += std::strlen(text + used);
    }
}

void insertArgument(char (&target)[kMessageSize], const char* reason, const char* argument) {
    target[0] = '\0';
    size_t used = 0;
    for (const char* p = reason; *p != '\0';) {
        if (p[0] == '%' && p[1] == '1') {
            copyText(target + used, sizeof target - used, argument);
            used += std::strlen(target + used);
            p += 2;
            continue;
        }
        size_t length = characterLength(p);
        if (used + length >= sizeof target) break;
        std::memcpy(target + used, p, length);
        used += length;
        target[used] = '\0';
        p += length;
    }
}

void failureText(char (&text)[kMessageSize], const char* headline, const char* subject,
                 uint32_t error) {
    char words[kMessageSize], reason[kMessageSize];
    platform::errorText(error, words, sizeof words);
    insertArgument(reason, words, subject);
    text[0] = '\0';
    const char* parts[] = {headline, "\r\n", subject, "\r\n", reason};
    appendParts(text, parts, reason[0] != '\0' ? 5 : 3);
}

}  // namespace lb
