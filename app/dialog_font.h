// The settings dialog in a font that draws its texts as they were laid out.
// Where the system lacks the face the template asks for, what stands in for
// it draws the Japanese as boxes (a Windows without East Asian fonts) or
// with other metrics, so that the texts run past their controls (a Wine
// prefix with Japanese fonts but no MS UI Gothic): there the tool registers
// the font it carries (res/font, RCDATA IDR_CARRIED_FONT) for its own
// process alone and makes the dialog from a copy of template 109 that names
// it. Nothing is installed; see app/dialog_font_choice.h for the rule.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// The family name of the carried font (scripts/make-font gives it).
constexpr wchar_t kCarriedFontFace[] = L"Ume UI Gothic Subset";

// True when the font has a glyph for every character the tool's texts show.
bool FontDrawsTexts(HFONT font);

// Registers the carried font for this process; null when it cannot be.
HANDLE RegisterCarriedFont(HINSTANCE instance);

// The carried font, registered for this process, where the dialog manager
// gives the template (an extended dialog template of size bytes) only a
// stand-in for its face, or a font that lacks glyphs; else null, and the
// template stays as it is.
HANDLE CarriedFontIfNeeded(HINSTANCE instance, const uint8_t* tmpl, size_t size, HWND parent);

// Creates template 109 as a child of parent, in the carried font where
// CarriedFontIfNeeded gives it; *carriedFont is then the handle to give
// RemoveFontMemResourceEx after the dialog has gone (else null).
HWND CreateSettingsDialog(HINSTANCE instance, HWND parent, DLGPROC proc, HANDLE* carriedFont);
