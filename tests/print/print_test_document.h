// A fresh document for the printing tests: the default layout on every
// card, the default print settings, `cards` cards in use whose first name
// line reads "card <i>", and a printer state as at program start.
#pragma once

#include <cstring>
#include <string>

#include "model/card_status.h"
#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"
#include "print/default_printer.h"
#include "print/printer_state.h"
#include "render/paper_metrics.h"

inline std::u16string card_label(int i) {
    std::string a = "card " + std::to_string(i);
    return std::u16string(a.begin(), a.end());
}

inline void reset_print_test_document(int cards) {
    std::memset(&doc(), 0, sizeof(Document));
    for (CardRecord& c : doc().hdata) set_default_layout(c);
    set_default_print_settings(doc().print);
    for (int i = 0; i < cards; ++i) text_set(doc().hdata[i].tn.m[0].s, card_label(i).c_str());
    reset_printer_state();
    reset_default_printer_state();
    set_paper_size(0, 0);
    set_card_marked_hook(nullptr);
}

// The card drawn on a page: the card whose label is among the page's texts
// (as typed, or in the vertical form the name face draws), -1 when none is.
template <typename Texts>
int card_on_page(const Texts& texts) {
    for (std::u16string t : texts) {
        for (char16_t& c : t)
            if (c >= u'\uFF01' && c <= u'\uFF5E') c = char16_t(c - 0xFF01 + 0x21);
            else if (c == u'\u3000') c = u' ';
        if (t.compare(0, 5, u"card ") == 0) return std::stoi(std::string(t.begin() + 5, t.end()));
    }
    return -1;
}
