// Processor identification: the CPUID leaves of every processor in one
// chain, and the brand string of the first processor assembled from it.
// Written against CpuidPlatform so the walk runs on crafted leaf tables too.
#pragma once

#include <cstdint>

struct CpuidRecord {
    CpuidRecord* m_pNext;
    int32_t      m_nProcessorBit;      // affinity-mask bit the leaf ran on
    int32_t      m_nProcessorOrdinal;  // 0 for the first processor enumerated
    uint32_t     m_dwLeaf;
    uint32_t     m_dwEax;
    uint32_t     m_dwEbx;
    uint32_t     m_dwEcx;
    uint32_t     m_dwEdx;
};

constexpr int kCpuBrandLength = 48;

struct CpuInfoList {
    CpuidRecord* m_pHead;
    int32_t      m_nProcessorCount;
    char         m_szBrand[kCpuBrandLength + 1];  // the last byte is never written
};

// What the walk needs from the machine. Every function gets m_pContext back.
struct CpuidPlatform {
    void* m_pContext;
    int32_t (*m_pIsWin9x)(void* context);
    // Process and system affinity masks; 0 when they cannot be read.
    int32_t (*m_pGetAffinity)(void* context, uint32_t* processMask, uint32_t* systemMask);
    // 1 when the process now runs only on the processors of the mask.
    int32_t (*m_pSetAffinity)(void* context, uint32_t mask);
    void (*m_pSleep)(void* context, uint32_t milliseconds);
    // Runs CPUID with EAX = leaf, ECX = 0 on the current processor; regs gets
    // EAX, EBX, ECX, EDX. 0 when the instruction faulted or is missing.
    int32_t (*m_pRunCpuid)(void* context, uint32_t leaf, uint32_t regs[4]);
    // Tells the user that the processor information could not be read.
    void (*m_pReportFailure)(void* context);
};

int32_t ExecuteCpuid(const CpuidPlatform* platform, int32_t processorBit, int32_t ordinal,
                     uint32_t leaf, CpuidRecord* record);
// The leaf chain of the processor the caller runs on; null on any failure.
CpuidRecord* ReadCpuidLeaves(const CpuidPlatform* platform, int32_t processorBit, int32_t ordinal);
// One chain for all processors of the system mask, in bit order. The process
// affinity is put back as it was, whatever the outcome.
CpuInfoList* EnumerateProcessors(const CpuidPlatform* platform);
// The whole list with its brand text, or null after reporting the failure.
CpuInfoList* BuildCpuInfoList(const CpuidPlatform* platform);
// First record of processor ordinal 0 with that leaf, searching from head.
const CpuidRecord* FindCpuidRecord(const CpuidRecord* head, uint32_t leaf);
void AssembleBrandString(CpuInfoList* list);
void FreeCpuInfoList(CpuInfoList* list);
// Copies the brand text (at most 48 characters and the NUL) into buffer,
// which holds at least 49 bytes; an empty text when the list cannot be built.
void QueryCpuBrand(const CpuidPlatform* platform, char* buffer);

// The machine itself (Windows side): the running platform's family, its real
// CPUID and affinity calls, and the request the report makes.
int32_t IsWin9xPlatform();
const CpuidPlatform* GetMachineCpuidPlatform();
void QueryCpuBrand(char* buffer);
