#include "app/settings_dialog_proc.h"

#include "app/app_state.h"
#include "input/key_assign.h"
#include "res/resource.h"
#include "settings/settings_dialog.h"
#include "sysinfo/system_report.h"

namespace {

void CloseSettingsDialog(AppState* state)
{
    if (state->m_hDialog) {
        DestroyWindow(state->m_hDialog);
        state->m_hDialog = nullptr;
    }
    PostMessageW(state->m_hMainWnd, WM_CLOSE, 0, 0);
}

void HandleCommand(AppState* state, HWND dialog, int id)
{
    switch (id) {
    case IDC_UPDATE:
        KillTimer(dialog, kDialogTimerId);
        ApplyDialogToSettings();
        state->m_bSaveSettings = 1;
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        break;
    case IDC_CANCEL:
        KillTimer(dialog, kDialogTimerId);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        break;
    case IDC_DEFAULT:
        // A running assignment ends first, as "設定終了" ends it, and its
        // check leaves the radios: the refill checks slot 0 only, and left
        // running it would go on with no button to end it.
        if (IsKeyAssignmentRunning(dialog)) {
            EndKeyAssignment(dialog);
            UncheckSlotRadios(dialog);
        }
        SetDefaultBindings(&state->m_Settings);
        FillDialog();
        break;
    case IDC_BANNER:
        OpenBanner(dialog, g_szBannerAddress);
        break;
    case IDC_BEGIN_ASSIGN_1P:
        BeginKeyAssignment(dialog, state->m_WorkBindings);
        break;
    case IDC_END_ASSIGN_1P:
        EndKeyAssignment(dialog);
        break;
    default:
        // Check boxes and combo boxes keep their own state until the update.
        break;
    }
}

} // namespace

INT_PTR CALLBACK SettingsDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    AppState* state = g_pAppState;
    if (!state)
        return FALSE;
    switch (msg) {
    case WM_INITDIALOG:
        SetTimer(dialog, kDialogTimerId, kDialogTimerPeriodMs, nullptr);
        SetFocus(GetDlgItem(dialog, IDC_REPORT));
        break;  // FALSE keeps the focus on the report
    case WM_TIMER:
        state->m_nCurrentSlot = GetCheckedSlot(state->m_hDialog);
        break;
    case WM_CLOSE:
        CloseSettingsDialog(state);
        break;
    case WM_COMMAND:
        // The notification code is not looked at: any command of a button acts.
        HandleCommand(state, dialog, LOWORD(wParam));
        break;
    default:
        break;
    }
    return FALSE;
}

void FillDialog()
{
    AppState* state = g_pAppState;
    HWND dialog = state->m_hDialog;
    ReportFields fields = {};
    ShowSystemReport(dialog, &state->m_DxDiag, &state->m_Graphics, &fields);
    LoadWorkingBindings(dialog, &state->m_Settings, state->m_WorkBindings,
                        &state->m_nCurrentSlot);
    FillSettingsControls(dialog, &state->m_Settings);
    WriteReportFile(&state->m_Graphics, &fields);
}

void ApplyDialogToSettings()
{
    AppState* state = g_pAppState;
    // Also the two force-direction bytes.
    StoreWorkingBindings(state->m_hDialog, state->m_WorkBindings, &state->m_Settings);
    ApplySettingsControls(state->m_hDialog, &state->m_Settings);
}
