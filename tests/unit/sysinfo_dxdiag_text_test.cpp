// DxDiag's UTF-16 texts as 8-bit fields.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "sysinfo/dxdiag_text.h"

namespace {

std::string Narrow(const std::u16string& text, char fill = 'Z')
{
    char field[kDxDiagTextSize];
    std::memset(field, fill, sizeof(field));
    NarrowDxDiagText(text.c_str(), field);
    return std::string(field, strnlen(field, sizeof(field)));
}

TEST(SysinfoDxDiagText, LatinOneUnitsBecomeBytesOfTheSameValue)
{
    EXPECT_EQ(Narrow(u"DirectX 9.0c (4.09.0000.0904)"), "DirectX 9.0c (4.09.0000.0904)");
    EXPECT_EQ(Narrow(u"4291.8 MB"), "4291.8 MB");
    EXPECT_EQ(Narrow(u"Caf\u00e9 \u00ff"), "Caf\xe9 \xff");
    EXPECT_EQ(Narrow(u""), "");
}

TEST(SysinfoDxDiagText, TextEndsAtTheFirstUnitAboveFF)
{
    EXPECT_EQ(Narrow(u"AMD\u0100EPYC"), "AMD");
    EXPECT_EQ(Narrow(u"\u30B0\u30E9\u30D5"), "");
    // A field that held a longer text before is cut there too.
    char field[kDxDiagTextSize];
    std::memset(field, 'Z', sizeof(field));
    NarrowDxDiagText(u"Intel\u2122 CPU", field);
    EXPECT_STREQ(field, "Intel");
}

TEST(SysinfoDxDiagText, AtMost127CharactersSurvive)
{
    std::u16string longText(300, u'x');
    EXPECT_EQ(Narrow(longText), std::string(127, 'x'));
    std::u16string exact(127, u'y');
    EXPECT_EQ(Narrow(exact), std::string(127, 'y'));
}

TEST(SysinfoDxDiagText, UnalignedSourceIsRead)
{
    alignas(4) unsigned char raw[1 + 8] = {0xEE, 'O', 0, 'K', 0, '!', 0, 0, 0};
    char field[kDxDiagTextSize];
    NarrowDxDiagText(raw + 1, field);
    EXPECT_STREQ(field, "OK!");
}

}  // namespace
