// Emulators found on the disk against the real DLL: a folder of standalone emulators and a
// RetroArch with a core the table lacks, found in one step past a link that loops back, added,
// saved, and launched.
#include <windows.h>

#include <commctrl.h>

#include "dialogDriver.h"
#include "resource.h"
#include "session.h"

using namespace host;

namespace {

// The stub emulator under `path` (below the session's root), its folders made.
std::string placeStub(Session& s, const std::string& path) {
    std::string stub = s.installStub(path.substr(0, path.rfind('\\')));
    std::string exe = s.root + path;
    MoveFileA(stub.c_str(), exe.c_str());
    return exe;
}

// A folder link at `link` back to `target`: a unix symbolic link, which Wine lists as a reparse
// point, as Windows lists a junction.
bool linkFolder(const std::string& link, const std::string& target) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    auto name = [&](const std::string& path) {
        wchar_t wide[MAX_PATH] = L"";
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
        return std::string(unixName(wide));
    };
    std::string line = "Z:\\bin\\ln -s \"" + name(target) + "\" \"" + name(link) + "\"";
    STARTUPINFOA start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &start,
                        &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (int wait = 0; wait < 100; ++wait, Sleep(50)) {  // Wine does not wait for a unix program
        DWORD attributes = GetFileAttributesA(link.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) return attributes & FILE_ATTRIBUTE_REPARSE_POINT;
    }
    return false;
}

std::string checks(HWND found) {
    std::string marks;
    HWND list = GetDlgItem(found, IDC_FOUND_LIST);
    for (int i = 0; i < int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); ++i)
        marks +=
            ((SendMessageA(list, LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK) >> 12) == 2) ? "x" : "-";
    return marks;
}

}  // namespace

HOST_CASE(aFolderScanFindsEveryEmulatorWithTheCoresThatFitFirstAndAnAddedCoreStarts) {
    Session s("scan", "LaunchboardData0001", "SNES");
    placeStub(s, "Emu\\Duck\\duckstation-qt-x64-ReleaseLTCG.exe");
    placeStub(s, "Emu\\mGBA\\mGBA.exe");
    CHECK(linkFolder(s.root + "Emu\\mGBA\\back", s.root + "Emu"), "a loop, never followed");
    std::string retroArch = placeStub(s, "Emu\\RA\\retroarch.exe");
    CreateDirectoryA((s.root + "Emu\\RA\\cores").c_str(), nullptr);
    CreateDirectoryA((s.root + "Emu\\RA\\info").c_str(), nullptr);
    for (const char* core : {"snes9x", "bsnes_mine", "genesis_plus_gx"})
        writeFile(s.root + "Emu\\RA\\cores\\" + core + "_libretro.dll", "");
    writeFile(s.root + "Emu\\RA\\info\\bsnes_mine_libretro.info",
              "display_name = \"Mine - bsnes\"\r\nsupported_extensions = \"sfc|smc\"\r\n");
    s.writeCache({{"K1", s.root + "Mario.zip", "Mario.sfc"}});
    std::string seen, marks;
    int cores = -1;
    onMenuDialog(s.plugin, 0, "エミュレータ設定(Launchboard)", [&](HWND settings) {
        clickLater(settings, IDC_SCAN);
        HWND browser = waitForDialog("エミュレータを探すフォルダ");
        if (browser == nullptr) return;
        if (!pickFolderIn(browser, s.root + "Emu")) return;
        HWND found = waitForDialog("見つかったエミュレータ(Launchboard) - 5件", 15000);
        if (found == nullptr) return;
        seen = joined(listRows(found, IDC_FOUND_LIST));
        marks = checks(found);
        clickNow(found, IDOK);
        waitUntilClosed(found);
        // Browse to the same RetroArch in the edit dialog: its own core is among the 候補 too.
        clickLater(settings, IDC_ADD);
        HWND edit = waitForDialog("エミュレータ追加(Launchboard)");
        if (edit == nullptr) return;
        if (pickFile(edit, IDC_EXE_BROWSE, "エミュレータ選択", retroArch))
            cores = int(SendDlgItemMessageA(edit, IDC_PRESET, CB_FINDSTRINGEXACT, WPARAM(-1),
                                            reinterpret_cast<LPARAM>("Mine - bsnes")));
        clickNow(edit, IDCANCEL);
        waitUntilClosed(edit);
        clickNow(settings, IDOK);
    });
    CHECK_EQ(
        seen,
        std::string("RetroArch: Snes9x (スーパーファミコン) | Mine - bsnes | DuckStation "
                    "(プレイステーション) | mGBA (ゲームボーイアドバンス) | RetroArch: Genesis "
                    "Plus GX (メガドライブ)"),
        "the SNES cores first, then the table's order");
    CHECK_EQ(marks, std::string("xx---"), "the rows that fit are checked");
    CHECK(cores > 0, "Browse to retroarch.exe offers its core that the table lacks");
    std::string templates = readFile(s.dataDir + "SNES.emu.txt");
    CHECK(templates.find("args=-L cores\\bsnes_mine_libretro.dll %ROM%") != std::string::npos,
          "the core the table lacks is stored with its template: " + toUtf8(templates));
    std::vector<std::string> items = s.popupItems();
    CHECK_EQ(joined(std::vector<std::string>(items.begin(), items.begin() + 2)),
             std::string("RetroArch: Snes9x (スーパーファミコン) | Mine - bsnes"), "the popup");
    Chain mario({"K1"});
    StubRun run = s.clickAndWait(1, mario.first());
    CHECK_EQ(
        run.commandLine,
        programPart(retroArch) + " -L cores\\bsnes_mine_libretro.dll \"" + s.root + "Mario.zip\"",
        "RetroArch starts the added core with the ROM");
}

HOST_CASE(twoFoundCoresOfOneRetroArchAndAFoundDuckStationAreEditedCopiedAndStarted) {
    Session s("scanKeep", "LaunchboardData0001", "PlayStation");
    std::string duck = placeStub(s, "Emu\\Duck\\duckstation-qt-x64-ReleaseLTCG.exe");
    std::string retroArch = placeStub(s, "Emu\\RA\\retroarch.exe");
    CreateDirectoryA((s.root + "Emu\\RA\\cores").c_str(), nullptr);
    for (const char* core : {"swanstation", "pcsx_rearmed"})
        writeFile(s.root + "Emu\\RA\\cores\\" + core + "_libretro.dll", "");
    s.writeCache({{"K1", s.root + "Game.zip", "Game.cue"}});
    std::vector<std::string> messages;
    std::string pasted;
    onMenuDialog(s.plugin, 0, "エミュレータ設定(Launchboard)", [&](HWND settings) {
        clickLater(settings, IDC_SCAN);
        HWND browser = waitForDialog("エミュレータを探すフォルダ");
        CHECK(browser != nullptr && pickFolderIn(browser, s.root + "Emu"), "the folder picked");
        HWND found = waitForDialog("見つかったエミュレータ(Launchboard) - 3件", 15000);
        if (found == nullptr) return;
        clickNow(found, IDOK);
        waitUntilClosed(found);
        for (int row = 0; row < 3; ++row) {  // each opens and saves with OK as it is
            selectRows(settings, IDC_EMULATOR_LIST, {row}, row);
            clickLater(settings, IDC_EDIT);
            HWND edit = waitForDialog("エミュレータ編集(Launchboard)");
            if (edit == nullptr) return;
            clickLater(edit, IDOK);
            if (!waitUntilClosed(edit, 1500)) messages.push_back(answerMessageBox().text);
        }
        selectRows(settings, IDC_EMULATOR_LIST, {1, 2}, 1);  // the two cores
        clickNow(settings, IDC_COPY);
        clickLater(settings, IDC_DELETE);
        answerMessageBox(IDOK);
        clickNow(settings, IDC_PASTE);
        pasted = joined(listRows(settings, IDC_EMULATOR_LIST));
        clickLater(settings, IDC_ADD);  // the same program with the same template
        HWND edit = waitForDialog("エミュレータ追加(Launchboard)");
        if (edit == nullptr) return;
        typeText(edit, IDC_NAME, "Again");
        typeText(edit, IDC_EXE, retroArch);
        typeText(edit, IDC_ARGUMENTS, "-L cores\\swanstation_libretro.dll %ROM%");
        clickLater(edit, IDOK);
        messages.push_back(answerMessageBox().text);
        clickNow(edit, IDCANCEL);
        waitUntilClosed(edit);
        clickNow(settings, IDOK);
    });
    CHECK_EQ(joined(messages), std::string("エミュレータのファイルパスが重複します"),
             "each found row saves with OK; only the same program and template is refused");
    CHECK_EQ(pasted,
             std::string("DuckStation (プレイステーション) | RetroArch: SwanStation "
                         "(プレイステーション) | RetroArch: PCSX ReARMed (プレイステーション)"),
             "both cores come back from the copy");
    Chain game({"K1"});
    std::string rom = "\"" + s.root + "Game.zip\"";
    for (int row : {1, 2})
        CHECK_EQ(s.clickAndWait(row, game.first()).commandLine,
                 programPart(retroArch) + " -L cores\\" +
                     (row == 1 ? "swanstation" : "pcsx_rearmed") + "_libretro.dll " + rom,
                 "each core with its own template");
    CHECK_EQ(s.clickAndWait(0, game.first()).commandLine,
             programPart(duck) + " -batch -fullscreen -- \"" + s.dataDir + "temp\\Game.cue\"",
             "DuckStation starts the disc extracted into the plug-in's temp folder");
}

HOST_CASE(theHostQuittingDuringAScanEndsItAtOnceAndNothingOfThePluginShowsAfter) {
    Session s("scanQuit", "LaunchboardData0001", "SNES");
    for (int a = 0; a < 60; ++a) {  // 3,660 folders: seconds of walking under Wine
        std::string top = s.root + "Tree\\" + std::to_string(a);
        CreateDirectoryA((s.root + "Tree").c_str(), nullptr);
        CreateDirectoryA(top.c_str(), nullptr);
        for (int b = 0; b < 60; ++b)
            CreateDirectoryA((top + "\\" + std::to_string(b)).c_str(), nullptr);
    }
    DWORD quitAt = 0, returnedAt = 0;
    bool quiet = false;
    runDriven(
        [&] {
            int result = s.plugin.onMenuClick(0);
            returnedAt = GetTickCount();
            s.plugin.closePlugin();  // as the host does, once the quit has reached its own loop
            return result;
        },
        [&] {
            HWND settings = waitForDialog("エミュレータ設定(Launchboard)");
            if (settings == nullptr) return;
            clickLater(settings, IDC_SCAN);
            HWND browser = waitForDialog("エミュレータを探すフォルダ");
            if (browser == nullptr || !pickFolderIn(browser, s.root + "Tree") ||
                waitForDialog("探しています…") == nullptr)
                return;
            quitAt = GetTickCount();
            PostMessageA(s.window.main, kHostQuits, 0, 0);
            waitUntil([&] { return returnedAt != 0; });
            quiet = noMessageBox(1000) && FindWindowA(nullptr, "見つかったエミュレータ") == nullptr;
        });
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    CHECK(quitAt != 0 && returnedAt - quitAt < 500,
          "the host's thread was back within 0.5 s: " + show((unsigned long)(returnedAt - quitAt)));
    CHECK(quiet, "no window of the plug-in after closePlugin");
    s.plugin.closePlugin = nullptr;  // the host closed it already
    s.plugin.unload();
    CHECK(waitUntil([] { return GetModuleHandleA("Launchboard.dll") == nullptr; }),
          "the DLL unloads");
}
