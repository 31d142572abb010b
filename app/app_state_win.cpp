#include "app/app_state.h"

AppState* g_pAppState = nullptr;
