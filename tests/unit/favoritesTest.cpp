#include "favorites/favorites.h"
#include "hostChain.h"
#include "pluginFixture.h"

using namespace lb;

namespace {

const char kDir[] = "C:\\Host\\LaunchboardData0001\\";
const char kCache[] = "C:\\Host\\caches\\N64.cache";
const char kFile[] = "C:\\Host\\LaunchboardData0001\\N64.fvr";

class FavoritesTest : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        initPlugin(nullptr, 0, 0, 0, 0, kDir);
        copyText(state().systemName, "N64");
    }
    void cacheKeys(const std::vector<std::string>& keys) {
        std::string text;
        for (const auto& k : keys)
            text += "C:\\r\\" + k + ".zip;" + k + ".n64;a;b;" + k + ";clean;\n";
        fake::putFile(kCache, text);
    }
    std::vector<std::string> keys() {
        std::vector<std::string> k;
        for (int i = 0; i < state().favoriteCount; ++i) k.push_back(state().favorites[i].crc32);
        return k;
    }
    using Keys = std::vector<std::string>;
};

}  // namespace

TEST_F(FavoritesTest, theFileIsTheSystemNameACountAndTheEntries) {
    HostChain chain;
    chain.add({"K1", "Mario", "Nintendo", "mario.z64", "eeprom", "comment", 1, 8, 2, 3});
    addFavorites(chain.first());
    std::string bytes = fake::fileBytes(kFile);
    ASSERT_EQ(bytes.size(), 264u + 1576u);
    EXPECT_EQ(std::string(bytes.c_str()), "N64");
    EXPECT_EQ(bytes.substr(260, 4), std::string("\x01\0\0\0", 4));
    const FavoriteEntry& e = *reinterpret_cast<const FavoriteEntry*>(bytes.data() + 264);
    EXPECT_STREQ(e.name, "Mario");
    EXPECT_STREQ(e.publisher, "Nintendo");
    EXPECT_STREQ(e.sourceRom, "mario.z64");
    EXPECT_STREQ(e.saveType, "eeprom");
    EXPECT_STREQ(e.crc32, "K1");
    EXPECT_STREQ(e.comment, "comment");
    EXPECT_EQ(e.number, 1);
    EXPECT_EQ(e.size, 8);
    EXPECT_EQ(e.location, 2);
    EXPECT_EQ(e.language, 3);

    removeFavorites(state().favorites, state().favoriteCount, chain.first());
    saveFavorites();
    EXPECT_EQ(fake::fileBytes(kFile).size(), 264u) << "an empty list is the header alone";
}

TEST_F(FavoritesTest, addingSkipsKeysAlreadyThereAndAppendsInChainOrder) {
    addFavorites(HostChain().key("B").key("A").first());
    HostChain chain;
    chain.key("C").key("A").key("D").key("C");
    addFavorites(chain.first());
    EXPECT_EQ(keys(), (Keys{"B", "A", "C", "D"}));
    addFavorites(nullptr);
    EXPECT_EQ(fake::fileBytes(kFile).size(), 264u + 4 * 1576u)
        << "an empty chain still writes the file";
}

TEST_F(FavoritesTest, withNineThousandNineHundredNinetyNineOnlyTheFirstNewRomIsAdded) {
    HostChain many;
    for (int i = 0; i < 9999; ++i) many.key("K" + std::to_string(i));
    addFavorites(many.first());
    ASSERT_EQ(state().favoriteCount, 9999);
    addFavorites(HostChain().key("X1").key("X2").key("X3").first());
    EXPECT_EQ(state().favoriteCount, 10000);
    EXPECT_STREQ(state().favorites[9999].crc32, "X1");
    EXPECT_EQ(fake::fileBytes(kFile).size(), 15760264u);
}

TEST_F(FavoritesTest, hostTextsTooLongForTheirFieldsAreCutButATooLongKeyIsPassedOver) {
    std::string longText(300, 'n');
    HostChain chain;
    chain.add({"K1", longText, longText, longText, longText, longText});
    chain.add({std::string(260, 'k'), "too long key"});
    addFavorites(chain.first());
    ASSERT_EQ(keys(), (Keys{"K1"}));
    EXPECT_EQ(std::string(state().favorites[0].name), longText.substr(0, 259));
    EXPECT_EQ(std::string(state().favorites[0].comment), longText.substr(0, 259));
}

TEST_F(FavoritesTest, removingTakesEverySelectedKeyEvenRepeatedOnesAndKeepsTheOrder) {
    addFavorites(HostChain().key("A").key("B").key("C").key("D").key("E").first());
    copyText(state().favorites[4].crc32, "B");  // a list from elsewhere may repeat a key
    removeFavorites(state().favorites, state().favoriteCount,
                    HostChain().key("B").key("D").key("Z").first());
    EXPECT_EQ(keys(), (Keys{"A", "C"}));
}

TEST_F(FavoritesTest, loadingPrunesAgainstTheCacheOnlyOnListsThatAreNotArcadeLists) {
    addFavorites(HostChain().key("A").key("B").key("C").first());
    cacheKeys({"C", "A"});
    isCompatible("Arcade (MAME)");
    loadFavorites();
    EXPECT_EQ(keys(), (Keys{"A", "B", "C"}));
    EXPECT_FALSE(fake::logged(std::string("replace ") + kFile + ".tmp " + kFile + "x"));
    size_t writes = fake::state().log.size();
    loadFavorites();
    EXPECT_EQ(fake::state().log.size(), writes) << "an arcade list's file is left untouched";

    isCompatible("Nintendo 64");
    loadFavorites();
    EXPECT_EQ(keys(), (Keys{"A", "C"}));
    EXPECT_EQ(fake::fileBytes(kFile).size(), 264u + 2 * 1576u);
}

TEST_F(FavoritesTest, aLoadWritesTheFileOnlyWhenPruningOrADamagedFileChangesItsBytes) {
    addFavorites(HostChain().key("A").key("B").first());
    const std::string saved = fake::fileBytes(kFile), header = saved.substr(0, 260);
    const std::string a = saved.substr(264, 1576), b = saved.substr(264 + 1576, 1576);
    auto file = [&](int32_t count, const std::string& entries) {
        return header + std::string(reinterpret_cast<const char*>(&count), 4) + entries;
    };
    std::string unterminated = b;
    unterminated[259] = 'x';  // the name's last byte
    std::string terminated = unterminated;
    terminated[259] = '\0';
    std::string openComment = b, closedComment = b;  // the comment's last byte, 1559 of the entry
    openComment[1559] = 'x';
    struct Row {
        const char* what;
        std::vector<std::string> cached;
        std::string before, after;  // `after` empty: the file is not written at all
    } rows[] = {
        {"as the plug-in saved it, nothing to prune", {"A", "B"}, saved, ""},
        {"one favourite pruned", {"B"}, saved, file(1, b)},
        {"a count beyond the entries", {"A", "B"}, file(5, a + b), saved},
        {"a negative count", {"A", "B"}, file(-3, a + b), file(0, "")},
        {"a negative count and nothing after it", {"A", "B"}, file(-1, ""), file(0, "")},
        {"bytes after the last entry", {"A", "B"}, saved + "junk", saved},
        {"a text without its end", {"A", "B"}, file(2, a + unterminated), file(2, a + terminated)},
        {"a comment without its end",
         {"A", "B"},
         file(2, a + openComment),
         file(2, a + closedComment)},
    };
    for (const Row& row : rows) {
        cacheKeys(row.cached);
        fake::putFile(kFile, row.before);
        fake::state().log.clear();
        loadFavorites();
        bool written = fake::logged(std::string("write ") + kFile + ".tmp");
        EXPECT_EQ(written, !row.after.empty()) << row.what;
        EXPECT_EQ(fake::fileBytes(kFile), row.after.empty() ? row.before : row.after) << row.what;
    }
}

TEST_F(FavoritesTest, aMissingOrEmptyCacheKeepsEveryFavoriteAndTheFile) {
    addFavorites(HostChain().key("A").key("B").first());
    std::string before = fake::fileBytes(kFile);
    for (const char* cache : {static_cast<const char*>(nullptr), "no ROM lines\n"}) {
        fake::state().files.erase(kCache);
        if (cache) fake::putFile(kCache, cache);
        fake::state().log.clear();
        loadFavorites();
        EXPECT_EQ(keys(), (Keys{"A", "B"}));
        EXPECT_TRUE(fake::state().log.empty()) << "the file is not rewritten";
        EXPECT_EQ(fake::fileBytes(kFile), before);
    }
}

TEST_F(FavoritesTest, aFileNamingAnotherSystemOrNoFileGivesAnEmptyList) {
    addFavorites(HostChain().key("A").first());
    copyText(state().systemName, "n64");  // shares the file on a case-insensitive disk
    fake::putFile("C:\\Host\\LaunchboardData0001\\n64.fvr", fake::fileBytes(kFile));
    loadFavorites();
    EXPECT_EQ(state().favoriteCount, 0);
    copyText(state().systemName, "Lynx");
    loadFavorites();
    EXPECT_EQ(state().favoriteCount, 0);
    EXPECT_FALSE(fake::hasFile("C:\\Host\\LaunchboardData0001\\Lynx.fvr"));
}

TEST_F(FavoritesTest, aDamagedCountNeverFillsMoreThanTheFileOrTheTableHolds) {
    struct Row {
        int32_t count;
        int entriesInFile;
        int32_t loaded;
    } rows[] = {{-3, 2, 0}, {5, 2, 2}, {20000, 3, 3}};
    isCompatible("(MAME)");
    for (const auto& row : rows) {
        std::string bytes(260, '\0');
        bytes.replace(0, 3, "N64");
        bytes += std::string(reinterpret_cast<const char*>(&row.count), 4);
        FavoriteEntry e{};
        std::memset(e.name, 'x', sizeof e.name);  // no NUL
        for (int i = 0; i < row.entriesInFile; ++i) bytes += bytesOf(e);
        fake::putFile(kFile, bytes);
        loadFavorites();
        EXPECT_EQ(state().favoriteCount, row.loaded) << row.count;
        if (row.loaded > 0) {
            EXPECT_EQ(strlen(state().favorites[0].name), 259u);
        }
    }
}

TEST_F(FavoritesTest, aFullListIsSavedAndLoadedUnchanged) {
    HostChain many;
    std::vector<std::string> cached;
    for (int i = 0; i < 10000; ++i) {
        many.key("K" + std::to_string(i));
        cached.push_back("K" + std::to_string(i));
    }
    addFavorites(many.first());
    cacheKeys(cached);
    std::string before = fake::fileBytes(kFile);
    loadFavorites();
    EXPECT_EQ(state().favoriteCount, 10000);
    EXPECT_EQ(fake::fileBytes(kFile), before);
}

TEST_F(FavoritesTest, aPopupActionWritesTheFileOnceAndEndsAsALoadAndTheChangeWould) {
    struct Row {
        bool add;
        Keys chain;  // more than eight keys take the index instead of the scan during the read
        Keys after;
    } rows[] = {
        {true, {"N", "A", "N", "G"}, {"A", "C", "D", "E", "F", "N", "G"}},
        {true, {"A", "C"}, {"A", "C", "D", "E", "F"}},
        {true,
         {"1", "2", "3", "4", "5", "6", "7", "8", "A"},
         {"A", "C", "D", "E", "F", "1", "2", "3", "4", "5", "6", "7", "8"}},
        {false, {"C", "X", "C", "F"}, {"A", "D", "E"}},
        {false, {"1", "2", "3", "4", "5", "6", "7", "8", "D"}, {"A", "C", "E", "F"}},
    };
    for (const Row& row : rows) {
        fake::reset();
        state().favoriteCount = 0;
        addFavorites(HostChain().key("A").key("B").key("C").key("D").key("E").key("F").first());
        cacheKeys({"A", "C", "D", "E", "F", "N", "1", "2", "3", "4", "5", "6", "7", "8"});
        HostChain chain;
        for (const auto& k : row.chain) chain.key(k);
        fake::state().log.clear();
        int32_t emulators = state().emulatorCount;
        onPopupMenuClick(emulators == 0 ? (row.add ? 0 : 1) : emulators + (row.add ? 1 : 2),
                         chain.first());
        EXPECT_EQ(keys(), row.after) << "chain of " << row.chain.size();
        size_t writes = 0;
        for (const auto& entry : fake::state().log) writes += entry.rfind("write ", 0) == 0;
        EXPECT_EQ(writes, 1u) << "B is pruned, yet the file is written once";
        std::string file = fake::fileBytes(kFile);
        EXPECT_EQ(file.size(), 264 + row.after.size() * 1576);
    }
}
