#include "fiscal/register_params.h"

#include <cstring>
#include <vector>

#include "app/module_entries.h"
#include "app/param_store.h"
#include "db/dbf_table.h"
#include "fiscal/cash_register_layer.h"

KasaParametry parametryKF;

namespace {

// A letter given as a digit is an integer parameter holding its value; a
// capital or a switch is a one-character text.
enum class Kind { Digit, Char, Int };

struct Param {
  int number;
  Kind kind;
  void* target;
  int byDefault;   // the character, or the integer
};

struct LetterSet {
  char* letters;
  int numbers[KFL_COUNT];
  const char* defaults;
  bool digits;
};

std::vector<Param> Params() {
  KasaParametry& p = parametryKF;
  const LetterSet sets[] = {
      {p.ps2000, {1, 2, 3, 94, 4, 5}, "124430", true},       {p.cr280, {19, 20, 21, 95, 22, 23}, "124430", true},
      {p.elzab, {28, 29, 30, 96, 31, 32}, "ABCCDG", false},  {p.omron, {36, 37, 38, 97, 39, 40}, "000000", true},
      {p.adax, {47, 48, 49, 98, 50, 51}, "021036", true},    {p.mala, {55, 56, 57, 99, 58, 59}, "124430", true},
      {p.tango, {72, 73, 74, 101, 75, 76}, "ABDDCZ", false}, {p.novitus, {106, 107, 108, 109, 110, 111}, "ABDDCG", false},
      {p.dsa, {85, 86, 87, 102, 88, 89}, "125534", true}};
  std::vector<Param> list;
  for (const LetterSet& set : sets)
    for (int i = 0; i < KFL_COUNT; i++)
      list.push_back({set.numbers[i], set.digits ? Kind::Digit : Kind::Char, &set.letters[i], set.defaults[i]});
  const Param others[] = {
      {17, Kind::Int, &p.ps2000Ecr, 1},          {18, Kind::Int, &p.ps2000CodeLength, 4},
      {93, Kind::Int, &p.ps2000Timeout, 1},      {27, Kind::Int, &p.elzabEcr, 1},
      {45, Kind::Int, &p.elzabUnitDecimals, 2},  {46, Kind::Char, &p.elzabBarcode, 'N'},
      {105, Kind::Char, &p.codeIsPlu, 'T'},      {44, Kind::Char, &p.omronVariablePrice, 'N'},
      {103, Kind::Char, &p.adaxPluFlag, ' '},    {80, Kind::Char, &p.tangoOpenPrice, 'N'},
      {81, Kind::Char, &p.tangoProgrammedPrice, 'T'}, {82, Kind::Char, &p.tangoRepeatable, 'N'},
      {83, Kind::Char, &p.tangoSingle, 'N'},     {84, Kind::Int, &p.tangoQuantityDecimals, 2},
      {104, Kind::Char, &p.dsaBarcode, 'N'}};
  list.insert(list.end(), std::begin(others), std::end(others));
  return list;
}

void Read(ParamTable* ctx, const Param& p) {
  char* letter = static_cast<char*>(p.target);
  switch (p.kind) {
    case Kind::Digit: {
      int value = 0;
      GetParamInt(ctx, p.number, &value, p.byDefault - '0');
      *letter = static_cast<char>('0' + value);
      break;
    }
    case Kind::Char: GetParamChar(ctx, p.number, letter, static_cast<char>(p.byDefault)); break;
    case Kind::Int: GetParamInt(ctx, p.number, static_cast<int*>(p.target), p.byDefault); break;
  }
}

void Write(ParamTable* ctx, const Param& p) {
  const char* letter = static_cast<const char*>(p.target);
  switch (p.kind) {
    case Kind::Digit: SetParamInt(ctx, p.number, *letter - '0'); break;
    case Kind::Char: SetParam(ctx, p.number, 'C', letter, 1); break;
    case Kind::Int: SetParamInt(ctx, p.number, *static_cast<const int*>(p.target)); break;
  }
}

int Transfer(bool write) {
  ParamTable ctx{};
  if (OtworzParametryKF(&ctx, 0) != 0) return -1;
  if (!write) std::memset(&parametryKF, 0, sizeof parametryKF);
  for (const Param& p : Params()) write ? Write(&ctx, p) : Read(&ctx, p);
  d4close(ctx.table);
  return ctx.error;
}

}  // namespace

int OtworzParametryKF(ParamTable* ctx, int flags) {
  *ctx = ParamTable{};
  ctx->k1 = 1;
  ctx->k2 = 1;
  ctx->section = "KASY FISKALNE";
  return OpenParamTable(ctx, "Z5PAKF.DBF", flags, PARAM_CURRENT_DIR);
}

int CzytajParametryKF() { return Transfer(false); }

int ZapiszParametryKF() { return Transfer(true); }

char KFLiteraVat(const char* letters, int vatCode, char other) {
  switch (vatCode) {
    case 1: return letters[KFL_BASIC];
    case 2: return letters[KFL_REDUCED1];
    case 8: return letters[KFL_REDUCED2];
    case 9: return letters[KFL_REFUND];
    case 3: case 5: case 13: return letters[KFL_ZERO];
    case 4: return letters[KFL_EXEMPT];
    default: return other;
  }
}

int KFKodVat(const char* letters, char letter) {
  const struct {
    int position, code;
  } order[] = {{KFL_EXEMPT, 4}, {KFL_BASIC, 1}, {KFL_REDUCED1, 2}, {KFL_ZERO, 3}, {KFL_REDUCED2, 8}, {KFL_REFUND, 9}};
  for (const auto& o : order)
    if (letters[o.position] == letter) return o.code;
  return 1;
}

const char* KFLiteryTypu(int type) {
  KasaParametry& p = parametryKF;
  switch (type) {
    case KASA_PS2000: return p.ps2000;
    case KASA_CR280_PLUS: case KASA_CR280_THER3: case KASA_CR280_THER4: case KASA_CR280_PLUS3: return p.cr280;
    case KASA_ELZAB: return p.elzab;
    case KASA_OMRON: return p.omron;
    case KASA_ADAX: case KASA_TOTAL_TAX: return p.adax;
    case KASA_MALA: return p.mala;
    case KASA_TANGO: case KASA_BRAVO: return p.tango;
    case KASA_NOVITUS: return p.novitus;
    case KASA_DSA40: case KASA_DSA100: case KASA_DSA4000S: return p.dsa;
    default: return nullptr;
  }
}
