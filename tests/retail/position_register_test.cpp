// The receipt position register: its filters with the joins of receipt and
// buyer, the description of the confirmed filters, the VAT filter through
// the receipt rate menu, and the deletion of a position.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "db/db_scan.h"
#include "retail/position_register.h"
#include "tests/retail/receipt_fixture.h"
#include "ui/filters.h"

namespace {

using namespace retail;

class PositionRegisterTest : public ReceiptTest {
 protected:
  void SetUp() override {
    ReceiptTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(OpenZ5PARO(0), 0);
    context = new kontekst_ewidencji_paragonow{};
    kontekstEwidencjiParagonow = context;
    definiuj_filtry_ewidencji_paragonow(context);
  }
  void TearDown() override {
    FreeFilters(&context->filtry);
    kontekstEwidencjiParagonow = nullptr;
    delete context;
    ReceiptTest::TearDown();
  }
  FilterItem* Item(int index) { return context->elementy[index]; }
  void Date(int index, const char* date) {
    std::memcpy(Item(index)->date, date, 8);
    Item(index)->active = 1;
    context->filtry.off = 0;
  }
  void Text(int index, const std::string& text) {
    std::string value = text;
    value.resize(static_cast<size_t>(Item(index)->length), ' ');
    std::memcpy(Item(index)->text, value.data(), value.size());
    Item(index)->active = 1;
    context->filtry.off = 0;
  }
  // The filter's answer for the position at `record`.
  int Passes(long record) {
    d4go(Z5PARE.table, record);
    return filtr_ewidencji_paragonow(0);
  }
  std::string Description() {
    char text[256];
    opis_filtrow_ewidencji(text, sizeof text);
    return text;
  }
  kontekst_ewidencji_paragonow* context = nullptr;
};

TEST_F(PositionRegisterTest, EitherDateBoundRejectsABlankDate) {
  Header(1, {});
  Position(1, {{"DAV", "20261210"}});
  Position(1, {{"DAV", ""}});
  struct Case {
    int item;
    const char* date;
    int dated, blank;
  };
  const Case cases[] = {
      {FP_OD_DNIA, "20261201", X4_ACCEPT, X4_REJECT},
      {FP_OD_DNIA, "20261211", X4_REJECT, X4_REJECT},
      {FP_DO_DNIA, "20261231", X4_ACCEPT, X4_REJECT},
      {FP_DO_DNIA, "20261209", X4_REJECT, X4_REJECT},
  };
  for (const Case& c : cases) {
    definiuj_filtry_ewidencji_paragonow(context);
    Date(c.item, c.date);
    EXPECT_EQ(Passes(1), c.dated) << c.item << " " << c.date;
    EXPECT_EQ(Passes(2), c.blank) << c.item << " " << c.date;
  }
  EXPECT_EQ(Description(), " do:09-12/26");
}

TEST_F(PositionRegisterTest, VatFilterThroughTheReceiptRateMenuTakesOnlyMarginPositions) {
  Header(1, {});
  Position(1, {{"VAT", "14"}});
  Position(1, {{"VAT", "3"}});
  // The sixth item "stawka VAT....." (no accounts open), the seventh menu item.
  ASSERT_EQ(HeadlessSetScript("{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{ENTER}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{DOWN}{F9}{ENTER}"
                              "{F9}{F2}"),
            0);
  EXPECT_EQ(filtry_ewidencji_paragonow(), 1);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_NE(seen.find("Wybierz stawkę VAT"), std::string::npos) << seen;
  EXPECT_NE(seen.find("7. ZEROWA (marża)"), std::string::npos) << seen;
  EXPECT_EQ(Passes(1), X4_ACCEPT);
  EXPECT_EQ(Passes(2), X4_REJECT);
  EXPECT_EQ(MazToUtf8Text(Description().c_str()), " VAT: ZEROWA (marża)");

  // Esc in the window keeps the confirmed filter and says it was not confirmed.
  ASSERT_EQ(HeadlessSetScript("{ESC}"), 0);
  EXPECT_EQ(filtry_ewidencji_paragonow(), 0);
  EXPECT_EQ(Passes(2), X4_REJECT);
}

TEST_F(PositionRegisterTest, BuyerFilterComparesTheBuyerOfThePositionsReceipt) {
  Header(7, {});
  Header(8, {});
  AppendNamed(Z5PARO, {{"REK", "7"}, {"KNA", "KOWALSKI"}});
  ASSERT_EQ(d4write(Z5PARO.table, d4recno(Z5PARO.table)), 0);
  Position(7, {});
  Position(8, {});
  Text(FP_NABYWCA, "KOWALSKI");
  EXPECT_EQ(Passes(1), X4_ACCEPT);
  // A receipt without a buyer record is compared with a blank one.
  EXPECT_EQ(Passes(2), X4_REJECT);
  Text(FP_PREFIKS, "  PA");
  EXPECT_EQ(Description(), " id. nr:  PA kod kontr:KOWALSKI");
}

TEST_F(PositionRegisterTest, APositionIsDeletedOnlyWhenItsReceiptIsGone) {
  // Identifiers differ from record numbers: the receipt is found by REC.
  Header(5, {});
  Header(9, {});
  GoHeader(9);
  d4delete(Z5PARA.table);
  Position(5, {});   // of the live receipt in record 1
  Position(1, {});   // no receipt 1, though record 1 exists
  Position(9, {});   // of the deleted receipt
  d4go(Z5PARE.table, 2);
  EXPECT_EQ(usun_pozycje_ewidencji(), 0);
  d4go(Z5PARE.table, 3);
  EXPECT_EQ(usun_pozycje_ewidencji(), 0);
  ASSERT_EQ(HeadlessSetScript("{F9}{ENTER}"), 0);
  d4go(Z5PARE.table, 1);
  EXPECT_EQ(usun_pozycje_ewidencji(), -1);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_NE(seen.find("Pozycję można usunąć tylko poprzez ewidencję dokumentów !"), std::string::npos) << seen;
}

}  // namespace
