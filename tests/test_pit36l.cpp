// PIT-36L: the business row from PIT/Z, PIT/B and PIT/ZG, the 19% tax, the
// settlement and the checks of one recalculation.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "calc/dispatch.hpp"
#include "calc/other/pit36l.hpp"
#include "calc/other/pit36l_messages.hpp"
#include "form_test_support.hpp"

namespace {

using solv::kPit36LMessages;
using solv::Messages;

// Filing purpose ticked, so only the checks under test speak.
constexpr const char* kFiled = "p6a=[X]\n";
// The same with box 22 ticked, as a return with PIT/Z has it.
constexpr const char* kFiledZ = "p6a=[X]\np22a=[X]\n";
// ... and with the organisation's KRS number, so the 1% rule stays silent.
constexpr const char* kQuietZ = "p6a=[X]\np22a=[X]\np105=0000012345\n";
// The attachments as their own calculations leave them.
std::string PitZ(const char* revenue, const char* costs, const char* income, const char* loss = "0,00") {
  return std::string("[PITZa]\np33=") + revenue + "\np34=" + costs + "\np35=" + income + "\np36=" + loss + "\n";
}
std::string PitB(const char* section, const char* revenue, const char* costs, const char* income,
                 const char* loss) {
  return std::string("[") + section + "]\np53=" + revenue + "\np54=" + costs + "\np55=" + income + "\np56=" + loss +
         "\n";
}
std::string PitZG(const char* section, const char* revenue, const char* costs, const char* taxPaid) {
  return std::string("[") + section + "]\np30a=" + revenue + "\np30b=" + costs + "\np31=" + taxPaid + "\n";
}

// A message as the list holds it: the first "%s" filled with the value.
std::string Filled(int n, const std::string& value) {
  std::string text = kPit36LMessages[n];
  return text.replace(text.find("%s"), 2, value);
}

class Pit36LTest : public FormFixture {
 protected:
  // A new PIT-36L set with `boxes` in PIT36La and the `attachments`
  // sections after it, recalculated.
  void Run(const std::string& boxes, const std::string& attachments = {}) {
    NextSet("[MAIN]\nPIT=PIT36L\nVER=10\n[PIT36La]\n" + boxes + attachments);
    solv::RecalcPIT36L("PIT36La");
  }
  static std::string Box(int box) { return FormFixture::Box("PIT36La", box); }
};

struct BoxCase {
  const char* name;
  std::string boxes;
  std::string attachments;
  std::vector<std::pair<int, const char*>> expected;
};

TEST_F(Pit36LTest, EmptyReturnHasZeroBoxesAndOnlyThePurposeMessage) {
  Run("");
  for (int b : {24, 25, 26, 27, 31, 32, 37, 42, 43, 44, 46, 48, 49, 53, 56, 57, 58})
    EXPECT_EQ(Box(b), "0,00") << "box " << b;
  for (int b : {45, 55, 59, 65, 66, 67, 68}) EXPECT_EQ(Box(b), "0") << "box " << b;
  EXPECT_EQ(Box(106), "<absent>");
  EXPECT_EQ(MessageItems(), std::vector<std::string>{kPit36LMessages[0]});
}

TEST_F(Pit36LTest, ComputedBoxes) {
  const BoxCase cases[] = {
      {"PIT/Z gives the business row",
       kFiled,
       PitZ("100000", "40000", "60000"),
       {{24, "100000,00"}, {25, "40000,00"}, {26, "60000,00"}, {27, "0,00"}, {37, "60000,00"}, {44, "60000,00"},
        {45, "60000"}, {46, "11400,00"}, {48, "0,00"}, {49, "11400,00"}, {53, "11400,00"}, {55, "11400"},
        {57, "11400,00"}, {58, "0,00"}, {67, "11400"}, {68, "0"}}},
      {"PIT/Z takes precedence over PIT/B",
       kFiled,
       PitZ("100000", "40000", "65000") + PitB("PITBa", "100000,00", "40000,00", "60000,00", "0,00"),
       {{24, "100000,00"}, {26, "65000,00"}}},
      {"the first PIT/B copy with revenue gives the row",
       kFiled,
       PitB("PITBa", "0,00", "300,00", "0,00", "300,00") + PitB("PITBa_1", "5000,00", "1000,00", "4000,00", "0,00"),
       {{24, "5000,00"}, {25, "1000,00"}, {26, "4000,00"}, {27, "0,00"}, {45, "4000"}, {46, "760,00"}}},
      {"a later PIT/B copy counts when the first was deleted",
       kFiled,
       PitB("PITBa_1", "5000,00", "1000,00", "4000,00", "0,00"),
       {{24, "5000,00"}, {26, "4000,00"}, {45, "4000"}}},
      {"PIT/B copies without revenue leave the row empty",
       kFiled,
       PitB("PITBa", "0,00", "300,00", "0,00", "300,00"),
       {{24, "0,00"}, {25, "0,00"}, {27, "0,00"}}},
      {"foreign income with the tax paid abroad credited proportionally",
       kFiled,
       PitZ("100000", "46000", "54000") + PitZG("PITZGa", "10000", "4000", "2000"),
       {{24, "110000,00"}, {25, "50000,00"}, {26, "60000,00"}, {45, "60000"}, {46, "11400,00"}, {48, "1140,00"},
        {49, "10260,00"}}},
      {"tax paid abroad below the limit is credited whole; copies are summed, negatives left out",
       kFiled,
       PitZ("100000", "46000", "54000") + PitZG("PITZGa", "6000", "1000", "300") +
           PitZG("PITZGa_1", "4000", "3000", "200,50") + PitZG("PITZGa_2", "-500", "-100", "-50"),
       {{24, "110000,00"}, {25, "50000,00"}, {26, "60000,00"}, {48, "500,50"}, {49, "10899,50"}}},
      {"a foreign loss grows the loss box and earns no credit",
       kFiled,
       PitZ("100000", "46000", "54000") + PitZG("PITZGa", "4000", "10000", "2000"),
       {{24, "104000,00"}, {25, "56000,00"}, {26, "54000,00"}, {27, "6000,00"}, {45, "54000"}, {48, "0,00"}}},
      {"the credit limit is rounded twice",
       std::string(kFiled) + "p35=6000\n",
       PitZ("100000", "40000", "65000") + PitZG("PITZGa", "10000", "4000", "2000"),
       {{26, "71000,00"}, {37, "65000,00"}, {45, "65000"}, {46, "12350,00"}, {48, "1043,66"}, {49, "11306,34"}}},
      {"special agricultural loss reduced",
       std::string(kFiled) + "p29=500\np30=800\np41=100\n",
       "",
       {{31, "0,00"}, {32, "300,00"}, {43, "200,00"}}},
      {"special agricultural income taxed",
       std::string(kFiled) + "p29=800\np30=500\n",
       "",
       {{31, "300,00"}, {32, "0,00"}, {37, "300,00"}, {45, "300"}, {46, "57,00"}}},
      {"business loss reduced, never below 0",
       std::string(kFiled) + "p40=7000\n",
       PitB("PITBa", "1000,00", "6000,00", "0,00", "5000,00"),
       {{27, "5000,00"}, {42, "0,00"}}},
      {"deductions, additions to the base and the tax",
       std::string(kFiled) + "p33a=2008\np34=5000\np35=4000,50\np39=1000,49\np47=10\np50=2000\np52=100\n",
       PitZ("100000", "40000", "60000"),
       {{37, "50999,50"}, {44, "51999,99"}, {45, "52000"}, {46, "9880,00"}, {49, "9890,00"}, {53, "7790,00"},
        {55, "7790"}}},
      {"tax after deductions of 1000,40 rounds down",
       std::string(kFiled) + "p50=10399,60\n",
       PitZ("100000", "40000", "60000"),
       {{53, "1000,40"}, {55, "1000"}}},
      {"tax after deductions of 1000,50 rounds half away from zero",
       std::string(kFiled) + "p50=10399,50\n",
       PitZ("100000", "40000", "60000"),
       {{53, "1000,50"}, {55, "1001"}}},
      {"the liquidation tax adds to the tax due",
       std::string(kFiled) + "p54=120,49\n",
       PitZ("100000", "40000", "60000"),
       {{55, "11520"}}},
      {"advances due above the tax",
       std::string(kFiled) + "p28=9000\np33=3000,50\n",
       PitZ("100000", "40000", "60000"),
       {{56, "12000,50"}, {57, "0,00"}, {58, "600,50"}}},
      {"advances paid rewritten in whole zloty", std::string(kFiled) + "p59=1234,56\n", "", {{59, "1235"}}},
      {"advances paid of 42,5 round half away from zero", std::string(kFiled) + "p59=42,5\n", "", {{59, "43"}}},
      {"lump-sum taxes and the amount to pay",
       std::string(kFiled) + "p59=10000\np60=300\np61=200\np62=1000,50\np63=200\np64=100\n",
       PitZ("100000", "40000", "60000"),
       {{65, "701"}, {66, "0"}, {67, "2601"}, {68, "0"}}},
      {"tax paid abroad above the lump-sum tax and an overpayment",
       std::string(kFiled) + "p59=12000\np62=100\np63=50\np64=150\n",
       PitZ("100000", "40000", "60000"),
       {{65, "0"}, {66, "100"}, {67, "0"}, {68, "700"}}},
      {"the 1% amount is set to the limit when a KRS number is given",
       std::string(kFiled) + "p105=0000012345\np106=5,00\n",
       PitZ("100000", "40000", "60000"),
       {{106, "114,00"}}},
      // 19% of 60010 in the share 1010 / 61010 is 188,7546...: two stages give 188,76.
      {"foreign tax credit rounded in two stages",
       std::string(kFiled) + "p35=1000,00\n",
       PitZ("100000", "40000", "60000") + PitZG("PITZGa", "1010", "0", "5000"),
       {{26, "61010,00"}, {45, "60010"}, {46, "11401,90"}, {48, "188,76"}}},
      // 0,4946 is 0,49 rounded once but 0,50 through 0,495, and then 1 zloty.
      {"tax due rounded through grosz in two stages", std::string(kFiled) + "p54=0,4946\n", "", {{55, "1"}}},
      {"lump-sum tax rounded in two stages", std::string(kFiled) + "p62=0,45\n", "", {{65, "1"}, {66, "0"}}},
      {"without a KRS number the typed 1% amount stays",
       std::string(kFiled) + "p106=99,99\n",
       PitZ("100000", "40000", "60000"),
       {{106, "99,99"}}},
  };
  for (const auto& c : cases) {
    Run(c.boxes, c.attachments);
    for (const auto& [box, expected] : c.expected) EXPECT_EQ(Box(box), expected) << c.name << ": box " << box;
  }
}

// A tax is never negative: deductions above the income or the tax leave 0,
// not an overpayment, and the credit of foreign tax stays between 0 and the tax.
TEST_F(Pit36LTest, TaxesNeverGoNegative) {
  const BoxCase cases[] = {
      {"deductions from income above the income",
       std::string(kFiled) + "p35=15000\np105=0000012345\n",
       PitZ("30000", "20000", "10000"),
       {{37, "-5000,00"}, {44, "-5000,00"}, {45, "0"}, {46, "0,00"}, {49, "0,00"}, {53, "0,00"}, {55, "0"},
        {57, "0,00"}, {58, "0,00"}, {67, "0"}, {68, "0"}, {106, "0,00"}}},
      {"deductions from tax above the tax, a negative liquidation tax",
       std::string(kFiled) + "p28=1000\np50=12000\np54=-300\np105=0000012345\n",
       PitZ("100000", "40000", "60000"),
       {{49, "11400,00"}, {53, "0,00"}, {55, "0"}, {56, "1000,00"}, {57, "0,00"}, {58, "1000,00"}, {67, "0"},
        {68, "0"}, {106, "0,00"}}},
      {"domestic loss making the income behind the credit negative",
       std::string(kFiled) + "p39=50000\n",
       PitZ("0", "0", "-10000") + PitZG("PITZGa", "10000", "4000", "2000"),
       {{26, "-4000,00"}, {45, "46000"}, {46, "8740,00"}, {48, "0,00"}, {49, "8740,00"}}},
      {"credit limit above the tax is cut to the tax",
       std::string(kFiled) + "p39=50000\n",
       PitZ("0", "0", "-3000") + PitZG("PITZGa", "10000", "4000", "20000"),
       {{26, "3000,00"}, {45, "53000"}, {46, "10070,00"}, {48, "10070,00"}, {49, "0,00"}}},
  };
  for (const auto& c : cases) {
    Run(c.boxes, c.attachments);
    for (const auto& [box, expected] : c.expected) EXPECT_EQ(Box(box), expected) << c.name << ": box " << box;
  }
}

TEST_F(Pit36LTest, BusinessRowIsRebuiltOnEveryRun) {
  Run(std::string(kFiled) + "p24=5\np25=5\np26=5\np27=5\n");
  for (int b : {24, 25, 26, 27}) EXPECT_EQ(Box(b), "0,00") << "box " << b;
}

TEST_F(Pit36LTest, RecalculatingAgainChangesNothing) {
  Run(std::string(kFiled) + "p35=6000\np50=2500\np59=9500\np105=0000012345\n",
      PitZ("100000", "40000", "65000") + PitZG("PITZGa", "10000", "4000", "2000"));
  const std::string first = FileBytes();
  solv::RecalcPIT36L("PIT36La");
  EXPECT_EQ(FileBytes(), first);
}

// A typed advance that is no amount is kept and reported, and counts as 0.
TEST_F(Pit36LTest, UnreadableAdvancesPaidAreKeptAndReported) {
  const std::pair<const char*, const char*> cases[] = {
      {"9 500,40", "9 500,40"},
      {"9500.40", "9500.40"},
      {"ABC<b>", "ABC(b)"},
  };
  for (const auto& [typed, shown] : cases) {
    Run(std::string(kQuietZ) + "p59=" + typed + "\n", PitZ("100000", "40000", "60000"));
    EXPECT_EQ(Box(59), typed);
    EXPECT_EQ(MessageItems(), std::vector<std::string>{Filled(12, shown)}) << typed;
    EXPECT_EQ(Box(67), "11400") << typed;
  }
  Run(std::string(kFiled) + "p59=\n");
  EXPECT_EQ(Box(59), "0");
  EXPECT_TRUE(MessageItems().empty());
}

struct MessageCase {
  const char* name;
  std::string boxes;
  std::string attachments;
  std::vector<std::string> expected;
};

TEST_F(Pit36LTest, MessagesOnTheirConditions) {
  const std::string z = PitZ("100000", "40000", "60000");
  const MessageCase cases[] = {
      {"correction ticked is a purpose", "p6b=[X]\n", "", {}},
      {"no purpose", "", "", {kPit36LMessages[0]}},
      {"box 22 without PIT/Z", std::string(kFiled) + "p22a=[X]\n", "", {kPit36LMessages[1]}},
      {"box 22 with PIT/Z", std::string(kQuietZ) + "p23=2007\n", z, {}},
      {"PIT/Z without box 22", "p6a=[X]\np105=0000012345\n", z, {kPit36LMessages[2]}},
      {"year without box 22", std::string(kFiled) + "p23=2007\n", "", {kPit36LMessages[5]}},
      {"PIT/Z and a year without box 22", "p6a=[X]\np23=2007\np105=0000012345\n", z,
       {kPit36LMessages[2], kPit36LMessages[5]}},
      {"losses without their sources", std::string(kQuietZ) + "p34=100\n", z, {kPit36LMessages[6]}},
      {"losses with their sources", std::string(kQuietZ) + "p33a=2009\np34=100\n", z, {}},
      {"foreign contributions above the contributions", std::string(kQuietZ) + "p35=1000\np36=1000,01\n", z,
       {Filled(9, "1000")}},
      {"foreign contributions equal in whole grosz", std::string(kQuietZ) + "p35=1000,50\np36=1000,504\n", z, {}},
      {"losses and contributions above the income", std::string(kQuietZ) + "p33a=2009\np34=50000\np35=10000,01\n",
       z, {kPit36LMessages[3]}},
      {"losses and contributions equal to the income", std::string(kQuietZ) + "p29=100\np35=60100\n", z, {}},
      {"deductions from tax above the tax", std::string(kQuietZ) + "p50=11000\np52=400,01\n", z,
       {kPit36LMessages[4]}},
      {"deductions from tax equal to the tax", std::string(kQuietZ) + "p50=11000\np52=400\n", z, {}},
      {"tax paid abroad above the lump-sum tax", std::string(kFiled) + "p62=100,50\np63=100,51\n", "",
       {Filled(7, "100,5")}},
      {"1% above the limit", std::string(kFiledZ) + "p106=114,01\n", z, {Filled(8, "114"), kPit36LMessages[11]}},
      {"1% at the limit", std::string(kFiledZ) + "p106=114\n", z, {kPit36LMessages[11]}},
      {"1% without any tax", std::string(kFiled) + "p106=0,10\n", "", {Filled(8, "0"), kPit36LMessages[11]}},
      {"1% reminder", kFiledZ, PitZ("10000", "4000", "6000,49"), {Filled(10, "11,4")}},
      {"1% given without the organisation", std::string(kFiledZ) + "p106=11,40\n", PitZ("10000", "4000", "6000"),
       {kPit36LMessages[11]}},
      {"1% with the organisation", std::string(kFiledZ) + "p105=0000012345\n", PitZ("10000", "4000", "6000"), {}},
      {"every check in order",
       "p22a=[X]\np34=70000\np35=100\np36=200\np50=5000\np59=1 000\np62=10\np63=20\np106=5\n",
       "",
       {kPit36LMessages[0], kPit36LMessages[1], kPit36LMessages[6], Filled(9, "100"), kPit36LMessages[3],
        kPit36LMessages[4], Filled(12, "1 000"), Filled(7, "10"), Filled(8, "0"), kPit36LMessages[11]}},
  };
  for (const auto& c : cases) {
    Run(c.boxes, c.attachments);
    EXPECT_EQ(MessageItems(), c.expected) << c.name;
  }
}

// The example set through the dispatch and through the solvcalc tool.
TEST_F(Pit36LTest, ExampleSetWithSolvcalc) {
  namespace fs = std::filesystem;
  const fs::path tool = CopyExample("pit36l.i10", dir_ / "tool.i10");
  const fs::path library = CopyExample("pit36l.i10", dir_ / "library.i10");

  const auto run = [&](const std::string& command, const fs::path& set) {
    const ToolRun r = RunSolvcalc({command, set.string()}, dir_, Stderr::IntoOut);
    return std::make_pair(r.exitCode, r.out);
  };
  // The attachments (as far as they have a recalculation) come first, each
  // without messages, and PIT-36L last.
  const auto [recalcCode, recalcOut] = run("recalc", tool);
  EXPECT_EQ(recalcCode, 0);
  const std::string last = "PIT36La\t0\n";
  ASSERT_GE(recalcOut.size(), last.size()) << recalcOut;
  EXPECT_EQ(recalcOut.substr(recalcOut.size() - last.size()), last) << recalcOut;
  for (size_t at = 0, end; (end = recalcOut.find('\n', at)) != std::string::npos; at = end + 1)
    EXPECT_EQ(recalcOut.substr(end - 2, 2), "\t0") << recalcOut;

  set_ = library;
  solv::OpenSet(library);
  for (const char* form : {"PITBa", "PITZa", "PITZGa"}) solv::Recalculate(form);
  EXPECT_TRUE(solv::Recalculate("PIT36La"));
  EXPECT_EQ(Bytes(tool), Bytes(library));

  const std::vector<std::pair<int, const char*>> worked{
      {24, "110000,00"}, {25, "44000,00"}, {26, "71000,00"}, {27, "0,00"},    {37, "65000,00"}, {44, "65000,00"},
      {45, "65000"},     {46, "12350,00"}, {48, "1043,66"},  {49, "11306,34"}, {53, "8806,34"},  {55, "8806"},
      {56, "9000,00"},   {57, "0,00"},     {58, "194,00"},   {59, "9500"},     {67, "0"},        {68, "694"},
      {106, "88,00"}};
  for (const auto& [box, expected] : worked) EXPECT_EQ(Box(box), expected) << "box " << box;

  const auto [checkCode, checkOut] = run("check", tool);
  EXPECT_EQ(checkCode, 0) << checkOut;
  EXPECT_NE(checkOut.find("nie występują błędy"), std::string::npos) << checkOut;

  // The same set with box 22 cleared and the health contribution above the tax.
  solv::WriteField("P22A", "[  ]", "PIT36La");
  solv::WriteField("P50", "12000,00", "PIT36La");
  const auto [faultCode, faultOut] = run("check", library);
  EXPECT_EQ(faultCode, 1) << faultOut;
  EXPECT_NE(faultOut.find("liczba komunikatów: 3"), std::string::npos) << faultOut;
  EXPECT_NE(faultOut.find("W przypadku wypełnienia PIT/Z, należy zaznaczyć poz.22"), std::string::npos) << faultOut;
  EXPECT_NE(faultOut.find("PIT-36L, H. ODLICZENIE OD PODATKU"), std::string::npos) << faultOut;
}

}  // namespace
