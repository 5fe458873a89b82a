// The one seam between the plug-in's logic and the operating system. The logic calls only these
// plain functions; the DLL links the Win32 implementation, the native tests a recording fake.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// Files, errors, text and memory: win32Files.cpp, fakeFiles.cpp.

// Files are opened by ANSI path, read and written as raw bytes.
struct File;
// What opening a file to read found: the file; no such file (the system says the file or its
// path is not found); or a file that exists but cannot be opened (shared, denied, any other
// error). `file` is set only when it was opened.
enum class OpenResult { Opened, Missing, Unreadable };
OpenResult openForRead(const char* path, File*& file);
File* createForWrite(const char* path);  // creates or truncates
// Bytes read, 0 at the end of the file, -1 when the system reports a read error.
long readFromFile(File* file, void* buffer, size_t size);
bool writeToFile(File* file, const void* data, size_t size);  // true when every byte was written
// Asks the system to put the file's data on the disk (FlushFileBuffers): a save flushes its
// temporary file before the replace that publishes it, since the rename may outlive the data.
bool flushFile(File* file);
bool closeFile(File* file);  // false when buffered data could not be flushed
// Opens the file for appending, made when missing: each write lands whole at its end, whatever
// others append meanwhile. Null when it cannot be opened, `error` then telling why: the
// watcher's thread appends too, and lastError keeps the host's thread's failures only.
File* openForAppend(const char* path, uint32_t& error);
// The error of the last write, flush or close of `file` that failed, on whichever thread.
uint32_t fileError(const File* file);
// Takes `path` for this writer alone among the plug-in's writers of it, in this process and
// others: every append and every rewrite of the file holds it first. The hold is a file beside
// it, "<path>.lock", open without sharing and removed when released (or when the process ends);
// where that name would pass the longest path, "<path without .txt>.lck". Waits at most
// `milliseconds` while another holds it; 0 when it could not be taken, lastError telling why.
using Hold = uintptr_t;
Hold holdFile(const char* path, uint32_t milliseconds);
void releaseFile(Hold hold);
bool replaceFile(const char* from, const char* to);  // rename over an existing target
bool copyFile(const char* from, const char* to);     // over an existing target
bool deleteFile(const char* path);
// The size in bytes of an existing file; false when there is none or it cannot be asked.
bool fileSize(const char* path, uint64_t& size);
// Its size and when it was last written: a file whose stamp is unchanged has the bytes it had.
bool fileStamp(const char* path, uint64_t& size, uint64_t& written);
// The system's error code of the last open, create, read, write, close, replace, copy or process
// start that failed. Deleting a file leaves it alone, so a save's clean-up keeps the reason it
// failed.
uint32_t lastError();
// The system's words for `error`, inserts such as "%1" left as they are and the final line end
// trimmed; the empty text when the system has none that fits.
void errorText(uint32_t error, char* buffer, size_t size);
bool fileExists(const char* path);
bool isDirectory(const char* path);
void createDirectory(const char* path);  // one level; the result is not examined
// One entry of a folder: its name, whether it is a folder, and whether it is a reparse point (a
// junction or a symbolic link, which a walk never follows).
struct FolderEntry {
    char name[260];
    bool folder;
    bool reparsePoint;
};
// Calls `visit` for each entry of `folder` (its path, with or without a final backslash) but
// "." and "..", until `visit` answers false: a walk stops between two entries, however large the
// folder. False when the folder cannot be read.
bool listFolder(const char* folder, bool (*visit)(const FolderEntry& entry, void* user),
                void* user);

// Whether `path` lies on a network drive (its root's drive type is remote).
bool isOnNetworkDrive(const char* path);

// The value of the process's environment variable `name` (without regard to case): found, no
// such variable, or a value too long for `size` (the buffer then holds nothing of it).
enum class Variable { Found, Missing, TooLong };
Variable environmentVariable(const char* name, char* buffer, size_t size);

// `text` of the system's ANSI code page as UTF-8, with its NUL; false when it does not fit `size`
// or holds a byte that is no character.
bool ansiToUtf8(const char* text, char* buffer, size_t size);
// UTF-8 `text` of at most 259 bytes in the ANSI code page, with its NUL; false when it does not
// fit `size`, is no UTF-8, or holds a character the code page lacks. Any thread may call it.
bool utf8ToAnsi(const char* text, char* buffer, size_t size);

// The 8.3 form of an existing path; false when the system gives none that fits `size`.
bool shortPathName(const char* path, char* buffer, size_t size);

// True when c starts a double-byte character in the system's ANSI code page.
bool isLeadByte(unsigned char c);

// The state record is the one large allocation; it may fail. `allocate` leaves the bytes as
// they are, for a block that is written before it is read.
void* allocateZeroed(size_t size);
void* allocate(size_t size);
void release(void* block);

// The host's windows, message boxes and visual styles: win32Windows.cpp, fakeWindows.cpp.

// Windows of the host, by opaque handle.
using WindowHandle = uintptr_t;
// Calls `visit` for every descendant of the calling thread's active window, in enumeration order.
void forEachActiveWindowDescendant(void (*visit)(WindowHandle window, void* user), void* user);
void windowClassName(WindowHandle window, char* buffer, size_t size);
bool isWindowVisible(WindowHandle window);
int32_t clientWidth(WindowHandle window);
void windowText(WindowHandle window, char* buffer, size_t size);  // WM_GETTEXT

// A message box owned by the calling thread's active window, without caption, with an OK
// button and the exclamation icon.
void showExclamation(const char* text);
// The same, owned by `owner` (0: no owner), brought to the foreground and topmost: for a message
// that must be seen while another program may be in front, where Windows may refuse the
// foreground. The worker shows its messages so.
void showExclamationOwnedBy(WindowHandle owner, const char* text);
// A question with OK and Cancel and the information icon under `caption`, owned by the calling
// thread's active window; true for OK.
bool askOkCancel(const char* text, const char* caption);
// The calling thread's active window (0 for none), and whether Shift is down for it.
WindowHandle activeWindow();
// The top of `window`'s chain of owners: for a dialog, the host's main window. Whether a window
// still exists.
WindowHandle rootOwner(WindowHandle window);
bool windowExists(WindowHandle window);
bool isShiftDown();

// The plug-in's visual styles: the activation context of the DLL's own manifest, which asks
// for version 6 of the common controls whatever the host's manifest says. Every window the
// plug-in opens is opened between begin and end; begin gives the cookie for end. The context
// is made at the first begin and released by releaseVisualStyles at detach.
uintptr_t beginVisualStyles();
void endVisualStyles(uintptr_t cookie);
void releaseVisualStyles();

// The windows the calling thread creates from here on are per-monitor DPI aware (version 2),
// sharp at any display scale, where Windows has it (Windows 10 1703 and later, found at run
// time); elsewhere, and in a host that is aware already, nothing changes. Begin gives what end
// sets back.
uintptr_t beginDpiAwareWindows();
void endDpiAwareWindows(uintptr_t previous);

// The plug-in's windows: from where it is made until it goes out of scope, the visual styles
// are active and the windows the thread creates are per-monitor DPI aware.
class PluginWindows {
public:
    PluginWindows() : cookie_(beginVisualStyles()), awareness_(beginDpiAwareWindows()) {}
    ~PluginWindows() {
        endDpiAwareWindows(awareness_);
        endVisualStyles(cookie_);
    }
    PluginWindows(const PluginWindows&) = delete;
    PluginWindows& operator=(const PluginWindows&) = delete;

private:
    uintptr_t cookie_, awareness_;
};

// Processes, jobs, the session watcher and the clocks: win32Processes.cpp and
// win32Sessions.cpp, fakeProcesses.cpp.

// A started process, closed with closeProcess.
using ProcessHandle = uintptr_t;
void closeProcess(ProcessHandle process);
// The id of a started process; the process that owns the foreground window (0 for none), and
// whether that window is a console window (a console program's or a batch file's, which under
// Wine belongs to the console host).
uint32_t processIdOf(ProcessHandle process);
uint32_t foregroundProcessId(bool& console);

// WaitForInputIdle: 0 once the process waits for input, kWaitTimeout when the time ran out,
// kWaitFailed when it cannot wait (a console program, a batch file).
constexpr uint32_t kWaitTimeout = 0x102, kWaitFailed = 0xFFFFFFFF;
uint32_t waitForInputIdle(ProcessHandle process, uint32_t milliseconds);
// Whether a started process has ended; its creation time (0 when unknown). The creation time of
// process `id`, in the same units, for any process that can be asked (0 when unknown).
bool processExited(ProcessHandle process);
uint64_t processCreationTime(ProcessHandle process);
uint64_t creationTimeOf(uint32_t processId);

// One snapshot of the running processes: each process's id and its parent's; the number of
// links written, at most `capacity`.
struct ProcessLink {
    uint32_t id, parent;
};
int32_t snapshotProcesses(ProcessLink* links, int32_t capacity);

// A launch's session. startProcessInJob starts exactly the program `application` with
// `commandLine`, the way every launch does: no inheritance, the plug-in's environment, shown
// normally; naming the program keeps Windows from trying shorter paths of a path with blanks.
// It starts suspended inside a job object that takes along every process it starts, then
// resumes; `job` is 0 where Windows refuses a job. The process handle is returned (0 when
// nothing started: lastError tells why) and must be closed with closeProcess. The session watcher,
// a thread of the plug-in, learns when every process of the job has ended (without a job: the
// process and those it started, followed by their parent links) and then calls `ended(data,
// milliseconds, false)` on its own thread; stopThreads, at closePlugin, ends every session still
// running, calling `ended(data, milliseconds so far, true)`. The watcher owns the job from
// watchSession on; false, calling nothing, when it cannot watch.
using JobHandle = uintptr_t;
ProcessHandle startProcessInJob(const char* application, const char* commandLine,
                                const char* workingDir, JobHandle& job);
bool watchSession(JobHandle job, uint32_t processId, void (*ended)(void*, uint64_t, bool),
                  void* data);
// Whether process `id` is in `job`; whether every process of `job` has ended. A second handle of
// a job, for a thread that is not the watcher, and its closing.
bool processInJob(uint32_t id, JobHandle job);
bool jobEnded(JobHandle job);
JobHandle duplicateJob(JobHandle job);
void closeJob(JobHandle job);

// Milliseconds of real time, from an arbitrary start.
uint64_t tickCount();
// The local time as "YYYY/MM/DD HH:MM:SS".
void localTimeText(char (&text)[20]);

// The worker, keys and the clipboard: win32Worker.cpp; fakeProcesses.cpp and fakeWindows.cpp.

// The plug-in's one worker thread, for the keyboard-driven launch's wait and key script. It
// runs `body(data)` holding a reference to the DLL, which it gives up as it ends, so a host that
// unloads the DLL early never unmaps the code it runs. False, running nothing, when no thread
// could be started.
bool startWorker(void (*body)(void* data), void* data);
// Whether the worker still runs.
bool workerRunning();
// Asks the worker and the session watcher to stop, together, and waits at most about 1 s in
// all until both have ended: a message box the worker shows is closed, and what the box sends
// the calling thread (the owner's thread) is answered meanwhile. Once a thread has ended its
// handles are closed; a worker that could not be ended still counts as running, so no second
// one starts.
void stopThreads();
// For the worker's body: a pause that ends early when a stop is asked for; false then.
bool pauseUnlessStopped(uint32_t milliseconds);
bool stopRequested();

// Hands `size` bytes and a NUL to the clipboard as text: 0, -1 when the memory block cannot be
// allocated, -2 when the clipboard cannot be opened.
int32_t setClipboardBytes(const char* bytes, size_t size);

// One synthetic key event (virtual-key code, scan code 0) into the system's input stream.
void keyEvent(uint8_t virtualKey, bool release);
void sleepFor(uint32_t milliseconds);

}  // namespace platform
