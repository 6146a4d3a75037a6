// The ELZAB registers through their communication programs: small shell
// scripts under the programs' names stand for them, keep what they were
// given and answer with prepared files and chosen exit codes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <deque>
#include <string>

#include "env/code_pages.h"
#include "fiscal/elzab_register_driver.h"
#include "platform/program_dir.h"
#include "tests/fiscal/register_fixture.h"

namespace {

class ElzabRegisterTest : public RegisterTest {
 protected:
  void SetUp() override {
    RegisterTest::SetUp();
    if (HasFatalFailure()) return;
    UseType(KASA_ELZAB);
    programs = PlatProgramDir();
  }
  void TearDown() override {
    KFClose();
    RegisterTest::TearDown();
  }
  // A program that copies its arguments' files beside it as "<name>.in<i>",
  // copies "<name>.out" over its last argument when there is one, and exits
  // with `code`.
  void Program(const std::string& name, const std::string& body = "exit 0") {
    std::string path = programs + name;
    FILE* f = std::fopen(path.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fprintf(f, "#!/bin/sh\nbase=$(basename \"$0\" | tr A-Z a-z)\ni=1\nfor a in \"$@\"; do cp \"$a\" \"$base.in$i\" 2>/dev/null; i=$((i+1)); done\n"
                    "[ -f \"$base.out\" ] && for a in \"$@\"; do last=\"$a\"; done && cp \"$base.out\" \"$last\"\n%s\n",
                 body.c_str());
    std::fclose(f);
    chmod(path.c_str(), 0755);
  }
  void Put(const std::string& name, const std::string& text) {
    FILE* f = std::fopen((programs + name).c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs(text.c_str(), f);
    std::fclose(f);
  }
  std::string Got(const std::string& name) { return FileText((programs + name).c_str()); }
  // A goods record whose texts live as long as the test.
  KFTowar Goods(const char* code, long record = 7, int department = 2) {
    std::string& codeField = texts.emplace_back(code);
    codeField.resize(18, ' ');
    std::string& nameField = texts.emplace_back(Utf8ToMazText("Łódź ziemniaki młode"));
    nameField.resize(40, ' ');
    return KFTowar{department, codeField.c_str(), 18, nameField.c_str(), 40, 3.5, 12, 4, 1, "20261211", record};
  }
  std::string programs;
  std::deque<std::string> texts;
};

TEST_F(ElzabRegisterTest, OpeningWritesTheProgramsConfiguration) {
  parametryKF.elzabEcr = 3;
  warehouseOptions.cashRegisterPort = 2;
  ASSERT_EQ(KFOpen(), 0);
  EXPECT_EQ(Got("KONFIG.TXT"), "$3\tCOM2:9600:MUX0:1\t3\r\n");
  EXPECT_EQ(port.opens, 0);
}

TEST_F(ElzabRegisterTest, AGoodsRecordGoesThroughZtowar) {
  Program("ZTOWAR.EXE");   // found ignoring case
  ASSERT_EQ(KFOpen(), 0);
  KFTowar g = Goods("00123");
  // 208 answered Esc: whole records.
  EXPECT_EQ(RunUntilEsc([&] { return KFSendTow(&g); }, "{F9}{ESC}"), 0);
  EXPECT_TRUE(Shown("Czy przesłać tylko cenę towaru ?")) << seen;
  std::string in = Got("ztowar.exe.in1");
  EXPECT_EQ(in.substr(0, 6), "#1\n#\n#");
  std::string name852 = Utf8ToMazText("Łódź ziemniaki młod");   // 19 characters
  KFDo852(name852.data(), static_cast<int>(name852.size()));
  EXPECT_EQ(in.substr(6), "\n$123\t" + name852 + "\t1\t2\t2\t1\t0\t0\t350\t0\n");
}

TEST_F(ElzabRegisterTest, PriceOnlyIsAskedOncePerJob) {
  Program("zctowar.exe");
  ASSERT_EQ(KFOpen(), 0);
  KFTowar a = Goods("1"), b = Goods("2");
  seen.clear();
  EXPECT_EQ(RunUntilEsc([&] { return KFSendTow(&a) + KFSendTow(&b); }, "{F9}t"), 0);
  EXPECT_EQ(Got("zctowar.exe.in1").substr(6, 3), "\n$2");
  // A barcode code sends the record number as the PLU and the code as the barcode.
  parametryKF.elzabBarcode = 'T';
  KFTowar c = Goods("5901234567890123", 44);
  EXPECT_EQ(KFSendTow(&c), 0);
  EXPECT_NE(Got("zctowar.exe.in1").find("$44\t"), std::string::npos);
  EXPECT_NE(Got("zctowar.exe.in1").find("\t5901234567890\t350\t"), std::string::npos);
}

TEST_F(ElzabRegisterTest, PluNumbersOutOfRangeAreRefusedBeforeAnyFile) {
  EXPECT_EQ(RunUntilEsc([] { return ElzabKasaKod("0", 1, 1) ? 0 : -1; }, "{F9}x"), -1);
  EXPECT_TRUE(Shown("Błąd numeru towaru")) << seen;
  seen.clear();
  EXPECT_EQ(RunUntilEsc([] { return ElzabKasaKod("30001", 5, 1) ? 0 : -1; }, "{F9}x"), -1);
  EXPECT_TRUE(Shown("Błąd numeru towaru")) << seen;
  ASSERT_EQ(KFOpen(), 0);
  KFTowar g = Goods("30001");
  EXPECT_EQ(RunUntilEsc([&] { return KFSendTow(&g); }, "{ESC}x{ESC}"), -1);
  EXPECT_EQ(Got("ses600.plu"), "");
  // Letters and six digits are refused too.
  EXPECT_EQ(RunUntilEsc([] { return ElzabKasaKod("12A", 3, 1) ? 0 : -1; }, "x"), -1);
  EXPECT_EQ(RunUntilEsc([] { return ElzabKasaKod("123456", 6, 1) ? 0 : -1; }, "{F9}x"), -1);
  EXPECT_TRUE(Shown("Za duża ilość znaków w kodzie dla danej kasy - 123456")) << seen;
}

TEST_F(ElzabRegisterTest, AMissingProgramIsNamed) {
  ASSERT_EQ(KFOpen(), 0);
  KFTowar g = Goods("123");
  EXPECT_EQ(RunUntilEsc([&] { return KFSendTow(&g); }, "{ESC}{F9}x{F9}{ESC}"), -1);
  EXPECT_TRUE(Shown("Brak programu komunikacyjnego ZTOWAR.EXE w katalogu")) << seen;
  EXPECT_TRUE(Shown("Czy powtórzyć przesłanie ostatniego kodu ?")) << seen;
}

TEST_F(ElzabRegisterTest, AnExitCodeShowsItsLineOfKoment) {
  Program("ztowar.exe", "exit 3");
  std::string hundred(100, 'x');
  Put("Koment.txt", "pierwszy\ndrugi\ttekst\nBrak papieru w kasie\n" + hundred + "\n");
  ASSERT_EQ(KFOpen(), 0);
  KFTowar g = Goods("123");
  EXPECT_EQ(RunUntilEsc([&] { return KFSendTow(&g); }, "{ESC}{F9}x{ESC}"), -1);
  EXPECT_TRUE(Shown("Program komunikacyjny ZTOWAR.EXE zgłosił błąd numer 3.")) << seen;
  EXPECT_TRUE(Shown("Brak papieru w kasie")) << seen;
}

TEST_F(ElzabRegisterTest, KomentLines) {
  std::string hundred(100, 'x');
  std::string polish = Utf8ToMazText("Błąd łączności");
  std::string polish852 = polish;
  KFDo852(polish852.data(), static_cast<int>(polish852.size()));
  Put("Koment.txt", "a\tb\n" + hundred + "\n" + polish852 + "\n");
  ASSERT_EQ(chdir(programs.c_str()), 0);
  EXPECT_EQ(ElzabKasaKomentarz(1), "a b");
  EXPECT_EQ(ElzabKasaKomentarz(2), std::string(70, 'x') + "..");
  EXPECT_EQ(ElzabKasaKomentarz(3), polish);
  std::remove("Koment.txt");
  EXPECT_EQ(MazToUtf8Text(ElzabKasaKomentarz(1).c_str()), "Błąd odczytu lub brak pliku opisu błędów Koment.txt");
}

TEST_F(ElzabRegisterTest, AProgramKilledBySignalFailed) {
  Program("ktowar.exe", "kill -9 $$");
  ASSERT_EQ(KFOpen(), 0);
  KFTowar g = Goods("123");
  EXPECT_EQ(RunUntilEsc([&] { return KFDelete(&g); }, "{F9}x{ESC}"), -1);
  EXPECT_TRUE(Shown("zgłosił błąd numer 137.")) << seen;
  EXPECT_EQ(Got("ktowar.exe.in1"), "#1\n#\n#\n$123\n");
}

TEST_F(ElzabRegisterTest, TheGoodsListSalesAndZeroing) {
  Program("towarmax.exe");
  std::string name = Utf8ToMazText("MĄKA");
  KFDo852(name.data(), static_cast<int>(name.size()));
  Put("towarmax.exe.out", "#1\n#\n#\n$77\t" + name + "\t2\t5\t2\t1\t0\t0\t240\t0\n");
  Program("otsprzed.exe");
  Put("otsprzed.exe.out", "#1\n#\n#\n$123\t2.5\t750\n");
  Program("osprzed.exe");
  Program("ksprop.exe");
  ASSERT_EQ(KFOpen(), 0);
  FILE* list = std::tmpfile();
  ASSERT_EQ(kasfis_cennik_odczyt(list), 0);
  std::rewind(list);
  char line[200] = "";
  ASSERT_NE(std::fgets(line, sizeof line, list), nullptr);
  EXPECT_EQ(std::string(line), "77\t" + Utf8ToMazText("MĄKA") + "\t2\t         2.4000\t5\n");
  std::fclose(list);
  EXPECT_EQ(Got("towarmax.exe.in1"), "#1\n#\n#\n");
  double q = 0, v = 0;
  KFTowar g = Goods("123");
  EXPECT_EQ(KFRapTow(&g, &q, &v), 0);
  EXPECT_DOUBLE_EQ(q, 2.5);
  EXPECT_DOUBLE_EQ(v, 7.5);
  EXPECT_EQ(Got("otsprzed.exe.in1"), "#1\n#\n#\n$123\n");
  // Another register's file is refused.
  Put("otsprzed.exe.out", "#2\n#\n#\n$123\t2.5\t750\n");
  EXPECT_EQ(RunUntilEsc([&] { return KFRapTow(&g, &q, &v); }, "{ESC}"), -1);
  EXPECT_EQ(KFZerowanie("20261211"), 0);
  EXPECT_EQ(Got("osprzed.exe.in1"), "#1\n#\n#\n");
  EXPECT_EQ(Got("ksprop.exe.in1"), "#1\n#\n#\n");
}

}  // namespace
