// The amount in Polish words for invoices and transfer forms.
#pragma once

// Longest text `slownie` gives, its NUL included.
constexpr int SLOWNIE_BUFFER_SIZE = 512;

// The amount rounded by ROUND to whole grosze, in words, in a static buffer
// that the next call overwrites. Currency code NULL or "PLN": the Polish
// currency words; another code replaces them by its three letters. Amounts
// from 10^21 on (and values that are not numbers) give a text of '*'.
const char* slownie(double amount, const char* currency);
// The number text of n characters digit by digit in short words ("jed*dwa*"),
// the separator as "zł " (or the currency code), the decimals as digits and
// "/100". `output` must hold 4 * n + 10 bytes; it is terminated.
char* slownie_3(const char* text, char* output, int n, const char* currency);
// Splits an amount in words into two lines of the width (at most 100),
// blank-padded and not terminated.
void pisz_slownie(char* line1, char* line2, const char* text, int width);
