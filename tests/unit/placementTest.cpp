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

// Setting.dat keeps the favourites dialog's rectangle and column widths in units of 96 DPI:
// opened at 150% they are half as large again in pixels, and closed there they store the numbers
// they had, at any scale and for any length.
TEST(Placement, storedSizesAreIn96DpiUnitsAndSurviveAnOpeningAndAClosingAtAnyScale) {
    ScreenRect stored{100, 80, 900, 700};
    ScreenRect at144 = storedToPixels(stored, 144);
    EXPECT_EQ(std::vector<int32_t>({at144.left, at144.top, at144.right, at144.bottom}),
              std::vector<int32_t>({150, 120, 1350, 1050}));
    EXPECT_EQ(storedToPixels(101, 144), 152) << "halves away from zero";
    EXPECT_EQ(storedToPixels(-101, 144), -152);
    for (int32_t dpi : {96, 120, 144, 168, 192, 288})
        for (int32_t length = -3000; length <= 3000; length += 7) {
            ASSERT_EQ(pixelsToStored(storedToPixels(length, dpi), dpi), length) << dpi;
            ScreenRect back =
                pixelsToStored(storedToPixels(ScreenRect{length, 0, 0, -length}, dpi), dpi);
            ASSERT_EQ(back.left + back.bottom, 0) << dpi;
        }
    EXPECT_EQ(storedToPixels(0, 144), 0) << "a rectangle never stored stays so";
}
