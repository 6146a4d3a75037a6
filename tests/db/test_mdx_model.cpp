// Random appends, key-changing writes, deletes and packs against an
// in-memory model: after every batch each tag holds exactly the model's
// keys in order, on disk and through the engine, and every seek agrees.
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "tests/db/mdx_test_support.h"

namespace {

struct ModelRecord {
  std::string name, amount, note;   // field texts
  bool deleted;
};

class MdxModelTest : public MdxTest {
 protected:
  std::vector<ModelRecord> model;

  // 0 by name (live records only), 1 by amount, 2 by the long note.
  std::vector<long> Expected(int tag) {
    bool by_name = tag == 0;
    std::vector<long> order;
    for (size_t i = 0; i < model.size(); i++)
      if (!by_name || !model[i].deleted) order.push_back((long)i + 1);
    std::stable_sort(order.begin(), order.end(), [&](long a, long b) {
      const ModelRecord& x = model[(size_t)a - 1];
      const ModelRecord& y = model[(size_t)b - 1];
      if (by_name) return c4collate_compare(x.name.data(), y.name.data(), 6) < 0;
      if (tag == 2) return c4collate_compare(x.note.data(), y.note.data(), 90) < 0;
      char kx[BCD_KEY_LEN], ky[BCD_KEY_LEN];
      c4bcd_from_a(kx, x.amount.data(), 8);
      c4bcd_from_a(ky, y.amount.data(), 8);
      return c4bcd_compare(kx, ky, BCD_KEY_LEN) < 0;
    });
    return order;
  }

  std::vector<long> Walk(DbTable* t, const char* tag) {
    d4tag_select(t, d4tag(t, tag));
    std::vector<long> out;
    for (int r = d4top(t); r == 0 && out.size() <= model.size(); r = d4skip(t, 1)) out.push_back(d4recno(t));
    return out;
  }

  void CheckSeek(DbTable* t, const std::string& sought) {
    d4tag_select(t, d4tag(t, "NAZWA"));
    std::vector<long> order = Expected(0);
    int expected = 3;
    long record = 0;
    for (long r : order) {
      int c = c4collate_compare(model[(size_t)r - 1].name.data(), sought.data(), (unsigned)sought.size());
      if (c >= 0) {
        expected = c == 0 ? 0 : 2;
        record = r;
        break;
      }
    }
    ASSERT_EQ(d4seek(t, sought.c_str()), expected) << sought;
    if (expected != 3) {
      ASSERT_EQ(d4recno(t), record) << sought;
    }
  }
};

TEST_F(MdxModelTest, RandomChangesKeepEveryTagInStepWithTheModel) {
  // The note's 90-byte keys fit ten to a block, so its tree grows several levels.
  std::vector<DbfFieldDef> fields = {{"NAZWA", 'C', 6, 0}, {"KWOTA", 'N', 8, 2}, {"OPIS", 'C', 90, 0}, {nullptr, 0, 0, 0}};
  auto tags = Tags({{"NAZWA", "NAZWA", ".NOT.DELETED()", 0, 0}, {"KWOTA", "KWOTA", ".T.", 0, 0}, {"OPIS", "OPIS", ".T.", 0, 0}});
  DbTable* t = d4create(engine, "MODEL", fields.data(), tags.data());
  ASSERT_NE(t, nullptr);
  std::mt19937 random(20261210);
  auto name = [&]() {
    std::string n;
    for (int i = 0; i < 3; i++) n += (char)('A' + random() % 6);
    n.resize(6, ' ');
    return n;
  };
  auto note = [&](ModelRecord& rec) {
    rec.note = rec.name + std::to_string(random() % 50);
    rec.note.resize(90, ' ');
    f4assign(d4field_j(t, 3), rec.note.c_str());
  };
  auto amount = [&](DbField* field) {
    f4assign_double(field, (double)((int)(random() % 20001) - 10000) / 100);
    return std::string(f4ptr(field), 8);
  };
  int most_branches = 0;
  for (int batch = 0; batch < 12; batch++) {
    for (int op = 0; op < 250; op++) {
      unsigned kind = random() % 100;
      if (kind < 45 || model.empty()) {
        d4append_start(t, 0);
        d4blank(t);
        ModelRecord rec{name(), "", "", false};
        f4assign(d4field_j(t, 1), rec.name.c_str());
        rec.amount = amount(d4field_j(t, 2));
        note(rec);
        ASSERT_EQ(d4append(t), 0);
        model.push_back(rec);
      } else if (kind < 80) {
        long n = (long)(random() % model.size()) + 1;
        ASSERT_EQ(d4go(t, n), 0);
        if (random() % 2) {
          model[(size_t)n - 1].name = name();
          f4assign(d4field_j(t, 1), model[(size_t)n - 1].name.c_str());
          note(model[(size_t)n - 1]);
        } else {
          model[(size_t)n - 1].amount = amount(d4field_j(t, 2));
        }
      } else if (kind < 98) {
        long n = (long)(random() % model.size()) + 1;
        ASSERT_EQ(d4go(t, n), 0);
        if (model[(size_t)n - 1].deleted) {
          d4recall(t);
        } else {
          d4delete(t);
        }
        model[(size_t)n - 1].deleted = !model[(size_t)n - 1].deleted;
      } else {
        ASSERT_EQ(d4pack(t), 0);
        ASSERT_EQ(d4unlock(t), 0);
        model.erase(std::remove_if(model.begin(), model.end(), [](const ModelRecord& r) { return r.deleted; }),
                    model.end());
      }
    }
    ASSERT_EQ(d4flush(t), 0);
    ASSERT_EQ(d4unlock(t), 0);
    SCOPED_TRACE("batch " + std::to_string(batch));
    std::vector<long> by_name = Expected(0), by_amount = Expected(1), by_note = Expected(2);
    ASSERT_EQ(Walk(t, "NAZWA"), by_name);
    ASSERT_EQ(Walk(t, "KWOTA"), by_amount);
    ASSERT_EQ(Walk(t, "OPIS"), by_note);
    for (int s = 0; s < 15; s++) {
      std::string sought = name().substr(0, 1 + random() % 3);
      CheckSeek(t, sought);
    }
    // An independent reader of the file finds the same keys in the same order.
    MdxView v;
    ASSERT_TRUE(v.Load(Path("MODEL.MDX")));
    ASSERT_EQ(v.tags.size(), 3u);
    most_branches = std::max(most_branches, v.tags[2].branches);
    for (int i = 0; i < 3; i++) {
      const std::vector<long>& expected = i == 0 ? by_name : i == 1 ? by_amount : by_note;
      ASSERT_EQ(v.tags[(size_t)i].error, "");
      ASSERT_EQ(v.tags[(size_t)i].keys.size(), expected.size());
      for (size_t k = 0; k < expected.size(); k++) {
        ASSERT_EQ(v.tags[(size_t)i].keys[k].record, expected[k]);
        if (i == 0) {
          ASSERT_EQ(v.tags[0].keys[k].key, model[(size_t)expected[k] - 1].name);
        }
      }
    }
  }
  EXPECT_GT(model.size(), 500u);
  // More branches than one root can hold: the tree had three levels or more.
  EXPECT_GE(most_branches, 12);
  EXPECT_EQ(d4close(t), 0);
}

}  // namespace
