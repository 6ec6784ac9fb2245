#include "calc/adviser.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "calc/adviser_messages.hpp"
#include "calc/locking_rules.hpp"
#include "calc/rules.hpp"
#include "calc/transfer_rules.hpp"
#include "messages/messages.hpp"
#include "report/page_definition.hpp"
#include "store/store.hpp"
#include "util/ascii.hpp"
#include "value/number.hpp"

namespace solv {

namespace {

// A box of a main form that counts the copies of one attachment.
struct CountBox {
  const char* section;  // the main form
  const char* page;     // the page the box is on, for the links
  const char* box;      // its number
  const char* attachment;
  const char* base;     // the attachment's section
  bool spouseCopy;      // "<base>_M" (the spouse's) counts too under joint taxation
};

// The attachment counts of part "Informacja o załącznikach" of each main form.
constexpr CountBox kCountBoxes[] = {
    {"PIT37a", "PIT37c", "129", "PIT/O", "PITOa", false},
    {"PIT37a", "PIT37c", "130", "PIT/D", "PITDa", false},
    {"PIT37a", "PIT37c", "131", "PIT-2K", "PIT2Ka", false},
    {"PIT28a", "PIT28d", "131", "PIT-28/A", "PIT28Aa", false},
    {"PIT28a", "PIT28d", "132", "PIT-28/B", "PIT28Ba", false},
    {"PIT28a", "PIT28d", "133", "PIT/O", "PITOa", false},
    {"PIT28a", "PIT28d", "134", "PIT/D", "PITDa", false},
    {"PIT28a", "PIT28d", "135", "PIT-2K", "PIT2Ka", false},
    {"PIT36a", "PIT36f", "310", "PIT/B", "PITBa", false},
    {"PIT36a", "PIT36f", "311", "PIT/D", "PITDa", false},
    {"PIT36a", "PIT36f", "312", "PIT/M", "PITMa", true},
    {"PIT36a", "PIT36f", "313", "PIT/O", "PITOa", false},
    {"PIT36a", "PIT36f", "314", "PIT/Z", "PITZa", true},
    {"PIT36a", "PIT36f", "315", "PIT/ZG", "PITZGa", false},
    {"PIT36a", "PIT36f", "316", "PIT-2K", "PIT2Ka", false},
    {"PIT36La", "PIT36Lc", "110", "PIT/B", "PITBa", false},
    {"PIT36La", "PIT36Lc", "111", "PIT/Z", "PITZa", false},
    {"PIT36La", "PIT36Lc", "112", "PIT/ZG", "PITZGa", false},
    {"PIT38a", "PIT38b", "63", "PIT/ZG", "PITZGa", false},
    {"PIT39a", "PIT39b", "56", "PIT/ZG", "PITZGa", false},
};

const char* FormName(std::string_view section) {
  if (section == "PIT28a") return "PIT-28";
  if (section == "PIT36a") return "PIT-36";
  if (section == "PIT36La") return "PIT-36L";
  if (section == "PIT37a") return "PIT-37";
  if (section == "PIT38a") return "PIT-38";
  return "PIT-39";
}


// The copies of an attachment in the set: every instance of a form with
// copies; the spouse's copy only where it counts.
int CopiesInSet(const CountBox& c) {
  int n = 0;
  for (const std::string& section : SectionsOfForm(c.base)) {
    const bool spouse = section == std::string(c.base) + "_M";
    if (spouse && !(c.spouseCopy && IsJointMethod(TaxationMethod()))) continue;
    ++n;
  }
  return n;
}

// The number entered in a count box; an empty box counts 0, text that is no
// whole number -1 (never equal to a count).
int EnteredCount(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return 0;
  const size_t last = text.find_last_not_of(' ');
  int n = 0;
  const char* begin = text.data() + first;
  const char* end = text.data() + last + 1;
  auto [stop, ec] = std::from_chars(begin, end, n);
  return ec == std::errc() && stop == end && n >= 0 ? n : -1;
}

void CheckAttachmentCounts(std::string_view section) {
  for (const CountBox& c : kCountBoxes) {
    if (section != c.section) continue;
    const int inSet = CopiesInSet(c);
    const int entered = EnteredCount(ReadField(std::string("p") + c.box, "", section));
    if (entered == inSet) continue;
    const std::string count = std::to_string(inSet);
    // The box's text is never shown as it stands (it could hold markup).
    const std::string shown = entered >= 0 ? std::to_string(entered) : "tekst, który nie jest liczbą";
    AddMessage(FillMessage(adviser::kAttachmentCount, {FormName(section), c.box, c.attachment, c.attachment, count, c.box,
                                                  shown, count, c.page, c.box, c.page, c.box}));
  }
}

// An amount in whole grosz, rounded half away from zero.
long long Grosz(long double amount) { return static_cast<long long>(ToGrosz(amount)); }

// A source's balloon text as one line of a message.
std::string AsMarkup(std::string text) {
  for (size_t at; (at = text.find('\n')) != std::string::npos;) text.replace(at, 1, "<br>");
  return text;
}

// A box the user can enter now: editable on its page and not locked by the
// taxation method (the spouse's column when filing alone). The locking rules
// answer it as the page would.
bool Enterable(std::string_view section, const std::string& page, const std::string& box) {
  const PageDefinition* definition = FindPage(page);
  if (!definition) return false;
  const auto cell = std::find_if(definition->cells.begin(), definition->cells.end(),
                                 [&](const CellInfo& c) { return EqualsIgnoreAsciiCase(c.name, box); });
  if (cell == definition->cells.end() || !cell->editable) return false;
  for (const LockAction& a : LockingFor(section, "T" + page))
    if (EqualsIgnoreAsciiCase(a.cell, box)) return a.kind != LockKind::Lock && a.kind != LockKind::Plain;
  return true;
}

// The boxes of a main form that transfers fill, against what their sources
// offer now. A box several rules fill (one source or another) agrees with
// any of their offers or with their sum.
void CheckTransfers(std::string_view section) {
  struct Target {
    std::vector<const TransferRule*> rules;
  };
  std::vector<std::pair<std::string, Target>> targets;
  for (const TransferRule& rule : TransferRules()) {
    if (rule.kind != TransferKind::Transfer || TargetInstanceOf(rule.targetPage) != section) continue;
    auto it = std::find_if(targets.begin(), targets.end(), [&](const auto& t) { return t.first == rule.targetBox; });
    if (it == targets.end()) it = targets.insert(targets.end(), {rule.targetBox, {}});
    it->second.rules.push_back(&rule);
  }
  const char* form = FormName(section);
  for (const auto& [box, target] : targets) {
    const long long entered = Grosz(ReadNumber(box, "0", section));
    std::vector<std::pair<const TransferRule*, TransferOffer>> offers;
    long long sum = 0;
    bool agrees = false;
    for (const TransferRule* rule : target.rules) {
      if (std::optional<TransferOffer> offer = OfferOf(*rule)) {
        const long long value = Grosz(ParseAmount(offer->value, 0));
        agrees = agrees || value == entered;
        sum += value;
        offers.emplace_back(rule, std::move(*offer));
      }
    }
    if (agrees || (offers.size() > 1 && sum == entered) || (offers.empty() && entered == 0)) continue;
    const TransferRule& first = *target.rules.front();
    const std::string page = first.targetPage;
    const std::string number = BoxNumber(box);
    if (entered == 0) {
      if (!Enterable(section, page, box)) continue;
      const auto& [rule, offer] = offers.front();
      AddMessage(FillMessage(adviser::kPendingTransfer,
                        {form, number, AsMarkup(offer.text), number, offer.value, page, box, page, box}));
      continue;
    }
    // Stale: the box still holds what a transfer carried into it, and the
    // source offers something else now. An amount entered by hand, or
    // changed by hand since the carry, is the user's.
    const std::string carried = RecordedCarry(section, box);
    if (carried.empty() || Grosz(ParseAmount(carried, 0)) != entered) continue;
    std::string correction = "0,00";
    std::string source;
    if (offers.size() == 1) {
      correction = offers.front().second.value;
      source = AsMarkup(offers.front().second.text);
    } else if (offers.size() > 1) {
      correction = Format("%.2f", static_cast<long double>(sum) / 100);
      for (const auto& [rule, offer] : offers) source += (source.empty() ? "" : "<br>") + AsMarkup(offer.text);
    } else {
      source = AsMarkup(OfferTextWhenEmpty(first));
    }
    AddMessage(FillMessage(adviser::kStaleTransfer,
                      {form, number, number, ReadField(box, "0", section), source, correction, page, box, page, box}));
  }
}

// ---- 2010 limits the forms do not check

constexpr long long kHighestEmployeeCosts = 250256;  // grosz: 2502,56 zł
constexpr long long kChildReliefPerMonth = 9267;     // grosz: 92,67 zł
constexpr long double kHealthShare = 0.0775L;

std::string Zl(long long grosz) { return Format("%.2f", static_cast<long double>(grosz) / 100); }
long long Box(std::string_view section, int box) { return Grosz(ReadAmount("p" + std::to_string(box), "0", section)); }

// One person's column of a scale form: the rows whose revenue bears the
// health contribution withheld by a payer (employment, pensions), the rows
// whose revenue bears it otherwise, the social contributions deducted, the
// health contribution deducted from tax and the employee costs.
struct HealthColumn {
  const char* section;
  const char* taxPage;
  const char* costsPage;
  std::vector<int> withheld;
  std::vector<int> otherRevenue;
  int social, health, costs;
};

const HealthColumn kHealthColumns[] = {
    {"PIT37a", "PIT37c", "PIT37b", {39, 44}, {47, 52, 57}, 93, 110, 40},
    {"PIT37a", "PIT37c", "PIT37b", {66, 71}, {74, 79, 84}, 94, 111, 67},
    {"PIT36a", "PIT36d", "PIT36b", {45, 50}, {53, 59, 64, 69, 74, 79}, 139, 176, 46},
    {"PIT36a", "PIT36d", "PIT36b", {88, 93}, {96, 102, 107, 112, 117, 122}, 140, 177, 89},
};

void CheckLimits(std::string_view section) {
  const bool joint = IsJointMethod(TaxationMethod());
  for (const HealthColumn& c : kHealthColumns) {
    if (section != c.section) continue;
    const bool spouse = &c != &kHealthColumns[0] && &c != &kHealthColumns[2];
    if (spouse && !joint) continue;
    const char* form = FormName(section);
    // Employee costs above the highest lump sum; costs of employment abroad
    // that a PIT/ZG carries into the box follow the rules of that country.
    long long costs = Box(section, c.costs);
    const std::string costsBox = "P" + std::to_string(c.costs);
    for (const TransferRule& rule : TransferRules())
      if (rule.kind == TransferKind::Transfer && rule.source == "PITZGa" && rule.targetBox == costsBox &&
          TargetInstanceOf(rule.targetPage) == section)
        if (const std::optional<TransferOffer> offer = OfferOf(rule)) costs -= Grosz(ParseAmount(offer->value, 0));
    if (costs > kHighestEmployeeCosts)
      AddMessage(FillMessage(adviser::kEmployeeCosts, {form, std::to_string(c.costs), std::to_string(c.costs), Zl(costs),
                                                  c.costsPage, std::to_string(c.costs)}));
    // The health contribution, where its whole base is in the return: only
    // revenue from which a payer withholds it.
    bool otherRevenue = false;
    for (int box : c.otherRevenue) otherRevenue = otherRevenue || Box(section, box) != 0;
    if (otherRevenue) continue;
    long long base = -Box(section, c.social);
    for (int box : c.withheld) base += Box(section, box);
    if (base < 0) base = 0;
    const long long limit = static_cast<long long>(ToGrosz(static_cast<long double>(base) / 100 * kHealthShare));
    const long long health = Box(section, c.health);
    if (health <= limit) continue;
    const std::string box = std::to_string(c.health);
    AddMessage(FillMessage(adviser::kHealthAboveBase, {form, box, Zl(base), Zl(limit), box, Zl(health), Zl(limit),
                                                  c.taxPage, box, c.taxPage, box}));
  }
}

// The months marked for each child in part E of every PIT/O copy: the whole
// year, or each month ticked in either parent's row.
long long MarkedChildMonths() {
  long long months = 0;
  for (const std::string& copy : SectionsOfForm("PITOa")) {
    for (int child = 0; child < 5; ++child) {
      const int taxpayerRow = 68 + 6 * child, spouseRow = taxpayerRow + 1;
      const auto ticked = [&](int row, char letter) {
        return ReadField("p" + std::to_string(row) + letter, "", copy) == "[X]";
      };
      if (ticked(taxpayerRow, 'a') || ticked(spouseRow, 'a')) {
        months += 12;
        continue;
      }
      for (char m = 'b'; m <= 'm'; ++m) months += ticked(taxpayerRow, m) || ticked(spouseRow, m);
    }
  }
  return months;
}

void CheckChildRelief(std::string_view section) {
  if (ReadField("p4", "", section) != "1") return;  // the relief stands on the first copy
  const long long relief = Box(section, 35) + Box(section, 36);
  const long long allowed = MarkedChildMonths() * kChildReliefPerMonth;
  if (relief > allowed) AddMessage(FillMessage(adviser::kChildReliefMonths, {Zl(allowed), Zl(relief)}));
}

}  // namespace

void AdviserChecks(std::string_view mainSection) {
  if (InstanceBase(mainSection) == "PITOa") {
    CheckChildRelief(mainSection);
    return;
  }
  if (mainSection != "PIT28a" && mainSection != "PIT36a" && mainSection != "PIT36La" && mainSection != "PIT37a" &&
      mainSection != "PIT38a" && mainSection != "PIT39a")
    return;
  CheckAttachmentCounts(mainSection);
  CheckTransfers(mainSection);
  CheckLimits(mainSection);
}

}  // namespace solv
