// The ten-year New Year card history of a card: the card year, the status
// codes and their texts, and the recording of a printed card as sent.
#pragma once

#include "model/document.h"

// Status codes: the first character (0 未, 1 済, 2 喪, 3 止) plus 4 when a
// card from the other side was received. Code 4 has no text of its own.
constexpr int STATUS_NONE = 0;  // 未/未
constexpr int STATUS_SENT = 1;  // 済/未
constexpr int STATUS_COUNT = 7;

// The seven status texts in the order codes 0, 1, 2, 3, 5, 6, 7; choice
// lists offer them in this order.
extern const char16_t* const status_text[STATUS_COUNT];
// The code of each entry of status_text.
extern const int status_code[STATUS_COUNT];

// The year whose New Year cards are being prepared: next year from
// September on, otherwise this year (local date).
int card_year();
// The text of a code; 0, 4 and any unknown code read "未/未".
const char16_t* status_code_text(int code);
// The text shown for `year`: the last entry of that year with a code that
// has a text of its own wins; "未/未" when there is none.
const char16_t* status_text_for(const TypEntry (&typ)[TYP_MAX], int year);
// The code of a status text (its first three units); anything else is 0.
int parse_status(const char16_t* text);
// Rebuilds the entries for the years card_year() down to card_year() - 9,
// each keeping the code it had for that year (0 when absent).
void normalize_typ(TypEntry (&typ)[TYP_MAX]);
// The same with an explicit card year.
void normalize_typ(TypEntry (&typ)[TYP_MAX], int year);
// Records card i as sent in the current card year and sets `modified`.
void mark_card_sent(int i);

// Called by mark_card_sent after card i was marked, so that an open
// addressee list can update its row; nothing is installed until that list
// exists. nullptr removes the hook.
using CardMarkedHook = void (*)(int card, int year);
void set_card_marked_hook(CardMarkedHook hook);
