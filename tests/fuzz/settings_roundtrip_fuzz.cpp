// A setup.dat of any length and content, loaded as the tool loads it, shown
// in the dialog and applied back unchanged: every byte the dialog does not
// normalise must come back exactly as loaded.
#include <cstring>

#include "res/resource.h"
#include "settings/settings_block.h"
#include "settings/settings_options.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

// What the settings dialog shows after FillDialog: the check of every box
// and the selection of both combos (-1: no selection).
struct DialogModel {
    int  m_anIds[24];
    bool m_abChecked[24];
    int  m_nCount;
    int  m_nResolution;
    int  m_nFsaa;

    bool* Box(int id)
    {
        for (int i = 0; i < m_nCount; ++i)
            if (m_anIds[i] == id)
                return &m_abChecked[i];
        FUZZ_CHECK(m_nCount < 24);
        m_anIds[m_nCount] = id;
        m_abChecked[m_nCount] = false;
        return &m_abChecked[m_nCount++];
    }
};

// AppState is zero-filled at start-up; the file is read over that.
LoadOutcome LoadFromFile(const uint8_t* data, size_t size, size_t bytesRead,
                         SettingsBlock* block)
{
    std::memset(block, 0, sizeof(*block));
    long length = static_cast<long>(size);
    size_t wanted = SettingsBytesToRead(length);
    FUZZ_CHECK(wanted == (size < kSettingsSize ? size : kSettingsSize));
    FUZZ_CHECK(bytesRead <= wanted);
    std::memcpy(block, data, bytesRead);
    return FinishLoadedSettings(block, length, bytesRead);
}

// As FillDialog does it on a freshly created dialog: boxes start unchecked
// and filling only ever sets a check.
DialogModel ShowInDialog(const SettingsBlock& block)
{
    DialogModel dialog = {};
    for (const CheckBoxOption& row : g_FillCheckBoxes) {
        bool* box = dialog.Box(row.m_nControlId);
        if (IsOptionShownChecked(block, row))
            *box = true;
    }
    *dialog.Box(IDC_FORCE_DIR_1P) = block.m_bForceDirection1P != 0;
    *dialog.Box(IDC_FORCE_DIR_2P) = block.m_bForceDirection2P != 0;
    dialog.m_nResolution = GetResolutionIndex(block);
    dialog.m_nFsaa = GetFsaaIndex(block);
    return dialog;
}

// As ApplyDialogToSettings does it with the dialog left as shown. Without a
// key press the working copy of the bindings is the loaded array, which goes
// back whole; only the force-direction bytes come from the dialog.
void ApplyDialog(DialogModel& dialog, SettingsBlock* block)
{
    block->m_bForceDirection1P = *dialog.Box(IDC_FORCE_DIR_1P) ? 1 : 0;
    block->m_bForceDirection2P = *dialog.Box(IDC_FORCE_DIR_2P) ? 1 : 0;
    for (const CheckBoxOption& row : g_ApplyCheckBoxes)
        StoreOptionCheck(block, row, *dialog.Box(row.m_nControlId));
    StoreResolutionIndex(block, dialog.m_nResolution);
    StoreFsaaIndex(block, dialog.m_nFsaa);
}

// The record an unchanged update must give, from the file format alone: the
// two frame-rate bits become equal, a cel-shading mode and the three switch
// bytes become 0 or 1; nothing else moves.
SettingsBlock ExpectedAfterUpdate(const SettingsBlock& loaded)
{
    SettingsBlock expected;
    std::memcpy(&expected, &loaded, sizeof(expected));
    uint32_t options = loaded.m_dwOptions;
    const uint32_t fps = OPTION_FPS_DISPLAY | OPTION_FPS_DISPLAY2;
    options = (options & ~fps) | ((options & fps) ? fps : 0);
    options = (options & ~OPTION_CEL_SHADING) |
              ((options & OPTION_CEL_SHADING) ? 0x00100000u : 0);
    expected.m_dwOptions = options;
    expected.m_bShadows = loaded.m_bShadows ? 1 : 0;
    expected.m_bForceDirection1P = loaded.m_bForceDirection1P ? 1 : 0;
    expected.m_bForceDirection2P = loaded.m_bForceDirection2P ? 1 : 0;
    return expected;
}

void CheckComboShowsStoredValue(const DialogModel& dialog, const SettingsBlock& block)
{
    const int32_t resolution = (block.m_dwOptions >> 12) & 0xF;
    const bool knownResolution = resolution <= 5;
    FUZZ_CHECK((dialog.m_nResolution >= 0) == knownResolution);
    if (knownResolution)
        FUZZ_CHECK(g_ResolutionItems[dialog.m_nResolution].m_nValue == resolution);
    const int32_t fsaa = block.m_nFsaaSamples;
    const bool knownFsaa = fsaa == 0 || fsaa == 2 || fsaa == 4;
    FUZZ_CHECK((dialog.m_nFsaa >= 0) == knownFsaa);
    if (knownFsaa)
        FUZZ_CHECK(g_FsaaItems[dialog.m_nFsaa].m_nValue == fsaa);
}

void CheckLoadedRecord(const uint8_t* data, size_t size, LoadOutcome outcome,
                       const SettingsBlock& block)
{
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&block);
    if (size == 0) {
        FUZZ_CHECK(outcome == LoadOutcome::kDefaults);
        SettingsBlock defaults;
        SetDefaultSettings(&defaults);
        FUZZ_CHECK(std::memcmp(&defaults, &block, sizeof(block)) == 0);
        return;
    }
    FUZZ_CHECK(outcome == (size == kSettingsSize ? LoadOutcome::kExact
                                                 : LoadOutcome::kWrongLength));
    // The file's leading bytes over zeros; never the defaults.
    size_t kept = size < kSettingsSize ? size : kSettingsSize;
    FUZZ_CHECK(std::memcmp(bytes, data, kept) == 0);
    for (size_t i = kept; i < kSettingsSize; ++i)
        FUZZ_CHECK(bytes[i] == 0);
}

void CheckRoundTrip(const SettingsBlock& loaded)
{
    SettingsBlock block;
    std::memcpy(&block, &loaded, sizeof(block));
    DialogModel dialog = ShowInDialog(block);
    CheckComboShowsStoredValue(dialog, block);
    ApplyDialog(dialog, &block);

    // The record is what SaveSettings writes: compare the whole image.
    SettingsBlock expected = ExpectedAfterUpdate(loaded);
    FUZZ_CHECK(std::memcmp(&expected, &block, sizeof(block)) == 0);

    // "デフォルト" before the update: player 1's default keys, the dialog
    // refilled over its own checks; nothing else may differ.
    SettingsBlock withDefaults;
    std::memcpy(&withDefaults, &loaded, sizeof(withDefaults));
    DialogModel refilled = ShowInDialog(withDefaults);
    SetDefaultBindings(&withDefaults);
    DialogModel again = ShowInDialog(withDefaults);
    for (int i = 0; i < again.m_nCount; ++i)
        *refilled.Box(again.m_anIds[i]) |= again.m_abChecked[i];
    refilled.m_nResolution = again.m_nResolution;
    refilled.m_nFsaa = again.m_nFsaa;
    ApplyDialog(refilled, &withDefaults);
    SetDefaultBindings(&expected);
    FUZZ_CHECK(std::memcmp(&expected, &withDefaults, sizeof(expected)) == 0);

    // Loading the saved file and updating again changes nothing more.
    SettingsBlock reloaded;
    std::memcpy(&reloaded, &block, sizeof(reloaded));
    DialogModel second = ShowInDialog(reloaded);
    ApplyDialog(second, &reloaded);
    FUZZ_CHECK(std::memcmp(&reloaded, &block, sizeof(block)) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SettingsBlock block;
    size_t wanted = size < kSettingsSize ? size : kSettingsSize;
    LoadOutcome outcome = LoadFromFile(data, size, wanted, &block);
    CheckLoadedRecord(data, size, outcome, block);
    CheckRoundTrip(block);

    // The same file with a read that stops short: the defaults, never a
    // half-read record.
    if (wanted > 0) {
        SettingsBlock shortRead;
        outcome = LoadFromFile(data, size, wanted / 2, &shortRead);
        FUZZ_CHECK(outcome == LoadOutcome::kReadFailed);
        SettingsBlock defaults;
        SetDefaultSettings(&defaults);
        FUZZ_CHECK(std::memcmp(&defaults, &shortRead, sizeof(defaults)) == 0);
    }
    return 0;
}
