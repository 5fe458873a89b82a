// Files and their errors on Windows: opened by ANSI path, read and written as raw bytes, replaced,
// copied and appended to; the system's words for an error; the ANSI code page, the environment,
// short paths and drive types; and the process heap.
#include <windows.h>

#include <shlwapi.h>

#include <new>

#include "platform/win32/win32Seam.h"

namespace platform {

struct File {
    HANDLE handle;
    DWORD error;
};

DWORD lastFailure = 0;

// A failure of the host's thread is kept for lastError; the watcher's never overwrites it.
bool noted(bool ok) {
    if (!ok && !onWatcherThread()) lastFailure = GetLastError();
    return ok;
}

namespace {

bool notedOn(File* file, bool ok) {
    if (!ok) file->error = GetLastError();
    return noted(ok);
}

}  // namespace

namespace {

File* wrap(HANDLE handle) {
    if (!noted(handle != INVALID_HANDLE_VALUE)) return nullptr;
    File* file = new (std::nothrow) File{handle, 0};
    if (file == nullptr) {
        CloseHandle(handle);
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        noted(false);
    }
    return file;
}

}  // namespace

OpenResult openForRead(const char* path, File*& file) {
    file = wrap(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file != nullptr) return OpenResult::Opened;
    bool missing = lastFailure == ERROR_FILE_NOT_FOUND || lastFailure == ERROR_PATH_NOT_FOUND;
    return missing ? OpenResult::Missing : OpenResult::Unreadable;
}

File* createForWrite(const char* path) {
    return wrap(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr));
}

File* openForAppend(const char* path, uint32_t& error) {
    File* file = wrap(CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    error = file != nullptr ? 0 : GetLastError();
    return file;
}

uint32_t fileError(const File* file) { return file->error; }

long readFromFile(File* file, void* buffer, size_t size) {
    DWORD read = 0;
    if (!notedOn(file, ReadFile(file->handle, buffer, DWORD(size), &read, nullptr))) return -1;
    return long(read);
}

bool writeToFile(File* file, const void* data, size_t size) {
    DWORD written = 0;
    if (!notedOn(file, WriteFile(file->handle, data, DWORD(size), &written, nullptr))) return false;
    if (written == size) return true;
    SetLastError(ERROR_DISK_FULL);  // a short write
    return notedOn(file, false);
}

bool flushFile(File* file) { return notedOn(file, FlushFileBuffers(file->handle) != FALSE); }

bool closeFile(File* file) {
    bool ok = noted(CloseHandle(file->handle));
    delete file;
    return ok;
}

bool replaceFile(const char* from, const char* to) {
    return noted(MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

bool copyFile(const char* from, const char* to) { return noted(CopyFileA(from, to, FALSE)); }

uint32_t lastError() { return lastFailure; }

void errorText(uint32_t error, char* buffer, size_t size) {
    if (size == 0) return;
    buffer[0] = '\0';
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             error, 0, buffer, DWORD(size), nullptr);
    if (n == 0 || n >= size) {
        buffer[0] = '\0';
        return;
    }
    while (n > 0 && (buffer[n - 1] == '\n' || buffer[n - 1] == '\r')) buffer[--n] = '\0';
}

bool deleteFile(const char* path) { return DeleteFileA(path) != FALSE; }
bool fileExists(const char* path) { return PathFileExistsA(path) != FALSE; }
bool isDirectory(const char* path) { return PathIsDirectoryA(path) != FALSE; }
void createDirectory(const char* path) { CreateDirectoryA(path, nullptr); }

bool listFolder(const char* folder, bool (*visit)(const FolderEntry&, void*), void* user) {
    char pattern[MAX_PATH + 4];
    int length = lstrlenA(folder);
    if (length + 3 > int(sizeof pattern)) return false;
    CopyMemory(pattern, folder, length);
    // A final backslash is the byte 0x5C after a whole character, never a trail byte.
    bool slash = length > 0 && CharPrevA(folder, folder + length)[0] == '\\';
    lstrcpyA(pattern + length, slash ? "*" : "\\*");
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    do {
        if (lstrcmpA(found.cFileName, ".") == 0 || lstrcmpA(found.cFileName, "..") == 0) continue;
        FolderEntry entry{};
        lstrcpynA(entry.name, found.cFileName, sizeof entry.name);
        entry.folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.reparsePoint = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        if (!visit(entry, user)) break;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return true;
}
bool isLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != FALSE; }

Variable environmentVariable(const char* name, char* buffer, size_t size) {
    SetLastError(ERROR_SUCCESS);
    DWORD n = GetEnvironmentVariableA(name, buffer, DWORD(size));
    if (n == 0) {
        if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return Variable::Missing;
        if (size == 0) return Variable::TooLong;
        buffer[0] = '\0';  // a variable whose value is empty
        return Variable::Found;
    }
    if (n < size) return Variable::Found;
    if (size > 0) buffer[0] = '\0';
    return Variable::TooLong;
}

bool ansiToUtf8(const char* text, char* buffer, size_t size) {
    static wchar_t wide[32768];
    int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, -1, wide, 32768);
    if (n <= 0) return false;
    return WideCharToMultiByte(CP_UTF8, 0, wide, n, buffer, int(size), nullptr, nullptr) > 0;
}

bool utf8ToAnsi(const char* text, char* buffer, size_t size) {
    wchar_t wide[260];
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, wide, 260);
    BOOL lost = FALSE;
    if (n <= 0 || size > 0x7fffffff) return false;
    int got = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, n, buffer, int(size), nullptr,
                                  &lost);
    return got > 0 && !lost;
}

bool shortPathName(const char* path, char* buffer, size_t size) {
    DWORD n = GetShortPathNameA(path, buffer, DWORD(size));
    return n > 0 && n < size;
}

Hold holdFile(const char* path, uint32_t milliseconds) {
    char lock[MAX_PATH + 8];
    int length = lstrlenA(path);
    if (length + 6 > int(sizeof lock)) return 0;
    CopyMemory(lock, path, length);
    CopyMemory(lock + length, ".lock", 6);
    // Where "<path>.lock" passes the longest path, ".txt" becomes ".lck": as long as the path.
    if (length + 5 >= MAX_PATH && length > 4 && lstrcmpA(lock + length - 4, ".txt.lock") == 0)
        CopyMemory(lock + length - 4, ".lck", 5);
    DWORD since = GetTickCount();
    for (;;) {
        // No sharing: a second holder is refused until the first closes, and the file goes
        // with the last handle, a crashed holder's too.
        HANDLE held = CreateFileA(lock, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (held != INVALID_HANDLE_VALUE) return reinterpret_cast<Hold>(held);
        DWORD error = GetLastError();
        bool busy = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED;
        if (!busy || GetTickCount() - since >= milliseconds) {
            if (!onWatcherThread()) lastFailure = error;  // the true reason, for a message
            return 0;
        }
        Sleep(10);
    }
}

bool fileSize(const char* path, uint64_t& size) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return false;
    size = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

bool fileStamp(const char* path, uint64_t& size, uint64_t& written) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return false;
    size = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    written =
        (uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    return true;
}

void releaseFile(Hold hold) {
    if (hold != 0) CloseHandle(reinterpret_cast<HANDLE>(hold));
}

bool isOnNetworkDrive(const char* path) {
    if (path[0] == '\0' || path[1] != ':') return false;  // only drive-letter paths have a drive
    char root[4] = {path[0], ':', '\\', '\0'};
    return GetDriveTypeA(root) == DRIVE_REMOTE;
}

void* allocateZeroed(size_t size) { return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size); }
void* allocate(size_t size) { return HeapAlloc(GetProcessHeap(), 0, size); }
void release(void* block) {
    if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

}  // namespace platform
