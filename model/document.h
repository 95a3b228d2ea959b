// The one in-memory document: 200 addressee cards, 10 senders, the print
// settings and the little state every subsystem shares. Plain records with
// fixed capacities; nothing is allocated per card and nothing is freed.
#pragma once

#include <cstdint>

constexpr int HDATA_MAX = 200;   // cards
constexpr int FDATA_MAX = 10;    // senders

// Text capacities in UTF-16 units, terminating NUL included.
constexpr int POSTAL_CAP = 16;
constexpr int LINE_CAP = 64;
constexpr int PATH_CAP = 260;
constexpr int FACE_CAP = 32;
constexpr int YOMI_CAP = 64;    // the addressee's reading (よみ)

constexpr int ADDRESSEE_LINES = 5;  // ta.m / tn.m and their origins
constexpr int SENDER_LINES = 2;     // fa / fn origins, sender a / n
constexpr int TYP_MAX = 10;         // years of New Year card history

// Field for field the Windows LOGFONTW, so the Win32 layer can hand a stored
// font to CreateFontIndirectW as it is.
struct LogFont {
    int32_t lfHeight;
    int32_t lfWidth;
    int32_t lfEscapement;
    int32_t lfOrientation;
    int32_t lfWeight;
    uint8_t lfItalic;
    uint8_t lfUnderline;
    uint8_t lfStrikeOut;
    uint8_t lfCharSet;
    uint8_t lfOutPrecision;
    uint8_t lfClipPrecision;
    uint8_t lfQuality;
    uint8_t lfPitchAndFamily;
    char16_t lfFaceName[FACE_CAP];
};

struct RgbColor {
    uint8_t r;
    uint8_t g;
    uint8_t b;
};

struct TextLine {
    char16_t s[LINE_CAP];
};

struct LinePos {
    int32_t x;
    int32_t y;
};

// Layout of a seven-digit postal code drawn digit by digit into its boxes
// (the sender's `ft`; the addressee's `tt` has the same fields behind its text).
struct PostalCodeBlock {
    int32_t x1;  // x of the first digit of the three-digit group
    int32_t y1;
    int32_t w1;  // step between the digits of the three-digit group
    int32_t x2;  // x of the first digit of the four-digit group
    int32_t y2;
    int32_t w2;
    LogFont lf;
    RgbColor c;
};

// The addressee's postal code: its text, then the same layout as PostalCodeBlock.
struct AddresseePostalCode {
    char16_t m[POSTAL_CAP];
    int32_t x1;
    int32_t y1;
    int32_t w1;
    int32_t x2;
    int32_t y2;
    int32_t w2;
    LogFont lf;
    RgbColor c;
};

// The addressee's address or name lines with their layout.
struct AddresseeTextBlock {
    TextLine m[ADDRESSEE_LINES];
    LinePos xy[ADDRESSEE_LINES];
    LogFont lf;
    RgbColor c;
};

// Layout of the sender's address or name lines (texts come from the sender).
struct TextBlock {
    LinePos xy[SENDER_LINES];
    LogFont lf;
    RgbColor c;
};

struct TypEntry {
    int32_t t;  // status code
    int32_t y;  // four-digit year
};

struct CardRecord {
    int32_t base_w;
    int32_t base_h;
    char16_t base_filepass[PATH_CAP];
    AddresseePostalCode tt;
    AddresseeTextBlock ta;
    AddresseeTextBlock tn;
    int32_t ftb;  // index of the sender printed on this card
    PostalCodeBlock ft;
    TextBlock fa;
    TextBlock fn;
    TypEntry typ[TYP_MAX];
    // The addressee's reading in kana, for sorting and finding; never printed.
    char16_t yomi[YOMI_CAP];
};

struct SenderRecord {
    char16_t t[POSTAL_CAP];
    TextLine a[SENDER_LINES];
    TextLine n[SENDER_LINES];
};

struct PrintSettings {
    int32_t base_pw;   // postcard width, 0.1 mm
    int32_t base_ph;   // postcard height, 0.1 mm
    int32_t base_px;   // horizontal offset on the page, printer pixels
    int32_t base_py;   // vertical offset on the page, printer pixels
    int32_t prn_mode;  // 0 current card, 1 all, 2 start_p..stop_p, 3 list selection
    int32_t bmp_mode;  // 1: print the background bitmap too
    int32_t start_p;   // first card of the range, from 1
    int32_t stop_p;    // last card of the range, from 1
};

struct Document {
    CardRecord hdata[HDATA_MAX];
    SenderRecord fdata[FDATA_MAX];
    PrintSettings print;
    int32_t current_card;
    bool modified;
    char16_t work_dir[PATH_CAP];
    char16_t chosen_file[PATH_CAP];
    CardRecord layout_clipboard;
};

// The process-wide document.
Document& doc();

// A copy of the whole document, put aside before a file is read into it:
// a read that fails puts the document back as it was, so that a failed
// open changes nothing.
void keep_document_copy();
void restore_document_copy();

bool card_in_use(int i);
int count_cards();
bool sender_in_use(int j);
int count_senders();
