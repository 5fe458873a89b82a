// GAMESETTINGDLG, "このゲームの起動設定": the emulator and the arguments that games of the current
// system start with, opened from the context menus of the favourites dialog's two tabs.
#pragma once

#include <windows.h>

#include <cstdint>

#include "core/hostInterface.h"

namespace lb {

// The context menus' item that opens it.
constexpr char kGameSettingItem[] = "このゲームの起動設定…";

// The game the dialog opens on: its key, the name it shows and its set name.
struct FocusedGame {
    const char* key;
    const char* name;
    const char* set;
};

// Sets the launch setting of the `count` games `keys`, starting from the setting of `focused`,
// whose name the dialog shows and whose command line its sample shows. A settings file that
// cannot be read is told, and the dialog does not open. OK saves at once; Cancel changes nothing.
void editGameSetting(HWND owner, const FocusedGame& focused, const char* const* keys,
                     int32_t count);

}  // namespace lb
