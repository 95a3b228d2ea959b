#include "app/main_window_win32.h"

#include "app/exit_flow.h"
#include "app/resource_ids.h"
#include "app/window_geometry.h"
#include "files/startup_files.h"
#include "platform/platform_win32.h"

namespace {

HWND g_main_window = nullptr;

// --- Message handlers -------------------------------------------------------

// Creation, before the window is shown: capture the working folder and load
// the three start-up data files (with the wait window around the loading).
LRESULT on_create(HWND window) {
    g_main_window = window;
    load_startup_files(window);
    return 0;
}

LRESULT on_destroy() {
    g_main_window = nullptr;
    PostQuitMessage(0);
    return 0;
}

// A new size: repaint everything at once, without erasing first.
LRESULT on_size(HWND window) {
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    return 0;
}

LRESULT on_paint(HWND window) {
    PAINTSTRUCT ps;
    BeginPaint(window, &ps);
    EndPaint(window, &ps);
    return 0;
}

// Every key is consumed.
LRESULT on_key_down(HWND, WPARAM) { return 0; }

void exit_command(HWND window) {
    if (confirm_exit(window) == EXIT_ALLOWED) DestroyWindow(window);
}

INT_PTR CALLBACK about_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
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
    default:
        return FALSE;
    }
}

LRESULT on_command(HWND window, WPARAM wparam) {
    switch (LOWORD(wparam)) {
    case CMD_ABOUT:
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), window,
                        about_proc, 0);
        break;
    case CMD_EXIT:
    case CMD_TB_EXIT:
        exit_command(window);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT on_close(HWND window) {
    exit_command(window);
    return 0;
}

// --- Start-up ---------------------------------------------------------------

bool register_main_window_class(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_BYTEALIGNCLIENT;
    wc.lpfnWndProc = main_window_proc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_ZELKOVANE));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_ZELKOVANE_SMALL),
                                               IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = CreateSolidBrush(MAIN_WINDOW_BACKGROUND);
    wc.lpszMenuName = MAKEINTRESOURCEW(IDM_MAIN);
    wc.lpszClassName = MAIN_WINDOW_CLASS;
    return RegisterClassExW(&wc) != 0;
}

WindowPlacement placement_for_screen() {
    HDC screen = GetDC(nullptr);
    int width = GetDeviceCaps(screen, HORZRES);
    int height = GetDeviceCaps(screen, VERTRES);
    ReleaseDC(nullptr, screen);
    return main_window_placement(width, height);
}

// One thread, one loop: take a waiting message, otherwise sleep until one
// arrives. No accelerators and no dialog-message preprocessing.
int message_loop() {
    MSG msg;
    for (;;) {
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            BOOL got = GetMessageW(&msg, nullptr, 0, 0);
            if (got == 0) return static_cast<int>(msg.wParam);
            if (got == -1) return 0;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        } else {
            WaitMessage();
        }
    }
}

}  // namespace

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        return on_create(window);
    case WM_DESTROY:
        return on_destroy();
    case WM_SIZE:
        return on_size(window);
    case WM_ACTIVATE:
        return 0;
    case WM_PAINT:
        return on_paint(window);
    case WM_NOTIFY:
        return 0;
    case WM_KEYDOWN:
        return on_key_down(window, wparam);
    case WM_COMMAND:
        return on_command(window, wparam);
    case WM_CLOSE:
        return on_close(window);
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_QUERYNEWPALETTE:
    case WM_QUIT:
        return 0;
    default:
        return DefWindowProcW(window, message, wparam, lparam);
    }
}

HWND main_window() { return g_main_window; }

int run(HINSTANCE instance, int show_command) {
    install_win32_platform();
    if (!register_main_window_class(instance)) return 0;
    WindowPlacement at = placement_for_screen();
    HWND window = CreateWindowExW(0, MAIN_WINDOW_CLASS, MAIN_WINDOW_TITLE, WS_OVERLAPPEDWINDOW,
                                  at.x, at.y, at.width, at.height, nullptr, nullptr, instance,
                                  nullptr);
    if (!window) return 0;
    ShowWindow(window, show_command);
    UpdateWindow(window);
    return message_loop();
}
