// PIT-40: the payer's annual tax calculation for a taxpayer, on the 2010
// scale, always alone (no method, no spouse, no income splitting).
#include "calc/scale/pit40.hpp"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "calc/rules.hpp"
#include "calc/scale/pit40_messages.hpp"
#include "messages/messages.hpp"
#include "store/store.hpp"
#include "calc/fields.hpp"
#include "value/number.hpp"

namespace solv {
namespace {

std::string P(int box) { return "p" + std::to_string(box); }
long double N(int box) { return ReadNumber(P(box)); }
void Put(int box, std::string_view text) { WriteField(P(box), text); }

void Message(int n) { AddMessage(kPit40Messages[n]); }
void Limit(int box, long double limit, int n) { CheckLimit(N(box), limit, kPit40Messages[n]); }

// The boxes' sum, unrounded, and the sum stored as "0.00" into target.
long double SumOf(std::initializer_list<int> boxes) {
  std::vector<std::string> names;
  for (int b : boxes) names.push_back(P(b));
  return SumFieldsValue(Keys(names.begin(), names.end()), {});
}
void SumInto(std::initializer_list<int> boxes, int target) {
  std::vector<std::string> names;
  for (int b : boxes) names.push_back(P(b));
  SumFieldsInto(Keys(names.begin(), names.end()), P(target));
}

}  // namespace

void RecalcPIT40(std::string_view section) {
  const CalcRun run(section);

  if (!IsChecked("p6a") && !IsChecked("p6b")) Message(0);
  if (!IsChecked("p7a") && !IsChecked("p7b")) Message(1);

  // Part F: income by source. Row 1 has one income box for both kinds of
  // employment costs.
  Put(39, FormatRounded("%.2f", std::max<long double>(0, (N(37) + N(41)) - (N(38) + N(42)))));
  Put(44, FormatRounded("%.2f", N(43)));
  Put(47, Format("%.2f", N(46)));
  Put(50, Format("%.2f", N(49)));
  ClampedDifference("p52", "p53", "p54");
  ClampedDifference("p56", "p57", "p58");
  ClampedDifference("p60", "p61", "p62");

  SumInto({37, 41, 43, 46, 49, 52, 56, 60}, 64);
  SumInto({38, 42, 53, 57, 61}, 65);
  SumInto({39, 44, 47, 50, 54, 58, 62}, 66);
  // The advances total in the "0.00" form, read back and stored in whole
  // zloty; only the final text is written.
  const long double advances = SumOf({40, 45, 48, 51, 55, 59, 63});
  Put(67, Format("0", ParseAmount(Format("0.00", advances), 0)));

  // Part G: deductions from income.
  const long double fromIncome = N(68) + N(70) + N(72);
  if (ExceedsLimit(fromIncome, N(66))) Message(2);
  Put(73, Format("%.0f", std::max<long double>(0, N(66) - fromIncome)));
  Limit(69, N(68), 3);

  // Part H: the scale, never split.
  Put(74, FormatRounded("%.2f", ScaleTax(N(73))));
  Put(76, FormatRounded("%.2f", N(74) + N(75)));

  // Deductions from tax.
  Limit(79, N(76), 5);
  Limit(79, N(77), 6);
  Limit(78, N(77), 4);
  const long double fromTax = N(79) + N(81);
  if (ExceedsLimit(fromTax, N(76))) Message(7);
  Put(82, Format("%.0f", std::max<long double>(0, N(76) - fromTax)));

  // Settlement with the advances withheld.
  const long double due = N(82) - N(67);
  if (due > 0) {
    Put(83, FormatRounded("%.0f", due));
    Put(84, "0");
  } else {
    Put(83, "0");
    Put(84, FormatRounded("%.0f", -due));
  }
}

}  // namespace solv
