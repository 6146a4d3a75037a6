#include "masterdata/nip_check_window.h"

#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "db/db_lock.h"
#include "db/db_scan.h"
#include "env/code_pages.h"
#include "env/messages.h"
#include "env/temp_strings.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_PRESS_ANY_KEY = 50011;
constexpr int END_WAIT_MS = 15000;
constexpr int WINDOW_ROWS = 15;
constexpr int WINDOW_WIDTH = 50;

int CountRecords(DbScanCtx* scan) {
  int total = 0;
  for (int r = x4top(scan); r == 0; r = x4skip(scan, 1)) total++;
  return total;
}

}  // namespace

std::optional<long> CheckNipsInWindow(DbScanCtx* scan, DbTable* table, const NipCheckWindow& where,
                                      const std::function<std::string()>& nipText,
                                      const std::function<NipCheckStep()>& checkRecord) {
  long remembered = d4recno(table);
  int previous = w4select(-1);
  int window = DefineDialogWindow(where.row, where.col, WINDOW_ROWS, WINDOW_WIDTH, "Sprawdzanie NIP");
  if (window < 0) {
    static const std::string failed = Utf8ToMazText("Błąd utworzenia okna szukania!");
    Alarm(failed.c_str());
    return std::nullopt;
  }
  w4activate(window);
  w4select(window);
  w4(1, 1, "Sprawdzam NIP:");
  w4centre(12, " ESC - Przerwij ");

  int total = CountRecords(scan);
  NipCheckStep step = NipCheckStep::NEXT;
  long stoppedAt = 0;
  int done = 0;
  for (int r = x4top(scan); r == 0 && step == NipCheckStep::NEXT; r = x4skip(scan, 1)) {
    w4select(window);
    w4(1, 16, PrintfQStr("%-20s", nipText().c_str()));
    w4(10, 1, PrintfQStr("RAZEM sprawdzone:            %5i z %i", ++done, total));
    step = checkRecord();
    if (step != NipCheckStep::NEXT) stoppedAt = d4recno(table);
  }

  if (remembered > 0) d4go(table, remembered);
  if (where.unlockAtEnd) d4unlock(table);
  w4select(window);
  if (step != NipCheckStep::STOP_QUIET) {
    w4repeat(1, 0, ' ', WINDOW_WIDTH);
    if (where.closingText) w4centre(1, where.closingText);
    w4centre(12, RcQStr(MSG_PRESS_ANY_KEY));
    WaitFor(1, END_WAIT_MS);
    if (KeyPressed()) g4char();
  }
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  return stoppedAt ? stoppedAt : remembered;
}
