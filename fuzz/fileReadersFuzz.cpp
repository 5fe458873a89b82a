// Feeds one input, in seven parts, to every file the plug-in reads: "Setting.dat", the system's
// ".emu" list, its ".fvr" favourites (pruned against the fourth part, the host's cache file),
// "Copy.dat", the command-line templates beside the lists, the play history and the games' own
// settings, with a read error at one read for some inputs; then drives the popup and main menus,
// a paste, an edit with a template, the favourites working copy, the history tab, a game's
// setting saved, and a RetroArch's cfg and .info.
#include <cstdint>
#include <string>

#include "core/pluginContext.h"
#include "favorites/favoriteColumns.h"
#include "favorites/favorites.h"
#include "favorites/favoritesWorking.h"
#include "favorites/historyView.h"
#include "games/gameSettings.h"
#include "fuzzInput.h"
#include "platform/fake/fakePlatform.h"
#include "plugin/exports.h"
#include "registry/emulatorListFile.h"
#include "registry/retroArchCores.h"
#include "registry/workingList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char kDir[] = "C:\\Host\\LaunchboardData0001\\";
    std::vector<std::string> parts = fuzzParts(data, size, 7);
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
    fake::putFile(std::string(kDir) + "N64.history.txt", parts[6]);
    fake::putFile(std::string(kDir) + "N64.games.txt", parts[6]);
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
    // The history tab: read (compacted past 1 MB), sorted by every column both ways, its texts
    // shown, and two games deleted.
    if (lb::openHistoryView(lb::workingFavorites, lb::workingFavoriteCount) == lb::FileRead::Read) {
        for (int32_t column = 0; column < lb::kHistoryColumnCount * 2; ++column) {
            lb::sortHistoryView(column / 2, column % 2 == 0, nullptr);
            for (int32_t row = 0; row < lb::historyView.count && row < 50; ++row)
                lb::historyColumnText(row, column / 2);
        }
        lb::historyRows();
        int32_t doomed[] = {0, 2};
        lb::deleteHistoryRows(doomed, 2);
    }
    lb::closeHistoryView();
    // A game's own setting, given to two games and taken from one.
    std::string games = std::string(kDir) + "N64.games.txt";
    lb::GameSetting setting{"", "A", "C:\\a.exe", "-x"};
    const char* keys[] = {"K1", "K2", "K1"};
    bool found = false;
    lb::findGameSetting(games.c_str(), "K1", setting, found);
    lb::saveGameSettings(games.c_str(), keys, 3, setting);
    lb::saveGameSettings(games.c_str(), keys + 1, 1, lb::GameSetting{});
    // A RetroArch's own files, its cfg and a core's description, made into a known emulator.
    fake::state().directories.insert("D:\\RA\\cores");
    fake::putFile("D:\\RA\\retroarch.cfg", parts[5]);
    fake::putFile("D:\\RA\\cores\\x_libretro.dll", "");
    fake::putFile("D:\\RA\\info\\x_libretro.info", parts[6]);
    static lb::RetroArchFolders folders;
    static lb::InstalledCore cores[2];
    static lb::PresetTable known;
    static lb::EmulatorPreset made;
    bool unreadable = false;
    lb::retroArchFolders("D:\\RA\\retroarch.exe", folders);
    int32_t coreCount = lb::installedCores(folders, cores, 2, unreadable);
    for (int32_t i = 0; i < coreCount; ++i) lb::corePreset(cores[i], folders, known, made);
    lb::commitWorkingFavorites();
    lb::freeWorkingFavorites();
    closePlugin();
    return 0;
}
