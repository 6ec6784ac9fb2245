// Box locking by the way of taxation, the main form, the PIT-28 exemption
// choice and the PIT/O attachment number, applied to pages built from their
// definitions.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "report/print_page.hpp"
#include "set_fixture.hpp"
#include "shell/box_locking.hpp"

namespace {

using namespace solv;

TEST(BoxLockingTable, ExpandBoxList) {
  EXPECT_EQ(ExpandBoxList("p2, p25-p27,p39a, p69a-p69c"),
            (std::vector<std::string>{"p2", "p25", "p26", "p27", "p39a", "p69a", "p69b", "p69c"}));
  EXPECT_EQ(ExpandBoxList(""), std::vector<std::string>{});
}

// Every box a rule names exists on some page of its form, so no rule is
// silently dead through a typing error.
TEST(BoxLockingTable, EveryRuleBoxExistsOnAPageOfItsForm) {
  for (const LockRule& rule : LockingRules()) {
    for (const std::string& box : ExpandBoxList(rule.boxes)) {
      bool found = false;
      for (const PageDefinition& page : PageCatalogue()) {
        if (DefaultInstanceOf(page.info) != rule.window) continue;
        for (const CellInfo& c : page.cells) found = found || c.name == box;
      }
      EXPECT_TRUE(found) << rule.window << " " << box;
    }
  }
}

class BoxLockingTest : public SetFixture {
 protected:
  void WriteNextSet(const std::string& text) {
    set_ = dir_ / (std::to_string(++sets_) + ".i10");
    WriteSet(text);
  }
  // The page of the class for the instance, with the locking applied.
  TKVZPage& Locked(const char* cls, const std::string& instance) {
    page_ = BuildPage(*FindPage(cls), instance);
    ApplyLocking(*page_, instance);
    return *page_;
  }
  bool Editable(const char* cell) {
    const auto* f = page_->Find<TKVZEditField>(cell);
    EXPECT_NE(f, nullptr) << cell;
    if (!f) return false;
    if (f->ShowHint()) EXPECT_EQ(f->Cursor(), crHandPoint) << cell;
    else EXPECT_EQ(f->Cursor(), crNo) << cell;
    return f->ShowHint();
  }
  std::unique_ptr<TKVZPage> page_;
  int sets_ = 0;
};

struct BoxState {
  const char* cell;
  bool editable;
};

TEST_F(BoxLockingTest, SpouseBoxesFollowTheWayOfTaxation) {
  const struct {
    const char* set;
    const char* cls;
    const char* instance;
    std::vector<BoxState> boxes;
  } cases[] = {
      {"[MAIN]\nPIT=PIT36\n[PIT36a]\nP6a=[X]\n", "TPIT36a", "PIT36a", {{"p25", false}, {"p2", false}, {"p24", true}}},
      {"[MAIN]\nPIT=PIT36\n[PIT36a]\nP6b=[X]\n", "TPIT36a", "PIT36a", {{"p25", true}, {"p38", true}}},
      {"[MAIN]\nPIT=PIT36\n[PIT36a]\nP6c=[X]\n", "TPIT36b", "PIT36a", {{"p88", true}}},
      {"[MAIN]\nPIT=PIT36\n[PIT36a]\nP6d=[X]\n", "TPIT36b", "PIT36a", {{"p88", false}, {"p89", false}, {"p83", true}}},
      {"[MAIN]\nPIT=PIT37\n[PIT37a]\n", "TPIT37a", "PIT37a", {{"p2", false}, {"p30", false}, {"p1", true}}},
      {"[MAIN]\nPIT=PIT37\n[PIT37a]\nP6c=[X]\n", "TPIT37a", "PIT37a", {{"p2", true}, {"p30", true}}},
      {"[MAIN]\nPIT=PIT37\n[PIT37a]\nP6d=[X]\n", "TPITDa", "PITDa", {{"p2", false}, {"p18", false}, {"p17", true}}},
      {"[MAIN]\nPIT=PIT37\n[PIT37a]\nP6a=[X]\n", "TPITDa", "PITDa", {{"p2", true}, {"p18", true}}},
      {"[MAIN]\nPIT=PIT37\n[PIT37a]\nP6d=[X]\n", "TPIT2Ka", "PIT2Ka", {{"p2", false}, {"p17", false}}},
      {"[MAIN]\nPIT=PIT36L\n", "TPITZa", "PITZa_M", {{"p7", false}, {"p16", false}}},
      {"[MAIN]\nPIT=PIT36\n", "TPITZa", "PITZa", {{"p7", true}, {"p16", true}}},
  };
  for (const auto& c : cases) {
    WriteNextSet(c.set);
    Locked(c.cls, c.instance);
    for (const BoxState& b : c.boxes) EXPECT_EQ(Editable(b.cell), b.editable) << c.set << c.cls << " " << b.cell;
  }
}

TEST_F(BoxLockingTest, ZgBoxesFollowTheMainForm) {
  const struct {
    const char* main;
    std::vector<BoxState> boxes;
  } cases[] = {
      {"PIT36", {{"p9", true}, {"p26", true}, {"p30", false}, {"p32", false}, {"p35", false}}},
      {"PIT36L", {{"p9", false}, {"p30", true}, {"p31", true}, {"p32", false}, {"p34", false}, {"p35", false}}},
      {"PIT38", {{"p9", false}, {"p32", true}, {"p33", true}, {"p30", false}, {"p34", false}}},
      {"PIT39", {{"p9", false}, {"p30", false}, {"p33", false}, {"p34", true}}},
  };
  for (const auto& c : cases) {
    WriteNextSet(std::string("[MAIN]\nPIT=") + c.main + "\n");
    Locked("TPITZGa", "PITZGa_2");
    for (const BoxState& b : c.boxes) EXPECT_EQ(Editable(b.cell), b.editable) << c.main << " " << b.cell;
  }
}

// The PIT/O rules run in order and the last one is not forced: a box locked
// by an earlier rule stays locked on the first copy.
TEST_F(BoxLockingTest, PitOCopies) {
  const struct {
    const char* name;
    const char* set;
    const char* instance;
    std::vector<BoxState> boxes;
  } cases[] = {
      {"second copy", "[MAIN]\nPIT=PIT37\n[PIT37a]\nP6b=[X]\n[PITOa_2]\nP4=2\n", "PITOa_2",
       {{"p1", false}, {"p2", false}, {"p5", false}, {"p12", false}, {"p13", false}, {"p27", false}}},
      {"first copy, joint", "[MAIN]\nPIT=PIT37\n[PIT37a]\nP6b=[X]\n[PITOa]\nP4=1\n", "PITOa",
       {{"p1", true}, {"p2", true}, {"p5", true}, {"p9", true}, {"p13", true}}},
      {"first copy, individual", "[MAIN]\nPIT=PIT37\n[PIT37a]\nP6a=[X]\n[PITOa]\nP4=1\n", "PITOa",
       {{"p1", true}, {"p2", false}, {"p9", false}, {"p13", true}, {"p14", false}}},
      {"first copy, PIT-28", "[MAIN]\nPIT=PIT28\n[PITOa]\nP4=1\n", "PITOa",
       {{"p23", false}, {"p24", false}, {"p22", false}, {"p21", true}}},
  };
  for (const auto& c : cases) {
    WriteNextSet(c.set);
    Locked("TPITOa", c.instance);
    for (const BoxState& b : c.boxes) EXPECT_EQ(Editable(b.cell), b.editable) << c.name << " " << b.cell;
  }
}

TEST_F(BoxLockingTest, UnforcedUnlockLeavesALockedBoxAlone) {
  WriteSet("[MAIN]\nPIT=PIT37\n[PIT37a]\nP6b=[X]\n[PITOa]\nP4=1\n");
  page_ = BuildPage(*FindPage("TPITOa"), "PITOa");
  auto* p13 = page_->Find<TKVZEditField>("p13");
  p13->SetShowHint(false);
  p13->SetCursor(crNo);
  ApplyLocking(*page_, "PITOa");
  EXPECT_FALSE(p13->ShowHint());
  EXPECT_EQ(p13->Cursor(), crNo);
}

TEST_F(BoxLockingTest, Pit28ExemptionChoice) {
  const struct {
    const char* name;
    const char* boxes;
    bool p110, p107;
    bool p111Editable;
  } cases[] = {
      {"first choice", "P109a=[X]\n", false, false, false},
      {"second choice", "P109b=[X]\n", true, false, true},
      {"neither", "", true, true, false},
  };
  for (const auto& c : cases) {
    WriteNextSet(std::string("[MAIN]\nPIT=PIT28\n[PIT28a]\n") + c.boxes);
    Locked("TPIT28c", "PIT28a");
    EXPECT_EQ(Editable("p110"), c.p110) << c.name;
    EXPECT_EQ(Editable("p107"), c.p107) << c.name;
    EXPECT_EQ(Editable("p108"), c.p107) << c.name;
    const auto* p111 = page_->Find<TKVZEditField>("p111");
    const auto* p103 = page_->Find<TKVZEditField>("p103");
    EXPECT_EQ(p111->ShowHint(), c.p111Editable) << c.name;
    if (c.p111Editable) {
      EXPECT_EQ(p111->Hint(), "Kliknij");
      EXPECT_EQ(p111->Cursor(), crHandPoint);
      EXPECT_EQ(p111->OnClick(), p103->OnClick());
      EXPECT_FALSE(p111->OnClick().empty());
    } else {
      EXPECT_EQ(p111->Hint(), "") << c.name;
      EXPECT_EQ(p111->Cursor(), crDefault) << c.name;
      EXPECT_EQ(p111->OnClick(), "") << c.name;
    }
  }
}

TEST_F(BoxLockingTest, OnlyBoxesOfThePageAndOfTheWindowsRules) {
  WriteSet("[MAIN]\nPIT=PIT36\n[PIT36a]\nP6a=[X]\n");
  const auto onB = LockingFor("PIT36a", "TPIT36b");
  ASSERT_FALSE(onB.empty());
  for (const LockAction& a : onB) {
    EXPECT_NE(a.cell, "p25") << "p25 lies on page 1";
    EXPECT_EQ(a.kind, LockKind::Lock);
    EXPECT_TRUE(a.forced);
  }
  EXPECT_TRUE(LockingFor("PITBa_2", "TPITBa").empty());
}

}  // namespace
