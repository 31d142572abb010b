// The font the tool carries for a Windows without Japanese fonts: found by its
// face once registered for the process, with a glyph for every character the
// texts show. (tests/e2e/test_no_japanese_fonts.sh shows the dialog in it.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/dialog_font.h"
#include "platform/text_table.h"

namespace {

HFONT FontOf(const wchar_t* face)
{
    LOGFONTW lf = {};
    lf.lfHeight = -12;
    lstrcpyW(lf.lfFaceName, face);
    return CreateFontIndirectW(&lf);
}

TEST(CarriedFont, IsFoundByItsFaceWithEveryCharacterOfTheTexts)
{
    HANDLE registered = RegisterCarriedFont(GetModuleHandleW(nullptr));
    ASSERT_NE(nullptr, registered) << "the RCDATA font does not register";
    HFONT carried = FontOf(kCarriedFontFace);
    HFONT western = FontOf(L"Tahoma");  // one of Wine's own fonts: no Japanese
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, carried);
    wchar_t face[LF_FACESIZE] = L"";
    GetTextFaceW(dc, LF_FACESIZE, face);
    EXPECT_STREQ(kCarriedFontFace, face) << "scripts/make-font names the family";

    // The texts' characters, and printable ASCII for the machine's own texts
    // in the report (processor, DirectX, adapter).
    std::wstring chars = g_szShownCharacters;
    for (wchar_t c = 0x20; c < 0x7F; ++c)
        chars += c;
    std::vector<WORD> glyphs(chars.size());
    ASSERT_NE(GDI_ERROR, GetGlyphIndicesW(dc, chars.c_str(), static_cast<int>(chars.size()),
                                          glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS));
    std::wstring missing;
    for (size_t i = 0; i < chars.size(); ++i)
        if (glyphs[i] == 0xFFFF)
            missing += chars[i];
    EXPECT_EQ(L"", missing) << "a text gained characters: run scripts/make-font";
    EXPECT_TRUE(FontDrawsTexts(carried));
    EXPECT_FALSE(FontDrawsTexts(western));

    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(carried);
    DeleteObject(western);
    RemoveFontMemResourceEx(registered);
}

} // namespace
