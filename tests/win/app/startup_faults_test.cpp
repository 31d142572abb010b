// The whole start-up under faults injected through the seam: each failure
// shows its message once, with its caption and owner, and the tool still
// reaches its filled dialog (except when COM cannot start at all).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_lifecycle.h"
#include "app/app_state.h"
#include "common/test_support.h"
#include "platform/platform_seam.h"
#include "res/resource.h"

namespace {

struct StartupRun {
    int exitCode = -1;
    bool dialogFilled = false;
    HWND mainWnd = nullptr;
};

StartupRun* g_run = nullptr;

// Runs inside the tool's own message loop: notes what the player would see,
// then presses "キャンセル".
VOID CALLBACK CloseWhenShown(HWND, UINT, UINT_PTR id, DWORD)
{
    AppState* state = g_pAppState;
    if (!state || !state->m_hDialog || !IsWindow(state->m_hDialog))
        return;
    KillTimer(nullptr, id);
    HWND combo = GetDlgItem(state->m_hDialog, IDC_RESOLUTION);
    g_run->dialogFilled = SendMessageW(combo, CB_GETCOUNT, 0, 0) == 6 &&
                          IsWindowVisible(state->m_hMainWnd);
    g_run->mainWnd = state->m_hMainWnd;
    PostMessageW(state->m_hDialog, WM_COMMAND, IDC_CANCEL, 0);
}

StartupRun RunOnce()
{
    StartupRun run;
    g_run = &run;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, CloseWhenShown);
    run.exitCode = RunApplication(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
    KillTimer(nullptr, timer);
    g_run = nullptr;
    return run;
}

HWND g_mainWndAtCoInitialize = nullptr;
HRESULT WINAPI FailCoInitialize(LPVOID)
{
    g_mainWndAtCoInitialize = g_pAppState ? g_pAppState->m_hMainWnd : nullptr;
    return E_OUTOFMEMORY;
}
HRESULT WINAPI FailDirectInput8Create(HINSTANCE, DWORD, REFIID, LPVOID* out, LPUNKNOWN)
{
    *out = nullptr;
    return DIERR_OUTOFMEMORY;
}
IDirect3D9* WINAPI NoDirect3D(UINT) { return nullptr; }
HRESULT WINAPI FailCoCreateInstance(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID* out)
{
    *out = nullptr;
    return REGDB_E_CLASSNOTREG;
}

int Count(const std::vector<RecordedMessage>& messages, const std::wstring& text)
{
    int n = 0;
    for (const RecordedMessage& m : messages)
        n += m.text == text ? 1 : 0;
    return n;
}

const RecordedMessage* Find(const std::vector<RecordedMessage>& messages,
                            const std::wstring& text)
{
    for (const RecordedMessage& m : messages)
        if (m.text == text)
            return &m;
    return nullptr;
}

class StartupFaultTest : public ::testing::Test {
protected:
    void SetUp() override { saved_ = g_Platform; }
    void TearDown() override
    {
        g_Platform = saved_;
        // Leave no window "RING" behind for the next run's one-copy check.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    PlatformApi saved_;
    MessageRecorder recorder_;
};

TEST_F(StartupFaultTest, ComFailureShowsItsMessageOwnedByTheMainWindowAndExitsZero)
{
    g_Platform.pCoInitialize = FailCoInitialize;
    StartupRun run = RunOnce();
    EXPECT_EQ(0, run.exitCode);
    EXPECT_FALSE(run.dialogFilled);
    ASSERT_EQ(1u, recorder_.Messages().size());
    const RecordedMessage& m = recorder_.Messages()[0];
    EXPECT_EQ(L"COM \u306e\u521d\u671f\u5316\u306b\u5931\u6557", m.text);  // COM の初期化に失敗
    EXPECT_EQ(L"ERROR", m.caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK), m.type);
    ASSERT_NE(nullptr, m.owner);
    EXPECT_EQ(g_mainWndAtCoInitialize, m.owner);
    // What start-up made before COM is gone again.
    EXPECT_FALSE(IsWindow(m.owner));
    EXPECT_EQ(nullptr, g_pAppState);
    if (g_pAppState) {  // a leak found above must not spill into the next runs
        DestroyWindow(g_pAppState->m_hMainWnd);
        std::free(g_pAppState);
        g_pAppState = nullptr;
    }
}

TEST_F(StartupFaultTest, EachFactoryFailureIsShownOnceAndTheDialogStillComes)
{
    g_Platform.pDirectInput8Create = FailDirectInput8Create;
    g_Platform.pDirect3DCreate9 = NoDirect3D;
    g_Platform.pCoCreateInstance = FailCoCreateInstance;
    StartupRun run = RunOnce();
    EXPECT_EQ(1, run.exitCode);
    EXPECT_TRUE(run.dialogFilled);
    EXPECT_EQ(nullptr, g_pAppState) << "AppState is freed at shut-down";

    const auto& messages = recorder_.Messages();
    ASSERT_EQ(3u, messages.size());
    const std::wstring dinput = Wide("DirectInput オブジェクトの作成に失敗しました。");
    const std::wstring d3d = Wide("Direct3D オブジェクトの作成に失敗しました。\n"
                                  "DirectX のバージョンが低い可能性があります。\n"
                                  "DirectX 9.0c 以降のバージョンに更新してください。");
    const std::wstring dxdiag = Wide("IDxDiagProvider の作成に失敗しました。\n"
                                     "データの細部取得が出来ませんでした。");
    EXPECT_EQ(1, Count(messages, dinput));
    EXPECT_EQ(1, Count(messages, d3d));
    EXPECT_EQ(1, Count(messages, dxdiag));
    // In start-up order: DxDiag before the window is shown, then input, then Direct3D.
    EXPECT_EQ(dxdiag, messages[0].text);
    EXPECT_EQ(dinput, messages[1].text);
    EXPECT_EQ(d3d, messages[2].text);

    const RecordedMessage* m = Find(messages, dxdiag);
    ASSERT_NE(nullptr, m);
    EXPECT_EQ(L"WORNING", m->caption);
    EXPECT_EQ(nullptr, m->owner);
    m = Find(messages, dinput);
    ASSERT_NE(nullptr, m);
    EXPECT_EQ(L"ERROR", m->caption);
    EXPECT_EQ(nullptr, m->owner);
    m = Find(messages, d3d);
    ASSERT_NE(nullptr, m);
    EXPECT_EQ(L"ERROR", m->caption);
    EXPECT_EQ(run.mainWnd, m->owner);
    for (const RecordedMessage& each : messages)
        EXPECT_EQ(static_cast<UINT>(MB_OK), each.type);
}

TEST_F(StartupFaultTest, ASecondCopyReturnsZeroAndShowsNothing)
{
    // A window of the tool's class and title is all a second copy looks for.
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"RING";
    RegisterClassW(&wc);
    HWND first = CreateWindowExW(0, L"RING", L"\u8d77\u52d5\u8a2d\u5b9a\u30e1\u30cb\u30e5\u30fc",
                                 WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, first);
    StartupRun run = RunOnce();
    DestroyWindow(first);
    UnregisterClassW(L"RING", GetModuleHandleW(nullptr));
    EXPECT_EQ(0, run.exitCode);
    EXPECT_FALSE(run.dialogFilled);
    EXPECT_TRUE(recorder_.Messages().empty());
    EXPECT_EQ(nullptr, g_pAppState);
}

} // namespace
