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
  };
  for (const Case& c : cases) EXPECT_EQ(std::string(EnvMessageText(c.number)), Sys(c.text)) << c.number;
  // The library's own table still answers above 50000.
  EXPECT_EQ(std::string(EnvMessageText(50030)), Sys(" Proszę czekać. "));
}

}  // namespace
