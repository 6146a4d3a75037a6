// The own firm's five bank accounts (Z5PAWL, open and on its record): the
// bank's name and the account number of account 1 to 5.
#pragma once

struct DbField;

// The firm's BAN1..BAN5 or NRR1..NRR5 for 1 to 5 in its full width; for any
// other number the fallback field, or an empty text without one. Temporary
// strings.
char* bank_firmy(int number, DbField* fallback);
char* konto_bankowe_firmy(int number, DbField* fallback);

// The tax micro-account of a PESEL (11 digits) or NIP (10 digits) as 26
// digits grouped "NN NNNN NNNN NNNN NNNN NNNN NNNN"; an empty text for any
// other length. A temporary string.
char* mikrorachunek_podatkowy(const char* identifier);
// The two IBAN check digits (2 to 98) of a Polish account whose 24 digits
// after the check digits are given; IBAN_BAD_DIGITS for any other text.
constexpr int IBAN_BAD_DIGITS = -1;
int cyfry_kontrolne_iban(const char* digits);
