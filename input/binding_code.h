// BindingCode: one 32-bit value naming one input. Bit 16 clear: a DirectInput
// keyboard scan code (0 = no key). Bit 16 set: a game-controller input index in
// the low 16 bits (buttons 0..127, stick 256..259, Z 260..261, hat 262..265);
// which controller produced it is not recorded.
#pragma once

#include <cstdint>

typedef uint32_t BindingCode;

constexpr BindingCode kControllerBit = 0x10000;
constexpr int kSlotsPerPlayer = 13;
