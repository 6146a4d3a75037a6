// The window that shows a record's stamp: who added or last changed the
// record and when.
#pragma once

struct DbField;

// Shows the stamp held in the field (scrambled, as the record stamp writes
// it) until a key or four seconds.
void ShowRecordStamp(DbField* stampField);
// The record-stamp key of the browse lists (Alt+K): only for operators 0 and
// 1; the stamp when there is a field, else "Brak informacji.".
void RecordStampKey(DbField* stampField);
