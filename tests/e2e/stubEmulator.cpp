// A stand-in emulator: appends its command line and working folder, one line each, to the file
// named by LB_STUB_LOG (inherited from the host), then exits.
#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char log[MAX_PATH];
    if (GetEnvironmentVariableA("LB_STUB_LOG", log, sizeof log) == 0) return 1;
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    FILE* out = std::fopen(log, "ab");
    if (out == nullptr) return 2;
    std::fprintf(out, "cmdline=%s\r\ncwd=%s\r\n", GetCommandLineA(), folder);
    std::fclose(out);
    return 0;
}
