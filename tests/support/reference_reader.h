// A plain, slow transcription of the data file rules, used as an oracle for
// the readers in tests and fuzz targets: the line splitting of the reader
// (one unit at a time into a cleared 576-unit buffer) and the three line
// handlers (every fragment tested in turn, the rest of a line copied into a
// 288-unit buffer), all applied to a given document.
#pragma once

#include <cstddef>

#include "model/document.h"

// Splits file bytes into lines as the reader does; false when the bytes do
// not start with the byte order mark (no line is handed over then).
bool reference_split(const unsigned char* bytes, size_t size, void (*handle)(const char16_t* line, void* context),
                     void* context);

void reference_sender_line(Document& d, const char16_t* line);
void reference_addressee_line(Document& d, const char16_t* line);
void reference_layout_line(Document& d, const char16_t* line);

// The whole load of one file kind into `d`, as read_kv_file with a file that
// could be opened: the kind's part cleared, then the lines applied. Returns
// the number of messages read_kv_file would show (1 without the byte order
// mark, else 0).
int reference_load(Document& d, int kind, const unsigned char* bytes, size_t size);
// The two halves of reference_load.
void reference_clear(Document& d, int kind);
int reference_apply(Document& d, int kind, const unsigned char* bytes, size_t size);
