// The initial state of the parts of a document: no senders, no cards in use,
// the default layout on every card, the default print settings.
#pragma once

#include "model/document.h"

void clear_senders();
void clear_addressees();
void reset_layouts();
void reset_layout_clipboard();

// The default layout (positions, fonts, colours, size and background name)
// written into the layout fields of one card; texts, ftb and typ untouched.
void set_default_layout(CardRecord& card);
// The default print settings.
void set_default_print_settings(PrintSettings& settings);
