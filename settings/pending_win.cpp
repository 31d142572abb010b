// Temporary empty entry points so the exe links while the settings subsystem
// is being written; removed as the real ones land.
#include "settings/settings_dialog.h"
#include "settings/settings_file.h"

long LoadSettings(SettingsBlock*) { return 0; }
int SaveSettings(const SettingsBlock*) { return 0; }
INT_PTR CALLBACK SettingsDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
void FillDialog() {}
void ApplyDialogToSettings() {}
