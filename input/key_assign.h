// Key assignment: the player-1 action radios, the working copy of the
// bindings, and the idle step that turns a new press into a binding.
#pragma once

#include <windows.h>
#include <cstdint>
#include "input/binding_code.h"

struct AppState;

void KeyAssignIdle();
void AssignBinding(AppState* state, BindingCode code, int slot, int controllerIndex);
void CheckSlotRadio(AppState* state, int slot, int check);
int GetCheckedSlot();
void BeginKeyAssignment(HWND dialog);
void EndKeyAssignment(HWND dialog);
void LoadWorkingBindings(AppState* state);
void StoreWorkingBindings(AppState* state);
