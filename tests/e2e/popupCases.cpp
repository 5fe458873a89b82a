// The host's popup menu against the real DLL: item lists, the current system, launches recorded
// by the stub emulator, extracted files, and favourites added and removed.
#include <cstring>

#include "dialogDriver.h"
#include "session.h"

using namespace host;

namespace {

const std::string kAdd =
    "\x82\xa8\x8b\x43\x82\xc9\x93\xfc\x82\xe8\x82\xc9\x92\xc7\x89\xc1";  // お気に入りに追加
const std::string kRemove =
    "\x82\xa8\x8b\x43\x82\xc9\x93\xfc\x82\xe8\x82\xa9\x82\xe7\x8d\xed\x8f\x9c";  // お気に入りから削除
const std::string kSo = "\x83\x5C";   // ソ: trail byte 0x5C
const std::string kHyo = "\x95\x5C";  // 表: trail byte 0x5C

std::string shortForm(const std::string& path) {
    char buffer[MAX_PATH] = "";
    DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    return n > 0 && n < sizeof buffer ? buffer : path;
}

std::string folderOf(const std::string& path) { return path.substr(0, path.rfind('\\') + 1); }

}  // namespace

HOST_CASE(popupListsFollowTheSystemsEmulators) {
    Session s("popupLists");
    const char* list = s.plugin.inPopupMenuHave();
    std::string exact = kAdd + '\0' + kRemove + '\0' + '\0';
    CHECK(list != nullptr && std::memcmp(list, exact.data(), exact.size()) == 0,
          "no emulators: exactly the two favourites items, then a double NUL");
    std::string exe = s.installStub("Beta");
    s.writeEmulators({emulator("Alpha", "C:\\a.exe", 4), emulator("Beta", exe, 4),
                      emulator("Gamma", "C:\\c.exe", 4)});
    CHECK_EQ(joined(s.popupItems()), joined({"Alpha", "Beta", "Gamma", "-", kAdd, kRemove}),
             "three emulators");
    Chain chain({"K1"}, "setname");
    CHECK_EQ(s.clickAndWait(1, chain.first()).commandLine, programPart(exe) + " setname",
             "index 1 launches Beta");
    std::string fvr = s.dataDir + s.system + ".fvr";
    s.plugin.onPopupMenuHaveClick(3, chain.first());
    CHECK(!fileExists(fvr), "index 3, the separator, does nothing");
    s.plugin.onPopupMenuHaveClick(4, chain.first());
    CHECK_EQ(int32At(readFile(fvr), 260), 1, "index 4 adds");
    s.plugin.onPopupMenuHaveClick(5, chain.first());
    CHECK_EQ(readFile(fvr).size(), size_t(264), "index 5 removes");
    CHECK_EQ(joined(s.popupItems(true)), std::string("(null)"),
             "inPopupMenu on a list that is not an arcade list");
    s.plugin.isCompatible("Arcade (MAME)");
    CHECK_EQ(joined(s.popupItems(true)), joined({"Alpha", "Beta", "Gamma", "-", kAdd, kRemove}),
             "(MAME) list");
    CHECK_EQ(joined(s.popupItems()), std::string("(null)"), "inPopupMenuHave on a (MAME) list");
}

HOST_CASE(theSystemIsTheWidestVisibleComboBox) {
    Session s("currentSystem");
    HWND other = s.window.addCombo("Lynx", 200);
    s.window.addCombo("Hidden", 900, false);
    s.writeEmulators({emulator("Handy", "C:\\h.exe", 0)});
    CHECK_EQ(joined(s.popupItems()), joined({"Handy", "-", kAdd, kRemove}),
             "Nintendo 64 (300 wide) is current");
    MoveWindow(other, 0, 30, 500, 24, FALSE);
    CHECK_EQ(joined(s.popupItems()), joined({kAdd, kRemove}),
             "Lynx (now 500 wide) has no list file: an empty list right after another system's");
    s.writeEmulators({});
    s.window.addCombo("Nintendo 64", 501);
    CHECK_EQ(joined(s.popupItems()), joined({kAdd, kRemove}), "a saved empty list");

    s.writeEmulators({emulator("Handy", "C:\\h.exe", 0)});
    s.window.close();
    HWND stray =
        CreateWindowExA(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, "TComboBox", "Stray", WS_POPUP, 0, 0,
                        900, 24, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(stray, SW_SHOWNA);
    if (GetActiveWindow() != nullptr) SetActiveWindow(nullptr);
    CHECK(GetActiveWindow() == nullptr, "no active window");
    CHECK_EQ(
        joined(s.popupItems()), joined({"Handy", "-", kAdd, kRemove}),
        "without an active window the system stays; a top-level combo box elsewhere is not read");
    DestroyWindow(stray);
}

HOST_CASE(commandLineLaunchesFollowTheArgumentTable) {
    Session s("commandLine");
    std::string exe = s.installStub("Emu Dir\\" + kSo);
    CreateDirectoryA((s.root + "ROMs").c_str(), nullptr);
    CreateDirectoryA((s.root + "Extract " + kSo).c_str(), nullptr);
    std::string rom = s.root + "ROMs\\" + kSo + "fto Mario 64 long name.zip";
    std::string extractDir = s.root + "Extract " + kSo + "\\";
    s.writeCache({{"635A2BFF", rom, "Super Mario 64 inner.n64"}});
    struct Row {
        int extract, shortPath, quote;
    } rows[] = {{0, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 1, 1},
                {1, 0, 0}, {1, 1, 0}, {1, 0, 1}, {1, 1, 1}};
    for (const Row& row : rows) {
        EmulatorRecord e = emulator("Std", exe, 0, extractDir);
        e.extractArchive = row.extract;
        e.shortPath = row.shortPath;
        e.quotePath = row.quote;
        s.writeEmulators({e});
        s.popupItems();
        std::string extracted = extractDir + "Super Mario 64 inner.n64";
        DeleteFileA(extracted.c_str());
        Chain chain({"635A2BFF", "OTHER"});
        StubRun run = s.clickAndWait(0, chain.first());
        std::string path = row.extract ? extracted : rom;
        if (row.shortPath) path = shortForm(path);
        if (row.quote) path = "\"" + path + "\"";
        std::string what = "extract " + show(row.extract) + " short " + show(row.shortPath) +
                           " quote " + show(row.quote);
        CHECK_EQ(run.commandLine, programPart(exe) + " " + path, what + ": command line");
        CHECK_EQ(run.workingDir + "\\", folderOf(exe), what + ": working folder");
        if (row.extract) CHECK(fileExists(extracted), what + ": extracted by the host");
    }
    CHECK(shortForm(rom) != rom, "the ROM path has a short form different from itself");
    CHECK_EQ(Session::extractCalls.size(), size_t(4), "one extraction per extracting launch");
}

HOST_CASE(setNameLaunchAndAChangedCache) {
    Session s("setName");
    std::string exe = s.installStub("Arcade Emu");
    std::string romA = s.root + "a.zip", romB = s.root + "b.zip";
    s.writeCache({{"K1", romA, "a.n64"}});
    s.writeEmulators({emulator("Model 2", exe, 4), emulator("Std", exe, 0)});
    s.popupItems();
    Chain chain({"K1", "K2"}, "game1");
    StubRun run = s.clickAndWait(0, chain.first());
    CHECK_EQ(run.commandLine, programPart(exe) + " game1", "set-name launch");
    CHECK_EQ(run.workingDir + "\\", folderOf(exe), "set-name working folder");
    CHECK_EQ(s.clickAndWait(1, chain.first()).commandLine, programPart(exe) + " " + romA,
             "first cache");
    s.writeCache({{"K1", romB, "b.n64"}});
    CHECK_EQ(s.clickAndWait(1, chain.first()).commandLine, programPart(exe) + " " + romB,
             "the changed cache file");
}

HOST_CASE(extractedFilesAreGoneAfterClose) {
    Session s("extracted");
    std::string exe = s.installStub("Emu");
    std::string dir = s.root + "x\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    s.writeCache({{"K1", s.root + "one.zip", "one.n64"}, {"K2", s.root + "two.zip", "two.n64"}});
    EmulatorRecord e = emulator("Std", exe, 0, dir);
    e.extractArchive = 1;
    s.writeEmulators({e});
    s.popupItems();
    Chain one({"K1"}), two({"K2"});
    CHECK_EQ(s.clickAndWait(0, one.first()).commandLine, programPart(exe) + " " + dir + "one.n64",
             "first");
    CHECK_EQ(s.clickAndWait(0, two.first()).commandLine, programPart(exe) + " " + dir + "two.n64",
             "second");
    CHECK(fileExists(dir + "one.n64") && fileExists(dir + "two.n64"), "both extracted");
    s.close();
    CHECK(!fileExists(dir + "one.n64") && !fileExists(dir + "two.n64"), "deleted by closePlugin");
}

HOST_CASE(favoritesAreAddedRemovedAndPrunedThroughThePopup) {
    Session s("favourites");
    std::string fvr = s.dataDir + s.system + ".fvr";
    s.writeCache({{"K1", s.root + "1.zip", "1"},
                  {"K2", s.root + "2.zip", "2"},
                  {"K3", s.root + "3.zip", "3"}});
    s.writeEmulators({emulator("Std", "C:\\none.exe", 0)});
    s.popupItems();
    Chain add({"K1", "K2", "K3", "K1"});
    s.plugin.onPopupMenuHaveClick(2, add.first());
    std::string bytes = readFile(fvr);
    CHECK_EQ(bytes.size(), size_t(264 + 3 * 1576), "three favourites");
    CHECK_EQ(std::string(bytes.c_str()), s.system, "header: the system name");
    CHECK_EQ(int32At(bytes, 260), 3, "count");
    CHECK_EQ(std::string(bytes.c_str() + 264), std::string("Name K1"), "first name");
    CHECK_EQ(std::string(bytes.c_str() + 264 + 1040), std::string("K1"), "first key");
    CHECK_EQ(std::string(bytes.c_str() + 264 + 1576 + 260), std::string("Publisher K2"),
             "second publisher");
    CHECK_EQ(int32At(bytes, 264 + 2 * 1576 + 1560), 3, "third number");

    Chain remove({"K2"});
    s.plugin.onPopupMenuHaveClick(3, remove.first());
    bytes = readFile(fvr);
    CHECK_EQ(int32At(bytes, 260), 2, "count after removing K2");
    CHECK_EQ(std::string(bytes.c_str() + 264 + 1576 + 1040), std::string("K3"), "K3 moved up");

    s.writeCache({{"K3", s.root + "3.zip", "3"}});
    s.plugin.isCompatible("Arcade (MAME)");
    s.popupItems(true);
    s.plugin.onPopupMenuClick(2, nullptr);  // an add on an arcade list: loads without pruning
    CHECK_EQ(int32At(readFile(fvr), 260), 2,
             "a (MAME) list keeps favourites missing from the cache");
    s.plugin.isCompatible(s.system.c_str());
    s.popupItems();
    s.plugin.onPopupMenuHaveClick(2, nullptr);
    bytes = readFile(fvr);
    CHECK_EQ(bytes.size(), size_t(264 + 1576), "pruned to the one favourite the cache still has");
    CHECK_EQ(std::string(bytes.c_str() + 264 + 1040), std::string("K3"), "the remaining favourite");

    ageFile(fvr);  // the list is as saved now: opening it again writes nothing
    onMenuDialog(s.plugin, 1, favoritesTitle(1), [](HWND dialog) { clickNow(dialog, IDCANCEL); });
    CHECK(!rewritten(fvr), "a load with nothing to prune leaves the file's time");
    CHECK(readFile(fvr) == bytes, "and its bytes");
}

HOST_CASE(aMissingCacheKeepsTheFavorites) {
    Session s("noCache");
    std::string fvr = s.dataDir + s.system + ".fvr";
    s.writeCache({{"K1", s.root + "1.zip", "1"}});
    s.popupItems();
    Chain add({"K1", "K2"});
    s.plugin.onPopupMenuHaveClick(0, add.first());
    DeleteFileA(s.cacheFile.c_str());
    s.popupItems();
    s.plugin.onPopupMenuHaveClick(0, nullptr);
    CHECK_EQ(int32At(readFile(fvr), 260), 2, "both favourites kept without a cache file");
}

HOST_CASE(doubleByteFoldersWithTrailByte5CWorkEndToEnd) {
    // The plug-in folder 表 + 18 characters: the cache is found 20 characters up, in Host\caches.
    Session s("dbcs" + kHyo, kHyo + "LaunchboardData001");
    std::string exe = s.installStub(kSo + "\\Emu " + kHyo);
    std::string rom = s.root + kSo + ".zip";
    s.writeCache({{"K1", rom, "inner.n64"}});
    EmulatorRecord e = emulator("Std", exe, 0, s.dataDir + "temp\\");
    e.quotePath = 1;
    s.writeEmulators({e});
    CHECK_EQ(joined(s.popupItems()), joined({"Std", "-", kAdd, kRemove}),
             "the list file under the 表 folder");
    Chain chain({"K1"});
    StubRun run = s.clickAndWait(0, chain.first());
    CHECK_EQ(run.commandLine, programPart(exe) + " \"" + rom + "\"", "command line");
    CHECK_EQ(run.workingDir + "\\", folderOf(exe), "working folder ending in 表");
    s.plugin.onPopupMenuHaveClick(2, chain.first());
    CHECK_EQ(int32At(readFile(s.dataDir + s.system + ".fvr"), 260), 1,
             "favourite saved under the 表 folder");
}
