// The plug-in's whole state: one zero-filled record allocated at attach and released by
// closePlugin, reached through `context`, and the table of files extracted for launches.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/hostInterface.h"
#include "core/records.h"
#include "core/text.h"

namespace lb {

constexpr int kMaxExtractedFiles = 10000;

struct PluginContext {
    void* moduleHandle;
    char dataDir[kTextSize];  // ends in a backslash; empty when the host's folder was unusable
    char tempDir[kTextSize];
    char lastExePath[kTextSize];
    char lastExtractDir[kTextSize];
    char listName[kTextSize];
    char systemName[kTextSize];
    EmulatorEntry emulators[kMaxEmulators];
    int32_t emulatorCount;
    ExtractCallback extractCallback;
    int32_t cacheCount;
    RomCacheEntry cacheEntries[kMaxCacheEntries];
    int32_t favoriteCount;
    FavoriteEntry favorites[kMaxFavorites];
    ColumnState columnState[kColumnCount];
    int32_t sortColumn;
    int32_t columnOrder[kColumnCount];
    ScreenRect favoritesRect;
    int32_t closeOnLaunch;
};

#if defined(__i386__)
static_assert(offsetof(PluginContext, moduleHandle) == 0);
static_assert(offsetof(PluginContext, dataDir) == 4);
static_assert(offsetof(PluginContext, tempDir) == 264);
static_assert(offsetof(PluginContext, lastExePath) == 524);
static_assert(offsetof(PluginContext, lastExtractDir) == 784);
static_assert(offsetof(PluginContext, listName) == 1044);
static_assert(offsetof(PluginContext, systemName) == 1304);
static_assert(offsetof(PluginContext, emulators) == 1564);
static_assert(offsetof(PluginContext, emulatorCount) == 17644);
static_assert(offsetof(PluginContext, extractCallback) == 17648);
static_assert(offsetof(PluginContext, cacheCount) == 17652);
static_assert(offsetof(PluginContext, cacheEntries) == 17656);
static_assert(offsetof(PluginContext, favoriteCount) == 7817656);
static_assert(offsetof(PluginContext, favorites) == 7817660);
static_assert(offsetof(PluginContext, columnState) == 23577660);
static_assert(offsetof(PluginContext, sortColumn) == 23577740);
static_assert(offsetof(PluginContext, columnOrder) == 23577744);
static_assert(offsetof(PluginContext, favoritesRect) == 23577784);
static_assert(offsetof(PluginContext, closeOnLaunch) == 23577800);
static_assert(sizeof(PluginContext) == 23577804);
#endif

// Set by attachPlugin, released by closePlugin; read and written by every export and dialog.
extern PluginContext* context;
// Appended to by the command-line launch's extraction; emptied by closePlugin.
extern char extractedFiles[kMaxExtractedFiles][kTextSize];
extern int32_t extractedFileCount;

// Process attach: allocates the zero-filled record. False when it cannot be allocated; the
// library must then refuse to load.
bool attachPlugin(void* moduleHandle);

// Builds `dataDir` followed by the given names into `target`. False, with `target` empty, when
// there is no usable data folder or the path would not fit: no file is touched under a cut path.
template <size_t N, typename... Names>
bool dataFilePath(char (&target)[N], const Names*... names) {
    target[0] = '\0';
    if (context == nullptr || context->dataDir[0] == '\0') return false;
    return joinPath(target, context->dataDir, names...);
}

}  // namespace lb
