#include "settings_fixture.h"

#include <cstdio>

#include "res/resource.h"
#include "app/settings_dialog_proc.h"

namespace {
int g_mainWindowCloses = 0;

// Counts closes and keeps the window: the test owns its lifetime.
LRESULT CALLBACK StandInMainWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CLOSE) {
        ++g_mainWindowCloses;
        return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

const wchar_t kStandInClass[] = L"SettingsTestMain";

void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring full = path + L"\\" + name;
            SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileW(full.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
}
}

ScopedWorkingDirectory::ScopedWorkingDirectory()
{
    wchar_t buffer[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, buffer);
    previous_ = buffer;
    GetTempPathW(MAX_PATH, buffer);
    static unsigned counter = 0;
    wchar_t name[64];
    swprintf(name, 64, L"settings-test-%lu-%u", GetCurrentProcessId(), ++counter);
    path_ = std::wstring(buffer) + name;
    RemoveTree(path_);
    CreateDirectoryW(path_.c_str(), nullptr);
    SetCurrentDirectoryW(path_.c_str());
}

ScopedWorkingDirectory::~ScopedWorkingDirectory()
{
    SetCurrentDirectoryW(previous_.c_str());
    RemoveTree(path_);
}

std::vector<std::wstring> ScopedWorkingDirectory::Entries() const
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path_ + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::vector<unsigned char> ReadWholeFile(const wchar_t* name)
{
    std::vector<unsigned char> bytes;
    FILE* file = _wfopen(name, L"rb");
    if (!file)
        return bytes;
    unsigned char chunk[4096];
    size_t n;
    while ((n = fread(chunk, 1, sizeof(chunk), file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    fclose(file);
    return bytes;
}

void WriteWholeFile(const wchar_t* name, const std::vector<unsigned char>& bytes)
{
    FILE* file = _wfopen(name, L"wb");
    if (!file)
        return;
    if (!bytes.empty())
        fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

std::vector<unsigned char> PatternBytes(size_t length, unsigned seed)
{
    std::vector<unsigned char> bytes(length);
    for (size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<unsigned char>(i * 13 + seed);
    return bytes;
}

SettingsDialogFixture::SettingsDialogFixture()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = StandInMainWndProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kStandInClass;
    RegisterClassW(&windowClass);  // fails harmlessly when already registered
    g_mainWindowCloses = 0;

    mainWindow_ = CreateWindowExW(0, kStandInClass, L"", WS_CAPTION | WS_SYSMENU, 0, 0, 752,
                                  655, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    state_->m_hMainWnd = mainWindow_;
    dialog_ = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETTINGS),
                                 mainWindow_, SettingsDlgProc, 0);
    state_->m_hDialog = dialog_;
}

SettingsDialogFixture::~SettingsDialogFixture()
{
    if (IsWindow(dialog_))
        DestroyWindow(dialog_);
    DestroyWindow(mainWindow_);
    PumpMessages();
}

int SettingsDialogFixture::MainWindowCloses() const { return g_mainWindowCloses; }

bool SettingsDialogFixture::IsChecked(int id) const
{
    return SendDlgItemMessageW(dialog_, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SettingsDialogFixture::SetCheck(int id, bool checked) const
{
    SendDlgItemMessageW(dialog_, id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool SettingsDialogFixture::IsEnabled(int id) const
{
    return IsWindowEnabled(GetDlgItem(dialog_, id)) != FALSE;
}

int SettingsDialogFixture::ComboSelection(int id) const
{
    return static_cast<int>(SendDlgItemMessageW(dialog_, id, CB_GETCURSEL, 0, 0));
}

std::wstring SettingsDialogFixture::ComboItemText(int id, int index) const
{
    wchar_t text[256] = L"";
    LRESULT length = SendDlgItemMessageW(dialog_, id, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR || length >= 256)
        return L"<none>";
    SendDlgItemMessageW(dialog_, id, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

int SettingsDialogFixture::ComboCount(int id) const
{
    return static_cast<int>(SendDlgItemMessageW(dialog_, id, CB_GETCOUNT, 0, 0));
}

void SettingsDialogFixture::Press(int id) const
{
    SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog_, id)));
}

void SettingsDialogFixture::PumpMessages() const
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
