#include "app/app_lifecycle.h"

#include <objbase.h>
#include <commctrl.h>
#include <cstdlib>

#include "app/app_state.h"
#include "app/app_texts.h"
#include "app/dialog_font.h"
#include "app/main_window.h"
#include "app/settings_dialog_proc.h"
#include "input/input_devices.h"
#include "input/key_assign.h"
#include "platform/platform_seam.h"
#include "platform/win_text.h"
#include "settings/settings_file.h"
#include "sysinfo/dxdiag_query.h"
#include "sysinfo/graphics_probe.h"

namespace {

// The manifest asks for the common controls of version 6, to which Windows
// redirects the classes of the dialog and of every message box (Button,
// Edit, ComboBox, Static, ScrollBar). Windows XP does not load comctl32 for
// a redirected class: without this call none of those windows is made
// there. Later Windows and Wine load it by themselves.
void LoadCommonControls()
{
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
}

void ShutDown(AppState* state)
{
    ReleaseInputDevices(&state->m_Input);
    ReleaseGraphics(&state->m_Graphics);
    if (state->m_hDialog) {
        // Closing through the main window destroys the dialog as a child and
        // leaves its handle stale here.
        if (IsWindow(state->m_hDialog))
            DestroyWindow(state->m_hDialog);
        state->m_hDialog = nullptr;
    }
    if (state->m_hCarriedFont)
        RemoveFontMemResourceEx(state->m_hCarriedFont);
    if (state->m_bSaveSettings)
        SaveSettings(&state->m_Settings);
    std::free(state);
    g_pAppState = nullptr;
    CoUninitialize();
}

} // namespace

void RunIdleStep()
{
    AppState* state = g_pAppState;
    if (!state)
        return;
    KeyAssignIdle(&state->m_Input, state->m_hMainWnd, state->m_hDialog, state->m_WorkBindings,
                  state->m_nCurrentSlot);
}

void RunMessageLoop()
{
    MSG msg;
    // Kept as the tool has always run: the loop never waits for a message.
    for (;;) {
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                break;
            // Kept without IsDialogMessage: the dialog has never had keyboard navigation.
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        } else {
            RunIdleStep();
        }
    }
}

int RunApplication(HINSTANCE instance, int showCommand)
{
    // One copy per desktop: bring the running one forward and leave.
    HWND running = FindWindowSjis(kMainWindowClass, kMainWindowTitle);
    if (running) {
        SetForegroundWindow(running);
        return 0;
    }

    // Before the first window or message box: LoadSettings may show one.
    LoadCommonControls();

    AppState* state = static_cast<AppState*>(std::calloc(1, sizeof(AppState)));
    if (!state)
        return 0;
    g_pAppState = state;
    state->m_hInstance = instance;

    GetModuleDirectory(state->m_szModuleDir);
    SetCurrentDirectoryA(state->m_szModuleDir);

    LoadSettings(&state->m_Settings);

    RegisterMainWindowClass(instance);
    state->m_hMainWnd = CreateMainWindow(kMainWindowWidth, kMainWindowHeight, instance);
    if (!state->m_hMainWnd) {
        // Without its frame the tool has nowhere to show the dialog.
        std::free(state);
        g_pAppState = nullptr;
        return 0;
    }

    if (FAILED(g_Platform.pCoInitialize(nullptr))) {
        ShowMessage(state->m_hMainWnd, "COM の初期化に失敗", "ERROR");
        // Nothing else has started yet: the hidden window and the state go.
        DestroyWindow(state->m_hMainWnd);
        std::free(state);
        g_pAppState = nullptr;
        return 0;
    }

    OpenDxDiag(&state->m_DxDiag);
    ReadDxDiagStrings(&state->m_DxDiag);
    ReleaseDxDiag(&state->m_DxDiag);

    ShowWindow(state->m_hMainWnd, showCommand);
    UpdateWindow(state->m_hMainWnd);

    CreateInputDevices(state->m_hInstance, &state->m_Input, state->m_hMainWnd);
    ProbeGraphics(&state->m_Graphics, state->m_hMainWnd, state->m_Settings.m_nFsaaSamples);

    state->m_hDialog = CreateSettingsDialog(state->m_hInstance, state->m_hMainWnd,
                                            SettingsDlgProc, &state->m_hCarriedFont);
    ShowWindow(state->m_hDialog, SW_SHOW);
    FitMainWindowToDialog(state->m_hMainWnd, state->m_hDialog);

    FillDialog();

    RunMessageLoop();
    ShutDown(state);
    return 1;
}
