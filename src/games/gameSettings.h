// Each game's own launch setting: the emulator it starts with and the arguments it adds, kept
// for up to 10,000 games of a system in "<system>.games.txt" beside the other lists.
//
// The file is Shift-JIS text of CR LF lines, one game a line: its key, the emulator's name, its
// program and the game's arguments, separated by tabs. A first line "#" carries the version. A
// line that cannot be read (not four fields, a field too long) is passed over, and kept as it
// is by every save, so nothing written by hand is lost.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/fileIo.h"
#include "core/records.h"
#include "core/text.h"

namespace lb {

constexpr int32_t kMaxGameSettings = 10000;
constexpr size_t kGameArgumentsSize = 1001;  // at most 1,000 bytes and the NUL

// A game's setting. An empty emulator name means none: the game starts with the emulator the
// place picks, with its arguments all the same.
struct GameSetting {
    char key[kTextSize];
    char emulator[kTextSize];
    char program[kTextSize];
    char arguments[kGameArgumentsSize];
};

// "<data folder><system>.games.txt"; false when it does not fit.
bool gameSettingsPath(char (&path)[kTextSize]);

// Reads the setting of the game `key`; `found` tells whether the file has one. Missing when
// there is no file, Unreadable when it exists but cannot be read (nothing is then known). The
// file is read again only when its size or its time of writing changed.
FileRead findGameSetting(const char* path, const char* key, GameSetting& setting, bool& found);

// Frees what findGameSetting keeps of the file between launches; closePlugin calls it.
void releaseGameSettings();

// The index in the state's list of the emulator the setting names, when it is still registered
// there (the same name, the same program without regard to ASCII case); -1 otherwise.
int32_t settingEmulatorIndex(const GameSetting& setting);

// Whether a launch with emulator `index` gets the setting's arguments: it is the setting's
// emulator, or the setting names none.
bool argumentsApply(const GameSetting& setting, int32_t index);

// Whether the arguments can be kept: at most 1,000 bytes, on one line, without a tab.
bool storableArguments(const char* arguments);

enum class GamesSave { Saved, Unreadable, TooMany, Failed };
// Gives each of the `count` games `keys` the emulator and arguments of `setting` (its key is not
// used), or removes their lines when it names no emulator and has no arguments. Every other line
// is kept as it was. TooMany, nothing written, when more than 10,000 games would have one;
// Unreadable when the file cannot be read; Failed when it cannot be saved (platform::lastError
// tells why).
GamesSave saveGameSettings(const char* path, const char* const* keys, int32_t count,
                           const GameSetting& setting);

}  // namespace lb
