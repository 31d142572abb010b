// Loaded into the running config.exe by the driver's glyphs command through
// a WH_GETMESSAGE hook on the tool's thread: a font handle, and a font the
// tool registered for itself alone, only mean something inside the tool's
// own process. On the check message it walks the settings dialog's controls
// and sends the answer back to the driver's window with WM_COPYDATA, one
// line a control and one more for each item of a combo box:
//   ID <tab> text|item N <tab> FACE <tab> MISSING <tab> CHARACTERS <tab> WHAT
// WHAT is the missing characters as U+XXXX, or the text's start. A bitmap
// static has the line "- <tab> bitmap".
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace {

const wchar_t kCheckMessage[] = L"ringcfg glyph check";

// Glyphs of text in font, as the control would draw it: GetGlyphIndicesW
// with GGI_MARK_NONEXISTING_GLYPHS marks each one the font lacks.
std::wstring CheckText(HFONT font, int id, const std::wstring& kind, const std::wstring& text)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    std::wstring shown;   // what a control draws: line breaks and tabs are no glyphs
    for (wchar_t c : text)
        if (c >= 0x20)
            shown += c;
    std::wstring missing;
    int missingCount = 0;
    if (!shown.empty()) {
        std::basic_string<WORD> glyphs(shown.size(), 0);
        if (GetGlyphIndicesW(dc, shown.c_str(), static_cast<int>(shown.size()), &glyphs[0],
                             GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
            missing = L"GetGlyphIndicesW failed";
            missingCount = static_cast<int>(shown.size());
        } else {
            for (size_t i = 0; i < shown.size(); ++i) {
                if (glyphs[i] != 0xFFFF)
                    continue;
                wchar_t code[16];
                wsprintfW(code, L"U+%04X ", shown[i]);
                missing += code;
                ++missingCount;
            }
        }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    wchar_t head[64];
    wsprintfW(head, L"%d\t", id);
    return head + kind + L"\t" + face + L"\t" + std::to_wstring(missingCount) + L"\t" +
           std::to_wstring(shown.size()) + L"\t" + (missingCount ? missing : shown.substr(0, 24)) +
           L"\n";
}

std::wstring WindowTextOf(HWND wnd)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(wnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(wnd, &text[0], static_cast<int>(text.size()))));
    return text;
}

// How many pixels a button's text runs past the room its control gives it
// (0 when it is whole, or the control shows no label): the size the button
// itself asks for to show all of it (BCM_GETIDEALSIZE, comctl32 6, whose
// buttons the tool's manifest asks for) against the control's. A group box
// has its caption on its frame, between two gaps of half a character.
int Overrun(HWND c, const wchar_t* cls, HFONT font)
{
    if (lstrcmpiW(cls, L"Button") != 0 || GetWindowTextLengthW(c) == 0)
        return 0;
    RECT r;
    GetClientRect(c, &r);
    if ((GetWindowLongW(c, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) {
        const std::wstring text = WindowTextOf(c);
        HDC dc = GetDC(c);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE size = {};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        TEXTMETRICW tm = {};
        GetTextMetricsW(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(c, dc);
        int over = size.cx + tm.tmAveCharWidth - r.right;
        return over > 0 ? over : 0;
    }
    SIZE ideal = {};
    if (!SendMessageW(c, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)))
        return -1;
    return ideal.cx > r.right ? static_cast<int>(ideal.cx - r.right) : 0;
}

std::wstring CheckDialog()
{
    HWND main = FindWindowW(L"RING", nullptr);
    HWND dialog = main ? FindWindowExW(main, nullptr, L"#32770", nullptr) : nullptr;
    if (!dialog)
        return L"error: no settings dialog in this process\n";
    std::wstring report;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        int id = GetDlgCtrlID(c);
        wchar_t cls[32] = {};
        GetClassNameW(c, cls, 32);
        // The banner draws a bitmap; its "text" is the bitmap's resource id.
        if (lstrcmpiW(cls, L"Static") == 0 &&
            (GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) {
            report += L"-\tbitmap\n";
            continue;
        }
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0));
        report += CheckText(font, id, L"text", WindowTextOf(c));
        report.insert(report.size() - 1, L"\t" + std::to_wstring(Overrun(c, cls, font)));
        if (lstrcmpiW(cls, L"ComboBox") != 0)
            continue;
        int count = static_cast<int>(SendMessageW(c, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            std::wstring item(static_cast<size_t>(SendMessageW(c, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
            item.resize(static_cast<size_t>(SendMessageW(c, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&item[0]))));
            report += CheckText(font, id, L"item " + std::to_wstring(i), item);
        }
    }
    return report;
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK GlyphHook(int code, WPARAM wParam, LPARAM lParam)
{
    static const UINT checkMessage = RegisterWindowMessageW(kCheckMessage);
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == checkMessage) {
        HWND answerTo = reinterpret_cast<HWND>(msg->wParam);
        msg->message = WM_NULL;  // the tool never sees it
        std::wstring report = CheckDialog();
        COPYDATASTRUCT data = {};
        data.cbData = static_cast<DWORD>(report.size() * sizeof(wchar_t));
        data.lpData = &report[0];
        SendMessageW(answerTo, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
