// The settings' own controls of the dialog (template 109): the option boxes,
// the resolution and anti-aliasing combo boxes, the forced-direction boxes,
// and the banner.
#pragma once

#include <windows.h>
#include "settings/settings_block.h"

// Sets the option boxes, player 1's first radio, the two combo boxes and the
// forced-direction boxes from the record, and disables "設定終了". Only ever
// sets a check: a box the user checked stays checked.
void FillSettingsControls(HWND dialog, const SettingsBlock* block);
// Copies the option boxes and the two combo boxes into the record.
void ApplySettingsControls(HWND dialog, SettingsBlock* block);

// The maker's web page the banner opens (Shift-JIS); empty: a click does nothing.
extern const char g_szBannerAddress[];
// Opens the address through the shell with the verb "open"; an empty address
// opens nothing. The shell's result is not examined.
void OpenBanner(HWND owner, const char* address);
