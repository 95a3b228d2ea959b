#include "files/card_keys.h"

#include <cstring>


#include "files/kv_file.h"
#include "files/kv_grammar.h"
#include "files/kv_line_splitter.h"
#include "model/text.h"

namespace {

class KeyTable {
public:
    CardKey keys[LAYOUT_CARD_KEYS] = {};
    int count = 0;

protected:
    CardRecord card_ = {};

    CardKey& next(const char16_t* item, const char16_t* field, CardKeyKind kind, const void* at) {
        CardKey& k = keys[count++];
        int n = 0;
        for (const char16_t* p = item; *p != 0; ++p) k.text[n++] = *p;
        for (const char16_t* p = field; *p != 0; ++p) k.text[n++] = *p;
        k.text[n] = 0;
        k.len = n;
        k.kind = kind;
        k.offset = static_cast<size_t>(static_cast<const char*>(at) - reinterpret_cast<const char*>(&card_));
        return k;
    }
    void add(const char16_t* item, const char16_t* key, int32_t& field) {
        next(item, key, CardKeyKind::Number, &field);
    }
    void add_byte(const char16_t* item, const char16_t* key, uint8_t& field) {
        next(item, key, CardKeyKind::Byte, &field);
    }
    template <int N>
    void add_text(const char16_t* item, const char16_t* key, char16_t (&field)[N]) {
        next(item, key, CardKeyKind::Text, field).cap = N;
    }
};

const char16_t* const kDigits[TYP_MAX] = {u"0", u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9"};

// "<head><k><tail>" for k from 0 to 9.
const char16_t* indexed(char16_t (&buffer)[32], const char16_t* head, int k, const char16_t* tail) {
    TextBuilder(buffer, 32).add(head).add(kDigits[k]).add(tail);
    return buffer;
}

class LayoutKeys : public KeyTable {
public:
    LayoutKeys() {
        CardRecord& c = card_;
        add(u"", u".base_w=", c.base_w);
        add(u"", u".base_h=", c.base_h);
        add_text(u"", u".base_filepass=", c.base_filepass);
        add_postal_code(u".tt.", c.tt);
        add_lines(u".ta.", c.ta);
        add_lines(u".tn.", c.tn);
        add_postal_code(u".ft.", c.ft);
        add_lines(u".fa.", c.fa);
        add_lines(u".fn.", c.fn);
    }

private:
    void add_font_and_color(const char16_t* item, LogFont& lf, RgbColor& c) {
        add(item, u"lf.lfHeight=", lf.lfHeight);
        add(item, u"lf.lfWidth=", lf.lfWidth);
        add(item, u"lf.lfEscapement=", lf.lfEscapement);
        add(item, u"lf.lfOrientation=", lf.lfOrientation);
        add(item, u"lf.lfWeight=", lf.lfWeight);
        add_byte(item, u"lf.lfItalic=", lf.lfItalic);
        add_byte(item, u"lf.lfUnderline=", lf.lfUnderline);
        add_byte(item, u"lf.lfStrikeOut=", lf.lfStrikeOut);
        add_byte(item, u"lf.lfCharSet=", lf.lfCharSet);
        add_byte(item, u"lf.lfOutPrecision=", lf.lfOutPrecision);
        add_byte(item, u"lf.lfClipPrecision=", lf.lfClipPrecision);
        add_byte(item, u"lf.lfQuality=", lf.lfQuality);
        add_byte(item, u"lf.lfPitchAndFamily=", lf.lfPitchAndFamily);
        add_text(item, u"lf.lfFaceName=", lf.lfFaceName);
        add_byte(item, u"c.r=", c.r);
        add_byte(item, u"c.g=", c.g);
        add_byte(item, u"c.b=", c.b);
    }

    template <typename Block>
    void add_postal_code(const char16_t* item, Block& b) {
        add(item, u"x1=", b.x1);
        add(item, u"y1=", b.y1);
        add(item, u"w1=", b.w1);
        add(item, u"x2=", b.x2);
        add(item, u"y2=", b.y2);
        add(item, u"w2=", b.w2);
        add_font_and_color(item, b.lf, b.c);
    }

    template <typename Block>
    void add_lines(const char16_t* item, Block& b) {
        constexpr int lines = static_cast<int>(sizeof(b.xy) / sizeof(b.xy[0]));
        char16_t key[32];
        for (int k = 0; k < lines; ++k) {
            add(item, indexed(key, u"xy[", k, u"].x="), b.xy[k].x);
            add(item, indexed(key, u"xy[", k, u"].y="), b.xy[k].y);
        }
        add_font_and_color(item, b.lf, b.c);
    }
};

class AddresseeKeys : public KeyTable {
public:
    AddresseeKeys() {
        CardRecord& c = card_;
        char16_t key[32];
        add_text(u"", u".tt.m=", c.tt.m);
        for (int k = 0; k < ADDRESSEE_LINES; ++k) add_text(u"", indexed(key, u".ta.m[", k, u"].s="), c.ta.m[k].s);
        for (int k = 0; k < ADDRESSEE_LINES; ++k) add_text(u"", indexed(key, u".tn.m[", k, u"].s="), c.tn.m[k].s);
        next(u"", u".ftb=", CardKeyKind::SenderIndex, &c.ftb);
        for (int k = 0; k < TYP_MAX; ++k) {
            add(u"", indexed(key, u".typ[", k, u"].t="), c.typ[k].t);
            add(u"", indexed(key, u".typ[", k, u"].y="), c.typ[k].y);
        }
    }
};

}  // namespace

const CardKey* layout_card_keys() {
    static const LayoutKeys table;
    return table.keys;
}

const CardKey* addressee_card_keys() {
    static const AddresseeKeys table;
    return table.keys;
}

void write_card_keys(KvWriter& out, int i, const CardRecord& card, const CardKey* keys, int count) {
    for (const CardKey* k = keys; k != keys + count; ++k) {
        TextBuilder& line = out.line().add(u"hdata[").add_int(i).add_unit(u']').add(k->text);
        const char* field = card_field(card, *k);
        switch (k->kind) {
            case CardKeyKind::Number:
            case CardKeyKind::SenderIndex: line.add_int(*reinterpret_cast<const int32_t*>(field)); break;
            case CardKeyKind::Byte: line.add_int(*reinterpret_cast<const uint8_t*>(field)); break;
            case CardKeyKind::Text: kv_add_field(line, reinterpret_cast<const char16_t*>(field), k->cap); break;
        }
        out.end_line();
    }
}

void CardKeyExpectation::expect_card(int card) {
    key_ = 0;
    if (card < 0 || card >= HDATA_MAX) {
        card_ = -1;
        return;
    }
    // "hdata[<card>]", with the card index in decimal.
    static const char16_t kHead[] = u"hdata[";
    int len = static_cast<int>(sizeof kHead / sizeof kHead[0]) - 1;
    std::memcpy(prefix_, kHead, len * sizeof(char16_t));
    if (card >= 100) prefix_[len++] = static_cast<char16_t>(u'0' + card / 100);
    if (card >= 10) prefix_[len++] = static_cast<char16_t>(u'0' + card / 10 % 10);
    prefix_[len++] = static_cast<char16_t>(u'0' + card % 10);
    prefix_[len++] = u']';
    prefix_[len] = 0;
    prefix_len_ = len;
    card_ = card;
    record_ = reinterpret_cast<char*>(&doc().hdata[card]);
}

size_t CardKeyExpectation::take_lines(KvLineSplitter& lines) {
    if (card_ < 0) return 0;
    size_t available = 0;
    const char16_t* const units = lines.peek(&available);
    const char16_t* const end = units + available;
    const char16_t* line = units;
    while (card_ >= 0) {
        // One card's keys. The members are read once: the stores into the
        // card go through pointers that could alias them.
        const CardKey* k = keys_ + key_;
        const CardKey* const keys_end = keys_ + count_;
        const int prefix_len = prefix_len_;
        char* const record = record_;
        for (; k != keys_end; ++k) {
            // The compare reads up to 34 units from a line that starts at
            // or before the end, which the splitter allows for. The prefix
            // and key hold no CR, LF or NUL and end in "=", so a line that
            // holds them has its first LF behind them: in its value.
            if (line >= end || !kv_same_units(line, prefix_, prefix_len) ||
                !kv_same_units(line + prefix_len, k->text, k->len))
                break;
            const char16_t* const value = line + prefix_len + k->len;
            const char16_t* lf = value;
            while (lf < end && *lf != u'\n') ++lf;
            if (lf >= end) break;
            // A line whose first LF follows no CR, or that holds a NUL, is
            // left to the line handler, as is one the splitter would cut.
            const char16_t* cr = lf - 1;
            if (*cr != u'\r') break;
            char* field = record + k->offset;
            if (cr == value) {
                // An empty value leaves the field unchanged.
            } else if (k->kind == CardKeyKind::Text) {
                if (lf - line >= KV_READ_LINE_MAX || kv_holds_nul(value, cr)) break;
                kv_set_text(reinterpret_cast<char16_t*>(field), k->cap, value, cr);
            } else {
                // A number value that is not plain is left to the line
                // handler; a plain one holds no NUL and is too short for
                // the splitter to cut.
                int32_t number = 0;
                if (!kv_plain_number(value, cr, &number)) break;
                store_card_number(field, *k, number);
            }
            line = lf + 1;
        }
        key_ = static_cast<int>(k - keys_);
        if (k != keys_end) break;
        // The card's block is complete; the next card's follows.
        expect_card(card_ + 1);
    }
    const size_t used = static_cast<size_t>(line - units);
    lines.skip(used);
    return used;
}
