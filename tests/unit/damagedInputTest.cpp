// Whatever the files, the host window and the host's records hold, nothing is read or written
// outside a table: random and damaged inputs run through start, popup, clicks and close under
// the sanitizers, and the counts stay inside their tables.
#include <random>

#include "hostChain.h"
#include "pluginFixture.h"
#include "registry/emulatorListFile.h"

using namespace lb;

namespace {

const char kDir[] = "C:\\Host\\LaunchboardData0001\\";

class Noise {
public:
    explicit Noise(unsigned seed) : random_(seed) {}
    int below(int n) { return int(random_() % unsigned(n)); }
    std::string bytes(size_t size, const char* alphabet = nullptr) {
        std::string out(size, '\0');
        for (auto& c : out)
            c = alphabet ? alphabet[below(int(std::strlen(alphabet)))] : char(below(256));
        return out;
    }
    std::string int32(int32_t value) { return std::string(reinterpret_cast<char*>(&value), 4); }
    int32_t anyCount(int32_t limit) {
        const int32_t picks[] = {0,  1,         limit,     limit + 1,
                                 -1, INT32_MIN, INT32_MAX, below(limit + 1)};
        return picks[below(8)];
    }

private:
    std::mt19937 random_;
};

std::string cacheText(Noise& noise) {
    std::string text;
    int lines = noise.below(40);
    for (int i = 0; i < lines; ++i) {
        if (noise.below(4) == 0) {
            text += noise.bytes(size_t(noise.below(600)), "ab;\\\x95\x5C\r\nclean;");
        } else {
            text += noise.bytes(size_t(noise.below(300)), "ab\\ ") + ";" +
                    noise.bytes(size_t(noise.below(20)), "xy") + ";3;4;K" +
                    std::to_string(noise.below(8)) + ";clean;\r\n";
        }
    }
    return text;
}

std::string listFile(Noise& noise) {
    std::string bytes = noise.int32(noise.anyCount(20));
    for (int i = 0; i < 20; ++i) {
        EmulatorEntry e{};
        std::string texts = noise.bytes(780, noise.below(2) ? nullptr : "ab\\\x83\x5C ");
        std::memcpy(e.name, texts.data(), 780);
        e.kind = noise.below(4) ? noise.below(5) : noise.anyCount(5);
        e.keyWaitIndex = noise.anyCount(5);
        e.browseWaitIndex = noise.anyCount(5);
        e.extractArchive = noise.below(3) - 1;
        e.quotePath = noise.below(2);
        e.shortPath = noise.below(2);
        bytes += bytesOf(e);
    }
    return bytes.substr(0, size_t(noise.below(3) ? 16084 : noise.below(16100)));
}

std::string favoritesFile(Noise& noise, const std::string& system) {
    std::string header =
        noise.below(4) ? system + std::string(260 - system.size(), '\0') : noise.bytes(260);
    std::string bytes = header + noise.int32(noise.anyCount(30));
    int entries = noise.below(30);
    for (int i = 0; i < entries; ++i)
        bytes += noise.bytes(1576, noise.below(2) ? nullptr : "K0123;");
    return bytes;
}

int32_t LB_STDCALL extract(const char*, const char*, int32_t, int32_t) { return 0; }

}  // namespace

TEST(DamagedInput, randomFilesWindowsAndChainsStayInsideEveryTable) {
    size_t launches = 0, favoriteSaves = 0;
    for (unsigned seed = 1; seed <= 150; ++seed) {
        Noise noise(seed);
        fake::reset();
        ASSERT_TRUE(attachPlugin(nullptr));
        std::string system =
            noise.below(3) ? "N64" : noise.bytes(size_t(noise.below(400)), "N6\x95\x5C");
        fake::state().windows.push_back({"TComboBox", true, 100 + noise.below(100), system});
        fake::putFile(std::string(kDir) + "Setting.dat", noise.bytes(size_t(noise.below(700))));
        std::string name = fake::state().windows[0].text.substr(0, 259);
        fake::putFile(std::string(kDir) + name + ".emu", listFile(noise));
        fake::putFile(std::string(kDir) + name + ".fvr", favoritesFile(noise, name));
        fake::putFile("C:\\Host\\caches\\" + name + ".cache", cacheText(noise));
        fake::state().inputIdleResult = uint32_t(noise.below(2));

        initPlugin(extract, 0, 0, 0, 0, kDir);
        EXPECT_GE(context->sortColumn, 0);
        EXPECT_LT(context->sortColumn, kColumnCount);
        for (int round = 0; round < 4; ++round) {
            isCompatible(noise.below(3) ? "Nintendo 64" : "Arcade (MAME)");
            char* list = noise.below(2) ? inPopupMenuHave() : inPopupMenu();
            if (list != nullptr) {
                size_t used = 0;
                while (used + 1 < 2000 && !(list[used] == '\0' && list[used + 1] == '\0')) ++used;
                EXPECT_LT(used + 1, 2000u) << "seed " << seed << ": the item list is closed";
            }
            HostChain chain;
            int records = noise.below(25);
            for (int i = 0; i < records; ++i) {
                HostRom rom{"K" + std::to_string(noise.below(10)),
                            noise.bytes(size_t(noise.below(300)), "nm")};
                rom.comment = noise.bytes(size_t(noise.below(300)), "g");
                chain.add(rom);
            }
            onPopupMenuClick(noise.below(4) ? noise.below(3) : noise.below(30) - 5,
                             noise.below(5) ? chain.first() : nullptr);
            EXPECT_GE(context->emulatorCount, 0);
            EXPECT_LE(context->emulatorCount, kMaxEmulators);
            EXPECT_GE(context->favoriteCount, 0);
            EXPECT_LE(context->favoriteCount, kMaxFavorites);
            EXPECT_LE(context->cacheCount, kMaxCacheEntries);
        }
        for (const auto& started : fake::state().started) {
            EXPECT_LT(started.commandLine.size(), 2048u) << "seed " << seed;
        }
        launches += fake::state().started.size();
        for (const auto& entry : fake::state().log)
            favoriteSaves += entry.find(".fvr.tmp") != std::string::npos;
        closePlugin();
    }
    EXPECT_GT(launches, 20u) << "the random clicks reach the launch methods";
    EXPECT_GT(favoriteSaves, 20u) << "the random clicks reach the favourites";
}
