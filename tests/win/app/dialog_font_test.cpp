// The font the tool carries for a Windows without Japanese fonts: found by its
// face once registered for the process, with a glyph for every character the
// texts show. (tests/e2e/test_no_japanese_fonts.sh shows the dialog in it.)
// And the choice of the dialog's font in this prefix, a player's: Japanese
// fonts, but nothing that is MS UI Gothic or drawn to its metrics.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/dialog_font.h"
#include "app/dialog_template.h"
#include "platform/text_table.h"
#include "res/resource.h"

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

INT_PTR CALLBACK NoProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

std::wstring FaceOf(HWND wnd)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(wnd, WM_GETFONT, 0, 0)));
    wchar_t face[LF_FACESIZE] = L"";
    GetTextFaceW(dc, LF_FACESIZE, face);
    SelectObject(dc, old);
    DeleteDC(dc);
    return face;
}

// Template 109 is a child's: its dialogs need a parent.
class DialogFont : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent_ = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 800, 700, nullptr,
                                  nullptr, self_, nullptr);
        ASSERT_NE(nullptr, parent_);
    }
    void TearDown() override { DestroyWindow(parent_); }
    HINSTANCE self_ = GetModuleHandleW(nullptr);
    HWND parent_ = nullptr;
};

TEST_F(DialogFont, AStandInForTheFaceGivesTheDialogTheCarriedFontAtTheLaidOutSize)
{
    HWND plain = CreateDialogParamW(self_, MAKEINTRESOURCEW(IDD_SETTINGS), parent_, NoProc, 0);
    ASSERT_NE(nullptr, plain);
    RECT units = {0, 0, 4, 8};
    MapDialogRect(plain, &units);
    std::wstring standIn = FaceOf(plain);
    DestroyWindow(plain);
    // The template as it is would be 639 x 652 here, its texts cut off.
    ASSERT_NE(L"MS UI Gothic", standIn) << "this prefix has a face for MS UI Gothic";
    ASSERT_FALSE(units.right == 7 && units.bottom == 12) << standIn << " has its metrics";

    HANDLE carried = nullptr;
    HWND dialog = CreateSettingsDialog(self_, parent_, NoProc, &carried);
    ASSERT_NE(nullptr, dialog);
    EXPECT_NE(nullptr, carried) << "the stand-in " << standIn << " kept";
    EXPECT_EQ(kCarriedFontFace, FaceOf(dialog));
    RECT r;
    GetWindowRect(dialog, &r);
    // 426 x 401 dialog units at base units 7 x 12.
    EXPECT_EQ(746, r.right - r.left);
    EXPECT_EQ(602, r.bottom - r.top);
    DestroyWindow(dialog);
    if (carried)
        RemoveFontMemResourceEx(carried);
}

TEST_F(DialogFont, AFaceDrawnToTheTemplatesMetricsKeepsTheTemplate)
{
    // The template naming such a face (the carried one, registered here as a
    // replacement's font would be installed): nothing is registered again.
    HINSTANCE self = self_;
    HRSRC found = FindResourceW(self, MAKEINTRESOURCEW(IDD_SETTINGS), RT_DIALOG);
    ASSERT_NE(nullptr, found);
    const uint8_t* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(self, found)));
    const size_t size = SizeofResource(self, found);
    std::vector<uint8_t> copy(size + sizeof(kCarriedFontFace) + 4);
    ASSERT_NE(0u, CopyDialogTemplate(bytes, size, kCarriedFontFace, true, copy.data(), copy.size()));
    HANDLE installed = RegisterCarriedFont(self);
    ASSERT_NE(nullptr, installed);
    HANDLE again = CarriedFontIfNeeded(self, copy.data(), copy.size(), parent_);
    EXPECT_EQ(nullptr, again);
    if (again)
        RemoveFontMemResourceEx(again);
    // The template itself, in this prefix: a stand-in.
    HANDLE needed = CarriedFontIfNeeded(self, bytes, size, parent_);
    EXPECT_NE(nullptr, needed);
    if (needed)
        RemoveFontMemResourceEx(needed);
    RemoveFontMemResourceEx(installed);
}

} // namespace
