// The thirteen actions of each player: their dialog controls and their
// positions in the binding array. Plain data, no Windows header.
#pragma once

#include "input/binding_code.h"

constexpr int kPlayerCount = 2;
constexpr int kSlotCount = kPlayerCount * kSlotsPerPlayer;
// Positions per player in the binding array (as SettingsBlock lays it out).
constexpr int kPositionsPerPlayer = 32;

struct SlotControl {
    int m_nRadioId;
    int m_nEditId;
};

// Radio and edit of every slot: player 1's slots 0..12, then player 2's.
extern const SlotControl g_SlotControls[kSlotCount];
// Position of each action within its player's 32 entries.
extern const int g_SlotToPosition[kSlotsPerPlayer];

// Index into the 64-entry binding array for slot 0..25, or -1 outside.
int SlotBindingPosition(int slot);

// The slot a radio move lands on: past the last slot wraps to the first
// assignable one, before the first assignable one wraps to the last.
int WrapSlot(int slot, int firstSlot);

// First assignable slot: the four directions are left out when forced.
constexpr int kFirstFreeSlot = 0;
constexpr int kFirstSlotForcedDirections = 4;
