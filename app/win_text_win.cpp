#include "app/win_text.h"

#include "app/platform_seam.h"

namespace {
// Large enough for the longest text the tool composes (the 1,536-byte report).
constexpr int kTextChars = 2048;
constexpr UINT kShiftJis = 932;
}

int SjisToWide(const char* sjis, wchar_t* out, int outChars)
{
    if (!out || outChars <= 0)
        return 0;
    out[0] = L'\0';
    if (!sjis)
        return 0;
    int n = MultiByteToWideChar(kShiftJis, 0, sjis, -1, out, outChars);
    if (n > 0)
        return n - 1;
    // Too long for the buffer: convert what fits and terminate.
    n = MultiByteToWideChar(kShiftJis, 0, sjis, -1, nullptr, 0);
    if (n <= 0)
        return 0;
    int len = lstrlenA(sjis);
    while (len > 0) {
        int need = MultiByteToWideChar(kShiftJis, 0, sjis, len, nullptr, 0);
        if (need > 0 && need < outChars) {
            MultiByteToWideChar(kShiftJis, 0, sjis, len, out, outChars);
            out[need] = L'\0';
            return need;
        }
        --len;
    }
    return 0;
}

BOOL SetItemTextSjis(HWND dialog, int controlId, const char* sjis)
{
    wchar_t text[kTextChars];
    SjisToWide(sjis, text, kTextChars);
    return SetDlgItemTextW(dialog, controlId, text);
}

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
