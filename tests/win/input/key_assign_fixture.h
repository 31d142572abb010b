// The real dialog from template 109 with the tool's own dialog procedure,
// inside a visible, active stand-in main window, and the input devices
// created on fake DirectInput objects whose presses the test scripts.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/test_support.h"
#include "common/fake_dinput.h"

// An empty temporary folder as the current directory (the fill of the
// dialog writes its report file there).
class ScopedTempDirectory {
public:
    ScopedTempDirectory();
    ~ScopedTempDirectory();
    ScopedTempDirectory(const ScopedTempDirectory&) = delete;
    ScopedTempDirectory& operator=(const ScopedTempDirectory&) = delete;

private:
    wchar_t path_[MAX_PATH] = L"";
    wchar_t previous_[MAX_PATH] = L"";
};

class KeyAssignTest : public ::testing::Test {
protected:
    static constexpr int kPads = 3;

    KeyAssignTest();
    ~KeyAssignTest() override;
    void SetUp() override;

    AppState* State() const { return state_.get(); }
    HWND Dialog() const { return dialog_; }
    HWND MainWindow() const { return mainWindow_; }
    FakeDevice& Keyboard() { return fake_.m_Input.m_Keyboard; }
    FakeDevice& Pad(int i) { return pads_[i]; }

    // The message loop's idle step, once.
    void Idle() const;
    // After a quiet idle step, a key pressed and released, each seen by one step.
    void PressKey(DWORD scanCode);
    // After a quiet step, a controller button held for one step, released for one.
    void PressButton(int pad, int button);
    // The dialog timer's tick, as the loop would dispatch it.
    void Tick() const;
    // A click on a dialog button as the dialog procedure receives it.
    void Click(int id) const;
    // Checks one radio and unchecks the others, as a click on it does.
    void ChooseSlot(int slot) const;

    bool IsChecked(int id) const;
    bool IsEnabled(int id) const;
    std::wstring SlotText(int slot) const;
    std::vector<int> CheckedSlots() const;
    HWND Control(int id) const { return GetDlgItem(dialog_, id); }
    // Binding of a player-1 slot in the working copy.
    BindingCode Working(int slot) const;
    // Makes the stand-in main window the active window.
    void ActivateMainWindow() const;

    ScopedTempDirectory directory_;
    ScopedAppState state_;
    MessageRecorder messages_;
    ScopedFakeDirectInput fake_;
    FakeDevice pads_[kPads] = {FakeDevice("pad0"), FakeDevice("pad1"), FakeDevice("pad2")};
    HWND mainWindow_ = nullptr;
    HWND dialog_ = nullptr;
};
