// Starting a registered emulator with the ROMs selected in the host or the favourites dialog.
// The launch method follows the label of the emulator's kind.
#pragma once

#include <cstdint>

#include "core/failureText.h"
#include "core/hostInterface.h"
#include "core/text.h"
#include "games/gameSettings.h"
#include "history/playHistory.h"
#include "platform/platform.h"
#include "registry/emulatorEntry.h"

namespace lb {

// Windows takes a command line of at most 32,767 characters with its NUL, counted as the
// system counts them: a double-byte character is one. The buffer holds that many of two bytes.
constexpr size_t kCommandLineCharacters = 32767;
constexpr size_t kCommandLineSize = 2 * kCommandLineCharacters;

// One launch, resolved once (ROM paths looked up, archives extracted) and then either shown or
// carried out, so what is shown is exactly what starts.
struct LaunchPlan {
    char program[kTextSize];                 // the registered executable
    char folder[kTextSize];                  // its folder, with the final backslash
    char commandLine[kCommandLineSize];      // exactly what CreateProcessA gets
    bool typesKeys;                          // the keyboard-driven kind: clipboard, then keys
    char clipboard[kTextSize];               // the ROM path it pastes
    int32_t keyWait, browseWait;             // the key script's pauses
    PlayStart play;                          // what the history records once it has started
    bool writesPlaylist;                     // %M3U%: writePlannedPlaylist before the start
    bool placedGameArguments;                // the template took them at its %GAMEARGS%
    char gameArguments[kGameArgumentsSize];  // the game's own, from its launch setting
};

enum class LaunchResult {
    NothingToStart,  // no plan: no ROM, a path that cannot fit, an index outside the list
    Started,
    Cancelled,  // the user cancelled the preview
    Failed,     // the system started nothing; the user was told
};

// Starts emulator `index` of the state's list with the chain; an index outside the list starts
// nothing. With `preview` (Shift held as the user chose the emulator), the plan is shown first,
// under "起動の確認", and only OK carries it out. The first game's launch setting (`setting`,
// or read from its file when null) adds its arguments when they apply to the emulator.
LaunchResult launchEmulator(int32_t index, const HostRomRecord* chain, bool preview = false,
                            const GameSetting* setting = nullptr);

// The launch setting of the chain's first game; none when it has none, or its file cannot be
// read: a launch then goes on as without it.
void readGameSettingOf(const HostRomRecord* chain, GameSetting& setting);
// The emulator a game's own place starts: its setting's emulator while it is registered, else
// `fallback`.
int32_t gameEmulatorOr(const GameSetting& setting, int32_t fallback);

// Tells, on the host's thread, the first end of a session that the watcher could not append to
// the history, unless a failed append was told already: a failed append is told once.
void tellHistoryFailure();

// The plan of `entry`'s launch by the label of its kind, with the game's own arguments
// `gameArgs` at the template's %GAMEARGS%, else at the end of the command line after one space;
// false when nothing would start.
bool planLaunch(const EmulatorEntry& entry, const HostRomRecord* chain, LaunchPlan& plan,
                const char* gameArgs = "");
// The plans of the four methods, each given its own copy of the entry. Only one keyboard-driven
// script runs at a time: while one runs, its plan tells the user and plans nothing.
bool planCommandLine(EmulatorEntry entry, const HostRomRecord* chain, LaunchPlan& plan);
bool planSetName(EmulatorEntry entry, const HostRomRecord* chain, LaunchPlan& plan);
bool planKeyboardDriven(EmulatorEntry entry, const HostRomRecord* chain, LaunchPlan& plan);
bool planTwoDrive(EmulatorEntry entry, const HostRomRecord* chain, LaunchPlan& plan);

// Carries a plan out: the process starts in the program's folder, nothing waits for it; the
// keyboard-driven kind first puts the ROM path on the clipboard, then hands the wait for the
// emulator and the File/Open script to the worker and returns. A start the system refuses is
// told to the user. `owner` is the window that was active when the launch began.
LaunchResult carryOut(const LaunchPlan& plan, platform::WindowHandle owner);

// The launch methods: plan, then carry out.
void launchCommandLine(EmulatorEntry entry, const HostRomRecord* chain);
void launchSetName(EmulatorEntry entry, const HostRomRecord* chain);
void launchKeyboardDriven(EmulatorEntry entry, const HostRomRecord* chain);
void launchTwoDrive(EmulatorEntry entry, const HostRomRecord* chain);

// Fills the plan's program, folder and command line: "exePath args", or exePath alone for
// empty args; false when the command line would not fit.
bool planProcess(LaunchPlan& plan, const char* exePath, const char* args);

// The plan of an entry with a command-line template: the executable, then the expanded template.
// `rom` and `romRaw` are the ROM's path as the kind passes it and plain. A template that cannot
// be expanded, or a command line too long for Windows, is told and plans nothing.
bool planTemplate(LaunchPlan& plan, const EmulatorEntry& entry, const char* text, const char* rom,
                  const char* romRaw, const HostRomRecord& record, const char* playlist = "");

// A multi-disc launch's playlist (%M3U%): every selected ROM resolved as the entry's %ROM% is,
// with the cache and extraction but neither shortened nor quoted, one a line, as UTF-8 with
// CR LF; a disc in the playlist's own folder (`folder`, with its final backslash) by its file
// name alone. The launch writes it as "<first ROM's base name>.m3u" into the extraction folder
// (the plug-in's temp folder for an entry without one), and closePlugin deletes it with the
// extracted files. The playlist's text for `discs`; false when it does not fit `size`.
bool playlistText(char* out, size_t size, size_t& length, const char (*discs)[kTextSize],
                  int32_t count, const char* folder);

// Writes the playlist that the last plan of a command-line launch named; false, told, when it
// cannot be saved. A file of its name that the plug-in did not make is never written over:
// the plan took the plug-in's temp folder instead, or refused with kPlaylistTakenText.
bool writePlannedPlaylist();
extern const char kPlaylistTakenText[];

// "exePath args", or exePath alone for empty args, the path in double quotes when it holds a
// blank or a tab; false when it would not fit, or holds more characters than Windows takes.
bool buildCommandLine(char (&target)[kCommandLineSize], const char* exePath, const char* args);

// The texts shown to the user, lines joined by CR LF: the preview of a plan; keys stopped
// because the emulator was not in front. A start the system refused is told by failureText.
void previewText(char (&text)[kMessageSize], const LaunchPlan& plan);
extern const char kKeysStoppedText[];
extern const char kEmulatorEndedText[];
extern const char kNotReadyText[];
extern const char kStillTypingText[];
extern const char kPreviewCaption[];

// The keyboard-driven launch's pieces: the ROM path on the clipboard (at most 1024 bytes; 0,
// -1 or -2 as the clipboard answered), and the File/Open keystroke script with its pauses.
constexpr size_t kMaxClipboardText = 1024;
int32_t setClipboardText(const char* text);

// The keyboard-driven launch's wait and key script run on the plug-in's worker thread, from a
// copy of all they need: the emulator's process handle (kept open until the script ends, and
// closed by the worker), the waits, and the window that was active when the launch began,
// which owns the worker's messages. Nothing of the plug-in's state is shared.
struct TypingJob {
    platform::ProcessHandle process;
    int32_t keyWait, browseWait;
    platform::WindowHandle owner, mainWindow;  // mainWindow: the owner's root owner
    platform::JobHandle job;                   // the worker's own handle of the launch's job
};
// The emulator as the key script knows it: its process handle, id and creation time, and the
// launch's job (0 without one), which takes along every process it starts.
struct EmulatorProcess {
    platform::ProcessHandle process;
    uint32_t id;
    uint64_t created;
    platform::JobHandle job = 0;
};

// The worker's body: waits for the emulator, types the script, tells the user when it was not
// ready, ended or stopped (never after a stop asked for by closePlugin), closes the process
// handle and releases the job, which was allocated with platform::allocateZeroed.
void runTypingJob(void* job);

// Whether process `id` is the emulator or was started by it: in the launch's job, or without one
// following parents in one snapshot of the processes, where a parent created after its child,
// or before the emulator, breaks the line. The key script asks it before every key.
bool belongsToEmulator(uint32_t id, const EmulatorProcess& emulator);

// The pauses of an entry's wait indexes; an index outside the tables (only a damaged list file
// holds one) gets the wait a new entry starts with.
int32_t keyWaitOf(const EmulatorEntry& entry);
int32_t browseWaitOf(const EmulatorEntry& entry);

// The two-drive argument text of a kind label: "-A<a> -B<b>" or "<a> <b>"; false for another label.
bool twoDriveArguments(char (&target)[1024], const char* label, const char* driveA,
                       const char* driveB);

// The file path of one selected ROM for `entry`: extracted by the host into `extractDir` and
// recorded for deletion, or the path the host cache gives. False when the path would not fit
// (the emulator must then not be started with it); a ROM unknown to the cache gives the empty
// path and is not extracted.
bool resolveRomPath(const EmulatorEntry& entry, const HostRomRecord& record,
                    char (&path)[kTextSize]);

// Whether the file `innerName` extracted into `dir` stays inside it: `dir` is absolute and
// the name has no ".." component between backslashes or slashes.
bool staysInsideFolder(const char* dir, const char* innerName);

// Replaces `path` by its 8.3 form; a path the system cannot shorten stays as it is.
void shortenPath(char (&path)[kTextSize]);

// Wraps `path` in double quotes; false, with `path` unchanged, when they would not fit.
bool quotePath(char (&path)[kTextSize]);

}  // namespace lb
