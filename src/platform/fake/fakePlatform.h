// The recording fake behind the platform seam for native tests: an in-memory file system with
// injectable failures, and a log of what the logic asked the system to do.
#pragma once

#include <functional>
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
    std::string application;
};

// One key event or pause of a keystroke script, at the fake clock's time.
struct Key {
    unsigned virtualKey;  // 0 for a pause
    bool release;
    unsigned pause;      // milliseconds slept, for a pause
    unsigned front = 0;  // for a key: the process in front at the last question before it
};

struct State {
    std::map<std::string, std::string> files;  // path -> bytes
    std::set<std::string> directories;         // without a final backslash
    std::set<std::string> links;               // folders that are reparse points
    int64_t entriesListed = 0;                 // by listFolder, each folder's entries one by one
    std::set<std::string> unreadable;          // exist, but cannot be opened: a sharing violation
    std::multiset<std::string> openFiles;      // not yet closed: neither deleted nor replaced
    std::vector<std::string> log;  // "mkdir P", "write P", "replace A B", "copy A B", "delete P"

    std::vector<Window> windows;                     // descendants of the active window
    std::map<std::string, std::string> shortPaths;   // path -> its 8.3 form
    std::map<std::string, std::string> environment;  // upper-cased name -> value
    std::vector<Process> started;
    int openProcesses = 0;  // started and not yet closed
    bool failStart = false;
    uint32_t startError = 2;  // the error of a start that fails
    // The system's words by error code, as FormatMessage gives them, inserts unreplaced.
    std::map<uint32_t, std::string> errorTexts = {
        {2, "指定されたファイルが見つかりません。"},
        {5, "アクセスが拒否されました。"},
        {23, "データ エラー (巡回冗長検査 (CRC) エラー) です。"},
        {32, "プロセスはファイルにアクセスできません。別のプロセスが使用中です。"},
        {112, "ディスクに十分な空き領域がありません。"},
        {193, "%1 は有効な Win32 アプリケーションではありません。"}};
    uint32_t lastError = 0;  // what lastError answers: set by every call that fails
    // What foregroundProcessId answers, one entry per question, the last one repeated; while it
    // is empty, the last process started (started process n has the id 1000 + n).
    std::vector<uint32_t> foreground;
    size_t foregroundQuestions = 0;
    uint32_t lastForeground = 0;  // the last answer given
    std::set<size_t> consoles;    // the answers of `foreground`, by index, that are console windows
    std::map<uint32_t, uint32_t> parents;  // process id -> the id of the process that started it
    std::map<uint32_t, uint64_t> created;  // process id -> creation time; the id when not listed
    std::set<uint32_t> exited;             // ids of started processes that have ended
    bool workerBusy = false;               // another launch's worker still runs
    int workersStarted = 0;                // the worker's body runs at once, on the calling thread
    unsigned long stopAt = ~0ul;           // the clock time at which a stop is asked for
    int stops = 0;                         // stopThreads calls
    uintptr_t activeWindow = 7;
    uintptr_t mainWindow = 7;         // the root owner of every window
    std::set<uintptr_t> goneWindows;  // destroyed
    bool shiftDown = false;
    bool answerOk = true;                    // what askOkCancel answers
    std::vector<std::string> questions;      // "caption|text" of each askOkCancel
    std::vector<std::string> ownedMessages;  // "owner|text" of each showExclamationOwnedBy
    std::set<std::string> networkDrives;     // drive letters, as "N"
    uint32_t inputIdleResult = 0;  // what waitForInputIdle answers; a timeout takes its time
    std::vector<uint32_t> inputIdleWaits;  // the timeouts asked for
    std::string clipboard;
    int32_t clipboardResult = 0;  // -1 or -2 to fail setClipboardBytes
    std::vector<Key> keys;        // key events and pauses, in order
    unsigned long clock = 0;      // milliseconds slept in all
    std::vector<std::string> messages;
    std::vector<std::string> openedDialogs;  // "settings <system>", "favorites <system>"

    bool failAppend = false;                        // openForAppend fails
    std::string localTime = "2026/12/07 21:30:00";  // what localTimeText answers
    bool refuseJob = false;                         // startProcessInJob gives no job
    struct Session {
        void (*ended)(void*, uint64_t, bool);
        void* data;
        uintptr_t job;
        uint32_t processId;
    };
    std::vector<Session> sessions;  // watched and not yet ended
    std::set<uint32_t> jobMembers;  // ids of processes in the last job made

    bool failAllocation = false;
    // The n-th readFromFile call (from 1) reports a read error; 0 = none. With readPath set,
    // only the reads of that file count.
    int failReadAt = 0;
    std::string readPath;
    int reads = 0;            // readFromFile calls so far that count
    bool failCreate = false;  // createForWrite returns null
    long writeLimit = -1;     // bytes a file may take before writes fail; -1 = no limit
    bool failReplace = false;
    int failWriteAt = 0;     // the n-th writeToFile call (from 1) fails; 0 = none
    int writes = 0;          // writeToFile calls so far
    bool failClose = false;  // closeFile reports that buffered data could not be flushed
    // The n-th call (from 1) of each step fails; 0 = none. The counts are of the calls so far.
    int failCreateAt = 0, failCloseAt = 0, failReplaceAt = 0, failCopyAt = 0;
    int creates = 0, closes = 0, replaces = 0, copies = 0;
    int failReplaces = 1;    // replaces that fail in a row from failReplaceAt
    std::string failedPath;  // the target whose create, write, close, copy or replace failed last
    // Open in another program without delete sharing: readable, but neither replaced nor deleted.
    std::set<std::string> held;
    std::set<std::string> holds;  // files held by holdFile, here or in another process
    // With recordSteps, every step taken on a file, in order, for the crash explorer: "create",
    // "write" (with its bytes; an append's lands at the end), "flush", "close", "copy",
    // "replace" (path to other), "delete".
    struct Step {
        std::string kind, path, other, bytes;
    };
    bool recordSteps = false;
    std::vector<Step> steps;
    // Run once, as the next file is created for writing: another writer acting while a
    // rewrite works, between its read and its replace.
    std::function<void()> meanwhile;
    // The stamp of each file's last change through these functions or putFile (fileStamp).
    std::map<std::string, uint64_t> stamps;
};

// Every test starts from reset(): an empty file system and no failures.
State& state();
void reset();

bool hasFile(const std::string& path);
std::string fileBytes(const std::string& path);
void putFile(const std::string& path, const std::string& bytes);
bool logged(const std::string& entry);
void recordStep(const char* kind, const std::string& path, const std::string& other = "",
                const void* bytes = nullptr, size_t size = 0);
// Ends watched session `index` after `milliseconds`, as the watcher does when its job empties.
void endSession(size_t index, uint64_t milliseconds);

}  // namespace fake
