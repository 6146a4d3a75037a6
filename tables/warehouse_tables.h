// The warehouse documents of the working year: receipts "Z5MAPR" with their
// lines "Z5MAPE" and issues "Z5MAWY" with "Z5MAWE", each in its own handle set.
#pragma once
#include "tables/catalogue.h"

extern TableHandles Z5MAPR, Z5MAWY, Z5MAPE, Z5MAWE;

int OpenZ5MAPR(int flags);
int OpenZ5MAWY(int flags);
int OpenZ5MAPE(int flags);
int OpenZ5MAWE(int flags);
