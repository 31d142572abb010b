// The operating-system text from plain version numbers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "sysinfo/os_version.h"

namespace {

std::string OsText(uint32_t platform, uint32_t major, uint32_t minor, uint32_t build,
                   const char* servicePack)
{
    char buffer[kOsTextSize];
    std::memset(buffer, 'Z', sizeof(buffer));
    ComposeOsVersionText(platform, major, minor, build, servicePack, buffer, sizeof(buffer));
    return buffer;
}

TEST(SysinfoOsVersion, EveryRowOfTheNameTable)
{
    struct Row {
        uint32_t platform, major, minor;
        const char* name;
    } rows[] = {
        {0, 3, 10, "Windows 3.1 "},        {0, 9, 9, "Windows 3.1 "},
        {1, 4, 10, "Windows 98 "},         {1, 4, 90, "Windows Me "},
        {1, 4, 0, "Windows 95 "},          {1, 4, 1, "Windows 95 "},
        {2, 3, 51, "Windows NT 3.x "},     {2, 5, 1, "Windows XP "},
        {2, 5, 2, "Windows Server 2003 "}, {2, 5, 0, "Windows 2000 "},
        {2, 5, 3, "Windows 2000 "},        {2, 6, 1, "Windows 7 "},
        {2, 6, 0, "Windows Vista "},       {2, 6, 2, "Windows Vista "},
        {2, 4, 0, "Windows NT 4.0 "},      {2, 10, 0, "Windows NT 4.0 "},
        {3, 6, 1, "不明 "},                {0xFFFFFFFFu, 6, 1, "不明 "},
    };
    for (const Row& r : rows) {
        std::string expected = std::string(r.name) + std::to_string(r.major) + "." +
                               std::to_string(r.minor) + ".1234 SP";
        EXPECT_EQ(OsText(r.platform, r.major, r.minor, 1234, "SP"), expected)
            << r.platform << " " << r.major << "." << r.minor;
    }
}

TEST(SysinfoOsVersion, SuffixKeepsTheWholeBuildFieldAndTrailingBlank)
{
    EXPECT_EQ(OsText(2, 6, 1, 7601, "Service Pack 1"), "Windows 7 6.1.7601 Service Pack 1");
    EXPECT_EQ(OsText(2, 5, 1, 2600, ""), "Windows XP 5.1.2600 ");
    // The 9x family keeps its version in the build's high word: printed whole, signed.
    EXPECT_EQ(OsText(1, 4, 10, 0x040A08AEu, " A "), "Windows 98 4.10.67766446  A ");
    EXPECT_EQ(OsText(1, 4, 90, 0xC5A00BB8u, ""), "Windows Me 4.90.-979366984 ");
}

TEST(SysinfoOsVersion, LongServicePackTextIsCutToFitTheWorkingBuffer)
{
    std::string servicePack(127, 'S');
    std::string text = OsText(2, 5, 2, 3790, servicePack.c_str());
    std::string suffix = "5.2.3790 " + servicePack;
    EXPECT_EQ(text, "Windows Server 2003 " + suffix.substr(0, 63));
    EXPECT_EQ(text.size(), 83u);
}

}  // namespace
