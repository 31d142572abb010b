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

} // namespace
