// The identity of the main window: a second copy finds the first by these.
#pragma once

constexpr const char* kMainWindowClass = "RING";
constexpr const char* kMainWindowTitle = "起動設定メニュー";
constexpr int kMainWindowWidth = 752;
constexpr int kMainWindowHeight = 655;
