// Every table that names boxes names boxes of its forms' pages: the links of
// the messages, the transfer rules, the locking rules, the copying of
// identification between forms and the check-box groups. A typing error in
// any of them would leave a link that shows nothing or a rule that never acts.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "calc/adviser_messages.hpp"
#include "calc/identification.hpp"
#include "calc/locking_rules.hpp"
#include "calc/other/pit28_messages.hpp"
#include "calc/other/pit28b_messages.hpp"
#include "calc/other/pit36l_messages.hpp"
#include "calc/other/pit38_messages.hpp"
#include "calc/other/pit39_messages.hpp"
#include "calc/other/pitb_messages.hpp"
#include "calc/other/pitd_messages.hpp"
#include "calc/other/pitm_messages.hpp"
#include "calc/other/pito_messages.hpp"
#include "calc/scale/pit2k_messages.hpp"
#include "calc/scale/pit36_messages.hpp"
#include "calc/scale/pit37_messages.hpp"
#include "calc/scale/pit40_messages.hpp"
#include "calc/scale/pitzg_messages.hpp"
#include "calc/transfer_rules.hpp"
#include "report/page_definition.hpp"
#include "report/print_page.hpp"
#include "shell/box_locking.hpp"
#include "shell/links.hpp"
#include "shell/page_behaviour.hpp"
#include "store/forms.hpp"
#include "store/store.hpp"
#include "util/ascii.hpp"

namespace {

using namespace solv;

// A message text and where it comes from, for the failure output.
struct Text {
  std::string origin;
  std::string text;
};

template <typename Table>
void AddTable(std::vector<Text>& texts, const char* name, const Table& table) {
  for (size_t i = 0; i < std::size(table); ++i)
    texts.push_back({std::string(name) + "[" + std::to_string(i) + "]", std::string(table[i])});
}

// Every message text of the calculations and of the adviser.
std::vector<Text> MessageTexts() {
  std::vector<Text> texts;
  AddTable(texts, "kPit28Messages", kPit28Messages);
  AddTable(texts, "kPit28BMessages", kPit28BMessages);
  AddTable(texts, "kPit36LMessages", kPit36LMessages);
  AddTable(texts, "kPit38Messages", kPit38Messages);
  AddTable(texts, "kPit39Messages", kPit39Messages);
  AddTable(texts, "kPitbMessages", kPitbMessages);
  AddTable(texts, "kPitdMessages", kPitdMessages);
  AddTable(texts, "kPitmMessages", kPitmMessages);
  AddTable(texts, "kPitoMessages", kPitoMessages);
  AddTable(texts, "kPit2KMessages", kPit2KMessages);
  AddTable(texts, "kPit36Messages", kPit36Messages);
  AddTable(texts, "kPit37Messages", kPit37Messages);
  AddTable(texts, "kPit40Messages", kPit40Messages);
  AddTable(texts, "kPitZgMessages", kPitZgMessages);
  texts.push_back({"kPit38RateMessage", kPit38RateMessage});
  for (const char* t : {adviser::kAttachmentCount, adviser::kStaleTransfer, adviser::kPendingTransfer,
                        adviser::kHealthAboveBase, adviser::kEmployeeCosts, adviser::kChildReliefMonths})
    texts.push_back({"adviser", t});
  return texts;
}

// The parameters of the "<link=...>" elements of a text.
std::vector<std::string> LinkParameters(std::string_view text) {
  std::vector<std::string> links;
  constexpr std::string_view kOpen = "<link=";
  for (size_t at = text.find(kOpen); at != std::string_view::npos; at = text.find(kOpen, at + 1)) {
    const size_t start = at + kOpen.size();
    const size_t close = text.find('>', start);
    links.emplace_back(text.substr(start, close == std::string_view::npos ? close : close - start));
  }
  return links;
}

// The page of a link or rule ("PIT37b", "PITBa_1", "PITZb_M"), its case
// ignored; nullptr for none.
const PageDefinition* PageNamed(std::string_view name) {
  const std::string_view page = name.substr(0, name.find('_'));
  for (const PageDefinition& p : PageCatalogue())
    if (EqualsIgnoreAsciiCase(p.info.pageName, page)) return &p;
  return nullptr;
}

const CellInfo* CellOf(const PageDefinition& page, std::string_view box) {
  for (const CellInfo& c : page.cells)
    if (EqualsIgnoreAsciiCase(c.name, box)) return &c;
  return nullptr;
}

// Whether some page of a form instance's form ("PITOa", "PITMa_M") has the box.
bool FormHasBox(std::string_view instance, std::string_view box) {
  const std::string base = InstanceBase(instance);
  for (const PageDefinition& p : PageCatalogue())
    if (EqualsIgnoreAsciiCase(DefaultInstanceOf(p.info), base) && CellOf(p, box)) return true;
  return false;
}

bool Filled(std::string_view s) { return s.find('%') != std::string_view::npos; }

// A link leads to a box of its own page: a cell of that name, or a check-box
// group whose first option the link handling goes to. A correction goes
// into a box that takes an entry: neither computed nor a check box.
TEST(AllTables, EveryMessageLinkLeadsToABoxOfItsPage) {
  int checked = 0;
  for (const Text& t : MessageTexts()) {
    for (const std::string& param : LinkParameters(t.text)) {
      const LinkTarget link = ParseLink(param);
      const std::string where = t.origin + ": <link=" + param + ">";
      if (Filled(link.page) || Filled(link.box)) continue;  // filled in at run time
      const PageDefinition* page = PageNamed(link.page);
      if (!page) {
        ADD_FAILURE() << where << " names no page";
        continue;
      }
      const CellInfo* info = CellOf(*page, LinkCell(page->info.className, link.box));
      if (!info) {
        ADD_FAILURE() << where << " names no box of " << page->info.className;
        continue;
      }
      if (link.correct) {
        EXPECT_TRUE(info->editable) << where << " corrects a computed box";
        EXPECT_NE(info->kind, CellKind::Check) << where << " corrects a check box";
      }
      ++checked;
    }
  }
  EXPECT_GT(checked, 0);  // the texts were read at all
}

// Transfer rules: the target box on its page, each source box and each box
// of a condition on a page of its form.
TEST(AllTables, EveryTransferRuleNamesBoxesOfItsForms) {
  ASSERT_EQ(TransferRules().size(), TransferRuleTexts().size());
  for (const TransferRule& r : TransferRules()) {
    const PageDefinition* page = PageNamed(r.targetPage);
    EXPECT_TRUE(page && CellOf(*page, r.targetBox)) << r.text;
    if (!r.source.empty()) {
      EXPECT_TRUE(FormHasBox(r.source, r.sourceBox)) << r.text;
    }
    if (!r.secondSource.empty()) {
      EXPECT_TRUE(FormHasBox(r.secondSource, r.secondSourceBox)) << r.text;
    }
    for (size_t at = r.condition.find_first_of("Pp"); at != std::string::npos;
         at = r.condition.find_first_of("Pp", at + 1)) {
      size_t end = at + 1;
      while (end < r.condition.size() && r.condition[end] >= '0' && r.condition[end] <= '9') ++end;
      const std::string box = r.condition.substr(at, end - at);
      EXPECT_TRUE(FormHasBox(TargetInstanceOf(r.targetPage), box)) << r.text << " " << box;
    }
  }
}

TEST(AllTables, EveryLockingRuleBoxIsOnAPageOfItsForm) {
  for (const LockRule& rule : LockingRules()) {
    EXPECT_GE(FormIndex(rule.window), 0) << rule.window;
    for (const std::string& box : ExpandBoxList(rule.boxes))
      EXPECT_TRUE(FormHasBox(rule.window, box)) << rule.window << " " << box;
  }
}

// The identification blocks copied between forms: every box of a block is on
// a page of its form.
TEST(AllTables, EveryIdentificationBoxIsOnAPageOfItsForm) {
  for (int form = 0; form < kFormCount; ++form)
    for (const IdBlock& block : kIdentificationTable[static_cast<size_t>(form)]) {
      if (block.first < 0) continue;
      for (int box = block.first; box < block.first + block.count; ++box)
        EXPECT_TRUE(FormHasBox(kFormBaseNames[static_cast<size_t>(form)], "p" + std::to_string(box)))
            << kFormBaseNames[static_cast<size_t>(form)] << " p" << box;
    }
}

// The page classes' own boxes: the check-box groups, the extra Tab stop, the
// box whose click empties others and the boxes that open a dialog.
TEST(AllTables, EveryBoxOfThePageClassesIsOnItsPage) {
  for (const PageFamily& f : PageFamilies()) {
    const PageDefinition* page = FindPage(f.className);
    ASSERT_NE(page, nullptr) << f.className;
    std::vector<std::string> boxes;
    for (const CheckGroup& g : f.groups) {
      EXPECT_NE(*g.letters, '\0') << f.className << " " << g.prefix;
      for (const char* l = g.letters; *l; ++l) boxes.push_back(std::string(g.prefix) + *l);
    }
    for (const char* b : {f.tabExtraAfter, f.tabExtra, f.clearAfterBox})
      if (b) boxes.emplace_back(b);
    for (const char* b : f.clearedBoxes) boxes.emplace_back(b);
    for (const char* b : f.dialogBoxes) boxes.emplace_back(b);
    for (const std::string& box : boxes) EXPECT_NE(CellOf(*page, box), nullptr) << f.className << " " << box;
    for (const CheckGroup& g : f.groups)
      for (const char* l = g.letters; *l; ++l) {
        if (const CellInfo* c = CellOf(*page, std::string(g.prefix) + *l)) {
          EXPECT_EQ(c->kind, CellKind::Check) << f.className << " " << g.prefix << *l;
        }
      }
  }
}

}  // namespace
