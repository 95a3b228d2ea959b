// The logic of the card layout dialog "葉書の設定" (dialog 2): the layout of
// the card shown (the page) in the dialog's fields, paging through the cards
// in use, the line selectors, the line tops and spacings, fonts, colours,
// the background bitmap, the layout clipboard, the reset of every layout,
// and undoing all of it. It works on the document directly; the Win32 dialog
// binds it to the real controls and runs the 300 ms timer that follows the
// main window's toolbar navigation.
#pragma once

#include <cstdint>

#include "editors/card_layout_choosers.h"
#include "editors/dialog_view.h"

struct CardLayoutState {
    int32_t page;                 // the card shown
    int32_t page_count;           // count_cards() when the dialog opened
    int32_t address_line;         // 0 to 4: the ta line in fields 216, 217
    int32_t name_line;            // 0 to 4: the tn line in fields 218, 219
    int32_t sender_address_line;  // 0 or 1: the fa line in fields 220, 221
    int32_t sender_name_line;     // 0 or 1: the fn line in fields 222, 223
};

// The dialog's state; it exists once.
CardLayoutState& card_layout_state();

// The dialog has been created: snapshot of all cards, page = current_card,
// selectors 0, fields shown, main window repainted, navigation request
// cleared.
void start_card_layout(DialogView& view);

// A button of the dialog was pressed. False when `id` is none of its
// buttons.
bool card_layout_command(DialogView& view, LayoutChoosers& choosers, int id);

// The timer: follows the main window's toolbar navigation, if any.
void card_layout_follow_navigation(DialogView& view);

// The close box: asks whether to discard the changes; on Yes puts every
// card back as it was when the dialog opened and closes. True when closed.
bool card_layout_close_box(DialogView& view);
