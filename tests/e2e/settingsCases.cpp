// The main menu and the emulator settings and edit dialogs against the real DLL, played by a
// driver thread that reads the dialogs and message boxes and presses their buttons.
#include <cstring>

#include "dialogDriver.h"
#include "resource.h"
#include "session.h"

using namespace host;

namespace {

const std::string kSettingsTitle = "エミュレータ設定(Launchboard)";
const std::string kAddTitle = "エミュレータ追加(Launchboard)";

// The programs the cases' emulators name, so the list shows their names without a mark.
void installPrograms() {
    for (const char* program : {"C:\\a.exe", "C:\\b.exe", "C:\\p.exe", "C:\\h.exe"})
        writeFile(program, "");
}

// Emulators whose programs exist, so the list shows their names without a mark.
std::vector<EmulatorRecord> numbered(int count, const std::string& prefix) {
    std::vector<EmulatorRecord> list;
    for (int i = 0; i < count; ++i) {
        std::string exe = workDir + prefix + std::to_string(i) + ".exe";
        writeFile(exe, "");
        list.push_back(emulator(prefix + std::to_string(i), exe, 0));
    }
    return list;
}

}  // namespace

HOST_CASE(mainMenuOkRewritesTheListAndCancelDropsEveryChange) {
    installPrograms();
    Session s("settingsOkCancel");
    const char* menu = s.plugin.inMenu();
    std::string expected = std::string("エミュレータ設定") + '\0' + "お気に入り表示" + '\0' + '\0';
    CHECK(menu != nullptr && std::memcmp(menu, expected.data(), expected.size()) == 0,
          "inMenu: the two items, then a double NUL");

    std::string emu = s.dataDir + s.system + ".emu";
    s.writeEmulators({emulator("Alpha", "C:\\a.exe", 0), emulator("Beta", "C:\\b.exe", 0)});
    std::string before = readFile(emu);
    ageFile(emu);
    int result = onMenuDialog(s.plugin, 0, kSettingsTitle, [&](HWND dialog) {
        CHECK_EQ(joined(listRows(dialog, IDC_EMULATOR_LIST)), std::string("Alpha | Beta"), "rows");
        clickNow(dialog, IDOK);
    });
    CHECK_EQ(result, 1, "OK ends the dialog with 1");
    CHECK(rewritten(emu), "OK without a change still writes the list file");
    CHECK_EQ(readFile(emu), before, "the rewritten list file, 16,084 bytes");

    ageFile(emu);
    result = onMenuDialog(s.plugin, 0, kSettingsTitle, [&](HWND dialog) {
        clickLater(dialog, IDC_DELETE_ALL);
        Answered box = answerMessageBox(IDOK);
        CHECK_EQ(box.text, std::string("エミュレータをリストから全て削除しますか"),
                 "delete all asks");
        CHECK_EQ(box.caption, std::string("削除確認"), "its caption");
        CHECK_EQ(int(listRows(dialog, IDC_EMULATOR_LIST).size()), 0, "rows after delete all");
        clickNow(dialog, IDCANCEL);
    });
    CHECK_EQ(result, 2, "Cancel ends the dialog with 2");
    CHECK(!rewritten(emu), "Cancel writes nothing");
    CHECK_EQ(readFile(emu), before, "the list file after Cancel");
}

HOST_CASE(theSettingsDialogOpensTheListOfTheSystemShownAtTheClick) {
    installPrograms();
    Session s("settingsSystem");
    s.writeEmulators({emulator("Project64", "C:\\p.exe", 0)});
    writeFile(s.dataDir + "Lynx.emu", emulatorListFile({emulator("Handy", "C:\\h.exe", 0)}));
    SetWindowTextA(s.window.combos[0], "Lynx");
    std::string rows;
    onMenuDialog(s.plugin, 0, kSettingsTitle, [&](HWND dialog) {
        rows = joined(listRows(dialog, IDC_EMULATOR_LIST));
        clickNow(dialog, IDCANCEL);
    });
    CHECK_EQ(rows, std::string("Handy"), "the Lynx list");
}

HOST_CASE(theTwentyLimitMissingCopyDeletionQuestionAndPasteIntoAnotherSystem) {
    installPrograms();
    Session s("settingsLimits");
    s.writeEmulators(numbered(20, "emu"));
    onMenuDialog(s.plugin, 0, kSettingsTitle, [&](HWND dialog) {
        clickLater(dialog, IDC_ADD);
        Answered box = answerMessageBox();
        CHECK_EQ(box.text, std::string("エミュレータは20ケ以上登録できません"), "Add with 20");
        CHECK(box.errorIcon, "the limit shows the error icon");
        clickLater(dialog, IDC_PASTE);
        box = answerMessageBox();
        CHECK_EQ(box.text, std::string("コピーされていません"), "Paste without Copy.dat");
        CHECK(box.warningIcon, "a missing copy shows the warning icon");
        selectRows(dialog, IDC_EMULATOR_LIST, {1, 3, 5}, 3);
        clickLater(dialog, IDC_DELETE);
        box = answerMessageBox(IDCANCEL);
        CHECK_EQ(box.text, std::string("3ケのエミュレータをリストから全て削除しますか"), "Delete");
        CHECK_EQ(box.caption, std::string("削除確認"), "Delete's caption");
        CHECK_EQ(int(listRows(dialog, IDC_EMULATOR_LIST).size()), 20, "Cancel deletes nothing");
        clickNow(dialog, IDC_COPY);
        clickNow(dialog, IDCANCEL);
    });
    std::string copy = readFile(s.dataDir + "Copy.dat");
    CHECK_EQ(copy.size(), size_t(16084), "Copy.dat");
    CHECK_EQ(int32At(copy, 0), 3, "three entries copied");

    writeFile(s.dataDir + "Lynx.emu", emulatorListFile({emulator("emu3", "C:\\h.exe", 0)}));
    SetWindowTextA(s.window.combos[0], "Lynx");
    int result = onMenuDialog(s.plugin, 0, kSettingsTitle, [&](HWND dialog) {
        clickNow(dialog, IDC_PASTE);
        CHECK_EQ(joined(listRows(dialog, IDC_EMULATOR_LIST)), std::string("emu3 | emu1 | emu5"),
                 "the copy appended, emu3 skipped as a duplicate name");
        clickNow(dialog, IDOK);
    });
    CHECK_EQ(result, 1, "OK");
    CHECK_EQ(int32At(readFile(s.dataDir + "Lynx.emu"), 0), 3, "Lynx.emu count");
}

HOST_CASE(anEmulatorAddedThroughTheEditDialogIsCheckedInOrderAndSaved) {
    Session s("settingsAdd");
    std::string alpha = s.installStub("Alpha"), beta = s.installStub("Beta");
    s.writeEmulators({emulator("Alpha", alpha, 0)});
    std::string folder = s.root + "roms\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    onMenuDialog(s.plugin, 0, kSettingsTitle, [&](HWND settings) {
        clickLater(settings, IDC_ADD);
        HWND edit = waitForDialog(kAddTitle);
        if (edit == nullptr) return;
        CHECK_EQ(controlText(edit, IDC_FOLDER), s.dataDir + "temp\\", "a new entry's folder");
        CHECK_EQ(comboRow(edit, IDC_KIND), 0, "kind of a Nintendo 64 list");
        CHECK_EQ(controlText(edit, IDC_KEY_WAIT), std::string("200ミリ秒"), "key wait");
        CHECK_EQ(controlText(edit, IDC_BROWSE_WAIT), std::string("2000ミリ秒"), "browse wait");
        CHECK(!isChecked(edit, IDC_EXTRACT) && isChecked(edit, IDC_QUOTE) &&
                  !isChecked(edit, IDC_SHORT_PATH),
              "only the quote box is checked");
        CHECK(!isEnabled(edit, IDC_FOLDER) && !isEnabled(edit, IDC_KEY_WAIT),
              "Standard's controls");

        struct Step {
            const char *name, *exe, *folder;
            bool extract;
            std::string message;
        } steps[] = {
            {"", "", "", false, "エミュレータ名が未入力です"},
            {"Alpha", "", "", false, "エミュレータ名が重複します"},
            {"Beta", "C:\\nowhere.exe", "", false, "エミュレータのファイルパスが存在しません"},
            {"Beta", alpha.c_str(), "", false, "エミュレータのファイルパスが重複します"},
            {"Beta", beta.c_str(), "C:\\nowhere\\", true, "解凍先のフォルダパスが存在しません"},
        };
        for (const Step& step : steps) {
            typeText(edit, IDC_NAME, step.name);
            typeText(edit, IDC_EXE, step.exe);
            typeText(edit, IDC_FOLDER, step.folder);
            if (isChecked(edit, IDC_EXTRACT) != step.extract) clickCheckBox(edit, IDC_EXTRACT);
            clickLater(edit, IDOK);
            Answered box = answerMessageBox();
            CHECK_EQ(box.text, step.message, "the check that fails first");
            CHECK(box.warningIcon, "input errors show the warning icon");
        }
        CHECK(isEnabled(edit, IDC_FOLDER), "the folder box follows the checked extract box");
        chooseComboRow(edit, IDC_KIND, 1);
        CHECK(isEnabled(edit, IDC_KEY_WAIT) && !isEnabled(edit, IDC_QUOTE),
              "1964 / Project Tempest enables the waits and disables the quote box");
        chooseComboRow(edit, IDC_KEY_WAIT, 4);
        typeText(edit, IDC_FOLDER, folder);
        clickNow(edit, IDOK);
        CHECK(waitUntilClosed(edit), "OK closes the edit dialog");
        CHECK_EQ(joined(listRows(settings, IDC_EMULATOR_LIST)), std::string("Alpha | Beta"),
                 "rows");
        clickNow(settings, IDOK);
    });
    std::string file = readFile(s.dataDir + s.system + ".emu");
    CHECK_EQ(int32At(file, 0), 2, "count");
    EmulatorRecord added{};
    if (file.size() == 16084) std::memcpy(&added, file.data() + 4 + 804, sizeof added);
    CHECK_EQ(std::string(added.name), std::string("Beta"), "name");
    CHECK_EQ(std::string(added.exePath), beta, "exePath");
    CHECK_EQ(std::string(added.extractDir), folder, "extractDir");
    CHECK_EQ(added.kind, 1, "kind");
    CHECK_EQ(added.keyWaitIndex * 10 + added.browseWaitIndex, 42, "wait indexes 4 and 2");
    CHECK_EQ(added.extractArchive * 100 + added.quotePath * 10 + added.shortPath, 110,
             "extract 1, quote 1 (kept though disabled), short 0");
}

HOST_CASE(theBrowseButtonsTakeTheNameFromTheExecutableAndOneFinalBackslash) {
    Session s("settingsBrowse");
    std::string exe = s.installStub("Emus\\fast.emu");
    std::string picked = s.root + "ソ";  // ends in the trail byte 0x5C
    CreateDirectoryA(picked.c_str(), nullptr);
    std::string nameSeen, exeSeen, folderSeen;
    onMenuDialog(s.plugin, 0, kSettingsTitle, [&](HWND settings) {
        clickLater(settings, IDC_ADD);
        HWND edit = waitForDialog(kAddTitle);
        if (edit == nullptr) return;
        if (!pickFile(edit, IDC_EXE_BROWSE, "エミュレータ選択", exe)) return;
        waitUntil([&] { return controlText(edit, IDC_EXE) == exe; });
        nameSeen = controlText(edit, IDC_NAME);
        exeSeen = controlText(edit, IDC_EXE);
        clickCheckBox(edit, IDC_EXTRACT);
        typeText(edit, IDC_FOLDER, picked);
        clickLater(edit, IDC_FOLDER_BROWSE);
        HWND browser = waitForDialog("解凍先のフォルダ選択");
        if (browser == nullptr) return;
        clickLater(browser, IDOK);  // the folder the box named is preselected
        waitUntilClosed(browser);
        waitUntil([&] { return controlText(edit, IDC_FOLDER) == picked + "\\"; });
        folderSeen = controlText(edit, IDC_FOLDER);
        clickNow(edit, IDCANCEL);
        clickNow(settings, IDCANCEL);
    });
    CHECK_EQ(nameSeen, std::string("stub"), "the name is the file name without its extension");
    CHECK_EQ(exeSeen, exe, "the picked executable");
    CHECK_EQ(folderSeen, picked + "\\", "the picked folder with one final backslash");
    s.restart();
    std::string settings = readFile(s.dataDir + "Setting.dat");
    CHECK_EQ(std::string(settings.c_str()), exe,
             "lastExePath kept though both dialogs were cancelled");
    CHECK_EQ(std::string(settings.c_str() + 260), picked + "\\", "lastExtractDir");
}

HOST_CASE(theSettingsListMarksOnlyAMissingProgramAndSavesTheNamesAsTheyAre) {
    Session s("missingMark");
    std::string here = s.installStub("Here");
    s.writeEmulators({emulator("Here", here, 0), emulator("Gone", s.root + "gone.exe", 0)});
    onMenuDialog(s.plugin, 0, kSettingsTitle, [&](HWND dialog) {
        CHECK_EQ(
            joined(listRows(dialog, IDC_EMULATOR_LIST)),
            std::string("Here | Gone (\x8c\xa9\x82\xc2\x82\xa9\x82\xe8\x82\xdc\x82\xb9\x82\xf1)"),
            "only the missing program is marked");
        clickNow(dialog, IDOK);
    });
    std::string file = readFile(s.dataDir + s.system + ".emu");
    CHECK_EQ(std::string(file.size() == 16084 ? file.c_str() + 4 + 804 : ""), std::string("Gone"),
             "OK saves the name as it is");
}
