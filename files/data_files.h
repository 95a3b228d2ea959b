// The three data files: senders, addressees, layouts with print settings.
// Each has a writer (owner, name, mode) returning WRITE_DONE, WRITE_DECLINED
// or WRITE_FAILED, and a line handler used by read_kv_file.
#pragma once

#include <cstddef>

#include "platform/platform.h"

class KvLineSplitter;

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

// For the addressee and layout files as the program writes them: takes from
// the splitter the plain lines at hand for as long as each holds the key the
// file's writer puts next, and applies each as the line handler would.
// Returns the units taken; the lines left go to the line handler.
size_t take_written_addressee_lines(KvLineSplitter& lines);
size_t take_written_layout_lines(KvLineSplitter& lines);
