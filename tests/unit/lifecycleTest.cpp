#include "core/settingsFile.h"
#include "pluginFixture.h"

using namespace lb;

namespace {

const char kDir[] = "C:\\Host\\plugins\\lb\\";

SettingsFile sampleSettings() {
    SettingsFile s{};
    copyText(s.lastExePath, "D:\\Emu\\run.exe");
    copyText(s.lastExtractDir, "D:\\Tmp\\");
    for (int i = 0; i < kColumnCount; ++i) {
        s.columnState[i] = {50 + i, i % 2};
        s.columnOrder[i] = 9 - i;
    }
    s.sortColumn = 7;
    s.favoritesRect = {10, 20, 410, 520};
    s.closeOnLaunch = 1;
    return s;
}

void expectDefaultColumns(const PluginContext& c) {
    for (int i = 0; i < kColumnCount; ++i) {
        EXPECT_EQ(c.columnOrder[i], i);
        EXPECT_EQ(c.columnState[i].width, 100);
        EXPECT_EQ(c.columnState[i].descending, 0);
    }
}

}  // namespace

TEST(Attach, isRefusedWhenTheStateRecordCannotBeAllocated) {
    fake::reset();
    fake::state().failAllocation = true;
    EXPECT_FALSE(attachPlugin(nullptr));
    EXPECT_EQ(context, nullptr);
}

TEST_F(PluginTest, aFirstStartHasEveryDefaultAndCreatesTheTwoFolders) {
    initPlugin(nullptr, 0, 0, 0, 0, "C:\\Host\\plugins\\lb");
    EXPECT_STREQ(state().dataDir, kDir);
    EXPECT_STREQ(state().tempDir, "C:\\Host\\plugins\\lb\\temp\\");
    EXPECT_STREQ(state().lastExtractDir, kDir);
    EXPECT_STREQ(state().lastExePath, "");
    expectDefaultColumns(state());
    EXPECT_EQ(state().sortColumn, 0);
    EXPECT_EQ(state().favoritesRect.right, 0);
    EXPECT_EQ(state().closeOnLaunch, 0);
    EXPECT_TRUE(fake::logged(std::string("mkdir ") + kDir));
    EXPECT_TRUE(fake::logged(std::string("mkdir ") + kDir + "temp\\"));
}

TEST_F(PluginTest, aDataFolderEndingInADoubleByteCharacterWithTrailByte5CGetsItsBackslash) {
    initPlugin(nullptr, 0, 0, 0, 0, "C:\\\x95\x5C");  // C:\表
    EXPECT_STREQ(state().dataDir, "C:\\\x95\x5C\\");
    EXPECT_STREQ(state().tempDir, "C:\\\x95\x5C\\temp\\");
}

TEST_F(PluginTest, closeWrites664BytesAndTheNextStartRestoresAllSevenFields) {
    initPlugin(nullptr, 0, 0, 0, 0, kDir);
    SettingsFile saved = sampleSettings();
    std::memcpy(state().lastExePath, saved.lastExePath, kTextSize);
    std::memcpy(state().lastExtractDir, saved.lastExtractDir, kTextSize);
    std::memcpy(state().columnState, saved.columnState, sizeof saved.columnState);
    std::memcpy(state().columnOrder, saved.columnOrder, sizeof saved.columnOrder);
    state().sortColumn = saved.sortColumn;
    state().favoritesRect = saved.favoritesRect;
    state().closeOnLaunch = saved.closeOnLaunch;
    closePlugin();
    EXPECT_EQ(fake::fileBytes(std::string(kDir) + "Setting.dat"), bytesOf(saved));

    ASSERT_TRUE(attachPlugin(nullptr));
    initPlugin(nullptr, 0, 0, 0, 0, kDir);
    SettingsFile restored;
    saveSettings(state(), "C:\\again");
    std::memcpy(&restored, fake::fileBytes("C:\\again").data(), sizeof restored);
    EXPECT_EQ(bytesOf(restored), bytesOf(saved));
}

TEST_F(PluginTest, aShortSettingsFileRestoresOnlyTheFieldsItHoldsInFull) {
    SettingsFile saved = sampleSettings();
    fake::putFile(std::string(kDir) + "Setting.dat", bytesOf(saved).substr(0, 520 + 79));
    initPlugin(nullptr, 0, 0, 0, 0, kDir);
    EXPECT_STREQ(state().lastExePath, "D:\\Emu\\run.exe");
    EXPECT_STREQ(state().lastExtractDir, "D:\\Tmp\\");
    expectDefaultColumns(state());
    EXPECT_EQ(state().sortColumn, 0);
}

TEST_F(PluginTest, aDamagedSortColumnOrColumnOrderFallsBackToItsDefaultAndKeepsTheRest) {
    struct Row {
        const char* damage;
        void (*apply)(SettingsFile&);
        bool orderReset;
        int sortColumn;
    } rows[] = {
        {"sort column 10", [](SettingsFile& s) { s.sortColumn = 10; }, false, 0},
        {"sort column -1", [](SettingsFile& s) { s.sortColumn = -1; }, false, 0},
        {"order repeats a column", [](SettingsFile& s) { s.columnOrder[3] = s.columnOrder[4]; },
         true, 7},
        {"order names column 10", [](SettingsFile& s) { s.columnOrder[0] = 10; }, true, 7},
        {"order names column -5", [](SettingsFile& s) { s.columnOrder[9] = -5; }, true, 7},
    };
    for (const auto& row : rows) {
        fake::reset();
        if (context == nullptr) {
            ASSERT_TRUE(attachPlugin(nullptr));
        }
        SettingsFile damaged = sampleSettings();
        row.apply(damaged);
        fake::putFile(std::string(kDir) + "Setting.dat", bytesOf(damaged));
        initPlugin(nullptr, 0, 0, 0, 0, kDir);
        EXPECT_EQ(state().sortColumn, row.sortColumn) << row.damage;
        for (int i = 0; i < kColumnCount; ++i) {
            EXPECT_EQ(state().columnOrder[i], row.orderReset ? i : 9 - i) << row.damage;
        }
        EXPECT_EQ(state().columnState[3].width, 53) << row.damage << ": widths are kept";
        EXPECT_EQ(state().closeOnLaunch, 1) << row.damage;
        closePlugin();
    }
}

TEST_F(PluginTest, settingsTextsWithoutANulAreEndedInsideTheirFields) {
    std::string bytes = bytesOf(sampleSettings());
    std::fill(bytes.begin(), bytes.begin() + 520, 'x');
    fake::putFile(std::string(kDir) + "Setting.dat", bytes);
    initPlugin(nullptr, 0, 0, 0, 0, kDir);
    EXPECT_EQ(strlen(state().lastExePath), 259u);
    EXPECT_EQ(strlen(state().lastExtractDir), 259u);
}

TEST_F(PluginTest, aDataFolderTooLongForItsFieldsTouchesNoFile) {
    struct Row {
        size_t length;
        bool usable;
    } rows[] = {
        {253, true},   // with "\" and "temp\": 259 bytes, just fits
        {254, false},  // "temp\" no longer fits
        {259, false},  // the backslash no longer fits
        {400, false},
    };
    for (const auto& row : rows) {
        fake::reset();
        if (context == nullptr) {
            ASSERT_TRUE(attachPlugin(nullptr));
        }
        std::string dir = "C:\\" + std::string(row.length - 3, 'a');
        fake::putFile(dir.substr(0, 240) + "Setting.dat", bytesOf(sampleSettings()));
        initPlugin(nullptr, 0, 0, 0, 0, dir.c_str());
        EXPECT_EQ(state().dataDir[0] != '\0', row.usable) << row.length;
        EXPECT_EQ(state().lastExePath[0], '\0') << row.length << ": nothing read under a cut path";
        closePlugin();
        for (const auto& entry : fake::state().log) {
            if (!row.usable) ADD_FAILURE() << row.length << ": unexpected " << entry;
            EXPECT_EQ(entry.find(dir.substr(0, 240) + "S"), std::string::npos) << entry;
        }
    }
}

TEST_F(PluginTest, isCompatibleAcceptsEveryListAndKeepsItsName) {
    EXPECT_TRUE(isCompatible(""));
    EXPECT_STREQ(state().listName, "");
    EXPECT_TRUE(isCompatible("Nintendo 64 (MAME)"));
    EXPECT_STREQ(state().listName, "Nintendo 64 (MAME)");
    std::string longName(300, 'n');
    EXPECT_TRUE(isCompatible(longName.c_str()));
    EXPECT_EQ(std::string(state().listName), longName.substr(0, 259));
}

TEST_F(PluginTest, closeDeletesTheExtractedFilesInOrderEvenWhenSettingsCannotBeSaved) {
    initPlugin(nullptr, 0, 0, 0, 0, kDir);
    fake::putFile("C:\\t\\a.n64", "a");
    copyText(extractedFiles[0], "C:\\t\\a.n64");
    copyText(extractedFiles[1], "C:\\t\\gone.n64");
    extractedFileCount = 2;
    fake::state().failCreate = true;
    closePlugin();
    EXPECT_FALSE(fake::hasFile("C:\\t\\a.n64"));
    auto& log = fake::state().log;
    auto first = std::find(log.begin(), log.end(), "delete C:\\t\\a.n64");
    ASSERT_NE(first, log.end());
    EXPECT_EQ(*(first + 1), "delete C:\\t\\gone.n64");
    EXPECT_EQ(context, nullptr);
}
