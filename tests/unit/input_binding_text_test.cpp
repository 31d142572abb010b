#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "input/binding_text.h"
#include "input/slot_table.h"

namespace {

// The named scan codes, written out as runs from a first code, independent of
// the tool's own table. Arrows as Shift-JIS bytes.
std::map<int, std::string> ExpectedKeyNames()
{
    struct Run { int first; std::vector<const char*> names; };
    const Run runs[] = {
        {0x00, {"NONE", "ESCAPE", "1", "2", "3", "4", "5", "6", "7", "8", "9", "0"}},
        {0x0C, {"MINUS", "EQUALS", "BACK", "TAB", "Q", "W", "E", "R", "T", "Y", "U", "I", "O", "P"}},
        {0x1A, {"LBRACKET", "RBRACKET", "RETURN", "LCONTROL", "A", "S", "D", "F", "G", "H", "J",
                "K", "L", "SEMICOLON", "APOSTROPHE", "GRAVE"}},
        {0x2A, {"LSHIFT", "BACKSLASH", "Z", "X", "C", "V", "B", "N", "M", "COMMA", "PERIOD",
                "SLASH", "RSHIFT", "MULTIPLY", "LMENU", "SPACE", "CAPITAL"}},
        {0x3B, {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10"}},
        {0x45, {"NUMLOCK", "SCROLL", "NUMPAD7", "NUMPAD8", "NUMPAD9", "SUBTRACT", "NUMPAD4",
                "NUMPAD5", "NUMPAD6", "ADD", "NUMPAD1", "NUMPAD2", "NUMPAD3", "NUMPAD0", "DECIMAL"}},
        {0x56, {"OEM_102", "F11", "F12"}},
        {0x64, {"F13", "F14", "F15"}},
    };
    std::map<int, std::string> names;
    for (const Run& run : runs) {
        int code = run.first;
        for (const char* name : run.names)
            names[code++] = name;
    }
    const std::pair<int, const char*> singles[] = {
        {0x70, "KANA"}, {0x73, "ABNT_C1"}, {0x79, "CONVERT"}, {0x7B, "NOCONVERT"},
        {0x7D, "YEN"}, {0x7E, "ABNT_C2"}, {0x8D, "NUMPADEQUALS"}, {0x90, "PREVTRACK"},
        {0x91, "AT"}, {0x92, "COLON"}, {0x93, "UNDERLINE"}, {0x94, "KANJI"}, {0x95, "STOP"},
        {0x96, "AX"}, {0x97, "UNLABELED"}, {0x99, "NEXTTRACK"}, {0x9C, "NUMPADENTER"},
        {0x9D, "RCONTROL"}, {0xA0, "MUTE"}, {0xA1, "CALCULATOR"}, {0xA2, "PLAYPAUSE"},
        {0xA4, "MEDIASTOP"}, {0xAE, "VOLUMEDOWN"}, {0xB0, "VOLUMEUP"}, {0xB2, "WEBHOME"},
        {0xB3, "NUMPADCOMMA"}, {0xB5, "DIVIDE"}, {0xB7, "SYSRQ"}, {0xB8, "RMENU"},
        {0xC5, "PAUSE"}, {0xC7, "HOME"}, {0xC8, "\x81\xaa"}, {0xC9, "PRIOR"},
        {0xCB, "\x81\xa9"}, {0xCD, "\x81\xa8"}, {0xCF, "END"}, {0xD0, "\x81\xab"},
        {0xD1, "NEXT"}, {0xD2, "INSERT"}, {0xD3, "DELETE"}, {0xDB, "LWIN"}, {0xDC, "RWIN"},
        {0xDD, "APPS"}, {0xDE, "POWER"}, {0xDF, "SLEEP"}, {0xE3, "WAKE"},
        {0xE5, "WEBSEARCH"}, {0xE6, "WEBFAVORITES"}, {0xE7, "WEBREFRESH"}, {0xE8, "WEBSTOP"},
        {0xE9, "WEBFORWARD"}, {0xEA, "WEBBACK"}, {0xEB, "MYCOMPUTER"}, {0xEC, "MAIL"},
        {0xED, "MEDIASELECT"},
    };
    for (const auto& single : singles)
        names[single.first] = single.second;
    return names;
}

std::string Text(BindingCode code, int controller)
{
    char buffer[kBindingTextSize];
    std::memset(buffer, 'x', sizeof(buffer));
    FormatBindingText(code, controller, buffer, sizeof(buffer));
    return buffer;
}

TEST(KeyNames, EveryScanCodeHasExactlyTheListedName)
{
    const std::map<int, std::string> expected = ExpectedKeyNames();
    ASSERT_EQ(145u, expected.size());
    int named = 0;
    for (int code = 0; code < 256; ++code) {
        auto it = expected.find(code);
        if (it == expected.end()) {
            EXPECT_EQ(nullptr, g_KeyNames[code]) << std::hex << code;
            EXPECT_STREQ("(null)", KeyName(code)) << std::hex << code;
        } else {
            ++named;
            ASSERT_NE(nullptr, g_KeyNames[code]) << std::hex << code;
            EXPECT_EQ(it->second, g_KeyNames[code]) << std::hex << code;
            EXPECT_EQ(it->second, Text(code, 0)) << std::hex << code;
        }
    }
    EXPECT_EQ(145, named);
}

TEST(KeyNames, KeyboardValuesAboveTheTableShowNull)
{
    EXPECT_EQ("(null)", Text(0x100, 0));
    EXPECT_EQ("(null)", Text(0x1C8, 0));
    EXPECT_EQ("(null)", Text(0xFFFE0000u, 0));  // bit 16 clear
    EXPECT_EQ("(null)", Text(0x54, 0));
}

TEST(BindingText, NamedControllerInputs)
{
    EXPECT_EQ("PAD1-\x81\xaa", Text(0x10100, 0));
    EXPECT_EQ("PAD1-\x81\xab", Text(0x10101, 0));
    EXPECT_EQ("PAD1-\x81\xa9", Text(0x10102, 0));
    EXPECT_EQ("PAD1-\x81\xa8", Text(0x10103, 0));
    EXPECT_EQ("PAD3-Z1", Text(0x10104, 2));
    EXPECT_EQ("PAD1-Z2", Text(0x10105, 0));
    EXPECT_EQ("PAD1-HAT_UP", Text(0x10106, 0));
    EXPECT_EQ("PAD1-HAT_RIGHT", Text(0x10107, 0));
    EXPECT_EQ("PAD1-HAT_DOWN", Text(0x10108, 0));
    EXPECT_EQ("PAD2-HAT_LEFT", Text(0x10109, 1));
    EXPECT_EQ(nullptr, ControllerInputName(255));
    EXPECT_EQ(nullptr, ControllerInputName(266));
}

TEST(BindingText, OtherControllerInputsShowTheirNumber)
{
    EXPECT_EQ("PAD1-0", Text(0x10000, 0));
    EXPECT_EQ("PAD3-5", Text(0x10005, 2));
    EXPECT_EQ("PAD8-127", Text(0x1007F, 7));
    // Values only a settings file can hold are shown as numbers too.
    EXPECT_EQ("PAD1-128", Text(0x10080, 0));
    EXPECT_EQ("PAD1-255", Text(0x100FF, 0));
    EXPECT_EQ("PAD1-266", Text(0x1010A, 0));
    EXPECT_EQ("PAD1-65535", Text(0x1FFFF, 0));
}

TEST(BindingText, StaysWithinTheBufferAndIsAlwaysTerminated)
{
    char small[6];
    std::memset(small, 'x', sizeof(small));
    FormatBindingText(0x10107, 0, small, sizeof(small));
    EXPECT_STREQ("PAD1-", small);
    // The longest possible text still fits the 64-byte buffer.
    std::string longest = Text(0xFFFFFFFFu, -2147483647 - 1);
    EXPECT_LT(longest.size(), kBindingTextSize);
    EXPECT_EQ("PAD-2147483647-4294901759", longest);
}

TEST(SlotTable, PositionsOfBothPlayers)
{
    const int player1[13] = {0, 1, 2, 3, 4, 5, 6, 8, 11, 12, 13, 14, 7};
    for (int slot = 0; slot < 13; ++slot) {
        EXPECT_EQ(player1[slot], SlotBindingPosition(slot)) << slot;
        EXPECT_EQ(32 + player1[slot], SlotBindingPosition(13 + slot)) << slot;
    }
    EXPECT_EQ(-1, SlotBindingPosition(-1));
    EXPECT_EQ(-1, SlotBindingPosition(26));
}

}  // namespace
