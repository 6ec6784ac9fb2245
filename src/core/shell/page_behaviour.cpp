#include "shell/page_behaviour.hpp"

#include <charconv>
#include <optional>

#include "calc/dispatch.hpp"
#include "calc/identification.hpp"
#include "calc/rules.hpp"
#include "report/page_definition.hpp"
#include "store/forms.hpp"
#include "store/ini.hpp"

namespace solv {
namespace {

using K = PropagationKind;

std::vector<PageFamily> MakeFamilies() {
  std::vector<PageFamily> f;
  auto add = [&f](const char* cls, const char* click, int low, int high, std::vector<CheckGroup> groups, K kind,
                  int form) -> PageFamily& {
    PageFamily p;
    p.className = cls;
    p.clickHandler = click;
    p.tabLow = low;
    p.tabHigh = high;
    p.groups = std::move(groups);
    p.propagation = kind;
    p.form = form;
    f.push_back(std::move(p));
    return f.back();
  };
  const int none = -1;
  add("TPIT28a", "p1Click", 1, 49, {{"p6", "ab"}}, K::Fixed, kPIT28);
  add("TPIT28b", "p51Click", 63, 71, {}, K::None, none);
  {
    PageFamily& p = add("TPIT28c", "p136Click", 89, 110, {{"p109", "abc"}}, K::None, none);
    p.clearAfterBox = "p109b";
    p.clearedBoxes = {"p110", "p111", "p112"};
  }
  add("TPIT28d", "p179Click", 113, 143, {{"p138", "ab"}, {"p139", "abc"}}, K::None, none);
  add("TPIT28Aa", "p1Click", 1, 22, {}, K::Fixed, kPIT28A);
  add("TPIT28Ba", "p1Click", 1, 36, {}, K::Fixed, kPIT28B);
  add("TPIT28Bb", "p1Click", 50, 78, {}, K::None, none);
  add("TPIT36a", "p1Click", 1, 38, {{"p6", "abcd"}, {"p10", "ab"}}, K::Fixed, kPIT36);
  add("TPIT36b", "p57Click", 43, 126, {}, K::None, none);
  {
    PageFamily& p = add("TPIT36c", "p140Click", 131, 170, {}, K::None, none);
    p.tabExtraAfter = "p136";
    p.tabExtra = "p1371";
  }
  add("TPIT36d", "p187Click", 171, 202, {}, K::None, none);
  add("TPIT36e", "p177Click", 209, 268, {}, K::None, none);
  add("TPIT36f", "p177Click", 269, 327, {{"p322", "ab"}, {"p323", "abc"}}, K::None, none);
  {
    PageFamily& p = add("TPIT36La", "p1Click", 1, 37, {{"p6", "ab"}}, K::Fixed, kPIT36L);
    p.tabExtraAfter = "p33";
    p.tabExtra = "p33a";
  }
  add("TPIT36Lb", "p51Click", 38, 64, {}, K::Fixed, kPIT36L);
  add("TPIT36Lc", "p136Click", 65, 117, {}, K::Fixed, kPIT36L);
  add("TPIT37a", "p1Click", 1, 38, {{"p6", "abcd"}, {"p10", "ab"}}, K::Fixed, kPIT37);
  add("TPIT37b", "p39Click", 39, 108, {}, K::None, none);
  // The choices of part K: who filed (p134a/b) and with which return (p135a-c).
  add("TPIT37c", "p112Click", 109, 139, {{"p134", "ab"}, {"p135", "abc"}}, K::None, none);
  add("TPIT38a", "p1Click", 1, 34, {{"p6", "ab"}}, K::Fixed, kPIT38);
  add("TPIT38b", "p1Click", 35, 66, {}, K::Fixed, kPIT38);
  add("TPIT39a", "p1Click", 1, 30, {{"p6", "ab"}}, K::Fixed, kPIT39);
  add("TPIT39b", "p1Click", 35, 59, {}, K::Fixed, kPIT39);
  add("TPIT40a", "p1Click", 1, 33, {{"p6", "ab"}, {"p7", "ab"}}, K::Fixed, kPIT40);
  add("TPIT40b", "p45Click", 37, 75, {{"p36", "abcde"}}, K::None, none);
  add("TPIT40c", "p43Click", 77, 86, {}, K::None, none);
  add("TPIT2Ka", "p1Click", 1, 37, {{"p31", "abcd"}}, K::Fixed, kPIT2K);
  add("TPIT2Kb", "p40Click", 39, 40, {}, K::None, none).hoverHighlight = false;
  add("TPITBa", "p1Click", 1, 24, {}, K::OwnerAware, kPITB);
  add("TPITBb", "p1Click", 25, 49, {}, K::None, none);
  add("TPITDa", "p1Click", 1, 38, {}, K::Fixed, kPITD);
  add("TPITDb", "p45Click", 39, 57, {}, K::None, none);
  add("TPITMa", "p1Click", 1, 24, {{"p29", "ab"}}, K::EndsInM, kPITM).formM = kPITM_M;
  add("TPITOa", "p1Click", 1, 27, {}, K::Fixed, kPITO);
  add("TPITOb", "p1Click", 30, 63, {}, K::Fixed, kPITO);
  add("TPITOc", "p1Click", 64, 91, {}, K::Fixed, kPITO);
  add("TPITZa", "p1Click", 1, 16, {}, K::EndsInM, kPITZ).formM = kPITZ_M;
  add("TPITZb", "p1Click", 24, 29, {}, K::None, none);
  add("TPITZGa", "p1Click", 1, 35, {}, K::OwnerAware, kPITZG).dialogBoxes = {"p10", "p13", "p16", "p19", "p22",
                                                                             "p25", "p30", "p32", "p34"};
  return f;
}

// One stop of Tab navigation: a cell name and its place in the order.
struct TabStop {
  std::string name;
  double order;
};

std::vector<TabStop> TabSequence(const PageFamily& f) {
  std::vector<TabStop> seq;
  for (int n = f.tabLow; n <= f.tabHigh; ++n) {
    seq.push_back({"p" + std::to_string(n), static_cast<double>(n)});
    if (f.tabExtraAfter && seq.back().name == f.tabExtraAfter) seq.push_back({f.tabExtra, n + 0.5});
  }
  return seq;
}

std::string Lower(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

}  // namespace

const std::vector<PageFamily>& PageFamilies() {
  static const std::vector<PageFamily> families = MakeFamilies();
  return families;
}

const PageFamily* FindPageFamily(std::string_view className) {
  for (const auto& f : PageFamilies())
    if (SameName(f.className, className)) return &f;
  return nullptr;
}

std::optional<int> PropagationFormFor(std::string_view className, std::string_view instanceName) {
  const PageFamily* f = FindPageFamily(className);
  if (!f) return std::nullopt;
  switch (f->propagation) {
    case K::Fixed:
      return f->form;
    case K::EndsInM:
      return (!instanceName.empty() && instanceName.back() == 'M') ? f->formM : f->form;
    default:
      return std::nullopt;
  }
}

int TabNumberOf(std::string_view cellName) {
  if (cellName.size() < 2) return 0;
  const std::string_view digits = cellName.substr(1);
  int n = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
  if (ec != std::errc() || end != digits.data() + digits.size()) return 0;
  return n;
}

std::string NextTabCell(std::string_view className, std::string_view currentCell, bool shift,
                        const std::function<bool(const std::string&)>& isEditable) {
  const PageFamily* f = FindPageFamily(className);
  if (!f) return {};
  const std::vector<TabStop> seq = TabSequence(*f);
  const int count = static_cast<int>(seq.size());

  // Where the walk starts: the current cell's own stop, or, for a cell that is
  // not in the order, the place its number gives.
  int at = -1;
  for (int i = 0; i < count; ++i)
    if (SameName(seq[static_cast<size_t>(i)].name, currentCell)) at = i;
  if (at < 0) {
    const double n = TabNumberOf(currentCell);
    if (shift) {
      at = count;
      while (at > 0 && seq[static_cast<size_t>(at - 1)].order >= n) --at;
    } else {
      at = -1;
      while (at + 1 < count && seq[static_cast<size_t>(at + 1)].order <= n) ++at;
    }
  }
  for (int i = shift ? at - 1 : at + 1; i >= 0 && i < count; i += shift ? -1 : 1)
    if (isEditable(seq[static_cast<size_t>(i)].name)) return seq[static_cast<size_t>(i)].name;
  return {};
}

std::vector<std::pair<std::string, std::string>> ToggleCheckBox(std::string_view className,
                                                                std::string_view cellName,
                                                                std::string_view currentText) {
  std::vector<std::pair<std::string, std::string>> changes;
  changes.emplace_back(std::string(cellName), currentText == "[  ]" ? "[X]" : "[  ]");
  const PageFamily* f = FindPageFamily(className);
  const PageDefinition* page = FindPage(className);
  if (!f || !page) return changes;
  const std::string clicked = Lower(cellName);
  for (const CheckGroup& g : f->groups) {
    const std::string prefix = g.prefix;
    bool member = false;
    for (const char* l = g.letters; *l; ++l)
      if (clicked == prefix + *l) member = true;
    if (!member) continue;
    for (const char* l = g.letters; *l; ++l) {
      const std::string other = prefix + *l;
      if (other == clicked) continue;
      for (const CellInfo& c : page->cells)
        if (SameName(c.name, other)) changes.emplace_back(c.name, c.clearValue);
    }
  }
  return changes;
}

int FindCell(const PageCells& cells, std::string_view name) {
  for (int i = 0; i < cells.CellCount(); ++i)
    if (SameName(cells.CellName(i), name)) return i;
  return -1;
}

void RecalculatePage(PageHost& page) {
  Recalculate(page.InstanceName());
  page.LockOpenPages();
}

void StoreAndRecalculate(PageHost& page, std::optional<int> propagationForm) {
  {
    // The entry, its recalculation, the box locking and the identification
    // it copies reach the file as one replace.
    const SetHold hold;
    SavePageCells(page.Cells());
    RecalculatePage(page);
    if (propagationForm) PropagateIdentification(*propagationForm, {});
  }
  page.RefreshPoint();
  LoadPageCells(page.Cells());
}

void StoreAndRecalculateOwnerAware(PageHost& page, int attachmentForm, const Asker& ask) {
  const std::string instance = page.InstanceName();
  PageCells& cells = page.Cells();
  std::optional<SetHold> hold(std::in_place);  // one replace for the whole entry, until step 5
  const int p1Cell = FindCell(cells, "p1");
  const std::string x = p1Cell >= 0 ? cells.CellText(p1Cell) : std::string();
  const int main = ActiveMainForm();
  const bool hasMain = main >= 0 && main < kFormCount;
  const std::string mainSection = hasMain ? kFormBaseNames[static_cast<size_t>(main)] : "";

  // 1. The owner's identifier becomes the main form's taxpayer or spouse
  // where that is still empty.
  if (!x.empty() && hasMain) {
    const std::string m1 = ReadField("p1", {}, mainSection), m2 = ReadField("p2", {}, mainSection);
    auto storeAs = [&](const char* key) {
      WriteField(key, x, mainSection);
      WriteField("p1", x, instance);
    };
    if (main == kPIT36) {
      const int method = TaxationMethod();
      if (method == 1 || method == 4) {
        if (m1.empty()) storeAs("p1");
      } else if (IsJointMethod(method)) {
        int answer = 0;
        if (m1.empty() && m2.empty())
          answer = Ask(ask, kOwnerQuestion, kOwnerTitle, {"podatnik", "małżonek"});
        const bool taxpayer = answer == 0 || answer == 1;
        const bool spouse = answer == 0 || answer == 2;
        if (taxpayer && m1.empty() && x != m2) storeAs("p1");
        else if (taxpayer && x == m1) {
        } else if (spouse && m2.empty()) storeAs("p2");
      }
    } else if (m1.empty()) {
      storeAs("p1");
    }
  }

  // 2. Whether the owner is known: the stored identifier matches the main form.
  const std::string storedP1 = ReadField("p1", {}, instance);
  const std::string m1 = hasMain ? ReadField("p1", {}, mainSection) : std::string();
  const std::string m2 = hasMain ? ReadField("p2", {}, mainSection) : std::string();
  const bool ownerKnown = !storedP1.empty() && (storedP1 == m1 || storedP1 == m2);

  // 3. Save and recalculate.
  SavePageCells(cells);
  const std::string newP1 = ReadField("p1", {}, instance);
  RecalculatePage(page);

  // 4. A known owner's attachment feeds the other forms; a new one is fed
  // from the main form.
  if (!newP1.empty() && (newP1 == m1 || newP1 == m2)) {
    if (ownerKnown) PropagateIdentification(attachmentForm, instance);
    else PropagateIdentification(main, {});
  }

  // 5.
  hold.reset();
  page.RefreshPoint();
  LoadPageCells(cells);
}

void StorePage(PageHost& page, const Asker& ask) {
  const std::string cls = page.ClassName();
  const PageFamily* f = FindPageFamily(cls);
  if (f && f->propagation == K::OwnerAware) StoreAndRecalculateOwnerAware(page, f->form, ask);
  else StoreAndRecalculate(page, PropagationFormFor(cls, page.InstanceName()));
}

bool ClickCheckBox(PageHost& page, std::string_view cellName, const Asker& ask) {
  PageCells& cells = page.Cells();
  const int at = FindCell(cells, cellName);
  if (at < 0) return false;
  const std::string cls = page.ClassName();
  const SetHold hold;  // the check box, the boxes it clears and the recalculation: one replace
  for (const auto& [name, text] : ToggleCheckBox(cls, cells.CellName(at), cells.CellText(at))) {
    const int i = FindCell(cells, name);
    if (i >= 0) cells.SetCellText(i, text);
  }
  StorePage(page, ask);
  const PageFamily* f = FindPageFamily(cls);
  if (f && f->clearAfterBox && SameName(f->clearAfterBox, cellName)) {
    const std::string instance = page.InstanceName();
    for (const char* box : f->clearedBoxes) WriteField(box, "", instance);
    LoadPageCells(cells);
  }
  return true;
}

}  // namespace solv
