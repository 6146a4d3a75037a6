// The receipt options window and the options windows of the printer makes:
// each loads its set, edits the block in place over its screen form and
// saves the set on F2; Esc leaves without saving.
#include <cstring>
#include <string>

#include "app/module_entries.h"
#include "app/option_forms.h"
#include "app/option_sets.h"
#include "app/option_values.h"
#include "env/code_pages.h"
#include "fiscal/fiscal_printer.h"
#include "fiscal/printer_params.h"
#include "ui/message_box.h"
#include "ui/selection.h"
#include "ui/std_windows.h"
#include "ui/wiget.h"
#include "ui/wiget_edit.h"
#include "ui/window4.h"

namespace {

constexpr int SAVED = 0x3C00;   // F2
constexpr int KEY_F4 = 0x3E00;
constexpr int COLS = 78;
constexpr int ELEMENTS = 48;
constexpr int LAST_YEAR_OF_OLD_RATES = 2010;

int16_t TpLineForm() { return 28; }
int16_t ElzabForm() { return 29; }
int16_t OrhmetForm() { return 30; }
int16_t PosnetForm() { return 31; }
int16_t SparkForm() { return 32; }
int16_t ReceiptForm() { return 35; }

const char* const kPaymentForms[] = {"GOTÓWKA",      "PRZELEW",           "CZEK Nr",          "WYDŁUŻONY TERMIN",
                                     "POBRANIE POCZTOWE", "ZAPŁACONO GOTÓWKĄ", "KARTA PŁATNICZA", "POLECENIE ZAPŁATY",
                                     nullptr};

// A printable key outside the range is refused.
int KeyOutside(const WigetEvent* event, int first, int last) {
  if (event->code != WE_KEY) return 0;
  int key = event->key;
  return key >= 32 && key <= 255 && (key < first || key > last) ? 1 : 0;
}

int LetterKey(WigetEvent* event, Wiget*, void*) { return KeyOutside(event, 'A', 'Z'); }
int DigitKey(WigetEvent* event, Wiget*, void*) { return KeyOutside(event, '0', '9'); }

// The main options' rates of the working year (basic, reduced 1, reduced 2, refund), for reference.
struct Rates {
  double value[4];
};
Rates ConfiguredRates() {
  const double* rates =
      mainOptions.workingYear <= LAST_YEAR_OF_OLD_RATES ? mainOptions.vatRatesTo2010 : mainOptions.vatRatesFrom2011;
  return {{rates[VAT_BASIC], rates[VAT_REDUCED_1], rates[VAT_REDUCED_2], rates[VAT_RR_REFUND]}};
}

void Rate(int row, int col, double* value) {
  DefineWigetEx(row, col, WigetVar(value), 0, W_DOUBLE | WidthFlag(4) | DecimalsFlag(1) | WF_DISPLAY_ONLY);
}
Wiget* Text(int row, int col, char* value, int width) { return DefineWigetEx(row, col, WigetVar(value), width, W_TEXT); }
void Letter(int row, int col, char* value, WigetHook filter) { Text(row, col, value, 1)->hook = filter; }
void YesNo(int row, int col, char* value) { DefineWigetEx(row, col, WigetVar(value), 0, W_YESNO); }
void List(int row, int col, int* value, const Selection* items) {
  DefineWigetEx(row, col, WigetVar(value), items, W_CODE);
}

// Starts the widget list of a form over the screen resource `screen`.
void StartForm(Wiget* list, int16_t (*screen)()) {
  ResetWigetsDefinition(list, ELEMENTS * WIGET_BYTES, 0);
  DefineWigetEx(0, 0, WigetRes(screen), 0, W_STATIC);
}

// Runs the form built in `list` and saves with `save` after F2.
int RunOptions(const char* titleUtf8, int rows, Wiget* list, void* data, int (*save)()) {
  int previous = w4select(-1);
  int result = 0;
  std::string title = Utf8ToMazText(titleUtf8);
  int window = DefineOpcjeWindow(2, 0, rows + 2, COLS + 2, title.c_str(), list, data, 0);
  if (window >= 0) {
    ShowFirstOptionsPage(window, list);
    add_help_line();
    set_fun_help("F2", "Zapisz", 1);
    int key = ActivateWindow(window, nullptr, nullptr, 0);
    remove_help_line();
    w4deactivate(window);
    w4close(window);
    if (key == SAVED) result = save();
  }
  FreeWigets(list);
  w4select(previous);
  return result;
}

// The letters of the letter-column forms at column 30 of rows 3 to 9, the rates beside them.
void LetterColumn(MakeLetters& l, Rates& rates) {
  Rate(3, 21, &rates.value[0]);
  Rate(4, 21, &rates.value[1]);
  Rate(5, 21, &rates.value[2]);
  Rate(9, 21, &rates.value[3]);
  char* letters[] = {&l.basic, &l.reduced1, &l.reduced2, &l.zero, &l.exempt, &l.margin, &l.refund};
  for (int i = 0; i < 7; i++) Letter(3 + i, 30, letters[i], LetterKey);
}

// The TP-Line, ELZAB and ORHMET forms: the make's screen, the letter column,
// then the fields `defineRest` adds; run and saved as RunOptions does.
template <typename DefineRest>
int RunLetterColumnOptions(const char* titleUtf8, int16_t (*screen)(), MakeLetters& letters, void* data,
                           int (*save)(), DefineRest defineRest) {
  Rates rates = ConfiguredRates();
  Wiget list[ELEMENTS]{};
  StartForm(list, screen);
  LetterColumn(letters, rates);
  defineRest();
  return RunOptions(titleUtf8, 24, list, data, save);
}

}  // namespace

Selection ListaFormPlatnosci[10];

int DFKlawiszPortu(WigetEvent* event, Wiget*, void*) {
  if (!KeyOutside(event, '1', '4')) return 0;
  static const std::string ports = Utf8ToMazText("Numer portu COM drukarki fiskalnej: od 1 do 4.");
  Uwaga(ports.c_str());
  return 1;
}

int DFWybierzFormePlatnosci(WigetEvent* event, Wiget* element, void*) {
  switch (event->code) {
    case WE_ENTER: set_fun_help("F4", "Lista", 5); break;
    case WE_LEAVE: remove_fun_help("F4"); break;
    case WE_KEY:
      if (event->key == KEY_F4) {
        event->key = 0;
        if (SelectionCount(ListaFormPlatnosci) == 0)
          FillOptionList(ListaFormPlatnosci, sizeof ListaFormPlatnosci, 23, kPaymentForms);
        int chosen = OpenSelectionList(ListaFormPlatnosci, 1, element->row, element->col);
        int index = chosen < 0 ? -1 : ListCodeIndex(ListaFormPlatnosci, chosen);
        if (index >= 0) {
          std::string text = ListaFormPlatnosci[index].text + 3;
          text.erase(text.find_last_not_of(' ') + 1);
          WigetSetString(element, text.c_str());
        }
      }
      break;
    default: break;
  }
  return 0;
}

int DFOpcjeParagonow() {
  if (CzytajParametryDETAL() != 0) return 0;
  DetalParams& d = parametryDetal;
  Selection entryStart[3]{}, pricesShown[4]{}, sellingPrice[4]{}, types[PRINTER_TYPE_COUNT + 1]{};
  const char* const entryTexts[] = {"KOD TOWARU", "ILOŚĆ", nullptr};
  const char* const sellingTexts[] = {"CENA SPRZ. A", "CENA SPRZ. B", "CENA SPRZ. C", nullptr};
  // List widths count the number before the text.
  FillOptionList(entryStart, sizeof entryStart, 14, entryTexts);
  FillOptionList(pricesShown, sizeof pricesShown, 15, OPTION_PICK_PRICES);
  FillOptionList(sellingPrice, sizeof sellingPrice, 15, sellingTexts);
  const char* typeTexts[PRINTER_TYPE_COUNT + 1] = {};
  int typeCodes[PRINTER_TYPE_COUNT];
  std::string typeNames[PRINTER_TYPE_COUNT];
  for (int i = 0; i < PRINTER_TYPE_COUNT; i++) {
    typeNames[i] = ListaDrukarekFiskalnych[i].text + 3;
    typeNames[i].erase(typeNames[i].find_last_not_of(' ') + 1);
    typeTexts[i] = typeNames[i].c_str();
    typeCodes[i] = ListaDrukarekFiskalnych[i].code;
  }
  FillOptionList(types, sizeof types, 18, typeTexts, typeCodes);

  Wiget list[ELEMENTS]{};
  StartForm(list, ReceiptForm);
  Text(4, 10, d.receiptName, 36);
  Text(4, 53, d.receiptIdent, 4);
  Text(4, 70, d.receiptSuffix, 8);
  Text(5, 10, d.invoiceName, 36);
  Text(5, 53, d.invoiceIdent, 4);
  Text(5, 70, d.invoiceSuffix, 8);
  List(7, 63, &d.entryStart, entryStart);
  YesNo(8, 71, &d.remarks);
  YesNo(10, 71, &d.vatFromNet);
  YesNo(11, 71, &d.useAccounts);
  YesNo(12, 71, &d.updateStock);
  YesNo(13, 71, &d.printAfterSave);
  YesNo(14, 71, &d.searchByName);
  List(15, 63, &d.pricesShown, pricesShown);
  List(16, 63, &d.sellingPrice, sellingPrice);
  YesNo(17, 71, &d.netSpecification);
  YesNo(18, 71, &d.priceChange);
  YesNo(19, 71, &d.monthOnly);
  List(20, 63, &d.printerType, types);
  DefineWigetEx(21, 63, WigetVar(&d.comPort), 0, W_INT | WidthFlag(1))->hook = DFKlawiszPortu;
  YesNo(22, 71, &d.paidWindow);
  Text(23, 54, d.paymentForm, 24)->hook = DFWybierzFormePlatnosci;
  int result = RunOptions("OPCJE paragonów", 24, list, &d, ZapiszParametryDETAL);
  for (Selection* items : {entryStart, pricesShown, sellingPrice, types}) FreeSelections(items);
  return result;
}

int PosnetOpcje() {
  if (CzytajParametryPosnet() != 0) return 0;
  PosnetParams& p = parametryPosnet;
  Rates rates = ConfiguredRates();
  Selection errors[3]{}, printing[3]{};
  const char* const errorTexts[] = {"Wyświetlaczu", "Ekranie", nullptr};
  const char* const printingTexts[] = {"Po wystawieniu", "W trakcie wystawiania", nullptr};
  const int zeroOne[] = {0, 1};
  FillOptionList(errors, sizeof errors, 15, errorTexts, zeroOne);
  FillOptionList(printing, sizeof printing, 24, printingTexts, zeroOne);

  Wiget list[ELEMENTS]{};
  StartForm(list, PosnetForm);
  for (int i = 0; i < 3; i++) Rate(2 + i, 13, &rates.value[i]);
  Rate(2, 56, &rates.value[3]);
  Letter(2, 22, &p.letters.basic, LetterKey);
  Letter(3, 22, &p.letters.reduced1, LetterKey);
  Letter(4, 22, &p.letters.reduced2, LetterKey);
  Letter(2, 43, &p.letters.zero, LetterKey);
  Letter(3, 43, &p.letters.exempt, LetterKey);
  Letter(4, 43, &p.letters.margin, LetterKey);
  Letter(2, 65, &p.letters.refund, LetterKey);
  for (int i = 0; i < 5; i++) Text(7 + i, 2, p.trainingHeader[i], 40);
  for (int i = 0; i < 2; i++) Text(13 + i, 2, p.header[i], 40);
  for (int i = 0; i < 3; i++) Text(16 + i, 2, p.footer[i], 40);
  List(19, 51, &p.errorDisplay, errors);
  YesNo(20, 51, &p.drawer);
  YesNo(21, 51, &p.shortSummary);
  YesNo(22, 51, &p.detailedDisplay);
  YesNo(23, 51, &p.printNip);
  List(24, 51, &p.printMode, printing);
  YesNo(25, 51, &p.onlineProtocol);
  std::string title = "OPCJE drukarki " + MazToUtf8Text(DFNazwaDrukarki());
  int result = RunOptions(title.c_str(), 26, list, &p, ZapiszParametryPosnet);
  FreeSelections(errors);
  FreeSelections(printing);
  return result;
}

int TpLineOpcje() {
  if (CzytajParametryTpLine() != 0) return 0;
  TpLineParams& t = parametryTpLine;
  RunLetterColumnOptions("OPCJE dla drukarki TP-Line", TpLineForm, t.letters, &t, ZapiszParametryTpLine, [&] {
    for (int i = 0; i < 5; i++) Text(12 + i, 2, t.header[i], 24);
    DefineWigetEx(18, 21, WigetVar(&t.device), 0, W_INT | WidthFlag(4));
    DefineWigetEx(19, 21, WigetVar(&t.cashier), 0, W_INT | WidthFlag(2));
  });
  return 0;
}

int ElzabOpcje() {
  if (CzytajParametryElzab() != 0) return 0;
  ElzabParams& e = parametryElzab;
  return RunLetterColumnOptions("OPCJE dla drukarek ELZAB", ElzabForm, e.letters, &e, ZapiszParametryElzab, [&] {
    Text(11, 21, e.terminal, 2);
    Text(12, 21, e.cashier, 2);
  });
}

int OrhmetOpcje() {
  if (CzytajParametryOrhmet() != 0) return 0;
  OrhmetParams& o = parametryOrhmet;
  return RunLetterColumnOptions("OPCJE dla drukarek ORHMET", OrhmetForm, o.letters, &o, ZapiszParametryOrhmet, [&] {
    Text(12, 2, o.header[0], 18);
    Text(13, 2, o.header[1], 18);
    Text(15, 21, o.terminal, 2);
    Text(16, 21, o.cashier, 2);
  });
}

int SparkOpcje() {
  if (CzytajParametrySpark() != 0) return 0;
  SparkParams& s = parametrySpark;
  Rates rates = ConfiguredRates();
  Wiget list[ELEMENTS]{};
  StartForm(list, SparkForm);
  for (int i = 0; i < 4; i++) Rate(3 + i, 14, &rates.value[i]);
  Letter(3, 23, &s.codes.basic, DigitKey);
  Letter(4, 23, &s.codes.reduced1, DigitKey);
  Letter(5, 23, &s.codes.reduced2, DigitKey);
  Letter(6, 23, &s.codes.refund, DigitKey);
  Letter(3, 46, &s.codes.zero, DigitKey);
  Letter(4, 46, &s.codes.exempt, DigitKey);
  for (int i = 0; i < 5; i++) Text(9 + i, 2, s.header[i], 28);
  Text(15, 20, s.device, 2)->hook = DigitKey;
  Text(16, 20, s.cashier, 5)->hook = DigitKey;
  return RunOptions("OPCJE dla drukarki SPARK 482G", 24, list, &s, ZapiszParametrySpark);
}
