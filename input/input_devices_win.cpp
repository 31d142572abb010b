#include "input/input_devices.h"

#include <cstring>

#include "input/press_detection.h"
#include "platform/platform_seam.h"
#include "platform/win_text.h"

namespace {
constexpr DWORD kCooperation = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;
constexpr DWORD kEventBufferSize = 100;
constexpr LONG kAxisMin = -1000;
constexpr LONG kAxisMax = 1000;
// A keyboard that reports its input lost again right after being re-acquired
// is left for the next poll rather than retried without end.
constexpr int kMaxLostInARow = 2;
// Far more than the 100-event buffer holds: a bound, never reached in use.
constexpr int kMaxReadsPerPoll = 4 * kEventBufferSize;

const char kCaption[] = "ERROR";
const char kMsgCreateObject[] = "DirectInput オブジェクトの作成に失敗しました。";
const char kMsgKeyboardFormat[] = "c_dfDIKeyboard 形式の設定に失敗しました。";
const char kMsgKeyboardCooperation[] = "キーボードフォアグラウンド＆非排他モードの設定に失敗しました。";
const char kMsgBufferSize[] = "バッファ・サイズの設定に失敗しました。";
const char kMsgControllerFormat[] = "c_dfDIJoystick2形式の設定に失敗しました。";
const char kMsgControllerCooperation[] = "フォアグラウンド＆非排他モードの設定に失敗しました。";
const char kMsgAxisMode[] = "軸モードの設定に失敗しました。";

int32_t Fail(const char* text)
{
    ShowMessage(nullptr, text, kCaption);
    return 0;
}

DIPROPDWORD DeviceDword(DWORD value)
{
    DIPROPDWORD prop;
    prop.diph.dwSize = sizeof(DIPROPDWORD);
    prop.diph.dwHeaderSize = sizeof(DIPROPHEADER);
    prop.diph.dwObj = 0;
    prop.diph.dwHow = DIPH_DEVICE;
    prop.dwData = value;
    return prop;
}

int32_t ConfigureController(InputDevices* devices, IDirectInputDevice8A* device, HWND mainWnd)
{
    if (FAILED(device->SetDataFormat(&c_dfDIJoystick2)))
        return Fail(kMsgControllerFormat);
    if (FAILED(device->SetCooperativeLevel(mainWnd, kCooperation)))
        return Fail(kMsgControllerCooperation);
    if (FAILED(device->EnumObjects(EnumControllerAxisProc, devices, DIDFT_AXIS)))
        return Fail(kMsgAxisMode);
    DIPROPDWORD axisMode = DeviceDword(DIPROPAXISMODE_ABS);
    if (FAILED(device->SetProperty(DIPROP_AXISMODE, &axisMode.diph)))
        return Fail(kMsgAxisMode);
    DIPROPDWORD bufferSize = DeviceDword(kEventBufferSize);
    if (FAILED(device->SetProperty(DIPROP_BUFFERSIZE, &bufferSize.diph)))
        return Fail(kMsgBufferSize);
    device->Acquire();
    return 1;
}

// The game controllers, found by enumeration, then configured one by one.
int32_t CreateControllers(InputDevices* devices, HWND mainWnd)
{
    // No controller, or no enumeration at all, is no failure. The callbacks
    // are handed the record they fill as their reference value.
    if (FAILED(devices->m_pDirectInput->EnumDevices(DI8DEVCLASS_GAMECTRL, EnumGameControllerProc,
                                                    devices, DIEDFL_ATTACHEDONLY)))
        return 1;
    for (int i = 0; i < devices->m_nControllerCount && i < kMaxControllers; ++i) {
        if (!ConfigureController(devices, devices->m_pController[i], mainWnd))
            return 0;
        ++devices->m_nConfiguredCount;
    }
    return 1;
}

void ReadKeyboard(InputDevices* devices)
{
    IDirectInputDevice8A* keyboard = devices->m_pKeyboard;
    int lostInARow = 0;
    for (int reads = 0; reads < kMaxReadsPerPoll; ++reads) {
        DIDEVICEOBJECTDATA event;
        DWORD count = 1;
        HRESULT hr = keyboard->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), &event, &count, 0);
        if (hr == DIERR_INPUTLOST) {
            if (++lostInARow >= kMaxLostInARow)
                return;
            keyboard->Acquire();
            continue;
        }
        lostInARow = 0;
        if (FAILED(hr) || count == 0)
            return;
        // Releases are ignored: only the press marks its key.
        if ((event.dwData & 0x80) && event.dwOfs < sizeof(devices->m_KeyState))
            devices->m_KeyState[event.dwOfs] |= 0x80;
    }
}
}

int32_t CreateInputDevices(HINSTANCE instance, InputDevices* devices, HWND mainWnd)
{
    if (FAILED(g_Platform.pDirectInput8Create(instance, DIRECTINPUT_VERSION, IID_IDirectInput8A,
                                              reinterpret_cast<void**>(&devices->m_pDirectInput),
                                              nullptr))) {
        devices->m_pDirectInput = nullptr;
        return Fail(kMsgCreateObject);
    }
    IDirectInput8A* input = devices->m_pDirectInput;
    if (FAILED(input->CreateDevice(GUID_SysKeyboard, &devices->m_pKeyboard, nullptr))) {
        devices->m_pKeyboard = nullptr;
        return Fail(kMsgCreateObject);
    }
    IDirectInputDevice8A* keyboard = devices->m_pKeyboard;
    if (FAILED(keyboard->SetDataFormat(&c_dfDIKeyboard)))
        return Fail(kMsgKeyboardFormat);
    // Background, so keys are read whichever window has the focus.
    if (FAILED(keyboard->SetCooperativeLevel(mainWnd, kCooperation)))
        return Fail(kMsgKeyboardCooperation);
    DIPROPDWORD bufferSize = DeviceDword(kEventBufferSize);
    if (FAILED(keyboard->SetProperty(DIPROP_BUFFERSIZE, &bufferSize.diph)))
        return Fail(kMsgBufferSize);
    keyboard->Acquire();

    return CreateControllers(devices, mainWnd);
}

BOOL CALLBACK EnumGameControllerProc(LPCDIDEVICEINSTANCEA instance, LPVOID ref)
{
    InputDevices* devices = static_cast<InputDevices*>(ref);
    if (!devices || !devices->m_pDirectInput)
        return DIENUM_STOP;
    int n = devices->m_nControllerCount;
    // The record holds eight: the first eight found are kept.
    if (n >= kMaxControllers)
        return DIENUM_STOP;
    if (!instance)
        return DIENUM_CONTINUE;
    if (FAILED(devices->m_pDirectInput->CreateDevice(instance->guidInstance,
                                                     &devices->m_pController[n], nullptr))) {
        devices->m_pController[n] = nullptr;
        return DIENUM_CONTINUE;
    }
    devices->m_ControllerCaps[n].dwSize = sizeof(DIDEVCAPS);
    if (FAILED(devices->m_pController[n]->GetCapabilities(&devices->m_ControllerCaps[n]))) {
        devices->m_pController[n]->Release();
        devices->m_pController[n] = nullptr;
        return DIENUM_CONTINUE;
    }
    // Until its first read, a hat at rest: a zero reading would be "up" and
    // hold every controller press back if the device never answers.
    for (DWORD& pov : devices->m_ControllerState[n].rgdwPOV)
        pov = kPovCentred;
    ++devices->m_nControllerCount;
    return devices->m_nControllerCount >= kMaxControllers ? DIENUM_STOP : DIENUM_CONTINUE;
}

BOOL CALLBACK EnumControllerAxisProc(LPCDIDEVICEOBJECTINSTANCEA object, LPVOID ref)
{
    InputDevices* devices = static_cast<InputDevices*>(ref);
    if (!devices || !object)
        return DIENUM_STOP;
    int n = devices->m_nConfiguredCount;
    if (n < 0 || n >= kMaxControllers || !devices->m_pController[n])
        return DIENUM_STOP;
    DIPROPRANGE range;
    range.diph.dwSize = sizeof(DIPROPRANGE);
    range.diph.dwHeaderSize = sizeof(DIPROPHEADER);
    range.diph.dwObj = object->dwType;
    range.diph.dwHow = DIPH_BYID;
    range.lMin = kAxisMin;
    range.lMax = kAxisMax;
    if (FAILED(devices->m_pController[n]->SetProperty(DIPROP_RANGE, &range.diph)))
        return DIENUM_STOP;
    return DIENUM_CONTINUE;
}

void PollInputDevices(InputDevices* devices)
{
    std::memset(devices->m_KeyState, 0, sizeof(devices->m_KeyState));
    if (devices->m_pKeyboard)
        ReadKeyboard(devices);

    for (int i = 0; i < devices->m_nControllerCount && i < kMaxControllers; ++i) {
        IDirectInputDevice8A* controller = devices->m_pController[i];
        if (!controller)
            break;
        if (FAILED(controller->Poll()))
            controller->Acquire();
        // Read aside so that a failed read leaves the last good state.
        DIJOYSTATE2 state;
        if (SUCCEEDED(controller->GetDeviceState(sizeof(DIJOYSTATE2), &state)))
            devices->m_ControllerState[i] = state;
    }
}

void ReleaseInputDevices(InputDevices* devices)
{
    if (devices->m_pKeyboard) {
        devices->m_pKeyboard->Unacquire();
        devices->m_pKeyboard->Release();
        devices->m_pKeyboard = nullptr;
    }
    for (int i = 0; i < devices->m_nControllerCount && i < kMaxControllers; ++i) {
        if (devices->m_pController[i]) {
            devices->m_pController[i]->Unacquire();
            devices->m_pController[i]->Release();
            devices->m_pController[i] = nullptr;
        }
    }
    devices->m_nControllerCount = 0;
    if (devices->m_pDirectInput) {
        devices->m_pDirectInput->Release();
        devices->m_pDirectInput = nullptr;
    }
}
