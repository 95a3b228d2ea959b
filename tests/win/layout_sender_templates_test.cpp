// The templates of the card layout dialog and the sender editor as Windows
// creates them: every control with its id, kind and caption, all of them
// inside the dialog and none covering another.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/resource_ids.h"
#include "editors/card_layout_ids.h"
#include "editors/sender_editor_ids.h"

namespace {

INT_PTR CALLBACK quiet_proc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

std::wstring text_of(HWND window) {
    wchar_t buffer[256] = {};
    GetWindowTextW(window, buffer, 256);
    return buffer;
}

std::wstring class_of(HWND window) {
    wchar_t buffer[64] = {};
    GetClassNameW(window, buffer, 64);
    return buffer;
}

// A control as the tables list it: "" as caption means not checked (edits
// and the labels the dialog fills).
struct Control {
    int id;
    const wchar_t* kind;  // window class
    const wchar_t* caption;
};

// Creates the dialog hidden, checks the controls and that no two of them
// (group boxes aside) overlap or leave the client area, and that the
// labels of `labels` stand in the dialog.
void check_template(int dialog_id, const std::vector<Control>& controls,
                    const std::vector<std::wstring>& labels, int default_button) {
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(dialog_id),
                                     nullptr, quiet_proc, 0);
    ASSERT_NE(dialog, nullptr);
    RECT client;
    GetClientRect(dialog, &client);
    for (const Control& c : controls) {
        HWND control = GetDlgItem(dialog, c.id);
        ASSERT_NE(control, nullptr) << "control " << c.id;
        EXPECT_EQ(class_of(control), c.kind) << "control " << c.id;
        if (*c.caption) EXPECT_EQ(text_of(control), c.caption) << "control " << c.id;
    }
    EXPECT_EQ(LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)), default_button);

    std::vector<std::wstring> texts;
    std::vector<RECT> boxes;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        texts.push_back(text_of(child));
        if ((GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX &&
            class_of(child) == L"Button")
            continue;
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right &&
                    r.bottom <= client.bottom)
            << "outside the dialog: " << GetDlgCtrlID(child);
        for (const RECT& other : boxes) {
            RECT both;
            EXPECT_FALSE(IntersectRect(&both, &r, &other)) << "overlaps: " << GetDlgCtrlID(child);
        }
        boxes.push_back(r);
    }
    for (size_t i = 0; i < labels.size(); ++i)
        EXPECT_NE(std::find(texts.begin(), texts.end(), labels[i]), texts.end()) << "label " << i;
    DestroyWindow(dialog);
}

TEST(LayoutSenderTemplates, CardLayoutDialogHasEveryControlOfItsTable) {
    const wchar_t* E = L"Edit";
    const wchar_t* B = L"Button";
    const wchar_t* S = L"Static";
    std::vector<Control> controls = {
        {IDC_CL_BITMAP, E, L""}, {IDC_CL_BROWSE, B, L"参照"},
        {IDC_CL_BASE_W, E, L""}, {IDC_CL_BASE_H, E, L""},
        {IDC_CL_TOP, E, L""}, {IDC_CL_SPACING, E, L""},
        {IDC_CL_RESET, B, L"座標初期化"}, {IDC_CL_NEXT_PAGE, B, L"次"},
        {IDC_CL_PREVIOUS_PAGE, B, L"戻"}, {IDC_CL_PAGE, S, L""},
        {IDC_CL_COPY, B, L"コピー"}, {IDC_CL_PASTE, B, L"ペースト"},
        {IDC_CL_PASTE_ALL, B, L"全部ペースト"}, {IDC_CL_SAVE_CLOSE, B, L"保存後閉じる"},
        {IDC_CL_UNDO, B, L"元に戻す"}, {IDC_CL_REFRESH, B, L"画面更新"},
        {IDC_CL_RELOAD, B, L"画面取込"},
    };
    for (int id : {IDC_CL_TT_X1, IDC_CL_TT_Y1, IDC_CL_TT_W1, IDC_CL_TT_X2, IDC_CL_TT_Y2,
                   IDC_CL_TT_W2, IDC_CL_FT_X1, IDC_CL_FT_Y1, IDC_CL_FT_W1, IDC_CL_FT_X2,
                   IDC_CL_FT_Y2, IDC_CL_FT_W2})
        controls.push_back({id, E, L""});
    for (int font : {IDC_CL_TT_FONT, IDC_CL_TA_FONT, IDC_CL_TN_FONT, IDC_CL_FT_FONT,
                     IDC_CL_FA_FONT, IDC_CL_FN_FONT})
        controls.push_back({font, B, L"Font"});
    for (int colour : {IDC_CL_TT_COLOUR, IDC_CL_TA_COLOUR, IDC_CL_TN_COLOUR, IDC_CL_FT_COLOUR,
                       IDC_CL_FA_COLOUR, IDC_CL_FN_COLOUR})
        controls.push_back({colour, B, L"色"});
    struct Line {
        int x, y, label, next, previous, tops, spacing;
    };
    for (const Line& l : {
             Line{IDC_CL_TA_X, IDC_CL_TA_Y, IDC_CL_TA_LINE, IDC_CL_TA_NEXT, IDC_CL_TA_PREVIOUS,
                  IDC_CL_TA_TOPS, IDC_CL_TA_SPACING},
             Line{IDC_CL_TN_X, IDC_CL_TN_Y, IDC_CL_TN_LINE, IDC_CL_TN_NEXT, IDC_CL_TN_PREVIOUS,
                  IDC_CL_TN_TOPS, IDC_CL_TN_SPACING},
             Line{IDC_CL_FA_X, IDC_CL_FA_Y, IDC_CL_FA_LINE, IDC_CL_FA_NEXT, IDC_CL_FA_PREVIOUS,
                  IDC_CL_FA_TOPS, IDC_CL_FA_SPACING},
             Line{IDC_CL_FN_X, IDC_CL_FN_Y, IDC_CL_FN_LINE, IDC_CL_FN_NEXT, IDC_CL_FN_PREVIOUS,
                  IDC_CL_FN_TOPS, IDC_CL_FN_SPACING},
         }) {
        controls.insert(controls.end(), {{l.x, E, L""}, {l.y, E, L""}, {l.label, S, L""},
                                         {l.next, B, L"＋"}, {l.previous, B, L"－"},
                                         {l.tops, B, L"高"}, {l.spacing, B, L"横"}});
    }
    check_template(IDD_CARD_LAYOUT, controls,
                   {L"BITMAPのファイル保存先", L"あて先側", L"差出側", L"自動処理用設定値",
                    L"基本Data一括変更", L"3桁", L"4桁", L"〒", L"X", L"Y", L"W", L"住所", L"氏名",
                    L"高さ", L"幅", L"BitmapSizeX", L"BitmapSizeY"},
                   IDC_CL_SAVE_CLOSE);
}

TEST(LayoutSenderTemplates, SenderEditorHasEveryControlOfItsTable) {
    const wchar_t* E = L"Edit";
    const wchar_t* B = L"Button";
    const wchar_t* S = L"Static";
    check_template(IDD_SENDER_EDITOR,
                   {{IDC_SE_POSTAL, E, L""}, {IDC_SE_POSTAL_LABEL, S, L"郵便番号"},
                    {IDC_SE_NAME, E, L""}, {IDC_SE_NAME_LINE, S, L""},
                    {IDC_SE_NAME_NEXT, B, L"＋"}, {IDC_SE_NAME_PREVIOUS, B, L"－"},
                    {IDC_SE_ADDRESS, E, L""}, {IDC_SE_ADDRESS_LINE, S, L""},
                    {IDC_SE_ADDRESS_NEXT, B, L"＋"}, {IDC_SE_ADDRESS_PREVIOUS, B, L"－"},
                    {IDC_SE_SENDER, S, L""}, {IDC_SE_ADD, B, L"追加"},
                    {IDC_SE_SENDER_NEXT, B, L"＋"}, {IDC_SE_SENDER_PREVIOUS, B, L"－"},
                    {IDC_SE_SAVE_CLOSE, B, L"保存後閉じる"}, {IDC_SE_UNDO, B, L"元に戻す"},
                    {IDC_SE_REFRESH, B, L"画面更新"}},
                   {L"住所", L"氏名"}, IDC_SE_SAVE_CLOSE);
}

}  // namespace
