#include "app/navigation.h"

#include "model/document.h"

void step_right() {
    int& current = doc().current_card;
    // An index outside the table (never set by this program) starts over too.
    int next = current >= 0 && current < HDATA_MAX ? current + 1 : HDATA_MAX;
    current = next < HDATA_MAX && card_in_use(next) ? next : 0;
}

void step_left() {
    int& current = doc().current_card;
    if (current > HDATA_MAX) current = HDATA_MAX;
    current = current > 0 ? current - 1 : 0;
}

void next_card() {
    step_right();
    set_nav_request(NAV_NEXT);
}

void previous_card() {
    int& current = doc().current_card;
    if (current > HDATA_MAX) current = HDATA_MAX;
    --current;
    if (current < 0) {
        int count = count_cards();
        current = count > 0 ? count - 1 : 0;
    }
    set_nav_request(NAV_PREVIOUS);
}
