// The vCard import: contacts exported from a phone or a web contacts
// service (vCard 2.1, 3.0 and 4.0 files, .vcf) become addressees through
// the same summary and choice as the CSV import. Values are read in the
// charset they declare (see charset_decode.h); UTF-16 files are read too.
// The home address is used, else the first: an ADR without text does not
// count, and without any ADR the LABEL's lines are the address. All ORGs
// follow the address. vCards inside a contact (AGENT) are skipped.
// Contacts without an address are left out and counted.
#pragma once

#include <cstddef>

#include "exchange/addressee_import.h"
#include "platform/platform.h"

// Results of import_vcard.
constexpr int VCARD_IMPORTED = 0;
constexpr int VCARD_IMPORT_DECLINED = 1;  // the user kept the current addressees
constexpr int VCARD_IMPORT_FAILED = 2;    // no file, no vCard or no address (message shown)

// Reads `chosen_file`, shows the summary and on 置き換え or 追加 writes the
// contacts into the cards (see offer_import).
int import_vcard(WindowHandle owner);

// Reads the contacts of a vCard file's bytes into `import`; returns how
// many contacts (BEGIN:VCARD .. END:VCARD) the file holds.
int read_vcard_addressees(const unsigned char* bytes, size_t count, AddresseeImport& import);
