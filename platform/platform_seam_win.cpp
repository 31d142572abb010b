#include "platform/platform_seam.h"

#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0800
#endif
#include <dinput.h>
#include <objbase.h>
#include <shellapi.h>

PlatformApi RealPlatformApi()
{
    PlatformApi api;
    api.pDirect3DCreate9 = Direct3DCreate9;
    api.pDirectInput8Create = DirectInput8Create;
    api.pCoInitialize = CoInitialize;
    api.pCoCreateInstance = CoCreateInstance;
    api.pMessageBoxW = MessageBoxW;
    api.pMessageBoxA = MessageBoxA;
    api.pShellExecuteW = ShellExecuteW;
    api.pShellExecuteA = ShellExecuteA;
    api.pMultiByteToWideChar = MultiByteToWideChar;
    api.pReplaceFileW = ReplaceFileW;
    return api;
}

PlatformApi g_Platform = RealPlatformApi();
