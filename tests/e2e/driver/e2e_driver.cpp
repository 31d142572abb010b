// Operates a running config.exe from outside, the way a user's clicks do:
// finds its windows, clicks buttons and reads controls through window
// messages. Run under the same Wine prefix as the tool. Prints UTF-8.
//
//   e2e_driver run SECONDS EXE [ARG...]
//                                    start EXE, wait for it to end; its exit code is the
//                                    command's status. The SECONDS count from when stdin
//                                    gives a line or ends (a test starts the tool long
//                                    before it asks it to end); past them the command
//                                    fails, naming what the tool shows
//   e2e_driver wait SECONDS [RUNOUT] wait until start-up is over (the dialog filled, the
//                                    tool's loop running); print ms waited. RUNOUT: the
//                                    file that the run of the tool writes its output to;
//                                    once that ends in its status line the wait fails
//   e2e_driver sync SECONDS          wait until the tool's loop has handled every message
//                                    posted to it before (a click, say)
//   e2e_driver settle SECONDS        wait until the tool's queue has been found empty once,
//                                    what it had to paint is painted and its loop has
//                                    taken a message posted after that
//   e2e_driver tick                  one tick of the dialog's timer, handled when this returns
//   e2e_driver waittext SECONDS ID TEXT
//                                    wait until the control shows TEXT; print what it shows
//   e2e_driver waitchecks SECONDS STATES ID...
//                                    wait until BM_GETCHECK of the controls reads STATES
//                                    (one 0 or 1 per control, e.g. 0100); print what they read
//   e2e_driver paint                 the main window and its children painted now
//   e2e_driver gone SECONDS          wait until the main window has gone
//   e2e_driver click ID              BM_CLICK on a dialog control
//   e2e_driver text ID               a control's text
//   e2e_driver check ID              BM_GETCHECK of a control (0/1)
//   e2e_driver setcheck ID 0|1       click a check box once unless it has that state; fails
//                                    unless it has it then
//   e2e_driver enabled ID            1 when the control is enabled
//   e2e_driver cursel ID             CB_GETCURSEL of a combo box
//   e2e_driver select ID INDEX       CB_SETCURSEL of a combo box
//   e2e_driver itemtext ID INDEX     the text of a combo item
//   e2e_driver title                 the main window's title
//   e2e_driver rects                 main window and dialog screen rectangles
//   e2e_driver rect ID               a dialog control's screen rectangle
//   e2e_driver screen                the screen's size, its work area and its DPI, as a
//                                    program that declares no DPI awareness sees them
//   e2e_driver activate              bring the main window to the front
//   e2e_driver focus ID              give a dialog control the keyboard focus
//   e2e_driver msgbox SECONDS        wait for a message box; print caption|text; press OK
//   e2e_driver nomsgbox              exit 1 if a message box of the tool is open
//   e2e_driver pid                   the tool's process id
//   e2e_driver now                   the real-time clock as Unix nanoseconds
//   e2e_driver filled SECONDS [RUNOUT]
//                                    print "ready", wait as `wait` does, print the Unix ns
//                                    it was seen
//   e2e_driver window CLASS SECONDS  print "ready", wait for a visible top-level window of
//                                    CLASS that answers messages, print the Unix ns seen
//   e2e_driver close CLASS           post WM_CLOSE to that top-level window
//   e2e_driver watch SECONDS COUNT ID...
//                                    print "ready", then one line "NS ID TEXT" per text
//                                    change of those controls (polled every ~1 ms),
//                                    until COUNT changes or the time is up
//   e2e_driver focused               the control id with the tool's keyboard focus (0: none)
//   e2e_driver active                1 when the main window is the tool's active window
//   e2e_driver memory [CLASS]        peak and current working set in bytes of the tool, or
//                                    of the process owning the top-level window of CLASS
//   e2e_driver acp                   the ANSI code page of this Wine session
//   e2e_driver physmem               the total physical memory in MB, as this Windows
//                                    tells a program (GlobalMemoryStatusEx)
//   e2e_driver checks ID...          BM_GETCHECK of several controls, on one line
//   e2e_driver texts ID...           the texts of several controls, one per line
//   e2e_driver serve                 take commands from stdin, one a line, their words
//                                    separated by tabs; answer each as a run of its own
//                                    would, "#status N" last (Wine processes that are slow
//                                    to start, as in the guest tests, start once)
//   e2e_driver pads SECONDS COUNT    wait until DirectInput lists COUNT attached game
//                                    controllers, no name twice; print their names in
//                                    its order (the order in which the tool numbers
//                                    them). Each one is kept open: later reads see what
//                                    came after this
//   e2e_driver padwait SECONDS rest|BUTTON NAME...
//                                    wait until each named controller, as listed before
//                                    in the same driver, is at rest (no button down,
//                                    stick and Z in the middle, hat centred) or has
//                                    BUTTON down
//
// The last line printed is always "#status N": 0 on success; 2 with an
// "error: ..." line when the command could not be carried out (no such
// window, a message the tool did not answer, a time limit passed); 1 from
// nomsgbox when a message box is open. The same N is the exit status, but only
// the printed one can be trusted: Wine kills a process that is slow to go
// once its last thread has ended, and on a busy machine the Unix status of
// any Wine process may then read 137 whatever it exited with.
#define PSAPI_VERSION 2  // GetProcessMemoryInfo from kernel32 (K32...), no psapi.dll
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <set>
#include <string>
#include <vector>

#include "driver_pads.h"

namespace {

const wchar_t* const kTitle = L"\u8d77\u52d5\u8a2d\u5b9a\u30e1\u30cb\u30e5\u30fc";  // 起動設定メニュー

std::wstring FromUtf8(const std::string& text)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0);
    std::wstring wide(n > 0 ? n : 0, L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), &wide[0], n);
    return wide;
}

void Print(const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &utf8[0], n, nullptr, nullptr);
    utf8 += '\n';
    DWORD written;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), (DWORD)utf8.size(), &written,
              nullptr);
}

void PrintNumber(long long v)
{
    Print(std::to_wstring(v));
}

// Unix time in ns from the same clock as the shell's `date +%s%N`.
long long UnixNowNs()
{
    typedef VOID(WINAPI * PreciseFn)(LPFILETIME);
    static PreciseFn precise = reinterpret_cast<PreciseFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetSystemTimePreciseAsFileTime")));
    FILETIME ft;
    if (precise)
        precise(&ft);
    else
        GetSystemTimeAsFileTime(&ft);
    ULARGE_INTEGER t;
    t.LowPart = ft.dwLowDateTime;
    t.HighPart = ft.dwHighDateTime;
    const unsigned long long kUnixEpoch = 116444736000000000ULL;  // 1970 in 100 ns units
    return (long long)(t.QuadPart - kUnixEpoch) * 100;
}

HWND MainWindow() { return FindWindowW(L"RING", kTitle); }

HWND Dialog()
{
    HWND main = MainWindow();
    if (!main)
        return nullptr;
    // The settings dialog is the main window's only dialog-class child.
    return FindWindowExW(main, nullptr, L"#32770", nullptr);
}

HWND Control(int id)
{
    HWND dlg = Dialog();
    return dlg ? GetDlgItem(dlg, id) : nullptr;
}

// Set when a message sent to the tool went unanswered: the command then fails
// instead of printing what an unanswered message leaves (0, an empty text).
bool g_unanswered = false;

// How long the tool may take to answer. A busy machine may keep it from
// answering for a while; only a tool that stopped taking messages (or a
// window that went away) fails.
constexpr DWORD kAnswerMs = 300000;

LRESULT Send(HWND wnd, UINT msg, WPARAM w, LPARAM l)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(wnd, msg, w, l, SMTO_NORMAL, kAnswerMs, &result))
        g_unanswered = true;
    return (LRESULT)result;
}

constexpr int kReportBoxId = 1054;
constexpr WPARAM kDialogTimerId = 0x7FFF;

// Waits until the tool's message loop has handled every message posted to it
// before this call. Only that loop takes posted messages; a sent one is also
// answered inside start-up or a handler, whenever the tool waits on another
// thread (Wine's DirectInput, for one), so a sent question alone cannot tell
// that start-up or a click has finished. The mark is the report box's modify
// flag: the tool never reads it and a read-only box never shows it.
bool Sync(DWORD start, DWORD limit)
{
    HWND report = Control(kReportBoxId);
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

// True while a process of the tool runs, or when that cannot be told.
bool ToolProcessRuns()
{
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE)
        return true;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = Process32FirstW(snap, &entry); more && !found;
         more = Process32NextW(snap, &entry))
        found = _wcsicmp(entry.szExeFile, L"config.exe") == 0;
    CloseHandle(snap);
    return found;
}

// The output of the driver's run of the tool (see `run`) once that has ended,
// its status line last; empty while it runs or before it has begun.
std::wstring RunOutputWhenEnded(const wchar_t* path)
{
    HANDLE file = CreateFileW(path, GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return L"";
    std::string text;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof(chunk), &got, nullptr) && got > 0)
        text.append(chunk, got);
    CloseHandle(file);
    // Only a whole last line counts: the status may be half written.
    if (text.empty() || text.back() != '\n')
        return L"";
    text.pop_back();
    size_t last = text.rfind('\n');
    if (text.compare(last == std::string::npos ? 0 : last + 1, 8, "#status ") != 0)
        return L"";
    // One line, as the driver prints it: UTF-8.
    std::string line;
    for (char c : text)
        line += c == '\n' ? std::string(" | ") : c == '\r' ? std::string() : std::string(1, c);
    return FromUtf8(line);
}

// Start-up is over once the dialog exists and the loop has taken a message
// posted to it: FillDialog ran before the loop began. Returns an empty text
// then, or how far start-up had come when the limit was reached, or that the
// tool ended on the way: its process gone (seen once a second, as it may
// start after this wait does), or the run that started it over (runOutput,
// when given), whether or not its process was ever seen.
std::wstring WaitStartupOver(DWORD limit, DWORD pollMs, const wchar_t* runOutput)
{
    DWORD start = GetTickCount(), looked = start - 1000;
    bool seen = false;
    for (;;) {
        HWND main = MainWindow();
        const wchar_t* missing = !main ? L"no main window"
                                 : !IsWindowVisible(main) ? L"its main window still hidden"
                                 : !Control(kReportBoxId) ? L"its main window shown, no dialog"
                                                          : nullptr;
        if (!missing)
            break;
        if (runOutput) {
            std::wstring ended = RunOutputWhenEnded(runOutput);
            if (!ended.empty())
                return std::wstring(L"the run of the tool ended before start-up was over, its "
                                    L"process ") +
                       (seen ? L"seen" : L"never seen") + L"; the run printed: " + ended;
        }
        if (GetTickCount() - looked >= 1000) {
            looked = GetTickCount();
            if (ToolProcessRuns())
                seen = true;
            else if (seen)
                return L"start-up not over in time: the tool ended during start-up";
        }
        if (GetTickCount() - start > limit)
            return std::wstring(L"start-up not over in time: ") + missing;
        Sleep(pollMs);
    }
    return Sync(start, limit) ? L""
                              : L"start-up not over in time: the dialog shown, its loop not taking "
                                L"messages";
}

GUITHREADINFO ToolGuiInfo()
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    HWND main = MainWindow();
    if (main)
        GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
    return info;
}

std::wstring WindowText(HWND wnd)
{
    wchar_t buffer[8192];
    buffer[0] = 0;
    Send(wnd, WM_GETTEXT, 8192, (LPARAM)buffer);
    return buffer;
}

struct BoxSearch {
    DWORD pid;
    HWND box;
};

BOOL CALLBACK FindBox(HWND wnd, LPARAM param)
{
    BoxSearch* search = reinterpret_cast<BoxSearch*>(param);
    wchar_t cls[32];
    GetClassNameW(wnd, cls, 32);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    // EnumWindows sees top-level windows only, so the settings dialog (a
    // child) never matches.
    if (wcscmp(cls, L"#32770") == 0 && IsWindowVisible(wnd) && pid == search->pid) {
        search->box = wnd;
        return FALSE;
    }
    return TRUE;
}

// A message box of the tool's process (the tool may have no main window yet
// or any more, so the process is found by the executable's name too).
DWORD ToolProcessId()
{
    HWND main = MainWindow();
    DWORD pid = 0;
    if (main)
        GetWindowThreadProcessId(main, &pid);
    if (pid)
        return pid;
    const char* env = getenv("TOOL_PID");
    return env ? (DWORD)strtoul(env, nullptr, 10) : 0;
}

HWND MessageBoxWindow(DWORD pid)
{
    BoxSearch search = {pid, nullptr};
    EnumWindows(FindBox, (LPARAM)&search);
    return search.box;
}

HWND AnyMessageBox()
{
    // Without a known process: any visible top-level dialog that is not ours.
    BoxSearch search = {0, nullptr};
    struct Local {
        static BOOL CALLBACK Find(HWND wnd, LPARAM param)
        {
            BoxSearch* s = reinterpret_cast<BoxSearch*>(param);
            wchar_t cls[32];
            GetClassNameW(wnd, cls, 32);
            if (wcscmp(cls, L"#32770") == 0 && IsWindowVisible(wnd)) {
                s->box = wnd;
                return FALSE;
            }
            return TRUE;
        }
    };
    EnumWindows(Local::Find, (LPARAM)&search);
    return search.box;
}

int Fail(const wchar_t* what)
{
    Print(std::wstring(L"error: ") + what);
    return 2;
}

// Runs a call that waits on the tool's thread and has no time-out of its own
// (a repaint, a focus change, the foreground) on a thread of its own, bounded
// as a sent message is. A stuck thread cannot be stopped: past the bound the
// command fails and the process ends with it, so that neither a test nor a
// served driver's next command waits on it for ever. Returns the status.
template <typename Call>
int Bounded(const wchar_t* what, Call call)
{
    struct Job {
        Call call;
        static DWORD WINAPI Run(LPVOID job)
        {
            static_cast<Job*>(job)->call();
            return 0;
        }
    };
    Job job{call};
    HANDLE thread = CreateThread(nullptr, 0, &Job::Run, &job, 0, nullptr);
    if (!thread)
        return Fail(L"cannot start a thread");
    if (WaitForSingleObject(thread, kAnswerMs) != WAIT_OBJECT_0) {
        Fail((std::wstring(L"the tool did not answer ") + what + L" within " +
              std::to_wstring(kAnswerMs / 1000) + L" s (its thread stuck)").c_str());
        Print(L"#status 2");
        TerminateProcess(GetCurrentProcess(), 2);
    }
    CloseHandle(thread);
    return 0;
}

// What a process has on the screen, for a test that waited in vain for its
// end: its message box (caption|text), its dialog, or neither.
std::wstring WhatProcessShows(DWORD pid)
{
    HWND box = MessageBoxWindow(pid);
    if (box) {
        HWND label = GetDlgItem(box, 0xFFFF);
        return L"a message box: " + WindowText(box) + L"|" + (label ? WindowText(label) : L"");
    }
    HWND main = MainWindow();
    DWORD owner = 0;
    if (main)
        GetWindowThreadProcessId(main, &owner);
    if (main && owner == pid)
        return IsWindowVisible(main) ? L"the dialog" : L"its main window, hidden";
    return L"no window of its own";
}

// Ends when stdin gives a line or ends: the start of run's time limit.
DWORD WINAPI WaitForStdin(LPVOID)
{
    char c = 0;
    DWORD got = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &c, 1, &got, nullptr) && got == 1 && c != '\n') {
    }
    return 0;
}

int RunCommand(int argc, wchar_t** argv)
{
    if (argc < 2)
        return Fail(L"no command");
    std::wstring cmd = argv[1];
    int arg1 = argc > 2 ? _wtoi(argv[2]) : 0;
    int arg2 = argc > 3 ? _wtoi(argv[3]) : 0;

    if (cmd == L"wait" || cmd == L"filled") {
        DWORD start = GetTickCount();
        if (cmd == L"filled")
            Print(L"ready");
        std::wstring why = WaitStartupOver((DWORD)arg1 * 1000, cmd == L"filled" ? 2 : 20,
                                           argc > 3 ? argv[3] : nullptr);
        if (!why.empty())
            return Fail(why.c_str());
        if (cmd == L"filled")
            PrintNumber(UnixNowNs());
        else
            PrintNumber(GetTickCount() - start);
        return 0;
    }
    if (cmd == L"sync") {
        if (!Sync(GetTickCount(), (DWORD)arg1 * 1000))
            return Fail(L"the tool's loop did not take a posted message in time");
        return 0;
    }
    if (cmd == L"settle") {
        // The tool reads the keyboard only when its queue is empty, and drops
        // a press that its first read finds. Start-up painting under a slow
        // emulation can keep that queue busy past a click, so a press sent
        // then would be that first read's. Once settled, its next read comes
        // before a key the test presses next.
        const DWORD start = GetTickCount(), limit = (DWORD)arg1 * 1000;
        HWND main = MainWindow();
        HANDLE process = main ? OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE,
                                            ToolProcessId())
                              : nullptr;
        if (!process)
            return Fail(L"no tool to settle");
        const DWORD idle = WaitForInputIdle(process, limit);
        CloseHandle(process);
        if (idle != 0)
            return Fail(idle == WAIT_TIMEOUT ? L"the tool's queue was never empty in time"
                                             : L"cannot wait for the tool's queue");
        if (int failed = Bounded(L"the pending paint", [main] {
                RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            }))
            return failed;
        if (!Sync(start, limit))
            return Fail(L"the tool's loop did not take a posted message in time");
        return 0;
    }
    if (cmd == L"tick") {
        // What the dialog's 100 ms timer does, done now: the dialog procedure
        // records the checked action before this returns.
        HWND dlg = Dialog();
        if (!dlg)
            return Fail(L"no dialog");
        Send(dlg, WM_TIMER, kDialogTimerId, 0);
        return g_unanswered ? Fail(L"the timer tick was not answered") : 0;
    }
    if (cmd == L"paint") {
        HWND main = MainWindow();
        if (!main)
            return Fail(L"no main window");
        // WM_PAINT is sent to the tool's thread and painted before this returns.
        return Bounded(L"the repaint", [main] {
            RedrawWindow(main, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        });
    }
    if (cmd == L"run") {
        // The exit code as Windows keeps it (see the status line above).
        if (argc < 4)
            return Fail(L"no time limit or no program");
        std::wstring line;
        for (int i = 3; i < argc; ++i)
            line += (i > 3 ? L" \"" : L"\"") + std::wstring(argv[i]) + L"\"";
        // The program writes where the driver writes (a test's output).
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        PROCESS_INFORMATION info = {};
        if (!CreateProcessW(argv[3], &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                            &startup, &info))
            return Fail(L"cannot start the program");
        CloseHandle(info.hThread);
        HANDLE asked = CreateThread(nullptr, 0, WaitForStdin, nullptr, 0, nullptr);
        HANDLE both[] = {info.hProcess, asked};
        if (!asked ||
            (WaitForMultipleObjects(2, both, FALSE, INFINITE) != WAIT_OBJECT_0 &&
             WaitForSingleObject(info.hProcess, (DWORD)arg1 * 1000) == WAIT_TIMEOUT)) {
            std::wstring shows = WhatProcessShows(info.dwProcessId);
            CloseHandle(info.hProcess);
            return Fail((L"the program did not end within " + std::wstring(argv[2]) +
                         L" s; it shows " + shows).c_str());
        }
        DWORD code = 0;
        BOOL known = GetExitCodeProcess(info.hProcess, &code);
        CloseHandle(info.hProcess);
        if (!known)
            return Fail(L"no exit code");
        return (int)code;
    }
    if (cmd == L"acp") {
        PrintNumber(GetACP());
        return 0;
    }
    if (cmd == L"physmem") {
        // The tool's own query, made by a program of its build and road.
        MEMORYSTATUSEX status = {};
        status.dwLength = sizeof(status);
        if (!GlobalMemoryStatusEx(&status))
            return Fail(L"GlobalMemoryStatusEx failed");
        PrintNumber(status.ullTotalPhys / (1024 * 1024));
        return 0;
    }
    if (cmd == L"now") {
        PrintNumber(UnixNowNs());
        return 0;
    }
    if (cmd == L"window" || cmd == L"close") {
        if (argc < 3)
            return Fail(L"no class");
        DWORD start = GetTickCount();
        DWORD limit = (DWORD)(argc > 3 ? _wtoi(argv[3]) : 0) * 1000;
        if (cmd == L"window")
            Print(L"ready");
        for (;;) {
            HWND wnd = FindWindowW(argv[2], nullptr);
            if (wnd && cmd == L"close") {
                PostMessageW(wnd, WM_CLOSE, 0, 0);
                return 0;
            }
            DWORD_PTR ignored;
            if (wnd && IsWindowVisible(wnd) &&
                SendMessageTimeoutW(wnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored)) {
                PrintNumber(UnixNowNs());
                return 0;
            }
            if (cmd == L"close")
                return Fail(L"no such window");
            if (GetTickCount() - start > limit)
                return Fail(L"timeout waiting for the window");
            Sleep(2);
        }
    }
    if (cmd == L"watch") {
        DWORD limit = (DWORD)arg1 * 1000;
        int count = arg2;
        std::vector<int> ids;
        std::vector<HWND> ctrls;
        std::vector<std::wstring> last;
        for (int i = 4; i < argc; ++i) {
            HWND ctrl = Control(_wtoi(argv[i]));
            if (!ctrl)
                return Fail(L"no such control");
            ids.push_back(_wtoi(argv[i]));
            ctrls.push_back(ctrl);
            last.push_back(WindowText(ctrl));
        }
        Print(L"ready");
        DWORD start = GetTickCount();
        int seen = 0;
        while (seen < count && GetTickCount() - start <= limit) {
            for (size_t i = 0; i < ctrls.size(); ++i) {
                std::wstring now = WindowText(ctrls[i]);
                if (now != last[i]) {
                    long long stamp = UnixNowNs();
                    last[i] = now;
                    Print(std::to_wstring(stamp) + L" " + std::to_wstring(ids[i]) + L" " + now);
                    ++seen;
                }
            }
            // Wine sleeps for the time asked (no 15.6 ms tick), so this is ~1 ms.
            Sleep(1);
        }
        return seen < count ? Fail(L"timeout watching the controls") : 0;
    }
    if (cmd == L"focused" || cmd == L"active") {
        GUITHREADINFO info = ToolGuiInfo();
        if (cmd == L"active")
            PrintNumber(MainWindow() && info.hwndActive == MainWindow() ? 1 : 0);
        else
            PrintNumber(info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0);
        return 0;
    }
    if (cmd == L"waittext" || cmd == L"waitchecks") {
        // Waits in one process for what the test checks next: polling from
        // the shell would start a Wine process for every look.
        const bool text = cmd == L"waittext";
        if (argc < 5)
            return Fail(L"too few arguments");
        const std::wstring want = argv[text ? 4 : 3];
        std::vector<HWND> ctrls;
        for (int i = text ? 3 : 4; i < (text ? 4 : argc); ++i) {
            HWND ctrl = Control(_wtoi(argv[i]));
            if (!ctrl)
                return Fail(L"no such control");
            ctrls.push_back(ctrl);
        }
        const DWORD start = GetTickCount();
        std::wstring seen;
        for (;;) {
            seen.clear();
            for (HWND ctrl : ctrls)
                seen += text ? WindowText(ctrl) : std::to_wstring(Send(ctrl, BM_GETCHECK, 0, 0));
            if (seen == want || g_unanswered || GetTickCount() - start > (DWORD)arg1 * 1000)
                break;
            Sleep(2);
        }
        Print(seen);
        return seen == want ? 0 : Fail(L"not so when the time was up");
    }
    if (cmd == L"pads") {
        const DWORD start = GetTickCount();
        std::vector<std::wstring> names;
        // While Wine's bus is still bringing the pads up, DirectInput can list
        // the right number with some pads twice and others missing: the list
        // counts only once every name in it is another pad's.
        auto settled = [&] {
            std::set<std::wstring> distinct(names.begin(), names.end());
            return (int)names.size() == arg2 && distinct.size() == names.size();
        };
        while (!ListGameControllers(&names) || !settled()) {
            if (GetTickCount() - start > (DWORD)arg1 * 1000) {
                for (const std::wstring& name : names)
                    Print(name);
                return Fail(L"not so many game controllers, each once, when the time was up");
            }
            Sleep(20);
        }
        for (const std::wstring& name : names)
            Print(name);
        return 0;
    }
    if (cmd == L"padwait") {
        if (argc < 5)
            return Fail(L"too few arguments");
        const bool rest = std::wstring(argv[3]) == L"rest";
        const int button = _wtoi(argv[3]);
        const DWORD start = GetTickCount();
        for (int i = 4; i < argc;) {
            PadReading r;
            if (!ReadGameController(argv[i], &r))
                return Fail(L"no such game controller listed before, or it cannot be read");
            bool anyDown = false;
            for (unsigned char b : r.m_Buttons)
                anyDown = anyDown || (b & 0x80);
            if (rest ? !anyDown && !r.m_lX && !r.m_lY && !r.m_lZ && r.m_dwPov == 0xFFFFFFFF
                     : button >= 0 && button < 128 && (r.m_Buttons[button] & 0x80)) {
                ++i;
                continue;
            }
            if (GetTickCount() - start > (DWORD)arg1 * 1000) {
                Print(std::wstring(argv[i]) + L": x " + std::to_wstring(r.m_lX) + L" y " +
                      std::to_wstring(r.m_lY) + L" z " + std::to_wstring(r.m_lZ) + L" pov " +
                      std::to_wstring(r.m_dwPov));
                return Fail(L"not so when the time was up");
            }
            Sleep(2);
        }
        return 0;
    }
    if (cmd == L"checks" || cmd == L"texts") {
        std::wstring line;
        for (int i = 2; i < argc; ++i) {
            HWND ctrl = Control(_wtoi(argv[i]));
            if (!ctrl)
                return Fail(L"no such control");
            if (cmd == L"texts") {
                Print(WindowText(ctrl));
                continue;
            }
            line += (i > 2 ? L" " : L"") + std::to_wstring(Send(ctrl, BM_GETCHECK, 0, 0));
        }
        if (cmd == L"checks")
            Print(line);
        return 0;
    }
    if (cmd == L"memory") {
        DWORD pid = 0;
        if (argc > 2) {
            HWND wnd = FindWindowW(argv[2], nullptr);
            if (wnd)
                GetWindowThreadProcessId(wnd, &pid);
        } else {
            pid = ToolProcessId();
        }
        HANDLE process = pid ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid)
                             : nullptr;
        if (!process)
            return Fail(L"cannot open the tool's process");
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof(counters);
        BOOL ok = GetProcessMemoryInfo(process, &counters, sizeof(counters));
        CloseHandle(process);
        if (!ok)
            return Fail(L"GetProcessMemoryInfo failed");
        Print(std::to_wstring((unsigned long long)counters.PeakWorkingSetSize) + L" " +
              std::to_wstring((unsigned long long)counters.WorkingSetSize));
        return 0;
    }
    if (cmd == L"gone") {
        DWORD start = GetTickCount();
        while (MainWindow()) {
            if (GetTickCount() - start > (DWORD)arg1 * 1000)
                return Fail(L"main window still there");
            Sleep(20);
        }
        return 0;
    }
    if (cmd == L"title") {
        HWND main = MainWindow();
        if (!main)
            return Fail(L"no main window");
        Print(WindowText(main));
        return 0;
    }
    if (cmd == L"pid") {
        PrintNumber(ToolProcessId());
        return 0;
    }
    if (cmd == L"rects") {
        HWND main = MainWindow();
        HWND dlg = Dialog();
        if (!main || !dlg)
            return Fail(L"no window");
        RECT m, d;
        GetWindowRect(main, &m);
        GetWindowRect(dlg, &d);
        wchar_t line[256];
        swprintf(line, 256, L"main %ld %ld %ld %ld dialog %ld %ld %ld %ld metrics %d %d %d",
                 m.left, m.top, m.right, m.bottom, d.left, d.top, d.right, d.bottom,
                 GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME),
                 GetSystemMetrics(SM_CYCAPTION));
        Print(line);
        return 0;
    }
    if (cmd == L"screen") {
        RECT work;
        if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
            return Fail(L"no work area");
        HDC screen = GetDC(nullptr);
        int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        wchar_t line[256];
        swprintf(line, 256, L"screen %d %d workarea %ld %ld %ld %ld dpi %d",
                 GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), work.left,
                 work.top, work.right, work.bottom, dpi);
        Print(line);
        return 0;
    }
    if (cmd == L"activate") {
        HWND main = MainWindow();
        if (!main)
            return Fail(L"no main window");
        return Bounded(L"the activation", [main] { SetForegroundWindow(main); });
    }
    if (cmd == L"msgbox" || cmd == L"nomsgbox") {
        DWORD start = GetTickCount();
        for (;;) {
            DWORD pid = ToolProcessId();
            HWND box = pid ? MessageBoxWindow(pid) : AnyMessageBox();
            if (box) {
                if (cmd == L"nomsgbox") {
                    Print(L"unexpected message box: " + WindowText(box));
                    return 1;
                }
                HWND label = GetDlgItem(box, 0xFFFF);
                Print(WindowText(box) + L"|" + (label ? WindowText(label) : L""));
                HWND ok = GetDlgItem(box, IDOK);
                if (!ok)
                    ok = GetDlgItem(box, IDCANCEL);
                if (ok)
                    PostMessageW(ok, BM_CLICK, 0, 0);
                else
                    PostMessageW(box, WM_COMMAND, IDOK, 0);
                return 0;
            }
            if (cmd == L"nomsgbox")
                return 0;
            if (GetTickCount() - start > (DWORD)arg1 * 1000)
                return Fail(L"no message box");
            Sleep(20);
        }
    }

    HWND ctrl = Control(arg1);
    if (!ctrl)
        return Fail(L"no such control");
    if (cmd == L"click") {
        // Posted: the tool's handler may open a modal box or close the window.
        PostMessageW(ctrl, BM_CLICK, 0, 0);
        return 0;
    }
    if (cmd == L"rect") {
        RECT r;
        GetWindowRect(ctrl, &r);
        wchar_t line[128];
        swprintf(line, 128, L"%ld %ld %ld %ld", r.left, r.top, r.right, r.bottom);
        Print(line);
        return 0;
    }
    if (cmd == L"text") {
        Print(WindowText(ctrl));
        return 0;
    }
    if (cmd == L"check") {
        PrintNumber(Send(ctrl, BM_GETCHECK, 0, 0));
        return 0;
    }
    if (cmd == L"setcheck") {
        // One click, as a user gives it: every box of the tool toggles on
        // one, and a click it lost would be the tool's fault.
        if (Send(ctrl, BM_GETCHECK, 0, 0) != arg2)
            Send(ctrl, BM_CLICK, 0, 0);
        LRESULT now = Send(ctrl, BM_GETCHECK, 0, 0);
        return now == arg2 ? 0
                           : Fail((L"one click left the box at " + std::to_wstring(now)).c_str());
    }
    if (cmd == L"enabled") {
        PrintNumber(IsWindowEnabled(ctrl) ? 1 : 0);
        return 0;
    }
    if (cmd == L"cursel") {
        PrintNumber(Send(ctrl, CB_GETCURSEL, 0, 0));
        return 0;
    }
    if (cmd == L"select") {
        if (Send(ctrl, CB_SETCURSEL, arg2, 0) != arg2)
            return Fail(L"no such item");
        return 0;
    }
    if (cmd == L"itemtext") {
        wchar_t buffer[256] = {};
        Send(ctrl, CB_GETLBTEXT, arg2, (LPARAM)buffer);
        Print(buffer);
        return 0;
    }
    if (cmd == L"focus") {
        // Focus belongs to the tool's thread: attach to it for the call.
        return Bounded(L"the focus change", [ctrl] {
            // Only a thread with a message queue can attach: this makes one.
            MSG msg;
            PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
            DWORD tid = GetWindowThreadProcessId(ctrl, nullptr);
            AttachThreadInput(GetCurrentThreadId(), tid, TRUE);
            SetFocus(ctrl);
            AttachThreadInput(GetCurrentThreadId(), tid, FALSE);
        });
    }
    return Fail(L"unknown command");
}

int RunAndReport(int argc, wchar_t** argv)
{
    g_unanswered = false;
    int status = RunCommand(argc, argv);
    if (status == 0 && g_unanswered)
        status = Fail(L"the tool did not answer a message (its window gone, or its thread stuck)");
    Print(L"#status " + std::to_wstring(status));
    return status;
}

// Runs one command line: UTF-8, its words separated by tabs.
void ServeLine(const std::string& line)
{
    const std::wstring wide = FromUtf8(line);
    std::vector<std::wstring> words = {L"e2e_driver"};
    size_t from = 0;
    for (size_t tab; (tab = wide.find(L'\t', from)) != std::wstring::npos; from = tab + 1)
        words.push_back(wide.substr(from, tab - from));
    words.push_back(wide.substr(from));
    std::vector<wchar_t*> argv;
    for (std::wstring& word : words)
        argv.push_back(&word[0]);
    argv.push_back(nullptr);
    RunAndReport((int)words.size(), argv.data());
}

int Serve()
{
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    std::string pending;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(in, chunk, sizeof(chunk), &got, nullptr) && got > 0) {
        pending.append(chunk, got);
        for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
            std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            ServeLine(line);
        }
    }
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 2 && std::wstring(argv[1]) == L"serve")
        return Serve();
    return RunAndReport(argc, argv);
}
