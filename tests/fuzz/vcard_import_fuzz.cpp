// Feeds arbitrary bytes as a contacts file through the whole vCard import
// (line unfolding, quoted-printable, charsets, escapes, the summary, replace
// or append) and checks what every import must give: the summary question
// or a message, nothing changed unless the import says so, and cards whose
// texts end inside their fields, without line breaks, with postal codes of
// digits only.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "exchange/vcard_import.h"
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
        text_set(doc().chosen_file, u"C:\\work\\contacts.vcf");
        return new MemoryPlatform();
    }();
    const int before = hand_import_input(*memory, data, size);

    const int result = import_vcard(nullptr);
    if (memory->boxes != 1) std::abort();
    if (result == VCARD_IMPORTED) {
        if (!doc().modified || count_cards() == 0) std::abort();
    } else if (doc().modified || count_cards() != before) {
        std::abort();
    }
    for (const CardRecord& card : doc().hdata) check_imported_card(card);
    return 0;
}
