#include "editors/card_round.h"

#include "model/card_status.h"
#include "model/text.h"

bool round_picks(const TypEntry (&typ)[TYP_MAX], int year, RoundPick pick) {
    int code = status_code_for(typ, year);
    if (pick == RoundPick::NeedsReply) return code == STATUS_RECEIVED;
    return code == STATUS_NONE || code == STATUS_RECEIVED;
}

int select_round_rows(ListRow* rows, int count, int year, RoundPick pick) {
    int selected = 0;
    for (int r = 0; r < count; ++r) {
        rows[r].selected = round_picks(rows[r].typ, year, pick);
        if (rows[r].selected) ++selected;
    }
    return selected;
}

void tell_nothing_picked(WindowHandle owner, RoundPick pick, int year) {
    char16_t text[64];
    TextBuilder(text, 64)
        .add_int(year)
        .add(pick == RoundPick::Unsent ? u"年の年賀状をまだ出していない宛先はありません。"
                                       : u"年の年賀状が届いて返信が必要な宛先はありません。");
    platform().message_box(owner, text, u"あて先の編集", kButtonsOk);
}

void format_round_summary(char16_t* out, int cap, const ListRow* rows, int count, int year) {
    // By the first character: 未 0, 済 1, 喪 2, 止 3; the second adds 4.
    int done[4] = {};
    int received = 0;
    for (int r = 0; r < count; ++r) {
        int code = status_code_for(rows[r].typ, year);
        ++done[code % STATUS_RECEIVED];
        if (code >= STATUS_RECEIVED) ++received;
    }
    TextBuilder(out, cap)
        .add_int(year).add(u"年　済 ").add_int(done[1])
        .add(u"・未 ").add_int(done[0])
        .add(u"・喪 ").add_int(done[2])
        .add(u"・止 ").add_int(done[3])
        .add(u"　受 ").add_int(received);
}
