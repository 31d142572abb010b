// Operates a running config.exe from outside, the way a user's clicks do:
// starts it, finds its windows, clicks buttons and reads controls through
// window messages. Run under the same Wine prefix as the tool. Prints UTF-8.
//
//   e2e_driver COMMAND [ARG...]    one command (scripts/wine-null's `run`)
//   e2e_driver serve               commands from stdin, one a line (the tests)
//   e2e_driver help                every command, from the tables below
//
// The last line printed for a command is always "#status N": 0 on success; 2
// with an "error: ..." line when the command could not be carried out (no such
// window, a message the tool did not answer, a time limit passed); 1 from
// nomsgbox when a message box is open; the program's exit code from run. The
// same N is the exit status, but only the printed one can be trusted: Wine
// kills a process that is slow to go once its last thread has ended, and on a
// busy machine the Unix status of any Wine process may then read 137 whatever
// it exited with.
#include "tests/e2e/driver/driver.h"

#include <sstream>

namespace {

const wchar_t* const kTitle = L"\u8d77\u52d5\u8a2d\u5b9a\u30e1\u30cb\u30e5\u30fc";  // 起動設定メニュー

int Serve(const Args&);
int Help(const Args&);

const Command kDriverCommands[] = {
    {L"serve", L"", L"take commands from stdin, one a line, their words separated by tabs; "
     L"answer each as a run of its own would, \"#status N\" last", Serve},
    {L"help", L"", L"these lines", Help},
};
const CommandGroup kDriver = Group(L"the driver", kDriverCommands);

const CommandGroup* const kGroups[] = {&kDriver,          &kToolCommands, &kDialogCommands,
                                       &kSessionCommands, &kPadCommands,  &kBenchCommands};

const Command* Find(const std::wstring& name)
{
    for (const CommandGroup* group : kGroups)
        for (size_t i = 0; i < group->count; ++i)
            if (name == group->commands[i].name)
                return &group->commands[i];
    return nullptr;
}

// Whether COUNT words fit the arguments the usage shows: one for each word
// there but those in [], any more after one ending in "...".
bool Fits(const Command& command, size_t count)
{
    size_t required = 0, words = 0;
    bool open = false;
    std::wistringstream usage(command.args);
    for (std::wstring word; usage >> word; ++words) {
        required += word[0] != L'[';
        open = open || word.find(L"...") != std::wstring::npos;
    }
    return count >= required && (open || count <= words);
}

int RunCommand(const std::vector<std::wstring>& words)
{
    if (words.empty())
        return Fail(L"no command (e2e_driver help lists them)");
    const Command* command = Find(words[0]);
    if (!command)
        return Fail(L"unknown command '" + words[0] + L"' (e2e_driver help lists them)");
    Args args{std::vector<std::wstring>(words.begin() + 1, words.end())};
    if (!Fits(*command, args.size()))
        return Fail(L"usage: " + words[0] + L" " + command->args);
    return command->run(args);
}

int RunAndReport(const std::vector<std::wstring>& words)
{
    g_unanswered = false;
    int status = RunCommand(words);
    if (status == 0 && g_unanswered)
        status = Fail(L"the tool did not answer a message (its window gone, or its thread stuck)");
    Print(L"#status " + std::to_wstring(status));
    return status;
}

// Runs one command line: UTF-8, its words separated by tabs.
void ServeLine(const std::string& line)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, line.data(), (int)line.size(), nullptr, 0);
    std::wstring wide(n > 0 ? n : 0, L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, 0, line.data(), (int)line.size(), &wide[0], n);
    std::vector<std::wstring> words;
    size_t from = 0;
    for (size_t tab; (tab = wide.find(L'\t', from)) != std::wstring::npos; from = tab + 1)
        words.push_back(wide.substr(from, tab - from));
    words.push_back(wide.substr(from));
    RunAndReport(words);
}

int Serve(const Args&)
{
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    // The programs the driver starts get neither end of the test's pipes.
    SetHandleInformation(in, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(GetStdHandle(STD_OUTPUT_HANDLE), HANDLE_FLAG_INHERIT, 0);
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

int Help(const Args&)
{
    for (const CommandGroup* group : kGroups) {
        Print(std::wstring(L"-- ") + group->title);
        for (size_t i = 0; i < group->count; ++i) {
            const Command& command = group->commands[i];
            Print(std::wstring(L"  ") + command.name + (*command.args ? L" " : L"") +
                  command.args);
            Print(std::wstring(L"      ") + command.usage);
        }
    }
    return 0;
}

} // namespace

bool g_unanswered = false;

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

int Reply(const std::wstring& line)
{
    Print(line);
    return 0;
}

int Fail(const std::wstring& what)
{
    Print(L"error: " + what);
    return 2;
}

long long UnixNowNs()
{
    FILETIME ft;
    GetSystemTimePreciseAsFileTime(&ft);
    ULARGE_INTEGER t;
    t.LowPart = ft.dwLowDateTime;
    t.HighPart = ft.dwHighDateTime;
    const unsigned long long kUnixEpoch = 116444736000000000ULL;  // 1970 in 100 ns units
    return (long long)(t.QuadPart - kUnixEpoch) * 100;
}

HWND MainWindow() { return FindWindowW(L"RING", kTitle); }

// The settings dialog is the main window's only dialog-class child.
HWND Dialog()
{
    HWND main = MainWindow();
    return main ? FindWindowExW(main, nullptr, L"#32770", nullptr) : nullptr;
}

HWND Control(int id)
{
    HWND dlg = Dialog();
    return dlg ? GetDlgItem(dlg, id) : nullptr;
}

LRESULT Send(HWND wnd, UINT msg, WPARAM w, LPARAM l)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(wnd, msg, w, l, SMTO_NORMAL, kAnswerMs, &result))
        g_unanswered = true;
    return (LRESULT)result;
}

std::wstring WindowText(HWND wnd)
{
    wchar_t buffer[8192] = {};
    Send(wnd, WM_GETTEXT, 8192, (LPARAM)buffer);
    return buffer;
}

int wmain(int argc, wchar_t** argv)
{
    return RunAndReport(std::vector<std::wstring>(argv + 1, argv + argc));
}
