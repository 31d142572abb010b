// The game's start-up settings record: byte for byte the content of setup.dat.
// Little-endian, no header, identified by its length alone. The tool interprets
// only the bindings, the option word, three switch bytes and the FSAA count;
// every other byte is carried through exactly as loaded.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kSettingsSize = 2384;
constexpr int kBindingsPerPlayer = 32;
constexpr int kBindingCount = 2 * kBindingsPerPlayer;

// Bits of SettingsBlock::m_dwOptions.
enum : uint32_t {
    OPTION_FULLSCREEN         = 0x00000002,
    OPTION_FPS_LOCK           = 0x00000100,
    OPTION_16BIT_COLOR        = 0x00000200,
    OPTION_FPS_DISPLAY        = 0x00000400,
    OPTION_NO_RENDER_TEXTURE  = 0x00000800,
    OPTION_RESOLUTION         = 0x0000F000,  // 4-bit resolution code
    OPTION_LOW_RES_MODEL      = 0x00010000,
    OPTION_TEXTURE_POW2       = 0x00040000,
    OPTION_SCREEN_EFFECTS     = 0x00080000,
    OPTION_CEL_SHADING        = 0x00300000,  // 2-bit mode; the tool writes 0 or 1
    OPTION_BGM_IN_MEMORY      = 0x00400000,
    OPTION_FPS_DISPLAY2       = 0x00800000,  // always written equal to OPTION_FPS_DISPLAY
};
constexpr int kResolutionShift = 12;
constexpr int kCelShadingShift = 20;

#pragma pack(push, 1)
struct SettingsBlock {
    uint8_t  m_abHead[4];                        // 0: not interpreted
    uint32_t m_aBindings[kBindingCount];         // 4: 2 players x 32 BindingCodes
    uint32_t m_dwOptions;                        // 260
    uint8_t  m_abSwitches[5];                    // 264..268: not interpreted
    uint8_t  m_bForceDirection1P;                // 269
    uint8_t  m_bForceDirection2P;                // 270
    uint8_t  m_bShadows;                         // 271
    int32_t  m_nFsaaSamples;                     // 272: 0, 2 or 4
    uint8_t  m_bDetail276;                       // 276: not interpreted
    uint8_t  m_abPad277[3];                      // 277
    uint32_t m_adwLevels[3];                     // 280, 284, 288: not interpreted
    uint8_t  m_abTail[2092];                     // 292..2383: not interpreted
};
#pragma pack(pop)

static_assert(sizeof(SettingsBlock) == kSettingsSize, "setup.dat is 2384 bytes");
static_assert(offsetof(SettingsBlock, m_aBindings) == 4, "bindings at 4");
static_assert(offsetof(SettingsBlock, m_dwOptions) == 260, "options at 260");
static_assert(offsetof(SettingsBlock, m_abSwitches) == 264, "switches at 264");
static_assert(offsetof(SettingsBlock, m_bForceDirection1P) == 269, "1P force at 269");
static_assert(offsetof(SettingsBlock, m_bForceDirection2P) == 270, "2P force at 270");
static_assert(offsetof(SettingsBlock, m_bShadows) == 271, "shadows at 271");
static_assert(offsetof(SettingsBlock, m_nFsaaSamples) == 272, "FSAA at 272");
static_assert(offsetof(SettingsBlock, m_bDetail276) == 276, "byte 276");
static_assert(offsetof(SettingsBlock, m_adwLevels) == 280, "words at 280");
static_assert(offsetof(SettingsBlock, m_abTail) == 292, "tail at 292");

// The whole record to the game's defaults (then SetDefaultBindings).
void SetDefaultSettings(SettingsBlock* block);
// Player 1's positions 0..14 to the default keys; nothing else changes.
void SetDefaultBindings(SettingsBlock* block);

// What LoadSettings makes of the file it found.
enum class LoadOutcome {
    kDefaults,      // missing or empty: the defaults, silently
    kExact,         // exactly kSettingsSize bytes: the record is the file
    kWrongLength,   // any other length: the leading bytes over zeros, with a message
    kReadFailed,    // length unknown or the read stopped short: the defaults, with a message
};

// How many bytes to read from a file of the given length (negative: unknown).
size_t SettingsBytesToRead(long fileLength);
// Decides on the file's length and the bytes actually read into the record
// (bytesRead of SettingsBytesToRead(fileLength) requested), and finishes the
// record: the defaults for kDefaults and kReadFailed, nothing otherwise.
LoadOutcome FinishLoadedSettings(SettingsBlock* block, long fileLength, size_t bytesRead);
