// The dialog helpers that take more than one message.
#include "dialogs/dialogSupport.h"

#include "core/placement.h"
#include "core/pluginContext.h"

namespace lb {

HINSTANCE pluginInstance() { return static_cast<HINSTANCE>(context->moduleHandle); }

void centerWindow(HWND window) {
    RECT work{}, box{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(window, &box);
    ScreenPoint origin = centredOrigin({work.left, work.top, work.right, work.bottom},
                                       {box.left, box.top, box.right, box.bottom});
    SetWindowPos(window, nullptr, origin.x, origin.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER);
}

void readControlText(HWND dialog, int id, char (&field)[kTextSize]) {
    char text[4 * kTextSize];  // room beyond the field, so the cut is made here by characters
    text[0] = '\0';
    GetDlgItemTextA(dialog, id, text, sizeof text);
    copyText(field, text);
}

bool confirmDeletion(HWND owner, const char* text) {
    return MessageBoxA(owner, text, "削除確認", MB_OKCANCEL) == IDOK;
}

void enableControls(HWND dialog, std::initializer_list<int> ids, bool on) {
    for (int id : ids) EnableWindow(GetDlgItem(dialog, id), on);
}

void addListStyles(HWND list, DWORD styles) {
    DWORD style = DWORD(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style | styles);
}

void insertListColumn(HWND list, int32_t index, int32_t width, const char* title) {
    LVCOLUMNA column{};
    column.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.cx = width;
    column.pszText = const_cast<char*>(title);
    column.iSubItem = index;
    SendMessageA(list, LVM_INSERTCOLUMNA, WPARAM(index), reinterpret_cast<LPARAM>(&column));
}

void setSortArrow(HWND list, int32_t column, int arrow) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    SendMessageA(header, HDM_GETITEMA, WPARAM(column), reinterpret_cast<LPARAM>(&item));
    item.fmt = (item.fmt & ~(HDF_SORTUP | HDF_SORTDOWN)) | arrow;
    SendMessageA(header, HDM_SETITEMA, WPARAM(column), reinterpret_cast<LPARAM>(&item));
}

void provideListText(NMLVDISPINFOA& request, const char* text) {
    if (!(request.item.mask & LVIF_TEXT) || request.item.pszText == nullptr ||
        request.item.cchTextMax <= 0)
        return;
    copyText(request.item.pszText, size_t(request.item.cchTextMax), text);
}

void refreshListView(HWND list, int32_t count, int32_t row) {
    SendMessageA(list, LVM_SETITEMCOUNT, WPARAM(count), LVSICF_NOINVALIDATEALL);
    LVITEMA state{};
    state.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&state));
    if (row != -1) {
        state.state = LVIS_FOCUSED | LVIS_SELECTED;
        SendMessageA(list, LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&state));
        SendMessageA(list, LVM_ENSUREVISIBLE, WPARAM(row), FALSE);
    }
    InvalidateRect(list, nullptr, TRUE);
}

int32_t focusedSelectedRow(HWND list) {
    return int32_t(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1),
                                MAKELPARAM(LVNI_FOCUSED | LVNI_SELECTED, 0)));
}

int32_t selectedRows(HWND list, int32_t* rows, int32_t capacity) {
    int32_t count = 0;
    for (int32_t row = -1; count < capacity;) {
        row =
            int32_t(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(row), MAKELPARAM(LVNI_SELECTED, 0)));
        if (row < 0) break;
        rows[count++] = row;
    }
    return count;
}

}  // namespace lb
