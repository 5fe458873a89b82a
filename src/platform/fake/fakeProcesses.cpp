// The fake's processes, sessions, jobs and worker: a launch is recorded, not started; the fake
// clock runs as the logic waits, and a test ends a session when it likes.
#include "platform/fake/fakePlatform.h"
#include "platform/platform.h"

namespace platform {

ProcessHandle startProcessInJob(const char* application, const char* commandLine,
                                const char* workingDir, JobHandle& job) {
    auto& s = fake::state();
    job = 0;
    s.log.push_back(std::string("start ") + commandLine);
    if (s.failStart) {
        s.lastError = s.startError;
        return 0;
    }
    s.started.push_back({commandLine, workingDir, application});
    ++s.openProcesses;
    ProcessHandle process = s.started.size();
    if (!s.refuseJob) {
        job = 5000 + process;
        s.jobMembers = {processIdOf(process)};
    }
    return process;
}

void closeProcess(ProcessHandle process) {
    if (process != 0) --fake::state().openProcesses;
}

uint32_t processIdOf(ProcessHandle process) { return process == 0 ? 0 : 1000 + uint32_t(process); }

uint32_t foregroundProcessId(bool& console) {
    auto& s = fake::state();
    console = false;
    if (s.foreground.empty()) return s.started.empty() ? 0 : 1000 + uint32_t(s.started.size());
    size_t at = std::min(s.foregroundQuestions++, s.foreground.size() - 1);
    console = s.consoles.count(at) != 0;
    return s.lastForeground = s.foreground[at];
}

uint32_t waitForInputIdle(ProcessHandle process, uint32_t milliseconds) {
    auto& s = fake::state();
    s.inputIdleWaits.push_back(milliseconds);
    if (process == 0) return kWaitFailed;
    if (s.inputIdleResult != 0 && s.inputIdleResult != kWaitFailed) s.clock += milliseconds;
    return s.inputIdleResult;
}

bool processExited(ProcessHandle process) {
    return fake::state().exited.count(processIdOf(process)) != 0;
}

uint64_t creationTimeOf(uint32_t processId) {
    auto& created = fake::state().created;
    auto it = created.find(processId);
    return it == created.end() ? processId : it->second;
}

uint64_t processCreationTime(ProcessHandle process) { return creationTimeOf(processIdOf(process)); }

int32_t snapshotProcesses(ProcessLink* links, int32_t capacity) {
    int32_t n = 0;
    for (const auto& [id, parent] : fake::state().parents)
        if (n < capacity) links[n++] = {id, parent};
    return n;
}

uint64_t tickCount() { return fake::state().clock; }

void localTimeText(char (&text)[20]) {
    std::snprintf(text, sizeof text, "%s", fake::state().localTime.c_str());
}

bool watchSession(JobHandle job, uint32_t processId, void (*ended)(void*, uint64_t, bool),
                  void* data) {
    fake::state().sessions.push_back({ended, data, job, processId});
    return true;
}

void stopThreads() {
    auto& s = fake::state();
    ++s.stops;
    auto sessions = std::move(s.sessions);
    s.sessions.clear();
    for (auto& session : sessions) session.ended(session.data, s.clock, true);
}

namespace {

// A job takes along every process its members start: a process is in it when a member is
// among its parents, each created no earlier than its parent.
bool inFakeJob(uint32_t id) {
    auto& s = fake::state();
    for (int depth = 0; id != 0 && depth < 32; ++depth) {
        if (s.jobMembers.count(id) != 0) return true;
        auto parent = s.parents.find(id);
        if (parent == s.parents.end() || creationTimeOf(parent->second) > creationTimeOf(id))
            return false;
        id = parent->second;
    }
    return false;
}

}  // namespace

bool jobEnded(JobHandle job) {
    auto& s = fake::state();
    if (job == 0) return true;
    for (uint32_t id : s.jobMembers)
        if (s.exited.count(id) == 0) return false;
    for (const auto& [id, parent] : s.parents)
        if (inFakeJob(id) && s.exited.count(id) == 0) return false;
    return true;
}

JobHandle duplicateJob(JobHandle job) { return job; }
void closeJob(JobHandle) {}

bool processInJob(uint32_t id, JobHandle job) { return job != 0 && inFakeJob(id); }

bool startWorker(void (*body)(void*), void* data) {
    ++fake::state().workersStarted;
    body(data);
    return true;
}

bool workerRunning() { return fake::state().workerBusy; }

bool stopRequested() { return fake::state().clock >= fake::state().stopAt; }

bool pauseUnlessStopped(uint32_t milliseconds) {
    auto& s = fake::state();
    if (s.clock + milliseconds < s.stopAt) {
        sleepFor(milliseconds);
        return true;
    }
    if (s.stopAt > s.clock) sleepFor(uint32_t(s.stopAt - s.clock));
    return false;
}

}  // namespace platform
