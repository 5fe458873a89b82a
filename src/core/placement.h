// Where the plug-in's dialogs go on the screen: centred on the desktop work area, a larger
// window with a negative offset.
#pragma once

#include <cstdint>

#include "core/records.h"

namespace lb {

struct ScreenPoint {
    int32_t x, y;
};

// The top-left corner that centres `window` on `work`, truncating toward zero.
ScreenPoint centredOrigin(const ScreenRect& work, const ScreenRect& window);

}  // namespace lb
