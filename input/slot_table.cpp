#include "input/slot_table.h"

#include "res/resource.h"

const SlotControl g_SlotControls[kSlotCount] = {
    {IDC_P1_RADIO_UP, IDC_P1_EDIT_UP},
    {IDC_P1_RADIO_DOWN, IDC_P1_EDIT_DOWN},
    {IDC_P1_RADIO_LEFT, IDC_P1_EDIT_LEFT},
    {IDC_P1_RADIO_RIGHT, IDC_P1_EDIT_RIGHT},
    {IDC_P1_RADIO_A, IDC_P1_EDIT_A},
    {IDC_P1_RADIO_B, IDC_P1_EDIT_B},
    {IDC_P1_RADIO_C, IDC_P1_EDIT_C},
    {IDC_P1_RADIO_D, IDC_P1_EDIT_D},
    {IDC_P1_RADIO_L1, IDC_P1_EDIT_L1},
    {IDC_P1_RADIO_R1, IDC_P1_EDIT_R1},
    {IDC_P1_RADIO_L2, IDC_P1_EDIT_L2},
    {IDC_P1_RADIO_R2, IDC_P1_EDIT_R2},
    {IDC_P1_RADIO_START, IDC_P1_EDIT_START},
    {IDC_P2_RADIO_UP, IDC_P2_EDIT_UP},
    {IDC_P2_RADIO_DOWN, IDC_P2_EDIT_DOWN},
    {IDC_P2_RADIO_LEFT, IDC_P2_EDIT_LEFT},
    {IDC_P2_RADIO_RIGHT, IDC_P2_EDIT_RIGHT},
    {IDC_P2_RADIO_A, IDC_P2_EDIT_A},
    {IDC_P2_RADIO_B, IDC_P2_EDIT_B},
    {IDC_P2_RADIO_C, IDC_P2_EDIT_C},
    {IDC_P2_RADIO_X, IDC_P2_EDIT_X},
    {IDC_P2_RADIO_L1, IDC_P2_EDIT_L1},
    {IDC_P2_RADIO_R1, IDC_P2_EDIT_R1},
    {IDC_P2_RADIO_L2, IDC_P2_EDIT_L2},
    {IDC_P2_RADIO_R2, IDC_P2_EDIT_R2},
    {IDC_P2_RADIO_START, IDC_P2_EDIT_START},
};

// START sits at position 7, between the face buttons and the shoulders,
// where the game expects it; positions 9 and 10 belong to no action.
const int g_SlotToPosition[kSlotsPerPlayer] = {0, 1, 2, 3, 4, 5, 6, 8, 11, 12, 13, 14, 7};

int SlotBindingPosition(int slot)
{
    if (slot < 0 || slot >= kSlotCount)
        return -1;
    return kPositionsPerPlayer * (slot / kSlotsPerPlayer) +
           g_SlotToPosition[slot % kSlotsPerPlayer];
}

int WrapSlot(int slot, int firstSlot)
{
    if (slot >= kSlotsPerPlayer)
        return firstSlot;
    if (slot < firstSlot)
        return kSlotsPerPlayer - 1;
    return slot;
}
