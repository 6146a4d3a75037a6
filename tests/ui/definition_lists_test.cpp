// Definition lists and the drawing of browse columns.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "db/db_index.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "tests/ui/ui_fixture.h"
#include "ui/definition_lists.h"

namespace {

class ListTest : public UiTest {};

TEST_F(ListTest, FullListKeepsItsEntriesAndLastFlag) {
  RecordingScreenHook hook;
  TextCtrl texts[5];
  ResetTextCtrlDefinition(texts, sizeof texts);
  for (int i = 0; i < 5; i++) ASSERT_NE(DefineTextCtrl(i, 0, nullptr, 0), nullptr);
  EXPECT_EQ(DefineTextCtrl(5, 0, nullptr, 0), nullptr);
  ASSERT_EQ(hook.shown.size(), 1u);
  EXPECT_NE(hook.shown[0].text.find("ERRCODE(9)"), std::string::npos) << hook.shown[0].text;
  for (int i = 0; i < 4; i++) EXPECT_EQ(texts[i].flags & DEF_LAST, 0) << i;
  EXPECT_EQ(texts[4].flags & DEF_LAST, DEF_LAST);
  EXPECT_EQ(texts[4].row, 4);

  struct Kind {
    int code;
    bool (*fill)();
  } kinds[] = {
      {10, [] {
         ScrollColumn a[1];
         ResetScrollDefinition(a, sizeof a);
         return DefineScrollColumn(nullptr, 0, "A") && !DefineScrollColumn(nullptr, 0, "B");
       }},
      {12, [] {
         TabuColumn a[1];
         ResetTabuDefinition(a, sizeof a);
         return DefineTabuColumn("A", nullptr, nullptr, 0, 1) && !DefineTabuColumn("B", nullptr, nullptr, 0, 1);
       }},
      {13, [] {
         EditCtrl a[1];
         ResetEditCtrlDefinition(a, sizeof a);
         return DefineEditCtrl(0, 0, nullptr, 0) && !DefineEditCtrl(0, 0, nullptr, 0);
       }},
  };
  for (const Kind& k : kinds) {
    hook.shown.clear();
    EXPECT_TRUE(k.fill()) << k.code;
    ASSERT_EQ(hook.shown.size(), 1u) << k.code;
    EXPECT_NE(hook.shown[0].text.find("ERRCODE(" + std::to_string(k.code) + ")"), std::string::npos) << hook.shown[0].text;
  }
}

TEST_F(ListTest, DefaultsOfNewEntries) {
  TabuColumn tabu[4];
  ResetTabuDefinition(tabu, sizeof tabu);
  DefineTabuColumn("A", nullptr, nullptr, 0, 1);
  DefineTabuColumn("B", "b", nullptr, 2, 1);
  TabuColumn* c = DefineTabuColumn("C", nullptr, nullptr, 0, 2);
  EXPECT_EQ(tabu[0].row, 1);
  EXPECT_EQ(tabu[1].row, 2);
  EXPECT_EQ(c->row, 1);
  EXPECT_EQ(c->width, -1);
  EXPECT_EQ(c->column, 2);
  EXPECT_EQ(c->factoryColumn, 2);
  EXPECT_EQ(tabu[1].flags, 2);
  EXPECT_EQ(c->flags, static_cast<int16_t>(DEF_LAST));

  ScrollColumn scroll[1];
  ResetScrollDefinition(scroll, sizeof scroll);
  ScrollColumn* s = DefineScrollColumn(nullptr, SCROLL_THOUSANDS, "Kwota");
  EXPECT_EQ(s->width, -1);
  EXPECT_EQ(s->tag, nullptr);
  EXPECT_EQ(s->valueRoutine, nullptr);
  EXPECT_EQ(s->flags, SCROLL_THOUSANDS | DEF_LAST);
}

class ColumnTest : public UiTest {
 protected:
  DbTable* table = nullptr;
  DbField *name = nullptr, *amount = nullptr, *date = nullptr;

  void SetUp() override {
    UiTest::SetUp();
    d4init(&env->engine);
    const DbfFieldDef fields[] = {
        {"NAZWA", 'C', 20, 0}, {"KWOTA", 'N', 8, 2}, {"DATA", 'D', 8, 0}, {nullptr, 0, 0, 0}};
    const DbfTagDef tags[] = {{"NAZWA", "NAZWA", nullptr, 0, 0}, {"KWOTA", "KWOTA", nullptr, 0, 0},
                              {nullptr, nullptr, nullptr, 0, 0}};
    table = d4create(&env->engine, "LISTA.DBF", fields, tags);
    ASSERT_NE(table, nullptr);
    name = d4field(table, "NAZWA");
    amount = d4field(table, "KWOTA");
    date = d4field(table, "DATA");
    d4blank(table);
    f4assign(name, "Kowalski");
    f4assign_double(amount, -12.5);
    f4assign(date, "20240131");
    w4activate(w4define(0, 0, Desktop.rows - 1, Desktop.cols - 1));
  }
  void TearDown() override {
    StopTestEngine(env, table);
    UiTest::TearDown();
  }
};

TEST_F(ColumnTest, GivenWidthGrowsOnlyIntoSpareRoom) {
  ScrollColumn list[2];
  struct Case {
    int flags;
    int otherWidth;   // 0: no second column
    int width;
  } cases[] = {
      {0, 0, 20},                        // room on the screen: the field's length
      {0, 74, 5},                        // 5 + 1 + 74 fills the 80 columns
      {SCROLL_FIXED_WIDTH, 0, 5},
      {0, 70, 9},                        // four spare columns
  };
  for (const Case& c : cases) {
    ResetScrollDefinition(list, sizeof list);
    ScrollColumn* column = DefineScrollColumn(&name, c.flags, "N");
    column->width = 5;
    if (c.otherWidth) DefineScrollColumn(&name, 0, "X")->width = static_cast<int8_t>(c.otherWidth);
    ScrollColumnsHeader(list, "Lista", 0x70, 0x1F);
    EXPECT_EQ(list[0].endPos, c.width) << c.flags << " " << c.otherWidth;
    ScrollColumnsRow(list, 5, 0x17, 0x1E, 0x4F);
    EXPECT_EQ(Cells(5, 0, c.width), std::string("Kowalski            ").substr(0, c.width));
  }
}

TEST_F(ColumnTest, NegativeNumbersInTheAlternativeAttribute) {
  ScrollColumn list[2];
  ResetScrollDefinition(list, sizeof list);
  DefineScrollColumn(&amount, SCROLL_WIDE, "Kwota");
  DefineScrollColumn(&date, SCROLL_WIDE, "Data");
  ScrollColumnsRow(list, 4, 0x17, 0x1E, 0x4F);
  EXPECT_EQ(Cells(4, 0, 21), "  -12.50  \xe2\x94\x82" "31-01-2024");
  EXPECT_EQ(Attr(4, 2), 0x4F);
  EXPECT_EQ(Attr(4, 9), 0x17);
  EXPECT_EQ(Attr(4, 10), 0x17);
  f4assign_double(amount, 12.5);
  f4assign(date, "        ");
  ScrollColumnsRow(list, 4, 0x17, 0x1E, 0x4F);
  EXPECT_EQ(Cells(4, 0, 21), "   12.50  \xe2\x94\x82          ");
  EXPECT_EQ(Attr(4, 3), 0x1E);
  // Text attribute -1: the blank cells and separators only.
  ScrollColumnsRow(list, 4, 0x17, -1, 0x4F);
  EXPECT_EQ(Cells(4, 0, 21), "          \xe2\x94\x82          ");
}

TEST_F(ColumnTest, ThousandsGroupsAndShortDates) {
  ScrollColumn list[2];
  ResetScrollDefinition(list, sizeof list);
  f4assign_double(amount, 12345.5);
  DefineScrollColumn(&amount, SCROLL_THOUSANDS, "Kwota");
  DefineScrollColumn(&date, 0, "Data");
  ScrollColumn* last = nullptr;
  EXPECT_EQ(ScrollColumnsWidth(list, &last), 9 + 1 + 8);
  EXPECT_EQ(last, &list[1]);
  ScrollColumnsRow(list, 4, 0x17, 0x1E, 0x4F);
  EXPECT_EQ(Cells(4, 0, 18), "12 345.50\xe2\x94\x82" "31-01/24");
}

TEST_F(ColumnTest, HeaderMarksTheColumnOfTheSelectedTag) {
  DbTag* byName = d4tag(table, "NAZWA");
  DbTag* byAmount = d4tag(table, "KWOTA");
  ASSERT_NE(byName, nullptr);
  ASSERT_NE(byAmount, nullptr);
  d4tag_select(table, byAmount);
  ScrollColumn list[3];
  ResetScrollDefinition(list, sizeof list);
  DefineScrollColumn(&name, 0, "Nazwisko")->tag = &byName;
  DefineScrollColumn(&amount, 0, "Kwota")->tag = &byAmount;
  DefineScrollColumn(&date, 0, "Data");
  EXPECT_EQ(ScrollColumnsHeader(list, "LISTA", 0x70, 0x1F), 20 + 1 + 8 + 1 + 8 - 1);
  EXPECT_EQ(Cells(0, 37, 5), "LISTA");
  EXPECT_EQ(Attr(0, 0), 0x70);
  EXPECT_EQ(Cells(1, 0, 38), "      Nazwisko      \xe2\x94\x82 Kwota  \xe2\x94\x82  Data  ");
  EXPECT_EQ(Attr(1, 6), 0x1F);
  EXPECT_EQ(Attr(1, 22), 126);
  EXPECT_EQ(Attr(1, 32), 0x1F);
  EXPECT_EQ(Char(2, 0), 0xC4);
  EXPECT_EQ(Char(2, 20), 0xC5);
  EXPECT_EQ(Char(2, 29), 0xC5);
  EXPECT_EQ(Attr(2, 38), 7);   // nothing after the last column
  EXPECT_EQ(list[0].endPos, 20);
  EXPECT_EQ(list[1].endPos, 29);
  EXPECT_EQ(list[2].endPos, 38);
}

TEST_F(ColumnTest, ColumnsThatDoNotFitAreLeftOut) {
  ScrollColumn list[5];
  ResetScrollDefinition(list, sizeof list);
  for (int i = 0; i < 5; i++) DefineScrollColumn(&name, 0, "N");
  ScrollColumn* last = nullptr;
  EXPECT_EQ(ScrollColumnsWidth(list, &last), 20 * 3 + 2);
  EXPECT_EQ(last, &list[2]);
  ScrollColumnsRow(list, 3, 0x17, 0x1E, 0x4F);
  EXPECT_EQ(Attr(3, 62), 7);
}

int drawn = 0;
void CountDrawing(TextCtrl*) { drawn++; }

TEST_F(ColumnTest, TextCtrlEntriesDrawByKind) {
  static const char* const kinds[] = {"0 zero", "1 jeden", "2 dwa", nullptr};
  DbField* number = amount;
  TextCtrl list[6];
  ResetTextCtrlDefinition(list, sizeof list);
  DefineTextCtrl(1, 0, &name, 0);
  DefineTextCtrl(2, 0, &date, 0);
  f4assign_double(amount, 1234.5);
  DefineTextCtrl(3, 0, &number, TEXT_THOUSANDS);
  DefineTextCtrl(4, 0, &name, TEXT_HIDDEN);
  DefineTextCtrl(5, 0, &number, 0)->drawRoutine = CountDrawing;
  DefineTextCtrl(6, 0, &number, 0)->codeTexts = kinds;
  w4(4, 0, "----");
  drawn = 0;
  for (TextCtrl* e = list;; e++) {
    DrawTextCtrl(e);
    if (e->flags & DEF_LAST) break;
  }
  EXPECT_EQ(Cells(1, 0, 20), "Kowalski            ");
  EXPECT_EQ(Cells(2, 0, 8), "31-01/24");
  EXPECT_EQ(Cells(3, 0, 9), " 1 234.50");
  EXPECT_EQ(Cells(4, 0, 4), "----");
  EXPECT_EQ(drawn, 1);
  f4assign_double(amount, 7);   // outside the list: the first text
  DrawTextCtrl(&list[5]);
  EXPECT_EQ(Cells(6, 0, 4), "zero");
  f4assign_double(amount, 2);
  DrawTextCtrl(&list[5]);
  EXPECT_EQ(Cells(6, 0, 3), "dwa");
}

void Shout(ColumnValue* value) {
  value->type = 'C';
  value->length = 3;
  std::memcpy(value->text, "HEJ", 3);
}

TEST_F(ColumnTest, ValueRoutineFillsTheColumn) {
  ScrollColumn list[1];
  ResetScrollDefinition(list, sizeof list);
  DefineScrollColumn(&name, 0, "A")->valueRoutine = Shout;
  ScrollColumnsRow(list, 2, 0x17, 0x1E, 0x4F);
  EXPECT_EQ(Cells(2, 0, 4), "HEJ ");
  EXPECT_EQ(Attr(2, 3), 7);
}

}  // namespace
