#include "settings/settings_dialog.h"

#include "app/app_state.h"
#include "input/key_assign.h"
#include "platform/platform_seam.h"
#include "platform/win_text.h"
#include "res/resource.h"
#include "settings/settings_options.h"
#include "sysinfo/system_report.h"

// No address is configured: the game's page is not known to this tool.
const char g_szBannerAddress[] = "";

namespace {
// Room for the drop-down list below a combo box's field.
constexpr int kComboDropHeight = 256;

void CheckBox(HWND dialog, int id)
{
    SendDlgItemMessageW(dialog, id, BM_SETCHECK, BST_CHECKED, 0);
}

bool IsBoxChecked(HWND dialog, int id)
{
    return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) != 0;
}

void EnlargeComboDrop(HWND dialog, HWND combo)
{
    RECT dialogRect;
    RECT comboRect;
    GetWindowRect(dialog, &dialogRect);
    GetWindowRect(combo, &comboRect);
    MoveWindow(combo, comboRect.left - dialogRect.left, comboRect.top - dialogRect.top,
               comboRect.right - comboRect.left,
               comboRect.bottom - comboRect.top + kComboDropHeight, TRUE);
}

// A selection of -1 leaves the box empty: the stored value has no item.
void FillCombo(HWND dialog, int id, const ComboItem* items, int count, int selection)
{
    HWND combo = GetDlgItem(dialog, id);
    EnlargeComboDrop(dialog, combo);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < count; ++i)
        AddComboItemSjis(combo, items[i].m_pszText);
    if (selection >= 0)
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

int GetComboSelection(HWND dialog, int id)
{
    return static_cast<int>(SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0));
}

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
        BeginKeyAssignment(dialog);
        break;
    case IDC_END_ASSIGN_1P:
        EndKeyAssignment(dialog);
        break;
    default:
        // Check boxes and combo boxes keep their own state until the update.
        break;
    }
}
}

void OpenBanner(HWND owner, const char* address)
{
    if (!address || !address[0])
        return;
    wchar_t wideAddress[MAX_PATH * 2];
    if (!SjisToWide(address, wideAddress, MAX_PATH * 2))
        g_Platform.pShellExecuteA(owner, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
    else
        g_Platform.pShellExecuteW(owner, L"open", wideAddress, nullptr, nullptr, SW_SHOWNORMAL);
}

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
        state->m_nCurrentSlot = GetCheckedSlot();
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
    ShowSystemReport(dialog, &fields);
    LoadWorkingBindings(state);

    const SettingsBlock& block = state->m_Settings;
    // Only ever sets a check: a box the user checked stays checked.
    for (const CheckBoxOption& row : g_FillCheckBoxes) {
        if (IsOptionShownChecked(block, row))
            CheckBox(dialog, row.m_nControlId);
    }
    CheckBox(dialog, IDC_P1_RADIO_UP);
    FillCombo(dialog, IDC_RESOLUTION, g_ResolutionItems, kResolutionItemCount,
              GetResolutionIndex(block));
    FillCombo(dialog, IDC_FSAA, g_FsaaItems, kFsaaItemCount, GetFsaaIndex(block));
    if (block.m_bForceDirection1P)
        CheckBox(dialog, IDC_FORCE_DIR_1P);
    if (block.m_bForceDirection2P)
        CheckBox(dialog, IDC_FORCE_DIR_2P);
    EnableWindow(GetDlgItem(dialog, IDC_END_ASSIGN_1P), FALSE);
    WriteReportFile(&fields);
}

void ApplyDialogToSettings()
{
    AppState* state = g_pAppState;
    HWND dialog = state->m_hDialog;
    StoreWorkingBindings(state);  // also the two force-direction bytes

    SettingsBlock* block = &state->m_Settings;
    for (const CheckBoxOption& row : g_ApplyCheckBoxes)
        StoreOptionCheck(block, row, IsBoxChecked(dialog, row.m_nControlId));
    StoreResolutionIndex(block, GetComboSelection(dialog, IDC_RESOLUTION));
    StoreFsaaIndex(block, GetComboSelection(dialog, IDC_FSAA));
}
