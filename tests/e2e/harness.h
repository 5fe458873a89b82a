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
#define CHECK(cond, message)                                          \
    do {                                                              \
        if (!(cond)) host::fail(__FILE__, __LINE__, (message));       \
    } while (0)
#define CHECK_EQ(seen, expected, what)                                                      \
    do {                                                                                    \
        auto seen_ = (seen);                                                                \
        auto expected_ = (expected);                                                        \
        if (!(seen_ == expected_))                                                          \
            host::fail(__FILE__, __LINE__,                                                  \
                       std::string(what) + ": expected " + host::show(expected_) + ", saw " + \
                           host::show(seen_));                                              \
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
int32_t int32At(const std::string& bytes, size_t offset);
std::string int32Bytes(int32_t value);

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

    bool load(const std::string& dllPath);
    void unload();
};

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
#define HOST_CASE(name)                                  \
    static void name();                                  \
    static host::Register register_##name(#name, name);  \
    static void name()

}  // namespace host
