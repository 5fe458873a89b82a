// Command-line templates against the real DLL: what the stub emulator receives, the edit
// dialog's field, and the templates carried through the settings dialog, a restart and
// Copy and Paste, while the list files keep their bytes.
#include <windows.h>

#include <commctrl.h>

#include "dialogDriver.h"
#include "resource.h"
#include "session.h"

using namespace host;

namespace {

const std::string kSettingsTitle = "エミュレータ設定(Launchboard)";

std::string companion(const std::string& name, const std::string& exe, const std::string& args) {
    return "name=" + name + "\r\nexe=" + exe + "\r\nargs=" + args + "\r\n\r\n";
}

std::string shortPath(const std::string& path) {
    char buffer[MAX_PATH] = "";
    GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return buffer;
}

// The edit dialog opened on row `row` (-1: Add), played by `user`.
void editRow(HWND settings, int row, const std::function<void(HWND)>& user) {
    if (row >= 0) selectRows(settings, IDC_EMULATOR_LIST, {row}, row);
    clickLater(settings, row >= 0 ? IDC_EDIT : IDC_ADD);
    HWND edit =
        waitForDialog(row >= 0 ? "エミュレータ編集(Launchboard)" : "エミュレータ追加(Launchboard)");
    if (edit != nullptr) user(edit);
}

}  // namespace

HOST_CASE(templatesStartTheEmulatorWithTheirOwnArgumentsAndAShiftPreviewShowsThem) {
    Session s("templateLaunch");
    std::string ra = s.installStub("Retro Arch"), mame = s.installStub("MAME");
    std::string rom = s.root + "Super Game.zip";
    s.writeCache({{"K1", rom, "Super Game.sfc"}});
    EmulatorRecord standard = emulator("RA", ra, 0);
    standard.quotePath = 1;
    standard.shortPath = 1;
    s.writeEmulators({standard, emulator("MAME", mame, 4)});
    std::string emu = s.dataDir + s.system + ".emu";
    writeFile(emu + ".txt", companion("RA", ra, "-L \"cores\\x y.dll\" %ROM% --name=%BASENAME%") +
                                companion("MAME", mame, "-rompath \"%GAMEDIR%\" %SET%"));
    s.popupItems();
    Chain chain({"K1"}, "sgame");
    std::string expected =
        programPart(ra) + " -L \"cores\\x y.dll\" \"" + shortPath(rom) + "\" --name=Super Game";
    CHECK_EQ(s.clickAndWait(0, chain.first()).commandLine, expected, "the standard kind");
    CHECK_EQ(s.clickAndWait(1, chain.first()).commandLine,
             mame + " -rompath \"" + s.root.substr(0, s.root.size() - 1) + "\" sgame",
             "the arcade kind: the cache path's folder and the set name");

    holdShift(true);
    Answered box;
    runDriven([&] { return s.plugin.onPopupMenuHaveClick(0, chain.first()); },
              [&] { box = answerMessageBox(IDCANCEL); });
    holdShift(false);
    CHECK(box.text.find("コマンドライン: " + expected) != std::string::npos,
          "the preview shows the expanded line: " + box.text);

    // The list restored from a backup names another executable: the template is ignored.
    std::string moved = s.installStub("Moved");
    standard.exePath[0] = '\0';
    std::snprintf(standard.exePath, sizeof standard.exePath, "%s", moved.c_str());
    s.writeEmulators({standard});
    s.popupItems();
    CHECK_EQ(s.clickAndWait(0, chain.first()).commandLine,
             programPart(moved) + " \"" + shortPath(rom) + "\"", "a stale template is ignored");
}

HOST_CASE(aTemplateIsCheckedOnOkAndFollowsItsEntryThroughEditsARestartAndCopyAndPaste) {
    Session s("templateEdit");
    std::string a = s.installStub("A"), b = s.installStub("B");
    s.writeEmulators({emulator("Alpha", a, 0), emulator("Beta", b, 0)});
    std::string emu = s.dataDir + s.system + ".emu";
    onMenuDialog(s.plugin, 0, kSettingsTitle, [&](HWND settings) {
        editRow(settings, 1, [&](HWND edit) {
            CHECK(isEnabled(edit, IDC_ARGUMENTS), "the field is enabled for the standard kind");
            for (const char* bad : {"%ROMM% x", "-v 50%"}) {
                typeText(edit, IDC_ARGUMENTS, bad);
                clickLater(edit, IDOK);
                Answered box = answerMessageBox();
                std::string offending = bad[1] == 'R' ? "%ROMM%" : "%";
                CHECK_EQ(box.text, "コマンドライン引数に使えない文字列があります: " + offending,
                         std::string("refused: ") + bad);
                CHECK(waitUntil([&] { return focusIn(edit) == GetDlgItem(edit, IDC_ARGUMENTS); }),
                      "the field has the focus");
            }
            typeText(edit, IDC_ARGUMENTS, "-L a.dll %ROM%");
            CHECK_EQ(controlText(edit, IDC_ARGUMENTS_SAMPLE),
                     std::string("-L a.dll C:\\ROMs\\Sample Game.zip"), "the sample line");
            clickCheckBox(edit, IDC_QUOTE);
            CHECK_EQ(controlText(edit, IDC_ARGUMENTS_SAMPLE),
                     std::string("-L a.dll \"C:\\ROMs\\Sample Game.zip\""), "quoted");
            chooseComboRow(edit, IDC_KIND, 1);
            CHECK(!isEnabled(edit, IDC_ARGUMENTS), "disabled for the keyboard-driven kind");
            chooseComboRow(edit, IDC_KIND, 0);
            typeText(edit, IDC_NAME, "Beta Renamed");
            clickNow(edit, IDOK);
        });
        selectRows(settings, IDC_EMULATOR_LIST, {1}, 1);
        clickNow(settings, IDC_MOVE_UP);
        clickNow(settings, IDOK);
    });
    CHECK_EQ(readFile(emu + ".txt"),
             "; Launchboard: command-line templates\r\n" +
                 companion("Beta Renamed", b, "-L a.dll %ROM%"),
             "the companion file after a rename and a move");
    CHECK(!fileExists(s.dataDir + "Copy.dat.txt"), "no copy, no companion");
    const std::string withTemplate = readFile(emu);

    s.restart();
    onMenuDialog(s.plugin, 0, kSettingsTitle, [&](HWND settings) {
        editRow(settings, 0, [&](HWND edit) {
            CHECK_EQ(controlText(edit, IDC_ARGUMENTS), std::string("-L a.dll %ROM%"),
                     "after a restart");
            clickNow(edit, IDCANCEL);
        });
        selectRows(settings, IDC_EMULATOR_LIST, {0}, 0);
        clickNow(settings, IDC_COPY);
        clickNow(settings, IDCANCEL);
    });
    SetWindowTextA(s.window.combos[0], "SNES");
    onMenuDialog(s.plugin, 0, kSettingsTitle, [&](HWND settings) {
        clickNow(settings, IDC_PASTE);
        editRow(settings, 0, [&](HWND edit) {
            CHECK_EQ(controlText(edit, IDC_ARGUMENTS), std::string("-L a.dll %ROM%"),
                     "pasted into another system");
            clickNow(edit, IDCANCEL);
        });
        clickNow(settings, IDOK);
    });
    CHECK_EQ(readFile(s.dataDir + "SNES.emu.txt"), readFile(emu + ".txt"), "the SNES companion");

    SetWindowTextA(s.window.combos[0], s.system.c_str());
    onMenuDialog(s.plugin, 0, kSettingsTitle, [&](HWND settings) {
        editRow(settings, 0, [&](HWND edit) {
            typeText(edit, IDC_ARGUMENTS, "");
            clickNow(edit, IDOK);
        });
        clickNow(settings, IDOK);
    });
    CHECK_EQ(readFile(emu), withTemplate, "the list file's bytes do not depend on templates");
}

HOST_CASE(aPresetFillsTheEditDialogAndBrowseOffersThePresetsOfTheExecutable) {
    Session s("presets");
    std::string folder = s.root + "Emus\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string ra = folder + "retroarch.exe", duck = folder + "duckstation-qt-x64-ReleaseLTCG.exe";
    CopyFileA(stubPath.c_str(), ra.c_str(), FALSE);
    CopyFileA(stubPath.c_str(), duck.c_str(), FALSE);
    writeFile(s.dataDir + "Presets.txt",
              "name=Dolphin (ゲームキューブ/Wii)\r\nexe=Dolphin.exe\r\nkind=0\r\nargs=-u mine -e "
              "%ROM%\r\n");
    std::string rom = s.root + "mario.sfc";
    s.writeCache({{"K1", rom, "mario.sfc"}});
    auto rowOf = [](HWND edit, const std::string& name) {
        return int(SendDlgItemMessageA(edit, IDC_PRESET, CB_FINDSTRINGEXACT, WPARAM(-1),
                                       reinterpret_cast<LPARAM>(name.c_str())));
    };
    auto browseTo = [](HWND edit, const std::string& exe) {
        if (pickFile(edit, IDC_EXE_BROWSE, "エミュレータ選択", exe))
            waitUntil([&] { return controlText(edit, IDC_EXE) == exe; });
    };
    onMenuDialog(s.plugin, 0, kSettingsTitle, [&](HWND settings) {
        editRow(settings, -1, [&](HWND edit) {
            chooseComboRow(edit, IDC_PRESET, rowOf(edit, "RetroArch: Snes9x (スーパーファミコン)"));
            CHECK_EQ(controlText(edit, IDC_ARGUMENTS),
                     std::string("-L cores\\snes9x_libretro.dll %ROM%"), "the preset's template");
            CHECK_EQ(comboRow(edit, IDC_KIND), 0, "the standard kind");
            CHECK_EQ(controlText(edit, IDC_NAME),
                     std::string("RetroArch: Snes9x (スーパーファミコン)"),
                     "an empty name takes the preset's");
            chooseComboRow(edit, IDC_PRESET, rowOf(edit, "Dolphin (ゲームキューブ/Wii)"));
            CHECK_EQ(controlText(edit, IDC_ARGUMENTS), std::string("-u mine -e %ROM%"),
                     "Presets.txt replaces the built-in row of its name");
            chooseComboRow(edit, IDC_PRESET, rowOf(edit, "RetroArch: Snes9x (スーパーファミコン)"));
            typeText(edit, IDC_EXE, ra);
            clickNow(edit, IDOK);
        });
        editRow(settings, -1, [&](HWND edit) {
            browseTo(edit, ra);
            CHECK_EQ(controlText(edit, IDC_ARGUMENTS), std::string(), "several presets: nothing");
            CHECK_EQ(int(SendDlgItemMessageA(edit, IDC_PRESET, CB_GETCOUNT, 0, 0)), 35,
                     "the drop-down lists only RetroArch's cores");
            browseTo(edit, duck);
            CHECK_EQ(controlText(edit, IDC_ARGUMENTS), std::string("-batch -fullscreen -- %ROM%"),
                     "one preset: filled");
            CHECK(isChecked(edit, IDC_EXTRACT), "and extraction ticked");
            clickNow(edit, IDCANCEL);
        });
        clickNow(settings, IDOK);
    });
    s.popupItems();
    Chain chain({"K1"});
    CHECK_EQ(s.clickAndWait(0, chain.first()).commandLine,
             programPart(ra) + " -L cores\\snes9x_libretro.dll \"" + rom + "\"",
             "the launch passes the preset's template");
}

HOST_CASE(aPlaylistStartsTheSelectedDiscsAsOneGameAndGoesWithTheExtractedFiles) {
    Session s("playlist");
    std::string exe = s.installStub("RA"), extract = s.root + "extract\\";
    CreateDirectoryA(extract.c_str(), nullptr);
    CreateDirectoryA((s.root + "表ソ").c_str(), nullptr);
    std::string disc1 = s.root + "表ソ\\Game (Disc 1).cue", disc2 = s.root + "Game (Disc 2).cue";
    s.writeCache({{"K1", disc1, "a.cue"}, {"K2", disc2, "b.cue"}});
    s.writeEmulators({emulator("RA", exe, 0, extract)});
    writeFile(s.dataDir + s.system + ".emu.txt", companion("RA", exe, "-L cores\\x.dll %M3U%"));
    s.popupItems();
    Chain chain({"K1", "K2"});
    std::string playlist = extract + "Game (Disc 1).m3u";
    CHECK_EQ(s.clickAndWait(0, chain.first()).commandLine,
             programPart(exe) + " -L cores\\x.dll " + playlist, "the stub gets the playlist");
    CHECK_EQ(readFile(playlist), toUtf8(disc1) + "\r\n" + toUtf8(disc2) + "\r\n",
             "both discs in order, as UTF-8");
    s.close();
    CHECK(!fileExists(playlist), "closePlugin deletes the playlist");
}

// A game's own launch setting made in the favourites tab: its emulator where the game's own
// place starts it, its arguments wherever that emulator starts it, and shown before it runs.
HOST_CASE(aGamesOwnEmulatorAndArgumentsStartItFromEveryPlace) {
    Session s("gameSetting");
    std::string a = s.installStub("A"), b = s.installStub("B");
    s.writeCache({{"K1", s.root + "mario.n64", "mario.n64"}});
    s.writeEmulators({emulator("First", a, 0), emulator("Second", b, 0)});
    writeFile(s.dataDir + s.system + ".fvr", favoritesFile(s.system, {favorite("Mario", "K1")}));
    int runs = 0;
    auto started = [&](const std::function<void()>& action) {
        std::string log = s.root + "game" + std::to_string(++runs) + ".log";
        SetEnvironmentVariableA("LB_STUB_LOG", log.c_str());
        action();
        return waitForStub(log).commandLine;
    };
    auto doubleClick = [](HWND dialog, int list) {
        selectRows(dialog, list, {0}, 0);
        NMITEMACTIVATE click{};
        click.hdr = {GetDlgItem(dialog, list), UINT_PTR(list), UINT(NM_DBLCLK)};
        SendMessageA(dialog, WM_NOTIFY, WPARAM(list), reinterpret_cast<LPARAM>(&click));
    };
    const std::string mario = s.root + "mario.n64", args = " -x \"a b\"";
    std::string sample, viaFavorites;
    onMenuDialog(s.plugin, 1, favoritesTitle(1), [&](HWND dialog) {
        selectRows(dialog, IDC_FAVORITE_LIST, {0}, 0);
        clickLater(dialog, IDM_GAME_SETTING);
        HWND game = waitForDialog("このゲームの起動設定(Launchboard)");
        if (game == nullptr) return;
        chooseComboRow(game, IDC_GAME_EMULATOR, 2);
        typeText(game, IDC_GAME_ARGUMENTS, "-x \"a b\"");
        sample = controlText(game, IDC_GAME_SAMPLE);
        clickNow(game, IDOK);
        viaFavorites = started([&] { doubleClick(dialog, IDC_FAVORITE_LIST); });
        clickNow(dialog, IDCANCEL);
    });
    CHECK_EQ(sample, b + " " + mario + args, "the sample: the chosen emulator's line");
    CHECK_EQ(readFile(s.dataDir + s.system + ".games.txt"),
             "#games 1\r\nK1\tSecond\t" + b + "\t-x \"a b\"\r\n", "saved at the dialog's OK");
    CHECK_EQ(viaFavorites, b + " " + mario + args, "a double-click: the game's emulator");
    Chain chain({"K1"});
    s.popupItems();
    CHECK_EQ(s.clickAndWait(1, chain.first()).commandLine, b + " " + mario + args, "the popup");
    CHECK_EQ(s.clickAndWait(0, chain.first()).commandLine, a + " " + mario, "another emulator");
    std::string viaHistory;
    onMenuDialog(s.plugin, 1, favoritesTitle(1), [&](HWND dialog) {
        showFavoritesTab(dialog, 1);
        viaHistory = started([&] { doubleClick(dialog, IDC_HISTORY_LIST); });
        clickNow(dialog, IDCANCEL);
    });
    CHECK_EQ(viaHistory, b + " " + mario + args, "the history: the game's, not the last one");
    holdShift(true);
    Answered box;
    runDriven([&] { return s.plugin.onPopupMenuHaveClick(1, chain.first()); },
              [&] { box = answerMessageBox(IDCANCEL); });
    holdShift(false);
    CHECK(box.text.find("このゲームの引数 (このゲームの起動設定から): -x \"a b\"") !=
              std::string::npos,
          "the preview: " + box.text);
    s.writeEmulators({emulator("First", a, 0)});
    viaFavorites.clear();
    onMenuDialog(s.plugin, 1, "最近遊んだゲーム(Launchboard) - 1件", [&](HWND dialog) {
        showFavoritesTab(dialog, 0);
        viaFavorites = started([&] { doubleClick(dialog, IDC_FAVORITE_LIST); });
        clickNow(dialog, IDCANCEL);
    });
    CHECK_EQ(viaFavorites, a + " " + mario, "its emulator deleted: the first, without them");
}
