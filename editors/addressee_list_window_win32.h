// The addressee list's Win32 pieces shared by its two files: the report
// list control the logic shows its rows on (addressee_list_control_win32.cpp,
// with the one-line editor's dialog it opens) and the dialog around it
// (addressee_list_dialog_win32.cpp).
#pragma once

#include <windows.h>

#include "editors/addressee_list.h"

// The report list control: rows are brought up to date cell by cell
// against what it shows, so that scrolling and the focus stay where they
// are.
class Win32ListControl : public ListControl {
public:
    // The dialog, its report list (nullptr until made) and the list's logic,
    // whose card year the count line and the one-line editor use.
    void bind(HWND dialog, HWND list, const AddresseeList* logic) {
        dialog_ = dialog;
        list_ = list;
        logic_ = logic;
    }

    void show_rows(const ListRow* rows, int count) override;
    bool row_selected(int row) override;
    void scroll_to_row(int row) override;
    int open_line_editor(int row, int total) override;
    int overflow_lines(const CardRecord& card) override;

    // The report list was made anew: it shows no row.
    void forget_rows() { shown_ = 0; }

private:
    HWND dialog_ = nullptr;
    HWND list_ = nullptr;
    const AddresseeList* logic_ = nullptr;
    ListRow shadow_[HDATA_MAX];  // the rows as shown
    int shown_ = 0;
};
