// Key assignment: the player-1 action radios, the working copy of the
// bindings, and the idle step that turns a new press into a binding.
#pragma once

#include <windows.h>
#include <cstdint>
#include "input/binding_code.h"
#include "settings/settings_block.h"

struct InputDevices;

// The message loop's idle step: poll the devices, then assign a new press to
// currentSlot of the working copy (kBindingCount codes) while an assignment
// runs in the dialog and the main window is active. Allocates nothing.
void KeyAssignIdle(InputDevices* devices, HWND mainWnd, HWND dialog, BindingCode* workBindings,
                   int32_t currentSlot);

// 1 for a new controller press (controller and input index written), else 0.
int32_t DetectControllerPress(InputDevices* devices, int32_t* controllerIndex,
                              int32_t* inputIndex);
// 1 for a new key press (its scan code written), else 0.
int32_t DetectKeyboardPress(InputDevices* devices, int32_t* scanCode);

// Stores the code for the slot in the working copy and shows its name.
void AssignBinding(HWND dialog, BindingCode* workBindings, BindingCode code, int slot,
                   int controllerIndex);
// Sets the check of a slot's radio; -1 and 13 wrap round the assignable slots.
void CheckSlotRadio(HWND dialog, int slot, int check);
// The first checked player-1 radio's slot, 0 when none is checked.
int GetCheckedSlot(HWND dialog);
// With the directions forced, the four go to the stick in the working copy.
void BeginKeyAssignment(HWND dialog, BindingCode* workBindings);
void EndKeyAssignment(HWND dialog);
// 1 while an assignment runs ("設定開始" disabled), else 0.
int IsKeyAssignmentRunning(HWND dialog);
// Unchecks player 1's thirteen radios.
void UncheckSlotRadios(HWND dialog);
// Working copy from the settings record, shown, with the current slot at 0.
void LoadWorkingBindings(HWND dialog, const SettingsBlock* settings, BindingCode* workBindings,
                         int32_t* currentSlot);
// Working copy back into the record, with the two force flags as the boxes show.
void StoreWorkingBindings(HWND dialog, const BindingCode* workBindings, SettingsBlock* settings);
