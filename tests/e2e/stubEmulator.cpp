// A stand-in emulator: appends its command line and working folder, one line each, to the file
// named by LB_STUB_LOG (inherited from the host), then exits. It reads them through the wide
// functions and converts them to the ANSI code page itself, since Wine's ANSI variants cut
// texts holding double-byte characters short.
#include <windows.h>

#include <cstdio>
#include <string>

static std::string ansi(const wchar_t* text) {
    int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), n, nullptr, nullptr);
    return out;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    wchar_t log[MAX_PATH];
    if (GetEnvironmentVariableW(L"LB_STUB_LOG", log, MAX_PATH) == 0) return 1;
    wchar_t folder[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, folder);
    FILE* out = _wfopen(log, L"ab");
    if (out == nullptr) return 2;
    std::fprintf(out, "cmdline=%s\r\ncwd=%s\r\n", ansi(GetCommandLineW()).c_str(), ansi(folder).c_str());
    std::fclose(out);
    return 0;
}
