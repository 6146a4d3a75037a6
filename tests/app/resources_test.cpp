// The program's screens and form texts as the windows and browses read them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "env/code_pages.h"
#include "env/env_state.h"
#include "platform/resources.h"

void RegisterResources_Zelsal();   // generated with the resource table

namespace {

std::string Resource(int number) {
  RegisterResources_Zelsal();
  const PlatResource* found = PlatFindResource(ENV_PROGRAM_MODULE, number);
  return found ? std::string(reinterpret_cast<const char*>(found->data), found->size) : std::string();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(MazToUtf8Text(text.substr(start, end - start).c_str()));
  return lines;
}

TEST(ProgramResources, BrowseScreensAreWholeLinesOf78) {
  for (int number : {86, 103, 104}) {
    std::string screen = Resource(number);
    ASSERT_FALSE(screen.empty()) << number;
    EXPECT_EQ(screen.size() % 78, 0u) << number;
    EXPECT_EQ(screen.find('\n'), std::string::npos) << number;
  }
  // The operator's name and full name are entered at column 25 of rows 0 and 1.
  std::string operators = MazToUtf8Text(Resource(103).c_str());
  EXPECT_EQ(operators.rfind("Nazwa użytkownika", 0), 0u);
  EXPECT_EQ(Resource(103).substr(24, 54), std::string(54, ' '));
  EXPECT_EQ(Resource(103).substr(78 + 24, 54), std::string(54, ' '));
}

TEST(ProgramResources, MainOptionsFormLeavesColumn43ToTheFields) {
  std::vector<std::string> rows = Lines(Resource(91));
  ASSERT_EQ(rows.size(), 23u);
  EXPECT_EQ(rows[1].rfind("Rok rozrachunkowy", 0), 0u);
  EXPECT_EQ(rows[15].rfind("Tworzyć historię wejść do menu ?", 0), 0u);
  EXPECT_EQ(rows[22], "Czy sprawdzać numery dokumentów w księdze?");
  for (size_t row = 0; row < rows.size(); row++) {
    std::u32string wide;
    for (size_t i = 0; i < rows[row].size(); i++)
      if ((static_cast<unsigned char>(rows[row][i]) & 0xC0) != 0x80) wide += U'x';
    EXPECT_LE(wide.size(), 42u) << "row " << row;
  }
}

TEST(ProgramResources, RightsTreeLabelsFitBeforeTheirFields) {
  std::vector<int> numbers = {102};
  for (int number = 105; number <= 148; number++) numbers.push_back(number);
  for (int number : numbers) {
    std::vector<std::string> rows = Lines(Resource(number));
    EXPECT_GE(rows.size(), 3u) << number;
    EXPECT_LE(rows.size(), 19u) << number << ": the level window ends at row 25";
    for (const std::string& row : rows) {
      size_t characters = 0;
      for (unsigned char c : row) characters += (c & 0xC0) != 0x80;
      EXPECT_LE(characters, 14u) << number << " \"" << row << "\"";
      EXPECT_FALSE(row.empty()) << number;
    }
  }
}

}  // namespace
