// The popup items: one per emulator of the current system, a separator, and the two favourites
// commands. Arcade lists (names containing "(MAME)") are served by inPopupMenu, all others by
// inPopupMenuHave. A click works on the emulators that the build of its menu loaded.
#include "plugin/popupMenu.h"

#include <cstring>

#include "core/pluginContext.h"
#include "favorites/favorites.h"
#include "launcher/launch.h"
#include "platform/platform.h"
#include "plugin/currentSystem.h"
#include "plugin/exports.h"
#include "registry/emulatorListFile.h"

namespace lb {

namespace {

char popupText[kPopupTextSize];

const char kAddItem[] = "お気に入りに追加";
const char kRemoveItem[] = "お気に入りから削除";

char* buildPopupText(bool arcadeExport) {
    if (context == nullptr || isArcadeList() != arcadeExport) return nullptr;
    refreshCurrentSystem();
    // A list file that cannot be read shows no emulators and no message: the host is building
    // its menu.
    loadEmulatorList(false);
    ItemList list = beginItemList(popupText, sizeof popupText);
    for (int32_t i = 0; i < context->emulatorCount; ++i)
        appendMenuItem(list, context->emulators[i].name);
    if (context->emulatorCount > 0) appendMenuItem(list, "-");
    appendMenuItem(list, kAddItem);
    appendMenuItem(list, kRemoveItem);
    return popupText;
}

}  // namespace

PopupAction popupAction(int32_t index, int32_t emulatorCount) {
    if (index < 0) return PopupAction::Nothing;
    if (emulatorCount <= 0) {
        if (index == 0) return PopupAction::AddFavorites;
        return index == 1 ? PopupAction::RemoveFavorites : PopupAction::Nothing;
    }
    if (index < emulatorCount) return PopupAction::Launch;
    if (index == emulatorCount + 1) return PopupAction::AddFavorites;
    return index == emulatorCount + 2 ? PopupAction::RemoveFavorites : PopupAction::Nothing;
}

}  // namespace lb

using namespace lb;

char* inPopupMenu() { return buildPopupText(true); }
char* inPopupMenuHave() { return buildPopupText(false); }

int32_t LB_STDCALL onPopupMenuClick(int32_t index, HostRomRecord* chain) {
    if (context == nullptr) return 0;
    switch (popupAction(index, context->emulatorCount)) {
        case PopupAction::Launch:
            launchEmulator(index, chain, platform::isShiftDown());
            break;
        case PopupAction::AddFavorites:
            addFavoritesFromPopup(chain);
            break;
        case PopupAction::RemoveFavorites:
            removeFavoritesFromPopup(chain);
            break;
        case PopupAction::Nothing:
            break;
    }
    return 0;
}
