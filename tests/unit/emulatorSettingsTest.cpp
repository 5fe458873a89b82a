#include "pluginFixture.h"
#include "registry/emulatorEdit.h"
#include "registry/emulatorListFile.h"
#include "registry/workingList.h"

using namespace lb;

namespace {

EmulatorEntry entry(const std::string& name, const std::string& exe = "") {
    EmulatorEntry e{};
    copyText(e.name, name.c_str());
    copyText(e.exePath, (exe.empty() ? "D:\\" + name + ".exe" : exe).c_str());
    return e;
}

// The names of the first `count` entries, joined by blanks.
std::string names(const EmulatorEntry (&list)[kMaxEmulators], int32_t count) {
    std::string all;
    for (int32_t i = 0; i < count; ++i) all += (i ? " " : "") + std::string(list[i].name);
    return all;
}

struct ListOf {
    EmulatorEntry list[kMaxEmulators] = {};
    int32_t count = 0;
    explicit ListOf(const std::vector<std::string>& entries) {
        for (const auto& n : entries) list[count++] = entry(n);
    }
    std::string names() const { return ::names(list, count); }
};

}  // namespace

TEST(WorkingListEdits, movesSwapWithTheNeighbourAndStopAtBothEnds) {
    struct Row {
        int32_t current, step, movedTo;
        const char* after;
    } rows[] = {
        {1, -1, 0, "b a c"}, {0, -1, -1, "a b c"},  {2, +1, -1, "a b c"},
        {1, +1, 2, "a c b"}, {-1, +1, -1, "a b c"}, {7, -1, -1, "a b c"},
    };
    for (const Row& row : rows) {
        ListOf l({"a", "b", "c"});
        EXPECT_EQ(moveEntry(l.list, l.count, row.current, row.step), row.movedTo)
            << "move " << row.current << " by " << row.step;
        EXPECT_EQ(l.names(), row.after) << "move " << row.current << " by " << row.step;
    }
    ListOf one({"a"});
    EXPECT_EQ(moveEntry(one.list, one.count, 0, +1), -1) << "a list of one never moves";
}

TEST(WorkingListEdits, deletingASelectionKeepsTheOrderOfTheRest) {
    ListOf l({"a", "b", "c", "d", "e"});
    int32_t selected[] = {0, 2, 4, 9, -1};  // the last two lie outside the list
    EXPECT_EQ(removeEntries(l.list, l.count, selected, 5), 2);
    EXPECT_EQ(names(l.list, 2), "b d");
    EmulatorEntry copies[kMaxEmulators];
    ListOf source({"a", "b", "c"});
    int32_t picked[] = {2, 0, 5};
    EXPECT_EQ(collectEntries(copies, source.list, source.count, picked, 3), 2);
    EXPECT_EQ(names(copies, 2), "c a") << "copies keep the order they were listed in";
}

TEST(WorkingListEdits, pasteSkipsDuplicatesByNameOrPathAndStopsAtTwenty) {
    ListOf copied({"n1", "n2", "n3", "n4", "n5"});
    std::vector<std::string> eighteen;
    for (int i = 0; i < 18; ++i) eighteen.push_back("e" + std::to_string(i));
    ListOf l(eighteen);
    l.list[0] = entry("e0", "D:\\n1.exe");  // n1's executable is registered under another name
    l.count = pasteEntries(l.list, l.count, copied.list, copied.count);
    EXPECT_EQ(l.count, 20);
    EXPECT_EQ(std::string(l.list[18].name) + " " + l.list[19].name, "n2 n3");

    ListOf twice({"a"});
    copied.list[4] = entry("n2", "D:\\other.exe");  // a name the same paste already appended
    twice.count = pasteEntries(twice.list, twice.count, copied.list, copied.count);
    EXPECT_EQ(twice.names(), "a n1 n2 n3 n4");
    twice.count = pasteEntries(twice.list, twice.count, copied.list, copied.count);
    EXPECT_EQ(twice.names(), "a n1 n2 n3 n4") << "the second paste of one copy adds nothing";
    EXPECT_EQ(pasteEntries(twice.list, 25, copied.list, -3), 20) << "damaged counts are clamped";

    ListOf cores({"c1", "c2", "c3"});  // three cores of one program
    cores.list[1] = entry("c2", "D:\\c1.exe");
    cores.list[2] = entry("c3", "D:\\c1.exe");
    TemplateTable copiedTemplates{}, listTemplates{};
    setTemplate(copiedTemplates, cores.list[0], "-L x.dll %ROM%", cores.list, 3);
    setTemplate(copiedTemplates, cores.list[1], "-L y.dll %ROM%", cores.list, 3);
    setTemplate(copiedTemplates, cores.list[2], "%rom%", cores.list, 3);
    ListOf target({"own"});
    target.list[0] = entry("own", "D:\\c1.exe");  // no template: the ROM alone, as c3's
    target.count = pasteEntries(target.list, target.count, cores.list, cores.count, &listTemplates,
                                &copiedTemplates);
    EXPECT_EQ(target.names(), "own c1 c2") << "by program and template";
}

TEST(EmulatorEdit, theKindOfANewEntryFollowsTheListName) {
    struct Row {
        const char* listName;
        int32_t kind;
    } rows[] = {
        {"Arcade (MAME)", MameModel2},
        {"j64", KeyboardDriven},
        {"Atari Jaguar", KeyboardDriven},
        {"Jaguar CD", KeyboardDriven},
        {"J64", Standard},
        {"jaguar", Standard},
        {"x68k", WinX68Fast},
        {"Sharp X68000", WinX68Fast},
        {"x68000", WinX68Fast},
        {"X68K", Standard},
        {"Jaguar (MAME)", MameModel2},
        {"", Standard},
    };
    for (const Row& row : rows) EXPECT_EQ(kindForListName(row.listName), row.kind) << row.listName;
    EmulatorEntry fresh = newEmulatorEntry("C:\\lb\\temp\\", "Nintendo 64");
    EmulatorEntry expected{};
    copyText(expected.extractDir, "C:\\lb\\temp\\");
    expected.keyWaitIndex = expected.browseWaitIndex = 2;
    expected.quotePath = 1;
    EXPECT_EQ(bytesOf(fresh), bytesOf(expected));
}

TEST(EmulatorEdit, eachKindEnablesItsControlsAndTheFolderFollowsTheExtractBox) {
    // extract, folder (box checked), folder (unchecked), key wait, browse wait, quote, short path
    struct Row {
        int32_t kind;
        bool extract, folderChecked, folderUnchecked, keyWait, browseWait, quote, shortPath;
    } rows[] = {
        {Standard, 1, 1, 0, 0, 0, 1, 1},   {KeyboardDriven, 1, 1, 0, 1, 1, 0, 0},
        {WinX68Fast, 1, 1, 0, 0, 0, 0, 1}, {Xm6, 1, 1, 0, 0, 0, 0, 1},
        {MameModel2, 0, 0, 0, 0, 0, 0, 0}, {-1, 0, 0, 0, 0, 0, 0, 0},
        {5, 0, 0, 0, 0, 0, 0, 0},
    };
    for (const Row& row : rows) {
        EditControlStates on = editControlStates(row.kind, true);
        EditControlStates off = editControlStates(row.kind, false);
        EXPECT_EQ(std::vector<bool>({on.extract, on.folder, off.folder, on.keyWait, on.browseWait,
                                     on.quote, on.shortPath}),
                  std::vector<bool>({row.extract, row.folderChecked, row.folderUnchecked,
                                     row.keyWait, row.browseWait, row.quote, row.shortPath}))
            << "kind " << row.kind;
        EXPECT_EQ(off.extract, row.extract) << "the extract box never depends on its own mark";
    }
    EXPECT_EQ(storedSelection(3, 5, 2), 3);
    EXPECT_EQ(storedSelection(5, 5, 0), 0);
    EXPECT_EQ(storedSelection(-1, 5, 2), 2) << "a combo without a selection stores the default";
}

TEST_F(PluginTest, theInputChecksRunInOrderAndSkipTheEntryBeingEdited) {
    fake::putFile("D:\\a.exe", "");
    fake::putFile("D:\\new.exe", "");
    fake::state().directories = {"D:\\Emus", "D:\\roms\\"};
    ListOf l({"a", "b", "c"});            // executables D:\a.exe (present), D:\b.exe and D:\c.exe
    l.list[2] = entry("c", "D:\\a.exe");  // a second core of a's program
    TemplateTable templates{};
    setTemplate(templates, l.list[2], "-L cores\\x.dll %ROM%", l.list, l.count);
    struct Row {
        int32_t editIndex;
        const char *name, *exe, *folder, *error;
        const char* args = "";
        int32_t kind = Standard;
    } rows[] = {
        {-1, "", "", nullptr, "エミュレータ名が未入力です"},
        {-1, "a", "", nullptr, "エミュレータ名が重複します"},
        {-1, "n", "", nullptr, "エミュレータのファイルパスが存在しません"},
        {-1, "n", "D:\\missing.exe", nullptr, "エミュレータのファイルパスが存在しません"},
        {-1, "n", "D:\\a.exe", nullptr, "エミュレータのファイルパスが重複します"},
        {-1, "n", "D:\\a.exe", "D:\\nowhere\\", "エミュレータのファイルパスが重複します"},
        {-1, "n", "D:\\a.exe", nullptr, "エミュレータのファイルパスが重複します", " %rom% "},
        {-1, "n", "D:\\a.exe", nullptr, "エミュレータのファイルパスが重複します", "-x",
         KeyboardDriven},
        {-1, "n", "D:\\a.exe", nullptr, "エミュレータのファイルパスが重複します",
         "-L cores\\x.dll %ROM%"},
        {-1, "n", "D:\\a.exe", nullptr, nullptr, "-L cores\\y.dll %ROM%"},
        {-1, "n", "D:\\a.exe", nullptr, nullptr, "%SET%"},  // the set name is not the ROM
        {-1, "n", "D:\\a.exe", nullptr, nullptr, "%ROM%", MameModel2},
        {2, "c", "D:\\a.exe", nullptr, nullptr, "-L cores\\x.dll %ROM%"},
        {-1, "n", "D:\\new.exe", "D:\\nowhere\\", "解凍先のフォルダパスが存在しません"},
        {-1, "n", "D:\\new.exe", "", "解凍先のフォルダパスが存在しません"},
        {-1, "n", "D:\\new.exe", "D:\\roms\\", nullptr},
        {-1, "A", "D:\\Emus", nullptr, nullptr},  // case counts; a folder passes as existing
        {0, "a", "D:\\a.exe", nullptr, nullptr},  // its own name and path are no duplicates
        {1, "a", "D:\\new.exe", nullptr, "エミュレータ名が重複します"},
    };
    for (const Row& row : rows) {
        EmulatorEntry typed = entry(row.name, row.exe);
        copyText(typed.exePath, row.exe);
        typed.kind = row.kind;
        const char* error = emulatorInputError(l.list, l.count, row.editIndex, templates, typed,
                                               row.args, row.folder);
        EXPECT_STREQ(error, row.error) << row.name << " " << row.exe << " " << row.args;
    }
    EmulatorEntry e = entry("x");
    copyText(e.extractDir, "D:\\nowhere\\");
    e.extractArchive = 1;
    EXPECT_STREQ(folderToCheck(e), "D:\\nowhere\\");
    e.kind = MameModel2;
    EXPECT_EQ(folderToCheck(e), nullptr) << "arcade emulators extract nothing";
    e.kind = Standard;
    e.extractArchive = 0;
    EXPECT_EQ(folderToCheck(e), nullptr) << "an unchecked box checks no folder";
}

TEST(EmulatorEdit, acceptedEntriesAppendWhileAddingAndReplaceWhileEditing) {
    ListOf l({"a", "b"});
    EXPECT_EQ(storeEditedEntry(l.list, l.count, true, -1, entry("c")), 2);
    EXPECT_EQ(storeEditedEntry(l.list, l.count, false, 0, entry("z")), 0);
    EXPECT_EQ(l.names(), "z b c");
    EXPECT_EQ(storeEditedEntry(l.list, l.count, false, 3, entry("y")), -1);
    l.count = kMaxEmulators;
    EXPECT_EQ(storeEditedEntry(l.list, l.count, true, -1, entry("y")), -1) << "a full list";
}

TEST(EmulatorEdit, picksTakeTheNameAndOneFinalBackslashWalkingCharacters) {
    struct NameRow {
        const char *path, *name;
    } names[] = {
        {"D:\\Emu\\fast.emu.exe", "fast.emu"},
        {"D:\\Emu\\mame.exe", "mame"},
        {"D:\\表\\ソ.exe", "ソ"},
        {"C:run.exe", "run"},
        {"D:\\Emu\\noext", "noext"},
        {"D:\\Emu.d\\noext", "noext"},
        {"D:\\Emu\\x\x95", "x\x95"},  // a lone lead byte at the end is one character
        {"D:/Emu/slash.exe", "slash"},
        {"D:\\Emu.d\\", ""},
    };
    for (const NameRow& row : names) {
        char name[kTextSize] = "old";
        nameFromExePath(name, row.path);
        EXPECT_STREQ(name, row.name) << row.path;
    }
    struct FolderRow {
        const char *picked, *taken;
    } folders[] = {
        {"D:\\roms", "D:\\roms\\"}, {"D:\\", "D:\\"},     {"D:\\ソ", "D:\\ソ\\"},
        {"D:\\表\\", "D:\\表\\"},   {"", "C:\\before\\"},
    };
    for (const FolderRow& row : folders) {
        char target[kTextSize] = "C:\\before\\";
        EXPECT_EQ(takePickedFolder(target, row.picked), row.picked[0] != '\0') << row.picked;
        EXPECT_STREQ(target, row.taken) << row.picked;
    }
    char target[kTextSize] = "C:\\before\\";
    std::string full(259, 'a');
    EXPECT_FALSE(takePickedFolder(target, full.c_str())) << "no room for the backslash";
    EXPECT_STREQ(target, "C:\\before\\");
}

TEST_F(PluginTest, theMainMenuOpensTheDialogOfTheSystemShownAtTheClick) {
    initPlugin(nullptr, 0, 0, 0, 0, "C:\\lb\\");
    const char* text = inMenu();
    std::string expected = std::string("エミュレータ設定") + '\0' + "お気に入り表示" + '\0' + '\0';
    EXPECT_EQ(std::string(text, kTextSize),
              expected + std::string(kTextSize - expected.size(), '\0'));
    fake::state().windows.push_back({"TComboBox", true, 200, "Lynx"});
    EmulatorEntry entries[kMaxEmulators] = {entry("Handy")};
    writeEmulatorListFile("C:\\lb\\Lynx.emu", 1, entries);
    EXPECT_EQ(onMenuClick(0), 1);
    EXPECT_EQ(state().emulatorCount, 1) << "the system's list is loaded before the dialog opens";
    fake::state().windows[0].text = "Jaguar";
    EXPECT_EQ(onMenuClick(7), 1);
    EXPECT_EQ(fake::state().openedDialogs,
              (std::vector<std::string>{"settings Lynx", "favorites Jaguar"}));
    EXPECT_EQ(state().emulatorCount, 0);
}

TEST_F(PluginTest, onlyAnExecutableThatIsCheckedAndGoneIsMarkedInTheList) {
    fake::putFile("D:\\Emu\\here.exe", "");
    fake::state().directories = {"D:\\Emu"};
    fake::state().networkDrives = {"N"};
    struct Row {
        const char* exePath;
        const char* shown;
    } rows[] = {
        {"D:\\Emu\\here.exe", "表示"},
        {"D:\\Emu\\gone.exe", "表示 (見つかりません)"},
        {"", "表示 (見つかりません)"},
        {"D:\\Emu", "表示 (見つかりません)"},          // a folder is no program
        {"\\Emu\\gone.exe", "表示 (見つかりません)"},  // root-relative: checked
        {"\\\\server\\emu\\run.exe", "表示"},          // not checked: could hang
        {"N:\\emu\\run.exe", "表示"},                  // a network drive: not checked
    };
    for (const Row& row : rows) {
        EmulatorEntry e = entry("表示", row.exePath);
        char text[kRowTextSize];
        emulatorRowText(text, e.name, isExecutableMissing(e));
        EXPECT_STREQ(text, row.shown) << row.exePath;
        EXPECT_STREQ(e.name, "表示") << "the stored name never changes";
    }
    char text[kRowTextSize];
    emulatorRowText(text, std::string(259, 'n').c_str(), true);
    EXPECT_EQ(std::strlen(text), 259u + std::strlen(" (見つかりません)"))
        << "a full name keeps its mark";
}
