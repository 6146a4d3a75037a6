// Payments of sales documents: the cash entries and the settlement entry a
// saved document gets, the payment window (Ctrl+P) in a foreign currency,
// the cash receipt with its transfer, and cash numbers taken by two
// workstations at once.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

#include "sales/document_header.h"
#include "sales/payments.h"
#include "sales/sales_register.h"
#include "tables/cash_tables.h"
#include "tests/sales/sales_fixture.h"

namespace {

// A field's text without the blanks around it.
std::string Text(DbTable* t, const char* name) {
  std::string s = FieldText(t, name);
  return s.erase(0, std::min(s.size(), s.find_first_not_of(' ')));
}

// "TYP TKA TYK DAT NUM KWO REK" per cash entry (of one document when given).
std::string CashEntries(long document = 0) {
  std::string all;
  DbTable* t = Z5KASA.table;
  for (long n = 1; n <= d4reccount(t); n++) {
    d4go(t, n);
    if (document && f4long(d4field(t, "REK")) != document) continue;
    all += Text(t, "TYP") + " " + Text(t, "TKA") + " " + Text(t, "TYK") + " " + Text(t, "DAT") +
           " " + Text(t, "NUM") + " " + Text(t, "KWO") + " " + Text(t, "REK") + ";";
  }
  return all;
}

// "TYP ROL KWO ZAP" per settlement entry (of one document when given).
std::string Settlements(long document = 0) {
  std::string all;
  EXPECT_EQ(OpenZ5ROZL(0), 0);
  DbTable* t = Z5ROZL.table;
  for (long n = 1; n <= d4reccount(t); n++) {
    d4go(t, n);
    if (document && f4long(d4field(t, "REK")) != document) continue;
    all += Text(t, "TYP") + " " + Text(t, "ROL") + " " + Text(t, "KWO") + " " + Text(t, "ZAP") +
           ";";
  }
  d4close(t);
  return all;
}

class PaymentsTest : public SalesTest {
 protected:
  void SetUp() override {
    SalesTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5KASA(0), 0);
    std::strcpy(salesOptions.cashDeskCode, "K1");
    salesOptions.paidToCash = 'T';
  }
};

TEST_F(PaymentsTest, AfterSaveCashEntryAndSettlement) {
  struct Case {
    const char* name;
    Fields header;
    const char* cash;
    const char* settlements;
    const char* note;   // the header's payment note: the new entry's reference
  } cases[] = {
      {"paid cash invoice, dated by the due date",
       {{"TYV", "1"}, {"PLA", "GOTÓWKA"}, {"ZAP", "T"}, {"BRU", "123"}, {"KZA", "123"}, {"DAW", "20261210"},
        {"DPL", "20261215"}},
       "1 G 0 20261215 1 123.00 1;", "", "*KP 1 15-12-2026"},
      {"paid cash invoice without a due date",
       {{"TYV", "1"}, {"PLA", "ZAPŁACONO GOTÓWKĄ"}, {"ZAP", "T"}, {"BRU", "10"}, {"KZA", "10"}, {"DAW", "20261210"}},
       "1 G 0 20261210 2 10.00 2;", "", "*KP 2 10-12-2026"},
      {"paid transfer without a bank",
       {{"TYV", "1"}, {"PLA", "PRZELEW"}, {"TYB", "0"}, {"ZAP", "T"}, {"BRU", "50"}, {"KZA", "50"},
        {"DAW", "20261210"}},
       "3 K 1 20261210 1 50.00 3;", "", "*Wyciąg 1 10-12-2026"},
      {"unpaid transfer correction",
       {{"TYV", "3"}, {"PLA", "PRZELEW"}, {"ZAP", "N"}, {"KRN", "-40.65"}, {"KRV", "-9.35"}, {"DAW", "20261210"}},
       "", "Z N -50.00 0.00;", ""},
      {"cash correction",
       {{"TYV", "3"}, {"PLA", "GOTÓWKA"}, {"ZAP", "T"}, {"KRN", "-40.65"}, {"KRV", "-9.35"}, {"KZA", "-50"},
        {"DAW", "20261210"}},
       "2 G 0 20261210 1 -50.00 5;", "", "*KW 1 10-12-2026"},
  };
  long document = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Header(c.header);
    document++;
    platnosci_po_zapisaniu(0);
    EXPECT_EQ(CashEntries(document), c.cash);
    EXPECT_EQ(Settlements(document), c.settlements);
    std::string seen = Boxes();
    EXPECT_EQ(seen.find("Dopisano do kasy.") != std::string::npos, *c.note != 0) << seen;
    ASSERT_EQ(d4go(Z5SPRZ.table, document), 0);
    EXPECT_EQ(Text(Z5SPRZ.table, "OZA"), c.note);
  }
}

// The save's after-step writes the new document's settlement entry.
TEST_F(PaymentsTest, SavedInvoiceGetsItsSettlementEntry) {
  definicja_rejestru_sprzedazy definition{};
  definicjaRejestru = &definition;
  Header({{"TYV", "1"}, {"PRE", "  FV"}, {"NRV", "1"}, {"PLA", "PRZELEW"}, {"ZAP", "N"}, {"BRU", "63.90"},
          {"DAW", "20261203"}, {"DPL", "20261217"}, {"KNA", "ZBYT"}, {"NA1", "Hurtownia Zbyt"}});
  EXPECT_EQ(po_zapisaniu_dokumentu(), 0);
  definicjaRejestru = nullptr;
  ASSERT_EQ(OpenZ5ROZL(0), 0);
  DbTable* t = Z5ROZL.table;
  ASSERT_EQ(d4reccount(t), 1);
  ASSERT_EQ(d4go(t, 1), 0);
  const std::pair<const char*, const char*> stored[] = {
      {"TYZ", "1"},    {"ROK", "2026"},     {"REK", "1"},        {"KWO", "63.90"},
      {"ZAP", "0.00"}, {"TYP", "N"},        {"ROL", "N"},        {"DOK", "FV/1"},
      {"DAW", "20261203"}, {"DAP", "20261217"}, {"KOD", "ZBYT"}, {"TYT", "Faktura nr FV/1 z 03-12-2026"},
  };
  for (const auto& [name, value] : stored) EXPECT_EQ(Text(t, name), value) << name;
  d4close(t);
  EXPECT_EQ(CashEntries(), "");
}

// The cash option off: a paid document gets no cash entry, and its settled
// entry is written only once it exists.
TEST_F(PaymentsTest, SettledDocumentRefreshesOnlyAnEntryItHas) {
  salesOptions.paidToCash = 'N';
  Header({{"TYV", "1"}, {"PLA", "PRZELEW"}, {"ZAP", "N"}, {"BRU", "100"}, {"KZA", "0"}, {"DAW", "20261210"}});
  platnosci_po_zapisaniu(0);
  EXPECT_EQ(Settlements(), "N N 100.00 0.00;");
  SetFields(Z5SPRZ.table, {{"ZAP", "T"}, {"KZA", "100"}});
  ASSERT_EQ(d4write(Z5SPRZ.table, 1), 0);
  platnosci_po_zapisaniu(0);
  EXPECT_EQ(Settlements(), "N R 100.00 100.00;");
  EXPECT_EQ(CashEntries(), "");
  // Another settled document without an entry: nothing is written.
  Header({{"TYV", "1"}, {"PLA", "PRZELEW"}, {"ZAP", "T"}, {"BRU", "70"}, {"KZA", "70"}, {"DAW", "20261210"}});
  platnosci_po_zapisaniu(0);
  EXPECT_EQ(Settlements(), "N R 100.00 100.00;");
}

// " Opis " saved: the entry takes the header's new amount and buyer, and
// its paid state once the amount is covered; a settled document without an
// entry gets none, as after a save.
TEST_F(PaymentsTest, ModifiedHeaderRefreshesItsSettlementEntry) {
  salesOptions.paidToCash = 'N';
  Header({{"TYV", "1"}, {"PLA", "PRZELEW"}, {"ZAP", "N"}, {"BRU", "100"}, {"KZA", "0"}, {"DAW", "20261210"},
          {"NA1", "Stary"}});
  platnosci_po_zapisaniu(0);
  EXPECT_EQ(Settlements(), "N N 100.00 0.00;");
  SetFields(Z5SPRZ.table, {{"BRU", "120"}, {"KZA", "50"}, {"NA1", "Nowy"}, {"LPO", "1"}});
  EXPECT_EQ(po_modyfikacji_ksiegowanie(), 0);
  EXPECT_EQ(Settlements(), "N N 120.00 50.00;");
  EXPECT_NE(Boxes().find("Nie zapomnij o zaksięgowaniu !"), std::string::npos);
  ASSERT_EQ(OpenZ5ROZL(0), 0);
  ASSERT_EQ(d4go(Z5ROZL.table, 1), 0);
  EXPECT_EQ(Text(Z5ROZL.table, "NA1"), "Nowy");
  d4close(Z5ROZL.table);
  SetFields(Z5SPRZ.table, {{"KZA", "120"}, {"ZAP", "T"}, {"LPO", "0"}});
  po_modyfikacji_ksiegowanie();
  EXPECT_EQ(Settlements(), "N R 120.00 120.00;");
  EXPECT_EQ(Boxes(), "");
  Header({{"TYV", "1"}, {"PLA", "PRZELEW"}, {"ZAP", "T"}, {"BRU", "70"}, {"KZA", "70"}, {"DAW", "20261210"}});
  po_modyfikacji_ksiegowanie();
  EXPECT_EQ(Settlements(), "N R 120.00 120.00;");
}

TEST_F(PaymentsTest, CashReceiptPassesThePaymentToTheDocument) {
  Header({{"TYV", "1"}, {"PLA", "GOTÓWKA"}, {"ZAP", "N"}, {"BRU", "300"}, {"KZA", "0"}, {"DAW", "20261210"},
          {"OZA", "zaliczka"}});
  ASSERT_EQ(zapisz_rozliczenie_dokumentu(1), 0);
  EXPECT_EQ(zapisz_wplate_gotowkowa("20261211", 100), 0);
  EXPECT_EQ(zapisz_wplate_gotowkowa("20261212", 200), 0);
  EXPECT_EQ(CashEntries(), "1 G 0 20261211 1 100.00 1;1 G 0 20261212 2 200.00 1;");
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_EQ(Text(Z5SPRZ.table, "KZA"), "300.00");
  EXPECT_EQ(Text(Z5SPRZ.table, "ZAP"), "T");
  EXPECT_EQ(Text(Z5SPRZ.table, "OZA"), "zaliczka*KP 1 11-12-2026*KP 2 12-12-2026");
  EXPECT_EQ(Settlements(), "N R 300.00 300.00;");
}

// A cash receipt of a EUR document: the cash book takes PLN, the document
// keeps what was paid in its own currency (the amount over its rate).
TEST_F(PaymentsTest, CashReceiptOfAEuroDocumentPaysInItsCurrency) {
  Header({{"TYV", "1"}, {"PLA", "GOTÓWKA"}, {"ZAP", "N"}, {"BRU", "100"}, {"KZA", "0"}, {"WAL", "EUR"},
          {"KVA", "4.3"}, {"KKS", "4.3"}, {"DAW", "20261210"}});
  ASSERT_EQ(zapisz_rozliczenie_dokumentu(1), 0);
  EXPECT_EQ(zapisz_wplate_gotowkowa("20261211", 215), 0);
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_EQ(Text(Z5SPRZ.table, "KZA"), "50.00");
  EXPECT_EQ(Text(Z5SPRZ.table, "ZAP"), "N");
}

// The header is read again under its lock before the paid amount goes in:
// a change another workstation made meanwhile stays.
TEST_F(PaymentsTest, CashEntryKeepsAnotherWorkstationsHeaderChange) {
  Header({{"TYV", "1"}, {"PLA", "GOTÓWKA"}, {"ZAP", "T"}, {"BRU", "10"}, {"KZA", "10"}, {"DAW", "20261210"},
          {"NA2", "stara"}});
  std::string shown(d4record(Z5SPRZ.table), d4record_width(Z5SPRZ.table));
  SetFields(Z5SPRZ.table, {{"NA2", "nowa"}});
  ASSERT_EQ(d4write(Z5SPRZ.table, 1), 0);
  std::memcpy(d4record(Z5SPRZ.table), shown.data(), shown.size());
  d4changed(Z5SPRZ.table, 0);
  EXPECT_EQ(platnosc_kasowa_dokumentu(1, 0, 0), 0);
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_EQ(Text(Z5SPRZ.table, "NA2"), "nowa");
  EXPECT_EQ(Text(Z5SPRZ.table, "OZA"), "*KP 1 10-12-2026");
}

// Two workstations append receipts of different documents at once; each
// takes its number under the cash book's lock.
TEST_F(PaymentsTest, TwoWorkstationsTakeDifferentNumbers) {
  Header({{"TYV", "1"}, {"PLA", "GOTÓWKA"}, {"BRU", "10"}, {"DAW", "20261210"}});
  Header({{"TYV", "1"}, {"PLA", "GOTÓWKA"}, {"BRU", "20"}, {"DAW", "20261210"}});
  d4flush(Z5SPRZ.table);
  constexpr int ROUNDS = 15;
  pid_t children[2];
  for (int child = 0; child < 2; child++) {
    children[child] = fork();
    ASSERT_GE(children[child], 0);
    if (children[child] == 0) {
      // Own opens of the files, so that the locks are their own.
      d4close_all(&env->engine);
      if (OpenZ5SPRZ(0, 0, SALES_MAIN) != 0 || OpenZ5KASA(0) != 0) _exit(1);
      if (d4go(Z5SPRZ.table, child + 1) != 0) _exit(1);
      for (int i = 0; i < ROUNDS; i++) {
        PlatnoscKasowa r{};
        r.rodzaj = '1';
        r.kwota = 1;
        r.typ_zrodla = SOURCE_SALES;
        r.rok = 2026;
        r.rekord = child + 1;
        std::strcpy(r.data, "20261210");
        if (dopisz_platnosc_do_kasy(&r, 0) != 0 || d4go(Z5SPRZ.table, child + 1) != 0) _exit(1);
      }
      _exit(0);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  d4close(Z5KASA.table);
  ASSERT_EQ(OpenZ5KASA(0), 0);
  ASSERT_EQ(d4reccount(Z5KASA.table), 2 * ROUNDS);
  std::vector<bool> taken(2 * ROUNDS + 1, false);
  for (long n = 1; n <= d4reccount(Z5KASA.table); n++) {
    d4go(Z5KASA.table, n);
    long number = f4long(d4field(Z5KASA.table, "NUM"));
    ASSERT_TRUE(number >= 1 && number <= 2 * ROUNDS) << number;
    EXPECT_FALSE(taken[number]) << "number " << number << " twice";
    taken[number] = true;
  }
}

class PaymentWindowTest : public SalesScreenTest {
 protected:
  void SetUp() override {
    SalesScreenTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5KASA(0), 0);
  }
};

TEST_F(PaymentWindowTest, ForeignCurrencyPaymentByCtrlP) {
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"WAL", "EUR"}, {"KVA", "4.3"}, {"KKS", "4.3"}, {"BRU", "100"},
                              {"PLA", "PRZELEW"}, {"ZAP", "N"}, {"DAW", "20261210"}});
  zapisz_rozliczenie_dokumentu(0);
  EXPECT_EQ(Settlements(), "N N 430.00 0.00;");
  // Enter leaves the window without storing anything.
  HeadlessSetScript("200.{ENTER}{ENTER}{ENTER}");
  wprowadz_platnosc(1);
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_EQ(Text(Z5SPRZ.table, "KZA"), "");
  HeadlessSetScript("{F9}200.{F2}");
  wprowadz_platnosc(1);
  EXPECT_NE(seen.find("kwota należna.      430.00"), std::string::npos) << seen;
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_EQ(Text(Z5SPRZ.table, "KZA"), "46.51");
  EXPECT_EQ(Text(Z5SPRZ.table, "ZAP"), "N");
  EXPECT_EQ(Settlements(), "N N 430.00 199.99;");
  // The rest settles it; the entry follows.
  HeadlessSetScript("{F2}");
  wprowadz_platnosc(1);
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_EQ(Text(Z5SPRZ.table, "KZA"), "100.00");
  EXPECT_EQ(Text(Z5SPRZ.table, "ZAP"), "T");
  EXPECT_EQ(Settlements(), "N R 430.00 430.00;");
}

TEST_F(PaymentWindowTest, CashReceiptWindowAndThePaymentAfterThePrintout) {
  salesOptions.printKp = 'T';
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"PLA", "GOTÓWKA"}, {"BRU", "100"}, {"KZA", "40"}, {"ZAP", "N"},
                              {"DAW", "20261203"}});
  // " KP ": the date and the amount still due as offered; Esc leaves the
  // voucher's print dialog.
  HeadlessSetScript("{F9}{ENTER}{ENTER}{ESC}");
  EXPECT_EQ(wplata_kp_dokumentu(), 0);
  EXPECT_NE(seen.find("kwota należna.....       60.00"), std::string::npos) << seen;
  EXPECT_EQ(CashEntries(), "1 G 0 20261210 1 60.00 1;");
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_EQ(Text(Z5SPRZ.table, "KZA"), "60.00");   // the document's cash entries
  EXPECT_EQ(Settlements(), "N N 100.00 60.00;");
  // After the printout: the paid amount offered, dated by the issue date.
  HeadlessSetScript("{F9}{F2}{ESC}");
  platnosc_po_wydruku();
  EXPECT_NE(seen.find("╠ kwota wpłacana....       60.00                 ╣"), std::string::npos) << seen;
  EXPECT_EQ(CashEntries(), "1 G 0 20261210 1 60.00 1;1 G 0 20261203 2 60.00 1;");
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_EQ(Text(Z5SPRZ.table, "ZAP"), "T");
  EXPECT_EQ(Settlements(), "N R 100.00 120.00;");
  // Esc writes nothing; a transfer is not offered the window.
  HeadlessSetScript("{ESC}");
  platnosc_po_wydruku();
  SetFields(Z5SPRZ.table, {{"PLA", "PRZELEW"}});
  platnosc_po_wydruku();
  EXPECT_EQ(d4reccount(Z5KASA.table), 2);
}

// An advance invoice: the payment goes over its lines and their sums into
// the header; one already taken into a final invoice is refused.
TEST_F(PaymentWindowTest, AdvanceInvoicePaymentSpreadsOverItsLines) {
  AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"ILO", "1"}, {"CBR", "123"}, {"VAS", "23"}, {"VAT", "1"}});
  AppendRecord(Z5SPRE.table, {{"REK", "1"}, {"ILO", "1"}, {"CBR", "246"}, {"VAS", "23"}, {"VAT", "1"}});
  AppendRecord(Z5SPRZ.table, {{"TYV", "11"}, {"TRY", "2"}, {"REC", "1"}, {"PLA", "PRZELEW"}, {"DAW", "20261203"}});
  HeadlessSetScript("123.{F2}");
  wprowadz_platnosc(1);
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_EQ(Text(Z5SPRZ.table, "KZA"), "123.00");
  EXPECT_EQ(Text(Z5SPRZ.table, "NET"), "100.00");
  EXPECT_EQ(Text(Z5SPRZ.table, "VAT"), "23.00");
  SetFields(Z5SPRZ.table, {{"TYM", "1"}});
  ASSERT_EQ(d4write(Z5SPRZ.table, 1), 0);
  HeadlessSetScript("{F9}{ENTER}");
  wprowadz_platnosc(1);
  EXPECT_NE(seen.find("Faktura ma fakturę końcową."), std::string::npos) << seen;
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_EQ(Text(Z5SPRZ.table, "KZA"), "123.00");
}

TEST_F(PaymentWindowTest, BankStatementWithoutBankIsRefusedInTheCashBook) {
  AppendRecord(Z5SPRZ.table, {{"TYV", "1"}, {"PLA", "PRZELEW"}, {"TYB", "0"}, {"BRU", "100"}, {"DAW", "20261210"}});
  HeadlessSetScript("{F9}{ENTER}");
  EXPECT_EQ(kasa_dokumentu(), 0);
  EXPECT_NE(seen.find("Brak kodu banku."), std::string::npos) << seen;
}

}  // namespace
