#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "res/resource.h"
#include "settings/settings_options.h"

namespace {

// The check boxes as a dialog holds them: id -> checked.
using Checks = std::map<int, bool>;

// Filling as the dialog does it: walk the table, set checks, never clear.
void Fill(const SettingsBlock& block, Checks* checks)
{
    for (const CheckBoxOption& row : g_FillCheckBoxes) {
        if (IsOptionShownChecked(block, row))
            (*checks)[row.m_nControlId] = true;
    }
}

void Apply(const Checks& checks, SettingsBlock* block)
{
    for (const CheckBoxOption& row : g_ApplyCheckBoxes) {
        auto it = checks.find(row.m_nControlId);
        StoreOptionCheck(block, row, it != checks.end() && it->second);
    }
}

SettingsBlock Zeroed()
{
    SettingsBlock block;
    std::memset(&block, 0, sizeof(block));
    return block;
}

const int kAllBoxes[] = {IDC_FULLSCREEN,     IDC_FPS_LOCK,     IDC_FPS_DISPLAY,
                         IDC_16BIT_COLOR,    IDC_NO_RENDER_TEXTURE, IDC_TEXTURE_POW2,
                         IDC_BGM_IN_MEMORY,  IDC_LOW_RES_MODEL, IDC_SHADOWS,
                         IDC_CEL_SHADING,    IDC_SCREEN_EFFECTS};

constexpr uint32_t kBitsWithoutControl = 0x00000001 | 0x000000FC | 0x00020000 | 0xFF000000;

TEST(SettingsOptions, EachBoxShowsItsOwnBit)
{
    const std::pair<int, uint32_t> boxes[] = {
        {IDC_FULLSCREEN, OPTION_FULLSCREEN},
        {IDC_FPS_LOCK, OPTION_FPS_LOCK},
        {IDC_16BIT_COLOR, OPTION_16BIT_COLOR},
        {IDC_NO_RENDER_TEXTURE, OPTION_NO_RENDER_TEXTURE},
        {IDC_TEXTURE_POW2, OPTION_TEXTURE_POW2},
        {IDC_BGM_IN_MEMORY, OPTION_BGM_IN_MEMORY},
        {IDC_LOW_RES_MODEL, OPTION_LOW_RES_MODEL},
        {IDC_SCREEN_EFFECTS, OPTION_SCREEN_EFFECTS},
        {IDC_FPS_DISPLAY, OPTION_FPS_DISPLAY},
        {IDC_FPS_DISPLAY, OPTION_FPS_DISPLAY2},
        {IDC_CEL_SHADING, 1u << 20},
        {IDC_CEL_SHADING, 2u << 20},
    };
    for (const auto& box : boxes) {
        SCOPED_TRACE(box.first);
        SettingsBlock block = Zeroed();
        block.m_dwOptions = box.second;
        Checks checks;
        Fill(block, &checks);
        EXPECT_EQ((Checks{{box.first, true}}), checks);
    }
}

TEST(SettingsOptions, NothingIsShownForBitsWithoutControlOrAZeroRecord)
{
    SettingsBlock block = Zeroed();
    block.m_dwOptions = kBitsWithoutControl | OPTION_RESOLUTION;
    block.m_nFsaaSamples = 4;
    block.m_bForceDirection1P = 1;
    Checks checks;
    Fill(block, &checks);
    EXPECT_TRUE(checks.empty());
}

TEST(SettingsOptions, FillingNeverClearsABox)
{
    Checks checks;
    for (int id : kAllBoxes)
        checks[id] = true;
    Fill(Zeroed(), &checks);
    for (int id : kAllBoxes)
        EXPECT_TRUE(checks[id]) << id;
}

TEST(SettingsOptions, ShadowsByteShowsAnyNonZeroAndIsWrittenAsOne)
{
    SettingsBlock block = Zeroed();
    block.m_bShadows = 5;
    Checks checks;
    Fill(block, &checks);
    EXPECT_TRUE(checks[IDC_SHADOWS]);
    Apply(checks, &block);
    EXPECT_EQ(1, block.m_bShadows);
    checks[IDC_SHADOWS] = false;
    Apply(checks, &block);
    EXPECT_EQ(0, block.m_bShadows);
}

TEST(SettingsOptions, CelShadingModesAreWrittenBackAsOneOrZero)
{
    for (uint32_t mode : {1u, 2u, 3u}) {
        SCOPED_TRACE(mode);
        SettingsBlock block = Zeroed();
        block.m_dwOptions = mode << kCelShadingShift;
        Checks checks;
        Fill(block, &checks);
        Apply(checks, &block);
        EXPECT_EQ(1u << kCelShadingShift, block.m_dwOptions & OPTION_CEL_SHADING);
    }
    SettingsBlock block = Zeroed();
    block.m_dwOptions = OPTION_CEL_SHADING;
    Apply(Checks{}, &block);
    EXPECT_EQ(0u, block.m_dwOptions & OPTION_CEL_SHADING);
}

TEST(SettingsOptions, SecondFrameRateBitAloneShowsTheBoxAndUpdateWritesBoth)
{
    SettingsBlock block = Zeroed();
    block.m_dwOptions = OPTION_FPS_DISPLAY2;
    Checks checks;
    Fill(block, &checks);
    EXPECT_TRUE(checks[IDC_FPS_DISPLAY]);
    Apply(checks, &block);
    EXPECT_EQ(OPTION_FPS_DISPLAY | OPTION_FPS_DISPLAY2, block.m_dwOptions);

    checks[IDC_FPS_DISPLAY] = false;
    Apply(checks, &block);
    EXPECT_EQ(0u, block.m_dwOptions);
}

TEST(SettingsOptions, UpdateKeepsBitsWithoutControlAndEveryOtherByte)
{
    SettingsBlock block;
    std::memset(&block, 0xFF, sizeof(block));
    block.m_dwOptions = kBitsWithoutControl | (9u << kResolutionShift);
    SettingsBlock before = block;

    Checks checks;  // every box unchecked
    Apply(checks, &block);
    EXPECT_EQ(kBitsWithoutControl | (9u << kResolutionShift), block.m_dwOptions);
    // Apart from the option word and the shadows byte, nothing moved.
    before.m_bShadows = 0;
    EXPECT_EQ(0, std::memcmp(&before, &block, sizeof(block)));
}

TEST(SettingsOptions, EveryCheckedBoxSetsItsBits)
{
    Checks checks;
    for (int id : kAllBoxes)
        checks[id] = true;
    SettingsBlock block = Zeroed();
    Apply(checks, &block);
    EXPECT_EQ(OPTION_FULLSCREEN | OPTION_FPS_LOCK | OPTION_16BIT_COLOR | OPTION_FPS_DISPLAY |
                  OPTION_NO_RENDER_TEXTURE | OPTION_LOW_RES_MODEL | OPTION_TEXTURE_POW2 |
                  OPTION_SCREEN_EFFECTS | (1u << kCelShadingShift) | OPTION_BGM_IN_MEMORY |
                  OPTION_FPS_DISPLAY2,
              block.m_dwOptions);
    EXPECT_EQ(1, block.m_bShadows);
}

TEST(SettingsOptions, ResolutionCodesMapToComboIndicesBothWays)
{
    const int indexOfCode[6] = {2, 3, 0, 1, 4, 5};
    for (uint32_t code = 0; code < 16; ++code) {
        SCOPED_TRACE(code);
        SettingsBlock block = Zeroed();
        block.m_dwOptions = 0xFFFF0FFF | (code << kResolutionShift);
        int index = GetResolutionIndex(block);
        EXPECT_EQ(code < 6 ? indexOfCode[code] : -1, index);

        // An untouched combo (no selection) keeps any code, 6..15 included.
        StoreResolutionIndex(&block, -1);
        EXPECT_EQ(0xFFFF0FFF | (code << kResolutionShift), block.m_dwOptions);
        if (index >= 0) {
            SettingsBlock other = Zeroed();
            StoreResolutionIndex(&other, index);
            EXPECT_EQ(code << kResolutionShift, other.m_dwOptions);
        }
    }
    SettingsBlock block = Zeroed();
    block.m_dwOptions = 7u << kResolutionShift;
    StoreResolutionIndex(&block, 4);
    EXPECT_EQ(4u << kResolutionShift, block.m_dwOptions);
}

TEST(SettingsOptions, FsaaValuesOutsideTheItemsShowNothingAndAreKept)
{
    const std::pair<int32_t, int> known[] = {{0, 0}, {2, 1}, {4, 2}};
    for (const auto& k : known) {
        SettingsBlock block = Zeroed();
        block.m_nFsaaSamples = k.first;
        EXPECT_EQ(k.second, GetFsaaIndex(block));
        block.m_nFsaaSamples = 99;
        StoreFsaaIndex(&block, k.second);
        EXPECT_EQ(k.first, block.m_nFsaaSamples);
    }
    for (int32_t odd : {1, 3, 8, -1}) {
        SettingsBlock block = Zeroed();
        block.m_nFsaaSamples = odd;
        EXPECT_EQ(-1, GetFsaaIndex(block));
        StoreFsaaIndex(&block, -1);
        StoreFsaaIndex(&block, kFsaaItemCount);
        EXPECT_EQ(odd, block.m_nFsaaSamples);
    }
}

TEST(SettingsOptions, ComboTextsAreShiftJis)
{
    // "800×600（デフォルト）": the multiplication sign and full-width brackets.
    EXPECT_EQ(std::string("800\x81\x7E" "600\x81\x69\x83\x66\x83\x74\x83\x48\x83\x8B\x83\x67\x81\x6A"),
              g_ResolutionItems[3].m_pszText);
    EXPECT_EQ(std::string("\x82\xC8\x82\xB5"), g_FsaaItems[0].m_pszText);  // "なし"
}

}  // namespace
