// The program's two message tables, registered as start-up registers them.
#include <string>

#include "env/messages.h"
#include "tests/tables/tables_fixture.h"

namespace {

using ProgramMessagesTest = TablesTest;

TEST_F(ProgramMessagesTest, EveryNumberOfBothTablesHasItsText) {
  for (int number = 20000; number <= 20225; number++)
    EXPECT_NE(EnvMessageText(number)[0], '?') << number;
  for (int number = 1; number <= 264; number++) EXPECT_NE(EnvMessageText(number)[0], '?') << number;
  EXPECT_EQ(std::string(EnvMessageText(265)), "?265");
  EXPECT_EQ(std::string(EnvMessageText(20226)), "?20226");
}

TEST_F(ProgramMessagesTest, NoTextIsAPlaceholder) {
  auto check = [](int number) {
    std::string text = EnvMessageText(number);
    EXPECT_EQ(text.find("Komunikat nr"), std::string::npos) << number << ": " << text;
    EXPECT_NE(text.find_first_not_of(' '), std::string::npos) << number;
  };
  for (int number = 20000; number <= 20225; number++) check(number);
  for (int number = 1; number <= 264; number++) check(number);
}

TEST_F(ProgramMessagesTest, QuotedTextsStandAsTheyAre) {
  struct Case {
    int number;
    const char* text;
  };
  const Case cases[] = {
      {20008, "Błąd odczytu parametru !"},
      {20029, "Brak kartoteki towarów dla roku %i !"},
      {20056, "Czy utworzyć kartotekę na podstawie danych ubiegłorocznych ?"},
      {20179, "Uszkodzona baza."},
      {8, "Serwis zakończony poprawnie."},
      {9, "Serwis zakończony błędnie."},
      {248, "Szukam drukarki fiskalnej"},
      {20116, "Ministerstwa Finansów"},
      {20057, "Czy wyeksportować jako korektę?"},
      {20188, "KodFormularza kodSystemowy=\"%s\" wersjaSchemy=\"%s\""},
      {66, "Faktura korygująca brutto"},
      {68, "Rachunek korygujący brutto"},
      {87, "Pomocniczy rejestr sprzedaży. "},
      {150, "\ndata wystawienia..\nnumer WZ..........\n"},
      {157, "data od.....\ndata do.....\nnazwa pliku.\n\nkatalog....."},
  };
  for (const Case& c : cases) EXPECT_EQ(std::string(EnvMessageText(c.number)), Sys(c.text)) << c.number;
  // Each JPK_FA variant's root carries its own schema's namespace.
  const struct {
    int number;
    const char* ns;
  } roots[] = {{253, "http://jpk.mf.gov.pl/wzor/2016/03/09/03095/"},
               {254, "http://jpk.mf.gov.pl/wzor/2019/03/21/03211/"},
               {255, "http://jpk.mf.gov.pl/wzor/2019/09/27/09271/"},
               {264, "http://jpk.mf.gov.pl/wzor/2022/02/17/02171/"}};
  for (const auto& r : roots) {
    std::string text = EnvMessageText(r.number);
    EXPECT_EQ(text.rfind("JPK xmlns=\"", 0), 0u) << r.number;
    EXPECT_NE(text.find(std::string("xmlns=\"") + r.ns + "\""), std::string::npos) << r.number;
    EXPECT_EQ(text.find("xmlns:kck=") != std::string::npos, r.number != 264) << r.number;
  }
  // The library's own table still answers above 50000.
  EXPECT_EQ(std::string(EnvMessageText(50030)), Sys(" Proszę czekać. "));
}

}  // namespace
