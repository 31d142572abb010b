#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "settings/settings_block.h"

namespace {

uint32_t ReadLe32(const uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// The defaults as the game expects them in setup.dat: the record committed
// in tests/data, which the e2e tests and the fuzz seeds read too.
std::vector<uint8_t> ExpectedDefaultImage()
{
    std::ifstream file(RINGCFG_DEFAULT_RECORD, std::ios::binary);
    std::vector<uint8_t> image((std::istreambuf_iterator<char>(file)),
                               std::istreambuf_iterator<char>());
    EXPECT_EQ(kSettingsSize, image.size()) << "reading " << RINGCFG_DEFAULT_RECORD;
    image.resize(kSettingsSize);
    return image;
}

// A file of the given length with a pattern no default byte matches by chance.
std::vector<uint8_t> PatternFile(size_t length)
{
    std::vector<uint8_t> file(length);
    for (size_t i = 0; i < length; ++i)
        file[i] = static_cast<uint8_t>(i * 7 + 3);
    return file;
}

// What LoadSettings does with a file: one read of the leading bytes into a
// zero-filled record, then the decision on the length.
LoadOutcome Load(SettingsBlock* block, const std::vector<uint8_t>& file)
{
    std::memset(block, 0, sizeof(*block));
    size_t n = SettingsBytesToRead(static_cast<long>(file.size()));
    if (n)
        std::memcpy(block, file.data(), n);
    return FinishLoadedSettings(block, static_cast<long>(file.size()), n);
}

TEST(SettingsBlock, DefaultsAreTheGameImageByteForByte)
{
    SettingsBlock block;
    std::memset(&block, 0xAB, sizeof(block));  // every byte must be rewritten
    SetDefaultSettings(&block);
    std::vector<uint8_t> expected = ExpectedDefaultImage();
    ASSERT_EQ(0, std::memcmp(&block, expected.data(), kSettingsSize));
    EXPECT_EQ(0x00581101u, block.m_dwOptions);
    EXPECT_EQ(0, block.m_nFsaaSamples);
}

TEST(SettingsBlock, FieldsSitAtTheirFileOffsets)
{
    SettingsBlock block;
    std::memset(&block, 0, sizeof(block));
    block.m_aBindings[32 + 5] = 0x10102;  // player 2, position 5
    block.m_dwOptions = 0x12345678;
    block.m_nFsaaSamples = 4;
    block.m_adwLevels[2] = 0xA1B2C3D4;
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&block);
    EXPECT_EQ(0x10102u, ReadLe32(bytes + 4 + 4 * (32 * 1 + 5)));
    EXPECT_EQ(0x12345678u, ReadLe32(bytes + 260));
    EXPECT_EQ(4u, ReadLe32(bytes + 272));
    EXPECT_EQ(0xA1B2C3D4u, ReadLe32(bytes + 288));
}

TEST(SettingsBlock, DefaultBindingsTouchOnlyPlayerOnePositionsUpTo14)
{
    SettingsBlock block;
    std::memset(&block, 0x5A, sizeof(block));
    SettingsBlock before = block;
    SetDefaultBindings(&block);
    std::vector<uint8_t> defaults = ExpectedDefaultImage();
    const uint8_t* now = reinterpret_cast<const uint8_t*>(&block);
    const uint8_t* old = reinterpret_cast<const uint8_t*>(&before);
    for (size_t i = 0; i < kSettingsSize; ++i) {
        bool inDefaults = i >= 4 && i < 4 + 15 * 4;
        EXPECT_EQ(inDefaults ? defaults[i] : old[i], now[i]) << "byte " << i;
    }
}

TEST(SettingsBlock, MissingOrEmptyFileGivesTheDefaults)
{
    SettingsBlock block;
    EXPECT_EQ(LoadOutcome::kDefaults, Load(&block, {}));
    EXPECT_EQ(0, std::memcmp(&block, ExpectedDefaultImage().data(), kSettingsSize));
}

TEST(SettingsBlock, ExactFileIsTakenAsItStands)
{
    std::vector<uint8_t> file = PatternFile(kSettingsSize);
    SettingsBlock block;
    EXPECT_EQ(LoadOutcome::kExact, Load(&block, file));
    EXPECT_EQ(0, std::memcmp(&block, file.data(), kSettingsSize));
}

TEST(SettingsBlock, WrongLengthKeepsTheLeadingBytesOverZeros)
{
    for (size_t length : {size_t{1}, size_t{100}, kSettingsSize - 1, kSettingsSize + 1,
                          size_t{10000}}) {
        SCOPED_TRACE(length);
        std::vector<uint8_t> file = PatternFile(length);
        SettingsBlock block;
        EXPECT_EQ(LoadOutcome::kWrongLength, Load(&block, file));
        size_t kept = length < kSettingsSize ? length : kSettingsSize;
        const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&block);
        EXPECT_EQ(0, std::memcmp(bytes, file.data(), kept));
        for (size_t i = kept; i < kSettingsSize; ++i)
            ASSERT_EQ(0, bytes[i]) << "byte " << i;
    }
}

TEST(SettingsBlock, HundredByteFileLeavesOptionsAndFsaaZero)
{
    SettingsBlock block;
    Load(&block, PatternFile(100));
    EXPECT_EQ(0u, block.m_dwOptions);
    EXPECT_EQ(0, block.m_nFsaaSamples);
}

TEST(SettingsBlock, ReadLengthIsCappedAtTheRecord)
{
    EXPECT_EQ(0u, SettingsBytesToRead(-1));
    EXPECT_EQ(0u, SettingsBytesToRead(0));
    EXPECT_EQ(2383u, SettingsBytesToRead(2383));
    EXPECT_EQ(kSettingsSize, SettingsBytesToRead(2385));
    EXPECT_EQ(kSettingsSize, SettingsBytesToRead(0x7FFFFFFF));
}

TEST(SettingsBlock, ShortReadOrUnknownLengthFallsBackToTheDefaults)
{
    SettingsBlock block;
    std::memset(&block, 0x11, sizeof(block));
    EXPECT_EQ(LoadOutcome::kReadFailed, FinishLoadedSettings(&block, kSettingsSize, 1000));
    EXPECT_EQ(0, std::memcmp(&block, ExpectedDefaultImage().data(), kSettingsSize));

    std::memset(&block, 0x11, sizeof(block));
    EXPECT_EQ(LoadOutcome::kReadFailed, FinishLoadedSettings(&block, -1, 0));
    EXPECT_EQ(0, std::memcmp(&block, ExpectedDefaultImage().data(), kSettingsSize));
}

}  // namespace
