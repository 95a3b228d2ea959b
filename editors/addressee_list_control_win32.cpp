// The addressee list's report list control on Win32; its rows open the
// one-line editor (one_line_editor_dialog_win32.cpp) modally over the list.
#include "editors/addressee_list_window_win32.h"

#include <commctrl.h>

#include <cstring>

#include "editors/addressee_list_ids.h"
#include "editors/card_round.h"
#include "editors/editor_dialogs.h"
#include "editors/editor_window_win32.h"
#include "model/card_status.h"
#include "model/text.h"
#include "render/card_fit.h"
#include "render/gdi_surface.h"

namespace {

const wchar_t* wide(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }

}  // namespace

void Win32ListControl::show_rows(const ListRow* rows, int count) {
    if (list_ == nullptr) return;
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    while (shown_ > count) SendMessageW(list_, LVM_DELETEITEM, --shown_, 0);
    while (shown_ < count) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = shown_;
        item.pszText = const_cast<wchar_t*>(L"");
        SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        std::memset(&shadow_[shown_], 0, sizeof(ListRow));
        ++shown_;
    }
    for (int r = 0; r < count; ++r) {
        for (int c = 0; c < LIST_COLUMNS; ++c) {
            if (text_equal(rows[r].cell[c], shadow_[r].cell[c])) continue;
            LVITEMW item{};
            item.iSubItem = c;
            item.pszText = const_cast<wchar_t*>(wide(rows[r].cell[c]));
            SendMessageW(list_, LVM_SETITEMTEXTW, r, reinterpret_cast<LPARAM>(&item));
        }
        if (rows[r].selected != row_selected(r)) {
            LVITEMW item{};
            item.stateMask = LVIS_SELECTED;
            item.state = rows[r].selected ? LVIS_SELECTED : 0;
            SendMessageW(list_, LVM_SETITEMSTATE, r, reinterpret_cast<LPARAM>(&item));
        }
        shadow_[r] = rows[r];
    }
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
    char16_t summary[ROUND_SUMMARY_CAP];
    format_round_summary(summary, ROUND_SUMMARY_CAP, rows, count, logic_->card_year());
    SetDlgItemTextW(dialog_, IDC_LIST_ROUND_SUMMARY, wide(summary));
}

bool Win32ListControl::row_selected(int row) {
    return (SendMessageW(list_, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void Win32ListControl::scroll_to_row(int row) {
    if (list_ != nullptr) SendMessageW(list_, LVM_ENSUREVISIBLE, row, FALSE);
}

int Win32ListControl::overflow_lines(const CardRecord& card) {
    HDC screen = GetDC(nullptr);
    int lines = 0;
    {
        GdiSurface surface(screen, GdiSurface::Kind::Screen);
        lines = card_overflow_lines(surface, card);
    }
    ReleaseDC(nullptr, screen);
    return lines;
}

int Win32ListControl::open_line_editor(int row, int total) {
    return open_one_line_editor_dialog(dialog_, row, total, logic_->card_year());
}
