// The DirectInput 8 objects: the system keyboard and up to eight game
// controllers, created once at start-up, polled on every idle pass and
// released at shut-down.
#pragma once

#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0800
#endif
#include <windows.h>
#include <dinput.h>
#include <cstdint>

constexpr int kMaxControllers = 8;

struct InputDevices {
    IDirectInput8A*       m_pDirectInput;
    IDirectInputDevice8A* m_pController[kMaxControllers];
    DIDEVCAPS             m_ControllerCaps[kMaxControllers];
    DIJOYSTATE2           m_ControllerState[kMaxControllers];
    int32_t               m_nControllerCount;
    int32_t               m_nConfiguredCount;
    IDirectInputDevice8A* m_pKeyboard;
    uint8_t               m_KeyState[256];
    int32_t               m_bControllerHeld;   // owned by the controller press detection
    int32_t               m_bKeyboardIdle;     // owned by the keyboard press detection
};

// 1 when every step succeeded (no controller is no failure); 0 after a failure
// that was shown in a message box. Creation stops at the first failure.
int32_t CreateInputDevices(HINSTANCE instance, InputDevices* devices, HWND mainWnd);
void PollInputDevices(InputDevices* devices);
void ReleaseInputDevices(InputDevices* devices);

BOOL CALLBACK EnumGameControllerProc(LPCDIDEVICEINSTANCEA instance, LPVOID ref);
BOOL CALLBACK EnumControllerAxisProc(LPCDIDEVICEOBJECTINSTANCEA object, LPVOID ref);
