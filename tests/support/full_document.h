// A document filled to the brim for round trips and benchmarks, and plain
// descriptions of records for comparing documents in tests.
#pragma once

#include <string>

#include "model/document.h"

// Fills the process-wide document: 200 cards and 10 senders in use, every
// text at full length (Japanese, half-width katakana, surrogate pairs, "=" and
// "]" inside values; one unit shorter where a pair would be cut), every number and byte different from its default and
// from card to card, and non-default print settings.
void fill_full_document();

// Field-by-field descriptions (texts as ASCII with \uXXXX escapes), so that a
// failed comparison names the field.
std::string describe_addressee(const CardRecord& card);  // tt.m, ta.m, tn.m, ftb, typ
std::string describe_layout(const CardRecord& card);     // base_*, positions, fonts, colours
std::string describe_sender(const SenderRecord& sender);
std::string describe_print(const PrintSettings& print);
// A text as ASCII with \uXXXX escapes for every other unit.
std::string describe_text(const char16_t* text, int cap);
