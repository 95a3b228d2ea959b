#include "model/document.h"

namespace {
Document g_document;
Document g_document_copy;
}

Document& doc() { return g_document; }

void keep_document_copy() { g_document_copy = g_document; }
void restore_document_copy() { g_document = g_document_copy; }

bool card_in_use(int i) {
    if (i < 0 || i >= HDATA_MAX) return false;
    const CardRecord& card = g_document.hdata[i];
    return card.tt.m[0] != 0 || card.ta.m[0].s[0] != 0 || card.tn.m[0].s[0] != 0;
}

int count_cards() {
    int i = 0;
    while (i < HDATA_MAX && card_in_use(i)) ++i;
    return i;
}

bool sender_in_use(int j) {
    if (j < 0 || j >= FDATA_MAX) return false;
    const SenderRecord& sender = g_document.fdata[j];
    return sender.t[0] != 0 || sender.a[0].s[0] != 0 || sender.n[0].s[0] != 0;
}

int count_senders() {
    int j = 0;
    while (j < FDATA_MAX && sender_in_use(j)) ++j;
    return j;
}
