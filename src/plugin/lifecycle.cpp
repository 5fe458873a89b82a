// initPlugin, closePlugin and the information exports: the life of the state record from the
// host's first call to its last.
#include <cstring>

#include "core/pluginContext.h"
#include "core/settingsFile.h"
#include "core/text.h"
#include "games/gameSettings.h"
#include "platform/platform.h"
#include "plugin/exports.h"
#include "version.h"

namespace lb {

namespace {

// Set by initPlugin when "Setting.dat" exists but could not be read; read by closePlugin, which
// then leaves the file, which may still hold the user's settings, as it is.
bool settingsUnread = false;

// Takes the host's data folder, with a final backslash, only if that folder and its "temp\"
// fit the fixed fields; otherwise the plug-in runs without a data folder and touches no file.
void takeDataDir(const char* hostDir) {
    char* dir = context->dataDir;
    if (hostDir == nullptr || !copyText(dir, kTextSize, hostDir) ||
        !ensureBackslash(dir, kTextSize) || !joinPath(context->tempDir, dir, "temp\\")) {
        dir[0] = '\0';
        context->tempDir[0] = '\0';
    }
    copyText(context->lastExtractDir, dir);
}

void ensureDirectory(const char* path) {
    if (path[0] != '\0' && !platform::isDirectory(path)) platform::createDirectory(path);
}

}  // namespace
}  // namespace lb

using namespace lb;

const char* getName() { return "Launchboard"; }
const char* getAuthor() { return "Launchboard Team"; }
const char* getVersion() { return LB_VERSION_TEXT; }
const char* getSDKVersion() { return "0.7"; }
const char* getSmallComment() {
    return "・エミュレータを複数登録可能\n・N64,X68000,MAME,J64,LYNX対応\n・お気に入り機能";
}

int32_t LB_STDCALL initPlugin(ExtractCallback extract, uint32_t, uint32_t, uint32_t, uint32_t,
                              const char* dataDir) {
    if (context == nullptr) return 0;
    context->extractCallback = extract;
    takeDataDir(dataDir);
    ensureDirectory(context->dataDir);
    ensureDirectory(context->tempDir);
    setColumnDefaults(*context);
    char path[kTextSize];
    settingsUnread =
        dataFilePath(path, "Setting.dat") && loadSettings(*context, path) == FileRead::Unreadable;
    return 0;
}

bool LB_STDCALL isCompatible(const char* listName) {
    if (context != nullptr) copyText(context->listName, hostText(listName));
    return true;
}

void closePlugin() {
    if (context == nullptr) return;
    // A keyboard-driven launch's wait or script ends with its keys released and no message;
    // sessions still running are recorded as cut short.
    platform::stopThreads();
    char path[kTextSize];
    if (!settingsUnread && dataFilePath(path, "Setting.dat")) saveSettings(*context, path);
    settingsUnread = false;
    for (int32_t i = 0; i < extractedFileCount && i < kMaxExtractedFiles; ++i) {
        platform::deleteFile(extractedFiles[i]);
    }
    extractedFileCount = 0;
    releaseGameSettings();
    platform::release(context);
    context = nullptr;
}
