// The ten-year New Year card history of a card: the card year, the status
// codes and their texts, and the recording of a printed card as sent.
#pragma once

#include "model/document.h"

// The seven status texts in the order codes 0, 1, 2, 3, 5, 6, 7.
extern const char16_t* const status_text[7];

int card_year();
const char16_t* status_text_for(const TypEntry (&typ)[TYP_MAX], int year);
int parse_status(const char16_t* text);
void normalize_typ(TypEntry (&typ)[TYP_MAX]);
void mark_card_sent(int i);

// Called by mark_card_sent after card i was marked, so that an open
// addressee list can update its row; nothing is installed until that list
// exists.
using CardMarkedHook = void (*)(int card, int year);
void set_card_marked_hook(CardMarkedHook hook);
