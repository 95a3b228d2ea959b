#include "files/layout_card_keys.h"

namespace {

class KeyTable {
public:
    KeyTable() {
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

    CardKey keys[CARD_KEY_COUNT] = {};
    int count = 0;

private:
    CardRecord card_ = {};

    CardKey& next(const char16_t* item, const char16_t* field) {
        CardKey& k = keys[count++];
        int n = 0;
        for (const char16_t* p = item; *p != 0; ++p) k.text[n++] = *p;
        for (const char16_t* p = field; *p != 0; ++p) k.text[n++] = *p;
        k.text[n] = 0;
        k.len = n;
        return k;
    }
    size_t offset_of(const void* field) const {
        return static_cast<size_t>(static_cast<const char*>(field) - reinterpret_cast<const char*>(&card_));
    }
    void add(const char16_t* item, const char16_t* key, int32_t& field) {
        CardKey& k = next(item, key);
        k.kind = CardKeyKind::Number;
        k.offset = offset_of(&field);
    }
    void add_byte(const char16_t* item, const char16_t* key, uint8_t& field) {
        CardKey& k = next(item, key);
        k.kind = CardKeyKind::Byte;
        k.offset = offset_of(&field);
    }
    template <int N>
    void add_text(const char16_t* item, const char16_t* key, char16_t (&field)[N]) {
        CardKey& k = next(item, key);
        k.kind = CardKeyKind::Text;
        k.offset = offset_of(field);
        k.cap = N;
    }

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
        static const char16_t* const kOrigins[ADDRESSEE_LINES][2] = {
            {u"xy[0].x=", u"xy[0].y="}, {u"xy[1].x=", u"xy[1].y="}, {u"xy[2].x=", u"xy[2].y="},
            {u"xy[3].x=", u"xy[3].y="}, {u"xy[4].x=", u"xy[4].y="},
        };
        constexpr int lines = static_cast<int>(sizeof(b.xy) / sizeof(b.xy[0]));
        for (int k = 0; k < lines; ++k) {
            add(item, kOrigins[k][0], b.xy[k].x);
            add(item, kOrigins[k][1], b.xy[k].y);
        }
        add_font_and_color(item, b.lf, b.c);
    }
};

}  // namespace

const CardKey* layout_card_keys() {
    static const KeyTable table;
    return table.keys;
}
