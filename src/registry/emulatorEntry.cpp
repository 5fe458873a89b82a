// The read-only tables of emulator kinds and wait choices. The kind labels are what the launcher
// dispatches on, so they are kept exactly as the edit dialog shows them.
#include "registry/emulatorEntry.h"

#include <cstring>

namespace lb {

const EmulatorKindInfo emulatorKindTable[kEmulatorKindCount] = {
    {"標準エミュレータ", 1, 0, 0, 1, 1},
    {"1964 / Project Tempest", 1, 1, 1, 0, 0},
    {"WinX68高速版", 1, 0, 0, 0, 1},
    {"XM6", 1, 0, 0, 0, 1},
    {"MAME / Model 2 Emulator", 0, 0, 0, 0, 0},
};

const WaitChoice keyWaitTable[kWaitChoiceCount] = {
    {50, "50ミリ秒"},   {100, "100ミリ秒"},   {200, "200ミリ秒"},
    {500, "500ミリ秒"}, {1000, "1000ミリ秒"},
};

const WaitChoice browseWaitTable[kWaitChoiceCount] = {
    {500, "500ミリ秒"},   {1000, "1000ミリ秒"},   {2000, "2000ミリ秒"},
    {5000, "5000ミリ秒"}, {10000, "10000ミリ秒"},
};

void terminateTexts(EmulatorEntry& entry) {
    terminateText(entry.name);
    terminateText(entry.exePath);
    terminateText(entry.extractDir);
}

bool hasKindLabel(const EmulatorEntry& entry, EmulatorKind kind) {
    return entry.kind >= 0 && entry.kind < kEmulatorKindCount &&
           std::strcmp(emulatorKindTable[entry.kind].label, emulatorKindTable[kind].label) == 0;
}

}  // namespace lb
