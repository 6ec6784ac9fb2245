// Shared tax rules: the 2010 scale, main form and taxation method of a set,
// the PIT-28 exemption choice, limit checks and the 1% allowance.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/rules.hpp"
#include "set_fixture.hpp"
#include "store/forms.hpp"
#include "value/number.hpp"

namespace {

using solv::FormatRounded;
using solv::Messages;

TEST(ScaleTax, FollowsTheTwoBranchesOfTheScale) {
  struct Case {
    long double base;
    const char* tax;
  };
  const Case cases[] = {
      {0, "0,00"},           {3089, "0,00"},        {3090, "0,18"},      {10000, "1243,98"},
      {85528, "14839,02"},   {85528.5L, "14839,18"},  // above the threshold: the 32% branch
      {85529, "14839,34"},   {100000, "19470,06"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatRounded("%.2f", solv::ScaleTax(c.base)), c.tax) << static_cast<double>(c.base);
}

TEST(ScaleTax, NeverNegative) {
  for (long double base : {-100000.0L, -1.0L, 0.0L, 1.0L, 3088.0L, 3089.0L}) {
    EXPECT_GE(solv::ScaleTax(base), 0) << static_cast<double>(base);
    EXPECT_LT(solv::ScaleTax(base), 0.005L) << static_cast<double>(base);
  }
  EXPECT_EQ(solv::ScaleTax(0), 0);
  EXPECT_EQ(solv::ScaleTax(-5000), 0);
}

TEST(LimitCheck, ComparesInWholeGrosz) {
  struct Case {
    double value, limit;
    bool exceeds;
  };
  const Case cases[] = {
      {1000.10 + 500.20, 1500.30, false},  // the double sum lies above 1500,30 in binary
      {1500.30, 1500.30, false},
      {1500.31, 1500.30, true},
      {1500.304, 1500.30, false},
      {0, -0.01, true},
      {-0.01, 0, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(solv::ExceedsLimit(c.value, c.limit), c.exceeds) << c.value << " against " << c.limit;
}

TEST(LimitCheck, MessageCarriesTheLimitInGeneralForm) {
  solv::ClearMessages();
  solv::CheckLimit(90.9, 90.9, "równe %s");
  solv::CheckLimit(90.91, 100 - 9.1, "(<link=popraw#%s#PIT37b#P93>POPRAW</link>)");
  ASSERT_EQ(Messages().items.size(), 2u);
  EXPECT_EQ(Messages().items[1], "(<link=popraw#90,9#PIT37b#P93>POPRAW</link>)");
  solv::ClearMessages();
}

class RulesTest : public SetFixture {
 protected:
  // Each call writes a new set file and opens it.
  void Set(const std::string& text) {
    set_ = dir_ / (std::to_string(++sets_) + ".i10");
    WriteSet(text);
  }
  int sets_ = 0;
};

TEST_F(RulesTest, ActiveMainFormFollowsTheMainFormCode) {
  struct Case {
    const char* code;
    int form;
  };
  const Case cases[] = {
      {"PIT28", 0}, {"PIT36", 1}, {"PIT36L", 2}, {"PIT37", 3}, {"PIT38", 4},
      {"PIT39", 5}, {"PIT40", solv::kNoMainForm}, {"", solv::kNoMainForm}, {"PITX", solv::kNoMainForm},
  };
  for (const auto& c : cases) {
    Set(std::string("[MAIN]\nPIT=") + c.code + "\n");
    EXPECT_EQ(solv::ActiveMainForm(), c.form) << c.code;
  }
}

TEST_F(RulesTest, ActiveMainFormFromSeveralFlags) {
  struct Case {
    std::vector<int> flags;
    int form;
  };
  const Case cases[] = {
      {{solv::kPIT28, solv::kPIT38}, solv::kPIT38},
      {{solv::kPIT36, solv::kPIT37}, solv::kPIT36},
      {{solv::kPIT37, solv::kPIT39}, solv::kPIT39},
      {{solv::kPIT38, solv::kPIT39}, solv::kPIT39},
      {{solv::kPITB, solv::kPITO}, solv::kNoMainForm},
  };
  for (const auto& c : cases) {
    solv::Store().allowed = {};
    for (int f : c.flags) solv::Store().allowed[f] = true;
    EXPECT_EQ(solv::ActiveMainForm(), c.form);
  }
}

TEST_F(RulesTest, TaxationMethodOfTakesTheFirstTickedBox) {
  struct Case {
    const char* boxes;
    int method;
  };
  const Case cases[] = {
      {"", 0},
      {"p6a=[X]\n", 1},
      {"p6b=[X]\n", 2},
      {"p6c=[X]\n", 3},
      {"p6d=[X]\n", 4},
      {"p6b=[X]\np6c=[X]\n", 2},
      {"p6a=[  ]\np6c=[X]\np6d=[X]\n", 3},
      {"p6a=[x]\np6b=[ ]\np6c=X\np6d=[XX]\n", 0},  // only "[X]" counts as ticked
      {"P6D=[X]\n", 4},                             // page saves write the keys in upper case
  };
  for (const auto& c : cases) {
    Set(std::string("[MAIN]\nPIT=PIT37\n[PIT37a]\n") + c.boxes);
    EXPECT_EQ(solv::TaxationMethodOf("PIT37a"), c.method) << c.boxes;
  }
}

TEST_F(RulesTest, TaxationMethodOfTheSetDependsOnItsMainForm) {
  // Every section ticks a different box 6, so the section read shows.
  const std::string sections =
      "[PIT28a]\np6b=[X]\n[PIT36a]\np6c=[X]\n[PIT36La]\np6a=[X]\n[PIT37a]\np6d=[X]\n"
      "[PIT38a]\np6b=[X]\n[PIT39a]\np6b=[X]\n[PIT40a]\np6a=[X]\n";
  struct Case {
    const char* code;
    int method;
  };
  const Case cases[] = {
      {"PIT28", 1}, {"PIT36", 3}, {"PIT36L", 0}, {"PIT37", 4}, {"PIT38", 1}, {"PIT39", 1}, {"PIT40", 0}, {"", 0},
  };
  for (const auto& c : cases) {
    Set(std::string("[MAIN]\nPIT=") + c.code + "\n" + sections);
    EXPECT_EQ(solv::TaxationMethod(), c.method) << c.code;
  }
}

TEST_F(RulesTest, ExemptionChoiceOnlyForPit28) {
  struct Case {
    const char* code;
    const char* boxes;
    int choice;
  };
  const Case cases[] = {
      {"PIT28", "p109a=[X]\n", 1},
      {"PIT28", "p109b=[X]\n", 2},
      {"PIT28", "p109a=[X]\np109b=[X]\n", 1},
      {"PIT28", "p109a=[  ]\np109b=[  ]\n", 0},
      {"PIT28", "", 0},
      {"PIT37", "p109a=[X]\n", 255},
      {"PIT38", "p109b=[X]\n", 255},
  };
  for (const auto& c : cases) {
    Set(std::string("[MAIN]\nPIT=") + c.code + "\n[PIT28a]\n" + c.boxes);
    EXPECT_EQ(solv::ExemptionChoice(), c.choice) << c.code << ' ' << c.boxes;
  }
}

TEST(OnePercentLimit, CutsDownToTensOfGrosz) {
  struct Case {
    long double taxDue;
    long double limit;
  };
  const Case cases[] = {{1234, 12.3L}, {999, 9.9L}, {5, 0}, {0, 0}, {8204, 82.0L}, {2030, 20.3L}};
  for (const auto& c : cases)
    EXPECT_EQ(solv::OnePercentLimit(c.taxDue), c.limit) << static_cast<double>(c.taxDue);
}

// The 1% rule on the current page, with short stand-in messages.
TEST_F(RulesTest, OnePercentRuleChecksTheAmountAgainstTheLimit) {
  const solv::OnePercentMessages texts{"ponad %s", "pamiętaj %s", "brak KRS"};
  struct Case {
    long double taxDue;
    const char* krs;     // nullptr: box absent
    const char* amount;  // nullptr: box absent
    const char* storedAmount;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {0, nullptr, nullptr, "<absent>", {}},                      // no tax: no reminder
      {0, nullptr, "0,00", "0,00", {}},
      {1234, nullptr, "12,35", "12,35", {"ponad 12,3", "brak KRS"}},
      {1234, nullptr, "12,30", "12,30", {"brak KRS"}},
      {1234, nullptr, "12,309", "12,309", {"brak KRS"}},          // cut to 12,30 before the check
      {1234, nullptr, "0,00", "0,00", {"pamiętaj 12,3"}},
      {1234, nullptr, nullptr, "<absent>", {"pamiętaj 12,3"}},
      {1234, "", "abc", "abc", {"pamiętaj 12,3"}},
      {1234, "0000012345", "99,00", "12,30", {}},                // the KRS number sets the amount
      {1234, "0000012345", nullptr, "12,30", {}},
      {5, "0000012345", "3,00", "0,00", {}},                      // limit 0: no reminder
      {5, nullptr, "0,10", "0,10", {"ponad 0", "brak KRS"}},
      {2030, nullptr, "20,31", "20,31", {"ponad 20,3", "brak KRS"}},  // 20,31 stays 20,31
      {2030, nullptr, "20,30", "20,30", {"brak KRS"}},
  };
  for (const auto& c : cases) {
    std::string text = "[MAIN]\nPIT=PIT37\n[PIT37a]\n";
    if (c.krs) text += std::string("p124=") + c.krs + "\n";
    if (c.amount) text += std::string("p125=") + c.amount + "\n";
    Set(text);
    solv::Store().currentPage = "PIT37a";
    solv::ClearMessages();
    solv::OnePercentRule(c.taxDue, "p124", "p125", texts);

    const std::string where = std::to_string(static_cast<int>(c.taxDue)) + " / " + (c.amount ? c.amount : "-");
    EXPECT_EQ(solv::ReadField("p125", "<absent>"), c.storedAmount) << where;
    std::vector<std::string> got(Messages().items.begin() + 1, Messages().items.end());
    EXPECT_EQ(got, c.messages) << where;
  }
}

}  // namespace
