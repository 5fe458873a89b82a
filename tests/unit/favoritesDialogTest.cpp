#include "core/settingsFile.h"
#include "favorites/favoriteColumns.h"
#include "favorites/favorites.h"
#include "favorites/favoritesWorking.h"
#include "pluginFixture.h"

using namespace lb;

namespace {

FavoriteEntry favorite(const std::string& name, const std::string& publisher = "", int32_t size = 0,
                       const std::string& key = "") {
    FavoriteEntry e{};
    copyText(e.name, name.c_str());
    copyText(e.publisher, publisher.c_str());
    copyText(e.crc32, (key.empty() ? "K" + name : key).c_str());
    copyText(e.comment, ("set" + name).c_str());
    e.size = size;
    return e;
}

std::string namesOf(const FavoriteEntry* entries, int32_t count) {
    std::string all;
    for (int32_t i = 0; i < count; ++i) all += (i ? " " : "") + std::string(entries[i].name);
    return all;
}

class FavoritesDialogTest : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        initPlugin(nullptr, 0, 0, 0, 0, "C:\\lb\\");
        copyText(state().systemName, "Nintendo 64");
    }
    void TearDown() override {
        freeWorkingFavorites();
        PluginTest::TearDown();
    }
    void store(const std::vector<FavoriteEntry>& entries) {
        state().favoriteCount = int32_t(entries.size());
        for (size_t i = 0; i < entries.size(); ++i) state().favorites[i] = entries[i];
    }
    std::string sortedBy(int32_t column, bool descending) {
        state().sortColumn = column;
        if (isFavoriteColumn(column)) state().columnState[column].descending = descending;
        sortWorkingFavorites();
        return namesOf(workingFavorites, workingFavoriteCount);
    }
};

}  // namespace

TEST_F(FavoritesDialogTest, columnsSortByUnsignedBytesWithTheirTieBreakReversedWhenDescending) {
    store({favorite("a", "P2", 10), favorite("B", "P1", 9), favorite("", "P1", 10),
           favorite("ab", "P2", -1), favorite("アB", "P1", 9), favorite("abc", "P2", 9)});
    // The other fields give each column an order of its own, with a tie that only the name
    // breaks the right way (the publisher would break it the other way).
    struct Fields {
        const char *sourceRom, *saveType, *crc32, *comment;
        int32_t number, location, language;
    } fields[] = {
        {"s3", "t2", "K3", "c1", 5, 3, 1}, {"s1", "t4", "K2", "c6", -3, 7, 0},
        {"s5", "t1", "K6", "c4", 7, 1, 2}, {"s2", "t5", "K1", "c5", 0, 5, 4},
        {"s3", "t3", "K3", "c2", 5, 3, 9}, {"s4", "t3", "K4", "c2", 100, 2, 9},
    };
    for (int32_t i = 0; i < 6; ++i) {
        FavoriteEntry& e = state().favorites[i];
        copyText(e.sourceRom, fields[i].sourceRom);
        copyText(e.saveType, fields[i].saveType);
        copyText(e.crc32, fields[i].crc32);
        copyText(e.comment, fields[i].comment);
        e.number = fields[i].number;
        e.location = fields[i].location;
        e.language = fields[i].language;
    }
    ASSERT_TRUE(openWorkingFavorites());
    struct Row {
        int32_t column;
        bool descending;
        const char* order;
    } rows[] = {
        {NameColumn, false, " B a ab abc アB"},  // empty first, "B" before "a", prefixes first
        {NameColumn, true, "アB abc ab a B "},
        {PublisherColumn, false, " B アB a ab abc"},  // ties by name
        {PublisherColumn, true, "abc ab a アB B "},   // the tie-break reverses too
        {SourceRomColumn, false, "B ab a アB abc "},
        {SaveTypeColumn, false, " a abc アB B ab"},
        {Crc32Column, false, "ab B a アB abc "},
        {CommentColumn, false, "a abc アB  ab B"},
        {NumberColumn, false, "B ab a アB  abc"},
        {LocationColumn, false, " abc a アB ab B"},
        {LanguageColumn, false, "B a  ab abc アB"},
        {SizeColumn, false, "ab B abc アB  a"},  // numbers, not texts: -1, 9, 10
        {42, false, "ab B abc アB  a"},          // no such column: nothing moves
        {-1, true, "ab B abc アB  a"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(sortedBy(row.column, row.descending), row.order) << "column " << row.column;
}

TEST_F(FavoritesDialogTest, eachColumnKeepsItsOwnDirectionAcrossHeaderClicks) {
    struct Click {
        int32_t column, sortColumn;
        bool nameDescending, publisherDescending;
    } clicks[] = {
        {PublisherColumn, 1, false, false}, {PublisherColumn, 1, false, true},
        {NameColumn, 0, false, true},       {NameColumn, 0, true, true},
        {PublisherColumn, 1, true, true},   {10, 1, true, true},
    };
    for (const Click& c : clicks) {
        clickFavoriteColumn(c.column);
        EXPECT_EQ(state().sortColumn, c.sortColumn) << "after a click on " << c.column;
        EXPECT_EQ(state().columnState[0].descending != 0, c.nameDescending) << c.column;
        EXPECT_EQ(state().columnState[1].descending != 0, c.publisherDescending) << c.column;
    }
}

TEST_F(FavoritesDialogTest, theFocusedFavoriteIsFoundAtItsNewPlaceAfterAResort) {
    store({favorite("c", "1"), favorite("a", "3"), favorite("b", "2")});
    ASSERT_TRUE(openWorkingFavorites());
    EXPECT_EQ(sortedBy(NameColumn, false), "a b c");
    EXPECT_EQ(rowOfKey("Ka"), 0);
    EXPECT_EQ(sortedBy(PublisherColumn, true), "a b c");
    EXPECT_EQ(sortedBy(PublisherColumn, false), "c b a");
    EXPECT_EQ(rowOfKey("Ka"), 2);
    EXPECT_EQ(rowOfKey("gone"), 0) << "a key no row has selects the first row";
}

TEST(FavoriteColumns, cellTextsAreTheFieldsAndSignedDecimals) {
    FavoriteEntry e = favorite("Mario", "Nintendo");
    copyText(e.saveType, "SRAM");
    e.number = -12;
    e.size = 2147483647;
    e.location = 0;
    e.language = 7;
    const char* expected[] = {"Mario",    "Nintendo", "",           "SRAM", "KMario",
                              "setMario", "-12",      "2147483647", "0",    "7"};
    for (int32_t k = 0; k < kColumnCount; ++k)
        EXPECT_STREQ(favoriteColumnText(e, k), expected[k]) << favoriteColumnNames[k];
    EXPECT_STREQ(favoriteColumnText(e, 99), "7") << "outside 0..9 the shared buffer stays";
}

TEST_F(FavoritesDialogTest, theWorkingCopyCommitsItsShownOrderAndItsDeletions) {
    EXPECT_TRUE(openWorkingFavorites());
    EXPECT_EQ(workingFavorites, nullptr) << "an empty list allocates nothing";
    store({favorite("b"), favorite("a"), favorite("c"), favorite("d")});
    ASSERT_TRUE(openWorkingFavorites());
    sortedBy(NameColumn, true);
    HostRomRecord records[2] = {};
    records[0] = {&records[1], "Ka"};
    records[1] = {nullptr, "Kc"};
    size_t logged = fake::state().log.size();
    removeFavorites(workingFavorites, workingFavoriteCount, records);
    EXPECT_EQ(namesOf(state().favorites, state().favoriteCount), "b a c d")
        << "deletions stay in the working copy until it is committed";
    EXPECT_EQ(fake::state().log.size(), logged) << "a deletion writes no file";
    commitWorkingFavorites();
    EXPECT_EQ(namesOf(state().favorites, state().favoriteCount), "d b");

    fake::state().failAllocation = true;
    EXPECT_FALSE(openWorkingFavorites());
    commitWorkingFavorites();
    EXPECT_EQ(state().favoriteCount, 2) << "without a working copy nothing is committed";
}

TEST_F(FavoritesDialogTest, theSelectionChainCarriesFreshCopiesOfKeySetNameAndName) {
    EXPECT_EQ(buildSelectionChain(nullptr, 0), nullptr);
    store({favorite("a"), favorite("b"), favorite("c")});
    ASSERT_TRUE(openWorkingFavorites());
    int32_t rows[] = {0, 2, 7, -1};
    HostRomRecord* chain = buildSelectionChain(rows, 4);
    ASSERT_EQ(chainLength(chain), 2);
    EXPECT_STREQ(chain->crc32, "Ka");
    EXPECT_STREQ(chain->next->comment, "setc");
    EXPECT_NE(chain->crc32, workingFavorites[0].crc32) << "a copy, not the working entry";
    EXPECT_STREQ(chain->name, "a") << "the Name, for the history";
    EXPECT_EQ(chain->number + chain->size + chain->location + chain->language, 0);
    releaseSelectionChain(chain);
    int32_t none[] = {5};
    EXPECT_EQ(buildSelectionChain(none, 1), nullptr) << "no valid row: no chain, no launch";
}

TEST(FavoritesLayout, controlsFollowTheClientSizeAndStayWhenMinimised) {
    FavoritesLayout l{};
    ASSERT_TRUE(layoutFavorites(600, 500, 90, 21, 16, l));
    auto row = [](const ControlRect& r) {
        return std::vector<int32_t>{r.x, r.y, r.width, r.height};
    };
    EXPECT_EQ(row(l.deleteButton), (std::vector<int32_t>{500, 10, 90, 21}));
    EXPECT_EQ(row(l.deleteAllButton), (std::vector<int32_t>{500, 41, 90, 21}));
    EXPECT_EQ(row(l.closeOnLaunchBox), (std::vector<int32_t>{10, 474, 480, 16}));
    EXPECT_EQ(row(l.okButton), (std::vector<int32_t>{500, 438, 90, 21}));
    EXPECT_EQ(row(l.cancelButton), (std::vector<int32_t>{500, 469, 90, 21}));
    EXPECT_EQ(row(l.list), (std::vector<int32_t>{10, 10, 480, 458}));
    ASSERT_TRUE(layoutFavorites(900, 750, 135, 32, 24, l, 0, 0, 0, 144));  // at 150%
    EXPECT_EQ(row(l.deleteAllButton), (std::vector<int32_t>{750, 62, 135, 32}));
    EXPECT_EQ(row(l.list), (std::vector<int32_t>{15, 15, 720, 687}));
    EXPECT_FALSE(layoutFavorites(0, 500, 90, 21, 42, l));
    EXPECT_FALSE(layoutFavorites(600, 0, 90, 21, 42, l));
}
