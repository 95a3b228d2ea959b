// The ten-year New Year card history of a card: the card year, the status
// codes and their texts, and the recording of a printed card as sent.
#pragma once

#include "model/document.h"

// Status codes: the first character (0 未, 1 済, 2 喪, 3 止) plus 4 when a
// card from the other side was received (STATUS_RECEIVED).
constexpr int STATUS_NONE = 0;      // 未/未
constexpr int STATUS_SENT = 1;      // 済/未
constexpr int STATUS_RECEIVED = 4;  // 未/受
constexpr int STATUS_COUNT = 8;

// The eight status texts, indexed by code; choice lists offer them in this
// order.
extern const char16_t* const status_text[STATUS_COUNT];

// The year whose New Year cards are being prepared: next year from
// September on, otherwise this year (local date).
int card_year();
// The text of a code; an unknown code reads "未/未".
const char16_t* status_code_text(int code);
// The code shown for `year`: the last entry of that year with a code from 1
// to 7 wins; 0 when there is none.
int status_code_for(const TypEntry (&typ)[TYP_MAX], int year);
// The text of status_code_for.
const char16_t* status_text_for(const TypEntry (&typ)[TYP_MAX], int year);
// The code of a status text (its first three units); anything else is 0.
int parse_status(const char16_t* text);
// Rebuilds the entries for the years card_year() down to card_year() - 9,
// each keeping the code it had for that year (0 when absent).
void normalize_typ(TypEntry (&typ)[TYP_MAX]);
// The same with an explicit card year.
void normalize_typ(TypEntry (&typ)[TYP_MAX], int year);
// Records the entries as sent in `year` (rebuilt for that year first when
// entry 0 is another year); a received mark stays: 0, 2, 3 become 1 (済/未),
// 4 to 7 become 5 (済/受).
void mark_typ_sent(TypEntry (&typ)[TYP_MAX], int year);
// Records card i as sent in the current card year and sets `modified`.
void mark_card_sent(int i);

// Called by mark_card_sent after card i was marked, so that an open
// addressee list can update its row; nothing is installed until that list
// exists. nullptr removes the hook.
using CardMarkedHook = void (*)(int card, int year);
void set_card_marked_hook(CardMarkedHook hook);
