#include "common/test_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform_seam.h"

namespace {
std::vector<RecordedMessage> g_recorded;

int WINAPI RecordMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    g_recorded.push_back({owner, text ? text : L"", caption ? caption : L"", type, false});
    return IDOK;
}

int WINAPI RecordMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    g_recorded.push_back({owner, Wide(text ? text : ""), Wide(caption ? caption : ""), type, true});
    return IDOK;
}

int WINAPI NoShiftJis(UINT codePage, DWORD flags, LPCSTR text, int bytes, LPWSTR out,
                      int outChars)
{
    if (codePage == 932) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return MultiByteToWideChar(codePage, flags, text, bytes, out, outChars);
}
}

MessageRecorder::MessageRecorder()
{
    g_recorded.clear();
    g_Platform.pMessageBoxW = RecordMessageBox;
    g_Platform.pMessageBoxA = RecordMessageBoxA;
}

MessageRecorder::~MessageRecorder()
{
    g_Platform.pMessageBoxW = RealPlatformApi().pMessageBoxW;
    g_Platform.pMessageBoxA = RealPlatformApi().pMessageBoxA;
    g_recorded.clear();
}

const std::vector<RecordedMessage>& MessageRecorder::Messages() const { return g_recorded; }

void MessageRecorder::Clear() { g_recorded.clear(); }

ScopedAppState::ScopedAppState()
    : state_(static_cast<AppState*>(std::calloc(1, sizeof(AppState))))
{
    g_pAppState = state_;
    state_->m_hInstance = GetModuleHandleW(nullptr);
}

ScopedAppState::~ScopedAppState()
{
    std::free(state_);
    g_pAppState = nullptr;
}

std::wstring Wide(const char* sjis)
{
    wchar_t buffer[4096];
    if (MultiByteToWideChar(932, 0, sjis, -1, buffer, 4096) <= 0)
        buffer[0] = L'\0';
    return buffer;
}

ScopedNoShiftJis::ScopedNoShiftJis() { g_Platform.pMultiByteToWideChar = NoShiftJis; }

ScopedNoShiftJis::~ScopedNoShiftJis()
{
    g_Platform.pMultiByteToWideChar = RealPlatformApi().pMultiByteToWideChar;
}

std::wstring ControlText(HWND dialog, int id)
{
    wchar_t buffer[4096];
    buffer[0] = L'\0';
    GetDlgItemTextW(dialog, id, buffer, 4096);
    return buffer;
}

bool UnderEmulation()
{
    const char* road = std::getenv("WINE_ROAD");
    return road && std::strcmp(road, "qemu") == 0;
}

void NoteEmulationLimit(const char* what)
{
    std::printf("[ limit    ] %s\n", what);
    const char* unixPath = std::getenv("RINGCFG_LIMITS");
    if (!unixPath || unixPath[0] != '/')
        return;
    // Wine's Z: drive is the Unix root.
    std::string path = "Z:";
    for (const char* c = unixPath; *c; ++c)
        path += *c == '/' ? '\\' : *c;
    if (FILE* f = std::fopen(path.c_str(), "a")) {
        std::fprintf(f, "%s\n", what);
        std::fclose(f);
    }
}
