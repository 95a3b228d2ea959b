#include "files/card_keys.h"
#include "files/data_files.h"
#include "files/kv_file.h"
#include "files/kv_grammar.h"
#include "model/document.h"
#include "model/text.h"

namespace {

const char16_t* const kCountKey = u"hdata_cont_max=";
const char16_t kRecordPrefix[] = u"hdata[";

void emit_addressees(KvWriter& out) {
    const int count = count_cards();
    out.line().add(kCountKey).add_int(count);
    out.end_line();
    for (int i = 0; i < count; ++i) {
        const CardRecord& card = doc().hdata[i];
        write_card_keys(out, i, card, addressee_card_keys(), ADDRESSEE_CARD_KEYS);
        // The reading closes the block, and only when there is one: files
        // without readings stay as they were, and older readers skip the
        // key as they skip every key they do not know.
        if (card.yomi[0] != 0) {
            TextBuilder& line = out.line().add(kRecordPrefix).add_int(i).add(u"].yomi.s=");
            kv_add_field(line, card.yomi, YOMI_CAP);
            out.end_line();
        }
    }
}


// "[k].s=value" behind ".ta.m" or ".tn.m".
void read_card_text(TextLine (&lines)[ADDRESSEE_LINES], const char16_t* index, const char16_t* end) {
    const char16_t* after = nullptr;
    int k = kv_index(index, ADDRESSEE_LINES, &after);
    if (const char16_t* value = kv_match_literal(after, u".s=")) kv_set_text(lines[k].s, LINE_CAP, value, end);
}

}  // namespace

int write_addressee_file(WindowHandle owner, const char16_t* name, int mode) {
    return write_kv_file(owner, name, mode, KIND_ADDRESSEE, emit_addressees);
}

void read_addressee_line(const char16_t* line) { read_addressee_line(line, text_length(line)); }

// Files written by the program list a card's keys in the writer's order.
CardKeyExpectation written_addressee_keys() { return CardKeyExpectation(addressee_card_keys(), ADDRESSEE_CARD_KEYS); }

void read_addressee_line(const char16_t* line, int len) { read_addressee_line(line, len, nullptr); }

void read_addressee_line(const char16_t* line, int len, CardKeyExpectation* guess) {
    if (guess != nullptr && guess->apply(line, len)) return;
    // The count is for the reader's information only; the card blocks
    // follow it.
    if (kv_match(line, kCountKey) != nullptr) {
        if (guess != nullptr) guess->expect_card(0);
        return;
    }
    char16_t buffer[KV_REST_CAP];
    KvRest rest;
    int i = kv_split_record(line, len, kRecordPrefix, HDATA_MAX, buffer, &rest);
    if (i < 0 || rest.text[0] != u'.') return;
    CardRecord& card = doc().hdata[i];
    const char16_t* field = rest.text + 1;
    // None of the fragments ".tt.m=", ".ta.m[", ".tn.m[", ".ftb=", ".typ["
    // and ".yomi.s=" begins another, so at most one of them matches; the unit
    // behind the dot picks the candidates.
    switch (field[0]) {
        case u't':
            if (const char16_t* value = kv_match_literal(field, u"tt.m=")) {
                kv_set_text(card.tt.m, POSTAL_CAP, value, rest.end);
            } else if (const char16_t* index = kv_match_literal(field, u"ta.m[")) {
                read_card_text(card.ta.m, index, rest.end);
            } else if (const char16_t* names = kv_match_literal(field, u"tn.m[")) {
                read_card_text(card.tn.m, names, rest.end);
            } else if (const char16_t* year = kv_match_literal(field, u"typ[")) {
                const char16_t* after = nullptr;
                TypEntry& entry = card.typ[kv_index(year, TYP_MAX, &after)];
                if (const char16_t* t = kv_match_literal(after, u".t=")) kv_set_number(entry.t, t, rest);
                if (const char16_t* y = kv_match_literal(after, u".y=")) kv_set_number(entry.y, y, rest);
            }
            break;
        case u'f':
            if (const char16_t* value = kv_match_literal(field, u"ftb=")) {
                kv_set_number(card.ftb, value, rest);
                // ftb indexes the sender table when the card is drawn.
                if (card.ftb < 0 || card.ftb >= FDATA_MAX) card.ftb = 0;
            }
            break;
        case u'y':
            if (const char16_t* value = kv_match_literal(field, u"yomi.s=")) kv_set_text(card.yomi, YOMI_CAP, value, rest.end);
            break;
        default: break;
    }
}
