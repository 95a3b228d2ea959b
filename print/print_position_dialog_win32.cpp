// The print position dialog on Win32: binds the dialog's controls to the
// fill and read-back logic, redraws the preview 300 ms after the last edit
// of a length, and draws the paper ("yousi.gdt") and the card's background
// (the preview bitmap) to scale.
#include <windows.h>

#include "print/print_command.h"
#include "print/print_dialog_ids.h"
#include "print/print_position.h"
#include "print/print_position_dialog.h"
#include "render/bitmap_file.h"
#include "render/render_state.h"

namespace {

class DialogItemControls final : public DialogControls {
public:
    explicit DialogItemControls(HWND dialog) : dialog_(dialog) {}

    void get_text(int id, char16_t* out, int cap) override {
        if (cap <= 0) return;
        out[0] = 0;
        GetDlgItemTextW(dialog_, id, reinterpret_cast<wchar_t*>(out), cap);
    }
    void set_text(int id, const char16_t* text) override {
        SetDlgItemTextW(dialog_, id, reinterpret_cast<const wchar_t*>(text));
    }
    bool checked(int id) override { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }
    void set_checked(int id, bool on) override {
        CheckDlgButton(dialog_, id, on ? BST_CHECKED : BST_UNCHECKED);
    }

private:
    HWND dialog_;
};

// Everything the open dialog knows: the four lengths as it found them,
// which Cancel and the close box put back. It lives on the stack of
// print_position_dialog() while the dialog runs, reached through DWLP_USER.
struct PrintPositionWindow {
    LengthBackup backup{};
};

PrintPositionWindow* window_of(HWND dialog) {
    return reinterpret_cast<PrintPositionWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

// Stretches the whole bitmap onto the rectangle; nothing for an empty one.
void stretch(HDC dc, HBITMAP bitmap, const Rect& to) {
    int width = to.right - to.left;
    int height = to.bottom - to.top;
    if (bitmap == nullptr || width <= 0 || height <= 0) return;
    BITMAP info{};
    if (GetObjectW(bitmap, sizeof info, &info) == 0) return;
    HDC memory = CreateCompatibleDC(dc);
    if (memory == nullptr) return;
    HGDIOBJ old = SelectObject(memory, bitmap);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, to.left, to.top, width, height, memory, 0, 0, info.bmWidth, info.bmHeight,
               SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

void paint_preview(HWND dialog) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(dialog, &ps);
    PositionPreview preview = position_preview();
    // The sheet of paper, read anew at every paint from the current folder.
    HBITMAP paper = static_cast<HBITMAP>(load_bitmap_file(u"yousi.gdt"));
    if (paper != nullptr) {
        stretch(dc, paper, preview.paper);
        DeleteObject(paper);
    }
    stretch(dc, static_cast<HBITMAP>(preview_bitmap()), preview.card);
    EndPaint(dialog, &ps);
}

void redraw(HWND dialog) {
    InvalidateRect(dialog, nullptr, TRUE);
    UpdateWindow(dialog);
}

void take_and_redraw(HWND dialog) {
    DialogItemControls controls(dialog);
    take_print_position(controls);
    redraw(dialog);
}

void close_with_backup(HWND dialog) {
    KillTimer(dialog, IDT_PP_PREVIEW);
    restore_lengths(window_of(dialog)->backup);
    EndDialog(dialog, 0);
}

bool is_length_edit(int id) {
    return id == IDC_PP_CARD_WIDTH || id == IDC_PP_CARD_HEIGHT || id == IDC_PP_OFFSET_X ||
           id == IDC_PP_OFFSET_Y;
}

INT_PTR on_command(HWND dialog, int id) {
    if (is_length_edit(id)) {
        // Replaces a running timer: the preview follows the typing 300 ms
        // after the last change.
        SetTimer(dialog, IDT_PP_PREVIEW, PP_PREVIEW_DELAY_MS, nullptr);
        return TRUE;
    }
    switch (id) {
    case IDC_PP_REPREVIEW:
        take_and_redraw(dialog);
        return TRUE;
    case IDC_PP_PRINTER_SETUP: {
        printer_settings_command(dialog);
        DialogItemControls controls(dialog);
        fill_print_position(controls);
        take_and_redraw(dialog);
        return TRUE;
    }
    case IDC_PP_OK: {
        KillTimer(dialog, IDT_PP_PREVIEW);
        DialogItemControls controls(dialog);
        take_print_position(controls);
        EndDialog(dialog, 1);
        return TRUE;
    }
    case IDC_PP_CANCEL:
    case IDCANCEL:  // the Esc key
        close_with_backup(dialog);
        return TRUE;
    case IDC_PP_HELP:
        show_print_position_help(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK print_position_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        auto* window = reinterpret_cast<PrintPositionWindow*>(lparam);
        SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(window));
        DialogItemControls controls(dialog);
        fill_print_position(controls);
        window->backup = backup_lengths();
        return TRUE;
    }
    // Messages before WM_INITDIALOG (the dialog's fonts) have no window object yet.
    if (window_of(dialog) == nullptr) return FALSE;
    switch (message) {
    case WM_PAINT:
        paint_preview(dialog);
        return TRUE;
    case WM_COMMAND:
        return on_command(dialog, LOWORD(wparam));
    case WM_TIMER:
        if (wparam != IDT_PP_PREVIEW) return FALSE;
        KillTimer(dialog, IDT_PP_PREVIEW);
        take_and_redraw(dialog);
        return TRUE;
    case WM_CLOSE:
        close_with_backup(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

int print_position_dialog(WindowHandle owner) {
    PrintPositionWindow window;
    INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PRINT_POSITION),
                                     static_cast<HWND>(owner), print_position_proc,
                                     reinterpret_cast<LPARAM>(&window));
    return result == 1 ? 1 : 0;
}
