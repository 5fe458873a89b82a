// The history view's rows over the read history: their order, texts and the games' favourites,
// and the file rewritten without deleted games.
#include "favorites/historyView.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/keyIndex.h"
#include "core/pluginContext.h"
#include "platform/platform.h"

namespace lb {

const char* const historyColumnNames[kHistoryColumnCount] = {"名前", "最後に遊んだ日時", "回数",
                                                             "プレイ時間", "前回のエミュレータ"};

HistoryView historyView;

namespace {

constexpr size_t kCompactAbove = 1u << 20;  // past 1 MB the file is compacted
KeyIndex favoriteKeys;

// A stamp "YYYY/MM/DD HH:MM:SS" as the number YYYYMMDDHHMMSS, which orders as the text does;
// -1 for a text of another shape.
int64_t stampNumber(const char (&stamp)[kStampSize]) {
    static const char kShape[] = "0000/00/00 00:00:00";
    int64_t value = 0;
    for (size_t i = 0; i + 1 < sizeof kShape; ++i) {
        if (kShape[i] != '0') {
            if (stamp[i] != kShape[i]) return -1;
        } else if (stamp[i] >= '0' && stamp[i] <= '9') {
            value = value * 10 + (stamp[i] - '0');
        } else {
            return -1;
        }
    }
    return value;
}

// The rows by their last play, when every stamp has the usual shape: each row is one number,
// the stamp above its row's place, so that equal stamps keep their order. False, nothing
// changed, for another shape of stamp or no memory.
bool sortByLastPlay(bool descending) {
    static_assert(kMaxGames <= (1 << 14), "a row's place takes 14 bits");
    int32_t n = historyView.count;
    auto* keys = static_cast<uint64_t*>(platform::allocate(sizeof(uint64_t) * size_t(n + 1)));
    if (keys == nullptr) return false;
    for (int32_t i = 0; i < n; ++i) {
        int64_t stamp = stampNumber(historyView.table.games[historyView.games[i]].lastPlayed);
        if (stamp < 0) {
            platform::release(keys);
            return false;
        }
        uint64_t place = descending ? uint64_t((1 << 14) - 1 - i) : uint64_t(i);
        keys[i] = uint64_t(stamp) << 14 | place;
    }
    if (descending) {
        std::stable_sort(keys, keys + n, [](uint64_t a, uint64_t b) { return a > b; });
    } else {
        std::stable_sort(keys, keys + n);
    }
    static int32_t was[kMaxGames];
    std::memcpy(was, historyView.games, sizeof(int32_t) * size_t(n));
    for (int32_t i = 0; i < n; ++i) {
        uint64_t place = keys[i] & ((1 << 14) - 1);
        historyView.games[i] = was[descending ? (1 << 14) - 1 - int32_t(place) : int32_t(place)];
    }
    platform::release(keys);
    return true;
}

void buildRows() {
    int32_t count = historyView.table.count;
    historyView.count = count;
    for (int32_t i = 0; i < count; ++i) historyView.games[i] = i;
    platform::release(historyView.rows);  // made again when the filter first needs them
    historyView.rows = nullptr;
}

}  // namespace

FileRead openHistoryView(const FavoriteEntry* favorites, int32_t favoriteCount) {
    closeHistoryView();
    historyView.sortColumn = 1;
    historyView.descending = true;
    char path[kTextSize];
    if (!historyFilePath(path)) return FileRead::Missing;
    size_t got = 0;
    // Held while it is read, so that a compaction of what was read loses no append.
    platform::Hold hold = platform::holdFile(path, 200);
    FileRead read = readHistoryFile(path, historyView.table, got);
    if (read == FileRead::Read && hold != 0 && got > kCompactAbove)
        // Only when that halves it: a history still long once compacted is left as it is.
        saveCompactedHistory(path, historyView.table, nullptr, got / 2, int64_t(got));
    platform::releaseFile(hold);
    bool ready = read == FileRead::Read;
    size_t games = size_t(historyView.table.count > 0 ? historyView.table.count : 1);
    historyView.games = static_cast<int32_t*>(platform::allocateZeroed(sizeof(int32_t) * games));
    historyView.favorite = static_cast<bool*>(platform::allocateZeroed(sizeof(bool) * games));
    if (!ready || historyView.games == nullptr || historyView.favorite == nullptr) {
        historyView.table.count = 0;
        historyView.count = 0;
        return read;
    }
    indexTable(favoriteKeys, favorites, favoriteCount, sizeof(FavoriteEntry),
               offsetof(FavoriteEntry, crc32));
    for (int32_t i = 0; i < historyView.table.count; ++i)
        historyView.favorite[i] =
            favoriteCount > 0 && findFirst(favoriteKeys, historyView.table.games[i].key) >= 0;
    buildRows();
    sortHistoryView(1, true, nullptr);
    return read;
}

void closeHistoryView() {
    releaseHistory(historyView.table);
    platform::release(historyView.rows);
    platform::release(historyView.games);
    platform::release(historyView.favorite);
    historyView.rows = nullptr;
    historyView.games = nullptr;
    historyView.favorite = nullptr;
    historyView.count = 0;
}

void sortHistoryView(int32_t column, bool descending, int32_t* order) {
    historyView.sortColumn = column;
    historyView.descending = descending;
    static int32_t rowOf[kMaxGames];  // the row each game is now
    int32_t n = historyView.count;
    for (int32_t i = 0; i < n; ++i) rowOf[historyView.games[i]] = i;
    if (column != 1 || !sortByLastPlay(descending)) {
        const GameHistory* g = historyView.table.games;
        auto compare = [&](int32_t a, int32_t b) {
            int c = 0;
            switch (column) {
                case 0:
                    c = std::strcmp(g[a].name, g[b].name);
                    break;
                case 2:
                    c = g[a].plays < g[b].plays ? -1 : g[a].plays > g[b].plays;
                    break;
                case 3:
                    c = g[a].seconds < g[b].seconds ? -1 : g[a].seconds > g[b].seconds;
                    break;
                case 4:
                    c = std::strcmp(g[a].emulator, g[b].emulator);
                    break;
                default:
                    break;
            }
            if (c == 0) c = compareStamps(g[a].lastPlayed, g[b].lastPlayed);
            return descending ? c > 0 : c < 0;
        };
        std::stable_sort(historyView.games, historyView.games + n, compare);
    }
    if (order != nullptr)
        for (int32_t i = 0; i < n; ++i) order[i] = rowOf[historyView.games[i]];
    platform::release(historyView.rows);  // in the old order: made again when needed
    historyView.rows = nullptr;
}

const FavoriteEntry* historyRows() {
    if (historyView.rows != nullptr || historyView.count == 0) return historyView.rows;
    historyView.rows = static_cast<FavoriteEntry*>(
        platform::allocateZeroed(sizeof(FavoriteEntry) * size_t(historyView.count)));
    for (int32_t i = 0; i < historyView.count && historyView.rows != nullptr; ++i) {
        const GameHistory& game = historyView.table.games[historyView.games[i]];
        FavoriteEntry& row = historyView.rows[i];
        copyText(row.name, game.name);
        copyText(row.publisher, game.emulator);
        copyText(row.crc32, game.key);
    }
    return historyView.rows;
}

const GameHistory* historyGame(int32_t row) {
    if (row < 0 || row >= historyView.count || historyView.games == nullptr) return nullptr;
    return &historyView.table.games[historyView.games[row]];
}

const char* historyColumnText(int32_t row, int32_t column) {
    static char text[kTextSize + 8];
    const GameHistory* g = historyGame(row);
    text[0] = '\0';
    if (g == nullptr) return text;
    switch (column) {
        case 0: {
            const char* star[] = {historyView.favorite[historyView.games[row]] ? "★" : "", g->name};
            joinTexts(text, sizeof text, star, 2);
            break;
        }
        case 1: {
            char date[kStampSize];
            lastPlayedText(date, g->lastPlayed);
            copyText(text, sizeof text, date);
            break;
        }
        case 2:
            std::snprintf(text, sizeof text, "%d", int(g->plays));
            break;
        case 3: {
            char time[24];
            playTimeText(time, g->seconds);
            copyText(text, sizeof text, time);
            break;
        }
        case 4:
            copyText(text, sizeof text, g->emulator);
            break;
        default:
            break;
    }
    return text;
}

int32_t lastEmulatorIndex(const GameHistory& game) {
    int32_t count = boundedEmulatorCount(context->emulatorCount);
    for (int32_t i = 0; i < count; ++i)
        if (std::strcmp(context->emulators[i].name, game.emulator) == 0 &&
            std::strcmp(context->emulators[i].exePath, game.exe) == 0)
            return i;
    return -1;
}

int32_t lastEmulatorOfKey(const char* key) {
    if (historyView.table.games == nullptr) return -1;
    int32_t game = findFirst(historyView.table.index, key);
    return game < 0 ? -1 : lastEmulatorIndex(historyView.table.games[game]);
}

HostRomRecord* historyChain(int32_t row) {
    static HostRomRecord record;
    static char key[kTextSize], name[kTextSize], set[kTextSize];
    const GameHistory* g = historyGame(row);
    if (g == nullptr) return nullptr;
    copyText(key, g->key);
    copyText(name, g->name);
    copyText(set, g->set);
    record = HostRomRecord{};
    record.crc32 = key;
    record.name = name;
    record.comment = set;
    return &record;
}

bool deleteHistoryRows(const int32_t* rows, int32_t count) {
    static bool dropped[kMaxGames];
    static const char* keys[kMaxGames];
    std::memset(dropped, 0, sizeof dropped);
    int32_t keyCount = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (rows[i] < 0 || rows[i] >= historyView.count) continue;
        int32_t game = historyView.games[rows[i]];
        if (!dropped[game]) keys[keyCount++] = historyView.table.games[game].key;
        dropped[game] = true;
    }
    char path[kTextSize];
    if (!historyFilePath(path)) return false;
    // From the file as it is now: plays appended since the view was read stay.
    if (!deleteHistoryGames(path, keys, keyCount)) {
        tellSaveFailure(path);
        return false;
    }
    int32_t kept = 0;
    for (int32_t i = 0; i < historyView.table.count; ++i)
        if (!dropped[i]) historyView.favorite[kept++] = historyView.favorite[i];
    dropGames(historyView.table, dropped);
    buildRows();
    sortHistoryView(historyView.sortColumn, historyView.descending, nullptr);
    return true;
}

bool historyTabStored() {
    char path[kTextSize], text[16] = "";
    size_t got = 0;
    return dataFilePath(path, "FavoritesTab.txt") &&
           readFilePrefix(path, text, sizeof text - 1, got) == FileRead::Read &&
           std::strncmp(text, "history", 7) == 0;
}

void storeHistoryTab(bool history) {
    char path[kTextSize];
    const char* text = history ? "history\r\n" : "favorites\r\n";
    Chunk chunk{text, std::strlen(text)};
    if (dataFilePath(path, "FavoritesTab.txt")) saveFileSafely(path, &chunk, 1);
}

}  // namespace lb
