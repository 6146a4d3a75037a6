// Index keys: 12-byte packed decimals for numbers, doubles for dates, text
// by the collation, and the compare and conversion functions of a tag.
#pragma once

struct DbTag;

constexpr int BCD_KEY_LEN = 12;
constexpr int DATE_KEY_LEN = 8;

// Text (a number, `length` bytes) to a packed decimal key.
void c4bcd_from_a(char* out, const char* text, int length);
// A double to a packed decimal key (15 significant digits).
void c4bcd_from_double(char* out, double value);
int c4bcd_compare(const void* a, const void* b, unsigned length);
int c4collate_compare(const void* a, const void* b, unsigned length);
// Date keys: numeric, equal within 1e-13; 2 greater, -1 smaller.
int c4date_compare(const void* a, const void* b, unsigned length);
// Chooses compare and conversions by the key type "C", "D" or "N" and the
// tag's direction; another type is a fatal -910 "!439!".
void t4set_key_type(DbTag* tag, int type);
