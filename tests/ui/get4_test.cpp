// Gets and the field editor, driven by typed keys on the headless screen.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "tests/ui/ui_fixture.h"
#include "ui/definition_lists.h"
#include "ui/get4.h"
#include "ui/menu.h"
#include "ui/validators.h"

namespace {

class GetTest : public UiTest {
 protected:
  int window = -1;

  void SetUp() override {
    UiTest::SetUp();
    window = w4define(2, 4, 12, 70);
    w4attribute(7);
    w4activate(window);
  }
  int Read(const char* script) {
    EXPECT_EQ(HeadlessSetScript(script), 0);
    int key = g4read();
    EXPECT_EQ(HeadlessKeysLeft(), 0) << "keys left over after " << script;
    return key;
  }
  // Window-relative text of the grid.
  static std::string At(int row, int col, int n) { return Row(2 + row).substr(4 + col, n); }
  static int AttrAt(int row, int col) { return Attr(2 + row, 4 + col); }
};

TEST_F(GetTest, NumericGetTakesDigitsAndTheDecimalComma) {
  struct Case {
    double initial;
    const char* keys;
    double expected;
    const char* shown;
  } cases[] = {
      {0, "12,5{ENTER}", 12.5, "   12.50"},
      {0, "7{ENTER}", 7, "    7.00"},
      {3.25, "{ENTER}", 3.25, "    3.25"},
      {0, ",75{ENTER}", 0.75, "    0.75"},
      {0, "-5{ENTER}", -5, "   -5.00"},
      {9, "x1{ENTER}", 1, "    1.00"},         // the refused letter changes nothing
      {4.5, "{RIGHT}{ENTER}", 4.5, "    4.50"},  // a moving key first: the old value stays
  };
  for (const Case& c : cases) {
    double value = c.initial;
    ASSERT_NE(g4double(1, 2, &value), nullptr);
    EXPECT_EQ(Read(c.keys), KEY_ENTER);
    EXPECT_DOUBLE_EQ(value, c.expected) << c.keys;
    EXPECT_EQ(At(1, 2, 8), c.shown) << c.keys;
  }
}

TEST_F(GetTest, TextGetReplacesOverwritesAndInserts) {
  struct Case {
    const char* initial;
    const char* keys;
    const char* expected;
  } cases[] = {
      {"ABCDEF", "x{ENTER}", "x     "},
      {"ABCDEF", "{RIGHT}{RIGHT}x{ENTER}", "ABxDEF"},
      {"ABCDEF", "{INS}{RIGHT}{RIGHT}x{INS}{ENTER}", "ABxCDE"},
      {"AB    ", "{END}Z{ENTER}", "ABZ   "},
      {"ABCDEF", "{DEL}{ENTER}", "BCDEF "},
      {"ABCDEF", "{RIGHT}{BS}{ENTER}", "BCDEF "},
      {"ABCDEF", "{END}{LEFT}{LEFT}{HOME}q{ENTER}", "qBCDEF"},
  };
  for (const Case& c : cases) {
    char buffer[7];
    std::strcpy(buffer, c.initial);
    ASSERT_NE(g4(0, 0, buffer), nullptr);
    EXPECT_EQ(Read(c.keys), KEY_ENTER);
    EXPECT_STREQ(buffer, c.expected) << c.keys;
    EXPECT_EQ(Desktop.insertMode, 0);
  }
}

TEST_F(GetTest, InsertKeyTogglesTheModeAndTheCaretShape) {
  char buffer[4] = "abc";
  g4(0, 0, buffer);
  Read("{INS}{ESC}");
  EXPECT_EQ(Desktop.insertMode, 1);
  EXPECT_EQ(Desktop.caretShape, 0);
  g4(0, 0, buffer);
  Read("{INS}{ESC}");
  EXPECT_EQ(Desktop.insertMode, 0);
  EXPECT_EQ(Desktop.caretShape, 1);
}

TEST_F(GetTest, PictureLiteralsAreSkippedAndKept) {
  struct Case {
    const char* keys;
    const char* expected;
  } cases[] = {
      {"5678{ENTER}", "56-78"},
      {"{DEL}{ENTER}", "2 -34"},        // only the run before the literal moves
      {"a{ENTER}", "12-34"},            // not a digit
      {"{RIGHT}{RIGHT}9{ENTER}", "12-94"},
      {"{END}{ENTER}", "12-34"},
  };
  for (const Case& c : cases) {
    char buffer[6] = "12-34";
    g4(0, 0, buffer);
    g4picture("99-99");
    EXPECT_EQ(Read(c.keys), KEY_ENTER);
    EXPECT_STREQ(buffer, c.expected) << c.keys;
  }
}

TEST_F(GetTest, PictureCharactersTakeTheirClassOfCharacters) {
  struct Case {
    const char* picture;
    const char* keys;
    const char* expected;
  } cases[] = {
      {"AAA", "a1b", "ab "},  {"NNN", "a1-", "a1 "}, {"###", "+x-", "+- "}, {"!!!", "ab", "AB "},
      {"LLL", "txn", "TN "},  {"YYY", "ytn", "YN "}, {"XXX", "?%", "?% "},  {"CMD", "1a", "   "},
      {"9", "1ab", "1ab"},   // past the picture any character goes
  };
  for (const Case& c : cases) {
    char buffer[4] = "   ";
    g4(0, 0, buffer);
    g4picture(c.picture);
    g4width(3, 3);
    Read((std::string(c.keys) + "{ENTER}").c_str());
    EXPECT_STREQ(buffer, c.expected) << c.picture;
  }
}

TEST_F(GetTest, UpperCaseGetFollowsShift) {
  char buffer[3] = "  ";
  g4(0, 0, buffer);
  g4upper();
  Read("a{SHIFT+B}{ENTER}");
  EXPECT_STREQ(buffer, "Ab");
}

TEST_F(GetTest, DatesShowAndParseByThePicture) {
  char date[9] = "20240131";
  g4date(0, 0, date);
  g4picture("DD-MM/YY");
  g4release(0);
  g4display();
  EXPECT_EQ(At(0, 0, 8), "31-01/24");
  // The first digit does not blank a date; typing overwrites it in place.
  Read("1503{RIGHT}{RIGHT}{ENTER}");
  EXPECT_STREQ(date, "20240315");
  EXPECT_EQ(At(0, 0, 8), "15-03/24");
  Read("{DEL}{ENTER}");   // Delete at the start blanks the whole date
  EXPECT_STREQ(date, "        ");
  EXPECT_EQ(At(0, 0, 8), "  -  /  ");
  g4release(1);
}

TEST_F(GetTest, InvalidDateKeepsTheOperatorInTheGet) {
  char date[9] = "20240131";
  g4date(0, 0, date);
  g4picture("DD-MM/YY");
  // 31-02 is refused with a box that any key closes; the cursor stays where it was.
  static std::string screen;
  g4set_key_to(KEY_F9, [](int32_t, int32_t) {
    screen.clear();
    for (int r = 0; r < Desktop.rows; r++) screen += Row(r) + "\n";
    return 0;
  });
  EXPECT_EQ(Read("3102{ENTER}{F9}x{HOME}29{ENTER}"), KEY_ENTER);
  g4set_key_to(KEY_F9, nullptr);
  EXPECT_STREQ(date, "20240229");
  EXPECT_NE(screen.find("Nielegalna data !"), std::string::npos) << screen;
  EXPECT_NE(screen.find("31-02/24"), std::string::npos) << screen;
}

TEST_F(GetTest, DateWithoutPictureUsesTheMonthName) {
  char date[9] = "20240315";
  g4date(0, 0, date);
  EXPECT_EQ(Read("{ENTER}"), KEY_ENTER);
  EXPECT_STREQ(date, "20240315");
  EXPECT_EQ(At(0, 0, 9).substr(3), "/15/24");
}

std::vector<int> seenLastKeys;
int RecordLastKey(Get4*, char*, int32_t) {
  seenLastKeys.push_back(EnvCurrent()->lastGetKey);
  return 0;
}

TEST_F(GetTest, ExitKeys) {
  struct Case {
    const char* keys;
    int result;
    const char* first;
    const char* second;
    std::vector<int> lastKeys;   // seen by the second get's key routine
  } cases[] = {
      {"a{ENTER}b{ENTER}", KEY_ENTER, "a  ", "b  ", {KEY_ENTER, 'b'}},
      {"{DOWN}{DOWN}{F2}", KEY_F2, "abc", "def", {KEY_DOWN, KEY_UP}},
      {"{UP}{DOWN}{UP}x{ESC}", KEY_ESC, "x  ", "def", {KEY_DOWN}},
      {"{PGDN}{ESC}", KEY_ESC, "abc", "def", {}},
      {"{DOWN}q{ALT+P}", 0x1900, "abc", "q  ", {KEY_DOWN, 'q'}},
  };
  for (const Case& c : cases) {
    char first[4] = "abc", second[4] = "def";
    seenLastKeys.clear();
    g4(0, 0, first);
    g4(1, 0, second);
    g4call(RecordLastKey, 0);
    EXPECT_EQ(Read(c.keys), c.result) << c.keys;
    EXPECT_STREQ(first, c.first) << c.keys;
    EXPECT_STREQ(second, c.second) << c.keys;
    EXPECT_EQ(seenLastKeys, c.lastKeys) << c.keys;
    EXPECT_EQ(env->lastGetKey, c.result) << c.keys;
  }
}

TEST_F(GetTest, GroupsAndDisabledGets) {
  char a[2] = "a", b[2] = "b", c[2] = "c", d[2] = "d";
  g4(0, 0, a);
  g4(1, 0, b);
  g4disabled();
  g4(2, 0, c)->flags |= GET_GROUP_START;
  g4(3, 0, d);
  // Ctrl+Down goes to the group start; Ctrl+Up finds no earlier group and goes
  // to the first get; Enter passes over the disabled get.
  EXPECT_EQ(Read("{CTRL+DOWN}X{CTRL+UP}Y{ENTER}{ENTER}Z{ENTER}"), KEY_ENTER);
  EXPECT_STREQ(a, "Y");
  EXPECT_STREQ(b, "b");
  EXPECT_STREQ(c, "X");
  EXPECT_STREQ(d, "Z");
}

TEST_F(GetTest, NoEditableGetReturnsAtOnce) {
  char a[2] = "a";
  g4(0, 0, a);
  g4disabled();
  EXPECT_EQ(Read(""), 0);
  EXPECT_EQ(Desktop.curWindow->firstGet, -1);
}

int validatorCalls = 0;
std::vector<int> validatorKeyCounts;
int RefuseX(Get4* get) {
  validatorCalls++;
  validatorKeyCounts.push_back(EnvCurrent()->getKeyCount);
  return static_cast<char*>(get->data)[0] == 'x';
}

TEST_F(GetTest, RefusingValidatorKeepsTheCursorInTheGet) {
  char first[3] = "ab", second[3] = "cd";
  g4(0, 0, first);
  g4valid(RefuseX);
  g4(1, 0, second);
  validatorCalls = 0;
  validatorKeyCounts.clear();
  // The refused value stays in memory and is shown again with the cursor at
  // its start, so 'y' overwrites the 'x'; Esc leaves without the check.
  EXPECT_EQ(Read("x{ENTER}y{ENTER}e{ESC}"), KEY_ESC);
  EXPECT_EQ(validatorCalls, 2);
  EXPECT_EQ(validatorKeyCounts.front(), 2);
  EXPECT_STREQ(first, "y ");
  EXPECT_STREQ(second, "e ");
  EXPECT_EQ(At(0, 0, 2), "y ");
}

TEST_F(GetTest, ReadyMadeValidatorsReadTheGetsMemory) {
  char name[6] = "     ", other[3] = "ab";
  int32_t month = 5;
  g4(0, 0, name);
  g4valid(valid_empty_get);
  g4long(1, 0, &month);
  g4valid(valid_int_month);
  g4(2, 0, other);
  // A blank name is refused (any key closes the box); then the month passes as it is.
  EXPECT_EQ(Read("{ENTER}xA{ENTER}{ENTER}{ESC}"), KEY_ESC);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_STREQ(name, "A    ");
  EXPECT_EQ(month, 5);
  month = 13;
  g4long(0, 0, &month);
  g4valid(valid_int_month);
  g4(1, 0, other);
  // 13 keeps the operator in the get until Esc.
  EXPECT_EQ(Read("{ENTER}x{ENTER}x{ESC}"), KEY_ESC);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
}

TEST_F(GetTest, ThousandsGroupsWidenTheDisplay) {
  double value = 1234567.5;
  g4double(0, 0, &value);
  g4width(0, 11);
  g4format();
  g4display();
  EXPECT_EQ(At(0, 0, 14), " 1 234 567.50 ");
  EXPECT_EQ(Desktop.getPool[Desktop.curWindow->lastGet].groupBlanks, 2);
  g4release(1);
}

TEST_F(GetTest, IntegerAndBitGets) {
  int32_t count = 12, total = 0;
  unsigned char bits[2] = {0, 0xFF};
  g4int(0, 0, &count);
  g4long(1, 0, &total);
  g4bit(2, 0, bits, 9);
  EXPECT_EQ(Read("345{ENTER}-12{ENTER}n{ENTER}"), KEY_ENTER);
  EXPECT_EQ(count, 345);
  EXPECT_EQ(total, -12);
  EXPECT_EQ(bits[0], 0);
  EXPECT_EQ(bits[1], 0xBF);
  EXPECT_EQ(At(0, 0, 4), " 345");
}

TEST_F(GetTest, GetsAreFreedUnlessReleaseZero) {
  char a[2] = "a";
  g4(0, 0, a);
  g4release(0);
  Read("{ENTER}");
  EXPECT_GE(Desktop.curWindow->firstGet, 0);
  Read("{ENTER}");
  g4release(1);
  EXPECT_EQ(Desktop.curWindow->firstGet, -1);
  g4(0, 0, a);
  Read("{ENTER}");
  EXPECT_EQ(Desktop.curWindow->firstGet, -1);
}

// A key routine that ran a menu which ended with Ctrl+Down: the editor takes that key.
int MenuEndedByCtrlDown(Get4*, char*, int32_t) {
  static int calls = 0;
  if (calls++ % 2) return 0;
  lastMenuKey = KEY_CTRL_DOWN;
  return KEY_ENTER;
}

TEST_F(GetTest, KeyOfAMenuThatEndedTheKeyRoutineWins) {
  char a[2] = "a", b[2] = "b", c[2] = "c";
  g4(0, 0, a);
  g4call(MenuEndedByCtrlDown, 0);
  g4(1, 0, b);
  g4(2, 0, c)->flags |= GET_GROUP_START;
  EXPECT_EQ(Read("Z{ENTER}"), KEY_ENTER);
  EXPECT_STREQ(a, "a");
  EXPECT_STREQ(b, "b");
  EXPECT_STREQ(c, "Z");
  EXPECT_EQ(lastMenuKey, 0);
}

// A key routine that opens a whole form of its own: the get pool grows and
// moves under the running editor.
int NestedForm(Get4*, char* buffer, int32_t) {
  static bool done = false;
  if (done) return 0;
  done = true;
  int previous = w4select(-1);
  int inner = w4define(15, 0, 25, 79);
  w4activate(inner);
  static char cells[150][2];
  for (int i = 0; i < 150; i++) {
    cells[i][0] = 'n';
    g4(i % 10, (i / 10) * 2, cells[i]);
  }
  int key = g4read();
  w4deactivate(inner);
  w4close(inner);
  w4select(previous);
  buffer[0] = key == KEY_ESC ? 'E' : '?';
  return KEY_ENTER;
}

TEST_F(GetTest, NestedFormGrowsThePoolUnderTheEditor) {
  RecordingScreenHook hook;
  char a[2] = "a", b[2] = "b";
  g4(0, 0, a);
  g4call(NestedForm, 0);
  g4(1, 0, b);
  EXPECT_EQ(Read("{ESC}q{ENTER}"), KEY_ENTER);
  EXPECT_STREQ(a, "E");
  EXPECT_STREQ(b, "q");
  ASSERT_FALSE(hook.shown.empty());
  EXPECT_NE(hook.shown[0].text.find("ERRCODE(49)"), std::string::npos) << hook.shown[0].text;
  EXPECT_EQ(Desktop.editBuffer, nullptr);
  EXPECT_EQ(Desktop.curGet, -1);   // as before the editor ran
}

TEST(WigetCtrlKey, TheKeysThatEndAFormField) {
  for (int key : {9, 13, 27, 0x0F00, 0x3C00, 0x4800, 0x4900, 0x4A00, 0x4C00, 0x5000, 0x5100, 0x5200, 0x7600, 0x8400})
    EXPECT_EQ(WigetCtrlKey(key), 1) << key;
  for (int key : {0, int{'a'}, 8, 0x4B00, 0x4D00, 0x5300, 0x4700, 0x4F00, 0x1900}) EXPECT_EQ(WigetCtrlKey(key), 0) << key;
}

// ---- build_get_struct

class BuildGetTest : public GetTest {};

TEST_F(BuildGetTest, QuestionsAreSkippedWhenSavingIsNotConfirmed) {
  env->confirmSave = 'N';
  char text[5] = "abcd";
  double amount = 1;
  EditCtrl list[2];
  ResetEditCtrlDefinition(list, sizeof list);
  DefineEditCtrl(0, 0, text, EDIT_TEXT | EDIT_DIRECT);
  DefineEditCtrl(1, 0, &amount, EDIT_DIRECT);
  HeadlessSetScript("zz{ENTER}3{F2}");
  EXPECT_EQ(build_get_struct(BGS_ASK, list, 0x70), 0);
  EXPECT_STREQ(text, "zz  ");
  EXPECT_DOUBLE_EQ(amount, 3);
  EXPECT_EQ(Desktop.curWindow->firstGet, -1);
  HeadlessSetScript("q{ESC}");
  EXPECT_EQ(build_get_struct(BGS_ASK, list, 0x70), -1);
  EXPECT_STREQ(text, "q   ");   // Esc stores the field it leaves
}

TEST_F(BuildGetTest, EveryKindOfEntry) {
  char direct[4] = "abc", indirectBuffer[4] = "def";
  char* indirect = indirectBuffer;
  char date[9] = "20240101";
  int32_t number = 5, longNumber = 6;
  double amount = 0;
  unsigned char bitsBuffer[1] = {0};
  unsigned char* bits = bitsBuffer;
  EditCtrl list[8];
  ResetEditCtrlDefinition(list, sizeof list);
  DefineEditCtrl(0, 0, direct, EDIT_TEXT | EDIT_DIRECT)->flags |= EDIT_UPPER;
  DefineEditCtrl(1, 0, &indirect, EDIT_TEXT);
  DefineEditCtrl(2, 0, date, EDIT_DIRECT | EDIT_DATE)->picture = "DD-MM-CCYY";
  DefineEditCtrl(3, 0, &number, EDIT_INTEGER);
  DefineEditCtrl(4, 0, &longNumber, EDIT_INTEGER | EDIT_DIRECT);
  DefineEditCtrl(5, 0, &amount, EDIT_DIRECT | EDIT_SKIP);
  DefineEditCtrl(6, 0, &bits, EDIT_TEXT | EDIT_INTEGER)->routineData = 3;
  DefineEditCtrl(7, 0, &amount, EDIT_DIRECT | EDIT_DISABLED);
  HeadlessSetScript("x{ENTER}y{ENTER}{RIGHT}2{ENTER}7{ENTER}8{ENTER}t{ENTER}");
  EXPECT_EQ(build_get_struct(BGS_ONCE, list, 0x70), KEY_ENTER);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
  EXPECT_STREQ(direct, "X  ");
  EXPECT_STREQ(indirectBuffer, "y  ");
  EXPECT_STREQ(date, "20240102");
  EXPECT_EQ(number, 7);
  EXPECT_EQ(longNumber, 8);
  EXPECT_EQ(bitsBuffer[0], 0x10);
  EXPECT_DOUBLE_EQ(amount, 0);
}

TEST_F(BuildGetTest, OnePassEndsAtTheEdges) {
  char a[2] = "a", b[2] = "b";
  EditCtrl list[2];
  ResetEditCtrlDefinition(list, sizeof list);
  DefineEditCtrl(0, 0, a, EDIT_TEXT | EDIT_DIRECT);
  DefineEditCtrl(1, 0, b, EDIT_TEXT | EDIT_DIRECT);
  HeadlessSetScript("{DOWN}{DOWN}");
  EXPECT_EQ(build_get_struct(BGS_ONE_PASS, list, 0x70), KEY_DOWN);
  HeadlessSetScript("{UP}");
  EXPECT_EQ(build_get_struct(BGS_ONE_PASS, list, 0x70), KEY_UP);
  HeadlessSetScript("{PGDN}");
  EXPECT_EQ(build_get_struct(BGS_ONE_PASS, list, 0x70), KEY_PGDN);
  // Outside one-pass mode Down on the last get stays.
  HeadlessSetScript("{DOWN}{DOWN}{DOWN}{F2}");
  EXPECT_EQ(build_get_struct(BGS_ONCE, list, 0x70), KEY_F2);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
}

TEST_F(BuildGetTest, UnknownEntryIsLoggedAndNothingIsEdited) {
  RecordingScreenHook hook;
  int32_t n = 0;
  EditCtrl list[2];
  ResetEditCtrlDefinition(list, sizeof list);
  DefineEditCtrl(0, 0, &n, EDIT_INTEGER);
  DefineEditCtrl(4, 7, &n, EDIT_THOUSANDS);
  HeadlessSetScript("");
  EXPECT_EQ(build_get_struct(BGS_ASK, list, 0x70), -1);
  ASSERT_EQ(hook.shown.size(), 1u);
  EXPECT_EQ(hook.shown[0].what, "critical");
  EXPECT_NE(hook.shown[0].text.find("4, 7"), std::string::npos) << hook.shown[0].text;
  EXPECT_EQ(Desktop.curWindow->firstGet, -1);
}

// ---- g4field

class FieldGetTest : public GetTest {
 protected:
  DbTable* table = nullptr;
  void SetUp() override {
    GetTest::SetUp();
    d4init(&env->engine);
    const DbfFieldDef fields[] = {{"NAZWA", 'C', 8, 0},
                                  {"KWOTA", 'N', 8, 2},
                                  {"DATA", 'D', 8, 0},
                                  {"OK", 'L', 1, 0},
                                  {nullptr, 0, 0, 0}};
    table = d4create(&env->engine, "FORM.DBF", fields, nullptr);
    ASSERT_NE(table, nullptr);
  }
  void TearDown() override {
    StopTestEngine(env, table);
    GetTest::TearDown();
  }
  std::string Field(const char* name) {
    DbField* f = d4field(table, name);
    return std::string(f4ptr(f), f4len(f));
  }
};

TEST_F(FieldGetTest, EditedFieldsAreWrittenToTheTable) {
  d4append_start(table, 0);
  d4blank(table);
  table->record_changed = 0;
  DbField* name = d4field(table, "NAZWA");
  DbField* amount = d4field(table, "KWOTA");
  DbField* date = d4field(table, "DATA");
  DbField* ok = d4field(table, "OK");
  g4field(0, 0, &name);
  g4field(1, 0, &amount);
  g4field(2, 0, &date);
  g4picture("DD-MM/YY");
  g4field(3, 0, &ok);
  EXPECT_EQ(Read("Nowak{ENTER}12,5{ENTER}241226{ENTER}x{ESC}"), KEY_ESC);
  EXPECT_EQ(Field("NAZWA"), "Nowak   ");
  EXPECT_EQ(Field("KWOTA"), "   12.50");
  EXPECT_EQ(Field("DATA"), "20261224");
  EXPECT_EQ(Field("OK"), " ");   // 'x' is not T or N
  EXPECT_EQ(table->record_changed, 1);
  ASSERT_EQ(d4append(table), 0);
  ASSERT_EQ(d4go(table, 1), 0);
  EXPECT_EQ(Field("NAZWA"), "Nowak   ");
  EXPECT_EQ(Field("KWOTA"), "   12.50");
}

TEST_F(FieldGetTest, ChangeSurvivesMovingToAnotherRecord) {
  for (const char* n : {"Pierwszy", "Drugi"}) {
    d4append_start(table, 0);
    d4blank(table);
    f4assign(d4field(table, "NAZWA"), n);
    ASSERT_EQ(d4append(table), 0);
  }
  ASSERT_EQ(d4go(table, 1), 0);
  DbField* name = d4field(table, "NAZWA");
  g4field(0, 0, &name);
  Read("Zmiana{ENTER}");
  ASSERT_EQ(d4go(table, 2), 0);
  EXPECT_EQ(Field("NAZWA"), "Drugi   ");
  ASSERT_EQ(d4go(table, 1), 0);
  EXPECT_EQ(Field("NAZWA"), "Zmiana  ");
}

TEST_F(FieldGetTest, UnchangedFieldLeavesTheRecordUnchanged) {
  d4blank(table);
  table->record_changed = 0;
  DbField* name = d4field(table, "NAZWA");
  g4field(0, 0, &name);
  Read("{ENTER}");
  EXPECT_EQ(table->record_changed, 0);
  DbField* none = nullptr;
  EXPECT_EQ(g4field(0, 0, &none), nullptr);
}

}  // namespace
