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

namespace {
// One axis: a start that puts [start, start + length) within [low, high).
int KeepSpanInRange(int start, int length, int low, int high)
{
    if (length <= high - low && start + length > high)
        return high - length;
    return start;
}
}

WindowPoint KeepWindowInWorkArea(WindowPoint origin, WindowSize size, WindowArea workArea)
{
    WindowPoint placed;
    placed.x = KeepSpanInRange(origin.x, size.width, workArea.left, workArea.right);
    placed.y = KeepSpanInRange(origin.y, size.height, workArea.top, workArea.bottom);
    return placed;
}
