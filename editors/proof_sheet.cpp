#include "editors/proof_sheet.h"

#include <cstring>

#include "editors/card_round.h"
#include "model/card_status.h"
#include "model/text.h"
#include "render/card_geometry.h"

const MarkStyle kMarkStyles[MARK_COUNT] = {
    {MARK_OVERFLOW, u"はみ出し", {210, 30, 30}},
    {MARK_NO_POSTAL, u"〒なし", {230, 120, 0}},
    {MARK_POSTAL_UNKNOWN, u"〒不明", {190, 0, 160}},
    {MARK_POSTAL_DIGITS, u"〒桁", {150, 80, 0}},
    {MARK_NO_SENDER, u"差出人なし", {30, 80, 200}},
    {MARK_MOURNING, u"喪", {60, 60, 60}},
    {MARK_STOPPED, u"止", {130, 130, 130}},
    {MARK_SENT, u"済", {0, 140, 60}},
};

namespace {

bool sender_empty(const SenderRecord& s) {
    return s.t[0] == 0 && s.a[0].s[0] == 0 && s.a[1].s[0] == 0 && s.n[0].s[0] == 0 &&
           s.n[1].s[0] == 0;
}

// The postal code as the card prints it into its seven boxes.
unsigned postal_marks(const char16_t* code, const PostalCodeTable* table) {
    if (code[0] == 0) return MARK_NO_POSTAL;
    uint32_t value = 0;
    if (!postal_code_digits(code, value)) return MARK_POSTAL_DIGITS;
    if (table != nullptr && find_postal_code(*table, value) < 0) return MARK_POSTAL_UNKNOWN;
    return 0;
}

// The addressee a card stands for: its name and address lines and its
// postal code.
bool same_addressee(const CardRecord& a, const CardRecord& b) {
    if (!text_equal(a.tt.m, b.tt.m)) return false;
    for (int k = 0; k < ADDRESSEE_LINES; ++k)
        if (!text_equal(a.tn.m[k].s, b.tn.m[k].s) || !text_equal(a.ta.m[k].s, b.ta.m[k].s)) return false;
    return true;
}

unsigned g_replacements = 0;

}  // namespace

void proof_sheet_document_replaced() { ++g_replacements; }

CardCheck check_card(const CardRecord& card, int year, bool overflow, const PostalCodeTable* table) {
    CardCheck check{};
    check.status = status_code_for(card.typ, year);
    check.unsent = round_picks(card.typ, year, RoundPick::Unsent);
    unsigned marks = postal_marks(card.tt.m, table);
    if (overflow) marks |= MARK_OVERFLOW;
    if (sender_empty(chosen_sender(card))) marks |= MARK_NO_SENDER;
    // By what was done from this side: 済 1, 喪 2, 止 3 (4 adds 受).
    switch (check.status % STATUS_RECEIVED) {
    case 1: marks |= MARK_SENT; break;
    case 2: marks |= MARK_MOURNING; break;
    case 3: marks |= MARK_STOPPED; break;
    default: break;
    }
    check.marks = marks;
    return check;
}

void format_card_title(int card, char16_t* out, int cap) {
    TextBuilder title(out, cap);
    title.add(u"No.").add_int(card + 1);
    if (card >= 0 && card < HDATA_MAX) title.add(u" ").add(doc().hdata[card].tn.m[0].s);
}

void format_card_status(const CardCheck& check, int year, char16_t* out, int cap) {
    TextBuilder(out, cap).add_int(year).add(u"年 ").add(status_code_text(check.status));
}

int ProofSheet::refresh(int year, const PostalCodeTable* table, CardFitCheck& fit,
                        unsigned fit_state, bool* changed) {
    const bool all = !seen_any_ || year != seen_year_ || fit_state != seen_fit_state_;
    const int cards = count_cards();
    if (seen_replacements_ != g_replacements) {
        seen_replacements_ = g_replacements;
        for (bool& s : selected_) s = false;
        anchor_ = -1;
    }
    int count = 0;
    for (int i = 0; i < HDATA_MAX; ++i) {
        changed[i] = false;
        if (i >= cards) {
            // Out of use now: its thumbnail goes; nothing needs checking.
            changed[i] = i < cards_;
            continue;
        }
        const CardRecord& card = doc().hdata[i];
        const SenderRecord& sender = chosen_sender(card);
        if (!all && i < cards_ && std::memcmp(&seen_cards_[i], &card, sizeof card) == 0 &&
            std::memcmp(&seen_senders_[i], &sender, sizeof sender) == 0)
            continue;
        // Another addressee, or back in use: not the card the user selected.
        if (i >= cards_ || !same_addressee(seen_cards_[i], card)) selected_[i] = false;
        seen_cards_[i] = card;
        seen_senders_[i] = sender;
        checks_[i] = check_card(card, year, fit.overflows(i), table);
        changed[i] = true;
    }
    for (int i = 0; i < HDATA_MAX; ++i)
        if (changed[i]) ++count;
    cards_ = cards;
    seen_year_ = year;
    seen_fit_state_ = fit_state;
    seen_any_ = true;
    apply_filter();
    return count;
}

bool ProofSheet::passes(int card) const {
    switch (filter_) {
    case SheetFilter::Attention: return needs_attention(checks_[card].marks);
    case SheetFilter::Unsent: return checks_[card].unsent;
    default: return true;
    }
}

void ProofSheet::apply_filter() {
    shown_count_ = 0;
    for (int i = 0; i < cards_; ++i) {
        if (passes(i)) {
            shown_[shown_count_++] = i;
        } else {
            selected_[i] = false;
        }
    }
    if (position_of(focus_) < 0) focus_ = -1;
    if (position_of(anchor_) < 0) anchor_ = -1;
}

void ProofSheet::set_filter(SheetFilter filter) {
    filter_ = filter;
    apply_filter();
}

int ProofSheet::card_at(int position) const {
    return position >= 0 && position < shown_count_ ? shown_[position] : -1;
}

int ProofSheet::position_of(int card) const {
    for (int p = 0; p < shown_count_; ++p)
        if (shown_[p] == card) return p;
    return -1;
}

void ProofSheet::format_count(char16_t* out, int cap) const {
    int attention = 0;
    for (int p = 0; p < shown_count_; ++p)
        if (needs_attention(checks_[shown_[p]].marks)) ++attention;
    TextBuilder(out, cap)
        .add(u"表示 ").add_int(shown_count_).add(u"枚（要確認 ").add_int(attention).add(u"枚）");
}

void ProofSheet::select_run(int from, int to) {
    if (from > to) {
        int t = from;
        from = to;
        to = t;
    }
    for (int p = from; p <= to; ++p) selected_[shown_[p]] = true;
}

void ProofSheet::click(int position, bool shift, bool ctrl) {
    const int card = card_at(position);
    if (card < 0) return;
    const int anchor = position_of(anchor_);
    if (shift && anchor >= 0) {
        if (!ctrl)
            for (int i = 0; i < HDATA_MAX; ++i) selected_[i] = false;
        select_run(anchor, position);
    } else if (ctrl) {
        selected_[card] = !selected_[card];
        anchor_ = card;
    } else {
        for (int i = 0; i < HDATA_MAX; ++i) selected_[i] = false;
        selected_[card] = true;
        anchor_ = card;
    }
    focus_ = card;
}

void ProofSheet::move_to(int position, bool shift) {
    if (shown_count_ == 0) return;
    if (position < 0) position = 0;
    if (position >= shown_count_) position = shown_count_ - 1;
    click(position, shift, false);
}

void ProofSheet::select_all() {
    for (int p = 0; p < shown_count_; ++p) selected_[shown_[p]] = true;
}

bool ProofSheet::selected(int position) const {
    const int card = card_at(position);
    return card >= 0 && selected_[card];
}

int ProofSheet::focus() const { return position_of(focus_); }

int ProofSheet::selected_cards(int* out) const {
    int n = 0;
    for (int i = 0; i < cards_; ++i)
        if (selected_[i]) out[n++] = i;
    return n;
}
