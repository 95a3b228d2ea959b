// The window "一覧で確認": drawing the thumbnails. Every thumbnail
// (render/card_thumbnail.h) is kept as a bitmap until its card changes or
// the pane's width does; only the rows in view are drawn, off screen and
// copied in one piece, each cell with its number, name, status and marks.

#include <windows.h>

#include "editors/proof_sheet_window_win32.h"
#include "model/text.h"

namespace proof_sheet_window {
namespace {

constexpr COLORREF kPaneBackground = RGB(238, 235, 218);  // the main window's
constexpr COLORREF kSelected = RGB(205, 222, 250);
constexpr COLORREF kSelectedEdge = RGB(40, 100, 210);

const wchar_t* wide(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }

}  // namespace

void ProofSheetWindow::forget_thumbnail(int card) {
    if (thumbnails_[card].bitmap) DeleteObject(thumbnails_[card].bitmap);
    thumbnails_[card] = Thumbnail{};
}

HBITMAP ProofSheetWindow::thumbnail(int card, ThumbnailMaker& maker) {
    Thumbnail& kept = thumbnails_[card];
    if (kept.bitmap && kept.box_w == cells_.box_w) return kept.bitmap;
    forget_thumbnail(card);
    kept.bitmap = static_cast<HBITMAP>(maker.make(card, cells_.box_w, cells_.box_h));
    kept.box_w = cells_.box_w;
    return kept.bitmap;
}

void ProofSheetWindow::paint_cell(HDC dc, ThumbnailMaker& maker, int position, int x, int y) {
    const int card = sheet_.card_at(position);
    const bool selected = sheet_.selected(position);
    RECT cell{x + 2, y + 2, x + cells_.width - 2, y + cells_.height - 2};
    if (selected) {
        HBRUSH fill = CreateSolidBrush(kSelected);
        FillRect(dc, &cell, fill);
        DeleteObject(fill);
    }
    if (HBITMAP bitmap = thumbnail(card, maker)) {
        BITMAP info{};
        GetObjectW(bitmap, sizeof info, &info);
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, bitmap);
        const int left = x + (cells_.width - info.bmWidth) / 2;
        BitBlt(dc, left, y + 8, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
        RECT edge{left - 1, y + 7, left + info.bmWidth + 1, y + 9 + info.bmHeight};
        FrameRect(dc, &edge, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    }
    if (selected) {
        HBRUSH edge = CreateSolidBrush(kSelectedEdge);
        FrameRect(dc, &cell, edge);
        DeleteObject(edge);
    }
    if (GetFocus() == pane_ && sheet_.focus() == position) {
        RECT inner{cell.left + 2, cell.top + 2, cell.right - 2, cell.bottom - 2};
        DrawFocusRect(dc, &inner);
    }

    // Number and name, then the status and the marks as coloured tags.
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old_font = SelectObject(dc, font_);
    const int text_left = x + 10;
    const int text_right = x + cells_.width - 10;
    int line_y = y + 8 + cells_.box_h + 4;
    char16_t text[SHEET_TITLE_CAP];
    format_card_title(card, text, SHEET_TITLE_CAP);
    RECT line{text_left, line_y, text_right, line_y + kLine};
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, wide(text), -1, &line, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    line_y += kLine;
    const CardCheck& check = sheet_.check(card);
    format_card_status(check, sheet_.year(), text, SHEET_TITLE_CAP);
    SIZE size{};
    GetTextExtentPoint32W(dc, wide(text), text_length(text), &size);
    TextOutW(dc, text_left, line_y + 1, wide(text), text_length(text));
    SelectObject(dc, small_font_);
    int tag_x = text_left + size.cx + 6;
    for (const MarkStyle& style : kMarkStyles) {
        if (!(check.marks & style.mark)) continue;
        const int length = text_length(style.word);
        GetTextExtentPoint32W(dc, wide(style.word), length, &size);
        if (tag_x + size.cx + 6 > text_right && tag_x > text_left) {
            tag_x = text_left;
            line_y += kLine;
        }
        RECT tag{tag_x, line_y + 1, tag_x + size.cx + 6, line_y + kLine - 1};
        HBRUSH fill = CreateSolidBrush(RGB(style.colour.r, style.colour.g, style.colour.b));
        FillRect(dc, &tag, fill);
        DeleteObject(fill);
        SetTextColor(dc, RGB(255, 255, 255));
        TextOutW(dc, tag_x + 3, line_y + 2, wide(style.word), length);
        tag_x += size.cx + 10;
    }
    SelectObject(dc, old_font);
}

// Drawn off screen and copied in one piece: no flicker while scrolling.
void ProofSheetWindow::paint_pane(HDC dc, const RECT& area) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0) return;
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SetViewportOrgEx(memory, -area.left, -area.top, nullptr);
    HBRUSH background = CreateSolidBrush(kPaneBackground);
    FillRect(memory, &area, background);
    DeleteObject(background);
    if (cells_.height > 0) {
        ThumbnailMaker maker(memory);
        const int first_row = (area.top + scroll_) / cells_.height;
        const int last_row = (area.bottom + scroll_) / cells_.height;
        for (int row = first_row; row <= last_row; ++row) {
            for (int column = 0; column < kColumns; ++column) {
                const int position = row * kColumns + column;
                if (position >= sheet_.shown()) break;
                paint_cell(memory, maker, position, column * cells_.width, row * cells_.height - scroll_);
            }
        }
    }
    if (sheet_.shown() == 0) {
        SetBkMode(memory, TRANSPARENT);
        HGDIOBJ old_font = SelectObject(memory, font_);
        const wchar_t* none = L"表示する葉書はありません。";
        TextOutW(memory, 16, 16, none, lstrlenW(none));
        SelectObject(memory, old_font);
    }
    SetViewportOrgEx(memory, 0, 0, nullptr);
    BitBlt(dc, area.left, area.top, w, h, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

}  // namespace proof_sheet_window
