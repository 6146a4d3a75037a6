// " Opcje " of the " Kasa " menu: the settings of the configured register
// family over its screen form, saved to "KASY FISKALNE" on F2.
#include <cstring>
#include <string>

#include "app/option_forms.h"
#include "app/option_values.h"
#include "env/code_pages.h"
#include "fiscal/cash_register.h"
#include "fiscal/cash_register_layer.h"
#include "fiscal/register_params.h"
#include "ui/message_box.h"
#include "ui/std_windows.h"
#include "ui/wiget.h"
#include "ui/wiget_edit.h"
#include "ui/window4.h"

namespace {

constexpr int SAVED = 0x3C00;   // F2
constexpr int ELEMENTS = 18;
// The inside of the window: the switches at column 75 show "TAK"/"NIE" up to
// its last column, the frame goes round it.
constexpr int WINDOW_ROWS = 24, WINDOW_COLS = 78;

// The characters the letter fields of the family take.
const char* accepted = "";

int Refused(const WigetEvent* event, const char* allowed) {
  if (event->code != WE_KEY) return 0;
  int key = event->key;
  return key >= 32 && key <= 255 && std::strchr(allowed, key) == nullptr ? 1 : 0;
}

int LetterKey(WigetEvent* event, Wiget*, void*) { return Refused(event, accepted); }
int KeyOneToThree(WigetEvent* event, Wiget*, void*) { return Refused(event, "123"); }
int KeyZeroToThree(WigetEvent* event, Wiget*, void*) { return Refused(event, "0123"); }

int CodeLengthValid(WigetEvent* event, Wiget*, void*) {
  if (event->code != WE_TEST || event->newLong == 4 || event->newLong == 13) return 0;
  Uwaga("Tylko 4 lub 13.");
  event->message = TextRef();
  return 1;
}

struct Family {
  int16_t (*form)();
  char* letters;
  const char* accepted;
};

int16_t Adax() { return 158; }
int16_t Cr280() { return 159; }
int16_t Dsa() { return 160; }
int16_t Mala() { return 161; }
int16_t Novitus() { return 162; }
int16_t Omron() { return 163; }
int16_t Ps2000() { return 164; }
int16_t Elzab() { return 165; }
int16_t Tango() { return 166; }

bool FamilyOf(int type, KasaParametry& p, Family* f) {
  switch (type) {
    case KASA_PS2000: *f = {Ps2000, p.ps2000, "012345678"}; return true;
    case KASA_CR280_PLUS: case KASA_CR280_THER3: case KASA_CR280_THER4: case KASA_CR280_PLUS3:
      *f = {Cr280, p.cr280, "0123456"}; return true;
    case KASA_ELZAB: *f = {Elzab, p.elzab, "ABCDEFG"}; return true;
    case KASA_OMRON: *f = {Omron, p.omron, "0123456"}; return true;
    case KASA_ADAX: case KASA_TOTAL_TAX: *f = {Adax, p.adax, "0123456"}; return true;
    case KASA_MALA: *f = {Mala, p.mala, "12345678"}; return true;
    case KASA_TANGO: case KASA_BRAVO: *f = {Tango, p.tango, "ABCDEFZ"}; return true;
    case KASA_NOVITUS: *f = {Novitus, p.novitus, "ABCDEFG"}; return true;
    case KASA_DSA40: case KASA_DSA100: case KASA_DSA4000S: *f = {Dsa, p.dsa, "1234567"}; return true;
    default: return false;
  }
}

Wiget* Letter(int row, int col, char* value) {
  Wiget* w = DefineWigetEx(row, col, WigetVar(value), 1, W_TEXT);
  if (w) w->hook = LetterKey;
  return w;
}
void YesNo(int row, int col, char* value) { DefineWigetEx(row, col, WigetVar(value), 0, W_YESNO); }
Wiget* Int(int row, int col, int* value, int width) {
  return DefineWigetEx(row, col, WigetVar(value), 0, W_INT | WidthFlag(width));
}

void TypeEntries(int type, KasaParametry& p) {
  switch (type) {
    case KASA_PS2000:
      Int(10, 65, &p.ps2000Ecr, 2);
      if (Wiget* w = Int(12, 65, &p.ps2000CodeLength, 2)) w->hook = CodeLengthValid;
      Int(14, 65, &p.ps2000Timeout, 2);
      break;
    case KASA_ELZAB:
      Int(10, 65, &p.elzabEcr, 2);
      if (Wiget* w = Int(12, 65, &p.elzabUnitDecimals, 1)) w->hook = KeyOneToThree;
      YesNo(14, 65, &p.elzabBarcode);
      YesNo(15, 65, &p.codeIsPlu);
      break;
    case KASA_OMRON: YesNo(10, 75, &p.omronVariablePrice); break;
    case KASA_TANGO: case KASA_BRAVO: case KASA_NOVITUS:
      YesNo(10, 75, &p.tangoOpenPrice);
      YesNo(11, 75, &p.tangoProgrammedPrice);
      YesNo(14, 75, &p.tangoRepeatable);
      YesNo(17, 75, &p.tangoSingle);
      if (Wiget* w = Int(19, 75, &p.tangoQuantityDecimals, 1)) w->hook = KeyZeroToThree;
      YesNo(20, 75, &p.codeIsPlu);
      break;
    case KASA_DSA40: case KASA_DSA100: case KASA_DSA4000S: YesNo(10, 71, &p.dsaBarcode); break;
    default: break;
  }
}

}  // namespace

int KasaOpcje() {
  int previous = w4select(-1);
  // The window edits a copy: Esc leaves the settings as they were.
  static KasaParametry edited;
  edited = parametryKF;
  Family family;
  if (!FamilyOf(KasaTyp(), edited, &family)) {
    Uwaga(MSG_KF_NO_REGISTER);
    return 0;
  }
  accepted = family.accepted;
  double rates[VAT_RATE_COUNT];
  std::memcpy(rates, currentVatRates, sizeof rates);
  // Letters are edited as one-character texts.
  char letters[KFL_COUNT][2];
  for (int i = 0; i < KFL_COUNT; i++) letters[i][0] = family.letters[i], letters[i][1] = '\0';
  Wiget list[ELEMENTS]{};
  ResetWigetsDefinition(list, ELEMENTS * WIGET_BYTES, 0);
  DefineWigetEx(1, 1, WigetRes(family.form), 0, W_STATIC);
  for (int i = 0; i < VAT_RATE_COUNT; i++)
    DefineWigetEx(5 + i, 14, WigetVar(&rates[i]), 0, W_DOUBLE | WidthFlag(4) | DecimalsFlag(1) | WF_DISPLAY_ONLY);
  const int order[] = {KFL_BASIC, KFL_REDUCED1, KFL_REDUCED2, KFL_REFUND};
  for (int i = 0; i < 4; i++) Letter(5 + i, 23, letters[order[i]]);
  Letter(5, 46, letters[KFL_ZERO]);
  Letter(6, 46, letters[KFL_EXEMPT]);
  TypeEntries(KasaTyp(), edited);
  int window = DefineOpcjeWindow(2, 0, WINDOW_ROWS + 2, WINDOW_COLS + 2, "OPCJE", list, &edited, 0);
  if (window >= 0) {
    ShowFirstOptionsPage(window, list);
    add_help_line();
    set_fun_help("F2", "Zapisz", 1);
    int key = ActivateWindow(window, nullptr, nullptr, 0);
    remove_help_line();
    if (key == SAVED) {
      for (int i = 0; i < KFL_COUNT; i++)
        if (letters[i][0] != '\0' && letters[i][0] != ' ') family.letters[i] = letters[i][0];
      parametryKF = edited;
      ZapiszParametryKF();
    }
    w4deactivate(window);
    w4close(window);
  }
  FreeWigets(list);
  w4select(previous);
  return 0;
}
