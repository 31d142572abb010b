// The Direct3D 9 probe against a fake adapter: the device chains, the
// multisample check, the formats, and each failure with its message.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "common/test_support.h"
#include "sysinfo/graphics_probe.h"
#include "common/fake_d3d9.h"

namespace {

const DWORD kHw = D3DCREATE_HARDWARE_VERTEXPROCESSING;
const DWORD kSw = D3DCREATE_SOFTWARE_VERTEXPROCESSING;
const DWORD kMt = D3DCREATE_MULTITHREADED;

bool IsAllZero(const void* data, size_t size)
{
    const unsigned char* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i)
        if (p[i])
            return false;
    return true;
}

std::vector<std::pair<D3DDEVTYPE, DWORD>> Attempts(const FakeDirect3D9& d3d)
{
    std::vector<std::pair<D3DDEVTYPE, DWORD>> out;
    for (const CreateDeviceCall& c : d3d.m_CreateCalls)
        out.emplace_back(c.type, c.behaviorFlags);
    return out;
}

class SysinfoGraphicsProbe : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_hWnd = CreateWindowExW(0, L"STATIC", L"probe", WS_OVERLAPPED, 0, 0, 64, 64, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(m_hWnd, nullptr);
    }
    void TearDown() override { DestroyWindow(m_hWnd); }

    // Runs the probe on a fresh record against the given adapter.
    int32_t Probe(FakeDirect3D9* d3d, int32_t samples = 0)
    {
        ScopedDirect3DCreate create(d3d);
        std::memset(&m_Probe, 0, sizeof(m_Probe));
        int32_t result = ProbeGraphics(&m_Probe, m_hWnd, samples);
        m_SdkVersions = create.SdkVersions();
        return result;
    }

    HWND m_hWnd = nullptr;
    GraphicsProbe m_Probe;
    std::vector<UINT> m_SdkVersions;
    MessageRecorder m_Messages;
};

TEST_F(SysinfoGraphicsProbe, CapableAdapterGetsHalHardwareDeviceAndEveryResult)
{
    FakeDirect3D9 d3d(CapableAdapter());
    ASSERT_EQ(Probe(&d3d), 1);
    EXPECT_TRUE(m_Messages.Messages().empty());
    EXPECT_EQ(m_SdkVersions, std::vector<UINT>{32});

    EXPECT_EQ(m_Probe.m_pD3D, &d3d);
    EXPECT_EQ(m_Probe.m_pDevice, &d3d.m_Device);
    EXPECT_EQ(m_Probe.m_DeviceType, D3DDEVTYPE_HAL);
    EXPECT_EQ(m_Probe.m_dwBehaviorFlags, 64u);
    EXPECT_EQ(m_Probe.m_bShaderSkinning, 1);
    EXPECT_EQ(m_Probe.m_bSquareOnly, 0);
    EXPECT_EQ(m_Probe.m_nMaxTextureWidth, 16384);
    EXPECT_EQ(m_Probe.m_nMaxTextureHeight, 8192);
    EXPECT_STREQ(m_Probe.m_AdapterId.Description, "Crafted GeForce 9");
    EXPECT_STREQ(m_Probe.m_AdapterId.Driver, "crafted.dll");
    EXPECT_STREQ(m_Probe.m_szVsVersion, "3.0");
    EXPECT_STREQ(m_Probe.m_szPsVersion, "2.0");
    EXPECT_EQ(m_Probe.m_bVs11 + m_Probe.m_bVs20 + m_Probe.m_bPs11 + m_Probe.m_bPs20, 4);
    EXPECT_EQ(m_Probe.m_bPixelShader, 1);
    EXPECT_EQ(m_Probe.m_bR5G6B5 + m_Probe.m_bA1R5G5B5 + m_Probe.m_bA4R4G4B4 + m_Probe.m_bA8R8G8B8, 4);
    EXPECT_EQ(m_Probe.m_bNoRenderTexture, 0);
    EXPECT_EQ(m_Probe.m_MultiSampleType, 0);

    ASSERT_EQ(d3d.m_CreateCalls.size(), 1u);
    const CreateDeviceCall& call = d3d.m_CreateCalls[0];
    EXPECT_EQ(call.type, D3DDEVTYPE_HAL);
    EXPECT_EQ(call.behaviorFlags, kHw | kMt);
    EXPECT_EQ(call.focus, m_hWnd);
    const D3DPRESENT_PARAMETERS& pp = call.params;
    EXPECT_EQ(pp.BackBufferFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(pp.BackBufferCount, 1u);
    EXPECT_EQ(pp.BackBufferWidth, 0u);
    EXPECT_EQ(pp.BackBufferHeight, 0u);
    EXPECT_EQ(pp.SwapEffect, D3DSWAPEFFECT_FLIP);
    // The swap chain has a hidden window of its own, alive until the release.
    ASSERT_NE(pp.hDeviceWindow, nullptr);
    EXPECT_NE(pp.hDeviceWindow, m_hWnd);
    EXPECT_EQ(pp.hDeviceWindow, m_Probe.m_hDeviceWnd);
    EXPECT_TRUE(IsWindow(pp.hDeviceWindow));
    EXPECT_FALSE(IsWindowVisible(pp.hDeviceWindow));
    EXPECT_EQ(pp.Windowed, TRUE);
    EXPECT_EQ(pp.EnableAutoDepthStencil, TRUE);
    EXPECT_EQ(pp.AutoDepthStencilFormat, D3DFMT_D24S8);
    EXPECT_EQ(pp.MultiSampleType, D3DMULTISAMPLE_NONE);
    EXPECT_EQ(pp.MultiSampleQuality, 0u);
    EXPECT_EQ(pp.Flags, 0u);
    EXPECT_EQ(pp.FullScreen_RefreshRateInHz, 0u);
    EXPECT_EQ(pp.PresentationInterval, 0u);
    EXPECT_TRUE(d3d.m_MultiSampleCalls.empty());

    // Four texture formats in order, then the render-target check.
    ASSERT_EQ(d3d.m_FormatCalls.size(), 5u);
    const D3DFORMAT order[] = {D3DFMT_R5G6B5, D3DFMT_A1R5G5B5, D3DFMT_A4R4G4B4, D3DFMT_A8R8G8B8,
                               D3DFMT_X8R8G8B8};
    for (int i = 0; i < 5; ++i) {
        const FormatCall& f = d3d.m_FormatCalls[i];
        EXPECT_EQ(f.format, order[i]) << i;
        EXPECT_EQ(f.type, D3DDEVTYPE_HAL);
        EXPECT_EQ(f.adapterFormat, D3DFMT_X8R8G8B8);
        EXPECT_EQ(f.resource, D3DRTYPE_TEXTURE);
        EXPECT_EQ(f.usage, i < 4 ? 0u : static_cast<DWORD>(D3DUSAGE_RENDERTARGET));
    }
}

TEST_F(SysinfoGraphicsProbe, CapabilityFieldsFollowTheirThresholds)
{
    struct Case {
        DWORD vs, ps, constants, textureCaps, width, height;
        const char *vsText, *psText;
        int vs11, vs20, ps11, ps20, skinning, square;
        int16_t maxWidth, maxHeight;
    } cases[] = {
        {0xFFFE0101u, 0xFFFF0104u, 255, 0x20, 0x12345, 0x18000, "1.1", "1.4", 1, 0, 1, 0, 0, 1,
         0x2345, -32768},
        {0xFFFE0100u, 0xFFFF0100u, 256, 0x40, 2048, 2048, "1.0", "1.0", 0, 0, 0, 0, 1, 0, 2048, 2048},
        {0, 0, 0, 0, 0, 0, "0.0", "0.0", 0, 0, 0, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vsText);
        FakeAdapter a = CapableAdapter();
        a.caps.VertexShaderVersion = c.vs;
        a.caps.PixelShaderVersion = c.ps;
        a.caps.MaxVertexShaderConst = c.constants;
        a.caps.TextureCaps = c.textureCaps;
        a.caps.MaxTextureWidth = c.width;
        a.caps.MaxTextureHeight = c.height;
        FakeDirect3D9 d3d(a);
        EXPECT_EQ(Probe(&d3d), 1);
        EXPECT_STREQ(m_Probe.m_szVsVersion, c.vsText);
        EXPECT_STREQ(m_Probe.m_szPsVersion, c.psText);
        EXPECT_EQ(m_Probe.m_bVs11, c.vs11);
        EXPECT_EQ(m_Probe.m_bVs20, c.vs20);
        EXPECT_EQ(m_Probe.m_bPs11, c.ps11);
        EXPECT_EQ(m_Probe.m_bPs20, c.ps20);
        EXPECT_EQ(m_Probe.m_bPixelShader, c.ps11);
        EXPECT_EQ(m_Probe.m_bShaderSkinning, c.skinning);
        EXPECT_EQ(m_Probe.m_bSquareOnly, c.square);
        EXPECT_EQ(m_Probe.m_nMaxTextureWidth, c.maxWidth);
        EXPECT_EQ(m_Probe.m_nMaxTextureHeight, c.maxHeight);
        ReleaseGraphics(&m_Probe);
    }
}

TEST_F(SysinfoGraphicsProbe, VertexShaderVersionChoosesTheDeviceChain)
{
    struct Case {
        DWORD vs;
        std::vector<std::pair<D3DDEVTYPE, DWORD>> chain;
    } cases[] = {
        {0xFFFE0101u,
         {{D3DDEVTYPE_HAL, kHw | kMt}, {D3DDEVTYPE_HAL, kSw | kMt}, {D3DDEVTYPE_REF, kSw | kMt}}},
        {0xFFFE0100u,
         {{D3DDEVTYPE_HAL, kSw | kMt}, {D3DDEVTYPE_REF, kHw | kMt}, {D3DDEVTYPE_REF, kSw | kMt}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vs);
        FakeAdapter a = CapableAdapter();
        a.caps.VertexShaderVersion = c.vs;
        a.acceptedDevices = {{D3DDEVTYPE_REF, kSw}};  // only the last attempt succeeds
        FakeDirect3D9 d3d(a);
        EXPECT_EQ(Probe(&d3d), 1);
        EXPECT_EQ(Attempts(d3d), c.chain);
        EXPECT_EQ(m_Probe.m_DeviceType, D3DDEVTYPE_REF);
        EXPECT_EQ(m_Probe.m_dwBehaviorFlags, kSw);
        EXPECT_EQ(d3d.m_FormatCalls.front().type, D3DDEVTYPE_REF);
        ReleaseGraphics(&m_Probe);
    }

    // The chain stops at the first success: REF with hardware processing.
    FakeAdapter a = CapableAdapter();
    a.caps.VertexShaderVersion = 0xFFFE0100u;
    a.acceptedDevices = {{D3DDEVTYPE_REF, kHw}, {D3DDEVTYPE_REF, kSw}};
    FakeDirect3D9 d3d(a);
    EXPECT_EQ(Probe(&d3d), 1);
    EXPECT_EQ(d3d.m_CreateCalls.size(), 2u);
    EXPECT_EQ(m_Probe.m_DeviceType, D3DDEVTYPE_REF);
    EXPECT_EQ(m_Probe.m_dwBehaviorFlags, kHw);
    ReleaseGraphics(&m_Probe);
}

TEST_F(SysinfoGraphicsProbe, AllDeviceAttemptsFailing)
{
    FakeAdapter a = CapableAdapter();
    a.acceptedDevices.clear();
    FakeDirect3D9 d3d(a);
    EXPECT_EQ(Probe(&d3d), 0);
    ASSERT_EQ(m_Messages.Messages().size(), 1u);
    const RecordedMessage& box = m_Messages.Messages()[0];
    EXPECT_EQ(box.text, L"Direct3D Device の作成に失敗しました");
    EXPECT_EQ(box.caption, L"ERROR");
    EXPECT_EQ(box.owner, m_hWnd);
    EXPECT_EQ(d3d.m_CreateCalls.size(), 3u);
    EXPECT_EQ(m_Probe.m_pDevice, nullptr);
    EXPECT_EQ(m_Probe.m_DeviceType, D3DDEVTYPE_REF);
    EXPECT_EQ(m_Probe.m_dwBehaviorFlags, kSw);
    EXPECT_TRUE(d3d.m_FormatCalls.empty());
    EXPECT_EQ(m_Probe.m_bR5G6B5 + m_Probe.m_bA1R5G5B5 + m_Probe.m_bA4R4G4B4 + m_Probe.m_bA8R8G8B8, 0);
    EXPECT_EQ(m_Probe.m_bNoRenderTexture, 0);
    EXPECT_STREQ(m_Probe.m_szVsVersion, "3.0");  // reached before the devices
    ReleaseGraphics(&m_Probe);
    EXPECT_EQ(FakeD3DReleaseLog(), std::vector<std::string>{"d3d"});
}

TEST_F(SysinfoGraphicsProbe, MultisampleCheckSetsTheParameters)
{
    FakeAdapter a = CapableAdapter();
    a.multiSampleQuality[D3DDEVTYPE_HAL] = 3;
    FakeDirect3D9 d3d(a);
    EXPECT_EQ(Probe(&d3d, 4), 1);
    EXPECT_EQ(m_Probe.m_MultiSampleType, 4);
    ASSERT_EQ(d3d.m_MultiSampleCalls.size(), 1u);
    const MultiSampleCall& check = d3d.m_MultiSampleCalls[0];
    EXPECT_EQ(check.type, D3DDEVTYPE_HAL);
    EXPECT_EQ(check.format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(check.windowed, TRUE);
    EXPECT_EQ(check.samples, D3DMULTISAMPLE_4_SAMPLES);
    const D3DPRESENT_PARAMETERS& pp = d3d.m_CreateCalls.at(0).params;
    EXPECT_EQ(pp.MultiSampleType, D3DMULTISAMPLE_4_SAMPLES);
    EXPECT_EQ(pp.MultiSampleQuality, 2u);
    EXPECT_EQ(pp.SwapEffect, D3DSWAPEFFECT_DISCARD);
    ReleaseGraphics(&m_Probe);
}

TEST_F(SysinfoGraphicsProbe, RefusedSampleCountKeepsWhatAnEarlierCheckWrote)
{
    FakeAdapter a = CapableAdapter();
    a.multiSampleQuality[D3DDEVTYPE_HAL] = 2;  // REF refuses
    a.acceptedDevices = {{D3DDEVTYPE_REF, kSw}};
    FakeDirect3D9 d3d(a);
    EXPECT_EQ(Probe(&d3d, 2), 1);
    EXPECT_EQ(d3d.m_MultiSampleCalls.size(), 3u);
    const D3DPRESENT_PARAMETERS& last = d3d.m_CreateCalls.at(2).params;
    EXPECT_EQ(last.MultiSampleType, D3DMULTISAMPLE_2_SAMPLES);
    EXPECT_EQ(last.MultiSampleQuality, 1u);
    EXPECT_EQ(last.SwapEffect, D3DSWAPEFFECT_DISCARD);
    ReleaseGraphics(&m_Probe);

    // Refused everywhere: the parameters stay without anti-aliasing.
    FakeDirect3D9 plain(CapableAdapter());
    EXPECT_EQ(Probe(&plain, 4), 1);
    EXPECT_EQ(plain.m_MultiSampleCalls.size(), 1u);
    EXPECT_EQ(plain.m_CreateCalls.at(0).params.MultiSampleType, D3DMULTISAMPLE_NONE);
    EXPECT_EQ(plain.m_CreateCalls.at(0).params.SwapEffect, D3DSWAPEFFECT_FLIP);
    ReleaseGraphics(&m_Probe);
}

TEST_F(SysinfoGraphicsProbe, FormatAvailableOnlyOnExactlyD3DOk)
{
    FakeAdapter a = CapableAdapter();
    a.textureFormats[D3DFMT_A4R4G4B4] = S_FALSE;
    a.textureFormats.erase(D3DFMT_R5G6B5);
    FakeDirect3D9 d3d(a);
    EXPECT_EQ(Probe(&d3d), 1);
    EXPECT_EQ(m_Probe.m_bR5G6B5, 0);
    EXPECT_EQ(m_Probe.m_bA1R5G5B5, 1);
    EXPECT_EQ(m_Probe.m_bA4R4G4B4, 0);
    EXPECT_EQ(m_Probe.m_bA8R8G8B8, 1);
    EXPECT_TRUE(m_Messages.Messages().empty());
    ReleaseGraphics(&m_Probe);
}

TEST_F(SysinfoGraphicsProbe, RenderTextureWarningChangesNothingElse)
{
    ScopedAppState state;
    state->m_Settings.m_dwOptions = 0x12345678u;
    const SettingsBlock before = state->m_Settings;

    FakeDirect3D9 good(CapableAdapter());
    ASSERT_EQ(Probe(&good), 1);
    GraphicsProbe withoutWarning = m_Probe;
    ReleaseGraphics(&m_Probe);
    m_Messages.Clear();

    FakeAdapter a = CapableAdapter();
    a.renderTargetResult = S_FALSE;
    FakeDirect3D9 bad(a);
    EXPECT_EQ(Probe(&bad), 1);
    ASSERT_EQ(m_Messages.Messages().size(), 1u);
    const RecordedMessage& box = m_Messages.Messages()[0];
    EXPECT_EQ(box.text, L"現在の環境ではレンダーテクスチャが作成できないため\n"
                        L"レンダーテクスチャ未使用の環境に変更して起動します");
    EXPECT_EQ(box.caption, L"WARNING");
    EXPECT_EQ(box.owner, m_hWnd);
    EXPECT_EQ(m_Probe.m_bNoRenderTexture, 1);

    GraphicsProbe withWarning = m_Probe;
    withWarning.m_bNoRenderTexture = 0;
    withWarning.m_pD3D = withoutWarning.m_pD3D;
    withWarning.m_pDevice = withoutWarning.m_pDevice;
    // Each probe makes its own hidden swap-chain window.
    withWarning.m_hDeviceWnd = withoutWarning.m_hDeviceWnd;
    withWarning.m_PresentParams.hDeviceWindow = withoutWarning.m_PresentParams.hDeviceWindow;
    EXPECT_EQ(std::memcmp(&withWarning, &withoutWarning, sizeof(GraphicsProbe)), 0);
    EXPECT_EQ(std::memcmp(&before, &state->m_Settings, sizeof(SettingsBlock)), 0);
    ReleaseGraphics(&m_Probe);
}

TEST_F(SysinfoGraphicsProbe, NoDirect3DObjectLeavesEveryFieldZero)
{
    EXPECT_EQ(Probe(nullptr), 0);
    ASSERT_EQ(m_Messages.Messages().size(), 1u);
    const RecordedMessage& box = m_Messages.Messages()[0];
    EXPECT_EQ(box.text, L"Direct3D オブジェクトの作成に失敗しました。\n"
                        L"DirectX のバージョンが低い可能性があります。\n"
                        L"DirectX 9.0c 以降のバージョンに更新してください。");
    EXPECT_EQ(box.caption, L"ERROR");
    EXPECT_EQ(box.owner, m_hWnd);
    EXPECT_TRUE(IsAllZero(&m_Probe, sizeof(m_Probe)));

    ReleaseGraphics(&m_Probe);
    ReleaseGraphics(&m_Probe);
    EXPECT_TRUE(IsAllZero(&m_Probe, sizeof(m_Probe)));
}

TEST_F(SysinfoGraphicsProbe, UnreadableDesktopStopsBeforeAnyDevice)
{
    FakeAdapter a = CapableAdapter();
    a.displayModeResult = D3DERR_NOTAVAILABLE;
    FakeDirect3D9 d3d(a);
    EXPECT_EQ(Probe(&d3d), 0);
    ASSERT_EQ(m_Messages.Messages().size(), 1u);
    const RecordedMessage& box = m_Messages.Messages()[0];
    EXPECT_EQ(box.text, L"デスクトップの情報取得に失敗");
    EXPECT_EQ(box.caption, L"ERROR");
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_TRUE(d3d.m_CreateCalls.empty());
    EXPECT_TRUE(IsAllZero(&m_Probe.m_PresentParams, sizeof(m_Probe.m_PresentParams)));
    EXPECT_EQ(m_Probe.m_DeviceType, 0);
    EXPECT_EQ(m_Probe.m_dwBehaviorFlags, 0u);
    EXPECT_STREQ(m_Probe.m_szPsVersion, "2.0");
    EXPECT_STREQ(m_Probe.m_AdapterId.Description, "Crafted GeForce 9");
    EXPECT_EQ(m_Probe.m_bShaderSkinning, 1);
    ReleaseGraphics(&m_Probe);
    EXPECT_EQ(d3d.m_nRefs, 0);
}

TEST_F(SysinfoGraphicsProbe, ReleaseGoesDeviceFirstAndTwiceIsHarmless)
{
    FakeDirect3D9 d3d(CapableAdapter());
    ScopedDirect3DCreate create(&d3d);
    std::memset(&m_Probe, 0, sizeof(m_Probe));
    ASSERT_EQ(ProbeGraphics(&m_Probe, m_hWnd, 0), 1);
    HWND deviceWnd = m_Probe.m_hDeviceWnd;
    ASSERT_TRUE(IsWindow(deviceWnd));
    ReleaseGraphics(&m_Probe);
    EXPECT_EQ(FakeD3DReleaseLog(), (std::vector<std::string>{"device", "d3d"}));
    EXPECT_FALSE(IsWindow(deviceWnd)) << "the swap chain's window goes with the device";
    EXPECT_EQ(m_Probe.m_hDeviceWnd, nullptr);
    EXPECT_EQ(m_Probe.m_pDevice, nullptr);
    EXPECT_EQ(m_Probe.m_pD3D, nullptr);
    EXPECT_EQ(d3d.m_nRefs, 0);
    EXPECT_EQ(d3d.m_Device.m_nRefs, 0);
    ReleaseGraphics(&m_Probe);
    EXPECT_EQ(FakeD3DReleaseLog().size(), 2u);
}

TEST_F(SysinfoGraphicsProbe, UnterminatedAdapterTextsAreCutAtTheirLastByte)
{
    FakeAdapter a = CapableAdapter();
    std::memset(a.identifier.Description, 'D', sizeof(a.identifier.Description));
    std::memset(a.identifier.Driver, 'V', sizeof(a.identifier.Driver));
    FakeDirect3D9 d3d(a);
    EXPECT_EQ(Probe(&d3d), 1);
    EXPECT_EQ(std::strlen(m_Probe.m_AdapterId.Description), 511u);
    EXPECT_EQ(std::strlen(m_Probe.m_AdapterId.Driver), 511u);
    ReleaseGraphics(&m_Probe);
}

}  // namespace
