// Dispatch by the label of the emulator's kind, the set-name launch of arcade emulators, and
// the process start shared by every launch that passes its arguments on the command line.
#include <cstring>

#include "core/pluginContext.h"
#include "launcher/launch.h"
#include "platform/platform.h"

namespace lb {

void launchEmulator(int32_t index, const HostRomRecord* chain) {
    if (index < 0 || index >= context->emulatorCount || index >= kMaxEmulators) return;
    EmulatorEntry entry = context->emulators[index];
    if (entry.kind < 0 || entry.kind >= kEmulatorKindCount) return;
    const char* label = emulatorKindTable[entry.kind].label;
    if (std::strcmp(label, emulatorKindTable[Standard].label) == 0) {
        launchCommandLine(entry, chain);
    } else if (std::strcmp(label, emulatorKindTable[MameModel2].label) == 0) {
        launchSetName(entry, chain);
    } else if (std::strcmp(label, emulatorKindTable[KeyboardDriven].label) == 0) {
        launchKeyboardDriven(entry, chain);
    } else if (std::strcmp(label, emulatorKindTable[WinX68Fast].label) == 0 ||
               std::strcmp(label, emulatorKindTable[Xm6].label) == 0) {
        launchTwoDrive(entry, chain);
    }
}

void launchSetName(EmulatorEntry entry, const HostRomRecord* chain) {
    if (chain == nullptr) return;
    char setName[kTextSize];
    // A set name cut short would start another game; such a name starts nothing.
    if (!copyText(setName, hostText(chain->comment))) return;
    startEmulatorProcess(setName, entry.exePath);
}

bool buildCommandLine(char (&target)[kCommandLineSize], const char* exePath, const char* args) {
    // A path with a blank or tab is quoted, so the emulator's own argument splitting sees it as
    // one; any other path keeps the exact bytes emulators always saw.
    bool quoted = std::strpbrk(exePath, " \t") != nullptr;
    const char* quote = quoted ? "\"" : "";
    if (args[0] == '\0') return joinPath(target, quote, exePath, quote);
    return joinPath(target, quote, exePath, quote, " ", args);
}

platform::ProcessHandle startInExecutableFolder(const char* args, const char* exePath) {
    char workingDir[kTextSize];
    driveAndFolder(workingDir, exePath);
    char commandLine[kCommandLineSize];
    if (!buildCommandLine(commandLine, exePath, args)) return 0;
    return platform::startProcess(exePath, commandLine, workingDir);
}

void startEmulatorProcess(const char* args, const char* exePath) {
    platform::closeProcess(startInExecutableFolder(args, exePath));
}

}  // namespace lb
