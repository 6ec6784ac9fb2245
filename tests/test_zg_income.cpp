// The income of a PIT/ZG income box from the revenue and costs the dialog
// takes: never below zero, two decimals, free of binary noise.
#include <gtest/gtest.h>

#include <string>

#include "calc/zg_income.hpp"

namespace {

TEST(ZgIncome, IsRevenueLessCostsNeverBelowZero) {
  struct Case {
    const char* revenue;
    const char* costs;
    const char* income;
  };
  const Case cases[] = {
      {"5000,00", "1234,50", "3765,50"},
      {"1000,00", "1500,00", "0,00"},   // costs above revenue: no loss shown
      {"700,00", "700,00", "0,00"},
      {"", "", "0,00"},
      {"2500,00", "", "2500,00"},
      {"", "100,00", "0,00"},
      {"abc", "100,00", "0,00"},        // no amount counts as 0
      {"2500,00", "1.000,00", "2500,00"},
      {"0,30", "0,10", "0,20"},         // 0.3 - 0.1 lies just below 0.2 in binary
      {"1999999999,99", "0,01", "1999999999,98"},
      {"1234", "34", "1200,00"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(solv::ZgIncome(c.revenue, c.costs), c.income) << c.revenue << " - " << c.costs;
}

}  // namespace
