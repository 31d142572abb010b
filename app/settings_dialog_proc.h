// The settings dialog's procedure, its fill and its apply: where the
// dialog's buttons meet the settings, the key assignment and the report, all
// on AppState.
#pragma once

#include <windows.h>

INT_PTR CALLBACK SettingsDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
// Fills every control from AppState; also shows the report and writes _debug.txt.
void FillDialog();
// Copies the controls and the working bindings into the settings record.
void ApplyDialogToSettings();

constexpr UINT_PTR kDialogTimerId = 0x7FFF;
constexpr UINT kDialogTimerPeriodMs = 100;
