#include "input/press_detection.h"

#include "input/binding_text.h"

namespace {
constexpr uint8_t kDownBit = 0x80;

struct HatWindow {
    uint32_t m_dwLast;  // inclusive upper end; each window starts after the one before
    int m_nInput;
};

// A reading on a border belongs to the window before it, so the diagonals
// of an eight-way hat fall to up, right, down and left in turn.
const HatWindow kHatWindows[] = {
    {4500, INPUT_HAT_UP},
    {13500, INPUT_HAT_RIGHT},
    {22500, INPUT_HAT_DOWN},
    {31500, INPUT_HAT_LEFT},
    // Just short of a full turn is up again: the up window is centred on 0.
    {35999, INPUT_HAT_UP},
};
}

int HatInput(uint32_t pov)
{
    for (const HatWindow& window : kHatWindows) {
        if (pov <= window.m_dwLast)
            return window.m_nInput;
    }
    return kNoInput;  // centred (0xFFFFFFFF) or no valid reading
}

int FindActiveControllerInput(int32_t x, int32_t y, int32_t z, uint32_t pov,
                              const uint8_t buttons[kControllerButtons])
{
    for (int i = 0; i < kControllerButtons; ++i) {
        if (buttons[i] & kDownBit)
            return i;
    }
    if (y <= -kAxisThreshold)
        return INPUT_STICK_UP;
    if (y >= kAxisThreshold)
        return INPUT_STICK_DOWN;
    if (x <= -kAxisThreshold)
        return INPUT_STICK_LEFT;
    if (x >= kAxisThreshold)
        return INPUT_STICK_RIGHT;
    if (z >= kAxisThreshold)
        return INPUT_Z_PLUS;
    if (z <= -kAxisThreshold)
        return INPUT_Z_MINUS;
    return HatInput(pov);
}

int FindLowestPressedKey(const uint8_t keyState[kKeyCodes])
{
    for (int code = 0; code < kKeyCodes; ++code) {
        if (keyState[code] & kDownBit)
            return code;
    }
    return kNoInput;
}

int32_t TakeControllerPress(int found, int32_t* held)
{
    if (found == kNoInput) {
        *held = 0;
        return 0;
    }
    if (*held == 1)
        return 0;
    *held = 1;
    return 1;
}

int32_t TakeKeyboardPress(int found, int32_t* idle)
{
    if (found == kNoInput) {
        *idle = 1;
        return 0;
    }
    if (*idle == 0)
        return 0;
    *idle = 0;
    return 1;
}
