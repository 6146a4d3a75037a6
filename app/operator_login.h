// Logging an operator in: the name, full name, passwords and rights of an
// operator record go into the Environment, and the start's operator and
// working date.
#pragma once

struct DbTable;

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
