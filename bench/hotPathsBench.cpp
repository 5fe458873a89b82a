// Every hot path of the plug-in at 1,000 and 10,000 entries, each beside its floor: the least
// work that the same result needs (reading the same bytes, hashing the same keys, sorting an
// index with the same comparator, copying the same bytes), measured in the same run. Names are
// "op/<operation>/<n>" and "floor/<operation>/<n>"; tools/bench.sh pairs them into one table.
// The plug-in's files live in the fake platform's memory, and the floors read and write them
// through the same seam, so a ratio is what the plug-in adds to moving the bytes: a line floor
// reads as fgets does (8 KB blocks, memchr for the line end, each line copied into a fixed
// buffer), a file floor reads or writes the whole file in one call, as fread and fwrite do.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/pluginContext.h"
#include "core/romCache.h"
#include "favorites/favoriteColumns.h"
#include "favorites/favoriteFilter.h"
#include "favorites/favorites.h"
#include "favorites/favoritesWorking.h"
#include "favorites/historyView.h"
#include "launcher/launch.h"
#include "platform/fake/fakePlatform.h"
#include "platform/platform.h"
#include "plugin/exports.h"
#include "registry/emulatorListFile.h"
#include "registry/emulatorScan.h"

using namespace lb;

namespace {

const char kDir[] = "C:\\Host\\LaunchboardData0001\\";
const char kCache[] = "C:\\Host\\caches\\N64.cache";
const char kFavorites[] = "C:\\Host\\LaunchboardData0001\\N64.fvr";

std::string keyOf(int i) {
    char key[16];
    std::snprintf(key, sizeof key, "%08X", unsigned(i) * 2654435761u);
    return key;
}

std::string cacheText(int n) {
    std::string text = "# the host's cache\r\n";
    for (int i = 0; i < n; ++i)
        text += "C:\\roms\\Game " + std::to_string(i) + ".zip;Game " + std::to_string(i) +
                ".n64;a;b;" + keyOf(i) + ";clean;\r\n";
    return text;
}

FavoriteEntry favoriteOf(int i) {
    FavoriteEntry e{};
    copyText(e.crc32, keyOf(i).c_str());
    copyText(e.name, ("Game " + keyOf(i * 7)).c_str());
    copyText(e.publisher, ("Publisher " + std::to_string(i % 37)).c_str());
    copyText(e.sourceRom, ("Source " + std::to_string(i % 101)).c_str());
    copyText(e.saveType, i % 3 ? "EEPROM" : "SRAM");
    copyText(e.comment, ("set" + std::to_string(i)).c_str());
    e.number = i;
    e.size = (i * 7919) % 512;
    e.location = i % 9;
    e.language = i % 5;
    return e;
}

std::string favoritesFile(int n) {
    std::string bytes = "N64";
    bytes.resize(260, '\0');
    int32_t count = n;
    bytes.append(reinterpret_cast<const char*>(&count), 4);
    for (int i = 0; i < n; ++i) {
        FavoriteEntry e = favoriteOf(i);
        bytes.append(reinterpret_cast<const char*>(&e), sizeof e);
    }
    return bytes;
}

// Lines of a file, read as fgets reads them into a fixed buffer.
int readLines(const char* path) {
    platform::File* file = nullptr;
    platform::openForRead(path, file);
    static char block[8192], line[2048];
    size_t length = 0;
    int lines = 0;
    for (size_t n;
         (n = size_t(std::max(0L, platform::readFromFile(file, block, sizeof block)))) > 0;) {
        for (size_t at = 0; at < n;) {
            const void* end = std::memchr(block + at, '\n', n - at);
            size_t run = end ? size_t(static_cast<const char*>(end) - (block + at)) + 1 : n - at;
            if (length + run < sizeof line) std::memcpy(line + length, block + at, run);
            length += run;
            at += run;
            if (end != nullptr) {
                benchmark::DoNotOptimize(line);
                ++lines;
                length = 0;
            }
        }
    }
    platform::closeFile(file);
    return lines;
}

// A whole file in one read, as fread does.
size_t readWhole(const char* path, std::vector<char>& buffer) {
    platform::File* file = nullptr;
    platform::openForRead(path, file);
    size_t n = size_t(std::max(0L, platform::readFromFile(file, buffer.data(), buffer.size())));
    platform::closeFile(file);
    return n;
}

// A whole file in one write, as fwrite does.
void writeWhole(const char* path, const void* bytes, size_t size) {
    platform::File* file = platform::createForWrite(path);
    platform::writeToFile(file, bytes, size);
    platform::closeFile(file);
}

// A plug-in started over a data folder holding n cache lines, n favourites and 20 emulators.
void setUp(int n) {
    static int ready = -1;
    if (ready == n) return;
    if (context != nullptr) closePlugin();
    fake::reset();
    attachPlugin(nullptr);
    initPlugin(nullptr, 0, 0, 0, 0, kDir);
    isCompatible("Nintendo 64");
    fake::state().windows.push_back({"TComboBox", true, 300, "N64"});
    copyText(context->systemName, "N64");
    fake::putFile(kCache, cacheText(n));
    fake::putFile(kFavorites, favoritesFile(n));
    static EmulatorEntry emulators[kMaxEmulators];
    for (int i = 0; i < kMaxEmulators; ++i) {
        emulators[i] = EmulatorEntry{};
        copyText(emulators[i].name, ("Emulator " + std::to_string(i)).c_str());
        copyText(emulators[i].exePath, ("D:\\Emus\\emu" + std::to_string(i) + ".exe").c_str());
        copyText(emulators[i].extractDir, "C:\\Tmp\\");
    }
    writeEmulatorListFile((std::string(kDir) + "N64.emu").c_str(), kMaxEmulators, emulators);
    ready = n;
}

int entries(const benchmark::State& state) { return int(state.range(0)); }

// ---- the host cache ------------------------------------------------------------------------

void opLoadRomCache(benchmark::State& state) {
    setUp(entries(state));
    for (auto _ : state) {
        loadRomCache();
        benchmark::DoNotOptimize(context->cacheCount);
    }
}

void floorLoadRomCache(benchmark::State& state) {
    setUp(entries(state));
    for (auto _ : state) benchmark::DoNotOptimize(readLines(kCache));
}

// The bytes of `text` read with fgets from a real file in /tmp (kept in the page cache).
void fgetsLines(benchmark::State& state, const std::string& name, const std::string& text) {
    std::string path = "/tmp/lb-bench-" + name + "-" + std::to_string(entries(state));
    FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
    for (auto _ : state) {
        FILE* in = std::fopen(path.c_str(), "rb");
        char line[2048];
        int lines = 0;
        while (std::fgets(line, sizeof line, in) != nullptr) ++lines;
        std::fclose(in);
        benchmark::DoNotOptimize(lines);
    }
    std::remove(path.c_str());
}

// ---- the history tab ----------------------------------------------------------------------

const std::string kHistoryFile = std::string(kDir) + "N64.history.txt";

// A history of n games, five plays each: ten lines a game, 100,000 lines for 10,000 games.
std::string historyText(int n) {
    std::string text;
    char line[256];
    for (int play = 0; play < 5; ++play)
        for (int game = 0; game < n; ++game) {
            std::snprintf(line, sizeof line,
                          "\r\nS\t%d-%d\t2026/12/%02d 10:%02d:00\t%s\tGame number %d\tset%d\t"
                          "Emulator\tD:\\Emus\\emu0.exe\t.\r\nE\t%d-%d\t%d\t0\t.",
                          play, game, 1 + play, game % 60, keyOf(game).c_str(), game, game, play,
                          game, 60 + game % 600);
            text += line;
        }
    return text;
}

// The tab's opening: the file read and summed up by game, compacted when past 1 MB, and the
// rows sorted by the last play.
void opOpenHistoryView(benchmark::State& state) {
    setUp(entries(state));
    std::string text = historyText(entries(state));
    for (auto _ : state) {
        state.PauseTiming();
        fake::putFile(kHistoryFile, text);
        state.ResumeTiming();
        openHistoryView(nullptr, 0);
        benchmark::DoNotOptimize(historyView.count);
        closeHistoryView();
    }
}

void floorOpenHistoryView(benchmark::State& state) {
    setUp(entries(state));
    fake::putFile(kHistoryFile, historyText(entries(state)));
    for (auto _ : state) benchmark::DoNotOptimize(readLines(kHistoryFile.c_str()));
}

void fgetsOpenHistoryView(benchmark::State& state) {
    fgetsLines(state, "history", historyText(entries(state)));
}

void fgetsLoadRomCache(benchmark::State& state) {
    fgetsLines(state, "cache", cacheText(entries(state)));
}

void opIsRomInCache(benchmark::State& state) {
    setUp(entries(state));
    loadRomCache();
    std::vector<std::string> keys;
    for (int i = 0; i < entries(state); ++i) keys.push_back(keyOf(i * 2));  // half of them known
    for (auto _ : state) {
        int found = 0;
        for (const auto& key : keys) found += isRomInCache(key.c_str()) != 0;
        benchmark::DoNotOptimize(found);
    }
}

void floorIsRomInCache(benchmark::State& state) {
    std::vector<std::string> keys;
    for (int i = 0; i < entries(state); ++i) keys.push_back(keyOf(i * 2));
    for (auto _ : state) {
        uint32_t all = 0;
        for (const auto& key : keys) {
            uint32_t hash = 2166136261u;
            for (unsigned char c : key) hash = (hash ^ c) * 16777619u;
            all ^= hash;
        }
        benchmark::DoNotOptimize(all);
    }
}

void referenceLinearScanPerKey(benchmark::State& state) {
    setUp(entries(state));
    loadRomCache();
    std::vector<std::string> keys;
    for (int i = 0; i < entries(state); ++i) keys.push_back(keyOf(i * 2));
    for (auto _ : state) {
        int found = 0;
        for (const auto& key : keys) {
            for (int j = 0; j < context->cacheCount; ++j) {
                if (std::strcmp(context->cacheEntries[j].crc32, key.c_str()) == 0) {
                    ++found;
                    break;
                }
            }
        }
        benchmark::DoNotOptimize(found);
    }
}

// ---- favourites file -----------------------------------------------------------------------

void opLoadFavorites(benchmark::State& state) {
    setUp(entries(state));
    for (auto _ : state) {
        loadFavorites();  // reads, prunes against a fresh read of the cache: nothing drops
        benchmark::DoNotOptimize(context->favoriteCount);
    }
    if (context->favoriteCount != entries(state)) state.SkipWithError("pruning dropped favourites");
}

// Reading the favourites file and the cache, each in one call; with `write`, also writing the
// favourites file in one call, as an action that changes the list must.
void readBothFiles(benchmark::State& state, bool write) {
    setUp(entries(state));
    std::vector<char> favorites(264 + sizeof(FavoriteEntry) * size_t(entries(state)));
    std::vector<char> cache(64 * size_t(entries(state)) + 64);
    for (auto _ : state) {
        size_t n = readWhole(kFavorites, favorites);
        benchmark::DoNotOptimize(readWhole(kCache, cache));
        if (!write) continue;
        // A new file, as the plug-in's save writes a temporary file that did not exist.
        platform::deleteFile("C:\\Host\\LaunchboardData0001\\copy.fvr");
        writeWhole("C:\\Host\\LaunchboardData0001\\copy.fvr", favorites.data(), n);
    }
}

void floorLoadFavorites(benchmark::State& state) { readBothFiles(state, false); }
void floorFavoritesAction(benchmark::State& state) { readBothFiles(state, true); }

// ---- the favourites dialog -----------------------------------------------------------------

void openFullWorkingCopy(int n) {
    setUp(n);
    isCompatible("Arcade (MAME)");
    loadFavorites();
    isCompatible("Nintendo 64");
    openWorkingFavorites();
}

// All ten columns in both directions, each from the order the previous sort left.
void opSortWorkingFavorites(benchmark::State& state) {
    openFullWorkingCopy(entries(state));
    for (auto _ : state) {
        for (int32_t column = 0; column < kColumnCount; ++column) {
            for (int32_t d = 0; d < 2; ++d) {
                context->sortColumn = column;
                context->columnState[column].descending = d;
                sortWorkingFavorites();
            }
        }
    }
    freeWorkingFavorites();
}

void floorSortWorkingFavorites(benchmark::State& state) {
    openFullWorkingCopy(entries(state));
    std::vector<int32_t> index(static_cast<size_t>(workingFavoriteCount));
    for (auto _ : state) {
        for (int32_t column = 0; column < kColumnCount; ++column) {
            for (int32_t d = 0; d < 2; ++d) {
                FavoriteComparator compare = favoriteComparators[column];
                for (size_t i = 0; i < index.size(); ++i) index[i] = int32_t(i);
                std::sort(index.begin(), index.end(), [&](int32_t a, int32_t b) {
                    int r = compare(workingFavorites[a], workingFavorites[b]);
                    return d ? r > 0 : r < 0;
                });
                benchmark::DoNotOptimize(index.data());
            }
        }
    }
    freeWorkingFavorites();
}

void referenceQsortOfRecords(benchmark::State& state) {
    openFullWorkingCopy(entries(state));
    static int32_t column;
    for (auto _ : state) {
        for (column = 0; column < kColumnCount; ++column) {
            for (int d = 0; d < 2; ++d) {
                auto compare = d ? +[](const void* a, const void* b) {
                    return -favoriteComparators[column](*static_cast<const FavoriteEntry*>(a),
                                                        *static_cast<const FavoriteEntry*>(b));
                }
                                 : +[](const void* a, const void* b) {
                                       return favoriteComparators[column](
                                           *static_cast<const FavoriteEntry*>(a),
                                           *static_cast<const FavoriteEntry*>(b));
                                   };
                std::qsort(workingFavorites, size_t(workingFavoriteCount), sizeof(FavoriteEntry),
                           compare);
            }
        }
    }
    freeWorkingFavorites();
}

// One key in the favourites dialog's filter: a two-character text over every favourite's six
// folded texts.
void opFilterFavorites(benchmark::State& state) {
    openFullWorkingCopy(entries(state));
    FavoriteFilter filter{};
    prepareFilter(filter, workingFavorites, workingFavoriteCount);
    for (auto _ : state) {
        applyFilter(filter, "e3");
        benchmark::DoNotOptimize(filter.shownCount);
    }
    releaseFilter(filter);
    freeWorkingFavorites();
}

// A plain byte search of the same text in the same six fields, without folding.
void floorFilterFavorites(benchmark::State& state) {
    openFullWorkingCopy(entries(state));
    for (auto _ : state) {
        int32_t shown = 0;
        for (int32_t i = 0; i < workingFavoriteCount; ++i) {
            const FavoriteEntry& e = workingFavorites[i];
            for (const char* field :
                 {e.name, e.publisher, e.sourceRom, e.saveType, e.crc32, e.comment}) {
                if (std::strstr(field, "e3") != nullptr) {
                    ++shown;
                    break;
                }
            }
        }
        benchmark::DoNotOptimize(shown);
    }
    freeWorkingFavorites();
}

// The first key after the dialog opens: the fold of every favourite's texts, then the filter.
void opFirstFilterKey(benchmark::State& state) {
    openFullWorkingCopy(entries(state));
    FavoriteFilter filter{};
    for (auto _ : state) {
        showAllRows(filter, workingFavoriteCount);
        filterEntries(filter, workingFavorites, workingFavoriteCount, "e3");
        benchmark::DoNotOptimize(filter.shownCount);
    }
    releaseFilter(filter);
    freeWorkingFavorites();
}

// The favourites dialog's opening without its windows, as the main menu makes it: the load of
// 10,000 favourites against the cache, the working copy, its sort, and the filter's rows; the
// floor is the same opening as it was before the filter.
void openingOfFavorites(benchmark::State& state, bool filtered) {
    setUp(entries(state));
    isCompatible("Nintendo 64");
    FavoriteFilter filter{};
    for (auto _ : state) {
        loadFavorites();
        openWorkingFavorites();
        sortWorkingFavorites();
        if (filtered) showAllRows(filter, workingFavoriteCount);
        benchmark::DoNotOptimize(filter.shownCount);
        freeWorkingFavorites();
    }
}
void opOpenFavoritesDialog(benchmark::State& state) { openingOfFavorites(state, true); }
void floorOpenFavoritesDialog(benchmark::State& state) { openingOfFavorites(state, false); }

void opBuildSelectionChain(benchmark::State& state) {
    openFullWorkingCopy(entries(state));
    std::vector<int32_t> rows(static_cast<size_t>(workingFavoriteCount));
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = int32_t(i);
    for (auto _ : state) {
        HostRomRecord* chain = buildSelectionChain(rows.data(), int32_t(rows.size()));
        benchmark::DoNotOptimize(chain);
        releaseSelectionChain(chain);
    }
    freeWorkingFavorites();
}

void floorBuildSelectionChain(benchmark::State& state) {
    openFullWorkingCopy(entries(state));
    size_t n = size_t(workingFavoriteCount);
    for (auto _ : state) {
        char* block = static_cast<char*>(std::calloc(n, sizeof(HostRomRecord) + 2 * kTextSize));
        for (size_t i = 0; i < n; ++i) {
            char* texts = block + n * sizeof(HostRomRecord) + i * 2 * kTextSize;
            std::memcpy(texts, workingFavorites[i].crc32, kTextSize);
            std::memcpy(texts + kTextSize, workingFavorites[i].comment, kTextSize);
        }
        benchmark::DoNotOptimize(block);
        std::free(block);
    }
    freeWorkingFavorites();
}

// ---- the popup's favourites items ----------------------------------------------------------

struct KeyChain {
    std::vector<std::string> keys;
    std::vector<HostRomRecord> records;
    KeyChain(int first, int count) {
        for (int i = 0; i < count; ++i) keys.push_back(keyOf(first + i));
        records.resize(keys.size());
        for (size_t i = 0; i < keys.size(); ++i) {
            records[i] = HostRomRecord{};
            records[i].crc32 = keys[i].c_str();
            records[i].name = keys[i].c_str();
            records[i].next = i + 1 < keys.size() ? &records[i + 1] : nullptr;
        }
    }
};

void loadStored(int n) {
    setUp(n);
    isCompatible("Arcade (MAME)");
    fake::putFile(kFavorites, favoritesFile(n));
    loadFavorites();
}

void opRemoveFavorites(benchmark::State& state) {
    KeyChain half(0, entries(state) / 2);
    for (auto _ : state) {
        state.PauseTiming();
        loadStored(entries(state));
        state.ResumeTiming();
        removeFavorites(context->favorites, context->favoriteCount, half.records.data());
    }
}

void opAddFavorites(benchmark::State& state) {
    KeyChain fresh(1000000, entries(state));
    for (auto _ : state) {
        state.PauseTiming();
        context->favoriteCount = 0;
        state.ResumeTiming();
        addFavorites(fresh.records.data());
    }
}

// Copying the list's bytes and writing them out: what any add or remove that saves must do.
void floorCopyFavorites(benchmark::State& state) {
    loadStored(entries(state));
    std::vector<FavoriteEntry> copy(size_t(entries(state)));
    for (auto _ : state) {
        std::memcpy(copy.data(), context->favorites, copy.size() * sizeof(FavoriteEntry));
        writeWhole("C:\\Host\\LaunchboardData0001\\copy.fvr", copy.data(),
                   copy.size() * sizeof(FavoriteEntry));
    }
}

// A click on the popup's "お気に入りに追加" or "お気に入りから削除" with one ROM selected, over n
// favourites that the cache all knows: the load, its pruning, the change and the save.
void popupFavoritesAction(benchmark::State& state, bool add) {
    int n = entries(state);
    setUp(n);
    inPopupMenuHave();
    KeyChain one(add ? 1000000 : n / 2, 1);
    int32_t index = context->emulatorCount + (add ? 1 : 2);
    std::string stored = favoritesFile(n);
    for (auto _ : state) {
        onPopupMenuClick(index, one.records.data());
        state.PauseTiming();
        fake::putFile(kFavorites, stored);  // the next click finds the list as it was
        state.ResumeTiming();
    }
}

void opPopupAddFavorite(benchmark::State& state) { popupFavoritesAction(state, true); }
void opPopupRemoveFavorite(benchmark::State& state) { popupFavoritesAction(state, false); }

// ---- popup and launch ----------------------------------------------------------------------

void opPopupBuild(benchmark::State& state) {
    setUp(entries(state));
    for (auto _ : state) benchmark::DoNotOptimize(inPopupMenuHave());
}

void floorReadList(benchmark::State& state) {
    setUp(entries(state));
    std::vector<char> buffer(sizeof(EmulatorListFile));
    std::string list = std::string(kDir) + "N64.emu";
    for (auto _ : state) benchmark::DoNotOptimize(readWhole(list.c_str(), buffer));
}

void opLaunchPathResolution(benchmark::State& state) {
    setUp(entries(state));
    inPopupMenuHave();
    KeyChain last(entries(state) - 1, 1);
    for (auto _ : state) {
        launchCommandLine(context->emulators[0], last.records.data());
        state.PauseTiming();
        fake::state().started.clear();
        fake::state().log.clear();
        state.ResumeTiming();
    }
}

// A launch as the popup makes it, with and without a games' settings file of n games, the
// launched game's line last.
void gameSettingLaunch(benchmark::State& state, bool withFile) {
    setUp(entries(state));
    inPopupMenuHave();
    KeyChain last(entries(state) - 1, 1);
    std::string games = "#games 1\r\n", path = std::string(kDir) + "N64.games.txt";
    for (int i = 0; i < entries(state); ++i)
        games += last.keys[0] + (i + 1 < entries(state) ? "x" + std::to_string(i) : "") +
                 "\tEmulator 0\tD:\\Emus\\emu0.exe\t-x \"a b\"\r\n";
    if (withFile) fake::putFile(path, games);
    for (auto _ : state) {
        launchEmulator(0, last.records.data());
        state.PauseTiming();
        fake::state().started.clear();
        fake::state().log.clear();
        state.ResumeTiming();
    }
    fake::state().files.erase(path);
}
void opGameSettingLaunch(benchmark::State& state) { gameSettingLaunch(state, true); }
void floorGameSettingLaunch(benchmark::State& state) { gameSettingLaunch(state, false); }

}  // namespace

// ---- the folder scan ------------------------------------------------------------------------

// A tree of n folders, ten to a folder, each with two programs that no known emulator names,
// and a DuckStation and a RetroArch at its top.
void scanTree(int n) {
    fake::reset();
    auto& s = fake::state();
    std::vector<std::string> level = {"D:\\Emu"};
    s.directories.insert("D:\\Emu");
    for (int made = 0; made < n;) {
        std::vector<std::string> next;
        for (const std::string& folder : level)
            for (int i = 0; i < 10 && made < n; ++i, ++made) {
                std::string child = folder + "\\f" + std::to_string(i);
                s.directories.insert(child);
                s.files[child + "\\tool.exe"];
                s.files[child + "\\readme.txt"];
                next.push_back(child);
            }
        level = next;
    }
    s.files["D:\\Emu\\duckstation-qt-x64-ReleaseLTCG.exe"];
}

bool neverStop() { return false; }

void opScanForEmulators(benchmark::State& state) {
    setUp(entries(state));
    static PresetTable table;
    PresetSkip skip{};
    loadPresets(table, skip);
    scanTree(entries(state));
    static ListExtensions list{};
    static ScanResult result;
    for (auto _ : state) {
        scanForEmulators("D:\\Emu", table, list, result, neverStop);
        benchmark::DoNotOptimize(result.count);
    }
}

void walkFolder(const char* folder, int depth, int& seen) {
    struct Visit {
        const char* folder;
        int depth;
        int& seen;
    } v{folder, depth, seen};
    ++seen;
    platform::listFolder(
        folder,
        [](const platform::FolderEntry& e, void* user) {
            auto& v = *static_cast<Visit*>(user);
            if (!e.folder || v.depth >= 5) return true;
            char child[kTextSize];
            if (joinPath(child, v.folder, e.name, "\\")) walkFolder(child, v.depth + 1, v.seen);
            return true;
        },
        &v);
}

// The floor: the same tree walked by listFolder alone, as a plain FindFirstFile walk does.
void floorScanForEmulators(benchmark::State& state) {
    scanTree(entries(state));
    for (auto _ : state) {
        int seen = 0;
        walkFolder("D:\\Emu\\", 0, seen);
        benchmark::DoNotOptimize(seen);
    }
}

#define LB_SIZES ->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond)
BENCHMARK(opLoadRomCache) LB_SIZES->Name("op/loadRomCache");
BENCHMARK(floorLoadRomCache) LB_SIZES->Name("floor/loadRomCache");
BENCHMARK(fgetsLoadRomCache) LB_SIZES->Name("fgets/loadRomCache");
BENCHMARK(opIsRomInCache) LB_SIZES->Name("op/isRomInCache");
BENCHMARK(floorIsRomInCache) LB_SIZES->Name("floor/isRomInCache");
BENCHMARK(referenceLinearScanPerKey) LB_SIZES->Name("reference/isRomInCache");
BENCHMARK(opLoadFavorites) LB_SIZES->Name("op/loadFavorites");
BENCHMARK(floorLoadFavorites) LB_SIZES->Name("floor/loadFavorites");
BENCHMARK(opPopupAddFavorite) LB_SIZES->Name("op/popupAddFavorite");
BENCHMARK(floorFavoritesAction) LB_SIZES->Name("floor/popupAddFavorite");
BENCHMARK(opPopupRemoveFavorite) LB_SIZES->Name("op/popupRemoveFavorite");
BENCHMARK(floorFavoritesAction) LB_SIZES->Name("floor/popupRemoveFavorite");
BENCHMARK(opSortWorkingFavorites) LB_SIZES->Name("op/sortWorkingFavorites");
BENCHMARK(floorSortWorkingFavorites) LB_SIZES->Name("floor/sortWorkingFavorites");
BENCHMARK(referenceQsortOfRecords) LB_SIZES->Name("reference/sortWorkingFavorites");
BENCHMARK(opBuildSelectionChain) LB_SIZES->Name("op/buildSelectionChain");
BENCHMARK(floorBuildSelectionChain) LB_SIZES->Name("floor/buildSelectionChain");
BENCHMARK(opRemoveFavorites) LB_SIZES->Name("op/removeFavorites");
BENCHMARK(floorCopyFavorites) LB_SIZES->Name("floor/removeFavorites");
BENCHMARK(opAddFavorites) LB_SIZES->Name("op/addFavorites");
BENCHMARK(floorCopyFavorites) LB_SIZES->Name("floor/addFavorites");
BENCHMARK(opPopupBuild) LB_SIZES->Name("op/popupBuild");
BENCHMARK(floorReadList) LB_SIZES->Name("floor/popupBuild");
BENCHMARK(opFilterFavorites) LB_SIZES->Name("op/filterFavorites");
BENCHMARK(floorFilterFavorites) LB_SIZES->Name("floor/filterFavorites");
BENCHMARK(opFirstFilterKey) LB_SIZES->Name("op/firstFilterKey");
BENCHMARK(floorFilterFavorites) LB_SIZES->Name("floor/firstFilterKey");
BENCHMARK(opOpenFavoritesDialog) LB_SIZES->Name("op/openFavoritesDialog");
BENCHMARK(floorOpenFavoritesDialog) LB_SIZES->Name("floor/openFavoritesDialog");
BENCHMARK(opOpenHistoryView) LB_SIZES->Name("op/openHistoryTab");
BENCHMARK(floorOpenHistoryView) LB_SIZES->Name("floor/openHistoryTab");
BENCHMARK(fgetsOpenHistoryView) LB_SIZES->Name("fgets/openHistoryTab");
BENCHMARK(opLaunchPathResolution) LB_SIZES->Name("op/launchPathResolution");
BENCHMARK(floorLoadRomCache) LB_SIZES->Name("floor/launchPathResolution");
BENCHMARK(opGameSettingLaunch) LB_SIZES->Name("op/gameSettingLaunch");
BENCHMARK(floorGameSettingLaunch) LB_SIZES->Name("floor/gameSettingLaunch");

BENCHMARK(opScanForEmulators) LB_SIZES->Name("op/scanForEmulators");
BENCHMARK(floorScanForEmulators) LB_SIZES->Name("floor/scanForEmulators");

BENCHMARK_MAIN();
