// The settlement entry of a document, the numbering and reference text of
// cash entries, and the transfer of cash sums back into the paid document.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <set>

#include "app/option_sets.h"
#include "db/db_lock.h"
#include "finance/interest.h"
#include "finance/payments.h"
#include "jpk/bank_accounts.h"
#include "sales/document_totals.h"
#include "tables/book_tables.h"
#include "tables/cash_tables.h"
#include "tables/firm_tables.h"
#include "tables/vat_tables.h"
#include "tests/sales/sales_fixture.h"
#include "ui/get4.h"

namespace {

class PaymentsTest : public SalesTest {
 protected:
  void SetUp() override {
    SalesTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5KASA(0), 0);
    std::strcpy(salesOptions.cashDeskCode, "K1  ");
  }
  void CashEntry(Fields fields) { AppendRecord(Z5KASA.table, fields); }
  static PlatnoscKasowa Request(double due, double paid) {
    PlatnoscKasowa r{};
    r.rodzaj = due > 0 ? 'N' : 'Z';
    r.typ_zrodla = SOURCE_SALES;
    r.rok = 2026;
    r.rekord = 3;
    r.kwota = due;
    r.kwota_zaplacona = paid;
    std::strcpy(r.data, "20260305");
    std::strcpy(r.termin, "20260319");
    std::strcpy(r.numer_dokumentu, "FV/3/2026");
    std::strcpy(r.nazwa1, "Odbiorca");
    return r;
  }
  // The settlements as "ROL TYP KWO ZAP" per entry.
  std::string Settlements() {
    std::string all;
    EXPECT_EQ(OpenZ5ROZL(0), 0);
    DbTable* t = Z5ROZL.table;
    for (long n = 1; n <= d4reccount(t); n++) {
      d4go(t, n);
      if (d4deleted(t)) continue;
      all += FieldText(t, "ROL") + " " + FieldText(t, "TYP") + " " + std::to_string(f4double(d4field(t, "KWO"))) +
             " " + std::to_string(f4double(d4field(t, "ZAP"))) + ";";
    }
    d4close(t);
    return all;
  }
};

TEST_F(PaymentsTest, SettlementEntryOfADocument) {
  PlatnoscKasowa paid = Request(1230, 1230);
  EXPECT_EQ(ZapiszRozliczenie(0, &paid), 1);
  EXPECT_EQ(Settlements(), "");
  PlatnoscKasowa credit = Request(1230, 200);
  EXPECT_EQ(ZapiszRozliczenie(0, &credit), 0);
  EXPECT_EQ(Settlements(), "N N 1230.000000 200.000000;");
  // The same document paid: the entry it has follows, unforced or forced.
  EXPECT_EQ(ZapiszRozliczenie(0, &paid), 0);
  EXPECT_EQ(Settlements(), "R N 1230.000000 1230.000000;");
  EXPECT_EQ(ZapiszRozliczenie(1, &paid), 0);
  EXPECT_EQ(Settlements(), "R N 1230.000000 1230.000000;");
  PlatnoscKasowa correction = Request(-50, 0);
  correction.rekord = 4;
  EXPECT_EQ(ZapiszRozliczenie(0, &correction), 0);
  EXPECT_EQ(Settlements(), "R N 1230.000000 1230.000000;N Z -50.000000 0.000000;");
  UsunRozliczenie(SOURCE_SALES, 2026, 3);
  EXPECT_EQ(Settlements(), "N Z -50.000000 0.000000;");
}

TEST_F(PaymentsTest, CashNumbersRunPerDeskKindBankAndYear) {
  EXPECT_EQ(OstatniNrKasy('1', 0, 2026), 0);
  CashEntry({{"TYP", "1"}, {"PRE", "K1"}, {"DAT", "20260105"}, {"NUM", "1"}});
  CashEntry({{"TYP", "1"}, {"PRE", "K1"}, {"DAT", "20260210"}, {"NUM", "2"}});
  CashEntry({{"TYP", "2"}, {"PRE", "K1"}, {"DAT", "20260210"}, {"NUM", "1"}});
  CashEntry({{"TYP", "1"}, {"PRE", "K2"}, {"DAT", "20260210"}, {"NUM", "7"}});
  CashEntry({{"TYP", "1"}, {"PRE", "K1"}, {"DAT", "20251230"}, {"NUM", "9"}});
  CashEntry({{"TYP", "3"}, {"PRE", "K1"}, {"TYK", "2"}, {"DAT", "20260210"}, {"NUM", "4"}});
  struct Case {
    char kind;
    int bank, year;
    long last;
  } cases[] = {{'1', 0, 2026, 2}, {'2', 0, 2026, 1}, {'1', 0, 2025, 9}, {'3', 2, 2026, 4}, {'3', 1, 2026, 0}};
  // An entry being edited keeps its place and its typed values.
  ASSERT_EQ(d4go(Z5KASA.table, 3), 0);
  SetFields(Z5KASA.table, {{"TYT", "w trakcie"}});
  for (const Case& c : cases) EXPECT_EQ(OstatniNrKasy(c.kind, c.bank, c.year), c.last) << c.kind << c.bank << c.year;
  EXPECT_EQ(d4recno(Z5KASA.table), 3);
  EXPECT_EQ(FieldText(Z5KASA.table, "TYT"), "w trakcie");
  EXPECT_EQ(std::string(ZrodloKasyQStr()), "*KW 1 10-02-2026");
}

TEST_F(PaymentsTest, CashPaymentsMoveIntoTheDocument) {
  Header({{"TYV", "1"}, {"REC", "1"}, {"BRU", "1000"}, {"KKS", "4.3"}, {"ZAP", "N"}, {"OZA", "*KP 1"}});
  PlatnoscKasowa due = Request(4300, 0);
  due.rekord = 1;
  ASSERT_EQ(ZapiszRozliczenie(0, &due), 0);
  CashEntry({{"TYP", "1"}, {"TYZ", "1"}, {"ROK", "2026"}, {"REK", "1"}, {"KWO", "2150"}, {"DAT", "20260305"}});
  EXPECT_EQ(PrzeniesPlatnoscDoZrodla(0, " *KP 2", TRANSFER_APPEND_NOTE), 0);
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRZ.table, "KZA")), 500);
  EXPECT_EQ(FieldText(Z5SPRZ.table, "ZAP"), "N");
  EXPECT_EQ(FieldText(Z5SPRZ.table, "OZA"), "*KP 1 *KP 2");
  EXPECT_EQ(Settlements(), "N N 4300.000000 2150.000000;");

  CashEntry({{"TYP", "1"}, {"TYZ", "1"}, {"ROK", "2026"}, {"REK", "1"}, {"KWO", "2150"}, {"DAT", "20260306"}});
  EXPECT_EQ(PrzeniesPlatnoscDoZrodla(0, "*KP 3", 0), 0);
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRZ.table, "KZA")), 1000);
  EXPECT_EQ(FieldText(Z5SPRZ.table, "ZAP"), "T");
  EXPECT_EQ(FieldText(Z5SPRZ.table, "OZA"), "*KP 3");
  EXPECT_EQ(Settlements(), "R N 4300.000000 4300.000000;");

  // A deleted payment is taken back.
  ASSERT_EQ(d4go(Z5KASA.table, 2), 0);
  EXPECT_EQ(PrzeniesPlatnoscDoZrodla(-2150, nullptr, 0), 0);
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRZ.table, "KZA")), 500);
  EXPECT_EQ(FieldText(Z5SPRZ.table, "ZAP"), "N");
}


// Every writer numbers through one path: an empty book gives 1, a KP and a
// KW of one day both 1, a new year starts again.
TEST_F(PaymentsTest, AppendedEntriesTakeTheNextNumber) {
  struct Case {
    char kind;
    const char* date;
    long number;
  } cases[] = {{'1', "20260105", 1}, {'1', "20260105", 2}, {'2', "20260105", 1}, {'1', "20270102", 1},
               {'3', "20260105", 1}};
  for (const Case& c : cases) {
    PlatnoscKasowa r = Request(10, 0);
    r.rodzaj = c.kind;
    r.kod_banku = 2;
    std::strcpy(r.data, c.date);
    ASSERT_EQ(DopiszDoKasy(&r), 0);
    EXPECT_EQ(Boxes(), "Dopisano do kasy.");
    ASSERT_EQ(d4go(Z5KASA.table, d4reccount(Z5KASA.table)), 0);
    EXPECT_EQ(f4long(d4field(Z5KASA.table, "NUM")), c.number) << c.kind << " " << c.date;
    EXPECT_EQ(FieldText(Z5KASA.table, "PRE"), "K1");
    EXPECT_EQ(FieldText(Z5KASA.table, "TYK"), c.kind == '3' ? "2" : "0");
  }
  EXPECT_EQ(Z5KASA.table->file_locked, 0);
}

// Two workstations append entries of one desk, kind and year at once: one
// as the entry form does (the whole book locked around the numbering and
// the append), the other through DopiszDoKasy. Numbers run 1 to 2n.
TEST_F(PaymentsTest, TwoWorkstationsNeverShareANumber) {
  constexpr int kEach = 15;
  auto request = [] {
    PlatnoscKasowa r = Request(10, 0);
    r.rodzaj = '1';
    std::strcpy(r.data, "20261210");
    return r;
  };
  d4close(Z5KASA.table);
  pid_t other = fork();
  if (other == 0) {
    d4close_all(&env->engine);
    for (int n = 0; n < kEach;) {
      PlatnoscKasowa r = request();
      if (DopiszDoKasy(&r) == 0) n++;
    }
    d4close_all(&env->engine);
    _exit(0);
  }
  ASSERT_GT(other, 0);
  ASSERT_EQ(OpenZ5KASA(0), 0);
  for (int n = 0; n < kEach;) {
    if (set_lock(Z5KASA.table, -1) != 0) continue;
    PlatnoscKasowa r = request();
    if (dopisz_wpis_kasy(&r) == 0) n++;
    d4unlock(Z5KASA.table);
  }
  int status = 0;
  waitpid(other, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  std::set<long> numbers;
  ASSERT_EQ(d4reccount(Z5KASA.table), 2 * kEach);
  for (long n = 1; n <= 2 * kEach; n++) {
    ASSERT_EQ(d4go(Z5KASA.table, n), 0);
    numbers.insert(f4long(d4field(Z5KASA.table, "NUM")));
  }
  EXPECT_EQ(numbers.size(), static_cast<size_t>(2 * kEach));
  EXPECT_EQ(*numbers.begin(), 1);
  EXPECT_EQ(*numbers.rbegin(), 2 * kEach);
}

// The EUR invoice paid twice in PLN, then each payment deleted through the
// book's after-delete path: the deleted amount comes off once whether the
// entry is already marked deleted or not yet.
TEST_F(PaymentsTest, DeletedPaymentsComeOffOnce) {
  Header({{"TYV", "1"}, {"REC", "1"}, {"BRU", "1000"}, {"KKS", "4.3"}, {"ZAP", "N"}});
  PlatnoscKasowa due = Request(4300, 0);
  due.rekord = 1;
  ASSERT_EQ(ZapiszRozliczenie(0, &due), 0);
  CashEntry({{"TYP", "1"}, {"TYZ", "1"}, {"ROK", "2026"}, {"REK", "1"}, {"KWO", "2150"}, {"DAT", "20260305"}});
  CashEntry({{"TYP", "1"}, {"TYZ", "1"}, {"ROK", "2026"}, {"REK", "1"}, {"KWO", "2150"}, {"DAT", "20260306"}});
  EXPECT_EQ(PrzeniesPlatnoscDoZrodla(0, nullptr, 0), 0);
  EXPECT_EQ(Settlements(), "R N 4300.000000 4300.000000;");
  auto paid = [] {
    d4go(Z5SPRZ.table, 1);
    return FieldText(Z5SPRZ.table, "ZAP") + " " + std::to_string(f4double(d4field(Z5SPRZ.table, "KZA")));
  };
  EXPECT_EQ(paid(), "T 1000.000000");
  // Marked deleted first, as the browse does, then passed on.
  ASSERT_EQ(d4go(Z5KASA.table, 2), 0);
  d4delete(Z5KASA.table);
  ASSERT_EQ(d4write(Z5KASA.table, 2), 0);
  EXPECT_EQ(PrzeniesPlatnoscDoZrodla(-2150, nullptr, 0), 0);
  EXPECT_EQ(paid(), "N 500.000000");
  EXPECT_EQ(Settlements(), "N N 4300.000000 2150.000000;");
  // Passed on while the entry still stands.
  ASSERT_EQ(d4go(Z5KASA.table, 1), 0);
  EXPECT_EQ(PrzeniesPlatnoscDoZrodla(-2150, nullptr, 0), 0);
  EXPECT_EQ(paid(), "N 0.000000");
  EXPECT_EQ(Settlements(), "N N 4300.000000 0.000000;");
  EXPECT_DOUBLE_EQ(SumaKasyDokumentu(SOURCE_SALES, 2026, 1), 2150);
  EXPECT_DOUBLE_EQ(SumaKasyDokumentu(SOURCE_SALES, 2026, 0), 0);
}

// The paid amount spread over an advance invoice's lines adds up to it.
TEST_F(PaymentsTest, AdvanceLinesFollowThePaidAmount) {
  struct Case {
    int lines;
    const char* paid;
    const char* gross[3];
    double net, vat;
  } cases[] = {{1, "61.50", {"61.50"}, 50.00, 11.50}, {3, "100", {"33.33", "33.33", "33.34"}, 81.31, 18.69}};
  long header = 0;
  for (const Case& c : cases) {
    header++;
    std::string rec = std::to_string(header);
    Header({{"TYV", "11"}, {"REC", rec.c_str()}, {"TRY", "1"}, {"KKS", "1"}, {"BRU", "369"}, {"DAW", "20260301"}});
    long first = d4reccount(Z5SPRE.table) + 1;
    for (int i = 0; i < c.lines; i++) Line({{"REK", rec.c_str()}, {"ILO", "1"}, {"CNR", "100"}, {"VAS", "23"}});
    CashEntry({{"TYP", "1"}, {"TYZ", "1"}, {"ROK", "2026"}, {"REK", rec.c_str()}, {"KWO", c.paid}, {"DAT", "20260305"}});
    EXPECT_EQ(PrzeniesPlatnoscDoZrodla(0, nullptr, 0), 0) << c.paid;
    for (int i = 0; i < c.lines; i++) {
      ASSERT_EQ(d4go(Z5SPRE.table, first + i), 0);
      double gross = f4double(d4field(Z5SPRE.table, "WNE")) + f4double(d4field(Z5SPRE.table, "WAV"));
      EXPECT_NEAR(gross, std::stod(c.gross[i]), 1e-9) << c.paid << " line " << i;
    }
    ASSERT_EQ(d4go(Z5SPRZ.table, header), 0);
    EXPECT_NEAR(f4double(d4field(Z5SPRZ.table, "NET")), c.net, 1e-9) << c.paid;
    EXPECT_NEAR(f4double(d4field(Z5SPRZ.table, "VAT")), c.vat, 1e-9) << c.paid;
  }
  ASSERT_EQ(d4go(Z5SPRE.table, 1), 0);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRE.table, "WAV")), 11.5);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5SPRE.table, "WNE")), 50);
}

// Under the cash method a payment dated before the issue leaves DAV alone.
TEST_F(PaymentsTest, EarlyPaymentLeavesTheVatDate) {
  salesOptions.cashVat = 'T';
  Header({{"TYV", "1"}, {"REC", "1"}, {"BRU", "100"}, {"KKS", "1"}, {"DAW", "20260310"}});
  CashEntry({{"TYP", "1"}, {"TYZ", "1"}, {"ROK", "2026"}, {"REK", "1"}, {"KWO", "100"}, {"DAT", "20260301"}});
  EXPECT_EQ(PrzeniesPlatnoscDoZrodla(0, nullptr, 0), 0);
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_EQ(FieldText(Z5SPRZ.table, "ZAP"), "T");
  EXPECT_EQ(FieldText(Z5SPRZ.table, "DAV"), "");
  EXPECT_EQ(Boxes(), "");
}

// A document that cannot be reached is named to the operator; the
// settlement still follows the cash.
TEST_F(PaymentsTest, UnreachedDocumentIsNamed) {
  PlatnoscKasowa due = Request(100, 0);
  due.rekord = 7;
  ASSERT_EQ(ZapiszRozliczenie(0, &due), 0);
  CashEntry({{"TYP", "1"}, {"TYZ", "1"}, {"ROK", "2026"}, {"REK", "7"}, {"KWO", "100"}, {"DOK", "FV/7/2026"}});
  EXPECT_EQ(PrzeniesPlatnoscDoZrodla(0, nullptr, 0), -1);
  EXPECT_EQ(Boxes(), "Nie zaktualizowano zapłaty dokumentu FV/7/2026.");
  EXPECT_EQ(Settlements(), "R N 100.000000 100.000000;");
}

// Purchases take minus the cash sum; a book entry its paid flag.
TEST_F(PaymentsTest, PurchasesAndBookEntriesFollowTheirCash) {
  ASSERT_EQ(OpenZ5ZAKU(2026, 0), 0);
  ASSERT_EQ(OpenZ5ZAKE(2026, 0), 0);
  AppendRecord(Z5ZAKU.table, {{"TYV", "1"}, {"REC", "1"}, {"KKS", "1"}, {"STM", "1"}, {"DZK", "20260302"}});
  AppendRecord(Z5ZAKE.table, {{"REK", "1"}, {"WAB", "200"}, {"WAN", "162.60"}});
  PlatnoscKasowa due = Request(200, 0);
  due.rodzaj = 'Z';
  due.typ_zrodla = SOURCE_PURCHASES;
  due.rekord = 1;
  ASSERT_EQ(ZapiszRozliczenie(0, &due), 0);
  CashEntry({{"TYP", "2"}, {"TYZ", "2"}, {"ROK", "2026"}, {"REK", "1"}, {"KWO", "-200"}, {"DAT", "20260305"}});
  EXPECT_EQ(PrzeniesPlatnoscDoZrodla(0, "*KW 1", 0), 0);
  ASSERT_EQ(d4go(Z5ZAKU.table, 1), 0);
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5ZAKU.table, "KZA")), 200);
  EXPECT_EQ(FieldText(Z5ZAKU.table, "ZAP"), "T");
  EXPECT_EQ(FieldText(Z5ZAKU.table, "OZA").substr(0, 5), "*KW 1");
  EXPECT_EQ(Settlements(), "R Z 200.000000 200.000000;");

  ASSERT_EQ(OpenZ5DANE(2026, 0), 0);
  AppendRecord(Z5DANE.table, {{"PSP", "300"}, {"ZAP", "N"}});
  CashEntry({{"TYP", "1"}, {"TYZ", "3"}, {"ROK", "2026"}, {"REK", "1"}, {"KWO", "300"}, {"DAT", "20260305"}});
  EXPECT_EQ(PrzeniesPlatnoscDoZrodla(0, nullptr, 0), 0);
  ASSERT_EQ(d4go(Z5DANE.table, 1), 0);
  EXPECT_EQ(FieldText(Z5DANE.table, "ZAP"), "T");
}

// An entry of the income and expense book goes to the cash book with its
// texts joined and its postal code split off; the refused kinds write none.
TEST_F(PaymentsTest, BookEntryToTheCashBook) {
  ASSERT_EQ(OpenZ5DANE(2026, 0), 0);
  struct Case {
    const char *source, *status, *cash, *income, *expense;
    int mode;
    const char* box;
    bool written;
  } cases[] = {
      {"3", " ", "N", "300", "0", 1, "Dopisano do kasy.", true},
      {"3", " ", "N", "0", "45.50", 2, "Dopisano do kasy.", true},
      {"3", " ", "N", "100", "20", 1, "Przychody i rozchody rożne od zera.\nTakich zapisów kasa nie obsługuje.",
       false},
      {"4", " ", "N", "0", "80", 1, "Amortyzacji nie można zapisać w kasie.", false},
      {"1", " ", "T", "90", "0", 2, "Metoda kasowa.\nTego dokumentu nie można zapisać w kasie!", false},
      {"1", " ", "N", "90", "0", 1, "Dokument został zaksięgowany na podstawie: SPRZEDAŻ\nCzy na pewno chcesz "
                                    "płatność wpisać tutaj?", false},
      {"3", "A", "N", "90", "0", 1, "", false},
  };
  long written = 0;
  for (const Case& c : cases) {
    AppendRecord(Z5DANE.table, {{"ZRK", c.source}, {"ANU", c.status}, {"KAS", c.cash}, {"PSP", c.income},
                                {"INN", c.expense}, {"DAT", "20260305"}, {"NUM", "RK/7"}, {"OP1", "Zwrot "},
                                {"OP2", "kaucji"}, {"NA1", "Jan "}, {"NA2", "Nowak"}, {"MIA", "00-950 Warszawa"}});
    EXPECT_EQ(ZapisKsiegiDoKasy(c.mode), 0);
    std::string boxes = Boxes();
    EXPECT_EQ(boxes.substr(0, std::string(c.box).size()), c.box) << c.source << c.income;
    if (c.written) written++;
    ASSERT_EQ(OpenZ5KASA(0), 0);
    EXPECT_EQ(d4reccount(Z5KASA.table), written) << c.source << c.income;
    d4close(Z5KASA.table);
  }
  ASSERT_EQ(d4go(Z5KASA.table, 1), 0);
  EXPECT_EQ(FieldText(Z5KASA.table, "TYP"), "1");
  EXPECT_EQ(f4int(d4field(Z5KASA.table, "TYZ")), SOURCE_BOOK);
  EXPECT_EQ(f4long(d4field(Z5KASA.table, "REK")), 1);
  EXPECT_EQ(FieldText(Z5KASA.table, "DOK"), "RK/7");
  EXPECT_EQ(FieldText(Z5KASA.table, "TYT"), "Zwrotkaucji");
  EXPECT_EQ(FieldText(Z5KASA.table, "NA1"), "JanNowak");
  EXPECT_EQ(FieldText(Z5KASA.table, "KOP"), "00-950");
  EXPECT_EQ(FieldText(Z5KASA.table, "MIA"), "Warszawa");
  ASSERT_EQ(d4go(Z5KASA.table, 2), 0);
  EXPECT_EQ(FieldText(Z5KASA.table, "TYP"), "2");
  EXPECT_DOUBLE_EQ(f4double(d4field(Z5KASA.table, "KWO")), -45.5);
}

TEST_F(PaymentsTest, SplitPaymentMark) {
  struct Case {
    const char* kind;
    const char* corrected;
    const char* stv;
    const char* pka;
    int plain, withPit;
  } cases[] = {{"1", "0", "T", "N", 1, 0}, {"7", "0", "T", "T", 1, 1}, {"8", "0", "N", "T", 0, 0},
               {"3", "11", "T", "T", 1, 1}, {"3", "9", "T", "T", 0, 0}, {"9", "0", "T", "T", 0, 0}};
  for (const Case& c : cases) {
    Header({{"TYV", c.kind}, {"TYM", c.corrected}, {"STV", c.stv}, {"PKA", c.pka}});
    EXPECT_EQ(czy_podzielona_platnosc(0), c.plain) << c.kind << "/" << c.corrected;
    EXPECT_EQ(czy_podzielona_platnosc(1), c.withPit) << c.kind << "/" << c.corrected;
  }
}

TEST_F(PaymentsTest, CashMethodVatDateOfAPaidDocument) {
  salesOptions.cashVat = 'T';
  Header({{"TYV", "1"}, {"REC", "1"}, {"ZAP", "T"}, {"DAW", "20260301"}, {"DAV", "20260320"}});
  Line({{"REK", "1"}, {"DAV", "20260320"}});
  Line({{"REK", "2"}, {"DAV", "20260320"}});
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  KorygujDateVatPlatnosci("20260228", 0);   // before the issue date
  KorygujDateVatPlatnosci("20260325", 0);   // not before the VAT date
  EXPECT_EQ(FieldText(Z5SPRZ.table, "DAV"), "20260320");
  EXPECT_EQ(Boxes(), "");
  KorygujDateVatPlatnosci("20260310", 0);
  EXPECT_EQ(FieldText(Z5SPRZ.table, "DAV"), "20260310");
  EXPECT_EQ(Boxes(), "Skorygowano datę rozliczenia VAT !");
  ASSERT_EQ(d4go(Z5SPRE.table, 1), 0);
  EXPECT_EQ(FieldText(Z5SPRE.table, "DAV"), "20260310");
  ASSERT_EQ(d4go(Z5SPRE.table, 2), 0);
  EXPECT_EQ(FieldText(Z5SPRE.table, "DAV"), "20260320");
  // Not paid: nothing changes.
  SetFields(Z5SPRZ.table, {{"ZAP", "N"}});
  KorygujDateVatPlatnosci("20260305", 0);
  EXPECT_EQ(FieldText(Z5SPRZ.table, "DAV"), "20260310");
}

TEST_F(PaymentsTest, FinalInvoicesAreGuardedFrom2024) {
  struct Case {
    int year, kind, akt, result;
    const char* box;
  } cases[] = {
      {2023, 1, 1, 1, ""},
      {2026, 1, 1, 0, "To jest faktura końcowa.\nModyfikacje nie są wskazane.\n "},
      {2026, 7, 3, 0, "To jest faktura końcowa.\nModyfikacje nie są wskazane.\n "},
      {2026, 11, 1, 0, "Faktura ma fakturę końcową.\nModyfikacje nie są wskazane.\n "},
      {2026, 3, 1, 1, ""},
      {2026, 1, 2, 1, ""},
  };
  for (const Case& c : cases) {
    env->settlementYear = c.year;
    EXPECT_EQ(SprawdzFaktureKoncowa(c.kind, c.akt), c.result) << c.year << " " << c.kind << " " << c.akt;
    EXPECT_EQ(Boxes(), c.box) << c.year << " " << c.kind << " " << c.akt;
  }
}

TEST_F(PaymentsTest, InvoiceWithAkt2) {
  struct Case {
    const char *kind, *akt;
    int result;
  } cases[] = {{"1", "2", 1}, {"7", "2", 1}, {"1", "1", 0}, {"11", "2", 0}, {"3", "2", 0}};
  for (const Case& c : cases) {
    Header({{"TYV", c.kind}, {"AKT", c.akt}});
    EXPECT_EQ(CzyFakturaAkt2(), c.result) << c.kind << " " << c.akt;
  }
}

TEST_F(PaymentsTest, CashEntriesOfADocumentStayWithoutYes) {
  CashEntry({{"TYP", "1"}, {"TYZ", "1"}, {"ROK", "2026"}, {"REK", "1"}, {"KWO", "10"}});
  UsunZapisyKasy(SOURCE_SALES, 2026, 1);
  EXPECT_EQ(Boxes(), "Czy usunąć zapisy z kasy?");
  ASSERT_EQ(d4go(Z5KASA.table, 1), 0);
  EXPECT_FALSE(d4deleted(Z5KASA.table));
  UsunZapisyKasy(SOURCE_SALES, 2026, 2);   // no entries: no question
  EXPECT_EQ(Boxes(), "");
}

TEST_F(PaymentsTest, InterestDatesAfter1992) {
  struct Case {
    const char* date;
    int result;
    const char* box;
  } cases[] = {{"19930101", 0, ""}, {"19921231", -1, "Rok musi być większy od 1992 !"},
               {"        ", -1, nullptr}};
  for (const Case& c : cases) {
    std::string buffer = c.date;
    Get4 get{};
    get.type = GET_DATE;
    get.data = buffer.data();
    EXPECT_EQ(SprawdzDateOdsetek(&get), c.result) << c.date;
    std::string boxes = Boxes();
    if (c.box) {
      EXPECT_EQ(boxes, c.box) << c.date;
    }
  }
}

TEST_F(PaymentsTest, FirmBankAccounts) {
  ASSERT_EQ(OpenZ5PAWL(), 0);
  SetFields(Z5PAWL.table, {{"BAN1", "Bank Pierwszy"}, {"NRR3", "12 3456"}});
  Header({{"NA1", "zapasowy"}});
  DbField* fallback = d4field(Z5SPRZ.table, "NA1");
  EXPECT_EQ(std::string(bank_firmy(1, fallback)), std::string("Bank Pierwszy") + std::string(17, ' '));
  EXPECT_EQ(std::string(konto_bankowe_firmy(3, nullptr)), std::string("12 3456") + std::string(35, ' '));
  EXPECT_EQ(std::string(konto_bankowe_firmy(6, fallback)).substr(0, 9), "zapasowy ");
  EXPECT_EQ(std::string(bank_firmy(0, nullptr)), "");
}

}  // namespace
