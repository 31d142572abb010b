// The build's table of the tool's own characters: what SjisToWide falls back
// on where Windows has no code page 932.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "platform/text_table.h"

namespace {

std::wstring ByTable(const char* sjis, int outChars, int* result)
{
    std::wstring out(static_cast<size_t>(outChars), L'#');
    *result = SjisToWideByTable(sjis, &out[0], outChars);
    return std::wstring(out.c_str());
}

// Narrow literals are Shift-JIS here as in the exe; wide ones are the Unicode.
TEST(PlatformTextTable, TheToolsTextsReadAsTheirUnicode)
{
    int n = 0;
    EXPECT_EQ(L"800×600（デフォルト）", ByTable("800×600（デフォルト）", 64, &n));
    EXPECT_EQ(14, n);
    EXPECT_EQ(L"[ 起動設定メニュー ]\r\n", ByTable("[ 起動設定メニュー ]\r\n", 64, &n));
    EXPECT_EQ(L"↑", ByTable("↑", 64, &n));
}

TEST(PlatformTextTable, ATooSmallBufferKeepsWholeCharactersAndItsTerminator)
{
    int n = 0;
    EXPECT_EQ(L"起動", ByTable("起動設定メニュー", 3, &n));
    EXPECT_EQ(2, n);
}

TEST(PlatformTextTable, ABytePairOutsideTheToolsTextsIsRefusedWhole)
{
    int n = 0;
    EXPECT_EQ(L"", ByTable("OK \x88\x9f", 64, &n));  // 亜: no text of the tool uses it
    EXPECT_EQ(-1, n);
    EXPECT_EQ(L"", ByTable("\x82", 64, &n));         // a lead byte cut off
    EXPECT_EQ(-1, n);
    EXPECT_EQ(L"", ByTable("\xb5", 64, &n));         // a Latin-1 byte of a DxDiag text
    EXPECT_EQ(-1, n);
}

TEST(PlatformTextTable, ShownCharactersAreAscendingAndIncludeTheDialogsCaptions)
{
    const wchar_t* shown = g_szShownCharacters;
    for (size_t i = 1; shown[i]; ++i)
        EXPECT_LT(shown[i - 1], shown[i]);
    EXPECT_NE(nullptr, std::wcschr(shown, L'殺'));  // only in res/config.rc: "L1：必殺技"
}

} // namespace
