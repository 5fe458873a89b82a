// What a careless or broken host may hand the plug-in, through the real exports: indexes outside
// every menu, null and enormous chains, texts of 2,000 bytes, a data folder too long for its
// fields. The host must survive every call, and every file must keep its layout.
#include "dialogDriver.h"
#include "session.h"

using namespace host;

namespace {

// A favourites file holds its header and whole records only.
bool wellFormedFavorites(const std::string& bytes) {
    return bytes.size() >= 264 && (bytes.size() - 264) % 1576 == 0 &&
           size_t(int32At(bytes, 260)) == (bytes.size() - 264) / 1576;
}

}  // namespace

HOST_CASE(hostileIndexesChainsAndTextsLeaveTheHostRunningAndTheFilesWellFormed) {
    Session s("hostile");
    s.writeEmulators(
        {emulator("A", "C:\\nothing\\a.exe", 4), emulator("B", "C:\\nothing\\b.exe", 0)});
    std::string fvr = s.dataDir + s.system + ".fvr";
    s.popupItems();
    for (int index : {-1, 5, 1000000, 0, 1, 2, 3, 4}) s.plugin.onPopupMenuHaveClick(index, nullptr);
    CHECK(wellFormedFavorites(readFile(fvr)), "after null chains");

    std::string huge(2000, 'x');
    RomRecord longTexts{};
    longTexts.crc32 = "LONG1";
    longTexts.name = longTexts.publisher = longTexts.comment = huge.c_str();
    s.plugin.onPopupMenuHaveClick(3, &longTexts);
    longTexts.crc32 = huge.c_str();  // a key too long for its field names no ROM: passed over
    s.plugin.onPopupMenuHaveClick(3, &longTexts);
    std::string bytes = readFile(fvr);
    CHECK(wellFormedFavorites(bytes) && int32At(bytes, 260) == 1, "texts of 2,000 bytes");
    CHECK_EQ(std::string(bytes.c_str() + 264), std::string(259, 'x'), "the name cut to 259 bytes");
    s.plugin.onPopupMenuHaveClick(0, &longTexts);  // a set name too long: nothing starts
    runDriven([&] { return s.plugin.onPopupMenuHaveClick(1, &longTexts); },
              [] { answerMessageBox(); });  // B's program is missing: the user is told

    std::vector<std::string> keys;
    for (int i = 0; i < 100000; ++i) keys.push_back("K" + std::to_string(i));
    Chain many(keys);
    s.plugin.onPopupMenuHaveClick(3, many.first());
    bytes = readFile(fvr);
    CHECK(wellFormedFavorites(bytes), "after a chain of 100,000");
    CHECK_EQ(int32At(bytes, 260), 10000, "at most 10,000 favourites");
    s.plugin.onPopupMenuHaveClick(4, many.first());
    CHECK_EQ(int32At(readFile(fvr), 260), 1, "removing 100,000 keys leaves the long-text one");

    s.plugin.isCompatible(huge.c_str());
    CHECK(!s.popupItems().empty(), "a list name of 2,000 bytes");
    for (int index : {-1, 1000000}) {
        int result = onMenuDialog(s.plugin, index, favoritesTitle(1),
                                  [&](HWND dialog) { clickNow(dialog, IDCANCEL); });
        CHECK_EQ(result, 2, "onMenuClick(" + std::to_string(index) + ") opens the favourites");
    }
    s.close();
    CHECK_EQ(readFile(s.dataDir + "Setting.dat").size(), size_t(664), "Setting.dat");
    CHECK_EQ(readFile(s.dataDir + s.system + ".emu").size(), size_t(16084), "the list file");
}

HOST_CASE(aDataFolderOf300BytesTouchesNoFileAndBreaksNothing) {
    Session s("longFolder");
    s.plugin.closePlugin();
    s.plugin.unload();
    std::string folder = s.root + std::string(300 - s.root.size(), 'd') + "\\";
    CHECK(s.plugin.load(dllPath), "load");
    CHECK_EQ(s.plugin.initPlugin(nullptr, 0, 0, 0, 0, folder.c_str()), 0, "initPlugin");
    s.plugin.isCompatible(s.system.c_str());
    CHECK_EQ(int(s.popupItems().size()), 2, "the two favourites items");
    Chain chain({"K1"});
    s.plugin.onPopupMenuHaveClick(0, chain.first());
    int result = onMenuDialog(s.plugin, 0, "エミュレータ設定(Launchboard)",
                              [&](HWND dialog) { clickNow(dialog, IDOK); });
    CHECK_EQ(result, 1, "the settings dialog still opens and closes");
    s.close();
    CHECK(!folderExists(folder), "no folder of a cut path was created");
}
