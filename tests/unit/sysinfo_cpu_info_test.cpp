// The CPUID walk on crafted machines: leaf bounds, processor order, the brand
// text of the first processor, and the failure paths.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "sysinfo/cpu_info.h"

namespace {

using Regs = std::array<uint32_t, 4>;
using LeafTable = std::map<uint32_t, Regs>;

// Leaves 0, 0x80000000 and, when brand is given, 0x80000002..4 holding its 48 bytes.
LeafTable MakeProcessor(uint32_t highestBasic, uint32_t highestExtended, const char* brand = nullptr)
{
    LeafTable t;
    t[0] = {highestBasic, 0x756E6547, 0x6C65746E, 0x49656E69};
    t[0x80000000u] = {highestExtended, 0, 0, 0};
    if (brand) {
        char bytes[48] = {};
        std::memcpy(bytes, brand, std::min<size_t>(48, std::strlen(brand)));
        for (uint32_t part = 0; part < 3; ++part) {
            Regs r;
            for (int reg = 0; reg < 4; ++reg) {
                const unsigned char* p =
                    reinterpret_cast<const unsigned char*>(bytes) + part * 16 + reg * 4;
                r[reg] = p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
            }
            t[0x80000002u + part] = r;
        }
    }
    return t;
}

struct FakeMachine {
    std::map<int, LeafTable> processors;  // by affinity bit
    bool win9x = false;
    bool affinityReadable = true;
    uint32_t processMask = 0;
    uint32_t systemMask = 0;
    uint32_t currentMask = 0;
    int refuseSingleBitCall = -1;  // 0-based index among single-processor requests
    int singleBitCalls = 0;
    int faultBit = -1;
    uint32_t faultLeaf = 0;
    int failuresReported = 0;
    std::vector<std::string> events;

    void AddProcessor(int bit, LeafTable leaves)
    {
        processors[bit] = std::move(leaves);
        systemMask |= 1u << bit;
        processMask = currentMask = systemMask;
    }

    int CurrentProcessor() const
    {
        if (win9x)
            return 0;
        for (int bit = 0; bit < 32; ++bit)
            if (currentMask & (1u << bit))
                return bit;
        return -1;
    }
};

FakeMachine* Self(void* context) { return static_cast<FakeMachine*>(context); }

CpuidPlatform PlatformFor(FakeMachine* machine)
{
    CpuidPlatform p;
    p.m_pContext = machine;
    p.m_pIsWin9x = [](void* c) -> int32_t { return Self(c)->win9x ? 1 : 0; };
    p.m_pGetAffinity = [](void* c, uint32_t* process, uint32_t* system) -> int32_t {
        FakeMachine* m = Self(c);
        m->events.push_back("get");
        if (!m->affinityReadable)
            return 0;
        *process = m->processMask;
        *system = m->systemMask;
        return 1;
    };
    p.m_pSetAffinity = [](void* c, uint32_t mask) -> int32_t {
        FakeMachine* m = Self(c);
        m->events.push_back("set " + std::to_string(mask));
        if ((mask & (mask - 1)) == 0 && m->singleBitCalls++ == m->refuseSingleBitCall)
            return 0;
        m->currentMask = mask;
        return 1;
    };
    p.m_pSleep = [](void* c, uint32_t ms) { Self(c)->events.push_back("sleep " + std::to_string(ms)); };
    p.m_pRunCpuid = [](void* c, uint32_t leaf, uint32_t regs[4]) -> int32_t {
        FakeMachine* m = Self(c);
        const int cpu = m->CurrentProcessor();
        m->events.push_back("cpuid " + std::to_string(cpu) + ":" + std::to_string(leaf));
        if (cpu == m->faultBit && leaf == m->faultLeaf)
            return 0;
        const LeafTable& table = m->processors[cpu];
        auto it = table.find(leaf);
        Regs r = it == table.end() ? Regs{0, 0, 0, 0} : it->second;
        for (int i = 0; i < 4; ++i)
            regs[i] = r[i];
        return 1;
    };
    p.m_pReportFailure = [](void* c) { Self(c)->failuresReported++; };
    return p;
}

using ChainEntry = std::tuple<int, int, uint32_t>;  // bit, ordinal, leaf

std::vector<ChainEntry> ChainOf(const CpuInfoList* list)
{
    std::vector<ChainEntry> out;
    for (const CpuidRecord* r = list->m_pHead; r; r = r->m_pNext)
        out.emplace_back(r->m_nProcessorBit, r->m_nProcessorOrdinal, r->m_dwLeaf);
    return out;
}

std::vector<ChainEntry> Leaves(int bit, int ordinal, std::vector<uint32_t> leaves)
{
    std::vector<ChainEntry> out;
    for (uint32_t leaf : leaves)
        out.emplace_back(bit, ordinal, leaf);
    return out;
}

std::vector<ChainEntry> Concat(std::vector<ChainEntry> a, const std::vector<ChainEntry>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const char kBrandA[] = "Crafted(R) Core(TM) i9 Processor @ 3.60GHz";
const char kBrandB[] = "Another Vendor 8-Core Processor";

TEST(SysinfoCpuInfo, ProcessorWithoutExtendedLeavesHasBasicChainAndEmptyBrand)
{
    FakeMachine m;
    m.AddProcessor(0, MakeProcessor(2, 0x00000004));
    CpuidPlatform p = PlatformFor(&m);

    CpuInfoList* list = BuildCpuInfoList(&p);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ChainOf(list), Leaves(0, 0, {0, 1, 2}));
    EXPECT_STREQ(list->m_szBrand, "");
    EXPECT_EQ(list->m_nProcessorCount, 1);
    EXPECT_EQ(m.failuresReported, 0);
    FreeCpuInfoList(list);
}

TEST(SysinfoCpuInfo, ExtendedLeafBoundsAreInclusive)
{
    {
        FakeMachine m;
        m.AddProcessor(0, MakeProcessor(1, 0x80000000u, kBrandA));
        CpuidPlatform p = PlatformFor(&m);
        CpuInfoList* list = BuildCpuInfoList(&p);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(ChainOf(list), Leaves(0, 0, {0, 1, 0x80000000u}));
        EXPECT_STREQ(list->m_szBrand, "");  // brand leaves exist but were not asked for
        FreeCpuInfoList(list);
    }
    {
        FakeMachine m;
        m.AddProcessor(0, MakeProcessor(1, 0x80000004u, kBrandA));
        CpuidPlatform p = PlatformFor(&m);
        CpuInfoList* list = BuildCpuInfoList(&p);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(ChainOf(list), Leaves(0, 0, {0, 1, 0x80000000u, 0x80000001u, 0x80000002u,
                                               0x80000003u, 0x80000004u}));
        EXPECT_STREQ(list->m_szBrand, kBrandA);
        FreeCpuInfoList(list);
    }
}

TEST(SysinfoCpuInfo, BrandLeavesAreOrderedAndLittleEndian)
{
    FakeMachine m;
    LeafTable t = MakeProcessor(0, 0x80000004u);
    t[0x80000002u] = {0x64636261, 0x68676665, 0x6C6B6A69, 0x706F6E6D};  // "abcd" ... "mnop"
    t[0x80000003u] = {0x74737271, 0x78777675, 0x42417A79, 0x46454443};
    t[0x80000004u] = {0x4A494847, 0x4E4D4C4B, 0x5251504F, 0x00005453};
    m.AddProcessor(0, t);
    CpuidPlatform p = PlatformFor(&m);
    char buffer[128];
    QueryCpuBrand(&p, buffer);
    EXPECT_STREQ(buffer, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRST");
}

TEST(SysinfoCpuInfo, HighestBasicLeafZeroAndAllOnesGiveLeafZeroOnly)
{
    for (uint32_t highest : {0u, 0xFFFFFFFFu}) {
        FakeMachine m;
        m.AddProcessor(0, MakeProcessor(highest, 0x80000001u));
        CpuidPlatform p = PlatformFor(&m);
        CpuInfoList* list = BuildCpuInfoList(&p);
        ASSERT_NE(list, nullptr) << highest;
        EXPECT_EQ(ChainOf(list), Leaves(0, 0, {0, 0x80000000u, 0x80000001u})) << highest;
        FreeCpuInfoList(list);
    }
}

TEST(SysinfoCpuInfo, ProcessorsAreWalkedInBitOrderAndBrandComesFromTheFirst)
{
    FakeMachine m;
    m.AddProcessor(2, MakeProcessor(1, 0x80000004u, kBrandB));
    m.AddProcessor(0, MakeProcessor(0, 0x80000004u, kBrandA));
    m.AddProcessor(31, MakeProcessor(0, 0x80000000u));
    CpuidPlatform p = PlatformFor(&m);

    CpuInfoList* list = BuildCpuInfoList(&p);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->m_nProcessorCount, 3);
    auto expected = Concat(
        Concat(Leaves(0, 0, {0, 0x80000000u, 0x80000001u, 0x80000002u, 0x80000003u, 0x80000004u}),
               Leaves(2, 1, {0, 1, 0x80000000u, 0x80000001u, 0x80000002u, 0x80000003u,
                             0x80000004u})),
        Leaves(31, 2, {0, 0x80000000u}));
    EXPECT_EQ(ChainOf(list), expected);
    EXPECT_STREQ(list->m_szBrand, kBrandA);
    FreeCpuInfoList(list);
}

TEST(SysinfoCpuInfo, BrandOfALaterProcessorIsNeverUsed)
{
    FakeMachine m;
    m.AddProcessor(0, MakeProcessor(0, 0x7FFFFFFFu));
    m.AddProcessor(1, MakeProcessor(0, 0x80000004u, kBrandB));
    CpuidPlatform p = PlatformFor(&m);
    char buffer[128];
    std::memset(buffer, 'Z', sizeof(buffer));
    QueryCpuBrand(&p, buffer);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(m.failuresReported, 0);
}

TEST(SysinfoCpuInfo, FortyEightCharacterBrandIsTerminatedAfterItsLastCharacter)
{
    const char brand48[] = "0123456789ABCDEF0123456789abcdef0123456789+-*/=!";
    ASSERT_EQ(std::strlen(brand48), 48u);
    FakeMachine m;
    m.AddProcessor(0, MakeProcessor(0, 0x80000004u, brand48));
    CpuidPlatform p = PlatformFor(&m);
    char buffer[64];
    std::memset(buffer, 'Z', sizeof(buffer));
    QueryCpuBrand(&p, buffer);
    EXPECT_EQ(std::string(buffer), brand48);
    EXPECT_EQ(buffer[49], 'Z');  // nothing beyond the NUL is touched
}

TEST(SysinfoCpuInfo, EachProcessorIsSelectedAndGivenAPauseBeforeItsFirstLeaf)
{
    FakeMachine m;
    m.AddProcessor(0, MakeProcessor(0, 0x7FFFFFFFu));
    m.AddProcessor(3, MakeProcessor(0, 0x7FFFFFFFu));
    m.processMask = m.currentMask = 0x8;  // the process itself runs on processor 3 only
    CpuidPlatform p = PlatformFor(&m);
    CpuInfoList* list = BuildCpuInfoList(&p);
    ASSERT_NE(list, nullptr);
    FreeCpuInfoList(list);

    const std::vector<std::string> expected = {
        "get",     "set 1",   "sleep 1", "cpuid 0:0", "cpuid 0:2147483648",
        "set 8",   "sleep 1", "cpuid 3:0", "cpuid 3:2147483648",
        "set 8"};  // the process mask put back
    EXPECT_EQ(m.events, expected);
    EXPECT_EQ(m.currentMask, 0x8u);
}

TEST(SysinfoCpuInfo, RefusedAffinityForThirdOfFourProcessorsFailsWholeRequest)
{
    FakeMachine m;
    for (int bit = 0; bit < 4; ++bit)
        m.AddProcessor(bit, MakeProcessor(1, 0x80000004u, kBrandA));
    m.refuseSingleBitCall = 2;
    CpuidPlatform p = PlatformFor(&m);

    char buffer[128];
    std::memset(buffer, 'Z', sizeof(buffer));
    QueryCpuBrand(&p, buffer);  // LeakSanitizer checks that the first two chains are gone
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(m.failuresReported, 1);
    EXPECT_EQ(m.currentMask, 0xFu);
    EXPECT_EQ(m.events.back(), "set 15");
}

TEST(SysinfoCpuInfo, FaultingCpuidFailsTheRequest)
{
    // On leaf 0 of the only processor, and on a late leaf of the second one.
    for (auto [bit, leaf] : {std::pair<int, uint32_t>{0, 0}, {1, 0x80000003u}}) {
        FakeMachine m;
        m.AddProcessor(0, MakeProcessor(1, 0x80000004u, kBrandA));
        if (bit == 1)
            m.AddProcessor(1, MakeProcessor(1, 0x80000004u, kBrandA));
        m.faultBit = bit;
        m.faultLeaf = leaf;
        CpuidPlatform p = PlatformFor(&m);
        EXPECT_EQ(BuildCpuInfoList(&p), nullptr);
        EXPECT_EQ(m.failuresReported, 1);
        EXPECT_EQ(m.currentMask, m.processMask);
    }
}

TEST(SysinfoCpuInfo, UnreadableOrEmptyAffinityMasksFail)
{
    FakeMachine unreadable;
    unreadable.AddProcessor(0, MakeProcessor(0, 0));
    unreadable.affinityReadable = false;
    FakeMachine noProcessMask;
    noProcessMask.AddProcessor(0, MakeProcessor(0, 0));
    noProcessMask.processMask = 0;
    FakeMachine noSystemMask;
    noSystemMask.processMask = 1;

    for (FakeMachine* m : {&unreadable, &noProcessMask, &noSystemMask}) {
        CpuidPlatform p = PlatformFor(m);
        EXPECT_EQ(BuildCpuInfoList(&p), nullptr);
        EXPECT_EQ(m->failuresReported, 1);
        EXPECT_EQ(m->events, std::vector<std::string>{"get"});  // affinity never touched
    }
}

TEST(SysinfoCpuInfo, Win9xReadsTheCurrentProcessorWithoutAffinityCalls)
{
    FakeMachine m;
    m.win9x = true;
    m.processors[0] = MakeProcessor(1, 0x80000004u, kBrandB);
    CpuidPlatform p = PlatformFor(&m);
    CpuInfoList* list = BuildCpuInfoList(&p);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->m_nProcessorCount, 1);
    EXPECT_EQ(ChainOf(list), Leaves(0, 0, {0, 1, 0x80000000u, 0x80000001u, 0x80000002u,
                                           0x80000003u, 0x80000004u}));
    EXPECT_STREQ(list->m_szBrand, kBrandB);
    for (const std::string& e : m.events)
        EXPECT_EQ(e.rfind("cpuid", 0), 0u) << e;
    FreeCpuInfoList(list);

    m.faultBit = 0;
    m.faultLeaf = 1;
    EXPECT_EQ(BuildCpuInfoList(&p), nullptr);
    EXPECT_EQ(m.failuresReported, 1);
}

TEST(SysinfoCpuInfo, ExecuteCpuidClearsTheRecordAndKeepsItsLink)
{
    FakeMachine m;
    m.AddProcessor(0, MakeProcessor(7, 0));
    CpuidPlatform p = PlatformFor(&m);
    CpuidRecord next = {};
    CpuidRecord record = {&next, 9, 9, 9, 9, 9, 9, 9};
    EXPECT_EQ(ExecuteCpuid(&p, 5, 2, 0, &record), 1);
    EXPECT_EQ(record.m_pNext, &next);
    EXPECT_EQ(record.m_nProcessorBit, 5);
    EXPECT_EQ(record.m_nProcessorOrdinal, 2);
    EXPECT_EQ(record.m_dwEax, 7u);

    m.faultBit = 0;
    m.faultLeaf = 1;
    record = {&next, 9, 9, 9, 9, 9, 9, 9};
    EXPECT_EQ(ExecuteCpuid(&p, 5, 2, 1, &record), 0);
    EXPECT_EQ(record.m_dwLeaf, 0u);
    EXPECT_EQ(record.m_dwEax, 0u);
    EXPECT_EQ(record.m_nProcessorBit, 0);
    EXPECT_EQ(ExecuteCpuid(&p, 0, 0, 0, nullptr), 0);
}

}  // namespace
