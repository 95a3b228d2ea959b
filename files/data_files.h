// The three data files: senders, addressees, layouts with print settings.
// Each has a writer (owner, name, mode) returning WRITE_DONE, WRITE_DECLINED
// or WRITE_FAILED, and a line handler used by read_kv_file.
#pragma once

#include <cstddef>

#include "files/card_keys.h"
#include "platform/platform.h"

int write_sender_file(WindowHandle owner, const char16_t* name, int mode);
int write_addressee_file(WindowHandle owner, const char16_t* name, int mode);
int write_layout_file(WindowHandle owner, const char16_t* name, int mode);

// Line handlers: one line without its CR LF, applied to the document.
void read_sender_line(const char16_t* line);
void read_addressee_line(const char16_t* line);
void read_layout_line(const char16_t* line);

// The same for a line whose length (units before its NUL) is known, as the
// reader has it at hand.
void read_sender_line(const char16_t* line, int len);
void read_addressee_line(const char16_t* line, int len);
void read_layout_line(const char16_t* line, int len);

// For the addressee and layout files as the program writes them: the guess
// of the key the file's writer puts next (card_keys.h), owned by one reading
// of a file. Its take_lines() applies the plain lines at hand for as long as
// each holds that key; the line handlers below, given the guess, apply such
// a line at once and start it over at the count line.
CardKeyExpectation written_addressee_keys();
CardKeyExpectation written_layout_keys();
void read_addressee_line(const char16_t* line, int len, CardKeyExpectation* guess);
void read_layout_line(const char16_t* line, int len, CardKeyExpectation* guess);
