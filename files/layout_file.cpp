#include "files/data_files.h"
#include "files/kv_file.h"
#include "files/kv_grammar.h"
#include "model/document.h"
#include "model/text.h"

namespace {

const char16_t* const kCountKey = u"hdata_cont_max=";
const char16_t* const kRecordPrefix = u"hdata[";

// The six items of a card, in file order.
constexpr int kItemCount = 6;
const char16_t* const kItemNames[kItemCount] = {u"tt", u"ta", u"tn", u"ft", u"fa", u"fn"};

// The layout fields of one item, whatever record type holds them.
struct ItemFields {
    int32_t* positions[6];  // x1 y1 w1 x2 y2 w2; null for the line items
    LinePos* xy;            // line origins; null for the postal code items
    int lines;
    LogFont* lf;
    RgbColor* c;
};

template <typename Block>
ItemFields postal_code_fields(Block& b) {
    return ItemFields{{&b.x1, &b.y1, &b.w1, &b.x2, &b.y2, &b.w2}, nullptr, 0, &b.lf, &b.c};
}

template <typename Block>
ItemFields line_fields(Block& b) {
    constexpr int lines = static_cast<int>(sizeof(b.xy) / sizeof(b.xy[0]));
    return ItemFields{{}, b.xy, lines, &b.lf, &b.c};
}

ItemFields item_fields(CardRecord& card, int item) {
    switch (item) {
        case 0: return postal_code_fields(card.tt);
        case 1: return line_fields(card.ta);
        case 2: return line_fields(card.tn);
        case 3: return postal_code_fields(card.ft);
        case 4: return line_fields(card.fa);
        default: return line_fields(card.fn);
    }
}

const char16_t* const kPositionNames[6] = {u"x1=", u"y1=", u"w1=", u"x2=", u"y2=", u"w2="};

// The font fields in file order; the face name follows them.
struct FontField {
    const char16_t* key;  // behind "lf."
    int32_t LogFont::*number;
    uint8_t LogFont::*byte;
};
const FontField kFontFields[] = {
    {u"lfHeight=", &LogFont::lfHeight, nullptr},
    {u"lfWidth=", &LogFont::lfWidth, nullptr},
    {u"lfEscapement=", &LogFont::lfEscapement, nullptr},
    {u"lfOrientation=", &LogFont::lfOrientation, nullptr},
    {u"lfWeight=", &LogFont::lfWeight, nullptr},
    {u"lfItalic=", nullptr, &LogFont::lfItalic},
    {u"lfUnderline=", nullptr, &LogFont::lfUnderline},
    {u"lfStrikeOut=", nullptr, &LogFont::lfStrikeOut},
    {u"lfCharSet=", nullptr, &LogFont::lfCharSet},
    {u"lfOutPrecision=", nullptr, &LogFont::lfOutPrecision},
    {u"lfClipPrecision=", nullptr, &LogFont::lfClipPrecision},
    {u"lfQuality=", nullptr, &LogFont::lfQuality},
    {u"lfPitchAndFamily=", nullptr, &LogFont::lfPitchAndFamily},
};
const char16_t* const kFaceNameKey = u"lfFaceName=";

struct PrintField {
    const char16_t* key;
    int32_t PrintSettings::*field;
};
const PrintField kPrintFields[] = {
    {u"base_pw=", &PrintSettings::base_pw},   {u"base_ph=", &PrintSettings::base_ph},
    {u"base_px=", &PrintSettings::base_px},   {u"base_py=", &PrintSettings::base_py},
    {u"prn_mode=", &PrintSettings::prn_mode}, {u"bmp_mode=", &PrintSettings::bmp_mode},
    {u"start_p=", &PrintSettings::start_p},   {u"stop_p=", &PrintSettings::stop_p},
};

// --- Writing ---------------------------------------------------------------

// "hdata[i].<item>." at the start of a new line.
TextBuilder& item_key(KvWriter& out, int i, int item) {
    return out.line().add(kRecordPrefix).add_int(i).add(u"].").add(kItemNames[item]).add_unit(u'.');
}

void emit_item(KvWriter& out, int i, int item, const ItemFields& f) {
    if (f.positions[0] != nullptr) {
        for (int p = 0; p < 6; ++p) {
            item_key(out, i, item).add(kPositionNames[p]).add_int(*f.positions[p]);
            out.end_line();
        }
    }
    for (int k = 0; k < f.lines; ++k) {
        item_key(out, i, item).add(u"xy[").add_int(k).add(u"].x=").add_int(f.xy[k].x);
        out.end_line();
        item_key(out, i, item).add(u"xy[").add_int(k).add(u"].y=").add_int(f.xy[k].y);
        out.end_line();
    }
    for (const FontField& field : kFontFields) {
        TextBuilder& line = item_key(out, i, item).add(u"lf.").add(field.key);
        // The byte fields are written as unsigned numbers 0 to 255.
        if (field.number != nullptr) line.add_int(f.lf->*field.number);
        else line.add_int(f.lf->*field.byte);
        out.end_line();
    }
    kv_add_field(item_key(out, i, item).add(u"lf.").add(kFaceNameKey), f.lf->lfFaceName);
    out.end_line();
    item_key(out, i, item).add(u"c.r=").add_int(f.c->r);
    out.end_line();
    item_key(out, i, item).add(u"c.g=").add_int(f.c->g);
    out.end_line();
    item_key(out, i, item).add(u"c.b=").add_int(f.c->b);
    out.end_line();
}

void emit_card(KvWriter& out, int i, CardRecord& card) {
    out.line().add(kRecordPrefix).add_int(i).add(u"].base_w=").add_int(card.base_w);
    out.end_line();
    out.line().add(kRecordPrefix).add_int(i).add(u"].base_h=").add_int(card.base_h);
    out.end_line();
    kv_add_field(out.line().add(kRecordPrefix).add_int(i).add(u"].base_filepass="), card.base_filepass);
    out.end_line();
    for (int item = 0; item < kItemCount; ++item) emit_item(out, i, item, item_fields(card, item));
}

void emit_layouts(KvWriter& out) {
    const int count = count_cards();
    out.line().add(kCountKey).add_int(count);
    out.end_line();
    for (int i = 0; i < count; ++i) emit_card(out, i, doc().hdata[i]);
    for (const PrintField& field : kPrintFields) {
        out.line().add(field.key).add_int(doc().print.*field.field);
        out.end_line();
    }
}

// --- Reading ---------------------------------------------------------------

// The item named by the four units ".xx." at the start of `rest`, or -1.
int item_of(const char16_t* rest) {
    if (rest[0] != u'.' || rest[1] == 0 || rest[2] == 0 || rest[3] != u'.') return -1;
    for (int item = 0; item < kItemCount; ++item) {
        if (rest[1] == kItemNames[item][0] && rest[2] == kItemNames[item][1]) return item;
    }
    return -1;
}

// A byte field takes the low eight bits of the number.
void read_color(RgbColor& c, const char16_t* field) {
    if (field[1] != u'.' || field[2] == 0 || field[3] != u'=') return;
    const char16_t* value = field + 4;
    switch (field[2]) {
        case u'r': kv_set_byte(c.r, value); break;
        case u'b': kv_set_byte(c.b, value); break;
        case u'g': kv_set_byte(c.g, value); break;
        default: break;
    }
}

void read_font(LogFont& lf, const char16_t* field) {
    const char16_t* name = kv_match(field, u"lf.");
    if (name == nullptr || name[0] != u'l' || name[1] != u'f') return;
    for (const FontField& f : kFontFields) {
        if (name[2] != f.key[2]) continue;
        if (const char16_t* value = kv_match(name, f.key)) {
            if (f.number != nullptr) kv_set_number(lf.*f.number, value);
            else kv_set_byte(lf.*f.byte, value);
            return;
        }
    }
    if (const char16_t* value = kv_match(name, kFaceNameKey)) kv_set_text(lf.lfFaceName, FACE_CAP, value);
}

// "x1=" to "w2=": only the postal code items have them.
void read_position(const ItemFields& f, const char16_t* field) {
    if (f.positions[0] == nullptr) return;
    int group = field[1] == u'1' ? 0 : field[1] == u'2' ? 3 : -1;
    if (group < 0 || field[2] != u'=') return;
    int axis = field[0] == u'x' ? 0 : field[0] == u'y' ? 1 : 2;
    kv_set_number(*f.positions[group + axis], field + 3);
}

// "xy[k].x=" / "xy[k].y=": only the line items have them; k beyond the
// item's lines (5 or 2), empty or negative gives line 0.
void read_origin(const ItemFields& f, const char16_t* field) {
    const char16_t* index = kv_match(field, u"xy[");
    if (f.xy == nullptr || index == nullptr) return;
    const char16_t* after = nullptr;
    LinePos& origin = f.xy[kv_index(index, f.lines, &after)];
    if (const char16_t* value = kv_match(after, u".x=")) kv_set_number(origin.x, value);
    if (const char16_t* value = kv_match(after, u".y=")) kv_set_number(origin.y, value);
}

void read_card_field(CardRecord& card, const char16_t* rest) {
    if (rest[0] == u'.' && rest[1] == u'b') {
        if (const char16_t* value = kv_match(rest, u".base_w=")) kv_set_number(card.base_w, value);
        else if (const char16_t* v = kv_match(rest, u".base_h=")) kv_set_number(card.base_h, v);
        else if (const char16_t* t = kv_match(rest, u".base_filepass="))
            kv_set_text(card.base_filepass, PATH_CAP, t);
        return;
    }
    const int item = item_of(rest);
    if (item < 0 || rest[4] == 0) return;
    const ItemFields f = item_fields(card, item);
    // The fragments behind the item all differ in their first units, so at
    // most one of them can match.
    const char16_t* field = rest + 4;
    switch (field[0]) {
        case u'x':
            if (field[1] == u'y') read_origin(f, field);
            else read_position(f, field);
            break;
        case u'y':
        case u'w': read_position(f, field); break;
        case u'l': read_font(*f.lf, field); break;
        case u'c': read_color(*f.c, field); break;
        default: break;
    }
}

}  // namespace

int write_layout_file(WindowHandle owner, const char16_t* name, int mode) {
    return write_kv_file(owner, name, mode, KIND_LAYOUT, emit_layouts);
}

void read_layout_line(const char16_t* line) { read_layout_line(line, text_length(line)); }

void read_layout_line(const char16_t* line, int len) {
    if (line[0] != u'h') {
        for (const PrintField& f : kPrintFields) {
            if (const char16_t* value = kv_match(line, f.key)) {
                kv_set_number(doc().print.*f.field, value);
                return;
            }
        }
        return;
    }
    // The count line is for the reader's information only; like any line
    // without the card prefix it changes nothing.
    char16_t buffer[KV_REST_CAP];
    const char16_t* rest = nullptr;
    int i = kv_split_record(line, len, kRecordPrefix, HDATA_MAX, buffer, &rest);
    if (i < 0) return;
    read_card_field(doc().hdata[i], rest);
}
