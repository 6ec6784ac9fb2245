// PIT/D: derived boxes, the PIT-28 parts, the spouses' splits under every
// main form and taxation method, and solvcalc on the example set.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "calc/dispatch.hpp"
#include "calc/other/pitd.hpp"
#include "calc/other/pitd_messages.hpp"
#include "form_test_support.hpp"

namespace {

namespace fs = std::filesystem;
using solv::Messages;

// Main forms with the section that carries the taxation method.
constexpr const char* kPit28 = "[MAIN]\nPIT=PIT28\nVER=10\n[PIT28a]\n";
constexpr const char* kPit37Alone = "[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\np6a=[X]\n";
constexpr const char* kPit37Joint = "[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\np6b=[X]\n";
constexpr const char* kPit37Joint3 = "[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\np6c=[X]\n";
constexpr const char* kPit37Parent = "[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\np6d=[X]\n";
constexpr const char* kPit37NoMethod = "[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\n";
constexpr const char* kPit36Alone = "[MAIN]\nPIT=PIT36\nVER=10\n[PIT36a]\np6a=[X]\n";
constexpr const char* kPit36Joint = "[MAIN]\nPIT=PIT36\nVER=10\n[PIT36a]\np6c=[X]\n";
// A spouse named on PIT/D.
constexpr const char* kSpouse = "p2=7680002466\n";

class PitdTest : public FormFixture {
 protected:
  // A new set of the main form `head` with `boxes` in PITDa, recalculated.
  void Run(const std::string& head, const std::string& boxes) {
    NextSet(head + "[PITDa]\n" + boxes);
    solv::RecalcPITD("PITDa");
  }
  static std::string Box(const std::string& box) { return FormFixture::Box("PITDa", box); }
};

struct BoxCase {
  const char* name;
  std::string boxes;
  std::vector<std::pair<const char*, const char*>> expected;
};

TEST_F(PitdTest, DerivedBoxes) {
  const BoxCase cases[] = {
      {"empty form", "", {{"p34", "0,00"}, {"p42", "0,00"}, {"p44", "0,00"}, {"p51", "0,00"}, {"p53", "0,00"}}},
      {"B.1 whole part for PIT-28", "p32=1000\np33=1000\n", {{"p34", "0,00"}}},
      {"B.1 rest for the scale", "p32=1000,50\np33=200,25\n", {{"p34", "800,25"}}},
      {"B.1 PIT-28 part above the total is not clamped", "p32=1000\np33=1200\n", {{"p34", "-200,00"}}},
      {"B.3 total and rest", "p40=500\np41=250,10\np43=100\n", {{"p42", "750,10"}, {"p44", "650,10"}}},
      {"B.3 PIT-28 part above the total is clamped", "p40=500\np41=0\np43=600\n", {{"p42", "500,00"}, {"p44", "0,00"}}},
      {"C total and rest", "p49=11340\np50=99,99\np52=1000\n", {{"p51", "11439,99"}, {"p53", "10439,99"}}},
      {"C PIT-28 part above the total is not clamped", "p49=100\np52=150\n", {{"p51", "100,00"}, {"p53", "-50,00"}}},
      {"amounts rounded once to grosz", "p32=0,125\np40=0,004\np41=0,001\n", {{"p34", "0,13"}, {"p42", "0,01"}}},
      {"unreadable amounts count as 0", "p32=abc\np40=1.5\np49=x\n",
       {{"p34", "0,00"}, {"p42", "0,00"}, {"p51", "0,00"}}},
  };
  for (const auto& c : cases) {
    Run(kPit37Alone, c.boxes);
    for (const auto& [box, value] : c.expected) EXPECT_EQ(Box(box), value) << c.name << ": " << box;
  }
}

struct Msg {
  int n;
  const char* correction = "";
};

std::string Expected(const Msg& m) {
  std::string text = solv::kPitdMessages[m.n];
  if (const size_t at = text.find("%%"); at != std::string::npos) text.replace(at, 2, "%");
  if (const size_t at = text.find("%s"); at != std::string::npos) text.replace(at, 2, m.correction);
  return text;
}

struct MessageCase {
  const char* name;
  const char* head;
  std::string boxes;
  std::vector<Msg> expected;
};

void ExpectMessages(const MessageCase& c, const std::vector<std::string>& items) {
  std::vector<std::string> expected;
  for (const auto& m : c.expected) expected.push_back(Expected(m));
  EXPECT_EQ(items, expected) << c.name;
  EXPECT_EQ(Messages().counter, static_cast<int>(expected.size())) << c.name;
}

TEST_F(PitdTest, LimitsOfThePit28PartsAndTheSavings) {
  const MessageCase cases[] = {
      {"empty form", kPit37Alone, "", {}},
      {"33 equal to 32", kPit37Alone, "p32=1000\np33=1000\np35=1000\n", {}},
      {"33 above 32 by a grosz", kPit37Alone, "p32=1000\np33=1000,01\np35=1000,01\n", {{0, "1000,00"}}},
      {"33 above 32 by less than half a grosz", kPit37Alone, "p32=1000\np33=1000,004\np35=1000\n", {}},
      {"D0 carries the two-decimal amount of 32", kPit37Alone, "p32=1000,5\np33=1200\np35=1200\n",
       {{0, "1000,50"}}},
      {"43 equal to 42", kPit37Alone, "p40=400\np41=100\np43=500\np45=500\n", {}},
      {"43 above 42", kPit37Alone, "p40=500\np41=0\np43=600\np45=600\n", {{3, "500,00"}}},
      {"49 at the savings limit", kPit37Alone, "p49=11340\n", {}},
      {"49 above the savings limit", kPit37Alone, "p49=11340,01\n", {{9, "11340"}}},
      {"52 equal to 51", kPit37Alone, "p49=100\np50=20\np52=120\np54=120\n", {}},
      {"52 above 51", kPit37Alone, "p49=100\np50=20,5\np52=121\np54=121\n", {{6, "120,50"}}},
  };
  for (const auto& c : cases) {
    Run(c.head, c.boxes);
    ExpectMessages(c, MessageItems());
  }
}

// D9 shows a single percent sign; the table holds the formatter's "%%".
TEST_F(PitdTest, SavingsMessageShowsOnePercentSign) {
  Run(kPit37Alone, "p49=20000\n");
  ASSERT_EQ(MessageItems().size(), 1u);
  EXPECT_NE(MessageItems()[0].find(">30% wydatków"), std::string::npos) << MessageItems()[0];
  EXPECT_EQ(MessageItems()[0].find("%%"), std::string::npos);
  EXPECT_NE(MessageItems()[0].find("popraw#11340#PITDb#P49"), std::string::npos);
}

// The split of a PIT-28 part (35/36, 45/46, 54/55) must equal it whenever a
// split is asked for: a spouse is named or a half is filled. A taxpayer with
// no spouse who leaves both halves empty is not asked to split.
TEST_F(PitdTest, SplitOfThePit28Parts) {
  const std::string b1 = "p32=1000\np33=1000\n";
  const MessageCase cases[] = {
      {"single PIT-28 filer, empty split", kPit28, b1, {}},
      {"single PIT-28 filer, zero split", kPit28, b1 + "p35=0\np36=0,00\n", {}},
      {"single PIT-28 filer, whole part in 35", kPit28, b1 + "p35=1000\n", {}},
      {"single PIT-28 filer, part of it in 35", kPit28, b1 + "p35=600\n", {{1}}},
      {"spouse named, empty split", kPit28, std::string(kSpouse) + b1, {{1}}},
      {"spouse named, split equal", kPit28, std::string(kSpouse) + b1 + "p35=600\np36=400\n", {}},
      {"spouse named, split a grosz above", kPit28, std::string(kSpouse) + b1 + "p35=600,01\np36=400\n", {{1}}},
      {"split with nothing to split", kPit28, "p36=1\n", {{1}}},
      {"B.3 spouse named", kPit28, std::string(kSpouse) + "p40=500\np43=500\np45=200\n", {{4}}},
      {"B.3 single filer, empty split", kPit28, "p40=500\np43=500\n", {}},
      {"B.3 single filer, split equal", kPit28, "p40=500\np43=500\np45=250\np46=250\n", {}},
      {"C spouse named", kPit28, std::string(kSpouse) + "p49=500\np52=500\np55=499,99\n", {{7}}},
      {"C single filer, empty split", kPit28, "p49=500\np52=500\n", {}},
      {"C single filer, split equal", kPit28, "p49=500\np52=500\np54=500\n", {}},
      {"runs under a PIT-37 return too", kPit37Alone, std::string(kSpouse) + "p32=2000\np33=1000\n", {{1}, {2}}},
  };
  for (const auto& c : cases) {
    Run(c.head, c.boxes);
    ExpectMessages(c, MessageItems());
  }
}

// A split matches in whole grosz with an exact half going to the even grosz.
TEST_F(PitdTest, SplitComparedInGroszHalfToEven) {
  EXPECT_EQ(solv::SplitGrosz(0.125L), 12);
  EXPECT_EQ(solv::SplitGrosz(0.375L), 38);
  EXPECT_EQ(solv::SplitGrosz(-0.125L), -12);
  EXPECT_EQ(solv::SplitGrosz(1000.12), 100012);

  const std::string part = "p32=2000\np33=1000,125\n";
  const MessageCase cases[] = {
      {"1000,125 agrees with 1000,12", kPit28, part + "p35=1000,12\n", {}},
      {"1000,125 differs from 1000,13", kPit28, part + "p35=1000,13\n", {{1}}},
      {"a sum under half a grosz", kPit28, std::string(kSpouse) + "p35=0,003\np36=0,001\n", {}},
  };
  for (const auto& c : cases) {
    Run(c.head, c.boxes);
    ExpectMessages(c, MessageItems());
  }
}

// The split of the rest for PIT-36 or PIT-37 (37/38, 47/48, 56/57) is checked
// only for a taxpayer filing individually with a spouse named.
TEST_F(PitdTest, SplitOfThePartsForTheScale) {
  const std::string all = "p32=1000\np40=500\np49=300\n";
  const MessageCase cases[] = {
      {"PIT-37 alone, no spouse named", kPit37Alone, all, {}},
      {"PIT-37 alone, spouse named, empty splits", kPit37Alone, std::string(kSpouse) + all, {{2}, {5}, {8}}},
      {"PIT-37 alone, spouse named, splits equal", kPit37Alone,
       std::string(kSpouse) + all + "p37=999,99\np38=0,01\np47=500\np56=100\np57=200\n", {}},
      {"PIT-36 alone, spouse named", kPit36Alone, std::string(kSpouse) + all + "p37=1000\np48=500\n", {{8}}},
      {"PIT-28 (always individual), spouse named", kPit28, std::string(kSpouse) + all + "p37=1000\np47=500\n",
       {{8}}},
      {"B.1 split against a negative rest", kPit37Alone,
       std::string(kSpouse) + "p32=100\np33=300\np35=300\np37=-200\n", {{0, "100,00"}}},
      {"no method: not checked", kPit37NoMethod, std::string(kSpouse) + all, {}},
      {"joint: not checked", kPit37Joint, std::string(kSpouse) + all, {}},
  };
  for (const auto& c : cases) {
    Run(c.head, c.boxes);
    ExpectMessages(c, MessageItems());
  }
}

// Spouses taxed jointly fill no spouses' request; the PIT-28 split checks
// still run beside it.
TEST_F(PitdTest, SpousesRequestUnderJointTaxation) {
  const MessageCase cases[] = {
      {"joint, empty requests", kPit37Joint, std::string(kSpouse) + "p32=1000\np40=500\np49=300\n", {}},
      {"joint, 36 filled", kPit37Joint, std::string(kSpouse) + "p36=1\n", {{1}, {10}}},
      {"joint, 37 equal to 34", kPit37Joint, std::string(kSpouse) + "p32=1000\np37=1000\n", {{10}}},
      {"joint art.6a, 38 and 47", kPit37Joint3, "p32=100\np38=100\np40=100\np47=100\n", {{10}, {11}}},
      {"joint, 45 equal to 43", kPit37Joint, "p40=100\np43=100\np45=100\n", {{11}}},
      {"joint, 57 only", kPit37Joint, "p49=100\np57=100\n", {{12}}},
      {"joint, 54 and 55 split 52", kPit37Joint, "p49=100\np52=100\np54=60\np55=40\n", {{12}}},
      {"joint, a request below half a grosz", kPit37Joint, "p36=0,004\n", {}},
      {"joint, a negative request", kPit37Joint, "p37=-5\n", {}},
      {"PIT-36 joint", kPit36Joint, "p48=1\n", {{11}}},
      {"alone, requests allowed", kPit37Alone, std::string(kSpouse) + "p32=1000\np37=600\np38=400\n", {}},
  };
  for (const auto& c : cases) {
    Run(c.head, c.boxes);
    ExpectMessages(c, MessageItems());
  }
}

TEST_F(PitdTest, MessagesInStepOrder) {
  Run(kPit37Alone, std::string(kSpouse) +
                       "p32=100\np33=200\np35=1\np40=100\np43=200\np45=1\np47=1\np49=12000\np52=13000\np54=1\n");
  const MessageCase c{"every check of an individual return",
                      kPit37Alone,
                      "",
                      {{0, "100,00"}, {1}, {2}, {3, "100,00"}, {4}, {5}, {9, "11340"}, {6, "12000,00"}, {7}, {8}}};
  ExpectMessages(c, MessageItems());

  Run(kPit37Joint, "p36=1\np45=1\np55=1\n");
  ExpectMessages({"joint", kPit37Joint, "", {{1}, {4}, {7}, {10}, {11}, {12}}}, MessageItems());
}

// Method 4: the spouse's identification and halves are emptied on every run,
// and what is left is checked as a return with no spouse.
TEST_F(PitdTest, SingleParentLosesTheSpouseBoxes) {
  std::vector<int> spouse{2, 36, 38, 46, 48, 55, 57};
  for (int b = 18; b <= 31; ++b) spouse.push_back(b);
  const std::vector<int> own{1, 4, 17, 35, 37, 45, 47, 54, 56};
  std::string boxes;
  for (int b : spouse) boxes += "p" + std::to_string(b) + "=1\n";
  for (int b : own) boxes += "p" + std::to_string(b) + "=1\n";
  Run(kPit37Parent, boxes);
  for (int b : spouse) EXPECT_EQ(Box("p" + std::to_string(b)), "") << "box " << b;
  for (int b : own) EXPECT_EQ(Box("p" + std::to_string(b)), "1") << "box " << b;
  // 35, 45, 54 hold 1 against PIT-28 parts of 0; 37/47/56 are not checked.
  ExpectMessages({"method 4", kPit37Parent, "", {{1}, {4}, {7}}}, MessageItems());

  // Under another method nothing is emptied.
  Run(kPit37Alone, boxes);
  for (int b : spouse) EXPECT_EQ(Box("p" + std::to_string(b)), "1") << "box " << b;
}

TEST_F(PitdTest, RecalculatingAgainChangesNothing) {
  Run(kPit37Parent, "p2=1\np32=1000\np33=1200\np40=10\np43=5\np49=1\np52=3\n");
  const std::string first = FileBytes();
  solv::RecalcPITD("PITDa");
  EXPECT_EQ(FileBytes(), first);
}

TEST_F(PitdTest, DispatchedByItsSection) {
  WriteSet(std::string(kPit37Alone) + "[PITDa]\np32=10\np33=20\np35=20\n");
  solv::AddMessage("stary komunikat");
  EXPECT_TRUE(solv::Recalculate("PITDa"));
  EXPECT_EQ(solv::Store().currentPage, "PITDa");
  EXPECT_EQ(Box("p34"), "-10,00");
  ExpectMessages({"dispatch", kPit37Alone, "", {{0, "10,00"}}}, MessageItems());
}

// ---------------------------------------------------------------- solvcalc

TEST_F(PitdTest, SolvcalcOnTheExampleSet) {
  const fs::path tool = CopyExample("pitd.i10", dir_ / "tool.i10");

  const ToolRun recalc = RunSolvcalc({"recalc", tool.string()}, dir_);
  EXPECT_EQ(recalc.exitCode, 0);
  EXPECT_EQ(recalc.out, "PITDa\t0\nPIT37a\t0\n");
  solv::OpenSet(tool);
  const std::pair<const char*, const char*> boxes[] = {
      {"p34", "2000,00"}, {"p42", "3500,00"}, {"p44", "3500,00"}, {"p51", "1200,00"}, {"p53", "1200,00"}};
  for (const auto& [box, value] : boxes) EXPECT_EQ(Box(box), value) << box;
  // The spouse of the joint return stays on the form; Polish letters survive.
  EXPECT_EQ(Box("p2"), "7680002466");
  EXPECT_EQ(Box("p39"), "wkład budowlany");
  // What PIT-37 took over from PIT/D.
  EXPECT_EQ(solv::ReadField("p101", {}, "PIT37a"), "2000,00");

  const ToolRun clean = RunSolvcalc({"check", tool.string()}, dir_);
  EXPECT_EQ(clean.exitCode, 0) << clean.out;
  EXPECT_EQ(clean.out.find("PIT/D"), std::string::npos) << clean.out;

  // Spouses taxed jointly who fill the spouses' request are told so.
  solv::WriteField("p37", "1000", "PITDa");
  solv::WriteField("p38", "1000", "PITDa");
  const ToolRun faulty = RunSolvcalc({"check", tool.string()}, dir_);
  EXPECT_EQ(faulty.exitCode, 1);
  EXPECT_NE(faulty.out.find("liczba komunikatów: 1\n"), std::string::npos) << faulty.out;
  EXPECT_NE(faulty.out.find("PIT/D, Poz.35 - 38. WNIOSEK MAŁŻONKÓW"), std::string::npos) << faulty.out;
}

}  // namespace
