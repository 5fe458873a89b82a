// One registered emulator, its five kinds with the settings each kind uses, and the two tables of
// pauses for the keyboard-driven launch. The entry is stored in list files byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/text.h"

namespace lb {

enum EmulatorKind : int32_t {
    Standard = 0,
    KeyboardDriven = 1,
    WinX68Fast = 2,
    Xm6 = 3,
    MameModel2 = 4,
};
constexpr int kEmulatorKindCount = 5;
constexpr int kMaxEmulators = 20;  // per system

// A count read from a file or kept in a table, limited to what the 20 slots hold.
inline int32_t boundedEmulatorCount(int32_t count) {
    return count < 0 ? 0 : (count > kMaxEmulators ? kMaxEmulators : count);
}

struct EmulatorEntry {
    char name[kTextSize];
    char exePath[kTextSize];
    char extractDir[kTextSize];
    int32_t kind;
    int32_t keyWaitIndex;
    int32_t browseWaitIndex;
    int32_t extractArchive;
    int32_t quotePath;
    int32_t shortPath;
};
static_assert(sizeof(EmulatorEntry) == 804);
static_assert(offsetof(EmulatorEntry, name) == 0);
static_assert(offsetof(EmulatorEntry, exePath) == 260);
static_assert(offsetof(EmulatorEntry, extractDir) == 520);
static_assert(offsetof(EmulatorEntry, kind) == 780);
static_assert(offsetof(EmulatorEntry, keyWaitIndex) == 784);
static_assert(offsetof(EmulatorEntry, browseWaitIndex) == 788);
static_assert(offsetof(EmulatorEntry, extractArchive) == 792);
static_assert(offsetof(EmulatorEntry, quotePath) == 796);
static_assert(offsetof(EmulatorEntry, shortPath) == 800);

struct EmulatorKindInfo {
    char label[kTextSize];
    int32_t allowsExtract;
    int32_t allowsKeyWait;
    int32_t allowsBrowseWait;
    int32_t allowsQuote;
    int32_t allowsShortPath;
};

struct WaitChoice {
    int32_t milliseconds;
    char label[kTextSize];
};

constexpr int kWaitChoiceCount = 5;
extern const EmulatorKindInfo emulatorKindTable[kEmulatorKindCount];
extern const WaitChoice keyWaitTable[kWaitChoiceCount];
extern const WaitChoice browseWaitTable[kWaitChoiceCount];

// Ends every text of an entry read from a file inside its field.
void terminateTexts(EmulatorEntry& entry);

}  // namespace lb
