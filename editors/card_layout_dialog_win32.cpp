// The card layout dialog on Win32 (dialog 2): a modeless dialog owned by the
// main window that binds the portable logic to its controls, offers the
// font and colour choosers, measures fonts with a GDI surface on its own
// device context, and follows the main window's toolbar navigation every
// 300 ms.
#include <windows.h>

#include <commdlg.h>

#include <cstring>
#include <optional>

#include "editors/editor_dialog_ids.h"
#include "editors/card_layout_editor.h"
#include "editors/card_layout_ids.h"
#include "editors/editor_dialogs.h"
#include "editors/editor_shared.h"
#include "editors/editor_window_win32.h"
#include "render/gdi_surface.h"
#include "render/window_geometry.h"

namespace {

// The open dialog, so that a second request from the main window brings it
// to the front (the menu command holds no pointer to it).
HWND g_dialog = nullptr;

// The dialog opens this far right of and below the main window's initial
// place: right beside it, level with its lower half.
constexpr int kBesideMainWindow = kMainWindowWidth;
constexpr int kBelowMainWindowTop = 430;

const wchar_t* wide(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }

class Win32LayoutChoosers final : public LayoutChoosers {
public:
    explicit Win32LayoutChoosers(HWND dialog) : dialog_(dialog) {}
    ~Win32LayoutChoosers() override {
        surface_.reset();
        if (dc_) ReleaseDC(dialog_, dc_);
    }
    Win32LayoutChoosers(const Win32LayoutChoosers&) = delete;
    Win32LayoutChoosers& operator=(const Win32LayoutChoosers&) = delete;

    bool choose_font(WindowHandle owner, const PrinterEntry* printer, LogFont& font) override {
        // The record lives for the whole run, beyond any one dialog: what the
        // chooser leaves in it (point size, text colour, font type) is offered
        // again next time.
        static CHOOSEFONTW record;
        HDC printer_dc =
            printer ? CreateDCW(wide(printer->driver), wide(printer->name), nullptr, nullptr)
                    : nullptr;
        LOGFONTW lf;
        std::memcpy(&lf, &font, sizeof lf);
        record.lStructSize = sizeof record;
        record.hwndOwner = static_cast<HWND>(owner);
        record.hDC = printer_dc;
        record.lpLogFont = &lf;
        record.Flags = CF_SCREENFONTS | CF_PRINTERFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS |
                       CF_WYSIWYG | CF_SCALABLEONLY;
        // Without a printer device context the chooser cannot list printer
        // fonts and would fail: it offers the screen's fonts alone.
        if (!printer_dc) record.Flags &= ~static_cast<DWORD>(CF_PRINTERFONTS | CF_WYSIWYG);
        BOOL ok = ChooseFontW(&record);
        record.lpLogFont = nullptr;
        record.hDC = nullptr;
        if (printer_dc) DeleteDC(printer_dc);
        if (ok) std::memcpy(&font, &lf, sizeof lf);
        return ok != FALSE;
    }

    bool choose_colour(WindowHandle owner, RgbColor& colour) override {
        COLORREF custom[16];
        for (COLORREF& c : custom) c = RGB(255, 255, 255);
        CHOOSECOLORW record{};
        record.lStructSize = sizeof record;
        record.hwndOwner = static_cast<HWND>(owner);
        record.rgbResult = RGB(colour.r, colour.g, colour.b);
        record.lpCustColors = custom;
        record.Flags = CC_RGBINIT;
        BOOL ok = ChooseColorW(&record);
        if (ok) {
            colour = RgbColor{GetRValue(record.rgbResult), GetGValue(record.rgbResult),
                              GetBValue(record.rgbResult)};
        }
        SetFocus(static_cast<HWND>(owner));
        return ok != FALSE;
    }

    DrawingSurface& screen_surface() override {
        if (!surface_) {
            dc_ = GetDC(dialog_);
            surface_.emplace(static_cast<DeviceContext>(dc_), GdiSurface::Kind::Screen);
        }
        return *surface_;
    }

private:
    HWND dialog_;
    HDC dc_ = nullptr;
    std::optional<GdiSurface> surface_;
};

// Everything the open dialog knows: its view and the editor's logic.
class CardLayoutWindow final : public EditorDialogWindow {
public:
    explicit CardLayoutWindow(HWND dialog) : EditorDialogWindow(dialog), editor_(view_) {}

    void open(LPARAM) {
        g_dialog = dialog_;
        register_modeless_dialog(dialog_);
        editor_.open();
        place_beside_main_window(dialog_, kBesideMainWindow, kBelowMainWindowTop);
        keep_on_work_area(dialog_);
        SetTimer(dialog_, IDT_CL_FOLLOW, CL_FOLLOW_INTERVAL_MS, nullptr);
    }

    INT_PTR handle(UINT message, WPARAM wparam, LPARAM) override {
        switch (message) {
        case WM_COMMAND: {
            // Only presses (a click, Space or Enter); the edits' notifications
            // change nothing until a button stores them.
            if (HIWORD(wparam) != BN_CLICKED) return FALSE;
            int id = LOWORD(wparam);
            if (id == IDCANCEL) {  // the Esc key: as the close box
                editor_.close_box();
                return TRUE;
            }
            Win32LayoutChoosers choosers(dialog_);
            return editor_.press(choosers, id) ? TRUE : FALSE;
        }
        case WM_TIMER:
            if (wparam != IDT_CL_FOLLOW) return FALSE;
            editor_.follow_navigation();
            return TRUE;
        case WM_CLOSE:
            editor_.close_box();
            return TRUE;
        case WM_DESTROY:
            KillTimer(dialog_, IDT_CL_FOLLOW);
            unregister_modeless_dialog(dialog_);
            g_dialog = nullptr;
            return TRUE;
        default:
            return FALSE;
        }
    }

private:
    CardLayoutEditor editor_;
};

}  // namespace

void open_card_layout_dialog(WindowHandle main_window) {
    if (bring_open_dialog_forward(g_dialog)) return;
    CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_CARD_LAYOUT),
                       static_cast<HWND>(main_window), editor_dialog_proc<CardLayoutWindow>, 0);
}
