// Where the dialogs open: centred on the work area, or where the favourites dialog was left.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/placement.h"
#include "favorites/favoritesWorking.h"

using namespace lb;

TEST(Placement, windowsAreCentredOnTheWorkAreaTruncatingTowardZero) {
    struct Row {
        ScreenRect work, window;
        ScreenPoint origin;
    } rows[] = {
        {{0, 0, 1280, 1024}, {5, 5, 305, 205}, {490, 412}},
        {{0, 0, 1280, 1000}, {0, 0, 301, 201}, {489, 399}},
        {{100, 50, 1380, 1074}, {0, 0, 300, 200}, {590, 462}},
        {{0, 0, 800, 600}, {0, 0, 1001, 701}, {-100, -50}},  // larger than the work area
    };
    for (const Row& row : rows) {
        ScreenPoint p = centredOrigin(row.work, row.window);
        EXPECT_EQ(std::make_pair(p.x, p.y), std::make_pair(row.origin.x, row.origin.y));
    }
}

TEST(Placement, aStoredFavoritesRectangleNobodyCanSeeIsCentredKeepingItsSizeWhenItFits) {
    ScreenRect work{0, 0, 1280, 1000}, current{0, 0, 600, 500};
    struct Row {
        ScreenRect stored;
        bool visible;
        ScreenRect placed;
    } rows[] = {
        {{0, 0, 0, 0}, false, {340, 250, 940, 750}},             // never stored: centred
        {{100, 80, 900, 700}, true, {100, 80, 900, 700}},        // on screen: exactly as stored
        {{3000, 80, 3800, 700}, false, {240, 190, 1040, 810}},   // off screen: centred, its size
        {{-5000, 0, -3000, 1500}, false, {340, 250, 940, 750}},  // too large: the dialog's size
        {{-2000, 0, -720, 400}, false, {0, 300, 1280, 700}},     // exactly as wide: its size
    };
    for (const Row& r : rows) {
        ScreenRect p = favoritesPlacement(r.stored, r.visible, work, current);
        EXPECT_EQ(
            std::vector<int32_t>({p.left, p.top, p.right, p.bottom}),
            std::vector<int32_t>({r.placed.left, r.placed.top, r.placed.right, r.placed.bottom}));
    }
    EXPECT_TRUE(rectanglesMeet({-10, -10, 1, 1}, work));
    EXPECT_FALSE(rectanglesMeet({1280, 0, 1400, 100}, work)) << "touching the edge is not meeting";
}
