// The real CPUID instruction, run on each processor in turn through the
// process affinity mask.
#include <windows.h>

#include "platform/win_text.h"
#include "sysinfo/cpu_info.h"

namespace {

// A processor without CPUID cannot toggle the ID flag (bit 21) of EFLAGS.
// MinGW has no structured-exception guard around a single instruction, so
// the instruction is never executed where it would fault.
bool HasCpuidInstruction()
{
#if defined(__i386__)
    uint32_t changed;
    asm volatile(
        "pushfl\n\t"
        "popl %%eax\n\t"
        "movl %%eax, %%ecx\n\t"
        "xorl $0x200000, %%eax\n\t"
        "pushl %%eax\n\t"
        "popfl\n\t"
        "pushfl\n\t"
        "popl %%eax\n\t"
        "pushl %%ecx\n\t"
        "popfl\n\t"
        "xorl %%ecx, %%eax\n\t"
        : "=a"(changed)
        :
        : "ecx", "cc");
    return (changed & 0x200000u) != 0;
#else
    return true;
#endif
}

int32_t RunCpuid(void*, uint32_t leaf, uint32_t regs[4])
{
    static const bool present = HasCpuidInstruction();
    if (!present)
        return 0;
    uint32_t eax, ebx, ecx, edx;
    asm volatile("cpuid"
                 : "=a"(eax), "=b"(ebx), "=c"(ecx), "=d"(edx)
                 : "a"(leaf), "b"(0u), "c"(0u), "d"(0u));
    regs[0] = eax;
    regs[1] = ebx;
    regs[2] = ecx;
    regs[3] = edx;
    return 1;
}

int32_t IsWin9x(void*) { return IsWin9xPlatform(); }

int32_t GetAffinity(void*, uint32_t* processMask, uint32_t* systemMask)
{
    DWORD_PTR process = 0;
    DWORD_PTR system = 0;
    if (!GetProcessAffinityMask(GetCurrentProcess(), &process, &system))
        return 0;
    *processMask = static_cast<uint32_t>(process);
    *systemMask = static_cast<uint32_t>(system);
    return 1;
}

int32_t SetAffinity(void*, uint32_t mask)
{
    return SetProcessAffinityMask(GetCurrentProcess(), mask) ? 1 : 0;
}

void Pause(void*, uint32_t milliseconds) { Sleep(milliseconds); }

// "EROOR" kept as the tool has always spelt it.
void ReportFailure(void*) { ShowMessage(nullptr, "CPU 情報の取得に失敗しました", "EROOR"); }

const CpuidPlatform kMachine = {nullptr, IsWin9x, GetAffinity, SetAffinity,
                                Pause,   RunCpuid, ReportFailure};

}  // namespace

int32_t IsWin9xPlatform()
{
    OSVERSIONINFOEXA info;
    ZeroMemory(&info, sizeof(info));
    info.dwOSVersionInfoSize = sizeof(info);
    static_assert(sizeof(OSVERSIONINFOEXA) == 156, "extended version record");
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)))
        return 0;
    return info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? 1 : 0;
}

const CpuidPlatform* GetMachineCpuidPlatform() { return &kMachine; }

void QueryCpuBrand(char* buffer) { QueryCpuBrand(&kMachine, buffer); }
