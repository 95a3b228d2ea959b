#include "app/window_bars_win32.h"

#include <commctrl.h>

#include "app/status_bar_win32.h"
#include "app/toolbar_win32.h"
#include "print/default_printer.h"
#include "render/card_renderer.h"

void create_toolbar_and_status(HWND main_window) {
    InitCommonControls();
    create_toolbar(main_window);
    // Asked while the window is still hidden, after the start-up files are
    // loaded: Yes switches the default printer to postcard paper, No only
    // reads its name and paper.
    ask_postcard_switch(main_window);
    create_status_bar(main_window);
    set_preview_painted_hook(refresh_status);
}

void follow_main_window_size() {
    // Both controls place themselves: the toolbar across the top, the
    // status bar along the bottom (its parts keep their edges).
    if (HWND toolbar = toolbar_window(); toolbar && IsWindow(toolbar))
        SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
    if (HWND bar = status_bar_window()) SendMessageW(bar, WM_SIZE, 0, 0);
}
