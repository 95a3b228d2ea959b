// The logic of the card layout dialog "葉書の設定" (dialog 2): the layout of
// the card shown (the page) in the dialog's fields, paging through the cards
// in use, the line selectors, the line tops and spacings, fonts, colours,
// the background bitmap, the layout clipboard, the reset of every layout,
// and undoing all of it. It works on the document directly; the Win32 dialog
// binds it to the real controls and runs the 300 ms timer that follows the
// main window's toolbar navigation.
//
// The code is cut in three: card_layout_editor.cpp opens, dispatches the
// buttons, undoes and closes; card_layout_fields.cpp shows and stores the
// fields through one table; card_layout_buttons.cpp holds the buttons that
// page, pick lines, place lines, and choose fonts, colours and the bitmap.
#pragma once

#include <cstdint>

#include "editors/card_layout_choosers.h"
#include "editors/dialog_view.h"
#include "editors/editor_shared.h"
#include "model/document.h"

struct CardLayoutState {
    int32_t page;                 // the card shown
    int32_t page_count;           // count_cards() when the dialog opened
    int32_t address_line;         // 0 to 4: the ta line in fields 216, 217
    int32_t name_line;            // 0 to 4: the tn line in fields 218, 219
    int32_t sender_address_line;  // 0 or 1: the fa line in fields 220, 221
    int32_t sender_name_line;     // 0 or 1: the fn line in fields 222, 223
};

// card_layout_items.h
enum LayoutItem : int;
struct LayoutLineItem;

// One open card layout dialog on its view; the Win32 dialog creates it when
// it opens and deletes it when it is destroyed.
class CardLayoutEditor final : public Editor {
public:
    explicit CardLayoutEditor(DialogView& view) : Editor(view) {}

    // The dialog has been created: snapshot of all cards, page =
    // current_card, selectors 0, fields shown, main window repainted,
    // navigation request cleared.
    void open();

    // A button of the dialog was pressed. False when `id` is none of its
    // buttons.
    bool press(LayoutChoosers& choosers, int id);

    // The timer: follows the main window's toolbar navigation, if any.
    void follow_navigation();

    // The close box: asks whether to discard the changes; on Yes puts every
    // card back as it was when the dialog opened and closes. True when
    // closed.
    bool close_box();

    const char16_t* caption() const override { return u"葉書の設定"; }
    // A layout stored since the dialog opened (or the print settings
    // reset), or a field typed into and not stored yet.
    bool has_changes() override;
    void save_and_close() override;
    void discard_and_close() override;

private:
    // The fields (card_layout_fields.cpp).
    CardRecord& page_card();
    int32_t& selector(LayoutItem item);
    void show_fields();
    void store_fields(CardRecord& card);

    // The buttons (card_layout_buttons.cpp).
    void move_page(int delta);
    void turn_page(int delta);
    bool line_command(LayoutChoosers& choosers, int id);
    bool style_command(LayoutChoosers& choosers, int id);
    void move_selector(const LayoutLineItem& line, int delta);
    void set_line_tops(const LayoutLineItem& line);
    void set_line_spacing(LayoutChoosers& choosers, const LayoutLineItem& line);
    void choose_item_font(LayoutChoosers& choosers, LayoutItem item);
    void choose_item_colour(LayoutChoosers& choosers, LayoutItem item);
    void browse_bitmap();

    // Reset and undo (card_layout_editor.cpp).
    void reset_all_layouts();
    bool reset_pending(int32_t PrintSettings::*field) const;
    bool print_reset_pending() const;
    void restore_layouts();

    CardLayoutState state_{};

    // The layouts of all cards as they were when the dialog opened (only
    // the layout fields count: the texts and histories belong to the
    // addressee list and to printing).
    CardRecord snapshot_[HDATA_MAX] = {};

    // The print settings as they were before the first "座標初期化" since
    // the dialog opened (which resets them with the layouts), and as that
    // reset left them: undoing the dialog's changes puts each back only
    // while it still holds what the reset set.
    PrintSettings print_before_reset_{};
    PrintSettings print_after_reset_{};
    bool print_reset_ = false;
};
