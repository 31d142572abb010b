#include "settings/settings_dialog.h"

#include "platform/platform_seam.h"
#include "platform/win_text.h"
#include "res/resource.h"
#include "settings/settings_options.h"

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

void FillSettingsControls(HWND dialog, const SettingsBlock* block)
{
    for (const CheckBoxOption& row : g_FillCheckBoxes) {
        if (IsOptionShownChecked(*block, row))
            CheckBox(dialog, row.m_nControlId);
    }
    CheckBox(dialog, IDC_P1_RADIO_UP);
    FillCombo(dialog, IDC_RESOLUTION, g_ResolutionItems, kResolutionItemCount,
              GetResolutionIndex(*block));
    FillCombo(dialog, IDC_FSAA, g_FsaaItems, kFsaaItemCount, GetFsaaIndex(*block));
    if (block->m_bForceDirection1P)
        CheckBox(dialog, IDC_FORCE_DIR_1P);
    if (block->m_bForceDirection2P)
        CheckBox(dialog, IDC_FORCE_DIR_2P);
    EnableWindow(GetDlgItem(dialog, IDC_END_ASSIGN_1P), FALSE);
}

void ApplySettingsControls(HWND dialog, SettingsBlock* block)
{
    for (const CheckBoxOption& row : g_ApplyCheckBoxes)
        StoreOptionCheck(block, row, IsBoxChecked(dialog, row.m_nControlId));
    StoreResolutionIndex(block, GetComboSelection(dialog, IDC_RESOLUTION));
    StoreFsaaIndex(block, GetComboSelection(dialog, IDC_FSAA));
}
