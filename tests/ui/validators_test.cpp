// Get validators and the IBAN / NRB account check.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "env/code_pages.h"
#include "env/session/environment.h"
#include "tests/ui/ui_fixture.h"
#include "ui/get4.h"
#include "ui/validators.h"

namespace {

class ValidatorTest : public EnvUiTest {
 protected:
  // The one box shown since the last call, as "kind|title|text" in UTF-8; "" when none.
  std::string Box() {
    std::string out;
    if (screen.shown.size() == 1) {
      const auto& s = screen.shown[0];
      out = std::to_string(s.kind) + "|" + MazToUtf8Text(s.title.c_str()) + "|" + MazToUtf8Text(s.text.c_str());
    } else if (!screen.shown.empty()) {
      out = "more than one box";
    }
    screen.shown.clear();
    return out;
  }
};

// Runs a validator on a get over `data`, as the field editor does when the operator leaves it.
int Validate(GetValidator validator, const void* data, int width = 0) {
  Get4 get{};
  get.data = const_cast<void*>(data);
  get.dataWidth = width;
  return validator(&get);
}

const std::string kWarning = std::to_string(SCREEN_BOX_WARNING) + "||";
const std::string kAlarm = std::to_string(SCREEN_BOX_ALARM) + "||";
const std::string kBadDate = std::to_string(SCREEN_BOX_ERROR) + "|Nielegalna data !|";

TEST_F(ValidatorTest, Dates) {
  struct Case {
    const char* date;
    int any, anyResult;
    std::string anyBox;
    int notBlankResult;
    std::string notBlankBox;
  } cases[] = {
      {"20240229", 0, 0, "", 0, ""},
      {"20261231", 0, 0, "", 0, ""},
      {"        ", 0, 0, "", -1, kAlarm + "Pole nie może być puste."},
      {"20230229", 0, -1, kBadDate + "29-02/23", -1, kBadDate + "29-02/23"},
      {"20241301", 0, -1, kBadDate + "01-13/24", -1, kBadDate + "01-13/24"},
      {"20240100", 0, -1, kBadDate + "00-01/24", -1, kBadDate + "00-01/24"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Validate(test_daty, c.date, 8), c.anyResult) << c.date;
    EXPECT_EQ(Box(), c.anyBox) << c.date;
    EXPECT_EQ(Validate(test_daty_niepustej, c.date, 8), c.notBlankResult) << c.date;
    EXPECT_EQ(Box(), c.notBlankBox) << c.date;
  }
}

TEST_F(ValidatorTest, RequiredTextReturnsOneWhenBlank) {
  EXPECT_EQ(Validate(valid_empty_get, "   x  ", 6), 0);
  EXPECT_EQ(Box(), "");
  EXPECT_EQ(Validate(valid_empty_get, "      x", 6), 1) << "only the width counts";
  EXPECT_EQ(Box(), kWarning + "Pole nie może być puste.");
  char zeros[4] = {0, 0, 0, 0};
  EXPECT_EQ(Validate(valid_empty_get, zeros, 4), 1);
  EXPECT_EQ(Box(), kWarning + "Pole nie może być puste.");
}

TEST_F(ValidatorTest, Amounts) {
  struct Case {
    const char* text;
    int width;
    int positive, nonNegative;
  } cases[] = {
      {"   12.50", 8, 0, 0},   {"    0.01", 8, 0, 0},  {"    0.00", 8, -1, 0}, {"        ", 8, -1, 0},
      {"   -0.01", 8, -1, -1}, {"  -15   ", 8, -1, -1}, {"  0.00 5", 6, -1, 0},  {"  0.00-5", 6, -1, 0},
  };
  const std::string above = kWarning + "Wartość musi być większa od zera.";
  const std::string notBelow = kWarning + "Wartość nie może być mniejsza od zera.";
  for (const Case& c : cases) {
    EXPECT_EQ(Validate(valid_wart_dodat, c.text, c.width), c.positive) << c.text;
    EXPECT_EQ(Box(), c.positive ? above : "") << c.text;
    EXPECT_EQ(Validate(valid_wart_nieujemna, c.text, c.width), c.nonNegative) << c.text;
    EXPECT_EQ(Box(), c.nonNegative ? notBelow : "") << c.text;
  }
}

TEST_F(ValidatorTest, MonthsQuartersAndPages) {
  for (int32_t month : {1, 6, 12}) EXPECT_EQ(Validate(valid_int_month, &month), 0);
  EXPECT_EQ(Box(), "");
  for (int32_t month : {0, 13, -1}) {
    EXPECT_EQ(Validate(valid_int_month, &month), -1);
    EXPECT_EQ(Box(), kWarning + "Nielegalny miesiąc !");
  }
  for (int32_t quarter : {1, 4}) EXPECT_EQ(Validate(valid_int_kwartal, &quarter), 0);
  EXPECT_EQ(Box(), "");
  for (int32_t quarter : {0, 5}) {
    EXPECT_EQ(Validate(valid_int_kwartal, &quarter), -1);
    EXPECT_EQ(Box(), kWarning + "Nielegalny kwartał !");
  }
  EXPECT_EQ(CheckPageNumber(1, 3), 0);
  EXPECT_EQ(CheckPageNumber(3, 3), 0);
  EXPECT_EQ(Box(), "");
  for (int page : {0, 4}) {
    EXPECT_EQ(CheckPageNumber(page, 3), -1);
    EXPECT_EQ(Box(), kWarning + "Błąd numeru strony.");
  }
}

// MOD 97 of an IBAN computed the textbook way, independently of the library:
// the first four characters moved to the end, letters as 10..35, the whole
// number in 128 bits (at most 38 digits fit).
int IbanRemainder(const std::string& iban) {
  std::string moved = iban.substr(4) + iban.substr(0, 4);
  unsigned __int128 value = 0;
  for (char c : moved) {
    int v = c >= 'A' && c <= 'Z' ? c - 'A' + 10 : c - '0';
    value = value * (v >= 10 ? 100 : 10) + v;
  }
  return static_cast<int>(value % 97);
}

// Published example accounts: the Polish and German examples of the IBAN
// registry and further Polish accounts from bank documents.
const char* const kIbans[] = {
    "PL61109010140000071219812874",
    "PL27114020040000300201355387",
    "PL10105000997603123456789123",
    "DE89370400440532013000",
};

TEST(BankAccount, PublishedExamplesPass) {
  for (const char* iban : kIbans) {
    ASSERT_EQ(IbanRemainder(iban), 1) << iban << " is not a valid example";
    EXPECT_EQ(CheckBankAccount(iban, 0), 1) << iban;
    if (std::strncmp(iban, "PL", 2) == 0) {
      std::string nrb = iban + 2;
      EXPECT_EQ(CheckBankAccount(nrb.c_str(), 1), 1) << nrb;
      EXPECT_EQ(CheckBankAccount((nrb + "      ").c_str(), 1), 1) << "trailing blanks";
    }
  }
}

TEST(BankAccount, AnyChangedDigitFails) {
  for (const char* iban : kIbans) {
    std::string text = iban;
    for (size_t i = 2; i < text.size(); i++) {
      std::string changed = text;
      changed[i] = static_cast<char>('0' + (changed[i] - '0' + 1) % 10);
      ASSERT_NE(IbanRemainder(changed), 1);
      EXPECT_EQ(CheckBankAccount(changed.c_str(), 0), 0) << changed;
      if (text[0] == 'P') {
        EXPECT_EQ(CheckBankAccount(changed.c_str() + 2, 1), 0) << changed;
      }
    }
  }
}

TEST(BankAccount, MalformedNumbersFail) {
  const char* ibans[] = {
      "pl61109010140000071219812874",   // country letters count only in upper case
      "PL6110901014000007121981287",    // a digit short: another number
      "PL61 1090 1014 0000 0712 1981 2874",
      "PL61109010140000071219812874X",
      "PL",
      "",
      "1261109010140000071219812874",
  };
  for (const char* iban : ibans) EXPECT_EQ(CheckBankAccount(iban, 0), 0) << iban;
  const char* nrbs[] = {
      "6110901014000007121981287",      // 25 digits
      "611090101400000712198128740",    // 27 digits
      "61109010140000071219812 74",
      "PL61109010140000071219812874",
      "",
  };
  for (const char* nrb : nrbs) EXPECT_EQ(CheckBankAccount(nrb, 1), 0) << nrb;
  EXPECT_EQ(CheckBankAccount(nullptr, 1), 0);
}

}  // namespace
