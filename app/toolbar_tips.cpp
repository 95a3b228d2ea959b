#include "app/toolbar_tips.h"

#include "app/resource_ids.h"

namespace {

// The print position button stands before the print button, so 336 comes
// before 335.
const ToolbarButtonInfo kButtons[TOOLBAR_BUTTON_COUNT] = {
    {CMD_TB_CARD_LAYOUT, u"はがきの下絵の設定"},
    {CMD_TB_SENDER_EDITOR, u"宛主の設定"},
    {CMD_TB_ADDRESSEE_LIST, u"宛先の設定"},
    {CMD_TB_PREVIOUS, u"戻の表示"},
    {CMD_TB_NEXT, u"次の表示"},
    {CMD_TB_PRINT_POSITION, u"印刷設定"},
    {CMD_TB_PRINT, u"印刷"},
    {CMD_TB_MANUAL, u"ヘルプ"},
    {CMD_TB_EXIT, u"終了"},
};

}  // namespace

const ToolbarButtonInfo* toolbar_button(int index) {
    if (index < 0 || index >= TOOLBAR_BUTTON_COUNT) return nullptr;
    return &kButtons[index];
}

const char16_t* tooltip_text(int command) {
    for (const ToolbarButtonInfo& button : kButtons)
        if (button.command == command) return button.tooltip;
    return nullptr;
}
