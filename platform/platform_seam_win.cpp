#include "platform/platform_seam.h"

#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0800
#endif
#include <dinput.h>
#include <objbase.h>
#include <shellapi.h>

namespace {
// The shell is loaded on the banner's first click, not with the tool: it
// serves nothing else, and loaded with the tool it slowed every start-up.
template <class Function>
Function ShellFunction(const char* name)
{
    static HMODULE shell = LoadLibraryA("shell32.dll");
    return shell ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(shell, name)))
                 : nullptr;
}

// Without the shell, what ShellExecute itself returns for a missing DLL.
HINSTANCE NoShell() { return reinterpret_cast<HINSTANCE>(SE_ERR_DLLNOTFOUND); }

HINSTANCE WINAPI ShellExecuteWOnDemand(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR params,
                                       LPCWSTR dir, INT show)
{
    auto real = ShellFunction<decltype(&ShellExecuteW)>("ShellExecuteW");
    return real ? real(owner, verb, file, params, dir, show) : NoShell();
}

HINSTANCE WINAPI ShellExecuteAOnDemand(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR params,
                                       LPCSTR dir, INT show)
{
    auto real = ShellFunction<decltype(&ShellExecuteA)>("ShellExecuteA");
    return real ? real(owner, verb, file, params, dir, show) : NoShell();
}
}

PlatformApi RealPlatformApi()
{
    PlatformApi api;
    api.pDirect3DCreate9 = Direct3DCreate9;
    api.pDirectInput8Create = DirectInput8Create;
    api.pCoInitialize = CoInitialize;
    api.pCoCreateInstance = CoCreateInstance;
    api.pMessageBoxW = MessageBoxW;
    api.pMessageBoxA = MessageBoxA;
    api.pShellExecuteW = ShellExecuteWOnDemand;
    api.pShellExecuteA = ShellExecuteAOnDemand;
    api.pMultiByteToWideChar = MultiByteToWideChar;
    api.pReplaceFileW = ReplaceFileW;
    return api;
}

PlatformApi g_Platform = RealPlatformApi();
