// The five kinds of emulator with the settings each kind uses, and the two tables of pauses for
// the keyboard-driven launch. The entry itself is a record of core/records.h.
#pragma once

#include <cstdint>

#include "core/records.h"
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

// Whether the entry's kind carries the label of `kind`: the launcher dispatches on labels. False
// for a kind outside the table.
bool hasKindLabel(const EmulatorEntry& entry, EmulatorKind kind);

// Ends every text of an entry read from a file inside its field.
void terminateTexts(EmulatorEntry& entry);

}  // namespace lb
