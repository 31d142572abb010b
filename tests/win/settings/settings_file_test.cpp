// setup.dat in the working directory: every length on load, and a save that
// either replaces the file whole or leaves the old one exactly as it was.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/platform_seam.h"
#include "settings/settings_file.h"
#include "settings_fixture.h"

namespace {

const wchar_t kFile[] = L"setup.dat";
const wchar_t kOldFileText[] = L"設定ファイルが古いので読み込めませんでした";
const wchar_t kWriteFailedText[] = L"設定ファイルの書き込みに失敗しました。";

class SettingsFile : public ::testing::Test {
protected:
    ScopedWorkingDirectory directory_;
    MessageRecorder messages_;
    ScopedAppState state_;

    SettingsBlock& Settings() { return state_->m_Settings; }
    const unsigned char* Bytes() { return reinterpret_cast<const unsigned char*>(&Settings()); }

    void ExpectOneMessage(const wchar_t* text)
    {
        ASSERT_EQ(1u, messages_.Messages().size());
        const RecordedMessage& m = messages_.Messages()[0];
        EXPECT_EQ(nullptr, m.owner);
        EXPECT_EQ(text, m.text);
        EXPECT_EQ(L"ERROR", m.caption);
        EXPECT_EQ(static_cast<UINT>(MB_OK), m.type);
    }
};

// ReplaceFileW refused, as it may be under file virtualisation; with
// removeOld, after taking the old file away as its documented failures may.
struct RefusedReplace {
    static inline int s_calls = 0;
    static inline bool s_removeOld = false;
    static BOOL WINAPI Replace(LPCWSTR replaced, LPCWSTR, LPCWSTR, DWORD, LPVOID, LPVOID)
    {
        ++s_calls;
        if (s_removeOld)
            DeleteFileW(replaced);
        SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT);
        return FALSE;
    }
    explicit RefusedReplace(bool removeOld)
    {
        s_calls = 0;
        s_removeOld = removeOld;
        g_Platform.pReplaceFileW = Replace;
    }
    ~RefusedReplace() { g_Platform.pReplaceFileW = RealPlatformApi().pReplaceFileW; }
};

SettingsBlock Defaults()
{
    SettingsBlock block;
    SetDefaultSettings(&block);
    return block;
}

TEST_F(SettingsFile, MissingFileGivesTheDefaultsSilentlyAndCreatesNothing)
{
    EXPECT_EQ(0, LoadSettings(&Settings()));
    SettingsBlock defaults = Defaults();
    EXPECT_EQ(0, std::memcmp(&defaults, &Settings(), kSettingsSize));
    EXPECT_TRUE(messages_.Messages().empty());
    EXPECT_TRUE(directory_.Entries().empty());
}

TEST_F(SettingsFile, EmptyFileBehavesLikeAMissingOne)
{
    WriteWholeFile(kFile, {});
    EXPECT_EQ(0, LoadSettings(&Settings()));
    SettingsBlock defaults = Defaults();
    EXPECT_EQ(0, std::memcmp(&defaults, &Settings(), kSettingsSize));
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(SettingsFile, ExactFileIsTheRecord)
{
    std::vector<unsigned char> file = PatternBytes(kSettingsSize, 1);
    WriteWholeFile(kFile, file);
    EXPECT_EQ(static_cast<long>(kSettingsSize), LoadSettings(&Settings()));
    EXPECT_EQ(0, std::memcmp(file.data(), Bytes(), kSettingsSize));
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(SettingsFile, OtherLengthsShowTheMessageAndKeepTheLeadingBytes)
{
    for (size_t length : {size_t{100}, kSettingsSize - 1, kSettingsSize + 1}) {
        SCOPED_TRACE(length);
        messages_.Clear();
        std::memset(&Settings(), 0, kSettingsSize);  // as at start-up
        std::vector<unsigned char> file = PatternBytes(length, 2);
        WriteWholeFile(kFile, file);

        EXPECT_EQ(static_cast<long>(length), LoadSettings(&Settings()));
        ExpectOneMessage(kOldFileText);
        size_t kept = length < kSettingsSize ? length : kSettingsSize;
        EXPECT_EQ(0, std::memcmp(file.data(), Bytes(), kept));
        for (size_t i = kept; i < kSettingsSize; ++i)
            ASSERT_EQ(0, Bytes()[i]) << "byte " << i;
        // The file itself is left alone.
        EXPECT_EQ(file, ReadWholeFile(kFile));
    }
}

TEST_F(SettingsFile, SaveWritesExactlyTheRecordAndNothingElse)
{
    std::vector<unsigned char> bytes = PatternBytes(kSettingsSize, 3);
    std::memcpy(&Settings(), bytes.data(), kSettingsSize);
    EXPECT_EQ(1, SaveSettings(&Settings()));
    EXPECT_EQ(bytes, ReadWholeFile(kFile));
    EXPECT_EQ(std::vector<std::wstring>{L"setup.dat"}, directory_.Entries());
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(SettingsFile, SaveReplacesALongerOldFileWhole)
{
    WriteWholeFile(kFile, PatternBytes(5000, 4));
    LoadSettings(&Settings());
    messages_.Clear();
    SettingsBlock loaded = Settings();

    EXPECT_EQ(1, SaveSettings(&Settings()));
    std::vector<unsigned char> saved = ReadWholeFile(kFile);
    ASSERT_EQ(kSettingsSize, saved.size());
    EXPECT_EQ(0, std::memcmp(&loaded, saved.data(), kSettingsSize));
    EXPECT_EQ(std::vector<std::wstring>{L"setup.dat"}, directory_.Entries());
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(SettingsFile, ARefusedReplaceEndsInTheWriteInPlace)
{
    for (bool removeOld : {false, true}) {
        SCOPED_TRACE(removeOld ? "the refused replace took the old file away" : "old file kept");
        WriteWholeFile(kFile, PatternBytes(kSettingsSize, 7));
        std::vector<unsigned char> bytes = PatternBytes(kSettingsSize, 8);
        std::memcpy(&Settings(), bytes.data(), kSettingsSize);
        RefusedReplace refused(removeOld);

        EXPECT_EQ(1, SaveSettings(&Settings()));
        EXPECT_EQ(1, RefusedReplace::s_calls);
        EXPECT_EQ(bytes, ReadWholeFile(kFile));
        EXPECT_EQ(std::vector<std::wstring>{L"setup.dat"}, directory_.Entries())
            << "no temporary file is left";
        EXPECT_TRUE(messages_.Messages().empty());
    }
}

TEST_F(SettingsFile, AHiddenFileIsReplacedAndStaysHidden)
{
    WriteWholeFile(kFile, PatternBytes(kSettingsSize + 100, 9));
    ASSERT_TRUE(SetFileAttributesW(kFile, FILE_ATTRIBUTE_HIDDEN));
    std::vector<unsigned char> bytes = PatternBytes(kSettingsSize, 10);
    std::memcpy(&Settings(), bytes.data(), kSettingsSize);

    EXPECT_EQ(1, SaveSettings(&Settings()));
    EXPECT_EQ(bytes, ReadWholeFile(kFile));
    EXPECT_NE(0u, GetFileAttributesW(kFile) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(std::vector<std::wstring>{L"setup.dat"}, directory_.Entries());
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(SettingsFile, ReadOnlyFileGetsTheMessageAndKeepsItsBytes)
{
    std::vector<unsigned char> old = PatternBytes(kSettingsSize, 6);
    WriteWholeFile(kFile, old);
    ASSERT_TRUE(SetFileAttributesW(kFile, FILE_ATTRIBUTE_READONLY));
    SettingsBlock block = Defaults();

    EXPECT_EQ(0, SaveSettings(&block));
    ExpectOneMessage(kWriteFailedText);
    EXPECT_EQ(old, ReadWholeFile(kFile));
    EXPECT_EQ(std::vector<std::wstring>{L"setup.dat"}, directory_.Entries());
    EXPECT_NE(0u, GetFileAttributesW(kFile) & FILE_ATTRIBUTE_READONLY);
}

TEST_F(SettingsFile, UnwritableTargetGetsTheMessageAndLeavesNoTemporaryFile)
{
    // A folder where the file should be: nothing can replace it.
    ASSERT_TRUE(CreateDirectoryW(kFile, nullptr));
    SettingsBlock block = Defaults();

    EXPECT_EQ(0, SaveSettings(&block));
    ExpectOneMessage(kWriteFailedText);
    EXPECT_EQ(std::vector<std::wstring>{L"setup.dat"}, directory_.Entries());
    EXPECT_NE(0u, GetFileAttributesW(kFile) & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace
