#include "editors/vertical_form_button.h"

#include "model/document.h"
#include "model/text.h"
#include "model/vertical_form.h"

int vertical_form_button(DialogView& view, int field_id, int max_units) {
    char16_t text[LINE_CAP], converted[LINE_CAP];
    view.get_text(field_id, text, LINE_CAP);
    int cap = max_units + 1 < LINE_CAP ? max_units + 1 : LINE_CAP;
    vertical_form(converted, cap, text);
    bool changed = !text_equal(text, converted);
    if (changed) view.set_text(field_id, converted);
    view.focus(field_id);
    return changed ? 1 : 0;
}
