// The real dialog from template 109 with the real procedure: filling from the
// record, the buttons, the timer and the banner.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/settings_dialog_proc.h"
#include "platform/platform_seam.h"
#include "res/resource.h"
#include "settings/settings_block.h"
#include "settings/settings_dialog.h"
#include "settings_fixture.h"

namespace {

const int kOptionBoxes[] = {IDC_FULLSCREEN,   IDC_FPS_LOCK,          IDC_FPS_DISPLAY,
                            IDC_BGM_IN_MEMORY, IDC_SCREEN_EFFECTS,   IDC_NO_RENDER_TEXTURE,
                            IDC_TEXTURE_POW2, IDC_16BIT_COLOR,       IDC_CEL_SHADING,
                            IDC_SHADOWS,      IDC_LOW_RES_MODEL};

// Bits of the option word that no control shows.
constexpr uint32_t kUnmappedBits = 0xFF0200FD;

class SettingsDialog : public ::testing::Test {
protected:
    ScopedWorkingDirectory directory_;  // FillDialog writes the report here
    SettingsDialogFixture dialog_;

    SettingsBlock& Settings() { return dialog_.State()->m_Settings; }

    void FillPattern()
    {
        std::vector<unsigned char> bytes = PatternBytes(kSettingsSize, 5);
        std::memcpy(&Settings(), bytes.data(), kSettingsSize);
    }
};

TEST_F(SettingsDialog, InitialisationFocusesTheReport)
{
    ASSERT_NE(nullptr, dialog_.Dialog());
    EXPECT_EQ(GetDlgItem(dialog_.Dialog(), IDC_REPORT), GetFocus());
}

TEST_F(SettingsDialog, FillShowsTheDefaults)
{
    SetDefaultSettings(&Settings());
    FillDialog();

    for (int id : {IDC_FPS_LOCK, IDC_BGM_IN_MEMORY, IDC_SCREEN_EFFECTS, IDC_CEL_SHADING,
                   IDC_SHADOWS, IDC_P1_RADIO_UP})
        EXPECT_TRUE(dialog_.IsChecked(id)) << id;
    for (int id : {IDC_FULLSCREEN, IDC_FPS_DISPLAY, IDC_NO_RENDER_TEXTURE, IDC_TEXTURE_POW2,
                   IDC_16BIT_COLOR, IDC_LOW_RES_MODEL, IDC_FORCE_DIR_1P, IDC_FORCE_DIR_2P})
        EXPECT_FALSE(dialog_.IsChecked(id)) << id;
    for (int id : {IDC_CEL_SHADING, IDC_SHADOWS, IDC_LOW_RES_MODEL, IDC_END_ASSIGN_1P})
        EXPECT_FALSE(dialog_.IsEnabled(id)) << id;
    EXPECT_TRUE(dialog_.IsEnabled(IDC_BEGIN_ASSIGN_1P));

    ASSERT_EQ(6, dialog_.ComboCount(IDC_RESOLUTION));
    EXPECT_EQ(3, dialog_.ComboSelection(IDC_RESOLUTION));
    ASSERT_EQ(3, dialog_.ComboCount(IDC_FSAA));
    EXPECT_EQ(0, dialog_.ComboSelection(IDC_FSAA));
    EXPECT_EQ(L"なし", dialog_.ComboItemText(IDC_FSAA, 0));
}

TEST_F(SettingsDialog, ComboTextsReachTheWindowSystemAsUtf16)
{
    SetDefaultSettings(&Settings());
    FillDialog();
    const wchar_t* resolutions[] = {L"320\u00D7240", L"480\u00D7360",  L"640\u00D7480",
                                    L"800\u00D7600\uFF08デフォルト\uFF09", L"1024\u00D7768",
                                    L"1280\u00D7960"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(resolutions[i], dialog_.ComboItemText(IDC_RESOLUTION, i)) << i;
    EXPECT_EQ(L"x2", dialog_.ComboItemText(IDC_FSAA, 1));
    EXPECT_EQ(L"x4", dialog_.ComboItemText(IDC_FSAA, 2));
}

TEST_F(SettingsDialog, CombosDropDownFarEnoughForEveryItem)
{
    SetDefaultSettings(&Settings());
    FillDialog();
    FillDialog();  // a refill must not change the field's place or size
    RECT field;
    GetWindowRect(GetDlgItem(dialog_.Dialog(), IDC_RESOLUTION), &field);
    POINT topLeft = {field.left, field.top};
    ScreenToClient(dialog_.Dialog(), &topLeft);
    RECT template_ = {298, 73, 298 + 114, 73 + 18};
    MapDialogRect(dialog_.Dialog(), &template_);
    EXPECT_EQ(template_.left, topLeft.x);
    EXPECT_EQ(template_.top, topLeft.y);
    for (int id : {IDC_RESOLUTION, IDC_FSAA}) {
        RECT dropped;
        SendDlgItemMessageW(dialog_.Dialog(), id, CB_GETDROPPEDCONTROLRECT, 0,
                            reinterpret_cast<LPARAM>(&dropped));
        EXPECT_GE(dropped.bottom - dropped.top, 256) << id;
    }
}

TEST_F(SettingsDialog, FillShowsACraftedRecord)
{
    std::memset(&Settings(), 0, sizeof(Settings()));
    Settings().m_dwOptions = kUnmappedBits | OPTION_FULLSCREEN | OPTION_16BIT_COLOR |
                             OPTION_FPS_DISPLAY2 | OPTION_TEXTURE_POW2 | OPTION_LOW_RES_MODEL |
                             (2u << kCelShadingShift) | (7u << kResolutionShift);
    Settings().m_bShadows = 0;
    Settings().m_nFsaaSamples = 3;
    Settings().m_bForceDirection1P = 1;
    Settings().m_bForceDirection2P = 9;
    FillDialog();

    for (int id : {IDC_FULLSCREEN, IDC_16BIT_COLOR, IDC_FPS_DISPLAY, IDC_TEXTURE_POW2,
                   IDC_LOW_RES_MODEL, IDC_CEL_SHADING, IDC_FORCE_DIR_1P, IDC_FORCE_DIR_2P})
        EXPECT_TRUE(dialog_.IsChecked(id)) << id;
    for (int id : {IDC_FPS_LOCK, IDC_BGM_IN_MEMORY, IDC_SCREEN_EFFECTS, IDC_NO_RENDER_TEXTURE,
                   IDC_SHADOWS})
        EXPECT_FALSE(dialog_.IsChecked(id)) << id;
    // Values the combos have no item for show as no selection.
    EXPECT_EQ(6, dialog_.ComboCount(IDC_RESOLUTION));
    EXPECT_EQ(CB_ERR, dialog_.ComboSelection(IDC_RESOLUTION));
    EXPECT_EQ(CB_ERR, dialog_.ComboSelection(IDC_FSAA));
}

TEST_F(SettingsDialog, ResolutionCodesSelectTheirItems)
{
    const int indexOfCode[6] = {2, 3, 0, 1, 4, 5};
    for (uint32_t code = 0; code < 6; ++code) {
        Settings().m_dwOptions = code << kResolutionShift;
        FillDialog();
        EXPECT_EQ(indexOfCode[code], dialog_.ComboSelection(IDC_RESOLUTION)) << code;
    }
}

TEST_F(SettingsDialog, DefaultButtonKeepsUserChoicesInBoxesAndRestoresKeys)
{
    FillPattern();
    Settings().m_dwOptions = OPTION_FPS_LOCK | (5u << kResolutionShift);
    Settings().m_nFsaaSamples = 2;
    FillDialog();
    SettingsBlock before = Settings();

    // The user checks a box, picks other combo items and assigns a key.
    SendDlgItemMessageW(dialog_.Dialog(), IDC_FULLSCREEN, BM_CLICK, 0, 0);
    ASSERT_TRUE(dialog_.IsChecked(IDC_FULLSCREEN));
    SendDlgItemMessageW(dialog_.Dialog(), IDC_RESOLUTION, CB_SETCURSEL, 0, 0);
    SendDlgItemMessageW(dialog_.Dialog(), IDC_FSAA, CB_SETCURSEL, 2, 0);
    dialog_.State()->m_WorkBindings[4] = 0x39;
    dialog_.State()->m_nCurrentSlot = 6;

    SendDlgItemMessageW(dialog_.Dialog(), IDC_DEFAULT, BM_CLICK, 0, 0);

    EXPECT_TRUE(dialog_.IsChecked(IDC_FULLSCREEN));
    EXPECT_EQ(5, dialog_.ComboSelection(IDC_RESOLUTION));
    EXPECT_EQ(1, dialog_.ComboSelection(IDC_FSAA));
    EXPECT_TRUE(dialog_.IsChecked(IDC_P1_RADIO_UP));
    EXPECT_FALSE(dialog_.IsEnabled(IDC_END_ASSIGN_1P));
    EXPECT_EQ(0, dialog_.State()->m_nCurrentSlot);

    // Only player 1's positions 0..14 changed in the record.
    SettingsBlock expected = before;
    SetDefaultBindings(&expected);
    EXPECT_EQ(0, std::memcmp(&expected, &Settings(), sizeof(expected)));
    EXPECT_EQ(0, std::memcmp(Settings().m_aBindings, dialog_.State()->m_WorkBindings,
                             sizeof(Settings().m_aBindings)));
    EXPECT_EQ(0, dialog_.State()->m_bSaveSettings);
}

TEST_F(SettingsDialog, CancelLeavesTheRecordAndClosesTheTool)
{
    FillPattern();
    FillDialog();
    SettingsBlock before = Settings();
    for (int id : kOptionBoxes)
        dialog_.SetCheck(id, !dialog_.IsChecked(id));
    SendDlgItemMessageW(dialog_.Dialog(), IDC_RESOLUTION, CB_SETCURSEL, 1, 0);
    dialog_.State()->m_WorkBindings[0] = 0x12;

    dialog_.Press(IDC_CANCEL);
    dialog_.PumpMessages();

    EXPECT_EQ(0, std::memcmp(&before, &Settings(), sizeof(before)));
    EXPECT_EQ(0, dialog_.State()->m_bSaveSettings);
    EXPECT_FALSE(IsWindow(dialog_.Dialog()));
    EXPECT_EQ(nullptr, dialog_.State()->m_hDialog);
    EXPECT_EQ(1, dialog_.MainWindowCloses());
}

TEST_F(SettingsDialog, UpdateStoresEveryControl)
{
    FillPattern();
    SettingsBlock& s = Settings();
    s.m_dwOptions = kUnmappedBits | (9u << kResolutionShift);  // no mapped bit set
    s.m_bShadows = 0;
    s.m_bForceDirection1P = 0;
    s.m_bForceDirection2P = 0;
    s.m_nFsaaSamples = 7;
    FillDialog();
    SettingsBlock before = s;

    for (int id : kOptionBoxes)
        dialog_.SetCheck(id, true);
    dialog_.SetCheck(IDC_FORCE_DIR_1P, true);
    dialog_.SetCheck(IDC_FORCE_DIR_2P, true);
    SendDlgItemMessageW(dialog_.Dialog(), IDC_RESOLUTION, CB_SETCURSEL, 5, 0);
    SendDlgItemMessageW(dialog_.Dialog(), IDC_FSAA, CB_SETCURSEL, 2, 0);
    for (int n = 0; n < kBindingCount; ++n)
        dialog_.State()->m_WorkBindings[n] = 0x10000 + n;

    dialog_.Press(IDC_UPDATE);
    EXPECT_EQ(1, dialog_.State()->m_bSaveSettings);

    SettingsBlock expected = before;
    expected.m_dwOptions = kUnmappedBits | OPTION_FULLSCREEN | OPTION_FPS_LOCK |
                           OPTION_16BIT_COLOR | OPTION_FPS_DISPLAY | OPTION_NO_RENDER_TEXTURE |
                           (5u << kResolutionShift) | OPTION_LOW_RES_MODEL |
                           OPTION_TEXTURE_POW2 | OPTION_SCREEN_EFFECTS |
                           (1u << kCelShadingShift) | OPTION_BGM_IN_MEMORY | OPTION_FPS_DISPLAY2;
    expected.m_bShadows = 1;
    expected.m_bForceDirection1P = 1;
    expected.m_bForceDirection2P = 1;
    expected.m_nFsaaSamples = 4;
    for (int n = 0; n < kBindingCount; ++n)
        expected.m_aBindings[n] = 0x10000 + n;
    EXPECT_EQ(expected.m_dwOptions, s.m_dwOptions);
    EXPECT_EQ(0, std::memcmp(&expected, &s, sizeof(expected)));

    dialog_.PumpMessages();
    EXPECT_FALSE(IsWindow(dialog_.Dialog()));
    EXPECT_EQ(nullptr, dialog_.State()->m_hDialog);
    EXPECT_EQ(1, dialog_.MainWindowCloses());
}

TEST_F(SettingsDialog, UpdateClearsUncheckedBoxesAndKeepsUntouchedCombos)
{
    FillPattern();
    SettingsBlock& s = Settings();
    s.m_dwOptions = 0xFFFFFFFF & ~OPTION_RESOLUTION;
    s.m_dwOptions |= 7u << kResolutionShift;
    s.m_bShadows = 5;
    s.m_bForceDirection1P = 1;
    s.m_bForceDirection2P = 1;
    s.m_nFsaaSamples = 3;
    FillDialog();
    SettingsBlock before = s;

    for (int id : kOptionBoxes)
        dialog_.SetCheck(id, false);
    dialog_.SetCheck(IDC_FORCE_DIR_1P, false);
    dialog_.SetCheck(IDC_FORCE_DIR_2P, false);
    dialog_.Press(IDC_UPDATE);

    SettingsBlock expected = before;
    expected.m_dwOptions = kUnmappedBits | (7u << kResolutionShift);
    expected.m_bShadows = 0;
    expected.m_bForceDirection1P = 0;
    expected.m_bForceDirection2P = 0;
    EXPECT_EQ(expected.m_dwOptions, s.m_dwOptions);
    EXPECT_EQ(3, s.m_nFsaaSamples);
    EXPECT_EQ(0, std::memcmp(&expected, &s, sizeof(expected)));
}

TEST_F(SettingsDialog, StoredValuesSurviveAnUpdateWithoutChanges)
{
    FillPattern();
    Settings().m_dwOptions = OPTION_FPS_DISPLAY2 | (3u << kCelShadingShift) | kUnmappedBits;
    Settings().m_bShadows = 5;
    Settings().m_bForceDirection1P = 0;
    Settings().m_bForceDirection2P = 0;
    Settings().m_nFsaaSamples = 2;
    FillDialog();
    SettingsBlock before = Settings();
    dialog_.Press(IDC_UPDATE);

    // Both frame-rate bits, normalised cel shading and shadows; nothing else moves.
    SettingsBlock expected = before;
    expected.m_dwOptions = OPTION_FPS_DISPLAY | OPTION_FPS_DISPLAY2 | (1u << kCelShadingShift) |
                           kUnmappedBits;
    expected.m_bShadows = 1;
    EXPECT_EQ(expected.m_dwOptions, Settings().m_dwOptions);
    EXPECT_EQ(0, std::memcmp(&expected, &Settings(), sizeof(expected)));
}

TEST_F(SettingsDialog, TimerRecordsTheCheckedSlot)
{
    FillDialog();
    dialog_.SetCheck(IDC_P1_RADIO_UP, false);
    dialog_.SetCheck(IDC_P1_RADIO_LEFT, true);
    // The timer started by the initialisation delivers the tick; the limit
    // only bounds a timer that never comes, however busy the machine.
    DWORD start = GetTickCount();
    while (dialog_.State()->m_nCurrentSlot != 2 && GetTickCount() - start < 60000) {
        dialog_.PumpMessages();
        Sleep(10);
    }
    EXPECT_EQ(2, dialog_.State()->m_nCurrentSlot);
    EXPECT_EQ(FALSE, SettingsDlgProc(dialog_.Dialog(), WM_TIMER, kDialogTimerId, 0));
}

struct ShellCall {
    HWND owner;
    std::wstring verb;
    std::wstring file;
    bool noParams;
    bool noDirectory;
    INT show;
};
std::vector<ShellCall> g_shellCalls;

HINSTANCE WINAPI RecordShellExecute(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR params,
                                    LPCWSTR dir, INT show)
{
    g_shellCalls.push_back({owner, verb ? verb : L"", file ? file : L"", params == nullptr,
                            dir == nullptr, show});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(2));  // "file not found": ignored
}

class SettingsBanner : public SettingsDialog {
protected:
    void SetUp() override
    {
        g_shellCalls.clear();
        g_Platform.pShellExecuteW = RecordShellExecute;
    }
    void TearDown() override { g_Platform.pShellExecuteW = RealPlatformApi().pShellExecuteW; }
};

TEST_F(SettingsBanner, ClickOpensTheConfiguredAddressOrNothing)
{
    dialog_.Press(IDC_BANNER);
    if (g_szBannerAddress[0] == '\0') {
        EXPECT_TRUE(g_shellCalls.empty());
    } else {
        ASSERT_EQ(1u, g_shellCalls.size());
        EXPECT_EQ(Wide(g_szBannerAddress), g_shellCalls[0].file);
    }
    EXPECT_TRUE(IsWindow(dialog_.Dialog()));
}

TEST_F(SettingsBanner, AnAddressIsOpenedWithTheVerbOpen)
{
    OpenBanner(dialog_.Dialog(), "https://example.com/");
    OpenBanner(dialog_.Dialog(), "");
    ASSERT_EQ(1u, g_shellCalls.size());
    EXPECT_EQ(dialog_.Dialog(), g_shellCalls[0].owner);
    EXPECT_EQ(L"open", g_shellCalls[0].verb);
    EXPECT_EQ(L"https://example.com/", g_shellCalls[0].file);
    EXPECT_TRUE(g_shellCalls[0].noParams);
    EXPECT_TRUE(g_shellCalls[0].noDirectory);
    EXPECT_EQ(SW_SHOWNORMAL, g_shellCalls[0].show);
}

}  // namespace
