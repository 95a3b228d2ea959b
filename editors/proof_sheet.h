// "一覧で確認": every card in use as a thumbnail with what needs a look
// before it is printed. This is the window's logic, free of the platform:
// the marks of a card, the filters and their count line, the selection, and
// noticing which cards changed since the window last looked. The Win32
// window (proof_sheet_window_win32.cpp) draws it; the native tests drive it.
#pragma once

#include "postal/postal_code_table.h"
#include "model/document.h"

// The marks, one bit each, in the order they are shown.
constexpr unsigned MARK_OVERFLOW = 1u << 0;        // はみ出し: a line does not fit even when set smaller
constexpr unsigned MARK_NO_POSTAL = 1u << 1;       // 〒なし
constexpr unsigned MARK_POSTAL_UNKNOWN = 1u << 2;  // 〒不明: seven digits not in the table
constexpr unsigned MARK_POSTAL_DIGITS = 1u << 3;   // 〒桁: not seven digits
constexpr unsigned MARK_NO_SENDER = 1u << 4;       // 差出人なし: the chosen sender is empty
constexpr unsigned MARK_MOURNING = 1u << 5;        // 喪 in the card year
constexpr unsigned MARK_STOPPED = 1u << 6;         // 止 in the card year
constexpr unsigned MARK_SENT = 1u << 7;            // 済: already printed in the card year
constexpr int MARK_COUNT = 8;

// The word and the colour of each mark, in bit order.
struct MarkStyle {
    unsigned mark;
    const char16_t* word;
    RgbColor colour;
};
extern const MarkStyle kMarkStyles[MARK_COUNT];

// Every mark but 済 asks for a look before printing.
inline bool needs_attention(unsigned marks) { return (marks & ~MARK_SENT) != 0; }

// What the sheet shows of one card.
struct CardCheck {
    unsigned marks;
    int status;   // status code for the card year (model/card_status.h)
    bool unsent;  // 未/未 or 未/受 in the card year, as 未送付を選択 picks
};

// The marks of `card` for `year`. `overflow`: a line of the card does not
// fit (the renderer's fitting says so). `table`: the postal code table, or
// nullptr when the program has none (no 〒不明 then).
CardCheck check_card(const CardRecord& card, int year, bool overflow, const PostalCodeTable* table);

// The texts under a thumbnail: "No.12 山田　太郎　様" (the card number
// counted from 1 and name line 1) and "2027年 未/未" (the card year and the
// card's status for it).
constexpr int SHEET_TITLE_CAP = 80;
void format_card_title(int card, char16_t* out, int cap);
void format_card_status(const CardCheck& check, int year, char16_t* out, int cap);

// Whether a card of the document has a line that does not fit; the Win32
// window measures it on a screen surface, the tests answer from a table.
class CardFitCheck {
public:
    virtual ~CardFitCheck() = default;
    virtual bool overflows(int card) = 0;
};

enum class SheetFilter {
    All,        // すべて
    Attention,  // 要確認: any mark but 済
    Unsent,     // 未送付
};

constexpr int SHEET_COUNT_CAP = 48;

// The document was replaced as a whole (新規作成, 開く, an import): every
// sheet drops its selection at its next refresh.
void proof_sheet_document_replaced();

// The cards the window shows, in card order, and the user's selection.
// Positions count the thumbnails shown (0 is the top left one).
class ProofSheet {
public:
    // Looks at the document's cards in use: a card whose record or chosen
    // sender differs from what was seen last time (or every card, when the
    // year or `fit_state` changed) is checked again and its changed[card]
    // set (the window then draws its thumbnail anew). Returns how many
    // changed, counting cards that went out of use. The shown cards follow
    // the filter; selected cards no longer shown are deselected.
    // The selection follows people, never card numbers: a card that now
    // holds another addressee (its name lines, address lines or postal code
    // changed, as when a row above it was deleted or the rows were sorted)
    // or that went out of use leaves the selection, and so does every card
    // once the document was replaced (proof_sheet_document_replaced). A
    // print's 済, another sender or layout keep a card selected.
    int refresh(int year, const PostalCodeTable* table, CardFitCheck& fit, unsigned fit_state,
                bool* changed);
    // Checks every card again at the next refresh (the postal code table
    // in use was replaced).
    void recheck_all() { seen_any_ = false; }

    void set_filter(SheetFilter filter);
    SheetFilter filter() const { return filter_; }

    int shown() const { return shown_count_; }
    int card_at(int position) const;
    int position_of(int card) const;  // -1 when the card is not shown
    const CardCheck& check(int card) const { return checks_[card]; }
    int cards() const { return cards_; }
    int year() const { return seen_year_; }
    // "表示 80枚（要確認 3枚）": the cards shown and how many of those need a
    // look.
    void format_count(char16_t* out, int cap) const;

    // A click on the thumbnail at `position`: alone it selects just that
    // one; with Ctrl it toggles it; with Shift it selects the run from the
    // last clicked one (added to the selection with Ctrl too).
    void click(int position, bool shift, bool ctrl);
    // The keyboard moves the focus to `position` (kept within the shown
    // ones): alone it selects just that one, with Shift the run from the
    // last clicked one.
    void move_to(int position, bool shift);
    void select_all();
    bool selected(int position) const;
    int focus() const;  // position of the focused thumbnail, -1 when none
    // The selected cards in card order into `out` (room for HDATA_MAX);
    // returns how many.
    int selected_cards(int* out) const;

private:
    void apply_filter();
    bool passes(int card) const;
    void select_run(int from, int to);

    CardRecord seen_cards_[HDATA_MAX] = {};
    unsigned seen_replacements_ = 0;
    SenderRecord seen_senders_[HDATA_MAX] = {};
    int seen_year_ = 0;
    unsigned seen_fit_state_ = 0;
    bool seen_any_ = false;

    CardCheck checks_[HDATA_MAX] = {};
    int cards_ = 0;
    SheetFilter filter_ = SheetFilter::All;
    int shown_[HDATA_MAX] = {};
    int shown_count_ = 0;
    bool selected_[HDATA_MAX] = {};  // by card
    int anchor_ = -1;                // card clicked last
    int focus_ = -1;                 // card with the focus
};
