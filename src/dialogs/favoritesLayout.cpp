// The favourites dialog's frame and columns: the decisions are favoritesPlacement and
// layoutFavorites; this file reads the screens and the controls and moves them.
#include "dialogs/favoritesLayout.h"

#include <cstring>
#include <utility>

#include "core/placement.h"
#include "core/pluginContext.h"
#include "core/settingsFile.h"
#include "dialogs/dialogSupport.h"
#include "favorites/favoriteColumns.h"
#include "favorites/favoritesWorking.h"
#include "favorites/historyView.h"
#include "resource.h"

namespace lb {

namespace {

BOOL CALLBACK noteWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM parameter) {
    auto* search = reinterpret_cast<std::pair<ScreenRect, bool>*>(parameter);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info)) {
        const RECT& w = info.rcWork;
        search->second |= rectanglesMeet(search->first, {w.left, w.top, w.right, w.bottom});
    }
    return TRUE;
}

}  // namespace

namespace {

// The scale the dialog's columns were last set for: a move to a monitor of another scale
// changes them from it.
int32_t shownDpi = kBaseDpi;

}  // namespace

void placeFavoritesDialog(HWND dialog) {
    ScreenRect stored = storedToPixels(context->favoritesRect, windowDpi(dialog));
    std::pair<ScreenRect, bool> search{stored, false};
    EnumDisplayMonitors(nullptr, nullptr, noteWorkArea, reinterpret_cast<LPARAM>(&search));
    RECT work{}, box{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(dialog, &box);
    ScreenRect place =
        favoritesPlacement(stored, search.second, {work.left, work.top, work.right, work.bottom},
                           {box.left, box.top, box.right, box.bottom});
    SetWindowPos(dialog, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOOWNERZORDER);
}

void layoutFavoritesDialog(HWND dialog) {
    RECT client{}, button{}, box{};
    GetClientRect(dialog, &client);
    GetWindowRect(GetDlgItem(dialog, IDC_FAVORITE_DELETE), &button);
    GetWindowRect(GetDlgItem(dialog, IDC_CLOSE_ON_LAUNCH), &box);
    RECT field{}, label{}, tabs{};
    GetWindowRect(GetDlgItem(dialog, IDC_FAVORITE_FILTER), &field);
    GetWindowRect(GetDlgItem(dialog, IDC_FAVORITE_FILTER_LABEL), &label);
    GetWindowRect(GetDlgItem(dialog, IDC_FAVORITE_TABS), &tabs);
    FavoritesLayout layout{};
    if (!layoutFavorites(client.right, client.bottom, button.right - button.left,
                         button.bottom - button.top, box.bottom - box.top, layout,
                         field.bottom - field.top, label.right - label.left, tabs.bottom - tabs.top,
                         windowDpi(dialog)))
        return;
    const std::pair<int, const ControlRect*> places[] = {
        {IDC_FAVORITE_DELETE, &layout.deleteButton},
        {IDC_FAVORITE_DELETE_ALL, &layout.deleteAllButton},
        {IDC_CLOSE_ON_LAUNCH, &layout.closeOnLaunchBox},
        {IDOK, &layout.okButton},
        {IDCANCEL, &layout.cancelButton},
        {IDC_FAVORITE_FILTER_LABEL, &layout.filterLabel},
        {IDC_FAVORITE_FILTER, &layout.filterField},
        {IDC_FAVORITE_TABS, &layout.tabs},
        {IDC_FAVORITE_LIST, &layout.list},
        {IDC_HISTORY_LIST, &layout.list}};
    for (const auto& [id, r] : places)
        MoveWindow(GetDlgItem(dialog, id), r->x, r->y, r->width, r->height, TRUE);
    fitColumn(GetDlgItem(dialog, IDC_HISTORY_LIST), kHistoryColumnCount, 0);
    for (int id : {IDC_FAVORITE_DELETE, IDC_FAVORITE_DELETE_ALL, IDC_CLOSE_ON_LAUNCH, IDOK,
                   IDCANCEL, IDC_FAVORITE_FILTER_LABEL})
        InvalidateRect(GetDlgItem(dialog, id), nullptr, TRUE);
}

void setupFavoriteColumns(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_FAVORITE_LIST);
    shownDpi = windowDpi(dialog);
    for (int32_t k = 0; k < kColumnCount; ++k)
        insertListColumn(list, k, storedToPixels(context->columnState[k].width, shownDpi),
                         favoriteColumnNames[k]);
    // An order that does not name each column once (a damaged "Setting.dat") is not applied.
    if (isColumnPermutation(context->columnOrder))
        setListColumnOrder(list, context->columnOrder, kColumnCount);
}

void storeFavoriteColumns(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_FAVORITE_LIST);
    int32_t order[kColumnCount];
    if (listColumnOrder(list, order, kColumnCount) && isColumnPermutation(order))
        std::memcpy(context->columnOrder, order, sizeof order);
    for (int32_t k = 0; k < kColumnCount; ++k)
        context->columnState[k].width = pixelsToStored(listColumnWidth(list, k), windowDpi(dialog));
}

void storeFavoritesPlace(HWND dialog) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    RECT box{};
    GetWindowRect(dialog, &box);
    // A minimised or maximised dialog keeps the rectangle it will be restored to. That one is
    // in work-area coordinates, which differ from the screen's by a task bar at the top or left.
    if ((IsIconic(dialog) || IsZoomed(dialog)) && GetWindowPlacement(dialog, &placement)) {
        box = placement.rcNormalPosition;
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (GetMonitorInfoA(MonitorFromRect(&box, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
            OffsetRect(&box, monitor.rcWork.left - monitor.rcMonitor.left,
                       monitor.rcWork.top - monitor.rcMonitor.top);
        }
    }
    context->favoritesRect =
        pixelsToStored({box.left, box.top, box.right, box.bottom}, windowDpi(dialog));
}

void rescaleFavoritesDialog(HWND dialog, int32_t dpi, const RECT& suggested) {
    for (int id : {IDC_FAVORITE_LIST, IDC_HISTORY_LIST}) {
        HWND list = GetDlgItem(dialog, id);
        int32_t columns = id == IDC_FAVORITE_LIST ? kColumnCount : kHistoryColumnCount;
        for (int32_t k = 0; k < columns; ++k) {
            int32_t width = pixelsToStored(listColumnWidth(list, k), shownDpi);
            SendMessageA(list, LVM_SETCOLUMNWIDTH, WPARAM(k),
                         MAKELPARAM(storedToPixels(width, dpi), 0));
        }
    }
    shownDpi = dpi;
    SetWindowPos(dialog, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    layoutFavoritesDialog(dialog);
}

void updateSortMarks(HWND dialog) {
    for (int32_t k = 0; k < kColumnCount; ++k) {
        int arrow = context->columnState[k].descending ? HDF_SORTDOWN : HDF_SORTUP;
        setSortArrow(GetDlgItem(dialog, IDC_FAVORITE_LIST), k,
                     k == context->sortColumn ? arrow : 0);
    }
}

}  // namespace lb
