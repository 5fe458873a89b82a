// The items the plug-in adds to the popup menu of the host's ROM list, and what a click on each
// of them does.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/itemList.h"

namespace lb {

constexpr size_t kPopupTextSize = 2000;

// What a click on popup item `index` does, for a list of `emulatorCount` emulators.
enum class PopupAction { Launch, AddFavorites, RemoveFavorites, Nothing };
PopupAction popupAction(int32_t index, int32_t emulatorCount);

}  // namespace lb
