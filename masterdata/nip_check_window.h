// The window "Sprawdzanie NIP" run over every record of a browse's scan: the
// NIP and the count shown for each record, the record checked by the caller.
#pragma once
#include <functional>
#include <optional>
#include <string>

struct DbScanCtx;
struct DbTable;

// What one record's check asks of the run: go on, stop with the closing
// wait, or stop without it (the operator has already answered).
enum class NipCheckStep { NEXT, STOP, STOP_QUIET };

struct NipCheckWindow {
  int row;
  int col;
  const char* closingText;   // shown on row 1 at the end; nullptr for none
  bool unlockAtEnd;          // the table unlocked once the position is restored
};

// Runs checkRecord on each record of the scan with the window selected (it
// shows its own counters). The table's current record is restored at the
// end. Gives the record to show afterwards: the one the run stopped on, or
// the one current before; nullopt when the window could not be made.
std::optional<long> CheckNipsInWindow(DbScanCtx* scan, DbTable* table, const NipCheckWindow& where,
                                      const std::function<std::string()>& nipText,
                                      const std::function<NipCheckStep()>& checkRecord);
