// FAVORITEDLG, the favourites of the current system. Opened from the main menu.
#pragma once

#include <cstdint>

namespace lb {

// Runs the favourites dialog over the loaded favourites; the result it ended with (1 OK,
// 2 Cancel), -1 when it cannot be created.
int32_t openFavorites();

}  // namespace lb
