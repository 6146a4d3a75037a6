// The other registers that only the maintenance pass opens, among them the
// fixed-asset register "Z5AMOR", carried over into a new year.
#pragma once
#include "tables/catalogue.h"

extern TableHandles Z5SAMO, Z5PRCE, Z5PRZE, Z5RASA, Z5AMOR, Z5DOWO, Z5DOWE, Z5SKUP, Z5WYPO, Z5SPZE;

int OpenZ5SAMO(int flags);
int OpenZ5PRCE(int flags);
int OpenZ5PRZE(int flags);
int OpenZ5RASA(int flags);
// After a carry-over the year's write-offs move into the accumulated values.
int OpenZ5AMOR(int flags);
int OpenZ5DOWO(int flags);
int OpenZ5DOWE(int flags);
int OpenZ5SKUP(int flags);
int OpenZ5WYPO(int flags);
int OpenZ5SPZE(int flags);
