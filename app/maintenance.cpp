#include "app/maintenance.h"

#include <cstdio>

#include "app/param_store.h"
#include "db/db_engine.h"
#include "db/dbf_definition.h"
#include "env/session/environment.h"
#include "print/tabu_table.h"
#include "tables/book_tables.h"
#include "tables/cash_tables.h"
#include "tables/firm_tables.h"
#include "tables/masterdata_tables.h"
#include "tables/personnel_tables.h"
#include "tables/receipt_tables.h"
#include "tables/register_tables.h"
#include "tables/sales_tables.h"
#include "tables/tax_tables.h"
#include "tables/vat_tables.h"
#include "tables/wait_notice.h"
#include "tables/warehouse_tables.h"
#include "ui/menu_history.h"
#include "ui/message_box.h"

namespace {

constexpr int REBUILD = OPEN_DBF_REINDEX | OPEN_DBF_MUST_EXIST;
constexpr int MSG_DONE = 8, MSG_FAILED = 9;

int passFailed;

// The table is closed here: the engine clears its handle in the context,
// which lives only as long as this call.
int ReopenParams(const char* fileName, int place) {
  ParamTable ctx{};
  const int result = OpenParamTable(&ctx, fileName, REBUILD, place);
  if (result == 0 && ctx.table != nullptr) d4close(ctx.table);
  return result;
}

void ReopenCommon(int year) {
  CloseAfterReopen(OpenZ5DNWO(REBUILD));
  CloseAfterReopen(OpenZ5KAPA(REBUILD));
  CloseAfterReopen(OpenZ5KATA(REBUILD));
  CloseAfterReopen(OpenZ5KRAJ(REBUILD));
  CloseAfterReopen(OpenZ5KURS(REBUILD));
  CloseAfterReopen(OpenZ5LXML(REBUILD));
  CloseAfterReopen(OpenZ5ODUS(REBUILD));
  CloseAfterReopen(OpenZ5PELI(REBUILD));
  CloseAfterReopen(open_tabu(REBUILD));
  CloseAfterReopen(OpenZ5USKA(REBUILD));
  CloseAfterReopen(OpenZ5ZAPO(REBUILD));
  CloseAfterReopen(ReopenParams(MainOptionsFileName(), PARAM_PROGRAM_DIR));
  char papl[] = "Z5PAPL  .DBF";
  CloseAfterReopen(ReopenParams(SetDbfYear(papl, year), PARAM_COMMON_DIR));
}

void ReopenFirm(int year) {
  TableHandles vatData{};
  HistoryHandles history{};
  CloseAfterReopen(OpenZ5AMOR(OPEN_DBF_REINDEX));
  CloseAfterReopen(OpenZ5DOWO(REBUILD));
  CloseAfterReopen(OpenZ5MAPE(REBUILD));
  CloseAfterReopen(OpenZ5MAWE(REBUILD));
  CloseAfterReopen(OpenZ5PARE(REBUILD));
  CloseAfterReopen(OpenZ5SPRE(year, REBUILD, SALES_MAIN));
  CloseAfterReopen(OpenZ5SPRE(year, REBUILD, SALES_AUX));
  CloseAfterReopen(OpenZ5ZAKE(year, REBUILD));
  CloseAfterReopen(open_hist(&history, REBUILD));
  CloseAfterReopen(OpenZ5KASA(REBUILD));
  CloseAfterReopen(OpenZ5KHNT(REBUILD));
  CloseAfterReopen(OpenZ5KONT(REBUILD));
  CloseAfterReopen(OpenZ5DANE(year, REBUILD));
  CloseAfterReopen(OpenZ5KZUS(REBUILD));
  CloseAfterReopen(OpenZ5MAPR(REBUILD));
  CloseAfterReopen(OpenZ5MAWY(REBUILD));
  CloseAfterReopen(OpenZ5NIEO(year, REBUILD));
  CloseAfterReopen(OpenZ5NOTY(REBUILD));
  CloseAfterReopen(OpenZ5OPIS(REBUILD));
  CloseAfterReopen(OpenZ5PARO(REBUILD));
  CloseAfterReopen(OpenZ5PARA(REBUILD));
  CloseAfterReopen(OpenZ5PENS(year, REBUILD, 0));
  CloseAfterReopen(OpenZ5PESK(year, REBUILD, 0));
  CloseAfterReopen(OpenZ5PI11(REBUILD));
  CloseAfterReopen(OpenZ5DOWE(REBUILD));
  CloseAfterReopen(OpenZ5PRAC(REBUILD));
  CloseAfterReopen(OpenZ5PRCE(REBUILD));
  CloseAfterReopen(OpenZ5PRZE(REBUILD));
  CloseAfterReopen(OpenZ5PLEW(REBUILD));
  CloseAfterReopen(OpenZ5RASA(REBUILD));
  CloseAfterReopen(OpenZ5ROZL(REBUILD));
  CloseAfterReopen(OpenZ5RYPR(year, REBUILD));
  CloseAfterReopen(OpenZ5SAMO(REBUILD));
  CloseAfterReopen(OpenZ5SKUP(REBUILD));
  CloseAfterReopen(OpenZ5TOWA(OPEN_DBF_REINDEX));
  CloseAfterReopen(OpenZ5SPRO(year, REBUILD, SALES_MAIN));
  CloseAfterReopen(OpenZ5SPRZ(year, REBUILD, SALES_MAIN));
  CloseAfterReopen(OpenZ5SPRZ(year, REBUILD, SALES_AUX));
  CloseAfterReopen(OpenZ5SRDN(REBUILD));
  CloseAfterReopen(OpenZ5UMOW(year, REBUILD));
  CloseAfterReopen(OpenZ5UMPR(REBUILD));
  CloseAfterReopen(OpenZ5USLU(REBUILD));
  CloseAfterReopen(OpenZ5V27(REBUILD, 'N'));
  CloseAfterReopen(OpenZ5V27(REBUILD, 'T'));
  CloseAfterReopen(OpenZ5VATR(REBUILD));
  CloseAfterReopen(OpenZ5VUE(REBUILD, 'N'));
  CloseAfterReopen(OpenZ5VUE(REBUILD, 'T'));
  CloseAfterReopen(OpenZ5WSPL(OPEN_DBF_REINDEX));
  CloseAfterReopen(OpenZ5WSSK(REBUILD));
  CloseAfterReopen(OpenZ5WYPO(REBUILD));
  CloseAfterReopen(OpenZ5PIT(REBUILD, 'N'));
  CloseAfterReopen(OpenZ5PIT(REBUILD, 'T'));
  CloseAfterReopen(OpenZ5ZAKU(year, REBUILD));
  CloseAfterReopen(OpenZ5PIL(REBUILD, 'T'));
  CloseAfterReopen(OpenZ5PIL(REBUILD, 'N'));
  CloseAfterReopen(OpenZ5RYT(REBUILD, 'T'));
  CloseAfterReopen(OpenZ5RYT(REBUILD, 'N'));
  CloseAfterReopen(OpenZ5SPZE(REBUILD));
  CloseAfterReopen(OpenZ5ZFSS(REBUILD));
  CloseAfterReopen(OpenZ5ZUSD(REBUILD));
  CloseAfterReopen(OpenZ5ZUSP(REBUILD));
  CloseAfterReopen(OpenZ5ZUSR(REBUILD));
  CloseAfterReopen(OpenZ5ZUSS(REBUILD));
  CloseAfterReopen(OpenZ5ZUWS(year, REBUILD));
  for (int kind : {2, 5, 1}) CloseAfterReopen(OpenZ5VZ(kind, REBUILD));
  for (int kind : {13, 14}) CloseAfterReopen(OpenVatDataTable(&vatData, 0, year, kind, REBUILD));
  for (int kind : {13, 14}) CloseAfterReopen(OpenZ5V7J(REBUILD, kind));
  for (const char* name : {"Z5PAPV.DBF", "Z5PACO.DBF", "Z5PADE.DBF", "Z5PADV.DBF", "Z5PAEL.DBF", "Z5PAEV.DBF",
                           "Z5PAKF.DBF", "Z5PAMV.DBF", "Z5PAOR.DBF", "Z5PAPO.DBF"})
    CloseAfterReopen(ReopenParams(name, PARAM_CURRENT_DIR));
  char pazr[] = "Z5PAZR  .DBF";
  CloseAfterReopen(ReopenParams(SetDbfYear(pazr, year), PARAM_CURRENT_DIR));
  CloseAfterReopen(ReopenParams("Z5PAZU.DBF", PARAM_CURRENT_DIR));
}

}  // namespace

void CloseAfterReopen(int result) {
  if (result < 0)
    passFailed = 1;
  else if (result == 0)
    d4close_all(&EnvCurrent()->engine);
}

int Serwis(int year, int firmTables, int commonTables) {
  Environment* env = EnvCurrent();
  env->refuseDamagedTables = 0;    // the engine asks its repair questions during the pass
  int previous = ShowWaitNotice();
  passFailed = 0;
  if (commonTables) ReopenCommon(year);
  if (firmTables) ReopenFirm(year);
  env->refuseDamagedTables = 1;
  HideWaitNotice(previous);
  if (passFailed)
    Alarm(MSG_FAILED);
  else
    Informacja(MSG_DONE);
  return 0;
}
