// A Direct3D 9 object and device that implement the real interfaces, answer
// from a configurable adapter and record what the probe asked. They are owned
// by the test: Release only counts, so the test can look at them afterwards.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/d3d9_device_base.h"

// Releases of every fake, in order ("device", "d3d").
std::vector<std::string>& FakeD3DReleaseLog();

class FakeDevice9 : public Direct3DDevice9Base {
public:
    LONG m_nRefs = 0;
    UINT m_nAvailableTextureMem = 0;

    STDMETHOD(QueryInterface)(REFIID, void** out) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD_(UINT, GetAvailableTextureMem)() override;
};

struct CreateDeviceCall {
    UINT adapter;
    D3DDEVTYPE type;
    HWND focus;
    DWORD behaviorFlags;
    D3DPRESENT_PARAMETERS params;
};

struct MultiSampleCall {
    D3DDEVTYPE type;
    D3DFORMAT format;
    BOOL windowed;
    D3DMULTISAMPLE_TYPE samples;
};

struct FormatCall {
    D3DDEVTYPE type;
    D3DFORMAT adapterFormat;
    DWORD usage;
    D3DRESOURCETYPE resource;
    D3DFORMAT format;
};

struct FakeAdapter {
    D3DCAPS9 caps = {};
    D3DADAPTER_IDENTIFIER9 identifier = {};
    HRESULT displayModeResult = D3D_OK;
    D3DFORMAT displayFormat = D3DFMT_X8R8G8B8;
    // Device type and behaviour flags (without the multithreaded bit) that
    // CreateDevice accepts; everything else fails.
    std::set<std::pair<D3DDEVTYPE, DWORD>> acceptedDevices;
    // Quality levels per device type; a type missing here refuses the sample count.
    std::map<D3DDEVTYPE, DWORD> multiSampleQuality;
    // Result of a plain texture check per format; missing formats answer D3DERR_NOTAVAILABLE.
    std::map<D3DFORMAT, HRESULT> textureFormats;
    HRESULT renderTargetResult = D3D_OK;
};

// An adapter that offers everything: shader 3.0/2.0, 256 constants, every
// device attempt, every texture format, render-target textures.
FakeAdapter CapableAdapter();

class FakeDirect3D9 : public IDirect3D9 {
public:
    explicit FakeDirect3D9(const FakeAdapter& adapter) : m_Adapter(adapter) {}

    FakeAdapter m_Adapter;
    FakeDevice9 m_Device;
    LONG m_nRefs = 0;
    std::vector<CreateDeviceCall> m_CreateCalls;
    std::vector<MultiSampleCall> m_MultiSampleCalls;
    std::vector<FormatCall> m_FormatCalls;
    int m_nCapsCalls = 0;

    STDMETHOD(QueryInterface)(REFIID, void** out) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(RegisterSoftwareDevice)(void*) override { return E_NOTIMPL; }
    STDMETHOD_(UINT, GetAdapterCount)() override { return 1; }
    STDMETHOD(GetAdapterIdentifier)(UINT adapter, DWORD flags, D3DADAPTER_IDENTIFIER9* id) override;
    STDMETHOD_(UINT, GetAdapterModeCount)(UINT, D3DFORMAT) override { return 0; }
    STDMETHOD(EnumAdapterModes)(UINT, D3DFORMAT, UINT, D3DDISPLAYMODE*) override { return E_NOTIMPL; }
    STDMETHOD(GetAdapterDisplayMode)(UINT adapter, D3DDISPLAYMODE* mode) override;
    STDMETHOD(CheckDeviceType)(UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT, WINBOOL) override { return E_NOTIMPL; }
    STDMETHOD(CheckDeviceFormat)(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, DWORD usage,
                                 D3DRESOURCETYPE resource, D3DFORMAT format) override;
    STDMETHOD(CheckDeviceMultiSampleType)(UINT adapter, D3DDEVTYPE type, D3DFORMAT format,
                                          WINBOOL windowed, D3DMULTISAMPLE_TYPE samples,
                                          DWORD* qualityLevels) override;
    STDMETHOD(CheckDepthStencilMatch)(UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT, D3DFORMAT) override { return E_NOTIMPL; }
    STDMETHOD(CheckDeviceFormatConversion)(UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT) override { return E_NOTIMPL; }
    STDMETHOD(GetDeviceCaps)(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) override;
    STDMETHOD_(HMONITOR, GetAdapterMonitor)(UINT) override { return nullptr; }
    STDMETHOD(CreateDevice)(UINT adapter, D3DDEVTYPE type, HWND focus, DWORD behaviorFlags,
                            D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device) override;
};

// While alive, Direct3DCreate9 of the tool hands out the given fake (or null).
class ScopedDirect3DCreate {
public:
    explicit ScopedDirect3DCreate(FakeDirect3D9* fake);
    ~ScopedDirect3DCreate();
    ScopedDirect3DCreate(const ScopedDirect3DCreate&) = delete;
    ScopedDirect3DCreate& operator=(const ScopedDirect3DCreate&) = delete;
    // SDK versions asked for, one per call.
    const std::vector<UINT>& SdkVersions() const;
};
