// PIT/B: the copy's own boxes, its checks, part D and box 3 over every copy
// of both owners, and solvcalc on the example sets.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "calc/dispatch.hpp"
#include "calc/other/pitb.hpp"
#include "calc/other/pitb_messages.hpp"
#include "form_test_support.hpp"

namespace {

namespace fs = std::filesystem;
using solv::Messages;

constexpr const char* kTaxpayer = "1111111111";
constexpr const char* kSpouse = "2222222222";

// Main forms: the PIT-36 ones name the taxpayer in p1 and the spouse in p2.
constexpr const char* kPit36Joint =
    "[MAIN]\nPIT=PIT36\nVER=10\n[PIT36a]\np1=1111111111\np2=2222222222\np6b=[X]\n";
// Filing alone: the PIT-36 recalculation has emptied the spouse's NIP.
constexpr const char* kPit36Alone = "[MAIN]\nPIT=PIT36\nVER=10\n[PIT36a]\np1=1111111111\np6a=[X]\n";
constexpr const char* kPit36L = "[MAIN]\nPIT=PIT36L\nVER=10\n[PIT36La]\np1=1111111111\n";

class PitbTest : public FormFixture {
 protected:
  // A new set of `head` and the PIT/B sections, `instance` recalculated.
  void Run(const std::string& head, const std::string& sections, const std::string& instance = "PITBa") {
    NextSet(head + sections);
    solv::RecalcPITB(instance);
  }
};

struct BoxCase {
  const char* name;
  std::string boxes;  // of PITBa, besides the taxpayer's NIP
  std::vector<std::pair<const char*, const char*>> expected;
};

TEST_F(PitbTest, OwnBoxesAndTotalsOfOneCopy) {
  const BoxCase cases[] = {
      {"own business with a loss",
       "p11=1000\np12=1500\n",
       {{"p13", "-500,00"}, {"p19", "0,00"}, {"p53", "1000,00"}, {"p54", "1500,00"}, {"p55", "0,00"},
        {"p56", "500,00"}, {"p3", "1"}}},
      {"C.1 share rounded in two stages",
       "p21=50\np25=1000,01\np27=0\n",
       {{"p26", "500,01"}, {"p28", "0,00"}, {"p29", "1000,01"}, {"p30", "500,01"}, {"p53", "500,01"},
        {"p55", "500,01"}, {"p56", "0,00"}}},
      {"C.2 share: 407,4048 goes to 407,41 through 407,405",
       "p32=33\np36=1234,56\np38=2000\n",
       {{"p37", "407,41"}, {"p39", "660,00"}, {"p40", "-765,44"}, {"p41", "-252,59"}}},
      {"C.3 with a loss",
       "p43=25\np47=100\np49=300\n",
       {{"p48", "25,00"}, {"p50", "75,00"}, {"p51", "-200,00"}, {"p52", "-50,00"}}},
      {"B.2 and every block summed into part D",
       "p11=100\np12=10\np17=200\np18=20\np21=100\np25=300\np27=30\np32=10\np36=1000\np38=100\n"
       "p43=50\np47=40\np49=4\n",
       {{"p19", "180,00"}, {"p53", "720,00"}, {"p54", "72,00"}, {"p55", "648,00"}, {"p56", "0,00"}}},
      {"equal revenue and costs",
       "p11=250,50\np12=250,50\n",
       {{"p13", "0,00"}, {"p55", "0,00"}, {"p56", "0,00"}}},
      {"a share above 100 is still used",
       "p21=150\np25=100\n",
       {{"p26", "150,00"}, {"p30", "150,00"}}},
      {"unreadable amounts count as 0",
       "p11=12.50\np12=abc\np21=x\np25=100\n",
       {{"p13", "0,00"}, {"p26", "0,00"}, {"p29", "100,00"}, {"p53", "0,00"}, {"p56", "0,00"}}},
      {"an empty copy",
       "",
       {{"p13", "0,00"}, {"p30", "0,00"}, {"p53", "0,00"}, {"p54", "0,00"}, {"p55", "0,00"}, {"p56", "0,00"}}},
  };
  for (const char* head : {kPit36Joint, kPit36L}) {
    for (const auto& c : cases) {
      Run(head, "[PITBa]\np1=" + std::string(kTaxpayer) + "\n" + c.boxes);
      for (const auto& [box, expected] : c.expected)
        EXPECT_EQ(Box("PITBa", box), expected) << c.name << ": " << box << " in " << head;
    }
  }
}

TEST_F(PitbTest, Checks) {
  const struct {
    const char* name;
    const char* head;
    std::string boxes;  // of PITBa
    std::vector<int> messages;
  } cases[] = {
      {"shares of exactly 100", kPit36Joint, "p1=1111111111\np21=100\np32=100\np43=100\n", {}},
      {"shares compared in whole grosz", kPit36Joint, "p1=1111111111\np21=100,004\n", {}},
      {"every share above 100", kPit36Joint, "p1=1111111111\np21=100,01\np32=101\np43=250\n", {0, 1, 2}},
      {"no NIP", kPit36Joint, "p21=101\n", {0, 3}},
      {"a blank NIP", kPit36Joint, "p1=\" \"\n", {3}},
      {"the spouse's NIP", kPit36Joint, "p1=2222222222\n", {}},
      {"a NIP of neither spouse", kPit36Joint, "p1=3333333333\n", {4}},
      {"a NIP written differently", kPit36Joint, "p1=111-111-11-11\n", {4}},
      {"the spouse's NIP when filing alone", kPit36Alone, "p1=2222222222\n", {4}},
      {"outside PIT-36 no NIP is foreign", kPit36L, "p1=3333333333\n", {}},
      {"outside PIT-36 an empty NIP still counts", kPit36L, "p1=\n", {3}},
  };
  for (const auto& c : cases) {
    Run(c.head, "[PITBa]\n" + c.boxes);
    std::vector<std::string> expected;
    for (int m : c.messages) expected.push_back(solv::kPitbMessages[m]);
    EXPECT_EQ(MessageItems(), expected) << c.name;
    EXPECT_EQ(Messages().counter, static_cast<int>(c.messages.size())) << c.name;
    EXPECT_EQ(solv::Store().currentPage, "PITBa") << c.name;
  }
}

// Three copies of two owners; part D held stale amounts before. Copy PITBa_2
// holds its partnership share as a recalculation stored it.
constexpr const char* kThreeCopies =
    "[PITBa]\np1=1111111111\np3=7\np11=1000\np12=400\np53=999,00\np54=1,00\np55=998,00\np56=0,00\n"
    "[PITBa_1]\np1=2222222222\np11=500\np12=800\n"
    "[PITBa_2]\np1=1111111111\np17=300\np18=100\np21=50\np25=1000\np26=500,00\np27=200\np28=100,00\n"
    "p53=5,00\n";

struct Totals {
  const char* section;
  const char* p53;
  const char* p54;
  const char* p55;
  const char* p56;
  const char* p3;
};

TEST_F(PitbTest, ThreeCopiesOfTwoOwnersWhicheverCopyIsRecalculated) {
  const Totals taxpayerFirst{"PITBa", "", "", "", "", "2"};
  const Totals taxpayerLast{"PITBa_2", "1800,00", "600,00", "1200,00", "0,00", "2"};
  const struct {
    const char* name;
    const char* head;
    std::vector<Totals> totals;
  } cases[] = {
      {"joint PIT-36", kPit36Joint, {taxpayerFirst, {"PITBa_1", "500,00", "800,00", "0,00", "300,00", "1"}, taxpayerLast}},
      // The spouse files alone: the spouse's copy carries no totals (and B4).
      {"individual PIT-36", kPit36Alone, {taxpayerFirst, {"PITBa_1", "", "", "", "", "1"}, taxpayerLast}},
      // Each copy's NIP is its owner's: both owners keep their totals.
      {"PIT-36L", kPit36L, {taxpayerFirst, {"PITBa_1", "500,00", "800,00", "0,00", "300,00", "1"}, taxpayerLast}},
  };
  for (const auto& c : cases) {
    for (const char* instance : {"PITBa", "PITBa_1", "PITBa_2"}) {
      Run(c.head, kThreeCopies, instance);
      const std::string where = std::string(c.name) + ", " + instance + " recalculated";
      for (const auto& t : c.totals) {
        EXPECT_EQ(Box(t.section, "p53"), t.p53) << where << ": " << t.section;
        EXPECT_EQ(Box(t.section, "p54"), t.p54) << where << ": " << t.section;
        EXPECT_EQ(Box(t.section, "p55"), t.p55) << where << ": " << t.section;
        EXPECT_EQ(Box(t.section, "p56"), t.p56) << where << ": " << t.section;
        EXPECT_EQ(Box(t.section, "p3"), t.p3) << where << ": " << t.section;
      }
    }
  }
}

TEST_F(PitbTest, TotalsFollowTheCopiesAsStored) {
  // A partnership share not yet computed in another copy counts as 0 until
  // that copy is recalculated; after every copy has run, part D is complete.
  Run(kPit36Joint,
      "[PITBa]\np1=1111111111\np11=100\n[PITBa_1]\np1=1111111111\np21=50\np25=1000\np27=200\n");
  EXPECT_EQ(Box("PITBa_1", "p53"), "100,00");
  solv::RecalcPITB("PITBa_1");
  solv::RecalcPITB("PITBa");
  EXPECT_EQ(Box("PITBa_1", "p53"), "600,00");
  EXPECT_EQ(Box("PITBa_1", "p54"), "100,00");
  EXPECT_EQ(Box("PITBa_1", "p55"), "500,00");
  EXPECT_EQ(Box("PITBa", "p53"), "");

  // Spouse's NIP equal to the taxpayer's: one owner, one carrier.
  Run("[MAIN]\nPIT=PIT36\nVER=10\n[PIT36a]\np1=1111111111\np2=1111111111\np6b=[X]\n",
      "[PITBa]\np1=1111111111\np11=100\n[PITBa_1]\np1=1111111111\np11=50\n");
  EXPECT_EQ(Box("PITBa", "p53"), "");
  EXPECT_EQ(Box("PITBa_1", "p53"), "150,00");
  EXPECT_TRUE(MessageItems().empty());
}

TEST_F(PitbTest, CountsOfCopiesPerNip) {
  // PITBa_1 was the taxpayer's and now carries another NIP: no copy keeps the
  // old count, and the copy without a NIP is left out of totals and counts.
  Run(kPit36L,
      "[PITBa]\np1=1111111111\np3=2\np11=10\n[PITBa_1]\np1=3333333333\np3=2\np11=20\n"
      "[PITBa_2]\np3=5\np11=40\n",
      "PITBa_1");
  EXPECT_EQ(Box("PITBa", "p3"), "1");
  EXPECT_EQ(Box("PITBa_1", "p3"), "1");
  EXPECT_EQ(Box("PITBa_2", "p3"), "5");
  EXPECT_EQ(Box("PITBa", "p53"), "10,00");
  EXPECT_EQ(Box("PITBa_1", "p53"), "20,00");
  EXPECT_EQ(Box("PITBa_2", "p53"), "");

  // CountSameNip touches only the copies of the section's own NIP.
  set_ = dir_ / "count.i10";
  WriteSet(std::string(kPit36Joint) +
           "[PITBa]\np1=1111111111\n[PITBa_1]\np1=2222222222\np3=9\n[PITBa_2]\np1=1111111111\n[PITBa_3]\np3=4\n");
  solv::CountSameNip("PITBa_2");
  EXPECT_EQ(Box("PITBa", "p3"), "2");
  EXPECT_EQ(Box("PITBa_2", "p3"), "2");
  EXPECT_EQ(Box("PITBa_1", "p3"), "9");
  solv::CountSameNip("PITBa_3");
  EXPECT_EQ(Box("PITBa_3", "p3"), "4");
}

TEST_F(PitbTest, ALoneFurtherCopyIsRecalculatedThroughTheDispatch) {
  set_ = dir_ / "lone.i10";
  WriteSet(std::string(kPit36Joint) + "[PITBa_1]\np1=2222222222\np11=300\np12=100\n");
  EXPECT_TRUE(solv::Recalculate("PITBa_1"));
  EXPECT_EQ(Box("PITBa_1", "p13"), "200,00");
  EXPECT_EQ(Box("PITBa_1", "p55"), "200,00");
  EXPECT_EQ(Box("PITBa_1", "p3"), "1");
}

// ---------------------------------------------------------------- solvcalc

// The PIT/B boxes that part D, box 3 and the own totals fill (those the
// hand-written sets hold).
std::vector<std::string> PitbBoxes(const fs::path& set, const std::vector<std::string>& sections) {
  solv::OpenSet(set);
  std::vector<std::string> boxes;
  for (const auto& s : sections)
    for (const char* key : {"p1", "p3", "p13", "p53", "p54", "p55", "p56"})
      boxes.push_back(s + "." + key + "=" + solv::ReadField(key, "<absent>", s));
  solv::Store() = solv::StoreState{};
  return boxes;
}

TEST_F(PitbTest, ExampleSetsThroughSolvcalc) {
  const struct {
    const char* file;
    std::vector<std::string> sections;
  } cases[] = {
      {"pitb.i10", {"PITBa", "PITBa_1", "PITBa_2"}},
      // Its PIT/B copies were written by hand: they must come out as they stand.
      {"pit36.i10", {"PITBa", "PITBa_1"}},
  };
  for (const auto& c : cases) {
    const fs::path original = fs::path(EXAMPLES_DIR) / c.file;
    const fs::path copy = CopyExample(c.file, dir_ / c.file);
    const std::vector<std::string> before = PitbBoxes(original, c.sections);

    const ToolRun recalc = RunSolvcalc({"recalc", copy.string()}, dir_);
    EXPECT_EQ(recalc.exitCode, 0) << c.file;
    for (const auto& s : c.sections)
      EXPECT_NE(recalc.out.find(s + "\t0\n"), std::string::npos) << c.file << ": " << recalc.out;
    EXPECT_NE(recalc.out.find("PIT36a\t0\n"), std::string::npos) << c.file << ": " << recalc.out;
    EXPECT_EQ(PitbBoxes(copy, c.sections), before) << c.file;

    // A second run finds nothing to change.
    const std::string once = Bytes(copy);
    EXPECT_EQ(RunSolvcalc({"recalc", copy.string()}, dir_).exitCode, 0);
    EXPECT_EQ(Bytes(copy), once) << c.file;

    const ToolRun check = RunSolvcalc({"check", copy.string()}, dir_);
    EXPECT_EQ(check.exitCode, 0) << c.file << ": " << check.out;
    EXPECT_NE(check.out.find("nie występują błędy"), std::string::npos) << c.file << ": " << check.out;
  }

  // The example's totals: the taxpayer's in the last of his two copies.
  const std::vector<std::string> boxes = PitbBoxes(fs::path(EXAMPLES_DIR) / "pitb.i10", {"PITBa_2"});
  EXPECT_EQ(boxes[3], "PITBa_2.p53=120000,01");
  EXPECT_EQ(boxes[5], "PITBa_2.p55=59000,01");
  solv::OpenSet(dir_ / "pitb.i10");
  EXPECT_EQ(solv::ReadField("p26", {}, "PITBa"), "30000,01");
  EXPECT_EQ(solv::ReadField("p30", {}, "PITBa"), "20000,01");
  solv::Store() = solv::StoreState{};

  // A foreign NIP in a copy: check fails with B4, and its amounts leave part D.
  const fs::path faulty = CopyExample("pitb.i10", dir_ / "faulty.i10");
  solv::OpenSet(faulty);
  solv::WriteField("p1", "5555555555", "PITBa");
  solv::Store() = solv::StoreState{};
  const ToolRun check = RunSolvcalc({"check", faulty.string()}, dir_);
  EXPECT_EQ(check.exitCode, 1) << check.out;
  EXPECT_NE(check.out.find("PIT/B – kopia 1, Poz.1. Podany NIP nie jest zgodny"), std::string::npos) << check.out;
  EXPECT_EQ(PitbBoxes(faulty, {"PITBa", "PITBa_2"})[10], "PITBa_2.p53=10000,00");
}

}  // namespace
