// Every table of the catalogue opened by its opener in a fresh firm: created
// with flags 0, then reopened with flags 3 (index rebuilt, nothing created),
// each time checked against figures worked out from the layouts on paper:
// where the file lies, its field count and record length, its tags (keys,
// filters, order), the handles bound and the tag selected.
#include <cstring>
#include <functional>
#include <string>

#include "db/db_index.h"
#include "db/expr.h"
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
#include "tables/warehouse_tables.h"
#include "tests/db/db_test_support.h"
#include "tests/db/mdx_test_support.h"
#include "tests/tables/catalogue_keys.h"
#include "tests/tables/tables_fixture.h"

namespace {

TableHandles passHandles, paosHandles, vatData;

struct Figures {
  const char* file;                 // below the test directory
  std::function<int(int flags)> open;
  TableHandles* set;
  int fields, recordLength;
  const TableLayout* tags;          // whose hand-worked tags the index holds; NULL none
  int boundFields, boundTags, selected;
};

const Figures kFigures[] = {
    {"firma/Z5SPRZ26.DBF", [](int f) { return OpenZ5SPRZ(0, f, 1); }, &Z5SPRZ, 84, 1254, &LAYOUT_Z5SPRZ, 84, 9, 0},
    {"firma/Z5SPOM26.DBF", [](int f) { return OpenZ5SPRZ(0, f, 2); }, &Z5SPRZ, 84, 1254, &LAYOUT_Z5SPRZ, 84, 9, 0},
    {"firma/Z5SPOM26.DBF", [](int f) { return OpenZ5SPRZ(0, f, 4); }, &Z5SPRZ_2, 84, 1254, &LAYOUT_Z5SPRZ, 84, 7, 0},
    {"firma/Z5SPRZ24.DBF", [](int f) { return OpenZ5SPRZ(2024, f, 5); }, &Z5SPRZ_2, 84, 1254, &LAYOUT_Z5SPRZ, 84, 7, 0},
    {"firma/Z5SPRE26.DBF", [](int f) { return OpenZ5SPRE(0, f, 1); }, &Z5SPRE, 65, 733, &LAYOUT_Z5SPRE, 65, 5, 0},
    {"firma/Z5SPOE26.DBF", [](int f) { return OpenZ5SPRE(0, f, 4); }, &Z5SPRE_2, 65, 733, &LAYOUT_Z5SPRE, 65, 4, 0},
    {"firma/Z5SPRE25.DBF", [](int f) { return OpenZ5SPRE(2025, f, 5); }, &Z5SPRE_2, 65, 733, &LAYOUT_Z5SPRE, 65, 4, 0},
    {"firma/Z5SPRO26.DBF", [](int f) { return OpenZ5SPRO(0, f, 1); }, &Z5SPRO, 17, 443, &LAYOUT_Z5SPRO, 12, 1, 1},
    {"firma/Z5SPRO26.DBF", [](int f) { return OpenZ5SPRO(0, f, 5); }, &Z5SPRO_2, 17, 443, &LAYOUT_Z5SPRO, 12, 1, 1},
    {"firma/Z5PARA26.DBF", OpenZ5PARA, &Z5PARA, 24, 276, &LAYOUT_Z5PARA, 23, 6, 0},
    {"firma/Z5PARE26.DBF", OpenZ5PARE, &Z5PARE, 35, 519, &LAYOUT_Z5PARE, 35, 4, 0},
    {"firma/Z5PARO26.DBF", OpenZ5PARO, &Z5PARO, 24, 628, &LAYOUT_Z5PARO, 23, 2, 0},
    {"firma/Z5TOWA26.DBF", OpenZ5TOWA, &Z5TOWA, 58, 752, &LAYOUT_Z5TOWA, 58, 3, 0},
    {"firma/Z5USLU.DBF", OpenZ5USLU, &Z5USLU, 39, 569, &LAYOUT_Z5USLU, 39, 2, 0},
    {"firma/Z5KHNT.DBF", OpenZ5KHNT, &Z5KHNT, 43, 926, &LAYOUT_Z5KHNT, 42, 3, 0},
    {"firma/Z5KONT.DBF", OpenZ5KONT, &Z5KONT, 9, 129, &LAYOUT_Z5KONT, 9, 3, 0},
    {"firma/Z5OPIS.DBF", OpenZ5OPIS, &Z5OPIS, 4, 78, &LAYOUT_Z5OPIS, 4, 2, 0},
    {"wspolne/Z5KRAJ.DBF", OpenZ5KRAJ, &Z5KRAJ, 12, 120, &LAYOUT_Z5KRAJ, 10, 3, 0},
    {"wspolne/Z5USKA.DBF", OpenZ5USKA, &Z5USKA, 14, 391, &LAYOUT_Z5USKA, 13, 4, 0},
    {"wspolne/Z5KURS.DBF", OpenZ5KURS, &Z5KURS, 9, 119, &LAYOUT_Z5KURS, 7, 2, 0},
    {"firma/Z5MAPR26.DBF", OpenZ5MAPR, &Z5MAPR, 27, 628, &LAYOUT_Z5MAPR, 25, 4, 0},
    {"firma/Z5MAWY26.DBF", OpenZ5MAWY, &Z5MAWY, 27, 628, &LAYOUT_Z5MAPR, 25, 4, 0},
    {"firma/Z5MAPE26.DBF", OpenZ5MAPE, &Z5MAPE, 26, 449, &LAYOUT_Z5MAPE, 24, 4, 0},
    {"firma/Z5MAWE26.DBF", OpenZ5MAWE, &Z5MAWE, 26, 449, &LAYOUT_Z5MAPE, 24, 4, 0},
    {"firma/Z5KASA.DBF", OpenZ5KASA, &Z5KASA, 35, 628, &LAYOUT_Z5KASA, 33, 7, 1},
    {"firma/Z5ROZL.DBF", OpenZ5ROZL, &Z5ROZL, 24, 510, &LAYOUT_Z5ROZL, 22, 5, 2},
    {"firma/Z5PLEW26.DBF", OpenZ5PLEW, &Z5PLEW, 34, 921, &LAYOUT_Z5PLEW, 34, 1, 0},
    {"wspolne/Z5ODUS.DBF", OpenZ5ODUS, &Z5ODUS, 4, 48, &LAYOUT_Z5ODUS, 4, 1, 1},
    {"wspolne/Z5ZAPO.DBF", OpenZ5ZAPO, &Z5ZAPO, 4, 48, &LAYOUT_Z5ODUS, 4, 1, 1},
    {"wspolne/Z5DNWO.DBF", OpenZ5DNWO, &Z5DNWO, 2, 41, &LAYOUT_Z5DNWO, 2, 1, 1},
    {"firma/Z5DANE24.DBF", [](int f) { return OpenZ5DANE(2024, f); }, &Z5DANE, 35, 567, &LAYOUT_Z5DANE, 35, 6, 0},
    {"firma/Z5RYPR22.DBF", [](int f) { return OpenZ5RYPR(2022, f); }, &Z5RYPR, 33, 418, &LAYOUT_Z5RYPR, 33, 4, 0},
    {"firma/Z5RYCZ21.DBF", [](int f) { return OpenZ5RYPR(2021, f); }, &Z5RYPR, 23, 308, &LAYOUT_Z5RYCZ, 23, 4, 0},
    {"firma/Z5ZAKU26.DBF", [](int f) { return OpenZ5ZAKU(0, f); }, &Z5ZAKU, 64, 995, &LAYOUT_Z5ZAKU, 62, 7, 0},
    {"firma/Z5ZAKE26.DBF", [](int f) { return OpenZ5ZAKE(0, f); }, &Z5ZAKE, 56, 669, &LAYOUT_Z5ZAKE, 56, 4, 0},
    {"firma/Z5VOSS26.DBF", OpenZ5VOSS, &Z5VOSS, 33, 721, &LAYOUT_Z5VOSS, 33, 2, 1},
    {"wspolne/Z5DEKL.DBF", OpenZ5DEKL, &Z5DEKL, 34, 1181, &LAYOUT_Z5DEKL, 34, 8, 1},
    {"firma/JPK_FA.DBF", [](int f) { return OpenJpkWorkTable(nullptr, "JPK_FA.DBF", f); }, &JpkWork, 99, 2089,
     &LAYOUT_JPK_WORK, 99, 1, 1},
    {"home/Z5KATA.DBF", OpenZ5KATA, &Z5KATA, 4, 102, &LAYOUT_Z5KATA, 4, 1, 0},
    {"home/Z5KAPA.DBF", OpenZ5KAPA, &Z5KAPA, 2, 11, &LAYOUT_Z5KAPA, 2, 1, 1},
    {"home/Z5PASS.DBF", [](int f) { return OpenZ5PASS(&passHandles, f); }, &passHandles, 2, 2116, &LAYOUT_Z5PASS, 2,
     1, 0},
    {"home/Z5PAOS.DBF", [](int) { return OpenZ5PAOS(&paosHandles); }, &paosHandles, 2, 36, nullptr, 2, 0, 0},
    {"firma/Z5PAWL.DBF", [](int) { return OpenZ5PAWL(); }, &Z5PAWL, 117, 2716, nullptr, 114, 0, 0},
    {"firma/Z5PRAC.DBF", OpenZ5PRAC, &Z5PRAC, 131, 1530, &LAYOUT_Z5PRAC, 131, 4, 1},
    {"firma/Z5PENS26.DBF", [](int f) { return OpenZ5PENS(0, f, 1); }, &Z5PENS, 77, 709, &LAYOUT_Z5PENS, 76, 3, 1},
    {"firma/Z5PENS26.DBF", [](int f) { return OpenZ5PENS(0, f, 2); }, &Z5PENS_2, 77, 709, &LAYOUT_Z5PENS, 77, 3, 1},
    {"firma/Z5PESK26.DBF", [](int f) { return OpenZ5PESK(0, f, 1); }, &Z5PESK, 30, 233, &LAYOUT_Z5PESK, 30, 2, 2},
    {"firma/Z5PESK26.DBF", [](int f) { return OpenZ5PESK(0, f, 2); }, &Z5PESK_2, 30, 233, &LAYOUT_Z5PESK, 30, 2, 0},
    {"wspolne/Z5PELI.DBF", OpenZ5PELI, &Z5PELI, 16, 173, &LAYOUT_Z5PELI, 14, 2, 0},
    {"firma/Z5UMOW26.DBF", [](int f) { return OpenZ5UMOW(0, f); }, &Z5UMOW, 68, 1156, &LAYOUT_Z5UMOW, 68, 6, 2},
    {"firma/Z5UMPR.DBF", OpenZ5UMPR, &Z5UMPR, 6, 463, &LAYOUT_Z5UMPR, 6, 1, 0},
    {"firma/Z5SRDN.DBF", OpenZ5SRDN, &Z5SRDN, 36, 354, &LAYOUT_Z5SRDN, 36, 3, 1},
    {"wspolne/Z5KZUS.DBF", OpenZ5KZUS, &Z5KZUS, 9, 365, &LAYOUT_Z5KZUS, 9, 1, 0},
    {"firma/Z5NIEO26.DBF", [](int f) { return OpenZ5NIEO(0, f); }, &Z5NIEO, 18, 243, &LAYOUT_Z5NIEO, 16, 2, 0},
    {"firma/Z5ZUSD26.DBF", OpenZ5ZUSD, &Z5ZUSD, 7, 75, &LAYOUT_Z5ZUSD, 5, 1, 1},
    {"firma/Z5ZUSP26.DBF", OpenZ5ZUSP, &Z5ZUSP, 10, 86, &LAYOUT_Z5ZUSP, 8, 1, 1},
    {"firma/Z5ZUSR26.DBF", OpenZ5ZUSR, &Z5ZUSR, 20, 160, &LAYOUT_Z5ZUSR, 18, 1, 1},
    {"firma/Z5ZUSS26.DBF", OpenZ5ZUSS, &Z5ZUSS, 96, 837, &LAYOUT_Z5ZUSS, 94, 1, 1},
    {"firma/Z5ZUWS26.DBF", [](int f) { return OpenZ5ZUWS(2026, f); }, &Z5ZUWS, 131, 1297, &LAYOUT_Z5ZUWS, 129, 3, 1},
    {"firma/Z5ZFSS26.DBF", OpenZ5ZFSS, &Z5ZFSS, 10, 215, &LAYOUT_Z5ZFSS, 10, 3, 2},
    {"firma/Z5WSPL26.DBF", OpenZ5WSPL, &Z5WSPL, 192, 4240, &LAYOUT_Z5WSPL, 192, 1, 1},
    {"firma/Z5WSSK26.DBF", OpenZ5WSSK, &Z5WSSK, 12, 186, &LAYOUT_Z5WSSK, 10, 1, 0},
    {"firma/Z5PITM26.DBF", [](int f) { return OpenZ5PIT(f, 'N'); }, &Z5PIT, 179, 2056, &LAYOUT_Z5PITM, 179, 1, 1},
    {"firma/Z5PITK26.DBF", [](int f) { return OpenZ5PIT(f, 'T'); }, &Z5PIT, 179, 2056, &LAYOUT_Z5PITM, 179, 1, 1},
    {"firma/Z5PILM26.DBF", [](int f) { return OpenZ5PIL(f, 'N'); }, &Z5PIL, 96, 1056, &LAYOUT_Z5PILM, 96, 1, 1},
    {"firma/Z5PILK26.DBF", [](int f) { return OpenZ5PIL(f, 'T'); }, &Z5PIL, 96, 1056, &LAYOUT_Z5PILM, 96, 1, 1},
    {"firma/Z5RYTM26.DBF", [](int f) { return OpenZ5RYT(f, 'N'); }, &Z5RYT, 102, 974, &LAYOUT_Z5RYTM, 102, 1, 1},
    {"firma/Z5RYTK26.DBF", [](int f) { return OpenZ5RYT(f, 'T'); }, &Z5RYT, 102, 974, &LAYOUT_Z5RYTM, 102, 1, 1},
    {"firma/Z5VATR.DBF", OpenZ5VATR, &Z5VATR, 32, 359, &LAYOUT_Z5VATR, 32, 1, 0},
    {"firma/Z5PI1126.DBF", OpenZ5PI11, &Z5PI11, 91, 1115, &LAYOUT_Z5PI11, 91, 1, 1},
    {"firma/Z5V27M26.DBF", [](int f) { return OpenZ5V27(f, 'N'); }, &Z5V27, 26, 860, &LAYOUT_Z5V27M, 23, 3, 1},
    {"firma/Z5V27K26.DBF", [](int f) { return OpenZ5V27(f, 'T'); }, &Z5V27, 26, 860, &LAYOUT_Z5V27M, 23, 3, 1},
    {"firma/Z5VUEM26.DBF", [](int f) { return OpenZ5VUE(f, 'N'); }, &Z5VUE, 20, 516, &LAYOUT_Z5VUEM, 19, 2, 1},
    {"firma/Z5VUEK26.DBF", [](int f) { return OpenZ5VUE(f, 'T'); }, &Z5VUE, 20, 516, &LAYOUT_Z5VUEM, 19, 2, 1},
    {"firma/Z5VZNM.DBF", [](int f) { return OpenZ5VZ(1, f); }, &Z5VZ, 47, 740, &LAYOUT_Z5VZNM, 41, 6, 3},
    {"firma/Z5VZNK.DBF", [](int f) { return OpenZ5VZ(5, f); }, &Z5VZ, 47, 740, &LAYOUT_Z5VZNM, 41, 6, 3},
    {"firma/Z5NOTY26.DBF", OpenZ5NOTY, &Z5NOTY, 42, 1158, &LAYOUT_Z5NOTY, 42, 6, 1},
    {"firma/Z5V7JM26.DBF", [](int f) { return OpenZ5V7J(f, 13); }, &Z5V7J, 133, 2167, &LAYOUT_Z5V7JM, 91, 4, 2},
    {"firma/Z5V7JK26.DBF", [](int f) { return OpenZ5V7J(f, 14); }, &Z5V7J, 133, 2167, &LAYOUT_Z5V7JM, 91, 4, 2},
    {"wspolne/Z5LXML.DBF", OpenZ5LXML, &Z5LXML, 20, 484, &LAYOUT_Z5LXML, 15, 7, 1},
    {"firma/Z5V7MC26.DBF", [](int f) { return OpenVatDataTable(&vatData, 0, 2026, 13, f); }, &vatData, 236, 3918,
     &LAYOUT_Z5V7MC, 236, 1, 1},
    {"firma/Z5V7KW25.DBF", [](int f) { return OpenVatDataTable(&vatData, 0, 2025, 14, f); }, &vatData, 236, 3918,
     &LAYOUT_Z5V7MC, 236, 1, 1},
    {"firma/Z5SAMO.DBF", OpenZ5SAMO, &Z5SAMO, 15, 229, &LAYOUT_Z5SAMO, 15, 1, 1},
    {"firma/Z5PRCE.DBF", OpenZ5PRCE, &Z5PRCE, 3, 85, &LAYOUT_Z5PRCE, 3, 1, 0},
    {"firma/Z5PRZE26.DBF", OpenZ5PRZE, &Z5PRZE, 15, 249, &LAYOUT_Z5PRZE, 14, 1, 1},
    {"firma/Z5RASA26.DBF", OpenZ5RASA, &Z5RASA, 21, 328, &LAYOUT_Z5RASA, 19, 1, 0},
    {"firma/Z5AMOR26.DBF", OpenZ5AMOR, &Z5AMOR, 25, 589, &LAYOUT_Z5AMOR, 23, 1, 0},
    {"firma/Z5DOWO26.DBF", OpenZ5DOWO, &Z5DOWO, 15, 222, &LAYOUT_Z5DOWO, 14, 3, 0},
    {"firma/Z5DOWE26.DBF", OpenZ5DOWE, &Z5DOWE, 10, 176, &LAYOUT_Z5DOWE, 10, 1, 1},
    {"firma/Z5SKUP.DBF", OpenZ5SKUP, &Z5SKUP, 32, 847, &LAYOUT_Z5SKUP, 30, 5, 0},
    {"firma/Z5WYPO.DBF", OpenZ5WYPO, &Z5WYPO, 15, 378, &LAYOUT_Z5WYPO, 13, 2, 0},
    {"firma/Z5SPZE26.DBF", OpenZ5SPZE, &Z5SPZE, 37, 383, &LAYOUT_Z5SPZE, 35, 3, 0},
};

int LeadingHandles(void* const* handles, int capacity) {
  int n = 0;
  while (n < capacity && handles[n] != nullptr) n++;
  return n;
}

class CatalogueOpenersTest : public TablesTest {
 protected:
  void Check(const Figures& f, int flags) {
    SCOPED_TRACE(std::string(f.file) + " flags " + std::to_string(flags));
    std::memset(f.set, 0, sizeof *f.set);
    ASSERT_EQ(f.open(flags), 0);
    DbTable* table = f.set->table;
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(Exists(dir + f.file));
    EXPECT_EQ(d4num_fields(table), f.fields);
    EXPECT_EQ((int)d4record_width(table), f.recordLength);
    EXPECT_EQ(LeadingHandles((void* const*)f.set->field, HANDLE_FIELDS), f.boundFields);
    EXPECT_EQ(LeadingHandles((void* const*)f.set->tag, DBF_DEF_MAX_TAGS), f.boundTags);
    const CatalogueTable* expected = f.tags != nullptr ? HandWorkedTags(f.tags) : nullptr;
    int count = 0;
    for (DbTag* tag = d4tag_next(table, nullptr); tag != nullptr; tag = d4tag_next(table, tag), count++) {
      ASSERT_NE(expected, nullptr);
      ASSERT_LT(count, (int)expected->tags.size());
      const CatalogueTag& t = expected->tags[(size_t)count];
      EXPECT_STREQ(expr4source(tag->expr), t.key);
      EXPECT_STREQ(tag->filter != nullptr ? expr4source(tag->filter) : "", t.filter[0] ? t.filter : ".NOT.DELETED()");
      EXPECT_EQ(t4descending(tag) != 0, t.descending);
    }
    EXPECT_EQ(count, expected != nullptr ? (int)expected->tags.size() : 0);
    EXPECT_EQ(d4tag_selected(table), f.selected > 0 ? f.set->tag[f.selected - 1] : nullptr);
    d4close_all(&env->engine);
    EXPECT_EQ(f.set->table, nullptr);
  }
};

TEST_F(CatalogueOpenersTest, EveryTableOpensWithItsFiguresThenReopensForMaintenance) {
  for (const Figures& f : kFigures) {
    Check(f, 0);
    Check(f, 3);
  }
}

// Read back without the engine: a reader of the file format and of the index layout.
TEST_F(CatalogueOpenersTest, SalesHeadersOnDiskFollowTheLayout) {
  ASSERT_EQ(OpenZ5SPRZ(0, 0, SALES_MAIN), 0);
  ASSERT_EQ(d4append_start(Z5SPRZ.table, 0), 0);
  d4blank(Z5SPRZ.table);
  f4assign(Z5SPRZ.field[9], "FV");      // PRE
  f4assign_int(Z5SPRZ.field[10], 12);   // NRV
  f4assign_int(Z5SPRZ.field[8], 1);     // TYV
  ASSERT_EQ(d4append(Z5SPRZ.table), 0);
  d4close_all(&env->engine);

  PlainDbf dbf(ReadFile(firm + "Z5SPRZ26.DBF"));
  ASSERT_EQ(dbf.fields.size(), 84u);
  EXPECT_EQ(dbf.record_width, 1254u);
  EXPECT_EQ(dbf.fields[2].name, "IFA");
  EXPECT_EQ(dbf.fields[2].width, 36u);
  EXPECT_EQ(dbf.fields[64].name, "KVA");
  EXPECT_EQ(dbf.fields[64].decimals, 6u);
  EXPECT_EQ(dbf.fields[83].name, "PKA");
  EXPECT_EQ(dbf.Value(1, 9), "FV  ");
  EXPECT_EQ(dbf.Value(1, 10), "   12");

  MdxView mdx;
  ASSERT_TRUE(mdx.Load(firm + "Z5SPRZ26.MDX"));
  ASSERT_EQ(mdx.tag_count, 9);
  EXPECT_EQ(mdx.tags[0].name, "1");
  EXPECT_EQ(mdx.tags[0].expr, "STR(NRV,5,0)+UPPER(PRE)+UPPER(POS)+STR(TYV,2,0)");
  EXPECT_EQ(mdx.tags[8].name, "9");
  ASSERT_EQ(mdx.tags[0].keys.size(), 1u);
  EXPECT_EQ(mdx.tags[0].keys[0].key, "   12FV            1");
  EXPECT_EQ(mdx.tags[0].keys[0].record, 1);
  EXPECT_TRUE(mdx.tags[0].error.empty());
}

}  // namespace
