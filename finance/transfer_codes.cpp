// The codes and symbols of transfer orders and the names of their forms.
#include <cstring>
#include <string>

#include "app/document_kinds.h"
#include "finance/transfers.h"
#include "ui/get4.h"
#include "ui/message_box.h"

namespace {

constexpr int MSG_RESERVED_SYMBOL = 20172;   // "Symbol zarezerwowany !"

// True when `text` begins with one of the NULL-ended prefixes.
bool BeginsWithAny(const char* text, const char* const* prefixes) {
  for (; *prefixes; prefixes++)
    if (std::strncmp(text, *prefixes, std::strlen(*prefixes)) == 0) return true;
  return false;
}

}  // namespace

int KodTytuluWykluczony(const char* text) {
  static const char* const excluded[] = {"0511", "0521", "0531", "0542", nullptr};
  return BeginsWithAny(text, excluded) ? 1 : 0;
}

const char* NazwaFormularzaPrzelewu(char kind, int oryg) {
  if (kind == 'P') return oryg ? "Przelew oryg." : "Przelew";
  return Sys(oryg ? "Wpłata oryg." : "Wpłata");
}

int SymbolZarezerwowany(const char* text) {
  static const char* const reserved[] = {"ZUS", "ZUSSP", "ZUSZD", "ZUSFP", "PIT", "VAT", "CIT", "AKC", "GL",
                                         "KP",  "PPE",   "PN",    "SD",    "PCC", "OS",  "INNE", nullptr};
  return BeginsWithAny(text, reserved) ? 1 : 0;
}

int SprawdzSymbolPlatnosci(Get4* get) {
  std::string symbol(static_cast<const char*>(get->data), static_cast<size_t>(get->dataWidth));
  if (!SymbolZarezerwowany(symbol.c_str())) return 0;
  Uwaga(MSG_RESERVED_SYMBOL);
  return -1;
}
