#include <gtest/gtest.h>

#include "app/app_texts.h"
#include "app/window_geometry.h"

namespace {

TEST(MainWindowOrigin, CentresOnScreensThatHoldTheWindow)
{
    WindowPoint p = MainWindowOrigin(1024, 768, kMainWindowWidth, kMainWindowHeight);
    EXPECT_EQ(136, p.x);
    EXPECT_EQ(57, p.y);  // 384 - (655 >> 1) = 384 - 327
    p = MainWindowOrigin(1920, 1080, kMainWindowWidth, kMainWindowHeight);
    EXPECT_EQ(960 - 376, p.x);
    EXPECT_EQ(540 - 327, p.y);
}

TEST(MainWindowOrigin, TooTallForTheScreenGoesToTheTop)
{
    // 600 - 32 = 568 < 655
    WindowPoint p = MainWindowOrigin(800, 600, kMainWindowWidth, kMainWindowHeight);
    EXPECT_EQ(24, p.x);
    EXPECT_EQ(16, p.y);
    // Narrower than the window: x goes negative and stays so.
    p = MainWindowOrigin(640, 480, kMainWindowWidth, kMainWindowHeight);
    EXPECT_EQ(-56, p.x);
    EXPECT_EQ(16, p.y);
    // Exactly screen - 32 still centres.
    p = MainWindowOrigin(1024, 687, 752, 655);
    EXPECT_EQ(343 - 327, p.y);
}

TEST(MainWindowSizeForDialog, AddsFramesAndCaption)
{
    WindowSize s = MainWindowSizeForDialog(639, 652, 3, 3, 19);
    EXPECT_EQ(645, s.width);
    EXPECT_EQ(652 + 6 + 19, s.height);
}

TEST(KeepWindowInWorkArea, AWindowThatFitsWhereItIsStays)
{
    // 96 DPI, 1024 x 768 less a 40-pixel taskbar: the fitted window keeps
    // the corner computed for 752 x 655.
    WindowPoint p = KeepWindowInWorkArea({136, 57}, {752, 627}, {0, 0, 1024, 728});
    EXPECT_EQ(136, p.x);
    EXPECT_EQ(57, p.y);
    // Touching the far edges is lying within.
    p = KeepWindowInWorkArea({272, 101}, {752, 627}, {0, 0, 1024, 728});
    EXPECT_EQ(272, p.x);
    EXPECT_EQ(101, p.y);
}

TEST(KeepWindowInWorkArea, RunningPastTheRightOrBottomMovesJustEnough)
{
    // 144 DPI on 1920 x 1080 with Wine's taskbar: 584,213-1549,1250 before.
    WindowPoint p = KeepWindowInWorkArea({584, 213}, {965, 1037}, {0, 0, 1920, 1052});
    EXPECT_EQ(584, p.x);
    EXPECT_EQ(1052 - 1037, p.y);
    p = KeepWindowInWorkArea({300, 10}, {800, 600}, {0, 0, 1024, 728});
    EXPECT_EQ(1024 - 800, p.x);
    EXPECT_EQ(10, p.y);
}

TEST(KeepWindowInWorkArea, AWindowTooBigForTheAreaKeepsItsPlace)
{
    // 640 x 480: x = -56 stays, and so does y = 16 with a window too tall.
    WindowPoint p = KeepWindowInWorkArea({-56, 16}, {752, 627}, {0, 0, 640, 450});
    EXPECT_EQ(-56, p.x);
    EXPECT_EQ(16, p.y);
    // Too wide only: it still moves up to show its bottom.
    p = KeepWindowInWorkArea({-56, 100}, {752, 400}, {0, 0, 640, 450});
    EXPECT_EQ(-56, p.x);
    EXPECT_EQ(50, p.y);
}

} // namespace
