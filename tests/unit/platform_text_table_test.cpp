// The build's table of the tool's own characters, where SjisToWide turns
// when Windows has no code page 932. Narrow literals are Shift-JIS here as
// in the exe; wide ones are the Unicode.
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

TEST(PlatformTextTable, TheToolsTextsReadAsTheirUnicodeCutToWholeCharacters)
{
    int n = 0;
    EXPECT_EQ(L"[ 800×600（デフォルト）↑ ]\r\n", ByTable("[ 800×600（デフォルト）↑ ]\r\n", 64, &n));
    EXPECT_EQ(L"起動", ByTable("起動設定メニュー", 3, &n));
    EXPECT_EQ(2, n);
    EXPECT_NE(nullptr, std::wcschr(g_szShownCharacters, L'殺'));  // only res/config.rc has it
}

TEST(PlatformTextTable, ATextWithASequenceOutsideTheToolsTextsIsRefusedWhole)
{
    int n = 0;
    EXPECT_EQ(L"", ByTable("OK \x88\x9f", 64, &n));  // 亜: no text of the tool uses it
    EXPECT_EQ(-1, n);
    EXPECT_EQ(L"", ByTable("\x82", 64, &n));         // a lead byte cut off
    EXPECT_EQ(-1, n);
    EXPECT_EQ(L"", ByTable("Caf\xe9", 64, &n));      // a Latin-1 byte of a DxDiag text
    EXPECT_EQ(-1, n);
}

} // namespace
