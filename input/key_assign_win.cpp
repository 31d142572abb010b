#include "input/key_assign.h"

#include <cstring>

#include "input/binding_text.h"
#include "input/input_devices.h"
#include "input/press_detection.h"
#include "input/slot_table.h"
#include "platform/win_text.h"
#include "res/resource.h"

namespace {
// The stick directions bound to up, down, left and right when forced.
constexpr BindingCode kForcedDirections[4] = {
    kControllerBit | INPUT_STICK_UP, kControllerBit | INPUT_STICK_DOWN,
    kControllerBit | INPUT_STICK_LEFT, kControllerBit | INPUT_STICK_RIGHT,
};

bool IsChecked(HWND dialog, int id)
{
    return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) != 0;
}

// No press is assigned while the report box has the keyboard focus.
bool ReportHasFocus(HWND dialog)
{
    return GetFocus() == GetDlgItem(dialog, IDC_REPORT);
}

int FirstAssignableSlot(HWND dialog)
{
    return IsChecked(dialog, IDC_FORCE_DIR_1P) ? kFirstSlotForcedDirections : kFirstFreeSlot;
}

HWND RadioOfSlot(HWND dialog, int slot)
{
    return GetDlgItem(dialog, g_SlotControls[slot].m_nRadioId);
}
}

int32_t DetectControllerPress(InputDevices* devices, int32_t* controllerIndex,
                              int32_t* inputIndex)
{
    int found = kNoInput;
    for (int i = 0; i < kMaxControllers; ++i) {
        if (!devices->m_pController[i])
            continue;
        *controllerIndex = i;
        const DIJOYSTATE2& s = devices->m_ControllerState[i];
        found = FindActiveControllerInput(s.lX, s.lY, s.lZ, s.rgdwPOV[0], s.rgbButtons);
        if (found != kNoInput) {
            *inputIndex = found;
            break;
        }
    }
    return TakeControllerPress(found, &devices->m_bControllerHeld);
}

int32_t DetectKeyboardPress(InputDevices* devices, int32_t* scanCode)
{
    int found = FindLowestPressedKey(devices->m_KeyState);
    if (found != kNoInput)
        *scanCode = found;
    return TakeKeyboardPress(found, &devices->m_bKeyboardIdle);
}

void KeyAssignIdle(InputDevices* devices, HWND mainWnd, HWND dialog, BindingCode* workBindings,
                   int32_t currentSlot)
{
    PollInputDevices(devices);

    if (!dialog)
        return;
    if (GetActiveWindow() != mainWnd)
        return;
    if (ReportHasFocus(dialog))
        return;

    int32_t controller = 0;
    int32_t input = 0;
    BindingCode code;
    if (DetectControllerPress(devices, &controller, &input)) {
        code = kControllerBit | static_cast<BindingCode>(input);
    } else {
        int32_t scanCode = 0;
        if (!DetectKeyboardPress(devices, &scanCode))
            return;
        code = static_cast<BindingCode>(scanCode);
    }
    // No assignment running: the press is dropped.
    if (!IsKeyAssignmentRunning(dialog))
        return;

    int slot = currentSlot;
    AssignBinding(dialog, workBindings, code, slot, controller);
    // The current slot itself moves with the next timer tick.
    CheckSlotRadio(dialog, slot - 1, 0);
    CheckSlotRadio(dialog, slot, 0);
    CheckSlotRadio(dialog, slot + 1, 1);
}

void AssignBinding(HWND dialog, BindingCode* workBindings, BindingCode code, int slot,
                   int controllerIndex)
{
    int position = SlotBindingPosition(slot);
    if (position < 0)
        return;
    workBindings[position] = code;
    char text[kBindingTextSize];
    FormatBindingText(code, controllerIndex, text, sizeof(text));
    SetItemTextSjis(dialog, g_SlotControls[slot].m_nEditId, text);
}

void CheckSlotRadio(HWND dialog, int slot, int check)
{
    int first = FirstAssignableSlot(dialog);
    if (ReportHasFocus(dialog))
        return;
    slot = WrapSlot(slot, first);
    HWND radio = RadioOfSlot(dialog, slot);
    SendMessageW(radio, BM_SETCHECK, check, 0);
    if (check == 1)
        SetFocus(radio);
}

int GetCheckedSlot(HWND dialog)
{
    if (!dialog)
        return 0;
    for (int slot = 0; slot < kSlotsPerPlayer; ++slot) {
        if (SendMessageW(RadioOfSlot(dialog, slot), BM_GETCHECK, 0, 0) != 0)
            return slot;
    }
    return 0;
}

void BeginKeyAssignment(HWND dialog, BindingCode* workBindings)
{
    int first = kFirstFreeSlot;
    if (IsChecked(dialog, IDC_FORCE_DIR_1P)) {
        for (int slot = 0; slot < 4; ++slot)
            AssignBinding(dialog, workBindings, kForcedDirections[slot], slot, 0);
        first = kFirstSlotForcedDirections;
    }
    EnableWindow(GetDlgItem(dialog, IDC_BEGIN_ASSIGN_1P), FALSE);
    EnableWindow(GetDlgItem(dialog, IDC_END_ASSIGN_1P), TRUE);
    EnableWindow(GetDlgItem(dialog, IDC_FORCE_DIR_1P), FALSE);
    for (int slot = 0; slot < kSlotsPerPlayer; ++slot) {
        HWND radio = RadioOfSlot(dialog, slot);
        SendMessageW(radio, BM_SETCHECK, slot == first ? BST_CHECKED : BST_UNCHECKED, 0);
        EnableWindow(radio, slot >= first);
    }
    SetFocus(RadioOfSlot(dialog, first));
}

void EndKeyAssignment(HWND dialog)
{
    EnableWindow(GetDlgItem(dialog, IDC_BEGIN_ASSIGN_1P), TRUE);
    EnableWindow(GetDlgItem(dialog, IDC_END_ASSIGN_1P), FALSE);
    EnableWindow(GetDlgItem(dialog, IDC_FORCE_DIR_1P), TRUE);
    for (int slot = 0; slot < kSlotsPerPlayer; ++slot)
        EnableWindow(RadioOfSlot(dialog, slot), FALSE);
    SetFocus(GetDlgItem(dialog, IDC_REPORT));
}

int IsKeyAssignmentRunning(HWND dialog)
{
    return IsWindowEnabled(GetDlgItem(dialog, IDC_BEGIN_ASSIGN_1P)) ? 0 : 1;
}

void UncheckSlotRadios(HWND dialog)
{
    for (int slot = 0; slot < kSlotsPerPlayer; ++slot)
        SendMessageW(RadioOfSlot(dialog, slot), BM_SETCHECK, BST_UNCHECKED, 0);
}

void LoadWorkingBindings(HWND dialog, const SettingsBlock* settings, BindingCode* workBindings,
                         int32_t* currentSlot)
{
    static_assert(sizeof(settings->m_aBindings) == kBindingCount * sizeof(BindingCode),
                  "the working copy mirrors the stored bindings");
    std::memcpy(workBindings, settings->m_aBindings, sizeof(settings->m_aBindings));
    *currentSlot = 0;
    // Controller bindings show as the first controller: the number is not stored.
    for (int slot = 0; slot < kSlotsPerPlayer; ++slot)
        AssignBinding(dialog, workBindings, workBindings[SlotBindingPosition(slot)], slot, 0);
}

void StoreWorkingBindings(HWND dialog, const BindingCode* workBindings, SettingsBlock* settings)
{
    std::memcpy(settings->m_aBindings, workBindings, sizeof(settings->m_aBindings));
    settings->m_bForceDirection1P = IsChecked(dialog, IDC_FORCE_DIR_1P) ? 1 : 0;
    settings->m_bForceDirection2P = IsChecked(dialog, IDC_FORCE_DIR_2P) ? 1 : 0;
}
