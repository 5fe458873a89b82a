// A stand-in emulator: appends its command line and working folder, one line each, to the file
// named by LB_STUB_LOG (inherited from the host), then exits. With LB_STUB_MODE=menu it is an
// emulator that loads ROMs only through its File menu: a window whose first menu's first item
// opens a file dialog; the file chosen there is logged as "opened=". With LB_STUB_MODE=decoy it
// is another program that takes the foreground and logs every key that reaches it as "key=".
// Texts are read through the
// wide functions and converted to the ANSI code page here, since Wine's ANSI variants cut texts
// holding double-byte characters short.
#include <windows.h>

#include <commdlg.h>

#include <cstdio>
#include <string>

namespace {

constexpr UINT kOpenCommand = 100;
constexpr UINT_PTR kGiveUpTimer = 1;
wchar_t logPath[MAX_PATH];

std::string ansi(const wchar_t* text) {
    int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), n, nullptr, nullptr);
    return out;
}

void logLine(const std::string& line) {
    FILE* out = _wfopen(logPath, L"ab");
    if (out == nullptr) return;
    std::fprintf(out, "%s\r\n", line.c_str());
    std::fclose(out);
}

LRESULT CALLBACK emulatorWindow(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_COMMAND && LOWORD(w) == kOpenCommand) {
        wchar_t file[MAX_PATH] = L"";
        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = window;
        dialog.lpstrFile = file;
        dialog.nMaxFile = MAX_PATH;
        dialog.lpstrFilter = L"ROM\0*.*\0";
        dialog.Flags = OFN_EXPLORER | OFN_NOVALIDATE;
        logLine("opened=" + (GetOpenFileNameW(&dialog) ? ansi(file) : std::string("(cancelled)")));
        PostQuitMessage(0);
        return 0;
    }
    if (message == WM_TIMER) PostQuitMessage(1);
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, w, l);
}

// Shows a window of a class of its own in front and runs its messages until it closes or gives
// up after `giveUpMs`.
int runWindow(HINSTANCE instance, WNDPROC procedure, const wchar_t* type, const wchar_t* title,
              HMENU menu, RECT place, int giveUpMs, const char* readyLine = nullptr) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = type;
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(type, title, WS_OVERLAPPEDWINDOW, place.left, place.top,
                                place.right - place.left, place.bottom - place.top, nullptr, menu,
                                instance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
    SetFocus(window);
    if (readyLine != nullptr) logLine(readyLine);
    SetTimer(window, kGiveUpTimer, UINT(giveUpMs), nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

int runMenuEmulator(HINSTANCE instance) {
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, kOpenCommand, L"&Open...");
    AppendMenuW(file, MF_STRING, 101, L"E&xit");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    return runWindow(instance, emulatorWindow, L"StubMenuEmulator", L"Stub emulator", bar,
                     {100, 100, 500, 400}, 60000);
}

LRESULT CALLBACK decoyWindow(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_CHAR)
        logLine("key=" + std::to_string(message) + ":" + std::to_string(w));
    if (message == WM_TIMER) PostQuitMessage(1);
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, w, l);
}

int runDecoy(HINSTANCE instance) {
    return runWindow(instance, decoyWindow, L"StubDecoy", L"Decoy", nullptr, {150, 150, 450, 350},
                     30000, "decoy=ready");
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (GetEnvironmentVariableW(L"LB_STUB_LOG", logPath, MAX_PATH) == 0) return 1;
    wchar_t folder[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, folder);
    wchar_t self[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    logLine("cmdline=" + ansi(GetCommandLineW()));
    logLine("cwd=" + ansi(folder));
    logLine("exe=" + ansi(self));
    wchar_t mode[16] = L"";
    GetEnvironmentVariableW(L"LB_STUB_MODE", mode, 16);
    wchar_t run[16] = L"";  // LB_STUB_RUN_MS: it lives that long before it exits
    if (GetEnvironmentVariableW(L"LB_STUB_RUN_MS", run, 16) > 0) Sleep(DWORD(_wtoi(run)));
    if (lstrcmpW(mode, L"decoy") == 0) return runDecoy(instance);
    return lstrcmpW(mode, L"menu") == 0 ? runMenuEmulator(instance) : 0;
}
