// The dialog as a user meets it: its controls read, clicked and given the
// focus, waits for what they show, the timer's tick, the windows' places;
// and the glyphs of its texts, checked inside the tool.
#include "tests/e2e/driver/driver.h"

#include <cwchar>

#include "app/settings_dialog_proc.h"

namespace {

// A command on the control its first word names.
template <int (*Run)(HWND, const Args&)>
int OnControl(const Args& args)
{
    HWND control = Control(args.Int(0));
    return control ? Run(control, args) : Fail(L"no such control");
}

// The controls the words [from, to) name; empty when one is missing.
std::vector<HWND> Controls(const Args& args, size_t from, size_t to)
{
    std::vector<HWND> controls;
    for (size_t i = from; i < to; ++i) {
        HWND control = Control(args.Int(i));
        if (!control)
            return {};
        controls.push_back(control);
    }
    return controls;
}

std::wstring Checked(HWND c) { return std::to_wstring(Send(c, BM_GETCHECK, 0, 0)); }

GUITHREADINFO ToolGuiInfo()
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (HWND main = MainWindow())
        GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
    return info;
}

// Posted: the tool's handler may open a modal box or close the window.
int Click(HWND c, const Args&) { return PostMessageW(c, BM_CLICK, 0, 0) ? 0 : Fail(L"not posted"); }
int Enabled(HWND c, const Args&) { return Reply(IsWindowEnabled(c) ? L"1" : L"0"); }
int CurSel(HWND c, const Args&) { return Reply(std::to_wstring(Send(c, CB_GETCURSEL, 0, 0))); }

int Select(HWND c, const Args& args)
{
    return Send(c, CB_SETCURSEL, args.Int(1), 0) == args.Int(1) ? 0 : Fail(L"no such item");
}

int ItemText(HWND c, const Args& args)
{
    wchar_t buffer[256] = {};
    Send(c, CB_GETLBTEXT, args.Int(1), (LPARAM)buffer);
    return Reply(buffer);
}

// One click, as a user gives it: every box of the tool toggles on one, and a
// click it lost would be the tool's fault.
int SetCheck(HWND c, const Args& args)
{
    if (Checked(c) != args.words[1])
        Send(c, BM_CLICK, 0, 0);
    const std::wstring now = Checked(c);
    return now == args.words[1] ? 0 : Fail(L"one click left the box at " + now);
}

// Focus belongs to the tool's thread: attach to it for the call.
int Focus(HWND c, const Args&)
{
    return Bounded(L"the focus change", [c] {
        // Only a thread with a message queue can attach: this makes one.
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
        DWORD tid = GetWindowThreadProcessId(c, nullptr);
        AttachThreadInput(GetCurrentThreadId(), tid, TRUE);
        SetFocus(c);
        AttachThreadInput(GetCurrentThreadId(), tid, FALSE);
    });
}

int Rect(HWND c, const Args&)
{
    RECT r;
    GetWindowRect(c, &r);
    wchar_t line[128];
    swprintf(line, 128, L"%ld %ld %ld %ld", r.left, r.top, r.right, r.bottom);
    return Reply(line);
}

// text(s) and check(s): each control's text on a line, or their checks on one.
template <bool kText>
int Read(const Args& args)
{
    std::vector<HWND> ctrls = Controls(args, 0, args.size());
    if (ctrls.empty())
        return Fail(L"no such control");
    std::wstring line;
    for (HWND c : ctrls) {
        if (kText)
            Print(WindowText(c));
        else
            line += (line.empty() ? L"" : L" ") + Checked(c);
    }
    return kText ? 0 : Reply(line);
}

// waittext and waitchecks: waits in one process for what the test checks
// next, polling the controls until they read what is wanted.
template <bool kText>
int WaitUntil(const Args& args)
{
    const std::wstring want = args[kText ? 2 : 1];
    std::vector<HWND> ctrls = kText ? Controls(args, 1, 2) : Controls(args, 2, args.size());
    if (ctrls.empty())
        return Fail(L"no such control");
    const DWORD start = GetTickCount();
    std::wstring seen;
    for (;;) {
        seen.clear();
        for (HWND c : ctrls)
            seen += kText ? WindowText(c) : Checked(c);
        if (seen == want || g_unanswered || GetTickCount() - start > args.Ms(0))
            break;
        Sleep(2);
    }
    Print(seen);
    return seen == want ? 0 : Fail(L"not so when the time was up");
}

// What the dialog's 100 ms timer does, done now: the dialog procedure records
// the checked action before this returns.
int Tick(const Args&)
{
    HWND dlg = Dialog();
    if (!dlg)
        return Fail(L"no dialog");
    Send(dlg, WM_TIMER, kDialogTimerId, 0);
    return g_unanswered ? Fail(L"the timer tick was not answered") : 0;
}

// A command on the main window.
template <int (*Run)(HWND)>
int OnMain(const Args&)
{
    HWND main = MainWindow();
    return main ? Run(main) : Fail(L"no main window");
}

// WM_PAINT is sent to the tool's thread and painted before this returns.
int Paint(HWND main)
{
    return Bounded(L"the repaint", [main] {
        RedrawWindow(main, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    });
}

int Activate(HWND main) { return Bounded(L"the activation", [main] { SetForegroundWindow(main); }); }
int Title(HWND main) { return Reply(WindowText(main)); }
int Active(HWND main) { return Reply(ToolGuiInfo().hwndActive == main ? L"1" : L"0"); }

int Focused(const Args&)
{
    GUITHREADINFO info = ToolGuiInfo();
    return Reply(std::to_wstring(info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0));
}

int Rects(HWND main)
{
    HWND dlg = Dialog();
    if (!dlg)
        return Fail(L"no window");
    RECT m, d;
    GetWindowRect(main, &m);
    GetWindowRect(dlg, &d);
    wchar_t line[256];
    swprintf(line, 256, L"main %ld %ld %ld %ld dialog %ld %ld %ld %ld metrics %d %d %d", m.left,
             m.top, m.right, m.bottom, d.left, d.top, d.right, d.bottom,
             GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME),
             GetSystemMetrics(SM_CYCAPTION));
    return Reply(line);
}

int Screen(const Args&)
{
    RECT work;
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        return Fail(L"no work area");
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    wchar_t line[256];
    swprintf(line, 256, L"screen %d %d workarea %ld %ld %ld %ld dpi %d",
             GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), work.left, work.top,
             work.right, work.bottom, dpi);
    return Reply(line);
}

// The glyph check, made inside the running config.exe: a font handle, and a
// font the tool registered for itself alone, only mean something in the
// tool's own process. The driver hooks the tool's thread with glyph_hook.dll
// (built beside it, see tests/e2e/glyphs/glyph_hook.cpp), posts the check
// message and prints the hook's answer.
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
    {L"click", L"ID", L"BM_CLICK on a dialog control, posted", OnControl<Click>},
    {L"text", L"ID", L"a control's text", Read<true>},
    {L"texts", L"ID...", L"the texts of several controls, one per line", Read<true>},
    {L"check", L"ID", L"BM_GETCHECK of a control (0/1)", Read<false>},
    {L"checks", L"ID...", L"BM_GETCHECK of several controls, on one line", Read<false>},
    {L"setcheck", L"ID 0|1", L"click a check box once unless it has that state; fails unless it "
                             L"has it then", OnControl<SetCheck>},
    {L"enabled", L"ID", L"1 when the control is enabled", OnControl<Enabled>},
    {L"cursel", L"ID", L"CB_GETCURSEL of a combo box", OnControl<CurSel>},
    {L"select", L"ID INDEX", L"CB_SETCURSEL of a combo box", OnControl<Select>},
    {L"itemtext", L"ID INDEX", L"the text of a combo item", OnControl<ItemText>},
    {L"waittext", L"SECONDS ID TEXT", L"wait until the control shows TEXT; print what it shows",
     WaitUntil<true>},
    {L"waitchecks", L"SECONDS STATES ID...", L"wait until BM_GETCHECK of the controls reads "
                    L"STATES (a 0 or 1 each, e.g. 0100); print what they read", WaitUntil<false>},
    {L"tick", L"", L"one tick of the dialog's timer, handled when this returns", Tick},
    {L"paint", L"", L"the main window and its children painted now", OnMain<Paint>},
    {L"focus", L"ID", L"give a dialog control the keyboard focus", OnControl<Focus>},
    {L"focused", L"", L"the control id with the tool's keyboard focus (0: none)", Focused},
    {L"active", L"", L"1 when the main window is the tool's active window", OnMain<Active>},
    {L"activate", L"", L"bring the main window to the front", OnMain<Activate>},
    {L"title", L"", L"the main window's title", OnMain<Title>},
    {L"rects", L"", L"main window and dialog screen rectangles", OnMain<Rects>},
    {L"rect", L"ID", L"a dialog control's screen rectangle", OnControl<Rect>},
    {L"screen", L"", L"the screen's size, its work area and its DPI, as a program that declares "
                     L"no DPI awareness sees them", Screen},
    {L"glyphs", L"SECONDS", L"check in the tool that every text of its dialog has a glyph for "
     L"each character in the font its control draws with; print the hook's lines", Glyphs},
};

} // namespace

const CommandGroup kDialogCommands = Group(L"the dialog", kCommands);
