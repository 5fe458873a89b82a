// Processes on Windows: a launch started suspended inside a job object, the job's members, the
// process tree's snapshot and creation times, the foreground window's process, and the clocks.
#include <windows.h>

#include <tlhelp32.h>

#include <initializer_list>

#include "platform/win32/win32Seam.h"

namespace platform {

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

uint32_t waitForInputIdle(ProcessHandle process, uint32_t milliseconds) {
    return WaitForInputIdle(reinterpret_cast<HANDLE>(process), milliseconds);
}

}  // namespace platform
