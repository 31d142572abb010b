#include "app/main_window.h"

#include <cstdlib>

#include "app/app_texts.h"
#include "app/window_geometry.h"
#include "platform/win_text.h"
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

// The class name and the title are the tool's own texts, which SjisToWide
// always converts (by the build's table where code page 932 is missing): the
// class is a wide one on every Windows.
ATOM RegisterMainWindowClass(HINSTANCE instance)
{
    wchar_t className[16];
    SjisToWide(kMainWindowClass, className, 16);
    WNDCLASSW wc = {};
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
    WindowPoint origin = MainWindowOrigin(GetSystemMetrics(SM_CXSCREEN),
                                          GetSystemMetrics(SM_CYSCREEN), width, height);
    SjisToWide(kMainWindowClass, className, 16);
    SjisToWide(kMainWindowTitle, title, 64);
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
    WindowPoint origin = {main.left, main.top};
    RECT work;
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        origin = KeepWindowInWorkArea(origin, size,
                                      {work.left, work.top, work.right, work.bottom});
    MoveWindow(mainWnd, origin.x, origin.y, size.width, size.height, TRUE);
}

void GetModuleDirectory(char* out)
{
    // _splitpath and _makepath, not their _s forms: the msvcrt.dll of Windows
    // XP has no _s functions. Every part gets a buffer as long as the whole
    // path, so neither can write past its buffer. _splitpath knows the
    // double-byte characters of the code page in use, whose second byte may
    // be a backslash.
    char path[MAX_PATH] = {};
    char drive[MAX_PATH] = {};
    char dir[MAX_PATH] = {};
    char name[MAX_PATH] = {};
    char ext[MAX_PATH] = {};
    out[0] = '\0';
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    _splitpath(path, drive, dir, name, ext);
    _makepath(out, drive, dir, nullptr, nullptr);
}
