#include "sysinfo/report_text.h"

#include <cstdio>
#include <cstring>

namespace {

const char kUnknown[] = "不明";

const char kDialogFormat[] =
    "[ 起動設定メニュー ]\r\n\r\n"
    "OS\t\t%s\r\nCPU\t\t%s\r\nDirectX\t\t%s\r\n\r\n"
    "Memory( Total )\t%lld MB ( %.2f GB )\r\nMemory( Free )\t%lld MB ( %.2f GB )\r\n"
    "VRAM\t\t%s\r\n\r\n"
    "Description \t%s\r\nDriver \t\t%s\r\nDevice type\t%s\r\nVP mode\t\t%s\r\n"
    "Max Texture Size\t%d x %d\r\n\r\n"
    "Vertex shader\tver %s - [ 1.1 : %s ], [ 2.0 : %s ]\r\n"
    "Pixel shader\tver %s - [ 1.1 : %s ], [ 2.0 : %s ]\r\n\r\n"
    "[ テクスチャフォーマット ]\r\n\r\n"
    "R5G6B5\t\t%s\r\nA1R5G5B5\t%s\r\nA4R4G4B4\t%s\r\nA8R8G8B8\t%s\r\n\r\n";

const char kFileFormat[] =
    "[ 起動設定メニュー ]\n\n"
    "OS\t\t\t\t%s\nCPU\t\t\t\t%s\nDirectX\t\t\t%s\n\n"
    "Memory( Total )\t%lld MB ( %.2f GB )\nMemory( Free )\t%lld MB ( %.2f GB )\n"
    "VRAM\t\t\t%s\n\n"
    "Description \t%s\nDriver \t\t\t%s\nDevice type\t\t%s\nVP mode\t\t\t%s\n"
    "Max Texture Size\t\t%d x %d\n\n"
    "Vertex shader\tver %s - [ 1.1 : %s ], [ 2.0 : %s ]\n"
    "Pixel shader\tver %s - [ 1.1 : %s ], [ 2.0 : %s ]\n\n";

// The note lines of one form; the pixel-shader note differs in its condition.
struct NoteTexts {
    const char* squareOnly;
    const char* noRenderTexture;
    const char* shaderSkinning;  // takes MaxVertexShaderConst
    const char* noPixelShader;
};

const NoteTexts kDialogNotes = {
    "-- テクスチャがべき乗 & 正方形に補正されます\r\n",
    "-- レンダーテクスチャが使用できません\r\n",
    "-- シェーダスキニングが実行できます（ %d ）\r\n",
    "-- ピクセルシェーダは使用できません\r\n",
};

const NoteTexts kFileNotes = {
    "-- テクスチャがべき乗 & 正方形に補正されます\n",
    "-- レンダーテクスチャが使用できません\n",
    "-- シェーダスキニングが実行できます（ %d ）\n",
    "-- ピクセルシェーダは使用できません\n",
};

const char* Mark(int32_t flag) { return flag ? "ok" : "x"; }
const char* FileMark(int32_t flag) { return flag ? "OK\n" : "NO\n"; }
const char* Text(const char* text) { return text ? text : ""; }

// Appends as much of text as fits; the buffer stays terminated.
void Append(char* buffer, size_t size, const char* text)
{
    size_t used = std::strlen(buffer);
    if (used + 1 >= size)
        return;
    size_t room = size - 1 - used;
    size_t n = std::strlen(text);
    if (n > room)
        n = room;
    std::memcpy(buffer + used, text, n);
    buffer[used + n] = '\0';
}

void CopyField(char* field, const char* text)
{
    std::snprintf(field, kReportFieldSize, "%s", Text(text));
}

// Each note is formatted into its own line buffer first, then appended.
void AppendNotes(const ReportProbe* probe, const NoteTexts& notes, int32_t pixelShaderMissing,
                 char* buffer, size_t size)
{
    char line[128];
    if (probe->m_bSquareOnly)
        Append(buffer, size, notes.squareOnly);
    if (probe->m_bNoRenderTexture)
        Append(buffer, size, notes.noRenderTexture);
    if (probe->m_bShaderSkinning) {
        std::snprintf(line, sizeof(line), notes.shaderSkinning,
                      static_cast<int>(probe->m_dwMaxVertexShaderConst));
        Append(buffer, size, line);
    }
    if (pixelShaderMissing)
        Append(buffer, size, notes.noPixelShader);
}

}  // namespace

MemoryFigures ComputeMemoryFigures(uint64_t totalPhys, uint64_t availPhys)
{
    MemoryFigures figures;
    figures.m_nTotalMb = static_cast<int64_t>(totalPhys >> 20);
    figures.m_dTotalGb = static_cast<double>(figures.m_nTotalMb) / 1024.0;
    figures.m_nFreeMb = static_cast<int64_t>(availPhys >> 20);
    figures.m_dFreeGb = static_cast<double>(figures.m_nFreeMb) / 1024.0;
    return figures;
}

const char* VertexProcessingName(uint32_t behaviorFlags)
{
    switch (behaviorFlags) {
    case 64:
        return "HARDWARE_VERTEXPROCESSING";
    case 32:
        return "SOFTWARE_VERTEXPROCESSING";
    default:
        return "UNKNOWN";
    }
}

const char* DeviceTypeName(int32_t deviceType)
{
    return deviceType == 1 ? "D3DDEVTYPE_HAL" : "D3DDEVTYPE_REF";
}

void FillReportFields(const ReportSources* sources, ReportFields* fields)
{
    CopyField(fields->m_szOs, sources->m_pszOs);
    if (sources->m_bDxDiagValid) {
        CopyField(fields->m_szVram, sources->m_pszDxDisplayMemory);
        CopyField(fields->m_szDirectX, sources->m_pszDxDirectXVersion);
        CopyField(fields->m_szCpu, sources->m_pszDxProcessor);
    } else {
        if (sources->m_bHaveDevice)
            std::snprintf(fields->m_szVram, kReportFieldSize, "%d MByte",
                          static_cast<int>(sources->m_dwAvailTextureMem >> 20));
        else
            CopyField(fields->m_szVram, kUnknown);  // neither DxDiag nor a device to ask
        CopyField(fields->m_szDirectX, kUnknown);
        CopyField(fields->m_szCpu, sources->m_pszCpuBrand);
    }
    CopyField(fields->m_szVpMode, VertexProcessingName(sources->m_dwBehaviorFlags));
}

namespace {
// Both forms take the same arguments in the same order; the file form has no
// texture-format lines in its format, so its last four arguments go unused.
size_t ComposeReport(const char* format, const NoteTexts& notes, int32_t pixelShaderMissing,
                     const ReportFields* fields, const ReportProbe* probe,
                     const MemoryFigures* memory, char* buffer, size_t size)
{
    if (!buffer || size == 0)
        return 0;
    std::snprintf(buffer, size, format, fields->m_szOs, fields->m_szCpu,
                  fields->m_szDirectX, static_cast<long long>(memory->m_nTotalMb),
                  memory->m_dTotalGb, static_cast<long long>(memory->m_nFreeMb),
                  memory->m_dFreeGb, fields->m_szVram, Text(probe->m_pszDescription),
                  Text(probe->m_pszDriver), DeviceTypeName(probe->m_nDeviceType),
                  fields->m_szVpMode, static_cast<int>(probe->m_nMaxTextureWidth),
                  static_cast<int>(probe->m_nMaxTextureHeight), Text(probe->m_pszVsVersion),
                  Mark(probe->m_bVs11), Mark(probe->m_bVs20), Text(probe->m_pszPsVersion),
                  Mark(probe->m_bPs11), Mark(probe->m_bPs20), Mark(probe->m_bR5G6B5),
                  Mark(probe->m_bA1R5G5B5), Mark(probe->m_bA4R4G4B4), Mark(probe->m_bA8R8G8B8));
    AppendNotes(probe, notes, pixelShaderMissing, buffer, size);
    return std::strlen(buffer);
}
} // namespace

size_t ComposeDialogReport(const ReportFields* fields, const ReportProbe* probe,
                           const MemoryFigures* memory, char* buffer, size_t size)
{
    // The dialog warns as soon as pixel shader 2.0 is missing.
    return ComposeReport(kDialogFormat, kDialogNotes, !probe->m_bPs20, fields, probe, memory,
                         buffer, size);
}

size_t ComposeFileReport(const ReportFields* fields, const ReportProbe* probe,
                         const MemoryFigures* memory, char* buffer, size_t size)
{
    // The file warns only when pixel shaders are missing altogether.
    return ComposeReport(kFileFormat, kFileNotes, !probe->m_bPixelShader, fields, probe, memory,
                         buffer, size);
}

size_t ComposeFileTextureLines(const ReportProbe* probe, char* buffer, size_t size)
{
    if (!buffer || size == 0)
        return 0;
    std::snprintf(buffer, size, "\nR5G6B5\t\t\t%sA1R5G5B5\t\t%sA4R4G4B4\t\t%sA8R8G8B8\t\t%s",
                  FileMark(probe->m_bR5G6B5), FileMark(probe->m_bA1R5G5B5),
                  FileMark(probe->m_bA4R4G4B4), FileMark(probe->m_bA8R8G8B8));
    return std::strlen(buffer);
}
