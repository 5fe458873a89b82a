// The dialog helpers that take more than one message.
#include "dialogs/dialogSupport.h"

#include <shlobj.h>

#include <cstdio>

#include "core/placement.h"
#include "core/pluginContext.h"
#include "favorites/favoriteFilter.h"

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

void readControlText(HWND dialog, int id, char* field, size_t size) {
    static char text[8192];  // room beyond the field, so the cut is made here by characters
    text[0] = '\0';
    GetDlgItemTextA(dialog, id, text, sizeof text);
    copyText(field, size, text);
}

// A plug-in closed while the question was up deletes nothing.
bool confirmDeletion(HWND owner, const char* text) {
    return MessageBoxA(owner, text, "削除確認", MB_OKCANCEL) == IDOK && context != nullptr;
}

bool endedByClose(HWND dialog, UINT message) {
    if (context != nullptr) return false;
    bool acting = message == WM_COMMAND || message == WM_NOTIFY || message == WM_TIMER ||
                  message == WM_CONTEXTMENU || message >= WM_APP;
    if (acting) EndDialog(dialog, IDCANCEL);
    return acting;
}

int32_t windowDpi(HWND window) {
    using GetDpi = UINT(WINAPI*)(HWND);
    static GetDpi forWindow = reinterpret_cast<GetDpi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    UINT dpi = forWindow != nullptr ? forWindow(window) : 0;
    if (dpi == 0) {
        HDC screen = GetDC(nullptr);
        dpi = UINT(GetDeviceCaps(screen, LOGPIXELSY));
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? int32_t(dpi) : kBaseDpi;
}

int32_t scaledPixels(HWND window, int32_t pixelsAt96) {
    return storedToPixels(pixelsAt96, windowDpi(window));
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

bool answerFindRequest(HWND dialog, const NMHDR& header, int32_t rowCount, RowText textOf,
                       const void* user, bool folded) {
    char typed[4 * kTextSize] = "";
    int32_t start = 0;
    UINT flags = 0;
    if (header.code == LVN_ODFINDITEMA) {
        const auto& request = reinterpret_cast<const NMLVFINDITEMA&>(header);
        start = request.iStart;
        flags = request.lvfi.flags;
        if ((flags & (LVFI_STRING | LVFI_PARTIAL)) && request.lvfi.psz != nullptr)
            copyText(typed, sizeof typed, request.lvfi.psz);
    } else if (header.code == LVN_ODFINDITEMW) {
        const auto& request = reinterpret_cast<const NMLVFINDITEMW&>(header);
        start = request.iStart;
        flags = request.lvfi.flags;
        if ((flags & (LVFI_STRING | LVFI_PARTIAL)) && request.lvfi.psz != nullptr &&
            WideCharToMultiByte(CP_ACP, 0, request.lvfi.psz, -1, typed, sizeof typed, nullptr,
                                nullptr) == 0)
            typed[0] = '\0';
    } else {
        return false;
    }
    int32_t row = -1;
    if ((flags & (LVFI_STRING | LVFI_PARTIAL)) && typed[0] != '\0')
        row = findTypedRow(rowCount, start, (flags & LVFI_WRAP) != 0, typed, textOf, user, folded);
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, LONG_PTR(row));
    return true;
}

bool isListKey(const NMHDR& header, WORD key, bool withCtrl) {
    if (header.code != LVN_KEYDOWN) return false;
    const auto& press = reinterpret_cast<const NMLVKEYDOWN&>(header);
    bool ctrl = GetKeyState(VK_CONTROL) < 0;
    return press.wVKey == key && ctrl == withCtrl && GetKeyState(VK_MENU) >= 0;
}

void selectAllRows(HWND list) {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    SendMessageA(list, LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&state));
}

POINT keyboardMenuPoint(HWND list) {
    POINT point{0, 0};
    RECT client{}, row{};
    GetClientRect(list, &client);
    int32_t focused =
        int32_t(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), MAKELPARAM(LVNI_FOCUSED, 0)));
    row.left = LVIR_BOUNDS;
    if (focused >= 0 &&
        SendMessageA(list, LVM_GETITEMRECT, WPARAM(focused), reinterpret_cast<LPARAM>(&row)) &&
        row.bottom > client.top && row.top < client.bottom)
        point = {client.left > row.left ? client.left : row.left, row.bottom};
    ClientToScreen(list, &point);
    return point;
}

void fitColumn(HWND list, int32_t columns, int32_t column) {
    // A narrower column can remove the horizontal bar and with it the vertical one: twice
    // settles it.
    for (int pass = 0; pass < 2; ++pass) {
        RECT client{};
        GetClientRect(list, &client);
        int32_t others = 0;
        for (int32_t k = 0; k < columns; ++k)
            if (k != column) others += listColumnWidth(list, k);
        int32_t least = scaledPixels(list, 60);
        int32_t rest = client.right - others > least ? client.right - others : least;
        if (listColumnWidth(list, column) == rest) break;
        SendMessageA(list, LVM_SETCOLUMNWIDTH, WPARAM(column), MAKELPARAM(rest, 0));
    }
}

void fitLastColumn(HWND list, int32_t columns) { fitColumn(list, columns, columns - 1); }

int32_t listTextWidth(HWND list, const char* text) {
    return int32_t(SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text)));
}

void setCountTitle(HWND dialog, const char* heading, int32_t total, const FavoriteFilter& filter) {
    char title[kTextSize];
    if (filter.narrowed)
        std::snprintf(title, sizeof title, "%s(Launchboard) - %d件中 %d件", heading, int(total),
                      int(filter.shownCount));
    else
        std::snprintf(title, sizeof title, "%s(Launchboard) - %d件", heading, int(total));
    SetWindowTextA(dialog, title);
}

bool answerListKeys(HWND dialog, const NMHDR& header, int32_t rowCount, RowText textOf,
                    void (*remove)(HWND dialog)) {
    if (answerFindRequest(dialog, header, rowCount, textOf, nullptr, true)) return true;
    if (isListKey(header, VK_DELETE)) {
        remove(dialog);
        return true;
    }
    if (isListKey(header, 'A', true)) {
        selectAllRows(header.hwndFrom);
        return true;
    }
    return false;
}

namespace {

struct FolderRequest {
    const char* initial;
    const char* caption;
};

int CALLBACK browseFolderCallback(HWND browser, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) {
        const auto& request = *reinterpret_cast<const FolderRequest*>(data);
        if (request.initial != nullptr)
            SendMessageA(browser, BFFM_SETSELECTIONA, TRUE,
                         reinterpret_cast<LPARAM>(request.initial));
        SetWindowTextA(browser, request.caption);
        centerWindow(browser);
    }
    return 0;
}

}  // namespace

bool pickFolder(HWND owner, const char* prompt, const char* caption, const char* initial,
                char* picked) {
    picked[0] = '\0';
    FolderRequest folder{initial, caption};
    BROWSEINFOA request{};
    request.hwndOwner = owner;
    request.lpszTitle = prompt;
    request.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    request.lpfn = browseFolderCallback;
    request.lParam = reinterpret_cast<LPARAM>(&folder);
    ComApartment com;
    LPITEMIDLIST item = SHBrowseForFolderA(&request);
    if (item == nullptr) return false;
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)) || allocator == nullptr) {
        MessageBoxA(owner, "SHGetMalloc Error", "Error", MB_ICONERROR);
        CoTaskMemFree(item);
        return false;
    }
    if (!SHGetPathFromIDListA(item, picked)) picked[0] = '\0';
    allocator->Free(item);
    allocator->Release();
    return true;
}

}  // namespace lb
