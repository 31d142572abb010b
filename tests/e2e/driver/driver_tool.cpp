// The tool's life: its start and end with the exit code Windows keeps, the
// end of start-up, the tool's loop having handled what was posted to it, and
// its message boxes.
#include "tests/e2e/driver/driver.h"

#include <cwchar>

#include "res/resource.h"

namespace {

// The tool as `start` started it, kept until the next start: its end and
// exit code can be waited for, and a start-up that ends early is seen.
PROCESS_INFORMATION g_tool = {};

// Starts the program args[from], with the words after it as its arguments,
// from the folder cwd (nullptr: the driver's). Shown: its output goes where
// the driver's own does (scripts/wine-null's run); else to the driver's
// stderr, off the served driver's answers.
bool StartProgram(const Args& args, size_t from, const wchar_t* cwd, bool shown,
                  PROCESS_INFORMATION* info)
{
    // A word is quoted only where it must be: dxdiag reads its command line
    // itself and takes no quoted switch.
    std::wstring line;
    for (size_t i = from; i < args.size(); ++i) {
        const std::wstring& word = args.words[i];
        const bool quoted = word.empty() || word.find_first_of(L" \t") != std::wstring::npos;
        line += (i > from ? L" " : L"") + (quoted ? L"\"" + word + L"\"" : word);
    }
    SECURITY_ATTRIBUTES inherited = {sizeof(inherited), nullptr, TRUE};
    HANDLE none = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              &inherited, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = shown ? GetStdHandle(STD_INPUT_HANDLE) : none;
    startup.hStdOutput = GetStdHandle(shown ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    BOOL started = CreateProcessW(args[from], &line[0], nullptr, nullptr, TRUE, 0, nullptr, cwd,
                                  &startup, info);
    CloseHandle(none);
    if (started)
        CloseHandle(info->hThread);
    return started;
}

// A visible message box of the process: a top-level dialog-class window, so
// never the settings dialog (a child).
HWND MessageBoxOf(DWORD pid)
{
    for (HWND box = nullptr; pid && (box = FindWindowExW(nullptr, box, L"#32770", nullptr));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(box, &owner);
        if (owner == pid && IsWindowVisible(box))
            return box;
    }
    return nullptr;
}

std::wstring CaptionAndText(HWND box)
{
    HWND label = GetDlgItem(box, 0xFFFF);
    return WindowText(box) + L"|" + (label ? WindowText(label) : L"");
}

// What a process has on the screen, for a test that waited in vain for its
// end: its message box (caption|text), its dialog, or neither.
std::wstring WhatProcessShows(DWORD pid)
{
    if (HWND box = MessageBoxOf(pid))
        return L"a message box: " + CaptionAndText(box);
    HWND main = MainWindow();
    DWORD owner = 0;
    if (main)
        GetWindowThreadProcessId(main, &owner);
    if (main && owner == pid)
        return IsWindowVisible(main) ? L"the dialog" : L"its main window, hidden";
    return L"no window of its own";
}

// Waits at most limit ms for the process to end: its exit code, printed or
// (print false) as the status; or a failure naming what it shows.
int EndOf(const PROCESS_INFORMATION& process, DWORD limit, bool print)
{
    DWORD code = 0;
    if (WaitForSingleObject(process.hProcess, limit) != WAIT_OBJECT_0)
        return Fail(L"the program did not end within " + std::to_wstring(limit / 1000) +
                    L" s; it shows " + WhatProcessShows(process.dwProcessId));
    if (!GetExitCodeProcess(process.hProcess, &code))
        return Fail(L"no exit code");
    return print ? Reply(std::to_wstring((int)code)) : (int)code;
}

// Waits at most limit ms until no main window of the tool is left.
bool Gone(DWORD limit)
{
    const DWORD start = GetTickCount();
    while (MainWindow() && GetTickCount() - start <= limit)
        Sleep(20);
    return !MainWindow();
}

int Start(const Args& args)
{
    PROCESS_INFORMATION started = {};
    if (!Gone(args.Ms(0)))
        return Fail(L"the main window of the tool before is still there");
    const long long at = UnixNowNs();
    if (!StartProgram(args, 2, args[1], false, &started))
        return Fail(L"cannot start " + args.words[2]);
    if (g_tool.hProcess)
        CloseHandle(g_tool.hProcess);
    g_tool = started;
    return Reply(std::to_wstring(at));
}

int Ended(const Args& args)
{
    return g_tool.hProcess ? EndOf(g_tool, args.Ms(0), true) : Fail(L"no tool started");
}

// finish, or run (no folder, the output shown, the exit code as the status).
template <bool kRun>
int RunToEnd(const Args& args)
{
    PROCESS_INFORMATION info = {};
    if (!StartProgram(args, kRun ? 1 : 2, kRun ? nullptr : args[1], kRun, &info))
        return Fail(L"cannot start the program");
    int status = EndOf(info, args.Ms(0), !kRun);
    CloseHandle(info.hProcess);
    return status;
}

int Wait(const Args& args)
{
    DWORD poll = args.size() > 1 ? args.Int(1) : 20;
    std::wstring why = g_tool.hProcess ? WaitStartupOver(args.Ms(0), poll) : L"no tool started";
    return why.empty() ? Reply(std::to_wstring(UnixNowNs())) : Fail(why);
}

int NotTaken() { return Fail(L"the tool's loop did not take a posted message in time"); }

int SyncCommand(const Args& args) { return Sync(GetTickCount(), args.Ms(0)) ? 0 : NotTaken(); }

// The tool reads the keyboard only when its queue is empty, and drops a press
// that its first read finds. Start-up painting under a slow emulation can
// keep that queue busy past a click, so a press sent then would be that first
// read's. Once settled, its next read comes before a key the test presses next.
int Settle(const Args& args)
{
    const DWORD start = GetTickCount(), limit = args.Ms(0);
    HWND main = MainWindow();
    if (!main || !g_tool.hProcess)
        return Fail(L"no tool to settle");
    const DWORD idle = WaitForInputIdle(g_tool.hProcess, limit);
    if (idle != 0)
        return Fail(idle == WAIT_TIMEOUT ? L"the tool's queue was never empty in time"
                                         : L"cannot wait for the tool's queue");
    if (int failed = Bounded(L"the pending paint", [main] {
            RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        }))
        return failed;
    return Sync(start, limit) ? 0 : NotTaken();
}

int MsgBox(const Args& args)
{
    const DWORD start = GetTickCount();
    HWND box;
    while (!(box = MessageBoxOf(ToolProcessId()))) {
        if (GetTickCount() - start > args.Ms(0))
            return Fail(L"no message box");
        Sleep(20);
    }
    Print(CaptionAndText(box));
    HWND ok = GetDlgItem(box, IDOK) ? GetDlgItem(box, IDOK) : GetDlgItem(box, IDCANCEL);
    if (ok)
        PostMessageW(ok, BM_CLICK, 0, 0);
    else
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    return 0;
}

int NoMsgBox(const Args&)
{
    HWND box = MessageBoxOf(ToolProcessId());
    if (!box)
        return 0;
    Print(L"unexpected message box: " + WindowText(box));
    return 1;
}

const Command kCommands[] = {
    {L"start", L"SECONDS CWD EXE [ARG...]", L"once no main window of the tool is left (a copy "
     L"that finds one brings it forward and ends), start EXE from the folder CWD as the tool; "
     L"print the Unix ns it was started",
     Start},
    {L"ended", L"SECONDS", L"wait until the tool has ended; print its exit code", Ended},
    {L"finish", L"SECONDS CWD EXE [ARG...]",
     L"run EXE from CWD to its end, beside the tool; print its exit code", RunToEnd<false>},
    {L"run", L"SECONDS EXE [ARG...]", L"run EXE to its end, its output where the driver's goes "
     L"(alone, not served); its exit code is the status", RunToEnd<true>},
    {L"wait", L"SECONDS [POLL_MS]", L"wait until start-up is over (the dialog filled, the "
     L"tool's loop running), looking every POLL_MS (20) ms; print the Unix ns it was seen. Fails "
     L"as soon as the tool has ended", Wait},
    {L"sync", L"SECONDS", L"wait until the tool's loop has handled every message posted to it "
     L"before (a click, say)", SyncCommand},
    {L"settle", L"SECONDS", L"wait until the tool's queue has been found empty once, what it had "
     L"to paint is painted and its loop has taken a message posted after that", Settle},
    {L"msgbox", L"SECONDS", L"wait for a message box of the tool; print caption|text; press OK",
     MsgBox},
    {L"nomsgbox", L"", L"status 1 if a message box of the tool is open", NoMsgBox},
};

} // namespace

const CommandGroup kToolCommands = Group(L"the tool's life", kCommands);

DWORD ToolProcessId()
{
    DWORD pid = g_tool.dwProcessId;
    HWND main = pid ? nullptr : MainWindow();
    if (main)
        GetWindowThreadProcessId(main, &pid);
    return pid;
}

// Only the tool's message loop takes posted messages; a sent one is also
// answered inside start-up or a handler, whenever the tool waits on another
// thread (Wine's DirectInput, for one), so a sent question alone cannot tell
// that start-up or a click has finished. The mark is the report box's modify
// flag: the tool never reads it and a read-only box never shows it.
bool Sync(DWORD start, DWORD limit)
{
    HWND report = Control(IDC_REPORT);
    if (!report || !PostMessageW(report, EM_SETMODIFY, TRUE, 0))
        return false;
    while (!Send(report, EM_GETMODIFY, 0, 0)) {
        if (g_unanswered || GetTickCount() - start > limit)
            return false;
        Sleep(2);
    }
    Send(report, EM_SETMODIFY, FALSE, 0);
    return !g_unanswered;
}

// Start-up is over once the dialog exists and the loop has taken a message
// posted to it: FillDialog ran before the loop began. Returns an empty text
// then, or how far start-up had come when the limit was reached, or that the
// tool `start` started ended on the way.
std::wstring WaitStartupOver(DWORD limit, DWORD pollMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        HWND main = MainWindow();
        const wchar_t* missing = !main ? L"no main window"
                                 : !IsWindowVisible(main) ? L"its main window still hidden"
                                 : !Control(IDC_REPORT) ? L"its main window shown, no dialog"
                                                        : nullptr;
        if (!missing)
            break;
        DWORD code = 0;
        if (g_tool.hProcess && WaitForSingleObject(g_tool.hProcess, 0) == WAIT_OBJECT_0 &&
            GetExitCodeProcess(g_tool.hProcess, &code))
            return L"the tool ended before start-up was over, with exit code " +
                   std::to_wstring((int)code) + L" (" + missing + L")";
        if (GetTickCount() - start > limit)
            return std::wstring(L"start-up not over in time: ") + missing;
        Sleep(pollMs);
    }
    return Sync(start, limit) ? L""
                              : L"start-up not over in time: the dialog shown, its loop not taking "
                                L"messages";
}
