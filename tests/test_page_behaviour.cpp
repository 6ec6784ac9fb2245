// What the page classes do differently, Tab navigation, check boxes and their
// groups, and store and recalculate (with the owner-aware variant of the PIT/B
// and PIT/ZG first pages) over a page built from its definition.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "report/print_page.hpp"
#include "set_fixture.hpp"
#include "test_page.hpp"
#include "shell/box_locking.hpp"
#include "shell/page_behaviour.hpp"
#include "store/forms.hpp"

namespace {

using namespace solv;

// ---------------------------------------------------------------- the table

TEST(PageFamily, EveryCataloguePageHasItsRowWithTheSameClickHandler) {
  EXPECT_EQ(PageFamilies().size(), PageCatalogue().size());
  for (const PageDefinition& page : PageCatalogue()) {
    const PageFamily* f = FindPageFamily(page.info.className);
    ASSERT_NE(f, nullptr) << page.info.className;
    EXPECT_EQ(f->clickHandler, page.info.clickHandler) << page.info.className;
    EXPECT_LE(f->tabLow, f->tabHigh) << page.info.className;
  }
  EXPECT_EQ(FindPageFamily("TNoSuchPage"), nullptr);
}

// Every member of an exclusive group is a check box of its page.
TEST(PageFamily, GroupMembersAreCheckBoxesOfThePage) {
  for (const PageFamily& f : PageFamilies()) {
    const PageDefinition* page = FindPage(f.className);
    for (const CheckGroup& g : f.groups)
      for (const char* l = g.letters; *l; ++l) {
        const std::string name = std::string(g.prefix) + *l;
        bool found = false;
        for (const CellInfo& c : page->cells)
          if (c.name == name) {
            found = true;
            EXPECT_EQ(c.kind, CellKind::Check) << f.className << " " << name;
          }
        EXPECT_TRUE(found) << f.className << " has no " << name;
      }
  }
}

TEST(PageFamily, PropagationForm) {
  const struct {
    const char* cls;
    const char* instance;
    std::optional<int> form;
  } cases[] = {
      {"TPIT37a", "PIT37a", kPIT37},  {"TPIT37b", "PIT37a", std::nullopt}, {"TPIT36Lc", "PIT36La", kPIT36L},
      {"TPITMa", "PITMa", kPITM},     {"TPITMa", "PITMa_M", kPITM_M},      {"TPITZa", "PITZa_M", kPITZ_M},
      {"TPITZa", "PITZa", kPITZ},     {"TPITOc", "PITOa_3", kPITO},        {"TPITBa", "PITBa", std::nullopt},
      {"TPITZGa", "PITZGa_2", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(PropagationFormFor(c.cls, c.instance), c.form) << c.cls << " " << c.instance;
  EXPECT_EQ(FindPageFamily("TPITBa")->propagation, PropagationKind::OwnerAware);
  EXPECT_EQ(FindPageFamily("TPITZGa")->form, kPITZG);
  EXPECT_FALSE(FindPageFamily("TPIT2Kb")->hoverHighlight);
  EXPECT_EQ(FindPageFamily("TPITZGa")->dialogBoxes.size(), 9u);
}

// ---------------------------------------------------------------- Tab

// Editable as the page's definition says.
std::function<bool(const std::string&)> EditableOn(const char* cls) {
  const PageDefinition* page = FindPage(cls);
  return [page](const std::string& name) {
    for (const CellInfo& c : page->cells)
      if (c.name == name) return c.editable;
    return false;
  };
}

TEST(TabNavigation, NextCellAndBounds) {
  const struct {
    const char* cls;
    const char* from;
    bool shift;
    const char* to;
  } cases[] = {
      {"TPIT37a", "p38", false, ""},   // 38 is the high bound
      {"TPIT37a", "p6a", false, "p1"},  // a letter suffix counts as 0
      {"TPIT37a", "p6a", true, ""},
      {"TPIT37a", "p1", true, ""},      // the low bound
      {"TPIT37a", "p1", false, "p2"},
      {"TPIT37a", "p2", false, "p5"},   // p3, p4 are not on the page
      {"TPIT37a", "p9", true, "p5"},
      {"TPIT37b", "p6a", false, "p39"},
      {"TPIT36La", "p23", false, "p28"},  // p24..p27 are computed
      {"TPIT36La", "p33", false, "p33a"},
      {"TPIT36La", "p33a", false, "p34"},
      {"TPIT36La", "p34", true, "p33a"},
      {"TPIT36La", "p33a", true, "p33"},
      {"TPIT36c", "p136", false, "p1371"},
      {"TPIT36c", "p1371", false, "p137"},
      {"TPIT36c", "p137", true, "p1371"},
      {"TPIT36c", "p1371", true, "p136"},
      {"TPIT2Kb", "p40", false, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(NextTabCell(c.cls, c.from, c.shift, EditableOn(c.cls)), c.to)
        << c.cls << " " << c.from << (c.shift ? " Shift+Tab" : " Tab");
}

TEST(TabNavigation, LockedCellsAreSkippedAndTheBoundStops) {
  auto allButP2 = [](const std::string& n) { return n != "p2" && n != "p3" && n != "p4"; };
  EXPECT_EQ(NextTabCell("TPIT37a", "p1", false, allButP2), "p5");
  auto nothing = [](const std::string&) { return false; };
  EXPECT_EQ(NextTabCell("TPIT37a", "p1", false, nothing), "");
  EXPECT_EQ(NextTabCell("TNoSuchPage", "p1", false, allButP2), "");
  EXPECT_EQ(TabNumberOf("p45"), 45);
  EXPECT_EQ(TabNumberOf("p6a"), 0);
  EXPECT_EQ(TabNumberOf("p"), 0);
}

// ---------------------------------------------------------------- check boxes

using Changes = std::vector<std::pair<std::string, std::string>>;

TEST(CheckBoxes, ToggleAndGroupExclusion) {
  const struct {
    const char* cls;
    const char* cell;
    const char* text;
    Changes expected;
  } cases[] = {
      {"TPIT37a", "p6b", "[  ]", {{"p6b", "[X]"}, {"p6a", "[  ]"}, {"p6c", "[  ]"}, {"p6d", "[  ]"}}},
      {"TPIT37a", "p6b", "[X]", {{"p6b", "[  ]"}, {"p6a", "[  ]"}, {"p6c", "[  ]"}, {"p6d", "[  ]"}}},
      {"TPIT37a", "p10a", "", {{"p10a", "[  ]"}, {"p10b", "[  ]"}}},
      {"TPIT37a", "p7a", "[  ]", {{"p7a", "[X]"}}},  // in no group
      {"TPIT37c", "p135a", "[  ]", {{"p135a", "[X]"}, {"p135b", "[  ]"}, {"p135c", "[  ]"}}},
      {"TPIT37c", "p135c", "[  ]", {{"p135c", "[X]"}, {"p135a", "[  ]"}, {"p135b", "[  ]"}}},
      {"TPIT37c", "p134a", "[  ]", {{"p134a", "[X]"}, {"p134b", "[  ]"}}},
      {"TPIT28c", "p109c", "[  ]", {{"p109c", "[X]"}, {"p109a", "[  ]"}, {"p109b", "[  ]"}}},
      {"TPIT40b", "p36e", "[  ]", {{"p36e", "[X]"}, {"p36a", "[  ]"}, {"p36b", "[  ]"}, {"p36c", "[  ]"}, {"p36d", "[  ]"}}},
      {"TPIT2Ka", "p31d", "[  ]", {{"p31d", "[X]"}, {"p31a", "[  ]"}, {"p31b", "[  ]"}, {"p31c", "[  ]"}}},
  };
  for (const auto& c : cases) EXPECT_EQ(ToggleCheckBox(c.cls, c.cell, c.text), c.expected) << c.cls << " " << c.cell;
}

// ---------------------------------------------------------------- pages over a set

class PageOpsTest : public SetFixture {
 protected:
  void TearDown() override {
    SetReloadOpenPages(nullptr);
    SetFixture::TearDown();
  }
  // Each case in a set file of its own.
  void WriteNextSet(const std::string& text) {
    set_ = dir_ / (std::to_string(++sets_) + ".i10");
    WriteSet(text);
  }
  int sets_ = 0;
};

int NoQuestion(std::string_view, std::string_view, const std::vector<std::string>&) {
  ADD_FAILURE() << "asked unexpectedly";
  return 0;
}

TEST_F(PageOpsTest, StoreAndRecalculateSavesLocksPropagatesRefreshesAndReloads) {
  WriteSet("[MAIN]\nPIT=PIT37\n[PIT37a]\nP6a=[X]\n[PITOa]\nP4=1\n");
  TestPage page("TPIT37a", "PIT37a");
  page.Load();
  page.Set("p1", "1234567890");
  StorePage(page, NoQuestion);
  EXPECT_EQ(page.calls, (std::vector<std::string>{"lock", "refresh"}));
  EXPECT_EQ(ReadField("p1", {}, "PIT37a"), "1234567890");
  EXPECT_EQ(ReadField("p1", {}, "PITOa"), "1234567890") << "PIT-37 page 1 propagates identification";
  EXPECT_EQ(page.Text("p1"), "1234567890");
}

TEST_F(PageOpsTest, PageWithoutPropagationLeavesTheOtherFormsAlone) {
  WriteSet("[MAIN]\nPIT=PIT37\n[PIT37a]\nP1=111\n[PITOa]\nP4=1\n");
  TestPage page("TPIT37b", "PIT37a");
  page.Load();
  page.Set("p39", "100,00");
  StorePage(page, NoQuestion);
  EXPECT_EQ(ReadField("p39", {}, "PIT37a"), "100,00");
  EXPECT_EQ(ReadField("p1", "<absent>", "PITOa"), "<absent>");
}

TEST_F(PageOpsTest, CheckBoxClickClearsItsGroupAndUnlocksAfterRecalculation) {
  WriteSet("[MAIN]\nPIT=PIT36\n[PIT36a]\nP6a=[X]\n");
  TestPage page("TPIT36a", "PIT36a");
  page.Load();
  page.LockOpenPages();
  EXPECT_FALSE(page.Cell("p25")->ShowHint()) << "individual taxation: the spouse's boxes are locked";

  EXPECT_TRUE(ClickCheckBox(page, "p6b", NoQuestion));
  EXPECT_EQ(ReadField("p6b", {}, "PIT36a"), "[X]");
  EXPECT_EQ(ReadField("p6a", {}, "PIT36a"), "[  ]");
  EXPECT_EQ(page.Text("p6a"), "[  ]");
  EXPECT_TRUE(page.Cell("p25")->ShowHint());
  EXPECT_EQ(page.Cell("p25")->Cursor(), crHandPoint);

  EXPECT_TRUE(ClickCheckBox(page, "p6b", NoQuestion));
  EXPECT_EQ(ReadField("p6b", {}, "PIT36a"), "[  ]");
  EXPECT_FALSE(ClickCheckBox(page, "p99z", NoQuestion));
}

TEST_F(PageOpsTest, SecondExemptionChoiceEmptiesBoxes110To112) {
  WriteSet("[MAIN]\nPIT=PIT28\n[PIT28a]\nP110=5\nP111=6\nP112=7\nP130=uwagi\n");
  TestPage page("TPIT28c", "PIT28a");
  page.Load();
  ClickCheckBox(page, "p109b", NoQuestion);
  for (const char* box : {"p110", "p111", "p112"}) {
    EXPECT_EQ(ReadField(box, "<absent>", "PIT28a"), "") << box;
    EXPECT_EQ(page.Text(box), "") << box << " shows the emptied value";
  }
  EXPECT_EQ(ReadField("p130", {}, "PIT28a"), "uwagi");  // only those three are emptied
  EXPECT_EQ(page.Cell("p111")->Hint(), "Kliknij");
  EXPECT_TRUE(page.Cell("p111")->ShowHint());
}

// ---------------------------------------------------------------- owner-aware

struct Asked {
  int count = 0;
  std::string text, title;
  std::vector<std::string> buttons;
};

Asker Answering(int answer, Asked& asked) {
  return [answer, &asked](std::string_view text, std::string_view title, const std::vector<std::string>& buttons) {
    ++asked.count;
    asked.text = text;
    asked.title = title;
    asked.buttons = buttons;
    return answer;
  };
}

TEST_F(PageOpsTest, OwnerAwareStoresTheIdentifierAsTaxpayerOrSpouse) {
  const struct {
    const char* name;
    const char* main;    // main-form code
    const char* method;  // ticked box of PIT-36 box 6, or ""
    const char* m1;
    const char* m2;
    const char* x;
    int answer;
    bool asked;
    const char* mainP1;
    const char* mainP2;
  } cases[] = {
      {"individual, taxpayer empty", "PIT36", "p6a", "", "", "111", 0, false, "111", ""},
      {"individual, taxpayer known", "PIT36", "p6a", "999", "", "111", 0, false, "999", ""},
      {"separate for a single parent", "PIT36", "p6d", "", "", "111", 0, false, "111", ""},
      {"joint, answer podatnik", "PIT36", "p6b", "", "", "111", 1, true, "111", ""},
      {"joint, answer małżonek", "PIT36", "p6c", "", "", "111", 2, true, "", "111"},
      {"joint, no answer", "PIT36", "p6b", "", "", "111", 3, true, "", ""},
      {"joint, answer 0 counts as not asked", "PIT36", "p6b", "", "", "111", 0, true, "111", ""},
      {"joint, taxpayer known: spouse", "PIT36", "p6b", "999", "", "111", 0, false, "999", "111"},
      {"joint, spouse is X", "PIT36", "p6b", "", "111", "111", 0, false, "", "111"},
      {"joint, taxpayer is X", "PIT36", "p6b", "111", "", "111", 0, false, "111", ""},
      {"joint, both known", "PIT36", "p6b", "888", "999", "111", 0, false, "888", "999"},
      {"PIT-36 without a method", "PIT36", "", "", "", "111", 0, false, "", ""},
      {"other main form", "PIT36L", "", "", "", "111", 0, false, "111", ""},
      {"other main form, taxpayer known", "PIT36L", "", "999", "", "111", 0, false, "999", ""},
      {"empty identifier", "PIT36", "p6b", "", "", "", 1, false, "", ""},
  };
  for (const auto& c : cases) {
    const std::string mainSection = std::string(c.main) + "a";
    std::string set = "[MAIN]\nPIT=" + std::string(c.main) + "\n[" + mainSection + "]\n";
    if (*c.method) set += std::string("P") + (c.method + 1) + "=[X]\n";
    if (*c.m1) set += std::string("P1=") + c.m1 + "\n";
    if (*c.m2) set += std::string("P2=") + c.m2 + "\n";
    WriteNextSet(set);
    Asked asked;
    TestPage page("TPITBa", "PITBa_2");
    page.Load();
    page.Set("p1", c.x);
    StorePage(page, Answering(c.answer, asked));
    EXPECT_EQ(asked.count, c.asked ? 1 : 0) << c.name;
    if (asked.count) {
      EXPECT_EQ(asked.text, "Dla kogo wystawiany jest formularz?") << c.name;
      EXPECT_EQ(asked.title, "Informacja") << c.name;
      EXPECT_EQ(asked.buttons, (std::vector<std::string>{"podatnik", "małżonek"})) << c.name;
    }
    EXPECT_EQ(ReadField("p1", {}, mainSection), c.mainP1) << c.name;
    EXPECT_EQ(ReadField("p2", {}, mainSection), c.mainP2) << c.name;
    EXPECT_EQ(ReadField("p1", {}, "PITBa_2"), c.x) << c.name;
    EXPECT_EQ(page.calls, (std::vector<std::string>{"lock", "refresh"})) << c.name;
  }
}

TEST_F(PageOpsTest, OwnerAwarePropagationDirection) {
  const std::string main = "[MAIN]\nPIT=PIT36\n[PIT36a]\nP6a=[X]\n";
  const struct {
    const char* name;
    std::string set;
    const char* x;
    const char* typedName;    // typed into the attachment's p4
    const char* mainName;     // PIT36a p11 afterwards
    const char* attachName;   // PITBa_2 p4 afterwards
  } cases[] = {
      // A new attachment of the known taxpayer takes the main form's data.
      {"new attachment", main + "P1=111\nP11=Kowalski\n", "111", "", "Kowalski", "Kowalski"},
      // The attachment of a known owner feeds the main form.
      {"known owner", main + "P1=111\nP11=Kowalski\n[PITBa_2]\nP1=111\n", "111", "Nowak", "Nowak", "Nowak"},
      // The first identifier given becomes the taxpayer's, and the
      // attachment's data flow to the main form.
      {"first identifier", main, "111", "Nowak", "Nowak", "Nowak"},
      // Someone else's identifier: nothing flows.
      {"stranger", main + "P1=999\nP11=Kowalski\n", "111", "Nowak", "Kowalski", "Nowak"},
  };
  for (const auto& c : cases) {
    WriteNextSet(c.set);
    TestPage page("TPITBa", "PITBa_2");
    page.Load();
    page.Set("p1", c.x);
    page.Set("p4", c.typedName);
    StorePage(page, NoQuestion);
    EXPECT_EQ(ReadField("p11", {}, "PIT36a"), c.mainName) << c.name;
    EXPECT_EQ(ReadField("p4", {}, "PITBa_2"), c.attachName) << c.name;
    EXPECT_EQ(page.Text("p4"), c.attachName) << c.name << ": the page is reloaded";
  }
}

}  // namespace
