// The "漢数字" button beside an address field (one-line editor, sender
// editor): the field's text becomes its vertical-writing form
// (model/vertical_form.h), so that the card prints its numbers upright.
#pragma once

#include "editors/dialog_view.h"

// Converts the text of field `field_id` in place, at most `max_units`
// units as the field is stored. Nothing is stored into a record: the
// editor's next store takes the field as it takes what was typed. The
// focus goes back to the field. Returns 1 when the text changed.
int vertical_form_button(DialogView& view, int field_id, int max_units);
