#include "common/test_support.h"

#include <cstdlib>
#include <cstring>

#include "app/platform_seam.h"
#include "app/win_text.h"

namespace {
std::vector<RecordedMessage> g_recorded;

int WINAPI RecordMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    g_recorded.push_back({owner, text ? text : L"", caption ? caption : L"", type});
    return IDOK;
}
}

MessageRecorder::MessageRecorder()
{
    g_recorded.clear();
    g_Platform.pMessageBoxW = RecordMessageBox;
}

MessageRecorder::~MessageRecorder()
{
    g_Platform.pMessageBoxW = RealPlatformApi().pMessageBoxW;
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
    SjisToWide(sjis, buffer, 4096);
    return buffer;
}

std::wstring ControlText(HWND dialog, int id)
{
    wchar_t buffer[4096];
    buffer[0] = L'\0';
    GetDlgItemTextW(dialog, id, buffer, 4096);
    return buffer;
}
