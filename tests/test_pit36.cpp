// PIT-36: computed boxes, business income from the attachments, the tax with
// the rate method, and the checks of one recalculation.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "calc/scale/pit36.hpp"
#include "calc/scale/pit36_messages.hpp"
#include "form_test_support.hpp"

namespace {

using solv::Messages;

// Heads of the PIT36a section: method, purpose and the organisation's KRS number.
constexpr const char* kAlone = "p6a=[X]\np10a=[X]\np305=0000012345\n";
constexpr const char* kJoint = "p6b=[X]\np10a=[X]\np305=0000012345\n";
constexpr const char* kAloneNoKrs = "p6a=[X]\np10a=[X]\n";
constexpr const char* kNips = "p1=1111111111\np2=2222222222\n";

// The attachments of a couple with business income: a PIT/B of each (and a
// stranger's one first in the file), a PIT/ZG of each.
constexpr const char* kCoupleAttachments =
    "[PITBa]\np1=9999999999\np53=90000,00\np54=1000,00\np55=89000,00\np56=0,00\n"
    "[PITBa_2]\np1=1111111111\np53=60000,00\np54=20000,00\np55=40000,00\np56=0,00\n"
    "[PITBa_3]\np1=2222222222\np53=30000,00\np54=35000,00\np55=0,00\np56=5000,00\n"
    "[PITZGa]\np1=1111111111\np13a=2000,00\np13b=500,00\n"
    "[PITZGa_2]\np1=2222222222\np13a=10000,00\np13b=1000,00\n";
// The couple's other income: the spouse's employment and the advances.
constexpr const char* kCoupleIncome = "p57=3000\np88=10000,00\np89=1000,00\np92=500\n";

class Pit36Test : public FormFixture {
 protected:
  // Writes a new PIT-36 set with `boxes` in PIT36a (then the further
  // sections) and recalculates it.
  void Run(const std::string& boxes, const std::string& sections = {}) {
    NextSet("[MAIN]\nPIT=PIT36\nVER=10\n[PIT36a]\n" + boxes + sections);
    solv::RecalcPIT36("PIT36a");
  }
  static std::string Box(int box) { return FormFixture::Box("PIT36a", box); }
};

struct BoxCase {
  const char* name;
  std::string input;
  std::string sections;
  std::vector<std::pair<int, const char*>> boxes;
};

TEST_F(Pit36Test, ComputedBoxes) {
  const BoxCase cases[] = {
      {"method 1, one employment row",
       std::string(kAlone) + "p45=50000,00\np46=1335,00\np49=7000\n",
       "",
       {{47, "48665,00"}, {48, "0,00"}, {51, ""}, {53, "0,00"}, {58, "0,00"}, {84, "50000,00"}, {85, "1335,00"},
        {86, "48665,00"}, {87, "7000"}, {143, "48665,00"}, {151, "0,00"}, {152, "0,00"}, {167, "48665,00"},
        {170, "48665"}, {171, "8203,68"}, {175, "8203,68"}, {183, "0,00"}, {184, "0,00"}, {185, "8203,68"},
        {188, "8204"}, {189, "7000,00"}, {190, "1204,00"}, {191, "0,00"}, {203, "0"}, {205, "0"},
        {207, "8204"}, {208, "0"}, {306, "82,00"}}},
      {"pensions copied unchanged, rows with a loss, advances in whole zloty",
       std::string(kAlone) + "p50=1234,5\np59=100,00\np60=150,00\np69=500,00\np70=100,00\np49=1000,50\np52=0,20\n",
       "",
       {{51, "1234,5"}, {61, "0,00"}, {62, "50,00"}, {71, "400,00"}, {72, "0,00"}, {84, "1834,50"},
        {85, "250,00"}, {86, "1634,50"}, {87, "1001"}}},
      {"advances total rounded through the 0.00 form", std::string(kAlone) + "p49=0,4951\n", "", {{87, "1"}}},
      {"part E and children's income",
       std::string(kAlone) + "p45=1000,00\np131=500,00\np135=100,00\np137=200,00\np139=300,00\n",
       "",
       {{143, "900,00"}, {167, "900,00"}}},
      {"housing expenses limited by the income left",
       std::string(kAlone) + "p45=1000,00\np145=200,00\np148=300,00\np150=800,00\n",
       "",
       {{151, "500,00"}, {152, "300,00"}, {167, "0,00"}, {170, "0"}, {171, "0,00"}}},
      {"amounts increasing the base",
       std::string(kAlone) + "p45=1000,00\np157=100,00\np158=50,00\n",
       "",
       {{158, ""}, {167, "1100,00"}}},
      {"method 4 splits the base and empties the spouse",
       "p6d=[X]\np10a=[X]\np45=40000,00\np88=100,00\n",
       "",
       {{88, ""}, {90, ""}, {170, "20000"}, {171, "6087,96"}}},
      {"method 0 splits the base", "p10a=[X]\np45=40000,00\n", "", {{170, "20000"}, {171, "6087,96"}}},
      {"housing relief above the tax",
       std::string(kAlone) + "p172=1000,00\np176=300,00\np180=200,00\np182=700,00\n",
       "",
       {{171, "0,00"}, {175, "1000,00"}, {183, "500,00"}, {184, "200,00"}, {185, "0,00"}, {188, "0"}}},
      {"tax paid abroad above the tax", std::string(kAlone) + "p172=100,00\np173=150,00\n", "", {{175, "0,00"}}},
      {"tax due rounded once", std::string(kAlone) + "p172=1000,44\np186=0,05\n", "",
       {{185, "1000,44"}, {188, "1000"}, {306, "10,00"}}},
      {"advances above the tax",
       std::string(kAlone) + "p49=100\np57=200\np133=50,50\np192=300\n",
       "",
       {{87, "300"}, {188, "0"}, {189, "350,50"}, {190, "0,00"}, {191, "350,50"}, {207, "0"}, {208, "300"}}},
      {"flat tax above the tax paid abroad", std::string(kAlone) + "p197=500,00\np199=300,00\np201=100,00\n", "",
       {{203, "100"}, {205, "0"}}},
      {"tax paid abroad above the flat tax", std::string(kAlone) + "p197=500,00\np199=300,00\np201=300,00\n", "",
       {{203, "0"}, {205, "100"}}},
      {"flat tax rounded in two stages", std::string(kAlone) + "p197=0,45\n", "", {{203, "1"}, {205, "0"}}},
      {"settlement alone",
       std::string(kAlone) + "p172=1000,00\np193=100\np195=50\np197=500,00\np199=300,00\np192=400\n"
                             "p194=10\np196=5\n",
       "",
       {{188, "1000"}, {190, "1000,00"}, {194, ""}, {203, "200"}, {204, ""}, {207, "950"}, {208, "0"}}},
      {"settlement joint",
       std::string(kJoint) + "p172=1000,00\np193=100\np195=50\np197=500,00\np199=300,00\np192=400\n"
                             "p194=10\np196=5\np198=100,00\np200=30,00\np202=10,00\n",
       "",
       {{203, "200"}, {204, "60"}, {206, "0"}, {207, "1025"}, {208, "0"}}},
      {"a typed 1% amount is replaced when a KRS number is given",
       std::string(kAlone) + "p172=1000,00\np306=5,00\n", "", {{306, "10,00"}}},
      {"without a KRS number the typed amount stays",
       std::string(kAloneNoKrs) + "p172=1000,00\np306=9,99\n", "", {{306, "9,99"}}},
  };
  for (const auto& c : cases) {
    Run(c.input, c.sections);
    for (const auto& [box, expected] : c.boxes) EXPECT_EQ(Box(box), expected) << c.name << ": box " << box;
  }
}

// Row 3 (business) of the taxpayer and of the spouse from PIT/Z, PIT/B and
// PIT/ZG, joint and alone.
TEST_F(Pit36Test, BusinessIncomeFromTheAttachments) {
  const BoxCase cases[] = {
      {"joint: both spouses' PIT/B and PIT/ZG",
       std::string(kJoint) + kNips + kCoupleIncome,
       kCoupleAttachments,
       {{53, "62000,00"}, {54, "20500,00"}, {55, "41500,00"}, {56, "0,00"}, {58, "0,00"}, {84, "62000,00"},
        {85, "20500,00"}, {86, "41500,00"}, {87, "3000"},
        // The spouse's PIT/ZG income is added to the income although PIT/B shows a loss.
        {90, "9000,00"}, {96, "40000,00"}, {97, "36000,00"}, {98, "9000,00"}, {99, "5000,00"}, {101, "0,00"},
        {127, "50000,00"}, {128, "37000,00"}, {129, "18000,00"}, {130, "500"}, {143, "41500,00"},
        {144, "18000,00"}, {167, "59500,00"}, {170, "29750"}, {171, "9597,96"}, {188, "9598"},
        {189, "3500,00"}, {190, "6098,00"}, {207, "9598"}, {306, "95,90"}}},
      {"alone: the spouse's attachments are not used",
       std::string(kAlone) + kNips + kCoupleIncome,
       kCoupleAttachments,
       {{2, ""}, {53, "62000,00"}, {55, "41500,00"}, {90, ""}, {96, ""}, {98, ""}, {101, ""}, {130, ""},
        {144, ""}, {167, "41500,00"}, {170, "41500"}, {171, "6913,98"}, {188, "6914"}, {189, "3000,00"},
        {190, "3914,00"}}},
      {"PIT/Z part C.3 wins over PIT/B, PIT/ZG added, PIT/ZG loss into box 56",
       std::string(kAlone) + kNips,
       "[PITZa]\np19=1000,00\np20=100,00\np21=900,00\np23=50,00\np33=2000,00\np34=500,00\np35=1500,00\np36=0,00\n"
       "[PITBa]\np1=1111111111\np53=60000,00\np54=20000,00\np55=40000,00\n"
       "[PITZGa]\np1=1111111111\np13a=1000,00\np13b=1500,00\n",
       {{53, "3000,00"}, {54, "2000,00"}, {55, "1500,00"}, {56, "500,00"}, {58, "0,00"}, {86, "1500,00"}}},
      {"PIT/Z part B.4 when part C.3 is all zero, exempt income in no total",
       std::string(kAlone) + kNips,
       "[PITZa]\np19=1000,00\np20=100,00\np21=900,00\np22=0,00\np23=50,00\np33=0,00\n",
       {{53, "1000,00"}, {54, "100,00"}, {55, "900,00"}, {56, "0,00"}, {58, "50,00"}, {84, "1000,00"},
        {86, "900,00"}}},
      {"PIT/Z of the spouse",
       std::string(kJoint) + kNips,
       "[PITZa_M]\np33=2000,00\np34=2500,00\np35=0,00\np36=500,00\n"
       "[PITZa]\np19=100,00\np21=100,00\n",
       {{53, "100,00"}, {55, "100,00"}, {96, "2000,00"}, {97, "2500,00"}, {98, "0,00"}, {99, "500,00"}}},
      {"the first PIT/B with the NIP and revenue or costs",
       std::string(kAlone) + kNips,
       "[PITBa]\np1=1111111111\np53=0,00\np54=0,00\np55=777,00\n"
       "[PITBa_2]\np1=1111111111\np53=3000,00\np54=1000,00\np55=2000,00\np56=0,00\n"
       "[PITBa_3]\np1=1111111111\np53=5000,00\np55=5000,00\n"
       "[PITZGa]\np1=1111111111\np13a=1000,00\np13b=200,00\n"
       "[PITZGa_2]\np1=1111111111\np13a=500,00\np13b=-50,00\n"
       "[PITZGa_3]\np1=9999999999\np13a=99999,00\n",
       {{53, "4500,00"}, {54, "1200,00"}, {55, "3300,00"}, {56, "0,00"}}},
      // The PIT/B row is taken as its boxes read back, in double precision:
      // 1000,01 is 1000,0099... there, and with 0,005 from abroad it stays 1000,01.
      {"the PIT/B row read back in double precision",
       std::string(kAlone) + kNips,
       "[PITBa]\np1=1111111111\np53=1000,01\np54=0,00\np55=1000,01\np56=0,00\n"
       "[PITZGa]\np1=1111111111\np13a=0,005\n",
       {{53, "1000,01"}, {55, "1000,01"}}},
      {"a PIT/B with costs only",
       std::string(kAlone) + kNips,
       "[PITBa]\np1=1111111111\np53=0,00\np54=300,00\np56=300,00\n",
       {{53, "0,00"}, {54, "300,00"}, {55, "0,00"}, {56, "300,00"}}},
      {"a NIP written differently does not match",
       std::string(kAlone) + "p1=111-111-11-11\n",
       "[PITBa]\np1=1111111111\np53=3000,00\n[PITZGa]\np1=1111111111\np13a=1000,00\n",
       {{53, "0,00"}, {55, "0,00"}, {56, "0,00"}}},
      {"without a NIP no copy matches",
       kAlone,
       "[PITBa]\np1=\np53=3000,00\n[PITZGa]\np1=\np13a=1000,00\n",
       {{53, "0,00"}, {55, "0,00"}}},
  };
  for (const auto& c : cases) {
    Run(c.input, c.sections);
    for (const auto& [box, expected] : c.boxes) EXPECT_EQ(Box(box), expected) << c.name << ": box " << box;
  }
}

// Box 171: the scale, or the average rate of the income with the foreign
// income applied to the base; no rate exists for X <= 0.
TEST_F(Pit36Test, TaxFromTheScaleAndTheRateMethod) {
  const BoxCase cases[] = {
      {"method 1, rate method", std::string(kAlone) + "p45=40000,00\np168=20000,00\n", "",
       {{167, "40000,00"}, {170, "40000"}, {171, "6828,00"}}},
      {"method 2, rate method", std::string(kJoint) + "p45=40000,00\np168=20000,00\n", "",
       {{170, "20000"}, {171, "6460,00"}}},
      {"method 2 with the spouse's foreign income",
       std::string(kJoint) + "p45=40000,00\np168=20000,00\np169=10000,00\n", "", {{171, "6564,00"}}},
      {"method 1 ignores the spouse's foreign income", std::string(kAlone) + "p45=40000,00\np169=10000,00\n", "",
       {{169, ""}, {171, "6643,98"}}},
      // X = 60077,50 is rounded to 60078 before the rate is taken.
      {"X in whole zloty", std::string(kAlone) + "p45=40077,00\np168=20000,50\n", "", {{170, "40077"}, {171, "6845,15"}}},
      // The rate 16,6445% is rounded in two stages to 16,65%.
      {"rate rounded in two stages", std::string(kAlone) + "p45=40018,00\np168=1002,00\n", "", {{171, "6663,00"}}},
      // 16,64% of 40007 is 6657,1648: rounded in two stages to 6657,17.
      {"tax rounded in two stages", std::string(kAlone) + "p45=40007,00\np168=1000,00\n", "", {{171, "6657,17"}}},
      {"X of 0: no income to tax", std::string(kAlone) + "p168=0,40\n", "", {{170, "0"}, {171, "0,00"}}},
      {"X of 0 from a negative foreign income: the scale",
       std::string(kAlone) + "p45=40000,00\np168=-40000,00\n", "", {{171, "6643,98"}}},
      {"negative X: the scale, not a tax of 0", std::string(kAlone) + "p45=40000,00\np168=-50000,00\n", "",
       {{171, "6643,98"}}},
      {"negative X, joint", std::string(kJoint) + "p45=40000,00\np168=-30000,00\np169=-20000,00\n", "",
       {{170, "20000"}, {171, "6087,96"}}},
  };
  for (const auto& c : cases) {
    Run(c.input, c.sections);
    for (const auto& [box, expected] : c.boxes) EXPECT_EQ(Box(box), expected) << c.name << ": box " << box;
  }
}

TEST_F(Pit36Test, RecalculatingAgainChangesNothing) {
  Run(std::string(kJoint) + kNips + kCoupleIncome + "p139=100,00\np150=50,00\np168=1000,00\n", kCoupleAttachments);
  const std::string first = FileBytes();
  struct stat before {};
  ASSERT_EQ(::stat(set_.c_str(), &before), 0);
  solv::RecalcPIT36("PIT36a");
  EXPECT_EQ(FileBytes(), first);
  // Not even rewritten with the same text: every write replaces the file.
  struct stat after {};
  ASSERT_EQ(::stat(set_.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_ctim.tv_sec, before.st_ctim.tv_sec);
  EXPECT_EQ(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec);
}

TEST_F(Pit36Test, SpouseBoxesAreEmptiedWhenFilingAlone) {
  std::vector<int> spouse{2, 44};
  for (int b = 25; b <= 38; ++b) spouse.push_back(b);
  for (int b = 88; b <= 130; ++b) spouse.push_back(b);
  for (int b : {132, 134, 136, 138, 140, 142, 144, 146, 149, 154, 156, 158, 160, 162, 164, 166, 169, 174, 177, 179,
                181, 187, 194, 196, 198, 200, 202, 204, 206})
    spouse.push_back(b);
  for (int from : {221, 245, 269, 293})
    for (int b = from; b <= from + 11; ++b) spouse.push_back(b);
  const std::vector<int> own{1, 11, 15, 24, 43, 155, 159, 209, 220, 233, 244, 257, 268, 281, 292};

  std::string input = kAlone;
  for (int b : spouse) input += P(b) + "=1\n";
  for (int b : own) input += P(b) + "=1\n";
  input += "p39a=[X]\np40a=[X]\np41a=[X]\np42a=[X]\np39b=[X]\n";
  Run(input);
  for (int b : spouse) EXPECT_EQ(Box(b), "") << "box " << b;
  for (int b : own) EXPECT_EQ(Box(b), "1") << "box " << b;
  for (const char* tick : {"p39a", "p40a", "p41a", "p42a"}) EXPECT_EQ(solv::ReadField(tick, {}, "PIT36a"), "[  ]");
  EXPECT_EQ(solv::ReadField("p39b", {}, "PIT36a"), "[X]");
}

TEST_F(Pit36Test, JointSpouseAddressDefaultsToTheTaxpayers) {
  std::string address;
  for (int k = 0; k <= 9; ++k) address += P(15 + k) + "=A" + std::to_string(15 + k) + "\n";
  Run(std::string(kJoint) + address + "p29=NIEMCY\n");
  EXPECT_EQ(Box(29), "NIEMCY");
  for (int b = 30; b <= 38; ++b) EXPECT_EQ(Box(b), "A" + std::to_string(b - 14)) << "box " << b;
}

std::string Expected(const Msg& m) {
  return WithLimit(solv::kPit36Messages[m.n], m.limit);
}

// Each check fires on its condition with its limit in the POPRAW link; equal
// to the limit passes, one grosz more fails.
TEST_F(Pit36Test, ChecksAndTheirLimits) {
  const MessageCase cases[] = {
      {"clean alone", kAlone, "", {}},
      {"clean joint", kJoint, "", {}},
      {"no method", "p10a=[X]\np305=1\n", "", {{0}}},
      {"no purpose", "p6a=[X]\np305=1\n", "", {{1}}},
      {"correction as purpose", "p6a=[X]\np305=1\np10b=[X]\n", "", {}},
      {"141 equal to 139", kAlone, "p45=1000,00\np139=100,00\np141=100,00\n", {}},
      {"141 above 139", kAlone, "p45=1000,00\np139=100,00\np141=100,01\n", {{2, "100"}}},
      {"142 above 140", kJoint, "p88=1000,00\np140=100,00\np142=100,01\n", {{3, "100"}}},
      {"142 is not checked alone", kAlone, "p88=1000,00\np140=100,00\np142=100,01\n", {}},
      {"part E equal to the income", kAlone, "p45=100,00\np135=50,00\np137=50,00\n", {}},
      {"part E above the income", kAlone, "p45=100,00\np135=50,00\np137=50,01\n", {{4}}},
      {"part E within the income with the children's", kAlone, "p45=100,00\np131=0,01\np135=50,00\np137=50,01\n", {}},
      {"spouse's part E above the income", kJoint, "p88=100,00\np136=100,01\n", {{5}}},
      {"spouse's part E within the income with the children's", kJoint, "p88=100,00\np132=0,01\np136=100,01\n", {}},
      {"145 above 143", kAlone, "p45=1000,00\np145=1000,01\n", {{6, "1000"}, {8}}},
      {"146 above 144", kJoint, "p88=1000,00\np146=1000,01\n", {{7, "1000"}, {9}}},
      {"147 equal to its limit", kAlone, "p45=1000,00\np145=400,00\np147=600,00\n", {}},
      {"147 above its limit", kAlone, "p45=1000,00\np145=400,00\np147=600,01\n", {{17, "600"}}},
      {"147 above the joint limit", kJoint, "p45=1000,00\np88=500,00\np145=100,00\np146=100,00\np147=800,01\n",
       {{18, "800"}}},
      {"the joint limit of 147 leaves out the spouse's income", kJoint, "p45=1000,00\np88=5000,00\np147=1000,01\n",
       {{18, "1000"}}},
      {"147 of 0 with a negative limit", kAlone, "p145=100,00\np147=0,00\n", {{6, "0"}, {8}}},
      {"148 equal to its limit", kAlone, "p45=1000,00\np145=100,00\np147=200,00\np148=700,00\n", {}},
      {"148 above its limit", kAlone, "p45=1000,00\np145=100,00\np147=200,00\np148=700,01\n", {{19, "700"}}},
      {"149 above its limit", kJoint, "p45=1000,00\np88=1000,00\np146=100,00\np147=200,00\np149=700,01\n",
       {{20, "700"}}},
      {"153 equal to its limit", kAlone, "p45=1000,00\np145=100,00\np147=100,00\np150=300,00\np153=500,00\n", {}},
      {"153 above its limit", kAlone, "p45=1000,00\np145=100,00\np147=100,00\np150=300,00\np153=500,01\n",
       {{21, "500"}}},
      {"154 above its limit", kJoint,
       "p45=1000,00\np88=1000,00\np146=100,00\np147=100,00\np150=300,00\np154=500,01\n", {{22, "500"}}},
      {"part F above the taxpayer's income", kAlone, "p45=1000,00\np148=600,00\np153=400,01\n", {{8}}},
      {"part F equal to the taxpayer's income", kAlone, "p45=1000,00\np148=600,00\np153=400,00\n", {}},
      {"part F above the spouse's income", kJoint, "p88=1000,00\np149=600,00\np154=400,01\n", {{9}}},
      {"176 equal to 175", kAlone, "p172=1000,00\np176=1000,00\n", {}},
      {"176 above 175", kAlone, "p172=1000,00\np176=1000,01\n", {{10, "1000"}, {14, "-0,01"}, {16}}},
      {"176 and 177 above 175", kJoint, "p172=1000,00\np176=600,00\np177=400,01\n", {{11}, {15}, {16}}},
      {"178 above 176", kAlone, "p172=1000,00\np176=100,00\np178=100,01\n", {{12, "100"}}},
      {"179 above 177", kJoint, "p172=1000,00\np177=100,00\np179=100,01\n", {{13, "100"}}},
      {"180 equal to its limit", kAlone, "p172=1000,00\np176=300,00\np180=700,00\n", {}},
      {"180 above its limit", kAlone, "p172=1000,00\np176=300,00\np180=700,01\n", {{14, "700"}, {16}}},
      {"180 and 181 above their limit", kJoint, "p172=1000,00\np176=300,00\np177=200,00\np180=250,00\np181=250,01\n",
       {{15}, {16}}},
      {"199 equal to 197", kAlone, "p197=500,00\np199=500,00\n", {}},
      {"199 above 197", kAlone, "p197=500,00\np199=500,01\n", {{23, "500"}}},
      {"200 above 198", kJoint, "p198=500,00\np200=500,01\n", {{24, "500"}}},
      {"1% amount above the limit", kAloneNoKrs, "p172=1000,00\np306=10,01\n", {{25, "10"}, {27}}},
      {"1% amount equal to the limit", kAloneNoKrs, "p172=1000,00\np306=10,00\n", {{27}}},
      {"1% amount empty", kAloneNoKrs, "p172=1000,00\n", {{26, "10"}}},
      {"1% of a tax cut to tens of grosz", kAloneNoKrs, "p172=999,00\n", {{26, "9,9"}}},
      {"1% without tax", kAloneNoKrs, "", {}},
      {"1% with a KRS number", kAlone, "p172=1000,00\np306=10,01\n", {}},
  };
  for (const auto& c : cases) {
    Run(std::string(c.head) + c.boxes);
    std::vector<std::string> expected;
    for (const auto& m : c.expected) expected.push_back(Expected(m));
    EXPECT_EQ(MessageItems(), expected) << c.name;
    EXPECT_EQ(Messages().counter, static_cast<int>(c.expected.size())) << c.name;
  }
}

TEST_F(Pit36Test, SetsTheCurrentPageAndReplacesEarlierMessages) {
  solv::AddMessage("stary komunikat");
  set_ = dir_ / "x.i10";
  WriteSet(std::string("[MAIN]\nPIT=PIT36\n[PIT36a]\n") + kAlone);
  solv::Store().currentPage = "PITOa";
  solv::RecalcPIT36("PIT36a");
  EXPECT_EQ(solv::Store().currentPage, "PIT36a");
  ASSERT_EQ(Messages().items.size(), 1u);
  EXPECT_EQ(Messages().items[0], solv::kHeaderEmpty);
}

// The example set through the command-line tool: a joint return with the
// spouses' PIT/B and the taxpayer's PIT/ZG recalculates to the hand-worked
// result and passes the whole-return check.
TEST_F(Pit36Test, ExampleSetThroughSolvcalc) {
  namespace fs = std::filesystem;
  const fs::path copy = CopyExample("pit36.i10", dir_ / "example.i10");
  const auto tool = [&](const char* command, std::string* out) {
    const ToolRun run = RunSolvcalc({command, copy.string()}, dir_, Stderr::IntoOut);
    *out = run.out;
    return run.exitCode;
  };

  std::string out;
  EXPECT_EQ(tool("recalc", &out), 0);
  const std::string last = "PIT36a\t0\n";
  EXPECT_TRUE(out.size() >= last.size() && out.compare(out.size() - last.size(), last.size(), last) == 0) << out;

  solv::OpenSet(copy);
  const std::pair<int, const char*> boxes[] = {
      {53, "124000,00"}, {54, "71000,00"}, {55, "53000,00"}, {96, "20000,00"}, {97, "25000,00"}, {99, "5000,00"},
      {143, "44000,00"}, {144, "29865,00"}, {170, "36933"},    {171, "12183,84"}, {188, "6684"},    {191, "3816,00"},
      {208, "3816"},     {306, "66,80"}};
  for (const auto& [box, expected] : boxes) EXPECT_EQ(Box(box), expected) << "box " << box;
  solv::Store() = solv::StoreState{};

  EXPECT_EQ(tool("check", &out), 0) << out;
  EXPECT_NE(out.find("nie występują błędy"), std::string::npos) << out;
}

}  // namespace
