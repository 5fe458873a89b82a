// The library's attach and detach: the common controls for the dialogs, the state record, and
// at detach the visual styles' activation context. The attach is refused when the record cannot
// be allocated. COM is initialised only around the browse dialogs that need it, on their thread.
#include <windows.h>

#include <commctrl.h>

#include "core/pluginContext.h"
#include "platform/platform.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_USEREX_CLASSES};
        InitCommonControlsEx(&controls);
        if (!lb::attachPlugin(instance)) return FALSE;
    } else if (reason == DLL_PROCESS_DETACH) {
        platform::releaseVisualStyles();
    }
    return TRUE;
}
