// PIT/ZG: totals, the parts kept for the set's main form, the NIP checks, the
// copies, the store of its page and solvcalc on the example set.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "calc/dispatch.hpp"
#include "calc/scale/pitzg.hpp"
#include "calc/scale/pitzg_messages.hpp"
#include "report/page_definition.hpp"
#include "report/print_page.hpp"
#include "form_test_support.hpp"
#include "shell/page_behaviour.hpp"
#include "store/forms.hpp"

namespace {

namespace fs = std::filesystem;
using solv::Messages;

// Every box 9..35 holds its own number in zloty, the hidden revenue and
// costs cells 1000 and 100.
std::string AllBoxes() {
  std::string s;
  for (int b = 9; b <= 35; ++b) s += "P" + std::to_string(b) + "=" + std::to_string(b) + ",00\n";
  for (int b : {10, 13, 16, 19, 22, 25, 30, 32, 34}) s += "P" + std::to_string(b) + "a=1000,00\nP" + std::to_string(b) + "b=100,00\n";
  return s;
}

class PitZgTest : public FormFixture {
 protected:
  // A new set: [MAIN] with main-form code `code` (none when empty), `head`
  // (further sections before the copy) and the copy `section` with `boxes`.
  void Run(const std::string& code, const std::string& head, const std::string& section, const std::string& boxes) {
    std::string text = "[MAIN]\n";
    if (!code.empty()) text += "PIT=" + code + "\n";
    NextSet(text + "VER=10\n" + head + "[" + section + "]\n" + boxes);
    solv::RecalcPITZG(section);
  }
  static std::string Box(const std::string& key, const std::string& section = "PITZGa") {
    return FormFixture::Box(section, key);
  }
};

// Which boxes each main form keeps; the others are emptied, the hidden cells
// never. A set without a main form (PIT-40, an unknown code, no code) keeps
// part C.2 like PIT-36L and does not fail.
TEST_F(PitZgTest, PartsKeptForTheMainForm) {
  const struct {
    const char* name;
    const char* code;
    std::vector<int> kept;
  } cases[] = {
      {"PIT-36L", "PIT36L", {30, 31}},
      {"PIT-38", "PIT38", {32, 33}},
      {"PIT-39", "PIT39", {34, 35}},
      {"PIT-37 (no PIT/ZG there)", "PIT37", {30, 31}},
      {"PIT-40: no main form", "PIT40", {30, 31}},
      {"unknown main-form code", "PIT99", {30, 31}},
      {"no main-form code", "", {30, 31}},
  };
  for (const auto& c : cases) {
    Run(c.code, "", "PITZGa", "P1=1\n" + AllBoxes());
    for (int b = 9; b <= 35; ++b) {
      const bool kept = std::find(c.kept.begin(), c.kept.end(), b) != c.kept.end();
      EXPECT_EQ(Box(P(b)), kept ? std::to_string(b) + ",00" : "") << c.name << ": box " << b;
    }
    for (int b : {10, 13, 16, 19, 22, 25, 30, 32, 34}) {
      EXPECT_EQ(Box(P(b) + "a"), "1000,00") << c.name << ": box " << b << "a";
      EXPECT_EQ(Box(P(b) + "b"), "100,00") << c.name << ": box " << b << "b";
    }
  }
}

TEST_F(PitZgTest, Pit36TotalsAndPartsC2ToC4Emptied) {
  const struct {
    const char* name;
    std::string boxes;
    const char *p27, *p28, *p29;
  } cases[] = {
      // 9+12+...+24 = 99, 10+13+...+25 = 105, 11+14+...+26 = 111.
      {"every row", AllBoxes(), "99,00", "105,00", "111,00"},
      {"empty copy", "", "0,00", "0,00", "0,00"},
      {"unreadable and empty boxes count 0", "P9=abc\nP12=1.5\nP15=\nP18=10,25\nP10=7\n", "10,25", "7,00", "0,00"},
      // One rounding of the sum (0,004 six times is 0,024), at grosz directly
      // (0,4449 gives 0,44, not 0,45 through 0,445).
      {"the sum is rounded once",
       "P9=0,004\nP12=0,004\nP15=0,004\nP18=0,004\nP21=0,004\nP24=0,004\nP10=0,4449\nP11=0,005\n", "0,02",
       "0,44", "0,01"},
      {"a negative entry lowers the total", "P11=100,00\nP14=-30,50\n", "0,00", "0,00", "69,50"},
  };
  for (const auto& c : cases) {
    Run("PIT36", "", "PITZGa", c.boxes);
    EXPECT_EQ(Box("p27"), c.p27) << c.name;
    EXPECT_EQ(Box("p28"), c.p28) << c.name;
    EXPECT_EQ(Box("p29"), c.p29) << c.name;
    for (int b = 30; b <= 35; ++b) EXPECT_EQ(Box(P(b)), "") << c.name << ": box " << b;
  }
  // The rows themselves and the hidden cells stay.
  Run("PIT36", "", "PITZGa", AllBoxes());
  for (int b = 9; b <= 26; ++b) EXPECT_EQ(Box(P(b)), std::to_string(b) + ",00") << "box " << b;
  EXPECT_EQ(Box("p30a"), "1000,00");
  EXPECT_EQ(Box("p34b"), "100,00");
}

// The worked example: the dialog gave box 13 = 0,00 from revenue 1000 and
// costs 1500; the total counts the box, the hidden cells stay for PIT-36.
TEST_F(PitZgTest, BusinessLossCountsZeroInTheTotal) {
  Run("PIT36", "", "PITZGa", "P12=200,00\nP13=0,00\nP13a=1000,00\nP13b=1500,00\nP16=50,00\n");
  EXPECT_EQ(Box("p28"), "50,00");
  EXPECT_EQ(Box("p13"), "0,00");
  EXPECT_EQ(Box("p13a"), "1000,00");
  EXPECT_EQ(Box("p13b"), "1500,00");
}

struct NipCase {
  const char* name;
  const char* code;
  std::string head;  // the main form's section
  const char* nip;   // P1 of the copy, absent when null
  std::vector<int> expected;
};

TEST_F(PitZgTest, NipChecks) {
  const std::string pit36 = "[PIT36a]\nP1=1234563218\nP2=9876543210\nP6b=[X]\n";
  const NipCase cases[] = {
      {"taxpayer's NIP", "PIT36", pit36, "1234563218", {}},
      {"spouse's NIP in PIT-36", "PIT36", pit36, "9876543210", {}},
      {"no NIP", "PIT36", pit36, nullptr, {0}},
      {"empty NIP", "PIT36", pit36, "", {0}},
      {"blank NIP", "PIT36", pit36, "   ", {0}},
      {"someone else's NIP", "PIT36", pit36, "1111111111", {1}},
      {"the same NIP with dashes", "PIT36", pit36, "123-456-32-18", {1}},
      {"the same NIP with blanks", "PIT36", pit36, "123 456 32 18", {1}},
      {"PIT-38: taxpayer's NIP", "PIT38", "[PIT38a]\nP1=1234563218\nP2=9876543210\n", "1234563218", {}},
      {"PIT-38: box 2 is no spouse's NIP", "PIT38", "[PIT38a]\nP1=1234563218\nP2=9876543210\n", "9876543210", {1}},
      {"PIT-39: taxpayer's NIP", "PIT39", "[PIT39a]\nP1=1234563218\n", "1234563218", {}},
      {"PIT-36L: main form without a NIP", "PIT36L", "[PIT36La]\n", "1234563218", {1}},
      {"PIT-36L: both empty", "PIT36L", "[PIT36La]\n", "", {0}},
      {"no main form: any NIP", "PIT40", "[PIT40a]\nP1=1234563218\n", "1234563218", {1}},
      {"no main form: no NIP", "PIT40", "", "", {0}},
  };
  for (const auto& c : cases) {
    const std::string boxes = c.nip ? std::string("P1=") + c.nip + "\n" : std::string();
    Run(c.code, c.head, "PITZGa", boxes);
    std::vector<std::string> expected;
    for (int n : c.expected) expected.push_back(solv::kPitZgMessages[n]);
    EXPECT_EQ(MessageItems(), expected) << c.name;
  }
}

// Every copy is recalculated in its own section, the others untouched; a
// second run starts from an empty message list.
TEST_F(PitZgTest, CopiesRecalculateInTheirOwnSection) {
  set_ = dir_ / "copies.i10";
  WriteSet("[MAIN]\nPIT=PIT36\n[PIT36a]\nP1=1234563218\n[PITZGa]\nP1=1234563218\nP9=1,00\n"
           "[PITZGa_1]\nP1=1111111111\nP9=2,00\nP12=3,00\nP30=5,00\n[PITZGa_2]\nP9=4,00\n");
  for (int run = 0; run < 2; ++run) {
    ASSERT_TRUE(solv::Recalculate("PITZGa_1"));
    EXPECT_EQ(MessageItems(), std::vector<std::string>{solv::kPitZgMessages[1]});
  }
  EXPECT_EQ(Box("p27", "PITZGa_1"), "5,00");
  EXPECT_EQ(Box("p30", "PITZGa_1"), "");
  EXPECT_EQ(Box("p27", "PITZGa"), "<absent>");
  EXPECT_EQ(Box("p27", "PITZGa_2"), "<absent>");

  ASSERT_TRUE(solv::Recalculate("PITZGa_2"));
  EXPECT_EQ(Box("p27", "PITZGa_2"), "4,00");
  EXPECT_EQ(MessageItems(), std::vector<std::string>{solv::kPitZgMessages[0]});
  EXPECT_EQ(solv::Store().currentPage, "PITZGa_2");
}

TEST_F(PitZgTest, RecalculatingAgainChangesNothing) {
  Run("PIT36", "[PIT36a]\nP1=1\n", "PITZGa", "P1=1\n" + AllBoxes());
  const std::string first = FileBytes();
  solv::RecalcPITZG("PITZGa");
  EXPECT_EQ(FileBytes(), first);
}

// ---------------------------------------------------------------- page store

// The PIT/ZG page as the store sees it, built from its definition.
class ZgPage : public solv::PageHost {
 public:
  explicit ZgPage(const std::string& instance)
      : page_(solv::BuildPage(*solv::FindPage("TPITZGa"), instance)), cells_(*page_) {}
  std::string ClassName() const override { return "TPITZGa"; }
  solv::PageCells& Cells() override { return cells_; }
  void Set(const std::string& cell, const std::string& text) {
    cells_.SetCellText(solv::FindCell(cells_, cell), text);
  }
  std::string Text(const std::string& cell) { return cells_.CellText(solv::FindCell(cells_, cell)); }

 private:
  std::unique_ptr<solv::TKVZPage> page_;
  solv::PageModelCells cells_;
};

// Joint PIT-36 with both NIPs empty: the first NIP typed on a PIT/ZG copy is
// the spouse's on the answer "małżonek", and the recalculation that follows
// the store already matches it.
TEST_F(PitZgTest, StoringThePageAssignsTheNipAndRecalculates) {
  WriteSet("[MAIN]\nPIT=PIT36\n[PIT36a]\nP6c=[X]\n[PITZGa_1]\n");
  ZgPage page("PITZGa_1");
  solv::LoadPageCells(page.Cells());
  page.Set("p1", "9876543210");
  page.Set("p9", "100,00");
  page.Set("p31", "7,00");
  int asked = 0;
  solv::StorePage(page, [&](std::string_view text, std::string_view, const std::vector<std::string>& buttons) {
    ++asked;
    EXPECT_EQ(text, "Dla kogo wystawiany jest formularz?");
    EXPECT_EQ(buttons, (std::vector<std::string>{"podatnik", "małżonek"}));
    return 2;
  });
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(solv::ReadField("p2", {}, "PIT36a"), "9876543210");
  EXPECT_EQ(solv::ReadField("p1", {}, "PIT36a"), "");
  EXPECT_EQ(page.Text("p27"), "100,00");
  EXPECT_EQ(page.Text("p31"), "");
  EXPECT_EQ(MessageItems(), std::vector<std::string>{});
}

// ---------------------------------------------------------------- solvcalc

TEST_F(PitZgTest, SolvcalcOnTheExampleSet) {
  const fs::path tool = CopyExample("pitzg.i10", dir_ / "tool.i10");

  const ToolRun recalc = RunSolvcalc({"recalc", tool.string()}, dir_);
  EXPECT_EQ(recalc.exitCode, 0);
  EXPECT_NE(recalc.out.find("PITZGa\t0\n"), std::string::npos) << recalc.out;
  EXPECT_NE(recalc.out.find("PITZGa_1\t0\n"), std::string::npos) << recalc.out;
  solv::OpenSet(tool);
  const std::pair<const char*, const char*> taxpayer[] = {
      {"p27", "3000,00"}, {"p28", "12800,00"}, {"p29", "2670,75"}, {"p30", ""}, {"p35", ""}, {"p13a", "1000,00"}};
  for (const auto& [box, value] : taxpayer) EXPECT_EQ(Box(box, "PITZGa"), value) << box;
  const std::pair<const char*, const char*> spouse[] = {{"p27", "5000,00"}, {"p28", "2400,00"}, {"p29", "360,00"}};
  for (const auto& [box, value] : spouse) EXPECT_EQ(Box(box, "PITZGa_1"), value) << box;
  // Polish letters come back as they were written.
  EXPECT_EQ(Box("p4", "PITZGa_1"), "Małgorzata");

  const ToolRun clean = RunSolvcalc({"check", tool.string()}, dir_);
  EXPECT_EQ(clean.out.find("PIT/ZG"), std::string::npos) << clean.out;

  // A NIP that matches neither spouse is reported by the whole-return check.
  solv::WriteField("p1", "5555555555", "PITZGa");
  const ToolRun faulty = RunSolvcalc({"check", tool.string()}, dir_);
  EXPECT_EQ(faulty.exitCode, 1);
  EXPECT_NE(faulty.out.find("PIT/ZG – kopia 1, Poz.1. Podany NIP nie jest zgodny z numerem określonym na deklaracji głównej"),
            std::string::npos)
      << faulty.out;
}

}  // namespace
