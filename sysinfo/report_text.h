// The report's texts composed from plain data: the five gathered fields, the
// dialog form and the file form.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sysinfo/report_fields.h"

constexpr size_t kReportBufferSize = 1536;
constexpr size_t kReportFieldSize = 128;

// The probe results the report prints.
struct ReportProbe {
    const char* m_pszDescription;
    const char* m_pszDriver;
    int32_t     m_nDeviceType;
    const char* m_pszVsVersion;
    const char* m_pszPsVersion;
    int32_t     m_bVs11;
    int32_t     m_bVs20;
    int32_t     m_bPs11;
    int32_t     m_bPs20;
    int32_t     m_bR5G6B5;
    int32_t     m_bA1R5G5B5;
    int32_t     m_bA4R4G4B4;
    int32_t     m_bA8R8G8B8;
    int32_t     m_nMaxTextureWidth;
    int32_t     m_nMaxTextureHeight;
    int32_t     m_bSquareOnly;
    int32_t     m_bNoRenderTexture;
    int32_t     m_bShaderSkinning;
    uint32_t    m_dwMaxVertexShaderConst;
    int32_t     m_bPixelShader;
};

struct MemoryFigures {
    int64_t m_nTotalMb;
    double  m_dTotalGb;
    int64_t m_nFreeMb;
    double  m_dFreeGb;
};

// Where the five fields come from.
struct ReportSources {
    const char* m_pszOs;
    int32_t     m_bDxDiagValid;
    const char* m_pszDxProcessor;
    const char* m_pszDxDirectXVersion;
    const char* m_pszDxDisplayMemory;
    const char* m_pszCpuBrand;        // used only when DxDiag gave nothing
    int32_t     m_bHaveDevice;
    uint32_t    m_dwAvailTextureMem;  // bytes; used only with a device and no DxDiag
    uint32_t    m_dwBehaviorFlags;
};

// Gigabytes come from the whole megabytes, not from the bytes.
MemoryFigures ComputeMemoryFigures(uint64_t totalPhys, uint64_t availPhys);
const char* VertexProcessingName(uint32_t behaviorFlags);
const char* DeviceTypeName(int32_t deviceType);
void FillReportFields(const ReportSources* sources, ReportFields* fields);

// Each composes into buffer (size bytes, truncating, always terminated) and
// returns the length of the text.
size_t ComposeDialogReport(const ReportFields* fields, const ReportProbe* probe,
                           const MemoryFigures* memory, char* buffer, size_t size);
// The file form up to its note lines; ComposeFileTextureLines gives the rest.
size_t ComposeFileReport(const ReportFields* fields, const ReportProbe* probe,
                         const MemoryFigures* memory, char* buffer, size_t size);
size_t ComposeFileTextureLines(const ReportProbe* probe, char* buffer, size_t size);
