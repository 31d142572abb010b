#include "platform/win_text.h"

#include "platform/platform_seam.h"
#include "platform/text_table.h"

namespace {
// Large enough for the longest text the tool composes (the 1,536-byte report).
constexpr int kTextChars = 2048;
constexpr UINT kShiftJis = 932;

int Convert(const char* sjis, int bytes, wchar_t* out, int outChars)
{
    return g_Platform.pMultiByteToWideChar(kShiftJis, 0, sjis, bytes, out, outChars);
}
}

bool SjisToWide(const char* sjis, wchar_t* out, int outChars)
{
    if (!out || outChars <= 0)
        return true;
    out[0] = L'\0';
    if (!sjis)
        return true;
    // The size of a whole NUL-terminated text can only be refused when the
    // code page itself is missing.
    const int whole = Convert(sjis, -1, nullptr, 0);
    if (whole <= 0)
        return SjisToWideByTable(sjis, out, outChars) >= 0;
    if (whole <= outChars) {
        Convert(sjis, -1, out, outChars);
        out[whole - 1] = L'\0';
        return true;
    }
    // Too long for the buffer: convert the longest head that fits.
    for (int len = lstrlenA(sjis); len > 0; --len) {
        int need = Convert(sjis, len, nullptr, 0);
        if (need > 0 && need < outChars) {
            Convert(sjis, len, out, outChars);
            out[need] = L'\0';
            return true;
        }
    }
    return true;
}

BOOL SetItemTextSjis(HWND dialog, int controlId, const char* sjis)
{
    wchar_t text[kTextChars];
    // The report brings texts from outside the tool (DxDiag's, the processor's).
    if (!SjisToWide(sjis, text, kTextChars))
        return SetDlgItemTextA(dialog, controlId, sjis);
    return SetDlgItemTextW(dialog, controlId, text);
}

// The three below take only the tool's own texts, which SjisToWide always
// converts, so they have no ANSI way.
LRESULT AddComboItemSjis(HWND combo, const char* sjis)
{
    wchar_t text[kTextChars];
    SjisToWide(sjis, text, kTextChars);
    return SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

int ShowMessage(HWND owner, const char* text, const char* caption)
{
    wchar_t wideText[kTextChars];
    wchar_t wideCaption[64];
    SjisToWide(text, wideText, kTextChars);
    SjisToWide(caption, wideCaption, 64);
    return g_Platform.pMessageBoxW(owner, wideText, wideCaption, MB_OK);
}

HWND FindWindowSjis(const char* className, const char* title)
{
    wchar_t wideClass[64];
    wchar_t wideTitle[128];
    SjisToWide(className, wideClass, 64);
    SjisToWide(title, wideTitle, 128);
    return FindWindowW(wideClass, wideTitle);
}
