// PIT-2K: the spouse's data under each taxation method and the check of
// box 33.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/dispatch.hpp"
#include "calc/scale/pit2k.hpp"
#include "calc/scale/pit2k_messages.hpp"
#include "form_test_support.hpp"

namespace {

using solv::Messages;

std::vector<int> SpouseBoxes() {
  std::vector<int> v{2};
  for (int b = 17; b <= 30; ++b) v.push_back(b);
  return v;
}
const std::vector<int> kOwnBoxes{1, 3, 10, 16, 32, 33, 34, 35, 36, 37, 40};

// Every box of parts A.1, A.2 and B filled with its number.
std::string FilledStatement() {
  std::string s = "[PIT2Ka]\np31a=[X]\n";
  for (int b = 1; b <= 40; ++b) s += P(b) + "=" + std::to_string(b) + "\n";
  return s;
}

class Pit2KTest : public FormFixture {
 protected:
  void Run(const std::string& setText) {
    NextSet(setText);
    solv::RecalcPIT2K("PIT2Ka");
  }
  static std::string Box(int box) { return FormFixture::Box("PIT2Ka", box); }
};

// Only a single parent (method 4) loses the spouse's data; the PIT-28 return
// is always individual, whatever its box 6 holds.
TEST_F(Pit2KTest, SpouseDataPerTaxationMethod) {
  const struct {
    const char* name;
    const char* main;
    bool emptied;
  } cases[] = {
      {"PIT-37 method 1", "[MAIN]\nPIT=PIT37\n[PIT37a]\np6a=[X]\n", false},
      {"PIT-37 method 2", "[MAIN]\nPIT=PIT37\n[PIT37a]\np6b=[X]\n", false},
      {"PIT-37 method 3", "[MAIN]\nPIT=PIT37\n[PIT37a]\np6c=[X]\n", false},
      {"PIT-37 method 4", "[MAIN]\nPIT=PIT37\n[PIT37a]\np6d=[X]\n", true},
      {"PIT-37 no method", "[MAIN]\nPIT=PIT37\n[PIT37a]\n", false},
      {"PIT-37 methods 2 and 4: the first wins", "[MAIN]\nPIT=PIT37\n[PIT37a]\np6b=[X]\np6d=[X]\n", false},
      {"PIT-36 method 1", "[MAIN]\nPIT=PIT36\n[PIT36a]\np6a=[X]\n", false},
      {"PIT-36 method 2", "[MAIN]\nPIT=PIT36\n[PIT36a]\np6b=[X]\n", false},
      {"PIT-36 method 3", "[MAIN]\nPIT=PIT36\n[PIT36a]\np6c=[X]\n", false},
      {"PIT-36 method 4", "[MAIN]\nPIT=PIT36\n[PIT36a]\np6d=[X]\n", true},
      {"PIT-36 no method", "[MAIN]\nPIT=PIT36\n[PIT36a]\n", false},
      {"PIT-28 is always method 1", "[MAIN]\nPIT=PIT28\n[PIT28a]\np6d=[X]\n", false},
      {"PIT-36 set ignores the box 6 of a PIT-37 page", "[MAIN]\nPIT=PIT36\n[PIT36a]\np6a=[X]\n[PIT37a]\np6d=[X]\n",
       false},
  };
  for (const auto& c : cases) {
    Run(std::string(c.main) + FilledStatement());
    for (int b : SpouseBoxes())
      EXPECT_EQ(Box(b), c.emptied ? "" : std::to_string(b)) << c.name << ": box " << b;
    for (int b : kOwnBoxes) EXPECT_EQ(Box(b), std::to_string(b)) << c.name << ": box " << b;
    EXPECT_EQ(solv::ReadField("p31a", "", "PIT2Ka"), "[X]") << c.name;
  }
}

TEST_F(Pit2KTest, SwitchingToSingleParentEmptiesTheSpouseOnTheNextRecalculation) {
  Run("[MAIN]\nPIT=PIT37\n[PIT37a]\np6a=[X]\n" + FilledStatement());
  EXPECT_EQ(Box(17), "17");
  solv::WriteField("p6a", "[  ]", "PIT37a");
  solv::WriteField("p6d", "[X]", "PIT37a");
  EXPECT_TRUE(solv::Recalculate("PIT2Ka"));
  for (int b : SpouseBoxes()) EXPECT_EQ(Box(b), "") << "box " << b;
  EXPECT_EQ(Box(16), "16");
}

TEST_F(Pit2KTest, InvoicedExpensesAgainstTheTotal) {
  const struct {
    const char* name;
    const char* boxes;
    const char* limit;  // nullptr: no message
  } cases[] = {
      {"equal", "p32=150000,50\np33=150000,50\n", nullptr},
      {"one grosz more", "p32=150000,50\np33=150000,51\n", "150000,5"},
      {"below", "p32=1000,00\np33=999,99\n", nullptr},
      {"a fraction of a grosz more", "p32=1000,00\np33=1000,004\n", nullptr},
      {"no total", "p33=0,01\n", "0"},
      {"both empty", "", nullptr},
  };
  for (const auto& c : cases) {
    solv::AddMessage("stary komunikat");
    Run(std::string("[MAIN]\nPIT=PIT37\n[PIT37a]\np6a=[X]\n[PIT2Ka]\n") + c.boxes);
    EXPECT_EQ(solv::Store().currentPage, "PIT2Ka") << c.name;
    std::vector<std::string> expected;
    if (c.limit) {
      std::string text = solv::kPit2KMessages[0];
      text.replace(text.find("%s"), 2, c.limit);
      expected.push_back(text);
    }
    EXPECT_EQ(std::vector<std::string>(Messages().items.begin() + 1, Messages().items.end()), expected) << c.name;
    EXPECT_EQ(Messages().counter, c.limit ? 1 : 0) << c.name;
  }
}

}  // namespace
