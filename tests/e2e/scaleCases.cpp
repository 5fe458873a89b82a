// Every label and header of the plug-in's windows whole at the display's scale: run at 96 DPI
// with the other cases, and alone at 144 and 192 DPI (runAtDpi.sh). Each static text, button,
// check box, tab and list-view column header is measured in the control's own font against the
// room the control gives it. Texts that run on by design (rows, fields, the sample lines, a
// game's name) are not measured.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "dialogDriver.h"
#include "resource.h"
#include "session.h"

using namespace host;

namespace {

int scaled(int pixels) { return MulDiv(pixels, screenDpi(), 96); }

// The room `text` takes in `control`'s font, laid out as DrawText's `format` within `width`.
SIZE extent(HWND control, const std::string& text, UINT format, int width) {
    HDC dc = GetDC(control);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
    RECT r{0, 0, width, 0};
    DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | format);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {r.right, r.bottom};
}

std::string className(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

void report(const std::string& where, HWND control, const std::string& text, long need, long room) {
    int id = GetDlgCtrlID(control);
    CHECK(need <= room, where + (id != 0 ? ", control " + std::to_string(id) : "") + " \"" + text +
                            "\" at " + std::to_string(screenDpi()) + " DPI: needs " +
                            std::to_string(need) + " pixels, has " + std::to_string(room));
}

// The column headers of a list: each title with its margins, and the sort arrow's room where
// one shows; and no horizontal scroll bar under them.
void checkHeaders(const std::string& where, HWND list) {
    if (GetWindowLongA(list, GWL_STYLE) & LVS_NOCOLUMNHEADER) return;
    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    int count = int(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[256] = "";
        HDITEMA item{};
        item.mask = HDI_TEXT | HDI_FORMAT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(header, HDM_GETITEMA, WPARAM(i), reinterpret_cast<LPARAM>(&item));
        RECT box{};
        SendMessageA(header, HDM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&box));
        int arrow = (item.fmt & (HDF_SORTUP | HDF_SORTDOWN)) ? scaled(16) : 0;
        long need = extent(header, text, DT_SINGLELINE, 0).cx + scaled(12) + arrow;
        report(where + ", header of list " + std::to_string(GetDlgCtrlID(list)), header, text, need,
               box.right - box.left);
    }
    // The favourites' ten columns may pass the list's width; the other lists fit theirs.
    CHECK(
        GetDlgCtrlID(list) == IDC_FAVORITE_LIST || !(GetWindowLongA(list, GWL_STYLE) & WS_HSCROLL),
        where + ": list " + std::to_string(GetDlgCtrlID(list)) +
            " has a horizontal scroll bar at " + std::to_string(screenDpi()) + " DPI");
}

void checkControl(const std::string& where, HWND control) {
    if (!IsWindowVisible(control)) return;
    char buffer[1024] = "";
    GetWindowTextA(control, buffer, sizeof buffer);
    std::string type = className(control), text = buffer;
    LONG style = GetWindowLongA(control, GWL_STYLE);
    RECT room{};
    GetClientRect(control, &room);
    int id = GetDlgCtrlID(control);
    bool runsOn = id == IDC_GAME_SAMPLE || id == IDC_GAME_NAME || id == IDC_ARGUMENTS_SAMPLE;
    if (type == "SysListView32") return checkHeaders(where, control);
    if (type == "SysTabControl32") {
        int count = int(SendMessageA(control, TCM_GETITEMCOUNT, 0, 0));
        RECT last{};
        if (count > 0) SendMessageA(control, TCM_GETITEMRECT, count - 1, LPARAM(&last));
        return report(where, control, "(tabs)", last.right, room.right);
    }
    bool ellipsis = type == "Static" && (style & SS_ELLIPSISMASK) != 0;
    if (text.empty() || runsOn || ellipsis) return;
    UINT prefix = (type == "Static" && (style & SS_NOPREFIX)) ? DT_NOPREFIX : 0;
    if (type == "Static" && (style & SS_TYPEMASK) <= SS_RIGHT) {
        SIZE need = extent(control, text, DT_WORDBREAK | prefix, room.right);
        report(where, control, text, need.cx, room.right);
        return report(where, control, text, need.cy, room.bottom);
    }
    if (type != "Button" || (style & BS_TYPEMASK) == BS_GROUPBOX) return;
    LONG kind = style & BS_TYPEMASK;
    bool box = kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON ||
               kind == BS_AUTORADIOBUTTON;
    long margin = box ? GetSystemMetrics(SM_CXMENUCHECK) + scaled(4) : scaled(6);
    report(where, control, text, extent(control, text, DT_SINGLELINE, 0).cx + margin, room.right);
}

// Every control of `window` measured; `where` names it in a failure.
void checkWhole(HWND window, const std::string& where) {
    if (window == nullptr) return;
    Sleep(200);  // laid out and painted
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        checkControl(where, child);
}

// Windows 7 and 8 have neither SetThreadDpiAwarenessContext nor GetDpiForWindow: the plug-in's
// GetProcAddress answers for them as those systems' does.
int newerAsked = 0;
FARPROC WINAPI olderGetProcAddress(HMODULE module, LPCSTR name) {
    bool newer = HIWORD(reinterpret_cast<uintptr_t>(name)) != 0 &&
                 (std::strcmp(name, "SetThreadDpiAwarenessContext") == 0 ||
                  std::strcmp(name, "GetDpiForWindow") == 0);
    if (!newer) return GetProcAddress(module, name);
    ++newerAsked;
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

// Points the module's import of `function` from `library` at `replacement`.
void patchImport(HMODULE module, const char* library, const char* function, void* replacement) {
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const auto& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         d->Name != 0; ++d) {
        if (lstrcmpiA(reinterpret_cast<char*>(base + d->Name), library) != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* named = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<char*>(named->Name), function) != 0) continue;
            DWORD old = 0;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old);
            slots->u1.Function = reinterpret_cast<uintptr_t>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
        }
    }
}

}  // namespace

HOST_CASE(everyLabelAndHeaderOfThePluginsWindowsIsWholeAtTheDisplaysScale) {
    std::printf("  at %d DPI\n", screenDpi());
    Session s("scale");
    std::string a = s.installStub("Emu\\mGBA"), b = s.installStub("Emu\\Duck");
    CopyFileA(a.c_str(), (s.root + "Emu\\mGBA\\mGBA.exe").c_str(), FALSE);
    CopyFileA(b.c_str(), (s.root + "Emu\\Duck\\duckstation-qt-x64-ReleaseLTCG.exe").c_str(), FALSE);
    s.writeCache({{"K1", s.root + "mario.n64", "mario.n64"}});
    s.writeEmulators({emulator("Project64 1.6", a, 0), emulator("RetroArch (ParaLLEl N64)", b, 0)});
    writeFile(s.dataDir + s.system + ".fvr", favoritesFile(s.system, {favorite("Mario", "K1")}));
    Chain chain({"K1"});
    s.popupItems();
    s.clickAndWait(0, chain.first());  // a play for the history tab
    onMenuDialog(s.plugin, 0, "エミュレータ設定(Launchboard)", [&](HWND settings) {
        checkWhole(settings, "the settings dialog");
        // Wine's folder dialog now and then stays on the desktop in a new prefix: asked twice.
        bool picked = false;
        for (int attempt = 0; attempt < 2 && !picked; ++attempt) {
            clickLater(settings, IDC_SCAN);
            HWND browser = waitForDialog("エミュレータを探すフォルダ");
            picked = browser != nullptr && pickFolderIn(browser, s.root + "Emu", attempt == 1);
        }
        if (picked) {
            HWND found = waitForDialog("見つかったエミュレータ(Launchboard) - 2件", 15000);
            checkWhole(found, "the scan's result");
            if (found != nullptr) clickNow(found, IDCANCEL);
            waitUntilClosed(found);
        }
        clickLater(settings, IDC_ADD);
        HWND edit = waitForDialog("エミュレータ追加(Launchboard)");
        checkWhole(edit, "the edit dialog");
        if (edit != nullptr) clickNow(edit, IDCANCEL);
        waitUntilClosed(edit);
        clickNow(settings, IDCANCEL);
    });
    onMenuDialog(s.plugin, 1, favoritesTitle(1), [&](HWND dialog) {
        checkWhole(dialog, "the favourites tab");
        selectRows(dialog, IDC_FAVORITE_LIST, {0}, 0);
        clickLater(dialog, IDM_GAME_SETTING);
        HWND game = waitForDialog("このゲームの起動設定(Launchboard)");
        checkWhole(game, "the game's setting");
        if (game != nullptr) clickNow(game, IDCANCEL);
        waitUntilClosed(game);
        showFavoritesTab(dialog, 1);
        checkWhole(dialog, "the history tab");
        showFavoritesTab(dialog, 0);
        // Moved to a monitor of half as large a scale again: the rectangle Windows suggests,
        // and the columns half as wide again.
        HWND list = GetDlgItem(dialog, IDC_FAVORITE_LIST);
        int before = int(SendMessageA(list, LVM_GETCOLUMNWIDTH, 1, 0));
        RECT box{}, moved{};
        GetWindowRect(dialog, &box);
        RECT larger = box;  // where Windows suggests it, kept on this screen
        OffsetRect(&larger, 20, 20);
        SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(3 * screenDpi() / 2, 3 * screenDpi() / 2),
                     LPARAM(&larger));
        GetWindowRect(dialog, &moved);
        CHECK(EqualRect(&moved, &larger) &&
                  SendMessageA(list, LVM_GETCOLUMNWIDTH, 1, 0) == 3 * before / 2,
              "a move to a monitor at 150% of this scale: the suggested rectangle, columns "
              "half as wide again");
        clickNow(dialog, IDCANCEL);
    });
    holdShift(true);
    s.popupItems();
    runDriven([&] { return s.plugin.onPopupMenuHaveClick(1, chain.first()); },
              [&] {
                  HWND box = nullptr;
                  waitUntil([&] { return (box = FindWindowA("#32770", "起動の確認")) != nullptr; });
                  checkWhole(box, "the launch preview");
                  CHECK(box != nullptr, "the launch preview shows");
                  if (box != nullptr) PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
                  waitUntilClosed(box);
              });
    holdShift(false);
}

// Run in a prefix whose Windows version is 7: the DLL finds no per-monitor function, and the
// popup's launch and the settings dialog work as before, the history tab scaled by the screen's
// DPI all the same.
HOST_CASE(withoutThePerMonitorFunctionsThePopupAndTheSettingsDialogStillWork) {
    Session s("older");
    patchImport(s.plugin.module, "kernel32.dll", "GetProcAddress",
                reinterpret_cast<void*>(&olderGetProcAddress));
    std::string exe = s.installStub("Emu");
    s.writeCache({{"K1", s.root + "mario.n64", "mario.n64"}});
    s.writeEmulators({emulator("Stub", exe, 0)});
    Chain chain({"K1"});
    s.popupItems();
    CHECK_EQ(s.clickAndWait(0, chain.first()).commandLine, exe + " " + s.root + "mario.n64",
             "the popup starts the emulator");
    int result = onMenuDialog(s.plugin, 0, "エミュレータ設定(Launchboard)", [&](HWND settings) {
        checkWhole(settings, "the settings dialog");
        clickNow(settings, IDOK);
    });
    CHECK_EQ(result, 1, "the settings dialog opens and closes with OK");
    onMenuDialog(s.plugin, 1, favoritesTitle(0), [&](HWND dialog) {
        showFavoritesTab(dialog, 1);
        checkWhole(dialog, "the history tab");
        showFavoritesTab(dialog, 0);
        clickNow(dialog, IDCANCEL);
    });
    CHECK(newerAsked > 0, "the plug-in looked for the per-monitor functions and found none");
}
