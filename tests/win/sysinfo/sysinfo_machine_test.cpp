// The real machine under Wine: CPUID on every processor, the affinity mask
// put back, the version query, and the platform's own DxDiag provider.
#include <gtest/gtest.h>

#include <objbase.h>
#include <cpuid.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "common/test_support.h"
#include "sysinfo/cpu_info.h"
#include "sysinfo/dxdiag_query.h"
#include "sysinfo/os_version.h"

namespace {

std::string Trim(const std::string& s)
{
    const char* blanks = " \t\r\n";
    size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

// What Linux says about the processors, read through Wine's Z: drive.
struct LinuxCpuInfo {
    bool read = false;
    int processors = 0;
};

LinuxCpuInfo ReadLinuxCpuInfo()
{
    LinuxCpuInfo info;
    FILE* f = std::fopen("Z:\\proc\\cpuinfo", "r");
    if (!f)
        return info;
    info.read = true;
    char line[512];
    while (std::fgets(line, sizeof(line), f)) {
        std::string l = line;
        size_t colon = l.find(':');
        if (colon == std::string::npos)
            continue;
        std::string key = Trim(l.substr(0, colon));
        if (key == "processor")
            ++info.processors;
    }
    std::fclose(f);
    return info;
}

// The processor's brand string as CPUID leaves 0x80000002..4 give it here.
// (Linux's "model name" is no oracle: a hypervisor may show it another name.)
std::string BrandStringFromCpuid()
{
    unsigned regs[12] = {};
    if (__get_cpuid_max(0x80000000u, nullptr) < 0x80000004u)
        return "";
    for (unsigned i = 0; i < 3; ++i)
        __cpuid(0x80000002u + i, regs[4 * i], regs[4 * i + 1], regs[4 * i + 2], regs[4 * i + 3]);
    const std::string brand(reinterpret_cast<const char*>(regs), 48);
    return brand.substr(0, brand.find('\0'));
}

int BitCount(DWORD_PTR mask)
{
    int n = 0;
    for (; mask; mask &= mask - 1)
        ++n;
    return n;
}

TEST(SysinfoMachine, BrandTextIsTheProcessorsOwnBrandString)
{
    const std::string expected = Trim(BrandStringFromCpuid());
    ASSERT_FALSE(expected.empty()) << "this processor has no brand string";

    MessageRecorder messages;
    char brand[128];
    std::memset(brand, 'Z', sizeof(brand));
    QueryCpuBrand(brand);
    EXPECT_TRUE(messages.Messages().empty());
    ASSERT_LE(std::strlen(brand), 48u);
    EXPECT_EQ(Trim(brand), expected);
    EXPECT_EQ(IsWin9xPlatform(), 0);
}

// The initial APIC id (CPUID leaf 1) that each processor of the mask gives
// a thread pinned to it, read here apart from the code under test.
std::set<uint32_t> ApicIdsOfPinnedThread(DWORD_PTR system)
{
    std::set<uint32_t> ids;
    HANDLE thread = GetCurrentThread();
    DWORD_PTR before = SetThreadAffinityMask(thread, system);
    for (DWORD_PTR bit = 1; bit && bit <= system; bit <<= 1) {
        if (!(system & bit) || !SetThreadAffinityMask(thread, bit))
            continue;
        Sleep(0);
        unsigned a, b, c, d;
        __cpuid(1, a, b, c, d);
        ids.insert(b >> 24);
    }
    SetThreadAffinityMask(thread, before);
    return ids;
}

TEST(SysinfoMachine, EveryProcessorIsWalkedAndTheAffinityMaskPutBack)
{
    LinuxCpuInfo cpuinfo = ReadLinuxCpuInfo();
    ASSERT_TRUE(cpuinfo.read);
    DWORD_PTR processBefore = 0, system = 0;
    ASSERT_TRUE(GetProcessAffinityMask(GetCurrentProcess(), &processBefore, &system));

    MessageRecorder messages;
    CpuInfoList* list = BuildCpuInfoList(GetMachineCpuidPlatform());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->m_nProcessorCount, BitCount(system));
    EXPECT_EQ(list->m_nProcessorCount, std::min(cpuinfo.processors, 32));

    // Leaf 1 gives each processor's initial APIC id: one per processor shows
    // that every chain really ran where its bit says.
    std::set<uint32_t> apicIds;
    int leafOneRecords = 0;
    for (const CpuidRecord* r = list->m_pHead; r; r = r->m_pNext) {
        if (r->m_dwLeaf == 1) {
            ++leafOneRecords;
            apicIds.insert(r->m_dwEbx >> 24);
        }
    }
    EXPECT_EQ(leafOneRecords, list->m_nProcessorCount);
    if (UnderEmulation()) {
        // QEMU's user mode answers CPUID alike on every processor: the walk
        // can only be held to what a pinned thread reads under it.
        NoteEmulationLimit("CPUID per processor (distinct APIC ids) not checked: QEMU's CPUID "
                           "ignores thread affinity; compared with a pinned 32-bit probe instead");
        EXPECT_EQ(apicIds, ApicIdsOfPinnedThread(system));
    } else {
        EXPECT_EQ(static_cast<int>(apicIds.size()), list->m_nProcessorCount);
    }
    FreeCpuInfoList(list);

    DWORD_PTR processAfter = 0;
    ASSERT_TRUE(GetProcessAffinityMask(GetCurrentProcess(), &processAfter, &system));
    EXPECT_EQ(processAfter, processBefore);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST(SysinfoMachine, NarrowedProcessMaskIsRestoredToTheSameNarrowMask)
{
    DWORD_PTR process = 0, system = 0;
    ASSERT_TRUE(GetProcessAffinityMask(GetCurrentProcess(), &process, &system));
    DWORD_PTR highest = system;
    while (highest & (highest - 1))
        highest &= highest - 1;
    // On a machine of one processor the narrow mask is the whole mask.
    DWORD_PTR narrow = BitCount(system) > 1 ? (system & ~highest) : system;
    ASSERT_TRUE(SetProcessAffinityMask(GetCurrentProcess(), narrow));

    char brand[128];
    QueryCpuBrand(brand);
    DWORD_PTR after = 0;
    GetProcessAffinityMask(GetCurrentProcess(), &after, &system);
    SetProcessAffinityMask(GetCurrentProcess(), process);
    EXPECT_EQ(after, narrow);
    EXPECT_NE(brand[0], '\0');
}

TEST(SysinfoMachine, OsTextComesFromTheVersionQuery)
{
    OSVERSIONINFOA v = {};
    v.dwOSVersionInfoSize = sizeof(v);
    ASSERT_TRUE(GetVersionExA(&v));
    char text[kOsTextSize];
    std::memset(text, 'Z', sizeof(text));
    GetOsVersionText(text);
    const std::string suffix = std::to_string(v.dwMajorVersion) + "." +
                               std::to_string(v.dwMinorVersion) + "." +
                               std::to_string(v.dwBuildNumber) + " " + v.szCSDVersion;
    const std::string s = text;
    EXPECT_EQ(s.rfind("Windows ", 0), 0u) << s;
    ASSERT_GE(s.size(), suffix.size());
    EXPECT_EQ(s.substr(s.size() - suffix.size()), suffix);
    if (v.dwMajorVersion == 6 && v.dwMinorVersion == 1) {
        EXPECT_EQ(s, "Windows 7 " + suffix);
    }
}

TEST(SysinfoMachine, PlatformDxDiagProviderGivesItsTexts)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    MessageRecorder messages;
    DxDiagInfo info = {};
    EXPECT_EQ(OpenDxDiag(&info), 1);
    ReadDxDiagStrings(&info);
    ReleaseDxDiag(&info);
    CoUninitialize();

    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(info.m_bDxDiagValid, 1);
    EXPECT_NE(std::string(info.m_szDirectXVersion).find("DirectX"), std::string::npos)
        << info.m_szDirectXVersion;
    EXPECT_NE(info.m_szProcessor[0], '\0');
    EXPECT_EQ(info.m_pDxDiagProvider, nullptr);
    EXPECT_EQ(info.m_pDxDiagRootContainer, nullptr);
}

}  // namespace
