// What the driver's commands share: output, the tool's windows and process,
// messages bounded in time, and the tables the commands are listed in.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Output: UTF-8, a line per call.
void Print(const std::wstring& text);
// Prints LINE as a command's answer; returns 0, the status of success.
int Reply(const std::wstring& line);
// Prints "error: WHAT" and returns 2, the status of a command that could not
// be carried out.
int Fail(const std::wstring& what);
// Unix time in ns from the same clock as the shell's `date +%s%N`.
long long UnixNowNs();

// The tool's windows.
HWND MainWindow();
HWND Dialog();
HWND Control(int id);
std::wstring WindowText(HWND wnd);

// How long the tool may take to answer. A busy machine may keep it from
// answering for a while; only a tool that stopped taking messages (or a
// window that went away) fails.
constexpr DWORD kAnswerMs = 300000;

// Set when a message sent to the tool went unanswered: the command then fails
// instead of printing what an unanswered message leaves (0, an empty text).
extern bool g_unanswered;
LRESULT Send(HWND wnd, UINT msg, WPARAM w, LPARAM l);

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
        Fail(std::wstring(L"the tool did not answer ") + what + L" within " +
             std::to_wstring(kAnswerMs / 1000) + L" s (its thread stuck)");
        Print(L"#status 2");
        TerminateProcess(GetCurrentProcess(), 2);
    }
    CloseHandle(thread);
    return 0;
}

// The tool's process, as `start` started it (else the owner of its main
// window; 0 when there is neither), and the waits for its loop (see
// driver_tool.cpp).
DWORD ToolProcessId();
bool Sync(DWORD start, DWORD limit);
std::wstring WaitStartupOver(DWORD limit, DWORD pollMs);

// A command's words after its name.
struct Args {
    std::vector<std::wstring> words;

    size_t size() const { return words.size(); }
    const wchar_t* operator[](size_t i) const { return words[i].c_str(); }
    int Int(size_t i) const { return _wtoi(words[i].c_str()); }
    // A SECONDS argument, in ms.
    DWORD Ms(size_t i) const { return static_cast<DWORD>(Int(i)) * 1000; }
};

struct Command {
    const wchar_t* name;
    // As the usage shows them, which is also how many there must be: a word
    // in [] may be left out, one ending in ... stands for one or more.
    const wchar_t* args;
    const wchar_t* usage;
    int (*run)(const Args& args);
};

struct CommandGroup {
    const wchar_t* title;
    const Command* commands;
    size_t count;
};

template <size_t N>
constexpr CommandGroup Group(const wchar_t* title, const Command (&commands)[N])
{
    return {title, commands, N};
}

// Each file's commands, in the order `help` lists them.
extern const CommandGroup kToolCommands;     // driver_tool.cpp
extern const CommandGroup kDialogCommands;   // driver_dialog.cpp
extern const CommandGroup kSessionCommands;  // driver_session.cpp
extern const CommandGroup kPadCommands;      // driver_pads.cpp
extern const CommandGroup kBenchCommands;    // driver_bench.cpp
