#include "editors/one_line_editor.h"

#include "editors/editor_shared.h"
#include "editors/one_line_editor_ids.h"
#include "editors/postal_code_buttons.h"
#include "editors/vertical_form_button.h"
#include "postal/postal_code_table.h"
#include "model/card_status.h"
#include "model/text.h"

LineClipboard line_clipboard;

namespace {

constexpr int kLineUnits = 63;
constexpr int kStatusUnits = 15;

void show_fields(LineEditorState& st, DialogView& view) {
    CardRecord& w = work_card;
    view.set_text(IDC_LINE_POSTAL, w.tt.m);
    view.set_text(IDC_LINE_ADDRESS, w.ta.m[st.address_line].s);
    view.set_text(IDC_LINE_NAME, w.tn.m[st.name_line].s);

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

void store_fields(LineEditorState& st, DialogView& view) {
    CardRecord& w = work_card;
    char16_t text[LINE_CAP];
    view.get_text(IDC_LINE_POSTAL, text, LINE_CAP);
    stored_postal_code(text, w.tt.m, POSTAL_CAP);
    view.get_text(IDC_LINE_ADDRESS, text, LINE_CAP);
    text_copy(w.ta.m[st.address_line].s, LINE_CAP, text, kLineUnits);
    view.get_text(IDC_LINE_NAME, text, LINE_CAP);
    text_copy(w.tn.m[st.name_line].s, LINE_CAP, text, kLineUnits);
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

void line_editor_open(LineEditorState& st, DialogView& view, int row, int total, int year) {
    st.row = row;
    st.total = total;
    st.address_line = 0;
    st.name_line = 0;
    st.sender = work_card.ftb;
    st.senders = count_senders();
    st.year = year;
    show_fields(st, view);
}

void line_editor_command(LineEditorState& st, DialogView& view, int id) {
    switch (id) {
    case IDC_LINE_ADDRESS_NEXT:
    case IDC_LINE_ADDRESS_PREV:
        store_fields(st, view);
        st.address_line = wrap(st.address_line, id == IDC_LINE_ADDRESS_NEXT ? 1 : -1, ADDRESSEE_LINES);
        show_fields(st, view);
        break;
    case IDC_LINE_NAME_NEXT:
    case IDC_LINE_NAME_PREV:
        store_fields(st, view);
        st.name_line = wrap(st.name_line, id == IDC_LINE_NAME_NEXT ? 1 : -1, ADDRESSEE_LINES);
        show_fields(st, view);
        break;
    case IDC_LINE_SENDER_NEXT:
    case IDC_LINE_SENDER_PREV:
        store_fields(st, view);
        st.sender = wrap(st.sender, id == IDC_LINE_SENDER_NEXT ? 1 : -1, st.senders);
        show_fields(st, view);
        break;
    case IDC_LINE_COPY:
        view.get_text(IDC_LINE_ADDRESS, line_clipboard.address, kLineUnits + 1);
        view.get_text(IDC_LINE_NAME, line_clipboard.name, kLineUnits + 1);
        view.get_text(IDC_LINE_POSTAL, line_clipboard.postal, kLineUnits + 1);
        break;
    case IDC_LINE_PASTE:
        view.set_text(IDC_LINE_ADDRESS, line_clipboard.address);
        view.set_text(IDC_LINE_NAME, line_clipboard.name);
        view.set_text(IDC_LINE_POSTAL, line_clipboard.postal);
        break;
    case IDC_LINE_POSTAL_TO_ADDRESS:
        // Acts on the fields only: the next store takes them.
        // A building and floor, or the rest of a long address, go to the
        // next address line when it is empty; the rest of a long office
        // name to the next name line.
        postal_address_button(view, IDC_LINE_POSTAL, IDC_LINE_ADDRESS,
                              st.address_line + 1 < ADDRESSEE_LINES ? work_card.ta.m[st.address_line + 1].s
                                                                    : nullptr,
                              IDC_LINE_NAME,
                              st.name_line + 1 < ADDRESSEE_LINES ? work_card.tn.m[st.name_line + 1].s : nullptr);
        break;
    case IDC_LINE_VERTICAL_FORM:
        // The address field only, like "〒→住所".
        vertical_form_button(view, IDC_LINE_ADDRESS, kLineUnits);
        break;
    case IDC_LINE_CLOSE:
        store_fields(st, view);
        doc().modified = true;
        view.repaint_main_window();
        view.close(1);
        break;
    case IDC_LINE_CANCEL:
        view.repaint_main_window();
        view.close(0);
        break;
    default:
        break;
    }
}

void line_editor_close_box(DialogView& view) { view.close(0); }
