// The choice lists of the goods and services catalogues' code fields: what
// a purchase is for (NAS), the purchase type (TYZ), the revenue type (TYP),
// the lump-sum rates of the working year (RYT before 2022, RTY from 2022)
// and the JPK goods marks (GTU, RE2). Each list is in the menu's form: a
// blank entry giving the width, then item n for code n, ended by NULL.
#pragma once

const char* const* ListaNaSprzedaz();
const char* const* ListaTypuZakupu();
const char* const* ListaTypuPrzychodu();
// Before 2016 the activity kinds, 2016 to 2020 seven rates, 2021 eight,
// from 2022 the nine rates of RTY.
const char* const* ListaStawekRyczaltu(int workingYear);
// Before 2022 the older wording; item 14 "e. BRAK" stands for a stored 0.
const char* const* ListaOznaczenGtu(int workingYear);
constexpr int GTU_NONE_ITEM = 14;
