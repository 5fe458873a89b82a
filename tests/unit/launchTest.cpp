#include "hostChain.h"
#include "launcher/launch.h"
#include "pluginFixture.h"

using namespace lb;

namespace {

const char kDir[] = "C:\\Host\\LaunchboardData0001\\";
const char kCache[] = "C:\\Host\\caches\\N64.cache";
const char kRomPath[] = "C:\\ROMs\\Super Mario 64.zip";

std::vector<std::pair<std::string, std::string>> extractCalls;
int32_t LB_STDCALL recordExtract(const char* key, const char* dir, int32_t zero, int32_t one) {
    extractCalls.emplace_back(key, dir);
    EXPECT_EQ(zero, 0);
    EXPECT_EQ(one, 1);
    return 0;
}

class LaunchTest : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        extractCalls.clear();
        initPlugin(recordExtract, 0, 0, 0, 0, kDir);
        copyText(state().systemName, "N64");
        fake::putFile(kCache, std::string(kRomPath) + ";Super Mario 64.n64;a;b;635A2BFF;clean;\n");
        fake::state().shortPaths[kRomPath] = "C:\\ROMs\\SUPERM~1.ZIP";
        fake::state().shortPaths["C:\\Tmp\\Super Mario 64.n64"] = "C:\\Tmp\\SUPERM~1.N64";
    }
    EmulatorEntry& addEmulator(EmulatorKind kind, const char* exePath = "D:\\Emu\\run.exe") {
        EmulatorEntry& e = state().emulators[state().emulatorCount++];
        e = EmulatorEntry{};
        copyText(e.name, "emu");
        copyText(e.exePath, exePath);
        copyText(e.extractDir, "C:\\Tmp\\");
        e.kind = kind;
        return e;
    }
    std::string onlyCommandLine() {
        const auto& started = fake::state().started;
        if (started.size() != 1)
            return "(" + std::to_string(started.size()) + " processes started)";
        EXPECT_EQ(fake::state().openProcesses, 0) << "process handle left open";
        return started[0].commandLine;
    }
};

}  // namespace

TEST_F(LaunchTest, theArgumentFollowsTheExtractShortAndQuoteOptions) {
    struct Row {
        int extract, shortPath, quote;
        const char* argument;
    } rows[] = {
        {0, 0, 0, "C:\\ROMs\\Super Mario 64.zip"},     {0, 1, 0, "C:\\ROMs\\SUPERM~1.ZIP"},
        {0, 0, 1, "\"C:\\ROMs\\Super Mario 64.zip\""}, {0, 1, 1, "\"C:\\ROMs\\SUPERM~1.ZIP\""},
        {1, 0, 0, "C:\\Tmp\\Super Mario 64.n64"},      {1, 1, 0, "C:\\Tmp\\SUPERM~1.N64"},
        {1, 0, 1, "\"C:\\Tmp\\Super Mario 64.n64\""},  {1, 1, 1, "\"C:\\Tmp\\SUPERM~1.N64\""},
    };
    for (const auto& row : rows) {
        state().emulatorCount = 0;
        fake::state().started.clear();
        extractCalls.clear();
        EmulatorEntry& e = addEmulator(Standard);
        e.extractArchive = row.extract;
        e.shortPath = row.shortPath;
        e.quotePath = row.quote;
        HostChain chain;
        chain.key("635A2BFF").key("OTHER");
        launchEmulator(0, chain.first());
        EXPECT_EQ(onlyCommandLine(), std::string("D:\\Emu\\run.exe ") + row.argument)
            << "extract " << row.extract << " short " << row.shortPath << " quote " << row.quote;
        EXPECT_EQ(fake::state().started[0].workingDir, "D:\\Emu\\");
        EXPECT_EQ(extractCalls.size(), size_t(row.extract));
        if (row.extract) {
            EXPECT_EQ(extractCalls[0],
                      std::make_pair(std::string("635A2BFF"), std::string("C:\\Tmp\\")));
        }
    }
    EXPECT_EQ(extractedFileCount, 4);
    EXPECT_STREQ(extractedFiles[3], "C:\\Tmp\\Super Mario 64.n64");
}

TEST_F(LaunchTest, aRomMissingFromTheCacheGivesTheEmptyArgument) {
    struct Row {
        int extract, shortPath, quote;
        const char* commandLine;
    } rows[] = {
        {0, 0, 0, "D:\\Emu\\run.exe"},
        {0, 1, 1, "D:\\Emu\\run.exe \"\""},
        {1, 0, 0, "D:\\Emu\\run.exe"},  // nothing to extract by name: nothing extracted
    };
    for (const auto& row : rows) {
        state().emulatorCount = 0;
        fake::state().started.clear();
        EmulatorEntry& e = addEmulator(Standard);
        e.extractArchive = row.extract;
        e.shortPath = row.shortPath;
        e.quotePath = row.quote;
        HostChain chain;
        chain.key("NOT-IN-CACHE");
        launchEmulator(0, chain.first());
        EXPECT_EQ(onlyCommandLine(), row.commandLine);
    }
    EXPECT_TRUE(extractCalls.empty());
    EXPECT_EQ(extractedFileCount, 0);
}

TEST_F(LaunchTest, aPathThatWouldNotFitItsBufferStartsNothing) {
    EmulatorEntry& e = addEmulator(Standard);
    e.extractArchive = 1;
    e.quotePath = 1;
    std::string dir248 = "C:\\" + std::string(244, 'd') + "\\";
    copyText(e.extractDir, dir248.c_str());
    fake::putFile(kCache, "C:\\r.zip;abcdef.n64;a;b;LONG;clean;\n");  // 248 + 10: a 258-byte path
    HostChain chain;
    chain.key("LONG");
    launchEmulator(0, chain.first());
    EXPECT_TRUE(fake::state().started.empty()) << "quotes around 258 bytes do not fit";
    EXPECT_EQ(extractCalls.size(), 1u);

    copyText(e.extractDir, (dir248 + "xx").c_str());
    launchEmulator(0, chain.first());
    EXPECT_TRUE(fake::state().started.empty())
        << "extraction folder and inner name exceed 259 bytes";
    EXPECT_EQ(extractCalls.size(), 1u) << "nothing is extracted that could not be named";

    copyText(e.extractDir, dir248.c_str());
    e.quotePath = 0;
    launchEmulator(0, chain.first());
    EXPECT_EQ(onlyCommandLine(), "D:\\Emu\\run.exe " + dir248 + "abcdef.n64");
}

TEST_F(LaunchTest, aPathWithoutAShortFormStaysAsItWas) {
    EmulatorEntry& e = addEmulator(Standard);
    e.shortPath = 1;
    fake::state().shortPaths.clear();
    HostChain chain;
    chain.key("635A2BFF");
    launchEmulator(0, chain.first());
    EXPECT_EQ(onlyCommandLine(), std::string("D:\\Emu\\run.exe ") + kRomPath);
}

TEST_F(LaunchTest, theSetNameLaunchPassesTheFirstCommentInTheExecutablesFolder) {
    addEmulator(MameModel2, "D:\\Emu Dir\\\x83\x5C\\mame.exe").extractArchive = 1;
    HostChain chain;
    chain.add({"K1", "n", "p", "s", "t", "game1"}).add({"K2", "n", "p", "s", "t", "game2"});
    launchEmulator(0, chain.first());
    EXPECT_EQ(onlyCommandLine(), "\"D:\\Emu Dir\\\x83\x5C\\mame.exe\" game1")
        << "a path with a blank is quoted";
    EXPECT_EQ(fake::state().started[0].application, "D:\\Emu Dir\\\x83\x5C\\mame.exe");
    EXPECT_EQ(fake::state().started[0].workingDir, "D:\\Emu Dir\\\x83\x5C\\") << "ソ ends in 0x5C";
    EXPECT_TRUE(extractCalls.empty());

    fake::state().started.clear();
    HostChain empty;
    empty.add({"K1", "n", "p", "s", "t", ""});
    launchEmulator(0, empty.first());
    EXPECT_EQ(onlyCommandLine(), "\"D:\\Emu Dir\\\x83\x5C\\mame.exe\"");
}

TEST_F(LaunchTest, noChainAnIndexOutsideTheListOrAnUnknownKindStartsNothing) {
    addEmulator(Standard);
    addEmulator(MameModel2);
    addEmulator(Standard).kind = 7;
    addEmulator(Standard).kind = -1;
    launchEmulator(0, nullptr);
    launchEmulator(1, nullptr);
    HostChain chain;
    chain.key("635A2BFF");
    for (int32_t index : {2, 3, 4, -1, 20, INT32_MAX}) launchEmulator(index, chain.first());
    EXPECT_TRUE(fake::state().started.empty());
}

TEST_F(LaunchTest, theTenThousandAndFirstExtractedFileIsLaunchedButNotRecorded) {
    addEmulator(Standard).extractArchive = 1;
    extractedFileCount = kMaxExtractedFiles;
    HostChain chain;
    chain.key("635A2BFF");
    launchEmulator(0, chain.first());
    EXPECT_EQ(onlyCommandLine(), "D:\\Emu\\run.exe C:\\Tmp\\Super Mario 64.n64");
    EXPECT_EQ(extractedFileCount, kMaxExtractedFiles);
}

TEST(WorkingFolder, isTheDriveAndFolderOfTheExecutable) {
    fake::reset();
    struct Row {
        const char* exePath;
        const char* folder;
    } rows[] = {
        {"D:\\Emu\\run.exe", "D:\\Emu\\"},
        {"\\\\server\\share\\run.exe", "\\\\server\\share\\"},
        {"run.exe", ""},
        {"D:run.exe", "D:"},
        {"D:\\\x95\x5C\\run.exe", "D:\\\x95\x5C\\"},
        {"D:\\\x95\x5Crun.exe", "D:\\"},  // 表run.exe: the 0x5C inside 表 is no separator
    };
    for (const auto& row : rows) {
        char folder[kTextSize];
        driveAndFolder(folder, row.exePath);
        EXPECT_STREQ(folder, row.folder) << row.exePath;
    }
}

TEST_F(LaunchTest, everyKindStartsExactlyTheRegisteredProgramQuotedWhenItHoldsABlank) {
    struct Row {
        EmulatorKind kind;
        const char *exe, *commandLine;
    } rows[] = {
        {MameModel2, "D:\\My Emus\\mame.exe", "\"D:\\My Emus\\mame.exe\" game"},
        {MameModel2, "D:\\Emus\\mame.exe", "D:\\Emus\\mame.exe game"},  // today's exact bytes
        {MameModel2, "D:\\Tab\tEmus\\mame.exe", "\"D:\\Tab\tEmus\\mame.exe\" game"},
        {Standard, "D:\\My Emus\\pj64.exe",
         "\"D:\\My Emus\\pj64.exe\" C:\\ROMs\\Super Mario 64.zip"},
        {WinX68Fast, "D:\\My Emus\\x68.exe",
         "\"D:\\My Emus\\x68.exe\" -AC:\\ROMs\\Super Mario 64.zip -B"},
    };
    for (const Row& row : rows) {
        state().emulatorCount = 0;
        fake::state().started.clear();
        addEmulator(row.kind, row.exe).quotePath = 0;
        HostChain chain;
        chain.add({"635A2BFF", "n", "p", "s", "t", "game"});
        launchEmulator(0, chain.first());
        EXPECT_EQ(onlyCommandLine(), row.commandLine) << row.exe;
        if (!fake::state().started.empty()) {
            EXPECT_EQ(fake::state().started[0].application, row.exe) << "the program started";
        }
    }
}

TEST_F(LaunchTest, onlyFilesExtractedInsideTheExtractionFolderAreRecordedForDeletion) {
    struct Row {
        const char *dir, *innerName;
        bool inside;
    } rows[] = {
        {"C:\\Tmp\\", "game.n64", true},
        {"C:\\Tmp\\", "sub\\game.n64", true},
        {"C:\\Tmp\\", "..\\save.dat", false},
        {"C:\\Tmp\\", "a/../../save.dat", false},
        {"C:\\Tmp\\", "a\\..", false},
        {"C:\\Tmp\\", "..game\\x..\\...", true},
        {"C:\\Tmp\\", "\x83\x5C..\\x", true},  // ソ then "..": one component "ソ.."
        {"\\\\server\\share\\", "g.n64", true},
        {"temp\\", "g.n64", false},
        {"", "g.n64", false},
        {"C:Tmp\\", "g.n64", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(staysInsideFolder(row.dir, row.innerName), row.inside)
            << row.dir << " + " << row.innerName;
    fake::putFile(kCache, std::string(kRomPath) + ";..\\save.dat;a;b;635A2BFF;clean;\n");
    addEmulator(Standard).extractArchive = 1;
    HostChain chain;
    chain.key("635A2BFF");
    launchEmulator(0, chain.first());
    EXPECT_EQ(extractCalls.size(), 1u) << "the launch itself proceeds";
    EXPECT_EQ(onlyCommandLine(), "D:\\Emu\\run.exe C:\\Tmp\\..\\save.dat");
    EXPECT_EQ(extractedFileCount, 0) << "but nothing outside the folder is recorded";
}

TEST_F(LaunchTest, aSetNameTooLongForItsFieldStartsNothingAndALongFolderStillWorks) {
    std::string folder = "D:\\" + std::string(250, 'f') + "\\";  // 254 bytes of folder
    addEmulator(MameModel2, (folder + "m.exe").c_str());
    HostChain chain;
    chain.add({"K1", "n", "p", "s", "t", std::string(300, 'g')});
    launchEmulator(0, chain.first());
    EXPECT_TRUE(fake::state().started.empty()) << "a cut set name would start another game";
    HostChain fits;
    fits.add({"K1", "n", "p", "s", "t", std::string(259, 'g')});
    launchEmulator(0, fits.first());
    EXPECT_EQ(onlyCommandLine(), folder + "m.exe " + std::string(259, 'g'));
    EXPECT_EQ(fake::state().started[0].workingDir, folder);
}

TEST_F(LaunchTest, aStartTheSystemRefusesIsToldWithThePathAndTheReasonForEveryKind) {
    struct Row {
        EmulatorKind kind;
        const char* reason;
        const char* message;
    } rows[] = {
        {Standard, "見つかりません。",
         "エミュレータを起動できませんでした\r\nD:\\Gone\\run.exe\r\n見つかりません。"},
        {MameModel2, "", "エミュレータを起動できませんでした\r\nD:\\Gone\\run.exe"},
        {Standard,
         "%1 は有効な Win32 アプリケーションではありません。",  // the program in place of %1
         "エミュレータを起動できませんでした\r\nD:\\Gone\\run.exe\r\nD:\\Gone\\run.exe は有効な "
         "Win32 "
         "アプリケーションではありません。"},
        {KeyboardDriven, "x", "エミュレータを起動できませんでした\r\nD:\\Gone\\run.exe\r\nx"},
        {WinX68Fast, "x", "エミュレータを起動できませんでした\r\nD:\\Gone\\run.exe\r\nx"},
    };
    for (const Row& row : rows) {
        fake::State& s = fake::state();
        s.failStart = true;
        s.errorTexts[s.startError] = row.reason;
        s.messages.clear();
        state().emulatorCount = 0;
        addEmulator(row.kind, "D:\\Gone\\run.exe");
        HostChain chain;
        chain.add({"635A2BFF", "name", "pub", "src", "sram", "set"});
        EXPECT_EQ(launchEmulator(0, chain.first()), LaunchResult::Failed) << row.kind;
        EXPECT_EQ(s.messages, std::vector<std::string>{row.message}) << row.kind;
        EXPECT_TRUE(s.keys.empty()) << "no wait, no keys";
    }
    EXPECT_EQ(fake::state().clipboard, kRomPath) << "the keyboard-driven kind's ROM path stays";
}

TEST_F(LaunchTest, shiftShowsThePlanAndOkStartsExactlyWhatWasShown) {
    struct Row {
        EmulatorKind kind;
        int quote, shortPath;
        const char* exe;
        std::string preview;
    } rows[] = {
        {Standard, 1, 1, "D:\\My Emu\\run.exe",
         "プログラム: D:\\My Emu\\run.exe\r\nフォルダ: D:\\My Emu\\\r\nコマンドライン: "
         "\"D:\\My Emu\\run.exe\" \"C:\\ROMs\\SUPERM~1.ZIP\""},
        {MameModel2, 0, 0, "D:\\Emu\\mame.exe",
         "プログラム: D:\\Emu\\mame.exe\r\nフォルダ: D:\\Emu\\\r\nコマンドライン: "
         "D:\\Emu\\mame.exe set"},
        {KeyboardDriven, 0, 0, "D:\\Emu\\1964.exe",
         "プログラム: D:\\Emu\\1964.exe\r\nフォルダ: D:\\Emu\\\r\nコマンドライン: "
         "D:\\Emu\\1964.exe\r\nクリップボード: C:\\ROMs\\Super Mario 64.zip\r\n"
         "キー入力: Alt, ↓, Enter, Ctrl+V, Enter"},
    };
    for (const Row& row : rows) {
        for (bool ok : {false, true}) {
            fake::State& s = fake::state();
            s.started.clear();
            s.questions.clear();
            s.keys.clear();
            s.clipboard = "before";
            s.answerOk = ok;
            state().emulatorCount = 0;
            EmulatorEntry& e = addEmulator(row.kind, row.exe);
            e.quotePath = row.quote;
            e.shortPath = row.shortPath;
            HostChain chain;
            chain.add({"635A2BFF", "name", "pub", "src", "sram", "set"});
            LaunchResult result = launchEmulator(0, chain.first(), true);
            EXPECT_EQ(s.questions, std::vector<std::string>{"起動の確認|" + row.preview});
            EXPECT_EQ(result, ok ? LaunchResult::Started : LaunchResult::Cancelled);
            const std::string label = "コマンドライン: ";
            std::string shown = row.preview.substr(row.preview.find(label) + label.size());
            shown = shown.substr(0, shown.find("\r\n"));
            EXPECT_EQ(onlyCommandLine(), ok ? shown : "(0 processes started)") << row.exe;
            EXPECT_EQ(s.clipboard == "before", !ok || row.kind != KeyboardDriven)
                << "Cancel leaves the clipboard alone";
        }
    }
    fake::state().questions.clear();
    launchEmulator(0, HostChain().key("635A2BFF").first());
    EXPECT_TRUE(fake::state().questions.empty()) << "without Shift, no question";
}
