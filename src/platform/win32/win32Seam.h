// What the Win32 files of the platform seam share among themselves and with nobody else: the
// last failure noted, the window handle's cast, and the waits and stops of the plug-in's two
// threads, the session watcher and the worker.
#pragma once

#include <windows.h>

#include "platform/platform.h"

namespace platform {

// The error of the last call of this seam that failed; deleteFile leaves it alone.
extern DWORD lastFailure;
// Notes the calling thread's last error when `ok` is false; gives `ok`.
bool noted(bool ok);

inline HWND asWindow(WindowHandle handle) { return reinterpret_cast<HWND>(handle); }

// Whether every process of `job` has ended.
bool jobIsEmpty(HANDLE job);

// Waits at most `limit` ms for a thread of the plug-in to end, answering meanwhile what other
// threads send this one (a message box owned by its window enables and activates it), and
// calling `eachTurn` every 20 ms; whether it ended.
bool awaitThread(HANDLE thread, DWORD limit, void (*eachTurn)() = nullptr);

// The session watcher's part of stopThreads: asking it to stop, then waiting for it at most
// `limit` ms and closing its thread and port. Whether the calling thread is the watcher's.
void askWatcherToStop();
void finishWatcher(DWORD limit);
bool onWatcherThread();

}  // namespace platform
