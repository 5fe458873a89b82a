// "Setting.dat": the favourites dialog's layout and the last folders chosen in the edit dialog,
// 664 bytes carried from one run of the host to the next.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/fileIo.h"
#include "core/pluginContext.h"

namespace lb {

struct SettingsFile {
    char lastExePath[kTextSize];
    char lastExtractDir[kTextSize];
    ColumnState columnState[kColumnCount];
    int32_t sortColumn;
    int32_t columnOrder[kColumnCount];
    ScreenRect favoritesRect;
    int32_t closeOnLaunch;
};
static_assert(sizeof(SettingsFile) == 664);
static_assert(offsetof(SettingsFile, lastExtractDir) == 260);
static_assert(offsetof(SettingsFile, columnState) == 520);
static_assert(offsetof(SettingsFile, sortColumn) == 600);
static_assert(offsetof(SettingsFile, columnOrder) == 604);
static_assert(offsetof(SettingsFile, favoritesRect) == 644);
static_assert(offsetof(SettingsFile, closeOnLaunch) == 660);

// Whether the order names each of the ten columns exactly once.
bool isColumnPermutation(const int32_t (&order)[kColumnCount]);

// Column order 0..9, every column 100 pixels wide and ascending.
void setColumnDefaults(PluginContext& state);

// Reads the fields that the file covers in full; a missing file, and one that cannot be read,
// change nothing. A sort column or column order that the favourites list could not use falls
// back to its default.
FileRead loadSettings(PluginContext& state, const char* path);

// Writes the seven fields; false when the file could not be replaced (the old one then stays).
bool saveSettings(const PluginContext& state, const char* path);

}  // namespace lb
