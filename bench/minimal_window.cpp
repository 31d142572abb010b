// The floor for the start-up figure: a Win32 program that only registers a
// class, opens one window and runs a message loop, nothing else. Started
// under the same Wine prefix as config.exe; the benchmark closes it with
// WM_CLOSE once it answers messages.
#include <windows.h>

namespace {

LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"BenchMinimalWindow";
    if (!RegisterClassW(&wc))
        return 1;
    HWND wnd = CreateWindowExW(0, wc.lpszClassName, L"minimal", WS_OVERLAPPEDWINDOW,
                               CW_USEDEFAULT, CW_USEDEFAULT, 752, 655, nullptr, nullptr,
                               instance, nullptr);
    if (!wnd)
        return 1;
    ShowWindow(wnd, showCommand);
    UpdateWindow(wnd);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
