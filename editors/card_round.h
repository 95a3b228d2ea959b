// The yearly New Year card round in the addressee list: which rows still
// need a card this year ("未送付を選択") or a reply to a card that came
// ("要返信を選択"), and the line that counts the card year's statuses.
#pragma once

#include "editors/addressee_list.h"
#include "platform/platform.h"

enum class RoundPick {
    Unsent,      // 未/未 or 未/受: nothing sent, not in mourning, not stopped
    NeedsReply,  // 未/受: a card came, none was sent
};

// True when a card with the history `typ` is what `pick` looks for in
// `year` (未送付: 未/未 or 未/受; 要返信: 未/受).
bool round_picks(const TypEntry (&typ)[TYP_MAX], int year, RoundPick pick);

// Selects exactly the rows whose status for `year` is what `pick` looks
// for and deselects the others; returns how many are selected.
int select_round_rows(ListRow* rows, int count, int year, RoundPick pick);

// Tells the user that no row is what `pick` looks for (caption "あて先の編集").
void tell_nothing_picked(WindowHandle owner, RoundPick pick, int year);

// The counts of the rows' statuses for `year`, by what was done from this
// side (済, 未, 喪, 止) and how many cards came (受, every received code):
// "2027年　済 120・未 75・喪 3・止 2　受 140".
void format_round_summary(char16_t* out, int cap, const ListRow* rows, int count, int year);
constexpr int ROUND_SUMMARY_CAP = 64;
