#include "app/toolbar_win32.h"

#include <commctrl.h>

#include "app/resource_ids.h"
#include "app/toolbar_tips.h"

namespace {

HWND g_toolbar = nullptr;

constexpr int kImageSize = 32;

}  // namespace

HWND create_toolbar(HWND parent) {
    const DWORD style = WS_CHILD | WS_VISIBLE | CCS_ADJUSTABLE | TBSTYLE_TOOLTIPS |
                        TBSTYLE_ALTDRAG | TBSTYLE_FLAT;
    // The strip's nine images are registered at once, cut at 32 pixels: the
    // image size must be known before the bitmap is added.
    HWND toolbar = CreateToolbarEx(parent, style, IDC_TOOLBAR, TOOLBAR_BUTTON_COUNT,
                                   GetModuleHandleW(nullptr), IDB_TOOLBAR, nullptr, 0, 0, 0,
                                   kImageSize, kImageSize, sizeof(TBBUTTON));
    g_toolbar = toolbar;
    if (!toolbar) return nullptr;
    SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(kImageSize, kImageSize));

    TBBUTTON buttons[TOOLBAR_BUTTON_COUNT] = {};
    for (int i = 0; i < TOOLBAR_BUTTON_COUNT; ++i) {
        buttons[i].iBitmap = i;
        buttons[i].idCommand = toolbar_button(i)->command;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_BUTTON;
        buttons[i].iString = -1;  // no caption; the name shows as the tooltip
    }
    SendMessageW(toolbar, TB_ADDBUTTONSW, TOOLBAR_BUTTON_COUNT, reinterpret_cast<LPARAM>(buttons));
    SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
    return toolbar;
}

HWND toolbar_window() { return g_toolbar; }

bool answer_toolbar_tooltip(const NMHDR* header) {
    if (header == nullptr || header->code != TTN_GETDISPINFOW) return false;
    auto* request = reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(header));
    // A tool registered by window handle carries no button id.
    if (request->uFlags & TTF_IDISHWND) return false;
    const char16_t* tip = tooltip_text(static_cast<int>(header->idFrom));
    if (tip == nullptr) return false;
    // The tooltip only reads the text, which lives for the whole run.
    request->lpszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(tip));
    request->hinst = nullptr;
    return true;
}
