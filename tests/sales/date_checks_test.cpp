// The issue, sale and VAT dates of a header: the validators and the derived
// VAT date.
#include <gtest/gtest.h>

#include <string>

#include "sales/date_checks.h"
#include "tests/sales/sales_fixture.h"
#include "ui/get4.h"

namespace {

class DateChecksTest : public SalesTest {
 protected:
  int Validate(GetValidator validator, const char* date) {
    std::string buffer = date;
    Get4 get{};
    get.type = GET_DATE;
    get.data = buffer.data();
    return validator(&get);
  }
  std::string Date(const char* name) { return FieldText(Z5SPRZ.table, name); }
};

TEST_F(DateChecksTest, IntraEuSupplyLimitIsThe15thOfTheNextMonth) {
  Header({{"TYV", "1"}, {"STM", "2"}, {"DAW", "20251210"}, {"DAS", "20251210"}});
  EXPECT_EQ(sprawdz_date_vat("20260115"), 0);
  EXPECT_EQ(Boxes(), "");
  EXPECT_EQ(sprawdz_date_vat("20260116"), -1);
  EXPECT_EQ(Boxes(), "Data VAT nie może być większa niż 15.01.2026 !.");
  // A date before the issue date only warns; the limit is not tested then.
  EXPECT_EQ(sprawdz_date_vat("20251209"), 0);
  EXPECT_EQ(Boxes(), "Data VAT mniejsza od daty wystawienia !");
}

TEST_F(DateChecksTest, VatDateRules) {
  struct Case {
    const char* kind;
    const char* delivery;
    const char* vat;
    int result;
    const char* box;
  } cases[] = {
      {"1", "1", "20261210", 0, ""},
      {"1", "1", "        ", 0, ""},
      {"1", "1", "20261215", 0, "Data VAT nie powinna być większa od daty sprzedaży !"},
      {"3", "4", "20261211", -1, "Data rozliczenia VAT nie może być większa od daty wystawienia."},
      {"3", "4", "20261201", 0, ""},   // an OSS correction may go back
      {"3", "2", "20270301", 0, ""},   // corrections have no intra-EU limit
  };
  Header({{"DAW", "20261210"}, {"DAS", "20261210"}});
  for (const Case& c : cases) {
    SetFields(Z5SPRZ.table, {{"TYV", c.kind}, {"STM", c.delivery}});
    EXPECT_EQ(sprawdz_date_vat(c.vat), c.result) << c.kind << " " << c.vat;
    EXPECT_EQ(Boxes(), c.box) << c.kind << " " << c.vat;
  }
}

TEST_F(DateChecksTest, SmallTaxpayerCashMethod) {
  salesOptions.cashVat = 'T';
  Header({{"TYV", "7"}, {"STM", "1"}, {"RE3", "N"}, {"DAW", "20260301"}, {"DAS", "20260301"}});
  EXPECT_EQ(ustal_date_vat(), 0);
  EXPECT_EQ(Date("DAV"), "20260827");   // 179 days after the sale
  EXPECT_EQ(Validate(waliduj_date_vat, "20260827"), 0);
  EXPECT_EQ(Validate(waliduj_date_vat, "20260828"), -1);
  EXPECT_EQ(Boxes(), "Data VAT większa od 180 dnia od daty sprzedaży !");
  // A buyer paying VAT: no date until the payment, and no limit.
  SetFields(Z5SPRZ.table, {{"RE3", "T"}});
  ustal_date_vat();
  EXPECT_EQ(Date("DAV"), "");
  EXPECT_EQ(Validate(waliduj_date_vat, "20261231"), 0);
}

TEST_F(DateChecksTest, DerivedVatDate) {
  struct Case {
    const char* kind;
    const char* delivery;
    char cashVat;
    const char* vat;
  } cases[] = {
      {"1", "1", 'N', "20260305"}, {"1", "2", 'N', "20260301"}, {"3", "1", 'N', "20260301"},
      {"1", "3", 'T', "20260305"}, {"1", "4", 'T', "20260301"}, {"1", "5", 'T', "20260101"},
  };
  Header({{"DAW", "20260301"}, {"DAS", "20260305"}});
  for (const Case& c : cases) {
    salesOptions.cashVat = c.cashVat;
    SetFields(Z5SPRZ.table, {{"TYV", c.kind}, {"STM", c.delivery}, {"DAV", "20260101"}});
    ustal_date_vat();
    EXPECT_EQ(Date("DAV"), c.vat) << c.kind << c.delivery << c.cashVat;
  }
}

TEST_F(DateChecksTest, IssueAndSaleDatesOfTheWorkingYear) {
  Header({{"TYV", "1"}, {"STM", "1"}, {"DAW", "20261201"}, {"DAS", "20261201"}});
  EXPECT_EQ(Validate(waliduj_date_wystawienia, "20270102"), 1);
  EXPECT_EQ(Boxes(), "Rok różny od rozrachunkowego!");
  EXPECT_EQ(Date("DAW"), "20261201");
  EXPECT_EQ(Validate(waliduj_date_sprzedazy, "20270102"), 0);
  EXPECT_EQ(Boxes(), "Rok różny od rozrachunkowego!");
  EXPECT_EQ(Date("DAS"), "20270102");
  EXPECT_EQ(Date("DAV"), "20270102");
  EXPECT_EQ(Validate(waliduj_date_wystawienia, "        "), 1);
  Boxes();
  // A new document's issue date carries the sale date and the next document's default.
  EXPECT_EQ(Validate(waliduj_date_wystawienia, "20261215"), 0);
  EXPECT_EQ(Date("DAS"), "20261215");
  EXPECT_EQ(std::string(context.workingDate, 8), "20261215");
}

}  // namespace
