// The copy of a sales document into the other register through the exchange
// copies in the firm directory.
#include <string>
#include <utility>
#include <vector>

#include "db/db_index.h"
#include "db/db_lock.h"
#include "tables/exchange_tables.h"
#include "tables/sales_tables.h"
#include "tests/tables/tables_fixture.h"
#include "ui/browse.h"

namespace {

// Header fields by position.
constexpr int H_SDR = 3, H_TYV = 8, H_PRE = 9, H_NRV = 10, H_LPO = 43, H_DZA = 44, H_REK = 47, H_REC = 48,
              H_TYM = 56, H_INF = 74;
// Line fields.
constexpr int L_TYV = 3, L_NA1 = 14, L_REK = 33, L_REC = 34, L_INF = 58;

class DocumentCopyTest : public TablesTest {
 protected:
  // The " Sprzedaż " action's tables: the main register current, the
  // auxiliary one in the second set; one document there already.
  void OpenMainRegister() {
    ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_MAIN), 0);
    ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_MAIN), 0);
    ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_AUX_SECOND), 0);
    ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_AUX_SECOND), 0);
    Append(Z5SPRZ_2, {{H_TYV, "9"}, {H_REC, "1"}});
    Append(Z5SPRE_2, {{L_REK, "1"}, {L_REC, "1"}});
  }
  // A document REC 5 of the kind with two lines, and a line of another document.
  void Document(TableHandles& headers, TableHandles& lines, const char* kind, bool withLines = true) {
    Append(headers, {{H_TYV, kind}, {H_PRE, "FV"}, {H_NRV, "7"}, {H_REC, "5"}, {H_REK, "3"}, {H_LPO, "4"},
                     {H_DZA, "20261201"}});
    if (withLines) {
      Append(lines, {{L_TYV, kind}, {L_NA1, "pierwsza"}, {L_REK, "5"}, {L_REC, "11"}});
      Append(lines, {{L_TYV, kind}, {L_NA1, "obca"}, {L_REK, "6"}, {L_REC, "12"}});
      Append(lines, {{L_TYV, kind}, {L_NA1, "druga"}, {L_REK, "5"}, {L_REC, "13"}});
    }
    ASSERT_EQ(d4go(headers.table, d4reccount(headers.table)), 0);
  }
};

TEST_F(DocumentCopyTest, DocumentGoesToTheOtherRegisterRenumbered) {
  struct Case {
    const char* kind;
    const char* tyv, *tym, *sdr;
  };
  const Case cases[] = {{"2", "9", "", "3"}, {"3", "3", "9", ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    OpenMainRegister();
    Document(Z5SPRZ, Z5SPRE, c.kind);
    ASSERT_EQ(CopyDocumentToExchange(1), 0);

    DbTable* headers = Z5SPRZ_2.table;
    ASSERT_EQ(d4reccount(headers), 2);
    ASSERT_EQ(d4go(headers, 2), 0);
    DbField** h = Z5SPRZ_2.field;
    EXPECT_EQ(Trim(h[H_TYV]), c.tyv);
    EXPECT_EQ(Trim(h[H_TYM]), c.tym);
    EXPECT_EQ(Trim(h[H_SDR]), c.sdr);
    EXPECT_EQ(Trim(h[H_PRE]), "FV");
    EXPECT_EQ(f4long(h[H_REC]), 2);
    EXPECT_EQ(Trim(h[H_REK]), "");
    EXPECT_EQ(Trim(h[H_LPO]), "");
    EXPECT_EQ(Trim(h[H_DZA]), "");
    EXPECT_NE(Trim(h[H_INF]), "");

    DbTable* lines = Z5SPRE_2.table;
    ASSERT_EQ(d4reccount(lines), 3);
    const char* names[] = {"pierwsza", "druga"};
    for (int n = 2; n <= 3; n++) {
      ASSERT_EQ(d4go(lines, n), 0);
      DbField** l = Z5SPRE_2.field;
      EXPECT_EQ(Trim(l[L_NA1]), names[n - 2]);
      EXPECT_EQ(f4long(l[L_REK]), 2);
      EXPECT_EQ(f4long(l[L_REC]), n);
      EXPECT_EQ(Trim(l[L_TYV]), c.tyv);
      EXPECT_NE(Trim(l[L_INF]), "");
    }
    // The exchange copies stay in the firm directory.
    EXPECT_TRUE(Exists(firm + "Z5SPEX26.DBF"));
    EXPECT_TRUE(Exists(firm + "Z5ESEX26.DBF"));
    d4close_all(&env->engine);
    for (const char* name : {"Z5SPRZ26.DBF", "Z5SPRE26.DBF", "Z5SPOM26.DBF", "Z5SPOE26.DBF"})
      PlatFileDelete((firm + name).c_str());
  }
}

TEST_F(DocumentCopyTest, FromTheAuxiliaryRegisterTheMainOneIsOpenedAndClosedAgain) {
  ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_AUX), 0);
  ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_AUX), 0);
  Document(Z5SPRZ, Z5SPRE, "2");
  ASSERT_EQ(CopyDocumentToExchange(2), 0);
  EXPECT_EQ(Z5SPRZ_2.table, nullptr);
  EXPECT_EQ(Z5SPRE_2.table, nullptr);
  d4close_all(&env->engine);
  ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_MAIN), 0);
  ASSERT_EQ(d4reccount(Z5SPRZ.table), 1);
  ASSERT_EQ(d4go(Z5SPRZ.table, 1), 0);
  EXPECT_EQ(Trim(Z5SPRZ.field[H_TYV]), "1");
  EXPECT_EQ(Trim(Z5SPRZ.field[H_SDR]), "1");
  EXPECT_EQ(f4long(Z5SPRZ.field[H_REC]), 1);
  ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_MAIN), 0);
  ASSERT_EQ(SeekSalesLinesByRek(1), 0);
  EXPECT_EQ(Trim(Z5SPRE.field[L_NA1]), "pierwsza");
}

TEST_F(DocumentCopyTest, HeaderWithoutLinesIsNotCopied) {
  OpenMainRegister();
  Document(Z5SPRZ, Z5SPRE, "2", false);
  EXPECT_EQ(CopyDocumentToExchange(1), -1);
  EXPECT_EQ(d4reccount(Z5SPRZ_2.table), 1);
  EXPECT_EQ(d4reccount(Z5SPRE_2.table), 1);
  d4close_all(&env->engine);
  // The header copy holds the header.
  static char pattern[] = "Z5SPEX  .DBF";
  ASSERT_EQ(OpenZ5SPRZCopy(pattern, 0, EnvFromDiskPath(firm).c_str(), 2026), 0);
  EXPECT_EQ(d4reccount(SprzCopy.table), 1);
}

// A line that cannot be appended withdraws the header appended before it.
TEST_F(DocumentCopyTest, FailedCopyLeavesNoHalfDocument) {
  OpenMainRegister();
  Document(Z5SPRZ, Z5SPRE, "2");
  env->engine.lock_tries = 1;
  DbTable* other = d4open(&env->engine, "Z5SPOE26.DBF");
  ASSERT_NE(other, nullptr);
  ASSERT_EQ(d4lock_append(other), 0);
  HeadlessSetScript("{ESC}{ESC}{ESC}{ESC}");
  EXPECT_EQ(CopyDocumentToExchange(1), -1);
  d4unlock(other);
  d4close(other);
  env->engine.error_code = 0;
  DbTable* headers = Z5SPRZ_2.table;
  ASSERT_EQ(d4reccount(headers), 2);
  ASSERT_EQ(d4go(headers, 2), 0);
  EXPECT_TRUE(d4deleted(headers));
  EXPECT_EQ(d4reccount(Z5SPRE_2.table), 1);
}

TEST_F(DocumentCopyTest, EmptyRegisterCopiesNothing) {
  OpenMainRegister();
  BrowseContext* browse = nullptr;
  ASSERT_EQ(allocate_browse(&browse, Z5SPRZ.table, nullptr, nullptr, -1), 0);
  browse->is_empty = 1;    // as the browse's last display found no record
  HeadlessSetScript("{ENTER}");
  EXPECT_EQ(CopyDocumentToExchange(1), 0);
  EXPECT_EQ(HeadlessKeysLeft(), 0);    // the operator was told
  free_browse(&browse);
  EXPECT_EQ(d4reccount(Z5SPRZ_2.table), 1);
  EXPECT_FALSE(Exists(firm + "Z5SPEX26.DBF"));
  // Without a browse nothing is shown, and an empty register still copies nothing.
  EXPECT_EQ(CopyDocumentToExchange(1), 0);
  EXPECT_FALSE(Exists(firm + "Z5SPEX26.DBF"));
}

TEST_F(DocumentCopyTest, LinesAreFoundByTheirDocument) {
  ASSERT_EQ(OpenZ5SPRE(0, 0, SALES_MAIN), 0);
  Append(Z5SPRE, {{L_NA1, "inna"}, {L_REK, "7"}});
  Append(Z5SPRE, {{L_NA1, "pierwsza"}, {L_REK, "12"}});
  Append(Z5SPRE, {{L_NA1, "druga"}, {L_REK, "12"}});
  ASSERT_EQ(SeekSalesLinesByRek(12), 0);
  EXPECT_EQ(d4recno(Z5SPRE.table), 2);
  EXPECT_EQ(SeekSalesLinesByRek(8), 2);
  EXPECT_EQ(SeekSalesLinesByRek(13), 3);
}

}  // namespace
