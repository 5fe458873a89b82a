// One run of the host for a case: its folders (the plug-in's data folder inside the host's, and
// the host's "caches\"), its window with the system combo box, the loaded plug-in with the
// host's extract function, ROM files and their cache lines, and the stub emulator.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "harness.h"

namespace host {

struct Rom {
    std::string key, path, innerName;
};

class Session {
public:
    // `pluginFolder` is the data folder's last component; 19 characters put "caches\" beside it.
    // The session's folder is `name` under workDir, emptied first, or, for a name that is a
    // drive's root ("C:\\"), that root as a user's machine has it, left as it is.
    explicit Session(const std::string& name,
                     const std::string& pluginFolder = "LaunchboardData0001",
                     const std::string& system = "Nintendo 64");
    ~Session();

    std::string root, dataDir, cacheFile, system, listName;
    Plugin plugin;
    HostWindow window;

    // Writes the system's cache file listing `roms` (and creates their files).
    void writeCache(const std::vector<Rom>& roms);
    void writeEmulators(const std::vector<EmulatorRecord>& entries);
    // Copies the stub emulator to `folder` (under root) and returns its path.
    std::string installStub(const std::string& folder);
    // Clicks popup item `index` with the chain and returns what the stub recorded.
    StubRun clickAndWait(int32_t index, RomRecord* chain);
    std::vector<std::string> popupItems(bool arcade = false);
    // The host closes the plug-in and starts it again on the same data folder.
    void restart();
    void close();

    static bool keepFolders;  // a session opens its folder as it is, as a restarted host does
    static std::map<std::string, std::string> extractNames;  // key -> name inside the archive
    static std::vector<std::string> extractCalls;            // "key|folder"

private:
    bool closed_ = false;
    int runs_ = 0;
};

// Items of an item list up to its double NUL; {"(null)"} for a null list.
std::vector<std::string> itemsOf(const char* list);

// A chain of records with every text set from the key.
struct Chain {
    std::vector<std::string> texts;
    std::vector<RomRecord> records;
    explicit Chain(const std::vector<std::string>& keys, const std::string& comment = "");
    RomRecord* first() { return records.empty() ? nullptr : &records[0]; }
};

}  // namespace host
