// The operators list behind " Hasła ": operators appended with every right
// and no password, their names and full names edited, passwords changed.
#pragma once

// 0 when the list ran, -1 when the operator tables do not open.
int UsersList();
