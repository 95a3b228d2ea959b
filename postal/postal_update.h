// Postal codes that stay current: the table the lookups use, and the
// command "郵便番号データの更新" that builds a newer one from Japan Post's
// files into the user's data folder (%LOCALAPPDATA%\Zelkovane). The table
// built into the program stays the fallback when there is none there or it
// cannot be read.
#pragma once

#include <cstdint>

#include "postal/postal_code_table.h"
#include "platform/platform.h"

// Where the command writes the newer table; false when the platform has no
// user data folder.
bool updated_postal_table_path(char16_t* out, int cap);

// Opens the table the lookups use: the updated one when it is there and
// sound, else the one built into the program (the results of
// open_postal_code_table). The updated file is read once and kept.
int open_postal_code_table_in_use(PostalCodeTable& table);
// Reads the updated table again at the next lookup.
void forget_postal_table_in_use();

// What the about box says of the table in use, on two lines: its date and
// whether it was updated ("郵便番号データ：2026年11月28日\r\n（更新済み）").
void describe_postal_table_in_use(char16_t* out, int cap);

// Results of update_postal_codes.
constexpr int POSTAL_UPDATED = 0;
constexpr int POSTAL_UPDATE_CANCELLED = 1;  // no file chosen
constexpr int POSTAL_UPDATE_FAILED = 2;     // message shown; the table in use is unchanged

// The command: the user picks the address file (utf_ken_all.csv or
// KEN_ALL.CSV) and, if wanted, the business file JIGYOSYO.CSV; the table is
// built from them in the wait window and replaces the updated table
// (through a temporary file). A .zip, a file that is not Japan Post's or a
// table that cannot be written changes nothing and says so. The data's date
// is the newest write date of the files. On success tells the number of
// codes read.
int update_postal_codes(WindowHandle owner);

// The same for files already chosen (`business` may be null).
int update_postal_codes_from(WindowHandle owner, const char16_t* address, const char16_t* business);
