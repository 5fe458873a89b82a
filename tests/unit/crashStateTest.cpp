// Every crash state of every save. Each save runs through the fake with its file steps recorded;
// every prefix of them gives the files that a crash of the host there leaves (all that was
// written) and those that a power cut leaves (creations, renames and deletions, with the data
// written since a file's last flush lost wholly or in half). A new plug-in loads each state and
// must see each file whole: as it was before the save or as the save meant it, no mark left;
// after the save's last step, only as the save meant it.
#include <cstdio>
#include <set>

#include "core/settingsFile.h"
#include "favorites/favorites.h"
#include "favorites/historyView.h"
#include "games/gameSettings.h"
#include "history/playHistory.h"
#include "pluginFixture.h"
#include "registry/argumentTemplates.h"
#include "registry/emulatorListFile.h"

using namespace lb;

namespace {

using Files = std::map<std::string, std::string>;
const std::string kDir = "C:\\Host\\LaunchboardData0001\\";

// The files that a crash after the first `count` steps may leave.
std::vector<Files> crashStates(const Files& initial, const std::vector<fake::State::Step>& steps,
                               size_t count) {
    struct Disk {
        std::string now, flushed;
    };
    std::map<std::string, Disk> disk;
    for (const auto& [path, bytes] : initial) disk[path] = {bytes, bytes};
    for (size_t i = 0; i < count; ++i) {
        const fake::State::Step& s = steps[i];
        Disk& d = disk[s.path];
        if (s.kind == "create") d = {};
        if (s.kind == "write") d.now += s.bytes;
        if (s.kind == "flush") d.flushed = d.now;
        if (s.kind == "copy") disk[s.other] = {d.now, ""};
        if (s.kind == "replace") disk[s.other] = d;
        if (s.kind == "replace" || s.kind == "delete") disk.erase(s.path);
    }
    std::vector<Files> states(3);
    for (const auto& [path, d] : disk) {
        states[0][path] = d.now;
        states[1][path] = d.flushed;
        bool grew = d.now.compare(0, d.flushed.size(), d.flushed) == 0;
        states[2][path] = grew ? d.now.substr(0, (d.flushed.size() + d.now.size()) / 2) : d.flushed;
    }
    return states;
}

void startPlugin(const Files& files) {
    fake::reset();
    fake::state().files = files;
    ASSERT_TRUE(attachPlugin(nullptr));
    initPlugin(nullptr, 0, 0, 0, 0, kDir.c_str());
    copyText(context->systemName, "N64");
}

std::string bytes(const std::string& file) {
    return fake::hasFile(kDir + file) ? fake::fileBytes(kDir + file) : "(none)";
}

std::string historyGames() {
    HistoryTable table{};
    size_t size = 0;
    readHistoryFile((kDir + "N64.history.txt").c_str(), table, size);
    std::string text;
    for (int32_t i = 0; i < table.count; ++i)
        text += std::string(table.games[i].key) + " " + std::to_string(table.games[i].plays) + " " +
                std::to_string(table.games[i].seconds) + "; ";
    releaseHistory(table);
    return text;
}

std::string historyText(int plays) {
    std::string text;
    for (int i = 0; i < plays; ++i)
        text += "\r\nS\t" + std::to_string(i) + "\t2026/12/01 10:00:00\tK" + std::to_string(i % 3) +
                "\tA game with a long enough name\t\tRA\tC:\\Emu\\retroarch.exe\t.\r\nE\t" +
                std::to_string(i) + "\t60\t0\t.";
    return text;
}

void changeList(const char* name) {
    context->emulatorCount = 1;
    copyText(context->emulators[0].name, name);
    copyText(context->emulators[0].exePath, "C:\\Emu\\run.exe");
    setTemplate(emulatorTemplates, context->emulators[0], name, context->emulators, 1);
}

std::string listSeen() {
    loadEmulatorList(false);
    return bytes("N64.emu") + bytes("N64.emu.txt");
}

// A save: the files before it, the save, and what a new plug-in sees of its files.
struct Save {
    const char* name;
    Files (*before)();
    void (*save)();
    std::string (*load)();
};

Files userFiles() {
    std::string list(sizeof(EmulatorListFile), '\0'), favorites = "N64" + std::string(257, '\0');
    return {{kDir + "Setting.dat", std::string(sizeof(SettingsFile), '\1')},
            {kDir + "N64.emu", list},
            {kDir + "N64.emu.txt", "name=old\r\n"},
            {kDir + "Copy.dat", list},
            {kDir + "N64.fvr", favorites + std::string(4, '\0')},
            {kDir + "N64.history.txt", historyText(4)},
            {kDir + "N64.games.txt", "#games 1\r\nK1\tRA\tC:\\ra.exe\t-a\r\n"}};
}

const Save kSaves[] = {
    {"Setting.dat", userFiles, [] { saveSettings(*context, (kDir + "Setting.dat").c_str()); },
     [] { return bytes("Setting.dat"); }},
    {"the list and its templates", userFiles,
     [] {
         changeList("New");
         saveListAndTemplates((kDir + "N64.emu").c_str(), 1, context->emulators, emulatorTemplates);
     },
     listSeen},
    {"a first list and its templates", [] { return Files{}; },
     [] {
         changeList("New");
         saveListAndTemplates((kDir + "N64.emu").c_str(), 1, context->emulators, emulatorTemplates);
     },
     listSeen},
    {"Copy.dat and its templates", userFiles,
     [] {
         changeList("Copied");
         writeCopyFile(1, context->emulators, &emulatorTemplates);
     },
     [] {
         int32_t count = 0;
         static EmulatorEntry entries[kMaxEmulators];
         readCopyFile(count, entries);
         return bytes("Copy.dat") + bytes("Copy.dat.txt");
     }},
    {"the favourites", userFiles,
     [] {
         context->favoriteCount = 1;
         copyText(context->favorites[0].crc32, "K1");
         saveFavorites();
     },
     [] { return bytes("N64.fvr"); }},
    {"the tab file", userFiles, [] { storeHistoryTab(true); },
     [] { return bytes("FavoritesTab.txt"); }},
    {"a history append", userFiles,
     [] {
         appendHistoryLine((kDir + "N64.history.txt").c_str(),
                           "S\t9\t2026/12/02 10:00:00\tK7\tNew\t\tRA\tC:\\ra.exe\t.");
     },
     historyGames},
    {"a compaction",
     [] {
         return Files{{kDir + "N64.history.txt", historyText(12000)}};
     },
     [] {
         openHistoryView(nullptr, 0);
         closeHistoryView();
     },
     historyGames},
    {"a game's setting", userFiles,
     [] {
         GameSetting setting{"", "", "", "-b"};
         const char* keys[] = {"K1", "K2"};
         saveGameSettings((kDir + "N64.games.txt").c_str(), keys, 2, setting);
     },
     [] { return bytes("N64.games.txt"); }},
    {"a deletion", userFiles,
     [] {
         openHistoryView(nullptr, 0);
         int32_t first = 0;
         deleteHistoryRows(&first, 1);
         closeHistoryView();
     },
     historyGames},
};

// What a new plug-in sees of the files, and the marks (".saving") left once it has loaded them.
std::string seen(const Save& save, const Files& files) {
    startPlugin(files);
    std::string view = save.load();
    for (const auto& [path, bytes] : fake::state().files)
        if (path.size() > 7 && path.compare(path.size() - 7, 7, ".saving") == 0) view += " " + path;
    closePlugin();
    return view;
}

}  // namespace

TEST(CrashStates, everySaveLeavesEachFileWholeAfterACrashOrAPowerCutAtAnyStep) {
    size_t checked = 0;
    for (const Save& save : kSaves) {
        Files initial = save.before();
        startPlugin(initial);
        fake::state().recordSteps = true;
        save.save();
        std::vector<fake::State::Step> steps = fake::state().steps;
        Files saved = fake::state().files;
        closePlugin();
        std::string before = seen(save, initial), after = seen(save, saved);
        std::set<Files> states;
        for (size_t count = 0; count <= steps.size(); ++count)
            for (const Files& state : crashStates(initial, steps, count)) {
                if (!states.insert(state).second) continue;
                std::string view = seen(save, state);
                EXPECT_TRUE(view == before || view == after)
                    << save.name << ", a crash after " << count << " of " << steps.size()
                    << " steps:\n  seen   " << view.substr(0, 300) << "\n  before "
                    << before.substr(0, 300) << "\n  after  " << after.substr(0, 300);
            }
        // Once the save has returned, a power cut loses none of it: what it wrote was flushed.
        for (const Files& state : crashStates(initial, steps, steps.size()))
            EXPECT_EQ(seen(save, state).substr(0, 300), after.substr(0, 300))
                << save.name << ", a power cut after the save returned";
        checked += states.size();
    }
    std::printf("crash states checked: %zu\n", checked);
}
