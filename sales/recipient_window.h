// The recipient of a sales document (the party that receives the goods when
// it is not the buyer): its window over the document's record of Z5SPRO.
#pragma once
#include <cstdint>

struct Get4;

// Ctrl+O: the window "ODBIORCA" of the current document; F2 stores the
// recipient (a document without one gets a new record), any other key
// nothing. The browse's redisplay.
int okno_odbiorcy();
// The recipient code list's filter: contractors of type 5 ("ODBIORCA"); 45 or 40.
int filtr_odbiorcow(intptr_t data);
// Key routine of the recipient code: F4 the list; a code left behind is
// looked up, unknown ones refused and emptied, known ones filling the rest.
int pole_kodu_odbiorcy(Get4* get, char* buffer, int32_t data);
// Key routine of the recipient's NIP: F6 GUS and F8 the check, with online
// NIP checks on.
int pole_nip_odbiorcy(Get4* get, char* buffer, int32_t data);
