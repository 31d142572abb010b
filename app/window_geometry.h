// Where the main window goes and how big it gets around the dialog; plain
// arithmetic so the unit tests can check the screen sizes players have.
#pragma once

struct WindowPoint {
    int x;
    int y;
};

struct WindowSize {
    int width;
    int height;
};

// A screen rectangle, right and bottom edges excluded (as Win32's RECT).
struct WindowArea {
    int left;
    int top;
    int right;
    int bottom;
};

// Centred on the screen, each half taken with an arithmetic shift; a window
// taller than the screen less 32 pixels goes to y = 16. x is not clamped.
WindowPoint MainWindowOrigin(int screenWidth, int screenHeight, int width, int height);

// The outer size that fits a dialog of the given pixel size inside the
// fixed frame and caption of the main window.
WindowSize MainWindowSizeForDialog(int dialogWidth, int dialogHeight, int cxDlgFrame,
                                   int cyDlgFrame, int cyCaption);

// Where a window of the given size at origin goes to lie within the work
// area: on each axis where it fits but runs past the right or bottom edge it
// moves left or up just enough; otherwise it stays (a window too big for the
// area keeps its place, x = -56 on 640 x 480 included). At a raised DPI the
// fitted dialog may not fit below the top computed for 752 x 655.
WindowPoint KeepWindowInWorkArea(WindowPoint origin, WindowSize size, WindowArea workArea);
