// The data collector's jobs over the goods browse: zeroing into
// "remazero.inw", a counted "*.inw" file added to the stock and archived,
// bad lines and missing codes, a failed write, and a sale booked by another
// workstation meanwhile.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "db/db_engine.h"
#include "fiscal/cash_register.h"
#include "tests/fiscal/goods_jobs_fixture.h"

namespace {

class CollectorTest : public GoodsJobsTest {
 protected:
  void SetUp() override {
    GoodsJobsTest::SetUp();
    if (HasFatalFailure()) return;
    warehouseOptions.collectorDir[0] = '\0';
  }
  void Stocked(const std::string& code, double stock) {
    Goods(code, "Towar " + code, stock, {{TOWA_CZN, "2"}, {TOWA_CSB, "3"}, {TOWA_WSB, std::to_string(3 * stock)}});
  }
  static void Write(const char* name, const std::string& text) {
    FILE* f = std::fopen(name, "wb");
    ASSERT_NE(f, nullptr);
    std::fputs(text.c_str(), f);
    std::fclose(f);
  }
  static std::string Read(const char* name) {
    std::string text;
    if (FILE* f = std::fopen(name, "rb")) {
      int c;
      while ((c = std::fgetc(f)) != EOF) text += static_cast<char>(c);
      std::fclose(f);
    }
    return text;
  }
  // Pick the first file, yes to 190, leave the count browse, yes to 172, then the archive answer.
  static std::string TakeIn(const char* archive) { return std::string("{ENTER}t{ESC}t") + archive; }
};

TEST_F(CollectorTest, ZeroingWritesTheStockBeforeZeroingIt) {
  Stocked("A1", 5);
  Goods("B2", "Nieaktywny", 2.5, {{TOWA_STA, "N"}});
  Browse();
  EXPECT_EQ(Run(KolektorZerowanie, "t"), 0);
  EXPECT_EQ(Read("remazero.inw"), "A1" + std::string(16, ' ') + ",       5.0000\n" + "B2" + std::string(16, ' ') +
                                      ",       2.5000\n");
  EXPECT_EQ(At(1, TOWA_ILO), "0.0000");
  EXPECT_EQ(At(1, TOWA_WSB), "0.00");
  EXPECT_EQ(At(2, TOWA_ILO), "0.0000");
}

TEST_F(CollectorTest, AFailedWriteLeavesTheRecordsStock) {
  Stocked("A1", 5);
  Stocked("A2", 6);
  ASSERT_EQ(symlink("/dev/full", "remazero.inw"), 0);
  Browse();
  EXPECT_EQ(Run(KolektorZerowanie, "t{F9}x"), 0);
  EXPECT_TRUE(Shown("Zakończono błędnie !")) << seen;
  EXPECT_EQ(At(1, TOWA_ILO), "5.0000");
  EXPECT_EQ(At(1, TOWA_WSB), "15.00");
  EXPECT_EQ(At(2, TOWA_ILO), "6.0000");
}

TEST_F(CollectorTest, ACountAddsToTheStockAndIsArchived) {
  Stocked("A1", 5);
  Stocked("A2", 1);
  Browse();
  Write("spis.inw", "A1,7\nA2,-3\nZZ,4\n");
  EXPECT_EQ(Run(KolektorAktualizacja, "{F9}" + TakeIn("t")), 0);
  EXPECT_TRUE(Shown("spis.inw")) << seen;
  EXPECT_EQ(At(1, TOWA_ILO), "12.0000");
  EXPECT_EQ(At(1, TOWA_WSB), "36.00");
  EXPECT_EQ(At(1, TOWA_WZN), "24.00");
  // Below zero the stock stays negative and its values are 0.
  EXPECT_EQ(At(2, TOWA_ILO), "-2.0000");
  EXPECT_EQ(At(2, TOWA_WSB), "0.00");
  EXPECT_EQ(Read("spis.inw"), "");
  EXPECT_EQ(Read("SPIS.INX"), "A1,7\nA2,-3\nZZ,4\n");
  // Archived, it is offered no more.
  EXPECT_EQ(Run(KolektorAktualizacja, "{F9}x"), 0);
  EXPECT_TRUE(Shown("Brak zbiorów inwentaryzacyjnych.")) << seen;
}

TEST_F(CollectorTest, TheSameFileTwiceAddsTwice) {
  Stocked("A1", 0);
  Browse();
  Write("a.inw", "A1,7\n");
  EXPECT_EQ(Run(KolektorAktualizacja, TakeIn("{ESC}")), 0);
  EXPECT_EQ(Run(KolektorAktualizacja, TakeIn("{ESC}")), 0);
  EXPECT_EQ(At(1, TOWA_ILO), "14.0000");
}

TEST_F(CollectorTest, ALineWithoutACommaUpdatesNothing) {
  Stocked("A1", 5);
  Browse();
  Write("a.inw", "A1,7\nA1 7\n");
  EXPECT_EQ(Run(KolektorAktualizacja, "{ENTER}t{F9}x"), 0);
  EXPECT_TRUE(Shown("Zakończono błędnie !")) << seen;
  EXPECT_EQ(At(1, TOWA_ILO), "5.0000");
  EXPECT_EQ(Read("a.inw"), "A1,7\nA1 7\n");
}

TEST_F(CollectorTest, ASaleBookedElsewhereMeanwhileIsKept) {
  Stocked("A1", 5);
  Browse();
  ASSERT_EQ(At(1, TOWA_ILO), "5.0000");
  // Another workstation sells 2 while this one's list shows 5.
  pid_t other = fork();
  ASSERT_GE(other, 0);
  if (other == 0) {
    d4close_all(&env->engine);
    if (OpenZ5TOWA(0) != 0 || go_and_lock(Z5TOWA.table, 1) != 0) _exit(2);
    f4assign_double(Z5TOWA.field[TOWA_ILO], 3);
    _exit(write_and_unlock(Z5TOWA.table) == 0 ? 0 : 3);
  }
  int status = 0;
  waitpid(other, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  Write("a.inw", "A1,7\n");
  EXPECT_EQ(Run(KolektorAktualizacja, TakeIn("{ESC}")), 0);
  EXPECT_EQ(At(1, TOWA_ILO), "10.0000");
  // The zeroing writes what the record holds now.
  EXPECT_EQ(Run(KolektorZerowanie, "t"), 0);
  EXPECT_EQ(Read("remazero.inw"), "A1" + std::string(16, ' ') + ",      10.0000\n");
}

}  // namespace
