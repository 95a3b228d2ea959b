#include "model/defaults.h"
// Placeholder until the defaults are filled in.
void clear_senders() {}
void clear_addressees() {}
void reset_layouts() {}
void reset_layout_clipboard() {}
void set_default_layout(CardRecord&) {}
void set_default_print_settings(PrintSettings&) {}
