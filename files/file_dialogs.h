// The common open and save dialogs of the file commands, and the code of the
// chosen path's extension.
#pragma once

#include "files/kv_file.h"
#include "platform/platform.h"

// Dialog kinds: the three data files by their file kinds (KIND_SENDER,
// KIND_ADDRESSEE, KIND_LAYOUT of files/kv_file.h), and these.
constexpr int DIALOG_ANY = 0;
constexpr int DIALOG_CSV = 16;
constexpr int DIALOG_BMP = 256;
constexpr int DIALOG_VCARD = 512;  // contacts (.vcf)
constexpr int DIALOG_POSTAL = 1024;           // Japan Post's address file (.csv)
constexpr int DIALOG_POSTAL_BUSINESS = 2048;  // Japan Post's business file (.csv)

// Dialog results: 0 cancelled or failed, otherwise the extension code.
constexpr int EXT_NONE = 0;
constexpr int EXT_TXT = 1;
constexpr int EXT_CSV = 16;
constexpr int EXT_BMP = 256;
constexpr int EXT_OTHER = 4096;

int extension_code(const char16_t* path);
// Stores the chosen path in chosen_file; returns its extension code, or 0.
int open_file_dialog(WindowHandle owner, int kind);
// Stores the chosen path in `destination` (PATH_CAP units); returns its
// extension code, or 0 when cancelled.
int save_file_dialog(WindowHandle owner, char16_t* destination, int kind);
