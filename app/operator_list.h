// The operators list behind " Hasła ": operators appended with every right
// and no password, their names and full names edited, passwords changed;
// and the list of the firms an operator may open.
#pragma once

// 0 when the list ran, -1 when the operator tables do not open.
int UsersList();

// The firms operator `operatorNumber` (named `name`) may open: pairs appended
// through the firm picker, or deleted. The administrator's record 1 is refused.
// 0 when the list ran, -1 when refused or the tables do not open.
int FirmAccessList(int operatorNumber, const char* name);
