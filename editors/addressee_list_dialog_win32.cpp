// The addressee list on Win32 (dialog 4): a modeless dialog owned by the
// main window, holding the report list (editors/addressee_list_control_win32.cpp),
// its in-place cell editor and the search keys around the portable logic of
// editors/addressee_list.*.
#include <windows.h>

#include <commctrl.h>

#include "editors/addressee_list.h"
#include "editors/addressee_list_ids.h"
#include "editors/addressee_list_window_win32.h"
#include "editors/editor_dialog_ids.h"
#include "editors/editor_dialogs.h"
#include "editors/editor_window_win32.h"
#include "model/card_status.h"
#include "model/text.h"
#include "render/window_geometry.h"

namespace {

constexpr int kListWidth = 1175;
constexpr int kListHeight = 360;
constexpr int kMargin = 6;          // pixels between the list, the buttons and the frame
constexpr int kCellEditHeight = 16;

const wchar_t* wide(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }
wchar_t* wide(char16_t* s) { return reinterpret_cast<wchar_t*>(s); }

bool in_top_strip(int id) {
    return id == IDC_LIST_SEARCH_LABEL || id == IDC_LIST_SEARCH || id == IDC_LIST_FIND_NEXT ||
           (id >= IDC_LIST_INDEX_FIRST && id <= IDC_LIST_INDEX_LAST);
}

// F3 finds the next row and Ctrl+F goes to the search field, from the list
// and from the search field (the keys reach the control with the focus).
// The subclass's reference data is the dialog.
LRESULT CALLBACK search_keys_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                  DWORD_PTR data) {
    HWND dialog = reinterpret_cast<HWND>(data);
    if (message == WM_KEYDOWN) {
        if (wparam == VK_F3) {
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_LIST_FIND_NEXT, BN_CLICKED), 0);
            return 0;
        }
        if (wparam == 'F' && (GetKeyState(VK_CONTROL) & 0x8000) != 0) {
            HWND field = GetDlgItem(dialog, IDC_LIST_SEARCH);
            SetFocus(field);
            SendMessageW(field, EM_SETSEL, 0, -1);
            return 0;
        }
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(window, search_keys_proc, 1);
    return DefSubclassProc(window, message, wparam, lparam);
}

class AddresseeListWindow;

// The open list's window: the open command (a second request brings it to
// the front) and the print job's mark hook, a plain function, hold no
// pointer to it. Set when it opens, cleared when it is destroyed.
AddresseeListWindow* g_open_list = nullptr;

// Everything the open dialog knows: its view, the report list, the list's
// logic and the in-place cell editor.
class AddresseeListWindow final : public EditorDialogWindow {
public:
    explicit AddresseeListWindow(HWND dialog) : EditorDialogWindow(dialog), editor_(view_, control_) {}

    HWND dialog() const { return dialog_; }
    void card_marked(int card, int year) { editor_.card_marked(card, year); }

    void open(LPARAM) {
        g_open_list = this;
        register_modeless_dialog(dialog_);
        control_.bind(dialog_, nullptr, &editor_);
        editor_.open();  // the snapshot and the rows; the list shows them once made
        create_list();
        set_column_captions(true);
        editor_.fill();
        arrange_buttons();
        SendDlgItemMessageW(dialog_, IDC_LIST_SEARCH, EM_LIMITTEXT, LINE_CAP - 1, 0);
        const auto data = reinterpret_cast<DWORD_PTR>(dialog_);
        SetWindowSubclass(list_, search_keys_proc, 1, data);
        SetWindowSubclass(GetDlgItem(dialog_, IDC_LIST_SEARCH), search_keys_proc, 1, data);
        set_card_marked_hook(on_card_marked);
        place_beside_main_window(dialog_, kMainWindowWidth, 0);
    }

    INT_PTR handle(UINT message, WPARAM wparam, LPARAM lparam) override {
        switch (message) {
        case WM_NOTIFY: {
            auto* hdr = reinterpret_cast<NMHDR*>(lparam);
            if (hdr->idFrom != IDC_LIST_ROWS) return FALSE;
            if (hdr->code == LVN_COLUMNCLICK) {
                // A header click leaves the focus in the cell editor: its text
                // goes into its cell before the rows move.
                close_cell_editor();
                editor_.sort(reinterpret_cast<NMLISTVIEW*>(lparam)->iSubItem);
            } else if (hdr->code == NM_RCLICK) {
                open_cell_editor(clicked_column(*reinterpret_cast<NMITEMACTIVATE*>(lparam)));
            }
            return TRUE;
        }
        case WM_COMMAND: {
            int id = LOWORD(wparam);
            int code = HIWORD(wparam);
            if (id == IDC_LIST_CELL_EDIT) {
                if (code == EN_KILLFOCUS) close_cell_editor();
                return TRUE;
            }
            if (id == IDOK) {
                // Enter in the cell editor ends the edit, in the search field it
                // finds the next row; elsewhere it does nothing.
                if (cell_edit_ != nullptr) {
                    SetFocus(list_);
                } else if (GetFocus() == GetDlgItem(dialog_, IDC_LIST_SEARCH)) {
                    editor_.command(IDC_LIST_FIND_NEXT);
                }
                return TRUE;
            }
            if (code != BN_CLICKED || id == IDCANCEL) return TRUE;  // no key closes the list
            editor_.command(id);
            if (id == IDC_LIST_UNDO && list_ != nullptr) set_column_captions(false);
            return TRUE;
        }
        case WM_CLOSE:
            editor_.close_box();
            return TRUE;
        case WM_DESTROY:
            set_card_marked_hook(nullptr);
            editor_.window_gone();
            unregister_modeless_dialog(dialog_);
            if (cell_font_ != nullptr) DeleteObject(cell_font_);
            cell_font_ = nullptr;
            cell_edit_ = nullptr;
            list_ = nullptr;
            control_.bind(dialog_, nullptr, &editor_);
            g_open_list = nullptr;
            return TRUE;
        default:
            return FALSE;
        }
    }

private:
    static void on_card_marked(int card, int year) {
        if (g_open_list != nullptr) g_open_list->card_marked(card, year);
    }

    void set_column_captions(bool insert) {
        ListColumn columns[LIST_COLUMNS];
        list_columns(columns, editor_.card_year());
        for (int c = 0; c < LIST_COLUMNS; ++c) {
            LVCOLUMNW col{};
            col.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
            col.fmt = LVCFMT_LEFT;
            col.cx = columns[c].width;
            col.pszText = wide(columns[c].caption);
            col.iSubItem = c;
            if (insert) {
                SendMessageW(list_, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&col));
            } else {
                col.mask = LVCF_TEXT;
                SendMessageW(list_, LVM_SETCOLUMNW, c, reinterpret_cast<LPARAM>(&col));
            }
        }
        if (!insert) return;
        // The reading is shown beside the first name line; its index stays the last.
        int order[LIST_COLUMNS];
        int n = 0;
        order[n++] = COLUMN_NAME0;
        order[n++] = COLUMN_YOMI;
        for (int c = COLUMN_NAME0 + 1; c < LIST_COLUMNS; ++c)
            if (c != COLUMN_YOMI) order[n++] = c;
        SendMessageW(list_, LVM_SETCOLUMNORDERARRAY, LIST_COLUMNS, reinterpret_cast<LPARAM>(order));
    }

    void create_list() {
        list_top_ = 0;
        for (HWND child = GetWindow(dialog_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            if (!in_top_strip(GetDlgCtrlID(child))) continue;
            RECT r;
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&r), 2);
            if (r.bottom + kMargin / 2 > list_top_) list_top_ = r.bottom + kMargin / 2;
        }
        list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS,
                                0, list_top_, kListWidth, kListHeight, dialog_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_LIST_ROWS)),
                                GetModuleHandleW(nullptr), nullptr);
        DWORD ex = static_cast<DWORD>(SendMessageW(list_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
        SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                     ex | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
        control_.bind(dialog_, list_, &editor_);
        control_.forget_rows();
        SetWindowPos(list_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }

    // The buttons of the template stand in rows at its top behind the strip of
    // the index buttons and the search field; they move below the list and
    // the dialog takes the size of all.
    void arrange_buttons() {
        int row_top = -1;
        int right = kListWidth;
        int bottom = list_top_ + kListHeight;
        for (HWND child = GetWindow(dialog_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            if (child == list_ || in_top_strip(GetDlgCtrlID(child))) continue;
            RECT r;
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&r), 2);
            if (row_top < 0) row_top = r.top;
            int top = list_top_ + kListHeight + kMargin + (r.top - row_top);
            SetWindowPos(child, nullptr, r.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            if (r.right + kMargin > right) right = r.right + kMargin;
            if (top + (r.bottom - r.top) + kMargin > bottom) bottom = top + (r.bottom - r.top) + kMargin;
        }
        RECT frame{0, 0, right, bottom};
        AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(dialog_, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongW(dialog_, GWL_EXSTYLE)));
        SetWindowPos(dialog_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER);
    }

    // --- The in-place cell editor --------------------------------------------

    void open_cell_editor(int column) {
        int row = -1;
        char16_t text[LINE_CAP];
        if (!editor_.begin_cell_edit(column, &row, text)) return;

        LVITEMW clear{};
        clear.stateMask = LVIS_FOCUSED | LVIS_CUT | LVIS_DROPHILITED;
        SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));

        cell_font_ = CreateFontW(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                                 L"ＭＳゴシック");
        // The cell as shown (the reading column stands out of index order).
        RECT cell{};
        cell.top = column;
        cell.left = LVIR_LABEL;
        SendMessageW(list_, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
        POINT at{cell.left, cell.top + 2};
        MapWindowPoints(list_, dialog_, &at, 1);
        int width = static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, column, 0));
        cell_edit_ = CreateWindowExW(WS_EX_TOPMOST, L"EDIT", wide(text),
                                     WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, at.x, at.y, width,
                                     kCellEditHeight, dialog_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_LIST_CELL_EDIT)),
                                     GetModuleHandleW(nullptr), nullptr);
        SendMessageW(cell_edit_, WM_SETFONT, reinterpret_cast<WPARAM>(cell_font_), FALSE);
        SendMessageW(cell_edit_, EM_LIMITTEXT, LINE_CAP - 1, 0);
        SetWindowPos(cell_edit_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SendMessageW(cell_edit_, EM_SETSEL, 0, -1);
        SetFocus(cell_edit_);
    }

    // The edit box lost the focus: its text goes into the cell.
    void close_cell_editor() {
        if (cell_edit_ == nullptr) return;
        HWND edit = cell_edit_;
        cell_edit_ = nullptr;  // DestroyWindow below reports the focus loss again
        char16_t text[LINE_CAP] = {};
        GetWindowTextW(edit, wide(text), LINE_CAP);
        DestroyWindow(edit);
        editor_.end_cell_edit(text);
        if (cell_font_ != nullptr) DeleteObject(cell_font_);
        cell_font_ = nullptr;
    }

    // The column of the list's right click; -1 when it hit no cell.
    int clicked_column(const NMITEMACTIVATE& click) {
        LVHITTESTINFO hit{};
        hit.pt = click.ptAction;
        if (SendMessageW(list_, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)) < 0) return -1;
        return hit.iSubItem;
    }

    Win32ListControl control_;  // before the logic, which shows its rows on it
    AddresseeList editor_;
    HWND list_ = nullptr;       // the report list
    HWND cell_edit_ = nullptr;  // the in-place cell editor while open
    HFONT cell_font_ = nullptr;
    int list_top_ = 0;  // below the strip of the index buttons and the search field
};

}  // namespace

void open_addressee_list_dialog(WindowHandle main_window) {
    if (bring_open_dialog_forward(g_open_list != nullptr ? g_open_list->dialog() : nullptr)) return;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ADDRESSEE_LIST),
                       static_cast<HWND>(main_window), editor_dialog_proc<AddresseeListWindow>, 0);
}
