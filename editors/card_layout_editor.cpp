#include "editors/card_layout_editor.h"

#include <cstdint>
#include <cstring>

#include "editors/card_layout_ids.h"
#include "editors/card_layout_items.h"
#include "editors/navigation_request.h"
#include "model/defaults.h"
#include "print/print_job.h"

namespace {

void paste_all() {
    int count = count_cards();
    for (int i = 0; i < count; ++i) copy_layout(doc().hdata[i], doc().layout_clipboard);
}

// The print settings the reset sets, one by one.
int32_t PrintSettings::* const kPrintFields[] = {
    &PrintSettings::base_pw, &PrintSettings::base_ph,  &PrintSettings::base_px,
    &PrintSettings::base_py, &PrintSettings::prn_mode, &PrintSettings::bmp_mode,
    &PrintSettings::start_p, &PrintSettings::stop_p,
};
static_assert(sizeof kPrintFields / sizeof kPrintFields[0] * sizeof(int32_t) == sizeof(PrintSettings),
              "every print setting is listed");

bool same_layout(const CardRecord& card, const CardRecord& layout) {
    CardRecord probe;
    std::memcpy(&probe, &card, sizeof probe);
    copy_layout(probe, layout);
    return std::memcmp(&probe, &card, sizeof probe) == 0;
}

}  // namespace

void CardLayoutEditor::reset_all_layouts() {
    if (!print_reset_) {
        print_before_reset_ = doc().print;
        print_reset_ = true;
    }
    reset_layouts();
    print_after_reset_ = doc().print;
    view_.repaint_main_window();
    view_.repaint_dialog();
    show_fields();
}

// A print setting that undoing puts back: the reset changed it and it still
// holds what the reset set. Each setting counts alone, so that one set
// since (the print mode by a print from the addressee list, offsets
// confirmed in the print position dialog) keeps its value and does not keep
// the others from going back.
bool CardLayoutEditor::reset_pending(int32_t PrintSettings::*field) const {
    return print_reset_ && doc().print.*field == print_after_reset_.*field &&
           print_after_reset_.*field != print_before_reset_.*field;
}

bool CardLayoutEditor::print_reset_pending() const {
    for (auto field : kPrintFields)
        if (reset_pending(field)) return true;
    return false;
}

// Every card's layout (and the print settings the dialog reset, where
// nobody has set them since) as they were when the dialog opened.
void CardLayoutEditor::restore_layouts() {
    for (int i = 0; i < HDATA_MAX; ++i) copy_layout(doc().hdata[i], snapshot_[i]);
    for (auto field : kPrintFields)
        if (reset_pending(field)) doc().print.*field = print_before_reset_.*field;
    print_reset_ = false;
}

bool CardLayoutEditor::has_changes() {
    for (int i = 0; i < HDATA_MAX; ++i)
        if (!same_layout(doc().hdata[i], snapshot_[i])) return true;
    if (print_reset_pending()) return true;
    CardRecord typed;
    std::memcpy(&typed, &page_card(), sizeof typed);
    store_fields(typed);
    return !same_layout(page_card(), typed);
}

void CardLayoutEditor::save_and_close() {
    store_fields(page_card());
    doc().modified = true;
    view_.repaint_main_window();
    close(1);
}

void CardLayoutEditor::discard_and_close() {
    restore_layouts();
    // The preview must not go on showing the discarded layouts.
    view_.repaint_main_window();
    close(0);
}

void CardLayoutEditor::open() {
    std::memcpy(snapshot_, doc().hdata, sizeof snapshot_);
    print_reset_ = false;
    state_ = CardLayoutState{};
    state_.page_count = count_cards();
    view_.repaint_main_window();
    int32_t current = doc().current_card;
    state_.page = current >= 0 && current < HDATA_MAX ? current : 0;
    show_fields();
    set_nav_request(NAV_NONE);
    opened();
}

bool CardLayoutEditor::press(LayoutChoosers& choosers, int id) {
    // Nothing is taken while a print runs (print/print_job.h).
    if (print_lock_held()) return true;
    if (line_command(choosers, id) || style_command(choosers, id)) return true;
    switch (id) {
    case IDC_CL_NEXT_PAGE:
        turn_page(+1);
        return true;
    case IDC_CL_PREVIOUS_PAGE:
        turn_page(-1);
        return true;
    case IDC_CL_BROWSE:
        browse_bitmap();
        return true;
    case IDC_CL_COPY:
        store_fields(page_card());
        copy_layout(doc().layout_clipboard, page_card());
        return true;
    case IDC_CL_PASTE:
        copy_layout(page_card(), doc().layout_clipboard);
        show_fields();
        return true;
    case IDC_CL_PASTE_ALL:
        paste_all();
        show_fields();
        return true;
    case IDC_CL_RESET:
        reset_all_layouts();
        return true;
    case IDC_CL_REFRESH:
        store_fields(page_card());
        view_.repaint_main_window();
        show_fields();
        return true;
    case IDC_CL_RELOAD:
        show_fields();
        view_.repaint_dialog();
        return true;
    case IDC_CL_UNDO:
        // The fields show the restored card at once: were they left showing
        // the undone values, the next store would write them back into it.
        restore_layouts();
        view_.repaint_main_window();
        view_.repaint_dialog();
        show_fields();
        return true;
    case IDC_CL_SAVE_CLOSE:
        save_and_close();
        return true;
    default:
        return false;
    }
}

void CardLayoutEditor::follow_navigation() {
    int request = nav_request();
    if (request != NAV_NEXT && request != NAV_PREVIOUS) return;
    store_fields(page_card());
    move_page(request == NAV_NEXT ? +1 : -1);
    set_nav_request(NAV_NONE);
    show_fields();
}

bool CardLayoutEditor::close_box() {
    if (print_lock_held()) return false;
    // The dialog may have been closed meanwhile, while the question was
    // open (by the main window's exit settling it).
    if (!confirm_discard(view_) || !is_open()) return false;
    discard_and_close();
    return true;
}
