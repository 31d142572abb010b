#include "sysinfo/cpu_info.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr uint32_t kExtendedBase = 0x80000000u;

void FreeChain(CpuidRecord* head)
{
    while (head) {
        CpuidRecord* next = head->m_pNext;
        std::free(head);
        head = next;
    }
}

// A new, unlinked record holding one leaf; null when allocation or CPUID fails.
CpuidRecord* NewLeafRecord(const CpuidPlatform* platform, int32_t bit, int32_t ordinal,
                           uint32_t leaf)
{
    CpuidRecord* record = static_cast<CpuidRecord*>(std::calloc(1, sizeof(CpuidRecord)));
    if (!record)
        return nullptr;
    if (!ExecuteCpuid(platform, bit, ordinal, leaf, record)) {
        std::free(record);
        return nullptr;
    }
    return record;
}

// Appends leaves first, first+1, ... while below end; false (chain untouched
// beyond what was linked) when one of them fails.
bool AppendLeaves(const CpuidPlatform* platform, int32_t bit, int32_t ordinal,
                  CpuidRecord** tail, uint32_t first, uint32_t count)
{
    for (uint32_t k = 0; k < count; ++k) {
        CpuidRecord* record = NewLeafRecord(platform, bit, ordinal, first + k);
        if (!record)
            return false;
        (*tail)->m_pNext = record;
        *tail = record;
    }
    return true;
}

// Registers as four bytes each, least significant first.
void StoreRegisters(const CpuidRecord* record, char* out)
{
    const uint32_t regs[4] = {record->m_dwEax, record->m_dwEbx, record->m_dwEcx, record->m_dwEdx};
    for (int r = 0; r < 4; ++r)
        for (int b = 0; b < 4; ++b)
            out[r * 4 + b] = static_cast<char>((regs[r] >> (8 * b)) & 0xFFu);
}

}  // namespace

int32_t ExecuteCpuid(const CpuidPlatform* platform, int32_t processorBit, int32_t ordinal,
                     uint32_t leaf, CpuidRecord* record)
{
    if (!record)
        return 0;
    CpuidRecord* next = record->m_pNext;
    std::memset(record, 0, sizeof(*record));
    record->m_pNext = next;

    uint32_t regs[4] = {0, 0, 0, 0};
    if (!platform->m_pRunCpuid(platform->m_pContext, leaf, regs))
        return 0;
    record->m_nProcessorBit = processorBit;
    record->m_nProcessorOrdinal = ordinal;
    record->m_dwLeaf = leaf;
    record->m_dwEax = regs[0];
    record->m_dwEbx = regs[1];
    record->m_dwEcx = regs[2];
    record->m_dwEdx = regs[3];
    return 1;
}

CpuidRecord* ReadCpuidLeaves(const CpuidPlatform* platform, int32_t processorBit, int32_t ordinal)
{
    CpuidRecord* head = NewLeafRecord(platform, processorBit, ordinal, 0);
    if (!head)
        return nullptr;
    CpuidRecord* tail = head;

    // Highest basic leaf plus one, in 32 bits: 0xFFFFFFFF wraps to no further leaf.
    const uint32_t basicEnd = head->m_dwEax + 1u;
    if (basicEnd > 1 && !AppendLeaves(platform, processorBit, ordinal, &tail, 1, basicEnd - 1)) {
        FreeChain(head);
        return nullptr;
    }

    CpuidRecord* extended = NewLeafRecord(platform, processorBit, ordinal, kExtendedBase);
    if (!extended) {
        FreeChain(head);
        return nullptr;
    }
    if (extended->m_dwEax < kExtendedBase) {
        // No extended leaves on this processor.
        std::free(extended);
        return head;
    }
    tail->m_pNext = extended;
    tail = extended;
    const uint32_t extendedCount = extended->m_dwEax - 0x7FFFFFFFu;
    if (extendedCount > 1 &&
        !AppendLeaves(platform, processorBit, ordinal, &tail, kExtendedBase + 1, extendedCount - 1)) {
        FreeChain(head);
        return nullptr;
    }
    return head;
}

CpuInfoList* EnumerateProcessors(const CpuidPlatform* platform)
{
    CpuInfoList* list = static_cast<CpuInfoList*>(std::calloc(1, sizeof(CpuInfoList)));
    if (!list)
        return nullptr;

    uint32_t processMask = 0;
    uint32_t systemMask = 0;
    if (!platform->m_pGetAffinity(platform->m_pContext, &processMask, &systemMask) ||
        processMask == 0 || systemMask == 0) {
        FreeCpuInfoList(list);
        return nullptr;
    }

    CpuidRecord* tail = nullptr;
    int32_t ordinal = 0;
    bool failed = false;
    bool affinityChanged = false;
    for (int32_t bit = 0; bit < 32 && (systemMask >> bit) != 0; ++bit) {
        const uint32_t mask = 1u << bit;
        if (!(systemMask & mask))
            continue;
        affinityChanged = true;
        if (!platform->m_pSetAffinity(platform->m_pContext, mask)) {
            failed = true;
            break;
        }
        platform->m_pSleep(platform->m_pContext, 1);
        CpuidRecord* chain = ReadCpuidLeaves(platform, bit, ordinal);
        if (!chain) {
            failed = true;
            break;
        }
        if (tail)
            tail->m_pNext = chain;
        else
            list->m_pHead = chain;
        for (tail = chain; tail->m_pNext; tail = tail->m_pNext) {
        }
        ++ordinal;
    }

    // The walk leaves the process pinned to one processor: give it its own mask back.
    if (affinityChanged)
        platform->m_pSetAffinity(platform->m_pContext, processMask);

    if (failed) {
        FreeCpuInfoList(list);
        return nullptr;
    }
    list->m_nProcessorCount = ordinal;
    return list;
}

CpuInfoList* BuildCpuInfoList(const CpuidPlatform* platform)
{
    CpuInfoList* list = nullptr;
    if (platform->m_pIsWin9x(platform->m_pContext)) {
        // No affinity control there: the one processor the thread is on.
        list = static_cast<CpuInfoList*>(std::calloc(1, sizeof(CpuInfoList)));
        if (list) {
            list->m_pHead = ReadCpuidLeaves(platform, 0, 0);
            list->m_nProcessorCount = 1;
            if (!list->m_pHead) {
                FreeCpuInfoList(list);
                list = nullptr;
            }
        }
    } else {
        list = EnumerateProcessors(platform);
    }

    if (!list) {
        platform->m_pReportFailure(platform->m_pContext);
        return nullptr;
    }
    AssembleBrandString(list);
    return list;
}

const CpuidRecord* FindCpuidRecord(const CpuidRecord* head, uint32_t leaf)
{
    for (const CpuidRecord* record = head; record; record = record->m_pNext)
        if (record->m_nProcessorOrdinal == 0 && record->m_dwLeaf == leaf)
            return record;
    return nullptr;
}

void AssembleBrandString(CpuInfoList* list)
{
    if (!list || !list->m_pHead)
        return;
    std::memset(list->m_szBrand, 0, kCpuBrandLength);

    // Last part first: without all three leaves the text stays empty.
    static const struct {
        uint32_t leaf;
        int offset;
    } kBrandLeaves[] = {{0x80000004u, 32}, {0x80000003u, 16}, {0x80000002u, 0}};
    for (const auto& part : kBrandLeaves) {
        const CpuidRecord* record = FindCpuidRecord(list->m_pHead, part.leaf);
        if (!record)
            return;
        StoreRegisters(record, list->m_szBrand + part.offset);
    }
}

void FreeCpuInfoList(CpuInfoList* list)
{
    if (!list)
        return;
    FreeChain(list->m_pHead);
    list->m_pHead = nullptr;
    std::free(list);
}

void QueryCpuBrand(const CpuidPlatform* platform, char* buffer)
{
    buffer[0] = '\0';
    CpuInfoList* list = BuildCpuInfoList(platform);
    if (!list)
        return;
    int i = 0;
    for (; i < kCpuBrandLength && list->m_szBrand[i]; ++i)
        buffer[i] = list->m_szBrand[i];
    buffer[i] = '\0';
    FreeCpuInfoList(list);
}
