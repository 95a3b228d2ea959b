// Short display names of the device-mode paper codes (dmPaperSize), as the
// printer notices show them.
#pragma once

constexpr int PAPER_NAME_CAP = 64;

// The name of a code; "不明" for a code not in the table (153 included,
// which the notices call "A1" themselves).
const char16_t* paper_name(int code);
// The same written into a caller's buffer of `cap` units.
void paper_name(int code, char16_t* out, int cap);
