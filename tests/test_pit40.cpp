// PIT-40: computed boxes, settlement with the advances and checks of one
// recalculation.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "calc/dispatch.hpp"
#include "calc/scale/pit40.hpp"
#include "calc/scale/pit40_messages.hpp"
#include "form_test_support.hpp"

namespace {

namespace fs = std::filesystem;
using solv::Messages;

// Purpose and kind of payer ticked.
constexpr const char* kHead = "p6a=[X]\np7a=[X]\n";
// One employment row with standard costs and deductions.
constexpr const char* kWorked = "p37=30000,00\np38=1335,00\np40=3000\np68=4113,00\np77=2300,00\np79=2000,00\n";
// Income of 10000,00: box 76 is 1243,98.
constexpr const char* kSmallIncome = "p37=10000,00\n";

class Pit40Test : public FormFixture {
 protected:
  // Writes a new PIT-40 set with `boxes` in PIT40a and recalculates it.
  void Run(const std::string& boxes) {
    NextSet("[MAIN]\nPIT=PIT40\nVER=10\n[PIT40a]\n" + boxes);
    solv::RecalcPIT40("PIT40a");
  }
  static std::string Box(int box) { return FormFixture::Box("PIT40a", box); }
};

struct BoxCase {
  const char* name;
  std::string input;
  std::vector<std::pair<int, const char*>> boxes;
};

TEST_F(Pit40Test, ComputedBoxes) {
  const BoxCase cases[] = {
      {"worked example: refund",
       std::string(kHead) + kWorked,
       {{39, "28665,00"}, {44, "0,00"}, {47, "0,00"}, {50, "0,00"}, {54, "0,00"}, {58, "0,00"}, {62, "0,00"},
        {64, "30000,00"}, {65, "1335,00"}, {66, "28665,00"}, {67, "3000"}, {73, "24552"}, {74, "3863,34"},
        {76, "3863,34"}, {82, "1863"}, {83, "0"}, {84, "1137"}}},
      {"advances below the tax: to pay",
       std::string(kHead) + "p37=30000,00\np38=1335,00\np40=1000\np68=4113,00\np77=2300,00\np79=2000,00\n",
       {{67, "1000"}, {82, "1863"}, {83, "863"}, {84, "0"}}},
      {"advances equal to the tax", std::string(kHead) + "p37=30000,00\np38=1335,00\np40=1863\np68=4113,00\n"
                                                          "p77=2300,00\np79=2000,00\n",
       {{83, "0"}, {84, "0"}}},
      {"no tax and no advances", kHead, {{66, "0,00"}, {67, "0"}, {73, "0"}, {74, "0,00"}, {82, "0"}, {83, "0"},
                                         {84, "0"}}},
      {"no tax, advances all refunded", std::string(kHead) + "p37=3000,00\np40=120\n",
       {{73, "3000"}, {74, "0,00"}, {82, "0"}, {83, "0"}, {84, "120"}}},
      {"row 1 takes both kinds of employment costs",
       std::string(kHead) + "p37=1000,00\np38=200,00\np41=500,00\np42=100,00\n",
       {{39, "1200,00"}, {64, "1500,00"}, {65, "300,00"}, {66, "1200,00"}}},
      {"row 1 costs above revenue give no income",
       std::string(kHead) + "p37=1000,00\np38=900,00\np41=100,00\np42=300,00\n",
       {{39, "0,00"}, {65, "1200,00"}, {66, "0,00"}}},
      {"rows 5 to 7: costs above revenue carry no loss",
       std::string(kHead) + "p37=1000,00\np52=100,00\np53=150,00\np56=200,00\np57=80,00\np60=50,00\np61=50,01\n",
       {{54, "0,00"}, {58, "120,00"}, {62, "0,00"}, {64, "1350,00"}, {65, "280,01"}, {66, "1120,00"}}},
      {"rows 2 to 4 are income as received",
       std::string(kHead) + "p43=100,10\np45=10\np46=200,20\np48=20\np49=300,30\np51=30\n",
       {{44, "100,10"}, {47, "200,20"}, {50, "300,30"}, {64, "600,60"}, {66, "600,60"}, {67, "60"}}},
      {"boxes 39 and 44 round in two stages, 47 and 50 once",
       std::string(kHead) + "p37=0,4449\np43=0,4449\np46=0,4449\np49=0,4449\n",
       {{39, "0,45"}, {44, "0,45"}, {47, "0,44"}, {50, "0,44"}}},
      {"advances total rounded through the 0.00 form", std::string(kHead) + "p40=0,4951\n", {{67, "1"}, {84, "1"}}},
      {"advances of every row", std::string(kHead) + "p40=1\np45=2\np48=3\np51=4\np55=5\np59=6\np63=7,50\n",
       {{67, "29"}}},
      {"tax base rounded half up to whole zloty",
       std::string(kHead) + "p37=30000,00\np38=1335,00\np68=4112,50\n",
       {{73, "24553"}, {74, "3863,52"}}},
      {"tax base rounded once", std::string(kHead) + "p37=30000,00\np38=1335,00\np68=4112,53125\n", {{73, "24552"}}},
      {"deductions from income above the income",
       std::string(kHead) + "p37=1000,00\np68=600,00\np70=300,00\np72=200,00\n", {{73, "0"}, {74, "0,00"}}},
      {"second bracket and additions",
       std::string(kHead) + "p37=100000,00\np75=100,00\n",
       {{73, "100000"}, {74, "19470,06"}, {76, "19570,06"}, {82, "19570"}, {83, "19570"}}},
      {"tax rounded in two stages", std::string(kHead) + "p75=0,0046\n", {{76, "0,01"}}},
      {"tax due rounded half up", std::string(kHead) + kWorked + "p81=0,84\n", {{82, "1863"}, {84, "1137"}}},
      {"tax due rounded once, down", std::string(kHead) + kWorked + "p81=0,89\n", {{82, "1862"}, {84, "1138"}}},
      {"deductions from tax above the tax",
       std::string(kHead) + "p37=10000,00\np40=500\np77=2000,00\np79=1000,00\np81=300,00\n",
       {{76, "1243,98"}, {82, "0"}, {83, "0"}, {84, "500"}}},
  };
  for (const auto& c : cases) {
    Run(c.input);
    for (const auto& [box, expected] : c.boxes) EXPECT_EQ(Box(box), expected) << c.name << ": box " << box;
  }
}

TEST_F(Pit40Test, RecalculatingAgainChangesNothing) {
  Run(std::string(kHead) + kWorked + "p43=0,4449\np52=10,00\np53=20,00\n");
  const std::string first = FileBytes();
  solv::RecalcPIT40("PIT40a");
  EXPECT_EQ(FileBytes(), first);
}

std::string Expected(const Msg& m) {
  return WithLimit(solv::kPit40Messages[m.n], m.limit);
}

struct MessageCase {
  const char* name;
  std::string input;
  std::vector<Msg> expected;
};

// Each check fires on its condition with its limit in the POPRAW link; equal
// to the limit passes, one grosz more fails.
TEST_F(Pit40Test, ChecksAndTheirLimits) {
  const std::string head = kHead;
  const MessageCase cases[] = {
      {"worked example is clean", head + kWorked, {}},
      {"correction and natural person", "p6b=[X]\np7b=[X]\n", {}},
      {"no purpose", "p7a=[X]\n", {{0}}},
      {"no kind of payer", "p6a=[X]\n", {{1}}},
      {"neither", "", {{0}, {1}}},
      {"lower-case ticks do not count", "p6a=[x]\np7b=[x]\n", {{0}, {1}}},
      {"68 + 70 + 72 equal to 66", head + "p37=1000,00\np68=500,00\np70=300,00\np72=200,00\n", {}},
      {"68 + 70 + 72 above 66", head + "p37=1000,00\np68=500,00\np70=300,00\np72=200,01\n", {{2}}},
      {"69 equal to 68", head + "p37=1000,00\np68=100,50\np69=100,50\n", {}},
      {"69 above 68", head + "p37=1000,00\np68=100,50\np69=100,51\n", {{3, "100,5"}}},
      {"69 above an empty 68", head + "p69=0,01\n", {{3, "0"}}},
      {"79 equal to 76", head + kSmallIncome + "p77=2000,00\np79=1243,98\n", {}},
      {"79 above 76 also breaks the sum with 81", head + kSmallIncome + "p77=2000,00\np79=1243,99\n",
       {{5, "1243,98"}, {7}}},
      {"79 equal to 77", head + kSmallIncome + "p77=100,00\np79=100,00\n", {}},
      {"79 above 77", head + kSmallIncome + "p77=100,00\np79=100,01\n", {{6, "100"}}},
      {"78 equal to 77", head + kSmallIncome + "p77=100,00\np78=100,00\n", {}},
      {"78 above 77", head + kSmallIncome + "p77=100,00\np78=100,01\n", {{4, "100"}}},
      {"79 + 81 equal to 76", head + kSmallIncome + "p77=1000,00\np79=1000,00\np81=243,98\n", {}},
      {"79 + 81 above 76", head + kSmallIncome + "p77=1000,00\np79=1000,00\np81=243,99\n", {{7}}},
      {"a fraction of a grosz is not above the limit", head + kSmallIncome + "p77=100,00\np78=100,004\n", {}},
      {"79 above both 76 and 77: 5 and 6 before 4",
       head + kSmallIncome + "p77=1000,00\np78=1000,01\np79=1300,00\n",
       {{5, "1243,98"}, {6, "1000"}, {4, "1000"}, {7}}},
      {"every check at once",
       "p37=1000,00\np68=1000,00\np69=1000,01\np70=0,01\np75=100,00\np77=50,00\np78=50,01\np79=100,01\n",
       {{0}, {1}, {2}, {3, "1000"}, {5, "100"}, {6, "50"}, {4, "50"}, {7}}},
  };
  for (const auto& c : cases) {
    Run(c.input);
    std::vector<std::string> expected;
    for (const auto& m : c.expected) expected.push_back(Expected(m));
    EXPECT_EQ(MessageItems(), expected) << c.name;
    EXPECT_EQ(Messages().counter, static_cast<int>(c.expected.size())) << c.name;
  }
}

TEST_F(Pit40Test, SetsTheCurrentPageAndReplacesEarlierMessages) {
  solv::AddMessage("stary komunikat");
  WriteSet(std::string("[MAIN]\nPIT=PIT40\n[PIT40a]\n") + kHead);
  solv::Store().currentPage = "PIT37a";
  EXPECT_TRUE(solv::Recalculate("PIT40a"));
  EXPECT_EQ(solv::Store().currentPage, "PIT40a");
  ASSERT_EQ(Messages().items.size(), 1u);
  EXPECT_EQ(Messages().items[0], solv::kHeaderEmpty);
  EXPECT_EQ(Box(84), "0");
}

// The example set through solvcalc: recalc writes the same boxes as the
// library and reports no messages; check finds the return clean.
class Pit40ExampleTest : public SetFixture {
 protected:
  int Solvcalc(const std::vector<std::string>& args) {
    const ToolRun run = RunSolvcalc(args, dir_);
    out_ = run.out;
    err_ = run.err;
    return run.exitCode;
  }
  fs::path Copy(const std::string& name) { return CopyExample("pit40.i10", dir_ / name); }
  std::string out_, err_;
};

TEST_F(Pit40ExampleTest, RecalcAndCheck) {
  const fs::path tool = Copy("a.i10");
  const fs::path library = Copy("b.i10");
  EXPECT_EQ(Solvcalc({"recalc", tool.string()}), 0);
  EXPECT_EQ(out_, "PIT40a\t0\n");
  EXPECT_EQ(err_, "");

  solv::OpenSet(library);
  solv::RecalcPIT40("PIT40a");
  EXPECT_EQ(Bytes(tool), Bytes(library));
  EXPECT_NE(Bytes(tool), Bytes(fs::path(EXAMPLES_DIR) / "pit40.i10"));
  for (const auto& [box, expected] : std::vector<std::pair<int, const char*>>{
           {66, "28665,00"}, {73, "24552"}, {74, "3863,34"}, {82, "1863"}, {83, "0"}, {84, "1137"}})
    EXPECT_EQ(solv::ReadField(P(box), "", "PIT40a"), expected) << "box " << box;

  EXPECT_EQ(Solvcalc({"check", Copy("c.i10").string()}), 0) << out_;
  EXPECT_NE(out_.find("nie występują błędy"), std::string::npos) << out_;
}

}  // namespace
