#include "plugin/popupMenu.h"
#include "pluginFixture.h"
#include "registry/emulatorListFile.h"

using namespace lb;

namespace {

// The texts of an item list, up to its closing double NUL.
std::vector<std::string> items(const char* list) {
    std::vector<std::string> texts;
    for (const char* p = list; p != nullptr && *p != '\0'; p += std::strlen(p) + 1)
        texts.push_back(p);
    return texts;
}

class PopupTest : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        initPlugin(nullptr, 0, 0, 0, 0, "C:\\lb\\");
        fake::state().windows.push_back({"TComboBox", true, 200, "Nintendo 64"});
    }
    void registerEmulators(const std::vector<std::string>& names) {
        EmulatorEntry entries[kMaxEmulators] = {};
        for (size_t i = 0; i < names.size(); ++i) copyText(entries[i].name, names[i].c_str());
        writeEmulatorListFile("C:\\lb\\Nintendo 64.emu", int32_t(names.size()), entries);
    }
};

const std::string kAdd = "お気に入りに追加", kRemove = "お気に入りから削除";

}  // namespace

TEST_F(PopupTest, theListHoldsTheEmulatorsASeparatorAndTheTwoFavoritesItems) {
    EXPECT_EQ(items(inPopupMenuHave()), (std::vector<std::string>{kAdd, kRemove}));
    registerEmulators({"Project64", "Mupen", "1964"});
    EXPECT_EQ(items(inPopupMenuHave()),
              (std::vector<std::string>{"Project64", "Mupen", "1964", "-", kAdd, kRemove}));
    EXPECT_STREQ(state().systemName, "Nintendo 64");
}

TEST_F(PopupTest, arcadeListsAreAnsweredOnlyByInPopupMenu) {
    struct Row {
        const char* listName;
        bool arcade;
    } rows[] = {{"", false}, {"Arcade (MAME)", true}, {"Arcade (mame)", false}, {"(MAME)", true}};
    for (const auto& row : rows) {
        isCompatible(row.listName);
        EXPECT_EQ(inPopupMenu() != nullptr, row.arcade) << row.listName;
        EXPECT_EQ(inPopupMenuHave() != nullptr, !row.arcade) << row.listName;
    }
}

TEST_F(PopupTest, namesThatDoNotFitLeaveALeadingPartOfTheList) {
    std::vector<std::string> names;
    for (int i = 0; i < 20; ++i) names.push_back(std::string(150, char('a' + i)));
    registerEmulators(names);
    auto shown = items(inPopupMenuHave());
    ASSERT_EQ(shown.size(), 13u) << "13 names of 151 bytes fit in 2000, the 14th does not";
    for (size_t i = 0; i < shown.size(); ++i) EXPECT_EQ(shown[i], names[i]);
}

TEST(ItemList, anEmptyTextKeepsTheIndicesOfTheItemsAfterIt) {
    char buffer[32];
    ItemList list = beginItemList(buffer, sizeof buffer);
    appendMenuItem(list, "a");
    appendMenuItem(list, "");
    appendMenuItem(list, "c");
    EXPECT_EQ(items(buffer), (std::vector<std::string>{"a", " ", "c"}));
    appendMenuItem(list, std::string(30, 'x').c_str());
    appendMenuItem(list, "d");
    EXPECT_EQ(items(buffer).size(), 3u) << "once an item is left out, so are all later ones";
}

TEST(PopupClick, eachIndexDoesWhatItsItemSays) {
    using A = PopupAction;
    struct Row {
        int32_t emulators, index;
        A action;
    } rows[] = {
        {0, 0, A::AddFavorites},    {0, 1, A::RemoveFavorites},
        {0, 2, A::Nothing},         {0, -1, A::Nothing},
        {3, 0, A::Launch},          {3, 2, A::Launch},
        {3, 3, A::Nothing},         {3, 4, A::AddFavorites},
        {3, 5, A::RemoveFavorites}, {3, 6, A::Nothing},
        {3, -1, A::Nothing},        {20, 19, A::Launch},
        {20, 21, A::AddFavorites},  {20, 22, A::RemoveFavorites},
        {3, INT32_MIN, A::Nothing},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(popupAction(row.index, row.emulators), row.action)
            << row.emulators << " emulators, index " << row.index;
    }
}
