#include "app/about_box_win32.h"

#include "app/resource_ids.h"
#include "postal/postal_update.h"

namespace {

// The picture is loaded anew each time the box opens and released with it;
// the dialog keeps it in its user data.
HBITMAP picture_of(HWND dialog) {
    return reinterpret_cast<HBITMAP>(GetWindowLongPtrW(dialog, DWLP_USER));
}

void paint(HWND dialog) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(dialog, &ps);
    HBITMAP picture = picture_of(dialog);
    if (dc && picture) {
        HDC memory = CreateCompatibleDC(dc);
        if (memory) {
            HGDIOBJ old = SelectObject(memory, picture);
            BitBlt(dc, ABOUT_PICTURE_X, ABOUT_PICTURE_Y, ABOUT_PICTURE_WIDTH, ABOUT_PICTURE_HEIGHT,
                   memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
            DeleteDC(memory);
        }
    }
    EndPaint(dialog, &ps);
}

INT_PTR CALLBACK about_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        HANDLE picture = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_ABOUT),
                                    IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
        SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(picture));
        char16_t postal[80];
        describe_postal_table_in_use(postal, 80);
        SetDlgItemTextW(dialog, IDC_ABOUT_POSTAL, reinterpret_cast<const wchar_t*>(postal));
        return TRUE;
    }
    case WM_PAINT:
        paint(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
            EndDialog(dialog, 1);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        EndDialog(dialog, 1);
        return TRUE;
    case WM_DESTROY:
        if (HBITMAP picture = picture_of(dialog)) {
            SetWindowLongPtrW(dialog, DWLP_USER, 0);
            DeleteObject(picture);
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR show_about(HWND owner) {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), owner,
                           about_proc, 0);
}
