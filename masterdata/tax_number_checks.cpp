#include "masterdata/tax_number_checks.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/document_text.h"
#include "app/prompts.h"
#include "app/validators.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/services.h"
#include "env/session/environment.h"
#include "env/temp_strings.h"
#include "env/text_buffers.h"
#include "interchange/lookup_library.h"
#include "platform/byte_order.h"
#include "tables/wait_notice.h"
#include "ui/browse.h"
#include "ui/definition_lists.h"
#include "ui/get4.h"
#include "ui/keyboard.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/window4.h"

namespace {

constexpr int MSG_BAD_NIP = 20020;
constexpr int MSG_GUS_NOT_FOUND = 20103;
constexpr int MSG_MINISTRY = 20116;
constexpr int MSG_REGISTERED = 20133;
constexpr int MSG_NOT_REGISTERED = 20134;
constexpr int MSG_ACTIVE_LIST = 20181;
constexpr int MSG_PLEASE_WAIT = 50030;

// Offsets of the answer records; a text ends at its NUL or where the next field begins.
constexpr int VAT_STATUS = 0, VAT_END_DATE = 1029, VAT_SUSPENSION_DATE = 1056;
constexpr int VIES_FOUND = 0, VIES_NAME = 4, VIES_ADDRESS = 245;
constexpr int GUS_FOUND = 0, GUS_NAME = 314, GUS_STREET = 2380, GUS_HOUSE = 2496, GUS_FLAT = 2517, GUS_TOWN = 2528,
              GUS_POSTAL_CODE = 2564, GUS_POST_OFFICE = 2612, GUS_COUNTRY = 2664, GUS_PHONE = 3130, GUS_FAX = 3151,
              GUS_EMAIL = 3172, GUS_WWW = 3223;

constexpr int NAME_LINE = 70;       // the register's name in two lines of this width
constexpr int STREET_LINE = 64;
constexpr int TOWN_WIDTH = 35;

const std::string kPesel = Utf8ToMazText("To jest numer PESEL.");
const std::string kNotPlNorEu = Utf8ToMazText("%s - to nie jest NIP PL lub UE !");
const std::string kNoCountries = Utf8ToMazText("Pusta kartoteka krajów Z5KRAJ.DBF");
const std::string kListWait0 = Utf8ToMazText("Szukanie NIP w rejestrze");
const std::string kListWait1 = Utf8ToMazText("  czynnych podatników VAT.  ");
const std::string kActive = Utf8ToMazText("jako podatnik VAT czynny.");
const std::string kExempt = Utf8ToMazText("jako podatnik VAT zwolniony.");
const std::string kEndDate = Utf8ToMazText("Data zakończenia działalności: %s");
const std::string kSuspensionDate = Utf8ToMazText("Data zawieszenia działalności: %s");
const std::string kUnexpected = Utf8ToMazText("Nieoczekiwany wynik szukania NIP %s");
const std::string kViesWait = Utf8ToMazText("Szukanie NIP za pomocą VIES.");
const std::string kViesFound = Utf8ToMazText("VIES znalazł NIP: %s %s.");
const std::string kViesNotFound = Utf8ToMazText("VIES nie znalazł NIP: %s %s !");
const std::string kGusWait = Utf8ToMazText("Szukanie NIP w danych GUS.");
const std::string kGusTitle = Utf8ToMazText("Dane pobrane z GUS");

// A text of an answer record, bounded by its slot, converted from the code
// page the lookup library answers in.
std::string AnswerText(const unsigned char* record, int offset, int end) {
  const char* at = reinterpret_cast<const char*>(record) + offset;
  std::string text(at, strnlen(at, static_cast<size_t>(end - offset)));
  const Environment* env = EnvCurrent();
  if (env && env->toWindows) ConvChars(text.data(), static_cast<int>(text.size()), env->toWindows, CONV_REVERSE);
  return text;
}

std::string TrimRight(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

std::string TrimLeft(std::string text) {
  text.erase(0, text.find_first_not_of(' '));
  return text;
}

// The text cut to 140 characters and broken at blanks into two lines of 70.
void TwoLines(const std::string& text, std::string* first, std::string* second) {
  char one[NAME_LINE], two[NAME_LINE];
  div_str(text.c_str(), static_cast<int>(std::min<size_t>(text.size(), 2 * NAME_LINE)), one, NAME_LINE, two,
          NAME_LINE, nullptr);
  *first = TrimRight(std::string(one, NAME_LINE));
  *second = TrimRight(std::string(two, NAME_LINE));
}

// The wait window while a register is asked; the window current before it.
struct WaitWindow {
  bool shown;
  int previous = -1;
  WaitWindow(bool show, TextRef row0, TextRef row1, TextRef row2) : shown(show) {
    if (shown) previous = ShowWaitLines(row0, row1, row2);
  }
  ~WaitWindow() {
    if (shown) HideWaitNotice(previous);
  }
};

// The status of the Polish list as a result, with its box.
int ShowListStatus(const unsigned char* record, const char* nip, bool silent) {
  int status = static_cast<int32_t>(GetLe32(record + VAT_STATUS));
  std::string registered = PrintfQStr(MSG_REGISTERED, nip);
  std::string notRegistered = PrintfQStr(MSG_NOT_REGISTERED, nip);
  switch (status) {
    case 0:
      if (!silent) MessageWindow(MB_WARNING, " ", notRegistered.c_str(), MSG_ACTIVE_LIST, MSG_MINISTRY, " ");
      return NIP_NOT_FOUND;
    case 1:
      if (!silent) MessageWindow(MB_INFO, " ", registered.c_str(), MSG_ACTIVE_LIST, MSG_MINISTRY, kActive.c_str(), " ");
      return NIP_ACTIVE;
    case 2:
      if (!silent) MessageWindow(MB_WARNING, " ", registered.c_str(), MSG_ACTIVE_LIST, MSG_MINISTRY, kExempt.c_str(), " ");
      return NIP_EXEMPT;
    case 3:
      if (!silent) {
        std::string end = TrimRight(AnswerText(record, VAT_END_DATE, VAT_SUSPENSION_DATE));
        std::string suspended = TrimRight(AnswerText(record, VAT_SUSPENSION_DATE, KWER_VAT_RESULT_SIZE));
        std::string endLine = end.empty() ? " " : PrintfQStr(kEndDate.c_str(), end.c_str());
        std::string suspendedLine = suspended.empty() ? " " : PrintfQStr(kSuspensionDate.c_str(), suspended.c_str());
        MessageWindow(MB_WARNING, notRegistered.c_str(), MSG_ACTIVE_LIST, MSG_MINISTRY, " ", endLine.c_str(),
                      suspendedLine.c_str());
      }
      return NIP_REMOVED;
    default: {
      // -1 and anything the list was not expected to answer
      std::string unexpected = PrintfQStr(kUnexpected.c_str(), nip);
      if (!silent) MessageWindow(MB_ERROR, " ", unexpected.c_str(), MSG_ACTIVE_LIST, MSG_MINISTRY, " ");
      return NIP_LIST_UNEXPECTED;
    }
  }
}

void CopyInto(DbField* field, const std::string& text) {
  if (field) f4assign(field, text.c_str());
}

std::string FieldText(DbField* field) {
  return field ? TrimRight(std::string(f4ptr(field), f4len(field))) : std::string();
}

// The register's data as the targets take them.
struct GusData {
  std::string name1, name2, postalCode, town, street, postOffice, country, phone, fax, www, email;
};

GusData ReadGusData(const unsigned char* record) {
  GusData d;
  TwoLines(AnswerText(record, GUS_NAME, GUS_STREET), &d.name1, &d.name2);
  std::string town = TrimRight(AnswerText(record, GUS_TOWN, GUS_POSTAL_CODE));
  std::string postOffice = TrimRight(AnswerText(record, GUS_POST_OFFICE, GUS_COUNTRY));
  std::string street = TrimRight(AnswerText(record, GUS_STREET, GUS_HOUSE));
  std::string line;
  // A register entry without a post office town is served in its own town.
  if (postOffice.empty() || EqualText(postOffice.c_str(), town.c_str(), 1 | 4)) {
    d.town = town;
    line = street.compare(0, 4, "ul. ") == 0 ? street.substr(4) : street;
  } else {
    d.town = postOffice;
    line = TrimStringsToQStr_(town.c_str(), street.c_str(), nullptr);
  }
  std::string house = AnswerText(record, GUS_HOUSE, GUS_FLAT);
  std::string flat = AnswerText(record, GUS_FLAT, GUS_TOWN);
  line = flat.empty() ? TrimStringsToQStr_(line.c_str(), house.c_str(), nullptr)
                      : TrimStringsToQStr_(line.c_str(), house.c_str(), "lok.", flat.c_str(), nullptr);
  d.street = line.substr(0, STREET_LINE);
  d.town = d.town.substr(0, TOWN_WIDTH);
  d.postOffice = postOffice;
  d.postalCode = TrimRight(AnswerText(record, GUS_POSTAL_CODE, GUS_POST_OFFICE));
  d.country = TrimRight(AnswerText(record, GUS_COUNTRY, GUS_PHONE));
  d.phone = TrimRight(AnswerText(record, GUS_PHONE, GUS_FAX));
  d.fax = TrimRight(AnswerText(record, GUS_FAX, GUS_EMAIL));
  d.email = TrimRight(AnswerText(record, GUS_EMAIL, GUS_WWW));
  d.www = TrimRight(AnswerText(record, GUS_WWW, KWER_BIR1_RESULT_SIZE));
  return d;
}

// A fixed buffer of `width` characters and a NUL for a get.
struct GetBuffer {
  char text[NAME_LINE + 1];
  GetBuffer(const std::string& value, int width) {
    std::memset(text, ' ', sizeof text);
    std::memcpy(text, value.data(), std::min<size_t>(value.size(), static_cast<size_t>(width)));
    text[width] = '\0';
  }
  std::string Value() const { return TrimRight(text); }
};

// The comparison window: the targets' data beside the register's, which the
// operator may correct. 0 after F2 (d holds the corrections), else the key.
int CompareWithGus(GusData* d, const GusTargets* t) {
  int window = DefineWprowadzWindow(6, 2, 17, 76, kGusTitle.c_str(), nullptr, nullptr);
  if (window < 0) return KEY_ESC;
  int previous = w4select(-1);
  w4activate(window);
  w4select(window);
  w4(1, 1, "nazwa KORBEL:");
  w4(2, 3, FieldText(t->name1).c_str());
  w4(3, 3, FieldText(t->name2).c_str());
  w4(4, 1, "nazwa GUS:");
  w4(7, 1, "adres KORBEL:");
  std::string ours = TrimStringsToQStr_(FieldText(t->postalCode).c_str(), FieldText(t->town).c_str(), nullptr);
  w4(8, 3, ours.c_str());
  w4(9, 3, FieldText(t->street).c_str());
  w4(10, 1, "adres GUS:");
  w4centre(14, "[F2]-przepisz");

  GetBuffer name1(d->name1, NAME_LINE), name2(d->name2, NAME_LINE), postal(d->postalCode, 6),
      town(d->town, TOWN_WIDTH), street(d->street, STREET_LINE);
  static EditCtrl edits[6];
  ResetEditCtrlDefinition(edits, sizeof edits);
  DefineEditCtrl(5, 3, name1.text, EDIT_TEXT | EDIT_DIRECT);
  DefineEditCtrl(6, 3, name2.text, EDIT_TEXT | EDIT_DIRECT);
  DefineEditCtrl(11, 3, postal.text, EDIT_TEXT | EDIT_DIRECT);
  DefineEditCtrl(11, 10, town.text, EDIT_TEXT | EDIT_DIRECT);
  DefineEditCtrl(12, 3, street.text, EDIT_TEXT | EDIT_DIRECT | DEF_LAST);
  // the gets stay while the operator moves through them; the window frees them
  int key = build_get_struct(BGS_ONCE, edits, -1);
  while (key != KEY_F2 && key != KEY_ESC) key = g4read();
  w4deactivate(window);
  w4close(window);
  w4select(previous);
  if (key != KEY_F2) return key;
  d->name1 = name1.Value();
  d->name2 = name2.Value();
  d->postalCode = postal.Value();
  d->town = town.Value();
  d->street = street.Value();
  return 0;
}

void CopyGusData(const GusData& d, Get4* get, char* editBuffer, const GusTargets* t) {
  CopyInto(t->name1, d.name1);
  CopyInto(t->name2, d.name2);
  CopyInto(t->town, d.town);
  CopyInto(t->street, d.street);
  CopyInto(t->postalCode, d.postalCode);
  CopyInto(t->postOffice, d.postOffice);
  CopyInto(t->country, d.country);
  CopyInto(t->phone, d.phone);
  CopyInto(t->fax, d.fax);
  CopyInto(t->www, d.www);
  CopyInto(t->email, d.email);
  if (get && editBuffer) {
    size_t width = static_cast<size_t>(std::max(get->dataWidth, 0));
    std::memset(editBuffer, ' ', width);
    std::memcpy(editBuffer, d.name1.data(), std::min(d.name1.size(), width));
  }
}

}  // namespace

int sprawdz_nip_kontrahenta(const char* nip, int silent) {
  if (ValidPesel(nip, 0)) {
    if (!silent) Informacja(kPesel.c_str());
    return NIP_IS_PESEL;
  }
  int kind = SprawdzNip(nip);
  if (kind != 0 && kind != 1) {
    if (!silent) {
      if (kind == 2 || kind == 3) Uwaga(PrintfQStr(kNotPlNorEu.c_str(), nip));
      else if (kind == -2 || kind == -3 || kind == -4) Uwaga(MSG_BAD_NIP);
      else if (kind == -5) Uwaga(kNoCountries.c_str());
    }
    return NIP_UNUSABLE;
  }
  std::string number = NipQStr(nip);
  std::string country = "PL";
  if (number.empty() || number[0] < '0' || number[0] > '9') {
    country = number.substr(0, 2);
    number.erase(0, 2);
  }
  return kind == 1 ? sprawdz_nip_vies(country.c_str(), number.c_str(), silent)
                   : sprawdz_nip_vat_czynny(number.c_str(), silent);
}

int sprawdz_nip_vat_czynny(const char* nip, int silent) {
  WaitWindow wait(!silent, kListWait0.c_str(), kListWait1.c_str(), MSG_PLEASE_WAIT);
  unsigned char record[KWER_VAT_RESULT_SIZE];
  if (!Sprawdz_VAT_Czynny(nip, record)) return NIP_LIST_UNREACHABLE;
  return ShowListStatus(record, nip, silent != 0);
}

int sprawdz_nip_vies(const char* countryCode, const char* number, int silent) {
  WaitWindow wait(!silent, TextRef(), kViesWait.c_str(), MSG_PLEASE_WAIT);
  unsigned char record[KWER_VIES_RESULT_SIZE];
  if (!Szukaj_VIES(countryCode, number, record)) return NIP_VIES_UNREACHABLE;
  if (GetLe32(record + VIES_FOUND) == 0) {
    if (!silent) MessageWindow(MB_WARNING, PrintfQStr(kViesNotFound.c_str(), countryCode, number));
    return NIP_NOT_FOUND;
  }
  std::string name1, name2, address1, address2;
  TwoLines(AnswerText(record, VIES_NAME, VIES_ADDRESS), &name1, &name2);
  TwoLines(AnswerText(record, VIES_ADDRESS, KWER_VIES_RESULT_SIZE), &address1, &address2);
  if (!silent) {
    std::string found = PrintfQStr(kViesFound.c_str(), countryCode, number);
    std::string name = PrintfQStr("Nazwa: %s ", name1.c_str());
    std::string address = PrintfQStr("Adres: %s ", address1.c_str());
    MessageWindow(MB_INFO, found.c_str(), name.c_str(), TrimLeft(name2).c_str(), address.c_str(),
                  TrimLeft(address2).c_str(), " ");
  }
  return NIP_VIES_FOUND;
}

int szukaj_nip_gus(char* nip, Get4* get, char* editBuffer, const GusTargets* targets) {
  int kind = SprawdzNip(nip);
  if (kind != 0) {
    if (kind < -1) Uwaga(MSG_BAD_NIP);
    return -1;
  }
  if (std::strncmp(nip, "PL", 2) == 0) {
    size_t skip = nip[2] == ' ' ? 3 : 2;
    std::memmove(nip, nip + skip, std::strlen(nip + skip) + 1);
  }
  int result = 0;
  {
    WaitWindow wait(true, kGusWait.c_str(), TextRef(), MSG_PLEASE_WAIT);
    unsigned char record[KWER_BIR1_RESULT_SIZE];
    if (Szukaj_BIR1_Nip(nip, record)) {
      if (GetLe32(record + GUS_FOUND) == 0) {
        MessageWindow(MB_INFO, PrintfQStr(MSG_GUS_NOT_FOUND, nip));
        result = -1;
      } else {
        GusData data = ReadGusData(record);
        if (CurrentBrowse && CurrentBrowse->modify_mode) result = CompareWithGus(&data, targets);
        if (result == 0) CopyGusData(data, get, editBuffer, targets);
      }
    }
  }
  OdswiezGety();
  return result;
}
