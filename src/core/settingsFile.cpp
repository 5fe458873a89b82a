// Reader and writer of "Setting.dat". A short file restores only the fields it holds in full.
#include "core/settingsFile.h"

#include <cstring>

#include "core/fileIo.h"

namespace lb {

bool isColumnPermutation(const int32_t (&order)[kColumnCount]) {
    bool seen[kColumnCount] = {};
    for (int32_t column : order) {
        if (column < 0 || column >= kColumnCount || seen[column]) return false;
        seen[column] = true;
    }
    return true;
}

namespace {

// Copies one field of the file image into the record if the file held all of its bytes.
template <typename Field>
void takeField(Field& target, const Field& source, const SettingsFile& image, long fileSize) {
    size_t end = reinterpret_cast<const char*>(&source) - reinterpret_cast<const char*>(&image) +
                 sizeof(Field);
    if (static_cast<size_t>(fileSize) >= end) std::memcpy(&target, &source, sizeof(Field));
}

}  // namespace

void setColumnDefaults(PluginContext& state) {
    for (int i = 0; i < kColumnCount; ++i) {
        state.columnOrder[i] = i;
        state.columnState[i] = {100, 0};
    }
}

FileRead loadSettings(PluginContext& state, const char* path) {
    SettingsFile image;
    size_t got = 0;
    FileRead read = readFilePrefix(path, &image, sizeof image, got);
    if (read != FileRead::Read || got == 0) return read;
    long size = long(got);
    takeField(state.lastExePath, image.lastExePath, image, size);
    takeField(state.lastExtractDir, image.lastExtractDir, image, size);
    takeField(state.columnState, image.columnState, image, size);
    takeField(state.sortColumn, image.sortColumn, image, size);
    takeField(state.columnOrder, image.columnOrder, image, size);
    takeField(state.favoritesRect, image.favoritesRect, image, size);
    takeField(state.closeOnLaunch, image.closeOnLaunch, image, size);
    terminateText(state.lastExePath);
    terminateText(state.lastExtractDir);
    if (state.sortColumn < 0 || state.sortColumn >= kColumnCount) state.sortColumn = 0;
    if (!isColumnPermutation(state.columnOrder)) {
        for (int i = 0; i < kColumnCount; ++i) state.columnOrder[i] = i;
    }
    return read;
}

bool saveSettings(const PluginContext& state, const char* path) {
    SettingsFile image;
    std::memcpy(image.lastExePath, state.lastExePath, kTextSize);
    std::memcpy(image.lastExtractDir, state.lastExtractDir, kTextSize);
    std::memcpy(image.columnState, state.columnState, sizeof image.columnState);
    image.sortColumn = state.sortColumn;
    std::memcpy(image.columnOrder, state.columnOrder, sizeof image.columnOrder);
    image.favoritesRect = state.favoritesRect;
    image.closeOnLaunch = state.closeOnLaunch;
    Chunk chunk{&image, sizeof image};
    return saveFileSafely(path, &chunk, 1);
}

}  // namespace lb
