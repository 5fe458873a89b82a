// The keyboard-driven and two-drive launches through the popup menu, against the real DLL.
#include "dialogDriver.h"
#include "resource.h"
#include "session.h"

using namespace host;

HOST_CASE(twoDriveLaunchesNameBothDisks) {
    Session s("twoDrive", "LaunchboardData0001", "X68000");
    std::string exe = s.installStub("X68 Emu");
    std::string a = s.root + "a.xdf", b = s.root + "b.xdf";
    s.writeCache({{"K1", a, "a.xdf"}, {"K2", b, "b.xdf"}, {"K3", s.root + "c.xdf", "c.xdf"}});
    s.writeEmulators({emulator("WinX68", exe, 2), emulator("XM6", exe, 3)});
    s.popupItems();
    Chain three({"K1", "K2", "K3"}), one({"K1"});
    CHECK_EQ(s.clickAndWait(0, three.first()).commandLine, programPart(exe) + " -A" + a + " -B" + b,
             "WinX68高速版, three disks");
    CHECK_EQ(s.clickAndWait(1, three.first()).commandLine, programPart(exe) + " " + a + " " + b,
             "XM6, three disks");
    CHECK_EQ(s.clickAndWait(0, one.first()).commandLine, programPart(exe) + " -A" + a + " -B",
             "WinX68高速版, one disk");
    CHECK_EQ(s.clickAndWait(0, nullptr).commandLine, programPart(exe) + " -A -B",
             "WinX68高速版, no disk");
}

HOST_CASE(aMissingProgramIsToldOnceForEveryKindAndAWorkingLaunchShowsNoBox) {
    Session s("keyboardMissing");
    std::string rom = s.root +
                      "\x83\x5C"
                      "ft.n64";
    s.writeCache({{"K1", rom, "inner.n64"}});
    std::string missing = s.root + "missing\\emu.exe";
    std::string stub = s.installStub("Present");
    s.writeEmulators({emulator("Std", missing, 0), emulator("1964", missing, 1),
                      emulator("WinX68", missing, 2), emulator("MAME", missing, 4),
                      emulator("Here", stub, 0)});
    s.popupItems();
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    Chain chain({"K1"}, "set");
    for (int index : {0, 1, 2, 3}) {
        MessageWatcher watcher;
        watcher.start(15000);
        DWORD started = GetTickCount();
        s.plugin.onPopupMenuHaveClick(index, chain.first());
        DWORD took = GetTickCount() - started;
        watcher.finish();
        std::string kind = "kind of emulator " + std::to_string(index);
        std::string told =
            "\x83\x47\x83\x7e\x83\x85\x83\x8c\x81\x5b\x83\x5e\x82\xf0"  // エミュレータを
            "\x8b\x4e\x93\xae\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1"  // 起動できません
            "\x82\xc5\x82\xb5\x82\xbd\r\n" +                            // でした
            missing +
            "\r\n";
        CHECK(watcher.seen, kind + ": a message box");
        CHECK_EQ(watcher.text.substr(0, told.size()), told, kind + ": what failed, and where");
        CHECK(watcher.text.size() > told.size(), kind + ": and the system's reason");
        CHECK(watcher.owner == s.window.main, kind + ": owned by the active window");
        CHECK(took < 10000, kind + ": at once, not after 20 seconds");
    }
    CHECK_EQ(clipboardText(), rom, "the keyboard-driven kind left the ROM path on the clipboard");
    MessageWatcher quiet;
    quiet.start(1500);
    StubRun run = s.clickAndWait(4, chain.first());
    quiet.finish();
    CHECK_EQ(run.commandLine, programPart(stub) + " " + rom, "the present emulator starts");
    CHECK(!quiet.seen, "a launch that works shows no box");
}

// Keystrokes go into the system's input stream and reach the emulator only if Wine gives it the
// keyboard focus; where it does not, the case says so and is skipped.
HOST_CASE(aKeyboardDrivenLaunchPastesTheRomIntoTheEmulatorsFileDialog) {
    Session s("keyboardMenu");
    std::string exe = s.installStub("Menu Emu");
    std::string rom = s.root + "mario.n64";
    s.writeCache({{"K1", rom, "mario.n64"}});
    EmulatorRecord e = emulator("1964", exe, 1);
    e.keyWaitIndex = 1;     // 100 ms
    e.browseWaitIndex = 1;  // 1000 ms
    s.writeEmulators({e});
    s.popupItems();
    std::string log = s.root + "menu.log";
    SetEnvironmentVariableA("LB_STUB_LOG", log.c_str());
    SetEnvironmentVariableA("LB_STUB_MODE", "menu");
    Chain chain({"K1"});
    s.plugin.onPopupMenuHaveClick(0, chain.first());
    SetEnvironmentVariableA("LB_STUB_MODE", nullptr);
    StubRun run = waitForStub(log);
    CHECK_EQ(run.commandLine, programPart(exe), "started with its path alone");
    std::string opened = waitForLogLine(log, "opened=", 8000);
    if (opened.rfind("(no", 0) == 0 || opened == "(cancelled)") {
        std::printf("  SKIPPED: the keystrokes did not reach the emulator under Wine (%s)\n",
                    opened.c_str());
        HWND stub = FindWindowA("StubMenuEmulator", nullptr);
        if (stub != nullptr) PostMessageA(stub, WM_CLOSE, 0, 0);
        return;
    }
    CHECK_EQ(opened, rom, "the file dialog received the pasted ROM path");
}

HOST_CASE(aPathWithBlanksStartsExactlyTheEmulatorAndArchivesNeverReachOutsideTheirFolder) {
    Session s("mends");
    std::string exe = s.installStub("My Emus");
    CHECK(CopyFileA(stubPath.c_str(), (s.root + "My.exe").c_str(), FALSE), "the decoy My.exe");
    std::string extractDir = s.root + "Extract\\";
    CreateDirectoryA(extractDir.c_str(), nullptr);
    std::string userFile = s.root + "save.dat";
    writeFile(userFile, "the user's own file");
    s.writeCache({{"K1", s.root + "a.zip", "..\\save.dat"}, {"K2", s.root + "b.zip", "b.n64"}});
    EmulatorRecord e = emulator("Std", exe, 0, extractDir);
    e.extractArchive = 1;
    s.writeEmulators({e});
    s.popupItems();
    Chain outside({"K1"}), inside({"K2"});
    StubRun run = s.clickAndWait(0, outside.first());
    CHECK_EQ(run.program, exe, "the registered program ran, not My.exe");
    CHECK_EQ(run.commandLine, "\"" + exe + "\" " + extractDir + "..\\save.dat",
             "the path in quotes, so the emulator's first argument is the ROM");
    s.clickAndWait(0, inside.first());
    CHECK(fileExists(extractDir + "b.n64"), "the host extracted b.n64");
    s.close();
    CHECK(fileExists(userFile), "closing never deletes a file outside the extraction folder");
    CHECK(!fileExists(extractDir + "b.n64"), "an extracted file inside it is deleted");
}

// A window of another program comes in front once the emulator is ready: no key reaches it,
// the user is told, and no key is left down.
HOST_CASE(aKeyboardDrivenLaunchTypesNothingIntoAnotherProgramInFront) {
    Session s("keyboardDecoy");
    std::string exe = s.installStub("Menu Emu");
    std::string rom = s.root + "mario.n64";
    s.writeCache({{"K1", rom, "mario.n64"}});
    EmulatorRecord e = emulator("1964", exe, 1);
    e.keyWaitIndex = 4;  // 1000 ms before the first key: time for the decoy to come in front
    s.writeEmulators({e});
    s.popupItems();
    std::string log = s.root + "menu.log", decoyLog = s.root + "decoy.log";
    SetEnvironmentVariableA("LB_STUB_LOG", log.c_str());
    SetEnvironmentVariableA("LB_STUB_MODE", "menu");
    Answered box;
    Chain chain({"K1"});
    runDriven([&] { return s.plugin.onPopupMenuHaveClick(0, chain.first()); },
              [&] {
                  for (int i = 0; i < 100 && FindWindowA("StubMenuEmulator", nullptr) == nullptr;
                       ++i)
                      Sleep(50);
                  SetEnvironmentVariableA("LB_STUB_LOG", decoyLog.c_str());
                  SetEnvironmentVariableA("LB_STUB_MODE", "decoy");
                  STARTUPINFOA startup{};
                  startup.cb = sizeof startup;
                  PROCESS_INFORMATION decoy{};
                  std::string line = "\"" + stubPath + "\"";
                  CreateProcessA(stubPath.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &decoy);
                  CloseHandle(decoy.hThread);
                  CloseHandle(decoy.hProcess);
                  box = answerMessageBox(IDOK, 15000);
              });
    SetEnvironmentVariableA("LB_STUB_MODE", nullptr);
    std::string told = readFile(decoyLog);
    CHECK(told.find("decoy=ready") != std::string::npos, "the decoy came up");
    CHECK(told.find("key=") == std::string::npos, "no keystroke reached the decoy: " + told);
    CHECK_EQ(box.text,
             std::string("\x83\x47\x83\x7e\x83\x85\x83\x8c\x81\x5b\x83\x5e\x82\xaa\x91\x4f\x96\xca"
                         "\x82\xc9\x82\xc8\x82\xa2\x82\xbd\x82\xdf\x81\x41\x83\x4c\x81\x5b\x93\xfc"
                         "\x97\xcd\x82\xf0\x92\x86\x8e\x7e\x82\xb5\x82\xdc\x82\xb5\x82\xbd\r\nROM"
                         "\x82\xcc\x83\x70\x83\x58\x82\xcd\x83\x4e\x83\x8a\x83\x62\x83\x76\x83\x7b"
                         "\x81\x5b\x83\x68\x82\xc9\x82\xa0\x82\xe8\x82\xdc\x82\xb7"),
             "the user is told, and where the ROM path is");
    CHECK((GetAsyncKeyState(VK_CONTROL) & 0x8000) == 0 && (GetAsyncKeyState(VK_MENU) & 0x8000) == 0,
          "neither Ctrl nor Alt is left down");
    CHECK_EQ(clipboardText(), rom, "the clipboard holds the ROM path");
    for (const char* type : {"StubMenuEmulator", "StubDecoy"})
        if (HWND window = FindWindowA(type, nullptr)) PostMessageA(window, WM_CLOSE, 0, 0);
}

namespace {

std::string lineAfter(const std::string& text, const std::string& label) {
    size_t at = text.find(label);
    if (at == std::string::npos) return "(no " + label + ")";
    at += label.size();
    return text.substr(at, text.find("\r\n", at) - at);
}

}  // namespace

HOST_CASE(shiftShowsTheLaunchFirstAndOkStartsExactlyThat) {
    Session s("shiftPreview");
    s.plugin.isCompatible("Nintendo 64 (MAME)");  // the favourites stay as written
    std::string exe = s.installStub("My Emus");
    std::string rom = s.root + "Super Mario 64.n64";
    s.writeCache({{"K1", rom, "Super Mario 64.n64"}});
    EmulatorRecord e = emulator("Std", exe, 0);
    e.quotePath = 1;
    e.shortPath = 1;
    s.writeEmulators({e});
    writeFile(s.dataDir + s.system + ".fvr", favoritesFile(s.system, {favorite("Mario", "K1")}));
    s.popupItems(true);
    std::string log = s.root + "preview.log";
    SetEnvironmentVariableA("LB_STUB_LOG", log.c_str());
    const std::string program = "\x83\x76\x83\x8d\x83\x4f\x83\x89\x83\x80: ",  // プログラム:
        folder = "\x83\x74\x83\x48\x83\x8b\x83\x5f: ",                         // フォルダ:
        command = "\x83\x52\x83\x7d\x83\x93\x83\x68\x83\x89\x83\x43\x83\x93: ";  // コマンドライン:
    Chain chain({"K1"});
    holdShift(true);
    for (int answer : {IDCANCEL, IDOK}) {
        Answered box;
        runDriven([&] { return s.plugin.onPopupMenuHaveClick(0, chain.first()); },
                  [&] { box = answerMessageBox(answer); });
        CHECK_EQ(box.caption,
                 std::string("\x8b\x4e\x93\xae\x82\xcc\x8a\x6d\x94\x46"),  // 起動の確認
                 "the preview's caption");
        CHECK_EQ(lineAfter(box.text, program), exe, "the program");
        CHECK_EQ(lineAfter(box.text, folder), s.root + "My Emus\\", "its folder");
        std::string shown = lineAfter(box.text, command);
        CHECK(shown.rfind("\"" + exe + "\" \"", 0) == 0, "the command line, quoted: " + shown);
        if (answer == IDCANCEL) {
            Sleep(500);
            CHECK(!fileExists(log), "Cancel starts nothing");
        } else {
            CHECK_EQ(waitForStub(log).commandLine, shown, "OK starts exactly what was shown");
        }
    }
    DeleteFileA(log.c_str());
    int result = onMenuDialog(s.plugin, 1, favoritesTitle(1), [&](HWND dialog) {
        clickCheckBox(dialog, IDC_CLOSE_ON_LAUNCH);
        selectRows(dialog, IDC_FAVORITE_LIST, {0}, 0);
        clickLater(dialog, IDM_LAUNCH_FIRST);
        Answered box = answerMessageBox(IDCANCEL);
        CHECK(!lineAfter(box.text, command).empty(), "the context menu's launch shows it too");
        Sleep(300);
        CHECK(IsWindowVisible(dialog), "Cancel keeps the dialog open, close on launch or not");
        CHECK(!fileExists(log), "and starts nothing");
        clickLater(dialog, IDM_LAUNCH_FIRST);
        answerMessageBox(IDOK);
        CHECK(waitUntilClosed(dialog), "OK starts it, and the ticked box closes the dialog");
    });
    CHECK_EQ(result, 1, "closed as OK");
    CHECK(!waitForStub(log).commandLine.empty(), "the favourite's launch started");
    holdShift(false);
    DeleteFileA(log.c_str());
    MessageWatcher quiet;
    quiet.start(1500);
    StubRun run = s.clickAndWait(0, chain.first());
    quiet.finish();
    CHECK(!quiet.seen && !run.commandLine.empty(), "without Shift: no box, the launch starts");
}
