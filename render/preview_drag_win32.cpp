// The main window's side of the preview drag: repainting the feedback area
// synchronously and drawing the dragged item on the window's device context.
#include "render/preview_drag_win32.h"

#include <windows.h>

#include "render/gdi_surface.h"

namespace {

class MainPreviewWindow final : public PreviewWindow {
public:
    explicit MainPreviewWindow(HWND window) : window_(window) {}

    void repaint_now(const Rect& area) override {
        RECT r{area.left, area.top, area.right, area.bottom};
        InvalidateRect(window_, &r, TRUE);
        UpdateWindow(window_);
    }

    void draw_feedback(ItemId item, int32_t dx, int32_t dy) override {
        HDC dc = GetDC(window_);
        if (!dc) return;
        {
            GdiSurface surface(dc, GdiSurface::Kind::Screen);
            draw_moved_item(surface, item, dx, dy);
        }
        ReleaseDC(window_, dc);
    }

    void invalidate_all() override { InvalidateRect(window_, nullptr, TRUE); }

private:
    HWND window_;
};

// Client coordinates as the mouse messages carry them: x in the low word,
// y in the high word, both unsigned.
int32_t x_of(LPARAM lparam) { return static_cast<int32_t>(LOWORD(lparam)); }
int32_t y_of(LPARAM lparam) { return static_cast<int32_t>(HIWORD(lparam)); }

}  // namespace

void preview_mouse_down(WindowHandle window, intptr_t lparam) {
    (void)window;
    on_press(x_of(lparam), y_of(lparam));
}

void preview_mouse_move(WindowHandle window, uintptr_t key_state, intptr_t lparam) {
    // Only the left button alone: no other button, no Shift, no Ctrl.
    if (key_state != MK_LBUTTON) return;
    MainPreviewWindow preview(static_cast<HWND>(window));
    on_move(x_of(lparam), y_of(lparam), preview);
}

void preview_mouse_up(WindowHandle window, intptr_t lparam) {
    MainPreviewWindow preview(static_cast<HWND>(window));
    on_release(x_of(lparam), y_of(lparam), preview);
}
