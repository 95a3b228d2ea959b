// The program's resources as Windows loads them: the menu with its texts,
// mnemonics and commands, the dialog templates, bitmaps, icons and the
// application manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/resource_ids.h"

namespace {

HINSTANCE module() { return GetModuleHandleW(nullptr); }

// One menu as a flat outline: "text=id" per item, "text>" before a submenu's
// items and "<" after them, "-" for a separator.
void outline(HMENU menu, std::vector<std::wstring>& out) {
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 128;
        ASSERT_TRUE(GetMenuItemInfoW(menu, i, TRUE, &info));
        if (info.fType & MFT_SEPARATOR) {
            out.push_back(L"-");
        } else if (info.hSubMenu) {
            out.push_back(std::wstring(text) + L">");
            outline(info.hSubMenu, out);
            out.push_back(L"<");
        } else {
            out.push_back(std::wstring(text) + L"=" + std::to_wstring(info.wID));
        }
    }
}

TEST(Resources, MainMenuHasEveryItemWithItsTextMnemonicAndCommand) {
    HMENU menu = LoadMenuW(module(), MAKEINTRESOURCEW(IDM_MAIN));
    ASSERT_NE(menu, nullptr);
    std::vector<std::wstring> items;
    outline(menu, items);
    // The two fitting switches start checked.
    EXPECT_EQ(GetMenuState(menu, 73, MF_BYCOMMAND) & MF_CHECKED, UINT(MF_CHECKED));
    EXPECT_EQ(GetMenuState(menu, 74, MF_BYCOMMAND) & MF_CHECKED, UINT(MF_CHECKED));
    DestroyMenu(menu);
    const std::vector<std::wstring> expected = {
        L"ファイル(&F)>",
        L"新規作成(&N)=51",
        L"開く(&O)>", L"差出情報開く(&F)=52", L"宛先情報開く(&T)=53", L"文字情報開く(&D)=54",
        L"CSVから読込(&I)=69", L"連絡先(vCard)から読込(&V)=72", L"<",
        L"保存(&S)>", L"差出情報保存(&F)=55", L"宛先情報保存(&T)=56", L"文字情報保存(&D)=57",
        L"CSVで保存(&C)=58", L"BITMAPで保存(&B)=59", L"<",
        L"-",
        L"郵便番号データの更新(&U)=76",
        L"旧ファイル(&K)>", L"旧ファイル１で開く(&F)=60", L"旧ファイル２で開く(&S)=61", L"<",
        L"<",
        L"編集(&E)>", L"葉書の設定(&B)=62", L"差出人の編集(&T)=63", L"宛先の編集(&A)=64", L"<",
        L"印刷(&P)>", L"印字の位置設定(&I)=65", L"プリンタの設定(&S)=66",
        L"一覧で確認(&L)=75", L"印刷(&P)=67", L"-", L"長い行を縮めて収める(&F)=73",
        L"連名・敬称を揃える(&R)=74", L"縦書きの形で印刷(&V)=77", L"数字を漢数字で印刷(&K)=78", L"<",
        L"ﾍﾙﾌﾟ(&H)>", L"ﾍﾙﾌﾟ(&W)=68", L"このソフトについて(&S)=70", L"<",
        L"終了(&X)=71",
    };
    EXPECT_EQ(items, expected);
}

std::wstring text_of(HWND window) {
    wchar_t buffer[256] = {};
    GetWindowTextW(window, buffer, 256);
    return buffer;
}

INT_PTR CALLBACK quiet_proc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

// Creates a dialog from a template, hidden, for inspection.
struct Dialog {
    explicit Dialog(const wchar_t* name)
        : window(CreateDialogParamW(module(), name, nullptr, quiet_proc, 0)) {}
    ~Dialog() {
        if (window) DestroyWindow(window);
    }
    std::wstring face() const {
        LOGFONTW lf{};
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
        if (!font || !GetObjectW(font, sizeof lf, &lf)) return L"";
        return lf.lfFaceName;
    }
    HWND window;
};

TEST(Resources, DialogsOneToEightAndPrnstopHaveTheirCaptionsAndFont) {
    struct Expect {
        int id;
        const wchar_t* caption;
    };
    const Expect dialogs[] = {
        {IDD_ABOUT, L"このソフトについて"}, {IDD_CARD_LAYOUT, L"葉書の設定"},
        {IDD_SENDER_EDITOR, L"差出人の設定"}, {IDD_ADDRESSEE_LIST, L"あて先の編集"},
        {IDD_ONE_LINE_EDITOR, L"１行編集"}, {IDD_PRINT_POSITION, L"印刷の位置設定"},
        {IDD_WAIT, L"Zelkovane"}, {IDD_PRINTER_NOTICE, L"印刷設定"},
    };
    for (const Expect& e : dialogs) {
        Dialog d(MAKEINTRESOURCEW(e.id));
        ASSERT_NE(d.window, nullptr) << "dialog " << e.id;
        EXPECT_EQ(text_of(d.window), e.caption) << "dialog " << e.id;
        EXPECT_EQ(d.face(), L"ＭＳ Ｐゴシック") << "dialog " << e.id;
        EXPECT_FALSE(IsWindowVisible(d.window)) << "dialog " << e.id << " is shown by its caller";
    }
    Dialog abort_dialog(L"PRNSTOP");
    ASSERT_NE(abort_dialog.window, nullptr);
    EXPECT_NE(GetDlgItem(abort_dialog.window, IDCANCEL), nullptr);
}

TEST(Resources, AboutBoxOffersOkAndPrinterNoticeItsPlaceholderText) {
    Dialog about(MAKEINTRESOURCEW(IDD_ABOUT));
    ASSERT_NE(about.window, nullptr);
    EXPECT_EQ(text_of(GetDlgItem(about.window, IDOK)), L"OK");

    Dialog notice(MAKEINTRESOURCEW(IDD_PRINTER_NOTICE));
    ASSERT_NE(notice.window, nullptr);
    HWND text = GetDlgItem(notice.window, IDC_NOTICE_TEXT);
    EXPECT_EQ(text_of(text), L"AAAAをBBBBからはがきサイズにしました");
    EXPECT_EQ(GetWindowLongW(text, GWL_STYLE) & SS_TYPEMASK, SS_CENTER);
}

TEST(Resources, BitmapsHaveTheirSizesAndDepth) {
    struct Expect {
        int id, width, height;
    };
    for (const Expect& e : {Expect{IDB_ABOUT, 160, 103}, Expect{IDB_TOOLBAR, 288, 32}}) {
        HBITMAP bitmap = static_cast<HBITMAP>(
            LoadImageW(module(), MAKEINTRESOURCEW(e.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(bitmap, nullptr) << "bitmap " << e.id;
        DIBSECTION dib{};
        ASSERT_EQ(GetObjectW(bitmap, sizeof dib, &dib), static_cast<int>(sizeof dib));
        EXPECT_EQ(dib.dsBmih.biWidth, e.width) << "bitmap " << e.id;
        EXPECT_EQ(dib.dsBmih.biHeight, e.height) << "bitmap " << e.id;
        EXPECT_EQ(dib.dsBmih.biBitCount, 8) << "bitmap " << e.id;
        DeleteObject(bitmap);
    }
}

TEST(Resources, IconsAreLargeAndSmall) {
    struct Expect {
        int id, size;
    };
    for (const Expect& e : {Expect{IDI_ZELKOVANE, 32}, Expect{IDI_ZELKOVANE_SMALL, 16}}) {
        HICON icon = static_cast<HICON>(
            LoadImageW(module(), MAKEINTRESOURCEW(e.id), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
        ASSERT_NE(icon, nullptr) << "icon " << e.id;
        // The resource holds exactly one image of its size.
        HRSRC group = FindResourceW(module(), MAKEINTRESOURCEW(e.id), MAKEINTRESOURCEW(14));
        ASSERT_NE(group, nullptr);
        const BYTE* dir = static_cast<const BYTE*>(LockResource(LoadResource(module(), group)));
        ASSERT_NE(dir, nullptr);
        EXPECT_EQ(dir[4], 1) << "one image";
        EXPECT_EQ(dir[6], e.size) << "icon " << e.id;
        EXPECT_EQ(dir[7], e.size) << "icon " << e.id;
        DestroyIcon(icon);
    }
}

// The manifest embedded in the built Zelkovane.exe (next to this program):
// common controls 6, GDI scaling of a DPI-unaware process, Windows 7 to 11,
// no elevation. This program carries the same resources, so the version 6
// controls are the ones it runs with.
TEST(Resources, ProgramManifestAsksForCommonControls6GdiScalingAndNoElevation) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring exe(path);
    exe = exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"Zelkovane.exe";
    HMODULE program = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr) << "no program at " << std::string(exe.begin(), exe.end());
    HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(found, nullptr);
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(program, found)));
    ASSERT_NE(bytes, nullptr);
    const std::string xml(bytes, SizeofResource(program, found));
    FreeLibrary(program);
    for (const char* part : {
             "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
             "publicKeyToken=\"6595b64144ccf1df\"",
             "<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>",  // 7
             "<supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>",  // 8
             "<supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>",  // 8.1
             "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>",  // 10, 11
             "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">false</dpiAware>",
             "<gdiScaling xmlns=\"http://schemas.microsoft.com/SMI/2017/WindowsSettings\">true</gdiScaling>",
             "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"})
        EXPECT_NE(xml.find(part), std::string::npos) << part;
    EXPECT_EQ(xml.find("dpiAwareness"), std::string::npos) << "the process stays DPI-unaware";

    // The common controls come from the version 6 assembly (Wine's reports
    // 5.81 from its DllGetVersion, so its place tells).
    HMODULE controls = GetModuleHandleW(L"comctl32.dll");
    ASSERT_NE(controls, nullptr);
    wchar_t loaded[MAX_PATH] = {};
    GetModuleFileNameW(controls, loaded, MAX_PATH);
    CharLowerW(loaded);
    EXPECT_NE(std::wstring(loaded).find(L"microsoft.windows.common-controls_6595b64144ccf1df_6."),
              std::wstring::npos)
        << std::string(loaded, loaded + wcslen(loaded));
}

}  // namespace
