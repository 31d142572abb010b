#include "common/fake_d3d9.h"

#include "platform/platform_seam.h"

#include <cstring>

namespace {
std::vector<std::string> g_releaseLog;
FakeDirect3D9* g_nextDirect3D = nullptr;
std::vector<UINT> g_sdkVersions;

IDirect3D9* WINAPI CreateFakeDirect3D(UINT sdkVersion)
{
    g_sdkVersions.push_back(sdkVersion);
    if (g_nextDirect3D)
        g_nextDirect3D->AddRef();
    return g_nextDirect3D;
}
}  // namespace

std::vector<std::string>& FakeD3DReleaseLog() { return g_releaseLog; }

HRESULT FakeDevice9::QueryInterface(REFIID, void** out)
{
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeDevice9::AddRef() { return ++m_nRefs; }

ULONG FakeDevice9::Release()
{
    g_releaseLog.push_back("device");
    return --m_nRefs;
}

UINT FakeDevice9::GetAvailableTextureMem() { return m_nAvailableTextureMem; }

HRESULT FakeDirect3D9::QueryInterface(REFIID, void** out)
{
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeDirect3D9::AddRef() { return ++m_nRefs; }

ULONG FakeDirect3D9::Release()
{
    g_releaseLog.push_back("d3d");
    return --m_nRefs;
}

HRESULT FakeDirect3D9::GetAdapterIdentifier(UINT adapter, DWORD flags, D3DADAPTER_IDENTIFIER9* id)
{
    if (adapter != 0 || flags != 0)
        return D3DERR_INVALIDCALL;
    *id = m_Adapter.identifier;
    return D3D_OK;
}

HRESULT FakeDirect3D9::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode)
{
    if (adapter != 0 || FAILED(m_Adapter.displayModeResult))
        return adapter != 0 ? D3DERR_INVALIDCALL : m_Adapter.displayModeResult;
    mode->Width = 1024;
    mode->Height = 768;
    mode->RefreshRate = 60;
    mode->Format = m_Adapter.displayFormat;
    return D3D_OK;
}

HRESULT FakeDirect3D9::CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                         DWORD usage, D3DRESOURCETYPE resource, D3DFORMAT format)
{
    m_FormatCalls.push_back({type, adapterFormat, usage, resource, format});
    if (adapter != 0)
        return D3DERR_INVALIDCALL;
    if (usage == D3DUSAGE_RENDERTARGET)
        return m_Adapter.renderTargetResult;
    auto it = m_Adapter.textureFormats.find(format);
    return it == m_Adapter.textureFormats.end() ? D3DERR_NOTAVAILABLE : it->second;
}

HRESULT FakeDirect3D9::CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE type, D3DFORMAT format,
                                                  WINBOOL windowed, D3DMULTISAMPLE_TYPE samples,
                                                  DWORD* qualityLevels)
{
    m_MultiSampleCalls.push_back({type, format, windowed, samples});
    auto it = m_Adapter.multiSampleQuality.find(type);
    if (adapter != 0 || it == m_Adapter.multiSampleQuality.end())
        return D3DERR_NOTAVAILABLE;
    if (qualityLevels)
        *qualityLevels = it->second;
    return D3D_OK;
}

HRESULT FakeDirect3D9::GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps)
{
    ++m_nCapsCalls;
    if (adapter != 0 || type != D3DDEVTYPE_HAL)
        return D3DERR_INVALIDCALL;
    *caps = m_Adapter.caps;
    return D3D_OK;
}

HRESULT FakeDirect3D9::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focus, DWORD behaviorFlags,
                                    D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device)
{
    m_CreateCalls.push_back({adapter, type, focus, behaviorFlags, *params});
    *device = nullptr;
    const DWORD processing = behaviorFlags & ~static_cast<DWORD>(D3DCREATE_MULTITHREADED);
    if (adapter != 0 || !m_Adapter.acceptedDevices.count({type, processing}))
        return D3DERR_NOTAVAILABLE;
    m_Device.AddRef();
    *device = &m_Device;
    return D3D_OK;
}

ScopedDirect3DCreate::ScopedDirect3DCreate(FakeDirect3D9* fake)
{
    g_nextDirect3D = fake;
    g_sdkVersions.clear();
    g_releaseLog.clear();
    g_Platform.pDirect3DCreate9 = CreateFakeDirect3D;
}

ScopedDirect3DCreate::~ScopedDirect3DCreate()
{
    g_Platform.pDirect3DCreate9 = RealPlatformApi().pDirect3DCreate9;
    g_nextDirect3D = nullptr;
}

const std::vector<UINT>& ScopedDirect3DCreate::SdkVersions() const { return g_sdkVersions; }

FakeAdapter CapableAdapter()
{
    FakeAdapter a;
    a.caps.VertexShaderVersion = 0xFFFE0300u;
    a.caps.PixelShaderVersion = 0xFFFF0200u;
    a.caps.MaxVertexShaderConst = 256;
    a.caps.MaxTextureWidth = 16384;
    a.caps.MaxTextureHeight = 8192;
    std::strcpy(a.identifier.Description, "Crafted GeForce 9");
    std::strcpy(a.identifier.Driver, "crafted.dll");
    const DWORD hw = D3DCREATE_HARDWARE_VERTEXPROCESSING;
    const DWORD sw = D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    a.acceptedDevices = {{D3DDEVTYPE_HAL, hw}, {D3DDEVTYPE_HAL, sw},
                         {D3DDEVTYPE_REF, hw}, {D3DDEVTYPE_REF, sw}};
    for (D3DFORMAT f : {D3DFMT_R5G6B5, D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4, D3DFMT_A8R8G8B8})
        a.textureFormats[f] = D3D_OK;
    return a;
}
