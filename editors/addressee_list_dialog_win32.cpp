// The addressee list on Win32 (dialog 4): the report list control, its
// in-place cell editor and the dialog around the portable logic of
// editors/addressee_list.*. Its rows open the one-line editor
// (one_line_editor_dialog_win32.cpp).
#include <windows.h>

#include <commctrl.h>

#include <cstring>

#include "editors/editor_dialog_ids.h"
#include "editors/addressee_list.h"
#include "editors/addressee_list_ids.h"
#include "editors/card_round.h"
#include "editors/editor_dialogs.h"
#include "editors/editor_shared.h"
#include "editors/editor_window_win32.h"
#include "model/card_status.h"
#include "model/text.h"
#include "render/card_fit.h"
#include "render/gdi_surface.h"
#include "render/window_geometry.h"

namespace {

constexpr int kListWidth = 1175;
constexpr int kListHeight = 360;
constexpr int kMargin = 6;          // pixels between the list, the buttons and the frame
constexpr int kCellEditHeight = 16;

HWND g_dialog = nullptr;
Win32DialogView g_view(nullptr, false);  // known to the main window's commands while open
HWND g_list = nullptr;
HWND g_cell_edit = nullptr;
HFONT g_cell_font = nullptr;
int g_list_top = 0;  // below the strip of the index buttons and the search field

const wchar_t* wide(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }
wchar_t* wide(char16_t* s) { return reinterpret_cast<wchar_t*>(s); }

// The report list control: rows are brought up to date cell by cell
// against what it shows, so that scrolling and the focus stay where they
// are.
class Win32ListControl : public ListControl {
public:
    void show_rows(const ListRow* rows, int count) override {
        if (g_list == nullptr) return;
        SendMessageW(g_list, WM_SETREDRAW, FALSE, 0);
        while (shown_ > count) SendMessageW(g_list, LVM_DELETEITEM, --shown_, 0);
        while (shown_ < count) {
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = shown_;
            item.pszText = const_cast<wchar_t*>(L"");
            SendMessageW(g_list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
            std::memset(&shadow_[shown_], 0, sizeof(ListRow));
            ++shown_;
        }
        for (int r = 0; r < count; ++r) {
            for (int c = 0; c < LIST_COLUMNS; ++c) {
                if (text_equal(rows[r].cell[c], shadow_[r].cell[c])) continue;
                LVITEMW item{};
                item.iSubItem = c;
                item.pszText = const_cast<wchar_t*>(wide(rows[r].cell[c]));
                SendMessageW(g_list, LVM_SETITEMTEXTW, r, reinterpret_cast<LPARAM>(&item));
            }
            if (rows[r].selected != row_selected(r)) {
                LVITEMW item{};
                item.stateMask = LVIS_SELECTED;
                item.state = rows[r].selected ? LVIS_SELECTED : 0;
                SendMessageW(g_list, LVM_SETITEMSTATE, r, reinterpret_cast<LPARAM>(&item));
            }
            shadow_[r] = rows[r];
        }
        SendMessageW(g_list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(g_list, nullptr, TRUE);
        char16_t summary[ROUND_SUMMARY_CAP];
        format_round_summary(summary, ROUND_SUMMARY_CAP, rows, count, list_card_year());
        SetDlgItemTextW(g_dialog, IDC_LIST_ROUND_SUMMARY, wide(summary));
    }

    bool row_selected(int row) override {
        return (SendMessageW(g_list, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    }

    void scroll_to_row(int row) override {
        if (g_list != nullptr) SendMessageW(g_list, LVM_ENSUREVISIBLE, row, FALSE);
    }

    int open_line_editor(int row, int total) override;

    int overflow_lines(const CardRecord& card) override {
        HDC screen = GetDC(nullptr);
        int lines = 0;
        {
            GdiSurface surface(screen, GdiSurface::Kind::Screen);
            lines = card_overflow_lines(surface, card);
        }
        ReleaseDC(nullptr, screen);
        return lines;
    }

    void forget_rows() { shown_ = 0; }

private:
    ListRow shadow_[HDATA_MAX];
    int shown_ = 0;
};

Win32ListControl g_list_control;

int Win32ListControl::open_line_editor(int row, int total) {
    return open_one_line_editor_dialog(g_dialog, row, total, list_card_year());
}

// --- The list dialog --------------------------------------------------------

void set_column_captions(bool insert) {
    ListColumn columns[LIST_COLUMNS];
    list_columns(columns, list_card_year());
    for (int c = 0; c < LIST_COLUMNS; ++c) {
        LVCOLUMNW col{};
        col.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.fmt = LVCFMT_LEFT;
        col.cx = columns[c].width;
        col.pszText = wide(columns[c].caption);
        col.iSubItem = c;
        if (insert) {
            SendMessageW(g_list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&col));
        } else {
            col.mask = LVCF_TEXT;
            SendMessageW(g_list, LVM_SETCOLUMNW, c, reinterpret_cast<LPARAM>(&col));
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
    SendMessageW(g_list, LVM_SETCOLUMNORDERARRAY, LIST_COLUMNS, reinterpret_cast<LPARAM>(order));
}

bool in_top_strip(int id) {
    return id == IDC_LIST_SEARCH_LABEL || id == IDC_LIST_SEARCH || id == IDC_LIST_FIND_NEXT ||
           (id >= IDC_LIST_INDEX_FIRST && id <= IDC_LIST_INDEX_LAST);
}

void create_list(HWND dialog) {
    g_list_top = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!in_top_strip(GetDlgCtrlID(child))) continue;
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        if (r.bottom + kMargin / 2 > g_list_top) g_list_top = r.bottom + kMargin / 2;
    }
    g_list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS,
                             0, g_list_top, kListWidth, kListHeight, dialog,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_LIST_ROWS)),
                             GetModuleHandleW(nullptr), nullptr);
    DWORD ex = static_cast<DWORD>(SendMessageW(g_list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    SendMessageW(g_list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 ex | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    g_list_control.forget_rows();
    SetWindowPos(g_list, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// The buttons of the template stand in rows at its top behind the strip of
// the index buttons and the search field; they move below the list and
// the dialog takes the size of all.
void arrange_buttons(HWND dialog) {
    int row_top = -1;
    int right = kListWidth;
    int bottom = g_list_top + kListHeight;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (child == g_list || in_top_strip(GetDlgCtrlID(child))) continue;
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        if (row_top < 0) row_top = r.top;
        int top = g_list_top + kListHeight + kMargin + (r.top - row_top);
        SetWindowPos(child, nullptr, r.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        if (r.right + kMargin > right) right = r.right + kMargin;
        if (top + (r.bottom - r.top) + kMargin > bottom) bottom = top + (r.bottom - r.top) + kMargin;
    }
    RECT frame{0, 0, right, bottom};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE)));
    SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER);
}

void on_card_marked(int card, int year) { list_card_marked(g_list_control, card, year); }

// --- The in-place cell editor ------------------------------------------------

void open_cell_editor(int column) {
    int row = -1;
    char16_t text[LINE_CAP];
    if (!list_begin_cell_edit(g_list_control, column, &row, text)) return;

    LVITEMW clear{};
    clear.stateMask = LVIS_FOCUSED | LVIS_CUT | LVIS_DROPHILITED;
    SendMessageW(g_list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));

    g_cell_font = CreateFontW(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                              L"ＭＳゴシック");
    // The cell as shown (the reading column stands out of index order).
    RECT cell{};
    cell.top = column;
    cell.left = LVIR_LABEL;
    SendMessageW(g_list, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
    POINT at{cell.left, cell.top + 2};
    MapWindowPoints(g_list, g_dialog, &at, 1);
    int width = static_cast<int>(SendMessageW(g_list, LVM_GETCOLUMNWIDTH, column, 0));
    g_cell_edit = CreateWindowExW(WS_EX_TOPMOST, L"EDIT", wide(text),
                                  WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, at.x, at.y, width,
                                  kCellEditHeight, g_dialog,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_LIST_CELL_EDIT)),
                                  GetModuleHandleW(nullptr), nullptr);
    SendMessageW(g_cell_edit, WM_SETFONT, reinterpret_cast<WPARAM>(g_cell_font), FALSE);
    SendMessageW(g_cell_edit, EM_LIMITTEXT, LINE_CAP - 1, 0);
    SetWindowPos(g_cell_edit, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SendMessageW(g_cell_edit, EM_SETSEL, 0, -1);
    SetFocus(g_cell_edit);
}

// The edit box lost the focus: its text goes into the cell.
void close_cell_editor() {
    if (g_cell_edit == nullptr) return;
    HWND edit = g_cell_edit;
    g_cell_edit = nullptr;  // DestroyWindow below reports the focus loss again
    char16_t text[LINE_CAP] = {};
    GetWindowTextW(edit, wide(text), LINE_CAP);
    DestroyWindow(edit);
    list_end_cell_edit(g_list_control, text);
    if (g_cell_font != nullptr) DeleteObject(g_cell_font);
    g_cell_font = nullptr;
}

// The column of the list's right click; -1 when it hit no cell.
int clicked_column(const NMITEMACTIVATE& click) {
    LVHITTESTINFO hit{};
    hit.pt = click.ptAction;
    if (SendMessageW(g_list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)) < 0) return -1;
    return hit.iSubItem;
}

// F3 finds the next row and Ctrl+F goes to the search field, from the list
// and from the search field (the keys reach the control with the focus).
LRESULT CALLBACK search_keys_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                  DWORD_PTR) {
    if (message == WM_KEYDOWN && g_dialog != nullptr) {
        if (wparam == VK_F3) {
            PostMessageW(g_dialog, WM_COMMAND, MAKEWPARAM(IDC_LIST_FIND_NEXT, BN_CLICKED), 0);
            return 0;
        }
        if (wparam == 'F' && (GetKeyState(VK_CONTROL) & 0x8000) != 0) {
            HWND field = GetDlgItem(g_dialog, IDC_LIST_SEARCH);
            SetFocus(field);
            SendMessageW(field, EM_SETSEL, 0, -1);
            return 0;
        }
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(window, search_keys_proc, 1);
    return DefSubclassProc(window, message, wparam, lparam);
}

INT_PTR CALLBACK list_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG:
        g_dialog = dialog;
        g_view = Win32DialogView(dialog, false);
        list_open(g_view, g_list_control);  // the snapshot and the rows; the list shows them once made
        create_list(dialog);
        set_column_captions(true);
        list_fill(g_list_control);
        arrange_buttons(dialog);
        SendDlgItemMessageW(dialog, IDC_LIST_SEARCH, EM_LIMITTEXT, LINE_CAP - 1, 0);
        SetWindowSubclass(g_list, search_keys_proc, 1, 0);
        SetWindowSubclass(GetDlgItem(dialog, IDC_LIST_SEARCH), search_keys_proc, 1, 0);
        set_card_marked_hook(on_card_marked);
        return TRUE;
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lparam);
        if (hdr->idFrom != IDC_LIST_ROWS) return FALSE;
        if (hdr->code == LVN_COLUMNCLICK) {
            // A header click leaves the focus in the cell editor: its text
            // goes into its cell before the rows move.
            close_cell_editor();
            list_sort(g_list_control, reinterpret_cast<NMLISTVIEW*>(lparam)->iSubItem);
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
            if (g_cell_edit != nullptr) {
                SetFocus(g_list);
            } else if (GetFocus() == GetDlgItem(dialog, IDC_LIST_SEARCH)) {
                Win32DialogView view(dialog, false);
                list_command(view, g_list_control, IDC_LIST_FIND_NEXT);
            }
            return TRUE;
        }
        if (code != BN_CLICKED || id == IDCANCEL) return TRUE;  // no key closes the list
        Win32DialogView view(dialog, false);
        list_command(view, g_list_control, id);
        if (id == IDC_LIST_UNDO && g_dialog != nullptr) set_column_captions(false);
        return TRUE;
    }
    case WM_CLOSE: {
        Win32DialogView view(dialog, false);
        list_close_box(view);
        return TRUE;
    }
    case WM_DESTROY:
        set_card_marked_hook(nullptr);
        forget_editor_view(g_view);
        unregister_modeless_dialog(dialog);
        if (g_cell_font != nullptr) DeleteObject(g_cell_font);
        g_cell_font = nullptr;
        g_cell_edit = nullptr;
        g_list = nullptr;
        g_dialog = nullptr;
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

void open_addressee_list_dialog(WindowHandle main_window) {
    if (bring_open_dialog_forward(g_dialog)) return;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ADDRESSEE_LIST),
                                     static_cast<HWND>(main_window), list_dialog_proc, 0);
    if (dialog == nullptr) return;
    register_modeless_dialog(dialog);
    place_beside_main_window(dialog, kMainWindowWidth, 0);
}
