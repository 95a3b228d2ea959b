// What the editors share: the snapshot of all cards that the card layout
// dialog and the addressee list take when they open, the working card of the
// addressee list and the one-line editor, the question of the close box, and
// the labels of the form "番号:%d/%d".
#pragma once

#include "editors/dialog_view.h"
#include "model/document.h"

// The copy of all 200 cards taken when the card layout dialog or the
// addressee list opens; opening either takes it anew.
extern CardRecord card_snapshot[HDATA_MAX];
// The addressee list's row clipboard and the one-line editor's working copy;
// all zero at program start, never cleared.
extern CardRecord work_card;

void take_card_snapshot();
void restore_card_snapshot();

// The close box of an editor: "修正を破棄して閉じていいですか？" with the
// caption "閉じる" and Yes/No. True when the user answered Yes.
bool confirm_discard(DialogView& view);

// Builds `prefix` followed by "a/b" (for example "番号:" 1 and 5 gives
// "番号:1/5") into `out`.
void format_counter(char16_t* out, int cap, const char16_t* prefix, int a, int b);
