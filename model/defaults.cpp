#include "model/defaults.h"

#include <cstring>

namespace {

// Font constants of the default layout, with their Win32 values.
constexpr int32_t kWeightBold = 700;             // FW_BOLD
constexpr uint8_t kCharSetShiftJis = 128;        // SHIFTJIS_CHARSET
constexpr uint8_t kOutStrokePrecis = 3;          // OUT_STROKE_PRECIS
constexpr uint8_t kClipStrokePrecis = 2;         // CLIP_STROKE_PRECIS
constexpr uint8_t kDraftQuality = 1;             // DRAFT_QUALITY
constexpr uint8_t kFixedModern = 49;             // FIXED_PITCH | FF_MODERN
constexpr uint8_t kFixedScript = 65;             // FIXED_PITCH | FF_SCRIPT
constexpr uint8_t kVariableScript = 66;          // VARIABLE_PITCH | FF_SCRIPT
constexpr int32_t kVertical = -900;              // tenths of a degree

const char16_t kHorizontalFace[] = u"ＭＳ ゴシック";
const char16_t kVerticalFace[] = u"@HG行書体";
const char16_t kDefaultBackground[] = u"base1.bmp";

void set_black(RgbColor& c) { c = RgbColor{0, 0, 0}; }

// Empties a text field over its whole capacity.
template <int N>
void clear_text(char16_t (&field)[N]) {
    std::memset(field, 0, sizeof field);
}

// Empties the whole field, then puts in a default text that fits.
template <int N, int M>
void set_text(char16_t (&field)[N], const char16_t (&text)[M]) {
    static_assert(M <= N, "default text too long for its field");
    std::memset(field, 0, sizeof field);
    std::memcpy(field, text, sizeof text);
}

template <int M>
void set_font(LogFont& lf, int32_t height, int32_t escapement, uint8_t pitch_and_family,
              const char16_t (&face)[M]) {
    lf.lfHeight = height;
    lf.lfWidth = 0;
    lf.lfEscapement = escapement;
    lf.lfOrientation = escapement;
    lf.lfWeight = kWeightBold;
    lf.lfItalic = 0;
    lf.lfUnderline = 0;
    lf.lfStrikeOut = 0;
    lf.lfCharSet = kCharSetShiftJis;
    lf.lfOutPrecision = kOutStrokePrecis;
    lf.lfClipPrecision = kClipStrokePrecis;
    lf.lfQuality = kDraftQuality;
    lf.lfPitchAndFamily = pitch_and_family;
    set_text(lf.lfFaceName, face);
}

template <typename Block>
void set_positions(Block& b, int32_t x1, int32_t y1, int32_t w1, int32_t x2, int32_t y2,
                   int32_t w2) {
    b.x1 = x1;
    b.y1 = y1;
    b.w1 = w1;
    b.x2 = x2;
    b.y2 = y2;
    b.w2 = w2;
}

}  // namespace

void set_default_layout(CardRecord& card) {
    card.base_w = 400;
    card.base_h = 592;
    set_text(card.base_filepass, kDefaultBackground);

    set_positions(card.tt, 183, 52, 27, 270, 53, 26);
    set_font(card.tt.lf, -24, 0, kFixedModern, kHorizontalFace);
    set_black(card.tt.c);

    for (int k = 0; k < ADDRESSEE_LINES; ++k) {
        card.ta.xy[k] = LinePos{370 - 35 * k, 100};
        card.tn.xy[k] = LinePos{270 - 50 * k, 115};
    }
    set_font(card.ta.lf, -27, kVertical, kFixedScript, kVerticalFace);
    set_black(card.ta.c);
    set_font(card.tn.lf, -48, kVertical, kFixedScript, kVerticalFace);
    set_black(card.tn.c);

    set_positions(card.ft, 29, 493, 16, 80, 493, 16);
    set_font(card.ft.lf, -19, 0, kFixedModern, kHorizontalFace);
    set_black(card.ft.c);

    card.fa.xy[0] = LinePos{120, 275};
    card.fa.xy[1] = LinePos{100, 275};
    set_font(card.fa.lf, -16, kVertical, kFixedScript, kVerticalFace);
    set_black(card.fa.c);

    card.fn.xy[0] = LinePos{70, 390};
    card.fn.xy[1] = LinePos{50, 390};
    set_font(card.fn.lf, -19, kVertical, kVariableScript, kVerticalFace);
    set_black(card.fn.c);
}

void set_default_print_settings(PrintSettings& settings) {
    settings.base_pw = 1000;
    settings.base_ph = 1480;
    settings.base_px = 0;
    settings.base_py = 0;
    settings.prn_mode = 0;
    settings.bmp_mode = 0;
    settings.start_p = 1;
    settings.stop_p = 1;
}

void clear_senders() {
    for (SenderRecord& s : doc().fdata) {
        clear_text(s.t);
        for (TextLine& line : s.a) clear_text(line.s);
        for (TextLine& line : s.n) clear_text(line.s);
    }
}

void clear_addressees() {
    for (CardRecord& card : doc().hdata) {
        clear_text(card.tt.m);
        for (TextLine& line : card.ta.m) clear_text(line.s);
        for (TextLine& line : card.tn.m) clear_text(line.s);
        card.ftb = 0;
        for (TypEntry& entry : card.typ) entry = TypEntry{0, 0};
        clear_text(card.yomi);
    }
}

void reset_layouts() {
    for (CardRecord& card : doc().hdata) set_default_layout(card);
    set_default_print_settings(doc().print);
}

void reset_layout_clipboard() {
    CardRecord& clip = doc().layout_clipboard;
    set_default_layout(clip);
    // The clipboard's sender postal code starts its four-digit group a little
    // further left than the cards' default.
    clip.ft.x2 = 75;
}
