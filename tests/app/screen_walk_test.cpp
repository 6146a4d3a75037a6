// Walks the real program, headless, through the items of the main menu tree
// and of the modules' browse menus that open a window, form, menu or box, on
// a firm with a record or two in its tables: each item is opened from the
// screen an operator sees, its form's labels must stand on the grid, and
// after leaving it with Esc (answering its question) the grid must be the
// one before.
//
// Not walked, and why:
// - START > Detal > Drukarki > Funkcje and the receipt module's fiscal
//   commands: they talk to a fiscal printer on a serial port.
// - Administrator > EKSPORT and IMPORT past their first window: they write
//   and read files of the bookkeeping program.
// - Administrator > Archiwum past its window: writing and restoring archives
//   runs the archiver over the firm's files.
// - " Drukuj " items past the print dialog: printing leaves the screen it
//   was started from and sends a job (the page viewer is walked instead).
// - Kartoteki > Przelewy's " Ustaw " and " Kasuj ": they open nothing, but
//   turn print marks over (checked on their own).
// - Pomoc's pages and the notes (Shift+F2) beyond the first page: the help
//   viewer and the notes editor are walked on their first page only.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/app/screen_walk.h"

namespace {

using namespace walk;

// The main menu and its frame windows.
TEST_F(ScreenWalkTest, MainMenu) {
  Walk({
      {"", "o", "{ESC}{ESC}", {"Rok rozrachunkowy", "Czy wyłączyć funkcję StretchBlt?"}},
      // No operator yet: the blank record shows no name.
      {"", "h", "{ESC}", {"╠Nazwa użytkownika ......                                                      ╣"}},
      {"", "k", "{ESC}", {}},
      {"", "p", "{ESC}", {}},
      {"", "{SHIFT+F2}", "{ESC}{ESC}", {"Notes - ogólny"}},
      {"", "s", "{ESC}", {}},
  });
}

// START's bar and its pull-downs but Kartoteki's (below).
TEST_F(ScreenWalkTest, StartMenuTree) {
  Walk({
      {"s{ENTER}", "s", "{ESC}", {"Dokumenty sprzedaży 2025", "brutto.........:", "VAT........:"}},
      {"s{ENTER}", "p", "{ESC}", {}},
      {"s{ENTER}m", "w", "{ESC}", {}},
      {"s{ENTER}m", "p", "{ESC}", {}},
      {"s{ENTER}m", "t", "{ESC}", {"brutto  VAT z."}},
      {"s{ENTER}m", "u", "{ESC}", {}},
      {"s{ENTER}m", "o", "{ESC}{ESC}", {}},
      {"s{ENTER}d", "p", "{ESC}{ESC}", {}},
      {"s{ENTER}d", "o", "{ESC}{ESC}", {"OPCJE paragonów"}},
      {"s{ENTER}dd", "o", "{ESC}", {}},
      {"s{ENTER}a", "p", "{ESC}{ESC}", {"kod pocztowy", "poczta"}},
      {"s{ENTER}a", "s", "{ESC}", {}},
      {"s{ENTER}aa", "z", "{ESC}", {}},
      {"s{ENTER}aa", "o", "{ESC}", {}},
      {"s{ENTER}a", "e", "{ESC}", {}},
      {"s{ENTER}a", "i", "{ESC}", {}},
  });
}

// START > Kartoteki's pull-down and its Odsetki.
TEST_F(ScreenWalkTest, CatalogueMenuTree) {
  Walk({
      {"s{ENTER}k", "k", "{ESC}", {}},
      {"s{ENTER}k", "r", "{ESC}", {}},
      {"s{ENTER}k", "n", "{ESC}", {}},
      {"s{ENTER}k", "h", "{ESC}", {}},
      {"s{ENTER}k", "o", "{ESC}", {}},
      {"s{ENTER}k", "p", "{ESC}", {}},
      {"s{ENTER}k", "e", "{ESC}", {}},
      {"s{ENTER}k", "y", "{ESC}", {}},
      {"s{ENTER}kd", "o", "{ESC}", {}},
      {"s{ENTER}kd", "u", "{ESC}", {}},
      {"s{ENTER}kd", "d", "{ESC}", {}},
  });
}

// The sales registers' bars and pull-downs over a main register with an
// invoice and an auxiliary one with a pro forma, half of them a test;
// " Przelew " into the transfer order's window.
class SalesRegisterWalkTest : public ScreenWalkTest {
 protected:
  void SetUp() override {
    ScreenWalkTest::SetUp();
    if (HasFatalFailure()) return;
    AddInvoice();
    AddProForma();
  }
};

TEST_F(SalesRegisterWalkTest, TransferPrintAndModifyMenus) {
  Walk({
      {"s{ENTER}s", "pt{ENTER}", "{ESC}", {"PRZELEW", "fakt. FV/1 z 10-03/25", "ZLECENIODAWCA: KONTRAHENT"}},
      {"s{ENTER}p", "p", "{ESC}", {"Czy wystawić przelew ?"}},
      {"s{ENTER}p", "pt{ENTER}", "{ESC}", {"PRZELEW", "fakt.proforma PF/1 z 10-03/25", "nazwa...Odbiorca Testowy"}},
      {"s{ENTER}s", "d", "{ESC}", {"FAKTURA"}},
      {"s{ENTER}s", "o", "{ESC}", {}},
      {"s{ENTER}sr", "t", "{ESC}", {}},
      {"s{ENTER}sr", "w", "{ESC}", {}},
      {"s{ENTER}sr", "k", "{ESC}", {}},
      {"s{ENTER}sr", "z", "{ESC}", {}},
      {"s{ENTER}sm", "o", "{ESC}{ESC}", {"kod nabywcy..", "nazwa 1"}},
      {"s{ENTER}sm", "p", "{ESC}", {"numer konta...", "dokument FV nr"}},
      {"s{ENTER}sm", "n", "{ESC}", {}},
      {"s{ENTER}sm", "u", "{ESC}", {}},
      {"s{ENTER}sm", "t", "{ESC}", {}},
      {"s{ENTER}sm", "k", "{ESC}", {}},
  });
}

TEST_F(SalesRegisterWalkTest, SearchFilterAndOtherMenus) {
  Walk({
      {"s{ENTER}ss", "d", "{ESC}", {"Szukaj daty -"}},
      {"s{ENTER}ss", "n", "{ESC}", {}},
      {"s{ENTER}ss", "r", "{ESC}", {}},
      {"s{ENTER}ssb", "p", "{ESC}", {"Szukaj nabywcy -"}},
      {"s{ENTER}ssb", "w", "{ESC}", {}},
      {"s{ENTER}ssb", "n", "{ESC}", {}},
      // More filters than the window has rows: the menu pages, no row drawn over another.
      {"s{ENTER}s", "f", "{ESC}", {"╠ od daty wystawienia.. ?", "╠ od daty sprzedaży.... ?", "╠ waluta............... ?"}},
      {"s{ENTER}s", "f{PGDN}{PGDN}", "{ESC}", {"╠ podatnik VAT ?....... ?", "╠ Zapamiętaj             "}},
      {"s{ENTER}s", "a", "{ESC}", {}},
      {"s{ENTER}s", "p", "{ESC}", {}},
      {"s{ENTER}s", "{LEFT}{LEFT}{ENTER}", "{ESC}", {"Używać kont? ..", "NETTO / BRUTTO"}},   // " Opcje "
      {"s{ENTER}se", "e", "{ESC}", {}},
      {"s{ENTER}se", "o", "{ESC}", {}},
      {"s{ENTER}se", "k", "{ESC}", {}},
      {"s{ENTER}se", "p", "{ESC}", {}},
      {"s{ENTER}s", "{F2}", "{ESC}", {}},
  });
}

// The archive windows show their labels from the start, with the archive
// drive mapped to a folder of the test.
TEST_F(ScreenWalkTest, ArchiveWindows) {
  MakeDir("archive");
  setenv("ZELSAL_DRIVE_A", (dir + "archive").c_str(), 1);
  Walk({
      {"s{ENTER}aa", "z", "{ESC}{ESC}", {"data                10-03/25", "archiwum firmowe", "archiwum wspólne", "weryfikacja"}},
      {"s{ENTER}aa", "o", "{ESC}{ESC}", {"archiwum firmowe", "archiwum wspólne"}},
  });
  // In the restore form only the get being edited stands in the edit colour:
  // first the subdirectory's 12 cells, then the firm archive's switch.
  struct Edited {
    const char* keys;
    const char* label;   // of the row the get stands on
    int first, last;     // its columns
  };
  for (const Edited& e : {Edited{"", "katalog", 62, 73}, Edited{"{DOWN}", "archiwum firmowe", 25, 27}}) {
    Shown form = Screen(std::string("s{ENTER}aao") + e.keys);
    for (int r = 6; r < 25; r++) {
      bool getRow = form.text[r].find(e.label) != std::string::npos;
      for (int c = 4; c < 76; c++) {
        bool edited = form.attributes[r].compare(2 * c, 2, "70") == 0;
        EXPECT_EQ(edited, getRow && c >= e.first && c <= e.last) << e.keys << " row " << r << " column " << c << "\n" << Text(form);
      }
    }
  }
  unsetenv("ZELSAL_DRIVE_A");
}

// The warehouse receipt register searches in its own search line.
TEST_F(ScreenWalkTest, WarehouseReceiptMenus) {
  Walk({
      {"s{ENTER}mp", "d", "{ESC}", {}},
      {"s{ENTER}mps", "d", "{ESC}", {"Szukaj daty -"}},
      {"s{ENTER}mpsb", "p", "{ESC}", {"Szukaj nabywcy -"}},
      {"s{ENTER}mpsb", "w", "{ESC}", {"Szukaj wzoru w nazwie nabywcy -"}},
      {"s{ENTER}mps", "n", "{ESC}", {"Szukaj numeru dokumentu -"}},
      {"s{ENTER}mp", "f", "{ESC}", {}},
  });
}

// The browses of Kartoteki, each over a record (the settlement of an
// invoice), and their bars, a few browses a test. The transfer orders'
// " Ustaw " and " Kasuj " open nothing: they change the order's print mark
// (below).
class CatalogueWalkTest : public ScreenWalkTest {
 protected:
  void SetUp() override {
    ScreenWalkTest::SetUp();
    if (HasFatalFailure()) return;
    AddCatalogueRecords();
    AddCatalogueEntries();
    AddTransferOrder();
    AddInvoice();
  }
};

TEST_F(CatalogueWalkTest, CashBookAndSettlements) {
  Walk(BarItems({{"s{ENTER}kk", 10, {}, {}}, {"s{ENTER}kr", 5, {}, {}}}));
}

TEST_F(CatalogueWalkTest, AccountsContractorsAndDescriptions) {
  Walk(BarItems({{"s{ENTER}kn", 4, {0, 1}, {}},
                 {"s{ENTER}kh", 6, {0, 1}, {}},
                 {"s{ENTER}ko", 3, {0, 1}, {}},
                 {"s{ENTER}ke", 1, {0}, {}}}));
}

TEST_F(CatalogueWalkTest, RatesAndTransferOrders) {
  Walk(BarItems({{"s{ENTER}ky", 5, {0, 1}, {}},
                 {"s{ENTER}kdu", 3, {0, 1}, {}},
                 {"s{ENTER}kdd", 3, {0, 1}, {}},
                 {"s{ENTER}kp", 10, {0, 1}, {7, 8}}}));
}

// " Ustaw " turns the current order's print mark over, " Kasuj " clears the
// marks of the listed orders; only the mark changes on the screen.
TEST_F(ScreenWalkTest, TransferOrderMarks) {
  AddTransferOrder();
  if (HasFatalFailure()) return;
  const std::string marked = "T    │10-03/25│ZWYKŁY   │PRZELEW│     100.00│", cleared = "N" + marked.substr(1);
  Shown before = Screen("s{ENTER}kp");
  ASSERT_NE(Text(before).find(marked), std::string::npos) << Text(before);
  for (int item : {7, 8}) {
    Shown after = Screen("s{ENTER}kp" + BarItem(item));
    EXPECT_NE(Text(after).find(cleared), std::string::npos) << item << "\n" << Text(after);
    EXPECT_EQ(Changed(before, after).size(), 1u) << item << "\n" << Text(after);
    Screen("s{ENTER}kp" + BarItem(7));   // marked again
  }
}

// The accounts' " Drukuj " offers its three columns chosen, so the width
// window counts them rather than showing an empty report's 0.
TEST_F(ScreenWalkTest, AccountsPrintOffersTheirColumns) {
  std::string shown = Text(Screen("s{ENTER}kn" + BarItem(2)));
  EXPECT_NE(shown.find("Szerokość w znakach = "), std::string::npos) << shown;
  EXPECT_EQ(shown.find("Szerokość w znakach =  0"), std::string::npos) << shown;
}

// The sales register's " Menu " bar: " Export ", " Import " and " VAT-OSS ";
// and the receipt register's bar, entered past the box that no fiscal
// printer answers.
TEST_F(ScreenWalkTest, SalesExchangeAndReceiptMenus) {
  Walk({{"s{ENTER}s{LEFT}{ENTER}", "{RIGHT}{RIGHT}{ENTER}", "{ESC}", {}},
        {"s{ENTER}s{LEFT}{ENTER}", "{RIGHT}{RIGHT}{RIGHT}{ENTER}", "{ESC}", {}},
        {"s{ENTER}s{LEFT}{ENTER}", "{RIGHT}{RIGHT}{RIGHT}{RIGHT}{RIGHT}{RIGHT}{ENTER}", "{ESC}", {}}});
  Walk(BarItems({{"s{ENTER}dp{ENTER}", 9, {}, {}}}));
}

// The warehouse browses, each over a record, the auxiliary sales register
// over a pro forma, and their bars, a few browses a test; the goods' " Kasa "
// and " Kolektor " pull-downs with no register configured.
class WarehouseWalkTest : public ScreenWalkTest {
 protected:
  void SetUp() override {
    ScreenWalkTest::SetUp();
    if (HasFatalFailure()) return;
    AddCatalogueRecords();
    AddWarehouseEntries();
    AddProForma();
  }
};

TEST_F(WarehouseWalkTest, IssuesAndReceipts) {
  Walk(BarItems({{"s{ENTER}mw", 9, {}, {}}, {"s{ENTER}mp", 9, {}, {}}}));
}

TEST_F(WarehouseWalkTest, Goods) {
  Walk(BarItems({{"s{ENTER}mt", 9, {0}, {}}}));
  Walk(PullDownItems("s{ENTER}mt{RIGHT}{RIGHT}{RIGHT}{RIGHT}{RIGHT}{ENTER}", 6));   // " Kasa "
  Walk(PullDownItems("s{ENTER}mt{RIGHT}{RIGHT}{RIGHT}{RIGHT}{RIGHT}{RIGHT}{ENTER}", 2));   // " Kolektor "
}

TEST_F(WarehouseWalkTest, ServicesAndAuxiliaryRegister) {
  Walk(BarItems({{"s{ENTER}mu", 8, {0, 1}, {}}, {"s{ENTER}p", 9, {}, {}}}));
  // The auxiliary register's filters need one row more than the window has;
  // the GTU list's long texts are cut at the window's edge, not wrapped onto
  // the selected first row.
  Walk({{"s{ENTER}p", "f", "{ESC}", {"╠ od daty wystawienia.. ?", "╠ do daty wystawienia.. ?", "╠ oznaczenie tow./usł.. ?"}},
        {"s{ENTER}p", "f{PGDN}{PGDN}", "{ESC}", {"╠ Zapamiętaj             "}}});
}

// A minimise and restore inside a module hands the window back at the size
// it had (give or take its frame): no resize, no refusal, the same screen. A
// real resize there is still refused.
TEST_F(ScreenWalkTest, RestoringTheWindowInAModuleIsNoResize) {
  const std::string refusal = "Zmiana rozmiaru pulpitu jest możliwa tylko na poziomie menu głównego.";
  Shown before = Screen("s{ENTER}s");
  Shown after = Screen("s{ENTER}s{RESIZE 645x490}");
  EXPECT_EQ(ReadFile(dir + "out.txt").find(refusal), std::string::npos) << ReadFile(dir + "out.txt");
  EXPECT_TRUE(Changed(before, after).empty()) << Text(after);
  Screen("s{ENTER}s{RESIZE 800x600}");
  EXPECT_NE(ReadFile(dir + "out.txt").find(refusal), std::string::npos);
}

}  // namespace
