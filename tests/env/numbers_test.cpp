#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "env/numbers.h"
#include "tests/env/environment_fixture.h"

namespace {

TEST(Numbers, RoundUsesTheThresholdOfTheLastKeptPlace) {
  struct Case {
    double x;
    int decimals;
    double expected;
  };
  for (const Case& c : {Case{1.0049996, 2, 1.01}, Case{1.0049994, 2, 1.00}, Case{-2.5, 0, -3},
                        Case{0.49994, 0, 0}, Case{0.49995, 0, 1}, Case{-0.49995, 0, -1}, Case{2.5, 0, 3},
                        Case{1.005, 2, 1.01}, Case{2.675, 2, 2.68}, Case{1.16, 2, 1.16}, Case{12.01, 2, 12.01},
                        Case{-1.005, 2, -1.01}, Case{0.1234565, 6, 0.123457}, Case{123.4, 0, 123}}) {
    EXPECT_DOUBLE_EQ(ROUND(c.x, c.decimals), c.expected) << c.x << " " << c.decimals;
  }
  EXPECT_EQ(ROUND_VAT(2.99996), 3);
  EXPECT_EQ(ROUND_VAT(2.9999), 2);
  EXPECT_EQ(ROUND_VAT(-2.99996), -3);
  EXPECT_EQ(RoundLong(2.5), 3);
  EXPECT_EQ(RoundLong(-2.5), -3);
  EXPECT_EQ(RoundLong(2.4), 2);
}

TEST(Numbers, SmallArithmetic) {
  EXPECT_EQ(ZerujMinusowe(-3), 0);
  EXPECT_EQ(ZerujMinusowe(3), 3);
  EXPECT_EQ(MniejszaWartosc(1.5, -2), -2);
  EXPECT_EQ(WiekszaLiczba(1, 7), 7);
  for (auto [n, log] : {std::pair{0ul, 0}, {1ul, 0}, {2ul, 1}, {3ul, 1}, {1023ul, 9}, {1024ul, 10}})
    EXPECT_EQ(IntLog2(n), log) << n;
}

TEST(Numbers, DoubleToText) {
  struct Case {
    double x;
    int width, decimals;
    const char* expected;
  };
  for (const Case& c : {Case{-0.5, 4, 2, "-.50"}, Case{-0.5, 5, 2, "-0.50"}, Case{0.5, 4, 2, "0.50"},
                        Case{12345.678, 8, 2, "12345.68"}, Case{12345.678, 7, 2, "*******"},
                        Case{-5, 2, 0, "-5"}, Case{-15, 2, 0, "**"}, Case{15, 2, 0, "15"},
                        Case{0.001, 6, 2, "  0.00"}, Case{0.05, 6, 3, " 0.050"}, Case{-12.5, 6, 1, " -12.5"},
                        Case{-123.4, 5, 1, "*****"}, Case{7, 3, 0, "  7"}, Case{1e300, 20, 2, "********************"},
                        Case{NAN, 5, 1, "*****"}, Case{0, 1, 0, "0"}}) {
    char buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    c4dtoa(c.x, buffer, c.width, c.decimals, 0);
    EXPECT_EQ(std::string(buffer, c.width), c.expected) << c.x;
    EXPECT_EQ(buffer[c.width], '#') << "wrote past the width";
  }
  char terminated[8];
  EXPECT_STREQ(c4dtoa(3.25, terminated, 5, 2, 1), " 3.25");
}

TEST(Numbers, BadWidthsAreFatal) {
  RecordingScreenHook screen;
  char buffer[256];
  for (auto [width, decimals] : {std::pair{129, 0}, {-1, 0}, {5, 5}, {5, -1}}) {
    try {
      c4dtoa(1, buffer, width, decimals, 0);
      ADD_FAILURE() << width << " " << decimals;
    } catch (const FatalStopCaught& stop) {
      EXPECT_EQ(stop.exitCode, 1);
    }
  }
}

TEST(Numbers, LongToText) {
  struct Case {
    long n;
    int width;
    const char* expected;
  };
  for (const Case& c : {Case{-42, 5, "  -42"}, Case{-42, -5, "*****"}, Case{42, -5, "00042"},
                        Case{123456, 5, "*****"}, Case{-1234, 5, "-1234"}, Case{-12345, 5, "*****"},
                        Case{0, 3, "  0"}, Case{0, -3, "000"}, Case{99999, 5, "99999"}}) {
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    c4ltoa(c.n, buffer, c.width);
    int w = c.width < 0 ? -c.width : c.width;
    EXPECT_EQ(std::string(buffer, w), c.expected) << c.n << " " << c.width;
    EXPECT_EQ(buffer[w], '#');
  }
}

TEST(Numbers, TextToNumbers) {
  EXPECT_EQ(c4atoi("  -12x", 6), -12);
  EXPECT_EQ(c4atoi("12345", 3), 123);
  EXPECT_EQ(c4atol("  ", 2), 0);
  char text[] = "ab   ";
  EXPECT_STREQ(c4trim_n(text, 10), "ab");
  char longer[] = "abcdef";
  EXPECT_STREQ(c4trim_n(longer, 4), "abc");

  struct Case {
    const char* text;
    double expected;
  };
  for (const Case& c : {Case{"  12.50", 12.5}, Case{".5", 0.5}, Case{"-12.5", -12.5}, Case{"12.5-", -12.5},
                        Case{"0.1", 0.1}, Case{"1 234.56", 1234.56}, Case{"12345678901234", 1234567890123.0},
                        Case{"  123", 123}, Case{"abc", 0}, Case{"1.2.3", 1.23}, Case{"0.07", 0.07}}) {
    EXPECT_EQ(QuickDouble(c.text, static_cast<int>(std::strlen(c.text))), c.expected) << c.text;
  }
  double zero = QuickDouble("-0.00", 5);
  EXPECT_EQ(zero, 0);
  EXPECT_FALSE(std::signbit(zero));
  EXPECT_EQ(QuickDouble("123", 0), 0);
  EXPECT_EQ(QuickDouble("12345", 3), 123);   // exactly the length, no terminator needed
}

// The field widths of the stored tables, over values of every size that
// fits: the text is the correctly rounded one printf gives, and reading it
// back gives the double that text stands for.
TEST(Numbers, FieldTextsMatchPrintfAndReadBack) {
  struct Case {
    int width, decimals;
  };
  std::mt19937_64 random(20261210);
  for (Case c : {Case{10, 0}, Case{12, 2}, Case{15, 2}, Case{13, 4}, Case{14, 4}, Case{8, 3}, Case{11, 6},
                 Case{5, 1}, Case{3, 1}, Case{13, 0}}) {
    int int_width = c.decimals > 0 ? c.width - c.decimals - 1 : c.width;
    double top = std::pow(10.0, int_width - 1);    // room for a sign
    for (int i = 0; i < 3000; i++) {
      double x;
      switch (i % 4) {
        case 0: x = std::ldexp((double)(random() >> 11), -53) * top; break;
        case 1: x = -std::ldexp((double)(random() >> 11), -53) * top; break;
        // Exact halves of the last place and values right beside them.
        case 2: x = (double)(long long)(random() % 100000) / std::pow(10.0, c.decimals) + 0.5 / std::pow(10.0, c.decimals); break;
        default: x = std::nextafter((double)(long long)(random() % 1000) + 0.5, i % 8 == 3 ? 0.0 : 1e9) / std::pow(10.0, c.decimals); break;
      }
      if (std::fabs(x) >= top) continue;
      char expected[64];
      std::snprintf(expected, sizeof expected, "%*.*f", c.width, c.decimals, x);
      char got[64];
      std::memset(got, '#', sizeof got);
      c4dtoa(x, got, c.width, c.decimals, 0);
      std::string text(got, (size_t)c.width);
      // printf keeps "0" before the point where the field has no room for it.
      if (std::strlen(expected) == (size_t)c.width) {
        EXPECT_EQ(text, expected) << x << " " << c.width << "," << c.decimals;
      }
      EXPECT_EQ(got[c.width], '#');
      if (c.width - (c.decimals > 0) <= 13) {
        EXPECT_EQ(QuickDouble(got, c.width), std::strtod(text.c_str(), nullptr)) << text;
      }
    }
  }
}

TEST(Numbers, WholeNumberTextsReadAsStrtolDoes) {
  for (const char* text : {"42", "  -17", "+8", "\t\n 5x", "-", "", "0009", "9223372036854775807",
                           "9223372036854775808", "-9223372036854775808", "-9223372036854775809",
                           "99999999999999999999999", " - 3", "12 34"}) {
    std::string copy = text;
    EXPECT_EQ(c4atol(text, (int)copy.size()), std::strtol(text, nullptr, 10)) << "'" << text << "'";
  }
  // The length ends the text even without a terminator, and a NUL ends it early.
  EXPECT_EQ(c4atol("123456", 4), 1234);
  EXPECT_EQ(c4atol("12\0" "34", 5), 12);
}

TEST(Numbers, GroupedText) {
  struct Case {
    double x;
    int width, decimals;
    const char* expected;
    int blanks;
  };
  for (const Case& c : {Case{1234567.5, 12, 2, "  1 234 567.50", 2}, Case{-1234.5, 10, 2, "  -1 234.50", 1},
                        Case{999, 5, 0, "  999", 0}, Case{1000, 4, 0, "1 000", 1},
                        Case{123456, 8, 0, "  123 456", 1}}) {
    char buffer[64];
    EXPECT_EQ(NumToText(buffer, c.x, c.width, c.decimals), c.blanks) << c.x;
    EXPECT_STREQ(buffer, c.expected);
  }
}

}  // namespace
