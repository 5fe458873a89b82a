// Emulators found on the disk: RetroArch's folders and cores read from its own files, the fit
// of a row to the list's ROMs, the walk, and the rows kept added to the working list.
#include "pluginFixture.h"
#include "registry/argumentTemplates.h"
#include "registry/emulatorScan.h"
#include "registry/retroArchCores.h"
#include "registry/workingList.h"

using namespace lb;

namespace {

const std::string kDir = "C:\\Host\\LaunchboardData0001\\";

class ScanTest : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        initPlugin(nullptr, 0, 0, 0, 0, kDir.c_str());
        copyText(state().systemName, "SNES");
        PresetSkip skip{};
        loadPresets(table, skip);
        for (const char* folder : {"D:", "D:\\Emu", "D:\\Emu\\RA", "D:\\Emu\\RA\\cores",
                                   "D:\\Emu\\RA\\info", "D:\\Emu\\Duck", "D:\\Emu\\loop"})
            fake::state().directories.insert(folder);
        fake::state().links.insert("D:\\Emu\\loop");
        fake::putFile("D:\\Emu\\RA\\retroarch.exe", "");
        fake::putFile("D:\\Emu\\Duck\\duckstation-qt-x64-ReleaseLTCG.exe", "");
        fake::putFile("D:\\Emu\\Duck\\pt.exe", "");    // too short a name to tell a program
        fake::putFile("D:\\Emu\\loop\\mGBA.exe", "");  // behind a junction: never reached
        fake::state().directories.insert("D:\\Emu\\Duck\\link");  // listed before the program
        fake::state().links.insert("D:\\Emu\\Duck\\link");
        fake::putFile("D:\\Emu\\RA\\cores\\a.txt", "");  // no core, listed before them
        for (const char* core : {"snes9x", "mine", "genesis_plus_gx"})
            fake::putFile("D:\\Emu\\RA\\cores\\" + std::string(core) + "_libretro.dll", "");
        // A double-byte character whose second byte is "_": not a core.
        fake::putFile("D:\\Emu\\RA\\cores\\\x83_libretro.dll", "");
        fake::putFile("D:\\Emu\\RA\\info\\snes9x_libretro.info",
                      "display_name = \"Nintendo - SNES / SFC (Snes9x - Current)\"\r\n"
                      "supported_extensions = \"smc|sfc|swc|fig\"\r\n");
        fake::putFile("D:\\Emu\\RA\\info\\mine_libretro.info", "display_name = \"Mine\"\n");
    }
    static inline PresetTable table;
};

bool never() { return false; }

}  // namespace

TEST_F(ScanTest, retroArchsFoldersAndCoresAreReadFromItsOwnFiles) {
    struct Row {
        std::string cfg;
        const char *cores, *info;
        bool beside;
    } rows[] = {
        {"", "D:\\Emu\\RA\\cores\\", "D:\\Emu\\RA\\info\\", true},
        {"libretro_directory = \":\\cores\"\r\n", "D:\\Emu\\RA\\cores\\", "D:\\Emu\\RA\\info\\",
         true},
        {"libretro_directory = \":\\CORES\"\n", "D:\\Emu\\RA\\CORES\\", "D:\\Emu\\RA\\info\\",
         true},
        {"libretro_directory = \"E:\\RA cores\"\nlibretro_info_path = \":\\inf\"\n",
         "E:\\RA cores\\", "D:\\Emu\\RA\\inf\\", false},
        {"video_driver = \"gl\"\nlibretro_directory = \"" + std::string(300, 'x') + "\"\n",
         "D:\\Emu\\RA\\cores\\", "D:\\Emu\\RA\\info\\", true},
        {std::string(70000, '#') + "\n" + std::string(200000, ' ') + "\r\n" +
             "libretro_directory = \"E:\\far\"",
         "E:\\far\\", "D:\\Emu\\RA\\info\\", false},
    };
    for (const Row& row : rows) {
        fake::putFile("D:\\Emu\\RA\\retroarch.cfg", row.cfg);
        RetroArchFolders folders;
        EXPECT_EQ(retroArchFolders("D:\\Emu\\RA\\retroarch.exe", folders), FileRead::Read);
        EXPECT_STREQ(folders.cores, row.cores) << row.cfg;
        EXPECT_STREQ(folders.info, row.info) << row.cfg;
        EXPECT_EQ(folders.coresBeside, row.beside) << row.cfg;
    }
    fake::putFile("D:\\Emu\\RA\\retroarch.cfg", "");
    RetroArchFolders folders;
    retroArchFolders("D:\\Emu\\RA\\retroarch.exe", folders);
    InstalledCore cores[8]{};
    bool unreadable = true;
    ASSERT_EQ(installedCores(folders, cores, 8, unreadable), 3);
    EXPECT_FALSE(unreadable);
    std::string seen;
    for (const InstalledCore& core : cores)
        if (core.file[0] != '\0')
            seen += std::string(core.displayName) + " [" + core.extensions + "] ";
    EXPECT_EQ(seen,
              "genesis_plus_gx_libretro.dll [] Mine [] "
              "Nintendo - SNES / SFC (Snes9x - Current) [smc|sfc|swc|fig] ");
    EmulatorPreset made;
    corePreset(cores[2], folders, table, made);
    EXPECT_STREQ(made.name, "RetroArch: Snes9x (スーパーファミコン)") << "the table's row";
    EXPECT_STREQ(made.args, "-L cores\\snes9x_libretro.dll %ROM%");
    corePreset(cores[1], folders, table, made);
    EXPECT_EQ(std::string(made.name) + made.args + std::to_string(made.quotePath),
              "Mine-L cores\\mine_libretro.dll %ROM%1");
    copyText(folders.cores, "E:\\RA cores\\");
    folders.coresBeside = false;
    corePreset(cores[1], folders, table, made);
    EXPECT_STREQ(made.args, "-L \"E:\\RA cores\\mine_libretro.dll\" %ROM%");
    struct CoreRow {
        const char *cores, *file, *args;
    } coreRows[] = {
        {"", "my core_libretro.dll", "-L \"cores\\my core_libretro.dll\" %ROM%"},
        {"", "100%_libretro.dll", "-L cores\\100%%_libretro.dll %ROM%"},
        {"D:\\RA\\100% cores\\", "m_libretro.dll",
         "-L \"D:\\RA\\100%% cores\\m_libretro.dll\" %ROM%"},
        {"D:\\%OS%\\", "m_libretro.dll", "-L \"D:\\%%OS%%\\m_libretro.dll\" %ROM%"},
    };
    for (const CoreRow& row : coreRows) {
        RetroArchFolders at = folders;
        at.coresBeside = row.cores[0] == '\0';
        if (!at.coresBeside) copyText(at.cores, row.cores);
        InstalledCore core{};
        copyText(core.file, row.file);
        ASSERT_TRUE(corePreset(core, at, table, made));
        EXPECT_STREQ(made.args, row.args) << "the core's path passes as itself";
    }
    fake::putFile("D:\\Emu\\RA\\info\\mine_libretro.info",
                  reinterpret_cast<const char*>(u8"display_name = \"ポケモンミニ\""));
    fake::putFile("D:\\Emu\\RA\\info\\genesis_plus_gx_libretro.info",
                  reinterpret_cast<const char*>(u8"display_name = \"Pokémon\"\n"
                                                u8"supported_extensions = \"md|sms\""));
    retroArchFolders("D:\\Emu\\RA\\retroarch.exe", folders);
    installedCores(folders, cores, 8, unreadable);
    EXPECT_EQ(std::string(cores[1].displayName) + "; " + cores[0].displayName,
              "ポケモンミニ; genesis_plus_gx_libretro.dll")
        << "UTF-8 in the code page, else the file's name";
    corePreset(cores[0], folders, table, made);
    EXPECT_EQ(std::string(made.name) + " " + made.extensions,
              "RetroArch: Genesis Plus GX (メガドライブ) md|sms")
        << "the table's name, the core's own extensions";
    int32_t leftOut = 0;
    EXPECT_EQ(installedCores(folders, cores, 2, unreadable, &leftOut), 2);
    EXPECT_EQ(leftOut, 1) << "a core past the room is counted";
    fake::state().unreadable.insert("D:\\Emu\\RA\\info\\mine_libretro.info");
    retroArchFolders("D:\\Emu\\RA\\retroarch.exe", folders);
    EXPECT_EQ(installedCores(folders, cores, 8, unreadable), 3);
    EXPECT_TRUE(unreadable) << "told, and the cores still listed";
}

TEST_F(ScanTest, theWalkListsFittingRowsFirstAndAddsTheCheckedOnesUpToTwenty) {
    ListExtensions list{};
    EXPECT_FALSE(readListExtensions(list)) << "no cache: whether a row fits is unknown";
    fake::putFile("C:\\Host\\caches\\SNES.cache",
                  "C:\\ROMs\\a.zip;Mario.SFC;a;b;K1;clean;\nC:\\ROMs\\b.smc;;a;b;K2;clean;\n");
    ASSERT_TRUE(readListExtensions(list));
    ASSERT_EQ(list.count, 2);
    EXPECT_EQ(std::string(list.names[0]) + list.names[1], "sfcsmc") << "inner name, else file";
    static ScanResult result;
    scanForEmulators("D:\\Emu", table, list, result, never);
    std::string rows;
    for (int32_t i = 0; i < result.count; ++i)
        rows += std::string(result.rows[i].fits ? "+" : "-") + result.rows[i].preset.name + "; ";
    EXPECT_EQ(rows,
              "+RetroArch: Snes9x (スーパーファミコン); -DuckStation (プレイステーション); "
              "-RetroArch: Genesis Plus GX (メガドライブ); -Mine; ")
        << "the junction's mGBA is never reached";
    bool checked[kMaxFound] = {true, true, true, true};
    workingCount = 18;
    for (int32_t i = 0; i < 18; ++i)
        copyText(workingList[i].name, ("E" + std::to_string(i)).c_str());
    copyText(workingList[0].exePath, "d:\\emu\\ra\\RetroArch.exe");
    copyText(workingList[1].name, "DuckStation (プレイステーション)");
    setTemplate(workingTemplates, workingList[0], "-L \"D:\\Emu\\RA\\cores\\SNES9X_libretro.dll\"",
                workingList, 18);
    copyText(workingList[2].exePath, result.rows[1].exePath);  // without a template
    markListedRows(result);
    EXPECT_EQ(std::to_string(result.rows[0].listed) + std::to_string(result.rows[1].listed) +
                  std::to_string(result.rows[2].listed),
              "110")
        << "the same program without case, and for a core the same core";
    workingList[2].exePath[0] = '\0';
    EXPECT_FALSE(addFoundEmulators(result, checked)) << "past 20, told";
    EXPECT_EQ(workingCount, 20);
    EXPECT_STREQ(workingList[18].name, "DuckStation (プレイステーション) (2)");
    EXPECT_EQ(
        std::string(workingList[18].extractDir) + std::to_string(workingList[18].keyWaitIndex),
        std::string(state().tempDir) + "2")
        << "made as Add makes an entry, then the preset's";
    EXPECT_STREQ(findTemplate(workingTemplates, workingList[19]),
                 "-L cores\\genesis_plus_gx_libretro.dll %ROM%");
    setTemplate(workingTemplates, workingList[18], "-batch -- %ROM% -mine", workingList, 20);
    workingCount = 19;
    checked[3] = false;
    EXPECT_TRUE(addFoundEmulators(result, checked));
    EXPECT_EQ(
        std::string(workingList[19].name) + " " + findTemplate(workingTemplates, workingList[18]),
        "RetroArch: Genesis Plus GX (メガドライブ) -batch -- %ROM% -mine")
        << "a second scan adds only what is not listed and keeps the user's template";
    dropRefusedRows(result, [](const char* text) { return std::strstr(text, "cores") != nullptr; });
    EXPECT_EQ(std::to_string(result.count) + " " + std::to_string(result.leftOut), "1 3");
}

TEST_F(ScanTest, aWalkAskedToStopEndsBetweenTwoEntriesOfAFolderOf50000) {
    fake::state().directories.insert("D:\\Big");
    for (int i = 0; i < 50000; ++i) fake::putFile("D:\\Big\\f" + std::to_string(i) + ".dat", "");
    static ScanResult result;
    static int asked = 0;
    scanForEmulators("D:\\Big", table, ListExtensions{}, result, [] { return ++asked > 10; });
    EXPECT_EQ(fake::state().entriesListed, 11) << "closePlugin's stop ends the listing at once";
}
