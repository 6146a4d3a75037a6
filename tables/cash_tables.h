// The cash book "Z5KASA" (opened nested), the settlements "Z5ROZL", the
// transfer orders "Z5PLEW" of the working year, and in the common directory
// the interest rates "Z5ODUS" and "Z5ZAPO" and the days off "Z5DNWO".
#pragma once
#include "tables/catalogue.h"

extern TableHandles Z5KASA, Z5ROZL, Z5PLEW, Z5ODUS, Z5ZAPO, Z5DNWO;

// Already open: one more open count (each call is matched by one d4close).
int OpenZ5KASA(int flags);
int OpenZ5ROZL(int flags);
int OpenZ5PLEW(int flags);
int OpenZ5ODUS(int flags);
int OpenZ5ZAPO(int flags);
int OpenZ5DNWO(int flags);
