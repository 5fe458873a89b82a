// The platform seam on Windows: ANSI Win32 calls, one per function.
#include <windows.h>

#include <commctrl.h>
#include <shlwapi.h>
#include <tlhelp32.h>

#include <initializer_list>
#include <new>

#include "platform/platform.h"

namespace platform {

struct File {
    HANDLE handle;
};

namespace {

// The error of the last call of this seam that failed; deleteFile leaves it alone.
DWORD lastFailure = 0;

// Notes the calling thread's last error when `ok` is false; gives `ok`.
bool noted(bool ok) {
    if (!ok) lastFailure = GetLastError();
    return ok;
}

File* wrap(HANDLE handle) {
    if (!noted(handle != INVALID_HANDLE_VALUE)) return nullptr;
    File* file = new (std::nothrow) File{handle};
    if (file == nullptr) {
        CloseHandle(handle);
        lastFailure = ERROR_NOT_ENOUGH_MEMORY;
    }
    return file;
}

}  // namespace

OpenResult openForRead(const char* path, File*& file) {
    file = wrap(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file != nullptr) return OpenResult::Opened;
    bool missing = lastFailure == ERROR_FILE_NOT_FOUND || lastFailure == ERROR_PATH_NOT_FOUND;
    return missing ? OpenResult::Missing : OpenResult::Unreadable;
}

File* createForWrite(const char* path) {
    return wrap(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
}

long readFromFile(File* file, void* buffer, size_t size) {
    DWORD read = 0;
    if (!noted(ReadFile(file->handle, buffer, DWORD(size), &read, nullptr))) return -1;
    return long(read);
}

bool writeToFile(File* file, const void* data, size_t size) {
    DWORD written = 0;
    if (!noted(WriteFile(file->handle, data, DWORD(size), &written, nullptr))) return false;
    if (written == size) return true;
    lastFailure = ERROR_DISK_FULL;  // a short write
    return false;
}

bool closeFile(File* file) {
    bool ok = noted(CloseHandle(file->handle));
    delete file;
    return ok;
}

bool replaceFile(const char* from, const char* to) {
    return noted(MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

bool copyFile(const char* from, const char* to) { return noted(CopyFileA(from, to, FALSE)); }

uint32_t lastError() { return lastFailure; }

void errorText(uint32_t error, char* buffer, size_t size) {
    if (size == 0) return;
    buffer[0] = '\0';
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             error, 0, buffer, DWORD(size), nullptr);
    if (n == 0 || n >= size) {
        buffer[0] = '\0';
        return;
    }
    while (n > 0 && (buffer[n - 1] == '\n' || buffer[n - 1] == '\r')) buffer[--n] = '\0';
}

bool deleteFile(const char* path) { return DeleteFileA(path) != FALSE; }
bool fileExists(const char* path) { return PathFileExistsA(path) != FALSE; }
bool isDirectory(const char* path) { return PathIsDirectoryA(path) != FALSE; }
void createDirectory(const char* path) { CreateDirectoryA(path, nullptr); }
bool isLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

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

HWND asWindow(WindowHandle handle) { return reinterpret_cast<HWND>(handle); }

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

Variable environmentVariable(const char* name, char* buffer, size_t size) {
    SetLastError(ERROR_SUCCESS);
    DWORD n = GetEnvironmentVariableA(name, buffer, DWORD(size));
    if (n == 0) {
        if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return Variable::Missing;
        if (size == 0) return Variable::TooLong;
        buffer[0] = '\0';  // a variable whose value is empty
        return Variable::Found;
    }
    if (n < size) return Variable::Found;
    if (size > 0) buffer[0] = '\0';
    return Variable::TooLong;
}

bool ansiToUtf8(const char* text, char* buffer, size_t size) {
    static wchar_t wide[32768];
    int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, -1, wide, 32768);
    if (n <= 0) return false;
    return WideCharToMultiByte(CP_UTF8, 0, wide, n, buffer, int(size), nullptr, nullptr) > 0;
}

bool shortPathName(const char* path, char* buffer, size_t size) {
    DWORD n = GetShortPathNameA(path, buffer, DWORD(size));
    return n > 0 && n < size;
}

namespace {

// Starts the program, its first thread suspended when asked; false, noted, when nothing started.
bool start(const char* application, const char* commandLine, const char* workingDir, DWORD flags,
           PROCESS_INFORMATION& process) {
    static char line[65536];                    // 32,767 characters, each of up to two bytes
    lstrcpynA(line, commandLine, sizeof line);  // CreateProcessA may write into it
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    process = PROCESS_INFORMATION{};
    if (CreateProcessA(application, line, nullptr, nullptr, FALSE, flags, nullptr,
                       workingDir[0] != '\0' ? workingDir : nullptr, &startup, &process))
        return true;
    lastFailure = GetLastError();
    return false;
}

}  // namespace

ProcessHandle startProcessInJob(const char* application, const char* commandLine,
                                const char* workingDir, JobHandle& job) {
    job = 0;
    PROCESS_INFORMATION process{};
    if (!start(application, commandLine, workingDir, CREATE_SUSPENDED, process)) return 0;
    // Closing the job never ends its processes: the game runs on after the host closes.
    HANDLE made = CreateJobObjectA(nullptr, nullptr);
    if (made != nullptr && AssignProcessToJobObject(made, process.hProcess)) {
        job = reinterpret_cast<JobHandle>(made);
    } else if (made != nullptr) {
        CloseHandle(made);  // a host already in a job that takes no other (before Windows 8)
    }
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);
    return reinterpret_cast<ProcessHandle>(process.hProcess);
}

void closeProcess(ProcessHandle process) {
    if (process != 0) CloseHandle(reinterpret_cast<HANDLE>(process));
}

uint32_t processIdOf(ProcessHandle process) {
    return process == 0 ? 0 : GetProcessId(reinterpret_cast<HANDLE>(process));
}

uint32_t foregroundProcessId(bool& console) {
    HWND front = GetForegroundWindow();
    DWORD id = 0;
    char name[32] = "";
    if (front != nullptr) {
        GetWindowThreadProcessId(front, &id);
        GetClassNameA(front, name, sizeof name);
    }
    console = lstrcmpA(name, "ConsoleWindowClass") == 0 || lstrcmpA(name, "WineConsoleClass") == 0;
    return id;
}

int32_t snapshotProcesses(ProcessLink* links, int32_t capacity) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int32_t n = 0;
    for (BOOL more = Process32First(snapshot, &entry); more && n < capacity;
         more = Process32Next(snapshot, &entry))
        links[n++] = {entry.th32ProcessID, entry.th32ParentProcessID};
    CloseHandle(snapshot);
    return n;
}

namespace {

uint64_t creationTime(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (process == nullptr || !GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    return uint64_t(created.dwHighDateTime) << 32 | created.dwLowDateTime;
}

}  // namespace

uint64_t processCreationTime(ProcessHandle process) {
    return creationTime(reinterpret_cast<HANDLE>(process));
}

uint64_t creationTimeOf(uint32_t processId) {
    constexpr DWORD kQueryLimitedInformation = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION
    HANDLE process = OpenProcess(kQueryLimitedInformation, FALSE, processId);
    if (process == nullptr) process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
    uint64_t time = creationTime(process);
    if (process != nullptr) CloseHandle(process);
    return time;
}

bool processExited(ProcessHandle process) {
    return WaitForSingleObject(reinterpret_cast<HANDLE>(process), 0) == WAIT_OBJECT_0;
}

uint64_t tickCount() { return GetTickCount64(); }

void localTimeText(char (&text)[20]) {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    unsigned parts[] = {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
    const char separators[] = "// ::";
    int at = 0;
    for (int i = 0; i < 6; ++i) {
        int digits = i == 0 ? 4 : 2;
        for (int d = digits - 1; d >= 0; --d) {
            unsigned v = parts[i];
            for (int k = 0; k < d; ++k) v /= 10;
            text[at++] = char('0' + v % 10);
        }
        if (i < 5) text[at++] = separators[i];
    }
    text[at] = '\0';
}

namespace {

// The session watcher: one thread waiting on a completion port to which every launch's job
// reports, and polling the process tree of a launch that got no job. Sessions are handed over
// by a packet and then belong to the thread alone.
struct WatchedSession {
    HANDLE job;
    DWORD processId;
    uint64_t startTick;
    void (*ended)(void*, uint64_t, bool);
    void* data;
    ULONG_PTR number;   // the completion key of its job
    DWORD members[64];  // without a job: the processes of its tree seen alive
    uint64_t memberCreated[64];
    int memberCount;
    WatchedSession* next;
};

constexpr ULONG_PTR kStopWatching = 1, kNewSession = 2;
HANDLE watchPort = nullptr;
HANDLE watcherThread = nullptr;
DWORD watcherThreadId = 0;
ULONG_PTR nextSessionNumber = 16;  // set by the host's thread only

uint64_t createdAt(DWORD id) { return creationTimeOf(id); }

// Waits at most `limit` ms for a thread of the plug-in to end, answering meanwhile what other
// threads send this one (a message box owned by its window enables and activates it), and
// calling `eachTurn` every 20 ms; whether it ended.
bool awaitThread(HANDLE thread, DWORD limit, void (*eachTurn)() = nullptr) {
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

void endSession(WatchedSession* session, bool cutShort) {
    session->ended(session->data, GetTickCount64() - session->startTick, cutShort);
    if (session->job != nullptr) CloseHandle(session->job);
    delete session;
}

bool jobIsEmpty(HANDLE job) {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
    return QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof info,
                                     nullptr) &&
           info.ActiveProcesses == 0;
}

// Without a job: the tree lives while a process seen in it lives, and takes along each process
// whose parent is in it and was created after that parent.
bool treeAlive(WatchedSession& s) {
    static ProcessLink links[4096];
    int32_t count = snapshotProcesses(links, 4096);
    int kept = 0;
    for (int i = 0; i < s.memberCount; ++i) {
        bool alive = false;
        for (int32_t k = 0; k < count && !alive; ++k) alive = links[k].id == s.members[i];
        if (alive && createdAt(s.members[i]) == s.memberCreated[i]) {
            s.members[kept] = s.members[i];
            s.memberCreated[kept++] = s.memberCreated[i];
        }
    }
    for (int32_t k = 0; k < count && kept < 64; ++k) {
        for (int i = 0; i < kept; ++i) {
            if (links[k].parent != s.members[i]) continue;
            uint64_t created = createdAt(links[k].id);
            bool known = false;
            for (int j = 0; j < kept && !known; ++j) known = s.members[j] == links[k].id;
            if (!known && created >= s.memberCreated[i] && created != 0) {
                s.members[kept] = links[k].id;
                s.memberCreated[kept++] = created;
            }
            break;
        }
    }
    s.memberCount = kept;
    return kept > 0;
}

DWORD WINAPI runWatcher(LPVOID module) {
    WatchedSession* sessions = nullptr;
    ULONG_PTR earlyEnds[64] = {};  // jobs that emptied before their session was handed over
    int earlyNext = 0;
    for (;;) {
        bool polling = false;
        for (WatchedSession* s = sessions; s != nullptr && !polling; s = s->next)
            polling = s->job == nullptr;
        DWORD message = 0;
        ULONG_PTR key = 0;
        LPOVERLAPPED overlapped = nullptr;
        BOOL got = GetQueuedCompletionStatus(watchPort, &message, &key, &overlapped,
                                             polling ? 500 : INFINITE);
        if (got && key == kStopWatching) break;
        if (got && key == kNewSession) {
            auto* session = reinterpret_cast<WatchedSession*>(overlapped);
            bool early = false;
            for (ULONG_PTR number : earlyEnds) early = early || number == session->number;
            if (session->job != nullptr && (early || jobIsEmpty(session->job))) {
                endSession(session, false);
            } else {
                session->next = sessions;
                sessions = session;
            }
        } else if (got && message == JOB_OBJECT_MSG_ACTIVE_PROCESS_ZERO) {
            WatchedSession** link = &sessions;
            while (*link != nullptr && (*link)->number != key) link = &(*link)->next;
            if (*link != nullptr) {
                WatchedSession* ended = *link;
                *link = ended->next;
                endSession(ended, false);
            } else {
                earlyEnds[earlyNext] = key;
                earlyNext = (earlyNext + 1) % 64;
            }
        }
        for (WatchedSession** link = &sessions; *link != nullptr;) {
            WatchedSession* s = *link;
            if (s->job == nullptr && !treeAlive(*s)) {
                *link = s->next;
                endSession(s, false);
            } else {
                link = &s->next;
            }
        }
    }
    while (sessions != nullptr) {
        WatchedSession* s = sessions;
        sessions = s->next;
        endSession(s, true);
    }
    FreeLibraryAndExitThread(static_cast<HMODULE>(module), 0);
}

bool ensureWatcher() {
    if (watcherThread != nullptr) return true;
    if (watchPort == nullptr)
        watchPort = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);
    if (watchPort == nullptr) return false;
    HMODULE self = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCSTR>(&runWatcher), &self))
        return false;
    watcherThread = CreateThread(nullptr, 0, runWatcher, self, 0, &watcherThreadId);
    if (watcherThread == nullptr) FreeLibrary(self);
    return watcherThread != nullptr;
}

}  // namespace

bool watchSession(JobHandle job, uint32_t processId, void (*ended)(void*, uint64_t, bool),
                  void* data) {
    HANDLE jobHandle = reinterpret_cast<HANDLE>(job);
    if (!ensureWatcher()) {
        if (jobHandle != nullptr) CloseHandle(jobHandle);
        return false;
    }
    auto* session = new (std::nothrow) WatchedSession{};
    if (session == nullptr) {
        if (jobHandle != nullptr) CloseHandle(jobHandle);
        return false;
    }
    session->job = jobHandle;
    session->processId = processId;
    session->startTick = GetTickCount64();
    session->ended = ended;
    session->data = data;
    session->number = nextSessionNumber++;
    session->members[0] = processId;
    session->memberCreated[0] = createdAt(processId);
    session->memberCount = 1;
    if (jobHandle != nullptr) {
        JOBOBJECT_ASSOCIATE_COMPLETION_PORT port{reinterpret_cast<PVOID>(session->number),
                                                 watchPort};
        if (!SetInformationJobObject(jobHandle, JobObjectAssociateCompletionPortInformation, &port,
                                     sizeof port)) {
            CloseHandle(jobHandle);  // followed by its process tree instead
            session->job = nullptr;
        }
    }
    PostQueuedCompletionStatus(watchPort, 0, kNewSession, reinterpret_cast<LPOVERLAPPED>(session));
    return true;
}

namespace {

// Waits for the watcher, asked to stop, at most `limit` ms; then closes its thread and port.
void finishWatcher(DWORD limit) {
    if (watcherThread == nullptr || !awaitThread(watcherThread, limit))
        return;  // it keeps its port and the DLL
    CloseHandle(watcherThread);
    watcherThread = nullptr;
    CloseHandle(watchPort);
    watchPort = nullptr;
}

}  // namespace

bool appendToFile(const char* path, const void* data, size_t size, uint32_t* error) {
    // The watcher appends too: only the host's thread notes its failures in lastFailure.
    bool hostThread = GetCurrentThreadId() != watcherThreadId;
    auto fail = [&](DWORD code) {
        if (hostThread) lastFailure = code;
        if (error != nullptr) *error = code;
        return false;
    };
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return fail(GetLastError());
    DWORD written = 0;
    bool ok = WriteFile(file, data, DWORD(size), &written, nullptr) && written == size;
    DWORD code = ok ? 0 : GetLastError() ? GetLastError() : ERROR_DISK_FULL;
    CloseHandle(file);
    return ok || fail(code);
}

bool jobEnded(JobHandle job) { return jobIsEmpty(reinterpret_cast<HANDLE>(job)); }

JobHandle duplicateJob(JobHandle job) {
    HANDLE copy = nullptr;
    if (job == 0 || !DuplicateHandle(GetCurrentProcess(), reinterpret_cast<HANDLE>(job),
                                     GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS))
        return 0;
    return reinterpret_cast<JobHandle>(copy);
}

void closeJob(JobHandle job) {
    if (job != 0) CloseHandle(reinterpret_cast<HANDLE>(job));
}

bool processInJob(uint32_t id, JobHandle job) {
    // The full query right first: Wine's IsProcessInJob refuses the limited one.
    constexpr DWORD kQueryLimitedInformation = 0x1000;  // PROCESS_QUERY_LIMITED_INFORMATION
    BOOL inside = FALSE;
    for (DWORD access : {DWORD(PROCESS_QUERY_INFORMATION), kQueryLimitedInformation}) {
        HANDLE process = OpenProcess(access, FALSE, id);
        if (process == nullptr) continue;
        BOOL asked = IsProcessInJob(process, reinterpret_cast<HANDLE>(job), &inside);
        CloseHandle(process);
        if (asked) break;
    }
    return inside != FALSE;
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
    if (watcherThread != nullptr) PostQueuedCompletionStatus(watchPort, 0, kStopWatching, nullptr);
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

uint32_t waitForInputIdle(ProcessHandle process, uint32_t milliseconds) {
    return WaitForInputIdle(reinterpret_cast<HANDLE>(process), milliseconds);
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

void showExclamation(const char* text) {
    VisualStyles styles;
    MessageBoxA(GetActiveWindow(), text, nullptr, MB_OK | MB_ICONEXCLAMATION);
}

void showExclamationOwnedBy(WindowHandle owner, const char* text) {
    VisualStyles styles;
    MessageBoxA(asWindow(owner), text, nullptr,
                MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND | MB_TOPMOST);
}

bool askOkCancel(const char* text, const char* caption) {
    VisualStyles styles;
    return MessageBoxA(GetActiveWindow(), text, caption, MB_OKCANCEL | MB_ICONINFORMATION) == IDOK;
}

WindowHandle activeWindow() { return reinterpret_cast<WindowHandle>(GetActiveWindow()); }

WindowHandle rootOwner(WindowHandle window) {
    if (window == 0) return 0;
    return reinterpret_cast<WindowHandle>(GetAncestor(asWindow(window), GA_ROOTOWNER));
}

bool windowExists(WindowHandle window) { return window != 0 && IsWindow(asWindow(window)); }

bool isShiftDown() { return GetKeyState(VK_SHIFT) < 0; }

bool isOnNetworkDrive(const char* path) {
    if (path[0] == '\0' || path[1] != ':') return false;  // only drive-letter paths have a drive
    char root[4] = {path[0], ':', '\\', '\0'};
    return GetDriveTypeA(root) == DRIVE_REMOTE;
}

void* allocateZeroed(size_t size) { return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size); }
void* allocate(size_t size) { return HeapAlloc(GetProcessHeap(), 0, size); }
void release(void* block) {
    if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

}  // namespace platform
