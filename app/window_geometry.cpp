#include "app/window_geometry.h"

WindowPoint MainWindowOrigin(int screenWidth, int screenHeight, int width, int height)
{
    WindowPoint origin;
    origin.x = (screenWidth >> 1) - (width >> 1);
    origin.y = (screenHeight >> 1) - (height >> 1);
    if (height > screenHeight - 32)
        origin.y = 16;
    return origin;
}

WindowSize MainWindowSizeForDialog(int dialogWidth, int dialogHeight, int cxDlgFrame,
                                   int cyDlgFrame, int cyCaption)
{
    WindowSize size;
    size.width = dialogWidth + 2 * cxDlgFrame;
    size.height = dialogHeight + 2 * cyDlgFrame + cyCaption;
    return size;
}
