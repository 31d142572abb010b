// The Wine session the tool runs in, as a program of the tool's build sees
// it: its registry, code page, memory and clock.
#include "tests/e2e/driver/driver.h"

#include <cwchar>

namespace {

// reg KEY NAME sz|dword VALUE: through the running server, so that every
// Wine process started after it reads the value.
int Reg(const Args& args)
{
    const std::wstring path = args.words[0];
    HKEY root = path.compare(0, 5, L"HKCU\\") == 0   ? HKEY_CURRENT_USER
                : path.compare(0, 5, L"HKLM\\") == 0 ? HKEY_LOCAL_MACHINE
                                                     : nullptr;
    const std::wstring type = args.words[2];
    if (!root || (type != L"sz" && type != L"dword"))
        return Fail(L"usage: reg HKCU\\KEY|HKLM\\KEY NAME sz|dword VALUE");
    HKEY key;
    if (RegCreateKeyExW(root, path.c_str() + 5, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return Fail(L"cannot open " + path);
    const std::wstring& text = args.words[3];
    DWORD number = wcstoul(text.c_str(), nullptr, 10);
    const bool sz = type == L"sz";
    LONG set = RegSetValueExW(key, args[1], 0, sz ? REG_SZ : REG_DWORD,
                              sz ? (const BYTE*)text.c_str() : (const BYTE*)&number,
                              sz ? (DWORD)((text.size() + 1) * sizeof(wchar_t)) : sizeof(number));
    RegCloseKey(key);
    return set == ERROR_SUCCESS ? 0 : Fail(L"cannot set " + args.words[1] + L" under " + path);
}

int Acp(const Args&) { return Reply(std::to_wstring(GetACP())); }
int Now(const Args&) { return Reply(std::to_wstring(UnixNowNs())); }

// The tool's own query, made by a program of its build and road.
int PhysMem(const Args&)
{
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status))
        return Fail(L"GlobalMemoryStatusEx failed");
    return Reply(std::to_wstring(status.ullTotalPhys / (1024 * 1024)));
}

const Command kCommands[] = {
    {L"reg", L"KEY NAME TYPE VALUE",
     L"set a registry value: KEY under HKCU\\ or HKLM\\, TYPE sz or dword (decimal)", Reg},
    {L"acp", L"", L"the ANSI code page of this Wine session", Acp},
    {L"physmem", L"", L"the total physical memory in MB, as this Windows tells a program",
     PhysMem},
    {L"now", L"", L"the real-time clock as Unix nanoseconds", Now},
};

} // namespace

const CommandGroup kSessionCommands = Group(L"the Wine session", kCommands);
