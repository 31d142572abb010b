// The commands of scripts/bench alone: another program's window, the
// key-to-name latency, working sets.
#include "tests/e2e/driver/driver.h"

#define PSAPI_VERSION 2  // GetProcessMemoryInfo from kernel32 (K32...), no psapi.dll
#include <psapi.h>

#include "app/settings_dialog_proc.h"

namespace {

int Window(const Args& args)
{
    const DWORD start = GetTickCount();
    for (;;) {
        HWND wnd = FindWindowW(args[0], nullptr);
        DWORD_PTR ignored;
        if (wnd && IsWindowVisible(wnd) &&
            SendMessageTimeoutW(wnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored))
            return Reply(std::to_wstring(UnixNowNs()));
        if (GetTickCount() - start > args.Ms(1))
            return Fail(L"timeout waiting for the window");
        Sleep(2);
    }
}

int Close(const Args& args)
{
    HWND wnd = FindWindowW(args[0], nullptr);
    return wnd && PostMessageW(wnd, WM_CLOSE, 0, 0) ? 0 : Fail(L"no such window");
}

int Watch(const Args& args)
{
    const int count = args.Int(1);
    std::vector<HWND> ctrls;
    std::vector<std::wstring> last;
    for (size_t i = 2; i < args.size(); ++i) {
        if (!Control(args.Int(i)))
            return Fail(L"no such control");
        ctrls.push_back(Control(args.Int(i)));
        last.push_back(WindowText(ctrls.back()));
    }
    HWND dialog = Dialog();
    Print(L"ready");
    const DWORD start = GetTickCount();
    int seen = 0;
    while (seen < count && GetTickCount() - start <= args.Ms(0)) {
        for (size_t i = 0; i < ctrls.size(); ++i) {
            std::wstring now = WindowText(ctrls[i]);
            if (now == last[i])
                continue;
            long long stamp = UnixNowNs();
            last[i] = now;
            // The dialog's timer records the moved check now, before the
            // line lets the bench press the next key into the next slot.
            Send(dialog, WM_TIMER, kDialogTimerId, 0);
            Print(std::to_wstring(stamp) + L" " + std::to_wstring(GetDlgCtrlID(ctrls[i])) + L" " +
                  now);
            ++seen;
        }
        // Wine sleeps for the time asked (no 15.6 ms tick), so this is ~1 ms.
        Sleep(1);
    }
    return seen < count ? Fail(L"timeout watching the controls") : 0;
}

int Memory(const Args& args)
{
    DWORD pid = args.size() ? 0 : ToolProcessId();
    if (HWND wnd = args.size() ? FindWindowW(args[0], nullptr) : nullptr)
        GetWindowThreadProcessId(wnd, &pid);
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
    return Reply(std::to_wstring((unsigned long long)counters.PeakWorkingSetSize) + L" " +
                 std::to_wstring((unsigned long long)counters.WorkingSetSize));
}

const Command kCommands[] = {
    {L"window", L"CLASS SECONDS", L"wait for a visible top-level window of CLASS that answers "
     L"messages; print the Unix ns it was seen", Window},
    {L"close", L"CLASS", L"post WM_CLOSE to that top-level window", Close},
    {L"watch", L"SECONDS COUNT ID...", L"print \"ready\", then one line \"NS ID TEXT\" per text "
     L"change of those controls (polled every ~1 ms, the dialog's timer ticked at each) until "
     L"COUNT changes or the time is up", Watch},
    {L"memory", L"[CLASS]", L"peak and current working set in bytes of the tool, or of the "
     L"process owning the top-level window of CLASS", Memory},
};

} // namespace

const CommandGroup kBenchCommands = Group(L"scripts/bench's figures", kCommands);
