// PIT/M: the children's income rows, the parent's share chosen in box 29 for
// the taxpayer and the spouse, and solvcalc on the example joint PIT-36 set.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "calc/dispatch.hpp"
#include "calc/other/pitm.hpp"
#include "calc/other/pitm_messages.hpp"
#include "form_test_support.hpp"

namespace {

namespace fs = std::filesystem;
using solv::Messages;

constexpr const char* kJointPit36 = "[MAIN]\nPIT=PIT36\nVER=10\n[PIT36a]\np6b=[X]\n";

class PitmTest : public FormFixture {
 protected:
  // A new joint PIT-36 set with `boxes` in `section`, recalculated there.
  void Run(const std::string& section, const std::string& boxes) {
    NextSet(std::string(kJointPit36) + "[" + section + "]\n" + boxes);
    solv::RecalcPITM(section);
  }
};

struct BoxCase {
  const char* name;
  std::string boxes;
  std::vector<std::pair<const char*, const char*>> expected;
};

constexpr const char* kBoth = "p29a=[X]\n";
constexpr const char* kOne = "p29b=[X]\n";

TEST_F(PitmTest, DerivedBoxesOfEitherParent) {
  const BoxCase cases[] = {
      {"worked example, both parents",
       std::string("p10=1000\np11=300\np9=12\np14=30\n") + kBoth,
       {{"p12", "700,00"}, {"p13", "0,00"}, {"p25", "1000,00"}, {"p26", "300,00"}, {"p27", "700,00"},
        {"p28", "42"}, {"p30", "350,00"}, {"p31", "21,00"}}},
      {"worked example, one parent", std::string("p10=1000\np11=300\np9=12\np14=30\n") + kOne,
       {{"p27", "700,00"}, {"p28", "42"}, {"p30", "700,00"}, {"p31", "42,00"}}},
      {"box 2 wins when both are ticked", std::string("p10=1000\np11=300\np9=12\np14=30\n") + kBoth + kOne,
       {{"p30", "700,00"}, {"p31", "42,00"}}},
      {"half a grosz rounds up", std::string("p7=100,01\n") + kBoth,
       {{"p8", "100,01"}, {"p27", "100,01"}, {"p30", "50,01"}}},
      // 1000,03 is 1000,0299... in binary: its half rounds to 500,01 at once.
      {"half a grosz below its decimal rounds up", std::string("p7=1000,03\n") + kBoth,
       {{"p27", "1000,03"}, {"p30", "500,02"}}},
      {"half of an odd advance", std::string("p9=43\n") + kBoth, {{"p28", "43"}, {"p31", "21,50"}}},
      {"losses stay out of the income total", std::string("p10=100\np11=300\np15=500\np16=200\n") + kOne,
       {{"p12", "0,00"}, {"p13", "200,00"}, {"p17", "300,00"}, {"p18", "0,00"}, {"p25", "600,00"},
        {"p26", "500,00"}, {"p27", "300,00"}, {"p30", "300,00"}}},
      {"every row adds up", std::string("p7=10\np10=20\np11=5\np15=30\np16=6\np20=40\np21=7\n") + kOne,
       {{"p22", "33,00"}, {"p23", "0,00"}, {"p25", "100,00"}, {"p26", "18,00"}, {"p27", "82,00"}}},
      {"advances total rounds half away from zero", std::string("p9=1,25\np14=1,25\n") + kOne,
       {{"p28", "3"}, {"p31", "3,00"}}},
      {"negative advances total", std::string("p9=-0,5\n") + kOne, {{"p28", "-1"}, {"p31", "-1,00"}}},
      {"pension copied as typed, unreadable counts 0", std::string("p7=abc\np10=5\n") + kOne,
       {{"p8", "abc"}, {"p25", "5,00"}, {"p27", "5,00"}}},
      {"empty form", kBoth,
       {{"p8", ""}, {"p12", "0,00"}, {"p25", "0,00"}, {"p27", "0,00"}, {"p28", "0"}, {"p30", "0,00"},
        {"p31", "0,00"}}},
  };
  for (const char* section : {"PITMa", "PITMa_M"}) {
    for (const auto& c : cases) {
      Run(section, c.boxes);
      for (const auto& [box, value] : c.expected)
        EXPECT_EQ(solv::ReadField(box, "<absent>", section), value) << section << ", " << c.name << ": " << box;
      EXPECT_TRUE(MessageItems().empty()) << section << ", " << c.name;
    }
  }
}

// Without a choice in box 29 the whole amounts are reported and the parent
// is asked to tick a box; the message names the taxpayer or the spouse.
TEST_F(PitmTest, MissingChoiceInBox29) {
  const std::pair<const char*, int> cases[] = {{"PITMa", 0}, {"PITMa_M", 1}};
  for (const auto& [section, n] : cases) {
    Run(section, "p10=1000\np11=300\np9=12\np14=30\np29a=[  ]\np29b=[  ]\n");
    EXPECT_EQ(MessageItems(), std::vector<std::string>{solv::kPitmMessages[n]}) << section;
    EXPECT_EQ(Messages().counter, 1) << section;
    EXPECT_EQ(solv::ReadField("p30", {}, section), "700,00") << section;
    EXPECT_EQ(solv::ReadField("p31", {}, section), "42,00") << section;
  }
}

// The spouse's instance runs through the dispatch on its own section and
// leaves the taxpayer's PIT/M alone.
TEST_F(PitmTest, DispatchRunsTheSpouseInstance) {
  WriteSet(std::string(kJointPit36) + "[PITMa]\np10=10\np29b=[X]\n[PITMa_M]\np10=20\np29a=[X]\n");
  solv::AddMessage("stary komunikat");
  EXPECT_TRUE(solv::Recalculate("PITMa_M"));
  EXPECT_EQ(solv::Store().currentPage, "PITMa_M");
  EXPECT_TRUE(MessageItems().empty());
  EXPECT_EQ(solv::ReadField("p30", {}, "PITMa_M"), "10,00");
  EXPECT_EQ(solv::ReadField("p30", "<absent>", "PITMa"), "<absent>");

  EXPECT_TRUE(solv::Recalculate("PITMa"));
  EXPECT_EQ(solv::ReadField("p30", {}, "PITMa"), "10,00");
  EXPECT_EQ(solv::ReadField("p25", {}, "PITMa_M"), "20,00");
}

// ---------------------------------------------------------------- solvcalc

TEST_F(PitmTest, SolvcalcOnTheExampleSet) {
  const fs::path tool = CopyExample("pitm.i10", dir_ / "tool.i10");

  const ToolRun recalc = RunSolvcalc({"recalc", tool.string()}, dir_);
  EXPECT_EQ(recalc.exitCode, 0);
  EXPECT_EQ(recalc.out, "PITZa\t0\nPITZa_M\t0\nPITMa\t0\nPITMa_M\t0\nPIT36a\t0\n");
  solv::OpenSet(tool);
  for (const char* section : {"PITMa", "PITMa_M"}) {
    const std::pair<const char*, const char*> boxes[] = {{"p8", "1200,00"},  {"p12", "4499,50"},
                                                         {"p25", "7200,00"}, {"p26", "1500,50"},
                                                         {"p27", "5699,50"}, {"p28", "451"},
                                                         {"p30", "2849,75"}, {"p31", "225,50"}};
    for (const auto& [box, value] : boxes) EXPECT_EQ(solv::ReadField(box, {}, section), value) << section << box;
  }
  const std::pair<const char*, const char*> pitz[] = {{"p21", "35000,00"}, {"p23", "15000,00"}, {"p31", "3000,00"},
                                                      {"p35", "53000,00"}, {"p36", "0,00"}};
  for (const auto& [box, value] : pitz) EXPECT_EQ(solv::ReadField(box, {}, "PITZa"), value) << box;
  const std::pair<const char*, const char*> pitzSpouse[] = {
      {"p22", "5000,00"}, {"p27", "5000,00"}, {"p30", "3000,00"}, {"p35", "0,00"}, {"p36", "3000,00"}};
  for (const auto& [box, value] : pitzSpouse) EXPECT_EQ(solv::ReadField(box, {}, "PITZa_M"), value) << box;
  // PIT-36 takes each spouse's business from their PIT/Z.
  EXPECT_EQ(solv::ReadField("p55", {}, "PIT36a"), "53000,00");
  EXPECT_EQ(solv::ReadField("p99", {}, "PIT36a"), "3000,00");
  EXPECT_EQ(solv::ReadField("p7", {}, "PIT36a"), "Urząd Skarbowy Łódź-Bałuty");

  const ToolRun clean = RunSolvcalc({"check", tool.string()}, dir_);
  EXPECT_EQ(clean.exitCode, 0) << clean.out;

  // The spouse's PIT/M without a choice is reported under joint taxation
  // only: filing alone, the check leaves the spouse's forms out.
  solv::WriteField("p29a", "[  ]", "PITMa_M");
  const ToolRun faulty = RunSolvcalc({"check", tool.string()}, dir_);
  EXPECT_EQ(faulty.exitCode, 1);
  EXPECT_NE(faulty.out.find("liczba komunikatów: 1\n"), std::string::npos) << faulty.out;
  EXPECT_NE(faulty.out.find("PIT/M małżonek, Poz.29."), std::string::npos) << faulty.out;

  solv::WriteField("p6a", "[X]", "PIT36a");
  solv::WriteField("p6b", "[  ]", "PIT36a");
  // Filing alone, the spouse's PIT/M and PIT/Z are no attachments of the
  // return: the counts must say so.
  const ToolRun alone = RunSolvcalc({"check", tool.string()}, dir_);
  EXPECT_EQ(alone.exitCode, 1);
  EXPECT_NE(alone.out.find("Liczba załączników PIT/M w zestawie wynosi 1, a w poz.312 wpisano 2"), std::string::npos)
      << alone.out;
  solv::WriteField("p312", "1", "PIT36a");
  solv::WriteField("p314", "1", "PIT36a");
  const ToolRun counted = RunSolvcalc({"check", tool.string()}, dir_);
  EXPECT_EQ(counted.exitCode, 0) << counted.out;
}

}  // namespace
