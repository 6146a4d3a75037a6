// The sales documents of the two registers: headers "Z5SPRZ"/"Z5SPOM", lines
// "Z5SPRE"/"Z5SPOE" and the document contractor data "Z5SPRO", each opened by
// mode into the current or the second handle set; the seeks of a document's
// first line; the copy of a document into the other register.
#pragma once
#include "tables/catalogue.h"

// Modes of the sales openers.
constexpr int SALES_MAIN = 1;          // main register, current set
constexpr int SALES_AUX = 2;           // auxiliary register, current set (any other mode too)
constexpr int SALES_AUX_SECOND = 4;    // auxiliary register, second set
constexpr int SALES_MAIN_SECOND = 5;   // main register, second set; the year must be given

extern TableHandles Z5SPRZ, Z5SPRZ_2;  // headers: current and second set
extern TableHandles Z5SPRE, Z5SPRE_2;  // lines
extern TableHandles Z5SPRO, Z5SPRO_2;  // document contractor data

// Year 0 is the working year, except in mode 5.
int OpenZ5SPRZ(int year, int flags, int mode);
int OpenZ5SPRE(int year, int flags, int mode);
// Mode 5 opens into the second set, any other into the current; year 0 is the working year.
int OpenZ5SPRO(int year, int flags, int mode);

// The first line of document `rek` by tag 4; the d4seek_n result.
int SeekSalesLinesByRek(long rek);
int SeekSalesLinesByRek2(long rek);

// Copies the document under the sales browse cursor into the other register
// (register: 1 main, 2 auxiliary): 0 done or nothing to do, -1 or -2 failed.
int CopyDocumentToExchange(int registerNumber);
