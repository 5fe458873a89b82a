// The dialogs are Win32 only; natively the main menu opens these, which record the opening and
// answer as a dialog that ended with OK.
#include "dialogStubs.h"

#include "favorites/favorites.h"
#include "registry/workingList.h"

std::vector<std::string> openedDialogs;

int32_t lb::openEmulatorSettings() {
    openedDialogs.push_back(std::string("settings ") + lb::context->systemName);
    return 1;
}

int32_t lb::openFavorites() {
    openedDialogs.push_back(std::string("favorites ") + lb::context->systemName);
    return 1;
}
