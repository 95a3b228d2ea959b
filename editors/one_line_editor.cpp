#include "editors/one_line_editor.h"

#include "editors/editor_shared.h"
#include "editors/one_line_editor_ids.h"
#include "editors/postal_code_buttons.h"
#include "editors/vertical_form_button.h"
#include "postal/postal_code_table.h"
#include "model/card_status.h"
#include "model/text.h"

// Outlives every editor: "コピー" in one row's editor, "ペースト" in another's.
LineClipboard line_clipboard;

namespace {

constexpr int kLineUnits = 63;
constexpr int kStatusUnits = 15;

void show_fields(const LineEditorState& st, DialogView& view, const CardRecord& w) {
    view.set_text(IDC_LINE_POSTAL, w.tt.m);
    view.set_text(IDC_LINE_ADDRESS, w.ta.m[st.address_line].s);
    view.set_text(IDC_LINE_NAME, w.tn.m[st.name_line].s);
    view.set_text(IDC_LINE_YOMI, w.yomi);

    char16_t label[64];
    TextBuilder(label, 64).add(u"編集行　").add_int(st.row + 1).add_unit(u'/').add_int(st.total).add(u"行");
    view.set_text(IDC_LINE_ROW_LABEL, label);
    format_counter(label, 64, u"項目　", st.address_line + 1, ADDRESSEE_LINES);
    view.set_text(IDC_LINE_ADDRESS_LABEL, label);
    format_counter(label, 64, u"項目　", st.name_line + 1, ADDRESSEE_LINES);
    view.set_text(IDC_LINE_NAME_LABEL, label);
    format_counter(label, 64, u"差出　", st.sender + 1, st.senders);
    view.set_text(IDC_LINE_SENDER_LABEL, label);
    // A sender index read from a damaged file may lie outside the table.
    bool known = st.sender >= 0 && st.sender < FDATA_MAX;
    view.set_text(IDC_LINE_SENDER_NAME, known ? doc().fdata[st.sender].n[0].s : u"");

    for (int i = 0; i < 3; ++i)
        view.set_text(IDC_LINE_STATUS_THIS + i, status_text_for(w.typ, st.year - i));
}

void store_fields(const LineEditorState& st, DialogView& view, CardRecord& w) {
    char16_t text[LINE_CAP];
    view.get_text(IDC_LINE_POSTAL, text, LINE_CAP);
    stored_postal_code(text, w.tt.m, POSTAL_CAP);
    view.get_text(IDC_LINE_ADDRESS, text, LINE_CAP);
    text_copy(w.ta.m[st.address_line].s, LINE_CAP, text, kLineUnits);
    view.get_text(IDC_LINE_NAME, text, LINE_CAP);
    text_copy(w.tn.m[st.name_line].s, LINE_CAP, text, kLineUnits);
    view.get_text(IDC_LINE_YOMI, text, LINE_CAP);
    text_copy(w.yomi, YOMI_CAP, text, kLineUnits);
    for (int i = 0; i < 3; ++i) {
        view.get_text(IDC_LINE_STATUS_THIS + i, text, kStatusUnits + 1);
        normalize_typ(w.typ, st.year);
        w.typ[i].t = parse_status(text);
    }
    w.ftb = st.sender;
}

// i + step within 0..count - 1, wrapping at both ends; 0 when count is 0.
int wrap(int i, int step, int count) {
    if (count <= 0) return 0;
    i += step;
    if (i > count - 1) return 0;
    if (i < 0) return count - 1;
    return i;
}

}  // namespace

void OneLineEditor::open(int row, int total, int year) {
    state_.row = row;
    state_.total = total;
    state_.address_line = 0;
    state_.name_line = 0;
    state_.sender = card_.ftb;
    state_.senders = count_senders();
    state_.year = year;
    show_fields(state_, view_, card_);
}

void OneLineEditor::press(int id) {
    switch (id) {
    case IDC_LINE_ADDRESS_NEXT:
    case IDC_LINE_ADDRESS_PREV:
        store_fields(state_, view_, card_);
        state_.address_line = wrap(state_.address_line, id == IDC_LINE_ADDRESS_NEXT ? 1 : -1, ADDRESSEE_LINES);
        show_fields(state_, view_, card_);
        break;
    case IDC_LINE_NAME_NEXT:
    case IDC_LINE_NAME_PREV:
        store_fields(state_, view_, card_);
        state_.name_line = wrap(state_.name_line, id == IDC_LINE_NAME_NEXT ? 1 : -1, ADDRESSEE_LINES);
        show_fields(state_, view_, card_);
        break;
    case IDC_LINE_SENDER_NEXT:
    case IDC_LINE_SENDER_PREV:
        store_fields(state_, view_, card_);
        state_.sender = wrap(state_.sender, id == IDC_LINE_SENDER_NEXT ? 1 : -1, state_.senders);
        show_fields(state_, view_, card_);
        break;
    case IDC_LINE_COPY:
        view_.get_text(IDC_LINE_ADDRESS, line_clipboard.address, kLineUnits + 1);
        view_.get_text(IDC_LINE_NAME, line_clipboard.name, kLineUnits + 1);
        view_.get_text(IDC_LINE_POSTAL, line_clipboard.postal, kLineUnits + 1);
        break;
    case IDC_LINE_PASTE:
        view_.set_text(IDC_LINE_ADDRESS, line_clipboard.address);
        view_.set_text(IDC_LINE_NAME, line_clipboard.name);
        view_.set_text(IDC_LINE_POSTAL, line_clipboard.postal);
        break;
    case IDC_LINE_POSTAL_TO_ADDRESS:
        // Acts on the fields only: the next store takes them.
        // A building and floor, or the rest of a long address, go to the
        // next address line when it is empty; the rest of a long office
        // name to the next name line.
        postal_address_button(
            view_, IDC_LINE_POSTAL, IDC_LINE_ADDRESS,
            state_.address_line + 1 < ADDRESSEE_LINES ? card_.ta.m[state_.address_line + 1].s : nullptr,
            IDC_LINE_NAME, state_.name_line + 1 < ADDRESSEE_LINES ? card_.tn.m[state_.name_line + 1].s : nullptr);
        break;
    case IDC_LINE_VERTICAL_FORM:
        // The address field only, like "〒→住所".
        vertical_form_button(view_, IDC_LINE_ADDRESS, kLineUnits);
        break;
    case IDC_LINE_CLOSE:
        store_fields(state_, view_, card_);
        doc().modified = true;
        view_.repaint_main_window();
        view_.close(1);
        break;
    case IDC_LINE_CANCEL:
        view_.repaint_main_window();
        view_.close(0);
        break;
    default:
        break;
    }
}

void OneLineEditor::close_box() { view_.close(0); }
