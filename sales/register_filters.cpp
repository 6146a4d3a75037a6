#include "sales/register_filters.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "app/option_forms.h"
#include "app/option_sets.h"
#include "app/vat_services.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/numbers.h"
#include "env/session/field_text.h"
#include "masterdata/accounts.h"
#include "masterdata/catalogue_lists.h"
#include "masterdata/countries.h"
#include "sales/buyer.h"
#include "sales/document_totals.h"
#include "sales/line_code.h"
#include "sales/numbering.h"
#include "sales/sales_context.h"
#include "sales/vat_register.h"
#include "tables/catalogue.h"
#include "tables/masterdata_tables.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/get4.h"
#include "ui/message_box.h"

namespace {

constexpr int FIRST_YEAR_2024 = 2024;
constexpr int LAST_REVERSE_CHARGE_YEAR = 2019;

// ---- reading the current header and line

DbTable* Header() { return Z5SPRZ.table; }
DbTable* Line() { return Z5SPRE.table; }
char Char(DbTable* table, const char* name) { return f4ptr(d4field(table, name))[0]; }
long Number(DbTable* table, const char* name) { return f4long(d4field(table, name)); }
double Amount(DbTable* table, const char* name) { return f4double(d4field(table, name)); }
int Rejestr() { return salesContext ? salesContext->rejestr : 1; }
int Accept(bool passed) { return passed ? X4_ACCEPT : X4_REJECT; }

// ---- the kinds a yes/no item lets through

enum KindTest {
  KT_FV, KT_FZ, KT_FP, KT_FK, KT_FK_FP, KT_PF, KT_MP, KT_BR, KT_FM, KT_RU, KT_RK, KT_FINAL, KT_FINAL_RECEIPT,
  KT_COLLECTIVE, KT_CASH_PIT, KT_FK_ALL, KT_FZ_2024, KT_ZP_2024, KT_FP_2024,
  // line kinds of the VAT register
  KL_FV, KL_MP, KL_FM, KL_FZ, KL_ZP, KL_FP, KL_PF, KL_FK, KL_BR, KL_RU, KL_RK,
};

bool FinalOrMp(long kind) { return kind == 1 || kind == 7; }

bool HeaderPasses(KindTest test) {
  DbTable* h = Header();
  long kind = Number(h, "TYV"), tym = Number(h, "TYM"), akt = Number(h, "AKT");
  char sdr = Char(h, "SDR");
  bool aux = Rejestr() == 2;
  switch (test) {
    case KT_FV: return kind == 1;
    case KT_FZ: return kind == 9 && sdr != '3';
    case KT_FP: return aux ? kind == 10 || (kind == 9 && sdr == '3') : kind == 9;
    case KT_FK: return kind == 3 && tym != 9;
    case KT_FK_FP: return kind == 3 && tym == 9 && (!aux || sdr != '3');
    case KT_PF: return kind == 6;
    case KT_MP: return kind == 7;
    case KT_BR: return kind == 5;
    case KT_FM: return kind == 8;
    case KT_RU: return kind == 2;
    case KT_RK: return kind == 4;
    case KT_FINAL: return FinalOrMp(kind) && akt == 1;
    case KT_FINAL_RECEIPT: return (FinalOrMp(kind) && akt == 3) || sdr == '3';
    case KT_COLLECTIVE: return FinalOrMp(kind) && akt == 2;
    case KT_CASH_PIT: return czy_dokument_pit_kasowego(1) != 0;
    case KT_FK_ALL: return kind == 3;
    case KT_FZ_2024: return kind == 11;
    case KT_ZP_2024: return kind == 10;
    case KT_FP_2024: return kind == 9;
    default: return false;
  }
}

// The margin register printout takes only the corrections of margin
// invoices and the sales without invoice of the margin scheme.
bool MarginPrint() { return kontekstEwidencji && kontekstEwidencji->rodzaj_wydruku == 3; }

bool LinePasses(KindTest test) {
  long kind = Number(Line(), "TYV");
  switch (test) {
    case KL_FV: return kind == 1;
    case KL_MP: return kind == 7;
    case KL_FM: return kind == 8;
    case KL_FZ: return kind == (WorkingYear() >= FIRST_YEAR_2024 ? 11 : 9);
    case KL_ZP: return kind == 10;
    case KL_FP: return kind == 9;
    case KL_PF: return kind == 6;
    case KL_FK: return kind == 3 && (!MarginPrint() || Number(Header(), "TYM") == 8);
    case KL_BR: return kind == 5 && (!MarginPrint() || Number(Header(), "RE5") == 2);
    case KL_RU: return kind == 2;
    case KL_RK: return kind == 4;
    default: return false;
  }
}

template <KindTest T>
int KindOwnTest(DbField*, DbTable*) {
  return Accept(T >= KL_FV ? LinePasses(T) : HeaderPasses(T));
}

// ---- the pro forma refusals

bool IsProForma(const FilterItem* item) {
  return item->status_prefix && std::strcmp(item->status_prefix, " tylko PF") == 0;
}
bool InKindGroup(const FilterItem* item) {
  return (item->flags & (FILTER_OR_MEMBER | FILTER_OR_END)) && !IsProForma(item);
}
// The kinds whose filter excludes the pro forma filter.
bool ExcludesProForma(const FilterItem* item) {
  static const char* const kinds[] = {" FV", " FZ", " RU", " FK", " RK", " MP", " BR"};
  if (!item->status_prefix) return false;
  for (const char* kind : kinds)
    if (std::strcmp(item->status_prefix, kind) == 0) return true;
  return false;
}

// The set whose window is open: the VAT register's while it runs over the register.
FilterSet* OpenSet() {
  if (kontekstEwidencji && kontekstEwidencji->filtry.window) return &kontekstEwidencji->filtry;
  if (salesContext && salesContext->filtry.window) return &salesContext->filtry;
  return nullptr;
}

int KindCanEdit() {
  FilterSet* set = OpenSet();
  if (!set || !set->editing || set->editing->working_on) return 1;   // switching off is always allowed
  FilterItem* item = set->editing;
  for (int i = 0; i < set->count; i++) {
    FilterItem* other = &set->items[i];
    if (other == item || !other->working_on) continue;
    if (IsProForma(item) && ExcludesProForma(other)) {
      Uwaga(Sys("Usuń filtrowanie pozostałych dokumentów."));
      return 0;
    }
    if (InKindGroup(item) && IsProForma(other)) {
      Uwaga(Sys("Usuń filtrowanie dokumentów PRO FORMA."));
      return 0;
    }
  }
  return 1;
}

FilterItem* KindItem(const char* label, const char* prefix, int (*test)(DbField*, DbTable*), uint32_t flags,
                     DbField* field) {
  FilterItem* item = DefineFilter(FilterFld(field), Sys(label), Sys(prefix), FILTER_YES_NO, flags, 0u);
  if (item) {
    item->own_test.yesNo = test;
    item->can_edit = KindCanEdit;
  }
  return item;
}

// ---- own tests of the other items

// '?' any character, '*' the rest, anything else equal to the upper-cased field.
int NipTest(DbField* field, const char* pattern, int length, DbTable*) {
  const char* value = f4ptr(field);
  int width = static_cast<int>(f4len(field));
  for (int i = 0; i < length; i++) {
    char p = pattern[i];
    if (p == '*') return X4_ACCEPT;
    int c = i < width ? EnvToUpper(static_cast<unsigned char>(value[i])) : ' ';
    if (p != '?' && EnvToUpper(static_cast<unsigned char>(p)) != c) return X4_REJECT;
  }
  return X4_ACCEPT;
}

int PartlyPaidTest(DbField*, DbTable*) {
  DbTable* h = Header();
  long kind = Number(h, "TYV");
  double paid = Amount(h, "KZA");
  switch (kind) {
    case 1: case 2: case 5: case 7: case 8: case 9: {
      double p = ROUND(paid, 2);
      return Accept(p > 0 && p < ROUND(Amount(h, "BRU"), 2));
    }
    case 3: case 4: {
      double p = ROUND(std::fabs(paid), 2);
      return Accept(p > 0 && p < ROUND(std::fabs(Amount(h, "KRN") + Amount(h, "KRV")), 2));
    }
    default: return X4_REJECT;
  }
}

// Choice 1 (domestic) also takes a blank or unknown delivery type.
int DeliveryTest(DbField* field, int32_t code, DbTable*) {
  char stm = f4ptr(field)[0];
  if (code == '1') return Accept(stm == '1' || stm < '2' || stm > '9');
  return Accept(stm == static_cast<char>(code));
}

int CountryTest(DbField* field, const char* text, int length, DbTable*) {
  std::string value(f4ptr(field), f4len(field));
  if (value.find_first_not_of(' ') == std::string::npos) value = "POLSKA";
  value.resize(static_cast<size_t>(length), ' ');
  return Accept(FilterCompareStr(text, length, value.c_str()) == 0);
}

int VatPayerTest(DbField* field, const char* text, int, DbTable*) {
  char re3 = f4ptr(field)[0];
  return Accept(text[0] == 'T' ? re3 == 'T' || re3 == ' ' : re3 == text[0]);
}
int VatPayerValid(Get4* get) {
  char* text = static_cast<char*>(get->data);
  text[0] = static_cast<char>(EnvToUpper(static_cast<unsigned char>(text[0])));
  return text[0] == 'T' || text[0] == 'N' ? 0 : -1;
}

// Choice 1 (ordinary) also takes a blank kind.
int DocumentKindTest(DbField* field, int32_t code, DbTable*) {
  char sdr = f4ptr(field)[0];
  return Accept(code == '1' ? sdr < '2' : sdr == static_cast<char>(code));
}

// Choice n (1..13) takes a 'T' at position n of the marks; the last choice
// takes documents without any mark.
int MarksTest(DbField* field, int32_t code, DbTable*) {
  constexpr int MARKS = 13;
  int n = code - '0';
  const char* marks = f4ptr(field);
  int width = std::min(static_cast<int>(f4len(field)), MARKS);
  if (n >= 1 && n <= MARKS) return Accept(n <= width && marks[n - 1] == 'T');
  for (int i = 0; i < width; i++)
    if (marks[i] == 'T') return X4_REJECT;
  return X4_ACCEPT;
}

int RightAlignedPrefix(Get4* get) {
  wyrownaj_do_prawej(static_cast<char*>(get->data), get->dataWidth);
  return 0;
}

// The code range decides, unless the line is of the other catalogue than
// "typ pozycji" names.
int ItemCodeTest(DbField* field, const char* text, int length, DbTable*) {
  FilterItem* kind = kontekstEwidencji ? kontekstEwidencji->elementy[FE_TYP_POZYCJI] : nullptr;
  long zrp = Number(Line(), "ZRP");
  if (kind && zrp != 0 && zrp != kind->code - '0') return X4_REJECT;
  std::string value(f4ptr(field), f4len(field));
  value.resize(static_cast<size_t>(length), ' ');
  return Accept(FilterCompareStr(text, length, value.c_str()) == 0);
}

int ReverseChargeTest(DbField* field, int32_t code, DbTable*) {
  static const char stored[] = {'N', 'T', '8'};
  int n = code - '1';
  return Accept(n >= 0 && n < 3 && f4ptr(field)[0] == stored[n]);
}

// A numeric code field against the number of the choice.
int NumberCodeTest(DbField* field, int32_t code, DbTable*) { return Accept(f4long(field) == code - '0'); }

int AccountValid(Get4* get) {
  return valid_konto(get, nullptr, nullptr, kontekstEwidencji ? kontekstEwidencji->nazwa_konta : nullptr);
}

FilterItem* DateItem(DbField* field, const char* label, const char* prefix, uint32_t flags) {
  return DefineFilter(FilterFld(field), Sys(label), Sys(prefix), FILTER_DATE, flags);
}
FilterItem* TextItem(DbField* field, const char* label, const char* prefix, uint32_t flags, GetKeyRoutine key = nullptr,
                     int32_t keyData = 0, GetValidator valid = nullptr, int note = 0) {
  return DefineFilter(FilterFld(field), Sys(label), prefix ? Sys(prefix) : nullptr, FILTER_TEXT, flags, note, key,
                      keyData, valid);
}
FilterItem* ChoiceItem(DbField* field, const char* label, const char* prefix, const char* const* list,
                       uint32_t flags = 0) {
  return DefineFilter(FilterFld(field), Sys(label), prefix ? Sys(prefix) : nullptr, FILTER_CHOICE, flags, list);
}

// The procedure marks of NKV by their codes; before 2022 the first two are
// the older SW and EE.
const char* const* ProcedureList(int marksYear) {
  static const char* const* from2022 =
      CodeList({"1. WSTO_EE", "2. IED", "3. TP", "4. TT_WNT", "5. TT_D", "6. MR_T", "7. MR_UZ", "8. I_42", "9. I_63",
                "a. B_SPV", "b. B_SPV_DOSTAWA", "c. B_MPV_PROWIZJA", "d. MPP", "e. BRAK"});
  static const char* const* before2022 =
      CodeList({"1. SW", "2. EE", "3. TP", "4. TT_WNT", "5. TT_D", "6. MR_T", "7. MR_UZ", "8. I_42", "9. I_63",
                "a. B_SPV", "b. B_SPV_DOSTAWA", "c. B_MPV_PROWIZJA", "d. MPP", "e. BRAK"});
  return marksYear >= NEW_MARKS_YEAR ? from2022 : before2022;
}

const char* const* DocumentKinds(int rejestr) {
  static const char* const* main = CodeList({"1. ZWYKŁY", "2. WEWNĘTRZNY"});
  static const char* const* aux = CodeList({"1. ZWYKŁY", "2. WEWNĘTRZNY", "3. DO PARAGONU"});
  return rejestr == 2 ? aux : main;
}

// Items 22 to 33 of both document sets.
FilterItem* CommonTail(DbTable* h, int rejestr, bool from2024) {
  auto f = [h](const char* name) { return d4field(h, name); };
  TextItem(f("PLA"), "forma płatności......", " płat:", FILTER_UPPER);
  DateItem(f("DPL"), "płatność do..........", " płat. do:", FILTER_UPPER_BOUND | FILTER_DATE_NEEDED);
  DefineFilter(FilterFld(f("ZAP")), Sys("zapłacone............"), Sys(" zapł."), FILTER_YES_NO, 0u,
               FILTER_IF_EQUAL | 'T');
  DefineFilter(FilterFld(f("ZAP")), Sys("niezapłacone........."), Sys(" nie zapł."), FILTER_YES_NO, 0u,
               FILTER_IF_EQUAL | 'N');
  FilterItem* partly = DefineFilter(FilterTarget{}, Sys("zapłacone częściowo.."), Sys(" część. zapł."), FILTER_YES_NO,
                                    0u, 0u);
  if (partly) partly->own_test.yesNo = PartlyPaidTest;
  FilterItem* delivery = ChoiceItem(f("STM"), "typ dostawy..........", " typ dostawy:", DeliveryList(from2024));
  if (delivery) delivery->own_test.code = DeliveryTest;
  FilterItem* country = TextItem(f("KRA"), "kraj.................", " kraj:", FILTER_UPPER, kraj_f4_lista,
                                 KRAJ_DAJ_NAZWE);
  if (country) country->own_test.text = CountryTest;
  FilterItem* currency = TextItem(f("WAL"), "waluta...............", nullptr, FILTER_UPPER, kraj_f4_lista,
                                  KRAJ_Z_WALUTA, valid_waluta);
  FilterItem* payer = DefineFilter(FilterFld(f("RE3")), Sys("podatnik VAT ?......."), nullptr, FILTER_TEXT_LENGTH,
                                   FILTER_UPPER, 1, 0, nullptr, 0, VatPayerValid);
  if (payer) payer->own_test.text = VatPayerTest;
  FilterItem* kind = ChoiceItem(f("SDR"), "rodzaj dokumentu.....", nullptr, DocumentKinds(rejestr));
  if (kind) kind->own_test.code = DocumentKindTest;
  FilterItem* last = kind;
  if (salesOptions.procedureMarks == 'T') {
    int marksYear = from2024 ? NEW_MARKS_YEAR : WorkingYear();
    FilterItem* procedures = DefineFilter(FilterFld(f("NKV")), Sys("procedury............"), nullptr, FILTER_CHOICE,
                                          0u, ProcedureList(marksYear));
    if (procedures) procedures->own_test.code = MarksTest;
    last = DefineFilter(FilterFld(f("NKK")), Sys("oznaczenie tow./usł.."), nullptr, FILTER_CHOICE, 0u,
                        ListaOznaczenGtu(marksYear));
    if (last) last->own_test.code = MarksTest;
  }
  if (salesContext) {
    salesContext->filtrTypuDostawy = delivery;
    salesContext->filtrWaluty = currency;
  }
  return last;
}

// Items 1 to 7 (from 2024 with the sale-date bounds after the VAT dates).
void CommonHead(DbTable* h, bool from2024) {
  auto f = [h](const char* name) { return d4field(h, name); };
  kontekst_sprzedazy* c = salesContext;
  FilterItem* issueFrom = DateItem(f("DAW"), "od daty wystawienia..", " od daty wyst:", FILTER_DATE_NEEDED);
  FilterItem* issueTo =
      DateItem(f("DAW"), "do daty wystawienia..", " do daty wyst:", FILTER_UPPER_BOUND | FILTER_DATE_NEEDED);
  FilterItem* vatFrom = DateItem(f("DAV"), "od daty VAT..........", " od daty VAT:", 0);
  FilterItem* vatTo = DateItem(f("DAV"), "do daty VAT..........", " do daty VAT:", FILTER_UPPER_BOUND);
  FilterItem *saleFrom = nullptr, *saleTo = nullptr;
  if (from2024) {
    saleFrom = DateItem(f("DAS"), "od daty sprzedaży....", " od daty sprz:", 0);
    saleTo = DateItem(f("DAS"), "do daty sprzedaży....", " do daty sprz:", FILTER_UPPER_BOUND);
  }
  if (salesOptions.standardNumbering == 'T')
    TextItem(f("PRE"), "prefiks numeru.......", " id. nr:", FILTER_UPPER, nullptr, 0, RightAlignedPrefix);
  TextItem(f("KNA"), "kod kontrahenta......", " kod kontr:", FILTER_UPPER, pole_kontrahenta, POLE_FILTRA,
           waliduj_kontrahenta);
  FilterItem* nip = TextItem(f("NIP"), "NIP kontrahenta...[*]", " NIP:", FILTER_UPPER);
  if (nip) nip->own_test.text = NipTest;
  if (c) {
    c->filtrOdDatyWyst = issueFrom;
    c->filtrDoDatyWyst = issueTo;
    c->filtrOdDatyVat = vatFrom;
    c->filtrDoDatyVat = vatTo;
    c->filtrOdDatySprz = saleFrom;
    c->filtrDoDatySprz = saleTo;
  }
}

void Reset(kontekst_sprzedazy* c) {
  ResetFiltersDefinition(&c->filtry, c->elementyFiltrow, sizeof c->elementyFiltrow);
}

constexpr uint32_t OR_ITEM = FILTER_OR_MEMBER;
constexpr uint32_t OR_LAST = FILTER_OR_MEMBER | FILTER_OR_END;

}  // namespace

FilterItem* definiuj_filtry_rejestru(int rejestr) {
  if (!salesContext) return nullptr;
  Reset(salesContext);
  DbTable* h = Header();
  DbField* tyv = d4field(h, "TYV");
  CommonHead(h, false);
  KindItem("faktura .............", " FV", KindOwnTest<KT_FV>, OR_ITEM, tyv);
  if (rejestr == 2) KindItem("faktura zaliczkowa...", " FZ", KindOwnTest<KT_FZ>, OR_ITEM, tyv);
  KindItem("faktura do paragonu..", " FP", KindOwnTest<KT_FP>, OR_ITEM, tyv);
  KindItem("korekta faktury......", " FK", KindOwnTest<KT_FK>, OR_ITEM, tyv);
  KindItem("korekta do paragonu..", " FK do FP", KindOwnTest<KT_FK_FP>, OR_ITEM, tyv);
  KindItem("faktura PRO FORMA....", " tylko PF", KindOwnTest<KT_PF>, OR_ITEM, tyv);
  KindItem("faktura MP...........", " MP", KindOwnTest<KT_MP>, OR_ITEM, tyv);
  KindItem("sprzed. bezrachunk...", " BR", KindOwnTest<KT_BR>, OR_ITEM, tyv);
  KindItem("faktura MARŻA........", " FM", KindOwnTest<KT_FM>, OR_ITEM, tyv);
  KindItem("rachunek.............", " RU", KindOwnTest<KT_RU>, OR_ITEM, tyv);
  KindItem("korekta rachunku.....", " RK", KindOwnTest<KT_RK>, OR_LAST, tyv);
  if (rejestr == 1) {
    KindItem("tylko fak. końcowe...", " fak. końcowa:", KindOwnTest<KT_FINAL>, 0, nullptr);
    KindItem("tylko końcowe paragon", " fak. końcowa:", KindOwnTest<KT_FINAL_RECEIPT>, 0, nullptr);
    KindItem("tylko zbiorcze.......", " fak. zbiorcza:", KindOwnTest<KT_COLLECTIVE>, 0, nullptr);
  }
  return CommonTail(h, rejestr, false);
}

FilterItem* definiuj_filtry_rejestru_2024(int rejestr) {
  if (!salesContext) return nullptr;
  Reset(salesContext);
  DbTable* h = Header();
  DbField* tyv = d4field(h, "TYV");
  CommonHead(h, true);
  if (rejestr == 1) {
    KindItem("faktura .............", " FV", KindOwnTest<KT_FV>, OR_ITEM, tyv);
    KindItem("faktura MP...........", " MP", KindOwnTest<KT_MP>, OR_ITEM, tyv);
    KindItem("faktura MARŻA........", " FM", KindOwnTest<KT_FM>, OR_ITEM, tyv);
    KindItem("sprzed. bezrachunk...", " BR", KindOwnTest<KT_BR>, OR_ITEM, tyv);
    KindItem("korekta faktury......", " FK", KindOwnTest<KT_FK_ALL>, OR_ITEM, tyv);
    KindItem("rachunek.............", " RU", KindOwnTest<KT_RU>, OR_ITEM, tyv);
    KindItem("korekta rachunku.....", " RK", KindOwnTest<KT_RK>, OR_LAST, tyv);
    KindItem("tylko fak. końcowe...", " fak. końcowa:", KindOwnTest<KT_FINAL>, 0, nullptr);
    KindItem("tylko zbiorcze.......", " fak. zbiorcza:", KindOwnTest<KT_COLLECTIVE>, 0, nullptr);
    if (WorkingYear() > FIRST_YEAR_2024 && salesOptions.cashPit == 'T')
      KindItem("tylko metoda kasowa..", " PIT kasowy:", KindOwnTest<KT_CASH_PIT>, 0, nullptr);
  } else {
    KindItem("faktura zaliczkowa...", " FZ", KindOwnTest<KT_FZ_2024>, OR_ITEM, tyv);
    KindItem("zaliczkowa do parag..", " FP", KindOwnTest<KT_ZP_2024>, OR_ITEM, tyv);
    KindItem("faktura do paragonu..", " FP", KindOwnTest<KT_FP_2024>, OR_ITEM, tyv);
    KindItem("korekta .............", " FK", KindOwnTest<KT_FK_ALL>, OR_ITEM, tyv);
    KindItem("faktura PRO FORMA....", " tylko PF", KindOwnTest<KT_PF>, OR_LAST, tyv);
  }
  return CommonTail(h, rejestr, true);
}

int filtry_rejestru() {
  if (!salesContext) return 0;
  OpenFiltersWindow(&salesContext->filtry);
  return browse_call(0, 0) < 0 ? -1 : 0;
}

FilterItem* definiuj_filtry_ewidencji(kontekst_ewidencji* c) {
  ResetFiltersDefinition(&c->filtry, c->pamiec_filtrow, sizeof c->pamiec_filtrow);
  DbTable* l = Line();
  auto f = [l](const char* name) { return d4field(l, name); };
  bool from2024 = WorkingYear() >= FIRST_YEAR_2024;
  FilterItem** e = c->elementy;
  e[FE_OD_DATY_VAT] = DateItem(f("DAV"), "od daty VAT..........", " od daty VAT:", FILTER_DATE_NEEDED);
  e[FE_DO_DATY_VAT] =
      DateItem(f("DAV"), "do daty VAT..........", " do daty VAT:", FILTER_UPPER_BOUND | FILTER_DATE_NEEDED);
  e[FE_OD_DATY_WYST] = DateItem(f("DAW"), "od daty wystawienia..", " od daty wyst:", FILTER_DATE_NEEDED);
  e[FE_DO_DATY_WYST] =
      DateItem(f("DAW"), "do daty wystawienia..", " do daty wyst:", FILTER_UPPER_BOUND | FILTER_DATE_NEEDED);
  e[FE_PREFIKS] = TextItem(f("PRE"), "prefiks numeru.......", " id. nr:", FILTER_UPPER, nullptr, 0, RightAlignedPrefix);
  e[FE_KOD_POZYCJI] = TextItem(f("KOT"), "kod pozycji..........", " kod poz:", FILTER_UPPER, pole_towar_usluga,
                               POLE_FILTRA_KODU, waliduj_kod_pozycji);
  if (e[FE_KOD_POZYCJI]) e[FE_KOD_POZYCJI]->own_test.text = ItemCodeTest;
  e[FE_TYP_POZYCJI] = ChoiceItem(f("ZRP"), "typ pozycji..", nullptr, CodeList({"1. TOWARY", "2. USŁUGI"}),
                                 FILTER_NOT_TESTED | FILTER_SAME_LINE);
  e[FE_KOD_KONTRAHENTA] =
      TextItem(d4field(Header(), "KNA"), "kod kontrahenta......", " kod kontr:", FILTER_UPPER | FILTER_DIRECT_FIELD,
               pole_kontrahenta, POLE_FILTRA, waliduj_kontrahenta);
  if (Z5KONT.table) {
    e[FE_NUMER_KONTA] = TextItem(d4field(Z5KONT.table, "NUM"), "numer konta..........", " nr konta:",
                                 FILTER_DIRECT_FIELD | FILTER_NOTE_BESIDE, konto_f4_lista, 0, AccountValid, 34);
    if (e[FE_NUMER_KONTA]) e[FE_NUMER_KONTA]->picture = "999-9999";
  }
  DbField* tyv = f("TYV");
  e[FE_FV] = KindItem("faktura .............", " FV", KindOwnTest<KL_FV>, OR_ITEM, tyv);
  e[FE_MP] = KindItem("faktura MP...........", " MP", KindOwnTest<KL_MP>, OR_ITEM, tyv);
  e[FE_FM] = KindItem("faktura MARŻA........", " FM", KindOwnTest<KL_FM>, OR_ITEM, tyv);
  e[FE_FZ] = KindItem("faktura zaliczkowa...", " FZ", KindOwnTest<KL_FZ>, OR_ITEM, tyv);
  e[FE_ZP] = KindItem("zaliczkowa do parag..", " ZP", KindOwnTest<KL_ZP>, OR_ITEM, tyv);
  e[FE_FP] = KindItem("faktura do paragonu..", " FP", KindOwnTest<KL_FP>, OR_ITEM, tyv);
  e[FE_PF] = KindItem("faktura PRO FORMA....", " tylko PF", KindOwnTest<KL_PF>, 0, tyv);
  e[FE_FK] = KindItem("korekta faktury......", " FK", KindOwnTest<KL_FK>, OR_ITEM, tyv);
  e[FE_BR] = KindItem("sprzed. bezrachunk...", " BR", KindOwnTest<KL_BR>, OR_ITEM, tyv);
  e[FE_RU] = KindItem("rachunek.............", " RU", KindOwnTest<KL_RU>, OR_ITEM, tyv);
  e[FE_RK] = KindItem("korekta rachunku.....", " RK", KindOwnTest<KL_RK>, OR_LAST, tyv);
  e[FE_TYP_PRZYCHODU] = ChoiceItem(f("TYP"), "typ przychodu........", " przychód:",
                                   CodeList({"1. SPRZEDAŻ", "2. POZOSTAŁE", "3. WYN. W NAT."}));
  if (e[FE_TYP_PRZYCHODU]) e[FE_TYP_PRZYCHODU]->own_test.code = NumberCodeTest;
  e[FE_TYP_DOSTAWY] = ChoiceItem(f("STM"), "typ dostawy..........", " typ dostawy:", DeliveryList(from2024));
  e[FE_STAWKA_VAT] = ChoiceItem(f("VAT"), "stawka VAT...........", " VAT:", NAZWY_STAWEK_VAT);
  if (e[FE_STAWKA_VAT]) e[FE_STAWKA_VAT]->own_test.code = NumberCodeTest;
  e[FE_STAWKA_RYCZALT] = ChoiceItem(f("RYT"), "stawka ryczałt.......", " rycz:", ListaStawekRyczaltu(WorkingYear()));
  if (e[FE_STAWKA_RYCZALT]) e[FE_STAWKA_RYCZALT]->own_test.code = NumberCodeTest;
  e[FE_STRUKTURA] = DefineFilter(FilterFld(f("CSS")), Sys("czy w strukturze?...."), Sys(" wchodzi do struktury:"),
                                 FILTER_YES_NO, 0u, FILTER_IF_EQUAL | 'T');
  e[FE_ODWROTNE] = ChoiceItem(f("RE3"), "odwrotne obciążenie..", " odw. obc.:",
                              CodeList({"1. NIE", "2. TAK art.17 ust.1 pkt 7", "3. TAK art.17 ust.1 pkt 8"}));
  if (e[FE_ODWROTNE]) e[FE_ODWROTNE]->own_test.code = ReverseChargeTest;
  e[FE_WALUTA] = TextItem(f("WAL"), "waluta...............", " waluta:", FILTER_UPPER, kraj_f4_lista, KRAJ_Z_WALUTA,
                          valid_waluta);
  return e[FE_WALUTA];
}

void pokaz_filtry_wydruku(kontekst_ewidencji* c, int printKind) {
  bool main = c->rejestr == 1, margin = printKind == 6;
  int year = WorkingYear();
  auto show = [c](int item, bool shown) {
    if (FilterItem* i = c->elementy[item]) i->flags = shown ? i->flags & ~FILTER_HIDDEN : i->flags | FILTER_HIDDEN;
  };
  for (int item : {FE_FV, FE_BR, FE_MP, FE_FM, FE_RK}) show(item, main && !margin);
  for (int item : {FE_FZ, FE_PF}) show(item, !main && !margin);
  for (int item : {FE_RU, FE_FK}) show(item, !margin);
  show(FE_STRUKTURA, main);
  show(FE_ODWROTNE, year <= LAST_REVERSE_CHARGE_YEAR);
  for (int item : {FE_ZP, FE_FP}) show(item, !main && year >= FIRST_YEAR_2024);
}

int okno_filtrow_ewidencji(kontekst_ewidencji* c, int printKind) {
  pokaz_filtry_wydruku(c, printKind);
  OpenFiltersWindow(&c->filtry);
  return 0;
}

int czy_raport_w_walucie(FilterItem* currency) {
  if (!currency || currency->type != FILTER_TEXT || !currency->active || !currency->text) return 0;
  return std::strncmp(currency->text, "PLN", 3) != 0;
}

double kurs_raportu(FilterItem* currency, DbField* rate) {
  return czy_raport_w_walucie(currency) ? 1.0 : FldKurs(rate);
}

void opis_stanu_filtrow(FilterSet* set, char* buffer, int size, int clear, int withCurrency) {
  if (clear) std::memset(buffer, 0, static_cast<size_t>(size));
  if (!set || set->off) return;
  FilterItem* currency = kontekstEwidencji && set == &kontekstEwidencji->filtry ? kontekstEwidencji->elementy[FE_WALUTA]
                                                                               : nullptr;
  for (int i = 0; i < set->count; i++) {
    FilterItem* item = &set->items[i];
    if (item == currency && !withCurrency) continue;
    char status[512] = "";
    AddFilterItemStatus(item, status);
    size_t used = std::strlen(buffer);
    if (used + 1 < static_cast<size_t>(size)) std::strncat(buffer, status, static_cast<size_t>(size) - used - 1);
  }
}
