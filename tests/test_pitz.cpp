// PIT/Z: part B and the addition of part C in a PIT-36 set for the taxpayer
// and the spouse, C.1 taken from PIT/B in a PIT-36L set, and zero results
// that never carry a sign.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "calc/dispatch.hpp"
#include "calc/other/pitz.hpp"
#include "form_test_support.hpp"

namespace {

using solv::Messages;

constexpr const char* kPit36 = "[MAIN]\nPIT=PIT36\nVER=10\n[PIT36a]\np6b=[X]\n";
constexpr const char* kPit36L = "[MAIN]\nPIT=PIT36L\nVER=10\n[PIT36La]\n";

class PitzTest : public FormFixture {
 protected:
  // A new set: `head`, then `boxes` in `section` (plus any further sections
  // in `rest`), recalculated there.
  void Run(const std::string& head, const std::string& section, const std::string& boxes,
           const std::string& rest = {}) {
    NextSet(head + "[" + section + "]\n" + boxes + rest);
    solv::RecalcPITZ(section);
  }
};

struct BoxCase {
  const char* name;
  std::string boxes;
  std::vector<std::pair<const char*, const char*>> expected;
};

TEST_F(PitzTest, Pit36SetOfEitherSpouse) {
  const BoxCase cases[] = {
      {"income with the addition", "p24=100000\np25=70000\np29=5000\n",
       {{"p26", "30000,00"}, {"p27", "0,00"}, {"p30", "0,00"}, {"p31", "5000,00"}, {"p32", "35000,00"},
        {"p33", "100000,00"}, {"p34", "70000,00"}, {"p35", "35000,00"}, {"p36", "0,00"}}},
      {"loss larger than the addition", "p24=50000\np25=60000\np29=4000\n",
       {{"p26", "0,00"}, {"p27", "10000,00"}, {"p30", "6000,00"}, {"p31", "0,00"}, {"p32", "0,00"},
        {"p35", "0,00"}, {"p36", "6000,00"}}},
      {"loss equal to the addition", "p24=50000\np25=54000\np29=4000\n",
       {{"p27", "4000,00"}, {"p30", "0,00"}, {"p31", "0,00"}, {"p32", "0,00"}, {"p35", "0,00"}, {"p36", "0,00"}}},
      {"loss smaller than the addition", "p24=50000\np25=51000,50\np29=4000\n",
       {{"p27", "1000,50"}, {"p30", "0,00"}, {"p31", "2999,50"}, {"p32", "2999,50"}, {"p36", "0,00"}}},
      {"part B: losses added, incomes copied",
       "p7=100\np8=90\np11=40\np12=50,25\np15=60\np16=70\n",
       {{"p9", "10,00"}, {"p10", "0,00"}, {"p13", "0,00"}, {"p14", "10,25"}, {"p17", "0,00"}, {"p18", "10,00"},
        {"p19", "100,00"}, {"p20", "90,00"}, {"p21", "0,00"}, {"p22", "20,25"}, {"p23", "0,00"}}},
      {"part B: incomes of B.2 and B.3", "p7=500\np8=100\np11=300\np12=50\np15=200\np16=50\n",
       {{"p9", "400,00"}, {"p13", "250,00"}, {"p17", "150,00"}, {"p21", "250,00"}, {"p22", "0,00"},
        {"p23", "150,00"}}},
      {"part B does not feed part C", "p7=500\np8=100\n",
       {{"p24", "<absent>"}, {"p26", "0,00"}, {"p33", "0,00"}, {"p35", "0,00"}}},
      {"amounts rounded once to grosz", "p7=0,125\np24=0,005\np29=0,004\n",
       {{"p19", "0,13"}, {"p26", "0,01"}, {"p31", "0,00"}, {"p32", "0,01"}, {"p33", "0,01"}}},
      {"unreadable amounts count as 0", "p7=abc\np24=1.5\np25=x\np29=?\n",
       {{"p9", "0,00"}, {"p19", "0,00"}, {"p26", "0,00"}, {"p30", "0,00"}, {"p33", "0,00"}}},
  };
  for (const char* section : {"PITZa", "PITZa_M"}) {
    for (const auto& c : cases) {
      Run(kPit36, section, c.boxes);
      for (const auto& [box, value] : c.expected)
        EXPECT_EQ(solv::ReadField(box, "<absent>", section), value) << section << ", " << c.name << ": " << box;
      EXPECT_EQ(Messages().items.size(), 1u) << section << ", " << c.name;
    }
  }
}

// A difference that is zero or a fraction of a grosz of either sign shows as
// "0,00" in every derived box, never "-0,00".
TEST_F(PitzTest, ZeroResultsCarryNoSign) {
  const char* const cases[] = {
      "p24=50000\np25=54000\np29=4000\n",  // addition equal to the loss
      "p29=0,001\n",                        // addition below half a grosz
      "p29=-0,001\n",
      "p24=0\np25=0,004\np29=0,004\n",
      "p29=-0\np24=-0\np25=-0\np7=-0\np8=-0\n",
      "",
  };
  for (const char* boxes : cases) {
    Run(kPit36, "PITZa", boxes);
    for (int b : {9, 10, 13, 14, 17, 18, 19, 20, 21, 22, 23, 26, 27, 30, 31, 32, 33, 34, 35, 36}) {
      const std::string key = "p" + std::to_string(b);
      const std::string value = solv::ReadField(key, "<absent>", "PITZa");
      if (value == "<absent>") continue;
      EXPECT_EQ(value.find('-'), std::string::npos) << boxes << key << "=" << value;
    }
    EXPECT_EQ(solv::ReadField("p30", {}, "PITZa"), "0,00") << boxes;
    EXPECT_EQ(solv::ReadField("p31", {}, "PITZa"), "0,00") << boxes;
  }
}

constexpr const char* kPartB =
    "p7=1\np8=2\np9=3\np10=4\np11=5\np12=6\np13=7\np14=8\np15=9\np16=10\n"
    "p17=11\np18=12\np19=13\np20=14\np21=15\np22=16\np23=17\n";

// In a PIT-36L set part B is emptied and C.1 follows the first PIT/B copy
// whose revenue is at least a grosz; without one C.1 keeps what it holds.
TEST_F(PitzTest, Pit36LSetTakesPitB) {
  struct Case {
    const char* name;
    std::string pitb;
    std::vector<std::pair<const char*, const char*>> expected;
  };
  const std::string held = "p24=1000\np25=400\np29=100\n";
  const Case cases[] = {
      {"one PIT/B", "[PITBa]\np53=80000\np54=50000\np55=30000\np56=0\n",
       {{"p24", "80000,00"}, {"p25", "50000,00"}, {"p26", "30000,00"}, {"p27", "0,00"}, {"p31", "100,00"},
        {"p33", "80000,00"}, {"p35", "30100,00"}}},
      {"a loss in PIT/B", "[PITBa]\np53=50000\np54=60000\np55=0\np56=10000\n",
       {{"p26", "0,00"}, {"p27", "10000,00"}, {"p30", "9900,00"}, {"p36", "9900,00"}}},
      {"first copy without revenue is passed over",
       "[PITBa]\np53=0\np54=500\n[PITBa_1]\np53=0,004\np54=1\n[PITBa_2]\np53=20000,005\np54=5000\n",
       {{"p24", "20000,01"}, {"p25", "5000,00"}, {"p26", "15000,01"}}},
      {"no copy with revenue", "[PITBa]\np53=0\np54=500\n",
       {{"p24", "1000"}, {"p25", "400"}, {"p26", "600,00"}, {"p33", "1000,00"}}},
      {"no PIT/B", "", {{"p24", "1000"}, {"p26", "600,00"}, {"p35", "700,00"}}},
      {"a later copy counts when the first was deleted", "[PITBa_1]\np53=80000\np54=50000\n",
       {{"p24", "80000,00"}, {"p25", "50000,00"}}},
  };
  for (const char* section : {"PITZa", "PITZa_M"}) {
    for (const auto& c : cases) {
      Run(kPit36L, section, std::string(kPartB) + held, c.pitb);
      for (int b = 7; b <= 23; ++b)
        EXPECT_EQ(solv::ReadField("p" + std::to_string(b), "<absent>", section), "")
            << section << ", " << c.name << ": p" << b;
      for (const auto& [box, value] : c.expected)
        EXPECT_EQ(solv::ReadField(box, "<absent>", section), value) << section << ", " << c.name << ": " << box;
    }
  }
}

// Through the dispatch: the section becomes current, old messages go and
// none are added; the other spouse's PIT/Z is left alone.
TEST_F(PitzTest, DispatchClearsMessagesAndAddsNone) {
  WriteSet(std::string(kPit36) + "[PITZa]\np24=10\n[PITZa_M]\np24=20\n");
  solv::AddMessage("stary komunikat");
  EXPECT_TRUE(solv::Recalculate("PITZa_M"));
  EXPECT_EQ(solv::Store().currentPage, "PITZa_M");
  EXPECT_EQ(Messages().items.size(), 1u);
  EXPECT_EQ(Messages().counter, 0);
  EXPECT_EQ(solv::ReadField("p33", {}, "PITZa_M"), "20,00");
  EXPECT_EQ(solv::ReadField("p33", "<absent>", "PITZa"), "<absent>");
}

}  // namespace
