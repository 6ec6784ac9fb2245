// PIT-36L: business income taxed at the flat 19% rate (art.30c).
#include "calc/other/pit36l.hpp"

#include <algorithm>
#include <string>

#include "calc/other/pit36l_messages.hpp"
#include "calc/context.hpp"
#include "calc/rules.hpp"
#include "messages/messages.hpp"
#include "store/store.hpp"
#include "value/number.hpp"

namespace solv {
namespace {

constexpr std::string_view kPitZ = "PITZa";
constexpr std::string_view kPitB = "PITBa";
constexpr std::string_view kPitZG = "PITZGa";

using namespace calc;
using C = Pit36LCheck;

bool Positive(long double x) { return ToGrosz(x) > 0; }

// Part D row 1 from PIT/Z, or else from the first PIT/B copy with revenue.
void BusinessRow(bool hasPitZ, bool hasPitB) {
  for (int b = 24; b <= 27; ++b) Put(b, "0,00");
  std::string source;
  int first = 0;
  if (hasPitZ) {
    source = kPitZ;
    first = 33;
  } else if (hasPitB) {
    for (const std::string& copy : SectionsOfForm(kPitB))
      if (Positive(N(53, copy))) {
        source = copy;
        first = 53;
        break;
      }
  }
  if (source.empty()) return;
  for (int k = 0; k < 4; ++k) Money(24 + k, N(first + k, source));
}

// Sums over the PIT/ZG copies; each sum takes only values above 0.
struct ForeignIncome {
  long double revenue = 0, costs = 0, taxPaid = 0;
  long double Income() const { return revenue - costs; }
};
ForeignIncome ForeignBusiness() {
  ForeignIncome f;
  const auto add = [](long double& sum, long double value) {
    if (value > 0) sum += value;
  };
  for (const std::string& copy : SectionsOfForm(kPitZG)) {
    add(f.revenue, N("p30a", copy));
    add(f.costs, N("p30b", copy));
    add(f.taxPaid, N(31, copy));
  }
  return f;
}

// The typed advances paid in whole zloty. A text that is no amount is kept
// as typed and reported rather than replaced by "0".
void AdvancesPaid() {
  const std::string typed = ReadField("p59", "0");
  const bool blank = typed.find_first_not_of(" \t\r\n") == std::string::npos;
  if (!blank && ParseAmount(typed, 0) != ParseAmount(typed, 1)) {
    std::string shown = typed;
    std::replace(shown.begin(), shown.end(), '<', '(');
    std::replace(shown.begin(), shown.end(), '>', ')');
    Message(C::kAdvancesNotAnAmount, shown);
    return;
  }
  Zloty(59, N(59));
}

}  // namespace

void RecalcPIT36L(std::string_view section) {
  const CalcRun run(section);
  const bool hasPitZ = SectionExists(kPitZ);
  // Any PIT/B copy counts, also when the first one ("PITBa") was deleted.
  const bool hasPitB = !SectionsOfForm(kPitB).empty();

  // Part D row 1: business revenue, costs, income and loss.
  BusinessRow(hasPitZ, hasPitB);
  const ForeignIncome foreign = ForeignBusiness();
  if (foreign.revenue > 0) Money(24, N(24) + foreign.revenue);
  if (foreign.costs > 0) Money(25, N(25) + foreign.costs);
  const long double g = foreign.Income();
  if (g > 0) Money(26, N(26) + g);
  else Money(27, N(27) - g);

  // Purpose; box 22 and its PIT/Z.
  if (!Checked("p6a") && !Checked("p6b")) Message(C::kNoPurpose);
  if (Checked("p22a")) {
    if (!hasPitZ) Message(C::kExemptionWithoutPitZ);
  } else {
    if (hasPitZ) Message(C::kPitZWithoutExemption);
    if (!Text(23).empty()) Message(C::kExemptionYearWithoutExemption);
  }

  // Part D row 2: special agricultural production.
  const long double farm = N(29) - N(30);
  Split(farm, farm >= 0, 31, 32, "%.2f");

  // Part E: losses of previous years and social contributions.
  if (Positive(N(34)) && ReadField("p33a").empty()) Message(C::kLossesWithoutSources);
  Limit(36, N(35), C::kForeignSocialAboveSocial);
  if (ExceedsLimit(N(34) + N(35), N(26) + N(31))) Message(C::kLossesAndSocialAboveIncome);
  Money(37, (N(26) + N(31)) - (N(34) + N(35)));

  // Part F: amounts increasing the base and reducing the losses.
  Money(42, std::max<long double>(0, N(27) - N(40)));
  Money(43, std::max<long double>(0, N(32) - N(41)));
  Money(44, N(37) + N(39));

  // Part G: the 19% tax. Neither the base nor a tax is ever negative.
  Zloty(45, std::max<long double>(0, N(44)));
  const long double tax = N(45) * 0.19L;
  MoneyRounded(46, tax);
  // Foreign tax is credited in the proportion of the foreign income, never
  // above the tax itself.
  const long double y = N(26) + N(31);
  long double limit = y != 0 ? tax * std::max<long double>(0, g) / y : 0;
  limit = std::clamp<long double>(limit, 0, tax);
  MoneyRounded(48, std::min(foreign.taxPaid, limit));
  Money(49, std::max<long double>(0, N(46) + N(47) - N(48)));

  // Part H: deductions from the tax; above the tax they leave 0 (reported).
  if (ExceedsLimit(N(50) + N(52), N(49))) Message(C::kTaxDeductionsAboveTax);
  Money(53, std::max<long double>(0, N(49) - (N(50) + N(52))));

  // Part I: tax due in whole zloty, rounded through grosz, against the
  // advances due.
  const long double due = RoundedThrough("%.2f", N(53) + N(54));
  Zloty(55, std::max<long double>(0, due));
  Money(56, N(28) + N(33));
  const long double balance = N(55) - N(56);
  Split(balance, balance >= 0, 57, 58, "%.2f", &FormatRounded);

  // Part J: advances paid, lump-sum taxes and the amount to pay.
  AdvancesPaid();
  Limit(63, N(62), C::kForeignTaxAboveLumpSum);
  const long double lumpSum = N(62) - (N(63) + N(64));
  Split(lumpSum, lumpSum > 0, 65, 66, "%.0f", &FormatRounded);
  const long double settlement = (N(55) + N(60) + N(61) + N(65)) - (N(59) + N(66));
  Split(settlement, settlement > 0, 67, 68, "%.0f");

  // 1% for a public-benefit organisation.
  OnePercent(N(55), 105, 106, C::kOnePercentAboveLimit, C::kOnePercentReminder, C::kOnePercentWithoutKrs);
}

}  // namespace solv
