#include "app/main_window_win32.h"

#include <shellapi.h>

#include "app/about_box_win32.h"
#include "app/exit_flow.h"
#include "app/main_window_actions.h"
#include "app/main_window_commands.h"
#include "app/resource_ids.h"
#include "app/single_instance_win32.h"
#include "app/status_bar_win32.h"
#include "app/toolbar_win32.h"
#include "app/window_bars_win32.h"
#include "editors/editor_dialogs.h"
#include "editors/editor_shared.h"
#include "editors/editor_window_win32.h"
#include "files/startup_files.h"
#include "model/document.h"
#include "platform/platform_win32.h"
#include "print/default_printer.h"
#include "print/print_command.h"
#include "print/print_job.h"
#include "print/print_position_dialog.h"
#include "print/printer_state.h"
#include "print/printer_win32.h"
#include "render/bitmap_export.h"
#include "render/card_fit.h"
#include "render/gdi_renderer.h"
#include "render/preview_drag_win32.h"
#include "render/window_geometry.h"

static_assert(WAIT_WINDOW_DIALOG == IDD_WAIT, "the seam opens the wait window by its number");

namespace {

HWND g_main_window = nullptr;
WindowPlacement g_initial_placement{};

// The 印刷 menu's four switches show a check mark while on.
void check_fit_switches(HWND window) {
    HMENU menu = GetMenu(window);
    const FitSwitches& on = fit_switches();
    CheckMenuItem(menu, CMD_FIT_LONG_LINES, MF_BYCOMMAND | (on.fit_long_lines ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, CMD_ALIGN_NAMES, MF_BYCOMMAND | (on.align_names ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, CMD_VERTICAL_FORMS, MF_BYCOMMAND | (on.vertical_forms ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, CMD_KANJI_DIGITS, MF_BYCOMMAND | (on.kanji_digits ? MF_CHECKED : MF_UNCHECKED));
}

// --- What the commands do to the window -------------------------------------

class Win32MainWindow final : public MainWindowActions {
public:
    explicit Win32MainWindow(HWND window) : window_(window) {}

    void repaint() override {
        InvalidateRect(window_, nullptr, TRUE);
        UpdateWindow(window_);
    }

    void open_card_layout() override { open_card_layout_dialog(window_); }
    void open_sender_editor() override { open_sender_editor_dialog(window_); }
    void open_addressee_list() override { open_addressee_list_dialog(window_); }
    void open_proof_sheet() override { open_proof_sheet_window(window_); }

    void printer_settings() override { printer_settings_command(window_); }
    void print_position() override { print_position_dialog(window_); }
    void print() override { print_command(window_); }
    void refresh_status() override { ::refresh_status(); }
    void show_fit_switches() override { check_fit_switches(window_); }

    int export_bitmap(const char16_t* path) override {
        // The capture copies what the window shows, so the part the save
        // dialog covered a moment ago is painted first.
        UpdateWindow(window_);
        return ::export_bitmap(window_, path);
    }

    // The manual lies in the working folder, which a file dialog may have
    // left as the current directory no longer.
    void open_manual() override {
        platform().set_current_directory(doc().work_dir);
        ShellExecuteW(window_, L"open", L"Zelkovane_manual.pdf", nullptr, nullptr, SW_SHOWNORMAL);
    }

    void about() override { show_about(window_); }

    void destroy() override { DestroyWindow(window_); }

private:
    HWND window_;
};

// --- Message handlers -------------------------------------------------------

// While an editor has a modal dialog open (the one-line editor, a file,
// font or colour chooser), the main window takes no input: it is disabled
// as the dialog's owner is.
void block_main_window(bool blocked) {
    if (g_main_window != nullptr) EnableWindow(g_main_window, blocked ? FALSE : TRUE);
}

// Creation, before the window is shown: the working folder and the three
// start-up data files (with the wait window around the loading), then the
// toolbar, the question whether to switch the default printer to postcard
// paper and the status bar.

LRESULT on_create(HWND window) {
    g_main_window = window;
    // Found by a second start in this folder from now on.
    mark_main_window(window);
    set_editor_modal_hook(block_main_window);
    set_editors_main_window(window, g_initial_placement.left, g_initial_placement.top);
    // No printer is known until the default printer is read.
    printer_state().printer_name[0] = 0;
    load_startup_files(window);
    check_fit_switches(window);
    create_toolbar_and_status(window);
    return 0;
}

LRESULT on_destroy(HWND window) {
    unmark_main_window(window);
    close_proof_sheet_window();
    restore_default_printer(window);
    g_main_window = nullptr;
    set_editors_main_window(nullptr, g_initial_placement.left, g_initial_placement.top);
    PostQuitMessage(0);
    return 0;
}

// A new size: the toolbar and the status bar follow the window's edges (left
// where they were, the status bar would float mid-window or be cut off), and
// everything is repainted at once, without erasing first.
LRESULT on_size(HWND window) {
    follow_main_window_size();
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    return 0;
}

LRESULT on_paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    if (dc) draw_card_preview(static_cast<DeviceContext>(dc));
    EndPaint(window, &ps);
    return 0;
}

// The palette may have changed: the current card's background is loaded
// again, by its name as stored.
LRESULT on_query_new_palette() {
    int i = doc().current_card;
    if (i >= 0 && i < HDATA_MAX) load_preview_bitmap(doc().hdata[i].base_filepass);
    return 0;
}

// Windows is about to end the session (shutdown, sign-out): as Notepad
// does, the unsaved changes are offered for saving, and a Cancel keeps the
// session from ending, with the reason shown by Windows' shutdown screen.
// Nothing changed: the session ends at once.
LRESULT on_query_end_session(HWND window) {
    if (!unsaved_changes()) return TRUE;
    ShutdownBlockReasonCreate(window, L"保存していない変更があります");
    if (!session_may_end(window)) return FALSE;
    ShutdownBlockReasonDestroy(window);
    return TRUE;
}

// The session ends (`ending`): the program ends without asking more; the
// questions were asked above. Otherwise the end was called off.
LRESULT on_end_session(HWND window, bool ending) {
    if (ending) {
        DestroyWindow(window);
    } else {
        ShutdownBlockReasonDestroy(window);
    }
    return 0;
}

}  // namespace

LRESULT CALLBACK main_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        return on_create(window);
    case WM_DESTROY:
        return on_destroy(window);
    case WM_SIZE:
        return on_size(window);
    case WM_ACTIVATE:
        return 0;
    case WM_PAINT:
        return on_paint(window);
    case WM_NOTIFY:
        // The toolbar's tooltip text requests; other notifications are
        // ignored.
        answer_toolbar_tooltip(reinterpret_cast<const NMHDR*>(lparam));
        return 0;
    case WM_KEYDOWN: {
        Win32MainWindow actions(window);
        run_key(static_cast<int>(wparam), actions);
        return 0;
    }
    case WM_COMMAND: {
        Win32MainWindow actions(window);
        run_command(window, LOWORD(wparam), actions);
        return 0;
    }
    case WM_CLOSE: {
        Win32MainWindow actions(window);
        exit_command(window, actions);
        return 0;
    }
    case WM_QUERYENDSESSION:
        return on_query_end_session(window);
    case WM_ENDSESSION:
        return on_end_session(window, wparam != FALSE);
    case WM_MOUSEMOVE:
        preview_mouse_move(window, wparam, lparam);
        return 0;
    case WM_LBUTTONDOWN:
        preview_mouse_down(window, lparam);
        return 0;
    case WM_LBUTTONUP:
        preview_mouse_up(window, lparam);
        return 0;
    case WM_QUERYNEWPALETTE:
        return on_query_new_palette();
    case WM_QUIT:
        return 0;
    default:
        return DefWindowProcW(window, message, wparam, lparam);
    }
}

HWND main_window() { return g_main_window; }

void repaint_main_window() {
    if (!g_main_window) return;
    InvalidateRect(g_main_window, nullptr, TRUE);
    UpdateWindow(g_main_window);
}

namespace {

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
// arrives. No accelerators; the open modeless editors get their keyboard
// messages first (Tab, Shift+Tab, Enter), everything else goes to its
// window as usual.
int message_loop() {
    MSG msg;
    for (;;) {
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            BOOL got = GetMessageW(&msg, nullptr, 0, 0);
            if (got == 0) return static_cast<int>(msg.wParam);
            if (got == -1) return 0;
            if (!handle_modeless_dialog_message(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            // A close request that came while a print held the print lock
            // runs now that the print has ended.
            if (take_close_after_print_job()) PostMessageW(g_main_window, WM_CLOSE, 0, 0);
        } else {
            WaitMessage();
        }
    }
}

}  // namespace

int run(HINSTANCE instance, int show_command) {
    // A second start in a folder where Zelkovane runs ends here, before
    // anything is read, asked or written.
    if (another_copy_runs_here()) return 0;
    install_win32_platform();
    install_win32_printer_spooler();
    if (!register_main_window_class(instance)) return 0;
    WindowPlacement at = placement_for_screen();
    g_initial_placement = at;
    HWND window = CreateWindowExW(0, MAIN_WINDOW_CLASS, MAIN_WINDOW_TITLE, WS_OVERLAPPEDWINDOW,
                                  at.left, at.top, at.width, at.height, nullptr, nullptr, instance,
                                  nullptr);
    if (!window) return 0;
    ShowWindow(window, show_command);
    UpdateWindow(window);
    int code = message_loop();
    release_preview_bitmap();
    return code;
}
