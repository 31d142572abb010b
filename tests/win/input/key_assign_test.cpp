#include <gtest/gtest.h>

#include <cstring>

#include "app/settings_dialog_proc.h"
#include "input/input_devices.h"
#include "input/key_assign.h"
#include "input/key_assign_fixture.h"
#include "input/slot_table.h"
#include "res/resource.h"
#include "settings/settings_block.h"

namespace {

const std::vector<int> kOnlySlot(int slot) { return std::vector<int>{slot}; }

TEST_F(KeyAssignTest, FillShowsTheStoredBindingsOfPlayerOneOnly)
{
    const wchar_t* expected[13] = {L"↑", L"↓", L"←", L"→", L"Z", L"X", L"C",
                                   L"V", L"A", L"S", L"Q", L"W", L"ESCAPE"};
    for (int slot = 0; slot < 13; ++slot)
        EXPECT_EQ(expected[slot], SlotText(slot)) << slot;
    for (int slot = 13; slot < 26; ++slot) {
        EXPECT_EQ(L"", SlotText(slot)) << slot;
        EXPECT_FALSE(IsEnabled(g_SlotControls[slot].m_nRadioId)) << slot;
    }
    EXPECT_EQ(0, State()->m_nCurrentSlot);
    EXPECT_EQ(0, std::memcmp(State()->m_WorkBindings, State()->m_Settings.m_aBindings,
                             sizeof(State()->m_WorkBindings)));
}

TEST_F(KeyAssignTest, StoredControllerBindingsReadAsTheFirstPadAfterAReload)
{
    ChooseSlot(0);
    Click(IDC_BEGIN_ASSIGN_1P);
    Tick();
    PressButton(2, 5);
    EXPECT_EQ(L"PAD3-5", SlotText(0));
    EXPECT_EQ(0x10005u, Working(0));
    Click(IDC_UPDATE);
    EXPECT_EQ(0x10005u, State()->m_Settings.m_aBindings[0]);

    // A start-up with what was stored: every pad binding shows as PAD1.
    SettingsBlock& block = State()->m_Settings;
    block.m_aBindings[SlotBindingPosition(1)] = 0x10109;   // hat left
    block.m_aBindings[SlotBindingPosition(2)] = 0x100C8;   // no such input
    block.m_aBindings[SlotBindingPosition(3)] = 0x54;      // key without name
    block.m_aBindings[SlotBindingPosition(4)] = 0x1C8;     // damaged key value
    LoadWorkingBindings(Dialog(), &State()->m_Settings, State()->m_WorkBindings,
                        &State()->m_nCurrentSlot);
    EXPECT_EQ(L"PAD1-5", SlotText(0));
    EXPECT_EQ(L"PAD1-HAT_LEFT", SlotText(1));
    EXPECT_EQ(L"PAD1-200", SlotText(2));
    EXPECT_EQ(L"(null)", SlotText(3));
    EXPECT_EQ(L"(null)", SlotText(4));
    // Shown, and kept as they were.
    EXPECT_EQ(0x100C8u, Working(2));
    EXPECT_EQ(0x1C8u, Working(4));
}

TEST_F(KeyAssignTest, BeginWithoutForcedDirections)
{
    Click(IDC_BEGIN_ASSIGN_1P);
    EXPECT_FALSE(IsEnabled(IDC_BEGIN_ASSIGN_1P));
    EXPECT_TRUE(IsEnabled(IDC_END_ASSIGN_1P));
    EXPECT_FALSE(IsEnabled(IDC_FORCE_DIR_1P));
    for (int slot = 0; slot < 13; ++slot)
        EXPECT_TRUE(IsEnabled(g_SlotControls[slot].m_nRadioId)) << slot;
    EXPECT_EQ(kOnlySlot(0), CheckedSlots());
    EXPECT_EQ(Control(g_SlotControls[0].m_nRadioId), GetFocus());
    EXPECT_EQ(L"↑", SlotText(0));  // nothing is bound by the start itself
    // Player 2 stays out of it.
    EXPECT_FALSE(IsEnabled(IDC_BEGIN_ASSIGN_2P));
    EXPECT_FALSE(IsEnabled(IDC_FORCE_DIR_2P));
}

TEST_F(KeyAssignTest, BeginWithForcedDirectionsBindsTheStick)
{
    SendMessageW(Control(IDC_FORCE_DIR_1P), BM_SETCHECK, BST_CHECKED, 0);
    Click(IDC_BEGIN_ASSIGN_1P);
    const wchar_t* expected[4] = {L"PAD1-↑", L"PAD1-↓", L"PAD1-←", L"PAD1-→"};
    for (int slot = 0; slot < 4; ++slot) {
        EXPECT_EQ(expected[slot], SlotText(slot)) << slot;
        EXPECT_EQ(0x10100u + slot, Working(slot)) << slot;
        EXPECT_FALSE(IsEnabled(g_SlotControls[slot].m_nRadioId)) << slot;
    }
    for (int slot = 4; slot < 13; ++slot)
        EXPECT_TRUE(IsEnabled(g_SlotControls[slot].m_nRadioId)) << slot;
    EXPECT_EQ(kOnlySlot(4), CheckedSlots());
    EXPECT_EQ(Control(g_SlotControls[4].m_nRadioId), GetFocus());
    EXPECT_FALSE(IsEnabled(IDC_FORCE_DIR_1P));
    EXPECT_TRUE(IsChecked(IDC_FORCE_DIR_1P));
}

TEST_F(KeyAssignTest, EachPressBindsTheCheckedSlotAndMovesTheCheckOn)
{
    Click(IDC_BEGIN_ASSIGN_1P);
    Tick();
    PressKey(0x2C);
    EXPECT_EQ(0x2Cu, Working(0));
    EXPECT_EQ(L"Z", SlotText(0));
    EXPECT_EQ(kOnlySlot(1), CheckedSlots());
    EXPECT_EQ(Control(g_SlotControls[1].m_nRadioId), GetFocus());
    EXPECT_EQ(0, State()->m_nCurrentSlot);  // until the next tick
    Tick();
    EXPECT_EQ(1, State()->m_nCurrentSlot);
    PressKey(0x39);
    EXPECT_EQ(L"SPACE", SlotText(1));
    EXPECT_EQ(0x39u, Working(1));
    EXPECT_EQ(kOnlySlot(2), CheckedSlots());
    // The stored settings change only with the update button.
    EXPECT_EQ(0xC8u, State()->m_Settings.m_aBindings[0]);
}

TEST_F(KeyAssignTest, PressAtTheLastSlotWrapsToTheFirst)
{
    Click(IDC_BEGIN_ASSIGN_1P);
    ChooseSlot(12);
    Tick();
    EXPECT_EQ(12, State()->m_nCurrentSlot);
    PressKey(0x1C);
    EXPECT_EQ(0x1Cu, State()->m_WorkBindings[7]);  // START is position 7
    EXPECT_EQ(L"RETURN", SlotText(12));
    EXPECT_EQ(kOnlySlot(0), CheckedSlots());
    EXPECT_EQ(Control(g_SlotControls[0].m_nRadioId), GetFocus());
}

TEST_F(KeyAssignTest, PressAtTheLastSlotWrapsToFourWhenDirectionsAreForced)
{
    SendMessageW(Control(IDC_FORCE_DIR_1P), BM_SETCHECK, BST_CHECKED, 0);
    Click(IDC_BEGIN_ASSIGN_1P);
    ChooseSlot(12);
    Tick();
    PressKey(0x1C);
    EXPECT_EQ(kOnlySlot(4), CheckedSlots());
    EXPECT_EQ(Control(g_SlotControls[4].m_nRadioId), GetFocus());
    // And the slot before the first assignable one is the last.
    Tick();
    PressKey(0x1D);
    EXPECT_EQ(L"LCONTROL", SlotText(4));
    EXPECT_EQ(kOnlySlot(5), CheckedSlots());
}

TEST_F(KeyAssignTest, TwoPressesBeforeATickLandOnTheSameSlot)
{
    Click(IDC_BEGIN_ASSIGN_1P);
    ChooseSlot(5);
    Tick();
    PressKey(0x10);
    PressKey(0x11);
    EXPECT_EQ(0x11u, Working(5));
    EXPECT_EQ(L"W", SlotText(5));
    EXPECT_EQ(0x2Eu, Working(6));  // the slot after keeps its binding
    EXPECT_EQ(kOnlySlot(6), CheckedSlots());
}

TEST_F(KeyAssignTest, HeldKeyIsAssignedOnceAndLowestOfTwoWins)
{
    Click(IDC_BEGIN_ASSIGN_1P);
    Tick();
    Idle();
    Keyboard().PushKey(0x2D);
    Keyboard().PushKey(0x2C);
    for (int i = 0; i < 20; ++i)
        Idle();  // the key stays down: no new event
    EXPECT_EQ(0x2Cu, Working(0));
    EXPECT_EQ(kOnlySlot(1), CheckedSlots());
    Tick();
    EXPECT_EQ(0xD0u, Working(1));
}

TEST_F(KeyAssignTest, NothingIsAssignedWhileTheReportHasTheFocus)
{
    Click(IDC_BEGIN_ASSIGN_1P);
    Tick();
    SetFocus(Control(IDC_REPORT));
    Keyboard().PushKey(0x2C);
    Pad(0).m_State.rgbButtons[3] = 0x80;
    const int32_t idleBefore = State()->m_Input.m_bKeyboardIdle;
    for (int i = 0; i < 3; ++i)
        Idle();
    EXPECT_EQ(0xC8u, Working(0));
    EXPECT_EQ(kOnlySlot(0), CheckedSlots());
    EXPECT_EQ(Control(IDC_REPORT), GetFocus());
    // The edge flags did not move either, and the key event was drained.
    EXPECT_EQ(idleBefore, State()->m_Input.m_bKeyboardIdle);
    EXPECT_EQ(0, State()->m_Input.m_bControllerHeld);
    EXPECT_TRUE(Keyboard().m_Reads.empty());
    Pad(0).m_State.rgbButtons[3] = 0;

    SetFocus(Control(g_SlotControls[0].m_nRadioId));
    PressKey(0x2C);
    EXPECT_EQ(0x2Cu, Working(0));
}

TEST_F(KeyAssignTest, NothingIsAssignedWhileAnotherWindowIsActive)
{
    Click(IDC_BEGIN_ASSIGN_1P);
    Tick();
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 100, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(other);
    SetActiveWindow(other);
    ASSERT_EQ(other, GetActiveWindow());
    PressKey(0x2C);
    PressButton(1, 0);
    EXPECT_EQ(0xC8u, Working(0));
    EXPECT_EQ(kOnlySlot(0), CheckedSlots());
    // Still polled: the keyboard buffer was drained meanwhile.
    EXPECT_TRUE(Keyboard().m_Reads.empty());

    ActivateMainWindow();
    ASSERT_EQ(MainWindow(), GetActiveWindow());
    SetFocus(Control(g_SlotControls[0].m_nRadioId));
    PressKey(0x2C);
    EXPECT_EQ(0x2Cu, Working(0));
    DestroyWindow(other);
}

TEST_F(KeyAssignTest, KeyHeldThroughTheStartClickIsNotAssigned)
{
    SetFocus(Control(IDC_BEGIN_ASSIGN_1P));
    Keyboard().PushKey(0x2C);
    Idle();  // seen while no assignment runs: dropped
    Click(IDC_BEGIN_ASSIGN_1P);
    Tick();
    for (int i = 0; i < 5; ++i)
        Idle();
    Keyboard().PushKey(0x2C, false);
    Idle();
    EXPECT_EQ(0xC8u, Working(0));
    EXPECT_EQ(kOnlySlot(0), CheckedSlots());
}

TEST_F(KeyAssignTest, ButtonHeldThroughTheStartClickIsNotAssigned)
{
    SetFocus(Control(IDC_BEGIN_ASSIGN_1P));
    Pad(0).m_State.rgbButtons[2] = 0x80;
    Idle();
    Click(IDC_BEGIN_ASSIGN_1P);
    Tick();
    for (int i = 0; i < 5; ++i)
        Idle();
    EXPECT_EQ(0xC8u, Working(0));
    Pad(0).m_State.rgbButtons[2] = 0;
    Idle();
    PressButton(0, 4);
    EXPECT_EQ(0x10004u, Working(0));
    EXPECT_EQ(L"PAD1-4", SlotText(0));
}

TEST_F(KeyAssignTest, WhileOneControllerInputIsHeldNoOtherIsAssigned)
{
    Click(IDC_BEGIN_ASSIGN_1P);
    Tick();
    Pad(0).m_State.rgbButtons[1] = 0x80;
    Idle();
    EXPECT_EQ(L"PAD1-1", SlotText(0));
    Tick();
    Pad(1).m_State.lY = -1000;  // another pad, another input, same flag
    Idle();
    Pad(0).m_State.rgbButtons[1] = 0;
    Idle();  // the stick is still held
    EXPECT_EQ(0xD0u, Working(1));
    Pad(1).m_State.lY = 0;
    Idle();
    Pad(1).m_State.lY = -950;
    Idle();
    EXPECT_EQ(L"PAD2-↑", SlotText(1));
    EXPECT_EQ(0x10100u, Working(1));
}

TEST_F(KeyAssignTest, ControllerWinsOverAKeyInTheSameStep)
{
    Click(IDC_BEGIN_ASSIGN_1P);
    Tick();
    Keyboard().PushKey(0x2C);
    Pad(2).m_State.rgdwPOV[0] = 9000;
    Idle();
    EXPECT_EQ(L"PAD3-HAT_RIGHT", SlotText(0));
    Tick();
    Pad(2).m_State.rgdwPOV[0] = 0xFFFFFFFF;
    Idle();
    Idle();
    EXPECT_EQ(0xD0u, Working(1));  // the key press was used up
}

TEST_F(KeyAssignTest, EndStopsTheAssignment)
{
    Click(IDC_BEGIN_ASSIGN_1P);
    ChooseSlot(3);
    Click(IDC_END_ASSIGN_1P);
    EXPECT_TRUE(IsEnabled(IDC_BEGIN_ASSIGN_1P));
    EXPECT_FALSE(IsEnabled(IDC_END_ASSIGN_1P));
    EXPECT_TRUE(IsEnabled(IDC_FORCE_DIR_1P));
    for (int slot = 0; slot < 13; ++slot)
        EXPECT_FALSE(IsEnabled(g_SlotControls[slot].m_nRadioId)) << slot;
    EXPECT_EQ(kOnlySlot(3), CheckedSlots());
    EXPECT_EQ(Control(IDC_REPORT), GetFocus());

    SetFocus(Control(IDC_BEGIN_ASSIGN_1P));
    Tick();
    PressKey(0x2C);
    EXPECT_EQ(0xCDu, Working(3));
}

TEST_F(KeyAssignTest, UpdateDuringAnAssignmentStoresTheWorkingCopy)
{
    SettingsBlock& block = State()->m_Settings;
    for (int i = 32; i < 64; ++i)
        block.m_aBindings[i] = 0x10000u + 7u * i;
    block.m_bForceDirection2P = 1;
    FillDialog();
    const SettingsBlock before = block;

    SendMessageW(Control(IDC_FORCE_DIR_1P), BM_SETCHECK, BST_CHECKED, 0);
    Click(IDC_BEGIN_ASSIGN_1P);
    Tick();
    PressKey(0x1E);
    Click(IDC_UPDATE);  // the assignment is still running

    EXPECT_EQ(0, std::memcmp(block.m_aBindings, State()->m_WorkBindings,
                             sizeof(block.m_aBindings)));
    EXPECT_EQ(0x10100u, block.m_aBindings[0]);
    EXPECT_EQ(0x1Eu, block.m_aBindings[4]);
    EXPECT_EQ(1, block.m_bForceDirection1P);
    // Player 2 is exactly as loaded, and shown nowhere.
    EXPECT_EQ(0, std::memcmp(before.m_aBindings + 32, block.m_aBindings + 32, 32 * 4));
    EXPECT_EQ(1, block.m_bForceDirection2P);
    for (int slot = 13; slot < 26; ++slot)
        EXPECT_EQ(L"", SlotText(slot)) << slot;
}

TEST_F(KeyAssignTest, StoreWritesTheForceFlagsAsTheBoxesShowThem)
{
    SettingsBlock& block = State()->m_Settings;
    block.m_bForceDirection1P = 1;
    block.m_bForceDirection2P = 0;
    StoreWorkingBindings(Dialog(), State()->m_WorkBindings, &State()->m_Settings);
    EXPECT_EQ(0, block.m_bForceDirection1P);
    EXPECT_EQ(0, block.m_bForceDirection2P);
    SendMessageW(Control(IDC_FORCE_DIR_1P), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(Control(IDC_FORCE_DIR_2P), BM_SETCHECK, BST_CHECKED, 0);
    StoreWorkingBindings(Dialog(), State()->m_WorkBindings, &State()->m_Settings);
    EXPECT_EQ(1, block.m_bForceDirection1P);
    EXPECT_EQ(1, block.m_bForceDirection2P);
}

TEST_F(KeyAssignTest, DefaultDuringAnAssignmentEndsItFirst)
{
    SendMessageW(Control(IDC_FORCE_DIR_1P), BM_SETCHECK, BST_CHECKED, 0);
    Click(IDC_BEGIN_ASSIGN_1P);
    ChooseSlot(12);
    Tick();
    PressKey(0x02);
    EXPECT_EQ(L"1", SlotText(12));
    Click(IDC_DEFAULT);
    EXPECT_EQ(L"ESCAPE", SlotText(12));
    EXPECT_EQ(0x01u, Working(12));
    EXPECT_EQ(L"↑", SlotText(0));
    EXPECT_EQ(0, State()->m_nCurrentSlot);
    // Ended as "設定終了" ends it, with slot 0 alone checked.
    EXPECT_EQ(kOnlySlot(0), CheckedSlots());
    EXPECT_TRUE(IsEnabled(IDC_BEGIN_ASSIGN_1P));
    EXPECT_FALSE(IsEnabled(IDC_END_ASSIGN_1P));
    EXPECT_TRUE(IsEnabled(IDC_FORCE_DIR_1P));
    for (int slot = 0; slot < kSlotsPerPlayer; ++slot)
        EXPECT_FALSE(IsEnabled(g_SlotControls[slot].m_nRadioId)) << slot;
    // A press away from the report box is dropped.
    SetFocus(Control(IDC_BEGIN_ASSIGN_1P));
    Tick();
    PressKey(0x03);
    EXPECT_EQ(L"↑", SlotText(0));
    EXPECT_EQ(0xC8u, Working(0));
    EXPECT_EQ(kOnlySlot(0), CheckedSlots());
}

TEST_F(KeyAssignTest, CheckedSlotIsTheFirstCheckedRadioOrZero)
{
    Click(IDC_BEGIN_ASSIGN_1P);
    ChooseSlot(9);
    EXPECT_EQ(9, GetCheckedSlot(Dialog()));
    SendMessageW(Control(g_SlotControls[9].m_nRadioId), BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_EQ(0, GetCheckedSlot(Dialog()));
    SendMessageW(Control(g_SlotControls[11].m_nRadioId), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(Control(g_SlotControls[10].m_nRadioId), BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(10, GetCheckedSlot(Dialog()));
}

}  // namespace
