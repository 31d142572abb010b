// The game controllers as DirectInput shows them to the driver's own process:
// the same Wine, so the same devices, in the same order, as the tool gets.
#include "tests/e2e/driver/driver.h"

#define DIRECTINPUT_VERSION 0x0800
#include <dinput.h>

#include <map>
#include <set>

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
    DIPROPRANGE range = {{sizeof(range), sizeof(DIPROPHEADER), 0, DIPH_DEVICE}, -1000, 1000};
    if (FAILED(device->SetDataFormat(&c_dfDIJoystick2)) ||
        FAILED(device->SetProperty(DIPROP_RANGE, &range.diph)) || FAILED(device->Acquire())) {
        device->Release();
        return;
    }
    g_Opened[controller.m_Name] = {controller.m_Instance, device};
}

// The product names of the attached game controllers, in DirectInput's order.
// Each one listed is opened and kept open for the rest of the driver's run:
// a device reads only the reports that come after it was opened. False when
// DirectInput cannot be asked.
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

// What the controller named NAME reads now, the axes in the tool's range.
// False when it cannot be read.
bool ReadGameController(const std::wstring& name, DIJOYSTATE2* state)
{
    auto opened = g_Opened.find(name);
    if (opened == g_Opened.end())
        return false;
    IDirectInputDevice8W* device = opened->second.m_pDevice;
    // No second Acquire: a device lost under the driver is a fault to see.
    return SUCCEEDED(device->Poll()) && SUCCEEDED(device->GetDeviceState(sizeof(*state), state));
}

int Pads(const Args& args)
{
    const DWORD start = GetTickCount();
    std::vector<std::wstring> names;
    // While Wine's bus is still bringing the pads up, DirectInput can list
    // the right number with some pads twice and others missing: the list
    // counts only once every name in it is another pad's.
    auto settled = [&] {
        std::set<std::wstring> distinct(names.begin(), names.end());
        return (int)names.size() == args.Int(1) && distinct.size() == names.size();
    };
    bool listed;
    while (!(listed = ListGameControllers(&names) && settled()) &&
           GetTickCount() - start <= args.Ms(0))
        Sleep(20);
    for (const std::wstring& name : names)
        Print(name);
    return listed ? 0 : Fail(L"not so many game controllers, each once, when the time was up");
}

int PadWait(const Args& args)
{
    const bool rest = args.words[1] == L"rest";
    const int button = args.Int(1);
    const DWORD start = GetTickCount();
    for (size_t i = 2; i < args.size();) {
        DIJOYSTATE2 r;
        if (!ReadGameController(args.words[i], &r))
            return Fail(L"no such game controller listed before, or it cannot be read");
        bool anyDown = false;
        for (unsigned char b : r.rgbButtons)
            anyDown = anyDown || (b & 0x80);
        if (rest ? !anyDown && !r.lX && !r.lY && !r.lZ && r.rgdwPOV[0] == 0xFFFFFFFF
                 : button >= 0 && button < 128 && (r.rgbButtons[button] & 0x80)) {
            ++i;
            continue;
        }
        if (GetTickCount() - start > args.Ms(0)) {
            Print(args.words[i] + L": x " + std::to_wstring(r.lX) + L" y " +
                  std::to_wstring(r.lY) + L" z " + std::to_wstring(r.lZ) + L" pov " +
                  std::to_wstring(r.rgdwPOV[0]));
            return Fail(L"not so when the time was up");
        }
        Sleep(2);
    }
    return 0;
}

const Command kCommands[] = {
    {L"pads", L"SECONDS COUNT", L"wait until DirectInput lists COUNT attached game controllers, "
     L"no name twice; print their names in its order (the order in which the tool numbers "
     L"them). Each one is kept open: later reads see what came after this", Pads},
    {L"padwait", L"SECONDS rest|BUTTON NAME...", L"wait until each named controller, as listed "
     L"before in the same driver, is at rest (no button down, stick and Z in the middle, hat "
     L"centred) or has BUTTON down", PadWait},
};

} // namespace

const CommandGroup kPadCommands = Group(L"game controllers (the guest tests)", kCommands);
