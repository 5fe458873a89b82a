#include "pluginFixture.h"
#include "registry/emulatorListFile.h"

using namespace lb;

namespace {

const char kDir[] = "C:\\lb\\";

EmulatorEntry makeEntry(int i) {
    EmulatorEntry e{};
    copyText(e.name, ("emu" + std::to_string(i)).c_str());
    copyText(e.exePath, ("D:\\Emu\\" + std::to_string(i) + ".exe").c_str());
    copyText(e.extractDir, "C:\\lb\\temp\\");
    e.kind = i % kEmulatorKindCount;
    e.keyWaitIndex = 2;
    e.browseWaitIndex = 2;
    e.quotePath = 1;
    return e;
}

class EmulatorListTest : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        initPlugin(nullptr, 0, 0, 0, 0, kDir);
        copyText(state().systemName, "Nintendo 64");
    }
    std::string listFile() { return fake::fileBytes("C:\\lb\\Nintendo 64.emu"); }
};

}  // namespace

TEST_F(EmulatorListTest, anEmptyListIsACountOfZeroAndTwentySlots) {
    ASSERT_TRUE(saveEmulatorList());
    std::string bytes = listFile();
    ASSERT_EQ(bytes.size(), 16084u);
    EXPECT_EQ(bytes.substr(0, 4), std::string(4, '\0'));
}

TEST_F(EmulatorListTest, twentyEntriesFillEverySlotAndReadBackExactly) {
    for (int i = 0; i < kMaxEmulators; ++i) state().emulators[i] = makeEntry(i);
    state().emulatorCount = 20;
    ASSERT_TRUE(saveEmulatorList());
    std::string bytes = listFile();
    ASSERT_EQ(bytes.size(), 16084u);
    EXPECT_EQ(bytes.substr(4 + 19 * 804, 804), bytesOf(state().emulators[19]));

    static EmulatorEntry loaded[kMaxEmulators];
    int32_t count = -1;
    ASSERT_EQ(readEmulatorListFile("C:\\lb\\Nintendo 64.emu", count, loaded), FileRead::Read);
    EXPECT_EQ(count, 20);
    EXPECT_EQ(bytesOf(loaded), bytesOf(state().emulators));
}

TEST_F(EmulatorListTest, aShorterSavedListReloadsExactlyWhateverTheSlotsPastTheCountHold) {
    for (int i = 0; i < kMaxEmulators; ++i) state().emulators[i] = makeEntry(i);
    state().emulatorCount = 3;  // entries 3..19 are leftovers of deleted ones
    ASSERT_TRUE(saveEmulatorList());
    std::string bytes = listFile();
    ASSERT_EQ(bytes.size(), 16084u);
    EXPECT_EQ(bytes[0], 3);

    static EmulatorEntry loaded[kMaxEmulators];
    int32_t count = -1;
    ASSERT_EQ(readEmulatorListFile("C:\\lb\\Nintendo 64.emu", count, loaded), FileRead::Read);
    ASSERT_EQ(count, 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(bytesOf(loaded[i]), bytesOf(makeEntry(i))) << i;
}

TEST_F(EmulatorListTest, aCountOutsideZeroToTwentyOrAFileTooShortForItReadsAsAnEmptyList) {
    for (int32_t stored : {21, -1, 1000000, INT32_MIN, 1, 2, 3, 4}) {
        std::string bytes(16084, '\0');
        std::memcpy(bytes.data(), &stored, 4);
        if (stored < 4 && stored > 0) bytes.resize(size_t(stored - 1));  // 0 to 2 bytes
        if (stored == 4) bytes = "\1\0\0";
        fake::putFile("C:\\x.emu", bytes);
        static EmulatorEntry loaded[kMaxEmulators];
        int32_t count = 5;
        ASSERT_EQ(readEmulatorListFile("C:\\x.emu", count, loaded), FileRead::Read);
        EXPECT_EQ(count, 0) << "stored count " << stored;
    }
}

TEST_F(EmulatorListTest, aShortFileCountsOnlyTheEntriesItHoldsInFullAndLeavesTheRest) {
    static EmulatorEntry loaded[kMaxEmulators];
    for (int i = 0; i < kMaxEmulators; ++i) loaded[i] = makeEntry(100 + i);
    std::string bytes(4, '\0');
    bytes[0] = 5;
    EmulatorEntry fresh = makeEntry(7);
    std::memset(fresh.name, 'n', sizeof fresh.name);  // no NUL in the file
    bytes += bytesOf(fresh) + bytesOf(makeEntry(8)).substr(0, 100);
    fake::putFile("C:\\short.emu", bytes);
    int32_t count = -1;
    ASSERT_EQ(readEmulatorListFile("C:\\short.emu", count, loaded), FileRead::Read);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(strlen(loaded[0].name), 259u);
    EXPECT_STREQ(loaded[1].name, "emu101") << "a slot the file does not cover keeps its bytes";
}

TEST_F(EmulatorListTest, aMissingFileIsReportedAndChangesNothing) {
    static EmulatorEntry loaded[kMaxEmulators];
    int32_t count = 4;
    EXPECT_EQ(readEmulatorListFile("C:\\none.emu", count, loaded), FileRead::Missing);
    EXPECT_EQ(count, 4);
}

TEST_F(EmulatorListTest, theCopyFileCarriesEntriesFromOneSystemToAnother) {
    static EmulatorEntry copied[kMaxEmulators];
    copied[0] = makeEntry(1);
    copied[1] = makeEntry(2);
    ASSERT_TRUE(writeCopyFile(2, copied));
    EXPECT_EQ(fake::fileBytes("C:\\lb\\Copy.dat").size(), 16084u);
    copyText(state().systemName, "X68000");
    static EmulatorEntry pasted[kMaxEmulators];
    int32_t count = 0;
    ASSERT_EQ(readCopyFile(count, pasted), FileRead::Read);
    EXPECT_EQ(count, 2);
    EXPECT_STREQ(pasted[1].name, "emu2");
}

TEST_F(EmulatorListTest, aFailedSaveKeepsThePreviousList) {
    state().emulators[0] = makeEntry(0);
    state().emulatorCount = 1;
    ASSERT_TRUE(saveEmulatorList());
    std::string before = listFile();
    state().emulatorCount = 0;
    fake::state().writeLimit = 100;
    EXPECT_FALSE(saveEmulatorList());
    EXPECT_EQ(listFile(), before);
}

TEST(EmulatorTables, kindsAndWaitsReadLikeTheEditDialogShowsThem) {
    struct Row {
        EmulatorKind kind;
        const char* label;
        int flags[5];
    } rows[] = {
        {Standard, "標準エミュレータ", {1, 0, 0, 1, 1}},
        {KeyboardDriven, "1964 / Project Tempest", {1, 1, 1, 0, 0}},
        {WinX68Fast, "WinX68高速版", {1, 0, 0, 0, 1}},
        {Xm6, "XM6", {1, 0, 0, 0, 1}},
        {MameModel2, "MAME / Model 2 Emulator", {0, 0, 0, 0, 0}},
    };
    for (const auto& row : rows) {
        const auto& info = emulatorKindTable[row.kind];
        EXPECT_STREQ(info.label, row.label);
        int flags[5] = {info.allowsExtract, info.allowsKeyWait, info.allowsBrowseWait,
                        info.allowsQuote, info.allowsShortPath};
        for (int f = 0; f < 5; ++f) EXPECT_EQ(flags[f], row.flags[f]) << row.kind << " flag " << f;
    }
    EXPECT_EQ(std::string(emulatorKindTable[WinX68Fast].label), "WinX68\x8D\x82\x91\xAC\x94\xC5")
        << "labels are Shift-JIS bytes";
    const int keys[] = {50, 100, 200, 500, 1000}, browse[] = {500, 1000, 2000, 5000, 10000};
    for (int i = 0; i < kWaitChoiceCount; ++i) {
        EXPECT_EQ(keyWaitTable[i].milliseconds, keys[i]);
        EXPECT_EQ(browseWaitTable[i].milliseconds, browse[i]);
        EXPECT_EQ(std::string(keyWaitTable[i].label), std::to_string(keys[i]) + "ミリ秒");
    }
}

TEST_F(EmulatorListTest, aStoppedSaveThatCannotBeFinishedIsToldByItsFileAndLeavesNoHold) {
    fake::putFile("C:\\lb\\Nintendo 64.emu.saving", "");  // a save stopped between its replaces
    fake::putFile("C:\\lb\\Nintendo 64.emu", std::string(16084, '\0'));
    fake::putFile("C:\\lb\\Nintendo 64.emu.txt.tmp", "; new templates\r\n");
    fake::state().failReplace = true;
    loadEmulatorList(true);
    ASSERT_FALSE(fake::state().messages.empty());
    EXPECT_NE(fake::state().messages[0].find("Nintendo 64.emu.txt"), std::string::npos);
    EXPECT_TRUE(fake::state().holds.empty()) << "a later save would wait for it";
}
