// PIT-37: computed boxes and checks of one recalculation.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "calc/box_lists.hpp"
#include "calc/locking_rules.hpp"
#include "calc/scale/pit37.hpp"
#include "calc/scale/pit37_messages.hpp"
#include "form_test_support.hpp"

namespace {

using solv::Messages;

// Heads of the PIT37a section: method, purpose and the organisation's KRS number.
constexpr const char* kAlone = "p6a=[X]\np10a=[X]\np124=0000012345\n";
constexpr const char* kJoint = "p6b=[X]\np10a=[X]\np124=0000012345\n";
constexpr const char* kAloneNoKrs = "p6a=[X]\np10a=[X]\n";
// Method 1 with one employment row.
constexpr const char* kWorkedIncome = "p39=50000,00\np40=1335,00\np43=7000\n";

class Pit37Test : public FormFixture {
 protected:
  // Writes a new PIT-37 set with `boxes` in PIT37a and recalculates it.
  void Run(const std::string& boxes) {
    NextSet("[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\n" + boxes);
    solv::RecalcPIT37("PIT37a");
  }
  static std::string Box(int box) { return FormFixture::Box("PIT37a", box); }
};

struct BoxCase {
  const char* name;
  std::string input;
  std::vector<std::pair<int, const char*>> boxes;
};

TEST_F(Pit37Test, ComputedBoxes) {
  const BoxCase cases[] = {
      {"method 1, one employment row",
       std::string(kAlone) + kWorkedIncome,
       {{41, "48665,00"}, {42, "0,00"}, {45, "0,00"}, {62, "50000,00"}, {63, "1335,00"}, {64, "48665,00"},
        {65, "7000"}, {97, "48665,00"}, {103, "0,00"}, {104, "0,00"}, {105, "48665,00"}, {106, "48665"},
        {107, "8203,68"}, {109, "8203,68"}, {116, "8203,68"}, {118, "0,00"}, {119, "0,00"}, {120, "8204"},
        {121, "7000"}, {122, "1204"}, {123, "0"}, {125, "82,00"}}},
      {"method 2 with an empty spouse splits the income",
       std::string(kJoint) + kWorkedIncome,
       {{68, "0,00"}, {69, "0,00"}, {72, "0,00"}, {89, "0,00"}, {90, "0,00"}, {91, "0,00"}, {92, "0"},
        {98, "0,00"}, {105, "48665,00"}, {106, "24333"}, {107, "7647,84"}, {120, "7648"}, {122, "648"}}},
      {"method 4 splits the income, taxed alone",
       std::string("p6d=[X]\np10a=[X]\n") + kWorkedIncome,
       {{89, ""}, {98, ""}, {106, "24333"}, {107, "7647,84"}}},
      {"method 0 still splits the income",
       std::string("p7a=[X]\np10a=[X]\n") + kWorkedIncome,
       {{106, "24333"}, {107, "7647,84"}}},
      {"joint: the spouse's columns",
       std::string("p6c=[X]\np10a=[X]\n") + kWorkedIncome +
           "p66=30000,00\np67=1000,00\np70=2000\np71=5000,00\np73=500\np74=100,00\np84=10,00\np85=20,00\n"
           "p94=1000,00\n",
       {{68, "29000,00"}, {69, "0,00"}, {72, "5000,00"}, {76, "100,00"}, {77, "0,00"}, {81, "0,00"}, {82, "0,00"},
        {86, "0,00"}, {87, "10,00"}, {89, "35110,00"}, {90, "1020,00"}, {91, "34100,00"}, {92, "2500"},
        {97, "48665,00"}, {98, "33100,00"}, {105, "81765,00"}, {106, "40883"}, {107, "13605,84"},
        {120, "13606"}, {121, "9500"}, {122, "4106"}, {123, "0"}}},
      {"rows with equal costs, a loss and pensions",
       std::string(kAlone) + "p44=1234,5\np47=100,00\np48=100,00\np52=200,00\np53=50,00\np57=100,00\np58=150,00\n",
       {{41, "0,00"}, {42, "0,00"}, {45, "1234,50"}, {49, "0,00"}, {50, "0,00"}, {54, "150,00"}, {55, "0,00"},
        {59, "0,00"}, {60, "50,00"}, {62, "1634,50"}, {63, "300,00"}, {64, "1384,50"}}},
      // 8000,03 - 0,53 is 7999,4999... in binary: rounded once it would be 7999.
      {"tax due rounded through grosz to whole zloty",
       std::string(kAlone) + kWorkedIncome + "p110=203,65\np117=0,53\n",
       {{116, "8000,03"}, {118, "0,53"}, {120, "8000"}}},
      {"advances in whole zloty",
       std::string(kAlone) + "p43=1000,50\np46=0,20\n",
       {{65, "1001"}, {120, "0"}, {121, "1001"}, {122, "0"}, {123, "1001"}}},
      {"advances total rounded through the 0.00 form", std::string(kAlone) + "p43=0,4951\n", {{65, "1"}}},
      {"advances above the tax",
       std::string(kAlone) + "p39=50000,00\np40=1335,00\np43=10000\n",
       {{120, "8204"}, {121, "10000"}, {122, "0"}, {123, "1796"}}},
      {"housing expenses above the remaining income",
       std::string(kAlone) + "p39=1000,00\np102=1500,00\n",
       {{97, "1000,00"}, {103, "1000,00"}, {104, "500,00"}, {105, "0,00"}, {106, "0"}, {107, "0,00"}}},
      {"housing expenses after other deductions",
       std::string(kAlone) + "p39=1000,00\np99=200,00\np101=300,00\np102=800,00\n",
       {{103, "500,00"}, {104, "300,00"}, {105, "0,00"}}},
      {"housing expenses with the remaining income negative",
       std::string(kAlone) + "p39=1000,00\np99=1200,00\np102=300,00\n",
       {{103, "0,00"}, {104, "300,00"}, {105, "-200,00"}, {106, "-200"}, {107, "0,00"}, {120, "0"}}},
      {"deductions from income and from tax",
       std::string(kAlone) +
           "p39=50000,00\np40=1335,00\np93=4865,00\np108=100,00\np110=3800,00\np114=100,00\np117=1000,00\n",
       {{97, "43800,00"}, {105, "43800,00"}, {106, "43800"}, {107, "7327,98"}, {109, "7427,98"},
        {116, "3527,98"}, {118, "1000,00"}, {119, "0,00"}, {120, "2528"}, {125, "25,20"}}},
      {"housing relief above the tax",
       std::string(kAlone) + "p108=100,00\np117=250,00\n",
       {{116, "100,00"}, {118, "100,00"}, {119, "150,00"}, {120, "0"}}},
      {"a typed 1% amount is replaced when a KRS number is given",
       std::string(kAlone) + kWorkedIncome + "p125=5,00\n",
       {{125, "82,00"}}},
      {"without a KRS number the typed amount stays",
       std::string(kAloneNoKrs) + kWorkedIncome + "p125=82,10\n",
       {{125, "82,10"}}},
  };
  for (const auto& c : cases) {
    Run(c.input);
    for (const auto& [box, expected] : c.boxes) EXPECT_EQ(Box(box), expected) << c.name << ": box " << box;
  }
}

TEST_F(Pit37Test, RecalculatingAgainChangesNothing) {
  Run(std::string(kJoint) + kWorkedIncome + "p66=1000,00\np93=100,00\np117=50,00\n");
  const std::string first = FileBytes();
  solv::RecalcPIT37("PIT37a");
  EXPECT_EQ(FileBytes(), first);
}

TEST_F(Pit37Test, SpouseBoxesAreEmptiedWhenFilingAlone) {
  // The list the calculation and the locking share.
  std::vector<int> spouse;
  for (const std::string& box : solv::ExpandBoxList(solv::box_lists::kPit37Spouse)) spouse.push_back(std::stoi(box.substr(1)));
  ASSERT_EQ(spouse.size(), 1u + 14 + 27 + 7);
  const std::vector<int> own{1, 11, 15, 24, 39, 93, 95, 99, 110, 112, 114};

  std::string input = kAlone;
  for (int b : spouse) input += P(b) + "=1\n";
  for (int b : own) input += P(b) + "=1\n";
  Run(input);
  for (int b : spouse) EXPECT_EQ(Box(b), "") << "box " << b;
  for (int b : own) EXPECT_EQ(Box(b), "1") << "box " << b;
}

TEST_F(Pit37Test, JointSpouseAddressDefaultsToTheTaxpayers) {
  std::string address;
  for (int k = 0; k <= 9; ++k) address += P(15 + k) + "=A" + std::to_string(15 + k) + "\n";
  Run(std::string(kJoint) + address + "p25=Nowak\np29=NIEMCY\np31=X\n");
  EXPECT_EQ(Box(29), "NIEMCY");
  EXPECT_EQ(Box(30), "A16");
  EXPECT_EQ(Box(31), "X");
  for (int b = 32; b <= 38; ++b) EXPECT_EQ(Box(b), "A" + std::to_string(b - 14)) << "box " << b;
  EXPECT_EQ(Box(25), "Nowak");

  // Alone empties the spouse; back to joint refills only the address.
  solv::WriteField("p6b", "[  ]", "PIT37a");
  solv::WriteField("p6a", "[X]", "PIT37a");
  solv::RecalcPIT37("PIT37a");
  EXPECT_EQ(Box(29), "");
  EXPECT_EQ(Box(25), "");
  solv::WriteField("p6a", "[  ]", "PIT37a");
  solv::WriteField("p6b", "[X]", "PIT37a");
  solv::RecalcPIT37("PIT37a");
  for (int b = 29; b <= 38; ++b) EXPECT_EQ(Box(b), "A" + std::to_string(b - 14)) << "box " << b;
  EXPECT_EQ(Box(25), "");
}

std::string Expected(const Msg& m) {
  return WithLimit(solv::kPit37Messages[m.n], m.limit);
}

// Each check fires on its condition with its limit in the POPRAW link; equal
// to the limit passes, one grosz more fails.
TEST_F(Pit37Test, ChecksAndTheirLimits) {
  const MessageCase cases[] = {
      {"clean alone", kAlone, "", {}},
      {"clean joint", kJoint, "", {}},
      {"no method", "p10a=[X]\np124=1\n", "", {{0}}},
      {"no method, box 7", "p10a=[X]\np124=1\np7a=[X]\n", "", {{0}, {1}}},
      {"no method, box 8", "p10a=[X]\np124=1\np8a=[X]\n", "", {{0}, {2}}},
      {"no method, boxes 7 and 8", "p10a=[X]\np124=1\np7a=[X]\np8a=[X]\n", "", {{0}, {1}, {2}}},
      {"boxes 7 and 8 with a method", kAlone, "p7a=[X]\np8a=[X]\n", {}},
      {"no purpose", "p6a=[X]\np124=1\n", "", {{3}}},
      {"purpose with a lower-case tick", "p6a=[X]\np124=1\np10a=[x]\n", "", {{3}}},
      {"correction as purpose", "p6a=[X]\np124=1\np10b=[X]\n", "", {}},
      {"93 equal to 64", kAlone, "p39=1000,50\np93=1000,50\n", {}},
      {"93 above 64", kAlone, "p39=1000,50\np93=1000,51\n", {{4, "1000,5"}}},
      {"94 equal to 91", kJoint, "p66=500,00\np94=500,00\n", {}},
      {"94 above 91", kJoint, "p66=500,00\np94=500,01\n", {{5, "500"}}},
      {"94 is not checked alone", kAlone, "p66=500,00\np94=900,00\n", {}},
      {"95 equal to 93", kAlone, "p39=1000,00\np93=100,00\np95=100,00\n", {}},
      {"95 above 93", kAlone, "p39=1000,00\np93=100,00\np95=100,01\n", {{6, "100"}}},
      {"96 equal to 94", kJoint, "p66=1000,00\np94=100,00\np96=100,00\n", {}},
      {"96 above 94", kJoint, "p66=1000,00\np94=100,00\np96=100,01\n", {{7, "100"}}},
      {"99 equal to 97", kAlone, "p39=1000,00\np99=1000,00\n", {}},
      {"99 above 97 also breaks the limit of 101", kAlone, "p39=1000,00\np99=1000,01\n", {{8, "1000"}, {10, "-0,01"}}},
      {"100 equal to 98", kJoint, "p66=1000,00\np100=1000,00\n", {}},
      {"100 above 98", kJoint, "p66=1000,00\np100=1000,01\n", {{9, "1000"}, {10, "-0,01"}}},
      {"101 equal to its limit", kAlone, "p39=1000,00\np99=400,00\np101=600,00\n", {}},
      {"101 above its limit", kAlone, "p39=1000,00\np99=400,00\np101=600,01\n", {{10, "600"}}},
      {"101 above the joint limit", kJoint, "p39=1000,00\np66=500,00\np99=100,00\np100=100,00\np101=1300,01\n",
       {{10, "1300"}}},
      {"110 equal to 109", kAlone, "p108=1000,00\np110=1000,00\n", {}},
      {"110 above 109 also breaks the limit of 114", kAlone, "p108=1000,00\np110=1000,01\n",
       {{11, "1000"}, {15, "-0,01"}}},
      {"110 and 111 equal to 109", kJoint, "p108=1000,00\np110=600,00\np111=400,00\n", {}},
      {"110 and 111 above 109", kJoint, "p108=1000,00\np110=600,00\np111=400,01\n", {{12}, {16}}},
      {"111 is not counted alone", kAlone, "p108=1000,00\np110=600,00\np111=400,01\n", {}},
      {"112 equal to 110", kAlone, "p108=1000,00\np110=100,00\np112=100,00\n", {}},
      {"112 above 110", kAlone, "p108=1000,00\np110=100,00\np112=100,01\n", {{13, "100"}}},
      {"113 equal to 111", kJoint, "p108=1000,00\np111=100,00\np113=100,00\n", {}},
      {"113 above 111", kJoint, "p108=1000,00\np111=100,00\np113=100,01\n", {{14, "100"}}},
      {"114 equal to its limit", kAlone, "p108=1000,00\np110=300,00\np114=700,00\n", {}},
      {"114 above its limit", kAlone, "p108=1000,00\np110=300,00\np114=700,01\n", {{15, "700"}}},
      {"114 and 115 equal to their limit", kJoint, "p108=1000,00\np110=300,00\np111=200,00\np114=250,00\np115=250,00\n",
       {}},
      {"114 and 115 above their limit", kJoint, "p108=1000,00\np110=300,00\np111=200,00\np114=250,00\np115=250,01\n",
       {{16}}},
      {"1% amount above the limit", kAloneNoKrs, "p108=1000,00\np125=10,01\n", {{17, "10"}, {19}}},
      {"1% amount equal to the limit", kAloneNoKrs, "p108=1000,00\np125=10,00\n", {{19}}},
      {"1% amount empty", kAloneNoKrs, "p108=1000,00\n", {{18, "10"}}},
      {"1% amount zero", kAloneNoKrs, "p108=1000,00\np125=0,00\n", {{18, "10"}}},
      {"1% without tax", kAloneNoKrs, "", {}},
      {"1% with a KRS number", kAlone, "p108=1000,00\np125=10,01\n", {}},
      {"1% of the worked example above", kAloneNoKrs, kWorkedIncome, {{18, "82"}}},
      {"1% typed above the limit", kAloneNoKrs, "p39=50000,00\np40=1335,00\np43=7000\np125=82,10\n",
       {{17, "82"}, {19}}},
  };
  for (const auto& c : cases) {
    Run(std::string(c.head) + c.boxes);
    std::vector<std::string> expected;
    for (const auto& m : c.expected) expected.push_back(Expected(m));
    EXPECT_EQ(MessageItems(), expected) << c.name;
    EXPECT_EQ(Messages().counter, static_cast<int>(c.expected.size())) << c.name;
  }
}

// Messages come in the order the checks run.
TEST_F(Pit37Test, MessagesInCheckOrder) {
  const MessageCase cases[] = {
      {"alone", "p7a=[X]\np8a=[X]\n",
       "p39=1000,00\np93=1000,01\np95=1000,02\np99=5,00\np108=1000,00\np110=1000,01\np112=1000,02\np125=1,00\n",
       {{0}, {1}, {2}, {3}, {4, "1000"}, {6, "1000,01"}, {8, "0"}, {10, "-5"}, {11, "1000"}, {13, "1000,01"},
        {15, "-0,01"}, {17, "0"}, {19}}},
      {"joint", kJoint,
       "p39=100,00\np93=100,01\np66=100,00\np94=100,01\np95=100,02\np96=100,02\np99=1,00\np100=1,00\n"
       "p108=1000,00\np110=600,00\np111=400,01\np112=600,01\np113=400,02\n",
       {{4, "100"}, {5, "100"}, {6, "100,01"}, {7, "100,01"}, {8, "0"}, {9, "0"}, {10, "-2"}, {12},
        {13, "600"}, {14, "400,01"}, {16}}},
  };
  for (const auto& c : cases) {
    Run(std::string(c.head) + c.boxes);
    std::vector<std::string> expected;
    for (const auto& m : c.expected) expected.push_back(Expected(m));
    EXPECT_EQ(MessageItems(), expected) << c.name;
  }
}

TEST_F(Pit37Test, SetsTheCurrentPageAndReplacesEarlierMessages) {
  solv::AddMessage("stary komunikat");
  set_ = dir_ / "x.i10";
  WriteSet(std::string("[MAIN]\nPIT=PIT37\n[PIT37a]\n") + kAlone);
  solv::Store().currentPage = "PITOa";
  solv::RecalcPIT37("PIT37a");
  EXPECT_EQ(solv::Store().currentPage, "PIT37a");
  ASSERT_EQ(Messages().items.size(), 1u);
  EXPECT_EQ(Messages().items[0], solv::kHeaderEmpty);
}

}  // namespace
