// Centring arithmetic shared by every dialog of the plug-in.
#include "core/placement.h"

namespace lb {

ScreenPoint centredOrigin(const ScreenRect& work, const ScreenRect& window) {
    int32_t width = window.right - window.left, height = window.bottom - window.top;
    return {work.left + ((work.right - work.left) - width) / 2,
            work.top + ((work.bottom - work.top) - height) / 2};
}

}  // namespace lb
