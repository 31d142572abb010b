// Key assignment: the player-1 action radios, the working copy of the
// bindings, and the idle step that turns a new press into a binding.
#pragma once

#include <windows.h>
#include <cstdint>
#include "input/binding_code.h"

struct AppState;
struct InputDevices;

// The message loop's idle step: poll, then assign a new press while an
// assignment is in progress. Allocates nothing.
void KeyAssignIdle();

// 1 for a new controller press (controller and input index written), else 0.
int32_t DetectControllerPress(InputDevices* devices, int32_t* controllerIndex,
                              int32_t* inputIndex);
// 1 for a new key press (its scan code written), else 0.
int32_t DetectKeyboardPress(InputDevices* devices, int32_t* scanCode);

// Stores the code for the slot in the working copy and shows its name.
void AssignBinding(AppState* state, BindingCode code, int slot, int controllerIndex);
// Sets the check of a slot's radio; -1 and 13 wrap round the assignable slots.
void CheckSlotRadio(AppState* state, int slot, int check);
// The first checked player-1 radio's slot, 0 when none is checked.
int GetCheckedSlot();
void BeginKeyAssignment(HWND dialog);
void EndKeyAssignment(HWND dialog);
// 1 while an assignment runs ("設定開始" disabled), else 0.
int IsKeyAssignmentRunning(HWND dialog);
// Unchecks player 1's thirteen radios.
void UncheckSlotRadios(HWND dialog);
// Working copy from the settings record, and back (with the two force flags).
void LoadWorkingBindings(AppState* state);
void StoreWorkingBindings(AppState* state);
