#include "app/main_window.h"

#include <cstdlib>

#include "app/app_texts.h"
#include "app/win_text.h"
#include "app/window_geometry.h"
#include "res/resource.h"

LRESULT CALLBACK MainWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_F12)
            PostMessageW(wnd, WM_CLOSE, 0, 0);
        break;
    case WM_SYSCOMMAND:
        // Alt, F10 and Alt+Space would open the system menu from the
        // keyboard; the mouse route stays.
        if (wParam == SC_KEYMENU)
            return 0;
        break;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

ATOM RegisterMainWindowClass(HINSTANCE instance)
{
    wchar_t className[16];
    SjisToWide(kMainWindowClass, className, 16);
    WNDCLASSW wc = {};
    wc.style = 0;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = className;
    return RegisterClassW(&wc);
}

HWND CreateMainWindow(int width, int height, HINSTANCE instance)
{
    wchar_t className[16];
    wchar_t title[64];
    SjisToWide(kMainWindowClass, className, 16);
    SjisToWide(kMainWindowTitle, title, 64);
    WindowPoint origin = MainWindowOrigin(GetSystemMetrics(SM_CXSCREEN),
                                          GetSystemMetrics(SM_CYSCREEN), width, height);
    return CreateWindowExW(0, className, title, kMainWindowStyle, origin.x, origin.y, width,
                           height, nullptr, nullptr, instance, nullptr);
}

void FitMainWindowToDialog(HWND mainWnd, HWND dialog)
{
    RECT main;
    RECT dlg;
    GetWindowRect(mainWnd, &main);
    GetWindowRect(dialog, &dlg);
    WindowSize size = MainWindowSizeForDialog(
        dlg.right - dlg.left, dlg.bottom - dlg.top, GetSystemMetrics(SM_CXDLGFRAME),
        GetSystemMetrics(SM_CYDLGFRAME), GetSystemMetrics(SM_CYCAPTION));
    MoveWindow(mainWnd, main.left, main.top, size.width, size.height, TRUE);
}

void GetModuleDirectory(char* out)
{
    char path[MAX_PATH] = {};
    char drive[3] = {};
    char dir[256] = {};
    char name[256] = {};
    char ext[256] = {};
    out[0] = '\0';
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    if (_splitpath_s(path, drive, sizeof drive, dir, sizeof dir, name, sizeof name, ext,
                     sizeof ext) != 0)
        return;
    _makepath_s(out, MAX_PATH, drive, dir, nullptr, nullptr);
}
