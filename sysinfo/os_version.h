// The operating-system text: an edition name from the version table, then
// "major.minor.build service-pack".
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kOsTextSize = 128;

// Composes the text from plain version numbers into out (outSize bytes,
// at least 84); always terminated. servicePack is a terminated text.
void ComposeOsVersionText(uint32_t platformId, uint32_t major, uint32_t minor, uint32_t build,
                          const char* servicePack, char* out, size_t outSize);

// Fills a 128-byte buffer from the platform's version query (Windows side).
void GetOsVersionText(char* buffer);
