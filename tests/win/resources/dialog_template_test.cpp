// Template 109 created from the real resource: every control where the code
// and the user expect it, with its class, kind, state and caption.
#include <windows.h>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "res/resource.h"

namespace {

// What a control must be; a zero id marks a group box, found by caption.
struct ControlRow {
    int id;
    const wchar_t* className;
    const wchar_t* caption;  // nullptr: not compared (the bitmap static)
    int x, y, w, h;          // dialog units
    DWORD kind;              // button type (BS_...), or style bits that must all be set
    bool enabled;
};

constexpr DWORD kKeyBox = ES_CENTER | ES_READONLY;
constexpr DWORD kCombo = CBS_DROPDOWNLIST;

const ControlRow kControls[] = {
    {0, L"Button", L"情報", 7, 7, 274, 87, BS_GROUPBOX, true},
    {IDC_REPORT, L"Edit", L"", 15, 21, 256, 65,
     ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL, true},
    {0, L"Button", L"キー設定", 7, 101, 274, 293, BS_GROUPBOX, true},
    {0, L"Button", L"1P 側設定", 16, 112, 126, 273, BS_GROUPBOX, true},
    {0, L"Button", L"2P 側設定", 149, 112, 123, 273, BS_GROUPBOX, true},
    {IDC_FORCE_DIR_1P, L"Button", L"方向キーを強制設定（アナログ不可）", 22, 126, 115, 10, BS_AUTOCHECKBOX, true},
    {IDC_BEGIN_ASSIGN_1P, L"Button", L"設定開始", 23, 142, 42, 14, BS_PUSHBUTTON, true},
    {IDC_END_ASSIGN_1P, L"Button", L"設定終了", 86, 142, 42, 14, BS_PUSHBUTTON, true},
    {IDC_FORCE_DIR_2P, L"Button", L"方向キーを強制設定（アナログ不可）", 156, 126, 115, 10, BS_AUTOCHECKBOX, false},
    {IDC_BEGIN_ASSIGN_2P, L"Button", L"設定開始", 157, 142, 42, 14, BS_PUSHBUTTON, false},
    {IDC_END_ASSIGN_2P, L"Button", L"設定終了", 217, 142, 42, 14, BS_PUSHBUTTON, false},

    {IDC_P1_RADIO_UP, L"Button", L"↑：上", 22, 164, 33, 10, BS_AUTORADIOBUTTON, false},
    {IDC_P1_RADIO_DOWN, L"Button", L"↓：下", 22, 181, 33, 10, BS_AUTORADIOBUTTON, false},
    {IDC_P1_RADIO_LEFT, L"Button", L"←：左", 22, 198, 33, 10, BS_AUTORADIOBUTTON, false},
    {IDC_P1_RADIO_RIGHT, L"Button", L"→：右", 22, 215, 33, 10, BS_AUTORADIOBUTTON, false},
    {IDC_P1_RADIO_A, L"Button", L"A：攻撃", 22, 232, 36, 10, BS_AUTORADIOBUTTON, false},
    {IDC_P1_RADIO_B, L"Button", L"B：ジャンプ", 22, 249, 47, 10, BS_AUTORADIOBUTTON, false},
    {IDC_P1_RADIO_C, L"Button", L"C：ダッシュ", 22, 266, 47, 10, BS_AUTORADIOBUTTON, false},
    {IDC_P1_RADIO_D, L"Button", L"D：緊急回避", 22, 283, 47, 10, BS_AUTORADIOBUTTON, false},
    {IDC_P1_RADIO_L1, L"Button", L"L1：必殺技", 22, 300, 44, 10, BS_AUTORADIOBUTTON, false},
    {IDC_P1_RADIO_R1, L"Button", L"R1：カメラセット", 22, 317, 61, 10, BS_AUTORADIOBUTTON, false},
    {IDC_P1_RADIO_L2, L"Button", L"L2：カメラ回転", 22, 334, 55, 10, BS_AUTORADIOBUTTON, false},
    {IDC_P1_RADIO_R2, L"Button", L"R2：カメラ回転", 23, 351, 55, 10, BS_AUTORADIOBUTTON, false},
    {IDC_P1_RADIO_START, L"Button", L"START：メニュー", 23, 368, 58, 10, BS_AUTORADIOBUTTON, false},
    {IDC_P1_EDIT_UP, L"Edit", L"", 86, 162, 48, 12, kKeyBox, true},
    {IDC_P1_EDIT_DOWN, L"Edit", L"", 86, 179, 48, 12, kKeyBox, true},
    {IDC_P1_EDIT_LEFT, L"Edit", L"", 86, 196, 48, 12, kKeyBox, true},
    {IDC_P1_EDIT_RIGHT, L"Edit", L"", 86, 213, 48, 12, kKeyBox, true},
    {IDC_P1_EDIT_A, L"Edit", L"", 86, 230, 48, 12, kKeyBox, true},
    {IDC_P1_EDIT_B, L"Edit", L"", 86, 247, 48, 12, kKeyBox, true},
    {IDC_P1_EDIT_C, L"Edit", L"", 86, 264, 48, 12, kKeyBox, true},
    {IDC_P1_EDIT_D, L"Edit", L"", 86, 281, 48, 12, kKeyBox, true},
    {IDC_P1_EDIT_L1, L"Edit", L"", 86, 298, 48, 12, kKeyBox, true},
    {IDC_P1_EDIT_R1, L"Edit", L"", 86, 315, 48, 12, kKeyBox, true},
    {IDC_P1_EDIT_L2, L"Edit", L"", 86, 332, 48, 12, kKeyBox, true},
    {IDC_P1_EDIT_R2, L"Edit", L"", 87, 349, 48, 12, kKeyBox, true},
    {IDC_P1_EDIT_START, L"Edit", L"", 87, 366, 48, 12, kKeyBox, true},

    {IDC_P2_RADIO_UP, L"Button", L"↑：上", 157, 164, 33, 10, BS_RADIOBUTTON, false},
    {IDC_P2_RADIO_DOWN, L"Button", L"↓：下", 157, 181, 33, 10, BS_RADIOBUTTON, false},
    {IDC_P2_RADIO_LEFT, L"Button", L"←：左", 157, 198, 33, 10, BS_RADIOBUTTON, false},
    {IDC_P2_RADIO_RIGHT, L"Button", L"→：右", 157, 215, 33, 10, BS_RADIOBUTTON, false},
    {IDC_P2_RADIO_A, L"Button", L"A：攻撃", 157, 232, 36, 10, BS_RADIOBUTTON, false},
    {IDC_P2_RADIO_B, L"Button", L"B：ジャンプ", 157, 249, 47, 10, BS_RADIOBUTTON, false},
    {IDC_P2_RADIO_C, L"Button", L"C：機能未定", 157, 266, 47, 10, BS_RADIOBUTTON, false},
    {IDC_P2_RADIO_X, L"Button", L"X：緊急回避", 157, 283, 47, 10, BS_RADIOBUTTON, false},
    {IDC_P2_RADIO_L1, L"Button", L"L1：必殺技", 157, 300, 44, 10, BS_RADIOBUTTON, false},
    {IDC_P2_RADIO_R1, L"Button", L"R1：カメラセット", 157, 317, 61, 10, BS_RADIOBUTTON, false},
    {IDC_P2_RADIO_L2, L"Button", L"L2：カメラ回転", 157, 334, 55, 10, BS_RADIOBUTTON, false},
    {IDC_P2_RADIO_R2, L"Button", L"R2：カメラ回転", 157, 351, 55, 10, BS_RADIOBUTTON, false},
    {IDC_P2_RADIO_START, L"Button", L"START：メニュー", 157, 368, 58, 10, BS_RADIOBUTTON, false},
    {IDC_P2_EDIT_UP, L"Edit", L"", 217, 162, 48, 12, kKeyBox, true},
    {IDC_P2_EDIT_DOWN, L"Edit", L"", 217, 179, 48, 12, kKeyBox, true},
    {IDC_P2_EDIT_LEFT, L"Edit", L"", 217, 196, 48, 12, kKeyBox, true},
    {IDC_P2_EDIT_RIGHT, L"Edit", L"", 217, 213, 48, 12, kKeyBox, true},
    {IDC_P2_EDIT_A, L"Edit", L"", 217, 230, 48, 12, kKeyBox, true},
    {IDC_P2_EDIT_B, L"Edit", L"", 217, 247, 48, 12, kKeyBox, true},
    {IDC_P2_EDIT_C, L"Edit", L"", 217, 264, 48, 12, kKeyBox, true},
    {IDC_P2_EDIT_X, L"Edit", L"", 217, 281, 48, 12, kKeyBox, true},
    {IDC_P2_EDIT_L1, L"Edit", L"", 217, 298, 48, 12, kKeyBox, true},
    {IDC_P2_EDIT_R1, L"Edit", L"", 217, 315, 48, 12, kKeyBox, true},
    {IDC_P2_EDIT_L2, L"Edit", L"", 217, 332, 48, 12, kKeyBox, true},
    {IDC_P2_EDIT_R2, L"Edit", L"", 217, 349, 48, 12, kKeyBox, true},
    {IDC_P2_EDIT_START, L"Edit", L"", 217, 366, 48, 12, kKeyBox, true},

    {0, L"Button", L"WEB", 290, 7, 129, 47, BS_GROUPBOX, true},
    {IDC_BANNER, L"Static", nullptr, 298, 20, 114, 27, SS_BITMAP | SS_NOTIFY, true},
    {0, L"Button", L"解像度", 290, 59, 129, 35, BS_GROUPBOX, true},
    {IDC_RESOLUTION, L"ComboBox", L"", 298, 73, 114, 18, kCombo, true},
    {0, L"Button", L"FSAA（アンチエイリアス）", 290, 101, 129, 35, BS_GROUPBOX, true},
    {IDC_FSAA, L"ComboBox", L"", 298, 115, 114, 18, kCombo, true},
    {0, L"Button", L"起動設定", 290, 142, 129, 77, BS_GROUPBOX, true},
    {IDC_FULLSCREEN, L"Button", L"フルスクリーンで起動", 297, 156, 70, 10, BS_AUTOCHECKBOX, true},
    {IDC_FPS_LOCK, L"Button", L"FPS 固定", 297, 171, 44, 10, BS_AUTOCHECKBOX, true},
    {IDC_FPS_DISPLAY, L"Button", L"FPS 表示", 297, 186, 44, 10, BS_AUTOCHECKBOX, true},
    {IDC_BGM_IN_MEMORY, L"Button", L"BGM をメモリに展開", 297, 201, 70, 10, BS_AUTOCHECKBOX, true},
    {0, L"Button", L"３Ｄ設定（問題が起きたら変更して下さい）", 290, 228, 129, 140, BS_GROUPBOX, true},
    {IDC_SCREEN_EFFECTS, L"Button", L"画面効果（ピクセルシェーダを使用）", 297, 245, 111, 10, BS_AUTOCHECKBOX, true},
    {IDC_NO_RENDER_TEXTURE, L"Button", L"レンダーテクスチャを使用しない", 297, 262, 97, 10, BS_AUTOCHECKBOX, true},
    {IDC_TEXTURE_POW2, L"Button", L"テクスチャサイズべき乗補正", 297, 279, 89, 10, BS_AUTOCHECKBOX, true},
    {IDC_16BIT_COLOR, L"Button", L"16 ビットカラー( VRAM使用量減少 )", 297, 296, 116, 10, BS_AUTOCHECKBOX, true},
    {IDC_CEL_SHADING, L"Button", L"セルシェーディング描画", 297, 313, 77, 10, BS_AUTOCHECKBOX, false},
    {IDC_SHADOWS, L"Button", L"影を真面目に描画する", 297, 330, 78, 10, BS_AUTOCHECKBOX, false},
    {IDC_LOW_RES_MODEL, L"Button", L"低解像度モデルを使用", 297, 347, 79, 10, BS_AUTOCHECKBOX, false},
    {IDC_UPDATE, L"Button", L"更新", 290, 376, 40, 18, BS_PUSHBUTTON, true},
    {IDC_DEFAULT, L"Button", L"デフォルト", 334, 376, 40, 18, BS_PUSHBUTTON, true},
    {IDC_CANCEL, L"Button", L"キャンセル", 379, 376, 40, 18, BS_PUSHBUTTON, true},
};

INT_PTR CALLBACK IgnoreAll(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

std::wstring TextOf(HWND w)
{
    wchar_t buffer[256] = L"";
    GetWindowTextW(w, buffer, 256);
    return buffer;
}

std::wstring ClassOf(HWND w)
{
    wchar_t buffer[64] = L"";
    GetClassNameW(w, buffer, 64);
    return buffer;
}

RECT RectInDialog(HWND dialog, HWND control)
{
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Style of each item of an extended template without menu, class or caption,
// by control id.
std::map<int, DWORD> ItemStyles(const BYTE* t)
{
    auto align = [t](const BYTE* p) { return t + ((p - t + 3) & ~3); };
    auto skipText = [](const BYTE* p) {
        if (*reinterpret_cast<const WORD*>(p) == 0xFFFF)
            return p + 4;
        while (*reinterpret_cast<const WORD*>(p))
            p += 2;
        return p + 2;
    };
    const int count = *reinterpret_cast<const WORD*>(t + 16);
    const BYTE* p = align(skipText(t + 38));
    std::map<int, DWORD> styles;
    for (int i = 0; i < count; ++i) {
        const DWORD style = *reinterpret_cast<const DWORD*>(p + 8);
        const int id = *reinterpret_cast<const int*>(p + 20);
        p = skipText(skipText(p + 24));
        p = align(p + 2 + *reinterpret_cast<const WORD*>(p));
        styles[id] = style;
    }
    return styles;
}

class DialogTemplate : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent_ = CreateWindowExW(0, L"Static", L"", WS_OVERLAPPEDWINDOW, 0, 0, 800, 700, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(parent_, nullptr);
        dialog_ = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETTINGS), parent_,
                                     IgnoreAll, 0);
        ASSERT_NE(dialog_, nullptr) << "error " << GetLastError();
    }
    void TearDown() override
    {
        if (parent_)
            DestroyWindow(parent_);
    }

    // Group boxes have no id of their own: the child group box with this caption.
    HWND FindGroupBox(const wchar_t* caption) const
    {
        for (HWND w = GetWindow(dialog_, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
            if ((GetWindowLongW(w, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX && ClassOf(w) == L"Button"
                && TextOf(w) == caption)
                return w;
        }
        return nullptr;
    }

    HWND parent_ = nullptr;
    HWND dialog_ = nullptr;
};

TEST_F(DialogTemplate, IsAnInvisibleCaptionlessChildOfTheTemplateSize)
{
    const LONG style = GetWindowLongW(dialog_, GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_VISIBLE);
    EXPECT_NE(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(GetWindowLongW(dialog_, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    EXPECT_EQ(GetParent(dialog_), parent_);

    RECT want = {0, 0, 426, 401};
    MapDialogRect(dialog_, &want);
    RECT got;
    GetWindowRect(dialog_, &got);
    MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&got), 2);
    EXPECT_EQ(got.left, 0);
    EXPECT_EQ(got.top, 0);
    EXPECT_EQ(got.right - got.left, want.right);
    EXPECT_EQ(got.bottom - got.top, want.bottom);

    LOGFONTW font = {};
    ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog_, WM_GETFONT, 0, 0)),
                           sizeof font, &font));
    EXPECT_STREQ(font.lfFaceName, L"MS UI Gothic");
}

// The window system does not keep every font field of the template (Wine asks
// for the default character set), so those are read from the template itself.
TEST(DialogTemplateHeader, HasNoMenuClassOrCaptionAndAsksForTheShiftJisFont)
{
    HMODULE self = GetModuleHandleW(nullptr);
    HRSRC res = FindResourceW(self, MAKEINTRESOURCEW(IDD_SETTINGS), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    ASSERT_NE(res, nullptr);
    const BYTE* t = static_cast<const BYTE*>(LockResource(LoadResource(self, res)));
    ASSERT_NE(t, nullptr);
    auto word = [t](int offset) { return *reinterpret_cast<const WORD*>(t + offset); };
    EXPECT_EQ(word(0), 1);       // extended template
    EXPECT_EQ(word(2), 0xFFFF);
    EXPECT_EQ(word(16), sizeof kControls / sizeof kControls[0]);
    EXPECT_EQ(word(26), 0);      // no menu
    EXPECT_EQ(word(28), 0);      // standard dialog class
    EXPECT_EQ(word(30), 0);      // empty caption
    EXPECT_EQ(word(32), 9);      // point size
    EXPECT_EQ(word(34), 400);    // weight
    EXPECT_EQ(t[36], 0);         // not italic
    EXPECT_EQ(t[37], SHIFTJIS_CHARSET);
    EXPECT_STREQ(reinterpret_cast<const wchar_t*>(t + 38), L"MS UI Gothic");

    // Bits the live controls take off their own style: a combo box hands its
    // scroll bar to the drop-down list, an edit box turns its border into an
    // edge. They must be in the template all the same.
    const std::map<int, DWORD> styles = ItemStyles(t);
    for (int id : {IDC_RESOLUTION, IDC_FSAA}) {
        ASSERT_TRUE(styles.count(id));
        EXPECT_TRUE(styles.at(id) & WS_VSCROLL) << id;
    }
    for (const ControlRow& c : kControls) {
        if (std::wstring(c.className) == L"Edit") {
            ASSERT_TRUE(styles.count(c.id));
            EXPECT_TRUE(styles.at(c.id) & WS_BORDER) << c.id;
        }
    }
}

TEST_F(DialogTemplate, EveryControlHasItsClassKindStateCaptionAndPlace)
{
    std::set<HWND> seen;
    for (const ControlRow& c : kControls) {
        SCOPED_TRACE(testing::Message() << "control " << c.id << " at " << c.x << "," << c.y);
        HWND w = c.id ? GetDlgItem(dialog_, c.id) : FindGroupBox(c.caption);
        ASSERT_NE(w, nullptr);
        seen.insert(w);

        EXPECT_EQ(ClassOf(w), c.className);
        const DWORD style = static_cast<DWORD>(GetWindowLongW(w, GWL_STYLE));
        if (std::wstring(c.className) == L"Button") {
            EXPECT_EQ(style & BS_TYPEMASK, c.kind);
        } else {
            EXPECT_EQ(style & c.kind, c.kind);
        }
        if (std::wstring(c.className) == L"Edit") {
            // An edit box turns its WS_BORDER into a sunken client edge.
            EXPECT_TRUE((style & WS_BORDER) || (GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
        }

        EXPECT_TRUE(style & WS_VISIBLE);
        EXPECT_EQ(IsWindowEnabled(w) != FALSE, c.enabled);
        if (c.caption) {
            EXPECT_EQ(TextOf(w), c.caption);
        }

        // Position and size convert separately, as the dialog manager does.
        RECT want = {c.x, c.y, c.w, c.h};
        MapDialogRect(dialog_, &want);
        const RECT got = RectInDialog(dialog_, w);
        EXPECT_EQ(got.left, want.left);
        EXPECT_EQ(got.top, want.top);
        if (c.id == IDC_BANNER) {
            // A bitmap static takes the size of its picture.
            EXPECT_EQ(got.right - got.left, 200);
            EXPECT_EQ(got.bottom - got.top, 40);
        } else {
            EXPECT_EQ(got.right - got.left, want.right);
            // A closed drop-down list is shorter than its template height.
            if (std::wstring(c.className) != L"ComboBox") {
                EXPECT_EQ(got.bottom - got.top, want.bottom);
            }
        }
    }

    // Nothing in the template beyond the table.
    int children = 0;
    for (HWND w = GetWindow(dialog_, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        ++children;
    EXPECT_EQ(children, static_cast<int>(seen.size()));
    EXPECT_EQ(seen.size(), sizeof kControls / sizeof kControls[0]);
}

TEST_F(DialogTemplate, PlayerOneRadiosFormOneAutomaticGroupAndPlayerTwoIsLeftAlone)
{
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(dialog_, IDC_P1_RADIO_UP), GWL_STYLE) & WS_GROUP);
    // Clicking the first radio clears the last one of the same group, and
    // nothing of player 2.
    for (int id : {IDC_P1_RADIO_UP, IDC_P1_RADIO_START, IDC_P2_RADIO_UP})
        EnableWindow(GetDlgItem(dialog_, id), TRUE);
    CheckDlgButton(dialog_, IDC_P1_RADIO_START, BST_CHECKED);
    CheckDlgButton(dialog_, IDC_P2_RADIO_UP, BST_CHECKED);
    SendDlgItemMessageW(dialog_, IDC_P1_RADIO_UP, BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_P1_RADIO_UP), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_P1_RADIO_START), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog_, IDC_P2_RADIO_UP), BST_CHECKED);
}

TEST(Artwork, BannerIs200By40In24Bits)
{
    HBITMAP banner = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_BANNER),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(banner, nullptr);
    BITMAP info = {};
    ASSERT_TRUE(GetObjectW(banner, sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 200);
    EXPECT_EQ(info.bmHeight, 40);
    EXPECT_EQ(info.bmBitsPixel, 24);
    DeleteObject(banner);
}

TEST(Artwork, IconIsOne32By32ImageOf256Colours)
{
    HMODULE self = GetModuleHandleW(nullptr);
    // The group directory: one entry, 32 x 32, 8 bits per pixel.
    HRSRC group = FindResourceW(self, MAKEINTRESOURCEW(IDI_APP), MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */);
    ASSERT_NE(group, nullptr);
    const BYTE* dir = static_cast<const BYTE*>(LockResource(LoadResource(self, group)));
    ASSERT_NE(dir, nullptr);
    const WORD count = *reinterpret_cast<const WORD*>(dir + 4);
    ASSERT_EQ(count, 1);
    const BYTE* entry = dir + 6;
    EXPECT_EQ(entry[0], 32);                                   // width
    EXPECT_EQ(entry[1], 32);                                   // height
    EXPECT_EQ(*reinterpret_cast<const WORD*>(entry + 6), 8);  // bits per pixel

    HICON icon = static_cast<HICON>(LoadImageW(self, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    ASSERT_NE(icon, nullptr);
    ICONINFO parts = {};
    ASSERT_TRUE(GetIconInfo(icon, &parts));
    BITMAP colour = {};
    ASSERT_TRUE(GetObjectW(parts.hbmColor, sizeof colour, &colour));
    EXPECT_EQ(colour.bmWidth, 32);
    EXPECT_EQ(colour.bmHeight, 32);
    DeleteObject(parts.hbmColor);
    DeleteObject(parts.hbmMask);
    DestroyIcon(icon);
}

TEST(Artwork, ManifestLeavesFileVirtualisationOnAndNamesThisBuildsProcessor)
{
    HMODULE self = GetModuleHandleW(nullptr);
    HRSRC res = FindResourceW(self, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24) /* RT_MANIFEST */);
    ASSERT_NE(res, nullptr);
    const char* text = static_cast<const char*>(LockResource(LoadResource(self, res)));
    const std::string manifest(text, SizeofResource(self, res));
    // Any execution level would switch off file virtualisation.
    EXPECT_EQ(manifest.find("<trustInfo"), std::string::npos);
    EXPECT_EQ(manifest.find("<requestedExecutionLevel"), std::string::npos);
    const std::string arch = sizeof(void*) == 8 ? "processorArchitecture=\"amd64\""
                                                : "processorArchitecture=\"x86\"";
    size_t named = 0;
    for (size_t at = manifest.find("processorArchitecture="); at != std::string::npos;
         at = manifest.find("processorArchitecture=", at + 1)) {
        EXPECT_EQ(manifest.compare(at, arch.size(), arch), 0) << manifest.substr(at, 32);
        ++named;
    }
    EXPECT_EQ(named, 2u) << "the tool's own identity and the common controls";
}

}  // namespace
