// PIT-28 and its attachments PIT-28/A and PIT-28/B: computed boxes and checks.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "calc/dispatch.hpp"
#include "calc/other/pit28.hpp"
#include "calc/other/pit28_messages.hpp"
#include "calc/other/pit28b_messages.hpp"
#include "form_test_support.hpp"

namespace {

using solv::Messages;

constexpr const char* kFiled = "p6a=[X]\n";
constexpr const char* kFiledKrs = "p6a=[X]\np126=0000012345\n";
// 17% business revenue of 10000: lump-sum tax 1700.
constexpr const char* kTax1700 = "p25=10000\n";

class Pit28Test : public FormFixture {
 protected:
  // Writes a new set with `boxes` in `section` and recalculates that form.
  void Run(const std::string& boxes, const char* section = "PIT28a", const char* mainForm = "PIT28") {
    NextSet(std::string("[MAIN]\nPIT=") + mainForm + "\nVER=10\n[" + section + "]\n" + boxes);
    Recalc(section);
  }
  static void Recalc(const std::string& section) {
    if (section == "PIT28a") solv::RecalcPIT28(section);
    else if (section == "PIT28Ba") solv::RecalcPIT28B(section);
    else solv::RecalcPIT28A(section);
  }
  static std::string Box(int box, const char* section = "PIT28a") {
    return FormFixture::Box(section, box);
  }
};

std::string Expected(const Msg& m) {
  return WithLimit(solv::kPit28Messages[m.n], m.limit);
}

struct BoxCase {
  const char* name;
  std::string input;
  std::vector<std::pair<int, const char*>> boxes;
};

void ExpectBoxes(const BoxCase& c, const char* section = "PIT28a") {
  for (const auto& [box, expected] : c.boxes)
    EXPECT_EQ(solv::ReadField(P(box), "<absent>", section), expected) << c.name << ": box " << box;
}

TEST_F(Pit28Test, EmptyReturnHasZeroBoxesAndOnlyThePurposeMessage) {
  Run("");
  std::vector<int> money{27, 34, 36, 37, 38, 39, 40, 41, 42, 43, 50, 67, 69, 71, 72, 73, 80, 95, 96, 99, 104, 105,
                         111, 112};
  for (int b = 51; b <= 62; ++b) money.push_back(b);
  for (int b = 74; b <= 79; ++b) money.push_back(b);
  for (int b = 89; b <= 94; ++b) money.push_back(b);
  for (int b : money) EXPECT_EQ(Box(b), "0,00") << "box " << b;
  for (int b : {81, 82, 83, 84, 85, 86, 87, 88, 106, 124}) EXPECT_EQ(Box(b), "0") << "box " << b;
  EXPECT_EQ(Box(127), "<absent>");
  EXPECT_EQ(MessageItems(), std::vector<std::string>{solv::kPit28Messages[0]});
}

TEST_F(Pit28Test, ComputedBoxes) {
  const BoxCase cases[] = {
      {"17% business revenue only",
       std::string(kFiled) + kTax1700,
       {{27, "10000,00"}, {37, "0,00"}, {41, "10000,00"}, {43, "10000,00"}, {55, "100,00"}, {51, "0,00"},
        {67, "10000,00"}, {69, "10000,00"}, {85, "10000"}, {88, "10000"}, {93, "1700,00"}, {96, "1700,00"},
        {99, "1700,00"}, {106, "1700"}, {111, "1700,00"}, {112, "0,00"}}},
      {"revenue split 1/3 : 2/3 with contributions",
       std::string(kFiled) + "p21=1000\np22=2000\np64=100\n",
       {{27, "3000,00"}, {51, "33,33"}, {52, "66,67"}, {67, "2900,00"}, {73, "100,00"}, {74, "33,33"},
        {75, "66,67"}, {81, "967"}, {82, "1933"}, {88, "2900"}, {89, "29,01"}, {90, "106,32"}, {96, "135,33"},
        {106, "135"}}},
      {"rows and columns of part C",
       std::string(kFiled) + "p21=1\np22=2\np23=3\np24=4\np25=5\np26=6\np28=10\np29=20\np30=30\np31=40\np32=50\n"
                             "p33=60\np35=100\np44=7\np49=8\n",
       {{27, "21,00"}, {34, "210,00"}, {36, "100,00"}, {37, "11,00"}, {38, "22,00"}, {39, "133,00"}, {40, "44,00"},
        {41, "55,00"}, {42, "66,00"}, {43, "331,00"}, {50, "15,00"}, {57, "2,02"}, {62, "2,31"}}},
      {"deduction share above the column revenue is cut to it",
       std::string(kFiled) + "p21=1000\np64=1500\n",
       {{51, "100,00"}, {67, "0,00"}, {73, "1500,00"}, {74, "1000,00"}, {81, "0"}, {89, "0,00"}, {106, "0"}}},
      {"assessed revenue: deduction share cut to the revenue",
       std::string(kFiled) + "p44=1000\np64=1500\n",
       {{57, "100,00"}, {80, "1000,00"}, {87, "0"}, {95, "0,00"}}},
      {"assessed revenue taxed per rate",
       std::string(kFiled) + "p21=4000\np44=1000\np46=3000\np64=800\n",
       {{51, "50,00"}, {57, "12,50"}, {59, "37,50"}, {73, "800,00"}, {74, "400,00"}, {80, "400,00"}, {87, "3600"},
        {95, "256,50"}, {81, "3600"}, {89, "108,00"}, {88, "7200"}, {96, "364,50"}, {106, "365"}}},
      {"assessed revenue at 5.5% rounds in two stages",
       std::string(kFiled) + "p45=1933\n",
       {{58, "100,00"}, {87, "1933"}, {95, "106,32"}}},
      {"housing expenses above the remaining revenue",
       std::string(kFiled) + "p21=300\np70=500\n",
       {{69, "300,00"}, {71, "300,00"}, {72, "200,00"}, {73, "300,00"}, {81, "0"}}},
      {"interest relief",
       std::string(kFiled) + "p21=1000\np64=200\np68=300\np70=100\n",
       {{67, "800,00"}, {69, "500,00"}, {71, "100,00"}, {72, "0,00"}, {73, "600,00"}, {81, "400"}}},
      {"additions and tax paid abroad",
       std::string(kFiled) + kTax1700 + "p97=50,25\np98=100,00\n",
       {{99, "1650,25"}, {106, "1650"}}},
      {"tax paid abroad above the lump sum leaves no tax",
       std::string(kFiled) + kTax1700 + "p98=2000,00\np110=100\n",
       {{99, "0,00"}, {104, "0,00"}, {106, "0"}, {111, "0,00"}, {112, "100,00"}}},
      {"deductions from the tax above it leave no tax and no refund",
       std::string(kFiledKrs) + kTax1700 + "p100=1000,00\np102=800,00\n",
       {{99, "1700,00"}, {106, "0"}, {111, "0,00"}, {112, "0,00"}, {127, "0,00"}}},
      {"housing relief above the remaining tax",
       std::string(kFiled) + kTax1700 + "p100=1000,00\np102=400,00\np103=500,00\n",
       {{104, "300,00"}, {105, "200,00"}, {106, "0"}}},
      {"tax due rounded through grosz first",
       std::string(kFiled) + kTax1700 + "p100=0,5049\n",
       {{106, "1700"}}},
      {"tax due rounded down", std::string(kFiled) + kTax1700 + "p100=0,51\n", {{106, "1699"}}},
      {"tax above advances",
       std::string(kFiled) + kTax1700 + "p108=200\np110=1500\n",
       {{111, "400,00"}, {112, "0,00"}}},
      {"advances above the tax",
       std::string(kFiled) + kTax1700 + "p110=2000\n",
       {{111, "0,00"}, {112, "300,00"}}},
      {"quarterly advances",
       std::string(kFiled) + "p115=100\np118=200\np121=300\n",
       {{124, "600"}}},
      {"monthly advances",
       std::string(kFiled) + "p113=1\np114=2\np115=3\np116=4\np117=5\np118=6\np119=7\np120=8\np121=9\np122=10\n"
                             "p123=11\np125=99\n",
       {{124, "66"}, {125, "99"}}},
      // Summed in double precision: 1000,03 + 0,47 is 1000,5 (in long double
      // it would be 1000,4999... and round down).
      {"advances summed in double precision", std::string(kFiled) + "p113=1000,03\np114=0,47\n", {{124, "1001"}}},
      // 33,37% of 12,30 is 4,10451: rounded in two stages to 4,11.
      {"art.17 deductions shared out in two-stage grosz",
       std::string(kFiled) + "p44=1001,43\np45=2000,00\np63=12,30\n",
       {{57, "33,37"}, {58, "66,63"}, {80, "12,31"}}},
      {"1% with a KRS number",
       std::string(kFiledKrs) + "p24=12340\np127=5,00\n",
       {{92, "1234,00"}, {106, "1234"}, {127, "12,30"}}},
      {"1% without a KRS number keeps the typed amount",
       std::string(kFiled) + "p24=12340\np127=12,31\n",
       {{127, "12,31"}}},
  };
  for (const auto& c : cases) {
    Run(c.input);
    ExpectBoxes(c);
  }
}

// Box 109: 1 exempts all revenue (advances emptied), 2 a part (only the
// earlier exemption emptied), 0 or a set whose main form is not PIT-28
// settles the advances.
TEST_F(Pit28Test, ExemptionChoice) {
  const std::string advances =
      std::string(kTax1700) + "p107=2009\np108=200\np110=1500\np111=7,00\np112=8,00\np113=100\np115=50\np123=10\n"
                              "p124=9\np125=40\n";
  std::vector<std::pair<int, const char*>> exempt{{107, ""}, {108, ""}, {110, ""}, {111, ""}, {112, ""},
                                                  {124, ""}, {125, ""},  {106, "1700"}};
  for (int b = 113; b <= 123; ++b) exempt.push_back({b, ""});
  const BoxCase cases[] = {
      {"1: whole revenue exempt", std::string(kFiled) + "p109a=[X]\n" + advances, exempt},
      {"1 wins over 2", std::string(kFiled) + "p109a=[X]\np109b=[X]\n" + advances, {{110, ""}, {124, ""}}},
      {"2: part of the revenue exempt",
       std::string(kFiled) + "p109b=[X]\n" + advances,
       {{107, ""}, {108, ""}, {110, "1500"}, {111, "7,00"}, {112, "8,00"}, {113, "100"}, {124, "160"},
        {125, "40"}}},
      {"0: no exemption",
       std::string(kFiled) + "p109c=[X]\n" + advances,
       {{107, "2009"}, {108, "200"}, {111, "400,00"}, {112, "0,00"}, {124, "160"}}},
  };
  for (const auto& c : cases) {
    Run(c.input);
    ExpectBoxes(c);
  }

  // The 1% check still runs under the exemption.
  Run(std::string(kFiled) + "p109a=[X]\n" + advances);
  EXPECT_EQ(MessageItems(), std::vector<std::string>{Expected({8, "17"})});

  // Clearing the tick recomputes the emptied settlement on the next run.
  solv::WriteField("p109a", "[  ]", "PIT28a");
  solv::WriteField("p110", "1000", "PIT28a");
  solv::WriteField("p115", "250", "PIT28a");
  solv::RecalcPIT28("PIT28a");
  EXPECT_EQ(Box(111), "700,00");
  EXPECT_EQ(Box(112), "0,00");
  EXPECT_EQ(Box(124), "250");

  // Outside a PIT-28 set the tick is not read: the advances are settled.
  Run(std::string(kFiled) + "p109a=[X]\n" + advances, "PIT28a", "PIT37");
  EXPECT_EQ(Box(110), "1500");
  EXPECT_EQ(Box(111), "400,00");
  EXPECT_EQ(Box(124), "160");
}

TEST_F(Pit28Test, RecalculatingAgainChangesNothing) {
  Run(std::string(kFiled) + "p21=1000\np22=2000\np44=333\np64=100\np70=50\np100=10\np110=20\np115=5\n");
  const std::string first = FileBytes();
  solv::RecalcPIT28("PIT28a");
  EXPECT_EQ(FileBytes(), first);
}

// Each check fires on its condition with its limit in the POPRAW link; equal
// to the limit (in whole grosz) passes, one grosz more fails.
TEST_F(Pit28Test, ChecksAndTheirLimits) {
  const MessageCase cases[] = {
      {"clean", kFiledKrs, "", {}},
      {"correction as purpose", "p6b=[X]\np126=1\n", "", {}},
      {"no purpose", "p126=1\n", "", {{0}}},
      {"purpose with a lower-case tick", "p6a=[x]\np126=1\n", "", {{0}}},
      {"65 equal to 64", kFiledKrs, "p21=1000\np64=100,10\np65=100,10\n", {}},
      {"65 above 64", kFiledKrs, "p21=1000\np64=100,10\np65=100,11\n", {{2, "100,1"}}},
      {"deductions equal to the revenue", kFiledKrs, "p21=1000\np44=0,30\np63=500,10\np64=500,10\np66=0,10\n", {}},
      {"deductions above the revenue", kFiledKrs, "p21=1000\np63=500\np64=500\np66=0,01\n", {{1}}},
      {"68 equal to 67", kFiledKrs, "p21=1000\np64=200\np68=800\n", {}},
      {"68 above 67", kFiledKrs, "p21=1000\np64=200\np68=800,01\n", {{3, "800"}}},
      {"100 equal to 99", kFiledKrs, "p25=10000\np97=0,10\np100=1700,10\n", {}},
      {"100 above 99 also breaks the limit of 102", kFiledKrs, "p25=10000\np100=1700,01\n",
       {{4, "1700"}, {6, "-0,01"}}},
      {"101 equal to 100", kFiledKrs, "p25=10000\np100=100\np101=100\n", {}},
      {"101 above 100", kFiledKrs, "p25=10000\np100=100\np101=100,01\n", {{5, "100"}}},
      {"102 equal to 99 less 100, in whole grosz", kFiledKrs, "p25=10000\np97=0,10\np100=1000,00\np102=700,10\n",
       {}},
      {"102 above 99 less 100", kFiledKrs, "p25=10000\np97=0,10\np100=1000,00\np102=700,11\n", {{6, "700,1"}}},
      {"tax paid abroad above the lump sum gives no limit message", kFiledKrs, "p25=10000\np98=2000\n", {}},
      {"1% reminder", kFiled, "p24=12340\n", {{8, "12,3"}}},
      {"1% reminder of the 17% example", kFiled, kTax1700, {{8, "17"}}},
      {"1% reminder with a zero amount", kFiled, "p24=12340\np127=0,00\n", {{8, "12,3"}}},
      {"1% equal to the limit without KRS", kFiled, "p24=12340\np127=12,30\n", {{9}}},
      {"1% above the limit without KRS", kFiled, "p24=12340\np127=12,31\n", {{7, "12,3"}, {9}}},
      {"1% filled in from the KRS number", kFiledKrs, "p24=12340\np127=99\n", {}},
      {"1% without tax", kFiled, "", {}},
      {"1% after deductions above the tax", kFiled, "p25=10000\np100=1000\np102=800\n", {{6, "700"}}},
  };
  for (const auto& c : cases) {
    Run(std::string(c.head) + c.boxes);
    std::vector<std::string> expected;
    for (const auto& m : c.expected) expected.push_back(Expected(m));
    EXPECT_EQ(MessageItems(), expected) << c.name;
    EXPECT_EQ(Messages().counter, static_cast<int>(c.expected.size())) << c.name;
  }
}

TEST_F(Pit28Test, MessagesInCheckOrder) {
  Run("p21=1000\np63=900\np64=100\np65=100,01\np66=0,01\np68=0,01\np97=100\np100=100,01\np101=100,02\n"
      "p102=0,01\np127=5\n");
  const std::vector<Msg> expected{{0}, {2, "100"}, {1}, {3, "0"}, {4, "100"}, {5, "100,01"}, {6, "-0,01"},
                                  {7, "0"}, {9}};
  std::vector<std::string> texts;
  for (const auto& m : expected) texts.push_back(Expected(m));
  EXPECT_EQ(MessageItems(), texts);
}

TEST_F(Pit28Test, SetsTheCurrentPageAndReplacesEarlierMessages) {
  solv::AddMessage("stary komunikat");
  solv::Store().currentPage = "PITOa";
  Run(kFiledKrs);
  EXPECT_EQ(solv::Store().currentPage, "PIT28a");
  ASSERT_EQ(Messages().items.size(), 1u);
  EXPECT_EQ(Messages().items[0], solv::kHeaderEmpty);
}

TEST_F(Pit28Test, AttachmentAOnlyClearsTheMessages) {
  solv::AddMessage("stary komunikat");
  Run("p10=1000\np16=-5\np17=abc\n", "PIT28Aa");
  EXPECT_EQ(solv::Store().currentPage, "PIT28Aa");
  ASSERT_EQ(Messages().items.size(), 1u);
  EXPECT_EQ(Messages().items[0], solv::kHeaderEmpty);
  EXPECT_EQ(Bytes(set_), solv::Utf8ToCp1250("[MAIN]\r\nPIT=PIT28\r\nVER=10\r\n[PIT28Aa]\r\np10=1000\r\np16=-5\r\np17=abc\r\n"));
}

TEST_F(Pit28Test, AttachmentBPartnerships) {
  const BoxCase cases[] = {
      {"one partnership", "p23=25\np25=1000\n",
       {{24, "1000,00"}, {37, "250,00"}, {38, "250,00"}, {39, "0,00"}, {49, "0,00"}, {66, "0,00"}, {79, "0,00"},
        {92, "250,00"}, {103, "0,00"}}},
      {"half of a product just below half a grosz", "p23=50\np25=1000,01\n",
       {{24, "1000,01"}, {37, "500,00"}, {38, "500,00"}, {92, "500,00"}}},
      {"two partnerships, both rows",
       "p23=25\np25=1000\np31=400\np65=50\np67=2000\np72=100\np78=300\n",
       {{24, "1400,00"}, {37, "350,00"}, {38, "250,00"}, {44, "100,00"}, {66, "2400,00"}, {79, "1200,00"},
        {80, "1000,00"}, {85, "50,00"}, {91, "150,00"}, {92, "1250,00"}, {97, "50,00"}, {98, "100,00"},
        {103, "150,00"}}},
      {"share above 100 is computed all the same", "p23=120\np25=1000\n", {{37, "1200,00"}, {92, "1200,00"}}},
      {"empty attachment", "", {{24, "0,00"}, {37, "0,00"}, {66, "0,00"}, {79, "0,00"}, {92, "0,00"}}},
  };
  for (const auto& c : cases) {
    Run(c.input, "PIT28Ba");
    ExpectBoxes(c, "PIT28Ba");
  }
}

TEST_F(Pit28Test, AttachmentBShareChecks) {
  const struct {
    const char* name;
    const char* boxes;
    std::vector<int> expected;
  } cases[] = {
      {"shares of 100", "p23=100\np65=100,00\n", {}},
      {"first share above 100", "p23=100,01\n", {0}},
      {"second share above 100", "p65=150\n", {1}},
      {"both above 100", "p23=101\np65=101\n", {0, 1}},
      {"negative share is not reported", "p23=-5\n", {}},
  };
  for (const auto& c : cases) {
    Run(c.boxes, "PIT28Ba");
    std::vector<std::string> expected;
    for (int n : c.expected) expected.push_back(solv::kPit28BMessages[n]);
    EXPECT_EQ(MessageItems(), expected) << c.name;
  }
}

// The example set through the dispatch and through the solvcalc tool.
TEST_F(Pit28Test, ExampleSetWithSolvcalc) {
  namespace fs = std::filesystem;
  const fs::path tool = CopyExample("pit28.i10", dir_ / "tool.i10");
  const fs::path library = CopyExample("pit28.i10", dir_ / "library.i10");

  const auto run = [&](const std::string& command, const fs::path& set) {
    const ToolRun r = RunSolvcalc({command, set.string()}, dir_, Stderr::IntoOut);
    return std::make_pair(r.exitCode, r.out);
  };
  const auto [recalcCode, recalcOut] = run("recalc", tool);
  EXPECT_EQ(recalcCode, 0);
  EXPECT_EQ(recalcOut, "PIT28Aa\t0\nPIT28Ba\t0\nPIT28a\t0\n");

  set_ = library;
  solv::OpenSet(library);
  for (const char* form : {"PIT28Aa", "PIT28Ba", "PIT28a"}) EXPECT_TRUE(solv::Recalculate(form)) << form;
  EXPECT_EQ(Bytes(tool), Bytes(library));

  const BoxCase worked{"example",
                       "",
                       {{43, "75000,00"}, {50, "2000,00"}, {51, "58,44"}, {53, "23,38"}, {55, "15,58"}, {57, "2,60"},
                        {73, "5400,00"}, {74, "3155,76"}, {76, "1262,52"}, {78, "841,32"}, {80, "140,40"},
                        {81, "41844"}, {83, "16737"}, {85, "11159"}, {87, "1860"}, {88, "71600"}, {89, "1255,32"},
                        {91, "1422,65"}, {93, "1897,03"}, {95, "55,80"}, {96, "4630,80"}, {106, "2831"},
                        {111, "0,00"}, {112, "1269,00"}, {124, "4100"}, {127, "28,30"}}};
  ExpectBoxes(worked);
  EXPECT_EQ(solv::ReadField("p92", "", "PIT28Ba"), "5000,00");

  const auto [checkCode, checkOut] = run("check", tool);
  EXPECT_EQ(checkCode, 0) << checkOut;
  EXPECT_NE(checkOut.find("nie występują błędy"), std::string::npos) << checkOut;

  // The same set with the purpose cleared and the health contribution too high.
  solv::WriteField("P6A", "[  ]", "PIT28a");
  solv::WriteField("P100", "5000,00", "PIT28a");
  const auto [faultCode, faultOut] = run("check", library);
  EXPECT_EQ(faultCode, 1) << faultOut;
  EXPECT_NE(faultOut.find("liczba komunikatów: 3"), std::string::npos) << faultOut;
  EXPECT_NE(faultOut.find("PIT-28, Poz.100. Składki na ubezpieczenie zdrowotne"), std::string::npos) << faultOut;
}

}  // namespace
