// In-memory implementation of the platform seam for the native tests. Paths are plain keys;
// double-byte characters follow code page 932 as on a Japanese Windows.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <iconv.h>

#include "platform/fake/fakePlatform.h"
#include "platform/platform.h"

namespace fake {

State& state() {
    static State s;
    return s;
}

// Sessions still watched end first, as at closePlugin, so their records are released.
void reset() {
    platform::stopThreads();
    state() = State();
}

bool hasFile(const std::string& path) { return state().files.count(path) != 0; }

std::string fileBytes(const std::string& path) {
    auto it = state().files.find(path);
    return it == state().files.end() ? std::string() : it->second;
}

void putFile(const std::string& path, const std::string& bytes) { state().files[path] = bytes; }

bool logged(const std::string& entry) {
    const auto& log = state().log;
    return std::find(log.begin(), log.end(), entry) != log.end();
}

void endSession(size_t index, uint64_t milliseconds) {
    auto& sessions = state().sessions;
    if (index >= sessions.size()) return;
    State::Session session = sessions[index];
    sessions.erase(sessions.begin() + long(index));
    session.ended(session.data, milliseconds, false);
}

}  // namespace fake

namespace platform {

// An open file reads the fake file system's bytes in place, as a real file reads the disk.
struct File {
    std::string path;
    size_t position = 0;
    bool writing = false;
};

namespace {

template <typename T>
T failWith(uint32_t error, T result) {
    fake::state().lastError = error;
    return result;
}

// A failed step of a save, noting the file it was for: a temporary file's target.
template <typename T>
T failOn(const std::string& path, uint32_t error, T result) {
    bool temporary = path.size() > 4 && path.compare(path.size() - 4, 4, ".tmp") == 0;
    fake::state().failedPath = temporary ? path.substr(0, path.size() - 4) : path;
    return failWith(error, result);
}

}  // namespace

OpenResult openForRead(const char* path, File*& file) {
    auto& s = fake::state();
    file = nullptr;
    if (s.files.find(path) == s.files.end()) return failWith(2, OpenResult::Missing);
    if (s.unreadable.count(path)) return failWith(32, OpenResult::Unreadable);
    s.openFiles.insert(path);
    file = new File{path, 0, false};
    return OpenResult::Opened;
}

File* createForWrite(const char* path) {
    auto& s = fake::state();
    // No sharing, as on Windows: a file still open cannot be created again.
    if (s.failCreate || ++s.creates == s.failCreateAt || s.openFiles.count(path))
        return failOn<File*>(path, 5, nullptr);
    s.openFiles.insert(path);
    s.files[path].clear();
    s.log.push_back(std::string("write ") + path);
    return new File{path, 0, true};
}

long readFromFile(File* file, void* buffer, size_t size) {
    auto& s = fake::state();
    bool counts = s.readPath.empty() || s.readPath == file->path;
    if (counts && ++s.reads == s.failReadAt) return failWith(23, -1L);
    auto it = s.files.find(file->path);
    if (it == s.files.end() || file->position >= it->second.size()) return 0;
    size_t n = std::min(size, it->second.size() - file->position);
    std::memcpy(buffer, it->second.data() + file->position, n);
    file->position += n;
    return long(n);
}

bool writeToFile(File* file, const void* data, size_t size) {
    auto& s = fake::state();
    auto& target = s.files[file->path];
    if (++s.writes == s.failWriteAt) return failOn(file->path, 112, false);
    size_t room = size;
    if (s.writeLimit >= 0) {
        size_t left =
            target.size() < size_t(s.writeLimit) ? size_t(s.writeLimit) - target.size() : 0;
        room = std::min(size, left);
    }
    target.append(static_cast<const char*>(data), room);
    return room == size || failOn(file->path, 112, false);
}

bool closeFile(File* file) {
    auto& s = fake::state();
    bool failed = file->writing && (s.failClose || ++s.closes == s.failCloseAt);
    auto open = s.openFiles.find(file->path);
    if (open != s.openFiles.end()) s.openFiles.erase(open);
    std::string path = file->path;
    delete file;
    return !failed || failOn(path, 112, false);
}

bool replaceFile(const char* from, const char* to) {
    auto& s = fake::state();
    auto it = s.files.find(from);
    if (s.failReplace || ++s.replaces == s.failReplaceAt || it == s.files.end() ||
        s.openFiles.count(from) || s.openFiles.count(to) || s.held.count(to))
        return failOn(to, s.held.count(to) ? 32 : 5, false);
    std::string bytes = std::move(it->second);
    s.files.erase(it);
    s.files[to] = std::move(bytes);
    s.log.push_back(std::string("replace ") + from + " " + to);
    return true;
}

bool appendToFile(const char* path, const void* data, size_t size, uint32_t* error) {
    auto& s = fake::state();
    if (s.failAppend || s.unreadable.count(path)) {
        if (error != nullptr) *error = 5;
        return failWith(5, false);
    }
    s.files[path].append(static_cast<const char*>(data), size);
    s.log.push_back(std::string("append ") + path);
    return true;
}

bool copyFile(const char* from, const char* to) {
    auto& s = fake::state();
    auto it = s.files.find(from);
    if (it == s.files.end()) return failWith(2, false);
    if (++s.copies == s.failCopyAt || s.unreadable.count(from) || s.openFiles.count(to))
        return failOn(from, s.unreadable.count(from) ? 32 : 5, false);
    s.files[to] = it->second;
    s.log.push_back(std::string("copy ") + from + " " + to);
    return true;
}

bool deleteFile(const char* path) {
    auto& s = fake::state();
    s.log.push_back(std::string("delete ") + path);
    if (s.openFiles.count(path) || s.held.count(path)) return false;
    return s.files.erase(path) != 0;
}

bool fileExists(const char* path) {
    auto& s = fake::state();
    return s.files.count(path) || s.directories.count(path);
}

bool isDirectory(const char* path) { return fake::state().directories.count(path) != 0; }

void createDirectory(const char* path) {
    auto& s = fake::state();
    s.log.push_back(std::string("mkdir ") + path);
    s.directories.insert(path);
}

bool isLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

void forEachActiveWindowDescendant(void (*visit)(WindowHandle, void*), void* user) {
    for (size_t i = 0; i < fake::state().windows.size(); ++i) visit(i + 1, user);
}

static const fake::Window& window(WindowHandle handle) {
    return fake::state().windows.at(handle - 1);
}

void windowClassName(WindowHandle handle, char* buffer, size_t size) {
    std::snprintf(buffer, size, "%s", window(handle).className.c_str());
}

bool isWindowVisible(WindowHandle handle) { return window(handle).visible; }
int32_t clientWidth(WindowHandle handle) { return window(handle).width; }

void windowText(WindowHandle handle, char* buffer, size_t size) {
    std::snprintf(buffer, size, "%s", window(handle).text.c_str());
}

Variable environmentVariable(const char* name, char* buffer, size_t size) {
    std::string key = name;
    for (char& c : key) c = char(std::toupper(static_cast<unsigned char>(c)));
    auto& environment = fake::state().environment;
    auto it = environment.find(key);
    if (it == environment.end()) return Variable::Missing;
    if (it->second.size() >= size) return Variable::TooLong;
    std::snprintf(buffer, size, "%s", it->second.c_str());
    return Variable::Found;
}

bool ansiToUtf8(const char* text, char* buffer, size_t size) {
    iconv_t convert = iconv_open("UTF-8", "CP932");
    if (convert == iconv_t(-1) || size == 0) return false;
    char* in = const_cast<char*>(text);
    size_t inLeft = std::strlen(text) + 1, outLeft = size;
    char* out = buffer;
    size_t done = iconv(convert, &in, &inLeft, &out, &outLeft);
    iconv_close(convert);
    return done != size_t(-1) && inLeft == 0;
}

bool shortPathName(const char* path, char* buffer, size_t size) {
    auto& s = fake::state();
    auto it = s.shortPaths.find(path);
    if (it == s.shortPaths.end() || it->second.size() >= size) return false;
    std::snprintf(buffer, size, "%s", it->second.c_str());
    return true;
}

ProcessHandle startProcessInJob(const char* application, const char* commandLine,
                                const char* workingDir, JobHandle& job) {
    auto& s = fake::state();
    job = 0;
    s.log.push_back(std::string("start ") + commandLine);
    if (s.failStart) return failWith<ProcessHandle>(s.startError, 0);
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

uint32_t lastError() { return fake::state().lastError; }

void errorText(uint32_t error, char* buffer, size_t size) {
    auto& texts = fake::state().errorTexts;
    auto it = texts.find(error);
    std::snprintf(buffer, size, "%s", it == texts.end() ? "" : it->second.c_str());
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

int32_t setClipboardBytes(const char* bytes, size_t size) {
    auto& s = fake::state();
    if (s.clipboardResult == 0) s.clipboard.assign(bytes, size);
    return s.clipboardResult;
}

void keyEvent(uint8_t virtualKey, bool release) {
    fake::state().keys.push_back({virtualKey, release, 0, fake::state().lastForeground});
}

void sleepFor(uint32_t milliseconds) {
    auto& s = fake::state();
    s.keys.push_back({0, false, milliseconds});
    s.clock += milliseconds;
}

void showExclamation(const char* text) { fake::state().messages.push_back(text); }

void showExclamationOwnedBy(WindowHandle owner, const char* text) {
    fake::state().ownedMessages.push_back(std::to_string(owner) + "|" + text);
}

bool askOkCancel(const char* text, const char* caption) {
    auto& s = fake::state();
    s.questions.push_back(std::string(caption) + "|" + text);
    return s.answerOk;
}

WindowHandle activeWindow() { return fake::state().activeWindow; }
WindowHandle rootOwner(WindowHandle window) { return window == 0 ? 0 : fake::state().mainWindow; }
bool windowExists(WindowHandle window) {
    return window != 0 && fake::state().goneWindows.count(window) == 0;
}
bool isShiftDown() { return fake::state().shiftDown; }

bool isOnNetworkDrive(const char* path) {
    return path[0] != '\0' && path[1] == ':' &&
           fake::state().networkDrives.count(std::string(1, path[0])) != 0;
}

uintptr_t beginVisualStyles() { return 0; }
void endVisualStyles(uintptr_t) {}
void releaseVisualStyles() {}

void* allocateZeroed(size_t size) {
    if (fake::state().failAllocation) return nullptr;
    return std::calloc(1, size);
}

void* allocate(size_t size) {
    if (fake::state().failAllocation) return nullptr;
    return std::malloc(size);
}

void release(void* block) { std::free(block); }

}  // namespace platform
