// PIT/O: totals, emptied boxes and checks of one copy, and the example set
// run through solvcalc.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "calc/other/pito.hpp"
#include "calc/other/pito_messages.hpp"
#include "form_test_support.hpp"
#include "value/number.hpp"

namespace {

namespace fs = std::filesystem;
using solv::Messages;

// The message as the panel shows it: each "%s" filled in turn, "%%" as "%".
std::string Expected(int n, const std::vector<std::string>& values = {}) {
  std::string text = solv::kPitoMessages[n], out;
  size_t next = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "%%") == 0) out += '%', ++i;
    else if (text.compare(i, 2, "%s") == 0) out += values.at(next++), ++i;
    else out += text[i];
  }
  return out;
}

struct Msg {
  int id;
  std::vector<std::string> values;
};

class PitoTest : public FormFixture {
 protected:
  // A new set: main form `pit` with `main` in its first page, then the PIT/O
  // copies (section name, boxes); recalculates `section`.
  void Run(const std::string& pit, const std::string& main, const std::vector<std::pair<std::string, std::string>>& copies,
           const std::string& section = "PITOa") {
    std::string text = "[MAIN]\nPIT=" + pit + "\nVER=10\n[" + MainSection(pit) + "]\n" + main;
    for (const auto& [name, boxes] : copies) text += "[" + name + "]\n" + boxes;
    NextSet(text);
    solv::RecalcPITO(section);
  }
  static std::string MainSection(const std::string& pit) { return pit + "a"; }
  static std::string Box(const std::string& key, const std::string& section = "PITOa") {
    return FormFixture::Box(section, key);
  }
};

// PIT-37 heads: the method, and main-form limits high enough to pass.
constexpr const char* kAlone37 = "p6a=[X]\np64=100000,00\np97=100000,00\np109=20000,00\n";
constexpr const char* kJoint37 =
    "p6b=[X]\np64=100000,00\np97=100000,00\np91=100000,00\np98=100000,00\np109=20000,00\n";

TEST_F(PitoTest, TotalsAndEmptiedBoxes) {
  const std::string spouse =
      "p2=9876543210\np9=Kowalski\np14=10,00\np16=20,00\np18=30,00\np20=40,00\np22=50,00\np24=60,00\np27=70,00\n"
      "p31=1,00\np33=2,00\np36=3,00\np38=4,00\np41=5,00\np53=30,00\np63=0,00\np69a=[X]\np93m=[X]\n"
      "p29=999,00\np43=999,00\n";
  const std::string taxpayer =
      "p4=1\np13=1,11\np15=2,22\np17=3,33\np19=4,44\np21=5,55\np23=6,66\np26=7,77\n"
      "p30=10,00\np32=20,00\np34=1\np35=30,00\np37=40,00\np40=50,00\np52=3,33\np68a=[X]\n";
  const struct {
    const char* name;
    std::string pit, main, boxes;
    std::vector<std::pair<const char*, const char*>> expected;
  } cases[] = {
      {"PIT-37 alone: the spouse's columns emptied, months reset",
       "PIT37", kAlone37, taxpayer + spouse,
       {{"p28", "31,08"}, {"p42", "150,00"}, {"p29", ""}, {"p43", ""}, {"p2", ""}, {"p9", ""}, {"p14", ""},
        {"p27", ""}, {"p41", ""}, {"p53", ""}, {"p63", ""}, {"p69a", "[  ]"}, {"p93m", "[  ]"}, {"p68a", "[X]"},
        {"p23", "6,66"}, {"p35", "30,00"}}},
      {"PIT-37 joint: both columns totalled",
       "PIT37", kJoint37, taxpayer + spouse,
       {{"p28", "31,08"}, {"p29", "280,00"}, {"p42", "150,00"}, {"p43", "15,00"}, {"p14", "10,00"},
        {"p69a", "[X]"}, {"p93m", "[X]"}}},
      {"PIT-37 joint by art.6a", "PIT37", std::string("p6c=[X]\n") + (kJoint37 + 8), taxpayer + spouse,
       {{"p29", "280,00"}, {"p43", "15,00"}}},
      {"PIT-37 method 4 is taxed alone", "PIT37", std::string("p6d=[X]\n") + (kAlone37 + 8), taxpayer + spouse,
       {{"p29", ""}, {"p14", ""}, {"p69a", "[  ]"}}},
      {"PIT-28: boxes not with PIT-28 and the spouse's emptied",
       "PIT28", "p43=100000,00\np99=20000,00\n", taxpayer + spouse,
       {{"p23", ""}, {"p24", ""}, {"p34", ""}, {"p35", ""}, {"p36", ""}, {"p28", "24,42"}, {"p42", "120,00"},
        {"p14", ""}, {"p69a", "[  ]"}, {"p29", ""}}},
      {"PIT-36 joint keeps the spouse's columns", "PIT36",
       "p6b=[X]\np86=100000,00\np143=100000,00\np129=100000,00\np144=100000,00\np175=20000,00\n",
       taxpayer + spouse, {{"p29", "280,00"}, {"p43", "15,00"}, {"p23", "6,66"}}},
      {"totals round once to grosz", "PIT37", kAlone37, "p4=1\np13=0,005\np30=0,004\np32=0,001\n",
       {{"p28", "0,01"}, {"p42", "0,01"}}},
  };
  for (const auto& c : cases) {
    Run(c.pit, c.main, {{"PITOa", c.boxes}});
    for (const auto& [key, value] : c.expected) EXPECT_EQ(Box(key), value) << c.name << ": " << key;
  }
}

TEST_F(PitoTest, ContinuationCopyLosesPartsBAndCAndIsNotChecked) {
  const std::string boxes =
      "p13=5000,00\np21=900,00\np26=1,00\np28=5001,00\np30=1,00\np41=2,00\np42=3,00\np43=4,00\n"
      "p52=70,00\np62=30,00\np53=5,00\np64=05210112345\n";
  for (const char* number : {"p4=2\n", "", "p4=\n", "p4=1,5\n"}) {
    Run("PIT37", "p6b=[X]\n", {{"PITOa", "p4=1\n"}, {"PITOa_1", number + boxes}}, "PITOa_1");
    for (const char* key : {"p13", "p21", "p26", "p30", "p41", "p28", "p29", "p42", "p43"})
      EXPECT_EQ(Box(key, "PITOa_1"), "") << number << key;
    EXPECT_EQ(Box("p52", "PITOa_1"), "70,00") << number;
    EXPECT_EQ(Box("p53", "PITOa_1"), "5,00") << number;
    EXPECT_EQ(Box("p64", "PITOa_1"), "05210112345") << number;
    EXPECT_TRUE(MessageItems().empty()) << number;
  }
  // Alone, the continuation copy empties its spouse columns too.
  Run("PIT37", kAlone37, {{"PITOa", "p4=1\n"}, {"PITOa_1", "p4=2\np53=5,00\np75c=[X]\n"}}, "PITOa_1");
  EXPECT_EQ(Box("p53", "PITOa_1"), "");
  EXPECT_EQ(Box("p75c", "PITOa_1"), "[  ]");
}

TEST_F(PitoTest, DonationTotalsSumEveryCopy) {
  Run("PIT37", kJoint37,
      {{"PITOa", "p4=1\np52=1,10\np62=2,20\np53=3,30\n"},
       {"PITOa_1", "p4=2\np52=10,00\np63=x\n"},
       {"PITOa_2", "p4=3\np62=0,01\np53=4,00\np63=0,70\n"}});
  const solv::DonationSums sums = solv::DonationTotals();
  EXPECT_EQ(solv::ToGrosz(sums.taxpayer), 1331);
  EXPECT_EQ(solv::ToGrosz(sums.spouse), 800);
}

TEST_F(PitoTest, Messages) {
  using P = std::vector<std::pair<std::string, std::string>>;
  const struct {
    const char* name;
    std::string pit, main;
    P copies;
    std::vector<Msg> expected;
  } cases[] = {
      // Part D against the donations claimed, over all copies.
      {"claimed, part D empty", "PIT37", kAlone37, P{{"PITOa", "p4=1\np13=100,00\n"}}, {{0, {}}}},
      {"claimed through p15 only", "PIT37", kAlone37, P{{"PITOa", "p4=1\np15=0,01\n"}}, {{0, {}}}},
      {"part D split over two copies", "PIT37", kAlone37,
       P{{"PITOa", "p4=1\np13=100,00\np52=60,00\n"}, {"PITOa_1", "p4=2\np52=40,00\n"}}, {}},
      {"part D short", "PIT37", kAlone37, P{{"PITOa", "p4=1\np13=100,00\np52=60,00\n"}},
       {{2, {"60,00", "100,00"}}}},
      {"part D with nothing claimed", "PIT37", kAlone37, P{{"PITOa", "p4=1\np62=50,00\n"}},
       {{2, {"50,00", "0,00"}}}},
      {"part D equal to p13 + p15", "PIT37", kAlone37,
       P{{"PITOa", "p4=1\np13=10,00\np15=5,50\n"}, {"PITOa_1", "p4=2\np62=15,50\n"}}, {}},
      // Part D of 0,0046 is 0,01 rounded in two stages, as claimed.
      {"part D and the claim compared in two-stage grosz", "PIT37", kAlone37,
       P{{"PITOa", "p4=1\np13=0,01\np52=0,0046\n"}}, {}},
      {"spouse: claimed, part D empty", "PIT37", kJoint37, P{{"PITOa", "p4=1\np16=10,00\n"}}, {{1, {}}}},
      {"spouse: part D over two copies differs", "PIT37", kJoint37,
       P{{"PITOa", "p4=1\np14=100,00\np53=10,00\n"}, {"PITOa_1", "p4=2\np63=20,00\n"}},
       {{3, {"30,00", "100,00"}}}},
      // Spouse's donations left in a further copy after the switch to filing
      // alone: they no longer apply and are not reported.
      {"spouse's part D in a further copy, filing alone", "PIT37", kAlone37,
       P{{"PITOa", "p4=1\np14=100,00\np53=60,00\n"}, {"PITOa_1", "p4=2\np53=40,00\n"}}, {}},
      // Internet limit.
      {"Internet at the limit", "PIT37", kJoint37, P{{"PITOa", "p4=1\np21=760,00\np22=760\n"}}, {}},
      {"Internet above the limit", "PIT37", kJoint37, P{{"PITOa", "p4=1\np21=760,01\np22=761\n"}},
       {{14, {"760"}}, {15, {"760"}}}},
      // Child relief.
      {"child relief at the limit", "PIT37", kJoint37, P{{"PITOa", "p4=1\np34=2\np35=2000,00\np36=224,08\n"}}, {}},
      {"child relief above the limit", "PIT37", kJoint37,
       P{{"PITOa", "p4=1\np34=2\np35=2000,00\np36=224,09\n"}}, {{21, {}}}},
      {"child relief without children", "PIT37", kAlone37, P{{"PITOa", "p4=1\np35=0,01\n"}}, {{21, {}}}},
      // PIT-37 limits.
      {"PIT-37: part B above p97", "PIT37", "p6a=[X]\np64=100000\np97=1000,5\np109=20000\n",
       P{{"PITOa", "p4=1\np17=1000,51\n"}}, {{6, {"1000,5"}}}},
      {"PIT-37: part B at p97", "PIT37", "p6a=[X]\np64=100000\np97=1000,5\np109=20000\n",
       P{{"PITOa", "p4=1\np17=1000,50\n"}}, {}},
      {"PIT-37: 6% cap, exact half to the even grosz", "PIT37", "p6a=[X]\np64=10000,25\np97=100000\np109=20000\n",
       P{{"PITOa", "p4=1\np13=600,02\np52=600,02\n"}}, {}},
      {"PIT-37: above the 6% cap", "PIT37", "p6a=[X]\np64=10000,25\np97=100000\np109=20000\n",
       P{{"PITOa", "p4=1\np13=600,03\np52=600,03\n"}}, {{18, {"600,02"}}}},
      {"PIT-37: 6% cap, half rounding down to even", "PIT37", "p6a=[X]\np64=10000,75\np97=100000\np109=20000\n",
       P{{"PITOa", "p4=1\np13=600,05\np52=600,05\n"}}, {{18, {"600,04"}}}},
      {"PIT-37 alone: part C above p109 - p110", "PIT37", "p6a=[X]\np64=100000\np97=100000\np109=500\np110=99,5\n",
       P{{"PITOa", "p4=1\np30=400,51\n"}}, {{11, {"400,5"}}}},
      {"PIT-37 alone: the spouse's p111 does not lower the limit", "PIT37",
       "p6a=[X]\np64=100000\np97=100000\np109=500\np110=100\np111=300\n", P{{"PITOa", "p4=1\np30=400\n"}}, {}},
      {"PIT-37 joint: spouse's part B and cap", "PIT37",
       "p6c=[X]\np64=100000\np97=100000\np91=1000\np98=50\np109=20000\n",
       P{{"PITOa", "p4=1\np14=60,01\np53=60,01\n"}}, {{8, {"50"}}, {20, {"60"}}}},
      {"PIT-37 joint: part C of both above the limit", "PIT37",
       "p6b=[X]\np64=100000\np97=100000\np91=100000\np98=100000\np109=1000\np110=100\np111=50\n",
       P{{"PITOa", "p4=1\np30=500,00\np41=350,01\n"}}, {{13, {"850"}}}},
      // PIT-36 limits.
      {"PIT-36 alone: part B, cap and part C", "PIT36",
       "p6a=[X]\np86=1000\np143=100\np175=1000\np176=100\np177=50\n",
       P{{"PITOa", "p4=1\np13=60,01\np52=60,01\np17=40\np37=900,01\n"}},
       {{5, {"100"}}, {17, {"60"}}, {10, {"900"}}}},
      {"PIT-36 joint: 800 within 850", "PIT36",
       "p6b=[X]\np86=100000\np143=100000\np129=100000\np144=100000\np175=1000\np176=100\np177=50\n",
       P{{"PITOa", "p4=1\np30=500\np31=300\n"}}, {}},
      {"PIT-36 joint: spouse and part C above", "PIT36",
       "p6b=[X]\np86=100000\np143=100000\np129=1000\np144=50\np175=1000\np176=100\np177=50\n",
       P{{"PITOa", "p4=1\np14=60,01\np53=60,01\np30=500\np31=350,01\n"}},
       {{7, {"50"}}, {19, {"60"}}, {12, {"850"}}}},
      // PIT-28 limits.
      {"PIT-28: part B, cap and part C", "PIT28", "p43=900\np50=100\np63=10\np64=20,5\np99=300\np100=50,25\n",
       P{{"PITOa", "p4=1\np13=60,01\np52=60,01\np19=909,50\np30=249,76\n"}},
       {{4, {"969,5"}}, {16, {"60"}}, {9, {"249,75"}}}},
      {"PIT-28: within the limits", "PIT28", "p43=900\np50=100\np63=10\np64=20,5\np99=300\np100=50,25\n",
       P{{"PITOa", "p4=1\np13=60\np52=60\np19=909,5\np30=249,75\n"}}, {}},
      // Other main forms: only part D, Internet and child relief.
      {"PIT-36L: no main-form checks", "PIT36L", "",
       P{{"PITOa", "p4=1\np13=5000\np21=800\np30=9000\n"}}, {{0, {}}, {14, {"760"}}}},
      // The order of the messages.
      {"every check at once, in order", "PIT37",
       "p6b=[X]\np64=100\np97=10\np91=100\np98=10\np109=1\np110=0\np111=0\n",
       P{{"PITOa", "p4=1\np13=20\np52=10\np14=20\np53=10\np21=761\np22=761\np34=0\np35=1\np36=1\n"}},
       {{2, {"10,00", "20,00"}}, {3, {"10,00", "20,00"}}, {14, {"760"}}, {15, {"760"}}, {21, {}}, {6, {"10"}},
        {18, {"6"}}, {8, {"10"}}, {20, {"6"}}, {13, {"1"}}}},
  };
  for (const auto& c : cases) {
    Run(c.pit, c.main, c.copies);
    std::vector<std::string> expected;
    for (const auto& m : c.expected) expected.push_back(Expected(m.id, m.values));
    EXPECT_EQ(MessageItems(), expected) << c.name;
    EXPECT_EQ(Messages().counter, static_cast<int>(expected.size())) << c.name;
  }
}

TEST_F(PitoTest, MessageTextsAsShown) {
  Run("PIT37", "p6a=[X]\np64=10000,25\np97=100000\np109=20000\n",
      {{"PITOa", "p4=1\np13=600,03\np52=600,03\n"}});
  ASSERT_EQ(MessageItems().size(), 1u);
  EXPECT_EQ(MessageItems()[0],
            "<color=clRed><b>PIT/O, Poz.13. Darowizny, o których mowa w art.26 ust.1 pkt 9 ustawy</b><br>"
            "<color=clNavy>Kwota z poz.13 nie może przekroczyć 6% kwoty z poz.64 zeznania PIT-37"
            "(<link=popraw#600,02#PITOa#P13>POPRAW</link>, <link=PITOa#P13>POKAŻ >>></link>)<br><br>");
  // The PIT-28 texts: each box's own page in its links.
  EXPECT_NE(std::string(solv::kPitoMessages[4]).find("(%s zł) zeznania PIT-28 (<link=PITOa#P13>"), std::string::npos);
  EXPECT_NE(std::string(solv::kPitoMessages[9]).find("(%s zł) zeznania PIT-28 (<link=PITOb#P30>"), std::string::npos);
  EXPECT_NE(std::string(solv::kPitoMessages[16]).find("<link=popraw#%s#PITOa#P13>POPRAW</link>, <link=PITOa#P13>"),
            std::string::npos);
}

// solvcalc on copies of the example set: the PIT/O copies run after the main
// form and read its recomputed boxes.
class PitoToolTest : public SetFixture {
 protected:
  using Run = ToolRun;
  Run Solvcalc(const std::string& command, const fs::path& set) { return RunSolvcalc({command, set.string()}, dir_); }
  fs::path CopyOfExample(const std::string& name) { return CopyExample("pito.i10", dir_ / name); }
  // The copy with one line replaced.
  fs::path Edited(const std::string& name, const std::string& from, const std::string& to) {
    const fs::path p = CopyOfExample(name);
    std::string bytes = Bytes(p);
    const size_t at = bytes.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) bytes.replace(at, from.size(), to);
    PutBytes(p, bytes);
    return p;
  }
};

TEST_F(PitoToolTest, ExampleSetRecalculatesAndChecksClean) {
  const fs::path set = CopyOfExample("a.i10");
  const Run recalc = Solvcalc("recalc", set);
  EXPECT_EQ(recalc.exitCode, 0);
  EXPECT_EQ(recalc.out, "PIT37a\t0\nPITOa\t0\nPITOa_1\t0\n");
  solv::OpenSet(set);
  EXPECT_EQ(solv::ReadField("p28", "", "PITOa"), "1060,00");
  EXPECT_EQ(solv::ReadField("p42", "", "PITOa"), "1112,04");
  EXPECT_EQ(solv::ReadField("p69a", "", "PITOa"), "[  ]");
  EXPECT_EQ(solv::ReadField("p28", "<absent>", "PITOa_1"), "");
  EXPECT_EQ(solv::ReadField("p52", "", "PITOa_1"), "50,00");
  // A second run finds nothing to change.
  const std::string once = Bytes(set);
  EXPECT_EQ(Solvcalc("recalc", set).out, recalc.out);
  EXPECT_EQ(Bytes(set), once);

  const Run check = Solvcalc("check", CopyOfExample("b.i10"));
  EXPECT_EQ(check.exitCode, 0) << check.out;
  EXPECT_NE(check.out.find("nie występują błędy"), std::string::npos) << check.out;
}

TEST_F(PitoToolTest, ChecksReachEveryCopyAndTheRecomputedMainForm) {
  // Part D of the second copy raised: the first copy reports the difference.
  const fs::path more = Edited("a.i10", "P52=50,00\r\n", "P52=60,00\r\n");
  const std::string wanted = "od sumy kwot wykazanych w poz.13 i 15 (300,00)";
  const Run recalc = Solvcalc("recalc", more);
  EXPECT_EQ(recalc.out, "PIT37a\t0\nPITOa\t1\nPITOa_1\t0\n");
  const Run check = Solvcalc("check", Edited("b.i10", "P52=50,00\r\n", "P52=60,00\r\n"));
  EXPECT_EQ(check.exitCode, 1);
  EXPECT_NE(check.out.find("Suma kwot z części D. wszystkich załączników PIT/O (310,00) jest różna"),
            std::string::npos)
      << check.out;
  EXPECT_NE(check.out.find(wanted), std::string::npos) << check.out;

  // A lower income on PIT-37 (p64 = 5165, p97 = 300): part B (1060) is above
  // the recomputed p97 and part C above the tax; 6% of 5165 (309,90) passes.
  const fs::path lowest = Edited("d.i10", "P39=50000,00\r\n", "P39=6500,00\r\n");
  const Run low = Solvcalc("recalc", lowest);
  EXPECT_EQ(low.out.substr(low.out.find("PITOa\t")), "PITOa\t2\nPITOa_1\t0\n") << low.out;
}

}  // namespace
