// Feeds one input, in five parts, to what the plug-in builds from texts of any length: the popup
// item list from emulator names, command lines and two-drive arguments from paths, the edit
// dialog's checks and picks, and the favourites comparators and cell texts.
#include <cstdint>
#include <cstring>
#include <string>

#include "core/itemList.h"
#include "core/pluginContext.h"
#include "favorites/favoriteColumns.h"
#include "fuzzInput.h"
#include "launcher/launch.h"
#include "platform/fake/fakePlatform.h"
#include "registry/emulatorEdit.h"
#include "registry/workingList.h"

namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> all;
    size_t start = 0;
    while (start <= text.size() && all.size() < 40) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        all.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> parts = fuzzParts(data, size, 5);
    fake::reset();
    std::vector<std::string> names = lines(parts[0]);

    char popup[2000];
    lb::ItemList list = lb::beginItemList(popup, sizeof popup);
    for (const auto& name : names) lb::appendMenuItem(list, name.c_str());

    static lb::EmulatorEntry entries[lb::kMaxEmulators];
    int32_t count = 0;
    for (const auto& name : names) {
        if (count == lb::kMaxEmulators) break;
        entries[count] = lb::EmulatorEntry{};
        lb::copyText(entries[count].name, name.c_str());
        lb::copyText(entries[count].exePath, parts[1].c_str());
        ++count;
    }
    const char* exe = parts[1].c_str();
    const char* path = parts[2].c_str();
    const char* label = parts[3].c_str();
    fake::putFile(exe, "");
    fake::state().directories.insert(path);

    char commandLine[lb::kCommandLineSize];
    lb::buildCommandLine(commandLine, exe, path);
    char argument[lb::kTextSize];
    lb::copyText(argument, path);
    lb::quotePath(argument);
    char twoDrive[1024];
    for (int kind = 0; kind < lb::kEmulatorKindCount; ++kind)
        lb::twoDriveArguments(twoDrive, lb::emulatorKindTable[kind].label, path, exe);
    lb::twoDriveArguments(twoDrive, label, path, exe);

    char name[lb::kTextSize];
    lb::nameFromExePath(name, exe);
    char folder[lb::kTextSize] = "C:\\before\\";
    lb::takePickedFolder(folder, path);
    lb::staysInsideFolder(path, exe);
    int32_t kind = lb::kindForListName(label);
    lb::editControlStates(size > 0 ? int32_t(int8_t(data[0])) : kind, size % 2 == 0);
    lb::EmulatorEntry typed{};
    lb::copyText(typed.name, name);
    lb::copyText(typed.exePath, exe);
    typed.kind = kind;
    static lb::TemplateTable templates;
    for (int32_t editIndex = -1; editIndex <= count; ++editIndex)
        lb::emulatorInputError(entries, count, editIndex, templates, typed, path, path);

    // Favourites as the plug-in holds them: texts ended inside their fields.
    static lb::FavoriteEntry favorites[64];
    size_t n = std::min<size_t>(parts[4].size() / sizeof(lb::FavoriteEntry), 64);
    std::memcpy(favorites, parts[4].data(), n * sizeof(lb::FavoriteEntry));
    for (size_t i = 0; i < n; ++i) {
        lb::FavoriteEntry& f = favorites[i];
        for (char* text : {f.name, f.publisher, f.sourceRom, f.saveType, f.crc32, f.comment})
            text[lb::kTextSize - 1] = '\0';
    }
    lb::ColumnState columns[lb::kColumnCount] = {};
    for (int32_t column = -1; column <= lb::kColumnCount; ++column) {
        for (int descending = 0; descending < 2; ++descending) {
            if (lb::isFavoriteColumn(column)) columns[column].descending = descending;
            lb::sortFavorites(favorites, int32_t(n), column, columns);
        }
        for (size_t i = 0; i < n; ++i) lb::favoriteColumnText(favorites[i], column);
    }
    return 0;
}
