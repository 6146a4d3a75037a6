// Ready-made get validators (dates, amounts, months, quarters, required
// fields), the page-number check and the bank-account check of the IBAN and
// NRB form fields. Each shows its own message when it refuses and returns
// what a validator returns: 0 accepts, any other value keeps the operator in
// the field.
#pragma once
#include <cstdint>

struct Get4;

// The validators read the get's `data` (and `dataWidth`).
// A "CCYYMMDD" date that is valid or blank; otherwise a "BŁĄD" box titled
// "Nielegalna data !" with the date as "DD-MM/YY", and -1.
int test_daty(Get4* get);
// As test_daty, and a blank date is refused with "Pole nie może być puste." (-1).
int test_daty_niepustej(Get4* get);
// Any character but blanks in the `dataWidth` bytes; otherwise "Pole nie może być puste." and 1.
int valid_empty_get(Get4* get);
// The number in the `dataWidth` characters must be above zero / not below zero; else -1.
int valid_wart_dodat(Get4* get);
int valid_wart_nieujemna(Get4* get);
// An int32 of 1..12 and 1..4; else -1.
int valid_int_month(Get4* get);
int valid_int_kwartal(Get4* get);
// A page number from 1 to `pages`; else "Błąd numeru strony." and -1.
int CheckPageNumber(int32_t page, int32_t pages);

// The account's MOD 97-10 check (ISO 7064, as IBAN uses it): 1 valid, 0 not.
// nrb 0: an IBAN, two upper-case country letters, two check digits and the
// account digits; nrb 1: an NRB, two check digits and 24 account digits.
// Trailing blanks are ignored; any other character that is not a digit where
// a digit belongs makes the number invalid.
int CheckBankAccount(const char* text, int nrb);
