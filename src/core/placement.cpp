// Centring arithmetic shared by every dialog of the plug-in.
#include "core/placement.h"

namespace lb {

ScreenPoint centredOrigin(const ScreenRect& work, const ScreenRect& window) {
    int32_t width = window.right - window.left, height = window.bottom - window.top;
    return {work.left + ((work.right - work.left) - width) / 2,
            work.top + ((work.bottom - work.top) - height) / 2};
}

namespace {

int32_t rescale(int32_t length, int32_t to, int32_t from) {
    if (to <= 0 || from <= 0) return length;
    int64_t scaled = int64_t(length) * to, half = from / 2;
    return int32_t(scaled >= 0 ? (scaled + half) / from : -((-scaled + half) / from));
}

}  // namespace

int32_t storedToPixels(int32_t stored, int32_t dpi) { return rescale(stored, dpi, kBaseDpi); }
int32_t pixelsToStored(int32_t pixels, int32_t dpi) { return rescale(pixels, kBaseDpi, dpi); }

ScreenRect storedToPixels(const ScreenRect& stored, int32_t dpi) {
    return {storedToPixels(stored.left, dpi), storedToPixels(stored.top, dpi),
            storedToPixels(stored.right, dpi), storedToPixels(stored.bottom, dpi)};
}

ScreenRect pixelsToStored(const ScreenRect& pixels, int32_t dpi) {
    return {pixelsToStored(pixels.left, dpi), pixelsToStored(pixels.top, dpi),
            pixelsToStored(pixels.right, dpi), pixelsToStored(pixels.bottom, dpi)};
}

}  // namespace lb
