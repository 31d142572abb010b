// AppState: the one process-wide record, zero-filled at start-up and reached
// through g_pAppState. Each subsystem owns its sub-record; none keeps a copy
// of another's data.
#pragma once

#include <windows.h>
#include <cstdint>

#include "input/binding_code.h"
#include "input/input_devices.h"
#include "settings/settings_block.h"
#include "sysinfo/dxdiag_query.h"
#include "sysinfo/graphics_probe.h"

struct AppState {
    HWND          m_hMainWnd;
    HINSTANCE     m_hInstance;
    HWND          m_hDialog;          // null before creation and after destruction
    char          m_szModuleDir[MAX_PATH];
    GraphicsProbe m_Graphics;
    InputDevices  m_Input;
    DxDiagInfo    m_DxDiag;
    SettingsBlock m_Settings;
    BindingCode   m_WorkBindings[kBindingCount];
    int32_t       m_nCurrentSlot;
    int32_t       m_bSaveSettings;    // set by the update button; SaveSettings at exit
    HANDLE        m_hCarriedFont;     // the dialog's private font, where it was needed
};

extern AppState* g_pAppState;
