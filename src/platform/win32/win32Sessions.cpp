// The session watcher on Windows: one thread of the plug-in that learns when a launch's every
// process has ended, from its job's completion port or, without a job, by following its process
// tree, and tells the launcher how long the session ran.
#include <windows.h>

#include <new>

#include "platform/win32/win32Seam.h"

namespace platform {

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

void endSession(WatchedSession* session, bool cutShort) {
    session->ended(session->data, GetTickCount64() - session->startTick, cutShort);
    if (session->job != nullptr) CloseHandle(session->job);
    delete session;
}

}  // namespace

bool jobIsEmpty(HANDLE job) {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
    return QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof info,
                                     nullptr) &&
           info.ActiveProcesses == 0;
}

namespace {

// Without a job: the tree lives while a process seen in it lives, and takes along each process
// whose parent is in it and was created after that parent.
bool treeAlive(WatchedSession& s) {
    static ProcessLink links[4096];
    int32_t count = snapshotProcesses(links, 4096);
    // Children first, of every member seen so far, those that ended since the last poll too: a
    // launcher that starts the game and exits between two polls hands the game on.
    int seen = s.memberCount;
    for (int32_t k = 0; k < count && s.memberCount < 64; ++k) {
        bool known = false;
        for (int j = 0; j < s.memberCount && !known; ++j) known = s.members[j] == links[k].id;
        for (int i = 0; i < seen && !known; ++i) {
            if (links[k].parent != s.members[i]) continue;
            uint64_t created = createdAt(links[k].id);
            if (created >= s.memberCreated[i] && created != 0) {
                s.members[s.memberCount] = links[k].id;
                s.memberCreated[s.memberCount++] = created;
            }
            break;
        }
    }
    int kept = 0;
    for (int i = 0; i < s.memberCount; ++i) {
        bool alive = false;
        for (int32_t k = 0; k < count && !alive; ++k) alive = links[k].id == s.members[i];
        if (alive && createdAt(s.members[i]) == s.memberCreated[i]) {
            s.members[kept] = s.members[i];
            s.memberCreated[kept++] = s.memberCreated[i];
        }
    }
    s.memberCount = kept;
    return kept > 0;
}

// What the watcher's thread holds: its sessions, and the jobs that emptied before their
// session was handed over.
struct Watched {
    WatchedSession* sessions = nullptr;
    ULONG_PTR earlyEnds[64] = {};
    int earlyNext = 0;
};

void takeSession(Watched& w, WatchedSession* session) {
    bool early = false;
    for (ULONG_PTR number : w.earlyEnds) early = early || number == session->number;
    if (session->job != nullptr && (early || jobIsEmpty(session->job))) {
        endSession(session, false);
    } else {
        session->next = w.sessions;
        w.sessions = session;
    }
}

void endJobSession(Watched& w, ULONG_PTR number) {
    WatchedSession** link = &w.sessions;
    while (*link != nullptr && (*link)->number != number) link = &(*link)->next;
    if (*link != nullptr) {
        WatchedSession* ended = *link;
        *link = ended->next;
        endSession(ended, false);
    } else {
        w.earlyEnds[w.earlyNext] = number;
        w.earlyNext = (w.earlyNext + 1) % 64;
    }
}

// Ends the sessions whose tree has died, and those whose job is empty: Windows does not promise
// to post the job's last message, so a lost one must not keep a session open until the close.
void endFinished(Watched& w) {
    for (WatchedSession** link = &w.sessions; *link != nullptr;) {
        WatchedSession* s = *link;
        if (s->job == nullptr ? !treeAlive(*s) : jobIsEmpty(s->job)) {
            *link = s->next;
            endSession(s, false);
        } else {
            link = &s->next;
        }
    }
}

DWORD WINAPI runWatcher(LPVOID module) {
    Watched w;
    for (;;) {
        bool polling = false;
        for (WatchedSession* s = w.sessions; s != nullptr && !polling; s = s->next)
            polling = s->job == nullptr;
        DWORD message = 0;
        ULONG_PTR key = 0;
        LPOVERLAPPED overlapped = nullptr;
        DWORD wait = w.sessions == nullptr ? INFINITE : polling ? 500 : 5000;
        BOOL got = GetQueuedCompletionStatus(watchPort, &message, &key, &overlapped, wait);
        if (got && key == kStopWatching) break;
        if (got && key == kNewSession)
            takeSession(w, reinterpret_cast<WatchedSession*>(overlapped));
        else if (got && message == JOB_OBJECT_MSG_ACTIVE_PROCESS_ZERO)
            endJobSession(w, key);
        endFinished(w);
    }
    while (w.sessions != nullptr) {
        WatchedSession* s = w.sessions;
        w.sessions = s->next;
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

bool onWatcherThread() { return GetCurrentThreadId() == watcherThreadId; }

void askWatcherToStop() {
    if (watcherThread != nullptr) PostQueuedCompletionStatus(watchPort, 0, kStopWatching, nullptr);
}

void finishWatcher(DWORD limit) {
    if (watcherThread == nullptr || !awaitThread(watcherThread, limit))
        return;  // it keeps its port and the DLL
    CloseHandle(watcherThread);
    watcherThread = nullptr;
    CloseHandle(watchPort);
    watchPort = nullptr;
}

}  // namespace platform
