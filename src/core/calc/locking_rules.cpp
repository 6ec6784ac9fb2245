#include "calc/locking_rules.hpp"

#include <charconv>

#include "calc/box_lists.hpp"
#include "calc/rules.hpp"
#include "report/page_definition.hpp"
#include "store/forms.hpp"
#include "store/ini.hpp"
#include "store/store.hpp"
#include "value/number.hpp"
#include "util/ascii.hpp"

namespace solv {
namespace {

using C = LockCondition;
using L = LockKind;

namespace lists = box_lists;

const std::vector<LockRule> kRules = {
    {"PIT36a", C::Joint, lists::kPit36Spouse, L::Unlock, L::Lock, true, true},

    {"PIT28a", C::ExemptionFirst, lists::kPit28ExemptionAdvances, L::Lock, L::None, true},
    {"PIT28a", C::ExemptionFirst, "p107, p108", L::Lock, L::None, true},
    {"PIT28a", C::ExemptionFirst, "p111, p112", L::Plain, L::None, true},
    {"PIT28a", C::ExemptionSecond, lists::kPit28ExemptionAdvances, L::Unlock, L::None, true},
    {"PIT28a", C::ExemptionSecond, "p107, p108", L::Lock, L::None, true},
    {"PIT28a", C::ExemptionSecond, "p111, p112", L::EditableWithHint, L::None, true},
    {"PIT28a", C::ExemptionNeither, lists::kPit28ExemptionAdvances, L::Unlock, L::None, true},
    {"PIT28a", C::ExemptionNeither, "p107, p108", L::Unlock, L::None, true},
    {"PIT28a", C::ExemptionNeither, "p111, p112", L::Plain, L::None, true},

    {"PIT37a", C::Joint, lists::kPit37Spouse, L::Unlock, L::Lock, true, true},

    {"PITDa", C::MethodIs4, lists::kPitdSpouse, L::Lock, L::Unlock, true},

    {"PITOa", C::MainIsPIT28, lists::kPitoNotWithPit28, L::Lock, L::Unlock, true},
    {"PITOa", C::Joint,
     std::string(lists::kPitoSpouseAmounts) + ", " + lists::kPitoSpouseMonths + ", " + lists::kPitoSpouseTotals,
     L::Unlock, L::Lock, true, true},
    {"PITOa", C::AttachmentIsFirst, "p1, p2, p5-p12, p13-p27, p30-p41", L::Unlock, L::Lock, false},

    {"PITZGa", C::MainIsPIT36, "p9-p26", L::Unlock, L::None, true},
    {"PITZGa", C::MainIsPIT36, "p30, p31, p34, p35", L::Lock, L::None, true},
    {"PITZGa", C::MainIsPIT36, "p32, p33, p34, p35", L::Lock, L::None, true},
    {"PITZGa", C::MainIsPIT36L, "p9-p26", L::Lock, L::None, true},
    {"PITZGa", C::MainIsPIT36L, "p30, p31, p34, p35", L::Unlock, L::None, true},
    {"PITZGa", C::MainIsPIT36L, "p32, p33, p34, p35", L::Lock, L::None, true},
    {"PITZGa", C::MainIsPIT38, "p9-p26", L::Lock, L::None, true},
    {"PITZGa", C::MainIsPIT38, "p32, p33, p34, p35", L::Unlock, L::None, true},
    {"PITZGa", C::MainIsPIT38, "p30, p31, p34, p35", L::Lock, L::None, true},
    {"PITZGa", C::MainIsOther, "p9-p26", L::Lock, L::None, true},
    {"PITZGa", C::MainIsOther, "p30, p31, p32, p33", L::Lock, L::None, true},

    {"PITZa", C::MainIsPIT36L, lists::kPitzPartBEntered, L::Lock, L::Unlock, true},

    {"PIT2Ka", C::MethodIs4, lists::kPit2kSpouse, L::Lock, L::Unlock, true},
};

// "p69a" -> ("p", 69, "a"); false when the name has no number.
bool SplitBox(std::string_view box, std::string& prefix, int& number, std::string& suffix) {
  size_t d = 0;
  while (d < box.size() && !(box[d] >= '0' && box[d] <= '9')) ++d;
  size_t e = d;
  while (e < box.size() && box[e] >= '0' && box[e] <= '9') ++e;
  if (d == e) return false;
  prefix = std::string(box.substr(0, d));
  std::from_chars(box.data() + d, box.data() + e, number);
  suffix = std::string(box.substr(e));
  return true;
}

bool Holds(LockCondition c, std::string_view instance) {
  switch (c) {
    case C::Joint: return IsJointMethod(TaxationMethod());
    case C::MethodIs4: return TaxationMethod() == 4;
    case C::ExemptionFirst: return ExemptionChoice() == 1;
    case C::ExemptionSecond: return ExemptionChoice() == 2;
    case C::ExemptionNeither: {
      const int e = ExemptionChoice();
      return e != 1 && e != 2;
    }
    case C::MainIsPIT28: return ActiveMainForm() == kPIT28;
    case C::MainIsPIT36: return ActiveMainForm() == kPIT36;
    case C::MainIsPIT36L: return ActiveMainForm() == kPIT36L;
    case C::MainIsPIT38: return ActiveMainForm() == kPIT38;
    case C::MainIsOther: {
      const int m = ActiveMainForm();
      return m != kPIT36 && m != kPIT36L && m != kPIT38;
    }
    case C::AttachmentIsFirst: return ParseAmount(ReadField("p4", {}, instance), 0) == 1;
  }
  return false;
}

}  // namespace

const std::vector<LockRule>& LockingRules() { return kRules; }

std::vector<std::string> ExpandBoxList(std::string_view list) {
  std::vector<std::string> boxes;
  while (!list.empty()) {
    const size_t comma = list.find(',');
    const std::string_view item = Trimmed(list.substr(0, comma));
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    if (item.empty()) continue;
    const size_t dash = item.find('-');
    std::string p1, s1, p2, s2;
    int n1 = 0, n2 = 0;
    if (dash == std::string_view::npos || !SplitBox(Trimmed(item.substr(0, dash)), p1, n1, s1) ||
        !SplitBox(Trimmed(item.substr(dash + 1)), p2, n2, s2)) {
      boxes.emplace_back(item);
      continue;
    }
    if (s1.empty() && s2.empty()) {
      for (int n = n1; n <= n2; ++n) boxes.push_back(p1 + std::to_string(n));
    } else if (n1 == n2 && s1.size() == 1 && s2.size() == 1) {
      for (char l = s1[0]; l <= s2[0]; ++l) boxes.push_back(p1 + std::to_string(n1) + l);
    } else {
      boxes.emplace_back(item);
    }
  }
  return boxes;
}

std::vector<LockAction> LockingFor(std::string_view instanceName, std::string_view pageClassName) {
  std::vector<LockAction> actions;
  const std::string base = InstanceBase(instanceName);
  const PageDefinition* page = pageClassName.empty() ? nullptr : FindPage(pageClassName);
  auto onPage = [page](const std::string& box) {
    if (!page) return true;
    for (const CellInfo& c : page->cells)
      if (SameName(c.name, box)) return true;
    return false;
  };
  // A box a user enters: editable on the page, or without a page on one of
  // the form's pages.
  auto editableOn = [](const PageDefinition& p, const std::string& box) {
    for (const CellInfo& c : p.cells)
      if (SameName(c.name, box)) return c.editable;
    return false;
  };
  auto entered = [&](const std::string& box) {
    if (page) return editableOn(*page, box);
    for (const PageDefinition& p : PageCatalogue())
      if (DefaultInstanceOf(p.info) == base && editableOn(p, box)) return true;
    return false;
  };
  for (const LockRule& rule : kRules) {
    if (!SameName(rule.window, base)) continue;
    const LockKind kind = Holds(rule.condition, instanceName) ? rule.whenTrue : rule.whenFalse;
    if (kind == L::None) continue;
    for (const std::string& box : ExpandBoxList(rule.boxes))
      if (onPage(box) && (!rule.enteredOnly || entered(box))) actions.push_back({box, kind, rule.forced});
  }
  return actions;
}

}  // namespace solv
