// Feeds arbitrary bytes as a CSV file through the import's decoder, parser
// and column mapping, applies the rows to the document and checks what
// every import must give: at most 200 cards, all of them in use and counted,
// texts ending inside their fields, no line breaks in a line, postal codes
// of digits only and senders in use.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "files/csv_decode.h"
#include "files/csv_import.h"
#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"
#include "tests/support/memory_platform.h"

namespace {

void check_line(const char16_t* s, int cap) {
    bool ended = false;
    for (int i = 0; i < cap && !ended; ++i) {
        if (s[i] == u'\r' || s[i] == u'\n') std::abort();
        ended = s[i] == 0;
    }
    if (!ended) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static MemoryPlatform* memory = [] {
        std::memset(&doc(), 0, sizeof(Document));
        clear_senders();
        reset_layouts();
        for (int j = 0; j < 3; ++j) text_set(doc().fdata[j].n[0].s, u"差出人");
        return new MemoryPlatform();
    }();
    (void)memory;
    CsvAddressees addressees;
    store_csv_bytes(data, size, addressees.text);
    decode_csv_file(addressees.text, size);
    read_csv_addressees(addressees);
    if (addressees.rows.size() > static_cast<size_t>(HDATA_MAX)) std::abort();
    if (addressees.left_out > 0 && addressees.rows.size() != static_cast<size_t>(HDATA_MAX))
        std::abort();

    apply_csv_addressees(addressees);
    if (count_cards() != static_cast<int>(addressees.rows.size())) std::abort();
    for (int i = 0; i < HDATA_MAX; ++i) {
        const CardRecord& card = doc().hdata[i];
        check_line(card.tt.m, POSTAL_CAP);
        for (const char16_t* p = card.tt.m; *p; ++p)
            if (*p < u'0' || *p > u'9') std::abort();
        for (int k = 0; k < ADDRESSEE_LINES; ++k) {
            check_line(card.ta.m[k].s, LINE_CAP);
            check_line(card.tn.m[k].s, LINE_CAP);
        }
        if (card.ftb < 0 || card.ftb >= count_senders()) std::abort();
    }
    return 0;
}
