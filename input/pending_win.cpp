// Temporary empty entry points so the exe links while the input subsystem is
// being written; removed as the real ones land.
#include "app/app_state.h"
#include "input/input_devices.h"
#include "input/key_assign.h"

int32_t CreateInputDevices(HINSTANCE, InputDevices*, HWND) { return 1; }
void PollInputDevices(InputDevices*) {}
void ReleaseInputDevices(InputDevices*) {}
void KeyAssignIdle() {}
void AssignBinding(AppState*, BindingCode, int, int) {}
void CheckSlotRadio(AppState*, int, int) {}
int GetCheckedSlot() { return 0; }
void BeginKeyAssignment(HWND) {}
void EndKeyAssignment(HWND) {}
void LoadWorkingBindings(AppState*) {}
void StoreWorkingBindings(AppState*) {}
