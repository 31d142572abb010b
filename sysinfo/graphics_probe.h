// What adapter 0 offers under Direct3D 9, probed once at start-up; the
// Direct3D object and the device are kept until shut-down.
#pragma once

#include <windows.h>
#include <d3d9.h>
#include <cstdint>

struct GraphicsProbe {
    IDirect3D9*            m_pD3D;
    IDirect3DDevice9*      m_pDevice;
    D3DPRESENT_PARAMETERS  m_PresentParams;
    D3DCAPS9               m_Caps;
    int32_t                m_bShaderSkinning;
    int32_t                m_bPixelShader;
    int32_t                m_bNoRenderTexture;
    D3DADAPTER_IDENTIFIER9 m_AdapterId;
    uint32_t               m_dwBehaviorFlags;
    D3DDEVTYPE             m_DeviceType;
    int32_t                m_MultiSampleType;
    char                   m_szVsVersion[4];
    char                   m_szPsVersion[4];
    int32_t                m_bVs11;
    int32_t                m_bVs20;
    int32_t                m_bPs11;
    int32_t                m_bPs20;
    int32_t                m_bR5G6B5;
    int32_t                m_bA1R5G5B5;
    int32_t                m_bA4R4G4B4;
    int32_t                m_bA8R8G8B8;
    int16_t                m_nMaxTextureWidth;
    int16_t                m_nMaxTextureHeight;
    int32_t                m_bSquareOnly;
    HWND                   m_hDeviceWnd;   // hidden window the swap chain is bound to
};

// 1 when a device was created (with or without the render-texture warning).
int32_t ProbeGraphics(GraphicsProbe* probe, HWND mainWnd, int32_t fsaaSamples);
// Device first, then the Direct3D object; null pointers are skipped.
void ReleaseGraphics(GraphicsProbe* probe);

// Inner steps of the probe: the windowed parameters from the desktop mode
// (1, or 0 after the message), and one creation attempt with the device type
// and behaviour flags in the record.
int32_t BuildPresentParameters(GraphicsProbe* probe, HWND window);
HRESULT TryCreateDevice(GraphicsProbe* probe, HWND window);
