// The one seam between the tool and the platform services that tests replace:
// COM initialisation, the three COM factories, the message box and the shell. The program always
// runs with the real functions (g_Platform starts filled with them); the win
// tests swap in fakes and put the real ones back afterwards.
#pragma once

#include <windows.h>
#include <d3d9.h>
#include <objbase.h>

struct PlatformApi {
    IDirect3D9* (WINAPI* pDirect3DCreate9)(UINT sdkVersion);
    HRESULT (WINAPI* pDirectInput8Create)(HINSTANCE instance, DWORD version, REFIID iid,
                                          LPVOID* out, LPUNKNOWN outer);
    HRESULT (WINAPI* pCoInitialize)(LPVOID reserved);
    HRESULT (WINAPI* pCoCreateInstance)(REFCLSID clsid, LPUNKNOWN outer, DWORD context,
                                        REFIID iid, LPVOID* out);
    int (WINAPI* pMessageBoxW)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
    HINSTANCE (WINAPI* pShellExecuteW)(HWND owner, LPCWSTR verb, LPCWSTR file,
                                       LPCWSTR params, LPCWSTR dir, INT show);
};

extern PlatformApi g_Platform;
// The real functions, for tests that restore them.
PlatformApi RealPlatformApi();
