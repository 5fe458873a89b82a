// The favourites dialog against the real DLL: rows in the saved order, header clicks, OK and
// Cancel, deletions, launches from the context menu, a layout that survives a restart, and a
// full list of 10,000.
#include "dialogDriver.h"

#include <commctrl.h>

#include <cstring>

#include "resource.h"
#include "session.h"

using namespace host;

namespace {

// The names in a favourites file, in file order.
std::string namesIn(const std::string& file) {
    std::vector<std::string> names;
    for (size_t at = 264; at + 1576 <= file.size(); at += 1576) names.push_back(file.c_str() + at);
    return joined(" ", names);
}

HWND header(HWND dialog) {
    return reinterpret_cast<HWND>(
        SendDlgItemMessageA(dialog, IDC_FAVORITE_LIST, LVM_GETHEADER, 0, 0));
}

// "up", "down" or "" for each header item.
std::string sortMarks(HWND dialog) {
    std::string marks;
    for (int k = 0; k < 10; ++k) {
        HDITEMA item{};
        item.mask = HDI_FORMAT;
        SendMessageA(header(dialog), HDM_GETITEMA, WPARAM(k), reinterpret_cast<LPARAM>(&item));
        marks += (item.fmt & HDF_SORTUP) ? "^" : (item.fmt & HDF_SORTDOWN) ? "v" : ".";
    }
    return marks;
}

std::vector<FavoriteRecord> fiveFavorites() {
    return {favorite("Mario", "K1", 10, "Nintendo"), favorite("Zelda", "K2", 9, "Nintendo"),
            favorite("Banjo", "K3", 32, "Rare"), favorite("アクション", "K4", 8, "Rare"),
            favorite("Doom", "K5", 9, "id")};
}

}  // namespace

HOST_CASE(theFavoritesDialogShowsTheSavedOrderResortsAndCommitsOnOk) {
    Session s("favoritesOk", "LaunchboardData0001", "Nintendo 64");
    s.writeCache({{"K1", s.root + "a.zip", "a.n64"},
                  {"K2", s.root + "b.zip", "b.n64"},
                  {"K3", s.root + "c.zip", "c.n64"},
                  {"K4", s.root + "d.zip", "d.n64"},
                  {"K5", s.root + "e.zip", "e.n64"}});
    std::string fvr = s.dataDir + s.system + ".fvr";
    writeFile(fvr, favoritesFile(s.system, fiveFavorites()));
    int result = onMenuDialog(s.plugin, 1, favoritesTitle(5), [&](HWND dialog) {
        CHECK_EQ(joined(" ", listRows(dialog, IDC_FAVORITE_LIST)),
                 std::string("Banjo Doom Mario Zelda アクション"), "sorted by name, ascending");
        CHECK_EQ(sortMarks(dialog), std::string("^........."), "an up arrow on Name only");
        char cut[4] = "";  // room for three bytes: アク is four
        LVITEMA item{};
        item.pszText = cut;
        item.cchTextMax = sizeof cut;
        SendDlgItemMessageA(dialog, IDC_FAVORITE_LIST, LVM_GETITEMTEXTA, 4,
                            reinterpret_cast<LPARAM>(&item));
        CHECK_EQ(std::string(cut), std::string("ア"), "a cell text cut at a whole character");
        selectRows(dialog, IDC_FAVORITE_LIST, {2}, 2);  // Mario
        clickFavoritesHeader(dialog, 7);                // Size
        CHECK_EQ(joined(" ", listRows(dialog, IDC_FAVORITE_LIST)),
                 std::string("アクション Doom Zelda Mario Banjo"), "by size, ties by name");
        CHECK_EQ(sortMarks(dialog), std::string(".......^.."), "the arrow moved to Size");
        CHECK_EQ(int(SendDlgItemMessageA(dialog, IDC_FAVORITE_LIST, LVM_GETNEXTITEM, WPARAM(-1),
                                         LVNI_SELECTED | LVNI_FOCUSED)),
                 3, "Mario stays selected at its new place");
        clickFavoritesHeader(dialog, 7);
        CHECK_EQ(sortMarks(dialog), std::string(".......v.."), "a second click turns it down");
        clickNow(dialog, IDOK);
    });
    CHECK_EQ(result, 1, "OK");
    CHECK_EQ(namesIn(readFile(fvr)), std::string("Banjo Mario Zelda Doom アクション"),
             "the file holds the shown order");
}

HOST_CASE(deletionsStayInTheDialogUntilOkAndCancelKeepsTheFile) {
    Session s("favoritesDelete");
    s.plugin.isCompatible("Arcade (MAME)");  // no pruning: this case has no cache file
    std::string fvr = s.dataDir + s.system + ".fvr";
    writeFile(fvr, favoritesFile(s.system, fiveFavorites()));
    std::string before = readFile(fvr);
    int result = onMenuDialog(s.plugin, 1, favoritesTitle(5), [&](HWND dialog) {
        selectRows(dialog, IDC_FAVORITE_LIST, {0, 1}, 0);
        clickLater(dialog, IDC_FAVORITE_DELETE);
        Answered box = answerMessageBox(IDOK);
        CHECK_EQ(box.text, std::string("お気に入り2ケをリストから削除しますか"), "the question");
        CHECK_EQ(box.caption, std::string("削除確認"), "its caption");
        CHECK_EQ(windowTitle(dialog), favoritesTitle(3), "the title counts what is left");
        clickNow(dialog, IDCANCEL);
    });
    CHECK_EQ(result, 2, "Cancel");
    CHECK(readFile(fvr) == before, "Cancel leaves the favourites file as it was");

    result = onMenuDialog(s.plugin, 1, favoritesTitle(5), [&](HWND dialog) {
        clickLater(dialog, IDC_FAVORITE_DELETE_ALL);
        Answered box = answerMessageBox(IDOK);
        CHECK_EQ(box.text, std::string("お気に入りをリストから全て削除しますか"), "delete all");
        CHECK_EQ(windowTitle(dialog), favoritesTitle(0), "an empty list");
        clickNow(dialog, IDOK);
    });
    CHECK_EQ(result, 1, "OK");
    CHECK_EQ(readFile(fvr).size(), size_t(264), "delete all, then OK: an empty favourites file");
}

HOST_CASE(aLaunchFromTheContextMenuStartsTheSelectedFavoriteAndClosesWhenTicked) {
    Session s("favoritesLaunch");
    s.plugin.isCompatible("Arcade (MAME)");
    std::string exe = s.installStub("Mame");
    s.writeEmulators({emulator("MAME", exe, 4)});
    writeFile(s.dataDir + s.system + ".fvr", favoritesFile(s.system, fiveFavorites()));
    std::string log = s.root + "stub.log";
    SetEnvironmentVariableA("LB_STUB_LOG", log.c_str());
    std::string menuItems;
    int result = onMenuDialog(s.plugin, 1, favoritesTitle(5), [&](HWND dialog) {
        static NMHDR rightClick;
        rightClick = {GetDlgItem(dialog, IDC_FAVORITE_LIST), IDC_FAVORITE_LIST, UINT(NM_RCLICK)};
        PostMessageA(dialog, WM_NOTIFY, IDC_FAVORITE_LIST, reinterpret_cast<LPARAM>(&rightClick));
        for (const std::string& item : popupMenuItems(dialog)) menuItems += item + " ";
        clickCheckBox(dialog, IDC_CLOSE_ON_LAUNCH);
        selectRows(dialog, IDC_FAVORITE_LIST, {}, -1);
        clickNow(dialog, IDM_LAUNCH_FIRST);
        CHECK(IsWindowVisible(dialog), "nothing selected: no launch, so the dialog stays open");
        selectRows(dialog, IDC_FAVORITE_LIST, {1}, 1);  // Doom
        clickLater(dialog, IDM_LAUNCH_FIRST);
        CHECK(waitUntilClosed(dialog), "the ticked box closes the dialog after the launch");
    });
    CHECK_EQ(menuItems, std::string("3004:MAME 0: 3030:このゲームの起動設定… 3024:削除 "),
             "the context menu");
    CHECK_EQ(result, 1, "a launch with the box ticked closes as OK does");
    CHECK_EQ(waitForStub(log).commandLine, programPart(exe) + " setK5",
             "the set name of the selected row");
}

HOST_CASE(theLayoutBoxAndRectangleSurviveARestartAndTenThousandFavoritesOpen) {
    Session s("favoritesLayout");
    s.plugin.isCompatible("Arcade (MAME)");
    std::vector<FavoriteRecord> many;
    for (int i = 0; i < 10000; ++i)
        many.push_back(favorite("Game " + std::to_string(i), "K" + std::to_string(i), i));
    writeFile(s.dataDir + s.system + ".fvr", favoritesFile(s.system, many));
    int rows = 0;
    onMenuDialog(s.plugin, 1, favoritesTitle(10000), 20000, [&](HWND dialog) {
        rows = int(SendDlgItemMessageA(dialog, IDC_FAVORITE_LIST, LVM_GETITEMCOUNT, 0, 0));
        MINMAXINFO limits{};
        SendMessageA(dialog, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
        CHECK_EQ(int(limits.ptMinTrackSize.x * 1000 + limits.ptMinTrackSize.y), 300300,
                 "the smallest size the user can drag it to");
        SetWindowPos(dialog, nullptr, 40, 30, 700, 520, SWP_NOZORDER);
        SendDlgItemMessageA(dialog, IDC_FAVORITE_LIST, LVM_SETCOLUMNWIDTH, 1, 150);
        clickCheckBox(dialog, IDC_CLOSE_ON_LAUNCH);
        ShowWindow(dialog, SW_MINIMIZE);  // closed minimised: its restore rectangle is kept
        CHECK(IsIconic(dialog), "the dialog is minimised");
        clickNow(dialog, IDCANCEL);
    });
    CHECK_EQ(rows, 10000, "10,000 rows");
    s.restart();
    std::string settings = readFile(s.dataDir + "Setting.dat");
    CHECK_EQ(int32At(settings, 520 + 8), 150, "the Publisher column's width");
    CHECK_EQ(int32At(settings, 644) * 1000 + int32At(settings, 648), 40030, "left and top");
    CHECK_EQ(int32At(settings, 652) * 1000 + int32At(settings, 656), 740550, "right and bottom");
    CHECK_EQ(int32At(settings, 660), 1, "the close-on-launch box");
    RECT placed{};
    bool ticked = false;
    onMenuDialog(s.plugin, 1, favoritesTitle(10000), 20000, [&](HWND dialog) {
        GetWindowRect(dialog, &placed);
        ticked = isChecked(dialog, IDC_CLOSE_ON_LAUNCH);
        clickNow(dialog, IDCANCEL);
    });
    CHECK_EQ(std::to_string(placed.left) + "," + std::to_string(placed.top) + "," +
                 std::to_string(placed.right) + "," + std::to_string(placed.bottom),
             std::string("40,30,740,550"), "the next opening restores the rectangle");
    CHECK(ticked, "and the box");
}
