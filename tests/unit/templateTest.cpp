// Command-line templates: their expansion, their companion file, and what carries them along.
#include <algorithm>

#include "hostChain.h"
#include "launcher/launch.h"
#include "launcher/templateExpansion.h"
#include "pluginFixture.h"
#include "registry/argumentTemplates.h"
#include "registry/emulatorListFile.h"
#include "registry/workingList.h"

using namespace lb;

namespace {

const char kDir[] = "C:\\Host\\LaunchboardData0001\\";
const char kCache[] = "C:\\Host\\caches\\N64.cache";

EmulatorEntry entryOf(const char* name, const char* exePath, int32_t kind = Standard) {
    EmulatorEntry e{};
    copyText(e.name, name);
    copyText(e.exePath, exePath);
    copyText(e.extractDir, "C:\\Tmp\\");
    e.kind = kind;
    return e;
}

class TemplateTest : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        initPlugin(countExtract, 0, 0, 0, 0, kDir);
        copyText(state().systemName, "N64");
        fake::putFile(kCache, "C:\\ROMs\\Super Game.zip;Super Game.sfc;a;b;K1;clean;\n");
        fake::state().shortPaths["C:\\ROMs\\Super Game.zip"] = "C:\\ROMs\\SUPERG~1.ZIP";
        emulatorTemplates.count = 0;
    }
    // Plans a launch of `entry` with `text` on ROM K1 (set name "sgame"); its command line, or
    // "(none)" with the message shown.
    std::string planned(const EmulatorEntry& entry, const char* text, const char* gameArgs = "") {
        emulatorTemplates.count = 0;
        setTemplate(emulatorTemplates, entry, text, &entry, 1);
        HostChain chain;
        chain.add({"K1", "Super Game", "pub", "src", "sram", "sgame"});
        static LaunchPlan plan;
        fake::state().messages.clear();
        if (!planLaunch(entry, chain.first(), plan, gameArgs))
            return "(none)" + (fake::state().messages.empty() ? "" : fake::state().messages[0]);
        return plan.commandLine;
    }
};

}  // namespace

TEST(TemplateExpansion, placeholdersFoldersEnvironmentAndRefusals) {
    fake::reset();
    fake::state().environment["HOME"] = "C:\\Users\\me";
    fake::state().environment["BIG"] = std::string(20000, 'x');
    fake::state().environment["FILL"] = std::string(32766, 'x');
    fake::state().environment["HUGE"] = std::string(70000, 'x');
    fake::state().environment[std::string(259, 'N')] = "v";
    TemplateValues v{"\"C:\\ROMs\\Super Game.sfc\"", "C:\\ROMs\\Super Game.sfc",
                     "C:\\Emu\\RA\\retroarch.exe", "sgame", "1A2B"};
    struct Row {
        const char* text;
        const char* romRaw;
        Expansion result;
        const char* out;  // the expansion, or the offending text
    } rows[] = {
        {"-L cores\\snes.dll %ROM%", nullptr, Expansion::Done,
         "-L cores\\snes.dll \"C:\\ROMs\\Super Game.sfc\""},
        {"%rom%|%RomRaw%", nullptr, Expansion::Done,
         "\"C:\\ROMs\\Super Game.sfc\"|C:\\ROMs\\Super Game.sfc"},
        {"%FILENAME%|%BASENAME%|%GAMEDIR%|%EMUDIR%", nullptr, Expansion::Done,
         "Super Game.sfc|Super Game|C:\\ROMs|C:\\Emu\\RA"},
        {"%SET% %crc% 100%% %%ROM%%", nullptr, Expansion::Done, "sgame 1A2B 100% %ROM%"},
        {"\"%GAMEDIR%\"", "C:\\a.zip", Expansion::Done, "\"C:\\.\""},
        {"%GAMEDIR%|%BASENAME%", "\\\\srv\\share\\a.b.zip", Expansion::Done, "\\\\srv\\share|a.b"},
        {"[%GAMEDIR%]", "a.zip", Expansion::Done, "[]"},
        {"[%GAMEDIR%]", "C:a.zip", Expansion::Done, "[C:.]"},
        {"[%GAMEDIR%]", "\\a.zip", Expansion::Done, "[\\.]"},
        {"%GAMEDIR%|%FILENAME%", "C:\\表\\ソ.zip", Expansion::Done, "C:\\表|ソ.zip"},
        {"%home%\\saves", nullptr, Expansion::Done, "C:\\Users\\me\\saves"},
        {"表%ROMM% %ROM%", nullptr, Expansion::Refused, "%ROMM%"},
        {"-x 50% y", nullptr, Expansion::Refused, "% y"},
        {"%%%", nullptr, Expansion::Refused, "%"},
        {"%BIG% %BIG% %BIG% %BIG%", nullptr, Expansion::TooLong, ""},
        {"%HUGE%", nullptr, Expansion::TooLong, ""},           // too long, not unknown
        {"%FILL%%FILL%z", nullptr, Expansion::Done, nullptr},  // the buffer's last byte
        {"%FILL%%FILL%zz", nullptr, Expansion::TooLong, ""},
        {"%FILL%%FILL%%BIG%z", nullptr, Expansion::TooLong, ""},
        {"\"%GAMEDIR%\"|%EMUDIR%", "C:\\ROMs\\\\a.zip", Expansion::Done, "\"C:\\ROMs\"|C:\\ROMs"},
        {"%GAMEDIR%", "C:\\\\a.zip", Expansion::Done, "C:\\."},
        {"%GAMEDIR%", "\\\\a.zip", Expansion::Done, "\\."},
        {"%GAMEDIR%", "C:\\表\\/ソ.zip", Expansion::Done, "C:\\表"},
        {nullptr, nullptr, Expansion::Done, "v"},    // a 259-byte name
        {nullptr, nullptr, Expansion::Refused, ""},  // a 260-byte name
    };
    std::string names[] = {"%" + std::string(259, 'n') + "%", "%" + std::string(260, 'N') + "%"};
    int named = 0;
    for (const Row& row : rows) {
        TemplateValues values = v;
        if (row.romRaw != nullptr) values.romRaw = values.exePath = row.romRaw;
        const char* text = row.text != nullptr ? row.text : names[named++].c_str();
        static char out[kCommandLineSize];
        char offending[kOffendingSize];
        Expansion result = expandTemplate(text, values, out, sizeof out, offending);
        EXPECT_EQ(int(result), int(row.result)) << text;
        if (result == Expansion::Done && row.out != nullptr) {
            EXPECT_STREQ(out, row.out) << text;
        }
        if (result == Expansion::Refused && row.out[0] != '\0') {
            EXPECT_STREQ(offending, row.out) << text;
        }
    }
    // The edit dialog's sample line is what the launch passes, or the launch's refusal.
    char sample[kSampleSize];
    sampleArguments(sample, "%BIG% -x", Standard, false, "C:\\e.exe");
    EXPECT_EQ(std::string(sample), std::string(kSampleSize - 1, 'x')) << "cut only for the screen";
    sampleArguments(sample, "%BIG% %BIG%", Standard, false, "C:\\e.exe");
    EXPECT_STREQ(sample, "コマンドラインが長すぎます");
    char message[kTemplateErrorSize];
    templateError(message, "a %ROMM%");
    EXPECT_STREQ(message, "コマンドライン引数に使えない文字列があります: %ROMM%");
    templateError(message, "%HOME% %ROM%");
    EXPECT_STREQ(message, "");
    EXPECT_FALSE(usesRomPath("%SET% %CRC% %EMUDIR% %%ROM%% %HOME%"));
    EXPECT_TRUE(usesRomPath("x %gamedir%"));
}

TEST_F(TemplateTest, aTemplateIsTheWholeArgumentTextAndReadsTheCacheOnlyForAPath) {
    EmulatorEntry standard = entryOf("RA", "D:\\Emu\\RA\\retroarch.exe");
    standard.quotePath = 1;
    standard.shortPath = 1;
    EmulatorEntry extracting = standard;
    extracting.extractArchive = 1;
    EmulatorEntry arcade = entryOf("MAME", "D:\\MAME\\mame.exe", MameModel2);
    EmulatorEntry keys = entryOf("1964", "D:\\1964.exe", KeyboardDriven);
    EmulatorEntry drives = entryOf("X68", "D:\\X68.exe", WinX68Fast);
    fake::state().readPath = kCache;
    struct Row {
        const EmulatorEntry* entry;
        const char* text;
        const char* commandLine;
        bool readsCache;
        const char* gameArgs = "";
    } rows[] = {
        {&standard, "", "D:\\Emu\\RA\\retroarch.exe \"C:\\ROMs\\SUPERG~1.ZIP\"", true},
        {&standard, "-L \"cores\\x y.dll\" %ROM% --name=%BASENAME%",
         "D:\\Emu\\RA\\retroarch.exe -L \"cores\\x y.dll\" \"C:\\ROMs\\SUPERG~1.ZIP\" --name=Super "
         "Game",
         true},
        {&extracting, "%ROMRAW%", "D:\\Emu\\RA\\retroarch.exe C:\\Tmp\\Super Game.sfc", true},
        {&standard, "%SET% %CRC% %EMUDIR%", "D:\\Emu\\RA\\retroarch.exe sgame K1 D:\\Emu\\RA",
         false},
        {&arcade, "", "D:\\MAME\\mame.exe sgame", false},
        {&arcade, "-rompath \"%GAMEDIR%\" %SET%", "D:\\MAME\\mame.exe -rompath \"C:\\ROMs\" sgame",
         true},
        {&standard, "%ROMM%", "(none)コマンドライン引数に使えない文字列があります: %ROMM%", false},
        {&standard, "%FILENAME%", "D:\\Emu\\RA\\retroarch.exe Super Game.zip", true},
        {&arcade, "%SET% %M3U%", "(none)コマンドライン引数に使えない文字列があります: %M3U%", true},
        {&extracting, "-L x.dll %M3U%",
         "D:\\Emu\\RA\\retroarch.exe -L x.dll \"C:\\Tmp\\Super Game.m3u\"", true},
        // A game's own arguments: at %GAMEARGS%, else at the end, for every kind.
        {&standard, "", "D:\\Emu\\RA\\retroarch.exe \"C:\\ROMs\\SUPERG~1.ZIP\" -x \"a b\"", true,
         "-x \"a b\""},
        {&standard, "%GAMEARGS% %SET%", "D:\\Emu\\RA\\retroarch.exe -c 1 sgame", false, "-c 1"},
        {&arcade, "%SET%", "D:\\MAME\\mame.exe sgame -bios jp", false, "-bios jp"},
        {&keys, "", "D:\\1964.exe -w", true, "-w"},
        {&drives, "", "D:\\X68.exe -AC:\\ROMs\\Super Game.zip -B -w", true, "-w"},
    };
    for (const Row& row : rows) {
        fake::state().reads = 0;
        extractCount = 0;
        EXPECT_EQ(planned(*row.entry, row.text, row.gameArgs), row.commandLine) << row.text;
        EXPECT_EQ(fake::state().reads > 0, row.readsCache) << row.text;
        EXPECT_EQ(extractCount, row.entry->extractArchive != 0 && row.readsCache ? 1 : 0)
            << row.text;
    }
    fake::state().environment["BIG"] = std::string(16000, 'x');
    EXPECT_EQ(planned(standard, "%BIG% %BIG% %BIG%"), "(none)コマンドラインが長すぎます");
    ASSERT_TRUE(writePlannedPlaylist()) << "written as the launch is carried out, not before";
    EXPECT_EQ(fake::fileBytes("C:\\Tmp\\Super Game.m3u"), "Super Game.sfc\r\n")
        << "the extracted disc beside the playlist, by its file name";
    EXPECT_STREQ(extractedFiles[extractedFileCount - 1], "C:\\Tmp\\Super Game.m3u")
        << "deleted with the extracted files";
    // Windows counts characters: 32,766 of them and the NUL, a double-byte one counting once.
    std::string exe = "D:\\Emu\\RA\\retroarch.exe ", wide;
    for (int i = 0; i < 16000; ++i) wide += "表";
    fake::state().environment["WIDE"] = wide;
    fake::state().environment["REST"] = std::string(32766 - exe.size() - 2 * 16000, 'r');
    EXPECT_EQ(planned(standard, "%WIDE%%WIDE%%REST%"),
              exe + wide + wide + std::string(32766 - exe.size() - 32000, 'r'));
    EXPECT_EQ(planned(standard, "%WIDE%%WIDE%%REST%r"), "(none)コマンドラインが長すぎます");
    EXPECT_EQ(planned(standard, "%WIDE%%WIDE%%REST%", "-x"), "(none)コマンドラインが長すぎます")
        << "the game's arguments count too";
    // The game's setting dialog shows the whole line its game would start with.
    HostRomRecord game{};
    game.crc32 = "K1";
    game.comment = "sgame";
    char sample[kSampleSize];
    gameSample(sample, standard, "", game, "-x");
    EXPECT_STREQ(sample, "D:\\Emu\\RA\\retroarch.exe \"C:\\ROMs\\SUPERG~1.ZIP\" -x");
    gameSample(sample, extracting, "-L x.dll %M3U% %GAMEARGS%", game, "-y");
    EXPECT_STREQ(sample, "D:\\Emu\\RA\\retroarch.exe -L x.dll \"C:\\Tmp\\Super Game.m3u\" -y");
    gameSample(sample, arcade, "%SET%", game, "-bios jp");
    EXPECT_STREQ(sample, "D:\\MAME\\mame.exe sgame -bios jp");
    gameSample(sample, standard, "%WIDE%%WIDE%%REST%", game, "-x");
    EXPECT_STREQ(sample, "コマンドラインが長すぎます") << "or why it would start nothing";
    gameSample(sample, standard, "%ROMM%", game, "");
    EXPECT_STREQ(sample, "コマンドライン引数に使えない文字列があります: %ROMM%");
}

TEST(Playlist, listsEveryDiscAsUtf8LinesAndADiscBesideItByItsFileName) {
    fake::reset();
    struct Row {
        std::vector<std::string> discs;
        const char* text;
    } rows[] = {
        {{"C:\\Tmp\\FF7 (Disc 1).cue", "C:\\Tmp\\FF7 (Disc 2).cue"},
         "FF7 (Disc 1).cue\r\nFF7 (Disc 2).cue\r\n"},
        {{"D:\\表ソ\\a.cue", "C:\\Tmp\\sub\\b.cue"},
         "D:\\\xE8\xA1\xA8\xE3\x82\xBD\\a.cue\r\nC:\\Tmp\\sub\\b.cue\r\n"},
        {{}, ""},
    };
    for (const Row& row : rows) {
        static char discs[4][kTextSize];
        for (size_t i = 0; i < row.discs.size(); ++i) copyText(discs[i], row.discs[i].c_str());
        char out[1024];
        size_t length = 0;
        ASSERT_TRUE(
            playlistText(out, sizeof out, length, discs, int32_t(row.discs.size()), "C:\\Tmp\\"));
        EXPECT_EQ(std::string(out, length), row.text);
    }
    char tiny[8];
    size_t length = 0;
    EXPECT_FALSE(
        playlistText(tiny, sizeof tiny, length, (const char(*)[kTextSize]) "C:\\abcdef.cue", 1, ""))
        << "a text that does not fit";
}

// The playlist is written as the launch starts, never over a file the plug-in did not make,
// with one line for each selected disc the cache knows, at most 64.
TEST_F(TemplateTest, aPlaylistIsWrittenAtTheStartBesideNoFileOfTheUsers) {
    EmulatorEntry e = entryOf("RA", "D:\\Emu\\RA\\retroarch.exe");
    copyText(e.extractDir, "C:\\ROMs\\");
    context->emulatorCount = 1;
    context->emulators[0] = e;
    setTemplate(emulatorTemplates, e, "%M3U%", &e, 1);
    std::string cache;
    HostChain chain;
    for (int i = 0; i < 70; ++i) {
        std::string key = "D" + std::to_string(i);
        if (i != 1)
            cache += "C:\\ROMs\\Disc " + std::to_string(i) + ".cue;;a;b;" + key + ";clean;\n";
        chain.add({key.c_str(), "Disc", "pub", "src", "sram", "set"});
    }
    fake::putFile(kCache, cache);
    fake::putFile("C:\\ROMs\\Disc 0.m3u", "the user's");
    fake::state().answerOk = false;
    EXPECT_EQ(launchEmulator(0, chain.first(), true), LaunchResult::Cancelled);
    EXPECT_FALSE(fake::hasFile(std::string(context->tempDir) + "Disc 0.m3u"))
        << "a cancelled preview";
    EXPECT_EQ(launchEmulator(0, chain.first()), LaunchResult::Started);
    EXPECT_EQ(fake::fileBytes("C:\\ROMs\\Disc 0.m3u"), "the user's");
    std::string list = fake::fileBytes(std::string(context->tempDir) + "Disc 0.m3u");
    EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 64)
        << "64 discs, the unknown one skipped";
    EXPECT_EQ(list.find("\r\n\r\n"), std::string::npos) << "no blank line";
    char sample[kSampleSize];
    sampleArguments(sample, "%M3U%", Standard, false, "C:\\e.exe");
    EXPECT_STREQ(sample, "C:\\ROMs\\Sample Game.m3u") << "quoted only with the quote box";
}

TEST_F(TemplateTest, templatesFollowTheirEntryThroughEditPasteCopyAndSaveAndAreIgnoredWhenStale) {
    state().emulatorCount = 2;
    state().emulators[0] = entryOf("RA", "D:\\RA.exe");
    state().emulators[1] = entryOf("Other", "D:\\Other.exe");
    writeEmulatorListFile("C:\\Host\\LaunchboardData0001\\N64.emu", 2, state().emulators);
    const std::string emu = std::string(kDir) + "N64.emu", companion = emu + ".txt";
    const std::string listBefore = fake::fileBytes(emu);
    loadEmulatorList(false);
    loadWorkingList();
    ASSERT_TRUE(saveWorkingList());
    EXPECT_FALSE(fake::hasFile(companion)) << "no template, no companion file";

    EmulatorEntry renamed = entryOf("RetroArch", "D:\\RA.exe");
    EXPECT_EQ(storeEditedEmulator(false, 0, state().emulators[0], "-L a.dll %ROM%"), 0);
    EXPECT_EQ(storeEditedEmulator(false, 0, renamed, "-L a.dll %ROM%"), 0);
    moveEntry(workingList, workingCount, 0, 1);
    ASSERT_TRUE(saveWorkingList());
    EXPECT_EQ(fake::fileBytes(emu).substr(4 + 804, 9), std::string("RetroArch"));
    EXPECT_EQ(fake::fileBytes(companion),
              "; Launchboard: command-line templates\r\nname=RetroArch\r\nexe=D:\\RA.exe\r\n"
              "args=-L a.dll %ROM%\r\n\r\n");
    loadEmulatorList(false);
    EXPECT_STREQ(findTemplate(emulatorTemplates, state().emulators[1]), "-L a.dll %ROM%");

    int32_t second[] = {1};
    ASSERT_TRUE(copyToCopyFile(second, 1));
    copyText(state().systemName, "SNES");
    loadEmulatorList(false);
    loadWorkingList();
    ASSERT_EQ(pasteFromCopyFile(), FileRead::Read);
    ASSERT_EQ(workingCount, 1);
    EXPECT_STREQ(findTemplate(workingTemplates, workingList[0]), "-L a.dll %ROM%");

    // The list restored from a backup: its entry has another executable.
    copyText(state().systemName, "N64");
    fake::putFile(emu, listBefore);
    fake::putFile(companion, fake::fileBytes(companion) +
                                 "name=Other\r\nexe=D:\\Moved.exe\r\n"
                                 "args=%SET%\r\n");
    loadEmulatorList(false);
    EXPECT_STREQ(findTemplate(emulatorTemplates, state().emulators[0]), "");
    EXPECT_STREQ(findTemplate(emulatorTemplates, state().emulators[1]), "");
}

TEST(TemplateFile, aDamagedOrHostileCompanionLosesOnlyItsOwnTemplates) {
    std::string longName(300, 'n'), longArgs(1100, 'a');
    std::string text =
        "garbage\nname=A\nexe=C:\\a.exe\nargs=%ROM%\n"  // LF alone is a line end
        "name=B\nargs=no exe\n"                         // incomplete
        "name=" +
        longName +
        "\nexe=C:\\l.exe\nargs=x\r\n"  // a name too long
        "name=C\r\nexe=C:\\c.exe\r\nargs=" +
        longArgs +
        "\r\n"
        "name=D\r\nexe=C:\\d.exe\r\n; a comment\r\nargs=-d\r\n" +
        std::string("name=E\0\r\nexe=x\r\nargs=y\r\n", 24);
    TemplateTable table{};
    readTemplateText(text.data(), text.size(), table);
    ASSERT_EQ(table.count, 2);
    EXPECT_STREQ(table.rows[0].name, "A");
    EXPECT_STREQ(table.rows[0].text, "%ROM%");
    EXPECT_STREQ(table.rows[1].name, "D");
    EmulatorEntry injected = entryOf("x\r\nargs=evil", "C:\\a.exe");
    setTemplate(table, injected, "-y", &injected, 1);
    static char out[65536];
    size_t length = 0;
    EXPECT_EQ(writeTemplateText(out, sizeof out, length, table, &injected, 1), 0)
        << "a name with a line end is not written";

    // 41 templates, the first with the longest args that fit and the second one byte longer:
    // 40 rows are kept, the too long one and the 41st are not.
    text.clear();
    for (int i = 0; i < 41; ++i)
        text += "name=e" + std::to_string(i) + "\r\nexe=x\r\nargs=" +
                std::string(i == 0   ? 1023
                            : i == 1 ? 1024
                                     : 1,
                            'a') +
                "\r\n";
    readTemplateText(text.data(), text.size(), table);
    ASSERT_EQ(table.count, 40);
    EXPECT_EQ(std::strlen(table.rows[0].text), 1023u);
    EXPECT_STREQ(table.rows[1].name, "e2");
    EXPECT_STREQ(table.rows[39].name, "e40");
    // The table is full: the entries of the list (the last 20 rows) keep their templates, and a
    // new one takes the place of a row the list no longer has.
    static EmulatorEntry list[kMaxEmulators];
    for (int i = 0; i < kMaxEmulators; ++i) list[i] = entryOf(table.rows[20 + i].name, "x");
    list[0] = entryOf("new", "x");
    ASSERT_TRUE(setTemplate(table, list[0], "-n", list, kMaxEmulators));
    for (int i = 1; i < kMaxEmulators; ++i)
        EXPECT_STREQ(findTemplate(table, list[i]), "a") << list[i].name;
    EXPECT_STREQ(findTemplate(table, list[0]), "-n");
}

// A game's own setting: its file keeps every line it cannot read and holds 10,000 games; the
// setting's emulator starts where the game's own place asks, its arguments go only to it.
TEST_F(TemplateTest, aGamesSettingKeepsItsFileWholeAndStartsItsEmulatorWithItsArguments) {
    const std::string path = std::string(kDir) + "N64.games.txt", longName(300, 'n');
    const std::string kept = "no tab here\r\nK8\t" + longName + "\tD:\\x.exe\t\r\n";
    fake::putFile(path, "#games 1\r\nK9\tOld\tD:\\old.exe\t-o\r\n" + kept);
    context->emulatorCount = 2;
    context->emulators[0] = entryOf("R", "D:\\RA.exe");
    context->emulators[1] = entryOf("Mupen", "D:\\Mupen.exe");
    GameSetting mupen{"", "Mupen", "d:\\mupen.EXE", "-x \"a b\""}, none{}, own{"", "", "", "-n"};
    GameSetting alone{"", "R", "D:\\RA.exe", ""};
    const char* keys[] = {"K9", "K1", "K1"};
    ASSERT_EQ(saveGameSettings(path.c_str(), keys, 3, mupen), GamesSave::Saved);
    EXPECT_EQ(fake::fileBytes(path), "#games 1\r\n" + kept +
                                         "K1\tMupen\td:\\mupen.EXE\t-x \"a b\"\r\n"
                                         "K9\tMupen\td:\\mupen.EXE\t-x \"a b\"\r\n");
    HostChain chain;
    chain.add({"K1", "Super Game", "pub", "src", "sram", "sgame"});
    auto started = [&](int32_t index) {
        fake::state().started.clear();
        EXPECT_EQ(launchEmulator(index, chain.first()), LaunchResult::Started);
        return fake::state().started.empty() ? "" : fake::state().started.back().commandLine;
    };
    GameSetting read{};
    readGameSettingOf(chain.first(), read);
    EXPECT_EQ(gameEmulatorOr(read, 0), 1) << "registered: the same name, the program in any case";
    GameSetting other{"", "R", "D:\\R\x83\x61.exe", ""};  // ヂ and ア: a trail byte lowered
    copyText(context->emulators[0].exePath, "D:\\R\x83\x41.exe");
    EXPECT_EQ(settingEmulatorIndex(other), -1) << "a double-byte character is never folded";
    copyText(context->emulators[0].exePath, "D:\\RA.exe");
    const char* third[] = {"K3"};
    ASSERT_EQ(saveGameSettings(path.c_str(), third, 1, alone), GamesSave::Saved);
    EXPECT_NE(fake::fileBytes(path).find("K3\tR\tD:\\RA.exe\t\r\n"), std::string::npos)
        << "an emulator alone is a setting";
    readGameSettingOf(HostChain().add({"K3", "", "", "", "", ""}).first(), read);
    EXPECT_EQ(gameEmulatorOr(read, 1), 0) << "the first emulator, not the history's last";
    ASSERT_EQ(saveGameSettings(path.c_str(), third, 1, none), GamesSave::Saved);
    readGameSettingOf(chain.first(), read);
    EXPECT_EQ(started(1), "D:\\Mupen.exe C:\\ROMs\\Super Game.zip -x \"a b\"");
    EXPECT_EQ(started(0), "D:\\RA.exe C:\\ROMs\\Super Game.zip") << "another emulator";
    context->emulatorCount = 1;
    EXPECT_EQ(gameEmulatorOr(read, 0), 0) << "deleted from the list";
    EXPECT_EQ(started(0), "D:\\RA.exe C:\\ROMs\\Super Game.zip");
    ASSERT_EQ(saveGameSettings(path.c_str(), keys + 1, 1, own), GamesSave::Saved);
    EXPECT_EQ(started(0), "D:\\RA.exe C:\\ROMs\\Super Game.zip -n") << "naming none: any";
    ASSERT_EQ(saveGameSettings(path.c_str(), keys, 2, none), GamesSave::Saved);
    EXPECT_EQ(fake::fileBytes(path), "#games 1\r\n" + kept) << "a setting of nothing is removed";
    EXPECT_TRUE(storableArguments(std::string(1000, 'a').c_str()));
    for (const std::string& refused : {std::string(1001, 'a'), std::string("a\tb")})
        EXPECT_FALSE(storableArguments(refused.c_str())) << refused.size();
    fake::state().unreadable.insert(path);
    EXPECT_EQ(saveGameSettings(path.c_str(), keys, 1, own), GamesSave::Unreadable);
    EXPECT_EQ(started(0), "D:\\RA.exe C:\\ROMs\\Super Game.zip") << "goes on without it";
    fake::state().unreadable.clear();
    std::string full;
    for (int i = 0; i < kMaxGameSettings; ++i) full += "G" + std::to_string(i) + "\t\t\t-g\r\n";
    fake::putFile(path, full);
    EXPECT_EQ(saveGameSettings(path.c_str(), keys, 1, own), GamesSave::TooMany);
    EXPECT_EQ(fake::fileBytes(path), full);
    const char* first[] = {"G0"};
    EXPECT_EQ(saveGameSettings(path.c_str(), first, 1, own), GamesSave::Saved) << "a change";
}
