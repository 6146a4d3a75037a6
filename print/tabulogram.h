// The tabulogram: the general columnar report over one table. The caller
// describes its columns in a TabuColumn list and hands over a filtered scan;
// the operator lays the report out in the dialog "WYBIERZ DANE DO WYDRUKU"
// (layouts saved in Z5TABW), sees it in the preview, and prints it framed
// with box characters, in strips when it is wider than the line. The same
// list feeds the export of the records into a new table.
#pragma once
#include <cstdint>
#include "env/text_ref.h"
#include "ui/definition_lists.h"

struct DbScanCtx;
struct DbTable;
struct DbTag;

// TabuColumn flags.
constexpr int TABU_STRIP_MASK = 0x0003;   // 0 not yet printed, 1 in the current strip, 2 printed
constexpr int TABU_CHOSEN = 0x0004;
constexpr int TABU_SUMMED = 0x0008;
constexpr int TABU_FREE_LINE = 0x0010;
constexpr int TABU_LAYOUT_C = 0x0020;     // first entry only
constexpr int TABU_LAYOUT_B = 0x0040;     // first entry only
constexpr int TABU_LAST = 0x0080;
constexpr int TABU_NO_NAME = 0x0100;      // the factory heading stays blank
constexpr int TABU_MAX_ENTRIES = 69;

// One column's value for the current record, filled anew for every cell.
struct TabuValue {
  int32_t width;          // the field's width, 99 when wider
  char type;              // 'C', 'N', 'D', 'L'
  double number;
  int32_t decimals;
  char text[100];         // as stored, blank-padded, no terminator
  char fieldName[9];
  char sourceName[21];    // the settings name given, else the field's table alias
};

// 0 printed, cancelled or nothing to print; -1 on a print or scan error.
// title and subtitle: texts or message numbers; settingsName NULL: the
// table's alias; flags bit 0 leaves the firm's name out of the page header.
int prn_tab_rap(TabuColumn* columns, DbScanCtx* scan, DbTable* table, DbTag* tag, TextRef title,
                TextRef subtitle, const char* settingsName, int flags);
// 27 when the operator left with Esc, else the menu's last answer.
int ustaw_export(TabuColumn* columns, DbScanCtx* scan, DbTable* table, const char* fileName);
// The settings name the print parameters of a running tabulogram are kept
// under; empty outside a run.
const char* TabuSettingsName();
