#include "files/card_keys.h"

#include "files/kv_file.h"
#include "files/kv_grammar.h"
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
    TextBuilder prefix(prefix_, 24);
    prefix.add(u"hdata[").add_int(card).add_unit(u']');
    prefix_len_ = prefix.len;
    card_ = card;
    record_ = reinterpret_cast<char*>(&doc().hdata[card]);
}
