// The tool's own texts without the platform's code page 932. A Windows without
// the East Asian language files cannot convert Shift-JIS, so the build gathers
// every non-ASCII character of the code's narrow literals (scripts/own-texts)
// into a table from their Shift-JIS codes to UTF-16: a new text cannot miss
// its entry. Platform-free.
#pragma once

#include <cstdint>

struct TextTableEntry {
    uint16_t m_nSjis;   // lead byte << 8 | trail byte, or the single byte
    uint16_t m_nUtf16;
};

// Converts a NUL-terminated Shift-JIS text of the tool's own into out
// (capacity in characters), always terminated, truncated to the whole
// characters that fit. Returns the characters written, or -1 with out empty
// when a byte sequence is not in the table (a text from outside the tool).
int SjisToWideByTable(const char* sjis, wchar_t* out, int outChars);

// Every character the tool's texts show, the code's and the dialog
// template's (control characters left out), ascending, NUL-terminated.
extern const wchar_t* const g_szShownCharacters;
