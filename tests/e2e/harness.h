// The end-to-end host's own small toolkit: checks that count failures, files as byte strings,
// and the plug-in loaded by LoadLibrary with its exports looked up by their plain names.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace host {

extern int failures;
void fail(const char* file, int line, const std::string& message);
#define CHECK(cond, message)                                    \
    do {                                                        \
        if (!(cond)) host::fail(__FILE__, __LINE__, (message)); \
    } while (0)
#define CHECK_EQ(seen, expected, what)                                                        \
    do {                                                                                      \
        auto seen_ = (seen);                                                                  \
        auto expected_ = (expected);                                                          \
        if (!(seen_ == expected_))                                                            \
            host::fail(__FILE__, __LINE__,                                                    \
                       std::string(what) + ": expected " + host::show(expected_) + ", saw " + \
                           host::show(seen_));                                                \
    } while (0)

std::string show(const std::string& bytes);  // printable, with \xNN for other bytes
std::string show(long long value);
inline std::string show(int value) { return show((long long)value); }
inline std::string show(unsigned value) { return show((long long)value); }
inline std::string show(unsigned long value) { return show((long long)value); }
inline std::string show(bool value) { return value ? "true" : "false"; }
inline std::string show(const char* text) { return show(std::string(text ? text : "(null)")); }

// Files and folders by ANSI path.
bool fileExists(const std::string& path);
bool folderExists(const std::string& path);
std::string readFile(const std::string& path);  // empty when missing
void writeFile(const std::string& path, const std::string& bytes);
void removeTree(const std::string& path);
// Sets a file's last write time to 2001-01-01; rewritten() then tells whether it was written.
void ageFile(const std::string& path);
bool rewritten(const std::string& path);
int32_t int32At(const std::string& bytes, size_t offset);
std::string int32Bytes(int32_t value);

// The items joined by `separator` (" | " unless given), for comparing lists in one check.
std::string joined(const std::vector<std::string>& items);
std::string joined(const char* separator, const std::vector<std::string>& items);

// Shift-JIS text converted for the terminal.
std::string toUtf8(const std::string& shiftJis);

using ExtractFn = int32_t(__stdcall*)(const char*, const char*, int32_t, int32_t);

// Launchboard.dll as the host sees it: loaded from a path, its exports found by plain name.
struct Plugin {
    HMODULE module = nullptr;
    const char* (*getName)() = nullptr;
    const char* (*getAuthor)() = nullptr;
    const char* (*getVersion)() = nullptr;
    const char* (*getSDKVersion)() = nullptr;
    const char* (*getSmallComment)() = nullptr;
    int32_t(__stdcall* initPlugin)(ExtractFn, uint32_t, uint32_t, uint32_t, uint32_t,
                                   const char*) = nullptr;
    bool(__stdcall* isCompatible)(const char*) = nullptr;
    void (*closePlugin)() = nullptr;
    char* (*inPopupMenu)() = nullptr;
    char* (*inPopupMenuHave)() = nullptr;
    int32_t(__stdcall* onPopupMenuClick)(int32_t, void*) = nullptr;
    int32_t(__stdcall* onPopupMenuHaveClick)(int32_t, void*) = nullptr;
    char* (*inMenu)() = nullptr;
    int32_t(__stdcall* onMenuClick)(int32_t) = nullptr;

    bool load(const std::string& dllPath);
    void unload();
};

// The host's record of a selected ROM, 60 bytes, chained by `next`.
struct RomRecord {
    RomRecord* next;
    const char* crc32;
    const char* name;
    uint32_t unused12;
    int32_t number, size, location, language;
    const char* saveType;
    const char* publisher;
    const char* sourceRom;
    const char* comment;
    uint32_t unused48[3];
};
static_assert(sizeof(RomRecord) == 60);

// One emulator of a ".emu" file, 804 bytes.
struct EmulatorRecord {
    char name[260], exePath[260], extractDir[260];
    int32_t kind, keyWaitIndex, browseWaitIndex, extractArchive, quotePath, shortPath;
};
static_assert(sizeof(EmulatorRecord) == 804);
EmulatorRecord emulator(const std::string& name, const std::string& exePath, int32_t kind,
                        const std::string& extractDir = "");
// The 16,084-byte list file: a count and 20 slots.
std::string emulatorListFile(const std::vector<EmulatorRecord>& entries);

// One favourite of a ".fvr" file, 1,576 bytes.
struct FavoriteRecord {
    char name[260], publisher[260], sourceRom[260], saveType[260], crc32[260], comment[260];
    int32_t number, size, location, language;
};
static_assert(sizeof(FavoriteRecord) == 1576);
FavoriteRecord favorite(const std::string& name, const std::string& key, int32_t size = 0,
                        const std::string& publisher = "");
// The favourites file of `system`: its name in 260 bytes, the count, the records.
std::string favoritesFile(const std::string& system, const std::vector<FavoriteRecord>& entries);

// The host's main window, active, with "TComboBox" children of the given widths and texts.
// The host quits as a real one does: its window, sent this message, posts WM_QUIT, which ends
// whatever modal loop runs; the host calls closePlugin once its own loop has seen it.
constexpr UINT kHostQuits = WM_APP + 0x300;

struct HostWindow {
    HWND main = nullptr;
    std::vector<HWND> combos;
    void open();
    HWND addCombo(const std::string& text, int width, bool visible = true);
    void close();
};

// Waits up to ten seconds for the stub emulator to write its log; its two lines, or empty.
struct StubRun {
    std::string commandLine, workingDir, program;
};
// How a command line names the program: in double quotes when its path holds a blank.
std::string programPart(const std::string& exe);
StubRun waitForStub(const std::string& logPath);
// Waits for a line starting with `prefix` in the stub's log; its text after the prefix.
std::string waitForLogLine(const std::string& logPath, const std::string& prefix, int milliseconds);

// A thread that waits for a message box of this process, reads it and presses OK.
struct MessageWatcher {
    int timeoutMs = 0;
    DWORD startTick = 0;
    HANDLE thread = nullptr;
    bool seen = false;
    int seenAfterMs = 0;
    std::string text, caption;
    HWND owner = nullptr;
    void start(int timeoutMs);
    void finish();  // waits for the thread
};

std::string clipboardText();

extern std::string dllPath;   // the Launchboard.dll under test
extern std::string workDir;   // a scratch folder, ends in a backslash
extern std::string stubPath;  // the stub emulator

struct Case {
    const char* name;
    void (*run)();
};
std::vector<Case>& cases();
struct Register {
    Register(const char* name, void (*run)()) { cases().push_back({name, run}); }
};
#define HOST_CASE(name)                                 \
    static void name();                                 \
    static host::Register register_##name(#name, name); \
    static void name()

}  // namespace host
