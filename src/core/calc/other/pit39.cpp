// PIT-39: sale of real estate and property rights (art.30e), the tax entered
// by the taxpayer, with the other lump-sum taxes of part E and the 1%
// allowance.
#include "calc/other/pit39.hpp"

#include <algorithm>
#include <string>

#include "calc/other/pit39_messages.hpp"
#include "calc/context.hpp"
#include "calc/rules.hpp"
#include "messages/messages.hpp"
#include "store/store.hpp"
#include "value/number.hpp"

namespace solv {
namespace {

using namespace calc;
using C = Pit39Check;

// d into `first` and 0 into `second` when d > 0, else 0 and -d, both in
// whole zloty with the given rounding.
void Split(long double d, Box first, Box second, std::string (*format)(std::string_view, long double)) {
  Put(first, format("%.0f", d > 0 ? d : 0));
  Put(second, format("%.0f", d > 0 ? 0 : -d));
}

}  // namespace

void RecalcPIT39(std::string_view section) {
  const CalcRun run(section);

  if (!Checked("p6a") && !Checked("p6b")) Message(C::kNoPurpose);

  // Part C: income counts the write-offs, the loss does not.
  long double income = (N(21) - N(22)) + N(23);
  long double loss = N(22) - N(21);
  if (income > 0) loss = 0;
  else income = 0;
  // Negative write-offs could leave a "loss" below 0; a loss never is.
  loss = std::max<long double>(0, loss);
  MoneyRounded(24, income);
  MoneyRounded(25, loss);

  // Part D: base and tax; the tax of box 28 is the taxpayer's own figure.
  Zloty(27, std::max<long double>(0, N(24) - N(26)));
  Zloty(30, std::max<long double>(0, N(28) - N(29)));

  // Part E: the other lump-sum taxes and the settlement.
  Limit(33, N(32), C::kForeignTaxAboveLumpSum);
  Split(N(32) - (N(33) + N(34)), 35, 36, &FormatRounded);
  Split((N(30) + N(31) + N(35)) - N(36), 37, 38, &Format);

  // Part G: 1% for a public-benefit organisation.
  OnePercent(N(30), 51, 52, C::kOnePercentAboveLimit, C::kOnePercentReminder, C::kOnePercentWithoutKrs);
}

}  // namespace solv
