// The report in the information box and in _debug.txt, gathered afresh on
// every fill of the dialog from the probe, DxDiag, CPUID and the OS.
#include "sysinfo/system_report.h"

#include <cstdio>

#include "platform/win_text.h"
#include "res/resource.h"
#include "sysinfo/cpu_info.h"
#include "sysinfo/os_version.h"
#include "sysinfo/report_text.h"

namespace {

const char kReportFileName[] = "_debug.txt";

// A failed query leaves the record zero: 0 MB and 0.00 GB.
MemoryFigures ReadMemoryFigures()
{
    MEMORYSTATUSEX status;
    ZeroMemory(&status, sizeof(status));
    status.dwLength = sizeof(status);
    GlobalMemoryStatusEx(&status);
    return ComputeMemoryFigures(status.ullTotalPhys, status.ullAvailPhys);
}

ReportProbe ProbeView(const GraphicsProbe& g)
{
    ReportProbe p;
    p.m_pszDescription = g.m_AdapterId.Description;
    p.m_pszDriver = g.m_AdapterId.Driver;
    p.m_nDeviceType = static_cast<int32_t>(g.m_DeviceType);
    p.m_pszVsVersion = g.m_szVsVersion;
    p.m_pszPsVersion = g.m_szPsVersion;
    p.m_bVs11 = g.m_bVs11;
    p.m_bVs20 = g.m_bVs20;
    p.m_bPs11 = g.m_bPs11;
    p.m_bPs20 = g.m_bPs20;
    p.m_bR5G6B5 = g.m_bR5G6B5;
    p.m_bA1R5G5B5 = g.m_bA1R5G5B5;
    p.m_bA4R4G4B4 = g.m_bA4R4G4B4;
    p.m_bA8R8G8B8 = g.m_bA8R8G8B8;
    p.m_nMaxTextureWidth = g.m_nMaxTextureWidth;
    p.m_nMaxTextureHeight = g.m_nMaxTextureHeight;
    p.m_bSquareOnly = g.m_bSquareOnly;
    p.m_bNoRenderTexture = g.m_bNoRenderTexture;
    p.m_bShaderSkinning = g.m_bShaderSkinning;
    p.m_dwMaxVertexShaderConst = g.m_Caps.MaxVertexShaderConst;
    p.m_bPixelShader = g.m_bPixelShader;
    return p;
}

}  // namespace

void ShowSystemReport(HWND dialog, const DxDiagInfo* dxDiagInfo,
                      const GraphicsProbe* graphicsProbe, ReportFields* fields)
{
    if (!dxDiagInfo || !graphicsProbe || !fields)
        return;
    const DxDiagInfo& dxDiag = *dxDiagInfo;
    const GraphicsProbe& graphics = *graphicsProbe;

    char os[kOsTextSize];
    GetOsVersionText(os);
    char cpuBrand[kReportFieldSize] = "";
    uint32_t availTextureMem = 0;
    if (!dxDiag.m_bDxDiagValid) {
        if (graphics.m_pDevice)
            availTextureMem = graphics.m_pDevice->GetAvailableTextureMem();
        QueryCpuBrand(cpuBrand);
    }

    const ReportSources sources = {os,
                                   dxDiag.m_bDxDiagValid,
                                   dxDiag.m_szProcessor,
                                   dxDiag.m_szDirectXVersion,
                                   dxDiag.m_szDisplayMemory,
                                   cpuBrand,
                                   graphics.m_pDevice ? 1 : 0,
                                   availTextureMem,
                                   graphics.m_dwBehaviorFlags};
    FillReportFields(&sources, fields);

    const ReportProbe probe = ProbeView(graphics);
    const MemoryFigures memory = ReadMemoryFigures();
    char text[kReportBufferSize];
    ComposeDialogReport(fields, &probe, &memory, text, sizeof(text));
    SetItemTextSjis(dialog, IDC_REPORT, text);
}

void WriteReportFile(const GraphicsProbe* graphics, const ReportFields* fields)
{
    if (!graphics || !fields)
        return;
    // Text mode: every "\n" reaches the disk as CR LF.
    FILE* file = std::fopen(kReportFileName, "w");
    if (!file)
        return;

    const ReportProbe probe = ProbeView(*graphics);
    const MemoryFigures memory = ReadMemoryFigures();
    char text[kReportBufferSize];
    ComposeFileReport(fields, &probe, &memory, text, sizeof(text));
    std::fputs(text, file);
    char textureLines[128];
    ComposeFileTextureLines(&probe, textureLines, sizeof(textureLines));
    std::fputs(textureLines, file);
    std::fclose(file);
}
