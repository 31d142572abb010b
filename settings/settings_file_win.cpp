#include "settings/settings_file.h"

#include <windows.h>
#include <io.h>
#include <cstdio>

#include "app/win_text.h"

namespace {
const char kSettingsFileName[] = "setup.dat";
const wchar_t kSettingsFileNameW[] = L"setup.dat";

bool WriteWholeFile(const wchar_t* path, const void* data, DWORD size)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const char* next = static_cast<const char*>(data);
    DWORD left = size;
    bool ok = true;
    while (ok && left > 0) {
        DWORD written = 0;
        ok = WriteFile(file, next, left, &written, nullptr) && written > 0;
        next += written;
        left -= written;
    }
    // The bytes must be on disk before the rename makes them the settings.
    ok = ok && FlushFileBuffers(file);
    ok = CloseHandle(file) && ok;
    return ok;
}

// The new record goes to a temporary file beside setup.dat, which is then
// swapped in by one rename, so a failed write never damages the old file.
bool ReplaceSettingsFile(const SettingsBlock* block)
{
    DWORD attributes = GetFileAttributesW(kSettingsFileNameW);
    // A rename may replace a read-only file on some systems; refuse it here.
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;

    wchar_t temporary[MAX_PATH];
    if (!GetTempFileNameW(L".", L"stp", 0, temporary))
        return false;
    bool ok = WriteWholeFile(temporary, block, sizeof(*block)) &&
              MoveFileExW(temporary, kSettingsFileNameW,
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok)
        DeleteFileW(temporary);
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
    if (ReplaceSettingsFile(block))
        return 1;
    // Shown after the main window has gone: no owner.
    ShowMessage(nullptr, "設定ファイルの書き込みに失敗しました。", "ERROR");
    return 0;
}
