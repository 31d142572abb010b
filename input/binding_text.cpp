#include "input/binding_text.h"

#include <cstdio>

const char kNoName[] = "(null)";

// Indexed by scan code; the arrows are shown as arrows, 0 as "NONE".
const char* const g_KeyNames[256] = {
    // 0x00
    "NONE", "ESCAPE", "1", "2", "3", "4", "5", "6",
    "7", "8", "9", "0", "MINUS", "EQUALS", "BACK", "TAB",
    // 0x10
    "Q", "W", "E", "R", "T", "Y", "U", "I",
    "O", "P", "LBRACKET", "RBRACKET", "RETURN", "LCONTROL", "A", "S",
    // 0x20
    "D", "F", "G", "H", "J", "K", "L", "SEMICOLON",
    "APOSTROPHE", "GRAVE", "LSHIFT", "BACKSLASH", "Z", "X", "C", "V",
    // 0x30
    "B", "N", "M", "COMMA", "PERIOD", "SLASH", "RSHIFT", "MULTIPLY",
    "LMENU", "SPACE", "CAPITAL", "F1", "F2", "F3", "F4", "F5",
    // 0x40
    "F6", "F7", "F8", "F9", "F10", "NUMLOCK", "SCROLL", "NUMPAD7",
    "NUMPAD8", "NUMPAD9", "SUBTRACT", "NUMPAD4", "NUMPAD5", "NUMPAD6", "ADD", "NUMPAD1",
    // 0x50
    "NUMPAD2", "NUMPAD3", "NUMPAD0", "DECIMAL", nullptr, nullptr, "OEM_102", "F11",
    "F12", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    // 0x60
    nullptr, nullptr, nullptr, nullptr, "F13", "F14", "F15", nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    // 0x70
    "KANA", nullptr, nullptr, "ABNT_C1", nullptr, nullptr, nullptr, nullptr,
    nullptr, "CONVERT", nullptr, "NOCONVERT", nullptr, "YEN", "ABNT_C2", nullptr,
    // 0x80
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr, "NUMPADEQUALS", nullptr, nullptr,
    // 0x90
    "PREVTRACK", "AT", "COLON", "UNDERLINE", "KANJI", "STOP", "AX", "UNLABELED",
    nullptr, "NEXTTRACK", nullptr, nullptr, "NUMPADENTER", "RCONTROL", nullptr, nullptr,
    // 0xA0
    "MUTE", "CALCULATOR", "PLAYPAUSE", nullptr, "MEDIASTOP", nullptr, nullptr, nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "VOLUMEDOWN", nullptr,
    // 0xB0
    "VOLUMEUP", nullptr, "WEBHOME", "NUMPADCOMMA", nullptr, "DIVIDE", nullptr, "SYSRQ",
    "RMENU", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    // 0xC0
    nullptr, nullptr, nullptr, nullptr, nullptr, "PAUSE", nullptr, "HOME",
    "↑", "PRIOR", nullptr, "←", nullptr, "→", nullptr, "END",
    // 0xD0
    "↓", "NEXT", "INSERT", "DELETE", nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr, nullptr, "LWIN", "RWIN", "APPS", "POWER", "SLEEP",
    // 0xE0
    nullptr, nullptr, nullptr, "WAKE", nullptr, "WEBSEARCH", "WEBFAVORITES", "WEBREFRESH",
    "WEBSTOP", "WEBFORWARD", "WEBBACK", "MYCOMPUTER", "MAIL", "MEDIASELECT", nullptr, nullptr,
    // 0xF0
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
};

namespace {
const char* const kControllerInputNames[kLastNamedInput - kFirstNamedInput + 1] = {
    "↑", "↓", "←", "→", "Z1", "Z2", "HAT_UP", "HAT_RIGHT", "HAT_DOWN", "HAT_LEFT",
};
}

const char* KeyName(BindingCode code)
{
    // Only a damaged settings file holds a keyboard value above 255.
    if (code > 0xFF || !g_KeyNames[code])
        return kNoName;
    return g_KeyNames[code];
}

const char* ControllerInputName(int inputIndex)
{
    if (inputIndex < kFirstNamedInput || inputIndex > kLastNamedInput)
        return nullptr;
    return kControllerInputNames[inputIndex - kFirstNamedInput];
}

char* FormatBindingText(BindingCode code, int controllerIndex, char* out, size_t outSize)
{
    if (!out || outSize == 0)
        return out;
    // Widened so that no controller index can overflow the +1.
    long long pad = static_cast<long long>(controllerIndex) + 1;
    if (code & kControllerBit) {
        unsigned input = code & ~kControllerBit;
        const char* name = ControllerInputName(static_cast<int>(input));
        if (name)
            std::snprintf(out, outSize, "PAD%lld-%s", pad, name);
        else
            std::snprintf(out, outSize, "PAD%lld-%u", pad, input);
    } else {
        std::snprintf(out, outSize, "%s", KeyName(code));
    }
    return out;
}
