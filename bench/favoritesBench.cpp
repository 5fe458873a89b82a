// Loading a full favourites list pruned against a full cache, against a floor measured in the
// same run: the same load on an arcade list, which reads the file and skips the pruning. The
// ratio is what the pruning adds; a linear scan of the cache per favourite is shown beside it.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "plugin/exports.h"
#include "core/pluginContext.h"
#include "core/romCache.h"
#include "favorites/favorites.h"
#include "platform/fake/fakePlatform.h"

using namespace lb;

namespace {

constexpr int kCount = 10000;

void setUpFullSizes() {
    if (context != nullptr) return;
    fake::reset();
    attachPlugin(nullptr);
    initPlugin(nullptr, 0, 0, 0, 0, "C:\\Host\\LaunchboardData0001\\");
    copyText(context->systemName, "N64");
    std::string cache;
    std::string favorites(260, '\0');
    favorites.replace(0, 3, "N64");
    int32_t count = kCount;
    favorites.append(reinterpret_cast<const char*>(&count), 4);
    for (int i = 0; i < kCount; ++i) {
        char key[16];
        std::snprintf(key, sizeof key, "%08X", unsigned(i * 2654435761u));
        cache += "C:\\roms\\" + std::to_string(i) + ".zip;" + std::to_string(i) + ".n64;a;b;" +
                 key + ";clean;\n";
        FavoriteEntry e{};
        copyText(e.crc32, key);
        copyText(e.name, key);
        favorites.append(reinterpret_cast<const char*>(&e), sizeof e);
    }
    fake::putFile("C:\\Host\\caches\\N64.cache", cache);
    fake::putFile("C:\\Host\\LaunchboardData0001\\N64.fvr", favorites);
}

void floorArcadeLoad(benchmark::State& state) {
    setUpFullSizes();
    isCompatible("Arcade (MAME)");
    for (auto _ : state) {
        loadFavorites();
        loadRomCache();
        benchmark::DoNotOptimize(context->favoriteCount);
    }
}
BENCHMARK(floorArcadeLoad)->Unit(benchmark::kMillisecond);

void prunedLoad(benchmark::State& state) {
    setUpFullSizes();
    isCompatible("Nintendo 64");
    for (auto _ : state) {
        loadFavorites();
        benchmark::DoNotOptimize(context->favoriteCount);
    }
    if (context->favoriteCount != kCount) state.SkipWithError("pruning dropped favourites");
}
BENCHMARK(prunedLoad)->Unit(benchmark::kMillisecond);

// What a scan of the cache for every favourite costs, for comparison.
void linearScanPruning(benchmark::State& state) {
    setUpFullSizes();
    loadRomCache();
    for (auto _ : state) {
        int kept = 0;
        for (int i = 0; i < kCount; ++i) {
            for (int j = 0; j < context->cacheCount; ++j) {
                if (std::strcmp(context->cacheEntries[j].crc32, context->favorites[i].crc32) == 0) {
                    ++kept;
                    break;
                }
            }
        }
        benchmark::DoNotOptimize(kept);
    }
}
BENCHMARK(linearScanPruning)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
