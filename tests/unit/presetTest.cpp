// The known emulators: the built-in rows, the user's file over them, and the file-name patterns.
#include <set>

#include "launcher/templateExpansion.h"
#include "pluginFixture.h"
#include "registry/emulatorEntry.h"
#include "registry/emulatorPresets.h"

using namespace lb;

namespace {

const std::string kDir = "C:\\Host\\LaunchboardData0001\\";

class PresetTest : public PluginTest {
protected:
    void SetUp() override {
        PluginTest::SetUp();
        initPlugin(nullptr, 0, 0, 0, 0, kDir.c_str());
    }
    static inline PresetTable table;
    PresetSkip skip{};
    const EmulatorPreset* find(const char* name) {
        for (int32_t i = 0; i < table.count; ++i)
            if (std::string(table.rows[i].name) == name) return &table.rows[i];
        return nullptr;
    }
};

}  // namespace

TEST_F(PresetTest, everyBuiltInRowReadsAndExpandsWithoutARefusalForASampleRom) {
    ASSERT_EQ(loadPresets(table, skip), FileRead::Missing);
    EXPECT_EQ(skip.line, 0) << skip.reason;
    EXPECT_GE(table.count, 44);
    std::set<std::string> names;
    for (int32_t i = 0; i < table.count; ++i) {
        const EmulatorPreset& p = table.rows[i];
        EXPECT_TRUE(names.insert(p.name).second) << "a name twice: " << p.name;
        char sample[kSampleSize];
        sampleArguments(sample, p.args, p.kind, p.quotePath != 0, "C:\\Emu\\emu.exe");
        EXPECT_EQ(std::string(sample).find("コマンドライン"), std::string::npos)
            << p.name << ": " << sample;
        bool usesArguments = p.kind == Standard || p.kind == MameModel2;
        EXPECT_EQ(p.args[0] != '\0', usesArguments) << p.name;
    }
    int32_t rows[kMaxPresets];
    EXPECT_EQ(matchingPresets(table, "D:\\RA\\RetroArch.EXE", rows, kMaxPresets), 34)
        << "one row per RetroArch core";
    EXPECT_STREQ(find("RetroArch: Snes9x (スーパーファミコン)")->args,
                 "-L cores\\snes9x_libretro.dll %ROM%");
    EXPECT_STREQ(find("MAME (アーケード、セット名)")->args, "-rompath \"%GAMEDIR%;roms\" %SET%");
}

TEST_F(PresetTest, theUsersFileReplacesRowsOfItsNamesAndItsFirstDamagedRowIsNamedByLine) {
    fake::putFile(
        kDir + "Presets.txt",
        "; mine\r\nname=RetroArch: Snes9x (スーパーファミコン)\r\nexe=retroarch.exe\r\n"
        "kind=0\r\nargs=-L cores\\snes9x2010_libretro.dll %ROM%\r\n\r\n"
        "name=Mine\r\nexe=mine*.exe\r\nkind=9\r\n\r\n"
        "name=Other\r\nexe=other.exe\r\nkind=1\r\nwaits=4 0\r\noptions=extract\r\n\r\n"
        "name=Keys\r\nexe=keys.exe\r\nkind=2\r\n\r\nname=Five\r\nexe=5.exe\r\nkind=5\r\n");
    ASSERT_EQ(loadPresets(table, skip), FileRead::Read);
    EXPECT_STREQ(find("RetroArch: Snes9x (スーパーファミコン)")->args,
                 "-L cores\\snes9x2010_libretro.dll %ROM%");
    EXPECT_EQ(find("Mine"), nullptr);
    ASSERT_NE(find("Other"), nullptr);
    EXPECT_EQ(find("Other")->keyWaitIndex, 4);
    EXPECT_EQ(find("Other")->extractArchive, 1);
    EXPECT_EQ(find("Keys")->keyWaitIndex + find("Keys")->browseWaitIndex, 4) << "waits of 2";
    EXPECT_EQ(find("Five"), nullptr) << "kind=5 is no kind";
    int32_t named = 0;
    for (int32_t i = 0; i < table.count; ++i)
        named += std::string(table.rows[i].name) == "RetroArch: Snes9x (スーパーファミコン)";
    EXPECT_EQ(named, 1) << "a row of a built-in name replaces it";
    EmulatorEntry typed{};
    copyText(typed.name, "My name");
    applyPreset(*find("Other"), typed);
    EXPECT_STREQ(typed.name, "My name") << "a name the user typed stays";
    char text[kTextSize * 2];
    presetSkipText(text, skip);
    EXPECT_STREQ(text, "Presets.txt の9行目を読み飛ばしました（kind= は 0 から 4 の数です）");

    std::string many;
    for (int i = 0; i < 200; ++i)
        many += "name=Row " + std::to_string(i) + "\r\nexe=r.exe\r\nkind=0\r\n\r\n";
    fake::putFile(kDir + "Presets.txt", many);
    ASSERT_EQ(loadPresets(table, skip), FileRead::Read);
    EXPECT_EQ(table.count, kMaxPresets);
    EXPECT_STREQ(skip.reason, "候補が多すぎます");

    fake::state().unreadable.insert(kDir + "Presets.txt");
    EXPECT_EQ(loadPresets(table, skip), FileRead::Unreadable);
    EXPECT_STREQ(find("RetroArch: Snes9x (スーパーファミコン)")->args,
                 "-L cores\\snes9x_libretro.dll %ROM%")
        << "the built-in rows still work";
}

TEST(PresetPatterns, matchTheFileNameByWholeCharactersWithoutCase) {
    struct Row {
        const char* patterns;
        const char* exePath;
        bool matches;
    } rows[] = {
        {"duckstation*.exe", "C:\\Emu\\DuckStation-qt-x64-ReleaseLTCG.exe", true},
        {"duckstation*.exe", "C:\\Emu\\duckstation.exe.bak", false},
        {"retroarch.exe", "D:\\retroarch.exe\\emu.exe", false},
        {"pt.exe;ProjectTempest*.exe", "C:\\PT\\projecttempest0.95.exe", true},
        {"*a*", "C:\\\x83\x41.exe", false},  // ア's trail byte is the code of "A"
        {"ア*", "C:\\アイ.exe", true},
        {"ア*", "C:\\イ.exe", false},
        {"", "C:\\x.exe", false},
    };
    for (const Row& row : rows) {
        EmulatorPreset preset{};
        copyText(preset.patterns, row.patterns);
        EXPECT_EQ(presetMatches(preset, row.exePath), row.matches)
            << row.patterns << " / " << row.exePath;
    }
}
