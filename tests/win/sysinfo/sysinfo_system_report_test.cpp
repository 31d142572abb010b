// The report in the real information box of template 109 and in _debug.txt,
// from crafted probe and DxDiag state.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "res/resource.h"
#include "sysinfo/cpu_info.h"
#include "sysinfo/report_text.h"
#include "sysinfo/system_report.h"
#include "common/fake_d3d9.h"

namespace {

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

std::vector<std::wstring> SplitLines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t eol; (eol = text.find(L"\r\n", start)) != std::wstring::npos; start = eol + 2)
        lines.push_back(text.substr(start, eol - start));
    lines.push_back(text.substr(start));
    return lines;
}

std::string ReadFileBytes(const char* name)
{
    std::string bytes;
    FILE* f = std::fopen(name, "rb");
    if (!f)
        return bytes;
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof(chunk), f)) > 0)
        bytes.append(chunk, n);
    std::fclose(f);
    return bytes;
}

class SysinfoSystemReport : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        m_Dir = std::wstring(temp) + L"sysinfo_report_" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(m_Dir.c_str(), nullptr);
        GetCurrentDirectoryW(MAX_PATH, m_OldDir);
        ASSERT_TRUE(SetCurrentDirectoryW(m_Dir.c_str()));

        // Template 109 is a child dialog: it needs a parent window.
        m_hParent = CreateWindowExW(0, L"STATIC", L"parent", WS_OVERLAPPEDWINDOW, 0, 0, 800, 700,
                                    nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(m_hParent, nullptr);
        m_hDialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETTINGS),
                                       m_hParent, QuietDialogProc, 0);
        ASSERT_NE(m_hDialog, nullptr);
        m_State->m_hDialog = m_hDialog;
        FillProbedState();
    }

    void TearDown() override
    {
        DestroyWindow(m_hParent);
        DeleteFileW(L"_debug.txt");
        RemoveDirectoryW(L"_debug.txt");
        SetCurrentDirectoryW(m_OldDir);
        RemoveDirectoryW(m_Dir.c_str());
    }

    // A probe that found a capable HAL device, and a DxDiag that answered.
    void FillProbedState()
    {
        GraphicsProbe& g = m_State->m_Graphics;
        g.m_pDevice = &m_Device;
        std::strcpy(g.m_AdapterId.Description, "Crafted GeForce 9");
        std::strcpy(g.m_AdapterId.Driver, "crafted.dll");
        g.m_DeviceType = D3DDEVTYPE_HAL;
        g.m_dwBehaviorFlags = 64;
        g.m_nMaxTextureWidth = 16384;
        g.m_nMaxTextureHeight = 16384;
        std::strcpy(g.m_szVsVersion, "3.0");
        std::strcpy(g.m_szPsVersion, "1.4");
        g.m_bVs11 = g.m_bVs20 = g.m_bPs11 = g.m_bPixelShader = 1;
        g.m_bR5G6B5 = g.m_bA8R8G8B8 = 1;
        g.m_bShaderSkinning = 1;
        g.m_Caps.MaxVertexShaderConst = 256;

        DxDiagInfo& d = m_State->m_DxDiag;
        d.m_bDxDiagValid = 1;
        std::strcpy(d.m_szDirectXVersion, "DirectX 9.0c (4.09.0000.0904)");
        std::strcpy(d.m_szProcessor, "AMD EPYC(2 CPUs), ~2596MHz");
        std::strcpy(d.m_szDisplayMemory, "4291.8 MB");
        m_Device.m_nAvailableTextureMem = 268435456;
    }

    std::vector<std::wstring> ReportLines() { return SplitLines(ControlText(m_hDialog, IDC_REPORT)); }

    ScopedAppState m_State;
    MessageRecorder m_Messages;
    FakeDevice9 m_Device;
    HWND m_hParent = nullptr;
    HWND m_hDialog = nullptr;
    std::wstring m_Dir;
    wchar_t m_OldDir[MAX_PATH] = {};
    ReportFields m_Fields = {};
};

TEST_F(SysinfoSystemReport, DialogFormWithDxDiagTexts)
{
    ShowSystemReport(m_hDialog, &m_State->m_DxDiag, &m_State->m_Graphics, &m_Fields);
    const std::vector<std::wstring> lines = ReportLines();

    MEMORYSTATUSEX memory = {};
    memory.dwLength = sizeof(memory);
    GlobalMemoryStatusEx(&memory);
    const std::wstring total =
        L"Memory( Total )\t" + std::to_wstring(memory.ullTotalPhys >> 20) + L" MB ( ";

    ASSERT_EQ(lines.size(), 29u);
    EXPECT_EQ(lines[0], L"[ 起動設定メニュー ]");
    EXPECT_EQ(lines[2], L"OS\t\t" + Wide(m_Fields.m_szOs));
    EXPECT_EQ(lines[3], L"CPU\t\tAMD EPYC(2 CPUs), ~2596MHz");
    EXPECT_EQ(lines[4], L"DirectX\t\tDirectX 9.0c (4.09.0000.0904)");
    EXPECT_EQ(lines[6].rfind(total, 0), 0u) << lines[6];
    EXPECT_EQ(lines[7].rfind(L"Memory( Free )\t", 0), 0u);
    EXPECT_EQ(lines[8], L"VRAM\t\t4291.8 MB");
    EXPECT_EQ(lines[10], L"Description \tCrafted GeForce 9");
    EXPECT_EQ(lines[11], L"Driver \t\tcrafted.dll");
    EXPECT_EQ(lines[12], L"Device type\tD3DDEVTYPE_HAL");
    EXPECT_EQ(lines[13], L"VP mode\t\tHARDWARE_VERTEXPROCESSING");
    EXPECT_EQ(lines[14], L"Max Texture Size\t16384 x 16384");
    EXPECT_EQ(lines[16], L"Vertex shader\tver 3.0 - [ 1.1 : ok ], [ 2.0 : ok ]");
    EXPECT_EQ(lines[17], L"Pixel shader\tver 1.4 - [ 1.1 : ok ], [ 2.0 : x ]");
    EXPECT_EQ(lines[19], L"[ テクスチャフォーマット ]");
    EXPECT_EQ(lines[21], L"R5G6B5\t\tok");
    EXPECT_EQ(lines[22], L"A1R5G5B5\tx");
    EXPECT_EQ(lines[24], L"A8R8G8B8\tok");
    EXPECT_EQ(lines[26], L"-- シェーダスキニングが実行できます（ 256 ）");
    EXPECT_EQ(lines[27], L"-- ピクセルシェーダは使用できません");
    EXPECT_EQ(lines[28], L"");
    EXPECT_STREQ(m_Fields.m_szVpMode, "HARDWARE_VERTEXPROCESSING");
    EXPECT_TRUE(m_Messages.Messages().empty());
}

TEST_F(SysinfoSystemReport, WithoutDxDiagTheDeviceAndCpuidStandIn)
{
    m_State->m_DxDiag.m_bDxDiagValid = 0;
    ShowSystemReport(m_hDialog, &m_State->m_DxDiag, &m_State->m_Graphics, &m_Fields);
    char brand[128];
    QueryCpuBrand(brand);
    const std::vector<std::wstring> lines = ReportLines();
    ASSERT_GT(lines.size(), 8u);
    EXPECT_EQ(lines[3], L"CPU\t\t" + Wide(brand));
    EXPECT_EQ(lines[4], L"DirectX\t\t不明");
    EXPECT_EQ(lines[8], L"VRAM\t\t256 MByte");
    EXPECT_STREQ(m_Fields.m_szDirectX, "不明");

    m_State->m_Graphics.m_pDevice = nullptr;  // the probe created no device either
    ShowSystemReport(m_hDialog, &m_State->m_DxDiag, &m_State->m_Graphics, &m_Fields);
    EXPECT_EQ(ReportLines()[8], L"VRAM\t\t不明");
}

TEST_F(SysinfoSystemReport, FailedProbeShowsItsZeroState)
{
    std::memset(&m_State->m_Graphics, 0, sizeof(GraphicsProbe));
    ShowSystemReport(m_hDialog, &m_State->m_DxDiag, &m_State->m_Graphics, &m_Fields);
    const std::wstring text = ControlText(m_hDialog, IDC_REPORT);
    for (const wchar_t* line :
         {L"\r\nDescription \t\r\n", L"\r\nDriver \t\t\r\n", L"\r\nDevice type\tD3DDEVTYPE_REF\r\n",
          L"\r\nVP mode\t\tUNKNOWN\r\n", L"\r\nMax Texture Size\t0 x 0\r\n",
          L"\r\nVertex shader\tver  - [ 1.1 : x ], [ 2.0 : x ]\r\n", L"\r\nA4R4G4B4\tx\r\n"})
        EXPECT_NE(text.find(line), std::wstring::npos) << line;
}

TEST_F(SysinfoSystemReport, SixtyFourBitMemoryFiguresPrintWithThisRuntime)
{
    ReportFields fields = {};
    ReportProbe probe = {};
    MemoryFigures memory = ComputeMemoryFigures(2147016704ull, 8589934592ull);
    char text[kReportBufferSize];
    ComposeDialogReport(&fields, &probe, &memory, text, sizeof(text));
    const std::string s = text;
    EXPECT_NE(s.find("Memory( Total )\t2047 MB ( 2.00 GB )\r\n"), std::string::npos) << s;
    EXPECT_NE(s.find("Memory( Free )\t8192 MB ( 8.00 GB )\r\n"), std::string::npos) << s;
}

TEST_F(SysinfoSystemReport, FileIsShiftJisWithCrLfAndReplacesTheOldOne)
{
    FILE* old = std::fopen("_debug.txt", "wb");
    ASSERT_NE(old, nullptr);
    std::fputs(std::string(8000, '#').c_str(), old);
    std::fclose(old);

    m_State->m_Graphics.m_bSquareOnly = 1;
    ShowSystemReport(m_hDialog, &m_State->m_DxDiag, &m_State->m_Graphics, &m_Fields);
    WriteReportFile(&m_State->m_Graphics, &m_Fields);
    const std::string bytes = ReadFileBytes("_debug.txt");
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.find('#'), std::string::npos);

    // Every line ends in CR LF and the bytes are the stored Shift-JIS ones.
    std::string lf;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at " << i;
        }
        if (bytes[i] != '\r')
            lf += bytes[i];
    }
    EXPECT_EQ(bytes.rfind("[ 起動設定メニュー ]\r\n\r\nOS\t\t\t\t", 0), 0u);
    const std::string notesAndFormats =
        "Pixel shader\tver 1.4 - [ 1.1 : ok ], [ 2.0 : x ]\n\n"
        "-- テクスチャがべき乗 & 正方形に補正されます\n"
        "-- シェーダスキニングが実行できます（ 256 ）\n"
        "\nR5G6B5\t\t\tOK\nA1R5G5B5\t\tNO\nA4R4G4B4\t\tNO\nA8R8G8B8\t\tOK\n";
    ASSERT_GE(lf.size(), notesAndFormats.size());
    EXPECT_EQ(lf.substr(lf.size() - notesAndFormats.size()), notesAndFormats);
    EXPECT_NE(lf.find("\nCPU\t\t\t\tAMD EPYC(2 CPUs), ~2596MHz\n"), std::string::npos);
    EXPECT_NE(lf.find("\nVRAM\t\t\t4291.8 MB\n"), std::string::npos);
    EXPECT_NE(lf.find("\nMax Texture Size\t\t16384 x 16384\n"), std::string::npos);

    // A second write replaces the first instead of appending to it.
    WriteReportFile(&m_State->m_Graphics, &m_Fields);
    const std::string again = ReadFileBytes("_debug.txt");
    const std::string heading = "[ 起動設定メニュー ]";
    EXPECT_EQ(again.rfind(heading), 0u);
}

TEST_F(SysinfoSystemReport, UnopenableFileIsSkippedQuietly)
{
    ASSERT_TRUE(CreateDirectoryW(L"_debug.txt", nullptr));
    ShowSystemReport(m_hDialog, &m_State->m_DxDiag, &m_State->m_Graphics, &m_Fields);
    WriteReportFile(&m_State->m_Graphics, &m_Fields);
    EXPECT_TRUE(m_Messages.Messages().empty());
    EXPECT_NE(GetFileAttributesW(L"_debug.txt") & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

}  // namespace
