#include "settings/settings_file.h"

#include <windows.h>
#include <io.h>
#include <cstdio>

#include "platform/platform_seam.h"
#include "platform/win_text.h"

namespace {
const char kSettingsFileName[] = "setup.dat";
const wchar_t kSettingsFileNameW[] = L"setup.dat";

// Writes the record from the start of an open file, cuts the file at its end
// and flushes it; every step checked.
bool WriteRecord(HANDLE file, const SettingsBlock* block)
{
    const char* next = reinterpret_cast<const char*>(block);
    DWORD left = sizeof(*block);
    while (left > 0) {
        DWORD written = 0;
        if (!WriteFile(file, next, left, &written, nullptr) || written == 0)
            return false;
        next += written;
        left -= written;
    }
    return SetEndOfFile(file) && FlushFileBuffers(file);
}

// The new record goes to a temporary file beside setup.dat, which then takes
// setup.dat's place in one step, so a failed write never damages the old
// file. ReplaceFileW keeps the old file's attributes and security settings (a
// hidden setup.dat stays hidden). False, with no temporary file left, when
// any step fails.
bool ReplaceThroughTemporaryFile(const SettingsBlock* block)
{
    wchar_t temporary[MAX_PATH];
    if (!GetTempFileNameW(L".", L"stp", 0, temporary))
        return false;
    HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    bool ok = file != INVALID_HANDLE_VALUE;
    if (ok) {
        ok = WriteRecord(file, block);
        ok = CloseHandle(file) && ok;
    }
    if (ok) {
        if (GetFileAttributesW(kSettingsFileNameW) != INVALID_FILE_ATTRIBUTES)
            ok = g_Platform.pReplaceFileW(kSettingsFileNameW, temporary, nullptr,
                                          REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
        else
            ok = MoveFileExW(temporary, kSettingsFileNameW, MOVEFILE_WRITE_THROUGH);
    }
    if (!ok)
        DeleteFileW(temporary);
    return ok;
}

// setup.dat opened for writing and written where it stands, as the game's
// own files are. Under Windows' file virtualisation (a player without
// administrator rights, the game under Program Files) this is the step that
// works: the new temporary file lands in the player's VirtualStore and may
// not be renamed over the original, while this write goes to the virtualised
// copy the game reads. The old bytes are overwritten before the file is cut,
// never truncated first; a file this step created itself is removed again
// when the write fails.
bool WriteInPlace(const SettingsBlock* block)
{
    HANDLE file = CreateFileW(kSettingsFileNameW, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    bool ok = WriteRecord(file, block);
    ok = CloseHandle(file) && ok;
    if (!ok && !existed)
        DeleteFileW(kSettingsFileNameW);
    return ok;
}
}

long LoadSettings(SettingsBlock* block)
{
    long length = 0;
    size_t bytesRead = 0;
    if (FILE* file = std::fopen(kSettingsFileName, "rb")) {
        length = _filelength(_fileno(file));
        size_t wanted = SettingsBytesToRead(length);
        if (wanted > 0)
            bytesRead = std::fread(block, 1, wanted, file);
        std::fclose(file);
    }
    LoadOutcome outcome = FinishLoadedSettings(block, length, bytesRead);
    // Before any window exists: the box has no owner.
    if (outcome == LoadOutcome::kWrongLength || outcome == LoadOutcome::kReadFailed)
        ShowMessage(nullptr, "設定ファイルが古いので読み込めませんでした", "ERROR");
    return length > 0 ? length : 0;
}

int SaveSettings(const SettingsBlock* block)
{
    DWORD attributes = GetFileAttributesW(kSettingsFileNameW);
    // Refused here: a rename may replace a read-only file on some systems.
    const bool writable = attributes == INVALID_FILE_ATTRIBUTES ||
                          !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
    // The record is still in memory: whatever the replace step left behind,
    // the write in place can still put it there.
    if (writable && (ReplaceThroughTemporaryFile(block) || WriteInPlace(block)))
        return 1;
    // Shown after the main window has gone: no owner.
    ShowMessage(nullptr, "設定ファイルの書き込みに失敗しました。", "ERROR");
    return 0;
}
