// PIT-39: sale of real estate and property rights (art.30e), the tax entered
// by the taxpayer, with the other lump-sum taxes of part E and the 1%
// allowance.
#include "calc/other/pit39.hpp"

#include <algorithm>
#include <string>

#include "calc/other/pit39_messages.hpp"
#include "calc/rules.hpp"
#include "messages/messages.hpp"
#include "store/store.hpp"
#include "value/number.hpp"

namespace solv {
namespace {

std::string P(int box) { return "p" + std::to_string(box); }
long double N(int box) { return ReadNumber(P(box)); }
void Put(int box, std::string_view text) { WriteField(P(box), text); }

// d into `first` and 0 into `second` when d > 0, else 0 and -d, both in
// whole zloty with the given rounding.
void Split(long double d, int first, int second, std::string (*format)(std::string_view, long double)) {
  Put(first, format("%.0f", d > 0 ? d : 0));
  Put(second, format("%.0f", d > 0 ? 0 : -d));
}

}  // namespace

void RecalcPIT39(std::string_view section) {
  const CalcRun run(section);

  if (!IsChecked("p6a") && !IsChecked("p6b")) AddMessage(kPit39Messages[0]);

  // Part C: income counts the write-offs, the loss does not.
  long double income = (N(21) - N(22)) + N(23);
  long double loss = N(22) - N(21);
  if (income > 0) loss = 0;
  else income = 0;
  // Negative write-offs could leave a "loss" below 0; a loss never is.
  loss = std::max<long double>(0, loss);
  Put(24, FormatRounded("%.2f", income));
  Put(25, FormatRounded("%.2f", loss));

  // Part D: base and tax; the tax of box 28 is the taxpayer's own figure.
  Put(27, Format("%.0f", std::max<long double>(0, N(24) - N(26))));
  Put(30, Format("%.0f", std::max<long double>(0, N(28) - N(29))));

  // Part E: the other lump-sum taxes and the settlement.
  CheckLimit(N(33), N(32), kPit39Messages[1]);
  Split(N(32) - (N(33) + N(34)), 35, 36, &FormatRounded);
  Split((N(30) + N(31) + N(35)) - N(36), 37, 38, &Format);

  // Part G: 1% for a public-benefit organisation.
  OnePercentRule(N(30), "p51", "p52", {kPit39Messages[2], kPit39Messages[3], kPit39Messages[4]});
}

}  // namespace solv
