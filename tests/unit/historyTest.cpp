// The play history: what a launch records, the file read back whatever a crash left, its
// compaction, and the list's texts.
#include "favorites/historyView.h"
#include "history/playHistory.h"
#include "hostChain.h"
#include "launcher/launch.h"
#include "pluginFixture.h"

using namespace lb;

namespace {

const std::string kDir = "C:\\Host\\LaunchboardData0001\\";
const std::string kHistory = kDir + "N64.history.txt";

std::string summary(const HistoryTable& t) {
    std::string text;
    for (int32_t i = 0; i < t.count; ++i) {
        const GameHistory& g = t.games[i];
        text += std::string(g.key) + " " + g.name + " plays " + std::to_string(g.plays) +
                " unknown " + std::to_string(g.unknownPlays) + " s " + std::to_string(g.seconds) +
                " last " + g.lastPlayed + " " + g.emulator + "; ";
    }
    return text;
}

std::string repeated(int times, const std::string& text) {
    std::string all;
    for (int i = 0; i < times; ++i) all += text;
    return all;
}

}  // namespace

TEST(HistoryFile, readsStartsEndsAndTotalsAndIgnoresTornAndDamagedLines) {
    fake::reset();
    const std::string s1 = "S\t1\t2026/12/01 10:00:00\tK1\tMario\t\tPJ64\tC:\\pj64.exe\t.";
    const std::string s2 = "S\t2\t2026/12/02 10:00:00\tK1\tMario 64\t\tRA\tC:\\ra.exe\t.";
    struct Row {
        const char* what;
        std::string text;
        const char* games;
    } rows[] = {
        {"a start and its end", "\r\n" + s1 + "\r\nE\t1\t125\t0\t.",
         "K1 Mario plays 1 unknown 0 s 125 last 2026/12/01 10:00:00 PJ64; "},
        {"a start without its end: a play of unknown time",
         "\r\n" + s1 + "\r\n" + s2 + "\r\nE\t2\t60\t1\t.",
         "K1 Mario 64 plays 2 unknown 1 s 60 last 2026/12/02 10:00:00 RA; "},
        {"a torn last line is ignored", "\r\n" + s1 + "\r\nE\t1\t125\t0",
         "K1 Mario plays 1 unknown 1 s 0 last 2026/12/01 10:00:00 PJ64; "},
        {"a torn line followed by the next append", "\r\nS\t1\t2026/12/01 10:0\r\n" + s2,
         "K1 Mario 64 plays 1 unknown 1 s 0 last 2026/12/02 10:00:00 RA; "},
        {"damaged lines and an end of no known start",
         "\r\nS\tx\t.\r\nE\t9\t5\t0\t.\r\nT\tK2\tZelda\t\tmany\t1\t0\tx\ty\tz\t.\r\n" + s1 +
             "\r\nE\t1\t1x\t0\t.",
         "K1 Mario plays 1 unknown 1 s 0 last 2026/12/01 10:00:00 PJ64; "},
        {"a start torn right after a \".\" inside its last text",
         "\r\nS\t1\t2026/12/01 10:00:00\tK1\tMario\t\tPJ64\tC:\\pj64.", ""},
        {"a start whose stamp has 20 characters",
         "\r\nS\t1\t2026/12/01 10:00:000\tK1\tMario\t\tPJ64\tC:\\pj64.exe\t.", ""},
        {"300 starts of one game, each with its 1 s end",
         repeated(300, "\r\n" + s1 + "\r\nE\t1\t1\t0\t."),
         "K1 Mario plays 300 unknown 0 s 300 last 2026/12/01 10:00:00 PJ64; "},
        {"of two starts in the same second the later one's emulator is the last",
         "\r\n" + s1 + "\r\nS\t2\t2026/12/01 10:00:00\tK1\tMario\t\tRA\tC:\\ra.exe\t.",
         "K1 Mario plays 2 unknown 2 s 0 last 2026/12/01 10:00:00 RA; "},
        {"totals past 2^31 plays saturate",
         repeated(3000, "T\tK1\tMario\t\t1000000\t1\t0\t2026/11/01 09:00:00\tRA\tra\t.\r\n"),
         "K1 Mario plays 2147483647 unknown 0 s 3000 last 2026/11/01 09:00:00 RA; "},
        {"totals of a compacted file and a start after them",
         "T\tK1\tMario\t\t3\t600\t1\t2026/11/01 09:00:00\tOld\tC:\\old.exe\t.\r\n" + s1 +
             "\r\nE\t1\t5\t0\t.",
         "K1 Mario plays 4 unknown 1 s 605 last 2026/12/01 10:00:00 PJ64; "},
    };
    for (const Row& row : rows) {
        HistoryTable table{};
        ASSERT_TRUE(readHistoryText(row.text.data(), row.text.size(), table));
        EXPECT_EQ(summary(table), row.games) << row.what;
        releaseHistory(table);
    }
}

TEST(HistoryFile, compactionKeepsEveryTotalAndTheTextsShowTimeAndDate) {
    fake::reset();
    std::string text;
    for (int i = 0; i < 50; ++i)
        text += "\r\nS\t" + std::to_string(i) + "\t2026/12/0" + std::to_string(1 + i % 9) +
                " 10:00:00\tK" + std::to_string(i % 3) + "\tGame\t\tRA\tC:\\ra.exe\t.\r\nE\t" +
                std::to_string(i) + "\t" + std::to_string(i) + "\t0\t.";
    HistoryTable table{}, again{};
    ASSERT_TRUE(readHistoryText(text.data(), text.size(), table));
    static char compact[1 << 16];
    size_t length = compactHistoryText(compact, sizeof compact, table);
    ASSERT_GT(length, 0u);
    ASSERT_TRUE(readHistoryText(compact, length, again));
    EXPECT_EQ(summary(again), summary(table));
    EXPECT_EQ(again.count, 3);
    EXPECT_EQ(compactHistoryText(compact, 10, table), 0u) << "a text that does not fit";
    releaseHistory(table);
    releaseHistory(again);
    char time[24], date[kStampSize];
    for (auto [seconds, shown] : {std::pair<uint64_t, const char*>{0, "0:00:00"},
                                  {59, "0:00:59"},
                                  {3661, "1:01:01"},
                                  {360000, "100:00:00"}}) {
        playTimeText(time, seconds);
        EXPECT_STREQ(time, shown);
    }
    lastPlayedText(date, "2026/12/07 21:30:59");
    EXPECT_STREQ(date, "2026/12/07 21:30");
}

TEST(HistoryFile, aGameStillRunningAtCompactionKeepsItsStartAndLongTextsSurvive) {
    fake::reset();
    std::string text = "\r\nS\t1\t2026/12/01 10:00:00\tK1\tMario\t\tPJ64\tC:\\pj64.exe\t.";
    text += "\r\nE\t1\t10\t0\t.";
    text += "\r\nS\t2\t2026/12/02 10:00:00\tK2\tZelda\t\tRA\tC:\\ra.exe\t.";  // still running
    text += "\r\nS\t3\t2026/12/03 10:00:00\tK1\tMario\t\tRA\tC:\\ra.exe\t.";  // and this one
    HistoryTable table{}, again{};
    ASSERT_TRUE(readHistoryText(text.data(), text.size(), table));
    static char compact[1 << 16];
    size_t length = compactHistoryText(compact, sizeof compact, table);
    ASSERT_GT(length, 0u);
    // The ends come after the compaction, as the watcher appends them.
    std::string later = std::string(compact, length) + "\r\nE\t2\t60\t0\t.\r\nE\t3\t5\t1\t.";
    ASSERT_TRUE(readHistoryText(later.data(), later.size(), again));
    EXPECT_EQ(summary(again),
              "K1 Mario plays 2 unknown 0 s 15 last 2026/12/03 10:00:00 RA; "
              "K2 Zelda plays 1 unknown 0 s 60 last 2026/12/02 10:00:00 RA; ");
    bool dropped[2] = {true, false};
    dropGames(table, dropped);
    length = compactHistoryText(compact, sizeof compact, table);
    EXPECT_EQ(std::string(compact, length),
              "T\tK2\tZelda\t\t0\t0\t0\t2026/12/02 10:00:00\tRA\tC:\\ra.exe\t.\r\n"
              "S\t2\t2026/12/02 10:00:00\tK2\tZelda\t\tRA\tC:\\ra.exe\t.\r\n");
    // After dropping the first of three games, the third is found at its new place and the
    // running start of the second still names it.
    text =
        "\r\nS\t1\t2026/12/01 10:00:00\tK1\tA\t\tRA\tra\t.\r\nS\t2\t2026/12/01 10:00:00\tK2\tB"
        "\t\tRA\tra\t.\r\nS\t3\t2026/12/01 10:00:00\tK3\tC\t\tRA\tra\t.\r\nE\t3\t1\t0\t.";
    ASSERT_TRUE(readHistoryText(text.data(), text.size(), table));
    bool first[3] = {true, false, false};
    dropGames(table, first);
    EXPECT_EQ(findFirst(table.index, "K3"), 1);
    length = compactHistoryText(compact, sizeof compact, table);
    EXPECT_NE(std::string(compact, length).find("S\t2\t2026/12/01 10:00:00\tK2\tB"),
              std::string::npos);
    EXPECT_EQ(std::string(compact, length).find("S\t1\t"), std::string::npos) << "K1's, dropped";
    // A session during which 5,000 plays were recorded and ended still finds its start.
    text = "\r\nS\tlong\t2026/12/05 10:00:00\tK7\tLong\t\tRA\tra\t.";
    for (int i = 0; i < 5000; ++i)
        text += "\r\nS\t" + std::to_string(i) + "\t2026/12/05 11:00:00\tK8\tShort\t\tRA\tra\t." +
                "\r\nE\t" + std::to_string(i) + "\t1\t0\t.";
    text += "\r\nS\tx\t2026/12/06 10:00:00\tK8\tShort\t\tRA\tra\t.\r\nS\ty\t2026/12/06 10:00:00\tK9"
            "\tNine\t\tRA\tra\t.\r\nE\tx\t1\t0\t.\r\nE\tlong\t3600\t0\t.";
    ASSERT_TRUE(readHistoryText(text.data(), text.size(), table));
    length = compactHistoryText(compact, sizeof compact, table);
    later = std::string(compact, length) + "\r\nE\ty\t9\t0\t.";  // y moved back as x left
    ASSERT_TRUE(readHistoryText(later.data(), later.size(), again));
    EXPECT_EQ(again.games[2].seconds, 9u);
    EXPECT_EQ(summary(table),
              "K7 Long plays 1 unknown 0 s 3600 last 2026/12/05 10:00:00 RA; "
              "K8 Short plays 5001 unknown 0 s 5001 last 2026/12/06 10:00:00 RA; "
              "K9 Nine plays 1 unknown 1 s 0 last 2026/12/06 10:00:00 RA; ");
    // A play whose five texts fill their fields is written, read and compacted whole.
    const std::string full(kTextSize - 1, 'x');
    PlayStart start{"9", "2026/12/04 10:00:00", "", "", "", "", ""};
    for (char* field : {start.key, start.name, start.set, start.emulator, start.exe})
        copyText(field, kTextSize, full.c_str());
    char line[kHistoryLineSize];
    startLine(line, start);
    text = "\r\n" + std::string(line) + "\r\nE\t9\t7\t0\t.";
    ASSERT_TRUE(readHistoryText(text.data(), text.size(), table));
    length = compactHistoryText(compact, sizeof compact, table);
    ASSERT_TRUE(readHistoryText(compact, length, again));
    ASSERT_EQ(again.count, 1);
    EXPECT_EQ(again.games[0].exe, full);
    EXPECT_EQ(again.games[0].seconds, 7u);
    releaseHistory(table);
    releaseHistory(again);
}

TEST_F(PluginTest, theTabSortsByLastPlayKeepingTiesInOrderWhateverTheShapeOfTheStamps) {
    initPlugin(nullptr, 0, 0, 0, 0, kDir.c_str());
    copyText(state().systemName, "N64");
    auto rows = [] {
        std::string names;
        for (int32_t row = 0; row < historyView.count; ++row) names += historyGame(row)->name;
        return names;
    };
    // Stamps of the usual shape sort as numbers; another shape sorts as text.
    struct Row {
        std::string third;
        const char *newestFirst, *oldestFirst;  // equal stamps in the order they had
    } table[] = {{"2026/12/02 10:00:00", "BAC", "ACB"}, {"yesterday", "CBA", "ABC"}};
    for (const Row& row : table) {
        fake::putFile(kHistory,
                      "T\tK1\tA\t\t1\t5\t0\t2026/12/02 10:00:00\tRA\tra\t.\r\n"
                      "T\tK2\tB\t\t3\t9\t0\t2026/12/03 10:00:00\tRA\tra\t.\r\n"
                      "T\tK3\tC\t\t2\t7\t0\t" +
                          row.third + "\tRA\tra\t.\r\n");
        ASSERT_EQ(openHistoryView(nullptr, 0), FileRead::Read);
        EXPECT_EQ(rows(), row.newestFirst) << row.third;
        sortHistoryView(2, false, nullptr);
        EXPECT_EQ(rows(), "ACB") << "by the number of plays";
        sortHistoryView(1, false, nullptr);
        EXPECT_EQ(rows(), row.oldestFirst) << row.third;
    }
    closeHistoryView();
}

TEST_F(PluginTest, aLaunchThatStartsIsRecordedAndItsSessionEndsWithItsTimeOrCutShort) {
    initPlugin(nullptr, 0, 0, 0, 0, kDir.c_str());
    copyText(state().systemName, "N64");
    fake::putFile("C:\\Host\\caches\\N64.cache", "C:\\R\\a.z64;a.z64;a;b;K1;clean;\n");
    EmulatorEntry& e = state().emulators[state().emulatorCount++];
    copyText(e.name, "PJ64\tx");
    copyText(e.exePath, "C:\\Emu\\pj64.exe");
    HostChain chain;
    chain.add({"K1", "Mario", "pub", "src", "sram", "mario"});
    fake::state().answerOk = false;
    launchEmulator(0, chain.first(), true);
    fake::state().failStart = true;
    launchEmulator(0, chain.first());
    EXPECT_FALSE(fake::hasFile(kHistory)) << "a cancelled preview and a failed start: nothing";
    fake::state().failStart = false;
    fake::state().holds.insert(kHistory);  // a compaction elsewhere, or a lock that cannot be made
    launchEmulator(0, chain.first());
    launchEmulator(0, chain.first());
    ASSERT_EQ(fake::state().sessions.size(), 2u);
    fake::endSession(0, 2500);
    closePlugin();
    // Ids are the start's time and the started process's id: unique across hosts.
    std::string text = fake::fileBytes(kHistory), ids[2];
    for (int i = 0, at = 0; i < 2; ++i) {
        at = int(text.find("\r\nS\t", size_t(at))) + 4;
        ids[i] = text.substr(size_t(at), text.find('\t', size_t(at)) - size_t(at));
        EXPECT_EQ(ids[i].rfind("20261207213000-", 0), 0u) << ids[i];
    }
    const std::string start =
        "\t2026/12/07 21:30:00\tK1\tMario\tmario\tPJ64 x\tC:\\Emu\\pj64.exe\t.";
    EXPECT_EQ(text, "\r\nS\t" + ids[0] + start + "\r\nS\t" + ids[1] + start + "\r\nE\t" + ids[0] +
                        "\t2\t0\t.\r\nE\t" + ids[1] + "\t0\t1\t.");
    EXPECT_NE(ids[0], ids[1]);
    EXPECT_EQ(ids[0], "20261207213000-3e9") << "the stamp and the started process's id, in hex";
}

TEST_F(PluginTest, anEndTheWatcherCannotAppendIsToldOnceOnTheHostsThread) {
    initPlugin(nullptr, 0, 0, 0, 0, kDir.c_str());
    copyText(state().systemName, "N64");
    EmulatorEntry& e = state().emulators[state().emulatorCount++];
    copyText(e.name, "PJ64");
    copyText(e.exePath, "C:\\Emu\\pj64.exe");
    HostChain chain;
    chain.add({"K1", "Mario", "pub", "src", "sram", "mario"});
    auto& s = fake::state();
    for (size_t told : {0u, 1u, 1u}) {
        launchEmulator(0, chain.first());
        EXPECT_EQ(s.messages.size(), told) << "told at the next launch, once";
        s.failAppend = true;
        fake::endSession(0, 1000);  // the watcher's end, on its own thread in the plug-in
        s.failAppend = false;
    }
    ASSERT_EQ(s.messages.size(), 1u);
    EXPECT_NE(s.messages[0].find("保存できませんでした\r\n" + kHistory), std::string::npos);
    closePlugin();
}

TEST_F(PluginTest, theTabKeepsEachRowsGameStarAndEmulatorThroughSortsAndDeletions) {
    initPlugin(nullptr, 0, 0, 0, 0, kDir.c_str());
    copyText(state().systemName, "N64");
    context->emulatorCount = 1;
    copyText(context->emulators[0].name, "RA");
    copyText(context->emulators[0].exePath, "C:\\other.exe");
    fake::putFile(kHistory,
                  "T\tK1\tX\t\t3\t30\t0\t2026/12/01 10:00:00\tRA\tra\t.\r\n"
                  "T\tK2\tY\t\t1\t100\t0\t2026/12/03 10:00:00\tRA\tra\t.\r\n"
                  "T\tK3\tZ\t\t1\t50\t0\t2026/12/02 10:00:00\tRA\tra\t.\r\n");
    FavoriteEntry favorite{};
    copyText(favorite.crc32, "K1");
    ASSERT_EQ(openHistoryView(&favorite, 1), FileRead::Read);
    sortHistoryView(3, false, nullptr);
    EXPECT_STREQ(historyGame(0)->name, "X") << "3 plays of 10 s before 1 play of 100 s";
    EXPECT_STREQ(historyColumnText(0, 0), "★X") << "the first favourite's star follows its game";
    EXPECT_STREQ(historyColumnText(1, 0), "Z");
    EXPECT_EQ(lastEmulatorIndex(*historyGame(0)), -1) << "the same name with another program";
    sortHistoryView(1, true, nullptr);
    fake::putFile(kHistory, fake::fileBytes(kHistory) +
                                "\r\nS\t9\t2026/12/04 10:00:00\tK4\tW\t\tRA\tra\t.");  // meanwhile
    fake::state().meanwhile = [] {  // an append that did not wait for the deletion's hold
        fake::putFile(kHistory, fake::fileBytes(kHistory) +
                                    "\r\nS\t10\t2026/12/05 10:00:00\tK5\tV\t\tRA\tra\t.");
    };
    int32_t last = 2;  // X, the file's first game
    ASSERT_TRUE(deleteHistoryRows(&last, 1));
    EXPECT_EQ(std::string(historyGame(0)->name) + historyGame(1)->name, "YZ") << "X deleted";
    closeHistoryView();
    ASSERT_EQ(openHistoryView(nullptr, 0), FileRead::Read);
    EXPECT_EQ(historyView.count, 4) << "plays appended after the opening and during the deletion";
    EXPECT_STREQ(historyGame(0)->name, "V");
    closeHistoryView();
}

// Past 1 MB the opening compacts the file, only when every game was read and that halves it.
TEST_F(PluginTest, aLongHistoryIsCompactedOnlyWhenEveryGameWasReadAndThatHalvesIt) {
    initPlugin(nullptr, 0, 0, 0, 0, kDir.c_str());
    copyText(state().systemName, "N64");
    auto plays = [](int games, int each) {
        std::string text;
        for (int play = 0; play < each; ++play)
            for (int game = 0; game < games; ++game)
                text += "\r\nS\t" + std::to_string(play) + "-" + std::to_string(game) +
                        "\t2026/12/01 10:00:00\tK" + std::to_string(game) +
                        "\tSome game with a name long enough to fill a "
                        "line\t\tRA\tC:\\Emu\\ra.exe\t.\r\nE\t" +
                        std::to_string(play) + "-" + std::to_string(game) + "\t60\t0\t.";
        return text;
    };
    struct Row {
        const char* what;
        std::string text;
        bool compacted;
    } rows[] = {
        {"two plays of each of 6,000 games", plays(6000, 2), true},
        {"10,001 games: the last could not be read", plays(10001, 2), false},
        {"one play of each of 9,000 games: compacted, it stays long", plays(9000, 1), false},
    };
    for (const Row& row : rows) {
        fake::putFile(kHistory, row.text);
        ASSERT_EQ(openHistoryView(nullptr, 0), FileRead::Read);
        closeHistoryView();
        EXPECT_EQ(fake::fileBytes(kHistory) != row.text, row.compacted) << row.what;
    }
}
