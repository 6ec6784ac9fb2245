// PIT-40: the payer's annual tax calculation for a taxpayer, on the 2010
// scale, always alone (no method, no spouse, no income splitting).
#include "calc/scale/pit40.hpp"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "calc/context.hpp"
#include "calc/rules.hpp"
#include "calc/scale/pit40_messages.hpp"
#include "messages/messages.hpp"
#include "store/store.hpp"
#include "calc/fields.hpp"
#include "value/number.hpp"

namespace solv {
namespace {

using namespace calc;
using C = Pit40Check;

}  // namespace

void RecalcPIT40(std::string_view section) {
  const CalcRun run(section);

  if (!Checked("p6a") && !Checked("p6b")) Message(C::kNoPurpose);
  if (!Checked("p7a") && !Checked("p7b")) Message(C::kNoPayerKind);

  // Part F: income by source. Row 1 has one income box for both kinds of
  // employment costs.
  MoneyRounded(39, std::max<long double>(0, (N(37) + N(41)) - (N(38) + N(42))));
  MoneyRounded(44, N(43));
  Money(47, N(46));
  Money(50, N(49));
  ClampedDifference(52, 53, 54);
  ClampedDifference(56, 57, 58);
  ClampedDifference(60, 61, 62);

  SumInto({37, 41, 43, 46, 49, 52, 56, 60}, 64);
  SumInto({38, 42, 53, 57, 61}, 65);
  SumInto({39, 44, 47, 50, 54, 58, 62}, 66);
  // The advances total in the "0.00" form, read back and stored in whole
  // zloty; only the final text is written.
  const long double advances = SumOf({40, 45, 48, 51, 55, 59, 63});
  Put(67, Format("0", Through("0.00", advances)));

  // Part G: deductions from income.
  {
    const Together base;  // box 73 comes from the deductions checked first
    const long double fromIncome = N(68) + N(70) + N(72);
    if (ExceedsLimit(fromIncome, N(66))) Message(C::kIncomeDeductionsAboveIncome);
    Zloty(73, std::max<long double>(0, N(66) - fromIncome));
  }
  Limit(69, N(68), C::kForeignSocialAboveSocial);

  // Part H: the scale, never split.
  MoneyRounded(74, ScaleTax(N(73)));
  MoneyRounded(76, N(74) + N(75));

  // Deductions from tax.
  Limit(79, N(76), C::kHealthAboveTax);
  Limit(79, N(77), C::kHealthAboveContributions);
  Limit(78, N(77), C::kForeignHealthAboveHealth);
  {
    const Together tax;  // box 82 comes from the deductions checked first
    const long double fromTax = N(79) + N(81);
    if (ExceedsLimit(fromTax, N(76))) Message(C::kTaxDeductionsAboveTax);
    Zloty(82, std::max<long double>(0, N(76) - fromTax));
  }

  // Settlement with the advances withheld.
  const long double due = N(82) - N(67);
  Split(due, due > 0, 83, 84, "%.0f", &FormatRounded);
}

}  // namespace solv
