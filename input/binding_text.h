// Display names of bindings: keyboard scan codes and controller inputs, and
// the text shown in an action's box. Plain data, no Windows header.
#pragma once

#include <cstddef>

#include "input/binding_code.h"

// Name of every DirectInput scan code, or null where the code has none.
extern const char* const g_KeyNames[256];

// First and last controller input index that has a name (stick, Z, hat).
constexpr int kFirstNamedInput = 256;
constexpr int kLastNamedInput = 265;

// Buttons 0..127 are active when bit 7 of their byte is set; stick and hat
// inputs carry the indices below.
enum ControllerInput : int {
    INPUT_STICK_UP = 256,
    INPUT_STICK_DOWN = 257,
    INPUT_STICK_LEFT = 258,
    INPUT_STICK_RIGHT = 259,
    INPUT_Z_PLUS = 260,
    INPUT_Z_MINUS = 261,
    INPUT_HAT_UP = 262,
    INPUT_HAT_RIGHT = 263,
    INPUT_HAT_DOWN = 264,
    INPUT_HAT_LEFT = 265,
};

// The text printf gives for a null name, shown for every code without one.
extern const char kNoName[];

// Name of a keyboard code; "(null)" for codes without a name and for any
// value above 255.
const char* KeyName(BindingCode code);
// Name of a controller input 256..265, or null for any other index.
const char* ControllerInputName(int inputIndex);

// Size of the buffer every binding text is built in (63 characters + NUL).
constexpr size_t kBindingTextSize = 64;

// The text of a binding as its action's box shows it: "PAD%d-%s" for the
// named controller inputs, "PAD%d-%d" for the others (controllerIndex + 1),
// the key name for keyboard codes. Writes at most outSize bytes, always
// terminated; returns out.
char* FormatBindingText(BindingCode code, int controllerIndex, char* out, size_t outSize);
