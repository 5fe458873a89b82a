// The host's windows on Windows: the active window's descendants, their classes and texts; the
// plug-in's message boxes and the visual styles every window of the plug-in is opened under;
// the keyboard's Shift state.
#include <windows.h>

#include <commctrl.h>

#include "platform/win32/win32Seam.h"

namespace platform {

namespace {

struct Visit {
    void (*visit)(WindowHandle, void*);
    void* user;
};

BOOL CALLBACK visitChild(HWND window, LPARAM parameter) {
    auto* v = reinterpret_cast<Visit*>(parameter);
    v->visit(reinterpret_cast<WindowHandle>(window), v->user);
    return TRUE;
}

}  // namespace

void forEachActiveWindowDescendant(void (*visit)(WindowHandle, void*), void* user) {
    // Without an active window EnumChildWindows would walk every top-level window of the
    // desktop, other programs' combo boxes included.
    HWND active = GetActiveWindow();
    if (active == nullptr) return;
    Visit v{visit, user};
    EnumChildWindows(active, visitChild, reinterpret_cast<LPARAM>(&v));
}

void windowClassName(WindowHandle window, char* buffer, size_t size) {
    if (GetClassNameA(asWindow(window), buffer, int(size)) == 0 && size > 0) buffer[0] = '\0';
}

bool isWindowVisible(WindowHandle window) { return IsWindowVisible(asWindow(window)) != FALSE; }

int32_t clientWidth(WindowHandle window) {
    RECT r{};
    GetClientRect(asWindow(window), &r);
    return r.right;
}

void windowText(WindowHandle window, char* buffer, size_t size) {
    SendMessageA(asWindow(window), WM_GETTEXT, WPARAM(size), reinterpret_cast<LPARAM>(buffer));
}

namespace {

HANDLE visualStyles = INVALID_HANDLE_VALUE;
bool visualStylesTried = false;

}  // namespace

uintptr_t beginVisualStyles() {
    if (!visualStylesTried) {
        visualStylesTried = true;
        HMODULE self = nullptr;
        GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCSTR>(&beginVisualStyles), &self);
        ACTCTXA request{};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.hModule = self;
        request.lpResourceName = MAKEINTRESOURCEA(2);  // the manifest resource of a DLL
        visualStyles = CreateActCtxA(&request);
        ULONG_PTR cookie = 0;
        // The version 6 controls register their window classes under the context.
        if (visualStyles != INVALID_HANDLE_VALUE && ActivateActCtx(visualStyles, &cookie)) {
            INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
            InitCommonControlsEx(&controls);
            DeactivateActCtx(0, cookie);
        }
    }
    ULONG_PTR cookie = 0;
    if (visualStyles == INVALID_HANDLE_VALUE || !ActivateActCtx(visualStyles, &cookie)) return 0;
    return uintptr_t(cookie);
}

void endVisualStyles(uintptr_t cookie) {
    if (cookie != 0) DeactivateActCtx(0, ULONG_PTR(cookie));
}

void releaseVisualStyles() {
    if (visualStyles != INVALID_HANDLE_VALUE) ReleaseActCtx(visualStyles);
    visualStyles = INVALID_HANDLE_VALUE;
}

namespace {

// SetThreadDpiAwarenessContext, where user32 has it (Windows 10 1607 and later).
using SetAwareness = HANDLE(WINAPI*)(HANDLE);
SetAwareness setAwareness() {
    static SetAwareness set = reinterpret_cast<SetAwareness>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "SetThreadDpiAwarenessContext")));
    return set;
}

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, which Windows before 1703 refuses.
const HANDLE kPerMonitorV2 = reinterpret_cast<HANDLE>(intptr_t(-4));

}  // namespace

uintptr_t beginDpiAwareWindows() {
    SetAwareness set = setAwareness();
    return set != nullptr ? uintptr_t(set(kPerMonitorV2)) : 0;  // 0: refused, nothing changed
}

void endDpiAwareWindows(uintptr_t previous) {
    if (previous != 0) setAwareness()(reinterpret_cast<HANDLE>(previous));
}

void showExclamation(const char* text) {
    PluginWindows windows;
    MessageBoxA(GetActiveWindow(), text, nullptr, MB_OK | MB_ICONEXCLAMATION);
}

void showExclamationOwnedBy(WindowHandle owner, const char* text) {
    PluginWindows windows;
    MessageBoxA(asWindow(owner), text, nullptr,
                MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND | MB_TOPMOST);
}

bool askOkCancel(const char* text, const char* caption) {
    PluginWindows windows;
    return MessageBoxA(GetActiveWindow(), text, caption, MB_OKCANCEL | MB_ICONINFORMATION) == IDOK;
}

WindowHandle activeWindow() { return reinterpret_cast<WindowHandle>(GetActiveWindow()); }

WindowHandle rootOwner(WindowHandle window) {
    if (window == 0) return 0;
    return reinterpret_cast<WindowHandle>(GetAncestor(asWindow(window), GA_ROOTOWNER));
}

bool windowExists(WindowHandle window) { return window != 0 && IsWindow(asWindow(window)); }

bool isShiftDown() { return GetKeyState(VK_SHIFT) < 0; }

}  // namespace platform
