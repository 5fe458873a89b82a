// The play history against the real DLL: a session's time measured to the end of its last
// process, a launcher that ends at once included, and a session cut short by the host's close.
#include "dialogDriver.h"
#include "session.h"

using namespace host;

namespace {

// The seconds of the end line of the history, waiting for it up to `ms`; -1 when none came.
long endSeconds(const std::string& path, int ms, std::string* cut = nullptr) {
    for (DWORD start = GetTickCount(); int(GetTickCount() - start) < ms; Sleep(100)) {
        std::string text = readFile(path);
        size_t at = text.rfind("\r\nE\t");
        if (at == std::string::npos) continue;
        size_t seconds = text.find('\t', at + 4) + 1;
        if (cut != nullptr) *cut = text.substr(text.find('\t', seconds) + 1, 1);
        return std::atol(text.c_str() + seconds);
    }
    return -1;
}

}  // namespace

HOST_CASE(aSessionIsTimedToTheEndOfItsLastProcessEvenThroughALauncherThatEndsAtOnce) {
    Session s("history");
    std::string exe = s.installStub("Emu");
    std::string launcher = s.root + "Emu\\launch.bat";
    writeFile(launcher, "@start \"\" \"" + exe + "\"\r\n");
    s.writeCache({{"K1", s.root + "mario.n64", "mario.n64"}});
    s.writeEmulators({emulator("Stub", exe, 0), emulator("Launcher", launcher, 0)});
    std::string history = s.dataDir + s.system + ".history.txt";
    SetEnvironmentVariableA("LB_STUB_LOG", (s.root + "stub.log").c_str());
    SetEnvironmentVariableA("LB_STUB_RUN_MS", "2000");
    Chain chain({"K1"});
    for (int item : {0, 1}) {
        writeFile(history, "");
        s.popupItems();
        s.plugin.onPopupMenuHaveClick(item, chain.first());
        long seconds = endSeconds(history, 15000);
        CHECK(seconds >= 2, std::string(item == 0 ? "the emulator" : "through a batch file") +
                                " played at least 2 s: " + show((long long)seconds));
    }
    writeFile(history, "");
    SetEnvironmentVariableA("LB_STUB_RUN_MS", "8000");
    s.popupItems();
    s.plugin.onPopupMenuHaveClick(0, chain.first());
    Sleep(1000);
    DWORD start = GetTickCount();
    s.plugin.closePlugin();
    DWORD took = GetTickCount() - start;
    s.plugin.closePlugin = nullptr;
    SetEnvironmentVariableA("LB_STUB_RUN_MS", nullptr);
    CHECK(took < 1000, "closePlugin returned within 1 s: " + show((unsigned long)took) + " ms");
    std::string cut;
    long seconds = endSeconds(history, 100, &cut);
    CHECK(seconds >= 1 && cut == "1", "recorded as cut short with its time so far: " +
                                          show((long long)seconds) + " s, cut " + cut);
}
