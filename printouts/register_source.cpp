#include "printouts/register_source.h"

#include "db/dbf_table.h"
#include "sales/register_filters.h"
#include "sales/vat_register.h"
#include "tables/sales_tables.h"

namespace {

constexpr int STATUS_SIZE = 229;

const char* ItemDate(const kontekst_ewidencji* context, int item) {
  const FilterItem* f = context->elementy[item];
  return f && f->active ? f->date : nullptr;
}

// The register's filter set over a line of the auxiliary register.
int AuxiliaryFilter() {
  kontekst_ewidencji* c = kontekstEwidencji;
  if (!c || c->filtry.off || c->filtry.count == 0) return 45;
  return FilterFunctionEx(&c->filtry, Z5SPRE_2.table);
}

}  // namespace

ZrodloRejestruVat RegisterSource(kontekst_ewidencji* context) {
  ZrodloRejestruVat source{};
  source.filtr = filtr_ewidencji;
  source.przeliczenie = czy_raport_w_walucie(context->elementy[FE_WALUTA]) ? 0 : 1;
  source.rejestr = context->rejestr;
  source.od_daty_vat = ItemDate(context, FE_OD_DATY_VAT);
  source.do_daty_vat = ItemDate(context, FE_DO_DATY_VAT);
  source.filtr_pomocniczy = AuxiliaryFilter;
  return source;
}

int ProFormaItemOn(const kontekst_ewidencji* context) {
  const FilterItem* item = context->elementy[FE_PF];
  return item && item->active && !context->filtry.off ? 1 : 0;
}

std::string FilterStatusText(kontekst_ewidencji* context, int withCurrency) {
  char status[STATUS_SIZE] = {};
  opis_stanu_filtrow(&context->filtry, status, STATUS_SIZE, 1, withCurrency);
  return status;
}

std::string ReportCurrency(kontekst_ewidencji* context) {
  FilterItem* item = context->elementy[FE_WALUTA];
  if (!czy_raport_w_walucie(item)) return "PLN";
  std::string code(item->text ? item->text : "");
  code.erase(code.find_last_not_of(' ') + 1);
  return code;
}
