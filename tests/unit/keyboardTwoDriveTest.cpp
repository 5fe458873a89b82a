#include "hostChain.h"
#include "launcher/launch.h"
#include "pluginFixture.h"

using namespace lb;

namespace {

const char kDir[] = "C:\\Host\\LaunchboardData0001\\";
const char kCache[] = "C:\\Host\\caches\\X68000.cache";

class LaunchMethodTest : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        initPlugin(countExtract, 0, 0, 0, 0, kDir);
        copyText(state().systemName, "X68000");
        std::string cache;
        for (int i = 1; i <= 25; ++i) {
            std::string n = std::to_string(i);
            cache += "D:\\X68\\" + n + ".xdf;" + n + ".xdf;a;b;K" + n + ";clean;\n";
        }
        // A disk whose extracted path cannot fit in 259 bytes.
        cache += "D:\\X68\\long.xdf;" + std::string(255, 'L') + ";a;b;LONG;clean;\n";
        fake::putFile(kCache, cache);
    }
    EmulatorEntry& addEmulator(EmulatorKind kind) {
        EmulatorEntry& e = state().emulators[state().emulatorCount++];
        e = EmulatorEntry{};
        copyText(e.name, "emu");
        copyText(e.exePath, "D:\\Emu\\x68.exe");
        copyText(e.extractDir, "C:\\Tmp\\");
        e.kind = kind;
        e.quotePath = 1;  // never applies to these kinds
        return e;
    }
    static HostChain keys(int count) {
        HostChain chain;
        for (int i = 1; i <= count; ++i) chain.key("K" + std::to_string(i));
        return chain;
    }
    std::string arguments() {
        const auto& started = fake::state().started;
        if (started.size() != 1)
            return "(" + std::to_string(started.size()) + " processes started)";
        std::string line = started[0].commandLine, exe = "D:\\Emu\\x68.exe";
        if (line == exe) return "";
        return line.compare(0, exe.size() + 1, exe + " ") == 0 ? line.substr(exe.size() + 1) : line;
    }
};

// The key events and pauses of the script, with the given waits.
std::vector<fake::Key> expectedScript(unsigned key, unsigned browse) {
    return {{0, false, key},    {0x12, false, 0}, {0, false, key}, {0x12, true, 0},
            {0, false, key},    {0x28, false, 0}, {0, false, key}, {0x28, true, 0},
            {0, false, key},    {0x0D, false, 0}, {0, false, key}, {0x0D, true, 0},
            {0, false, browse}, {0x11, false, 0}, {0, false, key}, {0x56, false, 0},
            {0, false, key},    {0x56, true, 0},  {0, false, key}, {0x11, true, 0},
            {0, false, key},    {0x0D, false, 0}, {0, false, key}, {0x0D, true, 0}};
}

std::string describe(const std::vector<fake::Key>& keys) {
    std::string text;
    for (const auto& k : keys) {
        text += k.virtualKey == 0 ? "sleep " + std::to_string(k.pause)
                                  : std::to_string(k.virtualKey) + (k.release ? " up" : " down");
        text += ", ";
    }
    return text;
}

}  // namespace

TEST_F(LaunchMethodTest, theKeyScriptTypesFileOpenAndPasteWithItsPauses) {
    struct Row {
        int32_t keyWaitIndex, browseWaitIndex;
        unsigned keyWait, browseWait;
        unsigned long total;
    } rows[] = {
        {0, 0, 50, 500, 1050},
        {4, 4, 1000, 10000, 21000},
        {2, 3, 200, 5000, 7200},
        {-1, 9, 200, 2000, 4200},  // outside the tables: the waits of a new entry
    };
    for (const auto& row : rows) {
        fake::State& s = fake::state();
        s.keys.clear();
        s.clock = 0;
        s.started.clear();
        state().emulatorCount = 0;
        EmulatorEntry& e = addEmulator(KeyboardDriven);
        e.keyWaitIndex = row.keyWaitIndex;
        e.browseWaitIndex = row.browseWaitIndex;
        e.shortPath = 1;
        launchEmulator(0, keys(2).first());
        EXPECT_EQ(describe(s.keys), describe(expectedScript(row.keyWait, row.browseWait)))
            << row.keyWaitIndex;
        EXPECT_EQ(s.clock, row.total);
        EXPECT_EQ(arguments(), "") << "the emulator starts with its path alone";
        EXPECT_EQ(s.started[0].workingDir, "D:\\Emu\\");
        EXPECT_EQ(s.clipboard, "D:\\X68\\1.xdf") << "neither short form nor quotes";
        EXPECT_EQ(s.inputIdleWaits.back(), 100u) << "waited for in slices that a stop can end";
        EXPECT_EQ(s.workersStarted, 1 + (&row - rows)) << "on the worker";
        EXPECT_EQ(s.openProcesses, 0);
    }
}

TEST_F(LaunchMethodTest, anEmulatorThatDoesNotBecomeReadyGetsTheMessageAndNoKeys) {
    addEmulator(KeyboardDriven).extractArchive = 1;
    fake::state().inputIdleResult = 0x102;  // WAIT_TIMEOUT
    fake::state().activeWindow = 42;
    launchEmulator(0, keys(1).first());
    EXPECT_EQ(fake::state().ownedMessages,
              std::vector<std::string>{"42|20秒待ちましたが、エミュレータが起動しませんでした"})
        << "owned by the window active at the launch";
    EXPECT_EQ(fake::state().clock, 20000u) << "20 s of the clock";
    EXPECT_TRUE(fake::state().keys.empty());
    EXPECT_EQ(fake::state().clipboard, "C:\\Tmp\\1.xdf") << "the clipboard keeps the ROM path";
    EXPECT_EQ(extractCount, 1);
    EXPECT_EQ(fake::state().openProcesses, 0);

    fake::state().failStart = true;
    fake::state().messages.clear();
    launchEmulator(0, keys(1).first());
    EXPECT_EQ(fake::state().messages.size(), 1u)
        << "a program that cannot start: the message at once";
    EXPECT_TRUE(fake::state().keys.empty());
}

TEST_F(LaunchMethodTest, theClipboardTakesAtMost1024Bytes) {
    std::string text(1500, 'c');
    EXPECT_EQ(setClipboardText(text.c_str()), 0);
    EXPECT_EQ(fake::state().clipboard, text.substr(0, 1024));
    EXPECT_EQ(setClipboardText("short"), 0);
    EXPECT_EQ(fake::state().clipboard, "short");
    fake::state().clipboardResult = -2;
    EXPECT_EQ(setClipboardText("x"), -2);
}

TEST_F(LaunchMethodTest, aFailedClipboardStillSendsTheKeys) {
    addEmulator(KeyboardDriven);
    fake::state().clipboardResult = -1;
    launchEmulator(0, keys(1).first());
    EXPECT_EQ(fake::state().keys.size(), 24u);
}

TEST_F(LaunchMethodTest, twoDriveArgumentsNameTheFirstTwoRoms) {
    struct Row {
        EmulatorKind kind;
        int roms;
        const char* arguments;
        const char* extraKey = nullptr;  // one more ROM, extracted with all the others
    } rows[] = {
        {WinX68Fast, 2, "-AD:\\X68\\1.xdf -BD:\\X68\\2.xdf"},
        {WinX68Fast, 1, "-AD:\\X68\\1.xdf -B"},
        {WinX68Fast, 0, "-A -B"},
        {Xm6, 2, "D:\\X68\\1.xdf D:\\X68\\2.xdf"},
        {Xm6, 1, "D:\\X68\\1.xdf "},
        {Xm6, 0, " "},
        {WinX68Fast, 1, "(0 processes started)", "LONG"},  // drive B cannot be named in full
    };
    for (const auto& row : rows) {
        fake::state().started.clear();
        state().emulatorCount = 0;
        addEmulator(row.kind).extractArchive = row.extraKey != nullptr;
        HostChain chain = keys(row.roms);
        if (row.extraKey != nullptr) chain.key(row.extraKey);
        launchEmulator(0, chain.first());
        EXPECT_EQ(arguments(), row.arguments) << row.kind << " with " << row.roms << " ROMs";
    }
}

TEST_F(LaunchMethodTest, everyVisitedRomIsExtractedAndRecordedButTwoAreNamed) {
    EmulatorEntry& e = addEmulator(WinX68Fast);
    e.extractArchive = 1;
    launchEmulator(0, keys(5).first());
    EXPECT_EQ(arguments(), "-AC:\\Tmp\\1.xdf -BC:\\Tmp\\2.xdf");
    EXPECT_EQ(extractCount, 5);
    ASSERT_EQ(extractedFileCount, 5);
    EXPECT_STREQ(extractedFiles[4], "C:\\Tmp\\5.xdf");

    extractCount = 0;
    extractedFileCount = 0;
    fake::state().started.clear();
    launchEmulator(0, keys(25).first());
    EXPECT_EQ(extractCount, 20) << "only the first 20 records are visited";
    EXPECT_EQ(extractedFileCount, 20);
}

TEST_F(LaunchMethodTest, eachDrivePathIsShortenedOnItsOwn) {
    addEmulator(Xm6).shortPath = 1;
    fake::state().shortPaths["D:\\X68\\2.xdf"] = "D:\\X68\\SHORT2.XDF";
    HostChain chain = keys(1);
    chain.key("MISSING").key("K2");
    launchEmulator(0, chain.first());
    EXPECT_EQ(arguments(), "D:\\X68\\1.xdf ")
        << "a ROM missing from the cache leaves its drive empty";
    fake::state().started.clear();
    launchEmulator(0, HostChain().key("K1").key("K2").first());
    EXPECT_EQ(arguments(), "D:\\X68\\1.xdf D:\\X68\\SHORT2.XDF");
}

TEST_F(LaunchMethodTest, keysStopWhenAnotherProgramIsInFrontAndHeldKeysAreReleased) {
    // The emulator is process 1001 (the first started); 1500 was started by it; 99 is not.
    struct Row {
        std::vector<uint32_t> foreground;  // the answers, one per key press, the last repeated
        std::string keys;                  // key events sent, pauses left out
        bool stopped;
        std::set<size_t> consoles = {};  // answers that are console windows
    } rows[] = {
        {{1001}, "18 18^ 40 40^ 13 13^ 17 86 86^ 17^ 13 13^", false},
        {{1500}, "18 18^ 40 40^ 13 13^ 17 86 86^ 17^ 13 13^", false},  // the emulator's child
        {{99}, "", true},  // never in front: not one key
        {{99, 99, 1001}, "18 18^ 40 40^ 13 13^ 17 86 86^ 17^ 13 13^", false},  // came in time
        {{1001, 1001, 1001, 1001, 99}, "18 18^ 40 40^ 13 13^ 17 17^", true},   // lost before V:
                                                                               // Ctrl is released
        {{1001, 1001, 99}, "18 18^ 40 40^", true},  // lost before the Enter of the file command
        {{1001, 1001, 99, 1001}, "18 18^ 40 40^", true},  // only the first press waits
        {std::vector<uint32_t>(30, 99), "", true},        // 1.5 s of another program...
        {[] {
             auto f = std::vector<uint32_t>(30, 99);
             f.push_back(1001);
             return f;
         }(),
         "18 18^ 40 40^ 13 13^ 17 86 86^ 17^ 13 13^", false},  // ...then the emulator: in 3 s
        {{1001, 0, 0, 1001}, "18 18^ 40 40^ 13 13^ 17 86 86^ 17^ 13 13^", false},  // no window
        {{1001, 0}, "18 18^", true},  // no window for more than 200 ms
        {{1600}, "", true},           // started before the emulator: its parent id was reused
        {{1001, 1001, 1500}, "18 18^ 40 40^ 13 13^ 17 86 86^ 17^ 13 13^", false, {0, 1}},
    };  // the last: its own console first, never typed into
    // With the launch's job, and where Windows refuses one, by the parent links.
    for (bool refuseJob : {false, true})
        for (const Row& row : rows) {
            fake::State& s = fake::state();
            s.refuseJob = refuseJob;
            s.keys.clear();
            s.ownedMessages.clear();
            s.started.clear();
            s.foreground = row.foreground;
            s.consoles = row.consoles;
            s.foregroundQuestions = 0;
            s.parents = {{1500, 1001}, {99, 7}, {1600, 1001}};
            s.created = {{1600, 500}};
            s.activeWindow = 42;
            state().emulatorCount = 0;
            addEmulator(KeyboardDriven);
            launchEmulator(0, keys(1).first());
            std::string sent;
            for (const auto& k : s.keys)
                if (k.virtualKey != 0)
                    sent += (sent.empty() ? "" : " ") + std::to_string(k.virtualKey) +
                            (k.release ? "^" : "");
            // Alt is 18, Down 40, Enter 13, Ctrl 17, V 86; "^" marks a release.
            EXPECT_EQ(sent, row.keys) << row.foreground.size() << " answers, job " << !refuseJob;
            std::vector<std::string> told;
            if (row.stopped)
                told.push_back(
                    "42|エミュレータが前面にないため、キー入力を中止しました\r\n"
                    "ROMのパスはクリップボードにあります");
            EXPECT_EQ(s.ownedMessages, told) << "owned by the window active when the launch began";
            EXPECT_EQ(s.clipboard, "D:\\X68\\1.xdf");
        }
    EXPECT_TRUE(belongsToEmulator(1500, {0, 1001, platform::creationTimeOf(1001)}));
    EXPECT_FALSE(belongsToEmulator(0, {0, 0, 0})) << "no foreground window belongs to nobody";
}

TEST_F(LaunchMethodTest, theWorkerStopsWhenAskedRunsOneScriptAtATimeAndWaitsForABatchFilesWindow) {
    fake::State& s = fake::state();
    s.activeWindow = 42;
    addEmulator(KeyboardDriven).keyWaitIndex = 4;  // 1000 ms between keys
    s.stopAt = 3500;                               // closePlugin, after the Down key
    EXPECT_EQ(launchEmulator(0, keys(1).first()), LaunchResult::Started);
    std::string sent;
    for (const auto& k : s.keys)
        if (k.virtualKey != 0) sent += std::to_string(k.virtualKey) + (k.release ? "^ " : " ");
    EXPECT_EQ(sent, "18 18^ 40 40^ ") << "no key after the stop but the release of the held Down";
    EXPECT_EQ(s.clock, 3500u);
    EXPECT_TRUE(s.ownedMessages.empty()) << "no message after a stop";
    EXPECT_EQ(s.openProcesses, 0);

    platform::stopThreads();
    s = fake::State{};
    s.workerBusy = true;
    s.clipboard = "before";
    initPlugin(nullptr, 0, 0, 0, 0, "C:\\Host\\LaunchboardData0001\\");
    EXPECT_EQ(launchEmulator(0, keys(1).first()), LaunchResult::NothingToStart);
    EXPECT_EQ(s.messages,
              std::vector<std::string>{"前のエミュレータへのキー入力がまだ終わっていません"});
    EXPECT_TRUE(s.started.empty());
    EXPECT_EQ(s.clipboard, "before");

    // A batch file (1001) whose child (1500) comes in front; the window active at the launch is
    // 42, the host's main window 7.
    const char kEnded[] = "エミュレータが終了したため、キー入力を中止しました";
    struct Row {
        const char* what;
        bool exited;
        std::set<size_t> consoles;  // answers that are the batch file's console window
        std::set<uintptr_t> gone;   // windows destroyed before the message
        std::string told;
        bool batchEnded = false;  // the batch file alone has ended, its emulator runs
    } rows[] = {
        {"a batch file", false, {}, {}, ""},
        {"its console in front first", false, {0, 1}, {}, ""},
        {"the batch file ended at once, the job keeps its emulator", false, {}, {}, "", true},
        {"exited", true, {}, {}, std::string("42|") + kEnded},
        {"exited, the dialog closed on launch", true, {}, {42}, std::string("7|") + kEnded},
        {"exited, the host gone too", true, {}, {42, 7}, std::string("0|") + kEnded},
    };
    for (const Row& row : rows) {
        platform::stopThreads();  // the sessions of the last launch
        platform::stopThreads();
        s = fake::State{};
        s.activeWindow = 42;
        if (row.exited) s.exited = {1001, 1500};
        if (row.batchEnded) s.exited = {1001};
        s.inputIdleResult = platform::kWaitFailed;
        s.foreground = {1001, 1001, 1500};
        s.consoles = row.consoles;
        s.goneWindows = row.gone;
        s.parents = {{1500, 1001}};
        if (row.consoles.empty()) s.foreground = {99, 99, 1500};
        launchEmulator(0, keys(1).first());
        std::string fronts;
        for (const auto& k : s.keys)
            if (k.virtualKey != 0 && !k.release) fronts += std::to_string(k.front) + " ";
        EXPECT_EQ(fronts, row.exited ? "" : "1500 1500 1500 1500 1500 1500 ")
            << row.what << ": every press goes to the emulator's window";
        std::vector<std::string> told;
        if (!row.told.empty()) told.push_back(row.told);
        EXPECT_EQ(s.ownedMessages, told) << row.what;
    }
}
