#include "driver_pads.h"

#define DIRECTINPUT_VERSION 0x0800
#include <windows.h>
#include <dinput.h>

#include <cstring>
#include <map>

namespace {

struct FoundController {
    std::wstring m_Name;
    GUID m_Instance;
};

struct OpenedController {
    GUID m_Instance;
    IDirectInputDevice8W* m_pDevice;
};

// By name; a pad that Wine's bus brought up again under another instance is
// opened again.
std::map<std::wstring, OpenedController> g_Opened;

IDirectInput8W* DirectInput()
{
    static IDirectInput8W* input = nullptr;
    if (!input &&
        FAILED(DirectInput8Create(GetModuleHandleW(nullptr), DIRECTINPUT_VERSION,
                                  IID_IDirectInput8W, reinterpret_cast<void**>(&input), nullptr)))
        input = nullptr;
    return input;
}

BOOL CALLBACK CollectController(LPCDIDEVICEINSTANCEW instance, LPVOID found)
{
    static_cast<std::vector<FoundController>*>(found)->push_back(
        {instance->tszProductName, instance->guidInstance});
    return DIENUM_CONTINUE;
}

// Set up as the tool sets up its controllers: the whole state, axes from
// -1000 to 1000.
void OpenController(const FoundController& controller)
{
    IDirectInputDevice8W* device = nullptr;
    auto opened = g_Opened.find(controller.m_Name);
    if (opened != g_Opened.end()) {
        if (IsEqualGUID(opened->second.m_Instance, controller.m_Instance))
            return;
        opened->second.m_pDevice->Release();
        g_Opened.erase(opened);
    }
    if (FAILED(DirectInput()->CreateDevice(controller.m_Instance, &device, nullptr)))
        return;
    DIPROPRANGE range;
    range.diph.dwSize = sizeof(range);
    range.diph.dwHeaderSize = sizeof(DIPROPHEADER);
    range.diph.dwObj = 0;
    range.diph.dwHow = DIPH_DEVICE;
    range.lMin = -1000;
    range.lMax = 1000;
    if (FAILED(device->SetDataFormat(&c_dfDIJoystick2)) ||
        FAILED(device->SetProperty(DIPROP_RANGE, &range.diph)) || FAILED(device->Acquire())) {
        device->Release();
        return;
    }
    g_Opened[controller.m_Name] = {controller.m_Instance, device};
}

}  // namespace

bool ListGameControllers(std::vector<std::wstring>* names)
{
    IDirectInput8W* input = DirectInput();
    std::vector<FoundController> found;
    names->clear();
    // Asked again every time: a pad plugged in or pulled out shows at once.
    if (!input || FAILED(input->EnumDevices(DI8DEVCLASS_GAMECTRL, CollectController, &found,
                                            DIEDFL_ATTACHEDONLY)))
        return false;
    for (const FoundController& controller : found) {
        OpenController(controller);
        names->push_back(controller.m_Name);
    }
    return true;
}

bool ReadGameController(const std::wstring& name, PadReading* reading)
{
    auto opened = g_Opened.find(name);
    if (opened == g_Opened.end())
        return false;
    IDirectInputDevice8W* device = opened->second.m_pDevice;
    DIJOYSTATE2 state;
    // No second Acquire: a device lost under the driver is a fault to see.
    if (FAILED(device->Poll()) || FAILED(device->GetDeviceState(sizeof(state), &state)))
        return false;
    reading->m_lX = state.lX;
    reading->m_lY = state.lY;
    reading->m_lZ = state.lZ;
    reading->m_dwPov = state.rgdwPOV[0];
    std::memcpy(reading->m_Buttons, state.rgbButtons, sizeof(reading->m_Buttons));
    return true;
}
