// What passes between the host and the plug-in: the host's record of a selected ROM, chained by
// `next`, and the host's extract function. Both are the host's; the plug-in only reads them.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__i386__)
#define LB_STDCALL __attribute__((stdcall))
#else
#define LB_STDCALL
#endif

namespace lb {

struct HostRomRecord {
    HostRomRecord* next;  // null ends the chain
    const char* crc32;    // the ROM's key for cache, favourites and extraction
    const char* name;
    uint32_t unused12;
    int32_t number;
    int32_t size;
    int32_t location;
    int32_t language;
    const char* saveType;
    const char* publisher;
    const char* sourceRom;
    const char* comment;  // set name for arcade launches
    uint32_t unused48[3];
};

// A text pointer from the host, or the empty text where the host passed none.
inline const char* hostText(const char* text) { return text != nullptr ? text : ""; }

// Extracts the ROM `crc32` into `destinationDir` under the name that the host cache gives as its
// name inside the archive. The last two arguments are always 0 and 1; the result is not read.
using ExtractCallback = int32_t(LB_STDCALL*)(const char* crc32, const char* destinationDir,
                                             int32_t zero, int32_t one);

#if defined(__i386__)
static_assert(sizeof(HostRomRecord) == 60);
static_assert(offsetof(HostRomRecord, next) == 0);
static_assert(offsetof(HostRomRecord, crc32) == 4);
static_assert(offsetof(HostRomRecord, name) == 8);
static_assert(offsetof(HostRomRecord, number) == 16);
static_assert(offsetof(HostRomRecord, size) == 20);
static_assert(offsetof(HostRomRecord, location) == 24);
static_assert(offsetof(HostRomRecord, language) == 28);
static_assert(offsetof(HostRomRecord, saveType) == 32);
static_assert(offsetof(HostRomRecord, publisher) == 36);
static_assert(offsetof(HostRomRecord, sourceRom) == 40);
static_assert(offsetof(HostRomRecord, comment) == 44);
#endif

}  // namespace lb
