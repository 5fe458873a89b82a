// The host's two main-menu items: the emulator settings dialog and the favourites dialog, each
// opened on the system that the host shows at the moment of the click.
#include "core/itemList.h"
#include "core/pluginContext.h"
#include "dialogs/favoritesDialog.h"
#include "dialogs/settingsDialog.h"
#include "favorites/favorites.h"
#include "plugin/currentSystem.h"
#include "plugin/exports.h"
#include "registry/emulatorListFile.h"

namespace lb {
namespace {

char menuText[kTextSize];

}  // namespace
}  // namespace lb

using namespace lb;

char* inMenu() {
    ItemList list = beginItemList(menuText, sizeof menuText);
    appendMenuItem(list, "エミュレータ設定");
    appendMenuItem(list, "お気に入り表示");
    return menuText;
}

// A list that cannot be read is told, and its dialog does not open: the click ends as a
// cancelled dialog would.
int32_t LB_STDCALL onMenuClick(int32_t index) {
    constexpr int32_t kNotOpened = 2;
    if (context == nullptr) return -1;
    refreshCurrentSystem();
    if (index == 0) return loadEmulatorList(true) ? openEmulatorSettings() : kNotOpened;
    loadEmulatorList(false);
    return loadFavorites() ? openFavorites() : kNotOpened;
}
