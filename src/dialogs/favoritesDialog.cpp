// FAVORITEDLG: the favourites of the current system in a resizable owner-data list with ten
// sortable columns, deletion, and launches with any registered emulator. The decisions are in
// favoritesWorking.cpp and favoriteColumns.cpp; this file translates to and from the controls.
#include "dialogs/favoritesDialog.h"

#include <cstdio>

#include "core/itemList.h"
#include "core/settingsFile.h"
#include "dialogs/dialogSupport.h"
#include "dialogs/favoritesLayout.h"
#include "dialogs/gameSettingDialog.h"
#include "dialogs/historyTab.h"
#include "favorites/favoriteColumns.h"
#include "favorites/favoriteFilter.h"
#include "favorites/favorites.h"
#include "favorites/favoritesWorking.h"
#include "favorites/historyView.h"
#include "launcher/launch.h"
#include "resource.h"

namespace lb {

namespace {

// The rows shown for the filter's text, over the working copy; set when the dialog opens and
// after each change of the text, sort or delete; read by every row the list asks for.
FavoriteFilter filter;

HWND favoriteList(HWND dialog) { return GetDlgItem(dialog, IDC_FAVORITE_LIST); }

void setFavoritesTitle(HWND dialog) {
    if (historyTabShown(dialog)) return;  // the history's title is its own
    setCountTitle(dialog, "お気に入り", workingFavoriteCount, filter);
}

void refreshFavoriteListView(HWND dialog, int32_t row) {
    refreshListView(favoriteList(dialog), filter.shownCount, row);
}

// The shown row of working-copy entry `entry`; 0 when it is not shown.
int32_t shownRowOf(int32_t entry) {
    for (int32_t row = 0; row < filter.shownCount; ++row)
        if (shownEntry(filter, row) == entry) return row;
    return 0;
}

// The texts are folded at the first key that needs them, so the dialog opens as fast as ever.
void applyFilterText(HWND dialog) {
    char text[kTextSize];
    readControlText(dialog, IDC_FAVORITE_FILTER, text);
    filterEntries(filter, workingFavorites, workingFavoriteCount, text);
}

// The field's text applied, with the title and the rows, `row` selected.
void showFiltered(HWND dialog, int32_t row) {
    applyFilterText(dialog);
    setFavoritesTitle(dialog);
    refreshFavoriteListView(dialog, filter.shownCount > 0 ? row : -1);
}

// The rows of the tab shown, for the field's text, the first one selected.
void showFilteredTab(HWND dialog) {
    if (historyTabShown(dialog))
        filterHistory(dialog);
    else
        showFiltered(dialog, 0);
}

// The working copy was changed by a delete: folded again when filtered, shown again.
void refilter(HWND dialog, int32_t row) {
    showAllRows(filter, workingFavoriteCount);
    showFiltered(dialog, row);
}

void provideFavoriteText(NMLVDISPINFOA& request) {
    int32_t entry = shownEntry(filter, request.item.iItem);
    if (workingFavorites == nullptr || entry < 0 || entry >= workingFavoriteCount) return;
    provideListText(request, favoriteColumnText(workingFavorites[entry], request.item.iSubItem));
}

// All favourites are sorted, then filtered again; the focused favourite stays focused.
void onFavoriteColumnClick(const NMLISTVIEW& click, HWND dialog) {
    clickFavoriteColumn(click.iSubItem);
    updateSortMarks(dialog);
    if (workingFavoriteCount < 1) return;
    int32_t focused = shownEntry(filter, focusedSelectedRow(favoriteList(dialog)));
    char key[kTextSize] = "";
    bool kept = focused >= 0 && focused < workingFavoriteCount;
    if (kept) copyText(key, workingFavorites[focused].crc32);
    static int32_t order[kMaxFavorites];
    sortWorkingFavorites(order);
    reorderFilter(filter, order);
    applyFilterText(dialog);
    refreshFavoriteListView(dialog, kept ? shownRowOf(rowOfKey(key)) : 0);
}

// The selected shown rows as a chain, owned by the caller until releaseSelectionChain.
HostRomRecord* selectionChain(HWND dialog) {
    static int32_t rows[kMaxFavorites];
    int32_t count = selectedRows(favoriteList(dialog), rows, kMaxFavorites);
    for (int32_t i = 0; i < count; ++i) rows[i] = shownEntry(filter, rows[i]);
    return buildSelectionChain(rows, count);
}

void closeFavoritesDialog(HWND dialog, int commandId) {
    closeHistoryTab(dialog);
    freeWorkingFavorites();
    releaseFilter(filter);
    context->closeOnLaunch = isChecked(dialog, IDC_CLOSE_ON_LAUNCH) ? 1 : 0;
    storeFavoriteColumns(dialog);
    storeFavoritesPlace(dialog);
    EndDialog(dialog, commandId);
}

// A save that fails is told, and the dialog stays open with the user's list, so that it can be
// saved again once the file is free, or cancelled.
void commitAndClose(HWND dialog) {
    if (saveWorkingFavorites()) closeFavoritesDialog(dialog, IDOK);
}

// Cancel leaves everything as it was: the selection, the focus and the scroll position.
void deleteSelectedFavorites(HWND dialog) {
    HostRomRecord* chain = selectionChain(dialog);
    char question[kTextSize];
    std::snprintf(question, sizeof question, "お気に入り%dケをリストから削除しますか",
                  int(chainLength(chain)));
    bool confirmed = confirmDeletion(dialog, question);
    if (confirmed && workingFavorites != nullptr)
        removeFavorites(workingFavorites, workingFavoriteCount, chain);
    releaseSelectionChain(chain);
    if (confirmed) refilter(dialog, 0);
}

// Under a filter, the shown rows are deleted, and the question names their number.
void deleteAllFavorites(HWND dialog) {
    if (!filter.narrowed) {
        if (!confirmDeletion(dialog, "お気に入りをリストから全て削除しますか")) return;
        workingFavoriteCount = 0;
    } else {
        char question[kTextSize];
        std::snprintf(question, sizeof question, "表示中の%d件をお気に入りから削除しますか？",
                      int(filter.shownCount));
        if (!confirmDeletion(dialog, question)) return;
        if (workingFavorites != nullptr)
            removeFavoriteRows(workingFavorites, workingFavoriteCount, filter.shown,
                               filter.shownCount);
    }
    refilter(dialog, 0);
}

// The context menu at `where` (screen coordinates): the emulators, by name as stored, and
// "削除".
void showFavoritesMenu(HWND dialog, POINT where) {
    // The emulator the focused favourite was last played with is checked.
    int32_t focused = shownEntry(filter, focusedSelectedRow(favoriteList(dialog)));
    int32_t last = focused >= 0 && focused < workingFavoriteCount
                       ? lastEmulatorOfKey(workingFavorites[focused].crc32)
                       : -1;
    HMENU menu = emulatorMenu(last);
    AppendMenuA(menu, MF_STRING, IDM_GAME_SETTING, kGameSettingItem);
    AppendMenuA(menu, MF_STRING, IDM_DELETE, "削除");
    TrackPopupMenu(menu, 0, where.x, where.y, 0, dialog, nullptr);
    DestroyMenu(menu);
}

// The launch setting of the selected favourites, from the focused one's.
void editFavoritesSetting(HWND dialog) {
    static int32_t rows[kMaxFavorites];
    static const char* keys[kMaxFavorites];
    int32_t focused = shownEntry(filter, focusedSelectedRow(favoriteList(dialog)));
    int32_t count = selectedRows(favoriteList(dialog), rows, kMaxFavorites);
    if (focused < 0 || focused >= workingFavoriteCount) return;
    for (int32_t i = 0; i < count; ++i)
        keys[i] = workingFavorites[shownEntry(filter, rows[i])].crc32;
    const FavoriteEntry& entry = workingFavorites[focused];
    editGameSetting(dialog, {entry.crc32, entry.name, entry.comment}, keys, count);
}

const char* favoriteName(int32_t row, const void*) {
    return workingFavorites[shownEntry(filter, row)].name;
}

// The box closes the dialog on a launch, and only a process that started is one: nothing
// selected, a cancelled preview, nothing to start or a start that failed leave it open. A
// double-click (-1) starts the game's own emulator, else the first.
void launchFromFavorites(HWND dialog, int32_t index, bool preview) {
    HostRomRecord* chain = selectionChain(dialog);
    if (chain == nullptr) return;
    static GameSetting setting;
    readGameSettingOf(chain, setting);
    if (index < 0) index = gameEmulatorOr(setting, 0);
    LaunchResult result = launchEmulator(index, chain, preview, &setting);
    releaseSelectionChain(chain);
    if (result == LaunchResult::Started && isChecked(dialog, IDC_CLOSE_ON_LAUNCH))
        commitAndClose(dialog);
}

// The dialog's controls, each with the window procedure it had before favoritesKeys.
struct KeyedControl {
    HWND control;
    WNDPROC original;
};
KeyedControl keyedControls[16];
int keyedCount = 0;

// The filter's keys, whichever control has the focus: Ctrl+F goes to the field and selects its
// text; Esc, while the field holds text, clears it instead of cancelling the dialog; Enter in
// the field goes to the list. The dialog manager asks each control (WM_GETDLGCODE) before it
// turns Esc into Cancel, so a control that wants the key gets it.
LRESULT CALLBACK favoritesKeys(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC original = DefWindowProcA;
    for (int i = 0; i < keyedCount; ++i)
        if (keyedControls[i].control == control) original = keyedControls[i].original;
    HWND dialog = GetParent(control);
    HWND field = GetDlgItem(dialog, IDC_FAVORITE_FILTER);
    bool filtered = GetWindowTextLengthA(field) > 0;
    auto isOurs = [&](UINT what, WPARAM key) {
        return what == WM_KEYDOWN &&
               ((key == VK_ESCAPE && filtered) || (key == VK_RETURN && control == field));
    };
    if (message == WM_GETDLGCODE && lParam != 0) {
        const MSG& key = *reinterpret_cast<const MSG*>(lParam);
        LRESULT code = CallWindowProcA(original, control, message, wParam, lParam);
        return isOurs(key.message, key.wParam) ? code | DLGC_WANTMESSAGE : code;
    }
    if (isOurs(message, wParam)) {
        if (wParam == VK_ESCAPE)
            SetWindowTextA(field, "");  // its EN_CHANGE shows every row again
        else
            SetFocus(
                GetDlgItem(dialog, historyTabShown(dialog) ? IDC_HISTORY_LIST : IDC_FAVORITE_LIST));
        return 0;
    }
    if (message == WM_CHAR &&
        (wParam == 0x06 || wParam == 0x1B || (wParam == '\r' && control == field))) {
        if (wParam == 0x06) {  // Ctrl+F
            SetFocus(field);
            SendMessageA(field, EM_SETSEL, 0, -1);
        }
        return 0;
    }
    return CallWindowProcA(original, control, message, wParam, lParam);
}

void keyEveryControl(HWND dialog) {
    keyedCount = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr && keyedCount < 16;
         child = GetWindow(child, GW_HWNDNEXT)) {
        keyedControls[keyedCount].control = child;
        keyedControls[keyedCount++].original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(favoritesKeys)));
    }
}

void openFavoritesDialog(HWND dialog) {
    placeFavoritesDialog(dialog);
    openWorkingFavorites();
    addListStyles(favoriteList(dialog), LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP |
                                            LVS_EX_INFOTIP | LVS_EX_DOUBLEBUFFER);
    setupFavoriteColumns(dialog);
    updateSortMarks(dialog);
    sortWorkingFavorites();
    SendDlgItemMessageA(dialog, IDC_FAVORITE_FILTER, EM_LIMITTEXT, kTextSize - 1, 0);
    showAllRows(filter, workingFavoriteCount);
    refreshFavoriteListView(dialog, 0);
    layoutFavoritesDialog(dialog);
    setFavoritesTitle(dialog);
    setChecked(dialog, IDC_CLOSE_ON_LAUNCH, context->closeOnLaunch != 0);
    openHistoryTab(dialog);
    keyEveryControl(dialog);
    // The tab it was closed on, its list focused: type-to-find works at once, as before.
    showStoredTab(dialog);
}

BOOL onNotify(HWND dialog, WPARAM sender, NMHDR& header) {
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);  // no answer left over from an earlier one
    if (sender == IDC_FAVORITE_TABS && header.code == TCN_SELCHANGE) {
        showHistoryTab(dialog, historyTabShown(dialog));
        showFilteredTab(dialog);
        return TRUE;
    }
    if (sender == IDC_HISTORY_LIST) return onHistoryNotify(dialog, header);
    if (sender != IDC_FAVORITE_LIST) return TRUE;
    int32_t rows = workingFavorites != nullptr ? filter.shownCount : 0;
    if (answerListKeys(dialog, header, rows, favoriteName, deleteSelectedFavorites)) return TRUE;
    switch (header.code) {
        case LVN_GETDISPINFOA:
            provideFavoriteText(reinterpret_cast<NMLVDISPINFOA&>(header));
            break;
        case LVN_COLUMNCLICK:
            onFavoriteColumnClick(reinterpret_cast<NMLISTVIEW&>(header), dialog);
            break;
        case NM_RCLICK: {
            POINT cursor{};
            GetCursorPos(&cursor);
            showFavoritesMenu(dialog, cursor);
            break;
        }
        case NM_DBLCLK:
            if (context->emulatorCount > 0) launchFromFavorites(dialog, -1, false);
            break;
        default:
            break;
    }
    return TRUE;
}

BOOL onCommand(HWND dialog, int id, int code) {
    if (historyTabShown(dialog) && onHistoryCommand(dialog, id)) return TRUE;
    if (id >= IDM_LAUNCH_FIRST && id <= IDM_LAUNCH_LAST) {
        launchFromFavorites(dialog, id - IDM_LAUNCH_FIRST, platform::isShiftDown());
        return TRUE;
    }
    switch (id) {
        case IDC_FAVORITE_FILTER:
            if (code != EN_CHANGE) return FALSE;
            showFilteredTab(dialog);
            return TRUE;
        case IDOK:
            commitAndClose(dialog);
            return TRUE;
        case IDCANCEL:
            closeFavoritesDialog(dialog, IDCANCEL);
            return TRUE;
        case IDC_FAVORITE_DELETE:
        case IDM_DELETE:
            deleteSelectedFavorites(dialog);
            return TRUE;
        case IDC_FAVORITE_DELETE_ALL:
            deleteAllFavorites(dialog);
            return TRUE;
        case IDM_GAME_SETTING:
            editFavoritesSetting(dialog);
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK favoritesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (endedByClose(dialog, message)) return TRUE;
    switch (message) {
        case WM_INITDIALOG:
            openFavoritesDialog(dialog);
            return FALSE;  // the focus was set: on the list
        case WM_GETMINMAXINFO: {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize = {scaledPixels(dialog, 300), scaledPixels(dialog, 300)};
            return TRUE;
        }
        case WM_DPICHANGED:
            rescaleFavoritesDialog(dialog, HIWORD(wParam), *reinterpret_cast<RECT*>(lParam));
            return TRUE;
        case WM_SIZE:
            layoutFavoritesDialog(dialog);
            return TRUE;
        case WM_NOTIFY:
            return onNotify(dialog, wParam, *reinterpret_cast<NMHDR*>(lParam));
        case WM_CONTEXTMENU: {
            // The Apps key and Shift+F10 (at -1, -1); a right click came as NM_RCLICK.
            HWND history = GetDlgItem(dialog, IDC_HISTORY_LIST);
            if (lParam != -1 || (HWND(wParam) != favoriteList(dialog) && HWND(wParam) != history))
                return FALSE;
            if (HWND(wParam) == history)
                showHistoryMenu(dialog, keyboardMenuPoint(history));
            else
                showFavoritesMenu(dialog, keyboardMenuPoint(favoriteList(dialog)));
            return TRUE;
        }
        case WM_COMMAND:
            return onCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        default:
            return FALSE;
    }
}

}  // namespace

int32_t openFavorites() {
    platform::PluginWindows windows;  // for the dialog and all it opens while it runs
    return int32_t(
        DialogBoxParamA(pluginInstance(), "FAVORITEDLG", GetActiveWindow(), favoritesProc, 0));
}

}  // namespace lb
