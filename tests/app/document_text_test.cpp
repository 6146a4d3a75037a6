// Texts composed from documents, contractors and addresses, the print
// pieces of a page, the record filters and the amounts settled.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/document_print.h"
#include "app/document_text.h"
#include "app/settlement.h"
#include "env/code_pages.h"
#include "print/tabulogram.h"
#include "tests/app/record_fixture.h"
#include "tests/support/env_test.h"

namespace {

class DocumentTextTest : public EnvTest {
 protected:
  static std::string Utf8(const char* text) { return MazToUtf8Text(text); }
};

TEST_F(DocumentTextTest, DocumentNumbers) {
  EXPECT_STREQ(NrDokumentuQStr("FV", -1, 12, "2025", -1), "FV/12/2025");
  EXPECT_STREQ(NrDokumentuQStr("", -1, 12, "", -1), "12");
  EXPECT_STREQ(NrDokumentuQStr("  FV ", 5, 7, "   ", 3), "FV/7");
  EXPECT_STREQ(NrDokumentuQStr("FAKTURA", -1, 1, "2025/03/ABCDEF", -1), "FAKT/1/2025/03/A");
  EXPECT_STREQ(NrDokumentuQStr("   FV", -1, 3, nullptr, 0), "F/3") << "cut to 4 before the leading blanks go";
  EXPECT_STREQ(NrDokumentuQStr("FVXYZ", 2, 5, "25xx", 2), "FV/5/25");

  MemoryRecord record({{"PRE", 'C', 5, 0}, {"NUM", 'N', 6, 0}, {"SUF", 'C', 10, 0}});
  record.Set(0, "FV");
  record.SetNumber(1, 42);
  record.Set(2, "2025");
  EXPECT_STREQ(NrDokumentuFldQStr(record[0], record[1], record[2]), "FV/42/2025");
  EXPECT_STREQ(NrDokumentuStalyQStr(record[0], record[1], record[2]), "FV   /    42/2025      ");
  record.Set(0, "");
  record.Set(2, "");
  EXPECT_STREQ(NrDokumentuFldQStr(record[0], record[1], record[2]), "42");
  EXPECT_STREQ(NrDokumentuStalyQStr(record[0], record[1], record[2]), "          42           ");
}

TEST_F(DocumentTextTest, TextFittedToAReportColumn) {
  struct Case {
    const char* text;
    int width;
    const char* expected;
  };
  const Case cases[] = {
      {"ABC", 6, "   ABC"},
      {"  ABC   ", 6, "   ABC"},
      {"", 3, "   "},
      {"FV/12/2025", 10, "FV/12/2025"},
      {"AB CD EF", 7, "ABCD EF"},   // the last blank kept once the rest fits
      {"AB CD EF", 6, "ABCDEF"},
      {"AB CD EF", 5, "ABCDE"},
      {"AB    C", 5, "AB  C"},
      {"ABCDEFGH", 4, "ABCD"},
      {"12345678901234567890123456789012345678901234", 44, "   12345678901234567890123456789012345678901"},
  };
  for (const Case& c : cases) {
    TabuValue column{};
    column.width = c.width;
    char output[100];
    std::memset(output, '#', sizeof output);
    KolumnaTekstFit(c.text, &column, output);
    EXPECT_EQ(std::string(output, c.width), c.expected) << c.text << "/" << c.width;
    EXPECT_EQ(output[c.width], '#') << "nothing past the width";
  }
  TabuValue column{};
  column.width = 0x85;
  char output[4] = {'x', 'y', 'z', 'w'};
  KolumnaTekstFit("AB", &column, output);
  EXPECT_EQ(std::string(output, 4), "xyzw");
}

TEST_F(DocumentTextTest, DateReportColumn) {
  const std::pair<const char*, const char*> cases[] = {{"20250307", "07-03-2025"}, {"        ", "          "}};
  for (const auto& [stored, shown] : cases) {
    TabuValue value{};
    value.type = 'D';
    value.width = 8;
    std::memset(value.text, ' ', sizeof value.text);
    std::memcpy(value.text, stored, 8);
    DataKolumnaQStr(&value);
    EXPECT_EQ(value.type, 'C');
    EXPECT_EQ(value.width, 10);
    EXPECT_EQ(std::string(value.text, 10), shown) << stored;
  }
}

TEST_F(DocumentTextTest, CleanedTexts) {
  EXPECT_STREQ(KontoGrupyQStr("61 1090 1014 0000 0712 1981 2874"),
               "61 1090 1014 0000 0712 1981 2874        ");
  EXPECT_STREQ(KontoGrupyQStr("61-1090-1014-0000-0712-1981-2874"),
               "61 1090 1014 0000 0712 1981 2874        ");
  EXPECT_STREQ(KontoGrupyQStr("PL61 1090 1014 0000 0712 1981 2874"),
               "PL61 1090 1014 0000 0712 1981 2874      ");
  EXPECT_STREQ(BezSpacjiMyslnikowQStr("PL 123-456-32-18"), "PL1234563218");
  EXPECT_STREQ(BezSpacjiMyslnikowQStr(std::string(50, '7').c_str()), std::string(40, '7').c_str());
  EXPECT_STREQ(NipQStr("123.456 32-18"), "1234563218");
  EXPECT_STREQ(NipQStr("1234567890 1234567890 99"), "12345678901234567890");
  EXPECT_STREQ(NazwaPlikuQStr("a\"b*c/d:e<f>g?h\\i|j k.txt"), "abcdefghij k.txt");
  MemoryRecord record({{"NIP", 'C', 20, 0}});
  record.Set(0, "PL-526-10-00-645");
  EXPECT_STREQ(NipFldQStr(record[0]), "PL5261000645");
}

TEST_F(DocumentTextTest, QuartersAndRates) {
  EXPECT_EQ(Utf8(KwartalQStr(1)), "I kwartał");
  EXPECT_EQ(Utf8(KwartalQStr(3)), "III kwartał");
  EXPECT_EQ(Utf8(KwartalQStr(4)), "IV kwartał");
  EXPECT_EQ(Utf8(KwartalQStr(7)), "I kwartał");
  EXPECT_STREQ(KursQStr("EUR", 4.3215), "1 EUR = 4.3215 PLN");
  EXPECT_STREQ(KursQStr("USD", 4.0), "1 USD = 4 PLN");
  EXPECT_STREQ(KursQStr("JPY", 0.0271234567), "1 JPY = 0.027123 PLN");
}

TEST_F(DocumentTextTest, ContractorCodeAndName) {
  MemoryRecord record({{"KOD", 'C', 20, 0}, {"NAZ", 'C', 30, 0}});
  record.Set(1, "Hurtownia Zenon  ");
  record.Set(0, "  X");
  EXPECT_STREQ(KodNazwaKontrahentaQStr(record[0], record[1]), "Hurtownia Zenon");
  record.Set(0, "");
  EXPECT_STREQ(KodNazwaKontrahentaQStr(record[0], record[1]), "Hurtownia Zenon");
  record.Set(0, "ZEN01");
  EXPECT_STREQ(KodNazwaKontrahentaQStr(record[0], record[1]), "ZEN01 Hurtownia Zenon");
}

TEST_F(DocumentTextTest, Addresses) {
  MemoryRecord r({{"KOP", 'C', 6, 0}, {"POC", 'C', 20, 0}, {"MIA", 'C', 20, 0}, {"ULI", 'C', 20, 0},
                  {"DOM", 'C', 6, 0}, {"LOK", 'C', 6, 0}});
  auto set = [&](const char* postal, const char* office, const char* town, const char* street, const char* house,
                 const char* flat) {
    for (size_t i = 0; i < 6; i++) r.Set(i, (const char*[]){postal, office, town, street, house, flat}[i]);
  };
  set("00-950", "Warszawa", "Warszawa", "Prosta", "5", "");
  EXPECT_STREQ(AdresFldsQStr(r[0], r[1], r[2], r[3], r[4], r[5]), "00-950 Warszawa Prosta 5");
  set("05-090", "Raszyn", "Jaworowa", "Polna", "12", " 3 ");
  EXPECT_STREQ(AdresFldsQStr(r[0], r[1], r[2], r[3], r[4], r[5]), "05-090 Raszyn Jaworowa Polna 12/3");
  EXPECT_STREQ(AdresFldsQStr(r[0], r[1], r[2], nullptr, nullptr, nullptr), "05-090 Raszyn")
      << "the town gives way to the post office without a street";
  set("", "Raszyn", "Jaworowa", "Polna", "12", "");
  EXPECT_STREQ(AdresFldsQStr(r[0], r[1], r[2], r[3], r[4], r[5]), "Jaworowa Polna 12");
  set("", "", "Jaworowa", "Polna", "12", "");
  EXPECT_STREQ(AdresFldsQStr(r[0], r[1], r[2], r[3], r[4], r[5]), "Polna 12");
  set("05-090", "", "Raszyn", "", "", "");
  EXPECT_STREQ(AdresFldsQStr(r[0], nullptr, r[2], nullptr, nullptr, nullptr), "05-090 Raszyn");
}

TEST_F(DocumentTextTest, LastDayOfTheMonth) {
  EXPECT_STREQ(OstatniDzienQStr(2024, 2), "20240229");
  EXPECT_STREQ(OstatniDzienQStr(2023, 2), "20230228");
  EXPECT_STREQ(OstatniDzienQStr(1900, 2), "19000228");
  EXPECT_STREQ(OstatniDzienQStr(2025, 4), "20250430");
  EXPECT_STREQ(OstatniDzienQStr(2025, 12), "20251231");
}

TEST_F(DocumentTextTest, FiltersAndKeys) {
  MemoryRecord r({{"KOD", 'C', 6, 0}, {"TYP", 'N', 1, 0}, {"ZNA", 'C', 4, 0}});
  r.Set(0, "AB12CD");
  struct Case {
    const char* pattern;
    int result;
  } patterns[] = {{"AB", 45}, {"A?1", 45}, {"AB*", 45}, {"*", 45}, {"AC", 40}, {"ab", 40},
                  {"AB12CD", 45}, {"AB12CDE", 40}, {"????CD", 45}};
  for (const Case& c : patterns)
    EXPECT_EQ(WzorzecFiltr(r[0], c.pattern, static_cast<int>(std::strlen(c.pattern))), c.result) << c.pattern;
  r.SetNumber(1, 0);
  EXPECT_EQ(CyfraFiltr(r[1], '>'), 45);
  EXPECT_EQ(CyfraFiltr(r[1], '0'), 45);
  EXPECT_EQ(CyfraFiltr(r[1], '1'), 40);
  r.SetNumber(1, 3);
  EXPECT_EQ(CyfraFiltr(r[1], '3'), 45);
  r.Set(2, "NNTN");
  EXPECT_EQ(JestZnacznikT(r[2], 2), 0);
  EXPECT_EQ(JestZnacznikT(r[2], 3), 1);
  EXPECT_EQ(JestZnacznikT(r[2], 9), 1);
  EXPECT_STREQ(KluczTypRokRek(3, 2025, 17), " 32025    17");
  EXPECT_STREQ(KluczTypRokRek(12, 2025, 123456), "122025123456");
}

TEST_F(DocumentTextTest, PagePieces) {
  char line[16];
  std::memset(line, '.', sizeof line);
  NumerStronyQStr(line, 3, 0);
  EXPECT_EQ(std::string(line, 10), "str..03...");
  NumerStronyQStr(line, 12, 1);
  EXPECT_EQ(std::string(line, 10), "page.12...");

  MemoryRecord r({{"STA", 'C', 4, 0}, {"DAT", 'D', 8, 0}, {"N1", 'C', 10, 0}, {"N2", 'C', 10, 0}});
  r.Set(0, " 23%");
  struct Case {
    int code;
    const char* text;
  } rates[] = {{1, " 23%"}, {4, " zw."}, {7, " np."}, {10, " np."}, {11, " np."}, {3, " 23%"}};
  for (const Case& c : rates) {
    std::memset(line, '.', sizeof line);
    StawkaVatTekst(line, r[0], c.code);
    EXPECT_EQ(std::string(line, 5), std::string(c.text) + ".") << c.code;
  }

  r.Set(1, "20250915");
  EXPECT_EQ(Utf8(MiesiacRokQStr(r[1])), "Wrzesień 2025");
  r.Set(1, "20240101");
  EXPECT_EQ(Utf8(MiesiacRokQStr(r[1])), "Styczeń 2024");

  r.Set(2, "Kabel");
  EXPECT_EQ(LiczbaLiniiPozycji(r[2], r[3], nullptr, nullptr, nullptr, nullptr), 1);
  r.Set(3, "2 m");
  EXPECT_EQ(LiczbaLiniiPozycji(r[2], r[3], r[3], nullptr, nullptr, nullptr), 3);
}

TEST_F(DocumentTextTest, AmountsSettled) {
  struct Case {
    double due, paid;
    int settled;
  } cases[] = {
      {100, 99.999999, 0}, {100, 100.0000004, 1}, {100, 100, 1}, {100, 150, 1}, {100, 0, 0},
      {0, 0, 1},           {0, -5, 1},            {-50, -50, 1}, {-50, -60, 1}, {-50, -49.99, 0},
      {0.0000004, 0, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(KwotyRozliczone(c.due, c.paid), c.settled) << c.due << " / " << c.paid;
}

}  // namespace
