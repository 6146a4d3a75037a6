// The rights tree: the operator's rights, one T/N row per menu id, in
// windows that open one level of the menu tree after another.
#pragma once

struct DbTable;

// Edits the rights of the current operator record (field B holds the
// operator block). F2 at the first level writes the record; Esc leaves it as
// it was. The administrator's record 1 is refused. 0 when written, else -1.
int EditRights(DbTable* operators);
