#include "masterdata/goods_catalogue.h"

#include <cstring>
#include <deque>
#include <new>
#include <string>

#include "app/module_entries.h"
#include "app/option_sets.h"
#include "app/vat_services.h"
#include "db/db_lock.h"
#include "db/db_scan.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/messages.h"
#include "env/numbers.h"
#include "env/session/environment.h"
#include "fiscal/cash_register.h"
#include "masterdata/goods_actions.h"
#include "masterdata/catalogue_lists.h"
#include "masterdata/goods_form.h"
#include "masterdata/price_arithmetic.h"
#include "print/tabulogram.h"
#include "tables/catalogue.h"
#include "tables/masterdata_tables.h"
#include "ui/browse.h"
#include "ui/desktop.h"
#include "ui/filters.h"
#include "ui/keyboard.h"
#include "ui/menu.h"
#include "ui/message_box.h"
#include "ui/record_stamp.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

kontekst_kartoteki_towarow* KontekstTowarow = nullptr;

namespace {

constexpr int MSG_TITLE = 20168;
constexpr int16_t RES_PANEL = 21;
constexpr int16_t RES_FORM = 22;
constexpr int PANEL_LINES = 15;
constexpr int FORM_LINES = 24;
constexpr int FORM_WIDTH = 78;   // a line of a screen resource
constexpr int PANEL_GTU_ROW = 6;
constexpr int RIGHT_APPEND = 7510, RIGHT_MODIFY = 7520, RIGHT_DELETE = 7531;
constexpr int KEY_CTRL_Z = 26;
constexpr int KEY_F6 = 0x4000, KEY_F7 = 0x4100, KEY_F8 = 0x4200;
constexpr char kExportFile[] = "ExSpis.DBF";

DbField** P(int i) { return &Z5TOWA.field[i]; }
DbField* V(int i) { return Z5TOWA.field[i]; }
DbTable* Goods() { return Z5TOWA.table; }

// Texts written in UTF-8 here, kept in the system's character set for the
// lists that point at them.
const char* Sys(const char* utf8) {
  static std::deque<std::string> texts;
  texts.push_back(Utf8ToMazText(utf8));
  return texts.back().c_str();
}

// ---- lists of the browse

void GtuColumn(ColumnValue* value) {
  value->type = 'C';
  value->length = 2;
  int code = f4int(V(TOWA_RE2));
  std::memcpy(value->text, code == 0 ? "  " : (code < 10 ? " " + std::to_string(code) : std::to_string(code)).c_str(),
              2);
}

void DefineColumns(kontekst_kartoteki_towarow* c) {
  ResetScrollDefinition(c->kolumny, sizeof c->kolumny);
  DefineScrollColumn(P(TOWA_ZNA), 0, "Z");
  DefineScrollColumn(P(TOWA_STA), 0, "S");
  if (GoodsMarksOn()) DefineScrollColumn(P(TOWA_RE2), 0, "OZ")->valueRoutine = GtuColumn;
  DefineScrollColumn(P(TOWA_KOD), 0, "kod")->tag = &Z5TOWA.tag[TOWA_TAG_KOD];
  DefineScrollColumn(P(TOWA_NA1), 0, "nazwa")->tag = &Z5TOWA.tag[TOWA_TAG_NA1];
  DefineScrollColumn(P(TOWA_ILO), 0, Sys("ilość"));
  DefineScrollColumn(P(TOWA_CZN), 0, "cena zakup");
  DefineScrollColumn(P(TOWA_CSN), 0, "cena sprz A");
}

int GtuFilterTest(DbField*, int32_t code, DbTable*) {
  int item = code >= '1' && code <= '9' ? code - '0' : code >= 'a' && code <= 'e' ? code - 'a' + 10 : 0;
  return f4int(V(TOWA_RE2)) == GtuCodeOfItem(item) ? X4_ACCEPT : X4_REJECT;
}

void DefineFilters(kontekst_kartoteki_towarow* c) {
  ResetFiltersDefinition(&c->filtry, c->pozycje_filtrow, sizeof c->pozycje_filtrow);
  c->filtry.off = 1;
  DefineFilter(FilterFld(V(TOWA_KOD)), Sys("kod towaru......."), "kod ", FILTER_TEXT, FILTER_UPPER, 0,
               static_cast<GetKeyRoutine>(nullptr), int32_t{0}, static_cast<GetValidator>(nullptr));
  DefineFilter(FilterFld(V(TOWA_ILO)), Sys("ilość = 0........"), Sys("ilość = 0 "), FILTER_YES_NO, 0,
               FILTER_IF_ZERO);
  DefineFilter(FilterFld(V(TOWA_ILO)), Sys("ilość <> 0......."), Sys("ilość <> 0 "), FILTER_YES_NO, 0,
               FILTER_IF_NOT_ZERO);
  DefineFilter(FilterFld(V(TOWA_ZNA)), "znacznik.........", "znacznik ", FILTER_YES_NO, 0,
               FILTER_IF_EQUAL | static_cast<uint8_t>(TOWA_MARK));
  FilterItem* minimum = DefineFilter(FilterFld(V(TOWA_ILO)), Sys("ilość <= minim..."), Sys("ilość <= minim. "),
                                     FILTER_YES_NO, 0, FILTER_IF_EQUAL | 'T');
  if (minimum) minimum->own_test.yesNo = filtr_minimum;
  DefineFilter(FilterFld(V(TOWA_STA)), "towar aktywny....", "aktywne ", FILTER_YES_NO, 0, FILTER_IF_EQUAL | 'A');
  DefineFilter(FilterFld(V(TOWA_STA)), "towar nieaktywny.", "nieaktywne ", FILTER_YES_NO, 0,
               FILTER_IF_EQUAL | 'N');
  if (GoodsMarksOn()) {
    FilterItem* gtu = DefineFilter(FilterFld(V(TOWA_RE2)), "oznaczenie.......", "oznaczenie ", FILTER_CHOICE, 0,
                                   static_cast<const void*>(ListaOznaczenGtu(WorkingYear())));
    if (gtu) gtu->own_test.code = GtuFilterTest;
  }
}

// The panel under the list: names, stock, the rates, the prices of the four
// levels with their values, the lump-sum rate and the remarks.
void DefinePanel(kontekst_kartoteki_towarow* c) {
  const uint8_t margins = GoodsMarginsOn() ? 0 : TEXT_HIDDEN;
  ResetTextCtrlDefinition(c->panel, sizeof c->panel);
  for (int i = 0; i < 6; i++) DefineTextCtrl(i, 2, P(TOWA_NA1 + i), 0);
  DefineTextCtrl(0, 56, P(TOWA_ILO), TEXT_THOUSANDS);
  DefineTextCtrl(1, 56, P(TOWA_ILM), TEXT_THOUSANDS);
  DefineTextCtrl(2, 56, P(TOWA_JED), 0);
  DefineTextCtrl(3, 56, P(TOWA_KWU), 0);
  DefineTextCtrl(PANEL_GTU_ROW, 14, P(TOWA_RE2), GoodsMarksOn() ? 0 : TEXT_HIDDEN)->drawRoutine = DrawGtuMark;
  DefineTextCtrl(7, 51, P(TOWA_VZT), 0)->codeTexts = NAZWY_STAWEK_VAT;
  DefineTextCtrl(7, 71, P(TOWA_VZS), 0);
  const int purchase[4] = {TOWA_CZN, TOWA_CZB, TOWA_WZN, TOWA_WZB};
  const int columns[4] = {16, 33, 49, 64};
  for (int i = 0; i < 4; i++) DefineTextCtrl(8, columns[i], P(purchase[i]), TEXT_THOUSANDS);
  DefineTextCtrl(9, 51, P(TOWA_VST), 0)->codeTexts = NAZWY_STAWEK_VAT;
  DefineTextCtrl(9, 71, P(TOWA_VSS), 0);
  for (int level = 0; level < 3; level++) {
    DefineTextCtrl(10 + level, 5, P(GOODS_PRICE_LEVELS[level][0]), margins);
    for (int i = 0; i < 4; i++) DefineTextCtrl(10 + level, columns[i], P(GOODS_PRICE_LEVELS[level][i + 1]), TEXT_THOUSANDS);
  }
  DefineTextCtrl(13, 54, P(GoodsLumpSumField()), 0)->codeTexts = ListaStawekRyczaltu(WorkingYear());
  DefineTextCtrl(14, 9, P(TOWA_UWA), 0);
}

void DefineTabulogram(kontekst_kartoteki_towarow* c) {
  ResetTabuDefinition(c->tabulogram, sizeof c->tabulogram);
  int n = 0;
  auto column = [&](const char* a, const char* b, int field, int flags = TABU_CHOSEN) {
    DefineTabuColumn(a ? Sys(a) : nullptr, b ? Sys(b) : nullptr, P(field), flags, ++n);
  };
  column("kod", nullptr, TOWA_KOD);
  column("dział", nullptr, TOWA_DZI, 0);
  column("nazwa", nullptr, TOWA_NA1);
  for (int i = TOWA_NA2; i <= TOWA_NA6; i++) column(" cd ", nullptr, i, 0);
  column("ilość", nullptr, TOWA_ILO);
  column("KWiU", nullptr, TOWA_KWU, 0);
  column(" jm ", nullptr, TOWA_JED);
  column("cena zakup", "netto", TOWA_CZN);
  column("VAT [%]", nullptr, TOWA_VZS, 0);
  column("cena zakup", "brutto", TOWA_CZB, 0);
  column("wart.zakup", "netto", TOWA_WZN, TABU_CHOSEN | TABU_SUMMED);
  column("wart.zakup", "brutto", TOWA_WZB, TABU_SUMMED);
  column("marża A", nullptr, TOWA_MRA, 0);
  column("cena sprz A", "netto", TOWA_CSN);
  column("VAT [%]", nullptr, TOWA_VSS, 0);
  column("cena sprz A", "brutto", TOWA_CSB, 0);
  column("wart.sprz A", "netto", TOWA_WSN, TABU_CHOSEN | TABU_SUMMED);
  column("wart.sprz A", "brutto", TOWA_WSB, TABU_SUMMED);
  column("marża B", nullptr, TOWA_MRB, 0);
  column("cena sprz B", "netto", TOWA_CBN, 0);
  column("cena sprz B", "brutto", TOWA_CBB, 0);
  column("marża C", nullptr, TOWA_MRC, 0);
  column("cena sprz C", "netto", TOWA_CCN, 0);
  column("cena sprz C", "brutto", TOWA_CCB, 0);
  column("uwagi", nullptr, TOWA_UWA, 0);
}

void DefineExport(kontekst_kartoteki_towarow* c) {
  ResetTabuDefinition(c->eksport, sizeof c->eksport);
  int n = 0;
  auto column = [&](const char* name, int field, const char* exportName = nullptr) {
    DefineTabuColumn(Sys(name), exportName, P(field), 0, ++n);
  };
  column("kod", TOWA_KOD);
  column("dział", TOWA_DZI);
  for (int i = TOWA_NA1; i <= TOWA_NA6; i++) column("nazwa", i);
  column("KWiU", TOWA_KWU);
  column(" jm ", TOWA_JED);
  column("ilość", TOWA_ILO);
  column("cena zakupu netto", TOWA_CZN);
  column("wartość zakupu netto", TOWA_WZN);
  column("cena zakupu brutto", TOWA_CZB);
  column("wartość zakupu brutto", TOWA_WZB);
  column("stawka VAT zakupu", TOWA_VZS);
  column("marża A", TOWA_MRA);
  column("cena netto A", TOWA_CSN, "CAN");
  column("wartość netto wg ceny A", TOWA_WSN, "WAN");
  column("cena brutto A", TOWA_CSB, "CAB");
  column("wartość brutto wg ceny A", TOWA_WSB, "WAB");
  column("marża B", TOWA_MRB);
  column("cena netto B", TOWA_CBN);
  column("cena brutto B", TOWA_CBB);
  column("marża C", TOWA_MRC);
  column("cena netto C", TOWA_CCN);
  column("cena brutto C", TOWA_CCB);
  column("stawka VAT sprzedaży", TOWA_VSS);
  column("uwagi", TOWA_UWA);
}

void DefineGroupColumns(kontekst_kartoteki_towarow* c) {
  ResetTabuDefinition(c->grupy, sizeof c->grupy);
  DbField** f = TowaTmp.field;
  int n = 0;
  auto column = [&](const char* a, const char* b, int field, int flags) {
    DefineTabuColumn(Sys(a), b, &f[field], flags, ++n);
  };
  column(" lp ", nullptr, TOWA_LPO, TABU_CHOSEN);
  column("kod", nullptr, TOWA_KOD, TABU_CHOSEN);
  column("nazwa", nullptr, TOWA_NA1, TABU_CHOSEN);
  for (int i = TOWA_NA2; i <= TOWA_NA6; i++) column(" cd ", nullptr, i, 0);
  column("ilość", nullptr, TOWA_ILO, TABU_CHOSEN);
  column("KWiU", nullptr, TOWA_KWU, 0);
  column(" jm ", nullptr, TOWA_JED, TABU_CHOSEN);
  column("cena zakup", nullptr, TOWA_CZN, 0);
  column("wart.zakup", "netto", TOWA_WZN, TABU_CHOSEN);
  column("cena sprz A", nullptr, TOWA_CSN, 0);
  column("wart.sprz A", "netto", TOWA_WSN, TABU_CHOSEN);
  column("uwagi", nullptr, TOWA_UWA, 0);
}

// ---- menu actions

int32_t EditFilters(int32_t) {
  kontekst_kartoteki_towarow* c = KontekstTowarow;
  OpenFiltersWindow(&c->filtry);
  return browse_call(0, 0);
}

int32_t Export(int32_t) {
  kontekst_kartoteki_towarow* c = KontekstTowarow;
  OpenFiltersWindow(&c->filtry);
  if (c->filtry.changed) ustaw_export(c->eksport, &CurrentBrowse->scan, Goods(), kExportFile);
  return browse_call(0, 0);
}

int32_t Append(int32_t) { return browse_dopisz(1); }
int32_t Modify(int32_t) { return browse_modyfikuj(0); }
int32_t Delete(int32_t) { return browse_skasuj(1); }
int32_t Print(int32_t) { return browse_drukuj(); }

// Device services run with the goods browse current and show the list again
// themselves where they leave it.
template <int (*Service)()>
int32_t Device(int32_t) {
  return Service();
}

void DefineMenus(kontekst_kartoteki_towarow* c) {
  c->menu_usun = DefineMenuWindow();
  MenuDefineItem(" Pozycje ", 7531, 'p', -1, Delete, nullptr);
  MenuDefineItem(" Znacznik ", 7532, 'z', -1, usun_znaczniki_towarow, nullptr);
  c->menu_modyfikuj = DefineMenuWindow();
  MenuDefineItem(" Pozycje ", 7521, 'p', -1, Modify, nullptr);
  MenuDefineItem(Sys(" Usuń "), 7522, 'u', -1, nullptr, &c->menu_usun);
  MenuDefineItem(" Przecena ", 7523, 'r', -1, przecena_towarow, nullptr);
  MenuDefineItem(" Przelicz ", 7524, 'l', -1, przelicz_towary, nullptr);
  c->menu_szukaj = DefineMenuWindow();
  MenuDefineItem(" Kod ", 7541, 'k', 1, szukaj_towaru, nullptr);
  MenuDefineItem(" Nazwa ", 7542, 'n', 2, szukaj_towaru, nullptr);
  MenuDefineItem(" Znacznik ", 7532, 'z', 3, szukaj_towaru, nullptr);
  c->menu_drukuj = DefineMenuWindow();
  MenuDefineItem(" Grupy ", 7551, 'g', -1, drukuj_towary_grupami, nullptr);
  MenuDefineItem(" Tabulogram ", 7553, 't', -1, Print, nullptr);
  MenuDefineItem(" Spis ", 7552, 's', -1, spis_z_natury, nullptr);
  c->menu_kasa = DefineMenuWindow();
  MenuDefineItem(" Cennik ", 7591, 'c', -1, Device<KasaCennik>, nullptr);
  MenuDefineItem(" Raport ", 7592, 'r', -1, Device<KasaRaport>, nullptr);
  MenuDefineItem(" Zerowanie ", 7593, 'z', -1, Device<KasaZerowanie>, nullptr);
  MenuDefineItem(" Weryfikacja ", 7594, 'w', -1, Device<KasaWeryfikacja>, nullptr);
  MenuDefineItem(Sys(" Usuń "), 7596, 'u', -1, Device<KasaUsun>, nullptr);
  MenuDefineItem(" Opcje ", 7595, 'o', -1, Device<KasaOpcje>, nullptr);
  c->menu_kolektor = DefineMenuWindow();
  MenuDefineItem(" Zerowanie ", 7581, 'z', -1, Device<KolektorZerowanie>, nullptr);
  MenuDefineItem(" Aktualizacja ", 7582, 'a', -1, Device<KolektorAktualizacja>, nullptr);

  c->menu = DefineMainMenuWindow();
  MenuDefineItem(" Dopisz ", RIGHT_APPEND, 'd', -1, Append, nullptr);
  MenuDefineItem(" Modyfikuj ", RIGHT_MODIFY, 'm', -1, nullptr, &c->menu_modyfikuj);
  MenuDefineItem(" Szukaj ", 7540, 's', -1, nullptr, &c->menu_szukaj);
  MenuDefineItem(" Drukuj ", 7550, 'r', -1, nullptr, &c->menu_drukuj);
  MenuDefineItem(" Filtry ", 7560, 'f', -1, EditFilters, nullptr);
  MenuDefineItem(" Kasa ", 7590, 'k', -1, nullptr, &c->menu_kasa);
  MenuDefineItem(" Kolektor ", 7580, 'o', -1, nullptr, &c->menu_kolektor);
  MenuDefineItem(" Suma ", 7570, 'u', -1, wartosc_spisu, nullptr);
  MenuDefineItem(" Export ", 7570, 'e', -1, Export, nullptr);
}

void CloseMenus(kontekst_kartoteki_towarow* c) {
  for (int window : {c->menu, c->menu_modyfikuj, c->menu_usun, c->menu_szukaj, c->menu_drukuj, c->menu_kasa,
                     c->menu_kolektor})
    if (window >= 0) w4close(window);
}

// ---- hooks and keys

void CopyToClipboard(kontekst_kartoteki_towarow* c) {
  if (!c->schowek) return;
  std::memcpy(c->schowek, d4record(Goods()), d4record_width(Goods()));
  c->schowek_pelny = 1;
}

int AfterAppend() {
  CopyToClipboard(KontekstTowarow);
  return 0;
}

int BeforeModify() {
  KontekstTowarow->csb_przed = f4double(V(TOWA_CSB));
  return 0;
}

int PrepareModify() {
  RefreshGoodsChoiceTexts(KontekstTowarow);
  return 0;
}

// The mark rule: a changed price A gross marks the goods.
int AfterModify() {
  if (warehouseOptions.markChanges == 'T' &&
      ROUND(f4double(V(TOWA_CSB)), 4) != ROUND(KontekstTowarow->csb_przed, 4))
    f4assign(V(TOWA_ZNA), "\x9D");
  return przed_zapisem_towaru();
}

void BlankGtuRow() {
  if (GoodsMarksOn()) return;
  w4repeat(PANEL_GTU_ROW, 0, ' ', Desktop.cols - 2);
}

int StandardKeys(int key) {
  hot_keys(key, 1, RIGHT_APPEND, 0, RIGHT_MODIFY, 1, RIGHT_DELETE, V(TOWA_INF));
  return 0;
}

// Writes the changed current record and shows the list at it; a failed
// write leaves the list as it is.
void WriteShown() {
  DbTable* table = Goods();
  long record = d4recno(table);
  if (write_and_unlock(table) != 0) return;
  browse_call(0, record);
}

void Preview(BrowseContext* b) {
  int previous = w4select(-1);
  int window = DefineEditModifyWindow(b);
  w4activate(window);
  wyswietl_edit_window_modify(b, window, 0x70, 0x1F);
  g4char();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
}

int GtuKey() {
  int item = get_menu_function(" WYBIERZ OZNACZENIE ", ListaOznaczenGtu(WorkingYear()),
                               GtuItemOfCode(f4int(V(TOWA_RE2))), -1, -1);
  if (item < 0) return 0;
  f4assign_int(V(TOWA_RE2), GtuCodeOfItem(item));
  WriteShown();
  return 0;
}

}  // namespace

int klawisze_kartoteki_towarow(int key) {
  BrowseContext* b = CurrentBrowse;
  if (!b) return 0;
  bool needsRecord = key == KEY_F6 || key == KEY_F7 || key == KEY_F2 || (key == KEY_F8 && GoodsMarksOn());
  if (needsRecord && EmptyBrowseWarning(b) != 0) return 0;
  switch (key) {
    case KEY_F6:
      f4assign(V(TOWA_ZNA), f4ptr(V(TOWA_ZNA))[0] == TOWA_MARK ? " " : "\x9D");
      WriteShown();
      break;
    case KEY_F7:
      f4assign(V(TOWA_STA), f4ptr(V(TOWA_STA))[0] == 'A' ? "N" : "A");
      WriteShown();
      break;
    case KEY_F8:
      if (GoodsMarksOn()) GtuKey();
      break;
    case KEY_CTRL_Z:
      schowek_towaru();
      break;
    case KEY_F2:
      Preview(b);
      break;
    default:
      break;
  }
  return 0;
}

int schowek_towaru() {
  kontekst_kartoteki_towarow* c = KontekstTowarow;
  if (!c || !CurrentBrowse || CurrentBrowse->is_empty) return 0;
  CopyToClipboard(c);
  return 1;
}

kontekst_kartoteki_towarow* definicja_kartoteki_towarow(int mode) {
  auto* context = new (std::nothrow) kontekst_kartoteki_towarow();
  if (!context) return nullptr;
  context->spis_zera[0] = 'N';
  for (auto& member : context->komisja) {
    std::memset(member, ' ', sizeof member - 1);
    member[sizeof member - 1] = '\0';
  }
  std::memset(context->data_od, ' ', 8);
  std::memset(context->data_do, ' ', 8);
  context->rodzaj_ceny = 1;
  context->menu = context->menu_szukaj = context->menu_drukuj = context->menu_usun = context->menu_kasa =
      context->menu_modyfikuj = context->menu_kolektor = -1;
  context->poprzedni = KontekstTowarow;
  KontekstTowarow = context;
  DefineGoodsForm(context);
  if (mode == 1) {
    DefineColumns(context);
    DefineFilters(context);
    DefinePanel(context);
    DefineTabulogram(context);
    DefineExport(context);
    DefineGroupColumns(context);
    DefineMenus(context);
  } else {
    context->tekst_formularza.assign(FORM_LINES * FORM_WIDTH, ' ');
    EnvLoadBinResource(context->tekst_formularza.data(), static_cast<unsigned>(context->tekst_formularza.size()),
                       [] { return RES_FORM; });
  }
  return context;
}

void zwolnij_definicje_kartoteki_towarow(kontekst_kartoteki_towarow* context) {
  if (!context) return;
  CloseMenus(context);
  FreeFilters(&context->filtry);
  if (KontekstTowarow == context) KontekstTowarow = context->poprzedni;
  delete context;
}

int kartoteka_towarow() {
  int saved = w4select(-1);
  GoodsAccounts accounts;
  kontekst_kartoteki_towarow* c = definicja_kartoteki_towarow(1);
  if (!c) return -1;
  c->schowek = new (std::nothrow) char[d4record_width(Goods())];
  if (!c->schowek) {
    zwolnij_definicje_kartoteki_towarow(c);
    return -1;
  }
  BrowseContext* b = nullptr;
  int result = -1;
  if (allocate_browse(&b, Goods(), Z5TOWA.tag[TOWA_TAG_KOD], c->kolumny, c->menu) == 0) {
    b->title = MSG_TITLE;
    b->print_title = MSG_TITLE;
    b->record_texts = c->panel;
    b->record_lines_source = [] { return RES_PANEL; };
    b->record_lines_count = PANEL_LINES;
    b->append_edits = c->pola;
    b->edit_texts = c->teksty;
    b->edit_lines_source = [] { return RES_FORM; };
    b->edit_lines_count = FORM_LINES;
    b->filter_fn = FilterFunction;
    b->filter_data = reinterpret_cast<intptr_t>(&c->filtry);
    b->print_columns = c->tabulogram;
    b->stamp_field = V(TOWA_INF);
    b->before_new = nowy_towar_domyslne;
    b->on_validate = przed_zapisem_towaru;
    b->after_append = AfterAppend;
    b->modify_hooks[MODIFY_BEFORE] = BeforeModify;
    b->modify_hooks[MODIFY_PREPARE] = PrepareModify;
    b->modify_hooks[MODIFY_AFTER] = AfterModify;
    b->after_show_record = BlankGtuRow;
    b->key_hook = klawisze_kartoteki_towarow;
    b->pre_key_hook = StandardKeys;
    set_fun_help("F2", Sys("Podgląd"), 10);
    set_fun_help("F6", "Znacznik", 11);
    set_fun_help("F7", "Status", 12);
    if (GoodsMarksOn()) set_fun_help("F8", "Oznaczenie", 13);
    set_fun_help("Ctrl+Z", "Schowek-zapis", 14);
    result = zrob_browse(PANEL_LINES, FORM_LINES, 0);
    free_browse(&b);
  }
  delete[] c->schowek;
  c->schowek = nullptr;
  zwolnij_definicje_kartoteki_towarow(c);
  w4select(saved);
  return result;
}
