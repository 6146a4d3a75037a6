#include "sales/register_search.h"

#include <cstring>
#include <string>

#include "app/document_text.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/session/field_text.h"
#include "masterdata/catalogue_browse.h"
#include "print/tabulogram.h"
#include "printouts/sales_summary.h"
#include "sales/currency_view.h"
#include "sales/document_totals.h"
#include "sales/numbering.h"
#include "sales/sales_context.h"
#include "tables/sales_tables.h"
#include "ui/browse.h"
#include "ui/filters.h"
#include "ui/keyboard.h"

namespace {

// Tags of the headers.
constexpr int BY_NUMBER = 0;       // STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)+STR(TYV,2,0)
constexpr int BY_ISSUE_DATE = 1;   // DTOS(DAW)+STR(TYV,2,0)+STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)+UPPER(OSM)
constexpr int BY_NAME = 2;         // UPPER(NA1)+STR(TYV,2,0)
constexpr int NAME_WIDTH = 35, NUMBER_WIDTH = 5;
constexpr int STATUS_SIZE = 2048;

enum Kind { SUMMARY, DATE, NAME, NUMBER, NAME_PATTERN, NIP_PATTERN, FREE_NUMBER_PATTERN };

DbTable* Headers() { return Z5SPRZ.table; }
DbField* Header(const char* name) { return d4field(Z5SPRZ.table, name); }
int Redisplay(long record) { return browse_call(0, record); }
int Redisplay() { return Redisplay(d4recno(Headers())); }

// The operator's entry in the browse's prompt window; false unless Enter.
bool Asked(const char* prompt, std::string& text, const char* picture, bool upper) {
  return PytanieWOknieSzukania(CurrentBrowse, Utf8ToMazText(prompt).c_str(), text.data(), picture, upper) ==
         KEY_ENTER;
}

// Seeks the key on the tag through the browse's filtered scan: the document
// found or the next in key order becomes current; past the last one the
// list stays where it was. The tag stays selected.
int SeekOnTag(int tag, const std::string& key) {
  long current = d4recno(Headers());
  d4tag_select(Headers(), Z5SPRZ.tag[tag]);
  int r = x4seek(&CurrentBrowse->scan, key.c_str());
  if (r < 0) return -1;
  return Redisplay(r == 0 || r == 2 ? d4recno(Headers()) : current);
}

int LocatePattern(const std::string& pattern, DbLocateText text) {
  long found = BrowseLocate(pattern.c_str(), text);
  if (found < 0) return -1;
  return Redisplay(found > 0 ? found : d4recno(Headers()));
}

std::string Blanks(size_t width) { return std::string(width, ' '); }

}  // namespace

const char* tekst_numeru_swobodnego() { return FldQStr(Header("OSM"), 0); }
const char* tekst_nazwy_nabywcy() { return FldQStr(Header("NA1"), 0); }
const char* tekst_nip_nabywcy() { return NipFldQStr(Header("NIP")); }

int szukaj_w_rejestrze(unsigned kind) {
  if (!CurrentBrowse || !salesContext) return -1;
  switch (kind) {
    case SUMMARY:
      return suma_rejestru_sprzedazy();
    case DATE: {
      std::string date = Blanks(8);
      if (!Asked("Szukaj daty -", date, "DD-MM/YY", false)) return 0;
      return SeekOnTag(BY_ISSUE_DATE, date.substr(0, 8) + Blanks(5));
    }
    case NAME: {
      std::string name = Blanks(NAME_WIDTH);
      if (!Asked("Szukaj nabywcy -", name, nullptr, true)) return 0;
      name.erase(name.find_last_not_of(' ') + 1);
      return SeekOnTag(BY_NAME, name);
    }
    case NUMBER: {
      std::string number = Blanks(NUMBER_WIDTH - 1) + "1";
      if (!Asked("Szukaj numeru dokumentu -", number, "99999", false)) return 0;
      wyrownaj_do_prawej(number.data(), NUMBER_WIDTH);
      return SeekOnTag(BY_NUMBER, number.substr(0, NUMBER_WIDTH));
    }
    case NAME_PATTERN: {
      std::string pattern = Blanks(NAME_WIDTH);
      if (!Asked("Szukaj wzoru w nazwie nabywcy -", pattern, nullptr, false)) return 0;
      return LocatePattern(pattern, tekst_nazwy_nabywcy);
    }
    case NIP_PATTERN: {
      std::string pattern = Blanks(f4len(Header("NIP")));
      if (!Asked("Szukaj wzoru w NIP-ie -", pattern, nullptr, false)) return 0;
      return LocatePattern(NipQStr(pattern.c_str()), tekst_nip_nabywcy);
    }
    case FREE_NUMBER_PATTERN: {
      std::string pattern = Blanks(f4len(Header("OSM")));
      if (!Asked("Szukaj wzoru w numerze dokumentu -", pattern, nullptr, false)) return 0;
      return LocatePattern(pattern, tekst_numeru_swobodnego);
    }
    default:
      return 0;
  }
}

int tabulogram_rejestru() {
  BrowseContext* c = CurrentBrowse;
  if (!c || !salesContext) return -1;
  kontekst_sprzedazy& ctx = *salesContext;
  FilterSet* set = &ctx.filtry;
  OpenFiltersWindow(set);
  if (!set->changed) return Redisplay();
  FilterItem* currency = ctx.filtrWaluty;
  int mode = ctx.reportCurrencyMode;
  if (wybierz_przeliczenie_walut(&mode, currency && currency->active) != 0) return Redisplay();
  ctx.reportCurrencyMode = mode;
  static char subtitle[STATUS_SIZE];
  std::memset(subtitle, 0, sizeof subtitle);
  MakeFilterStatusString(set, subtitle);
  std::string code = currency && currency->text ? std::string(currency->text, strnlen(currency->text, currency->length))
                                                : std::string();
  dopisz_opis_widoku_waluty(subtitle, sizeof subtitle, mode, code.c_str());
  DbTag* shown = d4tag_selected(Headers());
  prn_tab_rap(c->print_columns, &c->scan, Headers(), Z5SPRZ.tag[BY_ISSUE_DATE], c->print_title, subtitle, nullptr, 0);
  d4tag_select(Headers(), shown);
  AskResetFilter(set);
  return Redisplay();
}
