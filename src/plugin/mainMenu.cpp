// The host's two main-menu items: the emulator settings dialog and the favourites dialog, each
// opened on the system that the host shows at the moment of the click.
#include "core/itemList.h"
#include "core/pluginContext.h"
#include "dialogs/favoritesDialog.h"
#include "dialogs/settingsDialog.h"
#include "favorites/favorites.h"
#include "plugin/currentSystem.h"
#include "plugin/exports.h"

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

int32_t LB_STDCALL onMenuClick(int32_t index) {
    if (context == nullptr) return -1;
    refreshCurrentSystem();
    loadEmulatorList();
    if (index == 0) return openEmulatorSettings();
    loadFavorites();
    return openFavorites();
}
