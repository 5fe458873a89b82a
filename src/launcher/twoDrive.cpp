// The two-drive launch for X68000 emulators: the first selected disk image goes to drive A, the
// second to drive B. Later selections are prepared as well (extracted, so the host's archive
// is unpacked for them too) but not named on the command line.
#include <cstring>

#include "core/pluginContext.h"
#include "core/romCache.h"
#include "launcher/launch.h"

namespace lb {

namespace {

constexpr int kMaxVisitedRecords = 20;

}  // namespace

bool twoDriveArguments(char (&target)[1024], const char* label, const char* driveA,
                       const char* driveB) {
    if (std::strcmp(label, emulatorKindTable[WinX68Fast].label) == 0) {
        return joinPath(target, "-A", driveA, " -B", driveB);
    }
    if (std::strcmp(label, emulatorKindTable[Xm6].label) == 0)
        return joinPath(target, driveA, " ", driveB);
    target[0] = '\0';
    return false;
}

bool planTwoDrive(EmulatorEntry entry, const HostRomRecord* chain, LaunchPlan& plan) {
    plan = LaunchPlan{};
    char driveA[kTextSize] = "", driveB[kTextSize] = "", further[kTextSize] = "";
    loadRomCache();
    int visited = 0;
    for (const HostRomRecord* r = chain; r != nullptr && visited < kMaxVisitedRecords;
         r = r->next, ++visited) {
        char(&path)[kTextSize] = visited == 0 ? driveA : (visited == 1 ? driveB : further);
        // A drive path that cannot be named in full starts nothing.
        if (!resolveRomPath(entry, *r, path)) return false;
        if (entry.shortPath != 0) shortenPath(path);
    }
    if (entry.kind < 0 || entry.kind >= kEmulatorKindCount) return false;
    char args[1024];
    if (!twoDriveArguments(args, emulatorKindTable[entry.kind].label, driveA, driveB)) return false;
    return planProcess(plan, entry.exePath, args);
}

}  // namespace lb
