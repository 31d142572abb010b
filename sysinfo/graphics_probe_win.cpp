// The Direct3D 9 probe of adapter 0: capabilities, identification, shader
// versions, the device a window can get, texture formats, render textures.
#include "sysinfo/graphics_probe.h"

#include <cstdio>

#include "platform/platform_seam.h"
#include "platform/win_text.h"

namespace {

const char kErrorCaption[] = "ERROR";
const char kWarningCaption[] = "WARNING";
const char kNoDirect3DText[] =
    "Direct3D オブジェクトの作成に失敗しました。\n"
    "DirectX のバージョンが低い可能性があります。\n"
    "DirectX 9.0c 以降のバージョンに更新してください。";
const char kNoDesktopText[] = "デスクトップの情報取得に失敗";
const char kNoDeviceText[] = "Direct3D Device の作成に失敗しました";
const char kNoRenderTextureText[] =
    "現在の環境ではレンダーテクスチャが作成できないため\n"
    "レンダーテクスチャ未使用の環境に変更して起動します";

constexpr DWORD kVertexShader11 = 0xFFFE0101u;
constexpr DWORD kVertexShader20 = 0xFFFE0200u;
constexpr DWORD kPixelShader11 = 0xFFFF0101u;
constexpr DWORD kPixelShader20 = 0xFFFF0200u;

struct DeviceAttempt {
    D3DDEVTYPE type;
    uint32_t behaviorFlags;
};

// Chosen by the vertex shader version: hardware vertex processing first
// only when the adapter runs vertex shader 1.1.
const DeviceAttempt kHardwareFirstChain[] = {
    {D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING},
    {D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
    {D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
};
const DeviceAttempt kSoftwareFirstChain[] = {
    {D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
    {D3DDEVTYPE_REF, D3DCREATE_HARDWARE_VERTEXPROCESSING},
    {D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
};

const struct {
    D3DFORMAT format;
    int32_t GraphicsProbe::*flag;
} kTextureFormats[] = {
    {D3DFMT_R5G6B5, &GraphicsProbe::m_bR5G6B5},
    {D3DFMT_A1R5G5B5, &GraphicsProbe::m_bA1R5G5B5},
    {D3DFMT_A4R4G4B4, &GraphicsProbe::m_bA4R4G4B4},
    {D3DFMT_A8R8G8B8, &GraphicsProbe::m_bA8R8G8B8},
};

// "major.minor" from bits 8-15 and 0-7 of a version token.
void FormatShaderVersion(DWORD token, char (&text)[4])
{
    // Direct3D 9 versions have single digits; anything longer is cut.
    std::snprintf(text, sizeof(text), "%u.%u", static_cast<unsigned>((token >> 8) & 0xFFu),
                  static_cast<unsigned>(token & 0xFFu));
}

void CheckTextureFormats(GraphicsProbe* probe)
{
    const D3DFORMAT backBuffer = probe->m_PresentParams.BackBufferFormat;
    for (const auto& check : kTextureFormats)
        probe->*check.flag = probe->m_pD3D->CheckDeviceFormat(D3DADAPTER_DEFAULT,
                                                              probe->m_DeviceType, backBuffer, 0,
                                                              D3DRTYPE_TEXTURE, check.format) ==
                                     D3D_OK
                                 ? 1
                                 : 0;
}

}  // namespace

// The swap chain gets a hidden window of its own; the main window stays the
// focus window. Bound to the main window, the GL drawable of the swap chain
// leaves the dialog inside it without a drawable of its own under Wine, and
// the first scroll of the report box then waits forever.
HWND CreateProbeDeviceWindow()
{
    return CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

int32_t BuildPresentParameters(GraphicsProbe* probe, HWND window)
{
    D3DDISPLAYMODE mode;
    ZeroMemory(&mode, sizeof(mode));
    if (!probe->m_pD3D || FAILED(probe->m_pD3D->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode))) {
        ShowMessage(nullptr, kNoDesktopText, kErrorCaption);
        return 0;
    }
    D3DPRESENT_PARAMETERS& params = probe->m_PresentParams;
    ZeroMemory(&params, sizeof(params));
    params.BackBufferFormat = mode.Format;
    params.BackBufferCount = 1;
    params.SwapEffect = D3DSWAPEFFECT_FLIP;
    params.hDeviceWindow = window;
    params.Windowed = TRUE;
    params.EnableAutoDepthStencil = TRUE;
    params.AutoDepthStencilFormat = D3DFMT_D24S8;
    return 1;
}

HRESULT TryCreateDevice(GraphicsProbe* probe, HWND window)
{
    IDirect3D9* d3d = probe->m_pD3D;
    D3DPRESENT_PARAMETERS& params = probe->m_PresentParams;
    if (probe->m_MultiSampleType != 0) {
        // A refused sample count keeps what an earlier attempt's check wrote.
        DWORD qualityLevels = 0;
        if (SUCCEEDED(d3d->CheckDeviceMultiSampleType(
                D3DADAPTER_DEFAULT, probe->m_DeviceType, params.BackBufferFormat, TRUE,
                static_cast<D3DMULTISAMPLE_TYPE>(probe->m_MultiSampleType), &qualityLevels))) {
            params.MultiSampleType = static_cast<D3DMULTISAMPLE_TYPE>(probe->m_MultiSampleType);
            params.MultiSampleQuality = qualityLevels ? qualityLevels - 1 : 0;
            params.SwapEffect = D3DSWAPEFFECT_DISCARD;
        }
    }
    probe->m_pDevice = nullptr;
    HRESULT hr = d3d->CreateDevice(D3DADAPTER_DEFAULT, probe->m_DeviceType, window,
                                   probe->m_dwBehaviorFlags | D3DCREATE_MULTITHREADED, &params,
                                   &probe->m_pDevice);
    if (FAILED(hr))
        probe->m_pDevice = nullptr;
    return hr;
}

int32_t ProbeGraphics(GraphicsProbe* probe, HWND mainWnd, int32_t fsaaSamples)
{
    probe->m_pD3D = g_Platform.pDirect3DCreate9(D3D_SDK_VERSION);
    if (!probe->m_pD3D) {
        ShowMessage(mainWnd, kNoDirect3DText, kErrorCaption);
        return 0;
    }
    IDirect3D9* d3d = probe->m_pD3D;

    d3d->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &probe->m_Caps);
    const D3DCAPS9& caps = probe->m_Caps;
    probe->m_bShaderSkinning = caps.MaxVertexShaderConst >= 256 ? 1 : 0;
    probe->m_bSquareOnly = (caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) ? 1 : 0;
    probe->m_nMaxTextureWidth = static_cast<int16_t>(caps.MaxTextureWidth & 0xFFFFu);
    probe->m_nMaxTextureHeight = static_cast<int16_t>(caps.MaxTextureHeight & 0xFFFFu);

    d3d->GetAdapterIdentifier(D3DADAPTER_DEFAULT, 0, &probe->m_AdapterId);
    // The report prints both as texts, whatever the runtime left in them.
    probe->m_AdapterId.Description[sizeof(probe->m_AdapterId.Description) - 1] = '\0';
    probe->m_AdapterId.Driver[sizeof(probe->m_AdapterId.Driver) - 1] = '\0';

    probe->m_bVs11 = caps.VertexShaderVersion >= kVertexShader11 ? 1 : 0;
    probe->m_bVs20 = caps.VertexShaderVersion >= kVertexShader20 ? 1 : 0;
    probe->m_bPs11 = caps.PixelShaderVersion >= kPixelShader11 ? 1 : 0;
    probe->m_bPs20 = caps.PixelShaderVersion >= kPixelShader20 ? 1 : 0;
    FormatShaderVersion(caps.VertexShaderVersion, probe->m_szVsVersion);
    FormatShaderVersion(caps.PixelShaderVersion, probe->m_szPsVersion);
    probe->m_bPixelShader = probe->m_bPs11;

    probe->m_hDeviceWnd = CreateProbeDeviceWindow();
    if (!BuildPresentParameters(probe, probe->m_hDeviceWnd ? probe->m_hDeviceWnd : mainWnd))
        return 0;

    probe->m_MultiSampleType = fsaaSamples;
    probe->m_dwBehaviorFlags = D3DCREATE_HARDWARE_VERTEXPROCESSING;
    probe->m_DeviceType = D3DDEVTYPE_HAL;
    const DeviceAttempt* chain =
        caps.VertexShaderVersion >= kVertexShader11 ? kHardwareFirstChain : kSoftwareFirstChain;
    bool created = false;
    for (int attempt = 0; attempt < 3 && !created; ++attempt) {
        probe->m_DeviceType = chain[attempt].type;
        probe->m_dwBehaviorFlags = chain[attempt].behaviorFlags;
        created = SUCCEEDED(TryCreateDevice(probe, mainWnd));
    }
    if (!created) {
        ShowMessage(mainWnd, kNoDeviceText, kErrorCaption);
        return 0;
    }

    CheckTextureFormats(probe);

    probe->m_bNoRenderTexture = 0;
    const D3DFORMAT backBuffer = probe->m_PresentParams.BackBufferFormat;
    if (d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, probe->m_DeviceType, backBuffer,
                               D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE, backBuffer) != D3D_OK) {
        // Only reported: the stored "no render texture" option is left alone.
        ShowMessage(mainWnd, kNoRenderTextureText, kWarningCaption);
        probe->m_bNoRenderTexture = 1;
    }
    return 1;
}

void ReleaseGraphics(GraphicsProbe* probe)
{
    // The device always goes before the Direct3D object.
    if (probe->m_pDevice) {
        probe->m_pDevice->Release();
        probe->m_pDevice = nullptr;
    }
    if (probe->m_pD3D) {
        probe->m_pD3D->Release();
        probe->m_pD3D = nullptr;
    }
    if (probe->m_hDeviceWnd) {
        DestroyWindow(probe->m_hDeviceWnd);
        probe->m_hDeviceWnd = nullptr;
    }
}
