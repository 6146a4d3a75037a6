#include "jpk/export_register.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "app/document_text.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/paths.h"
#include "env/services.h"
#include "env/session/field_text.h"
#include "env/temp_strings.h"
#include "tables/firm_tables.h"
#include "tables/vat_tables.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/record_stamp.h"

namespace {

constexpr int BY_NIP_KIND_YEAR = 6;
constexpr int NIP_WIDTH = 11;

struct KindName {
  int code;
  const char* name;
};
const KindName kKinds[] = {
    {1, "PIT-4R"},  {2, "PIT-8AR"}, {3, "PIT-11"},   {4, "PIT-40"},   {5, "VAT-UE"},   {6, "VAT-UEK"},
    {7, "VAT-UE"},  {8, "VAT-UEK"}, {9, "NIP-2"},    {10, "VAT-7"},   {11, "VAT-7K"},  {12, "VAT-7D"},
    {13, "PIT-28"}, {14, "PIT-36"}, {15, "PIT-36L"}, {16, "VAT-27M"}, {17, "VAT-27K"}, {18, "PIT-37"},
    {19, "VAT-8"},  {20, "VAT-9M"}, {21, "VAT-12"},  {22, "PIT-36S"}, {23, "PIT-36LS"}, {24, "PIT-28S"},
    {25, "IFT-1R"}, {26, "VIU-DO"}, {27, "PIT-38"},  {100, "JPK_EWP"}, {101, "JPK_FA"}, {102, "JPK_KPiR"},
    {103, "JPK_VAT"}, {104, "JPK_V7M"}, {105, "JPK_V7K"},
};

DbTable* T() { return Z5DEKL.table; }
DbField* F(const char* name) { return d4field(Z5DEKL.table, name); }
DbField* Firm(const char* name) { return d4field(Z5PAWL.table, name); }

// The own firm's NIP as the key holds it: 11 characters, blank-padded.
std::string FirmNip() {
  std::string nip = NipFldQStr(Firm("NIP"));
  nip.resize(NIP_WIDTH, ' ');
  return nip;
}

std::string TrimUpper(std::string s) {
  s.erase(s.find_last_not_of(' ') + 1);
  c4upper(s.data());
  return s;
}

bool NaturalPerson() { return f4char(Firm("FIZF")) == 'T'; }

std::string TaxpayerName() {
  if (NaturalPerson()) return TrimFldsToQStr_(Firm("NAZF"), Firm("IM1F"));
  if (!FieldIsEmpty(Firm("SKN"))) return FldQStr(Firm("SKN"), QS_RTRIM);
  return FldQStr(Firm("NA1"), QS_RTRIM);
}

void FillEntry(const char* file, const char* from, const char* to, const char* directory, const std::string& nip,
               int kind) {
  ToFieldCopyMaxString(F("NDE"), nazwa_deklaracji(kind));
  ToFieldCopyMaxString(F("NAZ"), TaxpayerName().c_str());
  ToFieldCopyMaxString(F("NIP"), nip.c_str());
  ToFieldCopyMaxString(F("XKA"), directory);
  ToFieldCopyMaxString(F("XNA"), file);
  std::memcpy(f4assign_ptr(F("ADA")), from, 8);
  std::memcpy(f4assign_ptr(F("RDA")), to, 8);
  std::memcpy(f4assign_ptr(F("XDA")), get_cur_das(0), 8);
  for (const char* name : {"VPO", "WYS", "STA", "OST", "NRF", "RC2"}) EmptyField(F(name));
  if (!NaturalPerson()) return;
  f4assign_char(F("OFI"), 'T');
  ToFieldCopyMaxString(F("ANP"), nip.c_str());
  ToFieldCopyField(F("ANA"), Firm("NAZF"));
  ToFieldCopyField(F("AIM"), Firm("IM1F"));
  f4assign_double(F("RNU"), static_cast<double>(date4long(std::string(f4ptr(Firm("DATF")), 8).c_str())));
  ToFieldCopyMaxField(F("NAP"), FieldIsEmpty(Firm("RE1")) ? Firm("EMA") : Firm("RE1"));
}

}  // namespace

const char* nazwa_deklaracji(int kod) {
  static char name[9];
  const char* found = "";
  for (const KindName& k : kKinds)
    if (k.code == kod) found = k.name;
  std::snprintf(name, sizeof name, "%-8s", found);
  return name;
}

int sprawdz_eksport_jpk(int kod, int rok, int miesiac, int) {
  std::string nip = FirmNip();
  char key[64];
  std::snprintf(key, sizeof key, "%s%3i%4i%2i", nip.c_str(), kod, rok, miesiac);
  d4tag_select(T(), Z5DEKL.tag[BY_NIP_KIND_YEAR]);
  d4seek(T(), key);
  int result = 0;
  std::string firmNip = TrimUpper(nip);
  for (; !d4eof(T()); d4skip(T(), 1)) {
    if (f4int(F("KDE")) != kod || f4int(F("ROK")) != rok || f4int(F("OKR")) != miesiac ||
        TrimUpper(FldQStr(F("NIP"), 0)) != firmNip)
      break;
    result = f4int(F("NRK"));
    if (f4char(F("WYS")) != 'T') break;
    char line[96];
    if (miesiac == 0)
      std::snprintf(line, sizeof line, Utf8ToMazText("Plik za rok %i nr %i został już wysłany do MF.").c_str(), rok,
                    result);
    else
      std::snprintf(line, sizeof line, Utf8ToMazText("Plik za %i-%02i nr %i został już wysłany do MF.").c_str(), rok,
                    miesiac, result);
    int key = MessageWindow(MB_QUESTION | MB_YES_ESC, line, Utf8ToMazText("Czy eksportować kolejną wersję?").c_str());
    if (key == KEY_ESC) return -1;
    result++;
  }
  return result;
}

long zapisz_eksport_jpk(int kod, int rok, int miesiac, int wersja, const char* plik, const char* od,
                        const char* do_, const char* katalog) {
  return zapisz_wpis_rejestru(kod, rok, miesiac, wersja, 1, plik, od, do_, katalog);
}

long zapisz_wpis_rejestru(int kod, int rok, int miesiac, int wersja, int cel, const char* plik, const char* od,
                          const char* do_, const char* katalog) {
  std::string file = plik;
  ConvChars(file.data(), static_cast<int>(file.size()), MazToWindowsPairs, 0);
  std::string directory = katalog ? katalog : WorkDirQStr();
  std::string nip = FirmNip();
  char key[64];
  std::snprintf(key, sizeof key, "%s%3i%4i%2i%2i", nip.c_str(), kod, rok, miesiac, wersja);
  d4tag_select(T(), Z5DEKL.tag[BY_NIP_KIND_YEAR]);
  if (d4seek(T(), key) == 0 && go_and_lock(T(), d4recno(T())) == 0) {
    FillEntry(file.c_str(), od, do_, directory.c_str(), nip, kod);
    set_pass_inf(STAMP_KIND_MODIFIED, F("INF"));
    d4write(T(), d4recno(T()));
  } else {
    d4append_start(T(), 0);
    d4blank(T());
    f4assign_int(F("KDE"), kod);
    f4assign_int(F("ROK"), rok);
    f4assign_int(F("OKR"), miesiac);
    f4assign_int(F("CEL"), cel);
    f4assign_int(F("NRK"), wersja);
    FillEntry(file.c_str(), od, do_, directory.c_str(), nip, kod);
    set_pass_inf(0, F("INF"));
    d4append(T());
  }
  d4flush(T());
  d4unlock(T());
  return d4recno(T());
}

int usun_wpis_rejestru_eksportu(long n) {
  if (n < 1 || n > d4reccount(T())) return -1;
  if (go_and_lock(T(), n) != 0) return -1;
  d4delete(T());
  int result = d4write(T(), n) == 0 && d4flush(T()) == 0 ? 0 : -1;
  d4unlock(T());
  return result;
}
