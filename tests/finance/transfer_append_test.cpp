// The window "PRZELEW": a filled order edited and appended, and a second
// workstation appending while the first is still typing.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "db/db_engine.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "finance/transfers.h"
#include "tables/cash_tables.h"
#include "tables/firm_tables.h"
#include "tests/app/headless_entry_fixture.h"
#include "ui/keyboard.h"

namespace {

constexpr int KEY_F8 = 0x4200;

class TransferAppendTest : public HeadlessEntryTest {
 protected:
  static void Fill() {
    f4assign_double(Z5PLEW.field[PLEW_KWO], 123.45);
    f4assign(Z5PLEW.field[PLEW_TY1], "zaplata za FV/1/2026");
    f4assign_long(Z5PLEW.field[PLEW_SOO], 5);
    f4assign_long(Z5PLEW.field[PLEW_SOZ], 1);
    f4assign_long(Z5PLEW.field[PLEW_TYB], 6);
    f4assign_char(Z5PLEW.field[PLEW_ROW], 'P');
  }
  // The orders as "KWO TYP DRU TY1" each.
  static std::string Orders() {
    EXPECT_EQ(OpenZ5PLEW(0), 0);
    std::string all;
    for (long n = 1; n <= d4reccount(Z5PLEW.table); n++) {
      d4go(Z5PLEW.table, n);
      all += Trim(Z5PLEW.field[PLEW_KWO]) + " " + Trim(Z5PLEW.field[PLEW_TYP]) + " " +
             Trim(Z5PLEW.field[PLEW_DRU]) + " " + Trim(Z5PLEW.field[PLEW_TY1]) + ";";
    }
    d4close(Z5PLEW.table);
    Z5PLEW.table = nullptr;
    return all;
  }
  // Another workstation appends one order, trying the table's lock once.
  static int OtherWorkstation(int32_t, int32_t) {
    pid_t other = fork();
    if (other == 0) {
      // A second open of its own; closing the inherited one would release the first's locks.
      Z5PLEW = TableHandles{};
      EnvCurrent()->engine.lock_tries = 1;
      if (OpenZ5PLEW(0) != 0) _exit(2);
      if (d4lock_file(Z5PLEW.table) != 0) _exit(3);
      d4blank(Z5PLEW.table);
      f4assign_double(Z5PLEW.field[PLEW_KWO], 7);
      f4assign(Z5PLEW.field[PLEW_TY1], "drugie stanowisko");
      bool stored = d4append_start(Z5PLEW.table, 0) == 0 && d4append(Z5PLEW.table) == 0 &&
                    d4flush(Z5PLEW.table) == 0 && d4unlock(Z5PLEW.table) == 0;
      _exit(stored ? 0 : 1);
    }
    int status = -1;
    waitpid(other, &status, 0);
    otherResult = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return 0;
  }
  static inline int otherResult = -1;
};

TEST_F(TransferAppendTest, FilledOrderIsEditedAndAppended) {
  ASSERT_EQ(OpenZ5PAWL(), 0);
  d4close(Z5PAWL.table);
  Z5PAWL.table = nullptr;
  double amount = 0;
  // the title typed over, F2, no printing
  int result = RunUntilEsc([&] { return DopiszPrzelew(1, Fill, &amount, 1); },
                           "{DOWN}{DOWN}{DOWN}nowy tytul{CTRL+Y}{F9}{F2}{ESC}");
  EXPECT_EQ(result, 0);
  EXPECT_DOUBLE_EQ(amount, 123.45);
  EXPECT_TRUE(Shown("PRZELEW")) << seen;
  EXPECT_TRUE(Shown("ODBIORCA:      FIRMA")) << seen;
  EXPECT_TRUE(Shown("ZLECENIODAWCA: KONTRAHENT")) << seen;
  EXPECT_TRUE(Shown("rachunek. INNE")) << seen;
  EXPECT_TRUE(Shown("ZWYKŁY")) << seen;
  EXPECT_EQ(Orders(), "123.45 1 T nowy tytul;");
  EXPECT_EQ(Z5PAWL.table, nullptr);
}

TEST_F(TransferAppendTest, LeftWithEscStoresNothing) {
  double amount = 0;
  EXPECT_EQ(RunUntilEsc([&] { return DopiszPrzelew(1, Fill, &amount, 0); }, "{ESC}"), -1);
  EXPECT_DOUBLE_EQ(amount, -1);
  EXPECT_EQ(Orders(), "");
}

TEST_F(TransferAppendTest, KindWithoutAFormShowsAndStoresNothing) {
  for (int kind : {0, 5}) {
    double amount = 0;
    EXPECT_EQ(RunUntilEsc([&] { return DopiszPrzelew(kind, Fill, &amount, 0); }, ""), -1) << kind;
    EXPECT_DOUBLE_EQ(amount, -1);
  }
  EXPECT_EQ(Orders(), "");
}

// While one operator types the order, another workstation appends at once.
TEST_F(TransferAppendTest, OtherWorkstationAppendsWhileTheFormIsOpen) {
  g4set_key_to(KEY_F8, OtherWorkstation);
  double amount = 0;
  EXPECT_EQ(RunUntilEsc([&] { return DopiszPrzelew(1, Fill, &amount, 0); }, "{F8}{F2}{ESC}"), 0);
  EXPECT_EQ(otherResult, 0);
  EXPECT_EQ(Orders(), "7.00   drugie stanowisko;123.45 1 T zaplata za FV/1/2026;");
}

}  // namespace
