// Shared helpers of the win tier: a message-box recorder in place of the modal
// box, and a zero-filled AppState for the test's lifetime.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

#include "app/app_state.h"

struct RecordedMessage {
    HWND owner;
    std::wstring text;     // as read in code page 932, whichever function showed it
    std::wstring caption;
    UINT type;
    bool ansi;             // shown through MessageBoxA
};

// While alive, every message box the tool shows is recorded, not shown.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    const std::vector<RecordedMessage>& Messages() const;
    void Clear();
};

// Allocates a zero-filled AppState, points g_pAppState at it, and frees it
// (clearing the pointer) at the end of the scope.
class ScopedAppState {
public:
    ScopedAppState();
    ~ScopedAppState();
    ScopedAppState(const ScopedAppState&) = delete;
    ScopedAppState& operator=(const ScopedAppState&) = delete;
    AppState* operator->() const { return state_; }
    AppState* get() const { return state_; }

private:
    AppState* state_;
};

// Shift-JIS (as the tool stores texts) to UTF-16, for comparisons; the
// platform's own conversion, whatever the seam holds.
std::wstring Wide(const char* sjis);

// While alive, this Windows cannot convert from code page 932, as one
// without the East Asian language files.
class ScopedNoShiftJis {
public:
    ScopedNoShiftJis();
    ~ScopedNoShiftJis();
    ScopedNoShiftJis(const ScopedNoShiftJis&) = delete;
    ScopedNoShiftJis& operator=(const ScopedNoShiftJis&) = delete;
};
// A control's text as the window system holds it.
std::wstring ControlText(HWND dialog, int id);

// True when this Windows program runs through QEMU's user mode (the test
// scripts' WINE_ROAD, which Wine hands on from the Unix environment), where
// some things differ from a player's Windows (CPUID per processor, say).
bool UnderEmulation();

// Says a check that emulation could not make as a player's Windows would: on
// stdout, and appended to the file RINGCFG_LIMITS names (a Unix path), from
// which the test command's closing lines name it.
void NoteEmulationLimit(const char* what);
