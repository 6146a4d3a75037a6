// The layouts of every table of the main program: fields in the order of the
// .DBF header and tags in the order the definition interface names them
// "1" to "9" and "A". A layout is data; the openers in catalogue.h give it
// to the definition interface and bind the handles.
#pragma once

struct LayoutField {
  const char* name;    // upper case, up to five characters
  char type;           // 'C', 'N' or 'D'
  short width;         // C 2100 is the long text field of the operator table
  short decimals = 0;
};

// A NULL filter stands for ".NOT.DELETED()"; descending is 0 or 10.
struct LayoutTag {
  const char* key;
  const char* filter;
  int descending;
};

struct TableLayout {
  const LayoutField* fields;
  int fieldCount;
  const LayoutTag* tags;
  int tagCount;
};

template <int F>
constexpr TableLayout MakeLayout(const LayoutField (&fields)[F]) {
  return TableLayout{fields, F, nullptr, 0};
}
template <int F, int T>
constexpr TableLayout MakeLayout(const LayoutField (&fields)[F], const LayoutTag (&tags)[T]) {
  return TableLayout{fields, F, tags, T};
}

// Gives the layout to the definition started by AllocDbfDefinition: the first
// `fieldCount` fields (all for -1) except the one named `omit`, then every tag
// unless `withTags` is false.
void DefineLayout(const TableLayout& layout, int fieldCount = -1, const char* omit = nullptr, bool withTags = true);

// sales
extern const TableLayout LAYOUT_Z5SPRZ;
extern const TableLayout LAYOUT_Z5SPRE;
extern const TableLayout LAYOUT_Z5SPRO;
// receipts
extern const TableLayout LAYOUT_Z5PARA;
extern const TableLayout LAYOUT_Z5PARE;
extern const TableLayout LAYOUT_Z5PARO;
// masterdata
extern const TableLayout LAYOUT_Z5TOWA;
extern const TableLayout LAYOUT_Z5USLU;
extern const TableLayout LAYOUT_Z5KHNT;
extern const TableLayout LAYOUT_Z5KONT;
extern const TableLayout LAYOUT_Z5OPIS;
extern const TableLayout LAYOUT_Z5KRAJ;
extern const TableLayout LAYOUT_Z5USKA;
extern const TableLayout LAYOUT_Z5KURS;
// warehouse
extern const TableLayout LAYOUT_Z5MAPR;
extern const TableLayout LAYOUT_Z5MAPE;
// cash
extern const TableLayout LAYOUT_Z5KASA;
extern const TableLayout LAYOUT_Z5ROZL;
extern const TableLayout LAYOUT_Z5PLEW;
extern const TableLayout LAYOUT_Z5ODUS;
extern const TableLayout LAYOUT_Z5DNWO;
// books
extern const TableLayout LAYOUT_Z5DANE;
extern const TableLayout LAYOUT_Z5RYPR;
extern const TableLayout LAYOUT_Z5RYCZ;
extern const TableLayout LAYOUT_Z5STAK;
extern const TableLayout LAYOUT_Z5STRB;
extern const TableLayout LAYOUT_Z5STRY;
// vat
extern const TableLayout LAYOUT_Z5ZAKU;
extern const TableLayout LAYOUT_Z5ZAKE;
extern const TableLayout LAYOUT_Z5VOSS;
extern const TableLayout LAYOUT_Z5DEKL;
extern const TableLayout LAYOUT_JPK_WORK;
// firm
extern const TableLayout LAYOUT_Z5KATA;
extern const TableLayout LAYOUT_Z5KAPA;
extern const TableLayout LAYOUT_Z5PASS;
extern const TableLayout LAYOUT_Z5PAWL;
extern const TableLayout LAYOUT_Z5PAOS;
extern const TableLayout LAYOUT_PARAM;
// exchange
extern const TableLayout LAYOUT_Z5ESPP;
extern const TableLayout LAYOUT_Z5ESZT;
extern const TableLayout LAYOUT_Z5ESMA;
extern const TableLayout LAYOUT_Z5KONTE;
extern const TableLayout LAYOUT_UE_TMP;
extern const TableLayout LAYOUT_UE_ERR;
// personnel
extern const TableLayout LAYOUT_Z5PRAC;
extern const TableLayout LAYOUT_Z5PENS;
extern const TableLayout LAYOUT_Z5PESK;
extern const TableLayout LAYOUT_Z5PELI;
extern const TableLayout LAYOUT_Z5UMOW;
extern const TableLayout LAYOUT_Z5UMPR;
extern const TableLayout LAYOUT_Z5SRDN;
extern const TableLayout LAYOUT_Z5KZUS;
extern const TableLayout LAYOUT_Z5NIEO;
extern const TableLayout LAYOUT_Z5ZUSD;
extern const TableLayout LAYOUT_Z5ZUSP;
extern const TableLayout LAYOUT_Z5ZUSR;
extern const TableLayout LAYOUT_Z5ZUSS;
extern const TableLayout LAYOUT_Z5ZUWS;
extern const TableLayout LAYOUT_Z5ZFSS;
extern const TableLayout LAYOUT_Z5WSPL;
extern const TableLayout LAYOUT_Z5WSSK;
// tax
extern const TableLayout LAYOUT_Z5PITM;
extern const TableLayout LAYOUT_Z5PILM;
extern const TableLayout LAYOUT_Z5RYTM;
extern const TableLayout LAYOUT_Z5VATR;
extern const TableLayout LAYOUT_Z5PI11;
extern const TableLayout LAYOUT_Z5V27M;
extern const TableLayout LAYOUT_Z5VUEM;
extern const TableLayout LAYOUT_Z5VZNM;
extern const TableLayout LAYOUT_Z5NOTY;
extern const TableLayout LAYOUT_Z5V7JM;
extern const TableLayout LAYOUT_Z5LXML;
extern const TableLayout LAYOUT_Z5V7MC;
// registers
extern const TableLayout LAYOUT_Z5SAMO;
extern const TableLayout LAYOUT_Z5PRCE;
extern const TableLayout LAYOUT_Z5PRZE;
extern const TableLayout LAYOUT_Z5RASA;
extern const TableLayout LAYOUT_Z5AMOR;
extern const TableLayout LAYOUT_Z5DOWO;
extern const TableLayout LAYOUT_Z5DOWE;
extern const TableLayout LAYOUT_Z5SKUP;
extern const TableLayout LAYOUT_Z5WYPO;
extern const TableLayout LAYOUT_Z5SPZE;
// exchange copies in the live layouts with their own tags
extern const TableLayout LAYOUT_Z5ESEX;
extern const TableLayout LAYOUT_Z5SOEX;
extern const TableLayout LAYOUT_Z5KASAEX;
extern const TableLayout LAYOUT_Z5SPISEX;
