// What the posting tests share: a field's text without its leading blanks,
// and the posting record the routines under test read, over a sales fixture.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/option_sets.h"
#include "finance/posting.h"
#include "finance/posting_internal.h"
#include "tests/sales/sales_fixture.h"

inline std::string TrimmedField(DbTable* table, const char* name) {
  std::string text = FieldText(table, name);
  return text.erase(0, text.find_first_not_of(' '));
}

template <typename Base>
class PostingFixture : public Base {
 protected:
  void SetUp() override {
    Base::SetUp();
    if (this->HasFatalFailure()) return;
    zapisKsiegowy = &record;
  }
  void TearDown() override {
    zapisKsiegowy = nullptr;
    taxOptions = TaxOptions{};
    Base::TearDown();
  }
  // A sales document's posting on the book date, amounts still to fill.
  void StartPosting(const char* date, const char* number) {
    record = ZapisKsiegowy{};
    PoczatekZapisu(&record);
    std::memcpy(record.dataKsiegi, date, 8);
    record.zrodlo = 1;
    std::strcpy(record.nrDokumentu, number);
  }
  ZapisKsiegowy record{};
};
