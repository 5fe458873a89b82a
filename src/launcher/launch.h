// Starting a registered emulator with the ROMs selected in the host or the favourites dialog.
// The launch method follows the label of the emulator's kind.
#pragma once

#include <cstdint>

#include "core/hostInterface.h"
#include "core/text.h"
#include "platform/platform.h"
#include "registry/emulatorEntry.h"

namespace lb {

constexpr size_t kCommandLineSize = 2048;

// Starts emulator `index` of `emulators` with the chain; an index outside the list starts nothing.
void launchEmulator(int32_t index, const HostRomRecord* chain);

// Starts `exePath` with `args` (exePath alone when args is empty) in the executable's folder
// and returns the process, 0 when nothing started; the caller closes it.
platform::ProcessHandle startInExecutableFolder(const char* args, const char* exePath);

// The same, without keeping the process: nothing waits for it.
void startEmulatorProcess(const char* args, const char* exePath);

// "exePath args", or exePath alone for empty args, the path in double quotes when it holds a
// blank or a tab; false when it would not fit.
bool buildCommandLine(char (&target)[kCommandLineSize], const char* exePath, const char* args);

// The launch methods, each given its own copy of the entry.
void launchCommandLine(EmulatorEntry entry, const HostRomRecord* chain);
void launchSetName(EmulatorEntry entry, const HostRomRecord* chain);
void launchKeyboardDriven(EmulatorEntry entry, const HostRomRecord* chain);
void launchTwoDrive(EmulatorEntry entry, const HostRomRecord* chain);

// The keyboard-driven launch's pieces: the ROM path on the clipboard (at most 1024 bytes; 0,
// -1 or -2 as the clipboard answered), and the File/Open keystroke script with its pauses.
constexpr size_t kMaxClipboardText = 1024;
int32_t setClipboardText(const char* text);
void sendOpenFileKeys(int32_t keyWait, int32_t browseWait);

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
