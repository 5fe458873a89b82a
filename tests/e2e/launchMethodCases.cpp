// The keyboard-driven and two-drive launches through the popup menu, against the real DLL.
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

HOST_CASE(aKeyboardDrivenLaunchOfAMissingProgramShowsTheMessageAtOnce) {
    Session s("keyboardMissing");
    std::string rom = s.root +
                      "\x83\x5C"
                      "ft.n64";
    s.writeCache({{"K1", rom, "inner.n64"}});
    s.writeEmulators({emulator("1964", s.root + "missing\\1964.exe", 1)});
    s.popupItems();
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    MessageWatcher watcher;
    watcher.start(15000);
    DWORD started = GetTickCount();
    Chain chain({"K1"});
    s.plugin.onPopupMenuHaveClick(0, chain.first());
    DWORD took = GetTickCount() - started;
    watcher.finish();
    CHECK(watcher.seen, "a message box was shown");
    CHECK_EQ(watcher.text,
             std::string("20\x95\x62\x91\xd2\x82\xbf\x82\xdc\x82\xb5\x82\xbd\x82\xaa\x81\x41\x83"
                         "\x47\x83\x7e\x83\x85"
                         "\x83\x8c\x81\x5b\x83\x5e\x82\xaa\x8b\x4e\x93\xae\x82\xb5\x82\xdc\x82\xb9"
                         "\x82\xf1\x82\xc5"
                         "\x82\xb5\x82\xbd"),
             "the message");
    CHECK(watcher.owner == s.window.main, "owned by the active window");
    CHECK(took < 10000, "shown at once, not after 20 seconds: " + show((long long)took) + " ms");
    CHECK_EQ(clipboardText(), rom, "the clipboard holds the ROM path");
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
