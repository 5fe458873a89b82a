// The recording fake behind the platform seam for native tests: an in-memory file system with
// injectable failures, and a log of what the logic asked the system to do.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace fake {

struct Window {
    std::string className;
    bool visible;
    int width;
    std::string text;
};

struct Process {
    std::string commandLine;
    std::string workingDir;
};

struct State {
    std::map<std::string, std::string> files;  // path -> bytes
    std::set<std::string> directories;
    std::set<std::string> unreadable;  // exist, but cannot be opened
    std::vector<std::string> log;      // "mkdir P", "write P", "replace A B", "delete P"

    std::vector<Window> windows;                     // descendants of the active window
    std::map<std::string, std::string> shortPaths;   // path -> its 8.3 form
    std::vector<Process> started;
    int openProcesses = 0;                           // started and not yet closed
    bool failStart = false;

    bool failAllocation = false;
    bool failCreate = false;        // createForWrite returns null
    long writeLimit = -1;           // bytes a file may take before writes fail; -1 = no limit
    bool failReplace = false;
};

// Every test starts from reset(): an empty file system and no failures.
State& state();
void reset();

bool hasFile(const std::string& path);
std::string fileBytes(const std::string& path);
void putFile(const std::string& path, const std::string& bytes);
bool logged(const std::string& entry);

}  // namespace fake
