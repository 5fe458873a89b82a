// The command-line launch: the selected ROM's path, extracted or from the host cache, then
// shortened and quoted as the entry asks, as the emulator's only argument. The path resolution
// is shared with the keyboard-driven and two-drive launches.
#include <cstring>

#include "core/pluginContext.h"
#include "core/romCache.h"
#include "launcher/launch.h"
#include "platform/platform.h"

namespace lb {

namespace {

void recordExtractedFile(const char* path) {
    if (extractedFileCount < 0 || extractedFileCount >= kMaxExtractedFiles) return;
    copyText(extractedFiles[extractedFileCount++], path);
}

}  // namespace

bool resolveRomPath(const EmulatorEntry& entry, const HostRomRecord& record,
                    char (&path)[kTextSize]) {
    path[0] = '\0';
    const char* key = hostText(record.crc32);
    if (entry.extractArchive == 0) {
        lookupRomPath(path, key);
        return true;
    }
    // Without its name inside the archive the extracted file could not be found or deleted.
    const char* innerName = lookupRomInnerName(key);
    if (innerName == nullptr) return true;
    if (!joinPath(path, entry.extractDir, innerName)) return false;
    if (context->extractCallback != nullptr) context->extractCallback(key, entry.extractDir, 0, 1);
    recordExtractedFile(path);
    return true;
}

void shortenPath(char (&path)[kTextSize]) {
    char shortForm[kTextSize];
    if (path[0] != '\0' && platform::shortPathName(path, shortForm, sizeof shortForm)) {
        copyText(path, shortForm);
    }
}

bool quotePath(char (&path)[kTextSize]) {
    char quoted[kTextSize];
    if (!joinPath(quoted, "\"", path, "\"")) return false;
    copyText(path, quoted);
    return true;
}

void launchCommandLine(EmulatorEntry entry, const HostRomRecord* chain) {
    if (chain == nullptr) return;
    loadRomCache();
    char path[kTextSize];
    if (!resolveRomPath(entry, *chain, path)) return;
    if (entry.shortPath != 0) shortenPath(path);
    if (entry.quotePath != 0 && !quotePath(path)) return;
    startEmulatorProcess(path, entry.exePath);
}

}  // namespace lb
