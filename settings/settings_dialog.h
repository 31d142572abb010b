// The settings dialog (template 109), a modeless child of the main window.
#pragma once

#include <windows.h>

INT_PTR CALLBACK SettingsDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
// Fills every control from AppState; also shows the report and writes _debug.txt.
void FillDialog();
// Copies the controls and the working bindings into the settings record.
void ApplyDialogToSettings();

constexpr UINT_PTR kDialogTimerId = 0x7FFF;
constexpr UINT kDialogTimerPeriodMs = 100;

// The maker's web page the banner opens (Shift-JIS); empty: a click does nothing.
extern const char g_szBannerAddress[];
// Opens the address through the shell with the verb "open"; an empty address
// opens nothing. The shell's result is not examined.
void OpenBanner(HWND owner, const char* address);
