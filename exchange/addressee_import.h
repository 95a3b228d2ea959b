// Addressees read from another program's file (a CSV table, a contacts
// export): the texts each card will get, everything the reading could not
// keep, one summary question that shows all of it before anything changes,
// and the cards written in place of the addressees in use or behind them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/document.h"
#include "platform/platform.h"

// The addressee texts of one card to be.
struct ImportedAddressee {
    char16_t postal[POSTAL_CAP];
    TextLine names[ADDRESSEE_LINES];
    TextLine address[ADDRESSEE_LINES];
    int32_t sender;  // as the file gives it; a sender not in use becomes 0
};

constexpr int IMPORT_TEXT_CAP = 1024;

struct AddresseeImport {
    std::vector<ImportedAddressee> addressees;  // at most HDATA_MAX, in file order
    int left_out = 0;   // addressees behind the first HDATA_MAX
    int cut_texts = 0;  // texts of the kept addressees cut to fit, or left without a line
    int garbled = 0;    // bytes that were no character (now replacement characters)
    int postal_in_text = 0;  // addressees whose postal code was no Japanese one (left in the address)
    char16_t mapping[IMPORT_TEXT_CAP] = {};  // what goes where: "氏名 ← 姓+名、…"
    char16_t unused[IMPORT_TEXT_CAP] = {};   // the file's fields not read, "、" between them
    char16_t notes[IMPORT_TEXT_CAP] = {};    // further losses, one line each, "\r\n" after each
};

// A text put together from pieces for one line of a card. It holds several
// lines' worth, so that a cut is seen when it is stored.
struct ImportText {
    char16_t units[4 * LINE_CAP];
    size_t length = 0;

    void add(const char16_t* s, size_t n);  // stops at the room, which is then cut anyway
    void add_unit(char16_t u) { add(&u, 1); }
    bool empty() const { return length == 0; }
    // True when the text, blanks at its end ignored, ends with s.
    bool ends_with(const char16_t* s, size_t n) const;
};

// Stores `n` units of text into the line: each line break (CR LF, CR or LF)
// becomes a full-width space, and the text is cut to the line's capacity
// without splitting a surrogate pair. Returns 1 when it was cut, else 0.
int store_import_text(TextLine& line, const char16_t* s, size_t n);
inline int store_import_text(TextLine& line, const ImportText& text) {
    return store_import_text(line, text.units, text.length);
}

// The line behind the last one with text.
int next_free_line(const TextLine (&lines)[ADDRESSEE_LINES]);
// Stores a text that is not empty on line `next` and moves on; a text
// without a line left is a cut. Returns the cuts (0 or 1).
int store_on_next_line(TextLine (&lines)[ADDRESSEE_LINES], int& next, const ImportText& text);
// Stores the digits of a postal code, full-width ones folded ("〒150-0001"
// gives "1500001"); returns 1 when digits did not fit, else 0.
int store_postal_digits(char16_t (&postal)[POSTAL_CAP], const char16_t* s, size_t n);

// Keeps `a` (and its `cuts`, and whether its postal code went into its
// address) when it has a text or a postal code, moving its lines up when its
// first name and address lines are empty, so that its card counts; behind
// the first HDATA_MAX addressees it is only counted.
void keep_imported(AddresseeImport& import, ImportedAddressee& a, int cuts,
                   bool postal_in_text = false);

// Results of offer_import.
constexpr int IMPORT_REPLACED = 0;
constexpr int IMPORT_APPENDED = 1;
constexpr int IMPORT_CANCELLED = 2;

// Shows the summary of `import`, read from the file `path`, under
// `caption`: how many addressees, which field goes where, which fields are
// not used and every loss, for each choice; then asks 置き換え / 追加 /
// キャンセル and carries out the choice. `import` holds one addressee at least.
int offer_import(WindowHandle owner, const char16_t* caption, const char16_t* path,
                 const AddresseeImport& import);

// The summary offer_import shows.
void build_import_summary(char16_t* out, int cap, const char16_t* path,
                          const AddresseeImport& import);

// Replaces the addressee texts, senders and New Year card histories of all
// cards by the imported ones and shows the first card; or, with `append`,
// writes them behind the cards in use, as many as there is room for, and
// shows the first new card. Layouts and senders are kept; the document is
// marked changed when a card was written. Returns the cards written.
int apply_import(const AddresseeImport& import, bool append);
