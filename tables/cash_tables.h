// The cash book "Z5KASA" (opened nested), the settlements "Z5ROZL", the
// transfer orders "Z5PLEW" of the working year, and in the common directory
// the interest rates "Z5ODUS" and "Z5ZAPO" and the days off "Z5DNWO".
#pragma once
#include "tables/catalogue.h"

extern TableHandles Z5KASA, Z5ROZL, Z5PLEW, Z5ODUS, Z5ZAPO, Z5DNWO;

// Tags of the cash book, in their order: by date, by source document
// (TYZ+ROK+REK), by number, by contractor, by source and date, the
// descending numbering key (desk, kind, account, year, number), by posting.
constexpr int CASH_TAG_DATE = 0, CASH_TAG_SOURCE = 1, CASH_TAG_NUMBER = 2, CASH_TAG_CONTRACTOR = 3;
constexpr int CASH_TAG_NUMBERING = 5;
// Tags of the settlements: by source document, issue date, document number,
// contractor, name.
constexpr int SETTLEMENT_TAG_SOURCE = 0, SETTLEMENT_TAG_DATE = 1, SETTLEMENT_TAG_NUMBER = 2;
constexpr int SETTLEMENT_TAG_CONTRACTOR = 3, SETTLEMENT_TAG_NAME = 4;

// Already open: one more open count (each call is matched by one d4close).
int OpenZ5KASA(int flags);
int OpenZ5ROZL(int flags);
int OpenZ5PLEW(int flags);
int OpenZ5ODUS(int flags);
int OpenZ5ZAPO(int flags);
int OpenZ5DNWO(int flags);
