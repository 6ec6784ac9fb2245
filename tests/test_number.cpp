// Number <-> text forms of box values: rendering, two-stage rounding,
// parsing and the grosz helpers.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "value/number.hpp"

namespace {

using solv::Format;
using solv::FormatGeneral;
using solv::FormatRounded;
using solv::ParseAmount;
using solv::RenderFixed;

struct FormatCase {
  const char* format;
  long double x;
  const char* expected;
};

// Single rounding: half away from zero on the 18-digit form, no thousands
// separator, no sign on a zero result.
TEST(Format, RendersEveryFormWithSingleRounding) {
  const FormatCase cases[] = {
      {"%.2f", 1234.5L, "1234,50"},
      {"%.2f", -15.0L, "-15,00"},
      {"%.2f", 0.0L, "0,00"},
      {"%.2f", 0.5L, "0,50"},
      {"%.2f", 1234567.891L, "1234567,89"},
      {"%.2f", -0.005, "-0,01"},  // the double just above 0,005 in magnitude
      {"%.2f", 0.005L, "0,01"},
      {"%.2f", 0.00499L, "0,00"},
      {"%.2f", -0.004L, "0,00"},  // rounds to zero: no sign
      {"%.2f", -0.0L, "0,00"},
      {"%.2f", 9.995L, "10,00"},  // carry through every digit
      {"%.2f", -9.995L, "-10,00"},
      {"%.2f", 0.995L, "1,00"},
      {"%.2f", 99.999L, "100,00"},
      {"%.2f", 2.675, "2,67"},  // the double is just below 2,675
      {"%.2f", 0.4449L, "0,44"},
      {"%.1f", 0.05L, "0,1"},
      {"%.1f", 0.25L, "0,3"},
      {"%.3f", 1.0005L, "1,001"},
      {"%.0f", 2.5L, "3"},
      {"%.0f", -2.5L, "-3"},
      {"%.0f", 2.45L, "2"},
      {"%.0f", 0.5L, "1"},
      {"%.0f", 0.49L, "0"},
      {"%.0f", -0.4L, "0"},
      {"%.0f", 1234.5L, "1235"},
      {"0.00", 0.5L, "0,50"},
      {"0.00", 0.0L, "0,00"},
      {"0.00", 1234.5L, "1234,50"},
      {"0.00", 3.305L, "3,31"},
      {"0.0", 7.25L, "7,3"},
      {"0", 1234.5L, "1235"},
      {"0", -0.4L, "0"},
      // Digits beyond the 18th are zeros; tiny values vanish.
      {"%.2f", 123456789012345678901.0L, "123456789012345679000,00"},
      {"%.0f", 1e20L, "100000000000000000000"},
      {"%.2f", 1e-20L, "0,00"},
      {"%.2f", -1e-20L, "0,00"},
      {"%.3f", 0.0005L, "0,001"},
      {"%.3f", 0.00049L, "0,000"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Format(c.format, c.x), c.expected) << c.format << " of " << static_cast<double>(c.x);
}

TEST(Format, RenderFixedMatchesTheFixedFormats) {
  EXPECT_EQ(RenderFixed(1234.5L, 2), Format("%.2f", 1234.5L));
  EXPECT_EQ(RenderFixed(1234.5L, 0), "1235");
  EXPECT_EQ(RenderFixed(0.125L, 3), "0,125");
}

TEST(Format, RejectsUnknownFormats) {
  for (const char* f : {"%d", "%.2e", "%.f", "%f", "#.##", "0.0#", "", "0,00", "00.00"})
    EXPECT_THROW(Format(f, 1.0L), std::invalid_argument) << f;
}

// The two-stage rounding goes through one more decimal; the picture forms and
// "%.3f" round once.
TEST(FormatRounded, RoundsAtOneMoreDecimalFirst) {
  const FormatCase cases[] = {
      {"%.0f", 2.45, "3"},  // 2,45 -> 2,5 -> 3
      {"%.0f", 2.44, "2"},
      {"%.0f", -2.45, "-3"},
      {"%.2f", 0.4449, "0,45"},  // 0,4449 -> 0,445 -> 0,45
      {"%.2f", 1234.5, "1234,50"},
      {"%.2f", 2.675, "2,68"},  // the double just below 2,675 -> 2,675 -> 2,68
      {"%.2f", 9.995, "10,00"},
      {"%.2f", 0.0049, "0,01"},
      {"%.2f", -0.0049, "-0,01"},
      {"%.2f", -0.0004, "0,00"},
      {"%.1f", 0.249, "0,3"},  // 0,249 -> 0,25 -> 0,3
      {"%.3f", 0.44449, "0,444"},
      {"0.00", 0.4449, "0,44"},
      {"0", 2.45, "2"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatRounded(c.format, c.x), c.expected) << c.format << " of " << static_cast<double>(c.x);
}

struct ParseCase {
  const char* text;
  long double expected;
};

constexpr long double kDefault = -77;

TEST(ParseAmount, AcceptsTheCommaGrammar) {
  const ParseCase cases[] = {
      {"12,5", 12.5L},
      {" 7 ", 7},
      {"\t7\r\n", 7},
      {"\x01\x1f" "7\x7f", 7},
      {"-3,5", -3.5L},
      {"+3,5", 3.5L},
      {"00012", 12},
      {",5", 0.5L},
      {"5,", 5},
      {"-,25", -0.25L},
      {"1e3", 1000},
      {"1E05", 100000},
      {"2e+2", 200},
      {"1,5E-2", 0.015L},
      {"0", 0},
      {"1234567,89", 1234567.89L},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseAmount(c.text, kDefault), c.expected) << '"' << c.text << '"';
}

TEST(ParseAmount, GivesTheDefaultForAnythingElse) {
  const char* cases[] = {
      "",       "   ",     "\t\r\n", "abc",   "3.5",   "1 000,00", "1.000,00", "1'000", "1\xC2\xA0" "000",
      "12 ,5",  "1 e5",    "1,2,3",  "12a",   "-",     "+",        ",",        "--1",   "+-1",
      "inf",    "-inf",    "INF",    "nan",   "NaN",   "infinity", "0x1A",     "0X1a",  "1e",
      "e5",     "1e+",     "1e5x",   "1e5,0", "1e99999", "1e5000", "-1e5000",
  };
  for (const char* c : cases) EXPECT_EQ(ParseAmount(c, kDefault), kDefault) << '"' << c << '"';
  EXPECT_EQ(ParseAmount("", 5), 5);
  EXPECT_EQ(ParseAmount("abc", 0), 0);
}

TEST(ParseAmount, ReadsBackWhatFormatWrites) {
  for (long double x : {0.0L, 0.01L, 1234.5L, -15.0L, 1234567.89L, 99999999.99L}) {
    const std::string text = Format("%.2f", x);
    EXPECT_EQ(Format("%.2f", ParseAmount(text, kDefault)), text);
  }
}

TEST(Grosz, ToGroszRoundsHalfAwayFromZero) {
  const ParseCase cases[] = {
      {"1,005", 101}, {"-0,005", -1}, {"12,344", 1234}, {"0,0049", 0}, {"1500,30", 150030}, {"-12,345", -1235},
  };
  for (const auto& c : cases) EXPECT_EQ(solv::ToGrosz(ParseAmount(c.text, 0)), c.expected) << c.text;
  // The double sum 1000,10 + 500,20 lies off 1500,30 in binary but is the same grosz.
  EXPECT_EQ(solv::ToGrosz(1000.10 + 500.20), solv::ToGrosz(1500.30));
}

// Amounts as read at full precision: the binary value of 20,31 lies below it,
// so a plain x * 100 cut would give 20,30.
TEST(Grosz, TruncDecimalsCutsOnTheDecimalForm) {
  struct Case {
    const char* text;
    int decimals;
    long double expected;
  };
  const Case cases[] = {
      {"20,31", 2, 20.31L}, {"0,29", 2, 0.29L},     {"1,15", 2, 1.15L}, {"12,349", 2, 12.34L},
      {"-12,349", 2, -12.34L}, {"12,35", 1, 12.3L}, {"0,05", 1, 0},     {"0,099999", 1, 0},
      {"82,04", 1, 82.0L},  {"7", 0, 7},            {"-0,001", 2, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(solv::TruncDecimals(ParseAmount(c.text, kDefault), c.decimals), c.expected)
        << c.text << " at " << c.decimals;
  // Tax due times 1%: 2030 -> 20,30 although 20,3 has no exact binary form.
  EXPECT_EQ(solv::TruncDecimals(2030 * 0.01L, 1), 20.3L);
  // Amounts that went through a double keep their last grosz too.
  EXPECT_EQ(solv::TruncDecimals(20.31, 2), 20.31L);
  EXPECT_EQ(solv::TruncDecimals(0.29, 2), 0.29L);
  EXPECT_EQ(solv::TruncDecimals(1000.10 + 500.20, 2), 1500.30L);
}

TEST(FormatGeneral, ShortestFormAfterRoundingToGrosz) {
  struct Case {
    long double x;
    const char* expected;
  };
  const Case cases[] = {
      {1234.5L, "1234,5"},  {90.9L, "90,9"},   {100 - 9.1, "90,9"},  // 90,9000000000000057 as a double
      {12, "12"},           {100, "100"},      {10, "10"},           {-3.07L, "-3,07"},
      {0, "0"},             {0.001L, "0"},     {-0.001L, "0"},       {12.346L, "12,35"},
      {100.1L, "100,1"},    {-0.01L, "-0,01"}, {1000.0 - 1000.01, "-0,01"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatGeneral(c.x), c.expected) << static_cast<double>(c.x);
}

// Switches the C locale to one with a decimal comma for the life of the object.
class CommaLocale {
 public:
  CommaLocale() {
#ifdef TEST_LOCALE_DIR
    // The build makes pl_PL.UTF-8 in its own folder; the system may have none.
    ::setenv("LOCPATH", TEST_LOCALE_DIR, 0);
#endif
    const char* current = std::setlocale(LC_ALL, nullptr);
    saved_ = current ? current : "C";
    for (const char* name : {"pl_PL.UTF-8", "pl_PL.utf8", "pl_PL", "de_DE.UTF-8", "de_DE.utf8", "de_DE",
                             "fr_FR.UTF-8", "fr_FR.utf8", "ru_RU.UTF-8", "C.UTF-8"}) {
      if (std::setlocale(LC_ALL, name) && std::strcmp(std::localeconv()->decimal_point, ",") == 0) {
        active_ = true;
        return;
      }
    }
    std::setlocale(LC_ALL, saved_.c_str());
  }
  ~CommaLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
  bool active() const { return active_; }

 private:
  std::string saved_;
  bool active_ = false;
};

TEST(NumberLocale, TextFormsDoNotDependOnTheCLocale) {
  struct Expected {
    std::string format2, rounded0, rounded2, picture;
    long double parsed;
    long double dotted;
  };
  const auto sample = [] {
    return Expected{Format("%.2f", 1234.5L), FormatRounded("%.0f", 2.45), FormatRounded("%.2f", 0.4449),
                    Format("0.00", 3.305L), ParseAmount("12,5", kDefault), ParseAmount("12.5", kDefault)};
  };
  const Expected before = sample();
  ASSERT_EQ(before.format2, "1234,50");
  ASSERT_EQ(before.parsed, 12.5L);
  ASSERT_EQ(before.dotted, kDefault);

  CommaLocale locale;
  if (!locale.active()) GTEST_SKIP() << "no locale with a decimal comma is installed";
  const Expected after = sample();
  EXPECT_EQ(after.format2, before.format2);
  EXPECT_EQ(after.rounded0, before.rounded0);
  EXPECT_EQ(after.rounded2, before.rounded2);
  EXPECT_EQ(after.picture, before.picture);
  EXPECT_EQ(after.parsed, before.parsed);
  EXPECT_EQ(after.dotted, before.dotted);
}

}  // namespace
