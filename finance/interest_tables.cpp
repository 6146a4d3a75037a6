// The browses of the two interest-rate tables and of the days off, over the
// table the caller opened.
#include <iterator>

#include "app/module_entries.h"
#include "finance/interest.h"
#include "masterdata/catalogue_browse.h"
#include "tables/cash_tables.h"
#include "ui/browse.h"
#include "ui/definition_lists.h"
#include "ui/get4.h"
#include "ui/message_box.h"
#include "ui/validators.h"

namespace {

constexpr int RATE_DAT = 0, RATE_STO = 1, RATE_TYP = 2, RATE_INF = 3;
constexpr int DAY_DAT = 0, DAY_INF = 1;
constexpr int MSG_CHOOSE_R_D = 151;   // "Wybierz 'R' lub 'D'"
constexpr int MSG_STATUTORY = 152, MSG_TAX = 153, MSG_DAYS_OFF = 154;
constexpr int16_t RES_DAYS_OFF_FORM = 99, RES_STATUTORY_FORM = 100, RES_TAX_FORM = 101;
constexpr int RATE_FORM_LINES = 2, DAY_FORM_LINES = 1;
constexpr int RATE_COLUMN = 10, TYPE_COLUMN = 27, DAY_COLUMN = 7;
constexpr int RIGHT_APPEND = 6310, RIGHT_MODIFY = 6320, RIGHT_DELETE = 6330;

const CatalogueAction ACTIONS[] = {
    {" Dopisz ", 15000, 'd', 0, CatalogueAppend},
    {" Modyfikuj ", 15001, 'm', 0, CatalogueModify},
    {" Usu\xA4 ", 15002, 's', 1, CatalogueDelete},
};

void RefuseType() { MessageWindow(MB_INFO | MB_NO_PROMPT, TextRef(MSG_CHOOSE_R_D)); }

// 'R' yearly (also for a blank) or 'D' daily.
int RateType(Get4*, char* buffer, int32_t) { return FixedAnswer(buffer, "R", 'R', "R", 'D', "D", RefuseType); }

// The browse of one table of the three with its lists and form.
int RunTableBrowse(TableHandles& t, DbField* stamp, ScrollColumn* columns, EditCtrl* edits, TextCtrl* texts,
                   int16_t form, int formLines, int title) {
  CatalogueBrowse spec{};
  spec.table = t.table;
  spec.tag = t.tag[0];
  spec.stamp = stamp;
  spec.actions = ACTIONS;
  spec.actionCount = static_cast<int>(std::size(ACTIONS));
  spec.appendRight = RIGHT_APPEND;
  spec.modifyRight = RIGHT_MODIFY;
  spec.deleteRight = RIGHT_DELETE;
  spec.columns = columns;
  spec.edits = edits;
  spec.texts = texts;
  spec.formResource = form;
  spec.formLines = formLines;
  spec.title = title;
  return RunCatalogueBrowse(spec);
}

EditCtrl* DateEdit(int row, int col, DbField** field) {
  EditCtrl* day = DefineEditCtrl(row, col, field, EDIT_DATE);
  day->picture = "DD-MM/YY";
  day->validator = SprawdzDateOdsetek;
  return day;
}

int RateBrowse(TableHandles& t, int title, int16_t form) {
  ScrollColumn columns[4];
  ResetScrollDefinition(columns, sizeof columns);
  DefineScrollColumn(&t.field[RATE_DAT], 0, "od dnia");
  DefineScrollColumn(&t.field[RATE_STO], 0, "[%]");
  DefineScrollColumn(&t.field[RATE_TYP], 0, "typ");
  TextCtrl texts[4];
  ResetTextCtrlDefinition(texts, sizeof texts);
  DefineTextCtrl(0, RATE_COLUMN, &t.field[RATE_DAT], 0);
  DefineTextCtrl(1, RATE_COLUMN, &t.field[RATE_STO], 0);
  DefineTextCtrl(1, TYPE_COLUMN, &t.field[RATE_TYP], 0);
  EditCtrl edits[4];
  ResetEditCtrlDefinition(edits, sizeof edits);
  DateEdit(0, RATE_COLUMN, &t.field[RATE_DAT]);
  DefineEditCtrl(1, RATE_COLUMN, &t.field[RATE_STO], EDIT_DATE)->validator = valid_wart_dodat;
  DefineEditCtrl(1, TYPE_COLUMN, &t.field[RATE_TYP], EDIT_DATE)->keyRoutine = RateType;
  return RunTableBrowse(t, t.field[RATE_INF], columns, edits, texts, form, RATE_FORM_LINES, title);
}

}  // namespace

int StopyOdsetekUstawowych() { return RateBrowse(Z5ODUS, MSG_STATUTORY, RES_STATUTORY_FORM); }

int StopyOdsetekPodatkowych() { return RateBrowse(Z5ZAPO, MSG_TAX, RES_TAX_FORM); }

int DniWolne() {
  ScrollColumn columns[2];
  ResetScrollDefinition(columns, sizeof columns);
  DefineScrollColumn(&Z5DNWO.field[DAY_DAT], 0, "data");
  TextCtrl texts[2];
  ResetTextCtrlDefinition(texts, sizeof texts);
  DefineTextCtrl(0, DAY_COLUMN, &Z5DNWO.field[DAY_DAT], 0);
  EditCtrl edits[2];
  ResetEditCtrlDefinition(edits, sizeof edits);
  DateEdit(0, DAY_COLUMN, &Z5DNWO.field[DAY_DAT]);
  return RunTableBrowse(Z5DNWO, Z5DNWO.field[DAY_INF], columns, edits, texts, RES_DAYS_OFF_FORM, DAY_FORM_LINES,
                        MSG_DAYS_OFF);
}
