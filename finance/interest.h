// Interest on late payments as the payment demands use it: the check of the
// dates typed and the interest of an amount between two dates.
#pragma once

struct Get4;

// Opens the days-off and the two rate tables: 0, or -1 with none of them left open.
int OpenInterestTables();
void CloseInterestTables();
// Get validator: a valid, non-empty date after 1992; 0, or -1 refused.
int SprawdzDateOdsetek(Get4* get);
// The tax-arrears and statutory interest of `amount` paid on `paid` though
// due on `due` ("CCYYMMDD"), and the days late. 0, or negative on a table
// error. The interest and days-off tables are open.
int LiczOdsetki(const char* due, const char* paid, double amount, double* taxInterest, double* statutoryInterest,
                int* days);
