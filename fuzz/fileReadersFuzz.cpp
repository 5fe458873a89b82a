// Feeds one input, split in four, to the readers of "Setting.dat", a ".emu" list, a ".fvr"
// favourites file and the host's cache file, then builds the popup menu and clicks it.
#include <cstdint>
#include <string>

#include "plugin/exports.h"
#include "core/pluginContext.h"
#include "platform/fake/fakePlatform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char kDir[] = "C:\\Host\\LaunchboardData0001\\";
    std::string input(reinterpret_cast<const char*>(data), size);
    std::string parts[4];
    for (int i = 0, start = 0; i < 4; ++i) {
        size_t end = i == 3 ? input.size() : input.find("\n--\n", size_t(start));
        if (end == std::string::npos) end = input.size();
        parts[i] = input.substr(size_t(start), end - size_t(start));
        start = int(std::min(end + 4, input.size()));
    }
    fake::reset();
    if (!lb::attachPlugin(nullptr)) return 0;
    fake::state().windows.push_back({"TComboBox", true, 100, "N64"});
    fake::putFile(std::string(kDir) + "Setting.dat", parts[0]);
    fake::putFile(std::string(kDir) + "N64.emu", parts[1]);
    fake::putFile(std::string(kDir) + "N64.fvr",
                  std::string("N64") + std::string(257, '\0') + parts[2]);
    fake::putFile("C:\\Host\\caches\\N64.cache", parts[3]);
    initPlugin(nullptr, 0, 0, 0, 0, kDir);
    inPopupMenuHave();
    lb::HostRomRecord record{};
    record.crc32 = "K1";
    for (int index = 0; index < 23; ++index) onPopupMenuClick(index, &record);
    closePlugin();
    return 0;
}
