#include "editors/editor_shared.h"

#include <cstring>

#include "model/text.h"

CardRecord card_snapshot[HDATA_MAX];
CardRecord work_card;

void take_card_snapshot() { std::memcpy(card_snapshot, doc().hdata, sizeof card_snapshot); }

void restore_card_snapshot() { std::memcpy(doc().hdata, card_snapshot, sizeof card_snapshot); }

bool confirm_discard(DialogView& view) {
    return platform().message_box(view.window(), u"修正を破棄して閉じていいですか？", u"閉じる",
                                  kButtonsYesNo) == kAnswerYes;
}

void format_counter(char16_t* out, int cap, const char16_t* prefix, int a, int b) {
    TextBuilder(out, cap).add(prefix).add_int(a).add_unit(u'/').add_int(b);
}
