#include "common/fake_dinput.h"

#include <cstdint>
#include <cstring>

#include "platform/platform_seam.h"

namespace {
FakeProperty PropertyOf(REFGUID prop)
{
    // The predefined properties are small integers cast to a GUID reference.
    switch (reinterpret_cast<uintptr_t>(&prop)) {
    case 1: return FakeProperty::BufferSize;
    case 2: return FakeProperty::AxisMode;
    case 4: return FakeProperty::Range;
    default: return FakeProperty::Other;
    }
}

GUID ControllerGuid(size_t index)
{
    GUID guid = {0x6a0e7d00u + static_cast<unsigned>(index), 0x1234, 0x5678,
                 {0, 1, 2, 3, 4, 5, 6, static_cast<unsigned char>(index)}};
    return guid;
}

ScopedFakeDirectInput* g_scope = nullptr;

HRESULT WINAPI FakeDirectInput8Create(HINSTANCE instance, DWORD version, REFIID iid,
                                      LPVOID* out, LPUNKNOWN outer)
{
    ScopedFakeDirectInput* scope = g_scope;
    ++scope->m_nCreateCalls;
    scope->m_hCreateInstance = instance;
    scope->m_dwCreateVersion = version;
    scope->m_bCreateAskedForA = IsEqualGUID(iid, IID_IDirectInput8A) != 0;
    scope->m_pCreateOuter = outer;
    if (FAILED(scope->m_hrCreate)) {
        *out = nullptr;
        return scope->m_hrCreate;
    }
    *out = static_cast<IDirectInput8A*>(&scope->m_Input);
    return S_OK;
}
}

// ---------------------------------------------------------------- device

FakeDevice::FakeDevice(const char* name) : m_Name(name)
{
    // A resting controller: hats centred.
    for (DWORD& pov : m_State.rgdwPOV)
        pov = 0xFFFFFFFF;
}

void FakeDevice::Log(const char* what)
{
    if (m_pLog)
        m_pLog->push_back(m_Name + "." + what);
}

void FakeDevice::PushKey(DWORD scanCode, bool press)
{
    m_Reads.push_back({S_OK, scanCode, press ? 0x80u : 0x00u});
}

void FakeDevice::PushError(HRESULT hr) { m_Reads.push_back({hr, 0, 0}); }

HRESULT FakeDevice::QueryInterface(REFIID, void** out)
{
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeDevice::AddRef() { return ++m_nRefs; }

ULONG FakeDevice::Release()
{
    ++m_nReleases;
    Log("Release");
    return --m_nRefs;
}

HRESULT FakeDevice::GetCapabilities(LPDIDEVCAPS caps)
{
    Log("GetCapabilities");
    if (!caps || caps->dwSize != sizeof(DIDEVCAPS))
        return DIERR_INVALIDPARAM;
    if (FAILED(m_hrCapabilities))
        return m_hrCapabilities;
    caps->dwAxes = static_cast<DWORD>(m_Axes.size());
    caps->dwButtons = 12;
    caps->dwPOVs = 1;
    return S_OK;
}

HRESULT FakeDevice::EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKA callback, LPVOID ref, DWORD flags)
{
    Log("EnumObjects");
    m_dwEnumObjectsFlags = flags;
    if (FAILED(m_hrEnumObjects))
        return m_hrEnumObjects;
    for (DWORD type : m_Axes) {
        DIDEVICEOBJECTINSTANCEA object = {};
        object.dwSize = sizeof(object);
        object.guidType = GUID_XAxis;
        object.dwType = type;
        ++m_nAxesVisited;
        if (callback(&object, ref) != DIENUM_CONTINUE)
            break;
    }
    return S_OK;
}

HRESULT FakeDevice::GetProperty(REFGUID, LPDIPROPHEADER) { return E_NOTIMPL; }

HRESULT FakeDevice::SetProperty(REFGUID prop, LPCDIPROPHEADER header)
{
    FakePropertyCall call = {};
    call.m_Property = PropertyOf(prop);
    call.m_dwSize = header->dwSize;
    call.m_dwHeaderSize = header->dwHeaderSize;
    call.m_dwObj = header->dwObj;
    call.m_dwHow = header->dwHow;
    if (call.m_Property == FakeProperty::Range && header->dwSize == sizeof(DIPROPRANGE)) {
        const DIPROPRANGE* range = reinterpret_cast<const DIPROPRANGE*>(header);
        call.m_lMin = range->lMin;
        call.m_lMax = range->lMax;
    } else if (header->dwSize == sizeof(DIPROPDWORD)) {
        call.m_dwData = reinterpret_cast<const DIPROPDWORD*>(header)->dwData;
    }
    m_Properties.push_back(call);
    switch (call.m_Property) {
    case FakeProperty::BufferSize:
        Log("SetProperty(BufferSize)");
        return m_hrBufferSize;
    case FakeProperty::AxisMode:
        Log("SetProperty(AxisMode)");
        return m_hrAxisMode;
    case FakeProperty::Range: {
        Log("SetProperty(Range)");
        int rangeCalls = 0;
        for (const FakePropertyCall& c : m_Properties)
            rangeCalls += c.m_Property == FakeProperty::Range;
        return rangeCalls - 1 == m_nRefuseRangeAtAxis ? DIERR_INVALIDPARAM : S_OK;
    }
    default:
        return DIERR_UNSUPPORTED;
    }
}

HRESULT FakeDevice::Acquire()
{
    Log("Acquire");
    ++m_nAcquireCalls;
    if (FAILED(m_hrAcquire))
        return m_hrAcquire;
    // Like the real device: no acquisition before the data format is set.
    if (!m_pDataFormat)
        return DIERR_INVALIDPARAM;
    m_bAcquired = true;
    return S_OK;
}

HRESULT FakeDevice::Unacquire()
{
    Log("Unacquire");
    ++m_nUnacquireCalls;
    m_bAcquired = false;
    return S_OK;
}

HRESULT FakeDevice::GetDeviceState(DWORD size, LPVOID data)
{
    ++m_nStateReads;
    if (size != sizeof(DIJOYSTATE2))
        return DIERR_INVALIDPARAM;
    if (!m_bAcquired)
        return DIERR_NOTACQUIRED;
    if (FAILED(m_hrDeviceState)) {
        // A failing read may leave rubbish behind.
        std::memset(data, 0xCD, size);
        return m_hrDeviceState;
    }
    std::memcpy(data, &m_State, sizeof(m_State));
    return S_OK;
}

HRESULT FakeDevice::GetDeviceData(DWORD size, LPDIDEVICEOBJECTDATA data, LPDWORD inOut, DWORD flags)
{
    ++m_nDataReads;
    if (size != sizeof(DIDEVICEOBJECTDATA) || !inOut || flags != 0)
        return DIERR_INVALIDPARAM;
    if (!m_bAcquired) {
        *inOut = 0;
        return DIERR_NOTACQUIRED;
    }
    if (m_Reads.empty() || *inOut == 0) {
        *inOut = 0;
        return S_OK;
    }
    FakeRead read = m_Reads.front();
    m_Reads.pop_front();
    if (FAILED(read.m_hr)) {
        if (read.m_hr == DIERR_INPUTLOST)
            m_bAcquired = false;
        *inOut = 0;
        return read.m_hr;
    }
    std::memset(data, 0, sizeof(*data));
    data->dwOfs = read.m_dwOfs;
    data->dwData = read.m_dwData;
    *inOut = 1;
    return S_OK;
}

HRESULT FakeDevice::SetDataFormat(LPCDIDATAFORMAT format)
{
    Log("SetDataFormat");
    if (FAILED(m_hrDataFormat))
        return m_hrDataFormat;
    m_pDataFormat = format;
    return S_OK;
}

HRESULT FakeDevice::SetEventNotification(HANDLE) { return E_NOTIMPL; }

HRESULT FakeDevice::SetCooperativeLevel(HWND wnd, DWORD flags)
{
    Log("SetCooperativeLevel");
    m_hCooperativeWnd = wnd;
    m_dwCooperativeFlags = flags;
    return m_hrCooperativeLevel;
}

HRESULT FakeDevice::Poll()
{
    ++m_nPollCalls;
    if (FAILED(m_hrPoll))
        return m_hrPoll;
    return m_bAcquired ? S_OK : DIERR_NOTACQUIRED;
}

HRESULT FakeDevice::GetObjectInfo(LPDIDEVICEOBJECTINSTANCEA, DWORD, DWORD) { return E_NOTIMPL; }
HRESULT FakeDevice::GetDeviceInfo(LPDIDEVICEINSTANCEA) { return E_NOTIMPL; }
HRESULT FakeDevice::RunControlPanel(HWND, DWORD) { return E_NOTIMPL; }
HRESULT FakeDevice::Initialize(HINSTANCE, DWORD, REFGUID) { return E_NOTIMPL; }
HRESULT FakeDevice::CreateEffect(REFGUID, LPCDIEFFECT, LPDIRECTINPUTEFFECT* out, LPUNKNOWN)
{
    if (out)
        *out = nullptr;
    return E_NOTIMPL;
}
HRESULT FakeDevice::EnumEffects(LPDIENUMEFFECTSCALLBACKA, LPVOID, DWORD) { return E_NOTIMPL; }
HRESULT FakeDevice::GetEffectInfo(LPDIEFFECTINFOA, REFGUID) { return E_NOTIMPL; }
HRESULT FakeDevice::GetForceFeedbackState(LPDWORD) { return E_NOTIMPL; }
HRESULT FakeDevice::SendForceFeedbackCommand(DWORD) { return E_NOTIMPL; }
HRESULT FakeDevice::EnumCreatedEffectObjects(LPDIENUMCREATEDEFFECTOBJECTSCALLBACK, LPVOID, DWORD) { return E_NOTIMPL; }
HRESULT FakeDevice::Escape(LPDIEFFESCAPE) { return E_NOTIMPL; }
HRESULT FakeDevice::SendDeviceData(DWORD, LPCDIDEVICEOBJECTDATA, LPDWORD, DWORD) { return E_NOTIMPL; }
HRESULT FakeDevice::EnumEffectsInFile(LPCSTR, LPDIENUMEFFECTSINFILECALLBACK, LPVOID, DWORD) { return E_NOTIMPL; }
HRESULT FakeDevice::WriteEffectToFile(LPCSTR, DWORD, LPDIFILEEFFECT, DWORD) { return E_NOTIMPL; }
HRESULT FakeDevice::BuildActionMap(LPDIACTIONFORMATA, LPCSTR, DWORD) { return E_NOTIMPL; }
HRESULT FakeDevice::SetActionMap(LPDIACTIONFORMATA, LPCSTR, DWORD) { return E_NOTIMPL; }
HRESULT FakeDevice::GetImageInfo(LPDIDEVICEIMAGEINFOHEADERA) { return E_NOTIMPL; }

// ---------------------------------------------------------------- DirectInput

FakeDirectInput::FakeDirectInput() { m_Keyboard.m_pLog = &m_Log; }

void FakeDirectInput::Attach(FakeDevice* device, HRESULT hrCreate)
{
    device->m_pLog = &m_Log;
    m_Controllers.push_back({device, ControllerGuid(m_Controllers.size()), hrCreate});
}

HRESULT FakeDirectInput::QueryInterface(REFIID, void** out)
{
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeDirectInput::AddRef() { return ++m_nRefs; }

ULONG FakeDirectInput::Release()
{
    ++m_nReleases;
    m_Log.push_back("input.Release");
    return --m_nRefs;
}

HRESULT FakeDirectInput::CreateDevice(REFGUID guid, LPDIRECTINPUTDEVICE8A* out, LPUNKNOWN outer)
{
    ++m_nCreateCalls;
    *out = nullptr;
    if (outer)
        return DIERR_INVALIDPARAM;
    if (IsEqualGUID(guid, GUID_SysKeyboard)) {
        m_Log.push_back("input.CreateDevice(keyboard)");
        if (FAILED(m_hrCreateKeyboard))
            return m_hrCreateKeyboard;
        *out = &m_Keyboard;
        return S_OK;
    }
    for (FakeController& controller : m_Controllers) {
        if (IsEqualGUID(guid, controller.m_Guid)) {
            m_Log.push_back("input.CreateDevice(" + controller.m_pDevice->m_Name + ")");
            if (FAILED(controller.m_hrCreate))
                return controller.m_hrCreate;
            *out = controller.m_pDevice;
            return S_OK;
        }
    }
    return DIERR_DEVICENOTREG;
}

HRESULT FakeDirectInput::EnumDevices(DWORD type, LPDIENUMDEVICESCALLBACKA callback, LPVOID ref,
                                     DWORD flags)
{
    m_Log.push_back("input.EnumDevices");
    m_dwEnumClass = type;
    m_dwEnumFlags = flags;
    m_pEnumRef = ref;
    if (FAILED(m_hrEnumDevices))
        return m_hrEnumDevices;
    for (const FakeController& controller : m_Controllers) {
        DIDEVICEINSTANCEA instance = {};
        instance.dwSize = sizeof(instance);
        instance.guidInstance = controller.m_Guid;
        instance.dwDevType = DI8DEVTYPE_GAMEPAD;
        ++m_nCallbacks;
        if (callback(&instance, ref) != DIENUM_CONTINUE)
            break;
    }
    return S_OK;
}

HRESULT FakeDirectInput::GetDeviceStatus(REFGUID) { return E_NOTIMPL; }
HRESULT FakeDirectInput::RunControlPanel(HWND, DWORD) { return E_NOTIMPL; }
HRESULT FakeDirectInput::Initialize(HINSTANCE, DWORD) { return E_NOTIMPL; }
HRESULT FakeDirectInput::FindDevice(REFGUID, LPCSTR, LPGUID) { return E_NOTIMPL; }
HRESULT FakeDirectInput::EnumDevicesBySemantics(LPCSTR, LPDIACTIONFORMATA, LPDIENUMDEVICESBYSEMANTICSCBA, LPVOID, DWORD) { return E_NOTIMPL; }
HRESULT FakeDirectInput::ConfigureDevices(LPDICONFIGUREDEVICESCALLBACK, LPDICONFIGUREDEVICESPARAMSA, DWORD, LPVOID) { return E_NOTIMPL; }

// ---------------------------------------------------------------- seam

ScopedFakeDirectInput::ScopedFakeDirectInput()
{
    g_scope = this;
    g_Platform.pDirectInput8Create = FakeDirectInput8Create;
}

ScopedFakeDirectInput::~ScopedFakeDirectInput()
{
    g_Platform.pDirectInput8Create = RealPlatformApi().pDirectInput8Create;
    g_scope = nullptr;
}
