// The DxDiag query against a fake provider: each failing step with its
// message and the state it leaves, and what is read from the containers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "common/test_support.h"
#include "sysinfo/dxdiag_query.h"
#include "common/fake_dxdiag.h"

namespace {

const std::wstring kSecondLine = L"\nデータの細部取得が出来ませんでした。";

struct DxDiagMachine {
    FakeDxDiagProvider provider;
    FakeDxDiagContainer* system;
    FakeDxDiagContainer* devices;
    int deviceCount = 0;

    DxDiagMachine()
    {
        system = provider.m_Root.AddChild(L"DxDiag_SystemInfo");
        system->SetText(L"szDirectXVersionLongEnglish", L"DirectX 9.0c (4.09.0000.0904)");
        system->SetText(L"szProcessorEnglish", L"AMD EPYC(2 CPUs), ~2596MHz");
        devices = provider.m_Root.AddChild(L"DxDiag_DisplayDevices");
    }

    FakeDxDiagContainer* AddDevice(const wchar_t* memory)
    {
        FakeDxDiagContainer* d = devices->AddChild(L"device" + std::to_wstring(deviceCount++));
        if (memory)
            d->SetText(L"szDisplayMemoryLocalized", memory);
        return d;
    }

    LONG OutstandingRefs() { return provider.m_nRefs + provider.m_Root.OutstandingRefs(); }
};

// The start-up order: open, read, release.
void RunStartupQuery(DxDiagInfo* info)
{
    OpenDxDiag(info);
    ReadDxDiagStrings(info);
    ReleaseDxDiag(info);
}

bool LogHas(const std::wstring& prefix)
{
    const auto& log = FakeDxDiagLog();
    return std::any_of(log.begin(), log.end(),
                       [&](const std::wstring& e) { return e.rfind(prefix, 0) == 0; });
}

TEST(SysinfoDxDiag, FullQueryReadsTheThreeTextsAndReleasesEverything)
{
    DxDiagMachine m;
    m.AddDevice(L"4291.8 MB");
    ScopedCoCreate create(&m.provider, S_OK);
    MessageRecorder messages;
    DxDiagInfo info = {};

    EXPECT_EQ(OpenDxDiag(&info), 1);
    EXPECT_EQ(info.m_bDxDiagValid, 1);
    EXPECT_EQ(info.m_pDxDiagProvider, static_cast<IDxDiagProvider*>(&m.provider));
    EXPECT_EQ(info.m_pDxDiagRootContainer, static_cast<IDxDiagContainer*>(&m.provider.m_Root));
    ReadDxDiagStrings(&info);
    ReleaseDxDiag(&info);

    ASSERT_EQ(create.Calls().size(), 1u);
    const CoCreateCall& call = create.Calls()[0];
    EXPECT_TRUE(IsEqualGUID(call.clsid, CLSID_DxDiagProvider));
    EXPECT_TRUE(IsEqualGUID(call.iid, IID_IDxDiagProvider));
    EXPECT_EQ(call.outer, nullptr);
    EXPECT_EQ(call.context, 1u);
    ASSERT_EQ(m.provider.m_InitCalls.size(), 1u);
    const DXDIAG_INIT_PARAMS& params = m.provider.m_InitCalls[0];
    EXPECT_EQ(params.dwSize, sizeof(DXDIAG_INIT_PARAMS));  // 16 bytes in a 32-bit build
    EXPECT_EQ(params.dwDxDiagHeaderVersion, 111u);
    EXPECT_EQ(params.bAllowWHQLChecks, FALSE);
    EXPECT_EQ(params.pReserved, nullptr);

    EXPECT_STREQ(info.m_szDirectXVersion, "DirectX 9.0c (4.09.0000.0904)");
    EXPECT_STREQ(info.m_szProcessor, "AMD EPYC(2 CPUs), ~2596MHz");
    EXPECT_STREQ(info.m_szDisplayMemory, "4291.8 MB");
    EXPECT_EQ(info.m_bDxDiagValid, 1);  // outlives the release
    EXPECT_EQ(info.m_pDxDiagProvider, nullptr);
    EXPECT_EQ(info.m_pDxDiagRootContainer, nullptr);
    EXPECT_EQ(m.OutstandingRefs(), 0);
    EXPECT_TRUE(messages.Messages().empty());

    // The provider goes before the root container.
    const auto& log = FakeDxDiagLog();
    auto provider = std::find(log.begin(), log.end(), L"release provider");
    auto root = std::find(log.begin(), log.end(), L"release root");
    ASSERT_NE(provider, log.end());
    ASSERT_NE(root, log.end());
    EXPECT_LT(provider - log.begin(), root - log.begin());

    // A second release is harmless.
    ReleaseDxDiag(&info);
    EXPECT_EQ(m.OutstandingRefs(), 0);
}

TEST(SysinfoDxDiag, EachFailingOpenStepShowsItsMessageAndLeavesNothingToRead)
{
    struct Case {
        const char* step;
        HRESULT create, init, root;
        std::wstring text;
        bool providerHeld;
    } cases[] = {
        {"create", REGDB_E_CLASSNOTREG, S_OK, S_OK, L"IDxDiagProvider の作成に失敗しました。", false},
        {"initialize", S_OK, E_FAIL, S_OK, L"m_pDxDiagProvider->Initialize 関数が失敗しました。", true},
        {"root", S_OK, S_OK, E_OUTOFMEMORY, L"m_pDxDiagProvider->GetRootContaine 関数が失敗しました。",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        DxDiagMachine m;
        m.AddDevice(L"64 MB");
        m.provider.m_hrInitialize = c.init;
        m.provider.m_hrRoot = c.root;
        ScopedCoCreate create(&m.provider, c.create);
        MessageRecorder messages;
        DxDiagInfo info = {};

        EXPECT_EQ(OpenDxDiag(&info), 0);
        ASSERT_EQ(messages.Messages().size(), 1u);
        const RecordedMessage& box = messages.Messages()[0];
        EXPECT_EQ(box.text, c.text + kSecondLine);
        EXPECT_EQ(box.caption, L"WORNING");
        EXPECT_EQ(box.owner, nullptr);
        EXPECT_EQ(box.type, static_cast<UINT>(MB_OK));
        EXPECT_EQ(info.m_bDxDiagValid, 0);
        EXPECT_EQ(info.m_pDxDiagRootContainer, nullptr);
        EXPECT_EQ(info.m_pDxDiagProvider != nullptr, c.providerHeld);

        ReadDxDiagStrings(&info);
        EXPECT_FALSE(LogHas(L"child"));
        EXPECT_FALSE(LogHas(L"prop"));
        EXPECT_STREQ(info.m_szDirectXVersion, "");
        EXPECT_STREQ(info.m_szProcessor, "");
        EXPECT_STREQ(info.m_szDisplayMemory, "");

        ReleaseDxDiag(&info);
        EXPECT_EQ(info.m_pDxDiagProvider, nullptr);
        EXPECT_EQ(m.OutstandingRefs(), 0);
        EXPECT_EQ(messages.Messages().size(), 1u);
    }
}

TEST(SysinfoDxDiag, LastDisplayDeviceWithTheMemoryTextWins)
{
    {
        DxDiagMachine m;
        m.AddDevice(L"256.0 MB");
        m.AddDevice(L"512.0 MB");
        ScopedCoCreate create(&m.provider, S_OK);
        DxDiagInfo info = {};
        RunStartupQuery(&info);
        EXPECT_STREQ(info.m_szDisplayMemory, "512.0 MB");
        EXPECT_EQ(m.OutstandingRefs(), 0);
    }
    {
        DxDiagMachine m;
        m.AddDevice(L"256.0 MB");
        m.AddDevice(nullptr);
        ScopedCoCreate create(&m.provider, S_OK);
        DxDiagInfo info = {};
        RunStartupQuery(&info);
        EXPECT_STREQ(info.m_szDisplayMemory, "256.0 MB");
    }
    {
        DxDiagMachine m;  // no display devices at all
        ScopedCoCreate create(&m.provider, S_OK);
        DxDiagInfo info = {};
        RunStartupQuery(&info);
        EXPECT_STREQ(info.m_szDisplayMemory, "");
        EXPECT_EQ(info.m_bDxDiagValid, 1);
    }
}

TEST(SysinfoDxDiag, PropertyValuesAreConvertedOrIgnored)
{
    DxDiagMachine m;
    m.system->SetText(L"szDirectXVersionLongEnglish", std::wstring(200, L'9'));
    m.system->SetNumber(L"szProcessorEnglish", 42);
    m.AddDevice(L"128 MB\u3000(\u5171\u6709)");
    ScopedCoCreate create(&m.provider, S_OK);
    DxDiagInfo info = {};
    RunStartupQuery(&info);
    EXPECT_EQ(std::string(info.m_szDirectXVersion), std::string(127, '9'));
    EXPECT_STREQ(info.m_szProcessor, "");  // not a text: left as it was
    EXPECT_STREQ(info.m_szDisplayMemory, "128 MB");
}

TEST(SysinfoDxDiag, DeviceLoopEndsAtTheFirstDeviceThatCannotBeReached)
{
    {
        DxDiagMachine m;
        m.AddDevice(L"1 MB");
        m.AddDevice(L"2 MB");
        m.AddDevice(L"3 MB");
        m.devices->m_nEnumFailsAt = 1;
        ScopedCoCreate create(&m.provider, S_OK);
        DxDiagInfo info = {};
        RunStartupQuery(&info);
        EXPECT_STREQ(info.m_szDisplayMemory, "1 MB");
        EXPECT_FALSE(LogHas(L"enum DxDiag_DisplayDevices 2"));
        EXPECT_EQ(m.OutstandingRefs(), 0);
    }
    for (bool nullChild : {false, true}) {
        DxDiagMachine m;
        m.AddDevice(L"1 MB");
        m.AddDevice(L"2 MB");
        (nullChild ? m.devices->m_bChildIsNull : m.devices->m_bChildFails) = true;
        ScopedCoCreate create(&m.provider, S_OK);
        DxDiagInfo info = {};
        RunStartupQuery(&info);
        EXPECT_STREQ(info.m_szDisplayMemory, "");
        EXPECT_STREQ(info.m_szProcessor, "AMD EPYC(2 CPUs), ~2596MHz");
        EXPECT_FALSE(LogHas(L"enum DxDiag_DisplayDevices 1"));
        EXPECT_EQ(m.OutstandingRefs(), 0);
    }
}

TEST(SysinfoDxDiag, MissingContainersLeaveTheirTextsEmpty)
{
    {
        DxDiagMachine m;
        m.AddDevice(L"64 MB");
        m.system->m_Name = L"Renamed";  // no DxDiag_SystemInfo
        ScopedCoCreate create(&m.provider, S_OK);
        DxDiagInfo info = {};
        RunStartupQuery(&info);
        EXPECT_STREQ(info.m_szDirectXVersion, "");
        EXPECT_STREQ(info.m_szProcessor, "");
        EXPECT_STREQ(info.m_szDisplayMemory, "64 MB");
        EXPECT_EQ(info.m_bDxDiagValid, 1);
    }
    {
        DxDiagMachine m;
        m.AddDevice(L"64 MB");
        m.devices->m_hrNumberOfChildren = E_FAIL;
        ScopedCoCreate create(&m.provider, S_OK);
        DxDiagInfo info = {};
        RunStartupQuery(&info);
        EXPECT_STREQ(info.m_szDisplayMemory, "");
        EXPECT_FALSE(LogHas(L"enum"));
        EXPECT_EQ(m.OutstandingRefs(), 0);
    }
}

}  // namespace
