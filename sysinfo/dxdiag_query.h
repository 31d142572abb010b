// The three descriptive texts of the DirectX diagnostic service, read once at
// start-up; the provider and its containers are released right after.
#pragma once

#include <windows.h>
#include <cstdint>

struct IDxDiagProvider;
struct IDxDiagContainer;

struct DxDiagInfo {
    IDxDiagProvider*  m_pDxDiagProvider;
    IDxDiagContainer* m_pDxDiagRootContainer;
    int32_t           m_bDxDiagValid;
    char              m_szDisplayMemory[128];
    char              m_szDirectXVersion[128];
    char              m_szProcessor[128];
};

int32_t OpenDxDiag(DxDiagInfo* info);
void ReadDxDiagStrings(DxDiagInfo* info);
void ReleaseDxDiag(DxDiagInfo* info);
