// The main window: a fixed frame whose client area the settings dialog fills.
#pragma once

#include <windows.h>

// Window style: caption, system menu and minimise box; not resizable.
constexpr DWORD kMainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

LRESULT CALLBACK MainWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Registers class "RING" (icon 122, arrow cursor, white background).
ATOM RegisterMainWindowClass(HINSTANCE instance);
// Creates the main window hidden, centred for width x height.
HWND CreateMainWindow(int width, int height, HINSTANCE instance);
// Resizes the main window around the dialog; its top-left corner stays
// unless the grown window would run past the work area (a raised DPI).
void FitMainWindowToDialog(HWND mainWnd, HWND dialog);
// The executable's drive and directory with its trailing backslash.
void GetModuleDirectory(char* out);
