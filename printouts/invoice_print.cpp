#include "printouts/invoice_print.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <cstring>
#include <string>
#include <vector>

#include "app/document_print.h"
#include "app/document_text.h"
#include "app/option_sets.h"
#include "app/validators.h"
#include "app/vat_summary.h"
#include "db/db_engine.h"
#include "db/db_index.h"
#include "db/db_lock.h"
#include "db/dbf_records.h"
#include "db/dbf_table.h"
#include "env/code_pages.h"
#include "env/dates.h"
#include "env/form_text.h"
#include "env/messages.h"
#include "env/numbers.h"
#include "env/session/environment.h"
#include "env/session/field_text.h"
#include "env/text_buffers.h"
#include "jpk/bank_accounts.h"
#include "print/char_output.h"
#include "print/printer.h"
#include "printouts/invoice_job.h"
#include "sales/register_actions.h"
#include "tables/catalogue.h"
#include "tables/firm_tables.h"
#include "tables/sales_tables.h"
#include "ui/menu.h"
#include "ui/message_box.h"

zadanie_wydruku_faktury invoiceJob;

namespace {

constexpr int FORM_POLISH = 56, FORM_POLISH_WITHOUT_VAT = 58, FORM_ENGLISH = 55, FORM_ENGLISH_WITHOUT_VAT = 57;
constexpr int POLISH_ROWS = 57, ENGLISH_ROWS = 50;
constexpr int INVOICE_FLAGS = 0x89C0;
constexpr int FIRST_ITEM_ROW = INVOICE_ITEM_ROW, LAST_ITEM_ROW = 33;
constexpr int MSG_SIMPLIFIED = 51, MSG_CASH_METHOD = 52, MSG_COLLECTIVE = 53, MSG_FINAL = 54, MSG_FINAL_EN = 55;
constexpr int MSG_REVERSE = 61, MSG_REVERSE_EN = 62, MSG_INTERNAL = 258, MSG_NO_LINES = 50007;
constexpr int FIRST_YEAR_OF_SIMPLIFIED = 2013, FIRST_YEAR_OF_GROUPED = 2024;
// Header REK tag of the second headers set, and the lines tag of the current one.
constexpr int HEADERS_BY_REK = 3;


bool Blank(DbField* field) { return Trimmed(field).empty(); }
DbField* Recipient(const char* name) { return d4field(Z5SPRO.table, name); }
char Mark(DbField* field) { return static_cast<char>(f4char(field)); }
std::string Date(DbField* field) { return FldFullDateQStr(field); }

bool Polish() { return !J().english; }




// A country is printed unless blank or its first five characters are those of "POLSKA".
bool ForeignCountry(DbField* country) {
  std::string k = Trimmed(country);
  return !k.empty() && EqualText(k.substr(0, 5).c_str(), "POLSK", 0) == 0;
}

// NIP or PESEL of a party at row; pattern labels as the buyer's.
void PartyNumber(int row, DbField* nip) {
  if (JestPesel(nip)) {
    PutPattern(row, 103, "PESEL:");
    PutValue(row, 110, Full(nip));
  } else if (Polish()) {
    PutPattern(row, 105, "NIP:");
    PutValue(row, 110, Full(nip));
  } else {
    PutPattern(row, 102, "VAT No:");
    PutValue(row, 110, Full(nip));
  }
}

// Name, second name, address and a foreign country of a party from row on.
void PartyLines(int& row, DbField* (*field)(const char*)) {
  PutValue(row++, 15, Trimmed(field("NA1")));
  if (!Blank(field("NA2"))) PutValue(row++, 15, Trimmed(field("NA2")));
  std::string address = Trimmed(field("KOP"));
  for (const char* name : {"MIA", "ULI"}) {
    std::string part = Trimmed(field(name));
    if (!part.empty()) address += (address.empty() ? "" : " ") + part;
  }
  PutValue(row++, 15, address);
  if (ForeignCountry(field("KRA"))) PutValue(row++, 15, Trimmed(field("KRA")));
}

// The sale-date row of the Polish head.
void SaleDate(int row) {
  bool monthOnly = salesOptions.printSaleMonthOnly == 'T';
  bool old = WorkingYear() < FIRST_YEAR_OF_SIMPLIFIED;
  std::string label;
  if (old) {
    label = Sys(monthOnly ? "miesiąc sprzedaży:" : "data sprzedaży:");
  } else {
    const char* option = monthOnly ? salesOptions.saleMonthLabel : salesOptions.saleDateLabel;
    std::string text(option);
    text.erase(text.find_last_not_of(' ') + 1);
    if (text.empty()) text = MessageText(monthOnly ? 20147 : 20146);
    label = text + ":";
  }
  PutPattern(row, 3, label);
  std::string value = monthOnly ? std::string(MiesiacRokQStr(InvoiceHeader("DAS"))) : Date(InvoiceHeader("DAS"));
  PutValue(row, static_cast<int>(label.size()) + 4, value);
}

int LinkedCount(long rec) {
  if (szukaj_dokumentow_powiazanych(rec) != 0) return 0;
  DbTable* second = Z5SPRZ_2.table;
  int n = 1;
  if (d4skip(second, 1) == 0 && !d4eof(second) && f4long(d4field(second, "REK")) == rec) n++;
  return n;
}

// The title line's number text with its suffixes.
std::string TitleNumber(int rejestr) {
  zadanie_wydruku_faktury& j = J();
  std::string suffix;
  if (j.final)
    suffix = MessageText(j.english ? MSG_FINAL_EN : MSG_FINAL);
  else if (j.basedOnProForma && LinkedCount(f4long(InvoiceHeader("REC"))) >= 2)
    suffix = MessageText(j.english ? MSG_FINAL_EN : MSG_COLLECTIVE);
  std::string s = DocumentNumber() + " " + suffix;
  char sdr = Mark(InvoiceHeader("SDR"));
  int akt = f4int(InvoiceHeader("AKT"));
  if (j.final && (akt == 3 || sdr == '3')) s += Sys(" do paragonów");
  int kind = j.kind;
  if ((rejestr == 2 && (kind == 9 || kind == 10)) ||
      (rejestr == 1 && kind == 9 && f4int(InvoiceHeader("TYM")) != 6 && Polish())) {
    std::string nuk = Trimmed(InvoiceHeader("NUK"));
    s += " do paragonu " + std::string(nuk.empty() ? "" : "nr ") + nuk;
  }
  return s;
}

// The reference row: order or PRO FORMA, goods release, page number.
void ReferenceRow(int row) {
  zadanie_wydruku_faktury& j = J();
  int x = 7;
  bool proForma = f4int(InvoiceHeader("AKT")) == 0 && f4int(InvoiceHeader("TYM")) == 6;
  DbField* number = InvoiceHeader(proForma ? "NUK" : "NRZ");
  DbField* date = InvoiceHeader(proForma ? "DAK" : "DZM");
  std::string label = j.english ? (proForma ? "Invoice PRO FORMA:" : "Your order:")
                                : Sys(proForma ? "do fak. PRO FORMA nr:" : "nr zamówienia:");
  std::string dateLabel = j.english ? (proForma ? "Date of PRO FORMA:" : "Date of order:") : "z";
  if (!Blank(number)) {
    PutPattern(row, x, label);
    x += static_cast<int>(label.size()) + 1;
    std::string n = Trimmed(number);
    PutValue(row, x, n);
    x += static_cast<int>(n.size()) + 1;
    if (!Blank(date)) {
      PutPattern(row, x, dateLabel);
      x += static_cast<int>(dateLabel.size()) + 1;
      PutValue(row, x, Date(date));
    }
    x = 68;
  }
  if (!Blank(InvoiceHeader("NWZ"))) {
    PutPattern(row, x, "WZ nr");
    x += 6;
    char text[32];
    std::string nwz = Trimmed(InvoiceHeader("NWZ")).substr(0, 5);
    nwz.erase(0, std::min(nwz.find_first_not_of(' '), nwz.size()));
    std::snprintf(text, sizeof text, "%s/%02i", nwz.c_str(), std::atoi(Full(InvoiceHeader("DWZ")).substr(2, 2).c_str()));
    PutValue(row, x, text);
    x += static_cast<int>(std::strlen(text)) + 1;
    PutPattern(row, x, "z");
    PutValue(row, x + 2, Date(InvoiceHeader("DWZ")));
  }
  NumerStronyQStr(&j.value[static_cast<size_t>(row * J().width + J().pageColumn)], j.page++, j.english);
}

// Rows an item will take.
int EstimatedRows() {
  int n = LiczbaLiniiPozycji(Line("NA1"), Line("NA2"), Line("NA3"), Line("NA4"), Line("NA5"), Line("NA6"));
  if ((Polish() && salesOptions.printGoodsCode == 'T' && !Blank(Line("KOT"))) || !Blank(Line("KWU"))) n++;
  if (n == 1 && f4double(Line("RAS")) != 0) n = 2;
  return n;
}

bool ReverseCharge() {
  int code = f4int(Line("VAT"));
  if (WorkingYear() >= FIRST_YEAR_OF_GROUPED) return J().delivery == 5 && code == 7;
  char re3 = Mark(Line("RE3"));
  return re3 == 'T' || re3 == '8' || code == 11;
}

// The carried sums of the items so far at row 35.
void CarriedSums(const char* polish, const char* english) {
  zadanie_wydruku_faktury& j = J();
  double p = SumaWierszaVat(j.sums.net), q = SumaWierszaVat(j.sums.vat), r = SumaWierszaVat(j.sums.gross);
  ClearRows(INVOICE_TOTALS_ROW, INVOICE_TOTALS_ROW + 1);
  PutTextEnding(j.pattern, INVOICE_TOTALS_ROW, 79, j.english ? english : polish);
  PutAmount(INVOICE_TOTALS_ROW, (j.english ? 85 : 83) + j.valueShift, j.grossMode ? r : p);
  if (!j.withoutVat) {
    PutAmount(INVOICE_TOTALS_ROW, j.english ? 99 : 102, q);
    PutAmount(INVOICE_TOTALS_ROW, 117, j.grossMode ? p : r);
  }
}

int PageBreak(int rejestr) {
  zadanie_wydruku_faktury& j = J();
  CarriedSums("Do przeniesienia", "To next page");
  if (PrintRows(INVOICE_RULE_ROW, INVOICE_TOTALS_ROW + 1) != 0) return -1;
  if (drukuj_form_feed() != 0) return -1;
  j.linesLeft = PageLines();
  if (drukuj_top_margin() != 0 || naglowek_kolejnej_strony(rejestr) != 0) return -1;
  CarriedSums("Z przeniesienia", "From previous page");
  if (PrintRows(INVOICE_TOTALS_ROW, INVOICE_TOTALS_ROW + 1) != 0) return -1;
  if (PrintRows(INVOICE_RULE_ROW, INVOICE_RULE_ROW + 1) != 0) return -1;
  j.linesLeft -= 2;
  return 0;
}


// The line's amounts net, VAT, gross; advance and final invoices add their
// share to the second summary.
void LineAmounts(double l, double& o, double& m, double& t) {
  zadanie_wydruku_faktury& j = J();
  if (!j.advance && !j.final) {
    o = ROUND(f4double(Line("WNE")) * l, 2);
    m = ROUND(f4double(Line("WAV")) * l, 2);
    t = ROUND(f4double(Line("WAB")) * l, 2);
    return;
  }
  double v = f4double(Line("VAS")) * 0.01;
  double wab = f4double(Line("WAB"));
  double quantity = f4double(Line("ILO"));
  if (j.grossMode || wab < 0) {
    t = wab < 0 ? ROUND(wab * l, 2) : ROUND(f4double(Line("CBR")) * l * quantity, 2);
    m = ROUND(t * v / (1 + v), 2);
    o = t - m;
  } else {
    o = ROUND(f4double(Line("CNR")) * l * quantity, 2);
    m = ROUND(o * v, 2);
    t = o + m;
  }
  double rate = AmountsRate(InvoiceHeader("KVA"));
  double a = ROUND(f4double(InvoiceHeader("KZA")) * rate, 2);
  double b = ROUND(f4double(InvoiceHeader("BRU")) * rate, 2);
  if (b == 0) return;
  double f = j.advance ? a / b : (b - a) / b;
  AddToSummary(&j.share, f4int(Line("VAT")), o * f, m * f, t * f, f4double(Line("VAS")));
}

int Item(int number) {
  zadanie_wydruku_faktury& j = J();
  double l = AmountsRate(Line("KVA"));
  double o, m, t;
  LineAmounts(l, o, m, t);
  AddToSummary(&j.sums, f4int(Line("VAT")), o, m, t, f4double(Line("VAS")));
  ClearRows(FIRST_ITEM_ROW, LAST_ITEM_ROW + 1);
  const int top = FIRST_ITEM_ROW;
  int w = ItemNameRows(number);
  bool englishVat = j.english && !j.withoutVat;
  PutValue(top, (englishVat ? 49 : 48) + j.unitShift, Full(Line("JED")));
  PutQuantity(top, Line("ILO"));
  PutPrice(top, Line(j.grossMode ? "CBB" : "CNB"), l);
  int d = 0;
  double ras = f4double(Line("RAS"));
  if (ras != 0) {
    const char* label = j.english ? "with rebate      %" : ras >= 0 ? "z rabatem        %" : "z narzutem       %";
    PutPattern(top + 1, 49 + j.unitShift, label);
    PutValue(top + 1, 61 + j.unitShift, Formatted(std::fabs(ras), 4, 1 | 0x20));
    PutPrice(top + 1, Line(j.grossMode ? "CBR" : "CNR"), l);
    d = 1;
  }
  int row = top + d;
  PutAmount(row, 83 + j.valueShift, j.grossMode ? t : o);
  if (!j.withoutVat) {
    if (!ReverseCharge()) {
      if (Polish()) PutValue(row, 98, LineRateText(Line("VAS"), Line("VAT")));
      PutAmount(row, j.english ? 99 : 102, m);
    } else if (j.english) {
      PutValue(row, 99, MessageText(MSG_REVERSE_EN));
    } else {
      PutValue(row, 97, MessageText(MSG_REVERSE));
    }
    PutAmount(row, 117, j.grossMode ? o : t);
  }
  int k = std::max(w, d + 1);
  if (PrintRows(top, top + k) != 0) return -1;
  j.linesLeft -= k;
  return 0;
}

// Print code and job title of the kind; sets the advance and AKT flags.
std::string Settings(int kind, int choice, int rejestr, std::string* title) {
  zadanie_wydruku_faktury& j = J();
  const char* b = j.grossMode ? "B" : "N";
  int akt = f4int(InvoiceHeader("AKT"));
  auto aktFlags = [&] {
    if (rejestr != 1) return;
    if (akt == 2) j.basedOnProForma = 1;
    if (akt == 1 || akt == 3) j.final = 1;
  };
  bool from2024 = WorkingYear() >= FIRST_YEAR_OF_GROUPED;
  if (kind == 2 && (choice == 4 || choice == 5)) {
    *title = "Rachunek bez VAT";
    j.withoutVat = 1;
    j.numberShift = 3, j.nameShift = 5, j.unitShift = 23, j.quantityShift = 28, j.priceShift = 30,
    j.valueShift = 33;
    return "RZW";
  }
  if (kind == 2) {
    *title = "Rachunek";
    return std::string("RU") + b;
  }
  if (kind == 6) {
    *title = "Faktura PRO FORMA";
    return std::string("FP") + b;
  }
  if (kind == 7) {
    *title = Sys("Faktura mały podatnik");
    aktFlags();
    return std::string("FM") + b;
  }
  if ((kind == 9 && !from2024) || (from2024 && (kind == 10 || kind == 11))) {
    if (from2024 || rejestr == 2) j.advance = 1;
    *title = rejestr == 1 ? "Faktura do paragonu" : "Faktura zaliczkowa";
    return std::string(rejestr == 1 ? "PA" : "FZ") + b;
  }
  *title = "Faktura";
  aktFlags();
  return std::string("FV") + b;
}

int FormOf() {
  zadanie_wydruku_faktury& j = J();
  if (j.english) return j.withoutVat ? FORM_ENGLISH_WITHOUT_VAT : FORM_ENGLISH;
  return j.withoutVat ? FORM_POLISH_WITHOUT_VAT : FORM_POLISH;
}

// The form resource laid out in rows of the page width.
}  // namespace

void RunCopies(long rec, int form, int (*pass)(long rec, int firstPass, int rejestr), int rejestr) {
  zadanie_wydruku_faktury& j = J();
  j.capacity = j.rows + INVOICE_SPARE_ROWS;
  int firstPass = 1;
  int n;
  do {
    j.page = 1;
    j.pattern = FormPattern(form, j.rows);
    j.pattern.resize(static_cast<size_t>(j.capacity * J().width), ' ');
    j.value.assign(static_cast<size_t>(j.capacity * J().width), ' ');
    if (pass(rec, firstPass, rejestr) != 0 || drukuj_form_feed() != 0) break;
    firstPass = 0;
    Environment* env = EnvCurrent();
    n = env ? env->copiesLeft : 0;
    if (env) env->copiesLeft--;
  } while (n > 0);
  j.pattern.clear();
  j.value.clear();
}

int CarriedOnShortRow(const std::function<void(const char* label)>& sums, const char* carried, const char* brought,
                      int (*head)()) {
  zadanie_wydruku_faktury& j = J();
  if (PrintRows(INVOICE_RULE_ROW, INVOICE_RULE_ROW + 1) != 0) return -1;
  sums(carried);
  if (PrintRows(INVOICE_SHORT_ROW, INVOICE_SHORT_ROW + 1) != 0 || drukuj_form_feed() != 0) return -1;
  j.linesLeft = PageLines();
  if (drukuj_top_margin() != 0 || head() != 0) return -1;
  sums(brought);
  if (PrintRows(INVOICE_SHORT_ROW, INVOICE_SHORT_ROW + 1) != 0) return -1;
  if (PrintRows(INVOICE_RULE_ROW, INVOICE_RULE_ROW + 1) != 0) return -1;
  j.linesLeft -= 2;
  return 0;
}

std::string FormPattern(int form, int rows) {
  static int current;
  current = form;
  std::string page(static_cast<size_t>(rows * J().width), ' ');
  std::vector<std::string> lines = ResourceLines([]() -> int16_t { return static_cast<int16_t>(current); });
  for (size_t r = 0; r < lines.size() && static_cast<int>(r) < rows; r++)
    lines[r].copy(&page[r * J().width], std::min<size_t>(lines[r].size(), J().width));
  return page;
}

namespace {

int AskPriceForm(int option, int bill) {
  static const std::string invoice[] = {"                 ", "1. OD CEN NETTO  ", "2. OD CEN BRUTTO "};
  static const std::string bills[] = {"                  ", "1. OD CEN NETTO   ", "2. OD CEN BRUTTO  ",
                                      "3. PARAGON        ", "4. NETTO bez VAT  ", "5. BRUTTO bez VAT "};
  int asks = bill ? 6 : 3;
  if (option < asks) return option;
  const std::string* texts = bill ? bills : invoice;
  int count = bill ? 5 : 2;
  std::vector<const char*> items;
  for (int i = 0; i <= count; i++) items.push_back(texts[i].c_str());
  items.push_back(nullptr);
  return get_menu_function(" WYBIERZ ", items.data(), 1, -1, 0);
}

// The simplified invoice is offered up to the limits of the options.
bool SimplifiedAllowed(int kind) {
  if (kind != 1 && kind != 7) return false;
  if (WorkingYear() < FIRST_YEAR_OF_SIMPLIFIED) return false;
  int delivery = J().delivery;
  if (delivery != 1 && delivery != 3) return false;
  bool euro = Trimmed(InvoiceHeader("WAL")) == "EUR";
  double gross = f4double(InvoiceHeader("BRU"));
  if (!euro) gross = ROUND(gross * f4double(InvoiceHeader("KVA")), 2);
  double limit = euro ? salesOptions.simplifiedLimitEur : salesOptions.simplifiedLimitPln;
  if (gross > limit) return false;
  if (salesOptions.list107 == 1) return true;
  return salesOptions.list107 == 3 && Pytanie(MSG_SIMPLIFIED) != 27;
}


}  // namespace

std::string Trimmed(DbField* field) {
  std::string s(f4ptr(field), f4len(field));
  s.erase(s.find_last_not_of(' ') + 1);
  s.erase(0, std::min(s.find_first_not_of(' '), s.size()));
  return s;
}

std::string Formatted(double number, int width, int flags) {
  std::string text(static_cast<size_t>(width + width / 3 + 2), ' ');
  int n = MemPrintDoubleFmt(text.data(), number, width, flags);
  text.resize(static_cast<size_t>(std::max(n, 0)));
  return text;
}

std::string DocumentNumber() {
  if (Mark(InvoiceHeader("RE4")) == 'N') return Trimmed(InvoiceHeader("OSM"));
  return NrDokumentuFldQStr(InvoiceHeader("PRE"), InvoiceHeader("NRV"), InvoiceHeader("POS"));
}

void AddToSummary(VatSummary* summary, int code, double net, double vat, double gross, double rate) {
  // Every line counts: the zero-rate export code goes to the zero-rate row
  // and a line without a code to the basic one.
  if (code == 5) code = 3;
  if (code == 0) code = 1;
  DodajDoPodsumowaniaVat(summary, code, net, vat, gross, rate);
}

int IssueRows() {
  std::string place(salesOptions.issuePlace);
  place.erase(place.find_last_not_of(' ') + 1);
  std::string issued = (place.empty() ? "" : place + " ") + Date(InvoiceHeader("DAW"));
  int row = 0;
  if (Polish()) {
    PutPattern(row, 3, "miejsce i data wystawienia:");
    PutValue(row, 31, issued);
  } else {
    PutValue(row, 5, issued);
  }
  row++;
  if (Polish()) SaleDate(row++);
  return row + 1;
}

void PutTitle(int row, const char* title, const std::string& number) {
  zadanie_wydruku_faktury& j = J();
  std::string line(J().width, ' ');
  DuplikatQStr(line.data(), J().width, title, number.c_str());
  for (int c = 0; c < J().width; c++)
    if (line[static_cast<size_t>(c)] != ' ') j.value[static_cast<size_t>(row * J().width + c)] = line[static_cast<size_t>(c)];
}

int SellerRows(int row, SellerLayout layout) {
  bool correction = layout != SELLER_INVOICE;
  zadanie_wydruku_faktury& j = J();
  bool polish = Polish();
  PutPattern(row, polish ? 3 : 7, polish ? "SPRZEDAWCA:" : "VENDOR:");
  DbField* nip = Firm("NIP");
  if (Blank(nip) || JestPesel(nip)) {
    PutPattern(row, 103, "PESEL:");
    PutValue(row, 110, Blank(nip) ? Full(Firm("NRPF")) : Full(nip));
  } else {
    PutPattern(row, polish ? 105 : 102, polish ? "NIP:" : "VAT No:");
    int d = j.delivery;
    bool eu = layout == SELLER_INVOICE     ? d == 2 || d == 5 || d == 7 || d == 9
              : layout == SELLER_CORRECTION ? d == 2
                                            : false;
    PutValue(row, 110, (eu ? "PL " : "") + Full(nip));
  }
  PutValue(row++, 15, Trimmed(Firm("NA1")));
  if (!Blank(Firm("NA2")) || !Blank(Firm("NUS"))) {
    if (!Blank(Firm("NA2"))) PutValue(row, 15, Trimmed(Firm("NA2")));
    if (!Blank(Firm("NUS"))) {
      PutText(layout == SELLER_CORRECTION ? j.pattern : j.value, row, 105, "BDO:");
      PutValue(row, 110, Trimmed(Firm("NUS")));
    }
    row++;
  }
  PutValue(row++, 15, AdresFldsQStr(Firm("KOD"), Firm("POC"), Firm("MIA"), Firm("ULI"), Firm("NRD"), Firm("NRM")));
  if (ForeignCountry(Firm("KRA"))) PutValue(row++, 15, Trimmed(Firm("KRA")));
  int bank = f4int(InvoiceHeader("TYB"));
  PutPattern(row, 9, correction ? "bank" : "bank:");
  PutValue(row, correction ? 14 : 15, bank_firmy(bank, Firm("BAN1")));
  std::string accountLabel = polish ? "nr konta:" : "Account no:";
  PutPattern(row, polish ? 47 : 45, accountLabel);
  PutValue(row, 48 + static_cast<int>(accountLabel.size()), konto_bankowe_firmy(bank, Firm("NRR1")));
  if (!Blank(Firm("REG"))) {
    PutPattern(row, 103, "REGON:");
    PutValue(row, 110, Trimmed(Firm("REG")));
  }
  row++;
  PutPattern(row, 9, "tel.:");
  PutValue(row, 15, Trimmed(Firm("TEL")));
  PutPattern(row, 73, "fax:");
  PutValue(row, 78, Trimmed(Firm("FAX")));
  row++;
  PutPattern(row, 10, "www:");
  PutValue(row, 15, Trimmed(Firm("WWW")));
  PutPattern(row, 70, "e-mail:");
  PutValue(row, 78, Trimmed(Firm("EMA")));
  return row + 2;
}

int PartyRows(int row, int rejestr) {
  bool polish = Polish();
  PutPattern(row, polish ? 6 : 4, polish ? "NABYWCA:" : "PURCHASER:");
  PartyNumber(row, InvoiceHeader("NIP"));
  PartyLines(row, InvoiceHeader);
  if (Z5SPRO.table && szukaj_odbiorcy(rejestr, f4long(InvoiceHeader("REC"))) == 0 && !Blank(Recipient("NA1"))) {
    row++;
    PutPattern(row, polish ? 5 : 4, polish ? "ODBIORCA:" : "RECIPIENT:");
    if (!Blank(Recipient("NIP"))) PartyNumber(row, Recipient("NIP"));
    PartyLines(row, Recipient);
  }
  return row;
}

int TableHead(int symbolCol) {
  zadanie_wydruku_faktury& j = J();
  bool polish = Polish();
  if (polish && salesOptions.printClassification == 'T') {
    std::string label(salesOptions.classificationLabel);
    PutPattern(25, symbolCol, "symbol " + label);
  }
  if (!j.withoutVat) {
    const char* with = polish ? "z podatkiem" : "incl.";
    const char* without = polish ? "bez podatku" : "excl.";
    PutPattern(25, polish ? 70 : 71, j.grossMode ? with : without);
    PutPattern(25, polish ? 84 : 86, j.grossMode ? with : without);
    PutPattern(25, 117, j.grossMode ? without : with);
  }
  if (PrintRows(TABLE_HEAD_ROW, TABLE_HEAD_END) != 0) return -1;
  j.linesLeft -= 4;
  return 0;
}

int ItemNameRows(int number) {
  zadanie_wydruku_faktury& j = J();
  const int top = INVOICE_ITEM_ROW;
  char text[16];
  PutValue(top, 3 + j.numberShift, c4ltoa(number, text, 3) ? std::string(text, 3) : "");
  int w = 0;
  for (const char* name : {"NA1", "NA2", "NA3", "NA4", "NA5", "NA6"}) {
    if (w > 0 && Blank(Line(name))) continue;
    PutValue(top + w++, 7 + j.nameShift, Trimmed(Line(name)));
  }
  bool code = false;
  if (salesOptions.printGoodsCode == 'T' && !Blank(Line("KOT"))) {
    PutValue(top + w, 7 + j.nameShift, std::string(j.english ? "code: " : "kod: ") + Trimmed(Line("KOT")));
    code = true;
  }
  if (!Blank(Line("KWU")) && salesOptions.printClassification == 'T') {
    PutValue(top + w, j.withoutVat ? 50 : 33, Full(Line("KWU")));
    code = true;
  }
  return code ? w + 1 : w;
}

std::string LineRateText(DbField* rate, DbField* code) {
  if (static_cast<char>(f4char(Line("STM"))) == '4') return Formatted(f4double(rate), 4, 1 | 0x20);
  char text[16] = {};
  StawkaVatTekst(text, rate, f4int(code));
  return std::string(text, 4);
}

void PutPrice(int row, DbField* price, double rate) {
  PutValue(row, 70 + J().priceShift, Formatted(ROUND(f4double(price) * rate, 4), 12, PRICE_FLAGS));
}
void PutQuantity(int row, DbField* quantity) {
  bool englishVat = J().english && !J().withoutVat;
  PutValue(row, (englishVat ? 57 : 55) + J().quantityShift, Formatted(f4double(quantity), 13, QUANTITY_FLAGS));
}


DbField* InvoiceHeader(const char* name) { return d4field(Z5SPRZ.table, name); }
DbField* Line(const char* name) { return d4field(Z5SPRE.table, name); }
DbField* H(const char* name) { return InvoiceHeader(name); }
DbField* Firm(const char* name) { return d4field(Z5PAWL.table, name); }
zadanie_wydruku_faktury& J() { return invoiceJob; }
std::string Sys(const char* utf8) { return Utf8ToMazText(utf8); }
std::string Full(DbField* field) { return std::string(f4ptr(field), f4len(field)); }
std::string OptionText(const char* text) {
  std::string s(text);
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}
void PutPattern(int row, int col, const std::string& text) { PutText(J().pattern, row, col, text); }
void PutValue(int row, int col, const std::string& text) { PutText(J().value, row, col, text); }

void PutText(std::string& page, int row, int col, const std::string& text) {
  if (row < 0 || col < 0 || col >= J().width) return;
  if (static_cast<size_t>((row + 1) * J().width) > page.size()) return;
  size_t n = std::min<size_t>(text.size(), static_cast<size_t>(J().width - col));
  text.copy(&page[static_cast<size_t>(row * J().width + col)], n);
}

void PutTextEnding(std::string& page, int row, int end, const std::string& text) {
  PutText(page, row, end + 1 - static_cast<int>(text.size()), text);
}

void PutAmount(int row, int col, double amount) { PutValue(row, col, Formatted(amount, 11, 2 | 0x20)); }

void ClearRows(int first, int end, int fromCol) {
  for (int r = first; r < end && r < J().capacity; r++)
    for (std::string* page : {&J().pattern, &J().value})
      std::fill(page->begin() + r * J().width + fromCol, page->begin() + (r + 1) * J().width, ' ');
}

int PrintRows(int first, int end) {
  return print_lines(J().pattern.data(), J().value.data(), J().width, first, std::min(end, J().capacity), 0, -1);
}

int PageLines() { return Printer.lines - Printer.topMargin; }

std::string TitleAndNumber() {
  const char* title = J().shortTitle ? J().shortTitle : tytul_dokumentu(J().kind, J().english, J().register_);
  return std::string(title) + " " + DocumentNumber();
}

std::string CurrencyOfAmounts() { return Printer.amounts == 'P' ? "PLN" : Trimmed(InvoiceHeader("WAL")); }

double AmountsRate(DbField* rate) { return Printer.amounts == 'P' ? FldKurs(rate) : 1; }

std::string MessageText(int number) {
  const char* text = EnvMessageText(number);
  return text ? text : "";
}

const char* tytul_dokumentu(int kind, int english, int rejestr) {
  if (english) return kind == 6 ? "INVOICE PRO FORMA No" : "INVOICE No";
  static std::string kept;
  auto title = [](int document) {
    std::string t(salesOptions.numbering[document].name);
    t.erase(t.find_last_not_of(' ') + 1);
    return t;
  };
  switch (kind) {
    case 2: kept = title(DOC_RU); break;
    case 3: kept = title(DOC_FK); break;
    case 4: kept = title(DOC_RK); break;
    case 6: kept = title(DOC_PF); break;
    case 7: kept = title(DOC_MP); break;
    case 8: kept = title(DOC_FM); break;
    case 9:
      kept = WorkingYear() >= FIRST_YEAR_OF_GROUPED ? title(DOC_FV) : title(rejestr == 1 ? DOC_FP : DOC_FZ);
      break;
    case 10:
    case 11: kept = title(DOC_FZ); break;
    default: kept = title(DOC_FV); break;
  }
  return kept.c_str();
}

int sprawdz_pozycje_wydruku(DbField* recField, long* rec) {
  *rec = f4long(recField);
  int rc = SeekSalesLinesByRek(*rec);
  if (rc < 0) return -1;
  if (d4eof(Z5SPRE.table) || f4long(Line("REK")) != *rec) {
    Uwaga(MSG_NO_LINES);
    return -1;
  }
  return 0;
}

int szukaj_dokumentow_powiazanych(long rec) {
  DbTable* second = Z5SPRZ_2.table;
  if (!second) return -1;
  d4tag_select(second, Z5SPRZ_2.tag[HEADERS_BY_REK]);
  char key[16];
  std::snprintf(key, sizeof key, "%7ld", rec);
  return d4seek(second, key);
}

int drukuj_naglowek_faktury(int firstPass, int rejestr) {
  zadanie_wydruku_faktury& j = J();
  if (drukuj_top_margin() != 0) return -1;
  bool polish = Polish();
  if (polish) {
    int row = DrukarkaZnakowa() ? 1 : 0;
    OryginalKopiaQStr(&j.value[static_cast<size_t>(row * J().width + J().width - 1)], firstPass);
  }
  int row = IssueRows();
  const int t = row;
  if (j.kind == 7) PutTextEnding(j.value, t, 129, MessageText(MSG_CASH_METHOD));
  if (Mark(InvoiceHeader("SDR")) == '2') PutValue(t, 3, MessageText(MSG_INTERNAL));
  PutTitle(t, tytul_dokumentu(j.kind, j.english, rejestr), TitleNumber(rejestr));
  row = SellerRows(row + 2, SELLER_INVOICE);
  row = PartyRows(row, rejestr) + 1;
  ReferenceRow(row);
  if (PrintRows(0, row + 1) != 0) return -1;
  j.linesLeft -= row + 1;
  return TableHead(j.withoutVat ? 50 : 31);
}

int naglowek_kolejnej_strony(int) {
  zadanie_wydruku_faktury& j = J();
  ClearRows(INVOICE_SHORT_ROW, INVOICE_SHORT_ROW + 1);
  PutValue(INVOICE_SHORT_ROW, 4, TitleAndNumber());
  NumerStronyQStr(&j.value[static_cast<size_t>(INVOICE_SHORT_ROW * J().width + J().pageColumn)], j.page++, j.english);
  if (PrintRows(INVOICE_SHORT_ROW, TABLE_HEAD_END) != 0) return -1;
  j.linesLeft -= 5;
  return 0;
}

int drukuj_pozycje_faktury(long rec, int firstPass, int rejestr) {
  zadanie_wydruku_faktury& j = J();
  j.linesLeft = PageLines();
  if (drukuj_naglowek_faktury(firstPass, rejestr) != 0) return -1;
  if (SeekSalesLinesByRek(rec) < 0) return -1;
  j.sums = VatSummary{};
  j.share = VatSummary{};
  DbTable* lines = Z5SPRE.table;
  int number = 1;
  while (!d4eof(lines) && f4long(Line("REK")) == rec) {
    if (Item(number++) != 0) return -1;
    int rc = d4skip(lines, 1);
    if (rc < 0) return -1;
    if (d4eof(lines) || f4long(Line("REK")) != rec) break;
    if (EstimatedRows() > j.linesLeft - 2 && PageBreak(rejestr) != 0) return -1;
  }
  return drukuj_podsumowanie_faktury(rec, firstPass, rejestr);
}

int drukuj_fakture(int kind, int choice, int rejestr) {
  zadanie_wydruku_faktury& j = J();
  j = zadanie_wydruku_faktury{};
  j.kind = f4int(InvoiceHeader("TYV"));
  j.register_ = rejestr;
  j.grossMode = choice == 2 || choice == 5;
  j.delivery = Mark(InvoiceHeader("STM")) - '0';
  int tyv = j.kind;
  if (WorkingYear() >= FIRST_YEAR_OF_GROUPED)
    j.triangular = (tyv == 1 || tyv == 7) && (j.delivery == 7 || j.delivery == 9);
  else
    j.triangular = j.delivery == 2 && Mark(InvoiceHeader("TTR")) == 'T' && (tyv == 1 || tyv == 7);
  std::string title;
  std::string code = Settings(kind, choice, rejestr, &title);
  long rec = 0;
  if (sprawdz_pozycje_wydruku(InvoiceHeader("REC"), &rec) != 0) return -1;
  std::string jobTitle = title + (j.grossMode ? " (od brutto)" : " (od netto)");
  if (init_prn(Z5SPRZ.table, code.c_str(), jobTitle.substr(0, 80).c_str(), J().width, INVOICE_FLAGS) != 0) {
    deinit_prn();
    return 0;
  }
  j.english = Printer.language == 1;
  j.rows = j.english ? ENGLISH_ROWS : POLISH_ROWS;
  RunCopies(rec, FormOf(), drukuj_pozycje_faktury, rejestr);
  deinit_prn();
  return 1;
}

int drukuj_dokument_sprzedazy(int kind, DbTable* table, int duplicate, const char* date, int rejestr) {
  std::memset(duplicateDate, 0, sizeof duplicateDate);
  if (duplicate && date) std::memcpy(duplicateDate, date, 8);
  J().delivery = Mark(d4field(table, "STM")) - '0';
  if (OpenZ5PAWL() != 0) {
    std::memset(duplicateDate, 0, sizeof duplicateDate);
    return 0;
  }
  int result = 0;
  if (go_and_lock(table, d4recno(table)) == 0) {
    switch (kind) {
      case 2: {
        int choice = AskPriceForm(salesOptions.list51, 1);
        if (choice == 1 || choice == 2 || choice == 4 || choice == 5)
          drukuj_fakture(2, choice, rejestr);
        else if (choice == 3)
          drukuj_paragon_lub_fakture_uproszczona(0);
        break;
      }
      case 3:
      case 4: {
        int choice = AskPriceForm(salesOptions.list50, 0);
        // Esc in the menu prints nothing.
        if (choice == 1 || choice == 2) result = drukuj_korekte(kind, choice, rejestr);
        break;
      }
      case 5: drukuj_sprzedaz_bezrachunkowa(); break;
      case 8: result = drukuj_fakture_marza(rejestr); break;
      default: {
        if (SimplifiedAllowed(kind)) {
          result = drukuj_paragon_lub_fakture_uproszczona(1);
          break;
        }
        int choice = AskPriceForm(salesOptions.list50, 0);
        // Esc in the menu prints nothing.
        if (choice == 1 || choice == 2) result = drukuj_fakture(kind, choice, rejestr);
        break;
      }
    }
    d4unlock(table);
  }
  d4close(Z5PAWL.table);
  Z5PAWL.table = nullptr;
  std::memset(duplicateDate, 0, sizeof duplicateDate);
  return result;
}
