// The retail receipts of the working year: headers "Z5PARA", lines "Z5PARE"
// and the buyers of invoices issued to receipts "Z5PARO".
#pragma once
#include "tables/catalogue.h"

extern TableHandles Z5PARA, Z5PARE, Z5PARO;

int OpenZ5PARA(int flags);
int OpenZ5PARE(int flags);
int OpenZ5PARO(int flags);

// The first line of receipt `rek` by tag 4; the d4seek_n result.
int SeekParagonLinesByRek(long rek);
