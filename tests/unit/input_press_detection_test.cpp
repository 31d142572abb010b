#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "input/press_detection.h"

namespace {

struct Pad {
    int32_t x = 0, y = 0, z = 0;
    uint32_t pov = 0xFFFFFFFF;
    uint8_t buttons[128] = {};
    int Find() const { return FindActiveControllerInput(x, y, z, pov, buttons); }
};

TEST(ControllerInput, RestingControllerHasNoInput)
{
    Pad pad;
    EXPECT_EQ(kNoInput, pad.Find());
    pad.x = pad.y = pad.z = 899;
    EXPECT_EQ(kNoInput, pad.Find());
    pad.x = pad.y = pad.z = -899;
    EXPECT_EQ(kNoInput, pad.Find());
}

TEST(ControllerInput, AxisThresholdsIncludeNinetyPercent)
{
    struct Case { int axis; int32_t value; int expected; };
    const Case cases[] = {
        {1, -900, 256}, {1, -899, kNoInput}, {1, 900, 257}, {1, 899, kNoInput},
        {0, -900, 258}, {0, -899, kNoInput}, {0, 900, 259}, {0, 899, kNoInput},
        {2, 900, 260},  {2, 899, kNoInput},  {2, -900, 261}, {2, -899, kNoInput},
        {1, -1000, 256}, {0, 1000, 259},
    };
    for (const Case& c : cases) {
        Pad pad;
        (c.axis == 0 ? pad.x : c.axis == 1 ? pad.y : pad.z) = c.value;
        EXPECT_EQ(c.expected, pad.Find()) << "axis " << c.axis << " value " << c.value;
    }
}

TEST(ControllerInput, HatWindowsBelongToTheDirectionBeforeTheBorder)
{
    struct Case { uint32_t pov; int expected; };
    const Case cases[] = {
        {0, 262},     {4500, 262},  {4501, 263},  {9000, 263},  {13500, 263},
        {13501, 264}, {18000, 264}, {22500, 264}, {22501, 265}, {27000, 265},
        {31500, 265}, {0xFFFFFFFF, kNoInput}, {36000, kNoInput}, {0xFFFF, kNoInput},
    };
    for (const Case& c : cases) {
        Pad pad;
        pad.pov = c.pov;
        EXPECT_EQ(c.expected, pad.Find()) << "pov " << c.pov;
    }
}

TEST(ControllerInput, ReadingsJustShortOfAFullTurnCountAsUp)
{
    // The up window is centred on 0 like the others on their directions.
    for (uint32_t pov = 31501; pov <= 35999; ++pov)
        ASSERT_EQ(262, HatInput(pov)) << pov;
}

TEST(ControllerInput, SearchOrderButtonsThenStickThenZThenHat)
{
    Pad pad;
    pad.pov = 9000;
    EXPECT_EQ(263, pad.Find());
    pad.z = -950;
    EXPECT_EQ(261, pad.Find());
    pad.z = 950;
    EXPECT_EQ(260, pad.Find());
    pad.x = 950;
    EXPECT_EQ(259, pad.Find());
    pad.x = -950;
    EXPECT_EQ(258, pad.Find());
    pad.y = 950;
    EXPECT_EQ(257, pad.Find());
    pad.y = -950;
    EXPECT_EQ(256, pad.Find());
    pad.buttons[127] = 0x80;
    EXPECT_EQ(127, pad.Find());
    pad.buttons[5] = 0xFF;
    EXPECT_EQ(5, pad.Find());
    // Only bit 7 means down.
    pad.buttons[2] = 0x7F;
    EXPECT_EQ(5, pad.Find());
}

TEST(ControllerEdge, OneFlagForEveryInputUntilAllAreReleased)
{
    int32_t held = 0;
    EXPECT_EQ(1, TakeControllerPress(3, &held));
    EXPECT_EQ(1, held);
    // Still active, or another input while the first is held: nothing new.
    EXPECT_EQ(0, TakeControllerPress(3, &held));
    EXPECT_EQ(0, TakeControllerPress(7, &held));
    EXPECT_EQ(0, TakeControllerPress(256, &held));
    EXPECT_EQ(0, TakeControllerPress(kNoInput, &held));
    EXPECT_EQ(0, held);
    EXPECT_EQ(1, TakeControllerPress(7, &held));
}

TEST(KeyboardInput, LowestPressedScanCodeWins)
{
    uint8_t keys[256] = {};
    EXPECT_EQ(kNoInput, FindLowestPressedKey(keys));
    keys[0xFF] = 0x80;
    EXPECT_EQ(0xFF, FindLowestPressedKey(keys));
    keys[0xC8] = 0x80;
    keys[0x2C] = 0x80;
    EXPECT_EQ(0x2C, FindLowestPressedKey(keys));
    keys[0x01] = 0x7F;  // bit 7 clear: not pressed
    EXPECT_EQ(0x2C, FindLowestPressedKey(keys));
    keys[0x00] = 0x80;
    EXPECT_EQ(0x00, FindLowestPressedKey(keys));
}

TEST(KeyboardEdge, NoPressBeforeTheFirstCheckThatFindsNoKey)
{
    int32_t idle = 0;  // as the zero-filled state starts
    EXPECT_EQ(0, TakeKeyboardPress(0x2C, &idle));
    EXPECT_EQ(0, idle);
    EXPECT_EQ(0, TakeKeyboardPress(kNoInput, &idle));
    EXPECT_EQ(1, idle);
    EXPECT_EQ(1, TakeKeyboardPress(0x2C, &idle));
    EXPECT_EQ(0, idle);
    // A press found right after another press is dropped.
    EXPECT_EQ(0, TakeKeyboardPress(0x2D, &idle));
    EXPECT_EQ(0, TakeKeyboardPress(kNoInput, &idle));
    EXPECT_EQ(1, TakeKeyboardPress(0x2D, &idle));
}

}  // namespace
