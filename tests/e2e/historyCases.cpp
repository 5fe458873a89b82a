// The play history against the real DLL: a session's time measured to the end of its last
// process, a launcher that ends at once included, and a session cut short by the host's close.
#include <windows.h>

#include <commctrl.h>

#include <tuple>

#include "dialogDriver.h"
#include "resource.h"
#include "session.h"

using namespace host;

namespace {

// The seconds of the end line of the history's last start, waiting for it up to `ms`; -1 when
// none came.
long endSeconds(const std::string& path, int ms, std::string* cut = nullptr) {
    for (DWORD start = GetTickCount(); int(GetTickCount() - start) < ms; Sleep(100)) {
        std::string text = readFile(path);
        size_t started = text.rfind("\r\nS\t");
        if (started == std::string::npos) continue;
        std::string id = text.substr(started + 4, text.find('\t', started + 4) - started - 4);
        size_t at = text.find("\r\nE\t" + id + "\t", started);
        if (at == std::string::npos) continue;
        size_t seconds = text.find('\t', at + 4) + 1;
        if (cut != nullptr) *cut = text.substr(text.find('\t', seconds) + 1, 1);
        return std::atol(text.c_str() + seconds);
    }
    return -1;
}

}  // namespace

// The texts of row `row` of the history list, its columns joined by " | ".
std::string historyRow(HWND dialog, int row) {
    std::vector<std::string> cells;
    for (int column = 0; column < 5; ++column) {
        char text[512] = "";
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendDlgItemMessageA(dialog, IDC_HISTORY_LIST, LVM_GETITEMTEXTA, WPARAM(row),
                            reinterpret_cast<LPARAM>(&item));
        cells.push_back(column == 1 ? std::string(text).substr(0, 2) : text);  // "20" of the date
    }
    return joined(cells);
}

HOST_CASE(aSessionIsTimedToTheEndOfItsLastProcessEvenThroughALauncherAndShownInTheHistoryTab) {
    Session s("history");
    std::string exe = s.installStub("Emu"), log = s.root + "stub.log";
    std::string launcher = s.root + "Emu\\launch.bat";
    writeFile(launcher, "@start \"\" \"" + exe + "\"\r\n");
    s.writeCache(
        {{"K1", s.root + "mario.n64", "mario.n64"}, {"K2", s.root + "zelda.n64", "zelda.n64"}});
    s.writeEmulators({emulator("Stub", exe, 0), emulator("Launcher", launcher, 0)});
    std::string history = s.dataDir + s.system + ".history.txt";
    SetEnvironmentVariableA("LB_STUB_LOG", log.c_str());
    SetEnvironmentVariableA("LB_STUB_RUN_MS", "2000");
    Chain mario({"K1"}), zelda({"K2"});
    s.popupItems();
    s.plugin.onPopupMenuHaveClick(0, mario.first());
    CHECK(endSeconds(history, 15000) >= 2, "the emulator played at least 2 s");
    s.popupItems();
    s.plugin.onPopupMenuHaveClick(1, zelda.first());
    long through = endSeconds(history, 20000);
    CHECK(through >= 2,
          "through a batch file that ends at once, at least 2 s: " + show((long long)through));
    SetEnvironmentVariableA("LB_STUB_RUN_MS", nullptr);
    writeFile(s.root + "stub.log", "");
    onMenuDialog(s.plugin, 1, favoritesTitle(0), [&](HWND dialog) {
        showFavoritesTab(dialog, 1);
        CHECK(IsWindowVisible(GetDlgItem(dialog, IDC_HISTORY_LIST)), "the history tab shows");
        // Most recent first: one row per game with its count, a time of at least 0:00:02 and
        // its emulator.
        for (auto [row, game, emulator] :
             {std::tuple<int, const char*, const char*>{0, "K2", "Launcher"}, {1, "K1", "Stub"}}) {
            std::string text = historyRow(dialog, row);
            std::string head = std::string("Name ") + game + " | 20 | 1 | 0:00:0";
            CHECK(text.rfind(head, 0) == 0 && text.size() > head.size() &&
                      text[head.size()] >= '2' && text.substr(head.size() + 4) == emulator,
                  "row " + show(row) + ": " + text);
        }
        selectRows(dialog, IDC_HISTORY_LIST, {1}, 1);
        NMITEMACTIVATE click{};
        click.hdr = {GetDlgItem(dialog, IDC_HISTORY_LIST), IDC_HISTORY_LIST, UINT(NM_DBLCLK)};
        click.iItem = 1;
        SendMessageA(dialog, WM_NOTIFY, IDC_HISTORY_LIST, reinterpret_cast<LPARAM>(&click));
        CHECK(waitForStub(log).commandLine.find("mario.n64") != std::string::npos,
              "a double click starts the row's game with its last emulator");
        clickNow(dialog, IDCANCEL);
    });
    CHECK_EQ(readFile(s.dataDir + "FavoritesTab.txt"), std::string("history\r\n"),
             "the dialog opens on this tab next time");
}

HOST_CASE(closingThePluginDuringASessionRecordsItAsCutShortWithinASecond) {
    Session s("historyCut");
    std::string exe = s.installStub("Emu");
    s.writeCache({{"K1", s.root + "mario.n64", "mario.n64"}});
    s.writeEmulators({emulator("Stub", exe, 0)});
    std::string history = s.dataDir + s.system + ".history.txt";
    SetEnvironmentVariableA("LB_STUB_LOG", (s.root + "stub.log").c_str());
    SetEnvironmentVariableA("LB_STUB_RUN_MS", "8000");
    Chain chain({"K1"});
    s.popupItems();
    s.plugin.onPopupMenuHaveClick(0, chain.first());
    SetEnvironmentVariableA("LB_STUB_RUN_MS", nullptr);
    Sleep(1000);
    DWORD start = GetTickCount();
    s.plugin.closePlugin();
    DWORD took = GetTickCount() - start;
    s.plugin.closePlugin = nullptr;
    CHECK(took < 1000, "closePlugin returned within 1 s: " + show((unsigned long)took) + " ms");
    std::string cut;
    long seconds = endSeconds(history, 100, &cut);
    CHECK(seconds >= 1 && cut == "1", "recorded as cut short with its time so far: " +
                                          show((long long)seconds) + " s, cut " + cut);
}

HOST_CASE(aLockThatIsAFolderOrAPathTooLongForItLosesNoPlayAndFreezesNoClick) {
    // A data folder long enough that "<history>.lock" would pass the longest path.
    for (const std::string& folder : {std::string("LaunchboardData0001"), std::string(195, 'd')}) {
        Session s("historyLock", folder);
        std::string exe = s.installStub("Emu");
        s.writeCache({{"K1", s.root + "mario.n64", "mario.n64"}});
        s.writeEmulators({emulator("Stub", exe, 0)});
        std::string history = s.dataDir + s.system + ".history.txt";
        CreateDirectoryA((history + ".lock").c_str(), nullptr);  // fails for the long one
        SetEnvironmentVariableA("LB_STUB_LOG", (s.root + "stub.log").c_str());
        Chain chain({"K1"});
        s.popupItems();
        DWORD start = GetTickCount();
        s.plugin.onPopupMenuHaveClick(0, chain.first());
        DWORD took = GetTickCount() - start;
        CHECK(took < 500, "the click returned at once: " + show((unsigned long)took) + " ms");
        CHECK(endSeconds(history, 15000) >= 0,
              "the start and the end recorded, history path of " + show(history.size()));
        SetEnvironmentVariableA("LB_STUB_LOG", nullptr);
        RemoveDirectoryA((history + ".lock").c_str());
    }
}
