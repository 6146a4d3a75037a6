// The name/address clipboard: copying the module's fields into it and
// pasting them back, member widths against field widths.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "masterdata/address_clipboard.h"
#include "tests/app/record_fixture.h"
#include "tests/masterdata/masterdata_fixture.h"

namespace {

constexpr int CTRL_O = 15, CTRL_Z = 26;

// A document's buyer fields: KNA, NA1, NA2, KOP, MIA, ULI, NIP, RE3.
MemoryRecord Buyer() {
  return MemoryRecord({{"KNA", 'C', 20, 0}, {"NA1", 'C', 70, 0}, {"NA2", 'C', 70, 0}, {"KOP", 'C', 6, 0},
                       {"MIA", 'C', 25, 0}, {"ULI", 'C', 64, 0}, {"NIP", 'C', 20, 0}, {"RE3", 'C', 1, 0}});
}

class ClipboardTest : public MasterdataTest {
 protected:
  MemoryRecord from = Buyer(), to = Buyer();

  void TearDown() override {
    free_schowek_adresu();
    pola_schowka_adresu = PolaSchowkaAdresu{};
    MasterdataTest::TearDown();
  }
  static void PointAt(MemoryRecord& r, bool withFlag) {
    pola_schowka_adresu = PolaSchowkaAdresu{};
    pola_schowka_adresu.code = r[0];
    pola_schowka_adresu.name1 = r[1];
    pola_schowka_adresu.name2 = r[2];
    pola_schowka_adresu.postal_code = r[3];
    pola_schowka_adresu.town = r[4];
    pola_schowka_adresu.street = r[5];
    pola_schowka_adresu.nip = r[6];
    if (withFlag) pola_schowka_adresu.flag = r[7];
  }
  static std::string Text(DbField* f) { return std::string(f4ptr(f), f4len(f)); }
  static std::string Padded(const std::string& s, size_t n) { return s + std::string(n - s.size(), ' '); }
  static std::string Member(const char* m, size_t n) { return std::string(m, n); }
};

TEST_F(ClipboardTest, FreshClipboardPastesBlanks) {
  ASSERT_EQ(alloc_schowek_adresu(), 0);
  ASSERT_NE(schowek_adresu, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(schowek_adresu), sizeof(SchowekAdresu)), std::string(431, ' '));
  for (size_t i = 0; i < 8; i++) to.Set(i, std::string(80, 'X'));
  PointAt(to, true);
  char code[21];
  std::memset(code, 'X', sizeof code);
  EXPECT_EQ(wklej_adres(CTRL_O, code), 1);
  EXPECT_EQ(std::string(code, 20), std::string(20, ' '));
  EXPECT_EQ(code[20], 'X');   // only as much as the code field is wide
  for (size_t i = 1; i < 8; i++) EXPECT_EQ(Text(to[i]), std::string(f4len(to[i]), ' ')) << i;
}

TEST_F(ClipboardTest, CopyThenPaste) {
  ASSERT_EQ(alloc_schowek_adresu(), 0);
  from.Set(0, "K001");
  from.Set(1, "Firma Handlowa");
  from.Set(2, "Sp. z o.o.");
  from.Set(3, "00-950");
  from.Set(4, "Warszawa");
  from.Set(5, "ul. Polna 1");
  from.Set(6, "5260250995");
  from.Set(7, "T");
  PointAt(from, true);
  EXPECT_EQ(kopiuj_adres(CTRL_Z), 0);
  EXPECT_EQ(Member(schowek_adresu->code, 50), Padded("K001", 50));
  EXPECT_EQ(Member(schowek_adresu->town, 50), Padded("Warszawa", 50));
  EXPECT_EQ(schowek_adresu->flag[0], 'T');

  PointAt(to, true);
  char code[20];
  EXPECT_EQ(wklej_adres(CTRL_O, code), 1);
  EXPECT_EQ(std::string(code, 20), Padded("K001", 20));
  for (size_t i = 1; i < 8; i++) EXPECT_EQ(Text(to[i]), Text(from[i])) << i;
}

TEST_F(ClipboardTest, MemberWidthsAgainstFieldWidths) {
  ASSERT_EQ(alloc_schowek_adresu(), 0);
  std::memset(schowek_adresu->town, 'Z', sizeof schowek_adresu->town);
  std::memset(schowek_adresu->flag, 'N', 1);
  // Copying from a 25-character town leaves the member's tail; a set without
  // a flag leaves the flag member alone.
  from.Set(4, "Opole");
  PointAt(from, false);
  kopiuj_adres_do_schowka();
  EXPECT_EQ(Member(schowek_adresu->town, 50), Padded("Opole", 25) + std::string(25, 'Z'));
  EXPECT_EQ(schowek_adresu->flag[0], 'N');
  // Pasting into a 6-character postal code takes the member's first characters.
  std::memcpy(schowek_adresu->postal_code, "12-345 and more", 15);
  PointAt(to, false);
  to.Set(7, "T");
  char code[20];
  wklej_adres(CTRL_O, code);
  EXPECT_EQ(Text(to[3]), "12-345");
  EXPECT_EQ(Text(to[4]), Padded("Opole", 25));
  EXPECT_EQ(Text(to[7]), "T");
}

TEST_F(ClipboardTest, OnlyItsKeysAndOnlyWithAClipboard) {
  from.Set(1, "Firma");
  to.Set(1, "Inna");
  PointAt(from, true);
  char code[20] = "K";
  // No clipboard: both keys do nothing.
  EXPECT_EQ(kopiuj_adres(CTRL_Z), 0);
  EXPECT_EQ(wklej_adres(CTRL_O, code), 0);
  ASSERT_EQ(alloc_schowek_adresu(), 0);
  EXPECT_EQ(kopiuj_adres(CTRL_O), 0);
  EXPECT_EQ(Member(schowek_adresu->name1, 80), std::string(80, ' '));
  // An empty browse: " Brak pozycji !" and nothing copied.
  BrowseContext empty{};
  empty.is_empty = 1;
  CurrentBrowse = &empty;
  EXPECT_EQ(Run("{F9} ", [] { return kopiuj_adres(CTRL_Z); }), 0);
  EXPECT_TRUE(Shown("Brak pozycji !"));
  EXPECT_EQ(Member(schowek_adresu->name1, 80), std::string(80, ' '));
  CurrentBrowse = nullptr;
  PointAt(to, true);
  EXPECT_EQ(wklej_adres(CTRL_Z, code), 0);
  EXPECT_EQ(Text(to[1]), Padded("Inna", 70));
  EXPECT_EQ(free_schowek_adresu(), 0);
  EXPECT_EQ(schowek_adresu, nullptr);
}

}  // namespace
