#include "settings/settings_options.h"

#include "res/resource.h"

namespace {
constexpr CheckBoxOption Bit(int id, uint32_t mask)
{
    return {id, OptionField::kOptionBits, mask, mask};
}

// The cel-shading mode has two bits; any mode shows as on, on is written as 1.
constexpr CheckBoxOption kCelShading = {IDC_CEL_SHADING, OptionField::kOptionBits,
                                        OPTION_CEL_SHADING, 1u << kCelShadingShift};
constexpr CheckBoxOption kShadows = {IDC_SHADOWS, OptionField::kShadows, 0, 0};

int FindItem(const ComboItem* items, int count, int32_t value)
{
    for (int i = 0; i < count; ++i) {
        if (items[i].m_nValue == value)
            return i;
    }
    return -1;
}
}

// "FPS 表示" shows either copy of the frame-rate bit and writes both, the
// second copy (bit 23) first.
const CheckBoxOption g_FillCheckBoxes[kCheckBoxOptionCount] = {
    Bit(IDC_FULLSCREEN, OPTION_FULLSCREEN),
    Bit(IDC_FPS_LOCK, OPTION_FPS_LOCK),
    Bit(IDC_FPS_DISPLAY, OPTION_FPS_DISPLAY2),
    Bit(IDC_16BIT_COLOR, OPTION_16BIT_COLOR),
    Bit(IDC_FPS_DISPLAY, OPTION_FPS_DISPLAY),
    Bit(IDC_NO_RENDER_TEXTURE, OPTION_NO_RENDER_TEXTURE),
    Bit(IDC_TEXTURE_POW2, OPTION_TEXTURE_POW2),
    Bit(IDC_BGM_IN_MEMORY, OPTION_BGM_IN_MEMORY),
    Bit(IDC_LOW_RES_MODEL, OPTION_LOW_RES_MODEL),
    kShadows,
    kCelShading,
    Bit(IDC_SCREEN_EFFECTS, OPTION_SCREEN_EFFECTS),
};

bool IsOptionShownChecked(const SettingsBlock& block, const CheckBoxOption& row)
{
    if (row.m_Field == OptionField::kShadows)
        return block.m_bShadows != 0;
    return (block.m_dwOptions & row.m_dwMask) != 0;
}

void StoreOptionCheck(SettingsBlock* block, const CheckBoxOption& row, bool checked)
{
    if (row.m_Field == OptionField::kShadows) {
        block->m_bShadows = checked ? 1 : 0;
        return;
    }
    block->m_dwOptions = (block->m_dwOptions & ~row.m_dwMask) | (checked ? row.m_dwChecked : 0);
}

const ComboItem g_ResolutionItems[kResolutionItemCount] = {
    {"320×240", 2},
    {"480×360", 3},
    {"640×480", 0},
    {"800×600（デフォルト）", 1},
    {"1024×768", 4},
    {"1280×960", 5},
};

const ComboItem g_FsaaItems[kFsaaItemCount] = {
    {"なし", 0},
    {"x2", 2},
    {"x4", 4},
};

int GetResolutionIndex(const SettingsBlock& block)
{
    int32_t code = static_cast<int32_t>((block.m_dwOptions & OPTION_RESOLUTION) >> kResolutionShift);
    return FindItem(g_ResolutionItems, kResolutionItemCount, code);
}

int GetFsaaIndex(const SettingsBlock& block)
{
    return FindItem(g_FsaaItems, kFsaaItemCount, block.m_nFsaaSamples);
}

void StoreResolutionIndex(SettingsBlock* block, int index)
{
    if (index < 0 || index >= kResolutionItemCount)
        return;
    uint32_t code = static_cast<uint32_t>(g_ResolutionItems[index].m_nValue);
    block->m_dwOptions = (block->m_dwOptions & ~OPTION_RESOLUTION) |
                         ((code << kResolutionShift) & OPTION_RESOLUTION);
}

void StoreFsaaIndex(SettingsBlock* block, int index)
{
    if (index < 0 || index >= kFsaaItemCount)
        return;
    block->m_nFsaaSamples = g_FsaaItems[index].m_nValue;
}
