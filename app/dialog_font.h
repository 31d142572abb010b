// The settings dialog in a font that draws its texts. A Windows without East
// Asian fonts has no face the template asks for, and what stands in for it
// draws the Japanese as boxes: there the tool registers the font it carries
// (res/font, RCDATA IDR_CARRIED_FONT) for its own process alone and makes the
// dialog from a copy of template 109 that names it. Nothing is installed,
// and where a font draws every character the template is used as it is.
#pragma once

#include <windows.h>

// The family name of the carried font (scripts/make-font gives it).
constexpr wchar_t kCarriedFontFace[] = L"Ume UI Gothic Subset";

// True when the font has a glyph for every character the tool's texts show.
bool FontDrawsTexts(HFONT font);

// Registers the carried font for this process; null when it cannot be.
HANDLE RegisterCarriedFont(HINSTANCE instance);

// Creates template 109 as a child of parent, in the carried font where the
// font the template would get lacks glyphs; *carriedFont is then the handle
// to give RemoveFontMemResourceEx after the dialog has gone (else null).
HWND CreateSettingsDialog(HINSTANCE instance, HWND parent, DLGPROC proc, HANDLE* carriedFont);
