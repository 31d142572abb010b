#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "app/app_texts.h"
#include "app/main_window.h"
#include "app/window_geometry.h"
#include "common/test_support.h"
#include "platform/win_text.h"
#include "res/resource.h"

namespace {

HINSTANCE Self() { return GetModuleHandleW(nullptr); }

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterMainWindowClass(Self());
        wnd_ = CreateMainWindow(kMainWindowWidth, kMainWindowHeight, Self());
        ASSERT_NE(nullptr, wnd_);
    }
    void TearDown() override
    {
        if (IsWindow(wnd_))
            DestroyWindow(wnd_);
        DrainQueue();
    }
    // Dispatches what is queued; true when WM_QUIT was among it.
    bool DrainQueue()
    {
        bool quit = false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                quit = true;
            else
                DispatchMessageW(&msg);
        }
        return quit;
    }
    HWND wnd_ = nullptr;
};

TEST_F(MainWindowTest, IsAHiddenFixedFrameCentredOnTheScreen)
{
    EXPECT_FALSE(IsWindowVisible(wnd_));
    LONG style = GetWindowLongW(wnd_, GWL_STYLE);
    EXPECT_EQ(0x00CA0000, style & 0x00CF0000);  // caption, system menu, minimise; no sizing
    EXPECT_EQ(0, GetWindowLongW(wnd_, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE);
    RECT r;
    GetWindowRect(wnd_, &r);
    WindowPoint expected = MainWindowOrigin(GetSystemMetrics(SM_CXSCREEN),
                                            GetSystemMetrics(SM_CYSCREEN), 752, 655);
    EXPECT_EQ(expected.x, r.left);
    EXPECT_EQ(expected.y, r.top);
    EXPECT_EQ(752, r.right - r.left);
    EXPECT_EQ(655, r.bottom - r.top);
}

TEST_F(MainWindowTest, TitleAndClassFindTheWindowAsASecondCopyWould)
{
    wchar_t title[64];
    GetWindowTextW(wnd_, title, 64);
    EXPECT_EQ(std::wstring(L"\u8d77\u52d5\u8a2d\u5b9a\u30e1\u30cb\u30e5\u30fc"), title);
    EXPECT_EQ(wnd_, FindWindowSjis(kMainWindowClass, kMainWindowTitle));
    EXPECT_EQ(wnd_, FindWindowW(L"RING", title));
}

TEST_F(MainWindowTest, F12ClosesTheWindowAndEndsTheLoop)
{
    SendMessageW(wnd_, WM_KEYDOWN, VK_F12, 0);
    EXPECT_TRUE(IsWindow(wnd_)) << "the close is posted, not done at once";
    EXPECT_TRUE(DrainQueue()) << "WM_DESTROY posts the quit message";
    EXPECT_FALSE(IsWindow(wnd_));
}

TEST_F(MainWindowTest, OtherKeysDoNotClose)
{
    SendMessageW(wnd_, WM_KEYDOWN, VK_F11, 0);
    SendMessageW(wnd_, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(DrainQueue());
    EXPECT_TRUE(IsWindow(wnd_));
}

int g_menuMessages = 0;
LRESULT CALLBACK CountMenuMessages(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && (cwp->message == WM_ENTERMENULOOP || cwp->message == WM_INITMENU ||
                              cwp->message == WM_INITMENUPOPUP))
        ++g_menuMessages;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(MainWindowTest, KeyboardRouteToTheSystemMenuIsSwallowed)
{
    g_menuMessages = 0;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, CountMenuMessages, nullptr,
                                   GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    EXPECT_EQ(0, SendMessageW(wnd_, WM_SYSCOMMAND, SC_KEYMENU, 0));
    EXPECT_EQ(0, SendMessageW(wnd_, WM_SYSCOMMAND, SC_KEYMENU, VK_SPACE));
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(0, g_menuMessages);
    EXPECT_TRUE(IsWindow(wnd_));
}

TEST_F(MainWindowTest, SystemMenuCloseStillWorks)
{
    SendMessageW(wnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(wnd_));
    EXPECT_TRUE(DrainQueue());
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST_F(MainWindowTest, FitsAroundTheDialogKeepingItsCorner)
{
    HWND dialog = CreateDialogParamW(Self(), MAKEINTRESOURCEW(IDD_SETTINGS), wnd_,
                                     QuietDialogProc, 0);
    ASSERT_NE(nullptr, dialog);
    RECT before;
    GetWindowRect(wnd_, &before);
    FitMainWindowToDialog(wnd_, dialog);
    RECT main;
    RECT dlg;
    GetWindowRect(wnd_, &main);
    GetWindowRect(dialog, &dlg);
    EXPECT_EQ(before.left, main.left);
    EXPECT_EQ(before.top, main.top);
    EXPECT_EQ(dlg.right - dlg.left + 2 * GetSystemMetrics(SM_CXDLGFRAME), main.right - main.left);
    EXPECT_EQ(dlg.bottom - dlg.top + 2 * GetSystemMetrics(SM_CYDLGFRAME) +
                  GetSystemMetrics(SM_CYCAPTION),
              main.bottom - main.top);
    // The child dialog sits at the client origin.
    POINT origin = {0, 0};
    ClientToScreen(wnd_, &origin);
    EXPECT_EQ(origin.x, dlg.left);
    EXPECT_EQ(origin.y, dlg.top);
}

TEST(ModuleDirectory, IsTheExecutablesFolderWithItsBackslash)
{
    char dir[MAX_PATH];
    GetModuleDirectory(dir);
    size_t n = std::strlen(dir);
    ASSERT_GT(n, 3u);
    EXPECT_EQ('\\', dir[n - 1]);
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    EXPECT_EQ(0, _strnicmp(dir, path, n)) << dir << " vs " << path;
    EXPECT_EQ(nullptr, std::strchr(path + n, '\\')) << "only the file name follows";
}

} // namespace
