// " Kopiuj " in 2025: the documents of one kind and range issued again with
// consecutive numbers, the free-number series, a taken number that stops
// the run before anything is appended, and the window's date checks.
#include "sales/batch_copy.h"

#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "db/dbf_records.h"
#include "platform/clock.h"
#include "sales/document_copies.h"
#include "sales/numbering.h"
#include "tables/cash_tables.h"
#include "tests/sales/sales_fixture.h"

namespace {

class BatchCopyTest : public SalesTest {
 protected:
  void SetUp() override {
    SalesTest::SetUp();
    if (HasFatalFailure()) return;
    d4close_all(&env->engine);
    env->settlementYear = 2025;
    OpenMainRegisterWithRecipients();
    if (HasFatalFailure()) return;
    salesOptions.standardNumbering = 'T';
    std::memcpy(context.workingDate, "20250630", 8);
    context.kind = 1;
    zapamietaj_numer(&context.next, "FV", 101, "");
    KopiowanieDokumentow& r = kopiowanieDokumentow;
    std::memcpy(r.from, "20250601", 9);
    std::memcpy(r.to, "20250630", 9);
    std::memcpy(r.newDate, "20250801", 9);
  }

  // Document `rec` of `kind` issued on `daw`, due 14 days later, paid in
  // part, with a line (unless `lines` is 0) and a recipient.
  void Document(const char* rec, const char* kind, const char* daw, const char* due, Fields extra = {},
                int lines = 1) {
    Header({{"REC", rec}, {"TYV", kind}, {"RE4", "T"}, {"PRE", "FV"}, {"NRV", rec}, {"DAW", daw}, {"DAS", daw},
            {"DAV", daw}, {"DPL", due}, {"NET", "100"}, {"VAT", "23"}, {"BRU", "123"}, {"KZA", "20"},
            {"ZAP", "N"}, {"TYM", "6"}, {"NUK", "PF/1"}, {"LPO", "4"}, {"PLA", "PRZELEW"}});
    SetFields(Z5SPRZ.table, extra);
    ASSERT_EQ(d4write(Z5SPRZ.table, d4recno(Z5SPRZ.table)), 0);
    if (lines)
      Line({{"REC", rec}, {"REK", rec}, {"TYV", kind}, {"KOT", "T1"}, {"NA1", "towar"}, {"ILO", "1"},
            {"CNR", "100"}, {"WNE", "100"}, {"WAV", "23"}, {"WAB", "123"}, {"VAS", "23"}, {"STA", "T"}});
    AppendRecord(Z5SPRO.table, {{"SPR", "1"}, {"REK", rec}, {"REC", rec}, {"NA1", "odbiorca"}});
  }
  std::string Text(DbTable* t, long record, const char* name) {
    EXPECT_EQ(d4go(t, record), 0);
    std::string s = FieldText(t, name);
    return s.erase(0, std::min(s.size(), s.find_first_not_of(' ')));
  }
  // "NRV DAW DPL ZAP KZA TYM NUK LPO" of header `record`.
  std::string Copy(long record) {
    DbTable* h = Z5SPRZ.table;
    std::string out;
    for (const char* name : {"NRV", "DAW", "DPL", "ZAP", "KZA", "TYM", "NUK", "LPO"}) out += Text(h, record, name) + " ";
    return out;
  }
  int SettlementsOf(long rec) {
    EXPECT_EQ(OpenZ5ROZL(0), 0);
    int found = 0;
    for (long n = 1; n <= d4reccount(Z5ROZL.table); n++) {
      d4go(Z5ROZL.table, n);
      if (f4long(d4field(Z5ROZL.table, "REK")) == rec) found++;
    }
    d4close(Z5ROZL.table);
    return found;
  }
};

TEST_F(BatchCopyTest, InvoicesOfTheRangeAreIssuedAgainInIssueDateOrder) {
  Document("1", "1", "20250610", "20250624");
  Document("2", "1", "20250603", "20250617");
  Document("3", "2", "20250605", "20250619");                   // a bill: another kind
  Document("4", "1", "20250605", "");                           // no due date
  Document("5", "1", "20250512", "20250526");                   // before the range
  Document("6", "1", "20250620", "20250704", {{"AKT", "1"}});   // a final invoice: never copied
  EXPECT_EQ(CopyChosenDocuments(), 3);
  EXPECT_EQ(Boxes(), "Skopiowano 3 dokumentów.");
  DbTable* h = Z5SPRZ.table;
  ASSERT_EQ(d4reccount(h), 9);
  // Sources 2 (3 June), 4 (5 June), 1 (10 June); the due dates keep their distance.
  EXPECT_EQ(Copy(7), "101 20250801 20250815 N     ");
  EXPECT_EQ(Copy(8), "102 20250801  N     ");
  EXPECT_EQ(Copy(9), "103 20250801 20250815 N     ");
  EXPECT_EQ(Text(h, 7, "DAS"), "20250801");
  EXPECT_EQ(Text(h, 7, "DAV"), "20250801");
  EXPECT_EQ(Text(h, 7, "PRE"), "FV");
  DbTable* l = Z5SPRE.table;
  ASSERT_EQ(d4reccount(l), 9);
  for (long line = 7; line <= 9; line++) {
    EXPECT_EQ(Text(l, line, "REK"), std::to_string(line));
    EXPECT_EQ(Text(l, line, "STA"), "N");   // no stock moves
    EXPECT_EQ(Text(l, line, "DAW"), "20250801");
  }
  DbTable* r = Z5SPRO.table;
  ASSERT_EQ(d4reccount(r), 9);
  EXPECT_EQ(Text(r, 7, "REK"), "7");
  EXPECT_EQ(Text(r, 9, "REK"), "9");
  for (long rec = 7; rec <= 9; rec++) EXPECT_EQ(SettlementsOf(rec), 1) << rec;
}

TEST_F(BatchCopyTest, FreeNumbersAreTheFirstWithoutBlanksAndDashesAndACount) {
  salesOptions.standardNumbering = 'N';
  std::snprintf(context.freeNumber, sizeof context.freeNumber, "%s", "FV/2024-07");
  Document("1", "1", "20250602", "");
  Document("2", "1", "20250603", "");
  EXPECT_EQ(CopyChosenDocuments(), 2);
  EXPECT_EQ(Text(Z5SPRZ.table, 3, "OSM"), "FV/202407_001");
  EXPECT_EQ(Text(Z5SPRZ.table, 3, "RE4"), "N");
  EXPECT_EQ(Text(Z5SPRZ.table, 4, "OSM"), "FV/202407_002");
  EXPECT_EQ(Text(Z5SPRE.table, 4, "RE1"), "FV/202407_002");
}

TEST_F(BatchCopyTest, ATakenNumberStopsTheRunBeforeAnythingIsAppended) {
  Document("1", "1", "20250602", "");
  Document("2", "1", "20250603", "");
  Document("3", "1", "20250604", "");
  Document("103", "1", "20250715", "");   // the third number, outside the range
  EXPECT_EQ(CopyChosenDocuments(), -1);
  EXPECT_NE(Boxes().find("Podany numer już istnieje!"), std::string::npos);
  EXPECT_EQ(d4reccount(Z5SPRZ.table), 4);
  EXPECT_EQ(d4reccount(Z5SPRE.table), 4);
}

TEST_F(BatchCopyTest, ASourceWithoutLinesIsNamedAndPassedOver) {
  Document("1", "1", "20250602", "");
  Document("2", "1", "20250603", "", {}, 0);
  Document("3", "1", "20250604", "");
  EXPECT_EQ(CopyChosenDocuments(), 2);
  std::string boxes = Boxes();
  EXPECT_NE(boxes.find("Dokument FV  /    2 nie ma pozycji - pominięto."), std::string::npos) << boxes;
  EXPECT_NE(boxes.find("Skopiowano 2 dokumentów."), std::string::npos) << boxes;
  EXPECT_EQ(Text(Z5SPRZ.table, 4, "NRV"), "101");
  EXPECT_EQ(Text(Z5SPRZ.table, 5, "NRV"), "102");
}

TEST_F(BatchCopyTest, WindowRefusesARangeEndBeforeItsStartAndANewDateNotAfterIt) {
  KopiowanieDokumentow& r = kopiowanieDokumentow;
  std::memcpy(r.newDate, "20250630", 9);
  EXPECT_EQ(po_nowej_dacie_kopii(nullptr), -1);
  EXPECT_EQ(Boxes(), "Błąd nowej daty wystawienia.");
  std::memcpy(r.to, "20250531", 9);
  EXPECT_EQ(po_dacie_do_kopii(nullptr), -1);
  EXPECT_EQ(Boxes(), "Błąd daty 'DO'.");
  std::memcpy(r.to, "20250615", 9);
  EXPECT_EQ(po_dacie_do_kopii(nullptr), 0);
  EXPECT_EQ(std::string(r.newDate), "20250715");
  EXPECT_EQ(po_nowej_dacie_kopii(nullptr), 0);
}

// A batch copy in the main register and corrections in the auxiliary one at
// the same time, on two workstations: each yields exactly its own documents.
TEST_F(BatchCopyTest, TwoWorkstationsInBothRegistersGetTheirOwnDocuments) {
  for (int n = 1; n <= 4; n++) Document(std::to_string(n).c_str(), "1", "20250602", "");
  d4close_all(&env->engine);
  ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_AUX), 0);
  ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_AUX), 0);
  AppendRecord(Z5SPRZ.table, {{"REC", "1"}, {"TYV", "11"}, {"RE4", "T"}, {"PRE", "FZ"}, {"NRV", "1"},
                              {"DAW", "20250601"}, {"BRU", "246"}});
  for (const char* code : {"A1", "A2"})
    AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"TYV", "11"}, {"KOT", code}, {"ILO", "1"}, {"WAB", "123"}});
  d4close_all(&env->engine);
  constexpr int CORRECTIONS = 5;
  int go[2];
  ASSERT_EQ(pipe(go), 0);
  pid_t other = fork();
  ASSERT_GE(other, 0);
  if (other == 0) {
    PlatClockFix(nullptr);
    char byte;
    if (read(go[0], &byte, 1) != 1) _exit(2);
    context.rejestr = 2;
    zapamietaj_numer(&context.next, "FK", 1, "");
    if (OpenZ5SPRZ(0, 0, SALES_AUX) != 0 || OpenZ5SPRE(0, 0, SALES_AUX) != 0 || OpenZ5SPRO(0, 0, SALES_MAIN) != 0)
      _exit(3);
    for (int n = 0; n < CORRECTIONS; n++) {
      context.next.number = n + 1;
      if (d4go(Z5SPRZ.table, 1) != 0 || MakeCopyOrCorrection(1, 0) != 0) _exit(4 + n);
    }
    d4close_all(&env->engine);
    _exit(0);
  }
  OpenMainRegisterWithRecipients();
  ASSERT_FALSE(HasFatalFailure());
  ASSERT_EQ(write(go[1], "x", 1), 1);
  EXPECT_EQ(CopyChosenDocuments(), 4);
  int status = 0;
  waitpid(other, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  // The main register: its 4 sources and their 4 copies, each line under its own header.
  DbTable* h = Z5SPRZ.table;
  DbTable* l = Z5SPRE.table;
  ASSERT_EQ(d4reccount(h), 8);
  ASSERT_EQ(d4reccount(l), 8);
  for (long n = 5; n <= 8; n++) {
    EXPECT_EQ(Text(l, n, "REK"), std::to_string(n));
    EXPECT_EQ(Text(l, n, "TYV"), "1");
  }
  d4close_all(&env->engine);
  // The auxiliary register: the advance and its corrections, two lines each.
  ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_AUX), 0);
  ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_AUX), 0);
  ASSERT_EQ(d4reccount(Z5SPRZ.table), 1 + CORRECTIONS);
  ASSERT_EQ(d4reccount(Z5SPRE.table), 2 * (1 + CORRECTIONS));
  for (long n = 3; n <= 2 * (1 + CORRECTIONS); n++) {
    EXPECT_EQ(Text(Z5SPRE.table, n, "REK"), std::to_string((n + 1) / 2)) << n;
    EXPECT_EQ(Text(Z5SPRE.table, n, "TYV"), "3") << n;
    EXPECT_EQ(Text(Z5SPRE.table, n, "KOT"), n % 2 ? "A1" : "A2") << n;
  }
  close(go[0]);
  close(go[1]);
}

// A new date in the next year: the copies go into that year's main register.
TEST_F(BatchCopyTest, ANewDateOfAnotherYearFillsThatYearsRegister) {
  Document("1", "1", "20250602", "20250616");
  Document("2", "1", "20250603", "");
  std::memcpy(kopiowanieDokumentow.newDate, "20260105", 9);
  context.next.number = 1;
  EXPECT_EQ(CopyChosenDocuments(), 2);
  EXPECT_EQ(d4reccount(Z5SPRZ.table), 2);
  d4close_all(&env->engine);
  ASSERT_EQ(OpenZ5SPRZ(2026, 0, SALES_MAIN_SECOND), 0);
  ASSERT_EQ(OpenZ5SPRE(2026, 0, SALES_MAIN_SECOND), 0);
  ASSERT_EQ(d4reccount(Z5SPRZ_2.table), 2);
  EXPECT_EQ(Text(Z5SPRZ_2.table, 1, "NRV"), "1");
  EXPECT_EQ(Text(Z5SPRZ_2.table, 1, "DPL"), "20260119");
  EXPECT_EQ(Text(Z5SPRZ_2.table, 2, "NRV"), "2");
  EXPECT_EQ(d4reccount(Z5SPRE_2.table), 2);
  EXPECT_EQ(Text(Z5SPRE_2.table, 2, "REK"), "2");
}

}  // namespace
