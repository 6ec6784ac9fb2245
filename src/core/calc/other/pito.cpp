// PIT/O: deductions from income and from tax, attachment of PIT-28, PIT-36
// and PIT-37, in one or more copies.
#include "calc/other/pito.hpp"

#include <cmath>
#include <string>
#include <vector>

#include "calc/other/pito_messages.hpp"
#include "calc/context.hpp"
#include "calc/rules.hpp"
#include "messages/messages.hpp"
#include "store/forms.hpp"
#include "store/store.hpp"
#include "calc/fields.hpp"
#include "value/number.hpp"

namespace solv {
namespace {

constexpr long double kInternetLimit = 760;
constexpr long double kChildRelief = 1112.04L;

using namespace calc;
using C = PitoCheck;

// A check's message with its "%s" filled in turn from values and "%%" shown
// as "%".
void Message(C check, const std::vector<std::string>& values = {}) { MessageWith(check, values); }

// The check's message with the limit as correction value when value exceeds
// it; the texts show "%%" as "%", so they go through the filler.
void LimitOf(long double value, long double limit, C check) {
  if (ExceedsLimit(value, limit)) Message(check, {FormatGeneral(limit)});
}

// 6% of base, rounded to whole grosz with an exact half going to the even grosz.
long double DonationCap(long double base) { return std::nearbyint(6 * base) / 100; }

std::vector<Box> PartsBAndC() {
  std::vector<Box> v = Range(13, 27);
  for (Box b : Range(30, 41)) v.push_back(b);
  return v;
}

const std::vector<Box> kTotals{28, 29, 42, 43};

// The main-form boxes that limit the deductions, by main form.
struct MainLimits {
  long double incomeTaxpayer, baseTaxpayer, incomeSpouse, baseSpouse, taxAlone, taxJoint;
};

MainLimits LimitsOf(int form) {
  if (form == kPIT28) {
    const std::string_view s = "PIT28a";
    const long double revenue = N(43, s) + N(50, s);
    return {revenue - (N(63, s) + N(64, s)), revenue, 0, 0, N(99, s) - N(100, s), 0};
  }
  if (form == kPIT36) {
    const std::string_view s = "PIT36a";
    return {N(143, s), N(86, s), N(144, s), N(129, s), N(175, s) - N(176, s), N(175, s) - (N(176, s) + N(177, s))};
  }
  const std::string_view s = "PIT37a";
  return {N(97, s), N(64, s), N(98, s), N(91, s), N(109, s) - N(110, s), N(109, s) - (N(110, s) + N(111, s))};
}

// Checks by main form: PIT-28, PIT-36, PIT-37.
C ByForm(int form, C pit28, C pit36, C pit37) {
  return form == kPIT28 ? pit28 : form == kPIT36 ? pit36 : pit37;
}

// Part D against the boxes claimed in part B (O0/O2 or O1/O3).
void CheckDonations(long double claimed, long double partD, C missing, C differs) {
  const std::string d = FormatRounded("%.2f", partD);
  const std::string c = FormatRounded("%.2f", claimed);
  if (claimed > 0 && partD == 0) Message(missing);
  else if (ParseAmount(d, 0) != ParseAmount(c, 0)) Message(differs, {d, c});
}

}  // namespace

DonationSums DonationTotals() {
  DonationSums sums;
  for (const auto& section : SectionsOfForm("PITOa")) {
    sums.taxpayer += N(52, section) + N(62, section);
    sums.spouse += N(53, section) + N(63, section);
  }
  return sums;
}

void RecalcPITO(std::string_view section) {
  const CalcRun run(section);
  const int method = TaxationMethod();
  const int form = ActiveMainForm();
  const bool joint = IsJointMethod(method);

  if (!joint) {
    Fill(box_lists::kPitoSpouseAmounts, "");
    Fill(box_lists::kPitoSpouseMonths, "[  ]");
    Fill(box_lists::kPitoSpouseTotals, "");
  }
  if (form == kPIT28) Fill(box_lists::kPitoNotWithPit28, "");

  // Further copies only continue parts D and E.
  if (N(4) != 1) {
    Fill(PartsBAndC(), "");
    Fill(kTotals, "");
    return;
  }

  // Part D against the donations claimed. While the taxpayer files alone the
  // spouse's columns do not apply: a further copy not recalculated since the
  // switch may still hold the spouse's donations, which must not count.
  const DonationSums partD = DonationTotals();
  CheckDonations(N(13) + N(15), partD.taxpayer, C::kDonationsWithoutPartD, C::kPartDDiffers);
  CheckDonations(N(14) + N(16), joint ? partD.spouse : 0, C::kSpouseDonationsWithoutPartD, C::kSpousePartDDiffers);

  LimitOf(N(21), kInternetLimit, C::kInternetAboveLimit);
  LimitOf(N(22), kInternetLimit, C::kSpouseInternetAboveLimit);

  Money(28, N(13) + N(15) + N(26) + N(17) + N(19) + N(21) + N(23));
  if (ExceedsLimit(N(35) + N(36), N(34) * kChildRelief)) Message(C::kChildReliefAboveMonths);
  Money(42, N(30) + N(32) + N(35) + N(37) + N(40));

  const bool checked = form == kPIT28 || form == kPIT36 || form == kPIT37;
  const MainLimits limits = checked ? LimitsOf(form) : MainLimits{};
  if (checked) {
    LimitOf(N(28), limits.incomeTaxpayer,
            ByForm(form, C::kIncomeDeductionsAbovePit28, C::kIncomeDeductionsAbovePit36, C::kIncomeDeductionsAbovePit37));
    LimitOf(N(13), DonationCap(limits.baseTaxpayer),
            ByForm(form, C::kDonationAbovePit28Cap, C::kDonationAbovePit36Cap, C::kDonationAbovePit37Cap));
  }

  if (joint) {
    Money(29, N(14) + N(16) + N(18) + N(20) + N(22) + N(24) + N(27));
    Money(43, N(31) + N(33) + N(36) + N(38) + N(41));
    if (form == kPIT36 || form == kPIT37) {
      LimitOf(N(29), limits.incomeSpouse,
              form == kPIT36 ? C::kSpouseIncomeDeductionsAbovePit36 : C::kSpouseIncomeDeductionsAbovePit37);
      LimitOf(N(14), DonationCap(limits.baseSpouse),
              form == kPIT36 ? C::kSpouseDonationAbovePit36Cap : C::kSpouseDonationAbovePit37Cap);
    }
  }

  // Part C against the tax of the main form.
  if (joint) {
    if (form == kPIT36 || form == kPIT37)
      LimitOf(N(42) + N(43), limits.taxJoint,
              form == kPIT36 ? C::kTaxDeductionsAbovePit36Joint : C::kTaxDeductionsAbovePit37Joint);
  } else if (checked) {
    LimitOf(N(42), limits.taxAlone,
            ByForm(form, C::kTaxDeductionsAbovePit28, C::kTaxDeductionsAbovePit36, C::kTaxDeductionsAbovePit37));
  }
}

}  // namespace solv
