// What the native builds link in place of the Win32 dialogs: each records its opening in the
// fake's state and answers as a dialog that ended with OK.
#include "core/pluginContext.h"
#include "dialogs/favoritesDialog.h"
#include "dialogs/settingsDialog.h"
#include "platform/fake/fakePlatform.h"

int32_t lb::openEmulatorSettings() {
    fake::state().openedDialogs.push_back(std::string("settings ") + lb::context->systemName);
    return 1;
}

int32_t lb::openFavorites() {
    fake::state().openedDialogs.push_back(std::string("favorites ") + lb::context->systemName);
    return 1;
}
