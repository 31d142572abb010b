// Texts live inside the tool as Shift-JIS bytes (code page 932). Everything
// handed to the window system goes through here: converted to UTF-16 and
// given to the wide function, so the tool reads right on any Windows. Where
// this Windows cannot convert from code page 932 at all (no East Asian
// language files, common on Western XP), the tool's own texts still reach
// the wide functions through the build's table of their characters
// (platform/text_table.h); only a text the table does not know (a DxDiag
// text, say) goes to the ANSI function unchanged, garbled there.
#pragma once

#include <windows.h>

// Converts a NUL-terminated Shift-JIS text into out (capacity in characters),
// always terminated, truncated to fit. False, with out empty, when code page
// 932 cannot be converted on this Windows and the text is not the tool's own.
bool SjisToWide(const char* sjis, wchar_t* out, int outChars);

// Control text from Shift-JIS, the tool's own or from outside; allocates
// nothing (safe for the idle step).
BOOL SetItemTextSjis(HWND dialog, int controlId, const char* sjis);
// The three below take the tool's own texts only (always wide).
// Appends a Shift-JIS item to a combo box; returns the CB_ADDSTRING result.
LRESULT AddComboItemSjis(HWND combo, const char* sjis);
// A modal MB_OK box through the platform seam.
int ShowMessage(HWND owner, const char* text, const char* caption);
// A top-level window by Shift-JIS class name and title.
HWND FindWindowSjis(const char* className, const char* title);
