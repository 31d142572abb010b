// Binding names from any code and controller index, and from any device
// reading through press detection: the text always ends inside its buffer.
#include <cstring>
#include <string>

#include "input/binding_text.h"
#include "input/press_detection.h"
#include "input/slot_table.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

// Formats into a heap buffer of exactly size bytes, so that any write past it
// is an overflow the address sanitizer reports.
std::string FormatChecked(BindingCode code, int controllerIndex, size_t size)
{
    char* buffer = new char[size];
    std::memset(buffer, 0x5A, size);
    char* result = FormatBindingText(code, controllerIndex, buffer, size);
    FUZZ_CHECK(result == buffer);
    const void* end = std::memchr(buffer, 0, size);
    FUZZ_CHECK(end != nullptr);
    std::string text(buffer);
    delete[] buffer;
    FUZZ_CHECK(text.size() <= size - 1);
    return text;
}

void CheckBindingText(BindingCode code, int controllerIndex, size_t smallSize)
{
    std::string full = FormatChecked(code, controllerIndex, kBindingTextSize);
    FUZZ_CHECK(full.size() <= kBindingTextSize - 1);
    FUZZ_CHECK(!full.empty());

    if (code & kControllerBit) {
        // The number shown is the controller's index plus one, never wrapped.
        std::string prefix = "PAD" + std::to_string(static_cast<long long>(controllerIndex) + 1) + "-";
        FUZZ_CHECK(full.compare(0, prefix.size(), prefix) == 0);
    } else {
        FUZZ_CHECK(full == KeyName(code));
    }

    // A smaller buffer keeps the leading part of the same text.
    std::string cut = FormatChecked(code, controllerIndex, smallSize);
    FUZZ_CHECK(full.compare(0, cut.size(), cut) == 0);
    FUZZ_CHECK(cut.size() == (full.size() < smallSize ? full.size() : smallSize - 1));
}

// One poll's readings, as the idle step hands them over, turned into the
// code the assignment stores and the text its box shows.
void CheckPressToName(FuzzInput& in)
{
    uint8_t keys[kKeyCodes];
    in.TakeInto(keys, sizeof(keys));
    int key = FindLowestPressedKey(keys);
    if (key != kNoInput) {
        FUZZ_CHECK(key >= 0 && key < kKeyCodes && (keys[key] & 0x80));
        for (int k = 0; k < key; ++k)
            FUZZ_CHECK(!(keys[k] & 0x80));
        CheckBindingText(static_cast<BindingCode>(key), 0, 1 + key % kBindingTextSize);
    }

    int32_t x = in.Take<int32_t>();
    int32_t y = in.Take<int32_t>();
    int32_t z = in.Take<int32_t>();
    uint32_t pov = in.Take<uint32_t>();
    uint8_t buttons[kControllerButtons];
    in.TakeInto(buttons, sizeof(buttons));
    int controller = in.Take<uint8_t>() % 8;
    int input = FindActiveControllerInput(x, y, z, pov, buttons);
    if (input == kNoInput)
        return;
    FUZZ_CHECK((input >= 0 && input < kControllerButtons) ||
               (input >= kFirstNamedInput && input <= kLastNamedInput));
    if (input < kControllerButtons)
        FUZZ_CHECK(buttons[input] & 0x80);
    else
        FUZZ_CHECK(ControllerInputName(input) != nullptr);
    CheckBindingText(kControllerBit | static_cast<BindingCode>(input), controller, 8);
}

// Polls in a row: a press is new only after a poll that found nothing (the
// keyboard also needs one such poll first), however long it is held.
void CheckPressEdges(FuzzInput& in)
{
    int32_t controllerHeld = 0;
    int32_t keyboardIdle = 0;
    bool controllerWasFree = true;
    bool keyboardWasFree = false;
    while (in.Left() > 0) {
        uint8_t poll = in.Take<uint8_t>();
        int controller = (poll & 1) ? kNoInput : poll >> 1;
        int key = (poll & 2) ? kNoInput : poll;
        FUZZ_CHECK(TakeControllerPress(controller, &controllerHeld) ==
                   (controller != kNoInput && controllerWasFree ? 1 : 0));
        FUZZ_CHECK(TakeKeyboardPress(key, &keyboardIdle) ==
                   (key != kNoInput && keyboardWasFree ? 1 : 0));
        controllerWasFree = controller == kNoInput;
        keyboardWasFree = key == kNoInput;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    // A handful of codes per input, then one device reading if enough is left.
    for (int i = 0; i < 4 && in.Left() >= 9; ++i) {
        BindingCode code = in.Take<uint32_t>();
        int controllerIndex = in.Take<int32_t>();
        size_t smallSize = 1 + in.Take<uint8_t>() % kBindingTextSize;
        CheckBindingText(code, controllerIndex, smallSize);

        // Every slot lands inside the 64-entry binding array, or nowhere.
        int slot = controllerIndex;
        int position = SlotBindingPosition(slot);
        FUZZ_CHECK(position == -1 || (position >= 0 && position < 2 * kPositionsPerPlayer));
        FUZZ_CHECK((position >= 0) == (slot >= 0 && slot < kSlotCount));
        // The radio a move lands on is always one of player 1's assignable ones.
        for (int first : {kFirstFreeSlot, kFirstSlotForcedDirections}) {
            int landed = WrapSlot(slot, first);
            FUZZ_CHECK(landed >= first && landed < kSlotsPerPlayer);
        }
    }
    if (in.Left() > 0)
        CheckPressToName(in);
    CheckPressEdges(in);
    return 0;
}
