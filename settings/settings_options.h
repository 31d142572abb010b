// How the dialog's check boxes and combo boxes map onto the settings record,
// both ways, as tables the dialog walks. No window system here: the dialog
// side asks and sets the controls, these decide what they mean.
#pragma once

#include <cstdint>

#include "settings/settings_block.h"

enum class OptionField : uint8_t {
    kOptionBits,  // bits of m_dwOptions under m_dwMask
    kShadows,     // the m_bShadows byte
};

struct CheckBoxOption {
    int         m_nControlId;
    OptionField m_Field;
    uint32_t    m_dwMask;     // kOptionBits: the bits the box shows (any set: checked)
    uint32_t    m_dwChecked;  // kOptionBits: what a checked box writes under the mask
};

// One row per box bit, in the order the dialog fills them (filling only ever
// sets a check); the update reads them back in the same order.
constexpr int kCheckBoxOptionCount = 12;
extern const CheckBoxOption g_FillCheckBoxes[kCheckBoxOptionCount];
inline constexpr const CheckBoxOption (&g_ApplyCheckBoxes)[kCheckBoxOptionCount] = g_FillCheckBoxes;

bool IsOptionShownChecked(const SettingsBlock& block, const CheckBoxOption& row);
// Writes one box's state into the record; values are normalised to 1/0.
void StoreOptionCheck(SettingsBlock* block, const CheckBoxOption& row, bool checked);

struct ComboItem {
    const char* m_pszText;  // Shift-JIS
    int32_t     m_nValue;
};

constexpr int kResolutionItemCount = 6;
extern const ComboItem g_ResolutionItems[kResolutionItemCount];
constexpr int kFsaaItemCount = 3;
extern const ComboItem g_FsaaItems[kFsaaItemCount];

// The combo index showing the stored value, or -1 (no selection) for a value
// the combo has no item for.
int GetResolutionIndex(const SettingsBlock& block);
int GetFsaaIndex(const SettingsBlock& block);
// Stores the value of the selected item; any index outside the items (no
// selection) leaves the record as it is, so unknown stored values survive.
void StoreResolutionIndex(SettingsBlock* block, int index);
void StoreFsaaIndex(SettingsBlock* block, int index);
