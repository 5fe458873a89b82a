// The favourites dialog's working copy, its selection chains, its layout and its placement.
#include "favorites/favoritesWorking.h"

#include <cstring>

#include "core/placement.h"
#include "favorites/favoriteColumns.h"
#include "favorites/favorites.h"
#include "platform/platform.h"

namespace lb {

FavoriteEntry* workingFavorites = nullptr;
int32_t workingFavoriteCount = 0;

bool openWorkingFavorites() {
    freeWorkingFavorites();
    int32_t count = boundedFavoriteCount(context->favoriteCount);
    if (count == 0) return true;
    workingFavorites = static_cast<FavoriteEntry*>(
        platform::allocateZeroed(sizeof(FavoriteEntry) * size_t(count)));
    if (workingFavorites == nullptr) return false;
    std::memcpy(workingFavorites, context->favorites, sizeof(FavoriteEntry) * size_t(count));
    workingFavoriteCount = count;
    return true;
}

bool appendWorkingFavorite(const FavoriteEntry& entry) {
    int32_t count = boundedFavoriteCount(workingFavoriteCount);
    if (count >= kMaxFavorites) return false;
    auto* grown = static_cast<FavoriteEntry*>(
        platform::allocateZeroed(sizeof(FavoriteEntry) * size_t(count + 1)));
    if (grown == nullptr) return false;
    if (count > 0 && workingFavorites != nullptr)
        std::memcpy(grown, workingFavorites, sizeof(FavoriteEntry) * size_t(count));
    grown[count] = entry;
    platform::release(workingFavorites);
    workingFavorites = grown;
    workingFavoriteCount = count + 1;
    return true;
}

void commitWorkingFavorites() {
    // Without a working copy (it could not be allocated) the stored list stays as it was.
    if (workingFavorites == nullptr && context->favoriteCount > 0) return;
    int32_t count = boundedFavoriteCount(workingFavoriteCount);
    if (count > 0)
        std::memmove(context->favorites, workingFavorites, sizeof(FavoriteEntry) * size_t(count));
    context->favoriteCount = count;
}

bool saveWorkingFavorites() {
    bool kept = workingFavorites == nullptr && context->favoriteCount > 0;  // see above
    bool saved = kept ? saveFavorites() : saveFavoriteList(workingFavorites, workingFavoriteCount);
    if (!saved) {
        tellFavoritesSaveFailure();
        return false;
    }
    commitWorkingFavorites();
    return true;
}

void freeWorkingFavorites() {
    platform::release(workingFavorites);
    workingFavorites = nullptr;
    workingFavoriteCount = 0;
}

void sortWorkingFavorites(int32_t* order) {
    if (workingFavorites == nullptr) return;
    sortFavorites(workingFavorites, workingFavoriteCount, context->sortColumn, context->columnState,
                  order);
}

int32_t rowOfKey(const char* crc32) {
    for (int32_t row = 0; row < workingFavoriteCount; ++row) {
        if (std::strncmp(workingFavorites[row].crc32, crc32, kTextSize) == 0) return row;
    }
    return 0;
}

namespace {

// One block: the records, then each record's key and set name.
struct ChainTexts {
    char crc32[kTextSize];
    char comment[kTextSize];
    char name[kTextSize];  // what the history records of a launch
};

}  // namespace

HostRomRecord* buildSelectionChain(const int32_t* rows, int32_t rowCount) {
    int32_t valid = 0;
    for (int32_t i = 0; i < rowCount; ++i) valid += rows[i] >= 0 && rows[i] < workingFavoriteCount;
    if (valid == 0 || workingFavorites == nullptr) return nullptr;
    size_t size = (sizeof(HostRomRecord) + sizeof(ChainTexts)) * size_t(valid);
    auto* records = static_cast<HostRomRecord*>(platform::allocateZeroed(size));
    if (records == nullptr) return nullptr;
    auto* texts = reinterpret_cast<ChainTexts*>(records + valid);
    int32_t n = 0;
    for (int32_t i = 0; i < rowCount; ++i) {
        if (rows[i] < 0 || rows[i] >= workingFavoriteCount) continue;
        const FavoriteEntry& entry = workingFavorites[rows[i]];
        copyText(texts[n].crc32, entry.crc32);
        copyText(texts[n].comment, entry.comment);
        copyText(texts[n].name, entry.name);
        records[n].crc32 = texts[n].crc32;
        records[n].comment = texts[n].comment;
        records[n].name = texts[n].name;
        records[n].next = n + 1 < valid ? &records[n + 1] : nullptr;
        ++n;
    }
    return records;
}

void releaseSelectionChain(HostRomRecord* chain) { platform::release(chain); }

int32_t chainLength(const HostRomRecord* chain) {
    int32_t n = 0;
    for (; chain != nullptr; chain = chain->next) ++n;
    return n;
}

bool layoutFavorites(int32_t W, int32_t H, int32_t bw, int32_t bh, int32_t ch,
                     FavoritesLayout& layout, int32_t fh, int32_t lw, int32_t th, int32_t dpi) {
    if (W == 0 || H == 0) return false;
    // The margins, 10 pixels at 96 DPI, and the gaps, 6 and 3, at the dialog's scale.
    const int32_t m = storedToPixels(10, dpi), g = storedToPixels(6, dpi),
                  d = storedToPixels(3, dpi);
    int32_t x = W - bw - m;
    layout.deleteButton = {x, m, bw, bh};
    layout.deleteAllButton = {x, bh + 2 * m, bw, bh};
    layout.okButton = {x, H - 2 * bh - 2 * m, bw, bh};
    layout.cancelButton = {x, H - bh - m, bw, bh};
    // The tabs on top, the filter row below them, as wide as the list; the list below it.
    int32_t filterTop = th > 0 ? m + th + g : m;
    int32_t top = fh > 0 ? filterTop + fh + g : filterTop;
    layout.tabs = {m, m, W - bw - 3 * m, th};
    layout.filterLabel = {m, filterTop + d, lw, fh > d ? fh - d : 0};
    layout.filterField = {m + lw + g, filterTop, W - bw - 3 * m - lw - g, fh};
    // The check box on one line under the list, so that its label never wraps.
    layout.list = {m, top, W - bw - 3 * m, H - m - top - ch - g};
    layout.closeOnLaunchBox = {m, H - m - ch, W - bw - 3 * m, ch};
    return true;
}

bool rectanglesMeet(const ScreenRect& a, const ScreenRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

ScreenRect favoritesPlacement(const ScreenRect& stored, bool storedIsVisible,
                              const ScreenRect& work, const ScreenRect& current) {
    bool never = stored.left == 0 && stored.top == 0 && stored.right == 0 && stored.bottom == 0;
    if (!never && storedIsVisible) return stored;
    int32_t width = stored.right - stored.left, height = stored.bottom - stored.top;
    bool keepSize = !never && width > 0 && height > 0 && width <= work.right - work.left &&
                    height <= work.bottom - work.top;
    ScreenRect box = keepSize ? ScreenRect{0, 0, width, height} : current;
    ScreenPoint origin = centredOrigin(work, box);
    return {origin.x, origin.y, origin.x + (box.right - box.left),
            origin.y + (box.bottom - box.top)};
}

}  // namespace lb
