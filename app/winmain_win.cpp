#include <windows.h>

#include "app/app_lifecycle.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    return RunApplication(instance, showCommand);
}
