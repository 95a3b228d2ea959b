// The window "一覧で確認" on Win32, shared by the files that make it up:
// proof_sheet_window_win32.cpp (the frame, its controls and layout, the
// refresh timer, the scroll bar and closing), proof_sheet_thumbnails_win32.cpp
// (drawing the thumbnails), proof_sheet_input_win32.cpp (the mouse and the
// keys: selection, scrolling, showing a card) and
// proof_sheet_print_win32.cpp (printing the selected cards). Only these
// files include it.
#pragma once

#include <windows.h>

#include "editors/editor_shared.h"
#include "editors/proof_sheet.h"
#include "print/print_job.h"
#include "render/card_fit.h"
#include "render/card_thumbnail.h"
#include "render/gdi_surface.h"

namespace proof_sheet_window {

constexpr int kColumns = 4;
constexpr int kLine = 17;  // one caption line in the pane

// No input while a print command holds the print lock (from its dialog to
// the job's end the pages are drawn from the document as it stands) or
// while an editor waits in a modal dialog for an answer about the document.
inline bool busy() { return print_lock_held() || editor_modal_open(); }

// A cell of the pane: the thumbnail's box and three caption lines below it.
struct Cells {
    int width;
    int height;
    int box_w;
    int box_h;
};
Cells cells_for(int pane_width);

// Whether a card has a line that does not fit even when set smaller: the
// one verdict of the card's fitting (render/card_fit.h).
class ScreenFitCheck final : public CardFitCheck {
public:
    bool overflows(int card) override { return card_overflow_lines(surface_, doc().hdata[card]) > 0; }

private:
    MemoryDeviceContext dc_{nullptr};
    GdiSurface surface_{dc_.dc(), GdiSurface::Kind::Screen};
};

// Everything the open window knows: the sheet, its thumbnails, the frame's
// and the pane's handles, the scroll position. Made when the window is
// created, reached through both windows' GWLP_USERDATA, deleted with the frame.
class ProofSheetWindow {
public:
    explicit ProofSheetWindow(HWND main_window) : main_(main_window) {}

    LRESULT frame_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT pane_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

private:
    struct Thumbnail {
        HBITMAP bitmap = nullptr;
        int box_w = 0;  // the box it was made for
    };

    void create_controls(HWND frame);
    void destroy();
    void lay_out();
    void refresh();
    void show_count();
    void set_scroll(int pixels);
    void update_scroll_bar();
    void keep_in_view(int position);
    int hit(int x, int y) const;
    void forget_thumbnail(int card);
    HBITMAP thumbnail(int card, ThumbnailMaker& maker);
    void paint_pane(HDC dc, const RECT& area);
    void paint_cell(HDC dc, ThumbnailMaker& maker, int position, int x, int y);
    void show_in_main_window(int position);
    void print_selected();
    void show_filter();
    bool pane_key(int key);

    HWND main_;
    HWND frame_ = nullptr;
    HWND pane_ = nullptr;
    HFONT font_ = nullptr;
    HFONT small_font_ = nullptr;
    const unsigned char* table_codes_ = nullptr;  // the table the marks were made with
    ScreenFitCheck fit_;
    ProofSheet sheet_;
    Thumbnail thumbnails_[HDATA_MAX];
    Cells cells_{};
    int scroll_ = 0;
    int pane_height_ = 0;
    bool close_waits_ = false;  // a close request came while the print lock was held
};

}  // namespace proof_sheet_window
