// Feeds one input to the known emulators' reader and matcher: a "Presets.txt" text, then after
// "\n--\n" a program's path. Whatever the file holds, the table stays within its rows, every row
// it keeps has whole texts, and each row the matcher names matches the path.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fuzzInput.h"
#include "registry/emulatorEntry.h"
#include "registry/emulatorPresets.h"

namespace {

bool whole(const char* text, size_t size) { return std::memchr(text, '\0', size) != nullptr; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> parts = fuzzParts(data, size, 2);
    static lb::PresetTable table;
    lb::PresetSkip skip{};
    table.count = 0;
    lb::readPresetText(lb::kBuiltInPresets, std::strlen(lb::kBuiltInPresets), table, skip);
    lb::readPresetText(parts[0].data(), parts[0].size(), table, skip);
    if (table.count < 0 || table.count > lb::kMaxPresets) std::abort();
    for (int32_t i = 0; i < table.count; ++i) {
        const lb::EmulatorPreset& p = table.rows[i];
        if (!whole(p.name, sizeof p.name) || !whole(p.patterns, sizeof p.patterns) ||
            !whole(p.args, sizeof p.args) || p.kind < 0 || p.kind > 4)
            std::abort();
    }
    char message[lb::kTextSize * 2];
    lb::presetSkipText(message, skip);
    std::string path = parts[1].substr(0, lb::kTextSize - 1).c_str();  // up to a NUL
    int32_t rows[lb::kMaxPresets];
    int32_t found = lb::matchingPresets(table, path.c_str(), rows, lb::kMaxPresets);
    for (int32_t i = 0; i < found; ++i) {
        if (rows[i] < 0 || rows[i] >= table.count ||
            !lb::presetMatches(table.rows[rows[i]], path.c_str()))
            std::abort();
        lb::EmulatorEntry entry{};
        lb::copyText(entry.exePath, path.c_str());
        lb::applyPreset(table.rows[rows[i]], entry);
        if (path != entry.exePath || !whole(entry.name, sizeof entry.name)) std::abort();
    }
    return 0;
}
