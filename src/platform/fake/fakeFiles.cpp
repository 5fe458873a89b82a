// The recording fake behind the platform seam for the native tests, and its files: an in-memory
// file system whose paths are plain keys, with injectable failures and a log of each step;
// double-byte characters follow code page 932 as on a Japanese Windows; memory that can fail.
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

namespace {

// The stamp of a file's last change: never the same twice in a process, across resets too.
uint64_t changes = 0;

}  // namespace

void putFile(const std::string& path, const std::string& bytes) {
    state().files[path] = bytes;
    state().stamps[path] = ++changes;
}

bool logged(const std::string& entry) {
    const auto& log = state().log;
    return std::find(log.begin(), log.end(), entry) != log.end();
}

void recordStep(const char* kind, const std::string& path, const std::string& other,
                const void* bytes, size_t size) {
    std::string what = kind;
    if (what != "flush" && what != "close") state().stamps[path] = ++changes;
    if (what == "copy" || what == "replace") state().stamps[other] = ++changes;
    if (state().recordSteps)
        state().steps.push_back(
            {kind, path, other, std::string(static_cast<const char*>(bytes), size)});
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

namespace {

const std::string& pathOf(const std::string& path) { return path; }
const std::string& pathOf(const std::pair<const std::string, std::string>& file) {
    return file.first;
}

void copyFakeText(char* out, size_t size, const std::string& text) {
    size_t n = std::min(size - 1, text.size());
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
}

}  // namespace

// An open file reads the fake file system's bytes in place, as a real file reads the disk.
struct File {
    std::string path;
    size_t position = 0;
    bool writing = false;
    bool appending = false;  // writes land at the end, whatever others wrote meanwhile
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
    if (auto meanwhile = std::move(fake::state().meanwhile)) {
        fake::state().meanwhile = nullptr;
        meanwhile();
    }
    auto& s = fake::state();
    // No sharing, as on Windows: a file still open cannot be created again.
    if (s.failCreate || ++s.creates == s.failCreateAt || s.openFiles.count(path))
        return failOn<File*>(path, 5, nullptr);
    s.openFiles.insert(path);
    s.files[path].clear();
    s.log.push_back(std::string("write ") + path);
    fake::recordStep("create", path);
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
    fake::recordStep("write", file->path, "", data, room);
    return room == size || failOn(file->path, 112, false);
}

bool flushFile(File* file) {
    fake::recordStep("flush", file->path);
    return true;
}

bool closeFile(File* file) {
    auto& s = fake::state();
    if (file->writing) fake::recordStep("close", file->path);
    bool failed = file->writing && (s.failClose || ++s.closes == s.failCloseAt);
    auto open = s.openFiles.find(file->path);
    if (open != s.openFiles.end() && !file->appending) s.openFiles.erase(open);
    std::string path = file->path;
    delete file;
    return !failed || failOn(path, 112, false);
}

bool replaceFile(const char* from, const char* to) {
    auto& s = fake::state();
    auto it = s.files.find(from);
    int call = ++s.replaces;
    bool injected = s.failReplace || (s.failReplaceAt > 0 && call >= s.failReplaceAt &&
                                      call < s.failReplaceAt + s.failReplaces);
    if (injected || it == s.files.end() || s.openFiles.count(from) || s.openFiles.count(to) ||
        s.held.count(to))
        return failOn(to, s.held.count(to) ? 32 : 5, false);
    std::string bytes = std::move(it->second);
    s.files.erase(it);
    s.files[to] = std::move(bytes);
    s.log.push_back(std::string("replace ") + from + " " + to);
    fake::recordStep("replace", from, to);
    return true;
}

File* openForAppend(const char* path, uint32_t& error) {
    auto& s = fake::state();
    error = 0;
    if (s.failAppend || s.unreadable.count(path)) {
        error = 5;
        return failWith<File*>(5, nullptr);
    }
    // A hold of another writer is not waited for: the line goes in all the same.
    s.files[path];
    s.log.push_back(std::string("append ") + path);
    return new File{path, 0, true, true};
}

uint32_t fileError(const File*) { return fake::state().lastError; }

bool copyFile(const char* from, const char* to) {
    auto& s = fake::state();
    auto it = s.files.find(from);
    if (it == s.files.end()) return failWith(2, false);
    if (++s.copies == s.failCopyAt || s.unreadable.count(from) || s.openFiles.count(to))
        return failOn(from, s.unreadable.count(from) ? 32 : 5, false);
    s.files[to] = it->second;
    s.log.push_back(std::string("copy ") + from + " " + to);
    fake::recordStep("copy", from, to);
    return true;
}

bool deleteFile(const char* path) {
    auto& s = fake::state();
    s.log.push_back(std::string("delete ") + path);
    if (s.openFiles.count(path) || s.held.count(path)) return false;
    if (s.files.count(path)) fake::recordStep("delete", path);
    return s.files.erase(path) != 0;
}

// A hold is only noted: no file is made beside the held one, as the lock vanishes on Windows.
Hold holdFile(const char* path, uint32_t) {
    auto& s = fake::state();
    if (!s.holds.insert(path).second) return failWith<Hold>(32, 0);
    return reinterpret_cast<Hold>(new std::string(path));
}

void releaseFile(Hold hold) {
    if (hold == 0) return;
    auto* path = reinterpret_cast<std::string*>(hold);
    fake::state().holds.erase(*path);
    delete path;
}

bool fileSize(const char* path, uint64_t& size) {
    auto it = fake::state().files.find(path);
    if (it == fake::state().files.end()) return false;
    size = it->second.size();
    return true;
}

bool fileStamp(const char* path, uint64_t& size, uint64_t& written) {
    written = fake::state().stamps[path];
    return fileSize(path, size);
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

// A folder's entries are the files and folders whose path continues it by one name; a path in
// `links` is a reparse point.
bool listFolder(const char* folder, bool (*visit)(const FolderEntry&, void*), void* user) {
    auto& s = fake::state();
    std::string prefix = folder;
    if (prefix.empty() || prefix.back() != '\\') prefix += '\\';
    std::string self = prefix.substr(0, prefix.size() - 1);
    if (!s.directories.count(self) || s.unreadable.count(self)) return false;
    // The paths that continue the folder's lie together, from its prefix on.
    bool goOn = true;
    auto visitAll = [&](const auto& paths, bool folders) {
        for (auto it = paths.lower_bound(prefix); it != paths.end() && goOn; ++it) {
            const std::string& path = pathOf(*it);
            if (path.compare(0, prefix.size(), prefix) != 0) break;
            std::string name = path.substr(prefix.size());
            if (name.empty() || name.find('\\') != std::string::npos) continue;
            FolderEntry entry{};
            copyFakeText(entry.name, sizeof entry.name, name);
            entry.folder = folders;
            entry.reparsePoint = s.links.count(path) != 0;
            ++s.entriesListed;
            goOn = visit(entry, user);
        }
    };
    visitAll(s.directories, true);
    visitAll(s.files, false);
    return true;
}

bool isLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

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

namespace {

bool convert(const char* to, const char* from, const char* text, char* buffer, size_t size) {
    iconv_t converter = iconv_open(to, from);
    if (converter == iconv_t(-1) || size == 0) return false;
    char* in = const_cast<char*>(text);
    size_t inLeft = std::strlen(text) + 1, outLeft = size;
    char* out = buffer;
    size_t done = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    return done != size_t(-1) && inLeft == 0;
}

}  // namespace

bool ansiToUtf8(const char* text, char* buffer, size_t size) {
    return convert("UTF-8", "CP932", text, buffer, size);
}

bool utf8ToAnsi(const char* text, char* buffer, size_t size) {
    return convert("CP932", "UTF-8", text, buffer, size);
}

bool shortPathName(const char* path, char* buffer, size_t size) {
    auto& s = fake::state();
    auto it = s.shortPaths.find(path);
    if (it == s.shortPaths.end() || it->second.size() >= size) return false;
    std::snprintf(buffer, size, "%s", it->second.c_str());
    return true;
}

uint32_t lastError() { return fake::state().lastError; }

void errorText(uint32_t error, char* buffer, size_t size) {
    auto& texts = fake::state().errorTexts;
    auto it = texts.find(error);
    std::snprintf(buffer, size, "%s", it == texts.end() ? "" : it->second.c_str());
}

bool isOnNetworkDrive(const char* path) {
    return path[0] != '\0' && path[1] == ':' &&
           fake::state().networkDrives.count(std::string(1, path[0])) != 0;
}

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
