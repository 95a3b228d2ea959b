#include "tests/support/full_document.h"

#include <cstdio>
#include <cstring>

#include "model/text.h"

namespace {

// Japanese, half-width katakana, a surrogate pair (U+20BB7) and the
// characters of the key syntax, repeated to fill a field.
const char16_t kPattern[] = u"東京都千代田区ﾁﾖﾀﾞ𠮷野=1]-2[x";

void fill_text(char16_t* field, int cap, int seed) {
    const int pattern_len = static_cast<int>(sizeof(kPattern) / sizeof(kPattern[0])) - 1;
    for (int i = 0; i < cap - 1; ++i) field[i] = kPattern[(i + seed) % pattern_len];
    field[cap - 1] = 0;
    // Cut at a character boundary, as the program stores a text.
    if (is_high_surrogate(field[cap - 2])) field[cap - 2] = 0;
}

template <int N>
void fill(char16_t (&field)[N], int seed) {
    fill_text(field, N, seed);
}

void fill_font(LogFont& lf, int seed) {
    lf.lfHeight = -30 - seed;
    lf.lfWidth = 5 + seed;
    lf.lfEscapement = -1800 + seed;
    lf.lfOrientation = 2700 - seed;
    lf.lfWeight = 400 + seed;
    lf.lfItalic = static_cast<uint8_t>(1 + seed);
    lf.lfUnderline = static_cast<uint8_t>(2 + seed);
    lf.lfStrikeOut = static_cast<uint8_t>(3 + seed);
    lf.lfCharSet = static_cast<uint8_t>(255 - seed);
    lf.lfOutPrecision = static_cast<uint8_t>(200 + seed);
    lf.lfClipPrecision = static_cast<uint8_t>(130 + seed);
    lf.lfQuality = static_cast<uint8_t>(4 + seed);
    lf.lfPitchAndFamily = static_cast<uint8_t>(250 - seed);
    fill(lf.lfFaceName, seed);
}

void fill_color(RgbColor& c, int seed) {
    c.r = static_cast<uint8_t>(255 - seed);
    c.g = static_cast<uint8_t>(128 + seed);
    c.b = static_cast<uint8_t>(1 + seed);
}

template <typename Block>
void fill_positions(Block& b, int seed) {
    b.x1 = 1000 + seed;
    b.y1 = -2000 - seed;
    b.w1 = 30 + seed;
    b.x2 = 2147483647 - seed;
    b.y2 = -2147483647 - 1 + seed;
    b.w2 = 40 + seed;
}

std::string number(const char* name, long long value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s=%lld;", name, value);
    return buf;
}

std::string text(const char* name, const char16_t* field, int cap) {
    return std::string(name) + "=" + describe_text(field, cap) + ";";
}

std::string font(const char* item, const LogFont& lf) {
    std::string p = std::string(item) + ".lf.";
    return number((p + "lfHeight").c_str(), lf.lfHeight) + number((p + "lfWidth").c_str(), lf.lfWidth) +
           number((p + "lfEscapement").c_str(), lf.lfEscapement) +
           number((p + "lfOrientation").c_str(), lf.lfOrientation) +
           number((p + "lfWeight").c_str(), lf.lfWeight) + number((p + "lfItalic").c_str(), lf.lfItalic) +
           number((p + "lfUnderline").c_str(), lf.lfUnderline) +
           number((p + "lfStrikeOut").c_str(), lf.lfStrikeOut) +
           number((p + "lfCharSet").c_str(), lf.lfCharSet) +
           number((p + "lfOutPrecision").c_str(), lf.lfOutPrecision) +
           number((p + "lfClipPrecision").c_str(), lf.lfClipPrecision) +
           number((p + "lfQuality").c_str(), lf.lfQuality) +
           number((p + "lfPitchAndFamily").c_str(), lf.lfPitchAndFamily) +
           text((p + "lfFaceName").c_str(), lf.lfFaceName, FACE_CAP);
}

std::string color(const char* item, const RgbColor& c) {
    std::string p = std::string(item) + ".c.";
    return number((p + "r").c_str(), c.r) + number((p + "g").c_str(), c.g) + number((p + "b").c_str(), c.b);
}

template <typename Block>
std::string positions(const char* item, const Block& b) {
    std::string p = std::string(item) + ".";
    return number((p + "x1").c_str(), b.x1) + number((p + "y1").c_str(), b.y1) +
           number((p + "w1").c_str(), b.w1) + number((p + "x2").c_str(), b.x2) +
           number((p + "y2").c_str(), b.y2) + number((p + "w2").c_str(), b.w2);
}

std::string origins(const char* item, const LinePos* xy, int lines) {
    std::string out;
    for (int k = 0; k < lines; ++k) {
        std::string p = std::string(item) + ".xy[" + std::to_string(k) + "].";
        out += number((p + "x").c_str(), xy[k].x) + number((p + "y").c_str(), xy[k].y);
    }
    return out;
}

}  // namespace

std::string describe_text(const char16_t* field, int cap) {
    std::string out;
    for (int i = 0; i < cap && field[i] != 0; ++i) {
        char16_t u = field[i];
        if (u >= 0x20 && u < 0x7F && u != '\\') {
            out += static_cast<char>(u);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(u));
            out += buf;
        }
    }
    return out;
}

void fill_full_document() {
    Document& d = doc();
    for (int i = 0; i < HDATA_MAX; ++i) {
        CardRecord& c = d.hdata[i];
        const int s = i % 50;  // keeps the bytes in range
        c.base_w = 401 + i;
        c.base_h = 593 + i;
        fill(c.base_filepass, i);
        fill(c.tt.m, i + 1);
        fill_positions(c.tt, s);
        fill_font(c.tt.lf, s);
        fill_color(c.tt.c, s);
        for (int k = 0; k < ADDRESSEE_LINES; ++k) {
            fill(c.ta.m[k].s, i + k);
            fill(c.tn.m[k].s, i + 2 * k + 3);
            c.ta.xy[k] = LinePos{-10 * k - i, 20 * k + i};
            c.tn.xy[k] = LinePos{30 * k + i, -40 * k - i};
        }
        fill_font(c.ta.lf, s + 1);
        fill_color(c.ta.c, s + 1);
        fill_font(c.tn.lf, s + 2);
        fill_color(c.tn.c, s + 2);
        c.ftb = 1 + i % 9;
        fill_positions(c.ft, s + 3);
        fill_font(c.ft.lf, s + 3);
        fill_color(c.ft.c, s + 3);
        for (int k = 0; k < SENDER_LINES; ++k) {
            c.fa.xy[k] = LinePos{500 + k + i, 600 + k + i};
            c.fn.xy[k] = LinePos{-700 - k - i, -800 - k - i};
        }
        fill_font(c.fa.lf, s + 4);
        fill_color(c.fa.c, s + 4);
        fill_font(c.fn.lf, s + 5);
        fill_color(c.fn.c, s + 5);
        for (int k = 0; k < TYP_MAX; ++k) c.typ[k] = TypEntry{1 + (i + k) % 7, 2026 - k};
    }
    for (int j = 0; j < FDATA_MAX; ++j) {
        SenderRecord& s = d.fdata[j];
        fill(s.t, j + 5);
        for (int k = 0; k < SENDER_LINES; ++k) {
            fill(s.a[k].s, j + k);
            fill(s.n[k].s, j + 7 * k);
        }
    }
    d.print = PrintSettings{1001, 1482, -35, 47, 2, 1, 3, 199};
}

std::string describe_addressee(const CardRecord& c) {
    std::string out = text("tt.m", c.tt.m, POSTAL_CAP);
    for (int k = 0; k < ADDRESSEE_LINES; ++k)
        out += text(("ta.m[" + std::to_string(k) + "]").c_str(), c.ta.m[k].s, LINE_CAP);
    for (int k = 0; k < ADDRESSEE_LINES; ++k)
        out += text(("tn.m[" + std::to_string(k) + "]").c_str(), c.tn.m[k].s, LINE_CAP);
    out += number("ftb", c.ftb);
    for (int k = 0; k < TYP_MAX; ++k) {
        std::string p = "typ[" + std::to_string(k) + "].";
        out += number((p + "t").c_str(), c.typ[k].t) + number((p + "y").c_str(), c.typ[k].y);
    }
    return out;
}

std::string describe_layout(const CardRecord& c) {
    return number("base_w", c.base_w) + number("base_h", c.base_h) +
           text("base_filepass", c.base_filepass, PATH_CAP) + positions("tt", c.tt) + font("tt", c.tt.lf) +
           color("tt", c.tt.c) + origins("ta", c.ta.xy, ADDRESSEE_LINES) + font("ta", c.ta.lf) +
           color("ta", c.ta.c) + origins("tn", c.tn.xy, ADDRESSEE_LINES) + font("tn", c.tn.lf) +
           color("tn", c.tn.c) + positions("ft", c.ft) + font("ft", c.ft.lf) + color("ft", c.ft.c) +
           origins("fa", c.fa.xy, SENDER_LINES) + font("fa", c.fa.lf) + color("fa", c.fa.c) +
           origins("fn", c.fn.xy, SENDER_LINES) + font("fn", c.fn.lf) + color("fn", c.fn.c);
}

std::string describe_sender(const SenderRecord& s) {
    std::string out = text("t", s.t, POSTAL_CAP);
    for (int k = 0; k < SENDER_LINES; ++k)
        out += text(("a[" + std::to_string(k) + "]").c_str(), s.a[k].s, LINE_CAP);
    for (int k = 0; k < SENDER_LINES; ++k)
        out += text(("n[" + std::to_string(k) + "]").c_str(), s.n[k].s, LINE_CAP);
    return out;
}

std::string describe_print(const PrintSettings& p) {
    return number("base_pw", p.base_pw) + number("base_ph", p.base_ph) + number("base_px", p.base_px) +
           number("base_py", p.base_py) + number("prn_mode", p.prn_mode) +
           number("bmp_mode", p.bmp_mode) + number("start_p", p.start_p) + number("stop_p", p.stop_p);
}
