// The command-line launch: the selected ROM's path, extracted or from the host cache, then
// shortened and quoted as the entry asks, as the emulator's only argument. The path resolution
// is shared with the keyboard-driven and two-drive launches.
#include <cstring>
#include <initializer_list>

#include "core/fileIo.h"
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

bool isExtractedFile(const char* path) {
    for (int32_t i = 0; i < extractedFileCount && i < kMaxExtractedFiles; ++i)
        if (std::strcmp(extractedFiles[i], path) == 0) return true;
    return false;
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

bool playlistText(char* out, size_t size, size_t& length, const char (*discs)[kTextSize],
                  int32_t count, const char* folder) {
    length = 0;
    for (int32_t i = 0; i < count; ++i) {
        char discFolder[kTextSize];
        driveAndFolder(discFolder, discs[i]);
        const char* line = std::strcmp(discFolder, folder) == 0
                               ? discs[i] + std::strlen(discFolder)  // beside the playlist
                               : discs[i];
        if (size - length < 3 || !platform::ansiToUtf8(line, out + length, size - length - 2))
            return false;
        length += std::strlen(out + length);
        out[length++] = '\r';
        out[length++] = '\n';
    }
    return true;
}

namespace {

constexpr int32_t kMaxDiscs = 64;

// The playlist a plan names, written only as its launch is carried out: a cancelled preview
// writes nothing.
struct PendingPlaylist {
    char path[kTextSize];
    char folder[kTextSize];
    size_t length;
    char text[kMaxDiscs * 3 * kTextSize];
} pending;

// "<base>.m3u" in `folder`, or in the plug-in's temp folder when a file of that name that the
// plug-in did not make lies there: a user's file is never written over. False when both are
// taken, or the path does not fit.
bool placePlaylist(const char* folder, const char* base) {
    for (const char* place : {folder, static_cast<const char*>(context->tempDir)}) {
        copyText(pending.folder, place);
        if (!ensureBackslash(pending.folder, sizeof pending.folder) ||
            !joinPath(pending.path, pending.folder, base, ".m3u"))
            return false;
        if (!platform::fileExists(pending.path) || isExtractedFile(pending.path)) return true;
    }
    return false;
}

// Plans the playlist of the chain, its first disc `first` already resolved; its path in
// `path`, the empty path when no disc is known to the cache. False, told, when it cannot be.
bool planPlaylist(const EmulatorEntry& entry, const HostRomRecord& chain, const char* first,
                  char (&path)[kTextSize]) {
    static char discs[kMaxDiscs][kTextSize];
    path[0] = '\0';
    int32_t count = 0;
    if (first[0] != '\0') copyText(discs[count++], first);
    for (const HostRomRecord* r = chain.next; r != nullptr && count < kMaxDiscs; r = r->next) {
        if (!resolveRomPath(entry, *r, discs[count])) return false;  // a path that cannot fit
        if (discs[count][0] != '\0') ++count;
    }
    if (count == 0) return true;
    char base[kTextSize];
    baseNameOf(base, discs[0]);
    if (!placePlaylist(entry.extractDir[0] != '\0' ? entry.extractDir : context->tempDir, base)) {
        platform::showExclamation(kPlaylistTakenText);
        return false;
    }
    if (!playlistText(pending.text, sizeof pending.text, pending.length, discs, count,
                      pending.folder)) {
        platform::showExclamation(kTooLongText);
        return false;
    }
    copyText(path, pending.path);
    return true;
}

}  // namespace

// A template that names no path placeholder reads no cache and extracts nothing.
bool planCommandLine(EmulatorEntry entry, const HostRomRecord* chain, LaunchPlan& plan) {
    plan = LaunchPlan{};
    if (chain == nullptr) return false;
    const char* text = findTemplate(emulatorTemplates, entry);
    char path[kTextSize] = "", raw[kTextSize] = "", playlist[kTextSize] = "";
    if (text[0] == '\0' || usesRomPath(text)) {
        loadRomCache();
        if (!resolveRomPath(entry, *chain, path)) return false;
        copyText(raw, path);
        if (entry.shortPath != 0) shortenPath(path);
        if (entry.quotePath != 0 && !quotePath(path)) return false;
    }
    if (text[0] != '\0' && usesPlaylist(text)) {
        if (!planPlaylist(entry, *chain, raw, playlist)) return false;
        plan.writesPlaylist = playlist[0] != '\0';
        if (entry.quotePath != 0 && playlist[0] != '\0' && !quotePath(playlist)) return false;
    }
    if (text[0] != '\0') return planTemplate(plan, entry, text, path, raw, *chain, playlist);
    return planProcess(plan, entry.exePath, path);
}

bool writePlannedPlaylist() {
    Chunk chunk{pending.text, pending.length};
    if (!saveFileSafely(pending.path, &chunk, 1)) {
        tellSaveFailure(pending.path);
        return false;
    }
    // Deleted with the extracted files: it lies inside the extraction folder.
    size_t folder = std::strlen(pending.folder);
    if (staysInsideFolder(pending.folder, pending.path + folder)) recordExtractedFile(pending.path);
    return true;
}

}  // namespace lb
