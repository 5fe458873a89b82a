// Feeds one input, in six parts, to every file the plug-in reads: "Setting.dat", the system's
// ".emu" list, its ".fvr" favourites (pruned against the fourth part, the host's cache file),
// "Copy.dat" and the command-line templates beside the lists, with a read error at one read for
// some inputs; then drives the popup and main menus, a paste, an edit with a template, and the
// favourites working copy.
#include <cstdint>
#include <string>

#include "core/pluginContext.h"
#include "favorites/favoriteColumns.h"
#include "favorites/favorites.h"
#include "favorites/favoritesWorking.h"
#include "fuzzInput.h"
#include "platform/fake/fakePlatform.h"
#include "plugin/exports.h"
#include "registry/emulatorListFile.h"
#include "registry/workingList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char kDir[] = "C:\\Host\\LaunchboardData0001\\";
    std::vector<std::string> parts = fuzzParts(data, size, 6);
    fake::reset();
    if (!lb::attachPlugin(nullptr)) return 0;
    fake::state().windows.push_back({"TComboBox", true, 100, "N64"});
    fake::putFile(std::string(kDir) + "Setting.dat", parts[0]);
    fake::putFile(std::string(kDir) + "N64.emu", parts[1]);
    fake::putFile(std::string(kDir) + "N64.fvr",
                  std::string("N64") + std::string(257, '\0') + parts[2]);
    fake::putFile("C:\\Host\\caches\\N64.cache", parts[3]);
    if (!parts[4].empty()) fake::putFile(std::string(kDir) + "Copy.dat", parts[4]);
    // The command-line templates beside the list and the copy file.
    fake::putFile(std::string(kDir) + "N64.emu.txt", parts[5]);
    fake::putFile(std::string(kDir) + "Copy.dat.txt", parts[5]);
    // Some inputs also meet a read error, at any read of any file.
    fake::state().failReadAt = int(size % 23);
    initPlugin(nullptr, 0, 0, 0, 0, kDir);
    isCompatible(size % 2 ? "Nintendo 64" : "Arcade (MAME)");
    inPopupMenuHave();
    inPopupMenu();
    lb::HostRomRecord record{};
    record.crc32 = "K1";
    for (int index = -1; index < 23; ++index) onPopupMenuClick(index, &record);
    onMenuClick(0);
    onMenuClick(1);

    lb::loadWorkingList();
    static lb::EmulatorEntry copies[lb::kMaxEmulators];
    int32_t copyCount = 0;
    if (lb::readCopyFile(copyCount, copies) == lb::FileRead::Read)
        lb::workingCount = lb::pasteEntries(lb::workingList, lb::workingCount, copies, copyCount);
    lb::pasteFromCopyFile();
    if (lb::workingCount > 0)
        lb::storeEditedEmulator(false, 0, lb::workingList[0], parts[5].substr(0, 1000).c_str());
    lb::saveWorkingList();
    lb::saveEmulatorList();

    lb::openWorkingFavorites();
    for (int32_t column = -1; column <= lb::kColumnCount; ++column) {
        lb::clickFavoriteColumn(column);
        lb::sortWorkingFavorites();
        for (int32_t row = 0; row < lb::workingFavoriteCount && row < 50; ++row)
            lb::favoriteColumnText(lb::workingFavorites[row], column);
    }
    int32_t rows[] = {0, 2, 1, -1, 9999};
    lb::HostRomRecord* chain = lb::buildSelectionChain(rows, 5);
    lb::removeFavorites(lb::workingFavorites, lb::workingFavoriteCount, chain);
    lb::releaseSelectionChain(chain);
    lb::commitWorkingFavorites();
    lb::freeWorkingFavorites();
    closePlugin();
    return 0;
}
