// Tax-return, VAT-7 and declaration tables that only the maintenance pass
// opens: per-period tables in a monthly and a quarterly file, yearly tables,
// the VAT-7 and declaration data tables of fixed record counts, and the
// territorial dictionary "Z5LXML" in the common directory.
#pragma once
#include "tables/catalogue.h"

extern TableHandles Z5PIT, Z5PIL, Z5RYT, Z5VATR, Z5PI11, Z5V27, Z5VUE, Z5VZ, Z5NOTY, Z5V7J, Z5LXML;

// Period 'T' opens the quarterly file, any other the monthly one.
int OpenZ5PIT(int flags, char period);
int OpenZ5PIL(int flags, char period);
int OpenZ5PITPrev(int flags, char period);
int OpenZ5PILPrev(int flags, char period);
int OpenZ5RYT(int flags, char period);
int OpenZ5V27(int flags, char period);
int OpenZ5VUE(int flags, char period);
// Kinds 2 and 5 open the quarterly file, any other the monthly one.
int OpenZ5VZ(int kind, int flags);
int OpenZ5VATR(int flags);
int OpenZ5PI11(int flags);
int OpenZ5NOTY(int flags);
// Kind 13 the monthly file, any other the quarterly one.
int OpenZ5V7J(int flags, int kind);
int OpenZ5LXML(int flags);
// Copies the records of the kind's table of 2016 ("Z5VZDM"/"Z5VZDK"), when it
// exists, into the open VAT-ZD table field by field by name; 0, or -1 when
// the old file does not open.
int ImportZ5VZOld(int kind);

// Kinds 13 and 14: "Z5V7MC"/"Z5V7KW" by the standard opener. Other kinds: a
// table of 4 or 12 seeded records, created anew (create 1) when missing or
// of another count; with create 0 such a table is refused. 0 or -1.
int OpenVatDataTable(TableHandles* handles, int create, int year, int kind, int flags);
