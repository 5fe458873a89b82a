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
        {SizeColumn, false, "ab B abc アB  a"},       // numbers, not texts: -1, 9, 10
        {42, false, "ab B abc アB  a"},               // no such column: nothing moves
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

TEST_F(FavoritesDialogTest, theFocusedFavouriteIsFoundAtItsNewPlaceAfterAResort) {
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
    removeFavorites(workingFavorites, workingFavoriteCount, records);
    EXPECT_EQ(namesOf(state().favorites, state().favoriteCount), "b a c d")
        << "deletions stay in the working copy until it is committed";
    commitWorkingFavorites();
    EXPECT_EQ(namesOf(state().favorites, state().favoriteCount), "d b");

    fake::state().failAllocation = true;
    EXPECT_FALSE(openWorkingFavorites());
    commitWorkingFavorites();
    EXPECT_EQ(state().favoriteCount, 2) << "without a working copy nothing is committed";
}

TEST_F(FavoritesDialogTest, theSelectionChainCarriesFreshCopiesOfKeyAndSetNameOnly) {
    EXPECT_EQ(buildSelectionChain(nullptr, 0), nullptr);
    store({favorite("a"), favorite("b"), favorite("c")});
    ASSERT_TRUE(openWorkingFavorites());
    int32_t rows[] = {0, 2, 7, -1};
    HostRomRecord* chain = buildSelectionChain(rows, 4);
    ASSERT_EQ(chainLength(chain), 2);
    EXPECT_STREQ(chain->crc32, "Ka");
    EXPECT_STREQ(chain->next->comment, "setc");
    EXPECT_NE(chain->crc32, workingFavorites[0].crc32) << "a copy, not the working entry";
    EXPECT_EQ(chain->name, nullptr);
    EXPECT_EQ(chain->number + chain->size + chain->location + chain->language, 0);
    releaseSelectionChain(chain);
    int32_t none[] = {5};
    EXPECT_EQ(buildSelectionChain(none, 1), nullptr) << "no valid row: no chain, no launch";
}

TEST(FavoritesLayout, controlsFollowTheClientSizeAndStayWhenMinimised) {
    FavoritesLayout l{};
    ASSERT_TRUE(layoutFavorites(600, 500, 90, 21, 42, l));
    auto row = [](const ControlRect& r) {
        return std::vector<int32_t>{r.x, r.y, r.width, r.height};
    };
    EXPECT_EQ(row(l.deleteButton), (std::vector<int32_t>{500, 10, 90, 21}));
    EXPECT_EQ(row(l.deleteAllButton), (std::vector<int32_t>{500, 41, 90, 21}));
    EXPECT_EQ(row(l.closeOnLaunchBox), (std::vector<int32_t>{500, 72, 90, 42}));
    EXPECT_EQ(row(l.okButton), (std::vector<int32_t>{500, 438, 90, 21}));
    EXPECT_EQ(row(l.cancelButton), (std::vector<int32_t>{500, 469, 90, 21}));
    EXPECT_EQ(row(l.list), (std::vector<int32_t>{10, 10, 480, 480}));
    EXPECT_FALSE(layoutFavorites(0, 500, 90, 21, 42, l));
    EXPECT_FALSE(layoutFavorites(600, 0, 90, 21, 42, l));
}

TEST(FavoritesLayout, aStoredRectangleNobodyCanSeeIsCentredKeepingItsSizeWhenItFits) {
    ScreenRect work{0, 0, 1280, 1000}, current{0, 0, 600, 500};
    struct Row {
        ScreenRect stored;
        bool visible;
        ScreenRect placed;
    } rows[] = {
        {{0, 0, 0, 0}, false, {340, 250, 940, 750}},             // never stored: centred
        {{100, 80, 900, 700}, true, {100, 80, 900, 700}},        // on screen: exactly as stored
        {{3000, 80, 3800, 700}, false, {240, 190, 1040, 810}},   // off screen: centred, its size
        {{-5000, 0, -3000, 1500}, false, {340, 250, 940, 750}},  // too large: the dialog's size
    };
    for (const Row& r : rows) {
        ScreenRect p = favoritesPlacement(r.stored, r.visible, work, current);
        EXPECT_EQ(
            std::vector<int32_t>({p.left, p.top, p.right, p.bottom}),
            std::vector<int32_t>({r.placed.left, r.placed.top, r.placed.right, r.placed.bottom}));
    }
    EXPECT_TRUE(rectanglesMeet({-10, -10, 1, 1}, work));
    EXPECT_FALSE(rectanglesMeet({1280, 0, 1400, 100}, work)) << "touching the edge is not meeting";
}
