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

}  // namespace

void RecalcPIT39(std::string_view section) {
  const CalcRun run(section);

  if (!Checked("p6a") && !Checked("p6b")) Message(C::kNoPurpose);

  // Part C: income counts the write-offs, the loss does not.
  {
    const Together incomeAndLoss;
    long double income = (N(21) - N(22)) + N(23);
    long double loss = N(22) - N(21);
    if (income > 0) loss = 0;
    else income = 0;
    // Negative write-offs could leave a "loss" below 0; a loss never is.
    loss = std::max<long double>(0, loss);
    MoneyRounded(24, income);
    MoneyRounded(25, loss);
  }

  // Part D: base and tax; the tax of box 28 is the taxpayer's own figure.
  Zloty(27, std::max<long double>(0, N(24) - N(26)));
  Zloty(30, std::max<long double>(0, N(28) - N(29)));

  // Part E: the other lump-sum taxes and the settlement.
  Limit(33, N(32), C::kForeignTaxAboveLumpSum);
  const long double lumpSum = N(32) - (N(33) + N(34));
  Split(lumpSum, lumpSum > 0, 35, 36, "%.0f", &FormatRounded);
  const long double settlement = (N(30) + N(31) + N(35)) - N(36);
  Split(settlement, settlement > 0, 37, 38, "%.0f");

  // Part G: 1% for a public-benefit organisation.
  OnePercent(N(30), 51, 52, C::kOnePercentAboveLimit, C::kOnePercentReminder, C::kOnePercentWithoutKrs);
}

}  // namespace solv
