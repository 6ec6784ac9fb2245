// PIT-39: computed boxes and checks of one recalculation, and the example set
// through solvcalc.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "calc/dispatch.hpp"
#include "calc/other/pit39.hpp"
#include "calc/other/pit39_messages.hpp"
#include "form_test_support.hpp"

namespace {

namespace fs = std::filesystem;
using solv::Messages;

// Heads of the PIT39a section: purpose and the organisation's KRS number.
constexpr const char* kFiled = "p6a=[X]\np51=0000012345\n";
constexpr const char* kFiledNoKrs = "p6a=[X]\n";

class Pit39Test : public FormFixture {
 protected:
  // Writes a new PIT-39 set with `boxes` in PIT39a and recalculates it.
  void Run(const std::string& boxes) {
    NextSet("[MAIN]\nPIT=PIT39\nVER=10\n[PIT39a]\n" + boxes);
    solv::RecalcPIT39("PIT39a");
  }
  static std::string Box(int box) { return FormFixture::Box("PIT39a", box); }
};

struct BoxCase {
  const char* name;
  std::string input;
  std::vector<std::pair<int, const char*>> boxes;
};

TEST_F(Pit39Test, ComputedBoxes) {
  const std::string filed = kFiled;
  const BoxCase cases[] = {
      {"empty form", filed,
       {{24, "0,00"}, {25, "0,00"}, {27, "0"}, {30, "0"}, {35, "0"}, {36, "0"}, {37, "0"}, {38, "0"},
        {52, "0,00"}}},
      {"income with write-offs", filed + "p21=100000,00\np22=60000,00\np23=5000,00\n",
       {{24, "45000,00"}, {25, "0,00"}, {27, "45000"}, {30, "0"}}},
      {"a loss ignores the write-offs", filed + "p21=100,00\np22=150,00\np23=20,00\n",
       {{24, "0,00"}, {25, "50,00"}, {27, "0"}}},
      {"write-offs turn a loss into income", filed + "p21=100,00\np22=150,00\np23=60,00\n",
       {{24, "10,00"}, {25, "0,00"}, {27, "10"}}},
      {"write-offs that just cover the loss", filed + "p21=100,00\np22=150,00\np23=50,00\n",
       {{24, "0,00"}, {25, "50,00"}}},
      {"negative write-offs leave no negative loss", filed + "p21=100,00\np22=90,00\np23=-20,00\n",
       {{24, "0,00"}, {25, "0,00"}, {27, "0"}}},
      {"income rounds in two stages", filed + "p21=0,4449\n", {{24, "0,45"}, {27, "0"}}},
      {"exempt income reduces the base", filed + "p21=100000,00\np22=60000,00\np26=15000,60\n",
       {{24, "40000,00"}, {27, "24999"}}},
      {"the base rounds half away from zero", filed + "p21=1000,50\n", {{27, "1001"}}},
      {"exempt income above the income", filed + "p21=1000,00\np26=2000,00\n", {{27, "0"}}},
      {"the entered tax", filed + "p28=8550,00\n", {{30, "8550"}, {37, "8550"}, {38, "0"}, {52, "85,50"}}},
      {"a base without a tax gives no tax", filed + "p21=100000,00\n", {{27, "100000"}, {30, "0"}, {37, "0"}}},
      {"tax due rounds half away from zero", filed + "p28=1000,50\np29=0,00\n", {{30, "1001"}}},
      {"foreign tax above the tax", filed + "p28=100,00\np29=150,00\n", {{30, "0"}, {37, "0"}, {38, "0"}}},
      {"lump-sum tax rounds in two stages", filed + "p28=100,00\np31=5\np32=10,46\n",
       {{35, "11"}, {36, "0"}, {37, "116"}}},
      {"foreign tax above the lump-sum tax", filed + "p28=100,00\np32=10,00\np33=10,00\np34=50,45\n",
       {{35, "0"}, {36, "51"}, {37, "49"}, {38, "0"}}},
      {"overpayment", filed + "p32=10,00\np34=60,00\n", {{35, "0"}, {36, "50"}, {37, "0"}, {38, "50"}}},
      {"a typed 1% amount is replaced when a KRS number is given", filed + "p28=8550,00\np52=1,00\n",
       {{52, "85,50"}}},
      {"without a KRS number the typed amount stays", std::string(kFiledNoKrs) + "p28=8550,00\np52=85,55\n",
       {{52, "85,55"}}},
  };
  for (const auto& c : cases) {
    Run(c.input);
    for (const auto& [box, expected] : c.boxes) EXPECT_EQ(Box(box), expected) << c.name << ": box " << box;
  }
}

TEST_F(Pit39Test, RecalculatingAgainChangesNothing) {
  Run(std::string(kFiled) + "p21=1000,00\np22=100,00\np23=5,00\np26=10,00\np28=100,00\np32=10,46\np34=1,00\n");
  const std::string first = FileBytes();
  solv::RecalcPIT39("PIT39a");
  EXPECT_EQ(FileBytes(), first);
}

std::string Expected(const Msg& m) {
  return WithLimit(solv::kPit39Messages[m.n], m.limit);
}

struct MessageCase {
  const char* name;
  std::string input;
  std::vector<Msg> expected;
};

TEST_F(Pit39Test, ChecksAndTheirLimits) {
  const std::string filed = kFiled;
  const std::string noKrs = kFiledNoKrs;
  const MessageCase cases[] = {
      {"clean empty form", filed, {}},
      {"no purpose", "", {{0}}},
      {"correction as purpose", "p6b=[X]\n", {}},
      {"33 equal to 32", filed + "p32=10,46\np33=10,46\n", {}},
      {"33 above 32", filed + "p32=10,46\np33=10,47\n", {{1, "10,46"}}},
      {"1% of the entered tax", noKrs + "p28=8550,00\n", {{3, "85,5"}}},
      {"1% cut down to tens of grosz", noKrs + "p28=1234,00\n", {{3, "12,3"}}},
      {"1% amount equal to the limit", noKrs + "p28=8550,00\np52=85,50\n", {{4}}},
      {"1% amount above the limit", noKrs + "p28=8550,00\np52=85,51\n", {{2, "85,5"}, {4}}},
      {"1% with a KRS number", filed + "p28=8550,00\np52=85,51\n", {}},
      {"1% with no tax", noKrs + "p52=0,10\n", {{2, "0"}, {4}}},
      {"every check in order", "p32=1,00\np33=2,00\np52=1,00\n", {{0}, {1, "1"}, {2, "0"}, {4}}},
  };
  for (const auto& c : cases) {
    Run(c.input);
    std::vector<std::string> expected;
    for (const auto& m : c.expected) expected.push_back(Expected(m));
    EXPECT_EQ(MessageItems(), expected) << c.name;
    EXPECT_EQ(Messages().counter, static_cast<int>(c.expected.size())) << c.name;
  }
}

// The example set through the dispatch and through the solvcalc tool.
TEST_F(Pit39Test, ExampleSetWithSolvcalc) {
  const fs::path tool = CopyExample("pit39.i10", dir_ / "tool.i10");
  const fs::path library = CopyExample("pit39.i10", dir_ / "library.i10");

  const auto run = [&](const std::string& command, const fs::path& set) {
    const ToolRun r = RunSolvcalc({command, set.string()}, dir_, Stderr::IntoOut);
    return std::make_pair(r.exitCode, r.out);
  };
  const auto [recalcCode, recalcOut] = run("recalc", tool);
  EXPECT_EQ(recalcCode, 0);
  EXPECT_EQ(recalcOut, "PIT39a\t0\n");

  set_ = library;
  solv::OpenSet(library);
  EXPECT_TRUE(solv::Recalculate("PIT39a"));
  EXPECT_EQ(Bytes(tool), Bytes(library));

  const std::pair<int, const char*> boxes[] = {{24, "85000,00"}, {25, "0,00"}, {27, "65000"}, {30, "12350"},
                                               {35, "0"},        {36, "0"},    {37, "12350"}, {38, "0"},
                                               {52, "123,50"}};
  for (const auto& [box, value] : boxes) EXPECT_EQ(Box(box), value) << box;
  EXPECT_EQ(solv::ReadField("p7", "", "PIT39a"), "Żółkiewska");

  const auto [checkCode, checkOut] = run("check", tool);
  EXPECT_EQ(checkCode, 0) << checkOut;
  EXPECT_NE(checkOut.find("nie występują błędy"), std::string::npos) << checkOut;

  // The same set without a purpose and with foreign tax above the lump-sum tax.
  solv::WriteField("P6A", "[  ]", "PIT39a");
  solv::WriteField("P32", "10,00", "PIT39a");
  solv::WriteField("P33", "10,01", "PIT39a");
  const auto [faultCode, faultOut] = run("check", library);
  EXPECT_EQ(faultCode, 1) << faultOut;
  EXPECT_NE(faultOut.find("liczba komunikatów: 2"), std::string::npos) << faultOut;
  EXPECT_NE(faultOut.find("PIT-39, Poz.6. Cel złożenia formularza"), std::string::npos) << faultOut;
  EXPECT_NE(faultOut.find("PIT-39, Poz.33. Podatek zapłacony za granicą"), std::string::npos) << faultOut;
}

}  // namespace
