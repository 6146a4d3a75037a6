// Rounding of money and the conversions between numbers and the decimal
// text kept in table fields.
#pragma once
#include <cstdint>

// Half away from zero, with values short of a half by less than 0.00005 of
// the last kept place also rounded away: the fraction threshold is 0.49995.
// Decimals 0 to 6.
double ROUND(double x, int decimals);
// Cut to a whole number, moved one away from zero only from a fraction of 0.99995.
double ROUND_VAT(double x);
int32_t RoundLong(double x);
double ZerujMinusowe(double x);
double MniejszaWartosc(double a, double b);
double WiekszaWartosc(double a, double b);
int MniejszaLiczba(int a, int b);
int WiekszaLiczba(int a, int b);
// The number of halvings that bring n down to 1 (0 for 0 and 1).
int IntLog2(unsigned long n);

// Integer value of the first n characters (at most 127); leading blanks and a sign allowed.
int c4atoi(const char* text, int n);
long c4atol(const char* text, int n);
// |width| digits right-aligned; a positive width puts blanks for leading
// zeros and '-' before a negative number, a negative width keeps the zeros
// (a negative number is then '*' filled); '*' fill when it does not fit.
// Writes no NUL; returns the buffer.
char* c4ltoa(long number, char* buffer, int width);
// Right-aligned decimal text of the width with the decimals; '*' fill when
// the number does not fit; terminate adds a NUL after the width. A width
// outside 0..128, negative decimals or decimals not below the width is a
// fatal parameter error.
char* c4dtoa(double x, char* buffer, int width, int decimals, int terminate);
// Treats the text as n bytes with its terminator: at most n - 1 characters,
// trailing blanks turned into NULs.
char* c4trim_n(char* text, int n);
// Exact decimal reader of `length` characters (no terminator needed): up to
// 13 digits, blanks and other characters skipped, '.' the first point, '-'
// anywhere makes a non-zero result negative.
double QuickDouble(const char* text, int length);
// c4dtoa with a NUL, then a blank between every three integer digits; the
// buffer must hold width + width / 3 + 1 bytes. Returns the blanks inserted.
int NumToText(char* buffer, double number, int width, int decimals);
