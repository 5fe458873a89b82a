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

// Lengths as Windows shows them to a program that is not DPI aware: in units of 96 DPI, the way
// "Setting.dat" keeps the favourites dialog's rectangle and column widths, so that one file
// opens the dialog the same size to the eye at any scale and older versions read the same
// numbers. To pixels at `dpi` and back, rounded to the nearest (halves away from zero), so that
// a length stored, shown and stored again keeps its number.
constexpr int32_t kBaseDpi = 96;
int32_t storedToPixels(int32_t stored, int32_t dpi);
int32_t pixelsToStored(int32_t pixels, int32_t dpi);
ScreenRect storedToPixels(const ScreenRect& stored, int32_t dpi);
ScreenRect pixelsToStored(const ScreenRect& pixels, int32_t dpi);

}  // namespace lb
