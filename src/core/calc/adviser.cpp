#include "calc/adviser.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "calc/adviser_messages.hpp"
#include "calc/rules.hpp"
#include "calc/transfer_rules.hpp"
#include "messages/messages.hpp"
#include "report/page_definition.hpp"
#include "shell/box_locking.hpp"
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

// Replaces each "%s" in turn.
std::string Filled(std::string text, const std::vector<std::string>& values) {
  size_t at = 0;
  for (const std::string& v : values) {
    at = text.find("%s", at);
    if (at == std::string::npos) break;
    text.replace(at, 2, v);
    at += v.size();
  }
  return text;
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
    AddMessage(Filled(adviser::kAttachmentCount, {FormName(section), c.box, c.attachment, c.attachment, count, c.box,
                                                  shown, count, c.page, c.box, c.page, c.box}));
  }
}

long long Grosz(long double amount) { return std::llroundl(amount * 100); }

// A source's balloon text as one line of a message.
std::string AsMarkup(std::string text) {
  for (size_t at; (at = text.find('\n')) != std::string::npos;) text.replace(at, 1, "<br>");
  return text;
}

// A box the user can enter now: editable on its page and not locked by the
// taxation method (the spouse's column when filing alone). Locking is the
// shell's table; the checks ask it as the page would.
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
      AddMessage(Filled(adviser::kPendingTransfer,
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
    AddMessage(Filled(adviser::kStaleTransfer,
                      {form, number, number, ReadField(box, "0", section), source, correction, page, box, page, box}));
  }
}

}  // namespace

void AdviserChecks(std::string_view mainSection) {
  if (mainSection != "PIT28a" && mainSection != "PIT36a" && mainSection != "PIT36La" && mainSection != "PIT37a" &&
      mainSection != "PIT38a" && mainSection != "PIT39a")
    return;
  CheckAttachmentCounts(mainSection);
  CheckTransfers(mainSection);
}

}  // namespace solv
