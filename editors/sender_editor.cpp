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

SenderEditorState g_state{};
SenderRecord g_snapshot[FDATA_MAX];

SenderRecord& current_sender() {
    int32_t i = g_state.current;
    return doc().fdata[i >= 0 && i < FDATA_MAX ? i : 0];
}

void show_fields(DialogView& view) {
    SenderRecord& sender = current_sender();
    view.set_text(IDC_SE_POSTAL, sender.t);
    view.set_text(IDC_SE_ADDRESS, sender.a[g_state.address_line].s);
    view.set_text(IDC_SE_NAME, sender.n[g_state.name_line].s);
    char16_t label[48];
    format_counter(label, 48, u"住所:", g_state.address_line + 1, SENDER_LINES);
    view.set_text(IDC_SE_ADDRESS_LINE, label);
    format_counter(label, 48, u"名前:", g_state.name_line + 1, SENDER_LINES);
    view.set_text(IDC_SE_NAME_LINE, label);
    TextBuilder(label, 48)
        .add(u"番号:")
        .add_int(g_state.current + 1)
        .add_unit(u'/')
        .add_int(g_state.count)
        .add_unit(u'/')
        .add_int(FDATA_MAX);
    view.set_text(IDC_SE_SENDER, label);
}

// A field's text into a record's text, cut to the record's capacity.
template <int N>
void store_text(DialogView& view, int id, char16_t (&field)[N]) {
    char16_t text[N];
    view.get_text(id, text, N);
    text_copy(field, N, text);
}

void store_fields(DialogView& view) {
    SenderRecord& sender = current_sender();
    // The postal code as stored ("123-4567" as 1234567) shows in its field.
    char16_t postal[LINE_CAP];
    view.get_text(IDC_SE_POSTAL, postal, LINE_CAP);
    stored_postal_code(postal, sender.t, POSTAL_CAP);
    if (!text_equal(postal, sender.t)) view.set_text(IDC_SE_POSTAL, sender.t);
    store_text(view, IDC_SE_ADDRESS, sender.a[g_state.address_line].s);
    store_text(view, IDC_SE_NAME, sender.n[g_state.name_line].s);
}

// The other of the two lines.
void toggle(int32_t& line) { line = line == 0 ? 1 : 0; }

void restore_senders() { std::memcpy(doc().fdata, g_snapshot, sizeof g_snapshot); }

void save_and_close(DialogView& view) {
    store_fields(view);
    doc().modified = true;
    view.repaint_main_window();
    close_editor(view, 1);
}

void discard_and_close(DialogView& view) {
    restore_senders();
    close_editor(view, 0);
    // The preview must not go on showing the discarded senders.
    view.repaint_main_window();
}

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

// Senders stored since the editor opened, or a field typed into.
bool has_changes(DialogView& view) {
    for (int j = 0; j < FDATA_MAX; ++j)
        if (!same_sender(doc().fdata[j], g_snapshot[j])) return true;
    const SenderRecord& sender = current_sender();
    return field_differs(view, IDC_SE_POSTAL, sender.t) ||
           field_differs(view, IDC_SE_ADDRESS, sender.a[g_state.address_line].s) ||
           field_differs(view, IDC_SE_NAME, sender.n[g_state.name_line].s);
}

const EditorKind kSenderEditor = {u"差出人の設定", has_changes, save_and_close, discard_and_close};

}  // namespace

SenderEditorState& sender_editor_state() { return g_state; }

void start_sender_editor(DialogView& view) {
    std::memcpy(g_snapshot, doc().fdata, sizeof g_snapshot);
    g_state = SenderEditorState{};
    g_state.count = count_senders();
    show_fields(view);
    editor_opened(kSenderEditor, view);
}

bool sender_editor_command(DialogView& view, int id) {
    // Nothing is taken while a print runs (print/print_job.h).
    if (print_lock_held()) return true;
    switch (id) {
    case IDC_SE_ADDRESS_NEXT:
    case IDC_SE_ADDRESS_PREVIOUS:
        store_fields(view);
        toggle(g_state.address_line);
        break;
    case IDC_SE_NAME_NEXT:
    case IDC_SE_NAME_PREVIOUS:
        store_fields(view);
        toggle(g_state.name_line);
        break;
    case IDC_SE_SENDER_NEXT:
        store_fields(view);
        if (g_state.current < g_state.count - 1) ++g_state.current;
        break;
    case IDC_SE_SENDER_PREVIOUS:
        store_fields(view);
        if (g_state.current > 0) --g_state.current;
        break;
    case IDC_SE_ADD:
        store_fields(view);
        // A slot added before and still empty is offered again: a sender
        // typed into the slot after it would lie beyond the end of the
        // senders in use and be left out of every list and of the file.
        if (g_state.count > 0 && !sender_in_use(g_state.count - 1)) {
            g_state.current = g_state.count - 1;
        } else if (g_state.count < FDATA_MAX) {
            g_state.current = g_state.count;
            ++g_state.count;
        }
        break;
    case IDC_SE_REFRESH:
        store_fields(view);
        view.repaint_main_window();
        view.repaint_dialog();
        return true;
    case IDC_SE_POSTAL_TO_ADDRESS:
        // Acts on the fields only: the next store takes them.
        // A building and floor, or the rest of a long address, go to the
        // second address line when it is empty; the rest of a long office
        // name to the second name line.
        postal_address_button(view, IDC_SE_POSTAL, IDC_SE_ADDRESS,
                              g_state.address_line == 0 ? current_sender().a[1].s : nullptr, IDC_SE_NAME,
                              g_state.name_line == 0 ? current_sender().n[1].s : nullptr);
        return true;
    case IDC_SE_VERTICAL_FORM:
        // The address field only, like "〒→住所".
        vertical_form_button(view, IDC_SE_ADDRESS, LINE_CAP - 1);
        return true;
    case IDC_SE_UNDO:
        restore_senders();
        view.repaint_main_window();
        break;
    case IDC_SE_SAVE_CLOSE:
        save_and_close(view);
        return true;
    default:
        return false;
    }
    show_fields(view);
    return true;
}

bool sender_editor_close_box(DialogView& view) {
    if (print_lock_held()) return false;
    if (!confirm_discard(view)) return false;
    discard_and_close(view);
    return true;
}
