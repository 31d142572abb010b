// The glyph check, made inside the running config.exe: a font handle, and a
// font the tool registered for itself alone, only mean something in the
// tool's own process. The driver hooks the tool's thread with glyph_hook.dll
// (built beside it, see tests/e2e/glyphs/glyph_hook.cpp), posts the check
// message and prints the hook's answer.
#include "tests/e2e/driver/driver.h"

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

int Glyphs(const Args& args)
{
    HWND main = MainWindow();
    if (!main)
        return Fail(L"config.exe is not running");
    wchar_t path[MAX_PATH];
    std::wstring dll(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    dll = dll.substr(0, dll.find_last_of(L'\\') + 1) + L"glyph_hook.dll";
    HMODULE module = LoadLibraryW(dll.c_str());
    HOOKPROC hook = module ? reinterpret_cast<HOOKPROC>(
                                 reinterpret_cast<void*>(GetProcAddress(module, "GlyphHook")))
                           : nullptr;
    if (!hook)
        return Fail(L"no " + dll + L" with its GlyphHook");
    WNDCLASSW wc = {};
    wc.lpfnWndProc = AnswerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ringcfg glyph answer";
    RegisterClassW(&wc);  // (already there from a check before)
    HWND answer = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  wc.hInstance, nullptr);
    HHOOK hooked = answer ? SetWindowsHookExW(WH_GETMESSAGE, hook, module,
                                              GetWindowThreadProcessId(main, nullptr))
                          : nullptr;
    if (!hooked)
        return Fail(L"cannot hook the tool's thread");
    g_answered = false;
    PostMessageW(main, RegisterWindowMessageW(kCheckMessage), (WPARAM)answer, 0);
    // Waits for the answer itself; the limit only turns a tool that never
    // answers into a failure.
    const DWORD start = GetTickCount();
    while (!g_answered && GetTickCount() - start < args.Ms(0)) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
    }
    UnhookWindowsHookEx(hooked);
    DestroyWindow(answer);
    if (!g_answered)
        return Fail(L"no answer from the tool");
    if (!g_answer.empty() && g_answer.back() == L'\n')
        g_answer.pop_back();
    return Reply(g_answer);
}

const Command kCommands[] = {
    {L"glyphs", L"SECONDS", L"check in the tool that every text of its dialog has a glyph for "
     L"each character in the font its control draws with; print the hook's lines", Glyphs},
};

} // namespace

const CommandGroup kGlyphCommands = Group(L"the dialog's glyphs", kCommands);
