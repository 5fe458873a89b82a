// The end-to-end host: loads Launchboard.dll the way the ROM-list manager does and runs the
// registered cases against it, or, in demo mode, shows one start and close of the plug-in.
#include <windows.h>

#include <shlobj.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "dialogDriver.h"
#include "harness.h"
#include "resource.h"
#include "session.h"

using namespace host;

namespace {

int32_t __stdcall noExtract(const char*, const char*, int32_t, int32_t) { return 0; }

std::string windowsPath(const char* path) {
    std::string p = path;
    if (!p.empty() && p.back() != '\\') p += '\\';
    return p;
}

int runDemo(const char* dll, const char* dataDir) {
    Plugin plugin;
    if (!plugin.load(dll)) return 1;
    std::printf("Loaded %s\n", dll);
    std::printf("getName         : %s\n", toUtf8(plugin.getName()).c_str());
    std::printf("getAuthor       : %s\n", toUtf8(plugin.getAuthor()).c_str());
    std::printf("getVersion      : %s\n", toUtf8(plugin.getVersion()).c_str());
    std::printf("getSDKVersion   : %s\n", toUtf8(plugin.getSDKVersion()).c_str());
    std::printf("getSmallComment :\n%s\n", toUtf8(plugin.getSmallComment()).c_str());
    std::printf("initPlugin(%s) -> %d\n", dataDir,
                plugin.initPlugin(noExtract, 0, 0, 0, 0, dataDir));
    std::printf("isCompatible(\"Nintendo 64\") -> %d\n", plugin.isCompatible("Nintendo 64"));
    plugin.closePlugin();
    std::printf("closePlugin()\n");
    std::string settings = readFile(windowsPath(dataDir) + "Setting.dat");
    std::printf("\nSetting.dat, %u bytes:\n", unsigned(settings.size()));
    if (settings.size() != 664) return 1;
    std::printf("  lastExePath    : %s\n", settings.c_str());
    std::printf("  lastExtractDir : %s\n", toUtf8(settings.substr(260).c_str()).c_str());
    std::printf("  columnState    :");
    for (int i = 0; i < 10; ++i) {
        std::printf(" {%d,%d}", int32At(settings, 520 + 8 * i), int32At(settings, 524 + 8 * i));
    }
    std::printf("\n  sortColumn     : %d\n  columnOrder    :", int32At(settings, 600));
    for (int i = 0; i < 10; ++i) std::printf(" %d", int32At(settings, 604 + 4 * i));
    std::printf("\n  favoritesRect  : %d %d %d %d\n", int32At(settings, 644),
                int32At(settings, 648), int32At(settings, 652), int32At(settings, 656));
    std::printf("  closeOnLaunch  : %d\n", int32At(settings, 660));
    plugin.unload();
    return 0;
}

// The host's right-click menu with the plug-in's items, as the host would show it.
void capturePopupMenu(Session& s) {
    std::vector<std::string> items = s.popupItems();
    HMENU menu = CreatePopupMenu();
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i] == "-")
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuA(menu, MF_STRING, UINT_PTR(i + 1), items[i].c_str());
    }
    runDriven(
        [&] {
            SetForegroundWindow(s.window.main);
            return int(TrackPopupMenu(menu, TPM_RETURNCMD, 120, 120, 0, s.window.main, nullptr));
        },
        [&] {
            HWND popup = waitForPopupMenu();
            if (popup != nullptr) captureWindow(popup, workDir + "popupMenu.bmp");
            PostMessageA(s.window.main, WM_CANCELMODE, 0, 0);
        });
    DestroyMenu(menu);
}

// The box that Shift shows before a launch, for a ROM with blanks in its path.
void captureLaunchPreview(Session& s) {
    s.writeCache({{"K1", "C:\\ROMs\\Super Mario 64 (Japan).z64", "Super Mario 64 (Japan).z64"}});
    Chain chain({"K1"});
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;  // Shift held as the user picks the emulator
    SetKeyboardState(keys);
    runDriven([&] { return s.plugin.onPopupMenuHaveClick(0, chain.first()); },
              [&] {
                  const char* caption = "\x8b\x4e\x93\xae\x82\xcc\x8a\x6d\x94\x46";  // 起動の確認
                  HWND box = nullptr;
                  for (int i = 0; i < 100 && box == nullptr; ++i, Sleep(50))
                      box = FindWindowA("#32770", caption);
                  if (box != nullptr) captureWindow(box, workDir + "launchPreview.bmp");
                  answerMessageBox(IDCANCEL);
              });
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
}

// The favourites dialog with three dozen favourites, sorted by publisher; at another scale than
// 100% only it and the history tab, their names ending in the DPI.
void captureFavorites(Session& s) {
    int dots = screenDpi();
    std::string scale = dots == 96 ? "" : "At" + std::to_string(dots);
    const char* titles[] = {"スーパーマリオ64",   "ゼルダの伝説 時のオカリナ",    "ﾏﾘｵｶｰﾄ64",
                            "ゴールデンアイ 007", "バンジョーとカズーイの大冒険", "F-ZERO X",
                            "星のカービィ64",     "ポケモンスタジアム",           "Wave Race 64",
                            "Star Fox 64"};
    const char* publishers[] = {"Nintendo", "Nintendo", "Nintendo", "Rare", "Rare"};
    std::vector<FavoriteRecord> favorites;
    for (int i = 0; i < 36; ++i) {
        std::string name = titles[i % 10];
        if (i >= 10) name += " (" + std::to_string(i / 10 + 1) + ")";
        char key[16];
        std::snprintf(key, sizeof key, "%08X", 0x1A2B3C00u + unsigned(i) * 77u);
        FavoriteRecord f = favorite(name, key, 8 + (i * 7) % 57, publishers[i % 5]);
        std::snprintf(f.saveType, sizeof f.saveType, "%s", i % 3 ? "EEPROM" : "SRAM");
        f.number = i + 1;
        favorites.push_back(f);
    }
    s.plugin.isCompatible("Nintendo 64 (MAME)");  // kept as they are, without a host cache
    writeFile(s.dataDir + s.system + ".fvr", favoritesFile(s.system, favorites));
    // A week of plays, as the launches would have recorded them.
    std::string history;
    const char* emulators[] = {"Project64 1.6", "RetroArch (ParaLLEl N64)"};
    for (int play = 0; play < 12; ++play) {
        int game = (play * 7) % 6;
        char key[16], line[512];
        std::snprintf(key, sizeof key, "%08X", 0x1A2B3C00u + unsigned(game) * 77u);
        std::snprintf(line, sizeof line,
                      "\r\nS\t%d\t2026/12/%02d %02d:%02d:00\t%s\t%s\t\t%s\tC:\\Emu\\x.exe\t."
                      "\r\nE\t%d\t%d\t0\t.",
                      play, 1 + play / 2, 19 + play % 4, (play * 17) % 60, key, titles[game],
                      emulators[play % 2], play, 600 + play * 731);
        history += line;
    }
    writeFile(s.dataDir + s.system + ".history.txt", history);
    onMenuDialog(s.plugin, 1, favoritesTitle(36), [&](HWND dialog) {
        SetWindowPos(dialog, nullptr, 0, 0, MulDiv(760, dots, 96), MulDiv(460, dots, 96),
                     SWP_NOMOVE | SWP_NOZORDER);
        SendDlgItemMessageA(dialog, 3000, LVM_SETCOLUMNWIDTH, 0, MulDiv(190, dots, 96));
        clickFavoritesHeader(dialog, 1);  // Publisher
        captureWindow(dialog, workDir + "favoritesDialog" + scale + ".bmp");
        if (!scale.empty()) {
            showFavoritesTab(dialog, 1);
            captureWindow(dialog, workDir + "historyTab" + scale + ".bmp");
            showFavoritesTab(dialog, 0);
            clickNow(dialog, IDCANCEL);
            return;
        }
        // A game's own emulator and arguments, from the context menu.
        selectRows(dialog, IDC_FAVORITE_LIST, {0}, 0);
        clickLater(dialog, IDM_GAME_SETTING);
        if (HWND game = waitForDialog("このゲームの起動設定(Launchboard)")) {
            chooseComboRow(game, IDC_GAME_EMULATOR, 2);
            typeText(game, IDC_GAME_ARGUMENTS, "--appendconfig \"C:\\Emu\\RetroArch\\hires.cfg\"");
            captureWindow(game, workDir + "gameSetting.bmp");
            clickNow(game, IDCANCEL);
            waitUntilClosed(game);
        }
        // The filter in use: hiragana typed, katakana and half-width names found.
        typeText(dialog, 3025, "まりお");
        captureWindow(dialog, workDir + "favoritesFilter.bmp");
        typeText(dialog, 3025, "");
        // The second tab: the games played, most recent first.
        showFavoritesTab(dialog, 1);
        captureWindow(dialog, workDir + "historyTab.bmp");
        showFavoritesTab(dialog, 0);
        clickNow(dialog, IDCANCEL);
    });
}

// The emulators found in C:\Emu: RetroArch's two cores beside the standalone ones, those listed
// already marked; 追加 adds the rest.
void captureFoundEmulators(HWND settings) {
    CreateDirectoryA("C:\\Emu\\RetroArch\\cores", nullptr);
    CreateDirectoryA("C:\\Emu\\RetroArch\\info", nullptr);
    for (const char* core : {"mupen64plus_next", "parallel_n64"})
        writeFile(std::string("C:\\Emu\\RetroArch\\cores\\") + core + "_libretro.dll", "");
    writeFile("C:\\Emu\\RetroArch\\info\\parallel_n64_libretro.info",
              "display_name = \"Nintendo - Nintendo 64 (ParaLLEl N64)\"\r\n"
              "supported_extensions = \"n64|v64|z64|bin|u1|ndd\"\r\n");
    writeFile("C:\\Host\\caches\\Nintendo 64.cache",
              "C:\\ROMs\\Super Mario 64 (Japan).z64;;a;b;K1;clean;\r\n");
    clickLater(settings, IDC_SCAN);
    HWND browser = waitForDialog("エミュレータを探すフォルダ");
    if (browser == nullptr) return;
    if (!pickFolderIn(browser, "C:\\Emu")) return;
    for (int i = 0; i < 100; ++i, Sleep(100)) {
        HWND found = GetForegroundWindow();
        if (windowTitle(found).rfind("見つかったエミュレータ", 0) != 0) continue;
        captureWindow(found, workDir + "foundEmulators.bmp");
        clickNow(found, IDOK);
        waitUntilClosed(found);
        return;
    }
    std::printf("no list of the emulators found; in front: %s\n",
                toUtf8(windowTitle(GetForegroundWindow())).c_str());
}

EmulatorRecord quotedAndShort(EmulatorRecord e) {
    e.quotePath = 1;
    e.shortPath = 1;
    return e;
}

// Opens the plug-in's dialogs on a small list and saves each as a BMP in `shots`.
int captureDialogs(const char* dll, const char* shots) {
    dllPath = dll;
    workDir = windowsPath(shots);
    CreateDirectoryA(workDir.c_str(), nullptr);
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    stubPath = std::string(self).substr(0, std::string(self).rfind('\\') + 1) + "stubEmulator.exe";
    // The pictures show a user's machine: the host in C:\Host, the emulators in C:\Emu.
    removeTree("C:\\Host\\");
    removeTree("C:\\Emu\\");
    removeTree("C:\\ROMs\\");
    Session s("C:\\");
    // Emulators installed where a user would have them, under their own names.
    std::string stub = s.installStub("Emu\\1964");
    CreateDirectoryA("C:\\Emu\\Project64 1.6", nullptr);
    std::string emu = "C:\\Emu\\Project64 1.6\\Project64.exe";
    CreateDirectoryA("C:\\Emu\\RetroArch", nullptr);
    std::string retroArch = "C:\\Emu\\RetroArch\\retroarch.exe";
    for (const char* exe :
         {emu.c_str(), "C:\\Emu\\1964\\1964.exe", "C:\\Emu\\mupen64.exe", retroArch.c_str()})
        CopyFileA(stub.c_str(), exe, FALSE);
    DeleteFileA(stub.c_str());
    CreateDirectoryA("C:\\ROMs", nullptr);
    s.writeEmulators(
        {quotedAndShort(emulator("Project64 1.6", emu, 0, s.dataDir + "temp\\")),
         quotedAndShort(emulator("RetroArch (ParaLLEl N64)", retroArch, 0, s.dataDir + "temp\\")),
         emulator("1964 (キーボード操作)", "C:\\Emu\\1964\\1964.exe", 1, s.dataDir + "temp\\"),
         emulator("Mupen64 ソフト描画", "C:\\Emu\\mupen64.exe", 0)});
    // RetroArch needs its core before the ROM: a command-line template.
    writeFile(s.dataDir + s.system + ".emu.txt",
              "name=RetroArch (ParaLLEl N64)\r\nexe=" + retroArch +
                  "\r\nargs=-L cores\\parallel_n64_libretro.dll %ROM%\r\n");
    if (screenDpi() != 96) {  // at another scale, the favourites dialog and the history tab
        captureFavorites(s);
        s.close();
        return failures == 0 ? 0 : 1;
    }
    onMenuDialog(s.plugin, 0, "エミュレータ設定(Launchboard)", [&](HWND settings) {
        // Adding a second core of RetroArch from the known emulators: it has filled the dialog.
        clickLater(settings, IDC_ADD);
        HWND edit = waitForDialog("エミュレータ追加(Launchboard)");
        if (edit == nullptr) return;
        typeText(edit, IDC_EXE, retroArch);
        std::string core = "RetroArch: Mupen64Plus-Next (NINTENDO64)";
        chooseComboRow(edit, IDC_PRESET,
                       int(SendDlgItemMessageA(edit, IDC_PRESET, CB_FINDSTRINGEXACT, WPARAM(-1),
                                               reinterpret_cast<LPARAM>(core.c_str()))));
        captureWindow(edit, workDir + "editDialog.bmp");
        clickNow(edit, IDCANCEL);
        waitUntilClosed(edit);
        captureFoundEmulators(settings);
        selectRows(settings, 1001, {4}, 4);  // the core the search added
        captureWindow(settings, workDir + "settingsDialog.bmp");
        clickNow(settings, IDCANCEL);
    });
    capturePopupMenu(s);
    captureLaunchPreview(s);
    captureFavorites(s);
    s.close();
    std::printf("Saved the dialogs' pictures in %s\n", shots);
    return failures == 0 ? 0 : 1;
}

int runCases(const char* filter) {
    int failedCases = 0;
    for (const Case& c : cases()) {
        if (filter != nullptr && std::strstr(c.name, filter) == nullptr) continue;
        int before = failures;
        std::printf("[ RUN  ] %s\n", c.name);
        std::fflush(stdout);
        c.run();
        bool ok = failures == before;
        failedCases += ok ? 0 : 1;
        std::printf("[ %s ] %s\n", ok ? " OK " : "FAIL", c.name);
        std::fflush(stdout);
    }
    std::printf("%d case(s) failed\n", failedCases);
    return failedCases == 0 ? 0 : 1;
}

}  // namespace

namespace host {
int runDialogBench(const char* dll, const char* work);
int runChurn();
}  // namespace host

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "bench") == 0) return runDialogBench(argv[2], argv[3]);
    if (argc >= 4 && std::strcmp(argv[1], "demo") == 0) {
        int result = screenDpi() == 96 ? runDemo(argv[2], argv[3]) : 0;
        return result != 0 || argc < 5 ? result : captureDialogs(argv[2], argv[4]);
    }
    if (argc >= 5 && std::strcmp(argv[1], "churn") == 0) {  // saves until it is killed
        dllPath = argv[2];
        workDir = std::string(argv[3]) + "\\";
        stubPath = argv[4];
        return host::runChurn();
    }
    if (argc >= 5 && std::strcmp(argv[1], "test") == 0) {
        dllPath = argv[2];
        workDir = windowsPath(argv[3]);
        stubPath = argv[4];
        return runCases(argc >= 6 ? argv[5] : nullptr);
    }
    std::printf(
        "usage: testHost demo <dll> <dataDir> [screenshotFolder]\n"
        "       testHost test <dll> <workDir> <stubEmulator> [caseFilter]\n"
        "       testHost bench <dll> <workDir>\n");
    return 2;
}
