// Checks that many forms share: the Polish tax number (NIP) and personal
// number (PESEL) with their checksums, and dates of the working year.
#pragma once

struct DbField;
struct Get4;
struct Wiget;
struct WigetEvent;

// 1 valid (or nothing to check), 0 invalid. Only a Polish number is checked:
// an empty text, or one that begins with neither a digit, a blank nor "PL",
// is accepted. `onlyWhenOption` accepts everything unless main option 31 is 'T'.
int ValidNip(const char* text, int showMessage, int onlyWhenOption);
// 0 a valid Polish NIP (also after "PL"); -1 empty; -2 a character other than
// a digit, blank or "-"; -3 not ten digits; -4 a wrong checksum. A number
// with another country's prefix: 1 a European Union country, 2 another
// known country, 3 a prefix unknown to the countries table, -5 that table
// empty, 0 that table not open.
int SprawdzNip(const char* text);
// 1 when the field holds exactly 11 digits among blanks.
int JestPesel(DbField* field);
// 1 valid, 0 invalid or empty.
int ValidPesel(const char* text, int showMessage);
// As ValidPesel; 1 for an empty text, and for any text when `onlyWhenOption`
// is set and main option 32 is not 'T'.
int ValidPeselOpt(const char* text, int showMessage, int onlyWhenOption);

// Get validators: they warn about a wrong number and let it stand (0).
int NipGetValid(Get4* get);
int PeselGetValid(Get4* get);
// Warns when the text is neither a PESEL nor a Polish or known foreign NIP;
// lets it stand (0).
int NipOrPeselQuiet(Get4* get);
// A form field's hook: warns when the text typed is neither a NIP nor a PESEL.
int NipOrPeselGetValid(WigetEvent* event, Wiget* w, void* formData);
// A form field's hook: as NipGetValid, warns about a wrong NIP and lets it stand.
int NipWigetValid(WigetEvent* event, Wiget* w, void* formData);

// A date of the working year; DataWRoku accepts a blank one, ValidDataWRoku does not.
int DataWRoku(Get4* get);
int ValidDataWRoku(Get4* get);
