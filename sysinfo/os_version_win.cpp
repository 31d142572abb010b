#include <windows.h>

#include <cstring>

#include "sysinfo/os_version.h"

void GetOsVersionText(char* buffer)
{
    OSVERSIONINFOA info;
    ZeroMemory(&info, sizeof(info));
    static_assert(sizeof(OSVERSIONINFOA) == 148, "plain version record");
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExA(&info)) {
        std::strcpy(buffer, "不明");
        return;
    }
    info.szCSDVersion[sizeof(info.szCSDVersion) - 1] = '\0';
    ComposeOsVersionText(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion,
                         info.dwBuildNumber, info.szCSDVersion, buffer, kOsTextSize);
}
