// The maintenance pass "Serwis": every table of the program is opened again
// with the flags that rebuild its index and leave an absent table absent, so
// each index is rebuilt and each table checked against its definition; the
// engine may ask its repair questions meanwhile.
#pragma once

// The working year and which groups to reopen (the firm's tables, the common
// and program tables). Always 0; the outcome is shown to the operator.
int Serwis(int year, int firmTables, int commonTables);
// After each reopen: negative marks the pass failed, 0 closes all tables,
// positive (absent and not created) is passed over.
void CloseAfterReopen(int result);
