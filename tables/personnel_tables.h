// Personnel, contribution and partners tables that only the maintenance pass
// opens (to create, convert and reindex them in the firm's data set).
#pragma once
#include "tables/catalogue.h"

extern TableHandles Z5PRAC, Z5PENS, Z5PENS_2, Z5PESK, Z5PESK_2, Z5PELI, Z5UMOW, Z5UMPR, Z5SRDN, Z5KZUS, Z5NIEO,
    Z5ZUSD, Z5ZUSP, Z5ZUSR, Z5ZUSS, Z5ZUWS, Z5ZFSS, Z5WSPL, Z5WSSK;

int OpenZ5PRAC(int flags);
// Year 0 is the working year; set 1 opens into the first handle set, any
// other value into the second (the one that fills ROD for "Z5PESK").
int OpenZ5PENS(int year, int flags, int set);
int OpenZ5PESK(int year, int flags, int set);
int OpenZ5PELI(int flags);
int OpenZ5UMOW(int year, int flags);
int OpenZ5UMPR(int flags);
int OpenZ5SRDN(int flags);
int OpenZ5KZUS(int flags);
int OpenZ5NIEO(int year, int flags);
int OpenZ5ZUSD(int flags);
int OpenZ5ZUSP(int flags);
int OpenZ5ZUSR(int flags);
int OpenZ5ZUSS(int flags);
// The year must be given.
int OpenZ5ZUWS(int year, int flags);
int OpenZ5ZFSS(int flags);
// Carried over from the previous year with PCZ and MWS blanked.
int OpenZ5WSPL(int flags);
int OpenZ5WSPLPrev(int flags);
int OpenZ5WSSK(int flags);
