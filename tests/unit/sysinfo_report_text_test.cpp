// The report texts composed from crafted fields, in the dialog and file forms.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "sysinfo/report_text.h"

namespace {

std::string Join(const std::vector<std::string>& lines, const char* eol)
{
    std::string out;
    for (const std::string& line : lines)
        out += line + eol;
    return out;
}

struct Report {
    ReportFields fields = {};
    ReportProbe probe = {};
    MemoryFigures memory = {};

    Report()
    {
        std::strcpy(fields.m_szOs, "Windows 7 6.1.7601 Service Pack 1");
        std::strcpy(fields.m_szCpu, "AMD EPYC(2 CPUs), ~2596MHz");
        std::strcpy(fields.m_szDirectX, "DirectX 9.0c (4.09.0000.0904)");
        std::strcpy(fields.m_szVram, "4291.8 MB");
        std::strcpy(fields.m_szVpMode, "HARDWARE_VERTEXPROCESSING");
        probe.m_pszDescription = "Crafted Adapter";
        probe.m_pszDriver = "crafted.dll";
        probe.m_nDeviceType = 1;
        probe.m_pszVsVersion = "3.0";
        probe.m_pszPsVersion = "2.0";
        probe.m_bVs11 = probe.m_bVs20 = probe.m_bPs11 = probe.m_bPs20 = 1;
        probe.m_bR5G6B5 = probe.m_bA1R5G5B5 = probe.m_bA4R4G4B4 = probe.m_bA8R8G8B8 = 1;
        probe.m_nMaxTextureWidth = 8192;
        probe.m_nMaxTextureHeight = 4096;
        probe.m_dwMaxVertexShaderConst = 256;
        probe.m_bPixelShader = 1;
        memory = ComputeMemoryFigures(2147016704ull, 8589934592ull);
    }

    std::string Dialog() const
    {
        char buffer[kReportBufferSize];
        size_t n = ComposeDialogReport(&fields, &probe, &memory, buffer, sizeof(buffer));
        EXPECT_EQ(n, std::strlen(buffer));
        return buffer;
    }

    std::string File() const
    {
        char buffer[kReportBufferSize];
        ComposeFileReport(&fields, &probe, &memory, buffer, sizeof(buffer));
        char tail[128];
        ComposeFileTextureLines(&probe, tail, sizeof(tail));
        return std::string(buffer) + tail;
    }
};

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST(SysinfoReportText, DialogFormLineByLine)
{
    Report r;
    EXPECT_EQ(r.Dialog(), Join({"[ 起動設定メニュー ]",
                                "",
                                "OS\t\tWindows 7 6.1.7601 Service Pack 1",
                                "CPU\t\tAMD EPYC(2 CPUs), ~2596MHz",
                                "DirectX\t\tDirectX 9.0c (4.09.0000.0904)",
                                "",
                                "Memory( Total )\t2047 MB ( 2.00 GB )",
                                "Memory( Free )\t8192 MB ( 8.00 GB )",
                                "VRAM\t\t4291.8 MB",
                                "",
                                "Description \tCrafted Adapter",
                                "Driver \t\tcrafted.dll",
                                "Device type\tD3DDEVTYPE_HAL",
                                "VP mode\t\tHARDWARE_VERTEXPROCESSING",
                                "Max Texture Size\t8192 x 4096",
                                "",
                                "Vertex shader\tver 3.0 - [ 1.1 : ok ], [ 2.0 : ok ]",
                                "Pixel shader\tver 2.0 - [ 1.1 : ok ], [ 2.0 : ok ]",
                                "",
                                "[ テクスチャフォーマット ]",
                                "",
                                "R5G6B5\t\tok",
                                "A1R5G5B5\tok",
                                "A4R4G4B4\tok",
                                "A8R8G8B8\tok",
                                ""},
                               "\r\n"));
}

TEST(SysinfoReportText, FileFormLineByLine)
{
    Report r;
    r.probe.m_bA4R4G4B4 = 0;
    EXPECT_EQ(r.File(), Join({"[ 起動設定メニュー ]",
                              "",
                              "OS\t\t\t\tWindows 7 6.1.7601 Service Pack 1",
                              "CPU\t\t\t\tAMD EPYC(2 CPUs), ~2596MHz",
                              "DirectX\t\t\tDirectX 9.0c (4.09.0000.0904)",
                              "",
                              "Memory( Total )\t2047 MB ( 2.00 GB )",
                              "Memory( Free )\t8192 MB ( 8.00 GB )",
                              "VRAM\t\t\t4291.8 MB",
                              "",
                              "Description \tCrafted Adapter",
                              "Driver \t\t\tcrafted.dll",
                              "Device type\t\tD3DDEVTYPE_HAL",
                              "VP mode\t\t\tHARDWARE_VERTEXPROCESSING",
                              "Max Texture Size\t\t8192 x 4096",
                              "",
                              "Vertex shader\tver 3.0 - [ 1.1 : ok ], [ 2.0 : ok ]",
                              "Pixel shader\tver 2.0 - [ 1.1 : ok ], [ 2.0 : ok ]",
                              "",
                              "",
                              "R5G6B5\t\t\tOK",
                              "A1R5G5B5\t\tOK",
                              "A4R4G4B4\t\tNO",
                              "A8R8G8B8\t\tOK"},
                             "\n"));
}

TEST(SysinfoReportText, MemoryFiguresComeFromWholeMegabytes)
{
    MemoryFigures m = ComputeMemoryFigures(2147016704ull, 8589934592ull);
    EXPECT_EQ(m.m_nTotalMb, 2047);
    EXPECT_EQ(m.m_nFreeMb, 8192);
    EXPECT_DOUBLE_EQ(m.m_dTotalGb, 2047 / 1024.0);

    Report r;
    r.memory = ComputeMemoryFigures(64ull << 30, (1ull << 20) - 1);
    EXPECT_TRUE(Contains(r.Dialog(), "Memory( Total )\t65536 MB ( 64.00 GB )\r\n"));
    EXPECT_TRUE(Contains(r.File(), "Memory( Free )\t0 MB ( 0.00 GB )\n"));
}

TEST(SysinfoReportText, VertexProcessingAndDeviceTypeNames)
{
    EXPECT_STREQ(VertexProcessingName(64), "HARDWARE_VERTEXPROCESSING");
    EXPECT_STREQ(VertexProcessingName(32), "SOFTWARE_VERTEXPROCESSING");
    EXPECT_STREQ(VertexProcessingName(0), "UNKNOWN");
    EXPECT_STREQ(VertexProcessingName(64 | 4), "UNKNOWN");
    EXPECT_STREQ(DeviceTypeName(1), "D3DDEVTYPE_HAL");
    EXPECT_STREQ(DeviceTypeName(0), "D3DDEVTYPE_REF");
    EXPECT_STREQ(DeviceTypeName(2), "D3DDEVTYPE_REF");
}

TEST(SysinfoReportText, PixelShaderNoteHasDifferentConditionsPerForm)
{
    const std::string dialogNote = "-- ピクセルシェーダは使用できません\r\n";
    const std::string fileNote = "-- ピクセルシェーダは使用できません\n";
    struct Case {
        const char* version;
        int32_t ps11, ps20;
        bool inDialog, inFile;
    } cases[] = {{"1.4", 1, 0, true, false}, {"2.0", 1, 1, false, false}, {"0.0", 0, 0, true, true}};
    for (const Case& c : cases) {
        Report r;
        r.probe.m_pszPsVersion = c.version;
        r.probe.m_bPs11 = r.probe.m_bPixelShader = c.ps11;
        r.probe.m_bPs20 = c.ps20;
        EXPECT_EQ(Contains(r.Dialog(), dialogNote), c.inDialog) << c.version;
        EXPECT_EQ(Contains(r.File(), fileNote), c.inFile) << c.version;
    }
}

TEST(SysinfoReportText, NotesFollowInTheirOrder)
{
    Report r;
    r.probe.m_bSquareOnly = 1;
    r.probe.m_bNoRenderTexture = 1;
    r.probe.m_bShaderSkinning = 1;
    r.probe.m_dwMaxVertexShaderConst = 256;
    r.probe.m_bPs20 = r.probe.m_bPs11 = r.probe.m_bPixelShader = 0;
    const std::string notes = Join({"-- テクスチャがべき乗 & 正方形に補正されます",
                                    "-- レンダーテクスチャが使用できません",
                                    "-- シェーダスキニングが実行できます（ 256 ）",
                                    "-- ピクセルシェーダは使用できません"},
                                   "\r\n");
    const std::string dialog = r.Dialog();
    ASSERT_GE(dialog.size(), notes.size());
    EXPECT_EQ(dialog.substr(dialog.size() - notes.size()), notes);
    EXPECT_TRUE(Contains(dialog, "A8R8G8B8\tok\r\n\r\n" + notes));

    // In the file the notes come before the texture-format lines.
    const std::string file = r.File();
    EXPECT_TRUE(Contains(file, "[ 2.0 : x ]\n\n-- テクスチャがべき乗 & 正方形に補正されます\n"));
    EXPECT_TRUE(Contains(file, "-- ピクセルシェーダは使用できません\n\nR5G6B5\t\t\tOK\n"));
}

TEST(SysinfoReportText, SkinningNoteOnlyWithTheFlag)
{
    Report r;
    r.probe.m_bShaderSkinning = 0;
    r.probe.m_dwMaxVertexShaderConst = 255;
    EXPECT_FALSE(Contains(r.Dialog(), "スキニング"));
    EXPECT_FALSE(Contains(r.File(), "スキニング"));
    r.probe.m_bShaderSkinning = 1;
    r.probe.m_dwMaxVertexShaderConst = 8192;
    EXPECT_TRUE(Contains(r.File(), "-- シェーダスキニングが実行できます（ 8192 ）\n"));
}

TEST(SysinfoReportText, FailedProbeShowsEmptyAndNegativeValues)
{
    Report r;
    r.probe = ReportProbe{};
    r.probe.m_pszDescription = "";
    r.probe.m_pszDriver = "";
    r.probe.m_pszVsVersion = "";
    r.probe.m_pszPsVersion = "";
    std::strcpy(r.fields.m_szVpMode, VertexProcessingName(0));
    const std::string dialog = r.Dialog();
    for (const char* line :
         {"Description \t\r\n", "Driver \t\t\r\n", "Device type\tD3DDEVTYPE_REF\r\n",
          "VP mode\t\tUNKNOWN\r\n", "Max Texture Size\t0 x 0\r\n",
          "Vertex shader\tver  - [ 1.1 : x ], [ 2.0 : x ]\r\n",
          "Pixel shader\tver  - [ 1.1 : x ], [ 2.0 : x ]\r\n", "A4R4G4B4\tx\r\n",
          "-- ピクセルシェーダは使用できません\r\n"})
        EXPECT_TRUE(Contains(dialog, line)) << line;
    const std::string file = r.File();
    for (const char* line : {"R5G6B5\t\t\tNO\n", "A1R5G5B5\t\tNO\n", "A8R8G8B8\t\tNO\n",
                             "-- ピクセルシェーダは使用できません\n"})
        EXPECT_TRUE(Contains(file, line)) << line;
}

TEST(SysinfoReportText, NegativeTextureSizeIsPrintedSigned)
{
    Report r;
    r.probe.m_nMaxTextureWidth = -32768;  // a 16-bit field widened as signed
    EXPECT_TRUE(Contains(r.Dialog(), "Max Texture Size\t-32768 x 4096\r\n"));
}

TEST(SysinfoReportText, LongAdapterTextsTruncateAtTheBuffer)
{
    const std::string description(511, 'D');
    const std::string driver(511, 'V');
    Report r;
    r.probe.m_pszDescription = description.c_str();
    r.probe.m_pszDriver = driver.c_str();
    r.probe.m_bSquareOnly = r.probe.m_bNoRenderTexture = r.probe.m_bShaderSkinning = 1;

    char buffer[kReportBufferSize + 16];
    std::memset(buffer, 'Z', sizeof(buffer));
    size_t n = ComposeDialogReport(&r.fields, &r.probe, &r.memory, buffer, kReportBufferSize);
    EXPECT_EQ(n, kReportBufferSize - 1);
    EXPECT_EQ(buffer[kReportBufferSize - 1], '\0');
    EXPECT_EQ(buffer[kReportBufferSize], 'Z');
    EXPECT_TRUE(Contains(buffer, "Description \t" + description + "\r\n"));

    std::memset(buffer, 'Z', sizeof(buffer));
    n = ComposeFileReport(&r.fields, &r.probe, &r.memory, buffer, kReportBufferSize);
    EXPECT_EQ(buffer[kReportBufferSize], 'Z');

    // One long description alone still fits the dialog form with its notes.
    r.probe.m_pszDriver = "crafted.dll";
    EXPECT_TRUE(Contains(r.Dialog(), "-- シェーダスキニングが実行できます（ 256 ）\r\n"));
}

TEST(SysinfoReportText, FieldsFromDxDiag)
{
    ReportSources s = {};
    s.m_pszOs = "Windows XP 5.1.2600 ";
    s.m_bDxDiagValid = 1;
    s.m_pszDxProcessor = "AMD EPYC(2 CPUs), ~2596MHz";
    s.m_pszDxDirectXVersion = "DirectX 9.0c";
    s.m_pszDxDisplayMemory = "";
    s.m_pszCpuBrand = "never used";
    s.m_bHaveDevice = 1;
    s.m_dwAvailTextureMem = 268435456;
    s.m_dwBehaviorFlags = 32;
    ReportFields f;
    std::memset(&f, 'Z', sizeof(f));
    FillReportFields(&s, &f);
    EXPECT_STREQ(f.m_szOs, "Windows XP 5.1.2600 ");
    EXPECT_STREQ(f.m_szCpu, "AMD EPYC(2 CPUs), ~2596MHz");
    EXPECT_STREQ(f.m_szDirectX, "DirectX 9.0c");
    EXPECT_STREQ(f.m_szVram, "");  // DxDiag gave no display memory: shown empty
    EXPECT_STREQ(f.m_szVpMode, "SOFTWARE_VERTEXPROCESSING");
}

TEST(SysinfoReportText, FieldsWithoutDxDiag)
{
    ReportSources s = {};
    s.m_pszOs = "Windows 7 6.1.7601 ";
    s.m_pszCpuBrand = "  Crafted(R) CPU  ";
    s.m_bHaveDevice = 1;
    s.m_dwAvailTextureMem = 268435456;
    s.m_dwBehaviorFlags = 64;
    ReportFields f;
    FillReportFields(&s, &f);
    EXPECT_STREQ(f.m_szCpu, "  Crafted(R) CPU  ");
    EXPECT_STREQ(f.m_szDirectX, "不明");
    EXPECT_STREQ(f.m_szVram, "256 MByte");
    EXPECT_STREQ(f.m_szVpMode, "HARDWARE_VERTEXPROCESSING");

    s.m_dwAvailTextureMem = 0xFFFFFFFFu;
    FillReportFields(&s, &f);
    EXPECT_STREQ(f.m_szVram, "4095 MByte");

    s.m_bHaveDevice = 0;  // no device to ask either
    FillReportFields(&s, &f);
    EXPECT_STREQ(f.m_szVram, "不明");
}

}  // namespace
