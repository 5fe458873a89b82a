// Times the favourites dialog under Wine with the real DLL: from the main-menu click until the
// dialog is visible and painted, and a header click's re-sort and repaint, at 100 and 10,000
// favourites. A benchmark, not a test: it prints medians of five runs.
#include "dialogDriver.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "session.h"

namespace host {

namespace {

double nowMs() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * double(count.QuadPart) / double(frequency.QuadPart);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int runDialogBench(const char* dll, const char* work) {
    dllPath = dll;
    workDir = work;
    if (workDir.back() != '\\') workDir += '\\';
    std::printf("%-44s %10s %10s %8s\n", "favourites dialog under Wine", "100", "10,000", "ratio");
    double opened[2] = {}, resorted[2] = {}, openedArcade[2] = {};
    int sizes[2] = {100, 10000};
    for (int s = 0; s < 2; ++s) {
        for (bool arcade : {false, true}) {
            Session session("bench" + std::to_string(sizes[s]) + (arcade ? "arcade" : ""));
            std::vector<Rom> roms;
            std::vector<FavoriteRecord> favorites;
            for (int i = 0; i < sizes[s]; ++i) {
                std::string key = "K" + std::to_string(i * 7919 % 100003);
                roms.push_back({key, session.root + "r.zip", "r.n64"});
                favorites.push_back(
                    favorite("Game " + std::to_string(i * 31 % 9973), key, i % 512));
            }
            session.writeCache(roms);
            // An arcade list keeps its favourites as read: no cache read, no pruning. Neither
            // list writes the file back, since it holds what the plug-in would write.
            if (arcade) session.plugin.isCompatible("Nintendo 64 (MAME)");
            std::vector<double> openTimes, sortTimes;
            for (int run = 0; run < 5; ++run) {
                writeFile(session.dataDir + session.system + ".fvr",
                          favoritesFile(session.system, favorites));
                double start = nowMs();
                onMenuDialog(session.plugin, 1, favoritesTitle(sizes[s]), 30000, [&](HWND dialog) {
                    HWND list = GetDlgItem(dialog, 3000);
                    RedrawWindow(list, nullptr, nullptr, RDW_UPDATENOW);
                    openTimes.push_back(nowMs() - start);
                    double clicked = nowMs();
                    // Publisher, then SourceRom: a real re-sort each time.
                    clickFavoritesHeader(dialog, 1 + run % 2);
                    RedrawWindow(list, nullptr, nullptr, RDW_UPDATENOW);
                    sortTimes.push_back(nowMs() - clicked);
                    clickNow(dialog, IDCANCEL);
                });
            }
            (arcade ? openedArcade[s] : opened[s]) = median(openTimes);
            if (!arcade) resorted[s] = median(sortTimes);
        }
    }
    std::printf("%-44s %7.1f ms %7.1f ms %7.1fx\n", "open until painted (cache read, pruning)",
                opened[0], opened[1], opened[1] / opened[0]);
    std::printf("%-44s %7.1f ms %7.1f ms %7.1fx\n", "open, arcade list (no cache, no pruning)",
                openedArcade[0], openedArcade[1], openedArcade[1] / openedArcade[0]);
    std::printf("%-44s %7.2fx %10.2fx\n", "  non-arcade list / arcade list",
                opened[0] / openedArcade[0], opened[1] / openedArcade[1]);
    std::printf("%-44s %7.1f ms %7.1f ms %7.1fx\n", "header click: re-sort and repaint",
                resorted[0], resorted[1], resorted[1] / resorted[0]);
    return failures == 0 ? 0 : 1;
}

}  // namespace host
