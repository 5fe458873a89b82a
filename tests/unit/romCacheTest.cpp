#include "core/records.h"
#include "core/romCache.h"
#include "pluginFixture.h"

using namespace lb;

namespace {

// 19 characters of plug-in folder and its backslash are cut: the cache lives in C:\Host\caches\.
const char kDir[] = "C:\\Host\\LaunchboardData0001\\";
const char kCache[] = "C:\\Host\\caches\\Nintendo 64.cache";

class RomCacheTest : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        initPlugin(nullptr, 0, 0, 0, 0, kDir);
        copyText(state().systemName, "Nintendo 64");
    }
};

std::string line(const std::string& path, const std::string& inner, const std::string& key) {
    return path + ";" + inner + ";x;y;" + key + ";clean;\r\n";
}

}  // namespace

TEST(CacheLine, fieldsOneTwoAndFiveOfALineWithCleanMakeTheEntry) {
    struct Row {
        const char* line;
        bool taken;
        const char* romPath;
        const char* innerName;
        const char* crc32;
    } rows[] = {
        {"P;I;3;4;K;clean;", true, "P", "I", "K"},
        {"C:\\roms\\a.zip;a.n64;3;4;1A2B3C4D;clean;7;8\n", true, "C:\\roms\\a.zip", "a.n64",
         "1A2B3C4D"},
        {";;;;;clean;", true, "", "", ""},
        {"P;I;3;4;K;Clean;", false},
        {"P;I;clean;", false, "", "", ""},  // fewer than five ';': skipped
        {"clean;", false},
        {"P;I;3;4;K;dirty;", false},
        {"P;I;3;4;K;x;clean;", true, "P", "I", "K"},  // the mark anywhere, not only after the key
        {"P;I;3;4;K;cclean;", true, "P", "I", "K"},   // the mark at the very end of the line
        // ム ends in 0x80 and ｻ is 0xBB: neither is ';' to the word-at-a-time search
        {"ゲーム;I;3;4;K;clean;", true, "ゲーム", "I", "K"},
        {"ｻｻｻｻ;I;3;4;K;clean;", true, "ｻｻｻｻ", "I", "K"},
    };
    for (const auto& row : rows) {
        RomCacheEntry entry{};
        EXPECT_EQ(parseCacheLine(row.line, entry), row.taken) << row.line;
        if (!row.taken) continue;
        EXPECT_STREQ(entry.romPath, row.romPath) << row.line;
        EXPECT_STREQ(entry.innerName, row.innerName) << row.line;
        EXPECT_STREQ(entry.crc32, row.crc32) << row.line;
    }
}

TEST_F(RomCacheTest, lookupsMatchWholeKeysCaseSensitivelyAndTheFirstEntryWins) {
    fake::putFile(kCache, "header line\n" + line("C:\\r\\a.zip", "a.n64", "AAAA") +
                              line("C:\\r\\b.zip", "b.n64", "BBBB") +
                              line("C:\\r\\dup.zip", "dup.n64", "AAAA"));
    loadRomCache();
    EXPECT_EQ(state().cacheCount, 3);
    char path[kTextSize];
    lookupRomPath(path, "AAAA");
    EXPECT_STREQ(path, "C:\\r\\a.zip");
    EXPECT_STREQ(lookupRomInnerName("AAAA"), "a.n64");
    EXPECT_STREQ(lookupRomInnerName("BBBB"), "b.n64");
    EXPECT_EQ(isRomInCache("aaaa"), 0);
    EXPECT_EQ(isRomInCache("AAA"), 0);
    EXPECT_EQ(lookupRomInnerName("CCCC"), nullptr);
    lookupRomPath(path, "CCCC");
    EXPECT_STREQ(path, "");
}

TEST_F(RomCacheTest, aLineLongerThan259CharactersIsReadWholeNeverAsFragments) {
    std::string path250 = "C:\\" + std::string(246, 'p') + ".zip";
    std::string inner40 = std::string(36, 'i') + ".n64";
    fake::putFile(kCache, line(path250, inner40, "WHOLE") +
                              line(std::string(300, 'p'), "i", "TOOLONG") + std::string(3000, 'z') +
                              ";clean;\n" + line("C:\\after.zip", "a", "AFTER"));
    loadRomCache();
    char path[kTextSize];
    lookupRomPath(path, "WHOLE");
    EXPECT_EQ(std::string(path), path250);
    EXPECT_EQ(std::string(lookupRomInnerName("WHOLE")), inner40);
    EXPECT_EQ(isRomInCache("TOOLONG"), 0)
        << "a path of 300 bytes does not fit: the line is skipped";
    EXPECT_EQ(isRomInCache("AFTER"), 1);
    EXPECT_EQ(state().cacheCount, 2);
}

TEST_F(RomCacheTest, aChangedFileIsSeenByTheNextLoadAndAMissingFileEmptiesTheCache) {
    fake::putFile(kCache, line("C:\\old.zip", "o", "K"));
    loadRomCache();
    EXPECT_EQ(isRomInCache("K"), 1);
    fake::putFile(kCache, line("C:\\new.zip", "n", "K"));
    loadRomCache();
    char path[kTextSize];
    lookupRomPath(path, "K");
    EXPECT_STREQ(path, "C:\\new.zip");
    fake::state().files.erase(kCache);
    loadRomCache();
    EXPECT_EQ(state().cacheCount, 0);
    EXPECT_EQ(isRomInCache("K"), 0);
}

TEST_F(RomCacheTest, atMostTenThousandEntriesAreKeptAndEachIsFoundThroughTheIndex) {
    std::string text;
    for (int i = 0; i < 10005; ++i)
        text += line("C:\\r\\" + std::to_string(i), "i", "K" + std::to_string(i));
    fake::putFile(kCache, text);
    loadRomCache();
    EXPECT_EQ(state().cacheCount, 10000);
    EXPECT_EQ(isRomInCache("K0"), 1);
    EXPECT_EQ(isRomInCache("K9999"), 1);
    EXPECT_EQ(isRomInCache("K10000"), 0);
}

TEST_F(RomCacheTest, theCachePathCutsTwentyCharactersOfTheDataFolder) {
    struct Row {
        const char* dataDir;
        const char* cachePath;  // null: the cache counts as empty, no file is read
    } rows[] = {
        {"C:\\Host\\LaunchboardData0001\\", "C:\\Host\\caches\\N64.cache"},
        {"C:\\abcdefghij\\0123456789012345678\\",
         "C:\\abcdefghij\\caches\\N64.cache"},  // 30 characters
        // A double-byte character inside the cut counts as one character.
        {"C:\\\x95\x5C\\0123456789012345678\\", "C:\\\x95\x5C\\caches\\N64.cache"},
        {"C:\\\x95\x5C\\\x83\x5C"
         "123456789012345678\\",
         "C:\\\x95\x5C\\caches\\N64.cache"},
        {"0123456789012345678\\", nullptr},  // exactly 20: nothing would be left of the folder
        {"C:\\lb\\", nullptr},
    };
    for (const auto& row : rows) {
        copyText(state().dataDir, row.dataDir);
        copyText(state().systemName, "N64");
        char path[kTextSize];
        EXPECT_EQ(cacheFilePath(path), row.cachePath != nullptr) << row.dataDir;
        if (row.cachePath) {
            EXPECT_STREQ(path, row.cachePath) << row.dataDir;
        }
        loadRomCache();
        EXPECT_EQ(state().cacheCount, 0);
    }
}
