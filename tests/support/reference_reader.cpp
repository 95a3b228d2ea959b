#include "tests/support/reference_reader.h"

#include <cstring>

#include "model/defaults.h"
#include "model/text.h"

namespace {

constexpr char16_t kCr = 0x000D;
constexpr char16_t kLf = 0x000A;

// Does s start with prefix?
const char16_t* starts(const char16_t* s, const char16_t* prefix) {
    size_t n = 0;
    while (prefix[n] != 0) {
        if (s[n] != prefix[n]) return nullptr;
        ++n;
    }
    return s + n;
}

// The index text from `s` up to "]" or the end, read like _wtoi from at most
// 31 units; empty, negative or not below cap gives 0.
int index_of(const char16_t* s, int cap, const char16_t** after) {
    int len = 0;
    while (s[len] != 0 && s[len] != u']') ++len;
    *after = s[len] == u']' ? s + len + 1 : s + len;
    if (len == 0) return 0;
    int v = text_to_int(s, len < 31 ? len : 31);
    return (v < 0 || v >= cap) ? 0 : v;
}

void set_number(int32_t& field, const char16_t* value) {
    if (value[0] != 0) field = text_to_int(value, 31);
}

void set_byte(uint8_t& field, const char16_t* value) {
    if (value[0] != 0) field = static_cast<uint8_t>(text_to_int(value, 31) & 0xFF);
}

void set_text(char16_t* field, int cap, const char16_t* value) {
    if (value[0] != 0) text_copy(field, cap, value);
}

// "<prefix>N]rest": the record index, with the rest copied into `rest`; -1
// for other lines.
int record(const char16_t* line, const char16_t* prefix, int cap, char16_t (&rest)[288]) {
    const char16_t* p = starts(line, prefix);
    if (p == nullptr) return -1;
    const char16_t* after = nullptr;
    int i = index_of(p, cap, &after);
    for (char16_t& u : rest) u = 0;
    for (int n = 0; n < 287 && after[n] != 0; ++n) rest[n] = after[n];
    return i;
}

void font_line(LogFont& lf, const char16_t* r) {
    const char16_t* v = nullptr;
    if ((v = starts(r, u"lf.lfHeight="))) set_number(lf.lfHeight, v);
    if ((v = starts(r, u"lf.lfWidth="))) set_number(lf.lfWidth, v);
    if ((v = starts(r, u"lf.lfEscapement="))) set_number(lf.lfEscapement, v);
    if ((v = starts(r, u"lf.lfOrientation="))) set_number(lf.lfOrientation, v);
    if ((v = starts(r, u"lf.lfWeight="))) set_number(lf.lfWeight, v);
    if ((v = starts(r, u"lf.lfItalic="))) set_byte(lf.lfItalic, v);
    if ((v = starts(r, u"lf.lfUnderline="))) set_byte(lf.lfUnderline, v);
    if ((v = starts(r, u"lf.lfStrikeOut="))) set_byte(lf.lfStrikeOut, v);
    if ((v = starts(r, u"lf.lfCharSet="))) set_byte(lf.lfCharSet, v);
    if ((v = starts(r, u"lf.lfOutPrecision="))) set_byte(lf.lfOutPrecision, v);
    if ((v = starts(r, u"lf.lfClipPrecision="))) set_byte(lf.lfClipPrecision, v);
    if ((v = starts(r, u"lf.lfQuality="))) set_byte(lf.lfQuality, v);
    if ((v = starts(r, u"lf.lfPitchAndFamily="))) set_byte(lf.lfPitchAndFamily, v);
    if ((v = starts(r, u"lf.lfFaceName="))) set_text(lf.lfFaceName, FACE_CAP, v);
}

void color_line(RgbColor& c, const char16_t* r) {
    const char16_t* v = nullptr;
    if ((v = starts(r, u"c.r="))) set_byte(c.r, v);
    if ((v = starts(r, u"c.b="))) set_byte(c.b, v);
    if ((v = starts(r, u"c.g="))) set_byte(c.g, v);
}

template <typename Block>
void position_line(Block& b, const char16_t* r) {
    const char16_t* v = nullptr;
    if ((v = starts(r, u"x1="))) set_number(b.x1, v);
    if ((v = starts(r, u"y1="))) set_number(b.y1, v);
    if ((v = starts(r, u"w1="))) set_number(b.w1, v);
    if ((v = starts(r, u"x2="))) set_number(b.x2, v);
    if ((v = starts(r, u"y2="))) set_number(b.y2, v);
    if ((v = starts(r, u"w2="))) set_number(b.w2, v);
}

void origin_line(LinePos* xy, int lines, const char16_t* r) {
    const char16_t* after = nullptr;
    int k = index_of(r, lines, &after);
    const char16_t* v = nullptr;
    if ((v = starts(after, u".x="))) set_number(xy[k].x, v);
    if ((v = starts(after, u".y="))) set_number(xy[k].y, v);
}

}  // namespace

bool reference_split(const unsigned char* bytes, size_t size, void (*handle)(const char16_t*, void*),
                     void* context) {
    if (size < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) return false;
    size_t pos = 2;
    for (;;) {
        char16_t buf[576];
        for (char16_t& u : buf) u = 0;
        bool end_of_file = false;
        for (int i = 0;; ++i) {
            if (pos + 2 > size) {  // no whole unit delivered: the end (an odd byte is ignored)
                end_of_file = true;
                break;
            }
            buf[i] = static_cast<char16_t>(bytes[pos] | (bytes[pos + 1] << 8));
            pos += 2;
            if (buf[i] == kLf && i > 0 && buf[i - 1] == kCr) break;
            if (i + 1 == 574) break;
        }
        int len = text_length(buf);
        if (len > 0 && (buf[len - 1] == kLf || buf[len - 1] == kCr)) buf[--len] = 0;
        if (len > 0 && (buf[len - 1] == kLf || buf[len - 1] == kCr)) buf[--len] = 0;
        handle(buf, context);
        if (end_of_file) return true;
    }
}

void reference_sender_line(Document& d, const char16_t* line) {
    if (starts(line, u"fdata_cont_max=")) return;
    char16_t rest[288];
    int j = record(line, u"fdata[", FDATA_MAX, rest);
    if (j < 0) return;
    SenderRecord& s = d.fdata[j];
    const char16_t* p = nullptr;
    if ((p = starts(rest, u".t="))) set_text(s.t, POSTAL_CAP, p);
    if ((p = starts(rest, u".a["))) {
        const char16_t* after = nullptr;
        int k = index_of(p, SENDER_LINES, &after);
        if ((p = starts(after, u".s="))) set_text(s.a[k].s, LINE_CAP, p);
    }
    if ((p = starts(rest, u".n["))) {
        const char16_t* after = nullptr;
        int k = index_of(p, SENDER_LINES, &after);
        if ((p = starts(after, u".s="))) set_text(s.n[k].s, LINE_CAP, p);
    }
}

void reference_addressee_line(Document& d, const char16_t* line) {
    if (starts(line, u"hdata_cont_max=")) return;
    char16_t rest[288];
    int i = record(line, u"hdata[", HDATA_MAX, rest);
    if (i < 0) return;
    CardRecord& c = d.hdata[i];
    const char16_t* p = nullptr;
    if ((p = starts(rest, u".tt.m="))) set_text(c.tt.m, POSTAL_CAP, p);
    if ((p = starts(rest, u".ta.m["))) {
        const char16_t* after = nullptr;
        int k = index_of(p, ADDRESSEE_LINES, &after);
        if ((p = starts(after, u".s="))) set_text(c.ta.m[k].s, LINE_CAP, p);
    }
    if ((p = starts(rest, u".tn.m["))) {
        const char16_t* after = nullptr;
        int k = index_of(p, ADDRESSEE_LINES, &after);
        if ((p = starts(after, u".s="))) set_text(c.tn.m[k].s, LINE_CAP, p);
    }
    if ((p = starts(rest, u".ftb="))) {
        set_number(c.ftb, p);
        if (c.ftb < 0 || c.ftb > 9) c.ftb = 0;
    }
    if ((p = starts(rest, u".typ["))) {
        const char16_t* after = nullptr;
        int k = index_of(p, TYP_MAX, &after);
        if ((p = starts(after, u".t="))) set_number(c.typ[k].t, p);
        if ((p = starts(after, u".y="))) set_number(c.typ[k].y, p);
    }
    if ((p = starts(rest, u".yomi.s="))) set_text(c.yomi, YOMI_CAP, p);
}

void reference_layout_line(Document& d, const char16_t* line) {
    if (starts(line, u"hdata_cont_max=")) return;
    const char16_t* p = nullptr;
    PrintSettings& ps = d.print;
    if ((p = starts(line, u"base_pw="))) return set_number(ps.base_pw, p);
    if ((p = starts(line, u"base_ph="))) return set_number(ps.base_ph, p);
    if ((p = starts(line, u"base_px="))) return set_number(ps.base_px, p);
    if ((p = starts(line, u"base_py="))) return set_number(ps.base_py, p);
    if ((p = starts(line, u"prn_mode="))) return set_number(ps.prn_mode, p);
    if ((p = starts(line, u"bmp_mode="))) return set_number(ps.bmp_mode, p);
    if ((p = starts(line, u"start_p="))) return set_number(ps.start_p, p);
    if ((p = starts(line, u"stop_p="))) return set_number(ps.stop_p, p);
    char16_t rest[288];
    int i = record(line, u"hdata[", HDATA_MAX, rest);
    if (i < 0) return;
    CardRecord& c = d.hdata[i];
    if ((p = starts(rest, u".base_w="))) set_number(c.base_w, p);
    if ((p = starts(rest, u".base_h="))) set_number(c.base_h, p);
    if ((p = starts(rest, u".base_filepass="))) set_text(c.base_filepass, PATH_CAP, p);
    if (text_length(rest) <= 4) return;
    const char16_t* f = rest + 4;
    if (starts(rest, u".tt.")) {
        position_line(c.tt, f);
        font_line(c.tt.lf, f);
        color_line(c.tt.c, f);
    } else if (starts(rest, u".ta.")) {
        font_line(c.ta.lf, f);
        color_line(c.ta.c, f);
    } else if (starts(rest, u".tn.")) {
        font_line(c.tn.lf, f);
        color_line(c.tn.c, f);
    } else if (starts(rest, u".ft.")) {
        position_line(c.ft, f);
        font_line(c.ft.lf, f);
        color_line(c.ft.c, f);
    } else if (starts(rest, u".fa.")) {
        font_line(c.fa.lf, f);
        color_line(c.fa.c, f);
    } else if (starts(rest, u".fn.")) {
        font_line(c.fn.lf, f);
        color_line(c.fn.c, f);
    }
    if ((p = starts(rest, u".ta.xy["))) origin_line(c.ta.xy, ADDRESSEE_LINES, p);
    if ((p = starts(rest, u".tn.xy["))) origin_line(c.tn.xy, ADDRESSEE_LINES, p);
    if ((p = starts(rest, u".fa.xy["))) origin_line(c.fa.xy, SENDER_LINES, p);
    if ((p = starts(rest, u".fn.xy["))) origin_line(c.fn.xy, SENDER_LINES, p);
}

namespace {

struct LoadContext {
    Document* d;
    int kind;
};

void apply_line(const char16_t* line, void* context) {
    LoadContext& c = *static_cast<LoadContext*>(context);
    if (c.kind == 1) reference_sender_line(*c.d, line);
    else if (c.kind == 2) reference_addressee_line(*c.d, line);
    else reference_layout_line(*c.d, line);
}

}  // namespace

void reference_clear(Document& d, int kind) {
    if (kind == 1) {
        for (SenderRecord& s : d.fdata) {
            text_clear(s.t, POSTAL_CAP);
            for (TextLine& l : s.a) text_clear(l.s, LINE_CAP);
            for (TextLine& l : s.n) text_clear(l.s, LINE_CAP);
        }
    } else if (kind == 2) {
        for (CardRecord& c : d.hdata) {
            text_clear(c.tt.m, POSTAL_CAP);
            for (TextLine& l : c.ta.m) text_clear(l.s, LINE_CAP);
            for (TextLine& l : c.tn.m) text_clear(l.s, LINE_CAP);
            c.ftb = 0;
            for (TypEntry& t : c.typ) t = TypEntry{0, 0};
            text_clear(c.yomi, YOMI_CAP);
        }
    } else {
        for (CardRecord& c : d.hdata) set_default_layout(c);
        set_default_print_settings(d.print);
    }
}

int reference_apply(Document& d, int kind, const unsigned char* bytes, size_t size) {
    LoadContext context{&d, kind == 1 || kind == 2 ? kind : 3};
    return reference_split(bytes, size, apply_line, &context) ? 0 : 1;
}

int reference_load(Document& d, int kind, const unsigned char* bytes, size_t size) {
    reference_clear(d, kind);
    return reference_apply(d, kind, bytes, size);
}
