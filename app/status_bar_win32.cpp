#include "app/status_bar_win32.h"

#include <commctrl.h>

#include <cwchar>

#include "app/resource_ids.h"
#include "app/status_bar.h"

namespace {

HWND g_status_bar = nullptr;
HWND g_status_parent = nullptr;

// The bar dies with its window; paints after that leave it alone.
bool status_bar_alive() {
    return g_status_bar && IsWindow(g_status_bar) && GetParent(g_status_bar) == g_status_parent;
}

// The width a part needs to show `text` whole in the bar's font: the text,
// the part's border and the room the bar leaves beside a part's text.
int part_width(HWND bar, const char16_t* text) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(bar, WM_GETFONT, 0, 0));
    HFONT made = nullptr;
    if (font == nullptr) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
            font = made = CreateFontIndirectW(&metrics.lfStatusFont);
    }
    HDC dc = GetDC(bar);
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    SIZE size{};
    const auto* w = reinterpret_cast<const wchar_t*>(text);
    GetTextExtentPoint32W(dc, w, static_cast<int>(wcslen(w)), &size);
    if (old) SelectObject(dc, old);
    ReleaseDC(bar, dc);
    if (made) DeleteObject(made);
    int borders[3] = {};  // horizontal border, vertical border, spacing between parts
    SendMessageW(bar, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    return size.cx + 2 * borders[0] + borders[2] + 2 * GetSystemMetrics(SM_CXEDGE) + 6;
}

}  // namespace

HWND create_status_bar(HWND parent) {
    HWND bar = CreateStatusWindowW(WS_CHILD | WS_VISIBLE | CCS_BOTTOM | SBARS_SIZEGRIP, L"", parent,
                                   IDC_STATUS_BAR);
    g_status_bar = bar;
    g_status_parent = parent;
    if (!bar) return nullptr;
    int edges[STATUS_PART_COUNT];
    status_part_edges(part_width(bar, STATUS_WIDEST_PAPER), part_width(bar, STATUS_WIDEST_PAGE),
                      edges);
    SendMessageW(bar, SB_SETPARTS, STATUS_PART_COUNT, reinterpret_cast<LPARAM>(edges));
    return bar;
}

HWND status_bar_window() { return status_bar_alive() ? g_status_bar : nullptr; }

void refresh_status() {
    if (!status_bar_alive()) return;
    StatusTexts texts;
    format_status_texts(texts);
    for (int i = 0; i < STATUS_PART_COUNT; ++i)
        SendMessageW(g_status_bar, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(texts.part[i]));
}
