// Logging an operator in: the name, full name, passwords and rights of an
// operator record go into the Environment, and the start's operator and
// working date.
#pragma once
#include "tables/catalogue.h"

// The operator tables: records "Z5PASS" (field A the name while edited, B the
// operator block) and full names "Z5PAOS" (NAZ, and REK the operator record).
// Each operation opens them for its length.
extern TableHandles OperatorRecords, OperatorFullNames;
constexpr int OPERATOR_A = 0, OPERATOR_B = 1;
constexpr int FULL_NAME_NAZ = 0, FULL_NAME_REK = 1;
// Both, or neither: 0 or -1.
int OpenOperatorTables();
void CloseOperatorTables();
// Positions the full names on the one of operator record `record`; false
// when that operator has none.
bool SeekOperatorFullName(long record);

// Logs operator n in without a password (0: no operator, the rights stay as
// they are). 0, or -1 when the tables do not open or there is no record n.
int LoginOperatorByNumber(int n);
// Logs in the operator of the name (15 characters) when the password (10
// characters) is its own; a table without records logs operator 0 in.
// 1 logged in, 0 refused, -1 when the tables do not open.
int LoginOperator(const char* name, const char* password);
// The full name of the current operator record into the Environment (blank
// when the operator has none). The operator tables are open.
void LoadOperatorFullName();
// Asks the current operator record's new password twice and, confirmed,
// writes it. 0 when written, else -1.
int ChangePassword(DbTable* operators);
// The start: no operator, then the working date when one is to be asked.
// 0, or -1 when the operator left the date question with Esc.
int StartOperatorAndDate();
