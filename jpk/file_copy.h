// The byte-for-byte copy of a file that the JPK export and the exchange with
// the bookkeeping program make.
#pragma once

// 1 copied; 0 after the error box naming the file that failed. The target
// is written whole or not at all.
int KopiujPlik(const char* source, const char* target);
