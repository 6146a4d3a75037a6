// The own firm's five bank accounts (Z5PAWL, open and on its record): the
// bank's name and the account number of account 1 to 5.
#pragma once

struct DbField;

// The firm's BAN1..BAN5 or NRR1..NRR5 for 1 to 5 in its full width; for any
// other number the fallback field, or an empty text without one. Temporary
// strings.
char* bank_firmy(int number, DbField* fallback);
char* konto_bankowe_firmy(int number, DbField* fallback);
