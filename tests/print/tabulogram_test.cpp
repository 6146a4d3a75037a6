// Tabulogram reports printed through the dialogs to a file, compared with
// their whole text.
#include <cstring>
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "print/tabu_run.h"
#include "print/tabu_table.h"
#include "print/tabulogram.h"
#include "tests/print/print_fixture.h"
#include "tests/print/screen_shot.h"
#include "tests/ui/browse_fixture.h"

namespace {

class TabuTest : public PrintUiTest {
 protected:
  void SetUp() override {
    PrintUiTest::SetUp();
    if (HasFatalFailure()) return;
    std::strcpy(env->ownerName, "Firma Test");
    env->ownerName2[0] = 0;
    const DbfFieldDef fields[] = {{"NAZWA", 'C', 10, 0}, {"ILOSC", 'N', 8, 2}, {"DATA", 'D', 8, 0},
                                  {"KOD", 'N', 3, 0},    {nullptr, 0, 0, 0}};
    table = d4create(&env->engine, "TOWARY", fields, nullptr);
    ASSERT_NE(table, nullptr);
    nazwa = d4field(table, "NAZWA");
    ilosc = d4field(table, "ILOSC");
    data = d4field(table, "DATA");
    kod = d4field(table, "KOD");
    x4init(&scan, table, nullptr, 0);
  }
  void TearDown() override {
    if (table) d4close(table);
    PrintUiTest::TearDown();
  }
  void Add(const char* name, double quantity, const char* date, int code) {
    d4append_start(table, 0);
    d4blank(table);
    f4assign(nazwa, name);
    f4assign_double(ilosc, quantity);
    f4assign(data, date);
    f4assign_long(kod, code);
    ASSERT_EQ(d4append(table), 0);
  }
  // Character printing on a nine-pin printer, `items` records a page.
  // Kept under the table's alias and under another settings name.
  void Settings(int items) {
    Printer.mode = 1;
    Printer.family = PRN_EPSON9;
    Printer.itemCount = items;
    SavePrintSettings(table, "TAB");
    char other[] = "INNY";
    d4alias_set(table, other);
    SavePrintSettings(table, "TAB");
    char own[] = "TOWARY";
    d4alias_set(table, own);
    ResetPrinterState();
  }
  void DefineColumns() {
    ResetTabuDefinition(columns, sizeof columns);
    DefineTabuColumn("Nazwa", nullptr, &nazwa, TABU_CHOSEN, 1);
    DefineTabuColumn("Ilosc", "szt.", &ilosc, TABU_CHOSEN | TABU_SUMMED, 2);
    DefineTabuColumn("Data", nullptr, &data, TABU_CHOSEN, 3)->width = 6;
    DefineTabuColumn("Kod", nullptr, &kod, TABU_CHOSEN, 4);
  }
  // The report printed with the keys of both dialogs; the file's text.
  std::string Print(const char* keys, int expected = 0, const char* name = nullptr) {
    std::remove(Path("win.prn").c_str());
    EXPECT_EQ(HeadlessSetScript(keys), 0);
    setenv("ZELKIT_DUMP", Path("dump.txt").c_str(), 1);
    EXPECT_EQ(prn_tab_rap(columns, &scan, table, nullptr, "Zestawienie", nullptr, name, 0), expected);
    unsetenv("ZELKIT_DUMP");
    EXPECT_EQ(TabuSettingsName()[0], '\0');
    std::FILE* f = std::fopen(Path("win.prn").c_str(), "rb");
    if (!f) return "<none>";
    std::fclose(f);
    return ReadFile(Path("win.prn"));
  }
  // The screen as the last key wait saw it.
  std::string LastScreen() { return MazToUtf8Text(ReadFile(Path("dump.txt")).c_str()); }
  static std::string Text(std::string bytes) {
    std::string out;
    for (char c : bytes)
      if (c == '\x0F' || c == '\x12' || c == '\x1B' || c == '\r') continue;
      else if (c == '\f') out += "<FF>\n";
      else out += c;
    // The reset at the end ("\x1BH") leaves an 'H'.
    if (!out.empty() && out.back() == 'H') out.pop_back();
    return out;
  }

  DbTable* table = nullptr;
  DbField *nazwa = nullptr, *ilosc = nullptr, *data = nullptr, *kod = nullptr;
  DbScanCtx scan{};
  TabuColumn columns[80];
};

TEST_F(TabuTest, FramedReportWithTotalsOnAFurtherPage) {
  Add("Alfa", 1234.5, "20261201", 5);
  Add("Beta", 0, "20261203", 0);
  Settings(2);
  DefineColumns();
  // The date of width 6 cannot hold "DD-MM/YY"; zeros print as empty cells;
  // the scan ends as the page's two records are used up, so the totals come
  // on a further page with the header and headings.
  const std::string header = "Firma Test" + std::string(113, ' ');
  static int hookCalls;
  hookCalls = 0;
  env->tabuPageHook = [] { return ++hookCalls, 0; };
  EXPECT_EQ(Text(Print("{F2}{F2}{ENTER}")), header + "str.    1\n"
            "Zestawienie\n"
            "--------------------------------\n"
            "|  Nazwa   | Ilosc  | Data |Kod|\n"
            "|          |  szt.  |      |   |\n"
            "--------------------------------\n"
            "|Alfa      |1 234.50|******|  5|\n"
            "--------------------------------\n"
            "|Beta      |        |******|   |\n"
            "<FF>\n" +
            header + "str.    2\n"
            "Zestawienie\n"
            "--------------------------------\n"
            "|  Nazwa   | Ilosc  | Data |Kod|\n"
            "|          |  szt.  |      |   |\n"
            "--------------------------------\n"
            "--------------------------------\n"
            "RAZEM\n"
            "--------------------------------\n"
            "|          |1 234.50|      |   |\n"
            "--------------------------------<FF>\n");
  EXPECT_EQ(hookCalls, 2);   // once before each record
  EXPECT_EQ(env->tabuPageHook, nullptr);
}

TEST_F(TabuTest, AFreeLineBeforeTheLineStartIsCut) {
  Add("Alfa", 2, "20261201", 5);
  Settings(0);
  ResetTabuDefinition(columns, sizeof columns);
  DefineTabuColumn("Nazwa", nullptr, &nazwa, TABU_CHOSEN | TABU_FREE_LINE, 0)->column = -4;
  DefineTabuColumn("Kod", nullptr, &kod, TABU_CHOSEN, 1);
  // The label "Nazwa:" would start four characters before the line: what
  // falls inside the line is kept, the value after it.
  const std::string printed = Text(Print("{F2}{F2}{ENTER}"));
  EXPECT_NE(printed.find("\na:Alfa\n"), std::string::npos) << printed;
}

TEST_F(TabuTest, FreeLinesAndStripsEachFromPageOne) {
  Add("Alfa", 2, "20261201", 5);
  Settings(0);
  ResetTabuDefinition(columns, sizeof columns);
  DefineTabuColumn("Nazwa", nullptr, &nazwa, TABU_CHOSEN | TABU_FREE_LINE, 0);
  DefineTabuColumn("Ilosc", nullptr, &ilosc, TABU_CHOSEN | TABU_SUMMED, 1)->width = 50;
  DefineTabuColumn("Kod", nullptr, &kod, TABU_CHOSEN, 2)->width = 50;
  DefineTabuColumn("Data", nullptr, &data, TABU_CHOSEN, 3)->width = 50;
  // Too wide for 132 characters: go on ('t'), in strips ('t').
  const std::string header = "Firma Test" + std::string(113, ' ') + "str.    1\nZestawienie\n";
  const std::string wide(103, '-'), narrow(52, '-');
  EXPECT_EQ(Text(Print("{F2}{F2}{ENTER}tt")),
            header + wide + "\n" +
            "|                      Ilosc                       |                       Kod                        |\n" +
            wide + "\n" +
            "Nazwa:Alfa\n" +
            wide + "\n" +
            "|                                              2.00|                                                 5|\n" +
            wide + "\n\n" +
            wide + "\n" +
            "RAZEM\n" +
            wide + "\n" +
            "|                                              2.00|                                                  |\n" +
            wide + "<FF>\n" +
            header + narrow + "\n" +
            "|                       Data                       |\n" +
            narrow + "\n" +
            "Nazwa:Alfa\n" +
            narrow + "\n" +
            "|01-12/26                                          |\n" +
            narrow + "\n\n" +
            narrow + "\n<FF>\n");
}

TEST_F(TabuTest, AColumnWiderThanAnyStripPrintsAloneAndTheStripsEnd) {
  Add("Alfa", 2, "20261201", 5);
  Printer.leftMargin = 40;
  Settings(0);
  ResetTabuDefinition(columns, sizeof columns);
  DefineTabuColumn("Nazwa", nullptr, &nazwa, TABU_CHOSEN, 1)->width = 99;
  DefineTabuColumn("Kod", nullptr, &kod, TABU_CHOSEN, 2)->width = 99;
  const std::string printed = Text(Print("{F2}{F2}{ENTER}tt"));
  size_t pages = 0;
  for (size_t at = printed.find("<FF>"); at != std::string::npos; at = printed.find("<FF>", at + 1)) pages++;
  EXPECT_EQ(pages, 2u);
  EXPECT_LT(printed.find("Nazwa"), printed.find("Kod"));
}

TEST_F(TabuTest, NothingToPrint) {
  Settings(0);
  DefineColumns();
  // The job is opened before the scan is tried: only its start and end.
  EXPECT_EQ(Text(Print("{F2}{F2}{ENTER}{ENTER}")), "");
  EXPECT_NE(LastScreen().find("Brak danych."), std::string::npos);

  // 70 entries: the dialog closes at once, nothing is asked or printed.
  Add("Alfa", 2, "20261201", 5);
  ResetTabuDefinition(columns, sizeof columns);
  for (int i = 0; i < 70; i++) DefineTabuColumn("Kod", nullptr, &kod, TABU_CHOSEN, i + 1);
  EXPECT_EQ(Print("{F2}{F2}{ENTER}"), "<none>");
  EXPECT_GT(HeadlessKeysLeft(), 0);
}

TEST_F(TabuTest, SavedLayoutIsFoundBySettingsName) {
  Add("Alfa", 2, "20261201", 5);
  Settings(0);
  DefineColumns();
  // The "Kod" item unchosen, the layout saved ('t'), the dialog left.
  EXPECT_EQ(Print("{DOWN}{DOWN}{DOWN}{DOWN}{ENTER}{F4}t{ESC}"), "<none>");
  struct Case {
    const char* settingsName;
    bool kodPrinted;
  } cases[] = {{nullptr, false}, {"TOWARY", false}, {"INNY", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settingsName ? c.settingsName : "alias");
    DefineColumns();
    const std::string printed = Text(Print("{F2}{F2}{ENTER}", 0, c.settingsName));
    EXPECT_NE(printed.find("Nazwa"), std::string::npos);
    EXPECT_EQ(printed.find("Kod") != std::string::npos, c.kodPrinted);
  }
}

TEST_F(TabuTest, FactorySettingsBringBackEveryColumnFramed) {
  Add("Alfa", 2, "20261201", 5);
  Settings(0);
  DefineColumns();
  columns[1].flags = static_cast<int16_t>(columns[1].flags | TABU_FREE_LINE);   // "Ilosc" above the frame
  columns[1].column = 0;
  // "Kod" unchosen, then the factory settings ('t') and print.
  const std::string printed = Text(Print("{DOWN}{DOWN}{DOWN}{DOWN}{ENTER}{F3}t{F2}{F2}{ENTER}"));
  EXPECT_NE(printed.find("|  Nazwa   | Ilosc  |  Data  |Kod|"), std::string::npos) << printed;
  EXPECT_EQ(printed.find("Ilosc szt.:"), std::string::npos);
  for (int i = 0; i < 4; i++) {
    EXPECT_TRUE(columns[i].flags & TABU_CHOSEN) << i;
    EXPECT_FALSE(columns[i].flags & TABU_FREE_LINE) << i;
    EXPECT_EQ(columns[i].column, columns[i].factoryColumn) << i;
  }
  EXPECT_EQ(columns[2].width, 8);   // computed again: "DD-MM/YY"
}

TEST_F(TabuTest, AnUnchosenColumnIsEditedInPlace) {
  Add("Alfa", 2, "20261201", 5);
  Settings(0);
  DefineColumns();
  columns[3].flags = static_cast<int16_t>(columns[3].flags & ~TABU_CHOSEN);
  // "Kod": a free line ('-'), row, column and width kept, the name kept.
  // The free line stands at character 4 (its column), above the frame.
  const std::string printed = Text(Print("{DOWN}{DOWN}{DOWN}{DOWN}{ENTER}-{ENTER}{ENTER}{ENTER}{ENTER}{F2}{F2}{ENTER}"));
  EXPECT_NE(printed.find("|  Nazwa   | Ilosc  | Data |\n"), std::string::npos) << printed;
  EXPECT_NE(printed.find("\n    Kod:  5\n----------------------------\n|Alfa      |"), std::string::npos) << printed;
  EXPECT_TRUE(columns[3].flags & TABU_CHOSEN);
  EXPECT_TRUE(columns[3].flags & TABU_FREE_LINE);
}

// The preview shown directly, its window read off the screen.
class PreviewTest : public TabuTest {
 protected:
  // The page's rows inside the viewer's frame, `width` cells each.
  std::vector<std::string> Preview(int width, int rows) {
    SetTabuSettingsName(table, nullptr);
    for (int i = 0, n = TabuCount(columns); i < n; i++) {
      ComputeTabuWidth(columns, i);
      SetPrintedName(i, FactoryName(columns[i]));
    }
    HeadlessSetScript("{F9}{ESC}");
    g4set_key_to(KEY_F9, KeepShot);
    ShowTabuPreview(columns);
    g4set_key_to(KEY_F9, nullptr);
    std::vector<std::string> page;
    for (int r = 0; r < rows; r++) page.push_back(ShotCells(2 + r, 1, width));
    return page;
  }
};

TEST_F(PreviewTest, WithAndWithoutFreeLines) {
  Add("Alfa", 2, "20261201", 5);
  d4top(table);
  DefineColumns();
  const std::vector<std::string> framed = Preview(32, 6);
  EXPECT_EQ(framed[0], "┌──────────┬────────┬──────┬───┐");
  EXPECT_EQ(framed[1], "│  Nazwa   │ Ilosc  │ Data │Kod│");
  EXPECT_EQ(framed[2], "│          │  szt.  │      │   │");
  EXPECT_EQ(framed[3], "├──────────┼────────┼──────┼───┤");
  EXPECT_EQ(framed[4], "│==========│    1.00│******│  1│");
  EXPECT_EQ(framed[5], "└──────────┴────────┴──────┴───┘");
  // Sample values stand out in bold; frames and headings do not.
  EXPECT_EQ(ShotAttr(2 + 4, 1 + 1), 15);
  EXPECT_EQ(ShotAttr(2 + 1, 1 + 3), 7);
  for (int i = 0, n = TabuCount(columns); i < n; i++) EXPECT_EQ(columns[i].flags & TABU_STRIP_MASK, 1);

  DefineColumns();
  columns[0].flags = static_cast<int16_t>(columns[0].flags | TABU_FREE_LINE);
  columns[0].column = 0;
  const std::vector<std::string> withFree = Preview(21, 8);
  EXPECT_EQ(withFree[0], "┌────────┬──────┬───┐");
  EXPECT_EQ(withFree[1], "│ Ilosc  │ Data │Kod│");
  EXPECT_EQ(withFree[3], "├────────┼──────┼───┤");
  EXPECT_EQ(withFree[4], "Nazwa:==========     ");
  EXPECT_EQ(withFree[5], "┌────────┬──────┬───┐");
  EXPECT_EQ(withFree[6], "│    1.00│******│  1│");
  EXPECT_EQ(withFree[7], "└────────┴──────┴───┘");
}

}  // namespace

namespace {

// The print action of a browse runs the tabulogram over the browse's scan.

TabuColumn browseColumns[5];
ScrollColumn browseList[3];

int32_t PrintAction(int32_t) { return browse_drukuj(); }

class BrowsePrintTest : public BrowseFixture {
 protected:
  void SetUp() override {
    BrowseFixture::SetUp();
    if (HasFatalFailure()) return;
    printing.Start(dir);
  }
  void TearDown() override {
    printing.Stop();
    BrowseFixture::TearDown();
  }
  PrintScreen printing;
};

TEST_F(BrowsePrintTest, TabulogramFromABrowse) {
  EXPECT_EQ(BrowsePrintTabulogram, &prn_tab_rap);
  Seed(3);
  Printer.mode = 1;
  Printer.family = PRN_EPSON9;
  Printer.underlineStep = 0;
  SavePrintSettings(goods.table, "TAB");
  ResetPrinterState();
  std::strcpy(env->ownerName, "Firma Test");
  ResetScrollDefinition(browseList, sizeof browseList);
  DefineScrollColumn(&goods.kod, 0, "Kod")->tag = &goods.byKod;
  DefineScrollColumn(&goods.naz, 0, "Nazwa")->tag = &goods.byNaz;
  ResetTabuDefinition(browseColumns, sizeof browseColumns);
  DefineTabuColumn("Kod", nullptr, &goods.kod, TABU_CHOSEN, 1)->width = 3;
  DefineTabuColumn("Nazwa", nullptr, &goods.naz, TABU_CHOSEN, 2)->width = 5;
  DefineTabuColumn("Ilosc", nullptr, &goods.ilo, TABU_CHOSEN | TABU_SUMMED, 3);

  const int bar = DefineMainMenuWindow();
  MenuDefineItem(" Drukuj ", 7550, 'r', 0, PrintAction, nullptr);
  BrowseContext* ctx = nullptr;
  ASSERT_EQ(allocate_browse(&ctx, goods.table, goods.byKod, browseList, bar), 0);
  ctx->print_columns = browseColumns;
  static const std::string title = Utf8ToMazText("SPIS TOWARÓW");
  ctx->print_title = title.c_str();
  // 'r' prints: the layout dialog's F2, the settings dialog's F2 and Enter.
  ASSERT_EQ(HeadlessSetScript("r{F2}{F2}{ENTER}{ESC}"), 0);
  zrob_browse(3, 5, 0);
  free_browse(&ctx);
  w4close(bar);
  EXPECT_EQ(HeadlessKeysLeft(), 0);

  std::string printed;
  for (char c : ReadFile(Path("win.prn")))
    if (c != '\x0F' && c != '\x12' && c != '\x1B' && c != '\r') printed += c;
  EXPECT_EQ(printed, "Firma Test" + std::string(113, ' ') + "str.    1\n"
            "SPIS TOWAROW\n"
            "-----------------\n"
            "|Kod|Nazwa|Ilosc|\n"
            "-----------------\n"
            "|K01|N03  |   10|\n"
            "|K02|N02  |   20|\n"
            "|K03|N01  |   30|\n"
            "-----------------\n"
            "RAZEM\n"
            "-----------------\n"
            "|   |     |   60|\n"
            "-----------------\fH");
}

}  // namespace
