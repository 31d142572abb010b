// Which font the settings dialog is made in. Template 109 was laid out in
// "MS UI Gothic" 9 pt: in any face of other metrics its texts run past their
// controls. Where the system has that face, or a face drawn to its metrics,
// the template is used as it is; where something else stands in for it, or
// the font drawn lacks glyphs, the dialog takes the font the tool carries
// (drawn to those metrics, with every character of its texts).
// Platform-free: the facts come from the dialog manager, see dialog_font_win.cpp.
#pragma once

// The face the template asks for.
constexpr wchar_t kTemplateFace[] = L"MS UI Gothic";

// What the dialog manager made of a template's font on this system.
struct DialogFontSeen {
    const wchar_t* m_szName;    // the name the font it selected gives itself (its full name)
    int m_nBaseX;               // its dialog base units, in pixels
    int m_nBaseY;
    bool m_bDrawsTexts;         // a glyph for every character the tool's texts show
};

// True when the template's own font is the face it asks for, with every
// glyph: the template stays, and nothing else needs to be measured.
bool TemplateFaceIsPresent(const DialogFontSeen& given);

// True when the dialog must be made in the carried font. given: the
// template's own font; carried: the same template in the carried font (null
// when that font cannot be had, and the template stays).
bool NeedsCarriedFont(const DialogFontSeen& given, const DialogFontSeen* carried);
