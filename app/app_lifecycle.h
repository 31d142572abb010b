// Start-up, message loop and shut-down of the tool.
#pragma once

#include <windows.h>

// The whole run; returns the process exit code: 0 when another copy runs or
// COM cannot be initialised, 1 after a normal run.
int RunApplication(HINSTANCE instance, int showCommand);
// The loop's idle step: the key assignment's, on AppState's devices, dialog
// and working copy; nothing before AppState exists.
void RunIdleStep();
// Takes and dispatches messages without waiting, running the idle step
// whenever the queue is empty, until WM_QUIT.
void RunMessageLoop();
