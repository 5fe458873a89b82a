// The end-to-end host's checks, file helpers and plug-in loader.
#include "harness.h"

#include <cstdio>
#include <cstring>

namespace host {

int failures = 0;
std::string dllPath, workDir, stubPath;

void fail(const char* file, int line, const std::string& message) {
    ++failures;
    std::printf("  FAILED %s:%d: %s\n", file, line, message.c_str());
    std::fflush(stdout);
}

std::string show(const std::string& bytes) {
    std::string out = "\"";
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += char(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out + "\"";
}

std::string joined(const char* separator, const std::vector<std::string>& items) {
    std::string all;
    for (size_t i = 0; i < items.size(); ++i) all += (i ? separator : "") + items[i];
    return all;
}

std::string joined(const std::vector<std::string>& items) { return joined(" | ", items); }

std::string show(long long value) { return std::to_string(value); }

bool fileExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool folderExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string readFile(const std::string& path) {
    std::string bytes;
    FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr) return bytes;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) bytes.append(buffer, n);
    std::fclose(in);
    return bytes;
}

void writeFile(const std::string& path, const std::string& bytes) {
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        fail(__FILE__, __LINE__, "cannot write " + path);
        return;
    }
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
}

void removeTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    std::string folder = path.back() == '\\' ? path : path + "\\";
    HANDLE h = FindFirstFileA((folder + "*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {  // a link, not followed
                if (!RemoveDirectoryA((folder + name).c_str()))
                    DeleteFileA((folder + name).c_str());
            } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(folder + name);
            } else {
                DeleteFileA((folder + name).c_str());
            }
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    RemoveDirectoryA(folder.c_str());
}

static FILETIME writeTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

static FILETIME oldTime() {
    SYSTEMTIME old{2001, 1, 1, 1, 0, 0, 0, 0};
    FILETIME time{};
    SystemTimeToFileTime(&old, &time);
    return time;
}

void ageFile(const std::string& path) {
    HANDLE file =
        CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME time = oldTime();
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

bool rewritten(const std::string& path) {
    FILETIME seen = writeTime(path), old = oldTime();
    return CompareFileTime(&seen, &old) != 0;
}

int32_t int32At(const std::string& bytes, size_t offset) {
    int32_t value = 0;
    if (offset + 4 <= bytes.size()) std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

std::string int32Bytes(int32_t value) { return std::string(reinterpret_cast<char*>(&value), 4); }

std::string toUtf8(const std::string& shiftJis) {
    int n = MultiByteToWideChar(932, 0, shiftJis.data(), int(shiftJis.size()), nullptr, 0);
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(932, 0, shiftJis.data(), int(shiftJis.size()), wide.data(), n);
    int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    std::string utf8(m, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, utf8.data(), m, nullptr, nullptr);
    return utf8;
}

template <typename F>
static void lookUp(HMODULE module, F& target, const char* name) {
    target = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (target == nullptr) fail(__FILE__, __LINE__, std::string("export missing: ") + name);
}

bool Plugin::load(const std::string& path) {
    module = LoadLibraryA(path.c_str());
    if (module == nullptr) {
        fail(__FILE__, __LINE__, "LoadLibrary failed for " + path);
        return false;
    }
    lookUp(module, getName, "getName");
    lookUp(module, getAuthor, "getAuthor");
    lookUp(module, getVersion, "getVersion");
    lookUp(module, getSDKVersion, "getSDKVersion");
    lookUp(module, getSmallComment, "getSmallComment");
    lookUp(module, initPlugin, "initPlugin");
    lookUp(module, isCompatible, "isCompatible");
    lookUp(module, closePlugin, "closePlugin");
    lookUp(module, inPopupMenu, "inPopupMenu");
    lookUp(module, inPopupMenuHave, "inPopupMenuHave");
    lookUp(module, onPopupMenuClick, "onPopupMenuClick");
    lookUp(module, onPopupMenuHaveClick, "onPopupMenuHaveClick");
    lookUp(module, inMenu, "inMenu");
    lookUp(module, onMenuClick, "onMenuClick");
    return initPlugin != nullptr && closePlugin != nullptr;
}

void Plugin::unload() {
    if (module != nullptr) FreeLibrary(module);
    module = nullptr;
}

EmulatorRecord emulator(const std::string& name, const std::string& exePath, int32_t kind,
                        const std::string& extractDir) {
    EmulatorRecord e{};
    std::snprintf(e.name, sizeof e.name, "%s", name.c_str());
    std::snprintf(e.exePath, sizeof e.exePath, "%s", exePath.c_str());
    std::snprintf(e.extractDir, sizeof e.extractDir, "%s", extractDir.c_str());
    e.kind = kind;
    e.keyWaitIndex = 2;
    e.browseWaitIndex = 2;
    return e;
}

std::string emulatorListFile(const std::vector<EmulatorRecord>& entries) {
    std::string bytes = int32Bytes(int32_t(entries.size()));
    for (const auto& e : entries) bytes.append(reinterpret_cast<const char*>(&e), sizeof e);
    bytes.resize(16084, '\0');
    return bytes;
}

FavoriteRecord favorite(const std::string& name, const std::string& key, int32_t size,
                        const std::string& publisher) {
    FavoriteRecord f{};
    std::snprintf(f.name, sizeof f.name, "%s", name.c_str());
    std::snprintf(f.crc32, sizeof f.crc32, "%s", key.c_str());
    std::snprintf(f.publisher, sizeof f.publisher, "%s", publisher.c_str());
    std::snprintf(f.comment, sizeof f.comment, "set%s", key.c_str());
    f.size = size;
    return f;
}

std::string favoritesFile(const std::string& system, const std::vector<FavoriteRecord>& entries) {
    std::string bytes = system;
    bytes.resize(260, '\0');
    bytes += int32Bytes(int32_t(entries.size()));
    for (const auto& f : entries) bytes.append(reinterpret_cast<const char*>(&f), sizeof f);
    return bytes;
}

static LRESULT CALLBACK plainWindow(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == kHostQuits) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, w, l);
}

void HostWindow::open() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA main{};
        main.lpfnWndProc = plainWindow;
        main.hInstance = GetModuleHandleA(nullptr);
        main.lpszClassName = "LaunchboardTestHost";
        RegisterClassA(&main);
        WNDCLASSA combo = main;
        combo.lpszClassName = "TComboBox";  // the class name of the host's combo boxes
        RegisterClassA(&combo);
        WNDCLASSA prefixOnly = main;
        prefixOnly.lpszClassName = "TComboBoxEx";
        RegisterClassA(&prefixOnly);
        registered = true;
    }
    main = CreateWindowExA(0, "LaunchboardTestHost", "Test host", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                           0, 0, 800, 600, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(main);
    SetActiveWindow(main);
    CHECK(GetActiveWindow() == main, "the host window is the active window");
}

HWND HostWindow::addCombo(const std::string& text, int width, bool visible) {
    HWND combo = CreateWindowExA(0, "TComboBox", text.c_str(),
                                 WS_CHILD | (visible ? WS_VISIBLE : 0), 0, int(combos.size()) * 30,
                                 width, 24, main, nullptr, GetModuleHandleA(nullptr), nullptr);
    combos.push_back(combo);
    return combo;
}

void HostWindow::close() {
    if (main != nullptr) DestroyWindow(main);
    main = nullptr;
    combos.clear();
}

// The rest of the log's first complete line that starts with `prefix`.
static bool lineValue(const std::string& log, const std::string& prefix, std::string& value) {
    size_t at = log.compare(0, prefix.size(), prefix) == 0 ? 0 : log.find("\n" + prefix);
    if (at == std::string::npos) return false;
    if (at != 0) ++at;
    size_t end = log.find("\r\n", at);
    if (end == std::string::npos) return false;
    value = log.substr(at + prefix.size(), end - at - prefix.size());
    return true;
}

std::string programPart(const std::string& exe) {
    return exe.find_first_of(" \t") == std::string::npos ? exe : "\"" + exe + "\"";
}

StubRun waitForStub(const std::string& logPath) {
    for (int i = 0; i < 200; ++i) {
        std::string log = readFile(logPath), commandLine, folder, program;
        if (lineValue(log, "cmdline=", commandLine) && lineValue(log, "cwd=", folder) &&
            lineValue(log, "exe=", program)) {
            return {commandLine, folder, program};
        }
        Sleep(50);
    }
    return {"(the stub emulator did not run)", "", ""};
}

std::string waitForLogLine(const std::string& logPath, const std::string& prefix,
                           int milliseconds) {
    for (int waited = 0; waited < milliseconds; waited += 50) {
        std::string value;
        if (lineValue(readFile(logPath), prefix, value)) return value;
        Sleep(50);
    }
    return "(no " + prefix + " line)";
}

namespace {

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK findMessageBox(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->process && std::strcmp(className, "#32770") == 0 &&
        IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

DWORD WINAPI watch(void* parameter) {
    auto* w = static_cast<MessageWatcher*>(parameter);
    for (int waited = 0; waited < w->timeoutMs; waited += 25) {
        Search search{GetCurrentProcessId(), nullptr};
        EnumWindows(findMessageBox, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            char text[1024] = "", caption[256] = "";
            GetDlgItemTextA(search.found, 0xFFFF, text, sizeof text);  // the message box's text
            GetWindowTextA(search.found, caption, sizeof caption);
            w->text = text;
            w->caption = caption;
            w->owner = GetWindow(search.found, GW_OWNER);
            w->seenAfterMs = int(GetTickCount() - w->startTick);
            w->seen = true;
            PostMessageA(search.found, WM_COMMAND, IDOK, 0);
            return 0;
        }
        Sleep(25);
    }
    return 0;
}

}  // namespace

void MessageWatcher::start(int timeout) {
    timeoutMs = timeout;
    startTick = GetTickCount();
    thread = CreateThread(nullptr, 0, watch, this, 0, nullptr);
}

void MessageWatcher::finish() {
    if (thread == nullptr) return;
    WaitForSingleObject(thread, DWORD(timeoutMs) + 1000);
    CloseHandle(thread);
    thread = nullptr;
}

std::string clipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return "(clipboard busy)";
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data != nullptr) {
        const char* p = static_cast<const char*>(GlobalLock(data));
        if (p != nullptr) text = p;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

std::vector<Case>& cases() {
    static std::vector<Case> all;
    return all;
}

}  // namespace host
