// The one seam between the tool and the platform services that tests replace:
// COM initialisation, the three COM factories, the message box, the shell,
// the code-page conversion and the file replacement. The program always runs
// with the real functions (g_Platform starts filled with them); the win tests
// swap in fakes and put the real ones back afterwards.
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
    int (WINAPI* pMessageBoxA)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
    HINSTANCE (WINAPI* pShellExecuteW)(HWND owner, LPCWSTR verb, LPCWSTR file,
                                       LPCWSTR params, LPCWSTR dir, INT show);
    HINSTANCE (WINAPI* pShellExecuteA)(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR params,
                                       LPCSTR dir, INT show);
    int (WINAPI* pMultiByteToWideChar)(UINT codePage, DWORD flags, LPCSTR text, int bytes,
                                       LPWSTR out, int outChars);
    BOOL (WINAPI* pReplaceFileW)(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup,
                                 DWORD flags, LPVOID exclude, LPVOID reserved);
};

extern PlatformApi g_Platform;
// The real functions, for tests that restore them.
PlatformApi RealPlatformApi();
