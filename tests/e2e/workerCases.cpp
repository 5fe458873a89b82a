// The keyboard-driven launch's wait and script on the plug-in's worker: the host's click
// returns at the process start and its window keeps answering, a second such launch is refused
// while the first types, and closePlugin stops the script at once and leaves nothing behind.
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>

#include "dialogDriver.h"
#include "session.h"

using namespace host;

namespace {

// The host's thread answers its messages for `ms`, as a host's message loop does.
void pumpFor(int ms) {
    for (DWORD start = GetTickCount(); int(GetTickCount() - start) < ms;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

// The stub processes ("stub.exe") running now, by creation time (100 ns units).
std::vector<uint64_t> stubStarts() {
    std::vector<uint64_t> starts;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        if (lstrcmpiA(entry.szExeFile, "stub.exe") != 0) continue;
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, entry.th32ProcessID);
        FILETIME created{}, ended{}, kernel{}, user{};
        if (process != nullptr && GetProcessTimes(process, &created, &ended, &kernel, &user))
            starts.push_back(uint64_t(created.dwHighDateTime) << 32 | created.dwLowDateTime);
        if (process != nullptr) CloseHandle(process);
    }
    CloseHandle(snapshot);
    return starts;
}

uint64_t now() {
    FILETIME time{};
    GetSystemTimeAsFileTime(&time);
    return uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

void closeStubs() {
    for (const char* type : {"StubMenuEmulator", "#32770"})
        while (HWND window = FindWindowA(type, nullptr)) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == GetCurrentProcessId()) break;
            PostMessageA(window, WM_CLOSE, 0, 0);
            Sleep(100);
        }
}

struct Typing {
    Session s;
    std::string exe, rom, log;
    Chain chain{{"K1"}};
    Typing(const char* name, int keyWait, int browseWait) : s(name) {
        exe = s.installStub("Menu Emu");
        rom = s.root + "mario.n64";
        s.writeCache({{"K1", rom, "mario.n64"}});
        EmulatorRecord e = emulator("1964", exe, 1);
        e.keyWaitIndex = keyWait;
        e.browseWaitIndex = browseWait;
        s.writeEmulators({e});
        s.popupItems();
        log = s.root + "menu.log";
    }
    void click() {
        SetEnvironmentVariableA("LB_STUB_LOG", log.c_str());
        SetEnvironmentVariableA("LB_STUB_MODE", "menu");
        s.plugin.onPopupMenuHaveClick(0, chain.first());
        SetEnvironmentVariableA("LB_STUB_MODE", nullptr);
    }
};

}  // namespace

HOST_CASE(theHostAnswersWhileAKeyboardDrivenLaunchTypesAndASecondOneIsRefused) {
    Typing t("workerTypes", 1, 1);  // 100 ms between keys, 1000 ms for the file dialog
    size_t stubsBefore = stubStarts().size();
    t.click();
    uint64_t returned = now();
    std::vector<uint64_t> starts = stubStarts();
    uint64_t started = starts.empty() ? 0 : *std::max_element(starts.begin(), starts.end());
    CHECK(started != 0 && returned - started < 1000000,
          "the click returns within 100 ms of the emulator's start: " +
              show((long long)(returned - started) / 10000) + " ms");
    Answered box;
    int polls = 0, unanswered = 0;
    std::string opened;
    runDriven([&] { return t.s.plugin.onPopupMenuHaveClick(0, t.chain.first()); },
              [&] {
                  box = answerMessageBox(IDOK, 5000);
                  for (DWORD start = GetTickCount(); GetTickCount() - start < 15000; Sleep(50)) {
                      DWORD_PTR result = 0;
                      ++polls;
                      if (!SendMessageTimeoutA(t.s.window.main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                               100, &result))
                          ++unanswered;
                      opened = waitForLogLine(t.log, "opened=", 1);
                      if (opened.rfind("(no", 0) != 0) break;
                  }
              });
    CHECK_EQ(box.text, std::string("前のエミュレータへのキー入力がまだ終わっていません"),
             "a second keyboard-driven launch while the first types");
    CHECK_EQ(stubStarts().size(), stubsBefore + (opened.rfind("(no", 0) == 0 ? 1 : 0),
             "and no second process");
    CHECK(polls > 10 && unanswered == 0,
          "the host's window answered at every poll: " + show(unanswered) + " of " + show(polls));
    if (opened.rfind("(no", 0) == 0 || opened == "(cancelled)")
        std::printf("  SKIPPED: the keystrokes did not reach the emulator under Wine (%s)\n",
                    opened.c_str());
    else
        CHECK_EQ(opened, t.rom, "the stub received the whole key sequence and opened the path");
    closeStubs();
}

HOST_CASE(closingThePluginStopsATypingLaunchAtOnceAndLeavesNoKeyNorThread) {
    Typing t("workerClosed", 4, 4);  // 1000 ms between keys: the script takes 21 s
    t.click();
    for (int i = 0; i < 100 && FindWindowA("StubMenuEmulator", nullptr) == nullptr; ++i)
        pumpFor(50);
    pumpFor(2500);  // the script has begun: Alt, perhaps Down
    DWORD start = GetTickCount();
    t.s.plugin.closePlugin();
    DWORD took = GetTickCount() - start;
    CHECK(took < 1500, "closePlugin returned within 1.5 s: " + show((unsigned long)took) + " ms");
    CHECK((GetAsyncKeyState(VK_CONTROL) & 0x8000) == 0 && (GetAsyncKeyState(VK_MENU) & 0x8000) == 0,
          "neither Ctrl nor Alt is left down");
    t.s.close();  // the host unloads the DLL
    CHECK(GetModuleHandleA("Launchboard.dll") == nullptr,
          "the DLL unloads: no thread of the plug-in holds it");
    pumpFor(3000);
    CHECK(waitForLogLine(t.log, "opened=", 1).rfind("(no", 0) == 0,
          "no key after closePlugin: the file dialog never opened");
    CHECK(noMessageBox(200), "and no message");
    closeStubs();
}

HOST_CASE(aHeldTemplatesFileStartsNothingAndClosingWithTheWorkersBoxUpLeavesNoThread) {
    {
        Session s("heldTemplates");
        std::string exe = s.installStub("Emu"), log = s.root + "stub.log";
        s.writeCache({{"K1", s.root + "mario.n64", "mario.n64"}});
        s.writeEmulators({emulator("RetroArch", exe, 0)});
        std::string companion = s.dataDir + s.system + ".emu.txt";
        writeFile(companion, "name=RetroArch\r\nexe=" + exe + "\r\nargs=-L core.dll %ROM%\r\n");
        const std::string before = readFile(companion);
        HANDLE hold = CreateFileA(companion.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, 0);
        Chain chain({"K1"});
        SetEnvironmentVariableA("LB_STUB_LOG", log.c_str());
        for (int item : {-1, 0}) {  // the settings dialog, then a click on the emulator
            Answered box;
            runDriven(
                [&] {
                    return item < 0
                               ? s.plugin.onMenuClick(0)
                               : (s.popupItems(), s.plugin.onPopupMenuHaveClick(0, chain.first()));
                },
                [&] { box = answerMessageBox(IDOK, 3000); });
            CHECK_EQ(box.text.substr(0, box.text.find("\r\n", 40)),
                     "ファイルを読み込めませんでした\r\n" + companion, "told, item " + show(item));
        }
        CHECK(FindWindowA(nullptr, "エミュレータ設定(Launchboard)") == nullptr, "no dialog");
        Sleep(500);
        CHECK(!fileExists(log), "nothing started");
        CloseHandle(hold);
        CHECK_EQ(readFile(companion), before, "the templates' file, byte for byte");
    }
    // The emulator exits at once, so the worker tells it in a box owned by the host's window;
    // the host closes at varied moments: during the wait, with the box up, as the worker ends.
    int slow = 0, boxUp = 0;
    for (int run = 0; run < 50; ++run) {
        Session s("stopWithBox" + std::to_string(run));
        s.writeCache({{"K1", s.root + "mario.n64", "mario.n64"}});
        s.writeEmulators({emulator("1964", s.installStub("Emu"), 1)});
        s.popupItems();
        Chain chain({"K1"});
        SetEnvironmentVariableA("LB_STUB_LOG", (s.root + "stub.log").c_str());
        s.plugin.onPopupMenuHaveClick(0, chain.first());
        pumpFor(run * 37 % 1200);
        HWND box = FindWindowA("#32770", nullptr);
        boxUp += box != nullptr && GetWindow(box, GW_OWNER) == s.window.main;
        DWORD start = GetTickCount();
        s.plugin.closePlugin();
        slow += GetTickCount() - start >= 1000;
        s.plugin.closePlugin = nullptr;
        s.close();  // FreeLibrary
        CHECK(GetModuleHandleA("Launchboard.dll") == nullptr,
              "run " + show(run) + ": the DLL is unmapped, no thread of it left");
    }
    CHECK_EQ(slow, 0, "closePlugin calls of 1 s or more");
    CHECK(boxUp > 5, "the box was up at " + show(boxUp) + " of the 50 closes");
}
