// Saves cut short: a host that saves again and again (a favourite added, the settings dialog's
// OK with templates, a launch appended to the history) is killed at random instants, and a fresh
// host finds every file whole; a list whose save stopped between its replaces comes back whole.
#include <cstdlib>
#include <set>

#include "dialogDriver.h"
#include "resource.h"
#include "session.h"

using namespace host;

namespace {

const std::string kSettings = "エミュレータ設定(Launchboard)";

std::string companion(const std::vector<std::string>& names, const std::string& exe) {
    std::string text;
    for (const std::string& name : names)
        text += "name=" + name + "\r\nexe=" + exe + "\r\nargs=-" + name + " %ROM%\r\n\r\n";
    return text;
}

// The list's names in order, read from its file.
std::vector<std::string> listNames(const std::string& list) {
    std::vector<std::string> names;
    for (int32_t i = 0; list.size() == 16084 && i < int32At(list, 0) && i < 20; ++i)
        names.push_back(list.c_str() + 4 + 804 * i);
    return names;
}

// The names of a templates file, in its order.
std::vector<std::string> templateNames(const std::string& text) {
    std::vector<std::string> names;
    for (size_t at = 0; (at = text.find("name=", at)) != std::string::npos; ++at)
        if (at == 0 || text[at - 1] == '\n')
            names.push_back(text.substr(at + 5, text.find('\r', at) - at - 5));
    return names;
}

// What a fresh host must find: the list whole, its templates in its order, the favourites
// file of its count, every history line whole but a last one torn, nothing of the list's save
// left beside it.
void checkWhole(Session& s, const std::string& when) {
    s.popupItems();  // the load that finishes a save stopped between its replaces
    std::string emu = s.dataDir + s.system + ".emu", fvr = s.dataDir + s.system + ".fvr";
    std::vector<std::string> names = listNames(readFile(emu));
    CHECK_EQ(int(names.size()), 2, when + ": the list, whole");
    CHECK_EQ(joined(templateNames(readFile(emu + ".txt"))), joined(names),
             when + ": the templates fit the list");
    std::string favorites = readFile(fvr);
    CHECK(favorites.empty() || favorites.size() == 264 + 1576 * size_t(int32At(favorites, 260)),
          when + ": the favourites, whole");
    std::string history = readFile(s.dataDir + s.system + ".history.txt");
    size_t last = history.rfind("\r\n");
    for (size_t at = 0, end; last != std::string::npos && at < last; at = end + 2) {
        end = history.find("\r\n", at);
        std::string line = history.substr(at, end - at);
        CHECK(line.empty() || line.compare(line.size() - 2, 2, "\t.") == 0,
              when + ": a torn history line before the last: " + line);
    }
    // A temporary file of a save killed before its mark may stay, for the next save to write
    // over: without the mark it may as well be another program's.
    CHECK(!fileExists(s.dataDir + s.system + ".emu.saving"), when + ": the mark left");
}

}  // namespace

// The churning host of the case below, in a process of its own: saves until it is killed.
namespace host {
int runChurn() {
    Session::keepFolders = true;
    Session s("kills");
    Chain chain({"K1"});
    for (int round = 0;; ++round) {
        std::vector<std::string> items = s.popupItems();
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i] == "お気に入りに追加")
                s.plugin.onPopupMenuHaveClick(int32_t(i), chain.first());
        onMenuDialog(s.plugin, 0, kSettings, [&](HWND dialog) {
            selectRows(dialog, IDC_EMULATOR_LIST, {0}, 0);
            clickNow(dialog, IDC_MOVE_DOWN);
            clickNow(dialog, IDOK);
        });
        s.plugin.onPopupMenuHaveClick(0, chain.first());
    }
}
}  // namespace host

HOST_CASE(aHostKilledWhileSavingLeavesEveryFileWholeAndAStoppedListSaveIsFinished) {
    Session s("kills");
    std::string exe = s.installStub("Emu");
    s.writeCache({{"K1", s.root + "mario.n64", "mario.n64"}});
    s.writeEmulators({emulator("A", exe, 0), emulator("B", exe, 0)});
    writeFile(s.dataDir + s.system + ".emu.txt", companion({"A", "B"}, exe));
    // A save stopped between its two replaces: the new list beside the old templates.
    std::string emu = s.dataDir + s.system + ".emu";
    writeFile(emu + ".saving", readFile(emu));
    s.writeEmulators({emulator("B", exe, 0), emulator("A", exe, 0)});
    writeFile(emu + ".txt.tmp", companion({"B", "A"}, exe));
    checkWhole(s, "a save stopped between its replaces");
    CHECK_EQ(joined(listNames(readFile(emu))), std::string("B | A"), "finished as it was meant");
    s.close();

    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    // The folder without its final backslash, which would escape the quote after it.
    std::string command = "\"" + std::string(self) + "\" churn \"" + dllPath + "\" \"" +
                          workDir.substr(0, workDir.size() - 1) + "\" \"" + stubPath + "\"";
    std::srand(GetTickCount());
    int kills = 0;
    std::set<std::string> orders;
    for (int round = 0; round < 50; ++round) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        std::vector<char> line(command.begin(), command.end());
        line.push_back('\0');
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process))
            break;
        Sleep(DWORD(400 + std::rand() % 1200));
        kills += TerminateProcess(process.hProcess, 9) ? 1 : 0;
        WaitForSingleObject(process.hProcess, 5000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        Session::keepFolders = true;
        Session fresh("kills");
        Session::keepFolders = false;
        checkWhole(fresh, "kill " + std::to_string(round + 1));
        orders.insert(joined(listNames(readFile(emu))));
    }
    CHECK(kills >= 50, "50 kills, saw " + std::to_string(kills));
    CHECK_EQ(int(orders.size()), 2, "the killed hosts saved the list both ways round");
    CHECK(readFile(emu.substr(0, emu.size() - 4) + ".history.txt").find("\r\nE\t") !=
              std::string::npos,
          "the killed hosts' launches were recorded");
}
