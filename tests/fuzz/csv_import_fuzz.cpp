// Feeds arbitrary bytes as a CSV file through the whole import (read,
// decoder, parser, header search, column mapping, summary, replace or
// append) and checks what every import must give: either the summary
// question or a message, nothing changed unless the import says so, at most
// 200 cards, all of them in use and counted, texts ending inside their
// fields, no line breaks in a line, postal codes of digits only and senders
// in use.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "exchange/csv_import.h"
#include "model/defaults.h"
#include "model/document.h"
#include "model/text.h"
#include "tests/fuzz/imported_cards_check.h"
#include "tests/support/memory_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static MemoryPlatform* memory = [] {
        std::memset(&doc(), 0, sizeof(Document));
        clear_senders();
        reset_layouts();
        for (int j = 0; j < 3; ++j) text_set(doc().fdata[j].n[0].s, u"差出人");
        text_set(doc().chosen_file, u"C:\\work\\in.csv");
        return new MemoryPlatform();
    }();
    const int before = hand_import_input(*memory, data, size);

    const int result = import_csv(nullptr);
    // Always exactly one box: the summary question, or the message why
    // nothing can be read.
    if (memory->boxes != 1) std::abort();
    if (result == CSV_IMPORTED) {
        if (!doc().modified || count_cards() == 0) std::abort();
        if (memory->answer == kAnswerNo && count_cards() <= before) std::abort();
    } else if (doc().modified || count_cards() != before) {
        std::abort();
    }
    for (int i = 0; i < HDATA_MAX; ++i) {
        const CardRecord& card = doc().hdata[i];
        check_imported_card(card);
        if (card.ftb < 0 || card.ftb >= count_senders()) std::abort();
    }
    return 0;
}
