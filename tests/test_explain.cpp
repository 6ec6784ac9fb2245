// "Skąd ta kwota?": the explanation of a box comes from what its form's
// recalculation read before it wrote the box, and explaining writes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "form_test_support.hpp"
#include "messages/messages.hpp"
#include "report/page_definition.hpp"
#include "shell/explain.hpp"
#include "store/ini.hpp"
#include "store/store.hpp"

namespace {

using solv::BoxOrigin;
using solv::Explanation;
using solv::ExplainBox;

// Inputs as "SECTION.key" (key lower-case), in the order read.
std::vector<std::string> InputNames(const Explanation& e) {
  std::vector<std::string> names;
  for (const auto& b : e.inputs) {
    std::string key = b.key;
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    names.push_back(b.section + "." + key);
  }
  return names;
}

class ExplainTest : public FormFixture {};

// The cell named key on a page of section's form, or nullptr.
const solv::CellInfo* CellOf(const std::string& section, const std::string& key) {
  for (const solv::PageDefinition& page : solv::PageCatalogue()) {
    if (solv::DefaultInstanceOf(page.info) != solv::InstanceBase(section)) continue;
    for (const solv::CellInfo& c : page.cells)
      if (solv::SameName(c.name, key)) return &c;
  }
  return nullptr;
}

// PIT-37, method 1, one employment row and the organisation's KRS number.
constexpr const char* kPit37 =
    "[MAIN]\nPIT=PIT37\nVER=10\n[PIT37a]\np6a=[X]\np10a=[X]\np124=0000012345\n"
    "p39=50000,00\np40=1335,00\np43=7000\np93=1000,00\np95=2000,00\np110=100,00\np112=500,00\n";

TEST_F(ExplainTest, Pit37BoxesNameWhatTheirRecalculationRead) {
  struct Case {
    const char* key;
    std::vector<std::string> inputs;
    const char* rule;  // empty: any
    const char* value;
  };
  // Box 97 follows the check of box 95 against 93, box 116 the checks of
  // 110..115 against the tax: what those checks read is no input.
  const Case cases[] = {
      {"p41", {"PIT37a.p39", "PIT37a.p40"}, "poz. 41 = poz. 39 − poz. 40, gdy dodatnia", "48 665,00"},
      {"p42", {"PIT37a.p39", "PIT37a.p40"}, "poz. 42 = poz. 40 − poz. 39, gdy dodatnia", "0,00"},
      {"p64", {"PIT37a.p41", "PIT37a.p45", "PIT37a.p49", "PIT37a.p54", "PIT37a.p59"},
       "poz. 64 = suma poz. 41, 45, 49, 54, 59", "48 665,00"},
      {"p97", {"PIT37a.p64", "PIT37a.p93"}, "", "47 665,00"},
      {"p107", {"PIT37a.p106"}, "", ""},
      {"p116", {"PIT37a.p109", "PIT37a.p110", "PIT37a.p111", "PIT37a.p114", "PIT37a.p115"}, "", ""},
      {"p120", {"PIT37a.p116", "PIT37a.p118"}, "poz. 120 = poz. 116 − poz. 118, w pełnych złotych", ""},
      {"p122", {"PIT37a.p120", "PIT37a.p121"}, "", ""},
      {"p123", {"PIT37a.p120", "PIT37a.p121"}, "", "0"},
      {"p125", {"PIT37a.p120", "PIT37a.p124"}, "", ""},
  };
  NextSet(kPit37);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    const Explanation e = ExplainBox("PIT37a", c.key);
    EXPECT_EQ(e.origin, BoxOrigin::kComputed);
    EXPECT_EQ(InputNames(e), c.inputs);
    EXPECT_FALSE(e.rule.empty());
    if (*c.rule) {
      EXPECT_EQ(e.rule, c.rule);
    }
    if (*c.value) {
      EXPECT_EQ(e.box.value, c.value);
    }
    for (const auto& in : e.inputs) EXPECT_TRUE(in.known) << in.key;
  }
}

// A box of each of the other main forms: a sum, a difference, values kept
// in variables across a check, a box taken from an attachment.
TEST_F(ExplainTest, OtherFormsBoxesNameWhatTheirRecalculationRead) {
  struct Case {
    const char* set;
    const char* section;
    const char* key;
    std::vector<std::string> inputs;
  };
  const Case cases[] = {
      {"[MAIN]\nPIT=PIT28\n[PIT28a]\np6a=[X]\np21=100,00\np23=50,00\n", "PIT28a", "p27",
       {"PIT28a.p21", "PIT28a.p22", "PIT28a.p23", "PIT28a.p24", "PIT28a.p25", "PIT28a.p26"}},
      {"[MAIN]\nPIT=PIT38\n[PIT38a]\np6a=[X]\np21=1000,00\np22=200,00\n", "PIT38a", "p32",
       {"PIT38a.p30", "PIT38a.p31"}},
      {"[MAIN]\nPIT=PIT39\n[PIT39a]\np6a=[X]\np21=1000,00\np22=200,00\n", "PIT39a", "p25",
       {"PIT39a.p21", "PIT39a.p22", "PIT39a.p23"}},
      {"[MAIN]\nPIT=PIT40\n[PIT40a]\np6a=[X]\np7a=[X]\np37=30000,00\np68=100,00\n", "PIT40a", "p73",
       {"PIT40a.p68", "PIT40a.p70", "PIT40a.p72", "PIT40a.p66"}},
      // Sums kept in variables, checked, then written: what the check read.
      {"[MAIN]\nPIT=PIT36\n[PIT36a]\np6a=[X]\np10a=[X]\np45=1000,00\np139=100,00\n", "PIT36a", "p143",
       {"PIT36a.p135", "PIT36a.p137", "PIT36a.p139", "PIT36a.p86", "PIT36a.p131"}},
      {"[MAIN]\nPIT=PIT36\n[PIT36a]\np6a=[X]\np10a=[X]\np45=1000,00\n", "PIT36a", "p191",
       {"PIT36a.p188", "PIT36a.p189"}},
      {"[MAIN]\nPIT=PIT36L\n[PIT36La]\np6a=[X]\n[PITBa]\np1=1234563218\np53=900,00\np54=100,00\n", "PIT36La",
       "p24", {"PITBa.p53"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.section) + " " + c.key);
    NextSet(c.set);
    const Explanation e = ExplainBox(c.section, c.key);
    EXPECT_EQ(e.origin, BoxOrigin::kComputed);
    EXPECT_EQ(InputNames(e), c.inputs);
  }
}

TEST_F(ExplainTest, TextNamesTheBoxTheRuleAndEveryInputWithCaptionAndValue) {
  NextSet(kPit37);
  const Explanation e = ExplainBox("PIT37a", "41");  // the printed number finds the box too
  const std::string text = solv::ExplanationText(e);
  EXPECT_EQ(e.box.key, "p41");
  EXPECT_EQ(e.box.form, "PIT-37");
  EXPECT_NE(text.find("Skąd ta kwota? poz. 41 PIT-37 — "), std::string::npos) << text;
  EXPECT_NE(text.find("Zasada: poz. 41 = poz. 39 − poz. 40, gdy dodatnia\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Obliczona z pozycji:\n  poz. 39 PIT-37 — "), std::string::npos) << text;
  EXPECT_NE(text.find("Przychód: 50 000,00\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Koszty uzyskania przychodów: 1 335,00\n"), std::string::npos) << text;
  // The markup links every input to its box, named by its form instance.
  const std::string markup = solv::ExplanationMarkup(e);
  EXPECT_NE(markup.find("<link=PIT37a#p39>poz. 39 PIT-37"), std::string::npos) << markup;
  EXPECT_NE(markup.find("<link=PIT37a#p40>poz. 40 PIT-37"), std::string::npos) << markup;
}

// PIT-36 takes its business row from the PIT/B copy that carries the
// taxpayer's NIP and has revenue; the copies passed over are no inputs.
TEST_F(ExplainTest, Pit36BusinessRowNamesThePitBCopyItCameFrom) {
  NextSet(
      "[MAIN]\nPIT=PIT36\nVER=10\n[PIT36a]\np1=1234563218\np6a=[X]\np10a=[X]\n"
      "[PITBa]\np1=1234563218\n"
      "[PITBa_1]\np1=9876543210\np53=20000,00\np54=25000,00\np55=0,00\np56=5000,00\n"
      "[PITBa_2]\np1=1234563218\np53=120000,01\np54=61000,00\np55=59000,01\np56=0,00\n");
  const Explanation revenue = ExplainBox("PIT36a", "p53");
  EXPECT_EQ(revenue.origin, BoxOrigin::kComputed);
  EXPECT_EQ(revenue.box.value, "120 000,01");
  EXPECT_EQ(InputNames(revenue),
            (std::vector<std::string>{"PITBa_2.p53", "PITBa_2.p54", "PITBa_2.p55", "PITBa_2.p56"}));
  EXPECT_EQ(revenue.rule.rfind("poz. 53 = przychód", 0), 0u) << revenue.rule;
  EXPECT_NE(solv::ExplanationText(revenue).find("  poz. 53 PIT/B – kopia 3 — "), std::string::npos);
  EXPECT_NE(solv::ExplanationMarkup(revenue).find("<link=PITBa_2#p53>"), std::string::npos);
  // Box 55 (income) is read from the same copy; the totals above it follow.
  const Explanation income = ExplainBox("PIT36a", "p86");
  EXPECT_EQ(income.origin, BoxOrigin::kComputed);
  const auto names = InputNames(income);
  EXPECT_NE(std::find(names.begin(), names.end(), "PIT36a.p55"), names.end());
}

// PIT/Z box 7 is the user's; a transfer rule offers PIT/B box 53 of the copy
// with the taxpayer's NIP, and after a click it is carried.
TEST_F(ExplainTest, TransferTargetsNameTheAttachmentBox) {
  const std::string set =
      "[MAIN]\nPIT=PIT36\nVER=10\n[PIT36a]\np1=1234563218\np6a=[X]\np10a=[X]\n"
      "[PITBa]\np1=1234563218\np53=1000,00\n[PITZa]\n";
  NextSet(set + "p7=250,00\n");
  const Explanation offered = ExplainBox("PITZa", "p7");
  EXPECT_EQ(offered.origin, BoxOrigin::kOffered);
  EXPECT_EQ(InputNames(offered), (std::vector<std::string>{"PITBa.p53"}));
  EXPECT_NE(offered.note.find("1 000,00"), std::string::npos) << offered.note;

  NextSet(set + "p7=1000,00\n[PRZENIESIONE]\nPITZa.P7=1000,00\n");
  const Explanation carried = ExplainBox("PITZa", "p7");
  EXPECT_EQ(carried.origin, BoxOrigin::kCarried);
  EXPECT_EQ(InputNames(carried), (std::vector<std::string>{"PITBa.p53"}));
  EXPECT_NE(solv::ExplanationText(carried).find("Z załącznika:\n  poz. 53 PIT/B — "), std::string::npos);
}

TEST_F(ExplainTest, EnteredAndUnknownBoxesAreSaidInPolish) {
  NextSet(kPit37);
  struct Case {
    const char* section;
    const char* key;
    BoxOrigin origin;
    const char* note;
  };
  const Case cases[] = {
      {"PIT37a", "p39", BoxOrigin::kEntered, "Wartość wpisana przez Ciebie."},
      {"PIT37a", "p108", BoxOrigin::kEntered, "Pozycja do wypełnienia przez Ciebie; nic w niej nie wpisano."},
      {"PIT37a", "p999", BoxOrigin::kUnknown, "Formularz PIT-37 nie ma poz. 999."},
      {"PIT37a", "", BoxOrigin::kUnknown, "Formularz PIT-37 nie ma poz. ."},
      {"PIT38a", "p27", BoxOrigin::kUnknown, "Zestaw danych nie zawiera formularza PIT-38."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.section) + " " + c.key);
    const Explanation e = ExplainBox(c.section, c.key);
    EXPECT_EQ(e.origin, c.origin);
    EXPECT_EQ(e.note, c.note);
    EXPECT_TRUE(e.inputs.empty());
    EXPECT_FALSE(solv::ExplanationText(e).empty());
    EXPECT_FALSE(solv::ExplanationMarkup(e).empty());
  }
}

// The recalculation runs on a copy: the set file keeps its bytes even when
// it was not recalculated after its last change, and the messages and the
// current page stay as they were.
TEST_F(ExplainTest, ExplainingWritesNothing) {
  set_ = CopyExample("pit37.i10", dir_ / "pit37.i10");
  solv::OpenSet(set_);
  const std::string before = FileBytes();
  solv::Store().currentPage = "PIT37a";
  solv::AddMessage("uwaga");
  const solv::MessageList messages = solv::CopyMessages();
  for (const char* key : {"p41", "p64", "p107", "p120", "p122", "p39", "p999"}) ExplainBox("PIT37a", key);
  const Explanation e = ExplainBox("PIT37a", "p41");
  EXPECT_EQ(e.box.value, "48 665,00");  // as the recalculation leaves it
  EXPECT_NE(e.note.find("W zestawie zapisano jeszcze 0,00"), std::string::npos) << e.note;
  EXPECT_EQ(FileBytes(), before);
  EXPECT_EQ(solv::Store().currentPage, "PIT37a");
  EXPECT_EQ(solv::Messages().items, messages.items);
  EXPECT_EQ(solv::Store().backend, nullptr);
}

// Every computed box of the main form of each example set is explained, and
// every input it names is a box of a form of the set: a box the
// recalculation reads that no page has would show here.
TEST_F(ExplainTest, EveryComputedBoxOfTheExamplesIsExplained) {
  const std::pair<const char*, const char*> examples[] = {
      {"pit28.i10", "PIT28a"}, {"pit28.i10", "PIT28Ba"}, {"pit36.i10", "PIT36a"}, {"pit36full.i10", "PIT36a"},
      {"pit36full.i10", "PITZa"}, {"pit36l.i10", "PIT36La"}, {"pit37.i10", "PIT37a"}, {"pito.i10", "PITOa"},
      {"pit38.i10", "PIT38a"}, {"pit39.i10", "PIT39a"}, {"pit40.i10", "PIT40a"}, {"pitb.i10", "PITBa_2"},
      {"pitm.i10", "PITMa"},
  };
  for (const auto& [file, section] : examples) {
    SCOPED_TRACE(std::string(file) + " " + section);
    set_ = dir_ / (std::to_string(++sets_) + ".i10");
    CopyExample(file, set_);
    solv::OpenSet(set_);
    int computed = 0;
    std::set<std::string> seen;
    for (const solv::PageDefinition& page : solv::PageCatalogue()) {
      if (solv::DefaultInstanceOf(page.info) != solv::InstanceBase(section)) continue;
      for (const solv::CellInfo& cell : page.cells) {
        if (cell.editable || cell.hidden || !seen.insert(cell.name).second) continue;
        SCOPED_TRACE(cell.name);
        const Explanation e = ExplainBox(section, cell.name);
        ASSERT_NE(e.origin, BoxOrigin::kUnknown);
        EXPECT_FALSE(e.note.empty());
        if (e.origin != BoxOrigin::kComputed) continue;
        ++computed;
        for (const auto& in : e.inputs) {
          EXPECT_TRUE(in.known) << in.section << " " << in.key;
          EXPECT_TRUE(solv::SectionExists(in.section)) << in.section;
          // A helper cell the form does not print is named, not linked.
          const solv::CellInfo* input = CellOf(in.section, in.key);
          ASSERT_NE(input, nullptr) << in.section << " " << in.key;
          EXPECT_EQ(in.link.empty(), input->hidden) << in.section << " " << in.key;
        }
      }
    }
    EXPECT_GT(computed, 0);
  }
}

}  // namespace
