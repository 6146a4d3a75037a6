// The work copies of sales documents: headers Z5SPEX, lines Z5ESEX and
// recipients Z5SOEX of the working year in the firm's data directory, which
// a copy, a correction, an invoice from a pro forma and the batch copy pass
// documents through. They are created anew and held by this workstation
// alone from the start of a run until CloseWorkCopies, so two workstations
// (in either register) never write into each other's.
#pragma once
struct DbTable;

// Creates the three copies, waiting while another workstation's run holds
// them; 0, or -1 (those created are closed again).
int OpenWorkCopies();
// The recipients' copy alone (a final invoice's), the same way.
int OpenRecipientWorkCopy();
void CloseWorkCopies();

// Creates the copies (held open for the run) and copies the current document
// into them. 0, 1 without lines (" Brak pozycji !"), -1 with "Eksport
// zakończony błędnie.".
int kopia_robocza_dokumentu();
// The copying step: the current document's lines, its header and its
// recipient appended to the open copies. 0, 1 without lines, -1.
int kopiuj_do_kopii_roboczej();

// Changes a conversion makes to the header, to each line before its append,
// and the stock rule it runs on each appended line (1 taken, 0 not, -1 error).
struct AppendRules {
  void (*header)(DbTable* header);
  void (*line)(DbTable* line);
  int (*stock)();
};
// Appends the document held in the copies to the register's current tables
// as a new document of the context's kind, number and new issue date. The
// new header is current afterwards. 0, 1 without lines, -1 after "Import
// zakończony błędnie.": what was appended is removed again (lines with their
// stock given back, then the header, then the recipient) and the box says so.
int AppendFromWorkCopies(const AppendRules& rules);

// Removes a document begun: its lines (stock given back where taken), its
// header and its recipient; the header is record `record`. 0, or -1 when
// something stayed.
int WithdrawDocument(long record);
