// The window "OPCJE PRZELEWÓW": the print settings of transfer orders among
// the main options, saved with F2.
#include <cstdint>

#include "app/document_kinds.h"
#include "app/option_sets.h"
#include "finance/transfers.h"
#include "sales/background_screen.h"
#include "ui/definition_lists.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/opened_window.h"
#include "ui/std_windows.h"

namespace {

constexpr int16_t RES_OPTIONS = 82;
constexpr int WINDOW_ROW = 2, WINDOW_COL = 0, WINDOW_ROWS = 13, WINDOW_COLS = 80;
constexpr int COLUMN = 49, WIDE_COLUMN = 70;
constexpr int FIELD_ATTRIBUTE = 0x70;
constexpr int MSG_OUT_OF_RANGE = 156;   // "Wartość poza zakresem !"
constexpr uint32_t TEXT = EDIT_TEXT | EDIT_DIRECT, NUMBER = EDIT_DIRECT | EDIT_INTEGER;

// The values as the window edits them.
struct Values {
  char onForms[2], formOfPayment[2], addresses[2], mark[2], splitAccount[2], boxes[2];
  int32_t sections, marks, lineLength;
};
Values* shown = nullptr;

struct Range {
  int low, high;
};
Range LineLengths() { return shown->boxes[0] == 'T' ? Range{24, 27} : Range{48, 54}; }

int Refuse() {
  Alarm(MSG_OUT_OF_RANGE);
  return -1;
}

int SectionsValid(Get4* get) {
  int32_t n = *static_cast<int32_t*>(get->data);
  return n == 2 || n == 4 ? 0 : Refuse();
}

int LineLengthValid(Get4* get) {
  int32_t n = *static_cast<int32_t*>(get->data);
  Range r = LineLengths();
  return n >= r.low && n <= r.high ? 0 : Refuse();
}

void Load(Values& v) {
  const MainOptions& o = mainOptions;
  v = Values{{o.transfer40, 0}, {o.transfer41, 0}, {o.transfer34, 0}, {o.transfer35, 0}, {o.transfer37, 0},
             {o.transfer63, 0}, o.transfer61, o.transfer36, o.transfer39};
  Range r = LineLengths();
  if (v.lineLength < r.low || v.lineLength > r.high) v.lineLength = r.high;
}

void Store(const Values& v) {
  MainOptions& o = mainOptions;
  o.transfer40 = v.onForms[0];
  o.transfer61 = v.sections;
  o.transfer41 = v.formOfPayment[0];
  o.transfer34 = v.addresses[0];
  o.transfer35 = v.mark[0];
  o.transfer36 = v.marks;
  o.transfer37 = v.splitAccount[0];
  o.transfer63 = v.boxes[0];
  o.transfer39 = v.lineLength;
}

void YesNo(int row, int col, char* value) { DefineEditCtrl(row, col, value, TEXT | EDIT_UPPER)->keyRoutine = wybierz_tak_nie; }

}  // namespace

int OpcjePrzelewow() {
  Values v{};
  Values* outer = shown;
  shown = &v;
  Load(v);
  EditCtrl edits[10];
  ResetEditCtrlDefinition(edits, sizeof edits);
  YesNo(2, COLUMN, v.onForms);
  EditCtrl* sections = DefineEditCtrl(3, COLUMN, &v.sections, NUMBER);
  sections->picture = "9";
  sections->validator = SectionsValid;
  DefineEditCtrl(4, COLUMN, v.formOfPayment, TEXT | EDIT_UPPER)->keyRoutine = wybierz_P_W;
  YesNo(5, COLUMN, v.addresses);
  DefineEditCtrl(6, COLUMN, v.mark, TEXT);
  DefineEditCtrl(7, COLUMN, &v.marks, NUMBER)->picture = "99";
  YesNo(8, COLUMN, v.splitAccount);
  YesNo(9, WIDE_COLUMN, v.boxes);
  EditCtrl* lineLength = DefineEditCtrl(10, WIDE_COLUMN, &v.lineLength, NUMBER);
  lineLength->picture = "99";
  lineLength->validator = LineLengthValid;
  int key;
  {
    OpenedWindow window([] {
      return DefineWprowadzWindow(WINDOW_ROW, WINDOW_COL, WINDOW_ROWS, WINDOW_COLS, Sys("OPCJE PRZELEWÓW"), nullptr,
                                  nullptr);
    });
    pokaz_tlo(RES_OPTIONS, 0, 0);
    key = EditUntilSaved(edits, FIELD_ATTRIBUTE);
  }
  if (key == KEY_F2) {
    Store(v);
    SaveMainOptions();
  }
  shown = outer;
  return 0;
}
