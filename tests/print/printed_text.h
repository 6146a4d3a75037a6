// The text of a character-mode job as a page reads: printer controls
// dropped, form feeds shown as "<FF>", Mazovia turned into UTF-8; and the
// comparison with a golden page committed beside a test.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "env/code_pages.h"

// The job file's text; "<none>" when nothing was printed. The file goes.
inline std::string TakePrintedText(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return "<none>";
  std::string bytes;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) bytes.append(buffer, n);
  std::fclose(f);
  std::remove(path.c_str());
  std::string out;
  for (size_t i = 0; i < bytes.size(); i++) {
    char c = bytes[i];
    if (c == '\x1B') {
      i++;
      continue;
    }
    if (c == '\x0F' || c == '\x12' || c == '\r') continue;
    out += c == '\f' ? std::string("<FF>\n") : std::string(1, c);
  }
  return MazToUtf8Text(out.c_str());
}

// Compares with tests/<folder>/golden/<name>; UPDATE_GOLDEN=1 writes the
// page there first.
inline void ExpectGoldenPage(const std::string& folder, const std::string& name, const std::string& actual) {
  std::string path = std::string(ZEL_TESTS_SOURCE_DIR) + "/" + folder + "/golden/" + name;
  if (std::getenv("UPDATE_GOLDEN")) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fwrite(actual.data(), 1, actual.size(), f);
    std::fclose(f);
  }
  std::FILE* f = std::fopen(path.c_str(), "rb");
  std::string expected;
  if (f) {
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) expected.append(buffer, n);
    std::fclose(f);
  }
  EXPECT_EQ(actual, expected) << name;
}
