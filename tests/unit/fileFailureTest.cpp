// Files that exist but cannot be read, and saves that fail: nothing is lost, and the user is told
// where the table of each says so.
#include "core/settingsFile.h"
#include "favorites/favorites.h"
#include "favorites/favoritesWorking.h"
#include "hostChain.h"
#include "launcher/launch.h"
#include "pluginFixture.h"
#include "registry/argumentTemplates.h"
#include "registry/emulatorListFile.h"
#include "registry/workingList.h"

using namespace lb;

namespace {

const std::string kDir = "C:\\Host\\LaunchboardData0001\\";
const std::string kCache = "C:\\Host\\caches\\N64.cache";

std::string listBytes(const char* name) {
    EmulatorListFile list{};
    list.count = 1;
    copyText(list.entries[0].name, name);
    copyText(list.entries[0].exePath, "C:\\Emu\\run.exe");
    return bytesOf(list);
}

// A user's files: settings, one emulator, three favourites the cache knows (and with `stale`
// a fourth that it does not), a copy file.
void putUsersFiles(bool stale = false) {
    SettingsFile settings{};
    for (int i = 0; i < kColumnCount; ++i) settings.columnOrder[i] = 9 - i;
    settings.sortColumn = 3;
    fake::putFile(kDir + "Setting.dat", bytesOf(settings));
    fake::putFile(kDir + "N64.emu", listBytes("Alpha"));
    fake::putFile(kDir + "Copy.dat", listBytes("Copied"));
    for (const char* name : {"Alpha", "Copied"})
        fake::putFile(
            kDir + (name[0] == 'A' ? "N64.emu.txt" : "Copy.dat.txt"),
            std::string("name=") + name + "\r\nexe=C:\\Emu\\run.exe\r\nargs=-L %ROM%\r\n");
    std::string favorites = std::string("N64") + std::string(257, '\0') +
                            std::string(stale ? "\4\0\0\0" : "\3\0\0\0", 4);
    std::string cache;
    for (const char* key : {"K1", "K2", "K3", "K4"}) {
        FavoriteEntry entry{};
        copyText(entry.crc32, key);
        if (key[1] != '4' || stale) favorites += bytesOf(entry);
        if (key[1] != '4')
            cache +=
                std::string("C:\\ROMs\\") + key + ".zip;" + key + ".n64;a;b;" + key + ";clean;\n";
    }
    fake::putFile(kDir + "N64.fvr", favorites);
    fake::putFile(kCache, cache);
    fake::putFile("C:\\Emu\\run.exe", "");
    fake::state().windows.push_back({"TComboBox", true, 100, "N64"});
}

std::string popup;  // what the last popup build answered
bool saved;         // what the last dialog's save answered

// The host builds its popup menu, then the user clicks item `index` on ROM `key`.
void click(int32_t index, const char* key) {
    popup = std::string(inPopupMenuHave(), 64);
    HostChain chain;
    chain.key(key);
    onPopupMenuClick(index, chain.first());
}

std::string message(const char* headline, const std::string& file, uint32_t error) {
    return std::string(headline) + "\r\n" + kDir + file + "\r\n" +
           fake::state().errorTexts.at(error);
}

// A file, the moment it is read or saved, whether the user is told, what the user or the host
// does, and what must hold afterwards.
struct Case {
    const char* file;
    const char* when;
    bool told;
    void (*run)();
    bool (*expect)();
};

}  // namespace

// Each file, made unreadable at the moment each reader needs it: refused at its opening, or a
// read error at each of its reads in turn.
TEST(FileFailure, anUnreadableFileChangesNothingAndIsToldWhereTheUserAskedForIt) {
    const Case rows[] = {
        {"N64.fvr", "popup add", true, [] { click(2, "K9"); }, [] { return true; }},
        {"N64.fvr", "popup remove", true, [] { click(3, "K1"); }, [] { return true; }},
        {"N64.fvr", "favorites dialog", true, [] { onMenuClick(1); },
         [] { return fake::state().openedDialogs.empty(); }},
        {"N64.emu", "settings dialog", true, [] { onMenuClick(0); },
         [] { return fake::state().openedDialogs.empty(); }},
        {"N64.emu", "popup build", false, [] { click(-1, "K1"); },
         [] { return popup.compare(0, 37, "お気に入りに追加\0お気に入りから削除\0\0", 37) == 0; }},
        {"Copy.dat", "paste", true,
         [] {
             int32_t count = 0;
             popup = readCopyFile(count, workingList) == FileRead::Unreadable ? "unread" : "";
         },
         [] { return popup == "unread"; }},
        {"N64.emu.txt", "settings dialog", true, [] { onMenuClick(0); },
         [] { return fake::state().openedDialogs.empty(); }},
        {"N64.emu.txt", "popup build", false, [] { popup = inPopupMenuHave(); },
         [] { return popup == "Alpha"; }},
        {"N64.emu.txt", "launch", true, [] { click(0, "K1"); },
         [] { return fake::state().started.empty(); }},
        {"Copy.dat.txt", "paste", true,
         [] {
             loadWorkingList();
             popup = pasteFromCopyFile() == FileRead::Unreadable ? "unread" : "";
         },
         [] { return popup == "unread" && workingCount == 0; }},
        {"..\\caches\\N64.cache", "favorites load", false, [] { onMenuClick(1); },
         [] { return context->favoriteCount == 3 && fake::state().openedDialogs.size() == 1; }},
        {"..\\caches\\N64.cache", "launch", false, [] { click(0, "K1"); },
         [] { return fake::state().started.at(0).commandLine == "C:\\Emu\\run.exe -L "; }},
        {"Setting.dat", "start and close", false, [] {},
         [] { return context->sortColumn == 0 && context->columnOrder[0] == 0; }},
    };
    for (const Case& row : rows) {
        std::string path = row.file[0] == '.' ? kCache : kDir + row.file;
        for (int read = 0;; ++read) {  // 0: the opening is refused
            fake::reset();
            putUsersFiles();
            auto before = fake::state().files;
            fake::State& s = fake::state();
            if (read == 0) s.unreadable.insert(path);
            s.readPath = path;
            s.failReadAt = read;
            ASSERT_TRUE(attachPlugin(nullptr));
            initPlugin(nullptr, 0, 0, 0, 0, kDir.c_str());
            isCompatible("Nintendo 64");
            row.run();
            bool hit = read == 0 || s.reads >= read;
            std::string what =
                std::string(row.file) + " at " + row.when + ", read " + std::to_string(read);
            if (hit) {
                EXPECT_TRUE(row.expect()) << what;
                std::vector<std::string> told;
                if (row.told)
                    told.push_back(
                        message("ファイルを読み込めませんでした", row.file, read ? 23 : 32));
                EXPECT_EQ(s.messages, told) << what;
            }
            closePlugin();
            if (!hit) {
                EXPECT_GT(read, 1) << what << ": the file was never read";
                break;
            }
            auto after = s.files;
            after.erase(kDir + "N64.history.txt");  // a launch that starts is recorded
            EXPECT_TRUE(after == before) << what << ": a file changed";
        }
    }
}

// Each save the user or the plug-in makes, failing at each of its steps in turn.
TEST(FileFailure, aSaveThatFailsKeepsTheFileAndIsToldUnlessTheHostIsClosingOrTheLoadRepairs) {
    const Case rows[] = {
        {"N64.emu", "settings OK", true,
         [] {
             loadWorkingList();
             workingCount = 0;
             saved = saveWorkingList();
         },
         [] { return !saved && context->emulatorCount == 1 && emulatorTemplates.count == 1; }},
        {"N64.fvr", "favorites OK", true,
         [] {
             loadFavorites();
             openWorkingFavorites();
             workingFavoriteCount = 1;
             saved = saveWorkingFavorites();
             freeWorkingFavorites();
         },
         [] { return !saved && context->favoriteCount == 3; }},
        {"Copy.dat", "copy", true, [] { writeCopyFile(1, context->emulators); },
         [] { return true; }},
        {"N64.fvr", "popup add", true, [] { click(2, "K9"); }, [] { return true; }},
        {"N64.fvr", "popup remove", true, [] { click(3, "K1"); }, [] { return true; }},
        {"N64.fvr", "a load's repair", false, [] { onMenuClick(1); },
         [] { return context->favoriteCount == 3; }},
        {"Setting.dat", "close", false, [] { context->sortColumn = 5; }, [] { return true; }},
    };
    using Count = int fake::State::*;
    struct Step {
        const char* name;
        uint32_t error;
        Count calls, failAt;
    } steps[] = {
        {"create", 5, &fake::State::creates, &fake::State::failCreateAt},
        {"write", 112, &fake::State::writes, &fake::State::failWriteAt},
        {"flush at close", 112, &fake::State::closes, &fake::State::failCloseAt},
        {"copy", 5, &fake::State::copies, &fake::State::failCopyAt},
        {"replace", 5, &fake::State::replaces, &fake::State::failReplaceAt},
    };
    // A list and its templates are saved as one: either failing keeps both, and the message
    // names the one that failed.
    for (const Case& row : rows) {
        for (const Step& step : steps) {
            for (int call = 1;; ++call) {
                fake::reset();
                putUsersFiles(std::string(row.when) == "a load's repair");
                auto before = fake::state().files;
                fake::State& s = fake::state();
                ASSERT_TRUE(attachPlugin(nullptr));
                initPlugin(nullptr, 0, 0, 0, 0, kDir.c_str());
                isCompatible("Nintendo 64");
                inPopupMenuHave();  // the current system and its list
                s.*step.calls = 0;
                s.*step.failAt = call;
                row.run();
                bool isClose = std::string(row.file) == "Setting.dat";
                if (isClose) closePlugin();
                if (s.*step.calls < call) {
                    if (context != nullptr) closePlugin();
                    break;  // the save had fewer such calls
                }
                std::string what = std::string(row.file) + " at " + row.when + ", failing at " +
                                   step.name + " " + std::to_string(call);
                if (!isClose) {
                    EXPECT_TRUE(row.expect()) << what;
                    std::vector<std::string> told;
                    if (row.told)
                        told.push_back(message("保存できませんでした",
                                               s.failedPath.substr(kDir.size()), step.error));
                    EXPECT_EQ(s.messages, told) << what;
                    closePlugin();
                }
                EXPECT_TRUE(s.messages.empty() || row.told) << what;
                EXPECT_TRUE(s.files == before) << what << ": a file changed";
            }
        }
    }
}
