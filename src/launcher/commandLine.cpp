// The command-line launch: the selected ROM's path, extracted or from the host cache, then
// shortened and quoted as the entry asks, as the emulator's only argument. The path resolution
// is shared with the keyboard-driven and two-drive launches.
#include <cstring>

#include "core/pluginContext.h"
#include "core/romCache.h"
#include "launcher/launch.h"
#include "launcher/templateExpansion.h"
#include "platform/platform.h"
#include "registry/argumentTemplates.h"

namespace lb {

namespace {

void recordExtractedFile(const char* path) {
    if (extractedFileCount < 0 || extractedFileCount >= kMaxExtractedFiles) return;
    copyText(extractedFiles[extractedFileCount++], path);
}

bool isAbsoluteFolder(const char* dir) {
    bool drive = ((dir[0] >= 'A' && dir[0] <= 'Z') || (dir[0] >= 'a' && dir[0] <= 'z')) &&
                 dir[1] == ':' && (dir[2] == '\\' || dir[2] == '/');
    return drive || (dir[0] == '\\' && dir[1] == '\\');
}

}  // namespace

bool staysInsideFolder(const char* dir, const char* innerName) {
    if (!isAbsoluteFolder(dir)) return false;
    const char* component = innerName;  // start of the current component
    for (const char* p = innerName;; p += characterLength(p)) {
        bool end = *p == '\0' || (characterLength(p) == 1 && (*p == '\\' || *p == '/'));
        if (end) {
            if (p - component == 2 && component[0] == '.' && component[1] == '.') return false;
            if (*p == '\0') return true;
            component = p + 1;
        }
    }
}

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
    // Only a file inside the extraction folder is ever deleted: an archive that names its entry
    // "..\save.dat" must not make the plug-in delete the user's file beside the folder.
    if (staysInsideFolder(entry.extractDir, innerName)) recordExtractedFile(path);
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

// A template that names no path placeholder reads no cache and extracts nothing.
bool planCommandLine(EmulatorEntry entry, const HostRomRecord* chain, LaunchPlan& plan) {
    plan = LaunchPlan{};
    if (chain == nullptr) return false;
    const char* text = findTemplate(emulatorTemplates, entry);
    char path[kTextSize] = "", raw[kTextSize] = "";
    if (text[0] == '\0' || usesRomPath(text)) {
        loadRomCache();
        if (!resolveRomPath(entry, *chain, path)) return false;
        copyText(raw, path);
        if (entry.shortPath != 0) shortenPath(path);
        if (entry.quotePath != 0 && !quotePath(path)) return false;
    }
    if (text[0] != '\0') return planTemplate(plan, entry, text, path, raw, *chain);
    return planProcess(plan, entry.exePath, path);
}

}  // namespace lb
