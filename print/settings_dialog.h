// The print settings dialog "PARAMETRY WYDRUKU": the printer, the mode and
// the settings the caller's flags show; loads and saves the report's
// settings and opens the chosen printer for the job on F2.
#pragma once
#include <string>
#include <vector>

struct DbTable;

// 1 when F2 opened the printer, 0 when cancelled.
int PrinterSettingsDialog(DbTable* table, const char* reportCode, const char* title, int lineWidth, int flags);
// Opens the printer at `index` of the list for the chosen mode: 1 or 0.
int OpenSelectedPrinter(const std::vector<std::string>& printers, int index);
// The printers the dialog lists: the queues, or the one entry for output to
// a file when there is none.
std::vector<std::string> BuildPrinterList();
// `toPage` after an edit of either page number: a set one is at least `fromPage`.
void KeepPageRange();
