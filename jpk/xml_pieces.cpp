#include "jpk/xml_pieces.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/document_text.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "db/db_index.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/error_codes.h"
#include "env/messages.h"
#include "env/services.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "interchange/xml_writer.h"
#include "platform/clock.h"
#include "tables/catalogue.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/wiget.h"
#include "ui/wiget_edit.h"
#include "ui/window4.h"

int przelacznik_prefiksow_xml = 0;

namespace {

constexpr int MSG_COUNTRY_NOT_FOUND = 20121;
constexpr int MSG_OFFICE_NOT_FOUND = 20122;
constexpr int MSG_MEND_FIRM = 20158;
constexpr int MSG_FORM_CODE = 20188;
constexpr int KEY_F2_SAVED = 0x3C00;
constexpr int USKA_BY_NAME = 3;
constexpr int KRAJ_BY_NAME = 1;
constexpr int PERIOD_WIGETS = 8;

std::string Trim(std::string s) {
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}

std::string Field(const char* name) { return Trim(FldQStr(d4field(Z5PAWL.table, name), 0)); }

// The period dialog's elements and the context they edit.
struct PeriodForm {
  Wiget list[PERIOD_WIGETS];
  kontekst_jpk* c;
} period;

void SetMonth(int month, int year) {
  set_data_str(year, month, 1, period.c->data_od);
  std::memcpy(period.c->data_do, OstatniDzienQStr(year, month), 9);
}

int MonthEntered(WigetEvent* e, Wiget*, void*) {
  if (e->code != WE_TEST) return 0;
  if (e->newLong < 1 || e->newLong > 12) return 0;
  SetMonth(static_cast<int>(e->newLong), WorkingYear());
  return 0;
}

int FromEntered(WigetEvent* e, Wiget*, void*) {
  if (e->code != WE_TEST) return 0;
  std::string date(e->newValue.date, 8);
  int month = date4month(date.c_str());
  if (month < 1) return 0;
  period.c->miesiac = month;
  std::memcpy(period.c->data_do, OstatniDzienQStr(WorkingYear(), month), 9);
  return 0;
}

int ToEntered(WigetEvent* e, Wiget*, void*) {
  if (e->code != WE_TEST) return 0;
  if (date4long(period.c->data_od) <= e->newLong) return 0;
  static const std::string refused = Utf8ToMazText("Błąd daty 'DO'.");
  e->message = TextRef(refused.c_str());
  return 1;
}

void AddressField(int level, const char* tag, const char* field, int prefix) {
  XmlField(level, prefix ? prefiks_etd(tag) : tag, d4field(Z5PAWL.table, field), 0);
}

void WritePodmiot1(int prefix, int identityPrefix, int withoutPost) {
  auto tag = [](const char* name, int p) { return p ? prefiks_etd(name) : const_cast<char*>(name); };
  XmlElement(1, XML_OPEN, "Podmiot1");
  XmlElement(2, XML_OPEN, "IdentyfikatorPodmiotu");
  XmlString(3, tag("NIP", identityPrefix), NipFldQStr(d4field(Z5PAWL.table, "NIP")), 0);
  std::string name = Trim(TrimFldsToQStr_(d4field(Z5PAWL.table, "NA1"), d4field(Z5PAWL.table, "NA2")));
  XmlString(3, tag("PelnaNazwa", identityPrefix), name.c_str(), 0);
  XmlElement(2, 0, "IdentyfikatorPodmiotu");
  std::string country = Field("KRA");
  c4upper(country.data());
  if (country.empty() || country == "POLSKA") {
    XmlElement(2, XML_OPEN, "AdresPodmiotu");
    XmlString(3, tag("KodKraju", prefix), "PL", 0);
    const char* const fields[][2] = {{"Wojewodztwo", "WOJ"}, {"Powiat", "POW"}, {"Gmina", "GMI"},
                                     {"Ulica", "ULI"},       {"NrDomu", "NRD"}, {"NrLokalu", "NRM"},
                                     {"Miejscowosc", "MIA"}, {"KodPocztowy", "KOD"}};
    for (const auto& f : fields) AddressField(3, f[0], f[1], prefix);
    if (!withoutPost) AddressField(3, "Poczta", "POC", prefix);
    XmlElement(2, 0, "AdresPodmiotu");
    return XmlElement(1, 0, "Podmiot1");
  }
  XmlElement(2, XML_OPEN, "AdresPodmiotu2");
  XmlString(3, tag("KodKraju", prefix), kod_kraju(country.c_str(), nullptr), 0);
  const char* const fields[][2] = {{"KodPocztowy", "KOD"}, {"Miejscowosc", "MIA"}, {"Ulica", "ULI"},
                                   {"NrDomu", "NRD"},      {"NrLokalu", "NRM"}};
  for (const auto& f : fields) AddressField(3, f[0], f[1], prefix);
  XmlElement(2, 0, "AdresPodmiotu2");
  XmlElement(1, 0, "Podmiot1");
}

}  // namespace

char* prefiks_etd(const char* name) {
  std::string text = przelacznik_prefiksow_xml ? std::string("etd:") + name : std::string(name);
  return QuickStr(text.c_str(), static_cast<int>(text.size()), 0);
}

int dane_eksportu_faktur(kontekst_jpk* c) {
  period.c = c;
  ResetWigetsDefinition(period.list, sizeof period.list / sizeof period.list[0] * WIGET_BYTES, 0);
  static const std::string monthLabel = Utf8ToMazText("Miesiąc:");
  DefineWigetEx(2, 1, WigetMsg(monthLabel.c_str()), 0, W_STATIC);
  Wiget* month = DefineWigetEx(2, 10, WigetVar(&c->miesiac), 2, W_INT | WidthFlag(2));
  DefineWigetEx(4, 1, WigetMsg("Data od:"), 0, W_STATIC);
  Wiget* from = DefineWigetEx(4, 10, WigetVar(c->data_od), 0, W_DATE | WF_LONG);
  DefineWigetEx(5, 1, WigetMsg("Data do:"), 0, W_STATIC);
  Wiget* to = DefineWigetEx(5, 10, WigetVar(c->data_do), 0, W_DATE | WF_LONG);
  if (month) month->hook = MonthEntered;
  if (from) from->hook = FromEntered;
  if (to) to->hook = ToEntered;
  int previous = w4select(-1);
  int window = DefineWprowadzWindow(11, 15, 8, 50, "DANE DO EKSPORTU FAKTUR", period.list, &period);
  int key = KEY_ESC;
  if (window >= 0) {
    w4activate(window);
    w4select(window);
    // The labels are drawn once; the form redraws only what it edits.
    DisplayPageWigets(w4record(window), period.list, 0, 0, WD_ALL);
    key = ActivateWindow(window, nullptr, nullptr, AW_NO_QUESTIONS);
    w4deactivate(window);
    w4close(window);
  }
  FreeWigets(period.list);
  w4select(previous);
  return key == KEY_ENTER || key == KEY_F2_SAVED ? 0 : -1;
}

char* kod_urzedu_skarbowego(DbField* code, DbField* officeName) {
  const char* text = f4ptr(code);
  if (f4len(code) >= 4 && std::isdigit(static_cast<unsigned char>(text[0])) &&
      std::isdigit(static_cast<unsigned char>(text[1])) && std::isdigit(static_cast<unsigned char>(text[2])) &&
      std::isdigit(static_cast<unsigned char>(text[3])))
    return QuickStr(text, 4, 0);
  auto notFound = [] {
    MessageWindow(MB_WARNING, RcQStr(MSG_OFFICE_NOT_FOUND), RcQStr(MSG_MEND_FIRM));
    return QuickStr("", 0, 0);
  };
  if (FieldIsEmpty(officeName)) return notFound();
  bool opened = false;
  DbTag* savedTag = nullptr;
  long savedRecord = 0;
  if (Z5USKA.table) {
    savedTag = d4tag_selected(Z5USKA.table);
    savedRecord = d4recno(Z5USKA.table);
  } else {
    if (OpenZ5USKA(0) != 0) return QuickStr("", 0, 0);
    opened = true;
  }
  std::string name = Trim(FldQStr(officeName, 0));
  d4tag_select(Z5USKA.table, Z5USKA.tag[USKA_BY_NAME]);
  int found = d4seek(Z5USKA.table, name.c_str());
  std::string result;
  bool missing = found == r4after || found == r4eof;
  if (found == 0) result = FldQStr(d4field(Z5USKA.table, "XML"), 0);
  if (opened) {
    d4close(Z5USKA.table);
    Z5USKA.table = nullptr;
  } else {
    d4tag_select(Z5USKA.table, savedTag);
    if (savedRecord > 0) d4go(Z5USKA.table, savedRecord);
  }
  if (missing) return notFound();
  return QuickStr(result.c_str(), static_cast<int>(result.size()), 0);
}

char* kod_kraju(const char* name, const char* defaultText) {
  std::string result = defaultText ? defaultText : "";
  if (!name || name[0] == ' ' || OpenZ5KRAJ(0) != 0) return QuickStr(result.c_str(), -1, 0);
  std::string key = name;
  c4upper(key.data());
  key = Trim(key);
  d4tag_select(Z5KRAJ.table, Z5KRAJ.tag[KRAJ_BY_NAME]);
  int found = d4seek(Z5KRAJ.table, key.c_str());
  if (found == 0) {
    result = Trim(FldQStr(d4field(Z5KRAJ.table, "KKR"), 0));
  } else if (found == r4after || found == r4eof) {
    char text[128];
    std::snprintf(text, sizeof text, RcQStr(MSG_COUNTRY_NOT_FOUND), name);
    MessageWindow(MB_WARNING, text);
  }
  d4close(Z5KRAJ.table);
  Z5KRAJ.table = nullptr;
  return QuickStr(result.c_str(), static_cast<int>(result.size()), 0);
}

void zapisz_naglowek_jpk(const kontekst_jpk* c, int wariant, const char* kod_urzedu) {
  char system[16], number[4];
  std::snprintf(system, sizeof system, "JPK_FA (%i)", wariant);
  std::snprintf(number, sizeof number, "%i", wariant);
  char attributes[128];
  std::snprintf(attributes, sizeof attributes, RcQStr(MSG_FORM_CODE), system, "1-0");
  XmlElement(1, XML_OPEN, "Naglowek");
  // The closing tag takes the first word: the element name.
  XmlString(2, attributes, "JPK_FA", 0);
  XmlString(2, "WariantFormularza", number, 0);
  XmlString(2, "CelZlozenia", "1", 0);
  XmlString(2, "DataWytworzeniaJPK", data_czas_jpk(), 0);
  XmlString(2, "DataOd", DateFmtQStr(c->data_od, "CCYY-MM-DD"), 0);
  XmlString(2, "DataDo", DateFmtQStr(c->data_do, "CCYY-MM-DD"), 0);
  if (wariant <= 2) XmlString(2, "DomyslnyKodWaluty", "PLN", 0);
  XmlString(2, "KodUrzedu", kod_urzedu, 0);
  XmlElement(1, 0, "Naglowek");
}

void zapisz_podmiot1_jpk(int prefiks, int bez_poczty) { WritePodmiot1(prefiks, prefiks, bez_poczty); }

void zapisz_podmiot1_jpk_fa4() { WritePodmiot1(1, 0, 1); }

char* data_czas_jpk() {
  PlatDateTime now{};
  PlatNow(&now);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", now.year, now.month, now.day, now.hour,
                now.minute, now.second);
  return QuickStr(text, -1, 0);
}

char* oczysc_nazwe_pliku_jpk(char* text) {
  ConvChars(text, -1, MazToAsciiPairs, 0);
  for (char* p = text; *p; p++) {
    unsigned char ch = static_cast<unsigned char>(*p);
    if (ch != '-' && !(ch < 0x80 && std::isalnum(ch))) *p = '_';
  }
  return text;
}
