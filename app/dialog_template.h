// Template 109 as the dialog manager reads it (an extended dialog template):
// where its font's face name sits, and copies of it that name another face
// or leave the controls out. Platform-free: bytes in, bytes out.
#pragma once

#include <cstddef>
#include <cstdint>

struct DialogFontPlace {
    size_t m_nFaceOffset;   // the face name's first byte
    size_t m_nFaceEnd;      // just past its terminating NUL
    size_t m_nItemsOffset;  // the first control, DWORD-aligned
};

// False for a template that is not an extended one, names no font (no
// DS_SETFONT) or is cut short.
bool FindDialogFontPlace(const uint8_t* tmpl, size_t size, DialogFontPlace* place);

// Writes into out (DWORD-aligned) a copy of the template whose font is face
// (NUL-terminated, UTF-16 units; null keeps the template's own), with its controls or
// none. Returns the copy's size, or 0 when the template names no font or out
// is too small.
size_t CopyDialogTemplate(const uint8_t* tmpl, size_t size, const wchar_t* face,
                          bool withControls, uint8_t* out, size_t outSize);
