// The history tab: the played games in the favourites dialog, shown in their own list beside
// the favourites' one; the order, texts and file changes are the history view's.
#include "dialogs/historyTab.h"

#include <algorithm>

#include <cstdio>

#include "core/itemList.h"
#include "dialogs/dialogSupport.h"
#include "dialogs/gameSettingDialog.h"
#include "favorites/favoriteFilter.h"
#include "favorites/favoritesWorking.h"
#include "favorites/historyView.h"
#include "launcher/launch.h"
#include "resource.h"

namespace lb {

namespace {

// The rows shown for the filter's text, over the view's rows; set when the tab's list is filled
// and after each change of the text, sort or delete.
FavoriteFilter historyFilter;
bool historyReady = false;   // the view was read
bool historyStored = false;  // the tab stored when the dialog opened: the history's

HWND historyList(HWND dialog) { return GetDlgItem(dialog, IDC_HISTORY_LIST); }

int32_t viewRow(int32_t shown) { return shownEntry(historyFilter, shown); }

void setHistoryTitle(HWND dialog) {
    setCountTitle(dialog, "最近遊んだゲーム", historyView.count, historyFilter);
}

void updateHistoryMarks(HWND dialog) {
    for (int32_t k = 0; k < kHistoryColumnCount; ++k)
        setSortArrow(
            historyList(dialog), k,
            k == historyView.sortColumn ? (historyView.descending ? HDF_SORTDOWN : HDF_SORTUP) : 0);
}

void showHistoryRows(HWND dialog, int32_t row) {
    refreshListView(historyList(dialog), historyFilter.shownCount,
                    historyFilter.shownCount > 0 ? row : -1);
    setHistoryTitle(dialog);
}

const char* historyName(int32_t row, const void*) {
    const GameHistory* game = historyGame(viewRow(row));
    return game != nullptr ? game->name : "";
}

// A launch of the focused game: with emulator `index`, or for -1 its own emulator, else its
// last one. A last emulator that is no longer registered is told, and nothing starts.
void launchFromHistory(HWND dialog, int32_t index, bool preview) {
    int32_t row = viewRow(focusedSelectedRow(historyList(dialog)));
    const GameHistory* game = historyGame(row);
    if (game == nullptr) return;
    const HostRomRecord* chain = historyChain(row);
    static GameSetting setting;
    readGameSettingOf(chain, setting);
    if (index < 0) index = gameEmulatorOr(setting, lastEmulatorIndex(*game));
    if (index < 0) {
        char text[kTextSize * 2];
        const char* parts[] = {"前回のエミュレータ「", game->emulator,
                               "」は登録されていないため、起動できません"};
        joinTexts(text, sizeof text, parts, 3);
        MessageBoxA(dialog, text, nullptr, MB_ICONWARNING);
        return;
    }
    LaunchResult result = launchEmulator(index, chain, preview, &setting);
    if (result == LaunchResult::Started && isChecked(dialog, IDC_CLOSE_ON_LAUNCH))
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

// The launch setting of the selected games, from the focused one's.
void editHistorySetting(HWND dialog) {
    static int32_t rows[kMaxGames];
    static const char* keys[kMaxGames];
    int32_t row = viewRow(focusedSelectedRow(historyList(dialog)));
    int32_t count = selectedRows(historyList(dialog), rows, kMaxGames);
    const GameHistory* focused = historyGame(row);
    if (focused == nullptr) return;
    int32_t kept = 0;
    for (int32_t i = 0; i < count; ++i)
        if (const GameHistory* game = historyGame(viewRow(rows[i]))) keys[kept++] = game->key;
    editGameSetting(dialog, {focused->key, focused->name, focused->set}, keys, kept);
}

void addFocusedToFavorites(HWND dialog) {
    int32_t row = viewRow(focusedSelectedRow(historyList(dialog)));
    const GameHistory* game = historyGame(row);
    if (game == nullptr || historyView.favorite[historyView.games[row]]) return;
    FavoriteEntry entry{};
    copyText(entry.name, game->name);
    copyText(entry.crc32, game->key);
    copyText(entry.comment, game->set);
    if (!appendWorkingFavorite(entry)) return;
    historyView.favorite[historyView.games[row]] = true;  // OK saves it with the favourites
    InvalidateRect(historyList(dialog), nullptr, FALSE);
}

}  // namespace

void openHistoryTab(HWND dialog) {
    HWND tabs = GetDlgItem(dialog, IDC_FAVORITE_TABS);
    const char* names[] = {"お気に入り", "最近遊んだゲーム"};
    for (int i = 0; i < 2; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(names[i]);
        SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    HWND list = historyList(dialog);
    addListStyles(list, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP | LVS_EX_DOUBLEBUFFER);
    // The date column shows 最後に遊んだ日時 whole, with the sort arrow; the emulator column the
    // longest name of the system's emulators (at most a third of the list), and the name the rest.
    // The widths at 96 DPI, scaled to the list's.
    int widths[kHistoryColumnCount] = {220, 150, 50, 80, 150};
    for (int& width : widths) width = scaledPixels(list, width);
    RECT client{};
    GetClientRect(list, &client);
    widths[1] = std::min(
        widths[1], listTextWidth(list, historyColumnNames[1]) + scaledPixels(list, 40));  // arrow
    for (int32_t i = -1; i < context->emulatorCount && i < kMaxEmulators; ++i) {
        const char* name = i < 0 ? historyColumnNames[4] : context->emulators[i].name;
        widths[4] = std::max(widths[4], std::min(listTextWidth(list, name) + scaledPixels(list, 24),
                                                 int(client.right / 3)));
    }
    for (int32_t k = 0; k < kHistoryColumnCount; ++k)
        insertListColumn(list, k, widths[k], historyColumnNames[k]);
    fitColumn(list, kHistoryColumnCount, 0);
    tellHistoryFailure();
    FileRead read = openHistoryView(workingFavorites, workingFavoriteCount);
    historyReady = true;
    if (read == FileRead::Unreadable) {
        char path[kTextSize];
        if (historyFilePath(path)) tellReadFailure(path);
    }
    showAllRows(historyFilter, historyView.count);
    updateHistoryMarks(dialog);
    refreshListView(list, historyFilter.shownCount, historyFilter.shownCount > 0 ? 0 : -1);
}

void closeHistoryTab(HWND dialog) {
    bool history = historyTabShown(dialog);
    if (history != historyStored) storeHistoryTab(history);
    releaseFilter(historyFilter);
    closeHistoryView();
    historyReady = false;
}

bool historyTabShown(HWND dialog) {
    return SendDlgItemMessageA(dialog, IDC_FAVORITE_TABS, TCM_GETCURSEL, 0, 0) == 1;
}

void showHistoryTab(HWND dialog, bool history) {
    SendDlgItemMessageA(dialog, IDC_FAVORITE_TABS, TCM_SETCURSEL, history ? 1 : 0, 0);
    ShowWindow(historyList(dialog), history ? SW_SHOW : SW_HIDE);
    ShowWindow(GetDlgItem(dialog, IDC_FAVORITE_LIST), history ? SW_HIDE : SW_SHOW);
    EnableWindow(GetDlgItem(dialog, IDC_FAVORITE_DELETE_ALL), !history);
    SetFocus(history ? historyList(dialog) : GetDlgItem(dialog, IDC_FAVORITE_LIST));
}

void showStoredTab(HWND dialog) {
    historyStored = historyTabStored();
    showHistoryTab(dialog, historyStored);
    if (historyStored) filterHistory(dialog);
}

void filterHistory(HWND dialog) {
    char text[kTextSize];
    readControlText(dialog, IDC_FAVORITE_FILTER, text);
    // The rows are made only for a text the filter has not folded them for yet.
    bool folds = text[0] != '\0' && historyFilter.spans == nullptr;
    filterEntries(historyFilter, folds ? historyRows() : historyView.rows, historyView.count, text);
    showHistoryRows(dialog, 0);
}

HMENU emulatorMenu(int32_t checked) {
    HMENU menu = CreatePopupMenu();
    int32_t count = boundedEmulatorCount(context->emulatorCount);
    for (int32_t i = 0; i < count; ++i) {
        char text[2 * kTextSize];
        menuItemText(text, sizeof text, context->emulators[i].name);
        AppendMenuA(menu, MF_STRING | (i == checked ? MF_CHECKED : 0),
                    UINT_PTR(IDM_LAUNCH_FIRST + i), text);
    }
    if (count > 0) AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    return menu;
}

void showHistoryMenu(HWND dialog, POINT where) {
    int32_t row = viewRow(focusedSelectedRow(historyList(dialog)));
    const GameHistory* game = historyGame(row);
    if (game == nullptr) return;
    HMENU menu = emulatorMenu(lastEmulatorIndex(*game));
    if (!historyView.favorite[historyView.games[row]])
        AppendMenuA(menu, MF_STRING, IDM_ADD_FAVORITE, "お気に入りに追加");
    AppendMenuA(menu, MF_STRING, IDM_GAME_SETTING, kGameSettingItem);
    AppendMenuA(menu, MF_STRING, IDM_DELETE, "削除");
    TrackPopupMenu(menu, 0, where.x, where.y, 0, dialog, nullptr);
    DestroyMenu(menu);
}

void deleteSelectedHistory(HWND dialog) {
    static int32_t rows[kMaxGames];
    int32_t count = selectedRows(historyList(dialog), rows, kMaxGames);
    if (count == 0) return;
    char question[kTextSize];
    std::snprintf(question, sizeof question, "履歴から%d件を削除しますか？", int(count));
    if (!confirmDeletion(dialog, question)) return;
    for (int32_t i = 0; i < count; ++i) rows[i] = viewRow(rows[i]);
    if (!deleteHistoryRows(rows, count)) return;  // told
    releaseFilter(historyFilter);
    showAllRows(historyFilter, historyView.count);
    filterHistory(dialog);
}

bool onHistoryCommand(HWND dialog, int id) {
    if (id >= IDM_LAUNCH_FIRST && id <= IDM_LAUNCH_LAST) {
        launchFromHistory(dialog, id - IDM_LAUNCH_FIRST, platform::isShiftDown());
        return true;
    }
    if (id == IDM_ADD_FAVORITE) {
        addFocusedToFavorites(dialog);
        return true;
    }
    if (id == IDM_GAME_SETTING) {
        editHistorySetting(dialog);
        return true;
    }
    if (id == IDM_DELETE || id == IDC_FAVORITE_DELETE) {
        deleteSelectedHistory(dialog);
        return true;
    }
    return false;
}

BOOL onHistoryNotify(HWND dialog, NMHDR& header) {
    int32_t rows = historyReady ? historyFilter.shownCount : 0;
    if (answerListKeys(dialog, header, rows, historyName, deleteSelectedHistory)) return TRUE;
    switch (header.code) {
        case LVN_GETDISPINFOA: {
            auto& request = reinterpret_cast<NMLVDISPINFOA&>(header);
            provideListText(request,
                            historyColumnText(viewRow(request.item.iItem), request.item.iSubItem));
            break;
        }
        case LVN_COLUMNCLICK: {
            int32_t column = reinterpret_cast<NMLISTVIEW&>(header).iSubItem;
            bool descending = column == historyView.sortColumn ? !historyView.descending
                                                               : column != 0 && column != 4;
            static int32_t order[kMaxGames];
            sortHistoryView(column, descending, order);
            reorderFilter(historyFilter, order);
            updateHistoryMarks(dialog);
            filterHistory(dialog);
            break;
        }
        case NM_RCLICK: {
            POINT cursor{};
            GetCursorPos(&cursor);
            showHistoryMenu(dialog, cursor);
            break;
        }
        case NM_DBLCLK:
        case NM_RETURN:
            launchFromHistory(dialog, -1, false);
            break;
        default:
            break;
    }
    return TRUE;
}

}  // namespace lb
