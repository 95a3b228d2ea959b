// The templates of the addressee list (dialog 4) and the one-line editor
// (dialog 5): every control by id with its caption and kind.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/resource_ids.h"
#include "editors/addressee_list_ids.h"
#include "editors/one_line_editor_ids.h"

namespace {

INT_PTR CALLBACK plain_dialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

struct Control {
    int id;
    const wchar_t* class_name;
    const wchar_t* caption;  // nullptr: not checked
};

void expect_controls(int dialog_id, const Control* controls, size_t count) {
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(dialog_id), nullptr,
                                     plain_dialog, 0);
    ASSERT_NE(dialog, nullptr) << "dialog " << dialog_id;
    for (size_t i = 0; i < count; ++i) {
        const Control& c = controls[i];
        HWND control = GetDlgItem(dialog, c.id);
        ASSERT_NE(control, nullptr) << "dialog " << dialog_id << " control " << c.id;
        wchar_t text[64] = {};
        GetClassNameW(control, text, 64);
        EXPECT_EQ(_wcsicmp(text, c.class_name), 0) << "control " << c.id;
        if (c.caption) {
            GetWindowTextW(control, text, 64);
            EXPECT_EQ(std::wstring(text), c.caption) << "control " << c.id;
        }
    }
    DestroyWindow(dialog);
}

TEST(AddresseeListResources, ListButtonsAndOneLineEditorControlsHaveTheirIdsAndCaptions) {
    const Control list[] = {
        {IDC_LIST_NEW, L"Button", L"新規"},       {IDC_LIST_EDIT, L"Button", L"編集"},
        {IDC_LIST_COPY, L"Button", L"コピー"},    {IDC_LIST_INSERT, L"Button", L"挿入"},
        {IDC_LIST_OVERWRITE, L"Button", L"上書き"}, {IDC_LIST_DELETE, L"Button", L"削除"},
        {IDC_LIST_SAVE_CLOSE, L"Button", L"保存後閉じる"}, {IDC_LIST_REFRESH, L"Button", L"画面更新"},
        {IDC_LIST_PRINT, L"Button", L"印刷処理"}, {IDC_LIST_UNDO, L"Button", L"元に戻す"},
    };
    expect_controls(IDD_ADDRESSEE_LIST, list, sizeof list / sizeof list[0]);

    const Control line[] = {
        {IDC_LINE_ROW_LABEL, L"Static", nullptr},    {IDC_LINE_POSTAL, L"Edit", nullptr},
        {IDC_LINE_NAME, L"Edit", nullptr},           {IDC_LINE_NAME_LABEL, L"Static", nullptr},
        {IDC_LINE_NAME_NEXT, L"Button", L"＋"},      {IDC_LINE_NAME_PREV, L"Button", L"－"},
        {IDC_LINE_ADDRESS, L"Edit", nullptr},        {IDC_LINE_ADDRESS_LABEL, L"Static", nullptr},
        {IDC_LINE_ADDRESS_NEXT, L"Button", L"＋"},   {IDC_LINE_ADDRESS_PREV, L"Button", L"－"},
        {IDC_LINE_SENDER_LABEL, L"Static", nullptr}, {IDC_LINE_SENDER_NAME, L"Static", nullptr},
        {IDC_LINE_SENDER_NEXT, L"Button", L"＋"},    {IDC_LINE_SENDER_PREV, L"Button", L"－"},
        {IDC_LINE_STATUS_THIS, L"ComboBox", nullptr}, {IDC_LINE_STATUS_LAST, L"ComboBox", nullptr},
        {IDC_LINE_STATUS_BEFORE, L"ComboBox", nullptr}, {IDC_LINE_CLOSE, L"Button", L"閉じる"},
        {IDC_LINE_CANCEL, L"Button", L"キャンセル"}, {IDC_LINE_COPY, L"Button", L"コピー"},
        {IDC_LINE_PASTE, L"Button", L"ペースト"},
    };
    expect_controls(IDD_ONE_LINE_EDITOR, line, sizeof line / sizeof line[0]);
}

}  // namespace
