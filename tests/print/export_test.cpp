// The export of a scan's records into a new table, read back byte by byte.
#include <cstring>
#include <fstream>
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "print/tabu_run.h"
#include "print/tabulogram.h"
#include "tests/db/db_test_support.h"
#include "tests/print/print_fixture.h"
#include "ui/get4.h"

namespace {

// The file's fields and records as they stand on disk.
struct DiskTable {
  struct Field {
    std::string name;
    char type;
    int length, decimals;
  };
  std::vector<Field> fields;
  std::vector<std::string> records;   // without the deletion flag
};

DiskTable ReadDisk(const std::string& bytes) {
  DiskTable t;
  const uint32_t count = Le32(bytes, 4);
  const unsigned headerLength = Le16(bytes, 8), recordLength = Le16(bytes, 10);
  for (size_t at = 32; at + 32 <= headerLength && bytes[at] != '\x0D'; at += 32) {
    const std::string name = bytes.substr(at, 11);
    t.fields.push_back({name.substr(0, name.find('\0')), bytes[at + 11], static_cast<unsigned char>(bytes[at + 16]),
                        static_cast<unsigned char>(bytes[at + 17])});
  }
  for (uint32_t r = 0; r < count; r++) t.records.push_back(bytes.substr(headerLength + r * recordLength + 1, recordLength - 1));
  return t;
}

class ExportNameTest : public PrintTest {};

TEST_F(ExportNameTest, FirstCharacterAndTheRest) {
  struct Case {
    const char* name;
    const char* refusal;   // empty: accepted
  } cases[] = {
      {"1AB       ", "Jako pierwsza może być tylko litera lub znak \"_\"."},
      {" AB       ", "Jako pierwsza może być tylko litera lub znak \"_\"."},
      {"A-B       ", "Tylko litery, cyfry oraz znak \"_\"."},
      {"A B       ", "Tylko litery, cyfry oraz znak \"_\"."},
      {"_ŻÓŁW_1   ", ""},
      {"ILOSC     ", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    screen.shown.clear();
    std::string name = Utf8ToMazText(c.name);
    name.resize(10, ' ');
    Get4 get{};
    get.data = name.data();
    get.dataWidth = 10;
    EXPECT_EQ(ValidExportFieldName(&get), c.refusal[0] ? 1 : 0);
    if (c.refusal[0]) {
      ASSERT_EQ(screen.shown.size(), 1u);
      EXPECT_EQ(screen.shown[0].text, Utf8ToMazText(c.refusal));
    } else {
      EXPECT_TRUE(screen.shown.empty());
    }
  }
}

class ExportTest : public PrintUiTest {
 protected:
  void SetUp() override {
    PrintUiTest::SetUp();
    if (HasFatalFailure()) return;
    const DbfFieldDef fields[] = {{"NAZWA", 'C', 10, 0}, {"ILOSC", 'N', 8, 2}, {"DATA", 'D', 8, 0},
                                  {"KOD", 'N', 3, 0},    {"AKTYWNY", 'L', 1, 0}, {nullptr, 0, 0, 0}};
    table = d4create(&env->engine, "TOWARY", fields, nullptr);
    ASSERT_NE(table, nullptr);
    nazwa = d4field(table, "NAZWA");
    ilosc = d4field(table, "ILOSC");
    data = d4field(table, "DATA");
    kod = d4field(table, "KOD");
    aktywny = d4field(table, "AKTYWNY");
    const struct {
      const char* name;
      double quantity;
      const char* date;
    } rows[] = {{"Żółw", 12.5, "20261201"}, {"Łoś", -3, "        "}};
    for (const auto& r : rows) {
      d4append_start(table, 0);
      d4blank(table);
      f4assign(nazwa, Utf8ToMazText(r.name).c_str());
      f4assign_double(ilosc, r.quantity);
      f4assign(data, r.date);
      f4assign_long(kod, 7);
      f4assign(aktywny, "T");
      ASSERT_EQ(d4append(table), 0);
    }
    x4init(&scan, table, nullptr, 0);
    ResetTabuDefinition(columns, sizeof columns);
    DefineTabuColumn("Nazwa towaru", "NAZWA_T", &nazwa, TABU_CHOSEN, 1);
    DefineTabuColumn("Ilość", nullptr, &ilosc, TABU_CHOSEN, 2);
    DefineTabuColumn("Data", nullptr, &data, TABU_CHOSEN, 3);
    DefineTabuColumn("Kod", nullptr, &kod, 0, 4);
    DefineTabuColumn("Aktywny", nullptr, &aktywny, TABU_CHOSEN, 5);
  }
  void TearDown() override {
    if (table) d4close(table);
    PrintUiTest::TearDown();
  }
  DbTable* table = nullptr;
  DbField *nazwa = nullptr, *ilosc = nullptr, *data = nullptr, *kod = nullptr, *aktywny = nullptr;
  DbScanCtx scan{};
  TabuColumn columns[10];
};

TEST_F(ExportTest, ChosenColumnsWrittenToANewTable) {
  // F2 exports; Enter takes the proposed name; the logical column is left
  // out with a message (a key closes it).
  ASSERT_EQ(HeadlessSetScript("{F2}{ENTER}{ENTER}"), 0);
  EXPECT_EQ(ustaw_export(columns, &scan, table, "EXPORT.DBF"), -4);
  const DiskTable t = ReadDisk(ReadFile(Path("EXPORT.DBF")));
  ASSERT_EQ(t.fields.size(), 3u);
  EXPECT_EQ(t.fields[0].name, "NAZWA_T");
  EXPECT_EQ(t.fields[1].name, "ILOSC");   // no second heading: the field's name
  EXPECT_EQ(t.fields[2].name, "DATA");
  EXPECT_EQ(t.fields[1].type, 'N');
  EXPECT_EQ(t.fields[1].length, 8);
  EXPECT_EQ(t.fields[1].decimals, 2);
  EXPECT_EQ(t.fields[2].type, 'D');
  ASSERT_EQ(t.records.size(), 2u);
  // Code page 1250: Ż AF, ó F3, ł B3, Ł A3, ś 9C.
  EXPECT_EQ(t.records[0], "\xAF\xF3\xB3w      " "   12.50" "20261201");
  EXPECT_EQ(t.records[1], "\xA3o\x9C       " "   -3.00" "        ");
}

TEST_F(ExportTest, EscapeExportsNothingAndTheChoiceIsKept) {
  // Unchoose "Nazwa towaru", save the choice ('t'), leave.
  ASSERT_EQ(HeadlessSetScript("{DOWN}{ENTER}{F4}t{ESC}"), 0);
  EXPECT_EQ(ustaw_export(columns, &scan, table, "EXPORT.DBF"), KEY_ESC);
  EXPECT_FALSE(std::ifstream(Path("EXPORT.DBF")).good());
  for (TabuColumn& c : columns) c.flags = static_cast<int16_t>(c.flags | TABU_CHOSEN);
  ASSERT_EQ(HeadlessSetScript("{F2}{ENTER}{ENTER}"), 0);
  EXPECT_EQ(ustaw_export(columns, &scan, table, "EXPORT.DBF"), -4);
  const DiskTable t = ReadDisk(ReadFile(Path("EXPORT.DBF")));
  ASSERT_GE(t.fields.size(), 1u);
  EXPECT_EQ(t.fields[0].name, "ILOSC");
}

TEST_F(ExportTest, SeventyEntriesAreRefused) {
  ResetTabuDefinition(columns, sizeof columns);
  TabuColumn many[80];
  ResetTabuDefinition(many, sizeof many);
  for (int i = 0; i < 70; i++) DefineTabuColumn("Kod", nullptr, &kod, TABU_CHOSEN, i + 1);
  ASSERT_EQ(HeadlessSetScript("{F2}{ENTER}"), 0);
  EXPECT_EQ(ustaw_export(many, &scan, table, "EXPORT.DBF"), KEY_ESC);
  EXPECT_EQ(HeadlessKeysLeft(), 2);
}

}  // namespace
