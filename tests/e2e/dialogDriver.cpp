// The dialog driver: window searches, control access and screen captures from a second thread.
#include "dialogDriver.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "harness.h"
#include "resource.h"

namespace host {

namespace {

struct Search {
    std::string title;
    bool messageBox;
    HWND found = nullptr;
};

bool isMessageBox(HWND window) { return GetDlgItem(window, 0xFFFF) != nullptr; }

BOOL CALLBACK findWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (process != GetCurrentProcessId() || std::strcmp(className, "#32770") != 0 ||
        !IsWindowVisible(window) || isMessageBox(window) != search->messageBox)
        return TRUE;
    if (!search->messageBox && windowTitle(window) != search->title) return TRUE;
    search->found = window;
    return FALSE;
}

HWND find(const std::string& title, bool messageBox, int timeoutMs) {
    for (DWORD start = GetTickCount(); int(GetTickCount() - start) <= timeoutMs;) {
        Search search{title, messageBox};
        EnumWindows(findWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) return search.found;
        Sleep(2);
    }
    return nullptr;
}

std::string leftOpen;  // the titles of the dialogs a script left open

BOOL CALLBACK closeOne(HWND window, LPARAM count) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (process == GetCurrentProcessId() && std::strcmp(className, "#32770") == 0 &&
        IsWindowVisible(window)) {
        leftOpen += show(windowTitle(window)) + " ";
        PostMessageA(window, WM_CLOSE, 0, 0);
        ++*reinterpret_cast<int*>(count);
    }
    return TRUE;
}

DWORD WINAPI runScript(void* parameter) {
    static_cast<Driver*>(parameter)->script();
    return 0;
}

bool sameIcon(HWND box, LPCSTR which) {
    HWND icon = GetDlgItem(box, 0x0440);  // the message box's icon control
    if (icon == nullptr) return false;
    HICON shown = reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0));
    return shown != nullptr && shown == LoadIconA(nullptr, which);
}

}  // namespace

void Driver::start(std::function<void()> run) {
    script = std::move(run);
    thread = CreateThread(nullptr, 0, runScript, this, 0, nullptr);
}

// The host's thread keeps answering its messages while it waits, as a host does: a window that
// the plug-in's worker opens over the host's window needs it.
void Driver::finish() {
    if (thread == nullptr) return;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 60000;) {
        if (MsgWaitForMultipleObjects(1, &thread, FALSE, 100, QS_ALLINPUT) == WAIT_OBJECT_0) break;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    CloseHandle(thread);
    thread = nullptr;
}

int runDriven(const std::function<int()>& modal, const std::function<void()>& script) {
    Driver driver;
    volatile bool done = false;
    driver.start([&] {
        script();
        // Whatever the script left open is closed, so the modal loop below always ends.
        for (int i = 0; i < 200 && !done; ++i) {
            int open = 0;
            EnumWindows(closeOne, reinterpret_cast<LPARAM>(&open));
            if (open > 0 && i == 0)
                fail(__FILE__, __LINE__, "the script left a dialog open: " + leftOpen);
            Sleep(50);
        }
    });
    int result = modal();
    done = true;
    driver.finish();
    return result;
}

int onMenuDialog(Plugin& plugin, int index, const std::string& title, int timeoutMs,
                 const std::function<void(HWND)>& user) {
    return runDriven([&] { return plugin.onMenuClick(index); },
                     [&] {
                         HWND dialog = waitForDialog(title, timeoutMs);
                         if (dialog != nullptr) user(dialog);
                     });
}

HWND waitForDialog(const std::string& title, int timeoutMs) {
    HWND found = find(title, false, timeoutMs);
    if (found == nullptr) fail(__FILE__, __LINE__, "no dialog titled " + show(title));
    return found;
}

Answered answerMessageBox(int button, int timeoutMs) {
    Answered answer;
    HWND box = find("", true, timeoutMs);
    if (box == nullptr) return answer;
    char text[1024] = "", caption[256] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    GetWindowTextA(box, caption, sizeof caption);
    answer = {true, text, caption, sameIcon(box, IDI_HAND), sameIcon(box, IDI_EXCLAMATION)};
    PostMessageA(box, WM_COMMAND, WPARAM(button), 0);
    waitUntilClosed(box);
    return answer;
}

bool noMessageBox(int timeoutMs) { return find("", true, timeoutMs) == nullptr; }

void typeText(HWND dialog, int id, const std::string& text) {
    SendDlgItemMessageA(dialog, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string controlText(HWND dialog, int id) {
    char text[2048] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void chooseComboRow(HWND dialog, int id, int row) {
    SendDlgItemMessageA(dialog, id, CB_SETCURSEL, WPARAM(row), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

int comboRow(HWND dialog, int id) {
    return int(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0));
}
bool isEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
bool isChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void clickNow(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void clickLater(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void clickCheckBox(HWND dialog, int id) { SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); }

void selectRows(HWND dialog, int listId, const std::vector<int>& rows, int focused) {
    HWND list = GetDlgItem(dialog, listId);
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&item));
    for (int row : rows) {
        item.state = LVIS_SELECTED | (row == focused ? LVIS_FOCUSED : 0);
        SendMessageA(list, LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&item));
    }
    if (focused >= 0 && std::find(rows.begin(), rows.end(), focused) == rows.end()) {
        item.state = LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, WPARAM(focused), reinterpret_cast<LPARAM>(&item));
    }
}

bool pickFile(HWND dialog, int button, const std::string& title, const std::string& path) {
    clickLater(dialog, button);
    HWND open = waitForDialog(title);
    if (open == nullptr) return false;
    typeText(open, 0x47C, path);  // the file name box of the open-file dialog
    clickLater(open, IDOK);
    return waitUntilClosed(open);
}

std::vector<std::string> listRows(HWND dialog, int listId) {
    HWND list = GetDlgItem(dialog, listId);
    int count = int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    std::vector<std::string> rows;
    for (int i = 0; i < count; ++i) {
        char text[512] = "";
        LVITEMA item{};
        item.iSubItem = 0;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMTEXTA, WPARAM(i), reinterpret_cast<LPARAM>(&item));
        rows.push_back(text);
    }
    return rows;
}

std::string windowTitle(HWND window) {
    char title[512] = "";
    GetWindowTextA(window, title, sizeof title);
    return title;
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 25) {
        if (done()) return true;
        Sleep(25);
    }
    return false;
}

static BOOL CALLBACK findTree(HWND child, LPARAM found) {
    char name[32] = "";
    GetClassNameA(child, name, sizeof name);
    if (std::strcmp(name, "SysTreeView32") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

bool pickFolderIn(HWND browser, const std::string& folder, bool tell) {
    SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
    std::string last = folder.substr(folder.rfind('\\') + 1);
    HWND tree = nullptr;
    EnumChildWindows(browser, findTree, reinterpret_cast<LPARAM>(&tree));
    int turns = 0;
    bool selected =
        tree != nullptr &&
        waitUntil(
            [&] {
                // The dialog selects its own first folder in its own time: asked again until it
                // shows.
                if (++turns % 20 == 0)
                    SendMessageA(browser, BFFM_SETSELECTIONA, TRUE,
                                 reinterpret_cast<LPARAM>(folder.c_str()));
                char text[MAX_PATH] = "";
                TVITEMA item{};
                item.mask = TVIF_TEXT;
                item.hItem =
                    reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
                item.pszText = text;
                item.cchTextMax = sizeof text;
                return item.hItem != nullptr &&
                       SendMessageA(tree, TVM_GETITEMA, 0, LPARAM(&item)) && last == text;
            },
            5000);
    if (selected) clickLater(browser, IDOK);
    if (!selected) {  // told with what the tree shows instead, and closed
        char text[MAX_PATH] = "";
        TVITEMA item{};
        item.mask = TVIF_TEXT;
        item.hItem =
            tree != nullptr
                ? reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0))
                : nullptr;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        if (item.hItem != nullptr) SendMessageA(tree, TVM_GETITEMA, 0, LPARAM(&item));
        if (tell)
            fail(__FILE__, __LINE__,
                 "the folder dialog shows " + show(text) + ", not " + show(folder));
        clickLater(browser, IDCANCEL);
        waitUntilClosed(browser);
    }
    return selected;
}

bool waitUntilClosed(HWND window, int timeoutMs) {
    return waitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

HWND focusIn(HWND dialog) {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread);
    return thread.hwndFocus;
}

std::string favoritesTitle(int count) {
    return "お気に入り(Launchboard) - " + std::to_string(count) + "件";
}

void clickFavoritesHeader(HWND dialog, int column) {
    HWND list = GetDlgItem(dialog, IDC_FAVORITE_LIST);
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    NMHEADERW click{};
    click.hdr = {header, UINT_PTR(GetDlgCtrlID(header)), UINT(HDN_ITEMCLICKW)};
    click.iItem = column;
    SendMessageA(list, WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
}

HWND waitForPopupMenu(int timeoutMs) {
    for (DWORD start = GetTickCount(); int(GetTickCount() - start) <= timeoutMs; Sleep(10)) {
        if (HWND popup = FindWindowA("#32768", nullptr)) return popup;
    }
    return nullptr;
}

std::vector<std::string> popupMenuItems(HWND owner) {
    std::vector<std::string> items;
    HWND popup = waitForPopupMenu();
    HMENU menu = popup ? reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0)) : nullptr;
    for (int i = 0; menu != nullptr && i < GetMenuItemCount(menu); ++i) {
        char text[64] = "";
        GetMenuStringA(menu, UINT(i), text, sizeof text, MF_BYPOSITION);
        items.push_back(std::to_string(GetMenuItemID(menu, i)) + ":" + text);
    }
    PostMessageA(owner, WM_CANCELMODE, 0, 0);
    Sleep(200);
    return items;
}

bool captureWindow(HWND window, const std::string& bmpPath) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);
    RECT r{};
    GetWindowRect(window, &r);
    int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + DWORD(stride * height);
    std::string bytes(reinterpret_cast<char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<char*>(&info.bmiHeader), sizeof(BITMAPINFOHEADER));
    bytes.append(static_cast<char*>(bits), size_t(stride * height));
    writeFile(bmpPath, bytes);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return width > 0 && height > 0;
}

void showFavoritesTab(HWND dialog, int tab) {
    HWND tabs = GetDlgItem(dialog, IDC_FAVORITE_TABS);
    SendMessageA(tabs, TCM_SETCURSEL, WPARAM(tab), 0);
    NMHDR change{tabs, UINT_PTR(IDC_FAVORITE_TABS), UINT(TCN_SELCHANGE)};
    SendMessageA(dialog, WM_NOTIFY, IDC_FAVORITE_TABS, reinterpret_cast<LPARAM>(&change));
}

void holdShift(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

int screenDpi() {
    HDC screen = GetDC(nullptr);
    int dots = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dots;
}

}  // namespace host
