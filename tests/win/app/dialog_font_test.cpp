// The font the tool carries for a Windows without Japanese fonts: found by its
// face once registered for the process, with a glyph for every character the
// texts show; template 109 renamed to it gives the same dialog in that font.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/dialog_font.h"
#include "app/dialog_template.h"
#include "platform/text_table.h"
#include "res/resource.h"

namespace {

HINSTANCE Self() { return GetModuleHandleW(nullptr); }

INT_PTR CALLBACK IgnoreAll(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

class CarriedFont : public ::testing::Test {
protected:
    void SetUp() override
    {
        font_ = RegisterCarriedFont(Self());
        ASSERT_NE(nullptr, font_) << "the RCDATA font does not register";
    }
    void TearDown() override { RemoveFontMemResourceEx(font_); }
    HANDLE font_ = nullptr;
};

TEST_F(CarriedFont, IsFoundByItsFaceWithEveryCharacterOfTheTexts)
{
    LOGFONTW lf = {};
    lf.lfHeight = -12;
    lstrcpyW(lf.lfFaceName, kCarriedFontFace);
    HFONT carried = CreateFontIndirectW(&lf);
    lstrcpyW(lf.lfFaceName, L"Tahoma");  // one of Wine's own fonts: no Japanese
    HFONT western = CreateFontIndirectW(&lf);
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
}

TEST_F(CarriedFont, Template109NamingItGivesTheSameDialogInThatFont)
{
    HRSRC res = FindResourceW(Self(), MAKEINTRESOURCEW(IDD_SETTINGS), RT_DIALOG);
    ASSERT_NE(nullptr, res);
    const uint8_t* tmpl = static_cast<const uint8_t*>(LockResource(LoadResource(Self(), res)));
    const size_t size = SizeofResource(Self(), res);
    std::vector<uint32_t> copy(size / 4 + 32);  // DWORD-aligned
    const size_t copied = CopyDialogTemplate(tmpl, size, kCarriedFontFace, true,
                                             reinterpret_cast<uint8_t*>(copy.data()), copy.size() * 4);
    ASSERT_GT(copied, 0u);

    HWND parent = CreateWindowExW(0, L"Static", L"", WS_OVERLAPPEDWINDOW, 0, 0, 800, 700, nullptr,
                                  nullptr, Self(), nullptr);
    HWND original = CreateDialogParamW(Self(), MAKEINTRESOURCEW(IDD_SETTINGS), parent, IgnoreAll, 0);
    HWND renamed = CreateDialogIndirectParamW(
        Self(), reinterpret_cast<LPCDLGTEMPLATEW>(copy.data()), parent, IgnoreAll, 0);
    ASSERT_NE(nullptr, original);
    ASSERT_NE(nullptr, renamed);

    auto describe = [](HWND dialog, bool withFace) {
        std::wstring all;
        for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            wchar_t text[256] = L"", cls[64] = L"", line[512];
            GetWindowTextW(c, text, 256);
            GetClassNameW(c, cls, 64);
            RECT r;
            GetWindowRect(c, &r);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
            LOGFONTW lf = {};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)), sizeof lf, &lf);
            wsprintfW(line, L"%d %s '%s' %d,%d,%d,%d %s\n", GetDlgCtrlID(c), cls, text, r.left,
                      r.top, r.right, r.bottom, withFace ? lf.lfFaceName : L"");
            all += line;
        }
        return all;
    };
    // Ume UI Gothic stands in for the template's face in the prefix: the
    // carried subset of it lays the dialog out to the pixel.
    EXPECT_EQ(describe(original, false), describe(renamed, false));
    const std::wstring faces = describe(renamed, true);
    EXPECT_NE(std::wstring::npos, faces.find(kCarriedFontFace));
    EXPECT_EQ(std::wstring::npos, faces.find(L"MS UI Gothic"));
    DestroyWindow(parent);
}

} // namespace
