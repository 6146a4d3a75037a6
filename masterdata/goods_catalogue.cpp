#include "masterdata/goods_catalogue.h"

#include <cstring>
#include <deque>
#include <new>
#include <string>

#include "env/code_pages.h"
#include "print/tabulogram.h"
#include "tables/masterdata_tables.h"

kontekst_kartoteki_towarow* KontekstTowarow = nullptr;

namespace {

// Texts written in UTF-8 here, kept in the system's character set for the
// lists that point at them.
const char* Sys(const char* utf8) {
  static std::deque<std::string> texts;
  texts.push_back(Utf8ToMazText(utf8));
  return texts.back().c_str();
}

void DefineGroupColumns(TabuColumn* list, int size) {
  ResetTabuDefinition(list, size);
  DbField** f = TowaTmp.field;
  int column = 0;
  DefineTabuColumn(" lp ", nullptr, &f[TOWA_LPO], TABU_CHOSEN, ++column);
  DefineTabuColumn("kod", nullptr, &f[TOWA_KOD], TABU_CHOSEN, ++column);
  DefineTabuColumn("nazwa", nullptr, &f[TOWA_NA1], TABU_CHOSEN, ++column);
  for (int i = TOWA_NA2; i <= TOWA_NA6; i++) DefineTabuColumn(" cd ", nullptr, &f[i], 0, ++column);
  DefineTabuColumn(Sys("ilość"), nullptr, &f[TOWA_ILO], TABU_CHOSEN, ++column);
  DefineTabuColumn("KWiU", nullptr, &f[TOWA_KWU], 0, ++column);
  DefineTabuColumn(" jm ", nullptr, &f[TOWA_JED], TABU_CHOSEN, ++column);
  DefineTabuColumn("cena zakup", nullptr, &f[TOWA_CZN], 0, ++column);
  DefineTabuColumn("wart.zakup", "netto", &f[TOWA_WZN], TABU_CHOSEN, ++column);
  DefineTabuColumn("cena sprz A", nullptr, &f[TOWA_CSN], 0, ++column);
  DefineTabuColumn("wart.sprz A", "netto", &f[TOWA_WSN], TABU_CHOSEN, ++column);
  DefineTabuColumn("uwagi", nullptr, &f[TOWA_UWA], 0, ++column);
}

}  // namespace

kontekst_kartoteki_towarow* definicja_kartoteki_towarow(int mode) {
  auto* context = new (std::nothrow) kontekst_kartoteki_towarow();
  if (!context) return nullptr;
  context->spis_zera[0] = 'N';
  for (auto& member : context->komisja) {
    std::memset(member, ' ', sizeof member - 1);
    member[sizeof member - 1] = '\0';
  }
  std::memset(context->data_od, ' ', 8);
  std::memset(context->data_do, ' ', 8);
  context->rodzaj_ceny = 1;
  if (mode == 1) DefineGroupColumns(context->grupy, sizeof context->grupy);
  KontekstTowarow = context;
  return context;
}

void zwolnij_definicje_kartoteki_towarow(kontekst_kartoteki_towarow* context) {
  if (!context) return;
  if (KontekstTowarow == context) KontekstTowarow = nullptr;
  delete context;
}
