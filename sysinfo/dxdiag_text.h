// DxDiag hands out UTF-16 texts; the report keeps 8-bit ones.
#pragma once

#include <cstddef>

constexpr size_t kDxDiagTextSize = 128;

// Converts the NUL-terminated UTF-16 text at utf16 (2-byte units, any
// alignment) into a 128-byte field: one byte per unit up to U+00FF, ending at
// the NUL, at the first unit above U+00FF, or after 128 units; byte 127 is
// always cleared, so at most 127 characters survive.
void NarrowDxDiagText(const void* utf16, char* field);
