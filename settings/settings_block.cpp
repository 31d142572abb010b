#include "settings/settings_block.h"

#include <cstring>

namespace {
// Player 1's positions 0..14: DirectInput scan codes of the game's default keys.
constexpr uint32_t kDefaultBindings[] = {
    0xC8,  // up
    0xD0,  // down
    0xCB,  // left
    0xCD,  // right
    0x2C,  // Z
    0x2D,  // X
    0x2E,  // C
    0x01,  // Escape
    0x2F,  // V
    0x30,  // B
    0x31,  // N
    0x1E,  // A
    0x1F,  // S
    0x10,  // Q
    0x11,  // W
};

constexpr uint32_t kDefaultsKeepMask = 0xFFDF1F03;
constexpr uint32_t kDefaultsSetBits = 0x00181101;
}

void SetDefaultBindings(SettingsBlock* block)
{
    int n = 0;
    for (uint32_t code : kDefaultBindings)
        block->m_aBindings[n++] = code;
}

void SetDefaultSettings(SettingsBlock* block)
{
    std::memset(block, 0, sizeof(*block));
    block->m_dwOptions = (block->m_dwOptions & kDefaultsKeepMask) | kDefaultsSetBits;
    block->m_abSwitches[0] = 64;
    block->m_abSwitches[1] = 64;
    block->m_bShadows = 1;
    block->m_abSwitches[2] = 255;
    block->m_abSwitches[3] = 128;
    SetDefaultBindings(block);
    block->m_dwOptions |= OPTION_BGM_IN_MEMORY;
    for (uint32_t& level : block->m_adwLevels)
        level = 100;
    block->m_bDetail276 = 2;
}

size_t SettingsBytesToRead(long fileLength)
{
    if (fileLength <= 0)
        return 0;
    return static_cast<unsigned long>(fileLength) < kSettingsSize
               ? static_cast<size_t>(fileLength)
               : kSettingsSize;
}

LoadOutcome FinishLoadedSettings(SettingsBlock* block, long fileLength, size_t bytesRead)
{
    if (fileLength == 0) {
        SetDefaultSettings(block);
        return LoadOutcome::kDefaults;
    }
    // An unknown length, or a read that stops short, would leave a half-filled
    // record looking like a good one; start from the defaults instead.
    if (fileLength < 0 || bytesRead < SettingsBytesToRead(fileLength)) {
        SetDefaultSettings(block);
        return LoadOutcome::kReadFailed;
    }
    if (static_cast<unsigned long>(fileLength) == kSettingsSize)
        return LoadOutcome::kExact;
    return LoadOutcome::kWrongLength;
}
