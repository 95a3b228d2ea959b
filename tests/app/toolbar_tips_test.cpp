#include "app/toolbar_tips.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ToolbarTips, ButtonsInDisplayOrderWithPrintPositionBeforePrint) {
    const int commands[TOOLBAR_BUTTON_COUNT] = {330, 331, 332, 333, 334, 336, 335, 337, 338};
    const char16_t* tips[TOOLBAR_BUTTON_COUNT] = {
        u"はがきの下絵の設定", u"宛主の設定", u"宛先の設定", u"戻の表示", u"次の表示",
        u"印刷設定", u"印刷", u"ヘルプ", u"終了",
    };
    for (int i = 0; i < TOOLBAR_BUTTON_COUNT; ++i) {
        const ToolbarButtonInfo* button = toolbar_button(i);
        ASSERT_NE(button, nullptr) << i;
        EXPECT_EQ(button->command, commands[i]) << "button " << i;
        EXPECT_EQ(std::u16string(button->tooltip), tips[i]) << "button " << i;
    }
}

TEST(ToolbarTips, HoveringButtonsFiveAndSixShowsPrintPositionThenPrint) {
    EXPECT_EQ(std::u16string(tooltip_text(toolbar_button(5)->command)), u"印刷設定");
    EXPECT_EQ(std::u16string(tooltip_text(toolbar_button(6)->command)), u"印刷");
}

TEST(ToolbarTips, EveryToolbarCommandHasItsButtonsTip) {
    for (int i = 0; i < TOOLBAR_BUTTON_COUNT; ++i) {
        const ToolbarButtonInfo* button = toolbar_button(i);
        EXPECT_EQ(tooltip_text(button->command), button->tooltip) << "button " << i;
    }
}

TEST(ToolbarTips, IdsOutsideTheToolbarGetNothing) {
    // 329 is the toolbar itself; the menu's commands have no tooltips.
    for (int id : {0, -1, 1, 67, 70, 71, 329, 339, 65536 + 330})
        EXPECT_EQ(tooltip_text(id), nullptr) << id;
    EXPECT_EQ(toolbar_button(-1), nullptr);
    EXPECT_EQ(toolbar_button(TOOLBAR_BUTTON_COUNT), nullptr);
}

}  // namespace
