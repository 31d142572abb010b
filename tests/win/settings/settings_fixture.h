// Fixtures of the settings tests: a fresh working directory per test, and the
// real dialog from template 109 under a hidden stand-in main window.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

#include "common/test_support.h"

// Creates an empty folder under the temporary directory and makes it the
// current directory; puts the old one back and removes the folder at the end.
class ScopedWorkingDirectory {
public:
    ScopedWorkingDirectory();
    ~ScopedWorkingDirectory();
    ScopedWorkingDirectory(const ScopedWorkingDirectory&) = delete;
    ScopedWorkingDirectory& operator=(const ScopedWorkingDirectory&) = delete;

    // Names of the entries in the folder (without "." and "..").
    std::vector<std::wstring> Entries() const;

private:
    std::wstring path_;
    std::wstring previous_;
};

std::vector<unsigned char> ReadWholeFile(const wchar_t* name);
void WriteWholeFile(const wchar_t* name, const std::vector<unsigned char>& bytes);
// Bytes that differ from each neighbour and from the defaults' usual values.
std::vector<unsigned char> PatternBytes(size_t length, unsigned seed);

// The settings dialog as the tool creates it, with g_pAppState set up.
class SettingsDialogFixture {
public:
    SettingsDialogFixture();
    ~SettingsDialogFixture();
    SettingsDialogFixture(const SettingsDialogFixture&) = delete;
    SettingsDialogFixture& operator=(const SettingsDialogFixture&) = delete;

    AppState* State() const { return state_.get(); }
    HWND Dialog() const { return dialog_; }
    HWND MainWindow() const { return mainWindow_; }
    // WM_CLOSE messages that reached the stand-in main window.
    int MainWindowCloses() const;

    bool IsChecked(int id) const;
    void SetCheck(int id, bool checked) const;
    bool IsEnabled(int id) const;
    int ComboSelection(int id) const;
    std::wstring ComboItemText(int id, int index) const;
    int ComboCount(int id) const;
    // A button press as the dialog sees it: WM_COMMAND with BN_CLICKED.
    void Press(int id) const;
    // Runs the queued messages (posted closes and the like).
    void PumpMessages() const;

private:
    ScopedAppState state_;
    HWND mainWindow_ = nullptr;
    HWND dialog_ = nullptr;
};
