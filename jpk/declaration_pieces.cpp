#include "jpk/declaration_pieces.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/document_text.h"
#include "db/db_index.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/messages.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "interchange/xml_writer.h"
#include "jpk/export_register.h"
#include "jpk/xml_pieces.h"
#include "tables/catalogue.h"
#include "tables/firm_tables.h"
#include "tables/personnel_tables.h"
#include "tables/vat_tables.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"

namespace {

constexpr int MSG_ADDRESS_ERROR = 20018, MSG_BOTH_ADDRESSES = 20025, MSG_SENT = 20067, MSG_AS_CORRECTION = 20057;
constexpr int MSG_ADDRESS_KIND = 20196;
constexpr int BY_NIP_KIND_YEAR = 6;
constexpr int NIP_WIDTH = 11, PERIOD_WIDTH = 18, DIGITS = 10;
constexpr int LAST_YEAR_WITH_TWO_PERIODS = 2009;

std::string Maz(const char* utf8) { return Utf8ToMazText(utf8); }
std::string Trim(const char* text) { return QuickStr(text ? text : "", -1, QS_RTRIM | QS_LTRIM); }
std::string Upper(std::string s) {
  c4upper(s.data());
  return s;
}
bool Filled(const char* text) { return !Trim(text).empty(); }
std::string Text(DbField* field) { return field ? QuickStr(f4ptr(field), f4len(field), QS_RTRIM | QS_LTRIM) : ""; }

char* Prefixed(const char* prefix, const char* name) {
  std::string text = przelacznik_prefiksow_xml ? std::string(prefix) + name : std::string(name);
  return QuickStr(text.c_str(), static_cast<int>(text.size()), 0);
}

char* Tag(const char* name, int prefix) { return prefix ? prefiks_etd(name) : QuickStr(name, -1, 0); }

// The address box: the kind word and the missing items.
int AddressFailed(const char* kind, const std::vector<const char*>& missing, int show) {
  if (show) {
    std::string title = PrintfQStr(MSG_ADDRESS_ERROR, kind);
    std::string items;
    for (const char* item : missing) items += (items.empty() ? "" : ", ") + Maz(item);
    MessageWindow(MB_WARNING, title.c_str(), items.c_str());
  }
  return 0;
}

DbField* P(const char* name) { return d4field(Z5PRAC.table, name); }
std::string PText(const char* name) { return Text(P(name)); }

// One address of the person: registration (plain fields) or residence (Z.. fields).
int PersonAddress(bool residence, int show) {
  auto f = [&](const char* plain, const char* other) { return PText(residence ? other : plain); };
  std::string country = f("KRA", "ZKR"), voiv = f("WOJ", "ZWO"), district = f("POW", "ZPW"),
              commune = f("GMI", "ZGM"), house = f("NRD", "ZND"), town = f("MIA", "ZMI"),
              code = std::string(f4ptr(P(residence ? "ZKO" : "KOD")), f4len(P(residence ? "ZKO" : "KOD")));
  std::string kind = Maz(residence ? "zamieszkania" : "zameldowania");
  if (Upper(country) == "POLSKA" || country.empty()) {
    AdresPolski a{country.c_str(), voiv.c_str(), district.c_str(), commune.c_str(),
                  house.c_str(),   town.c_str(),  code.c_str()};
    return sprawdz_adres_polski(a, kind.c_str(), show) ? 1 : 0;
  }
  return sprawdz_adres_zagraniczny(country.c_str(), town.c_str(), kind.c_str(), show) ? 3 : 0;
}

bool ResidenceBlank() {
  for (const char* name : {"ZKR", "ZWO", "ZPW", "ZGM", "ZND", "ZNM", "ZMI", "ZKO", "ZUL", "ZPO"})
    if (!PText(name).empty()) return false;
  return true;
}

DbField* Firm(const char* name) { return d4field(Z5PAWL.table, name); }

std::string FirmNip() {
  std::string nip = NipFldQStr(Firm("NIP"));
  nip.resize(NIP_WIDTH, ' ');
  return nip;
}

}  // namespace

int sprawdz_adres_polski(const AdresPolski& a, const char* rodzaj, int pokaz) {
  std::vector<const char*> missing;
  if (Upper(Trim(a.kraj)) != "POLSKA") missing.push_back("kraj");
  if (!Filled(a.wojewodztwo)) missing.push_back("województwo");
  if (!Filled(a.powiat)) missing.push_back("powiat");
  if (!Filled(a.gmina)) missing.push_back("gmina");
  if (!Filled(a.miejscowosc)) missing.push_back("miejscowość");
  if (!Filled(a.nr_domu)) missing.push_back("nr domu");
  if (!a.kod_pocztowy || a.kod_pocztowy[0] == ' ' || a.kod_pocztowy[0] == '\0') missing.push_back("kod pocztowy");
  return missing.empty() ? 1 : AddressFailed(rodzaj, missing, pokaz);
}

int sprawdz_adres_zagraniczny(const char* kraj, const char* miejscowosc, const char* rodzaj, int pokaz) {
  std::vector<const char*> missing;
  if (!Filled(kraj) || Upper(Trim(kraj)) == "POLSKA") missing.push_back("kraj");
  if (!Filled(miejscowosc)) missing.push_back("miejscowość");
  return missing.empty() ? 1 : AddressFailed(rodzaj, missing, pokaz);
}

int wybierz_adres_osoby() {
  if (ResidenceBlank()) {
    int registration = PersonAddress(false, 1);
    return registration ? registration : 9;
  }
  int residence = PersonAddress(true, 0);
  if (residence) return residence == 3 ? 4 : 2;
  int registration = PersonAddress(false, 0);
  if (registration) return registration;
  std::string name = TrimFldsToQStr_(P("IM1"), P("NAZ"));
  MessageWindow(MB_WARNING, MSG_BOTH_ADDRESSES, name.c_str());
  return 9;
}

void zapisz_osobe_niefizyczna(int poziom, DbField* nip, DbField* nazwa1, DbField* nazwa2, DbField* regon,
                              int prefiks) {
  XmlElement(poziom, XML_OPEN, Tag("OsobaNiefizyczna", prefiks));
  XmlString(poziom + 1, Tag("NIP", prefiks), NipFldQStr(nip), XML_EMPTY_ELEMENT);
  std::string name = TrimFldsToQStr_(nazwa1, nazwa2);
  XmlString(poziom + 1, Tag("PelnaNazwa", prefiks), name.c_str(), 0);
  XmlField(poziom + 1, Tag("REGON", prefiks), regon, XML_KEEP_CASE);
  XmlElement(poziom, 0, Tag("OsobaNiefizyczna", prefiks));
}

void zapisz_identyfikator_osoby(int poziom, const char* identyfikator, DbField* imie, DbField* nazwisko,
                                DbField* data_urodzenia, int prefiks) {
  std::string id = Trim(identyfikator);
  XmlString(poziom, Tag(id.size() == 10 ? "NIP" : "PESEL", prefiks), id.c_str(), XML_EMPTY_ELEMENT);
  XmlField(poziom, Tag("ImiePierwsze", prefiks), imie, XML_EMPTY_ELEMENT);
  XmlField(poziom, Tag("Nazwisko", prefiks), nazwisko, XML_EMPTY_ELEMENT);
  std::string birth = FieldIsEmpty(data_urodzenia) ? "" : DateFmtQStr(f4ptr(data_urodzenia), "CCYY-MM-DD");
  XmlString(poziom, Tag("DataUrodzenia", prefiks), birth.c_str(), XML_EMPTY_ELEMENT);
}

void zapisz_osobe_fizyczna(int poziom, DbField* nip, DbField* pesel, const char* identyfikator, DbField* imie,
                           DbField* nazwisko, DbField* data_urodzenia, int prefiks) {
  XmlElement(poziom, XML_OPEN, Tag("OsobaFizyczna", prefiks));
  if (!przelacznik_prefiksow_xml) {
    XmlString(poziom + 1, "NIP", NipFldQStr(nip), XML_EMPTY_ELEMENT);
    XmlField(poziom + 1, "PESEL", pesel, XML_EMPTY_ELEMENT);
  } else if (Filled(identyfikator)) {
    std::string id = Trim(identyfikator);
    XmlString(poziom + 1, Tag(id.size() == 10 ? "NIP" : "PESEL", prefiks), id.c_str(), 0);
  } else if (!FieldIsEmpty(pesel)) {
    XmlField(poziom + 1, Tag("PESEL", prefiks), pesel, 0);
  } else {
    XmlString(poziom + 1, Tag("NIP", prefiks), "", XML_EMPTY_ELEMENT);
  }
  XmlField(poziom + 1, Tag("ImiePierwsze", prefiks), imie, XML_EMPTY_ELEMENT);
  XmlField(poziom + 1, Tag("Nazwisko", prefiks), nazwisko, XML_EMPTY_ELEMENT);
  std::string birth = FieldIsEmpty(data_urodzenia) ? "" : DateFmtQStr(f4ptr(data_urodzenia), "CCYY-MM-DD");
  XmlString(poziom + 1, Tag("DataUrodzenia", prefiks), birth.c_str(), XML_EMPTY_ELEMENT);
  XmlElement(poziom, 0, Tag("OsobaFizyczna", prefiks));
}

int zapisz_podatnika_z_adresem(int poziom, const char* rad, int prefiks) {
  bool person = f4char(Firm("FIZF")) == 'T';
  auto f = [&](const char* name) {
    std::string field = person ? std::string(name) + "F" : std::string(name);
    return Firm(field.c_str());
  };
  std::string country = Text(f("KRA")), town = Text(f("MIA"));
  std::string kind = Maz(person ? "właściciela" : "firmy");
  bool home = country.empty() || Upper(country) == "POLSKA";
  std::string code(f4ptr(f("KOD")), f4len(f("KOD")));
  std::string voiv = Text(f("WOJ")), district = Text(f("POW")), commune = Text(f("GMI")), house = Text(f("NRD"));
  std::string polish = home ? "POLSKA" : country;
  AdresPolski a{polish.c_str(), voiv.c_str(), district.c_str(), commune.c_str(), house.c_str(), town.c_str(),
                code.c_str()};
  if (home ? !sprawdz_adres_polski(a, kind.c_str(), 1)
           : !sprawdz_adres_zagraniczny(country.c_str(), town.c_str(), kind.c_str(), 1))
    return 0;
  if (person)
    zapisz_osobe_fizyczna(poziom, Firm("NIP"), Firm("NRPF"), NipFldQStr(Firm("NIP")), Firm("IM1F"), Firm("NAZF"),
                          Firm("DATF"), prefiks);
  else
    zapisz_osobe_niefizyczna(poziom, Firm("NIP"), Firm("NA1"), Firm("NA2"), Firm("REG"), prefiks);
  std::string attributes = PrintfQStr(MSG_ADDRESS_KIND, rad);
  XmlElement(poziom, XML_OPEN, XmlAttrTag(Tag("AdresZamieszkaniaSiedziby", prefiks), attributes.c_str()));
  if (home) {
    XmlElement(poziom + 1, XML_OPEN, Tag("AdresPol", prefiks));
    XmlString(poziom + 2, Tag("KodKraju", prefiks), "PL", 0);
    const char* fields[][2] = {{"Wojewodztwo", "WOJ"}, {"Powiat", "POW"},    {"Gmina", "GMI"},
                               {"Ulica", "ULI"},       {"NrDomu", "NRD"},    {"NrLokalu", "NRM"},
                               {"Miejscowosc", "MIA"}, {"KodPocztowy", "KOD"}, {"Poczta", "POC"}};
    for (const auto& x : fields) XmlField(poziom + 2, Tag(x[0], prefiks), f(x[1]), 0);
    XmlElement(poziom + 1, 0, Tag("AdresPol", prefiks));
  } else {
    XmlElement(poziom + 1, XML_OPEN, Tag("AdresZagr", prefiks));
    XmlString(poziom + 2, Tag("KodKraju", prefiks), kod_kraju(Upper(country).c_str(), nullptr), 0);
    const char* fields[][2] = {{"KodPocztowy", "KOD"}, {"Miejscowosc", "MIA"}, {"Ulica", "ULI"},
                               {"NrDomu", "NRD"},      {"NrLokalu", "NRM"}};
    for (const auto& x : fields) XmlField(poziom + 2, Tag(x[0], prefiks), f(x[1]), 0);
    XmlElement(poziom + 1, 0, Tag("AdresZagr", prefiks));
  }
  XmlElement(poziom, 0, Tag("AdresZamieszkaniaSiedziby", prefiks));
  return 1;
}

char* p1(const char* text) { return QuickStr(text, static_cast<int>(strnlen(text, 4)), 0); }
char* p2(const char* text) { return QuickStr(std::strlen(text) > 4 ? text + 4 : "", std::strlen(text) > 4 ? 1 : 0, 0); }
char* p3(const char* text) { return QuickStr(std::strlen(text) > 5 ? text + 5 : "", std::strlen(text) > 5 ? 1 : 0, 0); }

void zapisz_okres_deklaracji(int poziom, const char* tag, double wartosc, int rok, int miesiac) {
  char value[32], period[16];
  std::snprintf(value, sizeof value, "%*.2f", PERIOD_WIDTH, wartosc);
  std::snprintf(period, sizeof period, "%i-%02i", rok, miesiac);
  XmlElement(poziom, XML_OPEN, tag);
  XmlString(poziom + 1, "p1", Trim(value).c_str(), 0);
  XmlString(poziom + 1, "p2", period, 0);
  if (rok <= LAST_YEAR_WITH_TWO_PERIODS) XmlString(poziom + 1, "p2", period, 0);
  XmlElement(poziom, 0, tag);
}

char* tylko_cyfry(const char* text) {
  std::string digits;
  for (const char* c = text; c && *c; c++)
    if (std::isdigit(static_cast<unsigned char>(*c))) digits += *c;
  if (digits.empty()) return QuickStr("", 0, 0);
  if (digits.size() > DIGITS) digits = digits.substr(digits.size() - DIGITS);
  digits.insert(0, DIGITS - digits.size(), '0');
  return QuickStr(digits.c_str(), DIGITS, 0);
}

char* prefiks_vzd(const char* name) { return Prefixed("vzd:", name); }
char* prefiks_zzu(const char* name) { return Prefixed("zzu:", name); }
char* prefiks_zo28(const char* name) { return Prefixed("zo28:", name); }
char* prefiks_zd(const char* name) { return Prefixed("zd:", name); }
char* prefiks_z28a(const char* name) { return Prefixed("z28a:", name); }
char* prefiks_z28b(const char* name) { return Prefixed("z28b:", name); }
char* prefiks_zm(const char* name) { return Prefixed("zm:", name); }
char* prefiks_zo3x(const char* name) { return Prefixed("zo3x:", name); }
char* prefiks_vzz(const char* name) { return Prefixed("vzz:", name); }
char* prefiks_vzt(const char* name) { return Prefixed("vzt:", name); }
char* prefiks_zuz(const char* name) { return Prefixed("zuz:", name); }
char* prefiks_kck(const char* name) { return Prefixed("kck:", name); }
char* prefiks_zwzr(const char* name) { return Prefixed("zwzr:", name); }
char* prefiks_dto(const char* name) { return Prefixed("dto:", name); }
char* prefiks_tns(TextRef name) { return Prefixed("tns:", EnvFindString(name)); }
char* prefiks_zb36_wg_liczby(int number, const char* name) {
  return Prefixed(number < 18 ? "zb36l:" : "zb36x:", name);
}
char* prefiks_zb36ls(int flag, const char* name) { return Prefixed(flag ? "zb36ls:" : "zb36l:", name); }
char* prefiks_zb36x(int flag, const char* name) { return Prefixed(flag ? "zb36x:" : "zb36:", name); }
char* prefiks_zb36s(int flag, const char* name) { return Prefixed(flag ? "zb36s:" : "zb36:", name); }
char* prefiks_zo36lx(int flag, const char* name) { return Prefixed(flag ? "zo36lx:" : "zo3x:", name); }
char* prefiks_zbr36s(int flag, const char* name) { return Prefixed(flag ? "zbr36s:" : "zbr36:", name); }
char* prefiks_zbr36x(int flag, const char* name) { return Prefixed(flag ? "zbr36x:" : "zbr36:", name); }
char* prefiks_zbr36ls(int flag, const char* name) { return Prefixed(flag ? "zbr36ls:" : "zbr36l:", name); }
char* prefiks_zwz36x(int flag, const char* name) { return Prefixed(flag ? "zwz36x:" : "zwz36:", name); }
char* prefiks_zg36l(int flag, const char* name) { return Prefixed(flag ? "zg36l:" : "zg36:", name); }

char* klucz_deklaracji(int kod, int rok, int miesiac, int wersja, const char* nip_osoby) {
  char key[64];
  if (nip_osoby) {
    std::string other = NipQStr(nip_osoby);
    other.resize(NIP_WIDTH, ' ');
    std::snprintf(key, sizeof key, "%s%s%3i%4i%2i", FirmNip().c_str(), other.c_str(), kod, rok, wersja);
  } else {
    std::snprintf(key, sizeof key, "%s%3i%4i%2i%2i", FirmNip().c_str(), kod, rok, miesiac, wersja);
  }
  return QuickStr(key, -1, 0);
}

int czy_wpis_deklaracji(int kod, int rok, int miesiac, const char* nip, const char* nip_osoby) {
  DbTable* t = Z5DEKL.table;
  if (f4int(d4field(t, "KDE")) != kod || f4int(d4field(t, "ROK")) != rok || f4int(d4field(t, "OKR")) != miesiac)
    return 0;
  if (nip_osoby) return Upper(Text(d4field(t, "NPR"))) == Upper(Trim(NipQStr(nip_osoby))) ? 1 : 0;
  return Upper(Text(d4field(t, "NIP"))) == Upper(Trim(NipQStr(nip))) ? 1 : 0;
}

char* numer_referencyjny_deklaracji(int kod, int rok, int miesiac) {
  DbTable* t = Z5DEKL.table;
  std::string nip = FirmNip();
  std::string key = std::string(klucz_deklaracji(kod, rok, miesiac, 0, nullptr)).substr(0, NIP_WIDTH + 9);
  d4tag_select(t, Z5DEKL.tag[BY_NIP_KIND_YEAR]);
  std::string found;
  d4seek(t, key.c_str());
  for (; !d4eof(t) && czy_wpis_deklaracji(kod, rok, miesiac, nip.c_str(), nullptr); d4skip(t, 1))
    if (f4char(d4field(t, "WYS")) == 'T') found = Text(d4field(t, "NRF"));
  return QuickStr(found.c_str(), -1, 0);
}

int sprawdz_eksport_deklaracji(int kod, int rok, int miesiac) {
  DbTable* t = Z5DEKL.table;
  std::string nip = FirmNip();
  std::string key = std::string(klucz_deklaracji(kod, rok, miesiac, 0, nullptr)).substr(0, NIP_WIDTH + 9);
  d4tag_select(t, Z5DEKL.tag[BY_NIP_KIND_YEAR]);
  int result = 0;
  d4seek(t, key.c_str());
  for (; !d4eof(t) && czy_wpis_deklaracji(kod, rok, miesiac, nip.c_str(), nullptr); d4skip(t, 1)) {
    result = f4int(d4field(t, "NRK"));
    if (f4char(d4field(t, "WYS")) != 'T') break;
    if (MessageWindow(MB_QUESTION | MB_YES_ESC, MSG_SENT, MSG_AS_CORRECTION) == KEY_ESC) return -1;
    result++;
  }
  return result;
}

long zapisz_deklaracje(int kod, int rok, int miesiac, int wersja, const char* plik, const char* od,
                       const char* do_) {
  return zapisz_eksport_jpk(kod, rok, miesiac, wersja, plik, od, do_, nullptr);
}

long zapisz_deklaracje_cel(int kod, int rok, int miesiac, int cel, int nrk, const char* plik, const char* od,
                           const char* do_) {
  return zapisz_wpis_rejestru(kod, rok, miesiac, nrk, cel, plik, od, do_, nullptr);
}
