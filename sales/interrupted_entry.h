// Documents whose entry was cut off. A new header is appended before its
// form opens; until it is saved (its INF gets the "D" stamp) or taken back
// with Esc, its INF holds an entry mark naming the workstation's slot among
// the headers table's handles, and that slot's entry byte is set. When the
// workstation dies meanwhile (killed, power cut), the next one to open the
// register removes the header as Esc would, so the numbering has no gap.
// A header with a "D" or "M" stamp, or a blank INF (stored before entries
// were marked), is a saved document however empty, and is never touched.
#pragma once

struct DbField;

// Before the new header's append: sets the entry byte and writes the mark
// into `stamp` (the header's INF in the record buffer).
void BeginHeaderEntry(DbField* stamp);
// The entry ended: saved, taken back or never appended.
void EndHeaderEntry();
// At the register's opening: removes the headers of dead workstations'
// entries with their lines, and tells the operator and the error log.
void RemoveInterruptedEntries();
