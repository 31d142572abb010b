// Checks, inside the running config.exe, that every text of its settings
// dialog has a glyph for each character in the font its control draws with.
// Hooks the tool's thread with glyph_hook.dll (beside this exe), posts the
// check message and prints the hook's answer as UTF-8 (see glyph_hook.cpp).
// The last line is "#status N": 0 when an answer came, 2 otherwise (only the
// printed status can be trusted, as with the driver).
//   glyph_check SECONDS
#include <windows.h>

#include <string>

namespace {

const wchar_t kCheckMessage[] = L"ringcfg glyph check";
std::wstring g_answer;
bool g_answered = false;

LRESULT CALLBACK AnswerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COPYDATA) {
        const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        g_answer.assign(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
        g_answered = true;
        return TRUE;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

void Print(const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr,
                                0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], n,
                            nullptr, nullptr);
    DWORD written;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()),
              &written, nullptr);
}

int Fail(const wchar_t* what)
{
    Print(std::wstring(L"error: ") + what + L"\n");
    return 2;
}

int Check(int argc, wchar_t** argv)
{
    const DWORD limit = static_cast<DWORD>(argc > 1 ? _wtoi(argv[1]) : 10) * 1000;
    HWND main = FindWindowW(L"RING", nullptr);
    if (!main)
        return Fail(L"config.exe is not running");
    DWORD toolThread = GetWindowThreadProcessId(main, nullptr);

    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dll(path, n);
    dll = dll.substr(0, dll.find_last_of(L'\\') + 1) + L"glyph_hook.dll";
    HMODULE module = LoadLibraryW(dll.c_str());
    HOOKPROC hook = module ? reinterpret_cast<HOOKPROC>(
                                 reinterpret_cast<void*>(GetProcAddress(module, "GlyphHook")))
                           : nullptr;
    if (!hook)
        return Fail(L"glyph_hook.dll or its GlyphHook is missing");

    WNDCLASSW wc = {};
    wc.lpfnWndProc = AnswerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ringcfg glyph answer";
    RegisterClassW(&wc);
    HWND answer = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  wc.hInstance, nullptr);
    HHOOK hooked = SetWindowsHookExW(WH_GETMESSAGE, hook, module, toolThread);
    if (!answer || !hooked)
        return Fail(L"cannot hook the tool's thread");
    PostMessageW(main, RegisterWindowMessageW(kCheckMessage), reinterpret_cast<WPARAM>(answer), 0);

    // Waits for the answer itself; the limit only turns a tool that never
    // answers into a failure.
    const DWORD start = GetTickCount();
    while (!g_answered && GetTickCount() - start < limit) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    UnhookWindowsHookEx(hooked);
    if (!g_answered)
        return Fail(L"no answer from the tool");
    Print(g_answer);
    if (!g_answer.empty() && g_answer.back() != L'\n')
        Print(L"\n");
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    int status = Check(argc, argv);
    Print(L"#status " + std::to_wstring(status) + L"\n");
    return status;
}
