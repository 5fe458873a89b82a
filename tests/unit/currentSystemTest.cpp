#include "plugin/currentSystem.h"
#include "pluginFixture.h"
#include "registry/emulatorListFile.h"

using namespace lb;

namespace {

class CurrentSystemTest : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        initPlugin(nullptr, 0, 0, 0, 0, "C:\\lb\\");
    }
    void window(const std::string& className, bool visible, int width, const std::string& text) {
        fake::state().windows.push_back({className, visible, width, text});
    }
};

}  // namespace

TEST_F(CurrentSystemTest, theWidestVisibleTComboBoxNamesTheSystem) {
    window("TComboBox", true, 120, "Small");
    window("TComboBox", false, 900, "Hidden");
    window("TComboBoxEx", true, 800, "Prefix only");
    window("tcombobox", true, 800, "Letter case");
    window("TEdit", true, 1000, "Other class");
    window("TComboBox", true, 300, "Nintendo 64");
    window("TComboBox", true, 300, "Same width, found later");
    refreshCurrentSystem();
    EXPECT_STREQ(state().systemName, "Nintendo 64");
}

TEST_F(CurrentSystemTest, onlyTheFirstTenCandidatesCountAndAWidthOfZeroIsNeverChosen) {
    for (int i = 0; i < 10; ++i) window("TComboBox", true, 10 + i, "C" + std::to_string(i));
    window("TComboBox", true, 500, "Eleventh");
    refreshCurrentSystem();
    EXPECT_STREQ(state().systemName, "C9");

    fake::state().windows.clear();
    window("TComboBox", true, 0, "Zero width");
    refreshCurrentSystem();
    EXPECT_STREQ(state().systemName, "C9") << "nothing qualifies: the name stays";
}

TEST_F(CurrentSystemTest, aComboBoxTextOf300BytesGivesItsFirst259) {
    window("TComboBox", true, 100, std::string(300, 's'));
    refreshCurrentSystem();
    EXPECT_EQ(std::string(state().systemName), std::string(259, 's'));
}

TEST_F(CurrentSystemTest, aSystemWithoutAListFileHasNoEmulatorsRightAfterAnotherSystemsList) {
    EmulatorEntry entries[kMaxEmulators] = {};
    copyText(entries[0].name, "Project64");
    ASSERT_TRUE(writeEmulatorListFile("C:\\lb\\Nintendo 64.emu", 1, entries));
    copyText(state().systemName, "Nintendo 64");
    loadEmulatorList(false);
    EXPECT_EQ(state().emulatorCount, 1);
    copyText(state().systemName, "Lynx");
    loadEmulatorList(false);
    EXPECT_EQ(state().emulatorCount, 0);
}
