#include "app/status_bar_win32.h"

#include <commctrl.h>

#include "app/resource_ids.h"
#include "app/status_bar.h"

namespace {

HWND g_status_bar = nullptr;
HWND g_status_parent = nullptr;

// The bar dies with its window; paints after that leave it alone.
bool status_bar_alive() {
    return g_status_bar && IsWindow(g_status_bar) && GetParent(g_status_bar) == g_status_parent;
}

}  // namespace

HWND create_status_bar(HWND parent) {
    HWND bar = CreateStatusWindowW(WS_CHILD | WS_VISIBLE | CCS_BOTTOM | SBARS_SIZEGRIP, L"", parent,
                                   IDC_STATUS_BAR);
    g_status_bar = bar;
    g_status_parent = parent;
    if (!bar) return nullptr;
    int edges[STATUS_PART_COUNT];
    for (int i = 0; i < STATUS_PART_COUNT; ++i) edges[i] = STATUS_PART_EDGES[i];
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
