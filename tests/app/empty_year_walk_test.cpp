// Walks every action of the registers' and catalogues' bars and pull-downs
// over an empty list: a fresh firm whose working year holds no document and
// whose catalogues hold nothing. An action that wants a current record must
// refuse with " Brak pozycji !" and change nothing; none may reach the engine
// with a record that is not there (an "ERRCODE" in the error log), and each
// must leave the grid as it found it. A few browses a test.
//
// Not walked, as in the other walks: the fiscal printer's commands and the
// print dialogs past their first window; nor Magazyn > Towary > Szukaj >
// Znacznik, which only turns the list to the marked goods.
#include <gtest/gtest.h>

#include "tests/app/screen_walk.h"

namespace {

using namespace walk;

using EmptyYearWalkTest = ScreenWalkTest;

// " Drukuj " > " Dokument " and " Duplikat " once read the missing first
// document and logged an engine error; " WZ " once did nothing at all.
TEST_F(EmptyYearWalkTest, SalesRegisterPrintAndModify) {
  Walk(Letters("s{ENTER}sr", "dutwkz", "duwkz"));
  Walk(Letters("s{ENTER}sm", "opnutk", "opnutk"));
}

TEST_F(EmptyYearWalkTest, SalesRegisterBarAndSearches) {
  Walk(BarItems({{"s{ENTER}s", 10, {}, {}, {7}}}));
  Walk(Letters("s{ENTER}ss", "dnr"));
  Walk(Letters("s{ENTER}ssb", "pwn"));
}

TEST_F(EmptyYearWalkTest, AuxiliaryRegisterPrintAndModify) {
  Walk(Letters("s{ENTER}pr", "dutwk", "duwk"));
  Walk(Letters("s{ENTER}pm", "opnutk", "opnutk"));
}

TEST_F(EmptyYearWalkTest, AuxiliaryRegisterBarAndSearches) {
  Walk(BarItems({{"s{ENTER}p", 9, {}, {}, {6}}}));
  Walk(Letters("s{ENTER}ps", "dnr"));
  Walk(Letters("s{ENTER}psb", "pwn"));
}

// Both registers' " Menu ".
TEST_F(EmptyYearWalkTest, SalesRegistersMenus) {
  Walk(Letters("s{ENTER}se", "eoxikpvj", "kp"));
  Walk(Letters("s{ENTER}pe", "eoxikpvj", "kp"));
}

TEST_F(EmptyYearWalkTest, CashBookAndSettlements) {
  Walk(BarItems({{"s{ENTER}kk", 10, {}, {}, {3, 4}}, {"s{ENTER}kr", 5, {}, {}, {0, 2}}}));
  Walk(Letters("s{ENTER}kkr", "dst", "ds"));
  Walk(Letters("s{ENTER}krr", "st", "s"));
}

TEST_F(EmptyYearWalkTest, AccountsContractorsAndDescriptions) {
  Walk(BarItems({{"s{ENTER}kn", 4, {0}, {}, {1, 3}},
                 {"s{ENTER}kh", 6, {0}, {}, {1, 5}},
                 {"s{ENTER}ko", 3, {0}, {}, {1, 2}},
                 {"s{ENTER}ke", 1, {0}, {}}}));
  Walk(Letters("s{ENTER}khs", "nk"));
}

TEST_F(EmptyYearWalkTest, CurrencyRatesAndInterest) {
  Walk(BarItems({{"s{ENTER}ky", 5, {0}, {}, {1, 3}},
                 {"s{ENTER}kdu", 3, {0}, {}, {1, 2}},
                 {"s{ENTER}kdd", 3, {0}, {}, {1, 2}}}));
}

// " Suma " shows nothing over no orders and " Kasuj " has no mark to clear.
TEST_F(EmptyYearWalkTest, TransferOrders) {
  Walk(BarItems({{"s{ENTER}kp", 10, {0}, {6, 8}, {1, 3, 7}}}));
  Walk({{"s{ENTER}kp", BarItem(6), "", {}, true}, {"s{ENTER}kp", BarItem(8), "", {}, true}});
  Walk(Letters("s{ENTER}kpr", "wjt", "wj"));
  Walk(Letters("s{ENTER}kps", "dto"));
}

TEST_F(EmptyYearWalkTest, WarehouseIssues) {
  Walk(BarItems({{"s{ENTER}mw", 9, {}, {}, {3}}}));
  Walk(Letters("s{ENTER}mwr", "dt", "d"));
  Walk(Letters("s{ENTER}mwm", "opn", "opn"));
}

TEST_F(EmptyYearWalkTest, WarehouseReceipts) {
  Walk(BarItems({{"s{ENTER}mp", 9, {}, {}, {3}}}));
  Walk(Letters("s{ENTER}mpr", "dt", "d"));
  Walk(Letters("s{ENTER}mpm", "opn", "opn"));
  Walk(Letters("s{ENTER}mps", "dn"));
  Walk(Letters("s{ENTER}mpsb", "pw"));
}

TEST_F(EmptyYearWalkTest, WarehouseLineRegister) {
  Walk(BarItems({{"s{ENTER}mwe", 5, {}, {}, {3}}}));
  Walk(Letters("s{ENTER}mwer", "to"));
}

TEST_F(EmptyYearWalkTest, Goods) {
  Walk(BarItems({{"s{ENTER}mt", 9, {0}, {}}}));
  Walk(Letters("s{ENTER}mtm", "prl", "p"));
  Walk(Letters("s{ENTER}mtmu", "pz", "p"));
  Walk(Letters("s{ENTER}mts", "kn"));
  Walk(Letters("s{ENTER}mtr", "gts"));
}

// " Kasa " with no cash register configured.
TEST_F(EmptyYearWalkTest, GoodsCashRegisterAndCollector) {
  Walk(Letters("s{ENTER}mtk", "crzwuo"));
  Walk(Letters("s{ENTER}mto", "za", "za"));
}

TEST_F(EmptyYearWalkTest, Services) {
  Walk(BarItems({{"s{ENTER}mu", 8, {0}, {}, {1}}}));
  Walk(Letters("s{ENTER}muu", "pz", "p"));
  Walk(Letters("s{ENTER}mus", "kn"));
  Walk(Letters("s{ENTER}mur", "gt"));
}

// The receipt register, entered past the box that no fiscal printer answers.
TEST_F(EmptyYearWalkTest, Receipts) {
  Walk(BarItems({{"s{ENTER}dp{ENTER}", 9, {}, {}, {2}}}));
  Walk(Letters("s{ENTER}dp{ENTER}r", "dt", "dt"));
  Walk(Letters("s{ENTER}dp{ENTER}m", "p", "p"));
  Walk(Letters("s{ENTER}dp{ENTER}mo", "pf", "pf"));
  Walk(Letters("s{ENTER}dp{ENTER}mn", "pf", "pf"));
  Walk(Letters("s{ENTER}dp{ENTER}mu", "pf", "pf"));
}

// The receipt lines' register, the receipt register's " Ewidencja ".
TEST_F(EmptyYearWalkTest, ReceiptLines) {
  Walk(BarItems({{"s{ENTER}dp{ENTER}e", 6, {}, {}}}));
  Walk(Letters("s{ENTER}dp{ENTER}er", "rpko"));
}

}  // namespace
