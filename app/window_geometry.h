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

// Centred on the screen, each half taken with an arithmetic shift; a window
// taller than the screen less 32 pixels goes to y = 16. x is not clamped.
WindowPoint MainWindowOrigin(int screenWidth, int screenHeight, int width, int height);

// The outer size that fits a dialog of the given pixel size inside the
// fixed frame and caption of the main window.
WindowSize MainWindowSizeForDialog(int dialogWidth, int dialogHeight, int cxDlgFrame,
                                   int cyDlgFrame, int cyCaption);
