// Which input counts as a new press, decided over plain readings so that the
// platform side can hand over the fields of its device states as they are.
#pragma once

#include <cstdint>

constexpr int kNoInput = -1;
constexpr int kControllerButtons = 128;
constexpr int kKeyCodes = 256;
// 90 % of the -1000..1000 axis range the controllers are set up with.
constexpr int32_t kAxisThreshold = 900;
// What a hat at rest reads; the device side starts its states with it too.
constexpr uint32_t kPovCentred = 0xFFFFFFFF;

// Hat input 262..265 for a point-of-view reading (hundredths of a degree
// clockwise from up), or kNoInput when centred or out of range.
int HatInput(uint32_t pov);

// First active input of one controller: buttons 0..127 lowest first, then
// stick up/down, left/right, Z +/-, then the hat. kNoInput when none.
int FindActiveControllerInput(int32_t x, int32_t y, int32_t z, uint32_t pov,
                              const uint8_t buttons[kControllerButtons]);

// Lowest scan code whose byte has bit 7 set, or kNoInput.
int FindLowestPressedKey(const uint8_t keyState[kKeyCodes]);

// Controller edge: one flag for all controllers. A press is new only when
// the check before found nothing active at all. found is the input seen
// over every controller (kNoInput when none). Returns 1 for a new press.
int32_t TakeControllerPress(int found, int32_t* held);

// Keyboard edge: a press is new only when the check before found no key.
// The flag starts at 0, so nothing is reported before a check finds no key.
int32_t TakeKeyboardPress(int found, int32_t* idle);
