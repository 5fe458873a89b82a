// The dialogs under the keyboard against the real DLL: type-to-find, Delete, the Apps key, a
// Cancel that keeps the selection, names with "&" in the context menu, the settings list's
// column, and the version 6 controls that the plug-in's own manifest asks for.
#include "dialogDriver.h"

#include <commctrl.h>

#include <cstring>

#include "resource.h"
#include "session.h"

using namespace host;

namespace {

// The selected rows of a list, as "2 3 4".
std::string selected(HWND dialog, int listId) {
    HWND list = GetDlgItem(dialog, listId);
    std::vector<std::string> rows;
    for (int row = -1; (row = int(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(row),
                                               MAKELPARAM(LVNI_SELECTED, 0)))) >= 0;)
        rows.push_back(std::to_string(row));
    return joined(" ", rows);
}

// A key pressed and released in a list, as the keyboard delivers it to the focused control;
// the list handles it on its own thread, so this waits a moment for what it starts.
void pressKey(HWND dialog, int listId, WPARAM key) {
    HWND list = GetDlgItem(dialog, listId);
    PostMessageA(list, WM_KEYDOWN, key, 1);
    PostMessageA(list, WM_KEYUP, key, 0xC0000001);
    Sleep(150);
}

void typeLetter(HWND dialog, int listId, char letter) {
    PostMessageA(GetDlgItem(dialog, listId), WM_CHAR, WPARAM(letter), 1);
    Sleep(1200);  // past the list's incremental-search time, so the next letter starts anew
}

// Whether a control runs on the version 6 common controls, which only a window created under
// an activation context that names them gets: a button is then comctl32's from the side-by-side
// folder, not user32's. Wine shows this where the list view's own version does not: there the
// list is version 6 in any case.
bool isVersion6Control(HWND control) {
    HMODULE module = nullptr;
    // The class's procedure: the dialog may subclass its controls for its keys.
    auto procedure = reinterpret_cast<LPCSTR>(GetClassLongPtrW(control, GCLP_WNDPROC));
    GetModuleHandleExA(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        procedure, &module);
    char path[MAX_PATH] = "";
    GetModuleFileNameA(module, path, sizeof path);
    CharLowerA(path);
    return std::strstr(path, "microsoft.windows.common-controls_6595b64144ccf1df_6.") != nullptr;
}

bool hasHorizontalBar(HWND dialog, int listId) {
    return (GetWindowLongA(GetDlgItem(dialog, listId), GWL_STYLE) & WS_HSCROLL) != 0;
}

}  // namespace

HOST_CASE(theFavoritesListWorksFromTheKeyboardAndCancelKeepsTheSelection) {
    Session s("favoritesKeyboard");
    s.plugin.isCompatible("Arcade (MAME)");  // no cache: the favourites stay as written
    s.writeEmulators({emulator("A&B", "C:\\ab.exe", 4), emulator("MAME", "C:\\mame.exe", 4)});
    std::vector<FavoriteRecord> many;
    for (int i = 0; i < 60; ++i)
        many.push_back(favorite((i < 50 ? "Game " : "Mario ") + std::to_string(10 + i),
                                "K" + std::to_string(i)));
    writeFile(s.dataDir + s.system + ".fvr", favoritesFile(s.system, many));
    std::string menuItems;
    onMenuDialog(s.plugin, 1, favoritesTitle(60), [&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_FAVORITE_LIST);
        CHECK(isVersion6Control(GetDlgItem(dialog, IDOK)),
              "the dialog's buttons are version 6 controls: the manifest's context was active");
        SetFocus(list);
        typeLetter(dialog, IDC_FAVORITE_LIST, 'm');
        CHECK_EQ(selected(dialog, IDC_FAVORITE_LIST), std::string("50"),
                 "m lands on the first Mario in the Name order");
        selectRows(dialog, IDC_FAVORITE_LIST, {2, 3, 4}, 3);
        typeLetter(dialog, IDC_FAVORITE_LIST, 'q');
        CHECK_EQ(selected(dialog, IDC_FAVORITE_LIST), std::string("2 3 4"),
                 "a letter that matches nothing keeps the selection");

        SendMessageA(list, LVM_SCROLL, 0, 200);  // down a screen or so
        int top = int(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
        pressKey(dialog, IDC_FAVORITE_LIST, VK_DELETE);
        Answered box = answerMessageBox(IDCANCEL);
        CHECK_EQ(box.text, std::string("お気に入り3ケをリストから削除しますか"),
                 "Delete asks as the Delete button does");
        Sleep(150);
        CHECK_EQ(selected(dialog, IDC_FAVORITE_LIST), std::string("2 3 4"),
                 "Cancel keeps the selection");
        CHECK_EQ(int(SendMessageA(list, LVM_GETTOPINDEX, 0, 0)), top, "and the scroll position");
        CHECK(top > 0, "the list was scrolled");
        CHECK_EQ(windowTitle(dialog), favoritesTitle(60), "and every favourite");

        // The Apps key: the list gives the dialog WM_CONTEXTMENU at -1, -1.
        PostMessageA(dialog, WM_CONTEXTMENU, WPARAM(list), LPARAM(-1));
        menuItems = joined("|", popupMenuItems(dialog));
        clickNow(dialog, IDCANCEL);
    });
    CHECK_EQ(menuItems, std::string("3004:A&&B|3005:MAME|0:|3030:このゲームの起動設定…|3024:削除"),
             "the Apps key opens the context menu; \"&\" is doubled in the item text");
    std::string list = readFile(s.dataDir + s.system + ".emu");
    CHECK_EQ(std::string(list.size() == 16084 ? list.c_str() + 4 : ""), std::string("A&B"),
             "the stored name keeps its single \"&\"");
}

HOST_CASE(theSettingsListWorksFromTheKeyboardAndNeedsNoHorizontalBar) {
    Session s("settingsKeyboard");
    s.writeEmulators({emulator("Zinc", "C:\\zinc.exe", 0)});
    onMenuDialog(s.plugin, 0, "エミュレータ設定(Launchboard)", [&](HWND dialog) {
        CHECK(!hasHorizontalBar(dialog, IDC_EMULATOR_LIST), "one entry: no horizontal bar");
        CHECK(isVersion6Control(GetDlgItem(dialog, IDOK)), "version 6 controls here too");
        clickNow(dialog, IDCANCEL);
    });
    std::vector<EmulatorRecord> twenty;
    for (int i = 0; i < 20; ++i) {
        std::string name = std::string(i < 10 ? "Emu " : "Nes ") + std::to_string(i);
        twenty.push_back(emulator(name, "C:\\e" + std::to_string(i) + ".exe", 0));
    }
    s.writeEmulators(twenty);
    onMenuDialog(s.plugin, 0, "エミュレータ設定(Launchboard)", [&](HWND dialog) {
        CHECK(!hasHorizontalBar(dialog, IDC_EMULATOR_LIST), "twenty entries: no horizontal bar");
        SetFocus(GetDlgItem(dialog, IDC_EMULATOR_LIST));
        typeLetter(dialog, IDC_EMULATOR_LIST, 'n');
        CHECK_EQ(selected(dialog, IDC_EMULATOR_LIST), std::string("10"), "n lands on Nes 10");
        selectRows(dialog, IDC_EMULATOR_LIST, {2, 3}, 2);
        typeLetter(dialog, IDC_EMULATOR_LIST, 'x');
        CHECK_EQ(selected(dialog, IDC_EMULATOR_LIST), std::string("2 3"),
                 "a letter that matches nothing keeps the selection");
        pressKey(dialog, IDC_EMULATOR_LIST, VK_DELETE);
        Answered box = answerMessageBox(IDCANCEL);
        CHECK_EQ(box.text, std::string("2ケのエミュレータをリストから全て削除しますか"),
                 "Delete asks as the Delete button does");
        clickNow(dialog, IDCANCEL);
    });
}
