// Every failure the start-up can meet, one run of the whole tool per row,
// injected through the seam into otherwise healthy fakes: the row's message
// comes exactly once with its caption and owner, the dialog is still reached,
// and after the shut-down no COM object is left referenced.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/app_lifecycle.h"
#include "app/app_state.h"
#include "common/fake_d3d9.h"
#include "common/fake_dinput.h"
#include "common/fake_dxdiag.h"
#include "common/test_support.h"
#include "platform/platform_seam.h"
#include "res/resource.h"

namespace {

// The platform as the tool meets it: a keyboard, one game pad, an adapter
// and a DxDiag provider, all healthy until a row says otherwise.
struct Machine {
    FakeDevice pad{"pad"};
    FakeDirect3D9 d3d{CapableAdapter()};
    FakeDxDiagProvider dxdiag;
    HRESULT coCreateResult = S_OK;
    bool noDirect3D = false;
    HRESULT directInputResult = S_OK;
};

enum class Owner { None, MainWindow };
enum class Finish { Cancel, Update };

struct FaultRow {
    const char* name;
    void (*inject)(Machine&, FakeDirectInput&);
    const char* text;
    const char* caption;
    Owner owner;
};

const FaultRow kRows[] = {
    {"DxDiagCreate", [](Machine& m, FakeDirectInput&) { m.coCreateResult = REGDB_E_CLASSNOTREG; },
     "IDxDiagProvider の作成に失敗しました。\nデータの細部取得が出来ませんでした。", "WORNING",
     Owner::None},
    {"DxDiagInitialize", [](Machine& m, FakeDirectInput&) { m.dxdiag.m_hrInitialize = E_FAIL; },
     "m_pDxDiagProvider->Initialize 関数が失敗しました。\nデータの細部取得が出来ませんでした。",
     "WORNING", Owner::None},
    {"DxDiagRoot", [](Machine& m, FakeDirectInput&) { m.dxdiag.m_hrRoot = E_FAIL; },
     "m_pDxDiagProvider->GetRootContaine 関数が失敗しました。\nデータの細部取得が出来ませんでした。",
     "WORNING", Owner::None},
    {"DirectInputCreate", [](Machine& m, FakeDirectInput&) { m.directInputResult = E_FAIL; },
     "DirectInput オブジェクトの作成に失敗しました。", "ERROR", Owner::None},
    {"KeyboardCreate", [](Machine&, FakeDirectInput& di) { di.m_hrCreateKeyboard = E_FAIL; },
     "DirectInput オブジェクトの作成に失敗しました。", "ERROR", Owner::None},
    {"KeyboardFormat", [](Machine&, FakeDirectInput& di) { di.m_Keyboard.m_hrDataFormat = E_FAIL; },
     "c_dfDIKeyboard 形式の設定に失敗しました。", "ERROR", Owner::None},
    {"KeyboardCooperation",
     [](Machine&, FakeDirectInput& di) { di.m_Keyboard.m_hrCooperativeLevel = E_FAIL; },
     "キーボードフォアグラウンド＆非排他モードの設定に失敗しました。", "ERROR", Owner::None},
    {"KeyboardBuffer", [](Machine&, FakeDirectInput& di) { di.m_Keyboard.m_hrBufferSize = E_FAIL; },
     "バッファ・サイズの設定に失敗しました。", "ERROR", Owner::None},
    {"PadFormat", [](Machine& m, FakeDirectInput&) { m.pad.m_hrDataFormat = E_FAIL; },
     "c_dfDIJoystick2形式の設定に失敗しました。", "ERROR", Owner::None},
    {"PadCooperation", [](Machine& m, FakeDirectInput&) { m.pad.m_hrCooperativeLevel = E_FAIL; },
     "フォアグラウンド＆非排他モードの設定に失敗しました。", "ERROR", Owner::None},
    {"PadAxes", [](Machine& m, FakeDirectInput&) { m.pad.m_hrEnumObjects = E_FAIL; },
     "軸モードの設定に失敗しました。", "ERROR", Owner::None},
    {"PadAxisMode", [](Machine& m, FakeDirectInput&) { m.pad.m_hrAxisMode = E_FAIL; },
     "軸モードの設定に失敗しました。", "ERROR", Owner::None},
    {"PadBuffer", [](Machine& m, FakeDirectInput&) { m.pad.m_hrBufferSize = E_FAIL; },
     "バッファ・サイズの設定に失敗しました。", "ERROR", Owner::None},
    {"Direct3DCreate", [](Machine& m, FakeDirectInput&) { m.noDirect3D = true; },
     "Direct3D オブジェクトの作成に失敗しました。\nDirectX のバージョンが低い可能性があります。\n"
     "DirectX 9.0c 以降のバージョンに更新してください。",
     "ERROR", Owner::MainWindow},
    {"DisplayMode",
     [](Machine& m, FakeDirectInput&) { m.d3d.m_Adapter.displayModeResult = E_FAIL; },
     "デスクトップの情報取得に失敗", "ERROR", Owner::None},
    {"EveryDevice", [](Machine& m, FakeDirectInput&) { m.d3d.m_Adapter.acceptedDevices.clear(); },
     "Direct3D Device の作成に失敗しました", "ERROR", Owner::MainWindow},
    {"RenderTexture",
     [](Machine& m, FakeDirectInput&) { m.d3d.m_Adapter.renderTargetResult = D3DERR_NOTAVAILABLE; },
     "現在の環境ではレンダーテクスチャが作成できないため\nレンダーテクスチャ未使用の環境に変更して起動します",
     "WARNING", Owner::MainWindow},
};

struct RunResult {
    int exitCode = -1;
    bool dialogFilled = false;
    HWND mainWnd = nullptr;
    std::wstring title;
    std::wstring report;
    std::wstring beginButton;     // a caption of the template
    std::wstring resolutionItem;  // item 3 of the resolution box
    std::wstring upKey;           // player 1's key name for up
};

RunResult* g_result = nullptr;
Finish g_finish = Finish::Cancel;

VOID CALLBACK FinishWhenShown(HWND, UINT, UINT_PTR id, DWORD)
{
    AppState* state = g_pAppState;
    if (!state || !state->m_hDialog || !IsWindow(state->m_hDialog))
        return;
    KillTimer(nullptr, id);
    HWND combo = GetDlgItem(state->m_hDialog, IDC_RESOLUTION);
    g_result->dialogFilled =
        SendMessageW(combo, CB_GETCOUNT, 0, 0) == 6 && IsWindowVisible(state->m_hMainWnd);
    g_result->mainWnd = state->m_hMainWnd;
    wchar_t text[4096];
    GetWindowTextW(state->m_hMainWnd, text, 4096);
    g_result->title = text;
    GetDlgItemTextW(state->m_hDialog, IDC_REPORT, text, 4096);
    g_result->report = text;
    GetDlgItemTextW(state->m_hDialog, IDC_BEGIN_ASSIGN_1P, text, 4096);
    g_result->beginButton = text;
    GetDlgItemTextW(state->m_hDialog, IDC_P1_EDIT_UP, text, 4096);
    g_result->upKey = text;
    if (SendDlgItemMessageW(state->m_hDialog, IDC_RESOLUTION, CB_GETLBTEXTLEN, 3, 0) < 4096) {
        SendDlgItemMessageW(state->m_hDialog, IDC_RESOLUTION, CB_GETLBTEXT, 3,
                            reinterpret_cast<LPARAM>(text));
        g_result->resolutionItem = text;
    }
    PostMessageW(state->m_hDialog, WM_COMMAND,
                 g_finish == Finish::Update ? IDC_UPDATE : IDC_CANCEL, 0);
}

RunResult RunTool(Finish finish)
{
    RunResult result;
    g_result = &result;
    g_finish = finish;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, FinishWhenShown);
    result.exitCode = RunApplication(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
    KillTimer(nullptr, timer);
    g_result = nullptr;
    return result;
}

bool Logged(const std::vector<std::string>& log, const std::string& entry)
{
    for (const std::string& line : log)
        if (line == entry)
            return true;
    return false;
}

// setup.dat beside the test exe, where the tool looks for it.
std::wstring SettingsPathBesideExe()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir = path;
    return dir.substr(0, dir.find_last_of(L'\\') + 1) + L"setup.dat";
}

class StartupRowTest : public ::testing::TestWithParam<FaultRow> {
protected:
    void SetUp() override { DeleteFileW(SettingsPathBesideExe().c_str()); }
    void TearDown() override { DeleteFileW(SettingsPathBesideExe().c_str()); }
    MessageRecorder recorder_;
};

TEST_P(StartupRowTest, ShowsItsMessageOnceAndStillReachesTheDialog)
{
    const FaultRow& row = GetParam();
    Machine machine;
    ScopedFakeDirectInput input;
    input.m_Input.Attach(&machine.pad);
    row.inject(machine, input.m_Input);
    input.m_hrCreate = machine.directInputResult;
    ScopedDirect3DCreate d3d(machine.noDirect3D ? nullptr : &machine.d3d);
    ScopedCoCreate dxdiag(&machine.dxdiag, machine.coCreateResult);

    RunResult run = RunTool(Finish::Cancel);

    EXPECT_EQ(1, run.exitCode);
    EXPECT_TRUE(run.dialogFilled) << "the dialog is shown whatever failed";
    const auto& messages = recorder_.Messages();
    ASSERT_EQ(1u, messages.size()) << "only the injected failure speaks";
    EXPECT_EQ(Wide(row.text), messages[0].text);
    EXPECT_EQ(Wide(row.caption), messages[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK), messages[0].type);
    EXPECT_EQ(row.owner == Owner::MainWindow ? run.mainWnd : nullptr, messages[0].owner);

    // Whatever creation reached is released at shut-down. A fake DirectInput
    // object starts with the one reference its creation hands out.
    const std::vector<std::string>& log = input.m_Input.m_Log;
    const bool inputMade = input.m_nCreateCalls > 0 && SUCCEEDED(input.m_hrCreate);
    const bool keyboardMade = Logged(log, "input.CreateDevice(keyboard)") &&
                              SUCCEEDED(input.m_Input.m_hrCreateKeyboard);
    const bool padMade = Logged(log, "input.CreateDevice(pad)");
    EXPECT_EQ(inputMade ? 0 : 1, input.m_Input.m_nRefs);
    EXPECT_EQ(keyboardMade ? 0 : 1, input.m_Input.m_Keyboard.m_nRefs);
    EXPECT_EQ(padMade ? 0 : 1, machine.pad.m_nRefs);
    EXPECT_EQ(0, machine.d3d.m_nRefs);
    EXPECT_EQ(0, machine.d3d.m_Device.m_nRefs);
    EXPECT_EQ(0, machine.dxdiag.m_nRefs);
    EXPECT_EQ(0, machine.dxdiag.m_Root.OutstandingRefs());
    EXPECT_EQ(nullptr, g_pAppState);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(SettingsPathBesideExe().c_str()))
        << "a cancelled run writes no setup.dat";
}

INSTANTIATE_TEST_SUITE_P(EveryRow, StartupRowTest, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<FaultRow>& info) {
                             return std::string(info.param.name);
                         });

// The two settings-file rows, in a healthy machine.
class StartupSettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        input_.m_Input.Attach(&machine_.pad);
        path_ = SettingsPathBesideExe();
        DeleteFileW(path_.c_str());
    }
    void TearDown() override
    {
        RemoveDirectoryW(path_.c_str());
        DeleteFileW(path_.c_str());
    }
    Machine machine_;
    ScopedFakeDirectInput input_;
    ScopedDirect3DCreate d3d_{&machine_.d3d};
    ScopedCoCreate dxdiag_{&machine_.dxdiag, S_OK};
    MessageRecorder recorder_;
    std::wstring path_;
};

TEST_F(StartupSettingsFileTest, AnOldFileIsReportedBeforeAnyWindowAndKeptUntilSaved)
{
    FILE* f = _wfopen(path_.c_str(), L"wb");
    ASSERT_NE(nullptr, f);
    for (int i = 0; i < 100; ++i)
        std::fputc(0x5A, f);
    std::fclose(f);

    RunResult run = RunTool(Finish::Cancel);
    EXPECT_EQ(1, run.exitCode);
    EXPECT_TRUE(run.dialogFilled);
    ASSERT_EQ(1u, recorder_.Messages().size());
    EXPECT_EQ(Wide("設定ファイルが古いので読み込めませんでした"), recorder_.Messages()[0].text);
    EXPECT_EQ(L"ERROR", recorder_.Messages()[0].caption);
    EXPECT_EQ(nullptr, recorder_.Messages()[0].owner);
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(100u, data.nFileSizeLow) << "cancel leaves the old file as it was";
}

TEST_F(StartupSettingsFileTest, AFailedSaveIsReportedAfterTheWindowHasGone)
{
    ASSERT_TRUE(CreateDirectoryW(path_.c_str(), nullptr));  // nothing can replace a folder
    RunResult run = RunTool(Finish::Update);
    EXPECT_EQ(1, run.exitCode) << "the exit goes on after the message";
    EXPECT_TRUE(run.dialogFilled);
    ASSERT_EQ(1u, recorder_.Messages().size());
    EXPECT_EQ(Wide("設定ファイルの書き込みに失敗しました。"), recorder_.Messages()[0].text);
    EXPECT_EQ(L"ERROR", recorder_.Messages()[0].caption);
    EXPECT_EQ(nullptr, recorder_.Messages()[0].owner);
    EXPECT_FALSE(IsWindow(run.mainWnd));
    EXPECT_NE(0u, GetFileAttributesW(path_.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

// A Windows without code page 932 (no East Asian language files): the tool's
// own texts still reach the wide functions, through the build's table of
// their characters, and read back as exactly their Unicode. (The prefix's
// code page is 932, so the ANSI functions would read right too: the message
// box shows which way the texts went.)
TEST_F(StartupSettingsFileTest, WithoutCodePage932TheToolsTextsStillReachTheWideFunctions)
{
    machine_.d3d.m_Adapter.displayModeResult = E_FAIL;  // for a message box
    ScopedNoShiftJis noShiftJis;

    RunResult run = RunTool(Finish::Cancel);
    EXPECT_EQ(1, run.exitCode);
    EXPECT_TRUE(run.dialogFilled) << "the window class, window and dialog still come";
    EXPECT_EQ(L"起動設定メニュー", run.title);
    EXPECT_EQ(L"[ 起動設定メニュー ]", run.report.substr(0, run.report.find(L"\r\n")));
    EXPECT_EQ(L"800×600（デフォルト）", run.resolutionItem);
    EXPECT_EQ(L"↑", run.upKey) << "the default binding's name";
    EXPECT_EQ(L"設定開始", run.beginButton);
    ASSERT_EQ(1u, recorder_.Messages().size());
    EXPECT_FALSE(recorder_.Messages()[0].ansi);
    EXPECT_EQ(L"デスクトップの情報取得に失敗", recorder_.Messages()[0].text);
    EXPECT_EQ(L"ERROR", recorder_.Messages()[0].caption);
}

} // namespace
