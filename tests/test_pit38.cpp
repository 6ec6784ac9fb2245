// PIT-38: computed boxes and checks of one recalculation, with PIT/ZG copies,
// and the example set through solvcalc.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "calc/dispatch.hpp"
#include "calc/other/pit38.hpp"
#include "calc/other/pit38_messages.hpp"
#include "form_test_support.hpp"

namespace {

namespace fs = std::filesystem;
using solv::Messages;

// Heads of the PIT38a section: purpose, rate, and the organisation's KRS number.
constexpr const char* kFiled = "p6a=[X]\np31=19,00\np58=0000012345\n";
constexpr const char* kFiledNoKrs = "p6a=[X]\np31=19,00\n";
// Revenue 10000 and costs 4000 from PIT-8C.
constexpr const char* kWorked = "p21=10000,00\np22=4000,00\n";

// The rate message as the panel shows it, with 19 in its POPRAW link.
constexpr const char* kRateShown =
    "<color=clRed><b>PIT-38, Poz.31. Stawka podatku (%)</b><br><color=clNavy>Stawka w poz.31 nie jest liczbą; "
    "podatek obliczono według stawki 19%. (<link=popraw#19#PIT38a#P31>POPRAW</link>, "
    "<link=PIT38a#P31>POKAŻ >>></link>)<br><br>";

class Pit38Test : public FormFixture {
 protected:
  // Writes a new PIT-38 set with `boxes` in PIT38a and recalculates it.
  void Run(const std::string& boxes) {
    NextSet("[MAIN]\nPIT=PIT38\nVER=10\n[PIT38a]\n" + boxes);
    solv::RecalcPIT38("PIT38a");
  }
  static std::string Box(int box, const char* section = "PIT38a") {
    return FormFixture::Box(section, box);
  }
};

struct BoxCase {
  const char* name;
  std::string input;
  std::vector<std::pair<int, const char*>> boxes;
};

TEST_F(Pit38Test, ComputedBoxes) {
  const std::vector<std::pair<int, const char*>> empty{
      {25, "0,00"}, {26, "0,00"}, {27, "0,00"}, {28, "0,00"}, {30, "0"}, {32, "0,00"}, {35, "0"}, {36, "0"},
      {42, "0"},    {43, "0"},    {44, "0"},    {45, "0"},    {59, "0,00"}};
  const BoxCase cases[] = {
      {"empty form", kFiled, empty},
      {"empty form without a stored rate", "p58=0000012345\n", empty},
      {"worked example",
       std::string(kFiled) + kWorked,
       {{25, "10000,00"}, {26, "4000,00"}, {27, "6000,00"}, {28, "0,00"}, {30, "6000"}, {32, "1140,00"},
        {35, "1140"}, {36, "0"}, {44, "1140"}, {45, "0"}, {59, "11,40"}}},
      {"both revenue rows", std::string(kFiled) + kWorked + "p23=500,00\np24=250,50\n",
       {{25, "10500,00"}, {26, "4250,50"}, {27, "6249,50"}, {30, "6250"}, {32, "1187,50"}, {35, "1188"}}},
      {"costs above revenue", std::string(kFiled) + "p21=1000,00\np22=1500,00\n",
       {{27, "0,00"}, {28, "500,00"}, {30, "0"}, {32, "0,00"}, {35, "0"}}},
      {"losses of previous years above the income", std::string(kFiled) + kWorked + "p29=7000,00\n",
       {{27, "6000,00"}, {30, "0"}, {32, "0,00"}, {44, "0"}}},
      {"losses of previous years reduce the base", std::string(kFiled) + kWorked + "p29=1000,00\n",
       {{30, "5000"}, {32, "950,00"}}},
      {"the base rounds half away from zero", std::string(kFiled) + "p21=6000,50\n", {{30, "6001"}}},
      {"revenue sums round in two stages", std::string(kFiled) + "p21=0,4449\n", {{25, "0,45"}, {27, "0,45"}}},
      {"the tax rounds in two stages", "p6a=[X]\np31=44,49\np21=1,00\n", {{30, "1"}, {32, "0,45"}}},
      {"another rate", "p6a=[X]\np31=10,045\np21=1000,00\n", {{32, "100,45"}, {35, "100"}}},
      {"a rate of 0 gives no tax", "p6a=[X]\np31=0\n" + std::string(kWorked), {{32, "0,00"}, {35, "0"}}},
      {"a negative rate gives no tax, not a negative one", "p6a=[X]\np31=-19,00\n" + std::string(kWorked),
       {{32, "0,00"}, {35, "0"}, {36, "0"}, {44, "0"}, {45, "0"}}},
      {"an absent rate counts as 19", std::string("p6a=[X]\n") + kWorked, {{31, "<absent>"}, {32, "1140,00"}}},
      {"an unreadable rate is taken as 19", std::string("p6a=[X]\np31=abc\n") + kWorked,
       {{31, "abc"}, {32, "1140,00"}, {35, "1140"}}},
      {"an empty rate is taken as 19", std::string("p6a=[X]\np31=\n") + kWorked, {{32, "1140,00"}}},
      {"foreign tax above the tax", std::string(kFiled) + kWorked + "p33=1000,00\np34=200,50\n",
       {{35, "0"}, {36, "61"}, {44, "0"}, {45, "61"}}},
      {"foreign tax below the tax", std::string(kFiled) + kWorked + "p33=100,00\np34=39,50\n",
       {{35, "1001"}, {36, "0"}, {44, "1001"}}},
      {"foreign tax equal to the tax", std::string(kFiled) + kWorked + "p33=1140,00\n", {{35, "0"}, {36, "0"}}},
      {"lump-sum tax rounds in two stages", std::string(kFiled) + "p39=100,45\n",
       {{42, "101"}, {43, "0"}, {44, "101"}}},
      {"foreign tax above the lump-sum tax", std::string(kFiled) + "p39=100,00\np40=50,00\np41=80,25\n",
       {{42, "0"}, {43, "30"}, {44, "0"}, {45, "30"}}},
      {"settlement of part E",
       std::string(kFiled) + kWorked + "p37=200\np39=0,00\np41=50,00\n",
       {{35, "1140"}, {36, "0"}, {42, "0"}, {43, "50"}, {44, "1290"}, {45, "0"}}},
      {"settlement with every part",
       std::string(kFiled) + kWorked + "p37=200\np38=30\np39=300,00\np40=100,00\n",
       {{42, "200"}, {44, "1570"}, {45, "0"}}},
      {"a typed 1% amount is replaced when a KRS number is given",
       std::string(kFiled) + kWorked + "p59=5,00\n", {{59, "11,40"}}},
      {"without a KRS number the typed amount stays",
       std::string(kFiledNoKrs) + kWorked + "p59=11,45\n", {{59, "11,45"}}},
  };
  for (const auto& c : cases) {
    Run(c.input);
    for (const auto& [box, expected] : c.boxes) EXPECT_EQ(Box(box), expected) << c.name << ": box " << box;
  }
}

TEST_F(Pit38Test, RecalculatingAgainChangesNothing) {
  Run(std::string(kFiled) + kWorked + "p29=500,00\np33=10,00\np37=20\np39=100,45\np41=3,00\n");
  const std::string first = FileBytes();
  solv::RecalcPIT38("PIT38a");
  EXPECT_EQ(FileBytes(), first);
}

struct Msg {
  int n;  // -1: the rate message
  const char* limit = "";
};

std::string Expected(const Msg& m) {
  if (m.n < 0) return kRateShown;
  return WithLimit(solv::kPit38Messages[m.n], m.limit);
}

struct MessageCase {
  const char* name;
  std::string input;
  std::vector<Msg> expected;
};

// Each check fires on its condition with its limit in the POPRAW link; equal
// to the limit passes, one grosz more fails.
TEST_F(Pit38Test, ChecksAndTheirLimits) {
  const std::string filed = kFiled;
  const std::string noKrs = kFiledNoKrs;
  const MessageCase cases[] = {
      {"clean empty form", filed, {}},
      {"no purpose", "p31=19,00\n", {{0}}},
      {"purpose with a lower-case tick", "p6a=[x]\n", {{0}}},
      {"correction as purpose", "p6b=[X]\np58=1\n", {}},
      {"29 equal to 27", filed + "p21=1000,50\np29=1000,50\n", {}},
      {"29 above 27", filed + "p21=1000,50\np29=1000,51\n", {{1, "1000,5"}}},
      {"29 with no income", filed + "p21=10,00\np22=20,00\np29=0,01\n", {{1, "0"}}},
      {"40 equal to 39", filed + "p39=100,45\np40=100,45\n", {}},
      {"40 above 39", filed + "p39=100,45\np40=100,46\n", {{2, "100,45"}}},
      {"1% of the worked example", noKrs + kWorked, {{4, "11,4"}}},
      {"1% amount zero", noKrs + kWorked + "p59=0,00\n", {{4, "11,4"}}},
      {"1% amount equal to the limit", noKrs + kWorked + "p59=11,40\n", {{5}}},
      {"1% amount above the limit", noKrs + kWorked + "p59=11,41\n", {{3, "11,4"}, {5}}},
      {"1% cut down to tens of grosz", "p6a=[X]\np31=100\np21=1234,00\n", {{4, "12,3"}}},
      {"1% with a KRS number", filed + kWorked + "p59=11,41\n", {}},
      {"1% with no tax", noKrs + "p59=0,01\n", {{3, "0"}, {5}}},
      {"unreadable rate", "p6a=[X]\np31=19%\np58=1\n" + std::string(kWorked), {{-1}}},
      {"absent rate is not reported", "p6a=[X]\np58=1\n" + std::string(kWorked), {}},
      {"every check in order",
       "p31=x\np21=100,00\np29=200,00\np39=1,00\np40=2,00\np59=5,00\n",
       {{0}, {1, "100"}, {-1}, {2, "1"}, {3, "0"}, {5}}},
  };
  for (const auto& c : cases) {
    Run(c.input);
    std::vector<std::string> expected;
    for (const auto& m : c.expected) expected.push_back(Expected(m));
    EXPECT_EQ(MessageItems(), expected) << c.name;
    EXPECT_EQ(Messages().counter, static_cast<int>(c.expected.size())) << c.name;
  }
}

// A PIT-38 set carries PIT/ZG copies: they keep only their part C.3, and the
// amounts carried into boxes 23, 24 and 33 flow through the return.
TEST_F(Pit38Test, WithPitZgCopies) {
  WriteSet(
      "[MAIN]\nPIT=PIT38\nVER=10\n"
      "[PIT38a]\np1=1234563218\np6a=[X]\np31=19,00\np21=10000,00\np22=4000,00\n"
      "p23=3000,00\np24=1000,00\np33=250,00\np63=2\n"
      "[PITZGa]\np1=1234563218\np9=100,00\np27=100,00\np30=5,00\np32=1500,00\np32a=2000,00\np32b=500,00\n"
      "p33=200,00\np34=7,00\n"
      "[PITZGa_1]\np1=1234563218\np32=500,00\np32a=1000,00\np32b=500,00\np33=50,00\n");
  for (const char* form : {"PITZGa", "PITZGa_1", "PIT38a"}) {
    EXPECT_TRUE(solv::Recalculate(form)) << form;
  }
  for (int box : {9, 27, 30, 34}) EXPECT_EQ(Box(box, "PITZGa"), "") << box;
  for (const auto& [box, value] : {std::pair{32, "1500,00"}, {33, "200,00"}}) EXPECT_EQ(Box(box, "PITZGa"), value);
  EXPECT_EQ(solv::ReadField("p32a", "", "PITZGa"), "2000,00");

  const std::pair<int, const char*> boxes[] = {{25, "13000,00"}, {26, "5000,00"}, {27, "8000,00"}, {30, "8000"},
                                               {32, "1520,00"},  {35, "1270"},    {36, "0"},       {44, "1270"},
                                               {45, "0"}};
  for (const auto& [box, value] : boxes) EXPECT_EQ(Box(box), value) << box;
  EXPECT_EQ(MessageItems(), std::vector<std::string>{Expected({4, "12,7"})});
}

// The example set through the dispatch and through the solvcalc tool.
TEST_F(Pit38Test, ExampleSetWithSolvcalc) {
  const fs::path tool = CopyExample("pit38.i10", dir_ / "tool.i10");
  const fs::path library = CopyExample("pit38.i10", dir_ / "library.i10");

  const auto run = [&](const std::string& command, const fs::path& set) {
    const ToolRun r = RunSolvcalc({command, set.string()}, dir_, Stderr::IntoOut);
    return std::make_pair(r.exitCode, r.out);
  };
  const auto [recalcCode, recalcOut] = run("recalc", tool);
  EXPECT_EQ(recalcCode, 0);
  EXPECT_EQ(recalcOut, "PITZGa\t0\nPITZGa_1\t0\nPIT38a\t0\n");

  set_ = library;
  solv::OpenSet(library);
  for (const char* form : {"PITZGa", "PITZGa_1", "PIT38a"}) EXPECT_TRUE(solv::Recalculate(form)) << form;
  EXPECT_EQ(Bytes(tool), Bytes(library));

  const std::pair<int, const char*> boxes[] = {
      {25, "30000,00"}, {26, "19500,00"}, {27, "10500,00"}, {28, "0,00"}, {30, "9500"}, {32, "1805,00"},
      {35, "1355"},     {36, "0"},        {42, "0"},        {43, "0"},    {44, "1355"}, {45, "0"},
      {59, "13,50"}};
  for (const auto& [box, value] : boxes) EXPECT_EQ(Box(box), value) << box;
  EXPECT_EQ(Box(7), "Wiśniewski");

  const auto [checkCode, checkOut] = run("check", tool);
  EXPECT_EQ(checkCode, 0) << checkOut;
  EXPECT_NE(checkOut.find("nie występują błędy"), std::string::npos) << checkOut;

  // The same set with the purpose cleared, an unreadable rate and too much
  // foreign tax in part E.
  solv::WriteField("P6A", "[  ]", "PIT38a");
  solv::WriteField("P31", "dziewiętnaście", "PIT38a");
  solv::WriteField("P39", "100,00", "PIT38a");
  solv::WriteField("P40", "100,01", "PIT38a");
  const auto [faultCode, faultOut] = run("check", library);
  EXPECT_EQ(faultCode, 1) << faultOut;
  EXPECT_NE(faultOut.find("liczba komunikatów: 3"), std::string::npos) << faultOut;
  EXPECT_NE(faultOut.find("PIT-38, Poz.6. Cel złożenia formularza"), std::string::npos) << faultOut;
  EXPECT_NE(faultOut.find("podatek obliczono według stawki 19%."), std::string::npos) << faultOut;
  EXPECT_NE(faultOut.find("PIT-38, Poz.40. Podatek zapłacony za granicą"), std::string::npos) << faultOut;
}

}  // namespace
