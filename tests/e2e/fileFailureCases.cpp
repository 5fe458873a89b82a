// Files that another program holds for a moment, as a backup, sync or virus-scanning program
// does: nothing is lost, the user is told, and once the file is free everything works again.
#include "dialogDriver.h"
#include "resource.h"
#include "session.h"

using namespace host;

namespace {

const std::string kUnreadable = "ファイルを読み込めませんでした\r\n";
const std::string kUnsaved = "保存できませんでした\r\n";

// The file opened by another handle that shares only `share` with the plug-in.
struct Hold {
    HANDLE handle;
    Hold(const std::string& path, DWORD share)
        : handle(
              CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr)) {
        CHECK(handle != INVALID_HANDLE_VALUE, "the file is held: " + path);
    }
    void release() {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
    }
    ~Hold() { release(); }
};

// The message a call shows, answered with OK; empty when it shows none. No window titled
// `absent` may open after it.
Answered toldBy(const std::function<int()>& call, const std::string& absent = "") {
    Answered box;
    int result = runDriven(call, [&] {
        box = answerMessageBox(IDOK, 3000);
        Sleep(300);
        CHECK(absent.empty() || FindWindowA(nullptr, absent.c_str()) == nullptr,
              "no dialog after the message: " + absent);
    });
    CHECK(absent.empty() || result == 2, "the click ends as a cancelled dialog would");
    return box;
}

void checkTold(const Answered& box, const std::string& headline, const std::string& path,
               const std::string& what) {
    CHECK_EQ(box.text.substr(0, headline.size() + path.size() + 2), headline + path + "\r\n",
             what + ": the headline and the file");
    CHECK(box.text.size() > headline.size() + path.size() + 2, what + ": and the system's reason");
    CHECK(box.caption.empty() || box.caption == "エラー", what + ": no caption of its own");
}

}  // namespace

HOST_CASE(aFavoritesFileHeldWithoutReadSharingIsToldAndKeptUntilItIsFree) {
    Session s("heldFavorites");
    s.writeCache({{"K1", s.root + "a.zip", "a.n64"}, {"K2", s.root + "b.zip", "b.n64"}});
    std::string fvr = s.dataDir + s.system + ".fvr";
    writeFile(fvr, favoritesFile(s.system, {favorite("Mario", "K1")}));
    const std::string before = readFile(fvr);
    Chain chain({"K2"});
    Hold hold(fvr, 0);
    s.popupItems();  // no emulators: item 0 adds
    Answered box = toldBy([&] { return s.plugin.onPopupMenuHaveClick(0, chain.first()); });
    checkTold(box, kUnreadable, fvr, "popup add");
    CHECK(box.warningIcon, "the exclamation icon");
    CHECK(readFile(s.dataDir + s.system + ".fvr.tmp").empty(), "no temporary file");
    box = toldBy([&] { return s.plugin.onMenuClick(1); }, favoritesTitle(1));
    checkTold(box, kUnreadable, fvr, "the favourites dialog does not open");
    hold.release();
    CHECK_EQ(readFile(fvr), before, "the file, byte for byte");
    s.popupItems();
    s.plugin.onPopupMenuHaveClick(0, chain.first());
    CHECK_EQ(int(readFile(fvr).size()), 264 + 2 * 1576, "once free, add works");
}

HOST_CASE(anEmulatorListHeldOpenKeepsTheSettingsDialogShutOrItsOkOpenUntilItIsFree) {
    Session s("heldList");
    std::string exe = s.installStub("Emu");
    s.writeEmulators({emulator("Alpha", exe, 0), emulator("Beta", exe, 0)});
    std::string emu = s.dataDir + s.system + ".emu";
    const std::string before = readFile(emu);
    {
        Hold hold(emu, 0);
        Answered box =
            toldBy([&] { return s.plugin.onMenuClick(0); }, "エミュレータ設定(Launchboard)");
        checkTold(box, kUnreadable, emu, "the settings dialog over an unreadable list");
    }
    CHECK_EQ(readFile(emu), before, "the list file, byte for byte");

    int result = onMenuDialog(s.plugin, 0, "エミュレータ設定(Launchboard)", [&](HWND dialog) {
        selectRows(dialog, IDC_EMULATOR_LIST, {0}, 0);
        clickNow(dialog, IDC_MOVE_DOWN);
        Hold hold(emu, FILE_SHARE_READ | FILE_SHARE_WRITE);  // no delete sharing: no replace
        clickLater(dialog, IDOK);
        Answered box = answerMessageBox(IDOK);
        checkTold(box, kUnsaved, emu, "OK over a held list");
        Sleep(200);
        CHECK(IsWindowVisible(dialog), "the dialog stays open");
        CHECK_EQ(joined(listRows(dialog, IDC_EMULATOR_LIST)), std::string("Beta | Alpha"),
                 "with the user's list");
        CHECK_EQ(readFile(emu), before, "the old file stays");
        hold.release();
        clickLater(dialog, IDOK);
        CHECK(waitUntilClosed(dialog), "once free, OK saves and closes");
    });
    CHECK_EQ(result, 1, "ended as OK");
    CHECK_EQ(readFile(emu).substr(4, 5), std::string("Beta\0", 5), "the moved list is saved");
}

HOST_CASE(aFileThatIsNoProgramIsNamedInTheSystemsReasonNeverAsPercentOne) {
    Session s("notAProgram");
    std::string rom = s.root + "mario.n64";
    s.writeCache({{"K1", rom, "mario.n64"}});
    std::string fake = s.root + "readme.exe";
    writeFile(fake, "this is a text, not a program\r\n");
    s.writeEmulators({emulator("Text", fake, 0)});
    s.popupItems();
    Chain chain({"K1"});
    Answered box = toldBy([&] { return s.plugin.onPopupMenuHaveClick(0, chain.first()); });
    checkTold(box, "エミュレータを起動できませんでした\r\n", fake, "a file that is no program");
    std::string reason = box.text.substr(box.text.rfind("\r\n") + 2);
    CHECK(reason.find("%1") == std::string::npos, "no %1 in the reason: " + reason);
    CHECK(reason.find(fake) != std::string::npos, "the reason names the file: " + reason);

    writeFile(s.dataDir + s.system + ".fvr", favoritesFile(s.system, {favorite("Mario", "K1")}));
    onMenuDialog(s.plugin, 1, favoritesTitle(1), [&](HWND dialog) {
        clickCheckBox(dialog, IDC_CLOSE_ON_LAUNCH);
        selectRows(dialog, IDC_FAVORITE_LIST, {0}, 0);
        clickLater(dialog, IDM_LAUNCH_FIRST);
        CHECK(answerMessageBox(IDOK).seen, "the failed start is told");
        Sleep(300);
        CHECK(IsWindowVisible(dialog), "and the dialog stays open, close on launch or not");
        clickNow(dialog, IDCANCEL);
    });
}
