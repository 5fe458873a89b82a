// The dialogs are Win32 only; natively the main menu opens these, which record the opening in
// the fake's state and answer as a dialog that ended with OK.
#include "core/pluginContext.h"
#include "favorites/favorites.h"
#include "platform/fake/fakePlatform.h"
#include "registry/workingList.h"

int32_t lb::openEmulatorSettings() {
    fake::state().openedDialogs.push_back(std::string("settings ") + lb::context->systemName);
    return 1;
}

int32_t lb::openFavorites() {
    fake::state().openedDialogs.push_back(std::string("favorites ") + lb::context->systemName);
    return 1;
}
