// The four switches of how card lines are set (render/card_fit.h), kept across
// runs in a small file of their own beside the data files, so that the
// three data files stay exactly as their readers expect: "zelko_fit.txt",
// UTF-16LE with a byte order mark, one "key=value" line per switch
// ("fit_long_lines=1", "align_names=1", "vertical_forms=1", "kanji_digits=0").
#pragma once

extern const char16_t* const FIT_SETTINGS_FILE;  // "zelko_fit.txt"

// Sets the switches from the file in the working folder; a missing file, or
// a line that is missing or not understood, leaves that switch as it starts
// (on, but "kanji_digits" off). Any
// bytes are read safely.
void load_fit_settings();

// Writes the switches to the file (a temporary file replaces the old one).
// False when it could not be written.
bool save_fit_settings();

// The switches from the bytes of such a file (exposed for the tests and the
// fuzz target).
void parse_fit_settings(const unsigned char* bytes, unsigned long count);
