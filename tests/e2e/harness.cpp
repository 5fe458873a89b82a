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
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(folder + name);
            } else {
                DeleteFileA((folder + name).c_str());
            }
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    RemoveDirectoryA(folder.c_str());
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
    return initPlugin != nullptr && closePlugin != nullptr;
}

void Plugin::unload() {
    if (module != nullptr) FreeLibrary(module);
    module = nullptr;
}

std::vector<Case>& cases() {
    static std::vector<Case> all;
    return all;
}

}  // namespace host
