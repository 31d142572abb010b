#include "input/key_assign_fixture.h"

#include "app/app_lifecycle.h"
#include "app/settings_dialog_proc.h"
#include "input/input_devices.h"
#include "input/key_assign.h"
#include "input/slot_table.h"
#include "res/resource.h"
#include "settings/settings_block.h"

namespace {
const wchar_t kMainClass[] = L"InputTestMain";

LRESULT CALLBACK MainProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(wnd, msg, wParam, lParam);
}
}

ScopedTempDirectory::ScopedTempDirectory()
{
    GetCurrentDirectoryW(MAX_PATH, previous_);
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    GetTempFileNameW(base, L"inp", 0, path_);
    DeleteFileW(path_);
    CreateDirectoryW(path_, nullptr);
    SetCurrentDirectoryW(path_);
}

ScopedTempDirectory::~ScopedTempDirectory()
{
    SetCurrentDirectoryW(previous_);
    wchar_t pattern[MAX_PATH];
    wsprintfW(pattern, L"%s\\*", path_);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern, &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            wchar_t file[MAX_PATH];
            wsprintfW(file, L"%s\\%s", path_, found.cFileName);
            DeleteFileW(file);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path_);
}

KeyAssignTest::KeyAssignTest()
{
    for (FakeDevice& pad : pads_)
        fake_.m_Input.Attach(&pad);
}

void KeyAssignTest::SetUp()
{
    HINSTANCE self = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = MainProc;
    windowClass.hInstance = self;
    windowClass.lpszClassName = kMainClass;
    RegisterClassW(&windowClass);  // already registered after the first test

    SetDefaultSettings(&State()->m_Settings);
    mainWindow_ = CreateWindowExW(0, kMainClass, L"main", WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
                                  0, 0, 752, 655, nullptr, nullptr, self, nullptr);
    ASSERT_NE(nullptr, mainWindow_);
    State()->m_hMainWnd = mainWindow_;
    ASSERT_EQ(1, CreateInputDevices(self, &State()->m_Input, mainWindow_));

    dialog_ = CreateDialogParamW(self, MAKEINTRESOURCEW(IDD_SETTINGS), mainWindow_,
                                 SettingsDlgProc, 0);
    ASSERT_NE(nullptr, dialog_);
    State()->m_hDialog = dialog_;
    // The tests tick the timer themselves.
    KillTimer(dialog_, kDialogTimerId);
    ShowWindow(dialog_, SW_SHOW);
    FillDialog();
    ActivateMainWindow();
    ASSERT_EQ(mainWindow_, GetActiveWindow());
    // The report box has the focus after start-up; nothing is assigned there.
    ASSERT_EQ(Control(IDC_REPORT), GetFocus());
    // One quiet step first, as the running loop would have made.
    Idle();
}

KeyAssignTest::~KeyAssignTest()
{
    if (g_pAppState)
        ReleaseInputDevices(&g_pAppState->m_Input);
    if (IsWindow(dialog_))
        DestroyWindow(dialog_);
    if (IsWindow(mainWindow_))
        DestroyWindow(mainWindow_);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

void KeyAssignTest::ActivateMainWindow() const
{
    SetForegroundWindow(mainWindow_);
    SetActiveWindow(mainWindow_);
}

void KeyAssignTest::Idle() const { RunIdleStep(); }

void KeyAssignTest::PressKey(DWORD scanCode)
{
    Idle();  // the running loop passes many times between two presses
    Keyboard().PushKey(scanCode, true);
    Idle();
    Keyboard().PushKey(scanCode, false);
    Idle();
}

void KeyAssignTest::PressButton(int pad, int button)
{
    Idle();
    Pad(pad).m_State.rgbButtons[button] = 0x80;
    Idle();
    Pad(pad).m_State.rgbButtons[button] = 0;
    Idle();
}

void KeyAssignTest::Tick() const { SendMessageW(dialog_, WM_TIMER, kDialogTimerId, 0); }

void KeyAssignTest::Click(int id) const
{
    SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Control(id)));
}

void KeyAssignTest::ChooseSlot(int slot) const
{
    for (int s = 0; s < kSlotsPerPlayer; ++s)
        SendMessageW(Control(g_SlotControls[s].m_nRadioId), BM_SETCHECK,
                     s == slot ? BST_CHECKED : BST_UNCHECKED, 0);
    SetFocus(Control(g_SlotControls[slot].m_nRadioId));
}

bool KeyAssignTest::IsChecked(int id) const
{
    return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool KeyAssignTest::IsEnabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }

std::wstring KeyAssignTest::SlotText(int slot) const
{
    return ControlText(dialog_, g_SlotControls[slot].m_nEditId);
}

std::vector<int> KeyAssignTest::CheckedSlots() const
{
    std::vector<int> slots;
    for (int s = 0; s < kSlotsPerPlayer; ++s) {
        if (IsChecked(g_SlotControls[s].m_nRadioId))
            slots.push_back(s);
    }
    return slots;
}

BindingCode KeyAssignTest::Working(int slot) const
{
    return State()->m_WorkBindings[SlotBindingPosition(slot)];
}
