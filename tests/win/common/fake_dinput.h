// Fake DirectInput 8 objects implementing the real interfaces of dinput.h.
// Every step can be told to fail; every call is logged so that tests can
// check arguments, order and reference counts.
#pragma once

#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0800
#endif
#include <windows.h>
#include <dinput.h>

#include <deque>
#include <string>
#include <vector>

constexpr HRESULT kFakeFailure = E_FAIL;

// Which property a SetProperty call named.
enum class FakeProperty { BufferSize, AxisMode, Range, Other };

struct FakePropertyCall {
    FakeProperty m_Property;
    DWORD m_dwSize, m_dwHeaderSize, m_dwObj, m_dwHow;
    DWORD m_dwData;     // DIPROPDWORD value
    LONG m_lMin, m_lMax;  // DIPROPRANGE values
};

// One scripted answer of GetDeviceData: a keyboard event or an error code.
struct FakeRead {
    HRESULT m_hr;
    DWORD m_dwOfs;
    DWORD m_dwData;
};

class FakeDevice : public IDirectInputDevice8A {
public:
    explicit FakeDevice(const char* name);
    virtual ~FakeDevice() = default;

    // What the device answers; S_OK unless set.
    HRESULT m_hrCapabilities = S_OK;
    HRESULT m_hrEnumObjects = S_OK;
    HRESULT m_hrDataFormat = S_OK;
    HRESULT m_hrCooperativeLevel = S_OK;
    HRESULT m_hrBufferSize = S_OK;
    HRESULT m_hrAxisMode = S_OK;
    HRESULT m_hrAcquire = S_OK;
    HRESULT m_hrPoll = S_OK;
    HRESULT m_hrDeviceState = S_OK;
    int m_nRefuseRangeAtAxis = -1;        // index of the axis whose range is refused
    std::vector<DWORD> m_Axes = {0x00000102, 0x00000202, 0x00000302};  // dwType of each axis
    DIJOYSTATE2 m_State = {};             // what GetDeviceState gives (hats centred)
    std::deque<FakeRead> m_Reads;         // GetDeviceData answers; empty: no data

    // What the device saw.
    std::string m_Name;
    LONG m_nRefs = 1;
    int m_nReleases = 0;
    bool m_bAcquired = false;
    int m_nAcquireCalls = 0;
    int m_nUnacquireCalls = 0;
    int m_nPollCalls = 0;
    int m_nStateReads = 0;
    int m_nDataReads = 0;
    int m_nAxesVisited = 0;
    const DIDATAFORMAT* m_pDataFormat = nullptr;
    HWND m_hCooperativeWnd = nullptr;
    DWORD m_dwCooperativeFlags = 0;
    DWORD m_dwEnumObjectsFlags = 0;
    std::vector<FakePropertyCall> m_Properties;
    std::vector<std::string>* m_pLog = nullptr;  // shared call log, when set

    // IUnknown
    STDMETHOD(QueryInterface)(REFIID riid, void** out) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    // IDirectInputDeviceA
    STDMETHOD(GetCapabilities)(LPDIDEVCAPS caps) override;
    STDMETHOD(EnumObjects)(LPDIENUMDEVICEOBJECTSCALLBACKA callback, LPVOID ref, DWORD flags) override;
    STDMETHOD(GetProperty)(REFGUID prop, LPDIPROPHEADER header) override;
    STDMETHOD(SetProperty)(REFGUID prop, LPCDIPROPHEADER header) override;
    STDMETHOD(Acquire)() override;
    STDMETHOD(Unacquire)() override;
    STDMETHOD(GetDeviceState)(DWORD size, LPVOID data) override;
    STDMETHOD(GetDeviceData)(DWORD size, LPDIDEVICEOBJECTDATA data, LPDWORD inOut, DWORD flags) override;
    STDMETHOD(SetDataFormat)(LPCDIDATAFORMAT format) override;
    STDMETHOD(SetEventNotification)(HANDLE event) override;
    STDMETHOD(SetCooperativeLevel)(HWND wnd, DWORD flags) override;
    STDMETHOD(GetObjectInfo)(LPDIDEVICEOBJECTINSTANCEA info, DWORD obj, DWORD how) override;
    STDMETHOD(GetDeviceInfo)(LPDIDEVICEINSTANCEA info) override;
    STDMETHOD(RunControlPanel)(HWND owner, DWORD flags) override;
    STDMETHOD(Initialize)(HINSTANCE instance, DWORD version, REFGUID guid) override;
    // IDirectInputDevice2A
    STDMETHOD(CreateEffect)(REFGUID guid, LPCDIEFFECT effect, LPDIRECTINPUTEFFECT* out, LPUNKNOWN outer) override;
    STDMETHOD(EnumEffects)(LPDIENUMEFFECTSCALLBACKA callback, LPVOID ref, DWORD type) override;
    STDMETHOD(GetEffectInfo)(LPDIEFFECTINFOA info, REFGUID guid) override;
    STDMETHOD(GetForceFeedbackState)(LPDWORD out) override;
    STDMETHOD(SendForceFeedbackCommand)(DWORD flags) override;
    STDMETHOD(EnumCreatedEffectObjects)(LPDIENUMCREATEDEFFECTOBJECTSCALLBACK callback, LPVOID ref, DWORD flags) override;
    STDMETHOD(Escape)(LPDIEFFESCAPE escape) override;
    STDMETHOD(Poll)() override;
    STDMETHOD(SendDeviceData)(DWORD size, LPCDIDEVICEOBJECTDATA data, LPDWORD inOut, DWORD flags) override;
    // IDirectInputDevice7A
    STDMETHOD(EnumEffectsInFile)(LPCSTR file, LPDIENUMEFFECTSINFILECALLBACK callback, LPVOID ref, DWORD flags) override;
    STDMETHOD(WriteEffectToFile)(LPCSTR file, DWORD entries, LPDIFILEEFFECT effects, DWORD flags) override;
    // IDirectInputDevice8A
    STDMETHOD(BuildActionMap)(LPDIACTIONFORMATA format, LPCSTR user, DWORD flags) override;
    STDMETHOD(SetActionMap)(LPDIACTIONFORMATA format, LPCSTR user, DWORD flags) override;
    STDMETHOD(GetImageInfo)(LPDIDEVICEIMAGEINFOHEADERA header) override;

    // Queues a press (bit 7 set) or release of a key for GetDeviceData.
    void PushKey(DWORD scanCode, bool press = true);
    void PushError(HRESULT hr);

private:
    void Log(const char* what);
};

// An attached game controller as the fake enumeration reports it.
struct FakeController {
    FakeDevice* m_pDevice;
    GUID m_Guid;
    HRESULT m_hrCreate;
};

class FakeDirectInput : public IDirectInput8A {
public:
    FakeDirectInput();
    virtual ~FakeDirectInput() = default;

    HRESULT m_hrCreateKeyboard = S_OK;
    HRESULT m_hrEnumDevices = S_OK;
    FakeDevice m_Keyboard{"keyboard"};
    std::vector<FakeController> m_Controllers;

    LONG m_nRefs = 1;
    int m_nReleases = 0;
    int m_nCallbacks = 0;         // controller callbacks made by EnumDevices
    int m_nCreateCalls = 0;
    DWORD m_dwEnumClass = 0;
    DWORD m_dwEnumFlags = 0;
    LPVOID m_pEnumRef = reinterpret_cast<LPVOID>(1);
    std::vector<std::string> m_Log;

    // A controller whose creation answers hrCreate; the device is owned by the caller.
    void Attach(FakeDevice* device, HRESULT hrCreate = S_OK);

    STDMETHOD(QueryInterface)(REFIID riid, void** out) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(CreateDevice)(REFGUID guid, LPDIRECTINPUTDEVICE8A* out, LPUNKNOWN outer) override;
    STDMETHOD(EnumDevices)(DWORD type, LPDIENUMDEVICESCALLBACKA callback, LPVOID ref, DWORD flags) override;
    STDMETHOD(GetDeviceStatus)(REFGUID guid) override;
    STDMETHOD(RunControlPanel)(HWND owner, DWORD flags) override;
    STDMETHOD(Initialize)(HINSTANCE instance, DWORD version) override;
    STDMETHOD(FindDevice)(REFGUID guid, LPCSTR name, LPGUID instance) override;
    STDMETHOD(EnumDevicesBySemantics)(LPCSTR user, LPDIACTIONFORMATA format, LPDIENUMDEVICESBYSEMANTICSCBA callback, LPVOID ref, DWORD flags) override;
    STDMETHOD(ConfigureDevices)(LPDICONFIGUREDEVICESCALLBACK callback, LPDICONFIGUREDEVICESPARAMSA params, DWORD flags, LPVOID ref) override;
};

// While alive, DirectInput8Create of the platform seam gives this fake (or
// fails with m_hrCreate) and records its arguments.
class ScopedFakeDirectInput {
public:
    ScopedFakeDirectInput();
    ~ScopedFakeDirectInput();
    ScopedFakeDirectInput(const ScopedFakeDirectInput&) = delete;
    ScopedFakeDirectInput& operator=(const ScopedFakeDirectInput&) = delete;

    FakeDirectInput m_Input;
    HRESULT m_hrCreate = S_OK;
    int m_nCreateCalls = 0;
    HINSTANCE m_hCreateInstance = nullptr;
    DWORD m_dwCreateVersion = 0;
    bool m_bCreateAskedForA = false;
    LPUNKNOWN m_pCreateOuter = reinterpret_cast<LPUNKNOWN>(1);
};
