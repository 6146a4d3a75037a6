// The own firm's accounts by number, the tax micro-account and its IBAN
// check digits.
#include <gtest/gtest.h>

#include <string>

#include "db/dbf_table.h"
#include "jpk/bank_accounts.h"
#include "tests/jpk/jpk_fixture.h"

namespace {

using BankAccountsTest = JpkTest;

TEST_F(BankAccountsTest, AccountByNumberWithFallback) {
  SetFields(Z5PAWL.table, {{"NRR1", "11 1111"}, {"NRR3", "33 3333"}, {"BAN3", "Bank Trzeci"}, {"BAN5", "Bank Piąty"}});
  DbField* fallback = d4field(Z5PAWL.table, "NA1");
  auto padded = [](const char* field) {
    DbField* f = d4field(Z5PAWL.table, field);
    return std::string(f4ptr(f), static_cast<size_t>(f4len(f)));
  };
  struct Case {
    int number;
    bool withFallback;
    bool bank;
    const char* field;   // the field whose full width is given; NULL an empty text
  } cases[] = {
      {3, false, false, "NRR3"}, {1, true, false, "NRR1"}, {0, true, false, "NA1"}, {6, true, false, "NA1"},
      {0, false, false, nullptr}, {3, true, true, "BAN3"}, {5, false, true, "BAN5"}, {6, false, true, nullptr},
  };
  for (const Case& c : cases) {
    DbField* f = c.withFallback ? fallback : nullptr;
    std::string text = c.bank ? bank_firmy(c.number, f) : konto_bankowe_firmy(c.number, f);
    EXPECT_EQ(text, c.field ? padded(c.field) : "") << c.number << (c.bank ? " bank" : " account");
  }
  // Trailing blanks are kept.
  std::string third = konto_bankowe_firmy(3, nullptr);
  EXPECT_EQ(third.substr(0, 8), "33 3333 ");
  EXPECT_EQ(third.size(), 42u);
}

TEST_F(BankAccountsTest, IbanCheckDigits) {
  struct Case {
    const char* digits;
    int expected;
  } cases[] = {
      {"109010140000071219812874", 61},
      {"101000712222123456321800", 88},
      {"10901014000007121981287", IBAN_BAD_DIGITS},     // 23 digits
      {"1090101400000712198128745", IBAN_BAD_DIGITS},   // 25 digits
      {"10901014000007121981287A", IBAN_BAD_DIGITS},
      {"", IBAN_BAD_DIGITS},
  };
  for (const Case& c : cases) EXPECT_EQ(cyfry_kontrolne_iban(c.digits), c.expected) << c.digits;
  EXPECT_EQ(cyfry_kontrolne_iban(nullptr), IBAN_BAD_DIGITS);
}

TEST_F(BankAccountsTest, TaxMicroAccount) {
  struct Case {
    const char* identifier;
    const char* expected;
  } cases[] = {
      {"1234563218", "88 1010 0071 2222 1234 5632 1800"},
      {"90010100009", "48 1010 0071 2221 9001 0100 0090"},
      {"123456789", ""},
      {"123456789012", ""},
      {"", ""},
      {"12345632A8", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(std::string(mikrorachunek_podatkowy(c.identifier)), c.expected) << c.identifier;
}

}  // namespace
