// The exchange-rate catalogue over the open "Z5KURS": newest day first, one
// rate per day and currency, the last currency typed offered again.
#include "app/module_entries.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/services.h"
#include "env/temp_strings.h"
#include "masterdata/countries.h"
#include "print/tabulogram.h"
#include "tables/masterdata_tables.h"
#include "ui/browse.h"
#include "ui/definition_lists.h"
#include "ui/filters.h"
#include "ui/get4.h"
#include "ui/menu.h"
#include "ui/validators.h"
#include "ui/window4.h"

namespace {

constexpr int KURS_DAT = 0, KURS_KOD = 1, KURS_KUR = 2;
constexpr int BY_DAY = 0, BY_CODE = 1;
constexpr int MSG_TITLE = 20088;
constexpr int MSG_RATE_EXISTS = 20175;
constexpr int RIGHT_APPEND = 136, RIGHT_MODIFY = 137, RIGHT_DELETE = 138, RIGHT_FILTERS = 139, RIGHT_PRINT = 140;
constexpr int16_t RES_FORM = 243;
constexpr int FORM_LINES = 3;
constexpr int FIELD_COLUMN = 19;
constexpr int CODE_LENGTH = 3, DATE_LENGTH = 8;

// One run of the catalogue.
struct RateCatalogue {
  ScrollColumn columns[4];
  TextCtrl texts[4];
  EditCtrl edits[4];
  TabuColumn printed[4];
  FilterSet filters;
  FilterItem items[4];
  char rememberedCode[CODE_LENGTH + 1];
};
RateCatalogue* run = nullptr;

DbField* Field(int n) { return Z5KURS.field[n]; }

int CodeValid(Get4* get) {
  if (valid_empty_get(get) != 0 || valid_waluta(get) != 0) return -1;
  std::memcpy(run->rememberedCode, get->data, CODE_LENGTH);
  return 0;
}

// One rate per day and currency.
int DayValid(Get4* get) {
  if (test_daty_niepustej(get) != 0) return -1;
  std::string key = std::string(f4ptr(Field(KURS_DAT)), DATE_LENGTH) +
                    QuickStr(f4ptr(Field(KURS_KOD)), CODE_LENGTH, QS_UPPER);
  int modifying = CurrentBrowse && CurrentBrowse->modify_mode;
  return ValidUniqueTag(Z5KURS.table, Z5KURS.tag[BY_DAY], key.c_str(), modifying, MSG_RATE_EXISTS) ? -1 : 0;
}

int BeforeNew() {
  f4assign(Field(KURS_KOD), run->rememberedCode);
  f4assign(Field(KURS_DAT), get_cur_das(0));
  d4changed(Z5KURS.table, 0);
  return 0;
}

int RateKeys(int key) {
  hot_keys(key, 0, RIGHT_APPEND, 0, RIGHT_MODIFY, 1, RIGHT_DELETE, nullptr);
  return 0;
}

int32_t Filters(int32_t) {
  OpenFiltersWindow(&run->filters);
  return browse_call(0, 0);
}

void DefineLists(RateCatalogue& c) {
  ResetScrollDefinition(c.columns, sizeof c.columns);
  DefineScrollColumn(&Z5KURS.field[KURS_DAT], 0, "data")->tag = &Z5KURS.tag[BY_DAY];
  DefineScrollColumn(&Z5KURS.field[KURS_KOD], 0, "waluta")->tag = &Z5KURS.tag[BY_CODE];
  DefineScrollColumn(&Z5KURS.field[KURS_KUR], 0, "kurs");
  ResetTextCtrlDefinition(c.texts, sizeof c.texts);
  DefineTextCtrl(0, FIELD_COLUMN, &Z5KURS.field[KURS_KOD], 0);
  DefineTextCtrl(1, FIELD_COLUMN, &Z5KURS.field[KURS_DAT], 0);
  DefineTextCtrl(2, FIELD_COLUMN, &Z5KURS.field[KURS_KUR], 0);
  ResetEditCtrlDefinition(c.edits, sizeof c.edits);
  EditCtrl* code = DefineEditCtrl(0, FIELD_COLUMN, &Z5KURS.field[KURS_KOD], EDIT_DATE | EDIT_UPPER);
  code->keyRoutine = kraj_f4_lista;
  code->routineData = KRAJ_Z_WALUTA;
  code->validator = CodeValid;
  EditCtrl* day = DefineEditCtrl(1, FIELD_COLUMN, &Z5KURS.field[KURS_DAT], EDIT_DATE);
  day->picture = "DD-MM/YY";
  day->validator = DayValid;
  DefineEditCtrl(2, FIELD_COLUMN, &Z5KURS.field[KURS_KUR], EDIT_DATE)->validator = valid_wart_dodat;
  ResetTabuDefinition(c.printed, sizeof c.printed);
  DefineTabuColumn("data", nullptr, &Z5KURS.field[KURS_DAT], TABU_CHOSEN, 1);
  DefineTabuColumn("waluta", nullptr, &Z5KURS.field[KURS_KOD], TABU_CHOSEN, 2);
  DefineTabuColumn("kurs", nullptr, &Z5KURS.field[KURS_KUR], TABU_CHOSEN, 3);
  ResetFiltersDefinition(&c.filters, c.items, sizeof c.items);
  DefineFilter(FilterFld(Field(KURS_KOD)), "waluta", " waluta:", FILTER_TEXT, FILTER_UPPER, 0, kraj_f4_lista,
               static_cast<int32_t>(KRAJ_Z_WALUTA), valid_waluta);
  DefineFilter(FilterFld(Field(KURS_DAT)), "od dnia", " od:", FILTER_DATE, 0);
  DefineFilter(FilterFld(Field(KURS_DAT)), "do dnia", " do:", FILTER_DATE, FILTER_UPPER_BOUND);
}

}  // namespace

int kartoteka_kursow() {
  RateCatalogue catalogue{};
  std::memset(catalogue.rememberedCode, ' ', CODE_LENGTH);
  RateCatalogue* outer = run;
  run = &catalogue;
  DefineLists(catalogue);

  int previous = w4select(-1);
  int bar = DefineMainMenuWindow();
  MenuDefineItem(" Dopisz ", RIGHT_APPEND, 'd', 0, browse_dopisz, nullptr);
  MenuDefineItem(" Modyfikuj ", RIGHT_MODIFY, 'm', 0, browse_modyfikuj, nullptr);
  MenuDefineItem(" Filtry ", RIGHT_FILTERS, 'f', 0, Filters, nullptr);
  MenuDefineItem(" Usu\xA4 ", RIGHT_DELETE, 'u', 1, browse_skasuj, nullptr);
  MenuDefineItem(" Drukuj ", RIGHT_PRINT, 'r', 0, [](int32_t) { return browse_drukuj(); }, nullptr);
  BrowseContext* ctx = nullptr;
  if (allocate_browse(&ctx, Z5KURS.table, Z5KURS.tag[BY_DAY], catalogue.columns, bar) == 0) {
    ctx->record_texts = catalogue.texts;
    ctx->append_edits = catalogue.edits;
    ctx->record_lines_source = []() -> int16_t { return RES_FORM; };
    ctx->record_lines_count = FORM_LINES;
    ctx->print_columns = catalogue.printed;
    ctx->title = MSG_TITLE;
    ctx->print_title = MSG_TITLE;
    ctx->filter_fn = FilterFunction;
    ctx->filter_data = reinterpret_cast<intptr_t>(&catalogue.filters);
    ctx->before_new = BeforeNew;
    ctx->pre_key_hook = RateKeys;
    zrob_browse(FORM_LINES, FORM_LINES, -1);
    free_browse(&ctx);
  }
  FreeFilters(&catalogue.filters);
  w4close(bar);
  w4select(previous);
  run = outer;
  return 0;
}
