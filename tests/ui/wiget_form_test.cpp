// Wiget forms driven by typed keys on the headless screen: values, checks,
// drawing and the form loop of ActivateWindow.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "db/db_engine.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "tests/ui/ui_fixture.h"
#include "ui/selection.h"
#include "ui/validators.h"
#include "ui/wiget.h"
#include "ui/wiget_edit.h"

namespace {

const char kIban[] = "PL61109010140000071219812874";

class WigetTest : public UiTest {
 protected:
  Wiget list[24]{};
  Wiget members[2]{};   // a group's list, freed with the main list
  Selection payments[6]{};
  int window = -1;
  unsigned char colours[8] = {0x17, 0x1F, 0x18, 0x70, 0x1E, 0x1C, 0x1A, 0x1B};

  void SetUp() override {
    UiTest::SetUp();
    env->confirmSave = 'N';
    env->settlementYear = 2026;
    ResetSelectionDefinition(payments, sizeof payments, 12, 3);
    DefineSelection(1, "got\xA2wka", nullptr, 0);
    DefineSelection(2, "przelew", nullptr, 0);
    DefineSelection(3, "karta", nullptr, 0);
    ResetWigetsDefinition(list, 24 * WIGET_BYTES, 0);
  }
  void TearDown() override {
    bool defined = false;   // a list ends with its last-bit
    for (const Wiget& w : list) defined = defined || (w.state & WS_LAST);
    if (defined) FreeWigets(list);
    FreeSelections(payments);
    if (window >= 0) w4close(window);
    UiTest::TearDown();
  }
  // A window at (3, 5) over the list; row and column 0 inside its frame are (4, 6).
  void Open() {
    window = w4define(3, 5, 20, 70);
    w4border(kStdFrame, 0x1E);
    w4attribute(0x17);
    Window4* w = w4record(window);
    w->wigets = list;
    w->colourSet = colours;
  }
  int Run(const char* keys, int options = 0, Wiget* start = nullptr,
          int (*routine)(int, void*) = nullptr) {
    EXPECT_EQ(HeadlessSetScript(keys), 0);
    int result = ActivateWindow(window, start, routine, options);
    EXPECT_EQ(HeadlessKeysLeft(), 0) << "keys left over after " << keys;
    return result;
  }
  // Window-relative cells in the system's character set.
  static std::string At(int row, int col, int n) {
    std::string text;
    for (int i = 0; i < n; i++) text += static_cast<char>(Char(4 + row, 6 + col + i));
    return text;
  }
  static int AttrAt(int row, int col) { return Attr(4 + row, 6 + col); }
};

// Records the events an element sees; events 11 to 17 drop their message.
struct EventLog {
  std::vector<int> codes;
  std::vector<int> messages;
};
EventLog* eventLog = nullptr;
int LogEvent(WigetEvent* e, Wiget*, void*) {
  if (!eventLog) return 0;
  eventLog->codes.push_back(e->code);
  if (e->code >= WE_REQUIRED && e->code <= WE_NRB) {
    eventLog->messages.push_back(e->message.number ? e->message.number : -1);
    e->message = TextRef();
  }
  return 0;
}

TEST_F(WigetTest, SettersRunTheirChecksInOrderAndKeepTheOldValueWhenRefused) {
  int32_t month = 5, amount = 1;
  double money = 1.5;
  char date[9] = "20260105";
  char account[29];
  std::memset(account, ' ', 28);
  account[28] = 0;
  char nrb[27];
  std::memset(nrb, ' ', 26);
  nrb[26] = 0;
  Wiget* wMonth = DefineWigetEx(0, 0, WigetVar(&month), 0, W_INT | WF_MONTH);
  Wiget* wAmount = DefineWigetEx(1, 0, WigetVar(&amount), 0, W_INT | WF_NONZERO | WF_NONNEGATIVE);
  Wiget* wMoney = DefineWigetEx(2, 0, WigetVar(&money), 0, W_DOUBLE | WF_NONNEGATIVE);
  Wiget* wDate = DefineWigetEx(3, 0, WigetVar(date), 0, W_DATE | WF_REQUIRED | WF_WORKING_YEAR);
  Wiget* wIban = DefineWigetEx(4, 0, WigetVar(account), 28, W_TEXT | WF_IBAN);
  Wiget* wNrb = DefineWigetEx(5, 0, WigetVar(nrb), 26, W_TEXT | WF_NRB | WF_REQUIRED);
  for (Wiget* w = list; w <= wNrb; w++) w->hook = LogEvent;
  std::string badIban = kIban;
  badIban[5] = '2';
  struct Case {
    const char* name;
    int (*set)();
    int stored;
    int event;
    int message;   // -1: a text without a number
  };
  static Wiget *sMonth, *sAmount, *sMoney, *sDate, *sIban, *sNrb;
  static std::string sBad;
  sMonth = wMonth, sAmount = wAmount, sMoney = wMoney, sDate = wDate, sIban = wIban, sNrb = wNrb, sBad = badIban;
  const Case cases[] = {
      {"month 13", [] { return WigetSetLong(sMonth, 13); }, 0, WE_MONTH, 50137},
      {"month 12", [] { return WigetSetLong(sMonth, 12); }, 1, 0, 0},
      {"zero", [] { return WigetSetLong(sAmount, 0); }, 0, WE_ZERO, 50135},
      {"negative", [] { return WigetSetLong(sAmount, -3); }, 0, WE_NEGATIVE, 50133},
      {"negative double", [] { return WigetSetDouble(sMoney, -0.01); }, 0, WE_NEGATIVE, 50133},
      {"blank date", [] { return WigetSetDate(sDate, "        "); }, 0, WE_REQUIRED, 50140},
      {"other year", [] { return WigetSetDate(sDate, "20251231"); }, 0, WE_YEAR, 50132},
      {"working year", [] { return WigetSetDate(sDate, "20260228"); }, 1, 0, 0},
      {"valid IBAN", [] { return WigetSetString(sIban, kIban); }, 1, 0, 0},
      {"changed digit", [] { return WigetSetString(sIban, sBad.c_str()); }, 0, WE_IBAN, -1},
      {"empty IBAN", [] { return WigetSetString(sIban, ""); }, 1, 0, 0},
      {"required NRB", [] { return WigetSetString(sNrb, "   "); }, 0, WE_REQUIRED, 50140},
      {"valid NRB", [] { return WigetSetString(sNrb, kIban + 2); }, 1, 0, 0},
      {"bad NRB", [] { return WigetSetString(sNrb, sBad.c_str() + 2); }, 0, WE_NRB, -1},
  };
  for (const Case& c : cases) {
    EventLog log;
    eventLog = &log;
    EXPECT_EQ(c.set(), c.stored) << c.name;
    eventLog = nullptr;
    if (c.stored) {
      EXPECT_EQ(log.codes, (std::vector<int>{WE_TEST, WE_STORED})) << c.name;
    } else {
      EXPECT_EQ(log.codes, (std::vector<int>{c.event})) << c.name << ": no test event after a failed check";
      EXPECT_EQ(log.messages, (std::vector<int>{c.message})) << c.name;
    }
  }
  EXPECT_EQ(month, 12);
  EXPECT_EQ(amount, 1);
  EXPECT_EQ(money, 1.5);
  EXPECT_EQ(std::string(date), "20260228");
  EXPECT_EQ(std::string(account), std::string(28, ' '));
  EXPECT_EQ(std::string(nrb), std::string(kIban + 2));
}

int RefuseOdd(WigetEvent* e, Wiget*, void*) {
  if (e->code == WE_TEST && (e->newLong & 1)) {
    e->message = TextRef();
    return 1;
  }
  return 0;
}

TEST_F(WigetTest, TestEventRefusesAndTypesAreChecked) {
  int32_t n = 2;
  char yes = 'N';
  Wiget* w = DefineWigetEx(0, 0, WigetVar(&n), 0, W_INT);
  Wiget* yn = DefineWigetEx(1, 0, WigetVar(&yes), 0, W_YESNO);
  w->hook = RefuseOdd;
  EXPECT_EQ(WigetSetLong(w, 3), 0);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(WigetSetLong(w, 4), 1);
  EXPECT_EQ(n, 4);
  EXPECT_EQ(WigetSetLong(yn, 't'), 1);
  EXPECT_EQ(yes, 'T');
  EXPECT_EQ(WigetSetLong(yn, ' '), 1);
  EXPECT_EQ(yes, 'N');
  // A wrong store and a wrong value: the element's error box, then nothing stored.
  ASSERT_EQ(HeadlessSetScript("{ENTER}{ENTER}{ENTER}"), 0);
  EXPECT_EQ(WigetSetLong(yn, 'Q'), 0);
  EXPECT_EQ(yes, 'N');
  EXPECT_EQ(WigetSetString(w, "5"), 0);
  EXPECT_EQ(WigetAsDouble(w), 0.0);
  EXPECT_EQ(n, 4);
  EXPECT_EQ(HeadlessKeysLeft(), 0);
}

TEST_F(WigetTest, SourcesAreTaggedNotNumbersInPointers) {
  char name[7] = "abcdef";
  Wiget* own = DefineWigetEx(0, 0, WigetLen(5), 0, W_TEXT);
  Wiget* bound = DefineWigetEx(1, 0, WigetVar(name), 0, W_TEXT);
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(WigetLength(own), 5);
  EXPECT_EQ(WigetLength(bound), 6);
  EXPECT_EQ(WigetSetString(own, "xy"), 1);
  EXPECT_EQ(std::string(WigetAsQStr(own, 0)), "xy   ");
  EXPECT_EQ(std::string(name), "abcdef");
  EXPECT_EQ(WigetBySource(list, WigetLen(5)), own);
  EXPECT_EQ(WigetBySource(list, WigetVar(name)), bound);
  EXPECT_EQ(WigetBySource(list, WigetMsg(5)), nullptr) << "a message number 5 is not a length 5";
  EXPECT_EQ(WigetSetString(bound, "qq"), 1);
  EXPECT_EQ(std::string(name), "qq    ");
}

TEST_F(WigetTest, DefinitionRefusesBadTypesAndAFullArray) {
  Wiget two[2]{};
  ResetWigetsDefinition(two, 2 * WIGET_BYTES, 1);
  int32_t n = 0;
  Wiget* a = DefineWigetEx(3, 4, WigetVar(&n), 0, W_INT);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->row, 2);
  EXPECT_EQ(a->col, 3);
  RecordingScreenHook screen;
  ASSERT_EQ(HeadlessSetScript("{ENTER}{ENTER}"), 0);
  EXPECT_EQ(DefineWigetEx(3, 4, WigetVar(&n), 0, 18), nullptr);
  EXPECT_EQ(DefineWigetEx(3, 4, WigetLen(4), 0, W_INT), nullptr) << "an integer needs a variable, not a length";
  EXPECT_EQ(DefineWigetEx(3, 5, WigetVar(&n), 0, W_INT)->state & WS_LAST, WS_LAST);
  EXPECT_EQ(a->state & WS_LAST, 0);
  EXPECT_EQ(DefineWigetEx(3, 6, WigetVar(&n), 0, W_INT), nullptr);
  ASSERT_EQ(screen.shown.size(), 1u);
  EXPECT_EQ(screen.shown[0].what, "critical") << "the full array is logged and shown";
  ResetWigetsDefinition(list, 24 * WIGET_BYTES, 0);
}

TEST_F(WigetTest, DrawingByType) {
  Open();
  char yes = 'T', no = 'N';
  int32_t code = 2, missing = 9, blank = CODE_BLANK, month = 3;
  double big = 1234567.5;
  DefineWigetEx(0, 0, WigetVar(&yes), 0, W_YESNO);
  DefineWigetEx(0, 5, WigetVar(&no), 0, W_YESNO);
  DefineWigetEx(0, 10, WigetVar(&yes), 0, W_YESNO | WF_LONG);
  DefineWigetEx(0, 12, WigetVar(&no), 0, W_YESNO | WF_LONG);
  DefineWigetEx(1, 0, WigetVar(&code), payments, W_CODE);
  Wiget* gone = DefineWigetEx(2, 0, WigetVar(&missing), payments, W_CODE);
  DefineWigetEx(3, 0, WigetVar(&blank), payments, W_CODE | WF_WORKING_YEAR);
  DefineWigetEx(4, 0, WigetVar(&big), 0, W_DOUBLE | WF_LONG);
  Wiget* hidden = DefineWigetEx(5, 0, WigetVar(&month), 0, W_INT);
  DefineWigetEx(6, 0, WigetMsg("A\tB\nC"), 0, W_STATIC);
  w4activate(window);
  DisplayPageWigets(nullptr, list, 0, 0, WD_ALL);
  EXPECT_EQ(At(0, 0, 14), "TAK  NIE  X   ");
  EXPECT_EQ(At(1, 0, 12), "przelew     ");
  EXPECT_EQ(At(2, 0, 12), std::string(12, ' '));
  EXPECT_EQ(AttrAt(2, 0), 0xA0) << "a code not in its list";
  EXPECT_EQ(AttrAt(3, 0), colours[1]) << "a blank code with bit 23 is not marked";
  EXPECT_EQ(At(4, 0, 13), " 1 234 567.50") << "grouped thousands widen the number";
  EXPECT_EQ(At(5, 0, 6), "     3");
  EXPECT_EQ(At(6, 0, 9), "A       B");
  EXPECT_EQ(At(7, 0, 1), "C");
  // An empty record leaves the missing code unmarked; hiding blanks with display flag 0x10.
  DisplayPageWigets(nullptr, list, 0, 0, WD_ALL | WD_EMPTY_RECORD);
  EXPECT_EQ(AttrAt(2, 0), colours[1]);
  (void)gone;
  StateOfWigets_(WS_HIDDEN, 1, hidden);
  EXPECT_TRUE(hidden->state & WS_REDRAW);
  DisplayPageWigets(nullptr, list, 0, 0, WD_BLANK_FIRST | WD_HIDDEN_ONLY);
  EXPECT_EQ(At(5, 0, 6), "      ");
}

// The two-page form: a text bound to a table field, a number field, an own
// date on page 1; yes/no, a picked code and an own IBAN on page 2.
class WigetFormTest : public WigetTest {
 protected:
  DbTable* table = nullptr;
  DbField* fName = nullptr;
  DbField* fAmount = nullptr;

  void SetUp() override {
    WigetTest::SetUp();
    d4init(&env->engine);
    const DbfFieldDef fields[] = {{"NAZWA", 'C', 20, 0}, {"KWOTA", 'N', 10, 2}, {nullptr, 0, 0, 0}};
    table = d4create(&env->engine, "FORMA.DBF", fields, nullptr);
    ASSERT_NE(table, nullptr);
    fName = d4field(table, "NAZWA");
    fAmount = d4field(table, "KWOTA");
    d4blank(table);
  }
  void TearDown() override {
    StopTestEngine(env, table);
    WigetTest::TearDown();
  }
};

TEST_F(WigetFormTest, TwoPagesFilledByKeysAndSavedWithF2) {
  char date[9] = "20250101";
  char yes = 'N';
  int32_t payment = 1;
  char account[29];
  std::memset(account, ' ', 28);
  account[28] = 0;
  Open();
  DefineWigetEx(0, 0, WigetMsg("Nazwa:"), 0, W_STATIC);
  Wiget* wName = DefineWigetEx(0, 10, WigetFld(&fName), 0, W_FIELD | WF_REQUIRED);
  DefineWigetEx(1, 10, WigetFld(&fAmount), 0, W_FIELD);
  Wiget* wDate = DefineWigetEx(2, 10, WigetVar(date), 0, W_DATE | WF_OWN_BUFFER);
  DefineWigetEx(0, 0, WigetSource{}, 0, W_PAGE);
  DefineWigetEx(0, 0, WigetMsg("Strona 2"), 0, W_STATIC);
  DefineWigetEx(1, 10, WigetVar(&yes), 0, W_YESNO);
  DefineWigetEx(2, 10, WigetVar(&payment), payments, W_CODE);
  Wiget* wIban = DefineWigetEx(3, 10, WigetVar(account), 28, W_TEXT | WF_IBAN | WF_OWN_BUFFER);
  (void)wName;
  int result = Run("Kowalski{ENTER}123,45{ENTER}101226{ENTER}t{DOWN}{ENTER}pl61109010140000071219812874{F2}");
  EXPECT_EQ(result, KEY_F2);
  EXPECT_EQ(std::string(f4ptr(fName), 20), "Kowalski            ");
  EXPECT_DOUBLE_EQ(f4double(fAmount), 123.45);
  EXPECT_EQ(std::string(date), "20261210");
  EXPECT_EQ(yes, 'T');
  EXPECT_EQ(payment, 2);
  EXPECT_EQ(std::string(account), kIban) << "typed in lower case, stored in upper case without the mask";
  EXPECT_EQ(w4record(window)->page, 1);
  EXPECT_EQ(At(3, 10, 34), "PL61 1090 1014 0000 0712 1981 2874");
  EXPECT_EQ(At(0, 0, 8), "Strona 2");
  (void)wDate;
  (void)wIban;
  // The record reaches the table.
  d4append_start(table, 0);
  ASSERT_EQ(d4append(table), 0);
  ASSERT_EQ(d4go(table, 1), 0);
  EXPECT_EQ(std::string(f4ptr(fName), 8), "Kowalski");
  EXPECT_DOUBLE_EQ(f4double(fAmount), 123.45);
}

struct Trace {
  Wiget* list;
  std::vector<int> rows;          // row of the element with the cursor at each key
  std::vector<std::string> buffers;
  Window4* window;
};
int TraceKey(int, void* data) {
  Trace* t = static_cast<Trace*>(data);
  int row = -1;
  for (Wiget* w = t->list;; w++) {
    if (w->state & WS_CURSOR) row = w->row;
    if (w->state & WS_LAST) break;
  }
  t->rows.push_back(row);
  FormState* form = static_cast<FormState*>(t->window->formState);
  t->buffers.push_back(form ? std::string(form->buffer, static_cast<size_t>(form->length)) : "");
  return 0;
}

TEST_F(WigetFormTest, ARefusedCheckKeepsTheCursorInItsElement) {
  int32_t month = 1, day = 0;
  Open();
  DefineWigetEx(0, 0, WigetVar(&month), 0, W_INT | WF_MONTH);
  DefineWigetEx(1, 0, WigetVar(&day), 0, W_INT);
  Trace trace{list, {}, {}, w4record(window)};
  w4record(window)->formData = &trace;
  // 13 is refused with a box (closed by the space), then 7 replaces it.
  int result = Run("13{ENTER} 7{ENTER}4{F2}", AW_NO_QUESTIONS, nullptr, TraceKey);
  EXPECT_EQ(result, KEY_F2);
  EXPECT_EQ(month, 7);
  EXPECT_EQ(day, 4);
  // keys: 1 3 Enter (box) 7 Enter 4 F2; the box's key is read by the box itself.
  ASSERT_EQ(trace.rows.size(), 7u);
  EXPECT_EQ(trace.rows[3], 0) << "after the refusal the month keeps the cursor";
  EXPECT_EQ(trace.rows[5], 1);
}

TEST_F(WigetFormTest, EscLeavesWithoutSaving) {
  char date[9] = "20250101";
  int32_t n = 5;
  Open();
  DefineWigetEx(0, 0, WigetFld(&fName), 0, W_FIELD);
  DefineWigetEx(1, 0, WigetVar(date), 0, W_DATE | WF_OWN_BUFFER);
  DefineWigetEx(2, 0, WigetVar(&n), 0, W_INT);
  f4assign(fName, "stary");
  // The name is left (stored: no own buffer), the date is typed into its own copy, n is being typed.
  EXPECT_EQ(Run("nowy{ENTER}010226{ENTER}9{ESC}", AW_NO_QUESTIONS), KEY_ESC);
  EXPECT_EQ(std::string(f4ptr(fName), 5), "nowy ");
  EXPECT_EQ(std::string(date), "20250101");
  EXPECT_EQ(n, 5);
  // With the question: Esc in the box confirms leaving.
  env->confirmSave = 'T';
  EXPECT_EQ(Run("x{ESC}{ESC}"), KEY_ESC);
  EXPECT_EQ(std::string(f4ptr(fName), 5), "nowy ");
}

TEST_F(WigetFormTest, EditingKeysInTheBuffer) {
  double money = 0;
  char text[9] = "abcdefgh";
  Open();
  DefineWigetEx(0, 0, WigetVar(&money), 0, W_DOUBLE | WidthFlag(9) | DecimalsFlag(2));
  DefineWigetEx(1, 0, WigetVar(text), 8, W_TEXT);
  Trace trace{list, {}, {}, w4record(window)};
  w4record(window)->formData = &trace;
  Desktop.insertMode = 1;
  EXPECT_EQ(Run("12,5{ENTER}{RIGHT}{RIGHT}X{DEL}{F2}", AW_NO_QUESTIONS, nullptr, TraceKey), KEY_F2);
  ASSERT_GE(trace.buffers.size(), 6u);
  EXPECT_EQ(trace.buffers[4], "    12.50") << "the comma right-aligns the integer part";
  EXPECT_DOUBLE_EQ(money, 12.5);
  EXPECT_EQ(std::string(text), "abXdefg ") << "insert shifts right (the last falls off), Del pulls left";
}

TEST_F(WigetFormTest, MaskedAndRadioElementsTakeOnlyTheirKeys) {
  char nrb[27];
  std::memset(nrb, ' ', 26);
  nrb[26] = 0;
  int32_t vat = 0;
  Open();
  DefineWigetEx(0, 0, WigetVar(nrb), 26, W_TEXT | WF_NRB);
  Wiget* head = DefineWigetEx(1, 0, WigetVar(&vat), 10, W_RADIO);
  DefineWigetEx(1, 4, WigetMember(1), 20, W_RADIO);
  DefineWigetEx(1, 8, WigetMember(2), 30, W_RADIO);
  // The letter is refused (beep), the digits fill the places of the mask.
  std::string keys = std::string("a") + (kIban + 2) + "{ENTER}{DOWN}x{F2}";
  EXPECT_EQ(Run(keys.c_str(), AW_NO_QUESTIONS), KEY_F2);
  EXPECT_EQ(std::string(nrb), std::string(kIban + 2));
  EXPECT_EQ(vat, 20);
  EXPECT_EQ(At(0, 0, 32), "61 1090 1014 0000 0712 1981 2874");
  EXPECT_EQ(At(1, 0, 9), "    X    ");
  // Hiding the head hides its members.
  StateOfWigets_(WS_HIDDEN, 1, head);
  EXPECT_TRUE(head[2].state & WS_HIDDEN);
}

TEST_F(WigetFormTest, ATextLongerThanTheEditBufferKeepsItsEnd) {
  std::string stored(100, 'a');
  stored[99] = 'z';
  std::vector<char> text(stored.begin(), stored.end());
  text.push_back(0);
  Open();
  DefineWigetEx(0, 0, WigetVar(text.data()), 100, W_TEXT | WidthFlag(20));
  EXPECT_EQ(Run("{HOME}b{F2}", AW_NO_QUESTIONS), KEY_F2);
  stored[0] = 'b';
  EXPECT_EQ(std::string(text.data()), stored);
}

int KeyFilter(WigetEvent* e, Wiget*, void*) {
  if (e->code != WE_KEY) return 0;
  if (e->key == 'q') return 1;   // dropped with a beep
  if (e->key == 'a') e->key = 'b';
  return 0;
}

TEST_F(WigetFormTest, GroupMembersKeyEventsAndAHiddenPage) {
  char first[4] = "   ", second[4] = "   ";
  int32_t last = 0;
  ResetWigetsDefinition(members, 2 * WIGET_BYTES, 0);
  Wiget* m1 = DefineWigetEx(0, 0, WigetVar(first), 3, W_TEXT);
  DefineWigetEx(0, 5, WigetVar(second), 3, W_TEXT);
  m1->hook = KeyFilter;
  ResetWigetsDefinition(list, 24 * WIGET_BYTES, 0);
  Open();
  DefineWigetEx(2, 3, WigetGroup(members), 0, W_GROUP);
  Wiget* hiddenBreak = DefineWigetEx(0, 0, WigetSource{}, 0, W_PAGE);
  DefineWigetEx(0, 0, WigetMsg("ukryta"), 0, W_STATIC);
  DefineWigetEx(0, 0, WigetSource{}, 0, W_PAGE);
  DefineWigetEx(1, 1, WigetVar(&last), 0, W_INT);
  hiddenBreak->state |= WS_HIDDEN;
  EXPECT_EQ(Run("qaa{ENTER}xyz{PGDN}5{PGUP}{F2}", AW_NO_QUESTIONS), KEY_F2);
  EXPECT_EQ(std::string(first), "bb ");
  EXPECT_EQ(std::string(second), "xyz");
  EXPECT_EQ(last, 5);
  EXPECT_EQ(w4record(window)->pageCount, 2) << "a hidden page takes no number";
  EXPECT_EQ(w4record(window)->page, 0);
  EXPECT_EQ(At(2, 3, 8), "bb   xyz") << "members drawn at the group's offsets";
}

TEST_F(WigetFormTest, EnterOnTheLastElementSavesUnlessOptionEight) {
  int32_t a = 0;
  Open();
  DefineWigetEx(0, 0, WigetVar(&a), 0, W_INT);
  EXPECT_EQ(Run("3{ENTER}"), KEY_F2);
  EXPECT_EQ(a, 3);
  EXPECT_EQ(Run("4{ENTER}{DOWN}{ESC}", AW_ENTER_NO_SAVE | AW_NO_QUESTIONS), KEY_ESC);
  EXPECT_EQ(a, 4);
}

TEST_F(WigetFormTest, HiddenTextIsEmptiedBySaveAndDisplayPagePassesKeys) {
  char hiddenText[5] = "abcd";
  int32_t n = 0;
  Open();
  DefineWigetEx(0, 0, WigetMsg("tylko opis"), 0, W_STATIC);
  DefineWigetEx(0, 0, WigetSource{}, 0, W_PAGE);
  Wiget* h = DefineWigetEx(0, 0, WigetVar(hiddenText), 0, W_TEXT);
  DefineWigetEx(1, 0, WigetVar(&n), 0, W_INT);
  StateOfWigets_(WS_HIDDEN, 1, h);
  Trace trace{list, {}, {}, w4record(window)};
  w4record(window)->formData = &trace;
  EXPECT_EQ(Run("q{PGDN}8{F2}", AW_NO_QUESTIONS, nullptr, TraceKey), KEY_F2);
  EXPECT_EQ(trace.rows[0], -1) << "page 1 runs in display mode";
  EXPECT_EQ(n, 8);
  EXPECT_EQ(std::string(hiddenText), "    ");
}

}  // namespace
