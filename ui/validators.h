// Ready-made checks behind the get validators (dates, amounts, months,
// quarters, required fields, page numbers) and the bank-account check of
// the IBAN and NRB form fields. Each check shows its own message when it
// refuses and returns what the validator returns: 0 accepts, any other
// value keeps the operator in the field.
#pragma once
#include <cstdint>

// A "CCYYMMDD" date that is valid or blank; otherwise a "BŁĄD" box titled
// "Nielegalna data !" with the date as "DD-MM/YY", and -1.
int CheckDate(const char* date);
// As CheckDate, and a blank date is refused with "Pole nie może być puste." (-1).
int CheckDateNotBlank(const char* date);
// Any character but blanks in the `width` bytes; otherwise "Pole nie może być puste." and 1.
int CheckNotBlank(const char* text, int width);
// The number in the `width` characters must be above zero / not below zero; else -1.
int CheckPositive(const char* text, int width);
int CheckNonNegative(const char* text, int width);
// 1..12 and 1..4; else -1.
int CheckMonth(int32_t month);
int CheckQuarter(int32_t quarter);
// A page number from 1 to `pages`; else "Błąd numeru strony." and -1.
int CheckPageNumber(int32_t page, int32_t pages);

// The account's MOD 97-10 check (ISO 7064, as IBAN uses it): 1 valid, 0 not.
// nrb 0: an IBAN, two upper-case country letters, two check digits and the
// account digits; nrb 1: an NRB, two check digits and 24 account digits.
// Trailing blanks are ignored; any other character that is not a digit where
// a digit belongs makes the number invalid.
int CheckBankAccount(const char* text, int nrb);
