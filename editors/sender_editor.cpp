#include "editors/sender_editor.h"

#include <cstring>

#include "editors/editor_shared.h"
#include "editors/postal_code_buttons.h"
#include "editors/sender_editor_ids.h"
#include "editors/vertical_form_button.h"
#include "postal/postal_code_table.h"
#include "model/document.h"
#include "model/text.h"
#include "print/print_job.h"

namespace {

// A field's text into a record's text, cut to the record's capacity.
template <int N>
void store_text(DialogView& view, int id, char16_t (&field)[N]) {
    char16_t text[N];
    view.get_text(id, text, N);
    text_copy(field, N, text);
}

// The other of the two lines.
void toggle(int32_t& line) { line = line == 0 ? 1 : 0; }

// A field that shows something else than the sender holds.
template <int N>
bool field_differs(DialogView& view, int id, const char16_t (&stored)[N]) {
    char16_t text[N];
    view.get_text(id, text, N);
    return !text_equal(text, stored);
}

bool same_sender(const SenderRecord& a, const SenderRecord& b) {
    for (int k = 0; k < SENDER_LINES; ++k)
        if (!text_equal(a.a[k].s, b.a[k].s) || !text_equal(a.n[k].s, b.n[k].s)) return false;
    return text_equal(a.t, b.t);
}

}  // namespace

SenderRecord& SenderEditor::current_sender() {
    int32_t i = state_.current;
    return doc().fdata[i >= 0 && i < FDATA_MAX ? i : 0];
}

void SenderEditor::show_fields() {
    DialogView& view = view_;
    SenderRecord& sender = current_sender();
    view.set_text(IDC_SE_POSTAL, sender.t);
    view.set_text(IDC_SE_ADDRESS, sender.a[state_.address_line].s);
    view.set_text(IDC_SE_NAME, sender.n[state_.name_line].s);
    char16_t label[48];
    format_counter(label, 48, u"住所:", state_.address_line + 1, SENDER_LINES);
    view.set_text(IDC_SE_ADDRESS_LINE, label);
    format_counter(label, 48, u"名前:", state_.name_line + 1, SENDER_LINES);
    view.set_text(IDC_SE_NAME_LINE, label);
    TextBuilder(label, 48)
        .add(u"番号:")
        .add_int(state_.current + 1)
        .add_unit(u'/')
        .add_int(state_.count)
        .add_unit(u'/')
        .add_int(FDATA_MAX);
    view.set_text(IDC_SE_SENDER, label);
}

void SenderEditor::store_fields() {
    DialogView& view = view_;
    SenderRecord& sender = current_sender();
    // The postal code as stored ("123-4567" as 1234567) shows in its field.
    char16_t postal[LINE_CAP];
    view.get_text(IDC_SE_POSTAL, postal, LINE_CAP);
    stored_postal_code(postal, sender.t, POSTAL_CAP);
    if (!text_equal(postal, sender.t)) view.set_text(IDC_SE_POSTAL, sender.t);
    store_text(view, IDC_SE_ADDRESS, sender.a[state_.address_line].s);
    store_text(view, IDC_SE_NAME, sender.n[state_.name_line].s);
}

void SenderEditor::restore_senders() { std::memcpy(doc().fdata, snapshot_, sizeof snapshot_); }

void SenderEditor::save_and_close() {
    store_fields();
    doc().modified = true;
    view_.repaint_main_window();
    close(1);
}

void SenderEditor::discard_and_close() {
    restore_senders();
    // The preview must not go on showing the discarded senders.
    view_.repaint_main_window();
    close(0);
}

bool SenderEditor::has_changes() {
    for (int j = 0; j < FDATA_MAX; ++j)
        if (!same_sender(doc().fdata[j], snapshot_[j])) return true;
    const SenderRecord& sender = current_sender();
    return field_differs(view_, IDC_SE_POSTAL, sender.t) ||
           field_differs(view_, IDC_SE_ADDRESS, sender.a[state_.address_line].s) ||
           field_differs(view_, IDC_SE_NAME, sender.n[state_.name_line].s);
}

void SenderEditor::open() {
    std::memcpy(snapshot_, doc().fdata, sizeof snapshot_);
    state_ = SenderEditorState{};
    state_.count = count_senders();
    show_fields();
    opened();
}

bool SenderEditor::press(int id) {
    // Nothing is taken while a print runs (print/print_job.h).
    if (print_lock_held()) return true;
    switch (id) {
    case IDC_SE_ADDRESS_NEXT:
    case IDC_SE_ADDRESS_PREVIOUS:
        store_fields();
        toggle(state_.address_line);
        break;
    case IDC_SE_NAME_NEXT:
    case IDC_SE_NAME_PREVIOUS:
        store_fields();
        toggle(state_.name_line);
        break;
    case IDC_SE_SENDER_NEXT:
        store_fields();
        if (state_.current < state_.count - 1) ++state_.current;
        break;
    case IDC_SE_SENDER_PREVIOUS:
        store_fields();
        if (state_.current > 0) --state_.current;
        break;
    case IDC_SE_ADD:
        store_fields();
        // A slot added before and still empty is offered again: a sender
        // typed into the slot after it would lie beyond the end of the
        // senders in use and be left out of every list and of the file.
        if (state_.count > 0 && !sender_in_use(state_.count - 1)) {
            state_.current = state_.count - 1;
        } else if (state_.count < FDATA_MAX) {
            state_.current = state_.count;
            ++state_.count;
        }
        break;
    case IDC_SE_REFRESH:
        store_fields();
        view_.repaint_main_window();
        view_.repaint_dialog();
        return true;
    case IDC_SE_POSTAL_TO_ADDRESS:
        // Acts on the fields only: the next store takes them.
        // A building and floor, or the rest of a long address, go to the
        // second address line when it is empty; the rest of a long office
        // name to the second name line.
        postal_address_button(view_, IDC_SE_POSTAL, IDC_SE_ADDRESS,
                              state_.address_line == 0 ? current_sender().a[1].s : nullptr, IDC_SE_NAME,
                              state_.name_line == 0 ? current_sender().n[1].s : nullptr);
        return true;
    case IDC_SE_VERTICAL_FORM:
        // The address field only, like "〒→住所".
        vertical_form_button(view_, IDC_SE_ADDRESS, LINE_CAP - 1);
        return true;
    case IDC_SE_UNDO:
        restore_senders();
        view_.repaint_main_window();
        break;
    case IDC_SE_SAVE_CLOSE:
        save_and_close();
        return true;
    default:
        return false;
    }
    show_fields();
    return true;
}

bool SenderEditor::close_box() {
    if (print_lock_held()) return false;
    // The editor may have been closed meanwhile, while the question was
    // open (by the main window's exit settling it).
    if (!confirm_discard(view_) || !is_open()) return false;
    discard_and_close();
    return true;
}
