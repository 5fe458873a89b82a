// The host's side of a case: folders, window, cache file, extract function and stub emulator.
#include "session.h"

#include <cstring>

namespace host {

bool Session::keepFolders = false;
std::map<std::string, std::string> Session::extractNames;
std::vector<std::string> Session::extractCalls;

namespace {

// The host extracts the ROM into `folder` under its name inside the archive.
int32_t __stdcall extractRom(const char* key, const char* folder, int32_t, int32_t) {
    Session::extractCalls.push_back(std::string(key) + "|" + folder);
    auto it = Session::extractNames.find(key);
    if (it != Session::extractNames.end())
        writeFile(std::string(folder) + it->second, "extracted " + std::string(key));
    return 1;
}

}  // namespace

Session::Session(const std::string& name, const std::string& pluginFolder,
                 const std::string& system_)
    : system(system_), listName(system_) {
    bool driveRoot = name.size() == 3 && name[1] == ':' && name[2] == '\\';
    root = driveRoot ? name : workDir + name + "\\";
    if (!driveRoot && !keepFolders) removeTree(root);
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA((root + "Host").c_str(), nullptr);
    CreateDirectoryA((root + "Host\\caches").c_str(), nullptr);
    dataDir = root + "Host\\" + pluginFolder + "\\";
    cacheFile = root + "Host\\caches\\" + system + ".cache";
    extractNames.clear();
    extractCalls.clear();
    window.open();
    window.addCombo(system, 300);
    if (!plugin.load(dllPath)) return;
    plugin.initPlugin(extractRom, 0, 0, 0, 0, dataDir.c_str());
    plugin.isCompatible(system.c_str());
}

Session::~Session() { close(); }

void Session::restart() {
    plugin.closePlugin();
    plugin.unload();
    if (!plugin.load(dllPath)) return;
    plugin.initPlugin(extractRom, 0, 0, 0, 0, dataDir.c_str());
    plugin.isCompatible(listName.c_str());
}

void Session::close() {
    if (closed_) return;
    closed_ = true;
    if (plugin.closePlugin != nullptr) plugin.closePlugin();
    plugin.unload();
    window.close();
}

void Session::writeCache(const std::vector<Rom>& roms) {
    std::string text = "# host cache\r\n";
    for (const Rom& rom : roms) {
        text += rom.path + ";" + rom.innerName + ";3;4;" + rom.key + ";clean;7\r\n";
        extractNames[rom.key] = rom.innerName;
        if (!fileExists(rom.path)) writeFile(rom.path, "archive " + rom.key);
    }
    writeFile(cacheFile, text);
}

void Session::writeEmulators(const std::vector<EmulatorRecord>& entries) {
    writeFile(dataDir + system + ".emu", emulatorListFile(entries));
}

std::string Session::installStub(const std::string& folder) {
    std::string dir = root;
    size_t start = 0;
    while (start < folder.size()) {  // one level at a time; folder names may hold ソ (0x83 0x5C)
        size_t end = start;
        while (end < folder.size() && folder[end] != '\\')
            end += IsDBCSLeadByte(BYTE(folder[end])) ? 2 : 1;
        dir += folder.substr(start, end - start) + "\\";
        CreateDirectoryA(dir.c_str(), nullptr);
        start = end + 1;
    }
    std::string exe = dir + "stub.exe";
    CHECK(CopyFileA(stubPath.c_str(), exe.c_str(), FALSE),
          "copy the stub emulator to " + toUtf8(exe));
    return exe;
}

StubRun Session::clickAndWait(int32_t index, RomRecord* chain) {
    std::string log = root + "stub" + std::to_string(++runs_) + ".log";
    DeleteFileA(log.c_str());
    SetEnvironmentVariableA("LB_STUB_LOG", log.c_str());
    plugin.onPopupMenuHaveClick(index, chain);
    return waitForStub(log);
}

std::vector<std::string> Session::popupItems(bool arcade) {
    return itemsOf(arcade ? plugin.inPopupMenu() : plugin.inPopupMenuHave());
}

std::vector<std::string> itemsOf(const char* list) {
    if (list == nullptr) return {"(null)"};
    std::vector<std::string> items;
    for (const char* p = list; *p != '\0'; p += std::strlen(p) + 1) items.push_back(p);
    return items;
}

Chain::Chain(const std::vector<std::string>& keys, const std::string& comment) {
    texts.reserve(keys.size() * 6);
    records.resize(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        RomRecord& r = records[i];
        r = RomRecord{};
        texts.push_back(keys[i]);
        r.crc32 = texts.back().c_str();
        texts.push_back("Name " + keys[i]);
        r.name = texts.back().c_str();
        texts.push_back("Publisher " + keys[i]);
        r.publisher = texts.back().c_str();
        texts.push_back("Source " + keys[i]);
        r.sourceRom = texts.back().c_str();
        texts.push_back("SRAM");
        r.saveType = texts.back().c_str();
        texts.push_back(comment.empty() ? "Comment " + keys[i] : comment);
        r.comment = texts.back().c_str();
        r.number = int32_t(i + 1);
        r.size = 64;
        r.location = 2;
        r.language = 1;
        r.next = i + 1 < keys.size() ? &records[i + 1] : nullptr;
    }
}

}  // namespace host
