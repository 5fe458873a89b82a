// Load, start and close against the real DLL: exports, information texts, "Setting.dat" and
// the data folders.
#include <cstring>

#include "harness.h"

using namespace host;

namespace {

int32_t __stdcall noExtract(const char*, const char*, int32_t, int32_t) { return 0; }

// The "Setting.dat" a first run writes for the data folder `dir` (ending in a backslash).
std::string defaultSettings(const std::string& dir) {
    std::string bytes(664, '\0');
    std::memcpy(&bytes[260], dir.data(), dir.size());
    for (int i = 0; i < 10; ++i) {
        bytes.replace(520 + 8 * i, 4, int32Bytes(100));
        bytes.replace(604 + 4 * i, 4, int32Bytes(i));
    }
    return bytes;
}

// One run of the host: load, initPlugin with `dataDir`, closePlugin, unload.
void startAndClose(const std::string& dataDir) {
    Plugin plugin;
    if (!plugin.load(dllPath)) return;
    CHECK_EQ(plugin.initPlugin(noExtract, 1, 2, 3, 4, dataDir.c_str()), 0, "initPlugin result");
    plugin.closePlugin();
    plugin.unload();
}

std::string freshFolder(const char* name) {
    std::string folder = workDir + name + "\\";
    removeTree(folder);
    return folder;
}

}  // namespace

HOST_CASE(exportsArePresentUnderTheirPlainNames) {
    HMODULE module = LoadLibraryA(dllPath.c_str());
    CHECK(module != nullptr, "LoadLibrary");
    for (const char* name : {"getName", "getAuthor", "getVersion", "getSDKVersion",
                             "getSmallComment", "initPlugin", "isCompatible", "closePlugin"}) {
        CHECK(GetProcAddress(module, name) != nullptr, std::string("missing export ") + name);
    }
    for (const char* name : {"initPlugin@24", "_initPlugin@24", "isCompatible@4"}) {
        CHECK(GetProcAddress(module, name) == nullptr, std::string("decorated export ") + name);
    }
    FreeLibrary(module);
}

HOST_CASE(informationTextsAreExactShiftJisBytes) {
    Plugin plugin;
    if (!plugin.load(dllPath)) return;
    CHECK_EQ(std::string(plugin.getName()), std::string("Launchboard"), "getName");
    CHECK_EQ(std::string(plugin.getVersion()), std::string("2.1"), "getVersion");
    CHECK_EQ(std::string(plugin.getSDKVersion()), std::string("0.7"), "getSDKVersion");
    CHECK(std::strlen(plugin.getAuthor()) > 0, "getAuthor is empty");
    static const unsigned char comment[] = {
        0x81, 0x45, 0x83, 0x47, 0x83, 0x7e, 0x83, 0x85, 0x83, 0x8c, 0x81, 0x5b, 0x83,
        0x5e, 0x82, 0xf0, 0x95, 0xa1, 0x90, 0x94, 0x93, 0x6f, 0x98, 0x5e, 0x89, 0xc2,
        0x94, 0x5c, 0x0a, 0x81, 0x45, 0x4e, 0x36, 0x34, 0x2c, 0x58, 0x36, 0x38, 0x30,
        0x30, 0x30, 0x2c, 0x4d, 0x41, 0x4d, 0x45, 0x2c, 0x4a, 0x36, 0x34, 0x2c, 0x4c,
        0x59, 0x4e, 0x58, 0x91, 0xce, 0x89, 0x9e, 0x0a, 0x81, 0x45, 0x82, 0xa8, 0x8b,
        0x43, 0x82, 0xc9, 0x93, 0xfc, 0x82, 0xe8, 0x8b, 0x40, 0x94, 0x5c};
    CHECK_EQ(std::string(plugin.getSmallComment()),
             std::string(reinterpret_cast<const char*>(comment), sizeof comment),
             "getSmallComment: three lines, single line feeds, Shift-JIS");
    plugin.unload();
}

HOST_CASE(aFirstStartAndCloseWritesEveryDefault) {
    std::string dir = freshFolder("first");
    startAndClose(dir.substr(0, dir.size() - 1));  // given without its final backslash
    CHECK(folderExists(dir), "data folder created");
    CHECK(folderExists(dir + "temp\\"), "temp folder created");
    std::string settings = readFile(dir + "Setting.dat");
    CHECK_EQ(settings.size(), size_t(664), "Setting.dat size");
    CHECK_EQ(settings, defaultSettings(dir), "Setting.dat bytes");
    CHECK(!fileExists(dir + "Setting.dat.tmp"), "no temporary file left behind");
}

HOST_CASE(aDataFolderGivenWithItsBackslashIsTakenUnchanged) {
    std::string dir = freshFolder("withSlash");
    startAndClose(dir);
    CHECK(folderExists(dir + "temp\\"), "temp folder created");
    CHECK_EQ(readFile(dir + "Setting.dat"), defaultSettings(dir), "Setting.dat bytes");
}

HOST_CASE(aRestartRestoresAllSevenFields) {
    std::string dir = freshFolder("restart");
    CreateDirectoryA(dir.c_str(), nullptr);
    std::string saved(664, '\0');
    std::memcpy(&saved[0], "D:\\Emu\\n64.exe", 14);
    std::memcpy(&saved[260], "D:\\Extract\\", 11);
    for (int i = 0; i < 10; ++i) {
        saved.replace(520 + 8 * i, 8, int32Bytes(60 + i) + int32Bytes(i & 1));
        saved.replace(604 + 4 * i, 4, int32Bytes(9 - i));
    }
    saved.replace(600, 4, int32Bytes(6));
    saved.replace(644, 16, int32Bytes(10) + int32Bytes(20) + int32Bytes(640) + int32Bytes(480));
    saved.replace(660, 4, int32Bytes(1));
    writeFile(dir + "Setting.dat", saved);
    startAndClose(dir);
    CHECK_EQ(readFile(dir + "Setting.dat"), saved, "Setting.dat after a run that changed nothing");
}

HOST_CASE(aSettingsFileOf520BytesRestoresOnlyTheTwoPaths) {
    std::string dir = freshFolder("short");
    CreateDirectoryA(dir.c_str(), nullptr);
    std::string saved(520, '\0');
    std::memcpy(&saved[0], "D:\\Emu\\n64.exe", 14);
    std::memcpy(&saved[260], "D:\\Extract\\", 11);
    writeFile(dir + "Setting.dat", saved);
    startAndClose(dir);
    std::string expected = defaultSettings(dir);
    expected.replace(0, 520, saved);
    CHECK_EQ(readFile(dir + "Setting.dat"), expected, "Setting.dat");
}

HOST_CASE(aDataFolderEndingInHyoGetsItsBackslash) {
    // 表 is 0x95 0x5C: its trail byte is the backslash code.
    CHECK_EQ(GetACP(), 932u, "the ANSI code page (run under the ja_JP.UTF-8 locale)");
    std::string dir = workDir + "\x95\x5C";
    removeTree(dir);
    startAndClose(dir);
    CHECK(folderExists(dir + "\\temp\\"), "temp folder under " + toUtf8(dir));
    CHECK_EQ(readFile(dir + "\\Setting.dat"), defaultSettings(dir + "\\"), "Setting.dat bytes");
}

HOST_CASE(isCompatibleAnswersTrueForAnyList) {
    Plugin plugin;
    if (!plugin.load(dllPath)) return;
    std::string dir = freshFolder("compatible");
    plugin.initPlugin(noExtract, 0, 0, 0, 0, dir.c_str());
    for (const char* list : {"", "Nintendo 64", "Arcade (MAME)", "\x83\x5C\x83\x74\x83\x67"}) {
        CHECK_EQ(plugin.isCompatible(list), true, std::string("isCompatible ") + show(list));
    }
    plugin.closePlugin();
    plugin.unload();
}

HOST_CASE(theVersionResourceMatchesGetVersion) {
    Plugin plugin;
    if (!plugin.load(dllPath)) return;
    std::string version = plugin.getVersion();
    DWORD ignored = 0, size = GetFileVersionInfoSizeA(dllPath.c_str(), &ignored);
    std::string block(size, '\0');
    CHECK(size > 0 && GetFileVersionInfoA(dllPath.c_str(), 0, size, block.data()),
          "the DLL has a version resource");
    auto value = [&](const char* name) {
        char* text = nullptr;
        UINT length = 0;
        std::string path = std::string("\\StringFileInfo\\041104B0\\") + name;
        return VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&text), &length)
                   ? std::string(text)
                   : std::string("(none)");
    };
    CHECK_EQ(value("FileVersion"), version, "FileVersion");
    CHECK_EQ(value("ProductVersion"), version, "ProductVersion");
    CHECK_EQ(value("ProductName"), std::string("Launchboard"), "ProductName");
    CHECK_EQ(value("OriginalFilename"), std::string("Launchboard.dll"), "OriginalFilename");
    CHECK(value("FileDescription") != "(none)", "FileDescription");
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length);
    CHECK(fixed != nullptr, "the fixed part");
    if (fixed != nullptr) {
        CHECK_EQ(std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                     std::to_string(LOWORD(fixed->dwFileVersionMS)),
                 version, "the file version numbers");
    }
    plugin.unload();
}
