// The accounts' services for the entry forms of other modules: the check of
// an account number, its F4 list, and the number of an account identity.
// The catalogue itself (kartoteka_kont) is a module entry.
#pragma once
#include <cstdint>

struct DbField;
struct Get4;

// Validator of an account-number field ("999-9999"): the empty "   -    "
// stands for no account; any other number must exist ("Niezdefiniowany
// numer konta!"). The outputs given receive the account's REC (over the
// ident field's width, and as a long) and its name (34 characters, no
// terminator); blanks and 0 for no account or a refused number. 0 accepts,
// -1 refuses.
int valid_konto(Get4* get, DbField* identField, long* identOut, char* nameBuffer);
// Key routine of an account-number field: the hint "F4" "Lista" while the
// field has the cursor; F4 opens the accounts list (F6 the catalogue) and
// puts the chosen number into the edit buffer. Returns the key for the
// field editor.
int konto_f4_lista(Get4* get, char* buffer, int32_t data);
// The number of the account whose REC the ident field holds, in `buffer`
// of `size` bytes: zeroed, then at most 8 characters and always a
// terminator; 8 blanks when no account has that identity.
void numer_konta_wg_rec(char* buffer, int size, DbField* identField);
