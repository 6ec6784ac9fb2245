// PIT-38: capital gains (art.30b) taxed at a flat rate, with the other
// lump-sum taxes of part E and the 1% allowance.
#include "calc/other/pit38.hpp"

#include <algorithm>
#include <string>

#include "calc/other/pit38_messages.hpp"
#include "calc/context.hpp"
#include "calc/rules.hpp"
#include "messages/messages.hpp"
#include "store/store.hpp"
#include "value/number.hpp"

namespace solv {
namespace {

// The rate the form prints in box 31 when nothing is stored there.
constexpr long double kDefaultRate = 19;

using namespace calc;
using C = Pit38Check;

// The rate of box 31 in per cent. An absent box counts as the "19,00" the
// form shows for it; a stored text that is not a number is reported and the
// tax is taken at 19% rather than silently at 0.
long double Rate() {
  const std::string text = ReadField("p31", "19,00");
  const long double rate = ParseAmount(text, 0);
  if (rate != ParseAmount(text, 1)) {
    Message(C::kRateNotANumber, FormatGeneral(kDefaultRate));
    return kDefaultRate;
  }
  return rate;
}

}  // namespace

void RecalcPIT38(std::string_view section) {
  const CalcRun run(section);

  if (!Checked("p6a") && !Checked("p6b")) Message(C::kNoPurpose);

  // Part C: revenue, costs, income or loss.
  MoneyRounded(25, N(21) + N(23));
  MoneyRounded(26, N(22) + N(24));
  const long double income = N(25) - N(26);
  Split(income, income > 0, 27, 28, "%.2f", &FormatRounded);

  // Part D: base and tax.
  Limit(29, N(27), C::kLossesAboveIncome);
  Zloty(30, std::max<long double>(0, N(27) - N(29)));
  MoneyRounded(32, std::max<long double>(0, N(30) * (Rate() / 100)));
  const long double due = N(32) - (N(33) + N(34));
  Split(due, due > 0, 35, 36, "%.0f");

  // Part E: the other lump-sum taxes and the settlement.
  Limit(40, N(39), C::kForeignTaxAboveLumpSum);
  const long double lumpSum = N(39) - (N(40) + N(41));
  Split(lumpSum, lumpSum > 0, 42, 43, "%.0f", &FormatRounded);
  const long double settlement = (N(35) + N(37) + N(38) + N(42)) - (N(36) + N(43));
  Split(settlement, settlement > 0, 44, 45, "%.0f");

  // Part G: 1% for a public-benefit organisation.
  OnePercent(N(35), 58, 59, C::kOnePercentAboveLimit, C::kOnePercentReminder, C::kOnePercentWithoutKrs);
}

}  // namespace solv
