// FAVORITEDLG: the favourites of the current system in a sortable, resizable list.
#include "core/dialogSupport.h"
#include "favorites/favorites.h"

namespace lb {

namespace {

INT_PTR CALLBACK favoritesProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

int32_t openFavorites() {
    return int32_t(
        DialogBoxParamA(pluginInstance(), "FAVORITEDLG", GetActiveWindow(), favoritesProc, 0));
}

}  // namespace lb
