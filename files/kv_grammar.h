// The key grammar shared by the line handlers of the data files: prefix
// tests, bracketed indices, and the rules for number, byte and text values.
#pragma once

#include <cstdint>

// The handlers consider at most this many units of a line after its record
// index (a buffer of 288 units).
constexpr int KV_REST_CAP = 288;
// Number values are converted from at most this many units.
constexpr int KV_NUMBER_UNITS = 31;

// If `s` starts with `fragment`, the text behind it; otherwise nullptr.
const char16_t* kv_match(const char16_t* s, const char16_t* fragment);

// A number value converted like _wtoi from at most KV_NUMBER_UNITS units
// (text_to_int), with a quick path for plain decimal numbers.
int32_t kv_number(const char16_t* value);

// Reads a bracketed index. `s` points just behind the "["; the index is the
// text up to the next "]" (or the end), converted like _wtoi. An empty text,
// a negative number or one not below `capacity` gives 0. `*after` receives
// the text behind the "]" (the end of `s` when there is none).
int kv_index(const char16_t* s, int capacity, const char16_t** after);

// Splits a record line "<prefix>N]rest": when `line` starts with `prefix`
// (six units such as "hdata["), returns the record index (0 when out of
// range) and copies at most KV_REST_CAP - 1 units of the rest behind the "]"
// into `rest`; returns -1 when the line does not start with `prefix`.
int kv_record(const char16_t* line, const char16_t* prefix, int capacity,
              char16_t (&rest)[KV_REST_CAP]);

// The same for a line whose length (units before its NUL) is known, without
// copying: `*rest` points into the line when the rest has at most
// KV_REST_CAP - 1 units, and otherwise to a cut copy in `buffer`.
int kv_split_record(const char16_t* line, int len, const char16_t* prefix, int capacity,
                    char16_t (&buffer)[KV_REST_CAP], const char16_t** rest);

// Value rules: an empty value leaves the field unchanged.
void kv_set_number(int32_t& field, const char16_t* value);
void kv_set_byte(uint8_t& field, const char16_t* value);  // low eight bits
void kv_set_text(char16_t* field, int cap, const char16_t* value);
