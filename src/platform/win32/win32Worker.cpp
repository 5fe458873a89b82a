// The worker thread on Windows, which types a keyboard-driven launch's keys and waits for its
// windows; the stop of both of the plug-in's threads at closePlugin; synthetic keys and the
// clipboard.
#include <windows.h>

#include <new>

#include "platform/win32/win32Seam.h"

namespace platform {

bool awaitThread(HANDLE thread, DWORD limit, void (*eachTurn)()) {
    DWORD since = GetTickCount();
    for (;;) {  // at least one look, even with no time left
        if (eachTurn != nullptr) eachTurn();
        DWORD spent = GetTickCount() - since, left = spent < limit ? limit - spent : 0;
        DWORD woke =
            MsgWaitForMultipleObjects(1, &thread, FALSE, left < 20 ? left : 20, QS_SENDMESSAGE);
        if (woke == WAIT_OBJECT_0) return true;
        MSG message;
        if (woke == WAIT_OBJECT_0 + 1)
            PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        if (left == 0) return false;
    }
}

namespace {

// The worker: its thread, the event that asks it to stop, and its body's arguments.
HANDLE workerThread = nullptr;
DWORD workerThreadId = 0;
HANDLE stopEvent = nullptr;
struct WorkerStart {
    void (*body)(void*);
    void* data;
    HMODULE module;
};

DWORD WINAPI runWorker(LPVOID parameter) {
    WorkerStart start = *static_cast<WorkerStart*>(parameter);
    delete static_cast<WorkerStart*>(parameter);
    start.body(start.data);
    FreeLibraryAndExitThread(start.module, 0);  // the reference taken for this thread
}

BOOL CALLBACK closeWorkerWindow(HWND window, LPARAM) {
    PostMessageA(window, WM_COMMAND, IDOK, 0);  // its message box
    return TRUE;
}

}  // namespace

bool startWorker(void (*body)(void*), void* data) {
    if (workerRunning()) return false;
    if (workerThread != nullptr) CloseHandle(workerThread);
    workerThread = nullptr;
    if (stopEvent == nullptr) stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (stopEvent == nullptr) return false;
    // The visual styles' context is made here, on the host's thread, before the worker's
    // message boxes use it.
    endVisualStyles(beginVisualStyles());
    ResetEvent(stopEvent);
    HMODULE self = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCSTR>(&runWorker), &self))
        return false;
    auto* start = new (std::nothrow) WorkerStart{body, data, self};
    if (start != nullptr)
        workerThread = CreateThread(nullptr, 0, runWorker, start, 0, &workerThreadId);
    if (workerThread == nullptr) {
        delete start;
        FreeLibrary(self);
        return false;
    }
    return true;
}

bool workerRunning() {
    return workerThread != nullptr && WaitForSingleObject(workerThread, 0) == WAIT_TIMEOUT;
}

namespace {

// Waits for the worker, asked to stop, at most `limit` ms; then closes its handles. The body
// looks at the event at least every 100 ms; a message box it shows is closed. The box's owner
// is a window of this thread, so the box's own messages to it (enabling it again, activating
// it) are answered while this thread waits.
void finishWorker(DWORD limit) {
    if (workerThread == nullptr) return;
    auto closeBoxes = [] { EnumThreadWindows(workerThreadId, closeWorkerWindow, 0); };
    if (!awaitThread(workerThread, limit, closeBoxes)) return;  // it keeps its handles and the DLL
    CloseHandle(workerThread);
    workerThread = nullptr;
    CloseHandle(stopEvent);
    stopEvent = nullptr;
}

}  // namespace

void stopThreads() {
    // Both are asked at once and waited for within one budget: closePlugin returns within 1 s.
    constexpr DWORD kBudget = 950;
    DWORD since = GetTickCount();
    if (workerThread != nullptr) SetEvent(stopEvent);
    askWatcherToStop();
    finishWorker(kBudget);
    DWORD spent = GetTickCount() - since;
    finishWatcher(spent < kBudget ? kBudget - spent : 0);
}

bool stopRequested() {
    return stopEvent != nullptr && WaitForSingleObject(stopEvent, 0) == WAIT_OBJECT_0;
}

bool pauseUnlessStopped(uint32_t milliseconds) {
    if (stopEvent == nullptr) {
        Sleep(milliseconds);
        return true;
    }
    return WaitForSingleObject(stopEvent, milliseconds) == WAIT_TIMEOUT;
}

int32_t setClipboardBytes(const char* bytes, size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size + 1);
    if (block == nullptr) return -1;
    void* target = GlobalLock(block);
    if (target != nullptr) {
        CopyMemory(target, bytes, size);
        GlobalUnlock(block);
    }
    if (!OpenClipboard(nullptr)) {
        GlobalFree(block);
        return -2;
    }
    EmptyClipboard();
    SetClipboardData(CF_TEXT, block);  // the clipboard owns the block from here on
    CloseClipboard();
    return 0;
}

void keyEvent(uint8_t virtualKey, bool release) {
    keybd_event(virtualKey, 0, release ? KEYEVENTF_KEYUP : 0, 0);
}

void sleepFor(uint32_t milliseconds) { Sleep(milliseconds); }

}  // namespace platform
