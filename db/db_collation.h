// Sort order of text keys in the Mazovia code page.
#pragma once

// The byte that sorts at each position (position 0 first).
extern const unsigned char kDbCollation[256];
// The position of each byte value; built by d4init.
extern unsigned char db_collation_position[256];

// Compares two byte strings of `length` bytes by collation position.
int db_collation_compare(const void* a, const void* b, unsigned length);
