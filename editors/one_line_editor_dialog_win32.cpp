// The one-line editor on Win32 (dialog 5): a modal dialog over the addressee
// list that binds the portable logic of editors/one_line_editor.* to its
// controls.
#include <windows.h>

#include "editors/editor_dialog_ids.h"
#include "editors/editor_dialogs.h"
#include "editors/editor_shared.h"
#include "editors/editor_window_win32.h"
#include "editors/one_line_editor.h"
#include "editors/one_line_editor_ids.h"
#include "model/card_status.h"

namespace {

const wchar_t* wide(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }

// What the list hands the dialog when it opens it.
struct LineEditorRequest {
    int row;
    int total;
    int year;
};

// Everything the open dialog knows: its view and the editor's logic.
class OneLineEditorWindow final : public EditorDialogWindow {
public:
    explicit OneLineEditorWindow(HWND dialog) : EditorDialogWindow(dialog, true), editor_(view_, work_card) {}

    void open(LPARAM parameter) {
        const auto& request = *reinterpret_cast<const LineEditorRequest*>(parameter);
        for (int i = 0; i < 3; ++i) {
            HWND box = GetDlgItem(dialog_, IDC_LINE_STATUS_THIS + i);
            SendMessageW(box, CB_RESETCONTENT, 0, 0);
            for (const char16_t* t : status_text)
                SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(t)));
            SendMessageW(box, CB_LIMITTEXT, 15, 0);
        }
        SendDlgItemMessageW(dialog_, IDC_LINE_POSTAL, EM_LIMITTEXT, POSTAL_CAP - 1, 0);
        SendDlgItemMessageW(dialog_, IDC_LINE_NAME, EM_LIMITTEXT, LINE_CAP - 1, 0);
        SendDlgItemMessageW(dialog_, IDC_LINE_YOMI, EM_LIMITTEXT, YOMI_CAP - 1, 0);
        SendDlgItemMessageW(dialog_, IDC_LINE_ADDRESS, EM_LIMITTEXT, LINE_CAP - 1, 0);
        editor_.open(request.row, request.total, request.year);
    }

    INT_PTR handle(UINT message, WPARAM wparam, LPARAM) override {
        switch (message) {
        case WM_COMMAND: {
            if (HIWORD(wparam) != BN_CLICKED) return FALSE;
            int id = LOWORD(wparam);
            if (id == IDCANCEL) {
                editor_.close_box();  // Esc as the close box
            } else {
                editor_.press(id);
            }
            return TRUE;
        }
        case WM_CLOSE:
            editor_.close_box();
            return TRUE;
        default:
            return FALSE;
        }
    }

private:
    OneLineEditor editor_;
};

}  // namespace

int open_one_line_editor_dialog(WindowHandle owner, int row, int total, int year) {
    LineEditorRequest request{row, total, year};
    INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ONE_LINE_EDITOR),
                                     static_cast<HWND>(owner), editor_dialog_proc<OneLineEditorWindow>,
                                     reinterpret_cast<LPARAM>(&request));
    return result == 1 ? 1 : 0;
}
