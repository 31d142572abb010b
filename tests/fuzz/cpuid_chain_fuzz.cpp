// The CPUID leaf chain over a made-up machine: any affinity masks, any leaf
// maxima, faults and refusals anywhere. The chain must hold exactly the
// leaves asked for, the brand text must end inside 49 bytes, and every
// record must be freed on every path (the leak checker runs per input).
#include <cstring>
#include <string>
#include <vector>

#include "sysinfo/cpu_info.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

constexpr uint32_t kExtendedBase = 0x80000000u;
// CPUID calls one request may make before the fake machine starts faulting;
// keeps a maximum leaf of billions from running for hours.
constexpr uint32_t kCallBudget = 1024;

struct ProcessorConfig {
    uint32_t m_dwBasicMax;
    uint32_t m_dwExtendedMax;
    bool     m_bFault;
    uint32_t m_dwFaultLeaf;
    uint8_t  m_abBrand[48];
};

struct FakeMachine {
    bool     m_bWin9x;
    bool     m_bAffinityFails;
    uint32_t m_dwProcessMask;
    uint32_t m_dwSystemMask;
    uint32_t m_nRefuseSetCall;  // 1-based; 0: never refused
    std::vector<ProcessorConfig> m_Configs;

    // What the walk did.
    uint32_t m_nCpuidCalls;
    uint32_t m_nGetCalls;
    uint32_t m_nSetCalls;
    uint32_t m_dwLastSetMask;
    int      m_nCurrentBit;
    int      m_nFailureReports;

    const ProcessorConfig& Config(int bit) const
    {
        return m_Configs[static_cast<size_t>(bit) % m_Configs.size()];
    }
};

FakeMachine* Machine(void* context) { return static_cast<FakeMachine*>(context); }

int32_t FakeIsWin9x(void* context) { return Machine(context)->m_bWin9x ? 1 : 0; }

int32_t FakeGetAffinity(void* context, uint32_t* processMask, uint32_t* systemMask)
{
    FakeMachine* m = Machine(context);
    ++m->m_nGetCalls;
    if (m->m_bAffinityFails)
        return 0;
    *processMask = m->m_dwProcessMask;
    *systemMask = m->m_dwSystemMask;
    return 1;
}

int32_t FakeSetAffinity(void* context, uint32_t mask)
{
    FakeMachine* m = Machine(context);
    ++m->m_nSetCalls;
    m->m_dwLastSetMask = mask;
    if (m->m_nSetCalls == m->m_nRefuseSetCall || mask == 0)
        return 0;
    m->m_nCurrentBit = __builtin_ctz(mask);
    return 1;
}

void FakeSleep(void*, uint32_t) {}

void FakeReportFailure(void* context) { ++Machine(context)->m_nFailureReports; }

// Registers of one leaf on one processor; the brand leaves give the bytes of
// the processor's brand, the maxima leaves their configured values.
void LeafRegisters(const ProcessorConfig& config, int bit, uint32_t leaf, uint32_t regs[4])
{
    if (leaf >= kExtendedBase + 2 && leaf <= kExtendedBase + 4) {
        std::memcpy(regs, config.m_abBrand + 16 * (leaf - kExtendedBase - 2), 16);
        return;
    }
    for (int r = 0; r < 4; ++r)
        regs[r] = leaf * 2654435761u + static_cast<uint32_t>(bit * 4 + r);
    if (leaf == 0)
        regs[0] = config.m_dwBasicMax;
    else if (leaf == kExtendedBase)
        regs[0] = config.m_dwExtendedMax;
}

bool LeafFaults(const FakeMachine& m, int bit, uint32_t leaf, uint32_t callsSoFar)
{
    const ProcessorConfig& config = m.Config(bit);
    return callsSoFar >= kCallBudget || (config.m_bFault && leaf == config.m_dwFaultLeaf);
}

int32_t FakeRunCpuid(void* context, uint32_t leaf, uint32_t regs[4])
{
    FakeMachine* m = Machine(context);
    uint32_t calls = m->m_nCpuidCalls++;
    if (LeafFaults(*m, m->m_nCurrentBit, leaf, calls))
        return 0;
    LeafRegisters(m->Config(m->m_nCurrentBit), m->m_nCurrentBit, leaf, regs);
    return 1;
}

CpuidPlatform MakePlatform(FakeMachine* machine)
{
    CpuidPlatform platform = {};
    platform.m_pContext = machine;
    platform.m_pIsWin9x = FakeIsWin9x;
    platform.m_pGetAffinity = FakeGetAffinity;
    platform.m_pSetAffinity = FakeSetAffinity;
    platform.m_pSleep = FakeSleep;
    platform.m_pRunCpuid = FakeRunCpuid;
    platform.m_pReportFailure = FakeReportFailure;
    return platform;
}

void ResetWalk(FakeMachine* m)
{
    m->m_nCpuidCalls = 0;
    m->m_nGetCalls = 0;
    m->m_nSetCalls = 0;
    m->m_dwLastSetMask = 0;
    m->m_nCurrentBit = 0;
    m->m_nFailureReports = 0;
}

struct ExpectedRecord {
    int      m_nBit;
    int      m_nOrdinal;
    uint32_t m_dwLeaf;
};

// The leaves the request must ask for, from the CPUID rules alone; false when
// the request must fail. Stops at the first fault, so huge maxima stay cheap.
bool ExpectChain(const FakeMachine& m, std::vector<ExpectedRecord>* chain)
{
    std::vector<int> bits;
    if (m.m_bWin9x) {
        bits.push_back(0);
    } else {
        if (m.m_bAffinityFails || m.m_dwProcessMask == 0 || m.m_dwSystemMask == 0)
            return false;
        for (int bit = 0; bit < 32; ++bit)
            if (m.m_dwSystemMask & (1u << bit))
                bits.push_back(bit);
    }
    uint32_t calls = 0;
    uint32_t setCalls = 0;
    for (size_t ordinal = 0; ordinal < bits.size(); ++ordinal) {
        int bit = bits[ordinal];
        if (!m.m_bWin9x && ++setCalls == m.m_nRefuseSetCall)
            return false;
        const ProcessorConfig& config = m.Config(bit);
        auto ask = [&](uint32_t leaf) {
            if (LeafFaults(m, bit, leaf, calls++))
                return false;
            chain->push_back({bit, static_cast<int>(ordinal), leaf});
            return true;
        };
        if (!ask(0))
            return false;
        if (config.m_dwBasicMax != 0xFFFFFFFFu)
            for (uint32_t leaf = 1; leaf <= config.m_dwBasicMax; ++leaf)
                if (!ask(leaf))
                    return false;
        // The 0x80000000 record is asked for even when it is then dropped.
        if (LeafFaults(m, bit, kExtendedBase, calls++))
            return false;
        if (config.m_dwExtendedMax < kExtendedBase)
            continue;
        chain->push_back({bit, static_cast<int>(ordinal), kExtendedBase});
        for (uint32_t leaf = kExtendedBase + 1; leaf != 0 && leaf <= config.m_dwExtendedMax; ++leaf)
            if (!ask(leaf))
                return false;
    }
    return true;
}

std::string ExpectedBrand(const FakeMachine& m, const std::vector<ExpectedRecord>& chain)
{
    int firstBit = chain.front().m_nBit;
    if (m.Config(firstBit).m_dwExtendedMax < kExtendedBase + 4)
        return std::string();
    const uint8_t* brand = m.Config(firstBit).m_abBrand;
    size_t length = 0;
    while (length < 48 && brand[length])
        ++length;
    return std::string(reinterpret_cast<const char*>(brand), length);
}

void CheckAffinityCalls(const FakeMachine& m)
{
    if (m.m_bWin9x) {
        FUZZ_CHECK(m.m_nGetCalls == 0 && m.m_nSetCalls == 0);
        return;
    }
    // Whatever happened, the process gets its own mask back last.
    if (m.m_nSetCalls > 0)
        FUZZ_CHECK(m.m_dwLastSetMask == m.m_dwProcessMask);
}

void CheckBuiltList(FakeMachine* m, const CpuidPlatform* platform, bool succeeds,
                    const std::vector<ExpectedRecord>& chain)
{
    ResetWalk(m);
    CpuInfoList* list = BuildCpuInfoList(platform);
    CheckAffinityCalls(*m);
    FUZZ_CHECK((list != nullptr) == succeeds);
    FUZZ_CHECK(m->m_nFailureReports == (succeeds ? 0 : 1));
    if (!list)
        return;

    size_t i = 0;
    int processors = 0;
    for (const CpuidRecord* record = list->m_pHead; record; record = record->m_pNext, ++i) {
        FUZZ_CHECK(i < chain.size());
        const ExpectedRecord& want = chain[i];
        FUZZ_CHECK(record->m_nProcessorBit == want.m_nBit);
        FUZZ_CHECK(record->m_nProcessorOrdinal == want.m_nOrdinal);
        FUZZ_CHECK(record->m_dwLeaf == want.m_dwLeaf);
        uint32_t regs[4];
        LeafRegisters(m->Config(want.m_nBit), want.m_nBit, want.m_dwLeaf, regs);
        FUZZ_CHECK(record->m_dwEax == regs[0] && record->m_dwEbx == regs[1] &&
                   record->m_dwEcx == regs[2] && record->m_dwEdx == regs[3]);
        processors = want.m_nOrdinal + 1;
    }
    FUZZ_CHECK(i == chain.size());
    FUZZ_CHECK(list->m_nProcessorCount == processors);
    FUZZ_CHECK(list->m_szBrand[kCpuBrandLength] == '\0');
    FUZZ_CHECK(std::string(list->m_szBrand) == ExpectedBrand(*m, chain));
    FreeCpuInfoList(list);
}

void CheckBrandRequest(FakeMachine* m, const CpuidPlatform* platform, bool succeeds,
                       const std::vector<ExpectedRecord>& chain)
{
    ResetWalk(m);
    // Exactly the 49 bytes the request may use.
    char* buffer = new char[kCpuBrandLength + 1];
    std::memset(buffer, 0x5A, kCpuBrandLength + 1);
    QueryCpuBrand(platform, buffer);
    CheckAffinityCalls(*m);
    FUZZ_CHECK(std::memchr(buffer, 0, kCpuBrandLength + 1) != nullptr);
    FUZZ_CHECK(m->m_nFailureReports == (succeeds ? 0 : 1));
    FUZZ_CHECK(std::string(buffer) == (succeeds ? ExpectedBrand(*m, chain) : std::string()));
    delete[] buffer;
}

FakeMachine TakeMachine(FuzzInput& in)
{
    FakeMachine m = {};
    uint8_t flags = in.Take<uint8_t>();
    m.m_bWin9x = flags & 1;
    m.m_bAffinityFails = flags & 2;
    m.m_dwProcessMask = in.Take<uint32_t>();
    m.m_dwSystemMask = in.Take<uint32_t>();
    m.m_nRefuseSetCall = in.Take<uint8_t>();
    int count = 1 + in.Take<uint8_t>() % 4;
    for (int i = 0; i < count; ++i) {
        ProcessorConfig config = {};
        // Small maxima like a real processor's, or any 32-bit value.
        uint8_t shape = in.Take<uint8_t>();
        config.m_dwBasicMax = (shape & 1) ? in.Take<uint8_t>() % 32 : in.Take<uint32_t>();
        config.m_dwExtendedMax =
            (shape & 2) ? kExtendedBase + in.Take<uint8_t>() % 16 : in.Take<uint32_t>();
        config.m_bFault = shape & 4;
        config.m_dwFaultLeaf = in.Take<uint32_t>();
        in.TakeInto(config.m_abBrand, sizeof(config.m_abBrand));
        m.m_Configs.push_back(config);
    }
    return m;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    FakeMachine machine = TakeMachine(in);
    CpuidPlatform platform = MakePlatform(&machine);

    std::vector<ExpectedRecord> chain;
    bool succeeds = ExpectChain(machine, &chain);
    if (succeeds)
        FUZZ_CHECK(!chain.empty());

    CheckBuiltList(&machine, &platform, succeeds, chain);
    CheckBrandRequest(&machine, &platform, succeeds, chain);
    return 0;
}
